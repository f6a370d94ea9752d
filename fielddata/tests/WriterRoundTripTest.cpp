#include "TempFolder.h"

#include "fielddata/DatFileWriter.h"
#include "fielddata/FieldFile.h"
#include "fielddata/GsiJobWriter.h"
#include "fielddata/LineReader.h"
#include "fielddata/PointSet.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kPoints = 4000;

// Names of every width up to the data width, codes that change now and
// then, 3 to 5 places, both signs, some points without height.
std::vector<SurveyPoint> RandomPoints(std::size_t width, double range) {
    std::mt19937 random(11);
    const std::string letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ123456789-_.";
    std::vector<SurveyPoint> points(kPoints);
    for (std::size_t i = 0; i < points.size(); ++i) {
        SurveyPoint& point = points[i];
        for (std::size_t c = 0; c <= i % width; ++c) {
            point.name += letters[random() % letters.size()];
        }
        point.code = i % 7 == 0 ? "" : "C" + std::to_string(i / 50);
        point.places = 3 + static_cast<int>(i % 3);
        const double scale = std::pow(10.0, point.places);
        const auto coordinate = [&] {
            return std::round((random() / double(random.max()) * 2 - 1) * range * scale) / scale;
        };
        point.east = coordinate();
        point.north = coordinate();
        if (i % 5 != 0) {
            point.height = coordinate();
        }
    }
    return points;
}

void ExpectSamePoints(const std::vector<SurveyPoint>& read, const std::vector<SurveyPoint>& written,
                      const std::string& what) {
    ASSERT_EQ(read.size(), written.size()) << what;
    for (std::size_t i = 0; i < read.size(); ++i) {
        const SurveyPoint& a = read[i];
        const SurveyPoint& b = written[i];
        const double tolerance = 0.5 * std::pow(10.0, -b.places);
        EXPECT_EQ(a.name, b.name) << what << " point " << i;
        EXPECT_EQ(a.code, b.code) << what << " point " << i;
        EXPECT_NEAR(a.east, b.east, tolerance) << what << " point " << i;
        EXPECT_NEAR(a.north, b.north, tolerance) << what << " point " << i;
        ASSERT_EQ(a.height.has_value(), b.height.has_value()) << what << " point " << i;
        if (b.height) {
            EXPECT_NEAR(*a.height, *b.height, tolerance) << what << " point " << i;
        }
    }
}

PointSet ReadBack(const std::string& name, std::string text) {
    TempFolder folder;
    // The last line ends without its line end, as files edited by hand may.
    text.resize(text.size() - 2);
    folder.WriteFile(name, text);
    PointSet set;
    const auto error = FieldFile::Read(folder.Path(name), set);
    EXPECT_FALSE(error) << name << ": " << error->Text();
    return set;
}

TEST(WriterRoundTrip, GsiJobsAndPointFilesReadBackAsWritten) {
    struct Case {
        const char* name;
        GsiWidth width;
        double range; // largest coordinate that fits the width at 5 places
    };
    for (const Case& c :
         {Case{"job8.gsi", GsiWidth::Gsi8, 999.0}, Case{"job16.gsi", GsiWidth::Gsi16, 9.9e9}}) {
        const auto points = RandomPoints(static_cast<std::size_t>(c.width), c.range);
        std::string gsi;
        GsiJobWriter writer(c.width);
        std::string dat;
        for (const SurveyPoint& point : points) {
            ASSERT_TRUE(writer.AppendPoint(point, gsi)) << point.name;
            ASSERT_TRUE(DatFileWriter::AppendLine(point, dat)) << point.name;
        }
        ASSERT_GT(gsi.size(), 2 * LineReader::kChunkBytes / 3) << "crosses chunk ends";
        ExpectSamePoints(ReadBack(c.name, gsi).Points(), points, c.name);
        ExpectSamePoints(ReadBack("points.dat", dat).Points(), points, "points.dat");
    }
}

TEST(WriterRoundTrip, PointsThatDoNotFitAreRefusedAndNothingIsWritten) {
    GsiJobWriter writer(GsiWidth::Gsi8);
    std::string out;
    EXPECT_FALSE(writer.AppendPoint({"NINECHARS", "", 1, 2, 3, 3, 0}, out));
    EXPECT_FALSE(writer.AppendPoint({"P1", "LONGCODE1", 1, 2, 3, 3, 0}, out));
    EXPECT_FALSE(writer.AppendPoint({"P1", "", 100000, 2, 3, 3, 0}, out));
    EXPECT_EQ(out, "");
    EXPECT_TRUE(writer.AppendPoint({"P1", "TREE", 1, -2, std::nullopt, 3, 0}, out));
    EXPECT_EQ(out, "410001+0000TREE \r\n110002+000000P1 81..00+00001000 82..00-00002000 \r\n");
}

} // namespace
