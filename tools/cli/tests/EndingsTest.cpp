// The table of transfer endings run through stationlink-cli as a process
// of its own against x4sim's faults (the window runs the same table).

#include "CliProcess.h"
#include "SimProcess.h"
#include "TestFiles.h"

#include "testsupport/Conversations.h"
#include "testsupport/TransferEndings.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
namespace {

std::vector<std::string> Command(const endings::Row& row, const fs::path& folder) {
    std::vector<std::string> args{row.command.front(), "COM1"};
    for (auto arg = row.command.begin() + 1; arg != row.command.end(); ++arg) {
        args.push_back(*arg == "DIR"    ? folder.string()
                       : *arg == "FILE" ? (folder / endings::kUpload).string()
                                        : *arg);
    }
    return args;
}

} // namespace

TEST(CliEndings, EachFaultEndsAsTheTableSays) {
    for (const endings::Row& row : endings::Rows()) {
        SCOPED_TRACE(row.ending);
        const fs::path folder = FreshTempDir("cli-endings");
        std::ofstream(folder / endings::kUpload, std::ios::binary) << endings::UploadLines();
        if (!row.earlier.empty()) {
            std::ofstream(folder / row.earlier, std::ios::binary) << endings::kEarlier;
        }
        const fs::path received = FreshTempDir("cli-endings-received");
        SimProcess sim(endings::SimOptions(row, "cli-endings-content", received));
        ASSERT_FALSE(sim.Device().empty());
        ::setenv("STATIONLINK_PORTS", ("COM1=" + sim.Device()).c_str(), 1);
        const fs::path destination = row.cut == endings::Cut::FolderGone ? folder / "gone" : folder;
        CliProcess run(Command(row, destination));
        if (row.cut == endings::Cut::Cancel) {
            run.InterruptOnceFileHolds(folder / row.file, 4);
        }
        EXPECT_EQ(run.Wait(), row.status) << run.ErrorText();
        const std::string said = run.ErrorText();
        EXPECT_TRUE(endings::SaysInOrder(said, endings::Says(row, destination.string()))) << said;
        // One line, or nothing at all when it went well.
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), row.says.empty() ? 0 : 1) << said;
        EXPECT_EQ(endings::FilesDiffer(row, folder), "");
        EXPECT_EQ(endings::KeptDiffers(row, received), "");
        if (row.idleAfter) {
            CliProcess next(
                {"download", "COM1", "JOB", "ROAD7", "--part", "COORDS", "--to", folder.string()});
            EXPECT_EQ(next.Wait(), 0) << next.ErrorText();
            EXPECT_EQ(ReadWholeFile(folder / "ROAD7.gsi"), endings::SentData(endings::kNextData));
        }
        fs::remove_all(folder);
        fs::remove_all(received);
    }
}

// Each error reply (from a field log the simulator replays) ends the
// erase with its meaning; the next command downloads as if nothing had
// happened.
TEST(CliEndings, EveryErrorReplyEndsTheOperationAndTheNextWorks) {
    for (const endings::Refusal& refusal : endings::kRefusals) {
        SCOPED_TRACE(refusal.code);
        const fs::path folder = FreshTempDir("cli-refusals");
        conversations::WriteRefusingLog(folder / "field.log", refusal.code);
        SimProcess sim({"--replay", (folder / "field.log").string()});
        ASSERT_FALSE(sim.Device().empty());
        ::setenv("STATIONLINK_PORTS", ("COM1=" + sim.Device()).c_str(), 1);
        CliProcess erase({"erase", "COM1", "JOB", "ROAD7"});
        EXPECT_EQ(erase.Wait(), 1);
        EXPECT_NE(erase.ErrorText().find(endings::RefusedErase(refusal)), std::string::npos)
            << erase.ErrorText();
        CliProcess download(
            {"download", "COM1", "JOB", "SITE03", "--part", "COORDS", "--to", folder.string()});
        EXPECT_EQ(download.Wait(), 0) << download.ErrorText();
        EXPECT_EQ(ReadWholeFile(folder / "SITE03.gsi"), endings::SentData("JOB/3/COORDS.GSI"));
        fs::remove_all(folder);
    }
}
