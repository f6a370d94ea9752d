#include "catalogue/TransferMonitor.h"

#include "catalogue/RequestKind.h"

#include "protocol/ReceiveBuffer.h"
#include "protocol/TransferRequest.h"
#include "transfer/DownloadSink.h"
#include "transfer/LocalPath.h"

#include <algorithm>
#include <filesystem>
#include <utility>

namespace {

// The error codes the instrument answers with, as its manual gives them.
std::string RefusalMeaning(std::string_view code) {
    static constexpr std::pair<std::string_view, std::string_view> kCodes[] = {
        {"@E101", "it does not know the command"},
        {"@E102", "a parameter of the command is not one it takes"},
        {"@E103", "it holds no such item (it may have been erased since its list was read)"},
    };
    for (const auto& [known, meaning] : kCodes) {
        if (code == known) {
            return std::string(meaning);
        }
    }
    return "an error this program does not know";
}

// The count in the last field of a transfer's header line; 0 when the field
// is not a plain number.
std::size_t AnnouncedCount(std::string_view header) {
    while (!header.empty() && (header.back() == '\n' || header.back() == '\r')) {
        header.remove_suffix(1);
    }
    const std::string_view last = header.substr(header.rfind(',') + 1);
    if (last.empty() || last.size() > 9 || header.find(',') == std::string_view::npos ||
        !std::all_of(last.begin(), last.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return 0;
    }
    return static_cast<std::size_t>(std::stoul(std::string(last)));
}

std::string Count(std::size_t count, const std::string& what) {
    return std::to_string(count) + " " + what + (count == 1 ? "" : "s");
}

std::string Lines(std::size_t count) {
    return Count(count, "line");
}

} // namespace

TransferMonitor::TransferMonitor(EndHandler onEnd) : onEnd_(std::move(onEnd)) {}

std::string TransferMonitor::StatusLine(const Outcome& outcome) {
    const bool done = outcome.ending == Ending::Done;
    const bool stopped = outcome.ending == Ending::Stopped;
    const std::string end = done ? "" : stopped ? " stopped" : " failed";
    switch (outcome.operation) {
    case Operation::Download: {
        const std::string name = std::filesystem::path(outcome.file).filename().string();
        if (!done) {
            return name + ": download" + end;
        }
        // A point file is counted in points: header and code blocks are no points.
        return name + ": " +
               (outcome.converted ? Count(outcome.points, "point") : Lines(outcome.lines)) +
               " written";
    }
    case Operation::Upload: {
        const std::string name = std::filesystem::path(outcome.item).filename().string();
        return done ? name + ": " + Lines(outcome.lines) + " sent" : name + ": upload" + end;
    }
    case Operation::Erase:
        return done ? "Erased " + outcome.item : outcome.item + ": erase" + end;
    case Operation::Connect:
        return outcome.item + (done ? ": connected" : ": connect" + end);
    case Operation::Abort:
    case Operation::None:
        break;
    }
    return {};
}

void TransferMonitor::Begin(Operation operation, std::string item) {
    operation_ = operation;
    item_ = std::move(item);
    sink_ = nullptr;
    file_.clear();
    uploadCategory_.reset();
    listRefilled_ = false;
    sent_ = 0;
    total_ = 0;
    announced_ = 0;
    headerSeen_ = false;
}

void TransferMonitor::BeginConnect() {
    Begin(Operation::Connect, port_);
}

void TransferMonitor::BeginDownload(const TransferRequest& request, std::string item,
                                    DownloadSink& sink) {
    Begin(Operation::Download, std::move(item));
    sink_ = &sink;
    file_ = LocalPath::FromWide(request.jobLabel);
    converted_ = request.pcFormat == u"CASS";
    sink.Begin(request);
}

void TransferMonitor::BeginUpload(const TransferRequest& request, std::string item) {
    Begin(Operation::Upload, std::move(item));
    uploadCategory_ = CategoryOfRequest(request.kind);
    total_ = request.lines.size();
}

void TransferMonitor::BeginErase(const TransferRequest& /*request*/, std::string item) {
    Begin(Operation::Erase, std::move(item));
}

void TransferMonitor::BeginAbort() {
    Begin(Operation::Abort, port_);
}

void TransferMonitor::Forget() {
    if (sink_ != nullptr) {
        sink_->Discard();
    }
    operation_ = Operation::None;
    sink_ = nullptr;
}

bool TransferMonitor::OnDataLine(std::string_view line) {
    if (operation_ != Operation::Download) {
        return false;
    }
    if (sink_->DataLines() == 0 && !headerSeen_) {
        headerSeen_ = true;
        announced_ = AnnouncedCount(line);
    }
    const bool step = sink_->OnDataLine(line);
    if (const std::string failure = sink_->Failure(); !failure.empty()) {
        End(Ending::FileFailed, failure);
    }
    return step;
}

void TransferMonitor::OnLineSent() {
    if (operation_ == Operation::Upload) {
        ++sent_;
    }
}

void TransferMonitor::OnListRefilled() {
    listRefilled_ = true;
}

std::optional<EntryKind> TransferMonitor::EmptiedCategory() const {
    if (operation_ != Operation::Upload || listRefilled_) {
        return std::nullopt;
    }
    return uploadCategory_;
}

void TransferMonitor::OnListsRead() {
    if (operation_ == Operation::Connect) {
        End(Ending::Done, {});
    }
}

void TransferMonitor::OnScriptEnd() {
    if (operation_ == Operation::Download && sink_->DataLines() == 0) {
        End(Ending::NoData, "The instrument sent no data for " + item_ +
                                " (it may have been erased since its list was read).");
        return;
    }
    End(Ending::Done, {});
}

void TransferMonitor::OnOverlongLine() {
    End(Ending::Overlong, "The instrument sent a line longer than " +
                              std::to_string(ReceiveBuffer::kMaxLine) +
                              " bytes, which cannot be taken.");
}

void TransferMonitor::OnRefused(std::string_view reply) {
    // Only the code is shown: the rest of the line is the instrument's and
    // may hold anything.
    std::size_t length = std::min<std::size_t>(reply.size(), 2);
    while (length < std::min<std::size_t>(reply.size(), 8) && reply[length] >= '0' &&
           reply[length] <= '9') {
        ++length;
    }
    const std::string code(reply.substr(0, length));
    End(Ending::Refused,
        port_ + ": the instrument answered " + code + ": " + RefusalMeaning(code) + ".");
}

void TransferMonitor::OnLinkLost(const std::string& reason) {
    End(Ending::LineLost,
        (reason.empty() ? port_ + ": the line to the instrument was lost" : reason) + ".");
}

void TransferMonitor::OnSilence(std::chrono::milliseconds silentFor) {
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(silentFor).count();
    End(Ending::Silent,
        port_ + ": the instrument did not answer for " + std::to_string(seconds) + " s.");
}

void TransferMonitor::Stop() {
    End(Ending::Stopped, {});
}

void TransferMonitor::End(Ending ending, std::string cause) {
    if (!Running()) {
        return;
    }
    Outcome outcome;
    outcome.operation = operation_;
    outcome.ending = ending;
    outcome.item = item_;
    outcome.total = total_;
    outcome.lines = sent_;
    if (operation_ == Operation::Download) {
        SettleDownload(outcome, cause);
    }
    if (outcome.ending != Ending::Done) {
        const std::string consequence = Consequence(outcome);
        outcome.message =
            cause.empty() || consequence.empty() ? cause + consequence : cause + " " + consequence;
    }
    operation_ = Operation::None;
    sink_ = nullptr;
    if (onEnd_) {
        onEnd_(outcome);
    }
}

// The file follows the ending: complete, nothing at all, or what arrived.
void TransferMonitor::SettleDownload(Outcome& outcome, std::string& cause) {
    outcome.file = file_;
    outcome.converted = converted_;
    switch (outcome.ending) {
    case Ending::Done:
        if (!sink_->Complete()) {
            outcome.ending = Ending::FileFailed;
            cause = sink_->Failure();
            outcome.keptPart = sink_->KeepPartial();
        }
        break;
    case Ending::NoData:
        sink_->Discard();
        break;
    default:
        outcome.keptPart = sink_->KeepPartial();
        break;
    }
    outcome.lines = sink_->DataLines();
    outcome.points = sink_->PointsWritten();
}

std::string TransferMonitor::Consequence(const Outcome& outcome) const {
    const bool stopped = outcome.ending == Ending::Stopped;
    switch (outcome.operation) {
    case Operation::Download: {
        if (outcome.ending == Ending::NoData) {
            return "No file was written.";
        }
        const std::string what = "The download of " + item_ +
                                 (stopped                                ? " was stopped"
                                  : outcome.ending == Ending::FileFailed ? " was not saved"
                                                                         : " did not end");
        if (outcome.keptPart.empty()) {
            return what + "; no file was written.";
        }
        return what + "; what arrived (" + Lines(outcome.lines) + ") is kept in \"" +
               outcome.keptPart + "\".";
    }
    case Operation::Upload:
        return "The upload of " + item_ + (stopped ? " was stopped" : " did not end") +
               ": the instrument took " + std::to_string(outcome.lines) + " of " +
               Lines(outcome.total) + ".";
    case Operation::Erase:
        return stopped
                   ? "The erase of " + item_ + " was stopped before the instrument confirmed it."
                   : "The erase of " + item_ + " did not end.";
    case Operation::Connect:
        return stopped ? std::string() : "The instrument's lists were not read to their end.";
    case Operation::Abort:
        return stopped ? std::string() : "The instrument may still be busy: connect to it again.";
    case Operation::None:
        break;
    }
    return {};
}
