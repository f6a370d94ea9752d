#include "drawexport/DxfLayerChoice.h"

#include "fielddata/FieldText.h"

namespace {

constexpr std::string_view kForbiddenInNames = "<>/\\\":;?*|=`,";

} // namespace

std::string DxfLayerChoice::LayerOf(const SurveyPoint& point) const {
    return point.origin == SurveyPoint::Origin::Station ? kStationLayer : LayerName(point.code);
}

std::string DxfLayerChoice::LayerName(std::string_view code) {
    if (code.empty()) {
        return kUncodedLayer;
    }
    std::string name;
    for (char16_t c : FieldText::ToUtf16(code)) {
        if (name.size() == kMaxNameSize) {
            break; // longer names break the layer table of the file
        }
        const bool allowed = c >= 0x20 && c <= 0xFF && c != 0x7F && !(c >= 0x80 && c < 0xA0) &&
                             kForbiddenInNames.find(static_cast<char>(c)) == std::string_view::npos;
        // GDAL writes layer names as they come, and the file is declared
        // Latin-1 (ANSI_1252): so the name goes in as Latin-1 bytes.
        name += allowed ? static_cast<char>(c) : '_';
    }
    return name;
}
