#include "codebook/CodeSymbol.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

CodeSymbol::Stroke Polygon(int corners, double turn, double radius = 1.0) {
    CodeSymbol::Stroke stroke;
    for (int i = 0; i <= corners; ++i) {
        const double angle = turn + 2 * std::numbers::pi * i / corners;
        stroke.push_back({radius * std::cos(angle), radius * std::sin(angle)});
    }
    return stroke;
}

} // namespace

const std::vector<std::string>& CodeSymbol::Names() {
    static const std::vector<std::string> names{"dot",    "cross",    "plus",    "circle",
                                                "square", "triangle", "diamond", "star"};
    return names;
}

bool CodeSymbol::IsKnown(std::string_view name) {
    const auto& names = Names();
    return std::find(names.begin(), names.end(), name) != names.end();
}

std::vector<CodeSymbol::Stroke> CodeSymbol::Strokes(std::string_view name) {
    constexpr double kQuarter = std::numbers::pi / 2;
    if (name == "dot") {
        return {Polygon(8, 0, 0.15)};
    }
    if (name == "cross") {
        return {{{-1, -1}, {1, 1}}, {{-1, 1}, {1, -1}}};
    }
    if (name == "plus") {
        return {{{-1, 0}, {1, 0}}, {{0, -1}, {0, 1}}};
    }
    if (name == "circle") {
        return {Polygon(24, 0)};
    }
    if (name == "square") {
        return {{{-1, -1}, {1, -1}, {1, 1}, {-1, 1}, {-1, -1}}};
    }
    if (name == "triangle") {
        return {Polygon(3, kQuarter)};
    }
    if (name == "diamond") {
        return {Polygon(4, 0)};
    }
    if (name == "star") {
        Stroke star;
        for (int i = 0; i <= 10; ++i) {
            const double radius = i % 2 == 0 ? 1.0 : 0.4;
            const double angle = kQuarter + std::numbers::pi * i / 5;
            star.push_back({radius * std::cos(angle), radius * std::sin(angle)});
        }
        return {star};
    }
    return {};
}
