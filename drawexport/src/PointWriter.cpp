#include "drawexport/PointWriter.h"

#include "drawexport/BookLayerChoice.h"
#include "drawexport/DxfPointWriter.h"
#include "drawexport/GisPointWriter.h"

std::unique_ptr<PointWriter> PointWriter::For(const ExportSettings& settings) {
    if (settings.format->IsDxf()) {
        if (settings.codebook) {
            return std::make_unique<DxfPointWriter>(
                settings, std::make_unique<const BookLayerChoice>(settings.codebook));
        }
        return std::make_unique<DxfPointWriter>(settings);
    }
    return std::make_unique<GisPointWriter>(settings);
}
