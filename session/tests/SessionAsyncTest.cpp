// The session's non-blocking form, as a window drives it: Begin* returns at
// once, Poll() moves the operation on, the host hears how it went.

#include "session/TransferSession.h"

#include "catalogue/DownloadPlan.h"

#include "SimProcess.h"
#include "TestFiles.h"
#include "TrafficReader.h"

#include "platform/ComPortMap.h"
#include "platform/TermiosSerialPro.h"
#include "platform/TrafficLog.h"
#include "transfer/DownloadFileSink.h"

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

struct RecordingHost : SessionHost {
    std::vector<TransferMonitor::Outcome> ended;
    std::vector<LinkState> states;
    std::size_t lines = 0;
    std::size_t total = 0;

    void OnOperationEnded(const TransferMonitor::Outcome& outcome) override {
        ended.push_back(outcome);
    }
    void OnProgress(std::size_t done, std::size_t shown, std::uint64_t) override {
        lines = done;
        total = shown;
    }
    void OnLinkState(LinkState state) override { states.push_back(state); }
    void OnLinkMessage(const std::string&) override {}
};

struct AsyncSession {
    SimProcess sim;
    RecordingHost host;
    TransferSession link{[] { return std::make_unique<TermiosSerialPro>(); }};

    explicit AsyncSession(const std::vector<std::string>& options) : sim(options) {
        ::setenv(ComPortMap::kEnvironmentVariable, ("COM1=" + sim.Device()).c_str(), 1);
        EXPECT_TRUE(link.Open(PortSettings::Defaults(u"COM1"))) << link.LastPortError();
        link.SetHost(&host);
    }

    // Polls as a window's timer does; each poll may first run onPoll.
    void PollToEnd(const std::function<void()>& onPoll = {}) {
        const auto limit = std::chrono::steady_clock::now() + 60s;
        while (std::chrono::steady_clock::now() < limit) {
            if (onPoll) {
                onPoll();
            }
            if (!link.Poll()) {
                return;
            }
            std::this_thread::sleep_for(20ms);
        }
        ADD_FAILURE() << "the operation did not end";
    }
};

} // namespace

TEST(SessionAsync, ConnectReturnsAtOnceRefusesOthersUntilPolledToItsEnd) {
    AsyncSession s({});
    s.host.states.clear();
    ASSERT_TRUE(s.link.BeginConnect(30s)) << s.link.Error();
    EXPECT_TRUE(s.link.Running());
    // Until the session is polled past its end, the connect holds the link.
    TransferRequest other;
    other.kind = TransferRequest::JobDownload;
    other.jobLabel = (FreshTempDir("session-async-refused") / "x.gsi").u16string();
    DownloadFileSink sink;
    EXPECT_FALSE(s.link.BeginDownload(other, "BRIDGE", sink, 30s));
    EXPECT_EQ(s.link.Error(), "COM1 is connecting: wait until that has ended; nothing was sent.");
    s.PollToEnd();
    ASSERT_EQ(s.host.ended.size(), 1u);
    EXPECT_EQ(s.host.ended[0].ending, TransferMonitor::Ending::Done);
    EXPECT_EQ(s.host.states, (std::vector<LinkState>{LinkState::Connecting, LinkState::Ready}));
    EXPECT_EQ(s.link.Listing().InitDoneCount(), 1);
    EXPECT_FALSE(s.link.Running());
    EXPECT_FALSE(s.link.Poll());
}

TEST(SessionAsync, DownloadEndsOnceWithItsRecoveryAndItsFile) {
    struct Case {
        const char* name;
        bool cancel;
        TransferMonitor::Ending ending;
        std::vector<LinkState> states;
        bool complete;
    };
    const Case cases[] = {
        {"whole", false, TransferMonitor::Ending::Done, {LinkState::Busy, LinkState::Ready}, true},
        {"cancelled",
         true,
         TransferMonitor::Ending::Stopped,
         {LinkState::Busy, LinkState::Recovering, LinkState::Ready},
         false},
    };
    for (const Case& c : cases) {
        // Paced, so that a cancel comes while lines still arrive.
        AsyncSession s({"--baud", "9600"});
        ASSERT_TRUE(s.link.Connect(30s)) << s.link.Error();
        const fs::path folder = FreshTempDir("session-async-download");
        const auto decision = DownloadPlan::Decide(
            TransferRequest::JobDownload, s.link.Model().LineOf(u"JOB", u"JobList:1 [IN:BRIDGE]"),
            DownloadPlan::FolderOf(folder.u16string()), {u"BRIDGE", u"GSI", u"OBSERV"});
        ASSERT_TRUE(decision.request);
        DownloadFileSink sink;
        s.host.states.clear();
        s.host.ended.clear();
        ASSERT_TRUE(s.link.BeginDownload(*decision.request, "BRIDGE", sink, 30s)) << c.name;
        bool cancelled = false;
        s.PollToEnd([&] {
            if (c.cancel && !cancelled && s.host.lines > 0) {
                s.link.Cancel();
                cancelled = true;
            }
        });
        ASSERT_EQ(s.host.ended.size(), 1u) << c.name;
        const TransferMonitor::Outcome& end = s.host.ended[0];
        EXPECT_EQ(end.ending, c.ending) << c.name << ": " << end.message;
        EXPECT_EQ(s.host.states, c.states) << c.name;
        EXPECT_LE(s.host.lines, s.host.total) << c.name;
        EXPECT_EQ(fs::exists(folder / "BRIDGE.gsi"), c.complete) << c.name;
        EXPECT_EQ(!end.keptPart.empty() && fs::exists(end.keptPart), !c.complete) << c.name;
        EXPECT_EQ(s.link.State(), LinkState::Ready) << c.name;
        fs::remove_all(folder);
    }
}

