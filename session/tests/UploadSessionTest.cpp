// Uploads without a window against the simulated instrument: the same plan
// and link as stationlink-cli upload, and a raw download sent back.

#include "catalogue/UploadPlan.h"
#include "session/TransferSession.h"

#include "SimProcess.h"
#include "TestFiles.h"

#include "platform/CodePage.h"
#include "platform/ComPortMap.h"
#include "platform/TermiosSerialPro.h"
#include "protocol/ReplyTags.h"
#include "transfer/UploadFileReader.h"

#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <mutex>

#include <gtest/gtest.h>

using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

struct Session {
    fs::path received = FreshTempDir("upload-link-received");
    SimProcess sim{{"--received", received.string()}};
    std::unique_ptr<TransferSession> link;

    Session() {
        ::setenv(ComPortMap::kEnvironmentVariable, ("COM1=" + sim.Device()).c_str(), 1);
        link =
            std::make_unique<TransferSession>([] { return std::make_unique<TermiosSerialPro>(); });
        EXPECT_TRUE(link->Open(PortSettings::Defaults(u"COM1"))) << link->LastPortError();
        EXPECT_TRUE(link->Connect(30s)) << link->Error();
    }
    ~Session() { fs::remove_all(received); }

    // Sends the file to the entry as the drop does, with the offered name
    // and the first data type.
    bool Upload(const std::u16string& category, const std::u16string& label, const fs::path& file) {
        const auto plan = UploadPlan::Prepare(link->Model(), {category, label});
        const UploadFile read = UploadFileReader(CodePage::Wire()).ReadLocal(file.string());
        const auto decision =
            UploadPlan::Decide(*plan, u"", read, plan->fileName, u"GSI", link->IsConnected());
        return decision.request && link->Upload(*decision.request, "pc.txt", 30s);
    }
};

fs::path WriteFile(const fs::path& folder, const std::string& name, const std::string& bytes) {
    const fs::path path = folder.parent_path() / (folder.filename().string() + "-" + name);
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

std::string HighBytes() {
    std::string all;
    for (int b = 0x80; b <= 0xFF; ++b) {
        all += static_cast<char>(b);
        if (b % 64 == 63) {
            all += "\r\n";
        }
    }
    return all;
}

// The raw download of one job part: the data lines after the first, as the
// PC file of a raw download holds them.
class DownloadLink : public CKestaCom {
public:
    DownloadLink() : CKestaCom([] { return std::make_unique<TermiosSerialPro>(); }) {}
    ~DownloadLink() override { ShutdownWorker(); }

    bool Open() {
        const PortSettings d = PortSettings::Defaults(u"COM1");
        const CodePage& wire = CodePage::Wire();
        return OpenPort(wire.ToAnsi(d.portName).c_str(), wire.ToAnsi(d.baudRate).c_str(),
                        wire.ToAnsi(d.dataBits).c_str(), wire.ToAnsi(d.stopBits).c_str(),
                        wire.ToAnsi(d.parity).c_str());
    }

    std::string Download(const TransferRequest& request) {
        if (!request.BuildScript(Engine())) {
            return {};
        }
        StartDownload();
        std::unique_lock lock(mutex_);
        changed_.wait_for(lock, 30s, [this] { return ended_; });
        return lines_.size() > 1 ? Joined(1) : std::string();
    }

    int OnDeviceReply(const char* tag, const char* data, int length) override {
        std::lock_guard lock(mutex_);
        if (std::strncmp(tag, ReplyTags::kData, 6) == 0) {
            lines_.emplace_back(data, static_cast<std::size_t>(length));
        } else if (std::strncmp(tag, ReplyTags::kTaskEnd, 7) == 0) {
            ended_ = true;
            changed_.notify_all();
        }
        return 1;
    }

protected:
    // A failure shows as missing data.
    void ShowLinkMessage(const std::string& /*text*/) override {}
    void OnLinkLost(const std::string& /*reason*/) override {}

private:
    std::string Joined(std::size_t from) const {
        std::string all;
        for (std::size_t i = from; i < lines_.size(); ++i) {
            all += lines_[i];
        }
        return all;
    }

    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::string> lines_;
    bool ended_ = false;
};

} // namespace

TEST(UploadWithSim, EveryCategoryGetsTheFileLinesAndIsListedAgain) {
    Session s;
    const std::string lines = "first\r\n\r\n" + HighBytes() + "last without end";
    const fs::path file = WriteFile(s.received, "pc.txt", lines);
    const std::size_t count = 5; // first, empty, two high-byte lines, last
    int n = 0;
    for (const auto& [category, label, name] :
         {std::tuple{u"JOB", u"JobList:1 [IN:BRIDGE]", "JOB"},
          std::tuple{u"COD", u"CodeBook:1", "COD"}, std::tuple{u"HAL", u"HalList:2", "HAL"},
          std::tuple{u"VAL", u"ValList:1", "VAL"}}) {
        ASSERT_TRUE(s.Upload(category, label, file)) << s.link->Error();
        EXPECT_EQ(s.link->UploadSteps(), count);
        EXPECT_EQ(ReadWholeFile(s.received / (std::to_string(++n) + "-" + name + ".txt")),
                  lines + "\r\n");
        EXPECT_FALSE(s.link->Listing().Entries(*CategoryOf(category)).empty());
    }
}

TEST(UploadWithSim, RawDownloadSentBackArrivesUnchanged) {
    Session s;
    DownloadLink download;
    // One line, two links: the download runs after the upload link let go.
    s.link->ClosePort();
    ASSERT_TRUE(download.Open()) << download.LastPortError();
    TransferRequest request;
    request.kind = TransferRequest::JobDownload;
    request.formatCode = u"0";
    request.partCode = u"COORDS";
    request.itemName = u"1";
    const std::string data = download.Download(request);
    ASSERT_FALSE(data.empty());
    download.ClosePort();

    const fs::path file = WriteFile(s.received, "job.gsi", data);
    ASSERT_TRUE(s.link->Open(PortSettings::Defaults(u"COM1")));
    ASSERT_TRUE(s.link->Connect(30s)) << s.link->Error();
    ASSERT_TRUE(s.Upload(u"JOB", u"JobList:3 [IN:SITE03]", file)) << s.link->Error();
    EXPECT_EQ(ReadWholeFile(s.received / "1-JOB.txt"), data);
}
