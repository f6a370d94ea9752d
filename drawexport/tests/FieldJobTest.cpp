#include "ExportTestSupport.h"
#include "ReadBack.h"
#include "SampleJobs.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

namespace {

// Generated GSI-8 and GSI-16 jobs shaped like field data: every block with
// coordinates is a point, and every other block is counted in the summary.
TEST(FieldShapedJobs, EveryCoordinateBlockIsAPointAndTheOthersAreReported) {
    for (const int width : {8, 16}) {
        TempFolder folder;
        const FieldJob job = FieldShapedJob(width, 100u + width, 6);
        folder.WriteFile("job.gsi", job.text);
        const CommandRun run =
            RunDrawexport({folder.Path("job.gsi"), "-o", folder.Path("job.gpkg")});
        ASSERT_EQ(run.status, 0) << run.err;
        const auto file = ReadWithGdal(folder.Path("job.gpkg"));
        ASSERT_TRUE(file.has_value());
        std::vector<std::string> names;
        for (const ReadPoint& point : file->points) {
            names.push_back(point.name);
        }
        EXPECT_EQ(names, job.coordinateBlocks) << "GSI-" << width;
        const std::string counts = folder.Path("job.gsi") + ": " +
                                   std::to_string(job.coordinateBlocks.size()) + " points; " +
                                   std::to_string(job.withoutCoordinates) +
                                   " points without coordinates not exported (lines ";
        EXPECT_EQ(run.out.rfind(counts, 0), 0u) << run.out;
        EXPECT_NE(run.out.find("; " + std::to_string(job.stationSetups) +
                               " station set-ups not exported (lines "),
                  std::string::npos)
            << run.out;
        EXPECT_NE(run.out.find("; 1 other block not exported (line 1)\n"), std::string::npos)
            << run.out;
    }
}

} // namespace
