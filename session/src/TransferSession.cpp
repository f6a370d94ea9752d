#include "session/TransferSession.h"

#include "session/RecoveryPolicy.h"
#include "session/ReplaceNotice.h"

#include "catalogue/RequestKind.h"
#include "platform/CodePage.h"
#include "protocol/ReplyTags.h"
#include "transfer/FreeFileName.h"
#include "transfer/LocalPath.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

TransferSession::TransferSession(CQelComDll::Creator serialCreator,
                                 std::chrono::milliseconds resendInterval)
    : CKestaCom(std::move(serialCreator), resendInterval),
      monitor_([this](const Outcome& outcome) { OnEnded(outcome); }),
      dispatcher_(model_, listing_, monitor_) {}

TransferSession::~TransferSession() {
    ShutdownWorker();
}

bool TransferSession::Open(const PortSettings& settings, const std::string& deviceFile) {
    const CodePage& wire = CodePage::Wire();
    std::lock_guard lock(mutex_);
    settings_ = settings;
    monitor_.SetPort(DeviceListing::Utf8(settings.portName));
    const bool opened = OpenPort(
        wire.ToAnsi(settings.portName).c_str(), wire.ToAnsi(settings.baudRate).c_str(),
        wire.ToAnsi(settings.dataBits).c_str(), wire.ToAnsi(settings.stopBits).c_str(),
        wire.ToAnsi(settings.parity).c_str(), deviceFile.empty() ? nullptr : deviceFile.c_str());
    if (opened) {
        state_ = LinkState::Ready;
    }
    return opened;
}

bool TransferSession::Claim(LinkState next) {
    if (state_ == LinkState::Ready && IsConnected()) {
        state_ = next;
        return true;
    }
    if (state_ == LinkState::Lost) {
        error_ = outcome_.message;
    } else if (state_ == LinkState::Closed || !IsConnected()) {
        error_ = DeviceListing::Utf8(settings_.portName) + " is not open; nothing was sent.";
    } else {
        error_ = DeviceListing::Utf8(settings_.portName) + " is " +
                 std::string(LinkStateName(state_)) +
                 ": wait until that has ended; nothing was sent.";
    }
    return false;
}

// The script goes into the engine only once the link is taken: building it
// while another operation runs would replace that one's script.
bool TransferSession::Prepare(const TransferRequest& request) {
    if (!Claim(LinkState::Busy)) {
        return false;
    }
    if (const auto built = request.BuildScript(Engine()); !built) {
        state_ = LinkState::Ready;
        error_ = built.error;
        return false;
    }
    return true;
}

int TransferSession::StartConnect() {
    if (!Engine().ResetEngine()) {
        return 0;
    }
    return Engine().SendConnectStep() == 1 ? 1 : 0;
}

bool TransferSession::Connect(std::chrono::milliseconds idleTimeout) {
    Lock lock(mutex_);
    if (!Claim(LinkState::Connecting)) {
        return false;
    }
    listing_.Connect(settings_.portName);
    model_.ClearFormats();
    monitor_.BeginConnect();
    return Run(
        lock, [this] { return StartConnect(); }, idleTimeout);
}

bool TransferSession::Erase(const TransferRequest& request, const std::string& item,
                            std::chrono::milliseconds idleTimeout) {
    const auto category = CategoryOfRequest(request.kind);
    if (!category || RequestKindOf(*category, RequestAction::Erase) != request.kind) {
        return Refuse("not an erase request");
    }
    Lock lock(mutex_);
    if (!Prepare(request)) {
        return false;
    }
    listing_.ClearCategory(*category);
    monitor_.BeginErase(request, item);
    return Run(
        lock, [this] { return StartErase(); }, idleTimeout);
}

bool TransferSession::Download(const TransferRequest& request, const std::string& item,
                               DownloadSink& sink, std::chrono::milliseconds idleTimeout) {
    if (request.kind < TransferRequest::JobDownload ||
        request.kind > TransferRequest::ValDownload) {
        return Refuse("not a download request");
    }
    TransferRequest chosen = request;
    const std::string path = LocalPath::FromWide(request.jobLabel);
    // A dangling link is a file of that name too: writing would follow it.
    std::error_code error;
    if (std::filesystem::symlink_status(path, error).type() !=
        std::filesystem::file_type::not_found) {
        const auto answer = questions_ != nullptr ? questions_->AskExistingFile(path)
                                                  : SessionQuestions::ExistingFile::Cancel;
        if (answer == SessionQuestions::ExistingFile::Cancel) {
            return Refuse(path + " exists and was not replaced; nothing was downloaded");
        }
        if (answer == SessionQuestions::ExistingFile::KeepBoth) {
            chosen.jobLabel = CodePage("UTF-8").ToWide(FreeFileName::Beside(path));
        }
    }
    Lock lock(mutex_);
    if (!Prepare(chosen)) {
        return false;
    }
    downloaded_ = LocalPath::FromWide(chosen.jobLabel);
    monitor_.BeginDownload(chosen, item, sink);
    return Run(
        lock, [this] { return StartDownload(); }, idleTimeout);
}

