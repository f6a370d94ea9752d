#pragma once

#include "drawexport/OgrOutput.h"
#include "drawexport/PointWriter.h"

#include <memory>
#include <string>
#include <string_view>

class OGRFeature;

// A DXF drawing as a surveyor expects it: every point a 3D POINT on a
// layer named after its code ("POINTS" without one), and three labels to
// its right, each kind on a layer of its own so it can be switched off:
// the name above, the height with the chosen decimals beside, the code
// below. Written by GDAL's DXF driver, labels as MTEXT.
class DxfPointWriter final : public PointWriter {
public:
    explicit DxfPointWriter(const ExportSettings& settings);
    ~DxfPointWriter() override;

    bool Open(const std::string& path, const PointExtents& extents) override;
    void OnPoint(const SurveyPoint& point) override;
    bool Close() override;
    const std::string& Error() const override;

    static constexpr const char* kUncodedLayer = "POINTS";
    static constexpr const char* kNameLayer = "POINT_NAMES";
    static constexpr const char* kHeightLayer = "POINT_HEIGHTS";
    static constexpr const char* kCodeLayer = "POINT_CODES";

    // A code as a DXF layer name: characters DXF forbids in names, control
    // characters and those its Latin-1 names cannot hold become "_".
    static std::string LayerName(std::string_view code);

private:
    enum class Label { Name, Height, Code };

    void WriteLabel(Label label, std::string_view utf8, const SurveyPoint& point);
    std::string HeightText(double height) const;

    ExportSettings settings_;
    OgrOutput output_;
    std::string headerPath_;
    std::string error_;
    std::unique_ptr<OGRFeature> point_;
    std::unique_ptr<OGRFeature> label_;
    std::string style_;
};