TEST(SessionAsync, ClosingStopsWhatRunsTellsTheInstrumentAndLeavesThePortReusable) {
    enum class Running { Nothing, Connect, Download };
    struct Case {
        const char* name;
        Running running;
    };
    const Case cases[] = {{"idle", Running::Nothing},
                          {"connecting", Running::Connect},
                          {"downloading", Running::Download}};
    for (const Case& c : cases) {
        // Paced while something runs, so that the close comes in its middle.
        AsyncSession s(c.running == Running::Nothing ? std::vector<std::string>{}
                                                     : std::vector<std::string>{"--baud", "9600"});
        const fs::path folder = FreshTempDir("session-close");
        const fs::path log = folder / "traffic.log";
        s.link.SetTrafficLog(std::make_shared<TrafficLog>(log.string()));
        DownloadFileSink sink;
        if (c.running == Running::Download) {
            ASSERT_TRUE(s.link.Connect(30s)) << s.link.Error();
            const auto decision = DownloadPlan::Decide(
                TransferRequest::JobDownload,
                s.link.Model().LineOf(u"JOB", u"JobList:1 [IN:BRIDGE]"),
                DownloadPlan::FolderOf(folder.u16string()), {u"BRIDGE", u"GSI", u"OBSERV"});
            ASSERT_TRUE(decision.request);
            ASSERT_TRUE(s.link.BeginDownload(*decision.request, "BRIDGE", sink, 30s));
            while (s.link.Poll() && s.host.lines == 0) {
                std::this_thread::sleep_for(20ms);
            }
        } else if (c.running == Running::Connect) {
            ASSERT_TRUE(s.link.BeginConnect(30s)) << s.link.Error();
        }
        s.host.states.clear();
        s.host.ended.clear();
        s.link.Close();
        s.link.SetTrafficLog(nullptr);

        EXPECT_EQ(s.host.states.back(), LinkState::Closed) << c.name;
        EXPECT_FALSE(s.link.Running()) << c.name;
        const bool ran = c.running != Running::Nothing;
        ASSERT_EQ(s.host.ended.size(), ran ? 1u : 0u) << c.name;
        if (ran) {
            const TransferMonitor::Outcome& end = s.host.ended[0];
            EXPECT_EQ(end.ending, TransferMonitor::Ending::Stopped) << c.name;
            const std::string pc = Traffic::Read(log).fromPc;
            EXPECT_EQ(pc.substr(pc.size() - 6), "a\r\nc\r\n") << c.name;
        }
        if (c.running == Running::Download) {
            EXPECT_FALSE(fs::exists(folder / "BRIDGE.gsi"));
            EXPECT_TRUE(fs::exists(s.host.ended[0].keptPart)) << s.host.ended[0].keptPart;
        }
        // The same session opens the port again and connects.
        ASSERT_TRUE(s.link.Open(PortSettings::Defaults(u"COM1"))) << c.name;
        EXPECT_TRUE(s.link.Connect(30s)) << c.name << ": " << s.link.Error();
        fs::remove_all(folder);
    }
}

// The line goes after the connect has ended on the worker but before the
// window's timer polled that end: the connect stays done, nothing is sent to
// recover it, and every later start is refused with the reason.
TEST(SessionAsync, LineLostBetweenAnEndAndItsPollKeepsTheEnd) {
    AsyncSession s({});
    ASSERT_TRUE(s.link.BeginConnect(30s)) << s.link.Error();
    const auto waitFor = [](const std::function<bool()>& reached) {
        const auto limit = std::chrono::steady_clock::now() + 30s;
        while (!reached() && std::chrono::steady_clock::now() < limit) {
            std::this_thread::sleep_for(10ms);
        }
        return reached();
    };
    ASSERT_TRUE(waitFor(
        [&] { return s.link.LastOutcome().operation == TransferMonitor::Operation::Connect; }));
    s.sim.Stop();
    ASSERT_TRUE(waitFor([&] { return s.link.State() == LinkState::Lost; }));
    s.PollToEnd();

    ASSERT_EQ(s.host.ended.size(), 1u);
    EXPECT_EQ(s.host.ended[0].operation, TransferMonitor::Operation::Connect);
    EXPECT_EQ(s.host.ended[0].ending, TransferMonitor::Ending::Done) << s.host.ended[0].message;
    EXPECT_EQ(s.link.State(), LinkState::Lost);
    EXPECT_FALSE(s.link.BeginConnect(30s));
    EXPECT_NE(s.link.Error().find("lost"), std::string::npos) << s.link.Error();
}
