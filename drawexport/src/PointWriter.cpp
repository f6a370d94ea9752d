#include "drawexport/PointWriter.h"

#include "drawexport/DxfPointWriter.h"
#include "drawexport/GisPointWriter.h"

std::unique_ptr<PointWriter> PointWriter::For(const ExportSettings& settings) {
    if (settings.format->IsDxf()) {
        return std::make_unique<DxfPointWriter>(settings);
    }
    return std::make_unique<GisPointWriter>(settings);
}
