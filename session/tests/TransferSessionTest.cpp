// The widget-free instrument tree against the simulated instrument over a
// pseudo-terminal.

#include "session/TransferSession.h"
#include "catalogue/EraseFlow.h"

#include "SimProcess.h"

#include "platform/ComPortMap.h"
#include "platform/TermiosSerialPro.h"

#include <cstdlib>

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

TEST(CatalogueWithSim, ErasingAJobPartRelistsTheJobs) {
    SimProcess sim;
    auto link = ConnectedLink(sim);
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
}
