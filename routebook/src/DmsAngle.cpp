#include "routebook/DmsAngle.h"

#include <cmath>
#include <cstdio>
#include <numbers>

std::optional<double> DmsAngle::ToRadians(double dms) {
    if (!(dms >= 0) || !std::isfinite(dms)) {
        return std::nullopt;
    }
    // Tenths of a millionth keep the digits the text had without the
    // binary fraction's noise.
    const double scaled = std::round(dms * 1e7);
    const double degrees = std::floor(scaled / 1e7);
    const double rest = scaled - degrees * 1e7; // MMSSsss
    const double minutes = std::floor(rest / 1e5);
    const double seconds = (rest - minutes * 1e5) / 1e3;
    if (minutes >= 60 || seconds >= 60) {
        return std::nullopt;
    }
    return (degrees + minutes / 60 + seconds / 3600) * std::numbers::pi / 180;
}

double DmsAngle::Normalised(double radians) {
    const double full = 2 * std::numbers::pi;
    double r = std::fmod(radians, full);
    return r < 0 ? r + full : r;
}

std::string DmsAngle::Format(double radians) {
    long long seconds = std::llround(Normalised(radians) * 180 / std::numbers::pi * 3600);
    seconds %= 360LL * 3600;
    char text[32];
    std::snprintf(text, sizeof text, "%lld.%02lld%02lld", seconds / 3600, seconds / 60 % 60,
                  seconds % 60);
    return text;
}
