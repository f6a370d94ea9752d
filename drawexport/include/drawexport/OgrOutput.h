#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

class GDALDataset;
class OGRFeature;
class OGRLayer;
class OGRSpatialReference;

// One file being written through a GDAL/OGR driver, with one point layer.
// Failures leave a sentence in Error(); the file is finished by Close()
// (or dropped unfinished when the object goes without it).
class OgrOutput {
public:
    OgrOutput();
    ~OgrOutput();
    OgrOutput(const OgrOutput&) = delete;
    OgrOutput& operator=(const OgrOutput&) = delete;

    // options: "NAME=VALUE" creation options of the dataset and the layer.
    bool Create(const std::string& driver, const std::string& path,
                const std::vector<std::string>& datasetOptions);
    // threeD: points with heights (points without one are 2D in it still).
    bool AddLayer(const std::string& name, OGRSpatialReference* srs, bool threeD,
                  const std::vector<std::string>& layerOptions);
    bool AddTextField(const char* name);
    bool AddRealField(const char* name);

    // A feature of the layer, with a point geometry to be moved.
    std::unique_ptr<OGRFeature> NewPointFeature() const;
    // A point without a height is 2D: no height is made up for it.
    static void MovePoint(OGRFeature& feature, double x, double y, std::optional<double> z);
    bool Write(OGRFeature& feature);

    // Within a transaction writing is much faster where the driver has them.
    void BeginBatch();
    bool EndBatch();

    bool Close();
    const std::string& Error() const { return error_; }

private:
    bool Fail(const std::string& fallback);

    GDALDataset* dataset_ = nullptr;
    OGRLayer* layer_ = nullptr;
    bool inBatch_ = false;
    std::string error_;
};
