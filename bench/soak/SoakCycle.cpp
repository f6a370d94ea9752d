#include "SoakCycle.h"

#include "SimProcess.h"
#include "TestFiles.h"

#include "session/TransferSession.h"
#include "catalogue/DownloadPlan.h"
#include "catalogue/EraseFlow.h"
#include "catalogue/UploadPlan.h"
#include "platform/CodePage.h"
#include "platform/TermiosSerialPro.h"
#include "transfer/ByteSink.h"
#include "transfer/CassConversion.h"
#include "transfer/DownloadFileSink.h"
#include "transfer/UploadFileReader.h"

#include <algorithm>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace {

const std::u16string kErased = u"JobList:2 [IN:ROAD7]";
constexpr std::size_t kOverlongAt = 2; // before the third data line
constexpr std::size_t kUploadLines = 16;
const std::u16string kUploadTarget = u"JobList:3 [IN:SITE03]";

class StringSink final : public ByteSink {
public:
    void Write(std::string_view bytes) override { text.append(bytes); }
    std::string text;
};

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// GSI point blocks whose names hold every byte from 0x80 to 0xFF.
std::string UploadBytes() {
    std::string bytes;
    for (int i = 0; i < static_cast<int>(kUploadLines); ++i) {
        std::string name;
        for (int b = 0x80 + 8 * i; b < 0x88 + 8 * i; ++b) {
            name += static_cast<char>(b);
        }
        const std::string n = std::to_string(1000 + i);
        bytes += "*11" + n.substr(1) + "+0000000" + n + name + " 81..00+000000000" + n +
                 "00 82..00+000000000" + n + "50 83..00+0000000000" + n + " \r\n";
    }
    return bytes;
}

// The demo content with an over-long line in every job data file.
fs::path OverlongContent(const fs::path& at) {
    fs::copy(DemoCopy("soak-overlong"), at, fs::copy_options::recursive);
    for (const auto& entry : fs::recursive_directory_iterator(at / "data/JOB")) {
        if (!entry.is_regular_file()) {
            continue;
        }
        std::ifstream in(entry.path(), std::ios::binary);
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);) {
            lines.push_back(line);
        }
        in.close();
        lines.insert(lines.begin() + kOverlongAt, std::string(64 * 1024 + 1, 'X'));
        std::ofstream out(entry.path(), std::ios::binary | std::ios::trunc);
        for (const auto& line : lines) {
            out << line << "\n";
        }
    }
    return at;
}

std::string Joined(const std::vector<std::string>& lines, std::size_t count) {
    std::string all;
    for (std::size_t i = 0; i < std::min(count, lines.size()); ++i) {
        all += lines[i];
    }
    return all;
}

} // namespace

SoakCycle::SoakCycle(fs::path work, std::string& listing)
    : work_(std::move(work)), overlongContent_(OverlongContent(work_ / "overlong")),
      uploadFile_(work_ / "upload.gsi"), uploadBytes_(UploadBytes()), listing_(listing) {
    std::ofstream(uploadFile_, std::ios::binary) << uploadBytes_;
}

SoakCycle::Result SoakCycle::Fail(std::string why) {
    why_ = std::move(why);
    return Result::Failed;
}

SoakCycle::Result SoakCycle::Run(int cycle, const CyclePlan& plan) {
    why_.clear();
    const fs::path received = work_ / ("received-" + std::to_string(cycle));
    fs::create_directories(received);
    std::vector<std::string> options = plan.SimOptions();
    options.insert(options.end(), {"--received", received.string()});
    if (plan.overlongLine) {
        options.insert(options.end(), {"--data", overlongContent_.string()});
    }
    SimProcess sim(options);
    if (sim.Device().empty()) {
        return Fail("x4sim did not start");
    }
    Result result = Result::Passed;
    {
        TransferSession link([] { return std::make_unique<TermiosSerialPro>(); },
                           plan.ResendInterval());
        PortSettings settings = PortSettings::Defaults(u"COM1");
        settings.portName = CodePage::Wire().ToWide(sim.Device());
        if (!link.Open(settings)) {
            return Fail("cannot open " + sim.Device() + ": " + link.LastPortError());
        }
        result = Steps(cycle, plan, link, received);
        link.ClosePort();
    }
    fs::remove_all(received);
    return result;
}

