// Every format drawexport writes, read back by a reader that is not ours:
// each point's name, coordinates (to the written precision), height and
// code must be what the input says, for GSI-8, GSI-16 and point-file input
// with every units digit and both signs.
#include "ReadBack.h"
#include "ExportTestSupport.h"
#include "SampleJobs.h"
#include "TempFolder.h"

#include <gdal.h>
#include <ogr_srs_api.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <map>

namespace {

// Web Mercator takes any easting and northing below ten thousand kilometres.
constexpr int kEpsg = 3857;

struct Input {
    const char* file;
    int width; // of the names and values
};

const Input kInputs[] = {{"job8.gsi", 8}, {"job16.gsi", 16}, {"points.dat", 16}};

std::string InputText(const Input& input, const std::vector<SamplePoint>& points) {
    return std::string(input.file).ends_with(".dat") ? DatText(points)
                                                     : GsiJobText(points, input.width);
}

double Tolerance(const SamplePoint& point) {
    return 0.5 * std::pow(10.0, -point.Places()) + 1e-9;
}

// KML holds WGS 84 longitude and latitude: back into the points' system.
void FromWgs84(std::vector<ReadPoint>& points) {
    OGRSpatialReferenceH wgs84 = OSRNewSpatialReference(nullptr);
    OGRSpatialReferenceH utm = OSRNewSpatialReference(nullptr);
    OSRImportFromEPSG(wgs84, 4326);
    OSRImportFromEPSG(utm, kEpsg);
    OSRSetAxisMappingStrategy(wgs84, OAMS_TRADITIONAL_GIS_ORDER);
    OSRSetAxisMappingStrategy(utm, OAMS_TRADITIONAL_GIS_ORDER);
    OGRCoordinateTransformationH back = OCTNewCoordinateTransformation(wgs84, utm);
    for (ReadPoint& point : points) {
        OCTTransform(back, 1, &point.x, &point.y, nullptr);
    }
    OCTDestroyCoordinateTransformation(back);
    OSRDestroySpatialReference(wgs84);
    OSRDestroySpatialReference(utm);
}

class ReadBackTest : public testing::TestWithParam<Input> {
protected:
    void SetUp() override {
        points_ = SamplePoints(GetParam().width);
        folder_.WriteFile(GetParam().file, InputText(GetParam(), points_));
    }

    CommandRun Export(const std::string& output, std::vector<std::string> options = {}) {
        options.insert(options.begin(),
                       {folder_.Path(GetParam().file), "-o", folder_.Path(output)});
        return RunDrawexport(options);
    }

