#include "sharedwidgets/CodePalette.h"

#include <array>

namespace {

// Distinct on white and for most colour-blind eyes.
constexpr std::array<QRgb, 12> kColours = {
    0x0072B2, 0xD55E00, 0x009E73, 0xCC79A7, 0xE69F00, 0x56B4E9,
    0x882255, 0x117733, 0x332288, 0xAA4499, 0x999933, 0x661100,
};
constexpr QRgb kUncoded = 0x707070;

} // namespace

void CodePalette::Clear() {
    codes_.clear();
    indices_.clear();
}

int CodePalette::IndexOf(const std::string& code) {
    const auto [found, added] = indices_.try_emplace(code, static_cast<int>(codes_.size()));
    if (added) {
        codes_.push_back(code);
    }
    return found->second;
}

QColor CodePalette::Colour(int index) const {
    if (index < 0 || index >= static_cast<int>(codes_.size()) || codes_[index].empty()) {
        return QColor(kUncoded);
    }
    return QColor(kColours[static_cast<std::size_t>(index) % kColours.size()]);
}
