#pragma once

#include <QListWidget>

class QLabel;

// A narrow strip over a tree pane that shows a path: the path label. Its
// list stays empty; only the label matters. The frame has two, one of each
// kind below.
class CHeaderStrip : public QListWidget {
    Q_OBJECT

public:
    CHeaderStrip(const QString& initialLabel, QWidget* parent);

    QString PathLabel() const;
    void SetPathLabel(const QString& text);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void PlaceLabel();

    QLabel* pathLabel_;
};

// The header strip over the instrument tree, pane (0, 0).
class CKestaTDView : public CHeaderStrip {
    Q_OBJECT

public:
    explicit CKestaTDView(QWidget* parent = nullptr)
        : CHeaderStrip(QStringLiteral("COM"), parent) {}
};

// The header strip over the PC tree, pane (0, 1).
class CKestaTDRView : public CHeaderStrip {
    Q_OBJECT

public:
    explicit CKestaTDRView(QWidget* parent = nullptr)
        : CHeaderStrip(QStringLiteral("PC"), parent) {}
};
