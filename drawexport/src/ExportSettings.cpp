#include "drawexport/ExportSettings.h"

#include "drawexport/GdalSession.h"

std::optional<std::string> ExportSettings::Problem() const {
    if (format == nullptr) {
        return "no output format";
    }
    if (format->needsSrs && epsg == 0) {
        return std::string(format->title) + " needs a coordinate system: give its EPSG code";
    }
    if (epsg != 0 && !GdalSession::KnowsEpsg(epsg)) {
        return "EPSG:" + std::to_string(epsg) + " is not a known coordinate system";
    }
    if (!(textHeight > 0 && textHeight <= kMaxTextHeight)) {
        return "the text height must be above 0 and at most " +
               std::to_string(static_cast<int>(kMaxTextHeight));
    }
    if (decimals < 0 || decimals > kMaxDecimals) {
        return "the decimals must be 0 to " + std::to_string(kMaxDecimals);
    }
    return std::nullopt;
}

std::optional<std::string> ExportSettings::Note() const {
    if (format == nullptr || epsg == 0 || format->carriesSrs) {
        return std::nullopt;
    }
    return "EPSG:" + std::to_string(epsg) + " is not written: a " + std::string(format->title) +
           " carries no coordinate system";
}
