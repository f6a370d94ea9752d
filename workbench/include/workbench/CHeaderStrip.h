#pragma once

#include <QListWidget>

class QLabel;

// A narrow strip over a tree pane that shows a path: the path label. Its
// list stays empty; only the label matters.
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
