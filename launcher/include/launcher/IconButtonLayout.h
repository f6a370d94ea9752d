#pragma once

#include <QRect>
#include <QSize>
#include <QtGlobal>

// Where the icon sits relative to the caption on a CIconButton.
enum class IconAlignment : quint8 { Left = 0, Above = 1, Right = 2 };

// Places the icon and the caption area inside a drawn button. A pressed button shows both one
// pixel right and down, so the press is visible even on a flat face.
class IconButtonLayout {
public:
    struct Parts {
        QRect icon;
        QRect caption;
    };

    static Parts Arrange(const QRect& button, const QSize& icon, bool hasCaption,
                         IconAlignment alignment, bool pressed);

    // Gap between the button's edge and an icon placed beside or above the caption.
    static constexpr int kIconMargin = 3;
};
