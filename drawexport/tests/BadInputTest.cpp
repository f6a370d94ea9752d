#include "ExportTestSupport.h"
#include "ReadBack.h"
#include "SampleJobs.h"
#include "TempFolder.h"

#include "drawexport/ExportRun.h"
#include "drawexport/InputReport.h"
#include "drawexport/LoadedInput.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

const std::string kGoodJob = "*410001+000000000000TREE \r\n"
                             "*110002+00000000000000P1 81..00+0000000001234567 "
                             "82..00-0000000000045678 83..00+0000000000012345 \r\n";

// The start of an executable.
constexpr char kBinary[] = "\x7f"
                           "ELF\x02\x01\x01\0\0\0\x03\0>\0\n";

TEST(BadInput, UnreadableFilesAreNamedAndTheOthersStillExport) {
    struct Case {
        const char* name;
        std::string bytes; // nothing is written for "missing.gsi"
        std::string reason;
    };
    const std::vector<Case> cases = {
        {"empty.gsi", "", "the file is empty"},
        {"binary.gsi", std::string(kBinary, sizeof kBinary - 1),
         "line 1: the line holds a NUL byte; this is not a text file"},
        {"missing.gsi", "", "cannot open the file: No such file or directory"},
    };
    for (const Case& c : cases) {
        TempFolder folder;
        folder.WriteFile("good.gsi", kGoodJob);
        if (std::string(c.name) != "missing.gsi") {
            folder.WriteFile(c.name, c.bytes);
        }
        const CommandRun run = RunDrawexport(
            {folder.Path(c.name), folder.Path("good.gsi"), "-o", folder.Path("out.gpkg")});
        EXPECT_EQ(run.status, 1) << c.name;
        EXPECT_EQ(run.err,
                  "drawexport: " + folder.Path(c.name) + ": " + c.reason + " (not exported)\n");
        const auto file = ReadWithGdal(folder.Path("out.gpkg"));
        ASSERT_TRUE(file.has_value()) << c.name;
        ASSERT_EQ(file->points.size(), 1u) << c.name;
        EXPECT_EQ(file->points[0].name, "P1");

        // Alone, the bad file leaves an earlier output as it was.
        folder.WriteFile("earlier.dxf", "kept");
        const CommandRun alone =
            RunDrawexport({folder.Path(c.name), "-o", folder.Path("earlier.dxf"), "--overwrite"});
        EXPECT_EQ(alone.status, 1) << c.name;
        EXPECT_EQ(folder.ReadFile("earlier.dxf"), "kept") << c.name;
    }
}

TEST(BadInput, AnUnwritableDestinationLeavesNothingHalfWritten) {
    TempFolder folder;
    folder.WriteFile("good.gsi", kGoodJob);
    folder.WriteFile("plain", "a file, not a folder");
    std::filesystem::create_directory(folder.Path("taken.dxf"));
    struct Case {
        std::string output;
        std::string error;
    };
    const std::vector<Case> cases = {
        {folder.Path("gone/out.dxf"),
         "cannot write into the folder \"" + folder.Path("gone") + "\": No such file or directory"},
        {folder.Path("plain/out.gpkg"),
         "cannot write into the folder \"" + folder.Path("plain") + "\": Not a directory"},
        {folder.Path("taken.dxf"),
         "cannot put \"" + folder.Path("taken.dxf") + "\" in place: Is a directory"},
    };
    for (const Case& c : cases) {
        const CommandRun run =
            RunDrawexport({folder.Path("good.gsi"), "-o", c.output, "--overwrite"});
        EXPECT_EQ(run.status, 1) << c.output;
        EXPECT_EQ(run.err, "drawexport: cannot write " + c.output + ": " + c.error + "\n");
        EXPECT_EQ(FolderListing(folder.Path("")),
                  (std::vector<std::string>{"good.gsi", "plain", "taken.dxf"}));
        EXPECT_TRUE(FolderListing(folder.Path("taken.dxf")).empty());
    }
}

