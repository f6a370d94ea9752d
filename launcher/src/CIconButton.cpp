#include "launcher/CIconButton.h"

#include "launcher/ColourOffset.h"

#include <QApplication>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>
#include <qdrawutil.h>

namespace {

constexpr int kFocusInset = 3;
constexpr int kCaptionFlags = Qt::AlignCenter | Qt::TextWordWrap;

} // namespace

CIconButton::CIconButton(QWidget* parent) : QPushButton(parent), menu_(this) {
    setFlat(true);
    setMouseTracking(true);
    const QColor face = palette().color(QPalette::Button);
    const QColor text = palette().color(QPalette::ButtonText);
    colours_ = {face, text, face, text, face, text};
}

void CIconButton::SetIcon(const QIcon& in, const QIcon& out, QSize size) {
    iconIn_ = in;
    iconOut_ = out.isNull() ? in : out;
    iconSize_ = in.isNull() ? QSize() : size;
    update();
}

void CIconButton::SetColour(ColourIndex index, const QColor& colour) {
    colours_.at(index) = colour;
    update();
}

QColor CIconButton::Colour(ColourIndex index) const {
    return colours_.at(index);
}

void CIconButton::OffsetColour(ColourIndex index, int offset) {
    SetColour(index, ColourOffset::Apply(Colour(index), offset));
}

void CIconButton::SetAlign(IconAlignment alignment) {
    alignment_ = alignment;
    update();
}

void CIconButton::SetDrawBorder(bool draw) {
    drawBorder_ = draw;
    update();
}

void CIconButton::SetDrawFlatFocus(bool draw) {
    drawFlatFocus_ = draw;
    update();
}

void CIconButton::enterEvent(QEnterEvent* event) {
    QPushButton::enterEvent(event);
    TrackMove(QApplication::mouseButtons().testFlag(Qt::LeftButton), true);
}

void CIconButton::leaveEvent(QEvent* event) {
    QPushButton::leaveEvent(event);
    if (hover_.Leave()) {
        update();
    }
}

void CIconButton::mouseMoveEvent(QMouseEvent* event) {
    // QPushButton pops a pressed button up while the cursor is off it; this one stays sunken
    // until the release, which still clicks only over the button.
    if (!isDown()) {
        QPushButton::mouseMoveEvent(event);
    }
    TrackMove(event->buttons().testFlag(Qt::LeftButton),
              rect().contains(event->position().toPoint()));
}

void CIconButton::TrackMove(bool leftButtonDown, bool overButton) {
    if (isFlat() && hover_.Move(leftButtonDown, overButton)) {
        update();
    }
}

bool CIconButton::Lit() const {
    return isDown() || hover_.Hovered();
}

QColor CIconButton::BackgroundColour() const {
    return Lit() ? Colour(BackIn) : hasFocus() ? Colour(BackFocus) : Colour(BackOut);
}

QColor CIconButton::TextColour() const {
    return Lit() ? Colour(TextIn) : hasFocus() ? Colour(TextFocus) : Colour(TextOut);
}

void CIconButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), BackgroundColour());
    DrawEdge(painter);
    const auto parts =
        IconButtonLayout::Arrange(rect(), iconSize_, !text().isEmpty(), alignment_, isDown());
    DrawIcon(painter, parts.icon);
    DrawCaption(painter, parts.caption);
    DrawFocus(painter);
}

void CIconButton::DrawEdge(QPainter& painter) const {
    const bool edge = !isFlat() || (drawBorder_ && Lit());
    if (edge) {
        qDrawShadeRect(&painter, rect(), palette(), isDown(), 1, 0, nullptr);
    }
}

void CIconButton::DrawIcon(QPainter& painter, const QRect& area) const {
    if (area.isEmpty()) {
        return;
    }
    const QIcon& icon = Lit() ? iconIn_ : iconOut_;
    icon.paint(&painter, area, Qt::AlignCenter, isEnabled() ? QIcon::Normal : QIcon::Disabled);
}

void CIconButton::DrawCaption(QPainter& painter, const QRect& area) const {
    if (area.isEmpty() || text().isEmpty()) {
        return;
    }
    painter.setFont(font());
    if (isEnabled()) {
        painter.setPen(TextColour());
        painter.drawText(area, kCaptionFlags, text());
        return;
    }
    // Embossed: a light copy one pixel down and right under the shadow-coloured text.
    painter.setPen(palette().color(QPalette::Light));
    painter.drawText(area.translated(1, 1), kCaptionFlags, text());
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawText(area, kCaptionFlags, text());
}

void CIconButton::DrawFocus(QPainter& painter) const {
    if (!hasFocus() || (isFlat() && !drawFlatFocus_)) {
        return;
    }
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.rect = rect().adjusted(kFocusInset, kFocusInset, -kFocusInset, -kFocusInset);
    option.backgroundColor = BackgroundColour();
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
}
