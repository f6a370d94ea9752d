#include "SoakCycle.h"

#include "SimProcess.h"

#include "catalogue/CatalogueLink.h"
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
    for (int i = 0; i < 16; ++i) {
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

} // namespace

SoakCycle::SoakCycle(fs::path work, std::string& listing)
    : work_(std::move(work)), uploadFile_(work_ / "upload.gsi"), uploadBytes_(UploadBytes()),
      listing_(listing) {
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
    SimProcess sim(options);
    if (sim.Device().empty()) {
        return Fail("x4sim did not start");
    }
    Result result = Result::Passed;
    {
        CatalogueLink link([] { return std::make_unique<TermiosSerialPro>(); },
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

SoakCycle::Result SoakCycle::Steps(int cycle, const CyclePlan& plan, CatalogueLink& link,
                                   const fs::path& received) {
    if (!link.Connect(kIdleTimeout)) {
        return Fail("connect: " + link.Error());
    }
    if (!CheckListing(link)) {
        return Result::Failed;
    }
    if (const Result downloaded = Download(cycle, plan, link); downloaded != Result::Passed) {
        return downloaded;
    }
    if (!Upload(link, received) || !Erase(link)) {
        return Result::Failed;
    }
    return Result::Passed;
}

bool SoakCycle::CheckListing(const CatalogueLink& link) {
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

SoakCycle::Result SoakCycle::Download(int cycle, const CyclePlan& plan, CatalogueLink& link) {
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
    fs::remove(file);
    DownloadFileSink sink;
    const bool complete = link.Download(*decision.request, "soak", sink, kIdleTimeout);
    const std::string failure = link.Error();
    const std::string bytes = ReadAll(file);
    fs::remove(file);
    fs::remove(file.string() + ".part");
    if (plan.HangsUp()) {
        // The line went away half-way: only a reported failure is right.
        return complete ? Fail("a hung-up download was reported as done (" +
                               std::to_string(bytes.size()) + " bytes in the file)")
                        : Result::HungUp;
    }
    if (!complete) {
        return Fail("download: " + failure);
    }
    if (bytes != Expected(plan)) {
        return Fail("the downloaded file differs from the instrument's data (" +
                    std::to_string(bytes.size()) + " bytes, " +
                    std::to_string(Expected(plan).size()) + " expected)");
    }
    return Result::Passed;
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

bool SoakCycle::Upload(CatalogueLink& link, const fs::path& received) {
    const auto plan = UploadPlan::Prepare(link.Model(), {u"JOB", kUploadTarget});
    const UploadFile read = UploadFileReader(CodePage::Wire()).ReadLocal(uploadFile_.string());
    const auto decision = UploadPlan::Decide(*plan, CodePage::Wire().ToWide(uploadFile_.string()),
                                             read, plan->fileName, u"GSI", true);
    if (!decision.request) {
        why_ = "upload refused: " + DeviceListing::Utf8(decision.messages.front());
        return false;
    }
    if (!link.Upload(*decision.request, "upload.gsi", kIdleTimeout)) {
        why_ = "upload: " + link.Error();
        return false;
    }
    if (ReadAll(received / "1-JOB.txt") != uploadBytes_) {
        why_ = "the instrument received other bytes than the uploaded file holds";
        return false;
    }
    return true;
}

bool SoakCycle::Erase(CatalogueLink& link) {
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
