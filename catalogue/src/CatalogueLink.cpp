#include "catalogue/CatalogueLink.h"

#include "platform/CodePage.h"
#include "protocol/ReplyTags.h"

#include <cstring>

CatalogueLink::CatalogueLink(CQelComDll::Creator serialCreator,
                             std::chrono::milliseconds resendInterval)
    : CKestaCom(std::move(serialCreator), resendInterval),
      monitor_([this](const Outcome& outcome) { OnEnded(outcome); }),
      dispatcher_(model_, listing_, monitor_) {}

CatalogueLink::~CatalogueLink() {
    ShutdownWorker();
}

bool CatalogueLink::Open(const PortSettings& settings, const std::string& deviceFile) {
    const CodePage& wire = CodePage::Wire();
    settings_ = settings;
    monitor_.SetPort(DeviceListing::Utf8(settings.portName));
    return OpenPort(wire.ToAnsi(settings.portName).c_str(), wire.ToAnsi(settings.baudRate).c_str(),
                    wire.ToAnsi(settings.dataBits).c_str(), wire.ToAnsi(settings.stopBits).c_str(),
                    wire.ToAnsi(settings.parity).c_str(),
                    deviceFile.empty() ? nullptr : deviceFile.c_str());
}

bool CatalogueLink::Connect(std::chrono::milliseconds idleTimeout) {
    {
        std::lock_guard lock(mutex_);
        listing_.Connect(settings_.portName);
        monitor_.BeginConnect();
    }
    return Run(
        [this] {
            if (!Engine().ResetEngine()) {
                return 0;
            }
            Engine().SetStepIndex(0);
            Engine().SendConnectStep();
            return 1;
        },
        idleTimeout);
}

bool CatalogueLink::Erase(const TransferRequest& request, const std::string& item,
                          std::chrono::milliseconds idleTimeout) {
    const auto kind = request.kind - TransferRequest::JobErase;
    static constexpr EntryKind kByMode[] = {EntryKind::Job, EntryKind::Code, EntryKind::Hal,
                                            EntryKind::Val};
    if (kind < 0 || kind > 3) {
        return Refuse("not an erase request");
    }
    if (!request.BuildScript(Engine())) {
        return Refuse("the item's name does not fit the instrument's command");
    }
    {
        std::lock_guard lock(mutex_);
        listing_.ClearCategory(kByMode[kind]);
        monitor_.BeginErase(request, item);
    }
    return Run([this] { return StartErase(); }, idleTimeout);
}

bool CatalogueLink::Download(const TransferRequest& request, const std::string& item,
                             DownloadSink& sink, std::chrono::milliseconds idleTimeout) {
    if (request.kind < TransferRequest::JobDownload ||
        request.kind > TransferRequest::ValDownload) {
        return Refuse("not a download request");
    }
    if (const auto built = request.BuildScript(Engine()); !built) {
        return Refuse(built.error);
    }
    {
        std::lock_guard lock(mutex_);
        monitor_.BeginDownload(request, item, sink);
    }
    return Run([this] { return StartDownload(); }, idleTimeout);
}

bool CatalogueLink::Upload(const TransferRequest& request, const std::string& item,
                           std::chrono::milliseconds idleTimeout, std::function<void()> onStep) {
    if (request.kind < TransferRequest::JobUpload || request.kind > TransferRequest::ValUpload) {
        return Refuse("not an upload request");
    }
    if (const auto built = request.BuildScript(Engine()); !built) {
        return Refuse(built.error);
    }
    {
        std::lock_guard lock(mutex_);
        uploadSteps_ = 0;
        onStep_ = std::move(onStep);
        monitor_.BeginUpload(request, item);
    }
    const bool done = Run([this] { return StartUpload(); }, idleTimeout);
    std::lock_guard lock(mutex_);
    onStep_ = nullptr;
    return done;
}

std::size_t CatalogueLink::UploadSteps() const {
    std::lock_guard lock(mutex_);
    return uploadSteps_;
}

