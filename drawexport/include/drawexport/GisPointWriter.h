#pragma once

#include "drawexport/OgrOutput.h"
#include "drawexport/PointWriter.h"

#include <cstddef>
#include <memory>
#include <string>

class OGRFeature;

// A GIS file of points through GDAL/OGR (GeoPackage, GeoJSON, KML,
// Shapefile, CSV): one layer named after the file, fields "name", "code",
// "height" (empty for a point without height, which is then a 2D point)
// and "kind" (point, computed or station), and the coordinate system where
// the format carries one. With a codebook also "layer", "colour" and
// "symbol" of each point's code (empty for codes the book lacks).
class GisPointWriter final : public PointWriter {
public:
    explicit GisPointWriter(const ExportSettings& settings);
    ~GisPointWriter() override;

    bool Open(const std::string& path, const PointExtents& extents) override;
    void OnPoint(const SurveyPoint& point) override;
    bool Close() override;
    const std::string& Error() const override;

    // The "kind" attribute: how the file gave the point.
    static const char* KindOf(SurveyPoint::Origin origin);
    static constexpr const char* kGiven = "point";
    static constexpr const char* kComputed = "computed";
    static constexpr const char* kStation = "station";

    // Points per transaction where the driver has transactions.
    static constexpr std::size_t kBatchPoints = 100000;

private:
    void SetStyle(const SurveyPoint& point);
    bool Fail();

    ExportSettings settings_;
    OgrOutput output_;
    std::unique_ptr<OGRFeature> feature_;
    int nameField_ = -1;
    int codeField_ = -1;
    int heightField_ = -1;
    int kindField_ = -1;
    // With a codebook: the code's layer, colour and symbol.
    int styleFields_[3] = {-1, -1, -1};
    std::size_t inBatch_ = 0;
    std::string error_;
};
