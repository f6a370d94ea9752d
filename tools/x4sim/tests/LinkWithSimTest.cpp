// The serial link and the protocol engine, over a real termios port, against
// the simulated instrument.

#include "ContentFiles.h"
#include "InstrumentContent.h"
#include "SimProcess.h"
#include "TestFiles.h"

#include "platform/CodePage.h"
#include "platform/TermiosSerialPro.h"
#include "protocol/CKestaCom.h"
#include "protocol/PortList.h"
#include "protocol/ReplyTags.h"
#include "protocol/TransferRequest.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

// A link that records every report of the engine.
class RecordingLink : public CKestaCom {
public:
    explicit RecordingLink(std::chrono::milliseconds resend = CDKestaDlg::kDefaultResendInterval)
        : CKestaCom([] { return std::make_unique<TermiosSerialPro>(); }, resend) {}
    ~RecordingLink() override { ShutdownWorker(); }

    int OnDeviceReply(const char* tag, const char* data, int length) override {
        std::lock_guard lock(mutex_);
        reports_.emplace_back(tag, data != nullptr ? std::string(data, length) : std::string());
        worker_ = std::this_thread::get_id();
        changed_.notify_all();
        return 1;
    }
    void OnLinkLost(const std::string& /*reason*/) override {
        std::lock_guard lock(mutex_);
        lost_ = true;
        changed_.notify_all();
    }

    bool Open(const std::string& port, const char* baud = "19200") {
        return OpenPort(port.c_str(), baud, "8", "0", "0");
    }
    void Connect() {
        Engine().StartConnect();
    }
    // Waits until `count` reports with this tag have come in.
    bool WaitFor(const std::string& tag, std::size_t count = 1) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, 60s, [&] { return CountLocked(tag) >= count; });
    }
    bool WaitForLoss() {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, 60s, [&] { return lost_; });
    }
    std::vector<std::string> Lines(const std::string& tag) {
        std::lock_guard lock(mutex_);
        std::vector<std::string> lines;
        for (const auto& [t, data] : reports_) {
            if (t == tag) {
                lines.push_back(data);
            }
        }
        return lines;
    }
    void Forget() {
        std::lock_guard lock(mutex_);
        reports_.clear();
    }
    std::thread::id Worker() {
        std::lock_guard lock(mutex_);
        return worker_;
    }
    std::vector<std::string> messages;

protected:
    void ShowLinkMessage(const std::string& text) override { messages.push_back(text); }

private:
    std::size_t CountLocked(const std::string& tag) const {
        return static_cast<std::size_t>(
            std::count_if(reports_.begin(), reports_.end(),
                          [&](const auto& report) { return report.first == tag; }));
    }

    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::pair<std::string, std::string>> reports_;
    std::thread::id worker_;
    bool lost_ = false;
};

std::vector<std::string> DemoLines(const std::string& path) {
    return InstrumentContent::Lines(ContentFiles::BuiltIn().Read(path).value_or(""));
}

std::vector<std::u16string> WideLines(const std::vector<std::string>& lines) {
    std::vector<std::u16string> wide;
    for (const auto& line : lines) {
        // Demo lines hold bytes beyond ASCII: read them as the wire carries them.
        wide.push_back(CodePage::Wire().ToWide(line.substr(0, line.size() - 2)));
    }
    return wide;
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string all;
    for (const auto& line : lines) {
        all += line;
    }
    return all;
}

void ExpectWholeDemoContent(RecordingLink& link) {
    EXPECT_EQ(link.Lines(ReplyTags::kDevice), DemoLines("identity.txt"));
    EXPECT_EQ(link.Lines(ReplyTags::kCodeList), DemoLines("codes.txt"));
    EXPECT_EQ(link.Lines(ReplyTags::kJobList), DemoLines("jobs.txt"));
    EXPECT_EQ(link.Lines(ReplyTags::kFormatList), DemoLines("formats.txt"));
    EXPECT_EQ(link.Lines(ReplyTags::kHalList), DemoLines("hal.txt"));
    EXPECT_EQ(link.Lines(ReplyTags::kValList), DemoLines("val.txt"));
}

