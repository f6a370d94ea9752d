#pragma once

#include <QColor>
#include <QIcon>
#include <QWidget>

// A code's point symbol drawn in its colour, as it will look in a drawing.
class SymbolPreview : public QWidget {
    Q_OBJECT
public:
    explicit SymbolPreview(QWidget* parent = nullptr);

    void Show(const QString& symbol, const QColor& colour);
    QSize sizeHint() const override { return {64, 64}; }

    static QIcon Icon(const QString& symbol, const QColor& colour);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    static void Paint(QPainter& painter, const QRectF& box, const QString& symbol,
                      const QColor& colour);

    QString symbol_;
    QColor colour_;
};
