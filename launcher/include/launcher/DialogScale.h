#pragma once

#include <QRect>
#include <QSize>

class QFont;

// Dialog forms are laid out in pixels for a reference font whose dialog base units are
// 6 x 13 pixels (average character width x line height). This maps such geometry onto the
// font actually in use, as dialog units do, so captions keep fitting on desktops with larger
// fonts. It never shrinks: icons keep their pixel size.
class DialogScale {
public:
    static constexpr double kReferenceCharWidth = 6.0;
    static constexpr double kReferenceLineHeight = 13.0;

    DialogScale(double averageCharWidth, double lineHeight);
    static DialogScale ForFont(const QFont& font);

    QRect Map(const QRect& designed) const;
    QSize Map(const QSize& designed) const;

private:
    double x_;
    double y_;
};