void RunConnect(RecordingLink& link) {
    link.Connect();
    ASSERT_TRUE(link.WaitFor(ReplyTags::kInitDone));
    ASSERT_TRUE(link.WaitFor(ReplyTags::kTaskEnd));
}

void RunOperation(RecordingLink& link, const TransferRequest& request, int (CKestaCom::*start)()) {
    link.Forget();
    ASSERT_TRUE(request.BuildScript(link.Engine()));
    (link.*start)();
    ASSERT_TRUE(link.WaitFor(ReplyTags::kTaskEnd));
}

TransferRequest Upload(TransferRequest::Kind kind, const std::u16string& format,
                       const std::u16string& item, const std::u16string& echo,
                       const std::vector<std::string>& lines) {
    TransferRequest request;
    request.kind = kind;
    request.formatCode = format;
    request.itemName = item;
    request.echoName = echo;
    request.lines = WideLines(lines);
    return request;
}

TransferRequest JobDownload(const std::u16string& format, const std::u16string& part,
                            const std::u16string& item) {
    TransferRequest request;
    request.kind = TransferRequest::JobDownload;
    request.formatCode = format;
    request.partCode = part;
    request.itemName = item;
    return request;
}

} // namespace

TEST(LinkWithSim, ConnectScriptReadsEveryListLine) {
    SimProcess sim;
    RecordingLink link;
    ASSERT_TRUE(link.Open(sim.Device())) << link.LastPortError();
    RunConnect(link);
    ExpectWholeDemoContent(link);
}

TEST(LinkWithSim, JobDownloadReceivesExactlyTheDataLines) {
    SimProcess sim;
    RecordingLink link;
    ASSERT_TRUE(link.Open(sim.Device())) << link.LastPortError();
    RunOperation(link, JobDownload(u"0", u"COORDS", u"1"), &CKestaCom::StartDownload);
    auto lines = link.Lines(ReplyTags::kData);
    ASSERT_FALSE(lines.empty());
    const auto expected = DemoLines("data/JOB/1/COORDS.GSI");
    EXPECT_EQ(lines.front(),
              "JOB,IN:BRIDGE,1,COORDS,GSI," + std::to_string(expected.size()) + "\r\n");
    lines.erase(lines.begin());
    EXPECT_EQ(lines, expected);

    RunOperation(link, JobDownload(u"1", u"OBSERV", u"3"), &CKestaCom::StartDownload);
    lines = link.Lines(ReplyTags::kData);
    ASSERT_FALSE(lines.empty());
    lines.erase(lines.begin());
    EXPECT_EQ(lines, DemoLines("data/JOB/3/OBSERV.IDEX"));
}

