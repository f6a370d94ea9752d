// Field files as instruments and older download programs write them,
// through both command lines that read them: drawexport (read back with
// ezdxf and GDAL) and coordbook --convert (a point file).
#include "ExportTestSupport.h"
#include "ObservationJobs.h"
#include "ReadBack.h"
#include "TempFolder.h"

#include "coordbook/CommandLine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <sstream>

namespace {

CommandRun RunCoordbook(const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    CommandRun run;
    run.status = coordbook::CommandLine().Run(args, out, err);
    run.out = out.str();
    run.err = err.str();
    return run;
}

constexpr double kTolerance = 0.0005; // half a millimetre

void ExpectNear(const KnownPoint& known, double east, double north, std::optional<double> height,
                const std::string& what) {
    EXPECT_NEAR(east, known.east, kTolerance) << what << " " << known.name;
    EXPECT_NEAR(north, known.north, kTolerance) << what << " " << known.name;
    ASSERT_EQ(height.has_value(), known.height.has_value()) << what << " " << known.name;
    if (height) {
        EXPECT_NEAR(*height, *known.height, kTolerance) << what << " " << known.name;
    }
}

TEST(FieldFiles, ObservedPointsComeBackWithinHalfAMillimetre) {
    for (const int width : {8, 16}) {
        TempFolder folder;
        const ObservationJob job = MakeObservationJob(width, 7u + width);
        folder.WriteFile("job.gsi", job.text);
        const std::string label = "GSI-" + std::to_string(width);

        const CommandRun exported =
            RunDrawexport({folder.Path("job.gsi"), "-o", folder.Path("job.gpkg")});
        ASSERT_EQ(exported.status, 0) << exported.err;
        EXPECT_NE(exported.out.find(": 30 points (24 computed from observations, 3 station "
                                    "set-ups); 1 other block not exported (line 1)\n"),
                  std::string::npos)
            << exported.out;
        const auto gis = ReadWithGdal(folder.Path("job.gpkg"));
        ASSERT_TRUE(gis.has_value());
        ASSERT_EQ(gis->points.size(), job.points.size()) << label;
        for (std::size_t i = 0; i < job.points.size(); ++i) {
            const ReadPoint& read = gis->points[i];
            EXPECT_EQ(read.name, job.points[i].name) << label;
            EXPECT_EQ(read.kind, job.points[i].kind) << label << " " << read.name;
            ExpectNear(job.points[i], read.x, read.y, read.height, label + " drawexport");
            EXPECT_NEAR(read.z, read.height.value_or(0), 1e-9);
        }

        const CommandRun converted =
            RunCoordbook({"--convert", folder.Path("job.gsi"), folder.Path("job.dat")});
        ASSERT_EQ(converted.status, 0) << converted.err;
        const auto points = PointFilePoints(folder.ReadFile("job.dat"));
        std::vector<KnownPoint> expected;
        for (const KnownPoint& point : job.points) {
            if (point.kind != "station") {
                expected.push_back(point);
            }
        }
        ASSERT_EQ(points.size(), expected.size()) << label;
        for (std::size_t i = 0; i < points.size(); ++i) {
            EXPECT_EQ(points[i].name, expected[i].name) << label;
            ExpectNear(expected[i], points[i].east, points[i].north, points[i].height,
                       label + " coordbook");
        }
    }
}

// The same small job (a set-up, two observations, a point given by its
// coordinates) in the shapes field files come in.
TEST(FieldFiles, EveryShapeOfFieldFileIsReadByBothPrograms) {
    const std::vector<std::string> blocks = {
        "*110001+000000000000STN1 84..00+0000000001000000 85..00+0000000002000000 "
        "86..00+0000000000100000 88..00+0000000000001500 ",
        "*110002+00000000000000T1 21.322+0000000010000000 22.322+0000000010000000 "
        "31..00+0000000000010000 87..00+0000000000001500 ",
        "*110003+00000000000000T2 21.322+0000000000000000 32..00+0000000000020000 ",
        "*110004+00000000000000G1 81..00+0000000001005000 82..00+0000000002005000 ",
    };
    const auto joined = [&](const std::string& end, std::size_t junkAt = 99) {
        std::string text;
        for (std::size_t i = 0; i < blocks.size(); ++i) {
            text += (i == junkAt ? "junk line\r\n" : "") + blocks[i] + end;
        }
        return text;
    };
    const std::string code(1000, 'K');
    struct Case {
        std::string name;
        std::string bytes;
        std::vector<std::string> extra; // drawexport options
        int status;
        std::size_t points;    // drawexport's, stations included
        std::size_t heights;   // of them with a height (a height label in the drawing)
        std::size_t converted; // coordbook's
        std::string message;   // a line of drawexport's standard error or output
    };
    const std::vector<Case> cases = {
        {"crlf.gsi", joined("\r\n"), {}, 0, 4, 2, 3, "4 points written to "},
        {"lf.gsi", joined("\n"), {}, 0, 4, 2, 3, "4 points written to "},
        {"cr.gsi", joined("\r"), {}, 0, 4, 2, 3, "4 points written to "},
        {"oneline.gsi", joined(" ") + "\r\n", {}, 0, 4, 2, 3, "4 points written to "},
        {"eof.gsi", joined("\r\n") + "\x1A", {}, 0, 4, 2, 3, "4 points written to "},
        {"junk.gsi", joined("\r\n", 2), {}, 0, 4, 2, 3, "junk.gsi:3: \"junk\" is not a GSI word"},
        {"strict.gsi",
         joined("\r\n", 2),
         {"--strict"},
         1,
         0,
         0,
         3,
         "drawexport: 1 line could not be read and --strict was given; nothing written"},
        {"code.dat",
         "P1,10.0,20.0,,\r\nP2,11.0,21.0,5.0," + code + "\r\n",
         {},
         0,
         2,
         1,
         2,
         "2 points written to "},
        {"observations.gsi",
         blocks[1] + "\r\n" + blocks[2] + "\r\n",
         {},
         0,
         2,
         1,
         2,
         "the station of 2 observations was taken as 0,0,0"},
        {"nothing.gsi",
         "junk\r\n",
         {},
         1,
         0,
         0,
         0,
         "drawexport: nothing could be exported; nothing written"},
    };
    for (const Case& c : cases) {
        TempFolder folder;
        folder.WriteFile(c.name, c.bytes);
        for (const char* format : {"dxf", "gpkg"}) {
            const std::string output = folder.Path(std::string("out.") + format);
            std::vector<std::string> args = {folder.Path(c.name), "-o", output};
            args.insert(args.end(), c.extra.begin(), c.extra.end());
            const CommandRun run = RunDrawexport(args);
            EXPECT_EQ(run.status, c.status) << c.name << " " << run.err;
            EXPECT_NE((run.err + run.out).find(c.message), std::string::npos)
                << c.name << ": " << run.err << run.out;
            if (c.points == 0) {
                EXPECT_FALSE(std::filesystem::exists(output)) << c.name;
                continue;
            }
            if (std::string(format) == "gpkg") {
                const auto gis = ReadWithGdal(output);
                ASSERT_TRUE(gis.has_value()) << c.name;
                EXPECT_EQ(gis->points.size(), c.points) << c.name;
                for (const ReadPoint& point : gis->points) {
                    EXPECT_EQ(point.threeD, point.height.has_value()) << c.name << point.name;
                }
                continue;
            }
            const auto dxf = ReadWithEzdxf(output);
            ASSERT_TRUE(dxf.has_value()) << c.name;
            EXPECT_EQ(dxf->points.size(), c.points) << c.name;
            std::size_t heightLabels = 0;
            for (const DxfText& text : dxf->texts) {
                heightLabels += text.layer == "POINT_HEIGHTS" ? 1 : 0;
                if (text.layer == "POINT_CODES" && c.name == "code.dat") {
                    EXPECT_EQ(text.text, code);
                }
            }
            // No label for a height nobody measured (T2 without zenith angle
            // or height difference, G1 and P1 without one).
            EXPECT_EQ(heightLabels, c.heights) << c.name;
        }
        const CommandRun converted =
            RunCoordbook({"--convert", folder.Path(c.name), folder.Path("out.dat"), "--overwrite"});
        EXPECT_EQ(converted.status, c.converted == 0 ? 1 : 0) << c.name << converted.err;
        if (c.converted > 0) {
            EXPECT_EQ(PointFilePoints(folder.ReadFile("out.dat")).size(), c.converted) << c.name;
        }
    }
}

} // namespace
