// The widget-free instrument tree against the simulated instrument over a
// pseudo-terminal.

#include "session/TransferSession.h"
#include "catalogue/DownloadPlan.h"
#include "catalogue/EraseFlow.h"

#include "SimProcess.h"
#include "TestFiles.h"

#include "transfer/DownloadFileSink.h"

#include "platform/ComPortMap.h"
#include "platform/TermiosSerialPro.h"

#include <cstdlib>
#include <filesystem>
#include <functional>

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

constexpr const char* kDemoListing =
    "DEVICE\tCOM1: X4  SERIES\n"
    "JOB\tJobList:1 [IN:BRIDGE]\tFixPoints:24\tMeasurementPoints:36\n"
    "JOB\tJobList:2 [IN:ROAD7]\tFixPoints:48\tMeasurementPoints:0\n"
    "JOB\tJobList:3 [IN:SITE03]\tFixPoints:12\tMeasurementPoints:18\n"
    "JOB\tJobList:4 []\tFixPoints:0\tMeasurementPoints:0\n"
    "COD\tCodeBook:1\tName:TOPO\n"
    "COD\tCodeBook:2\tName:UTILITY\n"
    "FOR\tGSI,0,GSI-16 blocks\n"
    "FOR\tIDEX,1,IDEX database\n"
    "FOR\tASCII,2,comma-separated points\n"
    "HAL\tHalList:1\tPoints:6\n"
    "HAL\tHalList:2\tPoints:4\n"
    "VAL\tValList:1\tPoints:5\n"
    "VAL\tValList:2\tPoints:3\n";

std::unique_ptr<TransferSession> ConnectedLink(const SimProcess& sim) {
    auto link =
        std::make_unique<TransferSession>([] { return std::make_unique<TermiosSerialPro>(); });
    ::setenv(ComPortMap::kEnvironmentVariable, ("COM1=" + sim.Device()).c_str(), 1);
    EXPECT_TRUE(link->Open(PortSettings::Defaults(u"COM1"))) << link->LastPortError();
    return link;
}

} // namespace

TEST(CatalogueWithSim, ConnectListsTheWholeDemoContentInArrivalOrder) {
    SimProcess sim;
    auto link = ConnectedLink(sim);
    ASSERT_TRUE(link->Connect(30s)) << link->Error();
    EXPECT_EQ(link->Listing().Print(), kDemoListing);
    EXPECT_EQ(link->Listing().InitDoneCount(), 1);
    EXPECT_EQ(link->Model().FormatList().size(), 3U);
    EXPECT_EQ(link->Model().LineOf(u"JOB", u"JobList:3 [IN:SITE03]"),
              u"IN:SITE03,3,12,18,2024-06-02,07:48\r\n");
}

TEST(CatalogueWithSim, ErasingAJobPartRelistsTheJobsAndErrorRepliesEndTheNextOnes) {
    SimProcess sim;
    auto link = ConnectedLink(sim);
    // What a window's tree shows follows the listing through the refill.
    DeviceListing shown;
    link->SetTreeFollower(&shown);
    ASSERT_TRUE(link->Connect(30s)) << link->Error();
    const std::u16string line = link->Model().LineOf(u"JOB", u"JobList:2 [IN:ROAD7]");
    const auto decision = EraseFlow::Decide(TransferRequest::JobErase, line, u"COORDS");
    ASSERT_TRUE(decision.request);
    ASSERT_TRUE(link->Erase(*decision.request, "ROAD7", 30s)) << link->Error();
    // Job 2 had no measurement points left: it leaves the list.
    std::vector<std::u16string> labels;
    for (const auto& entry : link->Listing().Entries(EntryKind::Job)) {
        labels.push_back(entry.label);
    }
    EXPECT_EQ(labels, (std::vector<std::u16string>{u"JobList:1 [IN:BRIDGE]",
                                                   u"JobList:3 [IN:SITE03]", u"JobList:4 []"}));
    EXPECT_EQ(shown.Print(), link->Listing().Print());

    // The instrument's error replies, and a download of the part just erased
    // (the list read before the erase still shows it), end the operation at
    // once with what happened; the same session goes on without a new connect.
    TransferRequest badPart = *decision.request;
    badPart.kind = TransferRequest::JobDownload;
    badPart.partCode = u"FOO";
    const std::filesystem::path folder = FreshTempDir("session-refused");
    badPart.jobLabel = (folder / "ROAD7.gsi").u16string();
    const auto stale = DownloadPlan::Decide(TransferRequest::JobDownload, line,
                                            DownloadPlan::FolderOf(folder.u16string()),
                                            {u"ROAD7", u"GSI", u"COORDS"});
    ASSERT_TRUE(stale.request);
    struct Case {
        const char* name;
        std::function<bool()> run;
        TransferMonitor::Ending ending;
        std::string said;
    };
    DownloadFileSink sink;
    DownloadFileSink staleSink;
    const Case cases[] = {
        // ROAD7 is gone: its erase, as the stale list still shows it, is refused.
        {"no such item", [&] { return link->Erase(*decision.request, "ROAD7", 30s); },
         TransferMonitor::Ending::Refused,
         "COM1: the instrument answered @E103: it holds no such item"},
        {"bad parameter", [&] { return link->Download(badPart, "ROAD7", sink, 30s); },
         TransferMonitor::Ending::Refused,
         "COM1: the instrument answered @E102: a parameter of the command is not one it takes."},
        {"erased since listed",
         [&] { return link->Download(*stale.request, "JobList:2 [IN:ROAD7]", staleSink, 30s); },
         TransferMonitor::Ending::NoData,
         "The instrument sent no data for JobList:2 [IN:ROAD7] (it may have been erased since its "
         "list was read). No file was written."},
    };
    for (const Case& c : cases) {
        const auto started = std::chrono::steady_clock::now();
        EXPECT_FALSE(c.run()) << c.name;
        // Within one re-send time (8 s), not after the idle time-out.
        EXPECT_LT(std::chrono::steady_clock::now() - started, 8s) << c.name;
        EXPECT_EQ(link->LastOutcome().ending, c.ending) << c.name;
        EXPECT_EQ(link->Error().rfind(c.said, 0), 0u) << link->Error();
        EXPECT_EQ(link->State(), LinkState::Ready) << c.name;
        const auto next = DownloadPlan::Decide(
            TransferRequest::JobDownload, link->Model().LineOf(u"JOB", u"JobList:1 [IN:BRIDGE]"),
            DownloadPlan::FolderOf(folder.u16string()),
            {std::u16string(u"BRIDGE-") + std::u16string(c.name, c.name + 2), u"GSI", u"COORDS"});
        ASSERT_TRUE(next.request);
        DownloadFileSink file;
        EXPECT_TRUE(link->Download(*next.request, "BRIDGE", file, 30s))
            << c.name << ": " << link->Error();
    }
    for (const char* name : {"ROAD7.gsi", "ROAD7.gsi.part"}) {
        EXPECT_FALSE(std::filesystem::exists(folder / name)) << name;
    }
    std::filesystem::remove_all(folder);
}