bool TransferSession::Upload(const TransferRequest& request, const std::string& item,
                             std::chrono::milliseconds idleTimeout, std::function<void()> onStep,
                             const std::u16string& storedLine) {
    if (request.kind < TransferRequest::JobUpload || request.kind > TransferRequest::ValUpload) {
        return Refuse("not an upload request");
    }
    const std::string name = std::filesystem::path(item).filename().string();
    if (const auto notice = ReplaceNotice::ForUpload(storedLine, request, name)) {
        if (questions_ == nullptr || !questions_->AskReplaceInstrumentData(*notice)) {
            return Refuse(*notice + "; nothing was sent");
        }
    }
    Lock lock(mutex_);
    if (!Prepare(request)) {
        return false;
    }
    uploadSteps_ = 0;
    onStep_ = std::move(onStep);
    monitor_.BeginUpload(request, item);
    const bool done = Run(
        lock, [this] { return StartUpload(); }, idleTimeout);
    onStep_ = nullptr;
    return done;
}

std::size_t TransferSession::UploadSteps() const {
    std::lock_guard lock(mutex_);
    return uploadSteps_;
}

void TransferSession::SetProgressListener(ProgressListener listener, std::size_t estimate) {
    std::lock_guard lock(mutex_);
    onProgress_ = std::move(listener);
    estimate_ = estimate;
}

bool TransferSession::Run(Lock& lock, const std::function<int()>& start,
                          std::chrono::milliseconds idleTimeout) {
    ended_ = false;
    error_.clear();
    const bool sending = monitor_.Current() == Operation::Upload;
    const std::uint64_t bytesAtStart = sending ? BytesSent() : BytesReceived();
    const int stepsAtStart = listing_.ProgressSteps();
    if (!IsConnected() || start() == 0) {
        monitor_.Forget();
        state_ = LinkState::Ready;
        error_ = kOperationFailed;
        return false;
    }
    WaitForEnd(lock, idleTimeout, [&] {
        if (!onProgress_) {
            return;
        }
        const auto lines = static_cast<std::size_t>(listing_.ProgressSteps() - stepsAtStart);
        const std::size_t announced = monitor_.AnnouncedLines();
        // The instrument's own count where it gives one; never a total below
        // what is already done.
        const std::size_t total = std::max(announced > 0 ? announced : estimate_, lines);
        onProgress_(lines, total, (sending ? BytesSent() : BytesReceived()) - bytesAtStart);
    });
    Recover(lock, idleTimeout);
    return outcome_.ending == TransferMonitor::Ending::Done;
}

// Silence is neither a reply nor a byte for the whole idle time: a long line
// on a slow line may take long between two replies. A cancel asked for stops
// the operation as the window's "Cancel" does.
void TransferSession::WaitForEnd(Lock& lock, std::chrono::milliseconds idleTimeout,
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

// What the recovery runs ends on its own; the outcome the caller reads is
// the cut-off operation's.
void TransferSession::Recover(Lock& lock, std::chrono::milliseconds idleTimeout) {
    using Recovery = RecoveryPolicy::Recovery;
    const Outcome cut = outcome_;
    const Recovery recovery = RecoveryPolicy::After(cut, IsConnected());
    if (recovery == Recovery::Close || cut.ending == TransferMonitor::Ending::LineLost) {
        state_ = LinkState::Lost;
        return;
    }
    if (recovery == Recovery::Abort || recovery == Recovery::Relist) {
        state_ = LinkState::Recovering;
        ended_ = false;
        int started = 0;
        if (recovery == Recovery::Abort) {
            monitor_.BeginAbort();
            started = StartAbort();
        } else {
            listing_.Connect(settings_.portName);
            model_.ClearFormats();
            monitor_.BeginConnect();
            started = StartConnect();
        }
        if (started == 0) {
            monitor_.Forget();
        } else {
            WaitForEnd(lock, idleTimeout, {});
        }
        outcome_ = cut;
        error_ = cut.message;
    }
    state_ = state_ == LinkState::Lost ? LinkState::Lost : LinkState::Ready;
}

bool TransferSession::Refuse(const std::string& why) {
    std::lock_guard lock(mutex_);
    error_ = why;
    return false;
}

void TransferSession::OnEnded(const Outcome& outcome) {
    // Whatever ended the operation, nothing more is asked of the instrument.
    Engine().StopOperation();
    outcome_ = outcome;
    error_ = outcome.message;
    if (outcome.ending == TransferMonitor::Ending::LineLost) {
        state_ = LinkState::Lost;
    }
    ended_ = true;
    changed_.notify_all();
}

int TransferSession::OnDeviceReply(const char* tag, const char* data, int length) {
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

LinkState TransferSession::State() const {
    std::lock_guard lock(mutex_);
    return state_;
}

std::string TransferSession::Error() const {
    std::lock_guard lock(mutex_);
    return error_;
}

TransferSession::Outcome TransferSession::LastOutcome() const {
    std::lock_guard lock(mutex_);
    return outcome_;
}

std::string TransferSession::DownloadedFile() const {
    std::lock_guard lock(mutex_);
    return downloaded_;
}

void TransferSession::ShowLinkMessage(const std::string& text) {
    std::lock_guard lock(mutex_);
    error_ = text;
}

void TransferSession::OnLinkLost(const std::string& reason) {
    std::lock_guard lock(mutex_);
    if (monitor_.Running()) {
        monitor_.OnLinkLost(reason);
        return;
    }
    // A line lost while nothing runs is lost all the same.
    state_ = LinkState::Lost;
    outcome_ = {};
    outcome_.ending = TransferMonitor::Ending::LineLost;
    outcome_.message = reason + ".";
}
