#include "launcher/ColourOffset.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace {

constexpr int kMaxPart = 255;

int AllowedStep(int part, int offset) {
    return offset >= 0 ? std::min(offset, kMaxPart - part) : std::max(offset, -part);
}

} // namespace

QColor ColourOffset::Apply(const QColor& colour, int offset) {
    const QColor rgb = colour.toRgb();
    const int wanted = std::clamp(offset, -kMaxPart, kMaxPart);
    int step = wanted;
    for (const int part : std::array{rgb.red(), rgb.green(), rgb.blue()}) {
        const int allowed = AllowedStep(part, wanted);
        if (std::abs(allowed) < std::abs(step)) {
            step = allowed;
        }
    }
    return QColor(rgb.red() + step, rgb.green() + step, rgb.blue() + step, rgb.alpha());
}