bool CatalogueLink::Run(const std::function<int()>& start, std::chrono::milliseconds idleTimeout) {
    std::unique_lock lock(mutex_);
    ended_ = false;
    error_.clear();
    const bool sending = monitor_.Current() == TransferMonitor::Operation::Upload;
    const std::uint64_t bytesAtStart = sending ? BytesSent() : BytesReceived();
    const int stepsAtStart = listing_.ProgressSteps();
    if (lost_ || !IsConnected() || start() == 0) {
        monitor_.Forget();
        error_ = lost_ ? outcome_.message : std::string(kOperationFailed);
        return false;
    }
    WaitForEnd(lock, idleTimeout, [&] {
        if (onProgress_) {
            onProgress_(static_cast<std::size_t>(listing_.ProgressSteps() - stepsAtStart),
                        (sending ? BytesSent() : BytesReceived()) - bytesAtStart);
        }
    });
    if (outcome_.ending == TransferMonitor::Ending::Stopped) {
        BringToIdle(lock, idleTimeout);
    }
    return outcome_.ending == TransferMonitor::Ending::Done;
}

// Silence is neither a reply nor a byte for the whole idle time: a long line
// on a slow line may take long between two replies. A cancel asked for stops
// the operation as the window's "Cancel" does.
void CatalogueLink::WaitForEnd(std::unique_lock<std::recursive_mutex>& lock,
                               std::chrono::milliseconds idleTimeout,
                               const std::function<void()>& onPoll) {
    const auto activity = [this] { return replies_ + BytesReceived(); };
    auto heard = std::chrono::steady_clock::now();
    std::uint64_t seen = activity();
    while (!ended_) {
        changed_.wait_for(lock, std::min<std::chrono::milliseconds>(idleTimeout, kActivityPoll));
        const auto now = std::chrono::steady_clock::now();
        if (cancel_ != nullptr && cancel_->load() && monitor_.Current() != Operation::Abort) {
            monitor_.Stop();
        } else if (activity() != seen) {
            seen = activity();
            heard = now;
        } else if (!ended_ && now - heard >= idleTimeout) {
            monitor_.OnSilence(idleTimeout);
        }
        if (onPoll) {
            onPoll();
        }
    }
}

// The stopped operation may have left the instrument in the middle of it:
// the abort commands bring it back to idle. The stopped operation's outcome
// is what the caller reads.
void CatalogueLink::BringToIdle(std::unique_lock<std::recursive_mutex>& lock,
                                std::chrono::milliseconds idleTimeout) {
    const Outcome stopped = outcome_;
    ended_ = false;
    monitor_.BeginAbort();
    if (StartAbort() == 0) {
        monitor_.Forget();
    } else {
        WaitForEnd(lock, idleTimeout, {});
    }
    outcome_ = stopped;
    error_ = stopped.message;
}

bool CatalogueLink::Refuse(const std::string& why) {
    std::lock_guard lock(mutex_);
    error_ = why;
    return false;
}

void CatalogueLink::OnEnded(const Outcome& outcome) {
    // Whatever ended the operation, nothing more is asked of the instrument.
    Engine().StopOperation();
    outcome_ = outcome;
    error_ = outcome.message;
    lost_ = lost_ || outcome.ending == TransferMonitor::Ending::LineLost;
    ended_ = true;
    changed_.notify_all();
}

int CatalogueLink::OnDeviceReply(const char* tag, const char* data, int length) {
    std::lock_guard lock(mutex_);
    // A report of an operation already ended (or stopped) while it was on
    // its way must not reach the next one.
    if (Engine().ReportGeneration() != Engine().CurrentGeneration()) {
        return 1;
    }
    ++replies_;
    dispatcher_.OnDeviceReply(tag, data, length);
    if (tag != nullptr && std::strncmp(tag, ReplyTags::kProgress, 7) == 0) {
        ++uploadSteps_;
        if (onStep_) {
            onStep_();
        }
    }
    changed_.notify_all();
    return 1;
}

std::string CatalogueLink::Error() const {
    std::lock_guard lock(mutex_);
    return error_;
}

CatalogueLink::Outcome CatalogueLink::LastOutcome() const {
    std::lock_guard lock(mutex_);
    return outcome_;
}

void CatalogueLink::ShowLinkMessage(const std::string& text) {
    std::lock_guard lock(mutex_);
    error_ = text;
}

void CatalogueLink::OnLinkLost(const std::string& reason) {
    std::lock_guard lock(mutex_);
    if (monitor_.Running()) {
        monitor_.OnLinkLost(reason);
        return;
    }
    lost_ = true;
    outcome_ = {};
    outcome_.ending = TransferMonitor::Ending::LineLost;
    outcome_.message = reason + ".";
}
