#include "InstrumentSession.h"

#include "CancelSignal.h"
#include "ExitCode.h"

#include "catalogue/EntryLookup.h"
#include "platform/CodePage.h"
#include "platform/TermiosSerialPro.h"
#include "platform/TrafficLog.h"
#include "protocol/PortList.h"

#include <unistd.h>

namespace stationlinkcli {

bool InstrumentSession::Start(const CliArguments& args, std::ostream& err) {
    const std::string& name = args.Arguments().front();
    std::string error;
    const auto timeout = PortOptions::IdleTimeout(args, error);
    const PortList ports = PortList::System();
    const PortList::Port* port = ports.Find(std::u16string(name.begin(), name.end()));
    const auto settings =
        port != nullptr ? PortOptions::Apply(port->settings, args, error) : std::nullopt;
    if (!timeout || (port != nullptr && !settings)) {
        err << "stationlink-cli: " << error << "\n";
        status_ = kExitUsage;
        return false;
    }
    if (port == nullptr) {
        err << "stationlink-cli: " << name << ": no such port (see stationlink-cli ports)\n";
        status_ = kExitFailed;
        return false;
    }
    if (const auto path = args.Option("--log")) {
        log_ = std::make_shared<TrafficLog>(*path);
        if (!log_->IsOpen()) {
            Failed(err, log_->Error());
            return false;
        }
    }
    timeout_ = *timeout;
    link_ = std::make_unique<TransferSession>([] { return std::make_unique<TermiosSerialPro>(); });
    link_->SetTrafficLog(log_);
    link_->SetCancelFlag(&CancelSignal::Requested());
    questions_ = std::make_unique<CliQuestions>(args);
    link_->SetQuestions(questions_.get());
    // The device the port list showed, even if the numbering changed since.
    if (!link_->Open(*settings, port->deviceFile)) {
        Failed(err, link_->LastPortError());
        return false;
    }
    if (!link_->Connect(timeout_)) {
        Ended(err);
        return false;
    }
    return true;
}

int InstrumentSession::Failed(std::ostream& err, const std::string& what) {
    err << "stationlink-cli: " << what << "\n";
    status_ = kExitFailed;
    return status_;
}

int InstrumentSession::Ended(std::ostream& err) {
    if (CancelSignal::Requested() &&
        link_->LastOutcome().ending == TransferMonitor::Ending::Stopped) {
        const std::string what = link_->Error();
        err << "stationlink-cli: " << (what.empty() ? "stopped" : what) << "\n";
        status_ = CancelSignal::kExitStatus;
        return status_;
    }
    return Failed(err, link_->Error() + questions_->Hint());
}

std::optional<std::u16string> InstrumentSession::EntryLabel(const CliArguments& args,
                                                            const std::string& command,
                                                            std::ostream& err) {
    const std::string& category = args.Arguments()[1];
    const std::string& text = args.Arguments()[2];
    const auto kind = CategoryOf(std::u16string(category.begin(), category.end()));
    // Typed in the terminal's UTF-8; the listing prints labels so.
    const auto found =
        EntryLookup::Find(link_->Listing(), link_->Model(), *kind, CodePage("UTF-8").ToWide(text));
    if (!found.label.empty()) {
        return found.label;
    }
    std::string why = "the instrument lists no " + category + " entry " + text;
    if (!found.candidates.empty()) {
        why = text + " names several " + category + " entries:";
        for (const auto& label : found.candidates) {
            why += " \"" + DeviceListing::Utf8(label) + "\"";
        }
    }
    Failed(err, command + ": " + why);
    return std::nullopt;
}

void InstrumentSession::ShowProgress(const CliArguments& args, std::ostream& err,
                                     std::size_t totalLines) {
    const bool shown = !args.Flag("--quiet") && ::isatty(STDERR_FILENO) == 1;
    bar_ = std::make_unique<ProgressBar>(err, shown, totalLines);
    link_->SetProgressListener(
        [bar = bar_.get()](std::size_t lines, std::size_t total, std::uint64_t bytes) {
            bar->Update(lines, total, bytes);
        },
        totalLines);
}

void InstrumentSession::EndProgress() {
    link_->SetProgressListener({});
    if (bar_) {
        bar_->Finish();
    }
}

} // namespace stationlinkcli