TEST(LinkWithSim, UploadsDeliverExactlyTheFileLines) {
    const fs::path received = FreshTempDir("x4sim-e2e-received");
    SimProcess sim({"--received", received.string()});
    RecordingLink link;
    ASSERT_TRUE(link.Open(sim.Device())) << link.LastPortError();

    const std::vector<std::string> codes = {"*410001+00000000000PIPE 42....+0000000000000001 \r\n",
                                            "\r\n", "*410002+0000000000VALVE \r\n"};
    RunOperation(link, Upload(TransferRequest::CodeUpload, u"2", u"", u"UTILITY", codes),
                 &CKestaCom::StartUpload);
    EXPECT_EQ(link.Lines(ReplyTags::kProgress).size(), codes.size());
    EXPECT_EQ(link.Lines(ReplyTags::kCodeFirst), (std::vector<std::string>{"TOPO,1,12\r\n"}));
    EXPECT_EQ(link.Lines(ReplyTags::kCodeRefresh), (std::vector<std::string>{"UTILITY,2,2\r\n"}));

    const auto points = DemoLines("data/JOB/2/COORDS.GSI");
    TransferRequest job = Upload(TransferRequest::JobUpload, u"0", u"3",
                                 u"IN:SITE03,3,12,18,2024-06-02,07:48\r\n", points);
    job.jobLabel = u"SITE03";
    RunOperation(link, job, &CKestaCom::StartUpload);
    EXPECT_EQ(link.Lines(ReplyTags::kJobRefresh)[1], "IN:SITE03,3,48,18,2024-06-02,07:48\r\n");

    TransferRequest select = Upload(TransferRequest::JobUploadSelect, u"0", u"4", u"NEWJOB,4,0,0",
                                    {points.front(), points.back()});
    select.jobLabel = u"NEWJOB";
    RunOperation(link, select, &CKestaCom::StartUpload);
    EXPECT_EQ(link.Lines(ReplyTags::kJobRefresh).back(), "NEWJOB,4,1,0,2024-06-03,16:20\r\n");

    const auto road = DemoLines("data/VAL/2.txt");
    RunOperation(link, Upload(TransferRequest::ValUpload, u"2", u"", u"RAMPA", road),
                 &CKestaCom::StartUpload);
    EXPECT_EQ(link.Lines(ReplyTags::kValRefresh).back(), "RoadVal,3,3\r\n");

    EXPECT_EQ(ReadWholeFile(received / "1-COD.txt"), Joined(codes));
    EXPECT_EQ(ReadWholeFile(received / "2-JOB.txt"), Joined(points));
    EXPECT_EQ(ReadWholeFile(received / "3-JOB.txt"), points.front() + points.back());
    EXPECT_EQ(ReadWholeFile(received / "4-VAL.txt"), Joined(road));
    fs::remove_all(received);
}

TEST(LinkWithSim, EraseRelistsWithoutTheItem) {
    SimProcess sim;
    RecordingLink link;
    ASSERT_TRUE(link.Open(sim.Device())) << link.LastPortError();
    TransferRequest erase;
    erase.kind = TransferRequest::JobErase;
    erase.itemName = u"2";
    erase.partCode = u"COORDS";
    RunOperation(link, erase, &CKestaCom::StartErase);
    auto jobs = DemoLines("jobs.txt");
    jobs.erase(jobs.begin() + 1);
    EXPECT_EQ(link.Lines(ReplyTags::kJobRefresh), jobs);

    TransferRequest hal;
    hal.kind = TransferRequest::HalErase;
    hal.itemName = u"1";
    RunOperation(link, hal, &CKestaCom::StartErase);
    EXPECT_EQ(link.Lines(ReplyTags::kHalRefresh), std::vector<std::string>{"RAMPA,2,4\r\n"});
}

// Warnings and split replies cost repeats, never data.
TEST(LinkWithSim, WarningsAndOneByteChunksStillEndCorrectly) {
    TransferRequest road;
    road.kind = TransferRequest::ValDownload;
    road.itemName = u"2";
    const struct {
        std::vector<std::string> faults;
        TransferRequest download;
        std::string data;
    } cases[] = {{{"--warn", "4"}, JobDownload(u"0", u"OBSERV", u"1"), "data/JOB/1/OBSERV.GSI"},
                 {{"--chunk", "1"}, road, "data/VAL/2.txt"}};
    for (const auto& [faults, download, data] : cases) {
        SCOPED_TRACE(faults[0]);
        SimProcess sim(faults);
        RecordingLink link;
        ASSERT_TRUE(link.Open(sim.Device())) << link.LastPortError();
        RunConnect(link);
        ExpectWholeDemoContent(link);
        RunOperation(link, download, &CKestaCom::StartDownload);
        auto lines = link.Lines(ReplyTags::kData);
        ASSERT_FALSE(lines.empty());
        lines.erase(lines.begin());
        EXPECT_EQ(lines, DemoLines(data));
    }
}