SoakCycle::Result SoakCycle::Steps(int cycle, const CyclePlan& plan, TransferSession& link,
                                   const fs::path& received) {
    if (!link.Connect(kIdleTimeout)) {
        return Fail("connect: " + link.Error());
    }
    if (!CheckListing(link)) {
        return Result::Failed;
    }
    // An item erased since the list came: erased first, downloaded after.
    if (plan.staleItem && !Erase(link)) {
        return Result::Failed;
    }
    if (const Result downloaded = Download(cycle, plan, link); downloaded != Result::Passed) {
        return downloaded;
    }
    if (const Result uploaded = Upload(plan, link, received); uploaded != Result::Passed) {
        return uploaded;
    }
    if (!plan.staleItem && !Erase(link)) {
        return Result::Failed;
    }
    return Result::Passed;
}

bool SoakCycle::CheckListing(const TransferSession& link) {
    // The port node names the pseudo-terminal, which changes from cycle to cycle.
    std::string printed = link.Listing().Print();
    const std::size_t colon = printed.find(':');
    const std::size_t tab = printed.find('\t');
    if (tab < colon && colon < printed.find('\n')) {
        printed.replace(tab + 1, colon - tab - 1, "PORT");
    }
    if (listing_.empty()) {
        listing_ = printed;
    }
    if (printed != listing_) {
        why_ = "the listing differs from the reference:\n" + printed;
        return false;
    }
    return true;
}

SoakCycle::Result SoakCycle::Download(int cycle, const CyclePlan& plan, TransferSession& link) {
    const std::u16string line = link.Model().LineOf(u"JOB", plan.JobLabel());
    const auto dialog = DownloadPlan::Prepare(u"JOB", line, link.Model().FormatList());
    const DownloadPlan::Choice choice{u"soak-" + CodePage::Wire().ToWide(std::to_string(cycle)),
                                      plan.dataType, plan.part};
    const auto decision = DownloadPlan::Decide(
        dialog->mode, line, DownloadPlan::FolderOf(CodePage::Wire().ToWide(work_.string())),
        choice);
    if (!decision.request) {
        return Fail("download refused: " + DeviceListing::Utf8(decision.refusal));
    }
    const fs::path file = DeviceListing::Utf8(decision.request->jobLabel);
    DownloadFileSink sink;
    const bool complete = link.Download(*decision.request, "soak", sink, kIdleTimeout);
    const std::string bytes = ReadAll(file);
    Result result = Result::Passed;
    if (plan.staleItem || plan.overlongLine || plan.hangupAfter > 0) {
        result = complete ? Fail("a download that could not end well was reported as done (" +
                                 std::to_string(bytes.size()) + " bytes in the file)")
                          : CheckCutOff(plan, link, file);
    } else if (plan.dataType == u"CASS" && plan.part == u"OBSERV") {
        // Measurements hold no coordinates: no point file, not even a partial one.
        const bool written = complete || fs::exists(file) || fs::exists(file.string() + ".part");
        result = written ? Fail("a point file of measurements was written") : Result::Passed;
    } else if (!complete) {
        result = Fail("download: " + link.Error());
    } else if (bytes != Expected(plan)) {
        result = Fail("the downloaded file differs from the instrument's data (" +
                      std::to_string(bytes.size()) + " bytes, " +
                      std::to_string(Expected(plan).size()) + " expected)");
    } else if (plan.reconnect && !Reconnect(link, file)) {
        result = Result::Failed;
    }
    fs::remove(file);
    fs::remove(file.string() + ".part");
    return result;
}