TEST(BadInput, AnExistingOutputIsReplacedOnlyWhenAskedTo) {
    TempFolder folder;
    folder.WriteFile("good.gsi", kGoodJob);
    folder.WriteFile("out.dxf", "kept");
    const CommandRun refused =
        RunDrawexport({folder.Path("good.gsi"), "-o", folder.Path("out.dxf")});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, "drawexport: " + folder.Path("out.dxf") +
                               " exists; give --overwrite to replace it (nothing written)\n");
    EXPECT_EQ(folder.ReadFile("out.dxf"), "kept");
    const CommandRun replaced =
        RunDrawexport({folder.Path("good.gsi"), "-o", folder.Path("out.dxf"), "--overwrite"});
    EXPECT_EQ(replaced.status, 0) << replaced.err;
    ASSERT_EQ(ReadWithEzdxf(folder.Path("out.dxf")).value().points.size(), 1u);
}

TEST(ExportRun, ACancelledExportLeavesNothingAndAFinishedOneReportsItsEnd) {
    TempFolder folder;
    std::string job;
    for (int copy = 0; copy < 100; ++copy) {
        job += GsiJobText(SamplePoints(16), 16);
    }
    folder.WriteFile("job.gsi", job);
    const LoadedInput input(folder.Path("job.gsi"));
    const PointExtents extents = InputReport::Of(input).extents;
    ASSERT_GT(extents.Count(), ExportRun::kProgressStep);
    ExportSettings settings;
    settings.format = ExportFormat::ByName("dxf");
    ExportRun run(settings, folder.Path("out.dxf"));

    EXPECT_EQ(run.Write({&input}, extents, [](std::size_t, std::size_t) { return false; }),
              "cancelled");
    EXPECT_EQ(FolderListing(folder.Path("")), std::vector<std::string>{"job.gsi"});

    std::vector<std::pair<std::size_t, std::size_t>> steps;
    EXPECT_EQ(run.Write({&input}, extents,
                        [&](std::size_t written, std::size_t total) {
                            steps.emplace_back(written, total);
                            return true;
                        }),
              std::nullopt);
    EXPECT_EQ(run.Written(), extents.Count());
    ASSERT_FALSE(steps.empty());
    EXPECT_EQ(steps.front(), std::make_pair(ExportRun::kProgressStep, extents.Count()));
    EXPECT_EQ(steps.back(), std::make_pair(extents.Count(), extents.Count()));
}

TEST(Usage, BadCommandLinesExitWithTwoAndSayWhy) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"a.gsi"}, "no output file: give -o OUT"},
        {{"-o", "out.dxf"}, "no input file"},
        {{"a.gsi", "-o", "out.txt"}, "cannot tell the format from \"out.txt\": give --format"},
        {{"a.gsi", "-o", "out.txt", "--format", "pdf"}, "bad value \"pdf\" for --format"},
        {{"a.gsi", "-o", "out.kml"}, "KML needs a coordinate system: give its EPSG code"},
        {{"a.gsi", "-o", "out.gpkg", "--epsg", "99999"},
         "EPSG:99999 is not a known coordinate system"},
        {{"a.gsi", "-o", "out.gpkg", "--epsg", "-5"}, "bad value \"-5\" for --epsg"},
        {{"a.gsi", "-o", "out.dxf", "--text-height=0"},
         "the text height must be above 0 and at most 1000"},
        {{"a.gsi", "-o", "out.dxf", "--decimals", "2x"}, "bad value \"2x\" for --decimals"},
        {{"a.gsi", "-o", "out.dxf", "--decimals", "7"}, "the decimals must be 0 to 6"},
        {{"a.gsi", "-o", "out.dxf", "--colour", "red"}, "unknown option --colour"},
        {{"a.gsi", "-o"}, "-o needs a value"},
    };
    for (const auto& [args, message] : cases) {
        const CommandRun run = RunDrawexport(args);
        EXPECT_EQ(run.status, 2) << message;
        EXPECT_EQ(run.err.substr(0, run.err.find('\n')), "drawexport: " + message);
        EXPECT_EQ(run.out, "");
    }
}

} // namespace