TEST(LinkWithSim, SilentInstrumentIsWokenByResends) {
    SimProcess sim({"--silent", "3"});
    RecordingLink link(100ms);
    ASSERT_TRUE(link.Open(sim.Device())) << link.LastPortError();
    RunConnect(link);
    ExpectWholeDemoContent(link);
}

TEST(LinkWithSim, HangUpDuringADownloadIsReportedAndClosesCleanly) {
    SimProcess sim({"--hangup-after", "5"});
    RecordingLink link(200ms);
    ASSERT_TRUE(link.Open(sim.Device())) << link.LastPortError();
    ASSERT_TRUE(JobDownload(u"0", u"COORDS", u"1").BuildScript(link.Engine()));
    link.StartDownload();
    ASSERT_TRUE(link.WaitForLoss());
    EXPECT_NE(link.LastPortError().find("the port was lost"), std::string::npos)
        << link.LastPortError();
    EXPECT_EQ(link.Lines(ReplyTags::kData).size(), 6u) << "header and five data lines";
    EXPECT_TRUE(link.Lines(ReplyTags::kTaskEnd).empty());
    EXPECT_EQ(sim.WaitExit(), 0);
    link.ClosePort();
    EXPECT_FALSE(link.IsConnected());
}

TEST(LinkWithSim, ReopenedPortRunsTheConnectAgainOnTheSameWorker) {
    SimProcess sim;
    RecordingLink link;
    ASSERT_TRUE(link.Open(sim.Device())) << link.LastPortError();
    EXPECT_FALSE(link.Open(sim.Device())) << "a port is already open";
    RunConnect(link);
    const auto worker = link.Worker();
    link.ClosePort();
    link.Forget();
    ASSERT_TRUE(link.Open(sim.Device())) << link.LastPortError();
    RunConnect(link);
    ExpectWholeDemoContent(link);
    EXPECT_EQ(link.Worker(), worker);
}

TEST(LinkWithSim, PortErrorsSayWhy) {
    SimProcess sim;
    RecordingLink first;
    RecordingLink second;
    EXPECT_FALSE(second.Open("/dev/ttyUSB-missing-x4"));
    EXPECT_NE(second.LastPortError().find("no such device"), std::string::npos);
    ASSERT_TRUE(first.Open(sim.Device())) << first.LastPortError();
    EXPECT_FALSE(second.Open(sim.Device()));
    EXPECT_NE(second.LastPortError().find("busy: another program holds it"), std::string::npos)
        << second.LastPortError();
}

TEST(LinkWithSim, NeverConfiguredPortOpensAt19200EightNoneOne) {
    SimProcess sim;
    ::setenv("STATIONLINK_PORTS", ("COM7=" + sim.Device()).c_str(), 1);
    const PortList ports = PortList::System();
    ::unsetenv("STATIONLINK_PORTS");
    ASSERT_EQ(ports.Ports().size(), 1u);
    const PortSettings& settings = ports.Ports()[0].settings;
    const auto ansi = [](const std::u16string& text) {
        return std::string(text.begin(), text.end());
    };
    RecordingLink link;
    ::setenv("STATIONLINK_PORTS", ("COM7=" + sim.Device()).c_str(), 1);
    const bool opened =
        link.OpenPort(ansi(settings.portName).c_str(), ansi(settings.baudRate).c_str(),
                      ansi(settings.dataBits).c_str(), ansi(settings.stopBits).c_str(),
                      ansi(settings.parity).c_str());
    ::unsetenv("STATIONLINK_PORTS");
    ASSERT_TRUE(opened) << link.LastPortError();
    termios state{};
    const int fd = ::open(sim.Device().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_EQ(::tcgetattr(fd, &state), 0);
    ::close(fd);
    EXPECT_EQ(cfgetospeed(&state), B19200);
    EXPECT_EQ(state.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(state.c_cflag & (PARENB | CSTOPB), 0u);
    RunConnect(link);
    EXPECT_EQ(link.Lines(ReplyTags::kJobList).size(), 4u);
}