    TempFolder folder_;
    std::vector<SamplePoint> points_;
};

TEST_P(ReadBackTest, GisFormatsHoldEveryPointAsTheInputSays) {
    const std::map<std::string, std::string> formats = {{"out.gpkg", "EPSG:3857"},
                                                        {"out.geojson", "EPSG:3857"},
                                                        {"out.kml", "EPSG:4326"},
                                                        {"out.shp", "EPSG:3857"},
                                                        {"out.csv", ""}};
    for (const auto& [output, srs] : formats) {
        const CommandRun run = Export(output, {"--epsg", std::to_string(kEpsg)});
        ASSERT_EQ(run.status, 0) << output << ": " << run.err;
        auto file = ReadWithGdal(folder_.Path(output));
        ASSERT_TRUE(file.has_value()) << output;
        EXPECT_EQ(file->srs, srs) << output;
        if (srs == "EPSG:4326") {
            FromWgs84(file->points);
        }
        ASSERT_EQ(file->points.size(), points_.size()) << output;
        // Longitude and latitude keep about a tenth of a millimetre.
        const double extra = srs == "EPSG:4326" ? 2e-4 : 0;
        for (std::size_t i = 0; i < points_.size(); ++i) {
            const SamplePoint& want = points_[i];
            const ReadPoint& got = file->points[i];
            const std::string where = output + " point " + want.name;
            EXPECT_EQ(got.name, want.name) << where;
            EXPECT_EQ(got.code, want.code) << where;
            EXPECT_NEAR(got.x, want.east.Value(), Tolerance(want) + extra) << where;
            EXPECT_NEAR(got.y, want.north.Value(), Tolerance(want) + extra) << where;
            EXPECT_NEAR(got.z, want.height ? want.height->Value() : 0, Tolerance(want)) << where;
            ASSERT_EQ(got.height.has_value(), want.height.has_value()) << where;
            if (want.height) {
                EXPECT_NEAR(*got.height, want.height->Value(), Tolerance(want)) << where;
            }
        }
    }
}

TEST_P(ReadBackTest, DrawingHasPointsOnCodeLayersAndThreeLabelLayers) {
    const double textHeight = 0.25;
    const int decimals = 2;
    const CommandRun run =
        Export("out.dxf", {"--text-height", "0.25", "--decimals", std::to_string(decimals)});
    ASSERT_EQ(run.status, 0) << run.err;
    const auto dxf = ReadWithEzdxf(folder_.Path("out.dxf"));
    ASSERT_TRUE(dxf.has_value());
    EXPECT_TRUE(dxf->others.empty());
    ASSERT_EQ(dxf->points.size(), points_.size());

    std::map<std::string, std::vector<DxfText>> labels;
    for (const DxfText& text : dxf->texts) {
        EXPECT_DOUBLE_EQ(text.height, textHeight) << text.text;
        labels[text.layer].push_back(text);
    }
    std::size_t nextName = 0, nextHeight = 0, nextCode = 0;
    double minZ = 0, maxZ = 0;
    for (std::size_t i = 0; i < points_.size(); ++i) {
        const SamplePoint& want = points_[i];
        const DxfPoint& got = dxf->points[i];
        const double z = want.height ? want.height->Value() : 0;
        minZ = std::min(minZ, z);
        maxZ = std::max(maxZ, z);
        EXPECT_EQ(got.layer, want.code.empty() ? "POINTS" : want.code) << want.name;
        EXPECT_NEAR(got.x, want.east.Value(), Tolerance(want)) << want.name;
        EXPECT_NEAR(got.y, want.north.Value(), Tolerance(want)) << want.name;
        EXPECT_NEAR(got.z, z, Tolerance(want)) << want.name;
        // Each label to the right of its point: name above, height beside, code below.
        const DxfText& name = labels["POINT_NAMES"].at(nextName++);
        EXPECT_EQ(name.text, want.name);
        EXPECT_GT(name.x, got.x);
        EXPECT_GT(name.y, got.y);
        if (want.height) {
            char text[64];
            std::snprintf(text, sizeof text, "%.*f", decimals, want.height->Value());
            const DxfText& height = labels["POINT_HEIGHTS"].at(nextHeight++);
            EXPECT_EQ(height.text, text) << want.name;
            EXPECT_NEAR(height.y, got.y, 1e-9) << want.name;
        }
        if (!want.code.empty()) {
            const DxfText& code = labels["POINT_CODES"].at(nextCode++);
            EXPECT_EQ(code.text, want.code);
            EXPECT_LT(code.y, got.y);
        }
    }
    EXPECT_EQ(labels["POINT_HEIGHTS"].size(), nextHeight);
    EXPECT_EQ(labels["POINT_CODES"].size(), nextCode);
    for (const char* layer : {"POINTS", "POINT_NAMES", "POINT_HEIGHTS", "POINT_CODES"}) {
        EXPECT_NE(std::find(dxf->layers.begin(), dxf->layers.end(), layer), dxf->layers.end());
    }
    // The extents hold every point, heights included, and the view shows them all.
    ASSERT_EQ(dxf->extMin.size(), 3u);
    ASSERT_EQ(dxf->extMax.size(), 3u);
    for (const DxfPoint& point : dxf->points) {
        EXPECT_LE(dxf->extMin[0], point.x);
        EXPECT_LE(dxf->extMin[1], point.y);
        EXPECT_GE(dxf->extMax[0], point.x);
        EXPECT_GE(dxf->extMax[1], point.y);
        EXPECT_LE(std::abs(point.x - dxf->view[0]), dxf->view[2] / 2) << "outside the view";
        EXPECT_LE(std::abs(point.y - dxf->view[1]), dxf->view[2] / 2) << "outside the view";
    }
    EXPECT_DOUBLE_EQ(dxf->extMin[2], minZ);
    EXPECT_DOUBLE_EQ(dxf->extMax[2], maxZ);
}

INSTANTIATE_TEST_SUITE_P(Inputs, ReadBackTest, testing::ValuesIn(kInputs),
                         [](const testing::TestParamInfo<Input>& param) {
                             std::string name = param.param.file;
                             name.erase(name.find('.'), 1);
                             return name;
                         });

} // namespace