// The right reason, no file under the final name, and exactly what arrived
// in the partial file: the data lines before the cut (a point file keeps the
// transfer's header line in front of them).
SoakCycle::Result SoakCycle::CheckCutOff(const CyclePlan& plan, const TransferSession& link,
                                         const fs::path& file) {
    using Ending = TransferMonitor::Ending;
    const auto outcome = link.LastOutcome();
    const Ending expected = plan.staleItem      ? Ending::NoData
                            : plan.overlongLine ? Ending::Overlong
                                                : Ending::LineLost;
    if (outcome.ending != expected) {
        return Fail("the download ended for another reason: " + link.Error());
    }
    if (fs::exists(file)) {
        return Fail("a cut-off download left a file under its final name");
    }
    const std::size_t arrived = plan.staleItem      ? 0
                                : plan.overlongLine ? kOverlongAt
                                                    : static_cast<std::size_t>(plan.hangupAfter);
    const std::string part = ReadAll(file.string() + ".part");
    std::string kept = Joined(plan.SourceLines(), arrived);
    if (plan.dataType == u"CASS" && arrived > 0) {
        kept = part.substr(0, part.find("\r\n") + 2) + kept;
    }
    if (part != kept || fs::exists(file.string() + ".part") != (arrived > 0)) {
        return Fail("the partial file does not hold what arrived (" + std::to_string(part.size()) +
                    " bytes, " + std::to_string(kept.size()) + " expected)");
    }
    return plan.HangsUp() ? Result::HungUp : Result::Passed;
}

// A connect after a point-file download must leave the file as it was.
bool SoakCycle::Reconnect(TransferSession& link, const fs::path& file) {
    const std::string before = ReadAll(file);
    const PortSettings settings = link.Settings();
    link.ClosePort();
    if (!link.Open(settings) || !link.Connect(kIdleTimeout)) {
        why_ = "reconnect: " + link.Error();
        return false;
    }
    if (ReadAll(file) != before) {
        why_ = "the reconnect changed the downloaded file";
        return false;
    }
    return true;
}

std::string SoakCycle::Expected(const CyclePlan& plan) {
    std::string data;
    for (const auto& line : plan.SourceLines()) {
        data += line;
    }
    if (plan.dataType != u"CASS") {
        return data;
    }
    // The conversion skips the transfer's header line with the part's two leading blocks.
    StringSink converted;
    CassConversion(converted).Convert("header\r\n" + data);
    return converted.text;
}

SoakCycle::Result SoakCycle::Upload(const CyclePlan& plan, TransferSession& link,
                                    const fs::path& received) {
    const auto target = UploadPlan::Prepare(link.Model(), {u"JOB", kUploadTarget});
    const UploadFile read = UploadFileReader(CodePage::Wire()).ReadLocal(uploadFile_.string());
    const auto decision = UploadPlan::Decide(*target, CodePage::Wire().ToWide(uploadFile_.string()),
                                             read, target->fileName, u"GSI", true);
    if (!decision.request) {
        return Fail("upload refused: " + DeviceListing::Utf8(decision.messages.front()));
    }
    const bool done = link.Upload(*decision.request, "upload.gsi", kIdleTimeout);
    const std::string got = ReadAll(received / "1-JOB.txt");
    if (plan.hangupInUpload > 0) {
        // The instrument took the lines up to the cut, and the link said so.
        const bool lost = link.LastOutcome().ending == TransferMonitor::Ending::LineLost;
        const std::size_t taken = static_cast<std::size_t>(plan.hangupInUpload);
        std::size_t end = 0;
        for (std::size_t i = 0; i < taken; ++i) {
            end = uploadBytes_.find("\r\n", end) + 2;
        }
        return !done && lost && got == uploadBytes_.substr(0, end)
                   ? Result::HungUp
                   : Fail("a cut-off upload: " + link.Error());
    }
    if (!done) {
        return Fail("upload: " + link.Error());
    }
    if (got != uploadBytes_) {
        return Fail("the instrument received other bytes than the uploaded file holds");
    }
    return Result::Passed;
}

bool SoakCycle::Erase(TransferSession& link) {
    const auto decision = EraseFlow::Decide(TransferRequest::JobErase,
                                            link.Model().LineOf(u"JOB", kErased), u"COORDS");
    if (!decision.request) {
        why_ = "erase refused: " + DeviceListing::Utf8(decision.refusal);
        return false;
    }
    if (!link.Erase(*decision.request, "ROAD7", kIdleTimeout)) {
        why_ = "erase: " + link.Error();
        return false;
    }
    // The model keeps the lines it has seen; the listing shows what the instrument holds now.
    const auto& jobs = link.Listing().Entries(EntryKind::Job);
    const bool listed = std::any_of(
        jobs.begin(), jobs.end(), [](const DeviceEntry& entry) { return entry.label == kErased; });
    if (listed || jobs.size() != 3) {
        why_ = "the erased job is still listed, or another is missing:\n" + link.Listing().Print();
        return false;
    }
    return true;
}
