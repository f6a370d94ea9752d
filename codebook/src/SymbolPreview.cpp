#include "codebook/SymbolPreview.h"

#include "codebook/CodeSymbol.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

SymbolPreview::SymbolPreview(QWidget* parent) : QWidget(parent) {
    setMinimumSize(48, 48);
}

void SymbolPreview::Show(const QString& symbol, const QColor& colour) {
    symbol_ = symbol;
    colour_ = colour;
    update();
}

QIcon SymbolPreview::Icon(const QString& symbol, const QColor& colour) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    Paint(painter, QRectF(2, 2, 12, 12), symbol, colour);
    return QIcon(pixmap);
}

void SymbolPreview::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().base());
    const qreal side = std::min(width(), height()) * 0.7;
    Paint(painter, QRectF(width() / 2.0 - side / 2, height() / 2.0 - side / 2, side, side), symbol_,
          colour_);
}

void SymbolPreview::Paint(QPainter& painter, const QRectF& box, const QString& symbol,
                          const QColor& colour) {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(colour.isValid() ? colour : QColor(Qt::black), box.width() / 12));
    const auto scale = [&box](const CodeSymbol::Point& p) {
        // Drawing y points up, the screen's down.
        return QPointF(box.center().x() + p.x * box.width() / 2,
                       box.center().y() - p.y * box.height() / 2);
    };
    for (const CodeSymbol::Stroke& stroke : CodeSymbol::Strokes(symbol.toStdString())) {
        QPainterPath path(scale(stroke.front()));
        for (std::size_t i = 1; i < stroke.size(); ++i) {
            path.lineTo(scale(stroke[i]));
        }
        painter.drawPath(path);
    }
}
