#include "launcher/IconButtonLayout.h"

namespace {

QRect Centred(const QRect& area, const QSize& size) {
    return QRect(area.left() + (area.width() - size.width()) / 2,
                 area.top() + (area.height() - size.height()) / 2, size.width(), size.height());
}

IconButtonLayout::Parts ArrangeWithCaption(const QRect& button, const QSize& icon,
                                           IconAlignment alignment) {
    constexpr int margin = IconButtonLayout::kIconMargin;
    QRect iconRect = Centred(button, icon);
    QRect caption = button;
    switch (alignment) {
    case IconAlignment::Above:
        iconRect.moveTop(button.top() + margin);
        caption.setTop(iconRect.bottom() + 1);
        break;
    case IconAlignment::Left:
        iconRect.moveLeft(button.left() + margin);
        caption.setLeft(iconRect.right() + 1);
        break;
    case IconAlignment::Right:
        iconRect.moveRight(button.right() - margin);
        caption.setRight(iconRect.left() - 1);
        break;
    }
    return {iconRect, caption};
}

} // namespace

IconButtonLayout::Parts IconButtonLayout::Arrange(const QRect& button, const QSize& icon,
                                                  bool hasCaption, IconAlignment alignment,
                                                  bool pressed) {
    Parts parts = icon.isEmpty() ? Parts{QRect(), button}
                  : hasCaption   ? ArrangeWithCaption(button, icon, alignment)
                                 : Parts{Centred(button, icon), QRect()};
    if (pressed) {
        parts.icon.translate(1, 1);
        parts.caption.translate(1, 1);
    }
    return parts;
}
