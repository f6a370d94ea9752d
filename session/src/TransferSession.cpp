#include "session/TransferSession.h"

#include "session/DownloadTarget.h"
#include "session/RecoveryPolicy.h"
#include "session/ReplaceNotice.h"

#include "catalogue/RequestKind.h"
#include "platform/CodePage.h"
#include "transfer/LocalPath.h"

#include <algorithm>
#include <filesystem>

TransferSession::TransferSession(CQelComDll::Creator serialCreator,
                                 std::chrono::milliseconds resendInterval)
    : CKestaCom(std::move(serialCreator), resendInterval),
      monitor_([this](const Outcome& outcome) { OnEnded(outcome); }),
      dispatcher_(model_, tree_, monitor_) {}

// The port closes here, while this object is whole: its receive thread may
// still report a lost line, which lands in OnLinkLost below.
TransferSession::~TransferSession() {
    if (IsConnected()) {
        ClosePort();
    }
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
        lostReason_.clear();
        SetState(LinkState::Ready);
    }
    return opened;
}

bool TransferSession::Claim(LinkState next) {
    if (state_ == LinkState::Ready && IsConnected()) {
        SetState(next);
        return true;
    }
    if (state_ == LinkState::Lost) {
        error_ = lostReason_;
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
        SetState(LinkState::Ready);
        error_ = built.error;
        return false;
    }
    return true;
}

void TransferSession::ForgetLists() {
    tree_.Connect(settings_.portName);
    model_.ClearFormats();
}

void TransferSession::Close() {
    {
        Lock lock(mutex_);
        if (phase_ != Phase::Idle) {
            if (!ended_) {
                monitor_.Stop();
            }
            SendAbortCommands();
        }
    }
    ClosePort();
    Lock lock(mutex_);
    listing_.Disconnect();
    model_.ClearFormats();
    SetState(LinkState::Closed);
    if (phase_ != Phase::Idle) {
        Finish();
    }
}

int TransferSession::StartConnect() {
    return Engine().StartConnect() ? 1 : 0;
}

bool TransferSession::Connect(std::chrono::milliseconds idleTimeout) {
    return BeginConnect(idleTimeout) && Wait();
}

bool TransferSession::Erase(const TransferRequest& request, const std::string& item,
                            std::chrono::milliseconds idleTimeout) {
    return BeginErase(request, item, idleTimeout) && Wait();
}

bool TransferSession::Download(const TransferRequest& request, const std::string& item,
                               DownloadSink& sink, std::chrono::milliseconds idleTimeout) {
    return BeginDownload(request, item, sink, idleTimeout) && Wait();
}

bool TransferSession::Upload(const TransferRequest& request, const std::string& item,
                             std::chrono::milliseconds idleTimeout,
                             const std::u16string& storedLine) {
    return BeginUpload(request, item, idleTimeout, storedLine) && Wait();
}

bool TransferSession::BeginConnect(std::chrono::milliseconds idleTimeout) {
    Lock lock(mutex_);
    if (!Claim(LinkState::Connecting)) {
        return false;
    }
    ForgetLists();
    monitor_.BeginConnect();
    return Start([this] { return StartConnect(); }, idleTimeout);
}

bool TransferSession::BeginErase(const TransferRequest& request, const std::string& item,
                                 std::chrono::milliseconds idleTimeout) {
    const auto category = CategoryOfRequest(request.kind);
    if (ActionOfRequest(request.kind) != RequestAction::Erase) {
        return Refuse("not an erase request");
    }
    Lock lock(mutex_);
    if (!Prepare(request)) {
        return false;
    }
    monitor_.BeginErase(request, item);
    if (!Start([this] { return StartErase(); }, idleTimeout)) {
        return false;
    }
    // Emptied once the erase runs (a refused one leaves the tree as it was),
    // and under the lock, before any reply of the list read again.
    tree_.ClearCategory(*category);
    return true;
}

bool TransferSession::BeginDownload(const TransferRequest& request, const std::string& item,
                                    DownloadSink& sink, std::chrono::milliseconds idleTimeout) {
    if (ActionOfRequest(request.kind) != RequestAction::Download) {
        return Refuse("not a download request");
    }
    TransferRequest chosen = request;
    if (!DownloadTarget::Settle(chosen, questions_)) {
        return Refuse(LocalPath::FromWide(request.jobLabel) +
                      " exists and was not replaced; nothing was downloaded");
    }
    Lock lock(mutex_);
    if (!Prepare(chosen)) {
        return false;
    }
    downloaded_ = LocalPath::FromWide(chosen.jobLabel);
    monitor_.BeginDownload(chosen, item, sink);
    return Start([this] { return StartDownload(); }, idleTimeout);
}

bool TransferSession::BeginUpload(const TransferRequest& request, const std::string& item,
                                  std::chrono::milliseconds idleTimeout,
                                  const std::u16string& storedLine) {
    if (ActionOfRequest(request.kind) != RequestAction::Upload) {
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
    monitor_.BeginUpload(request, item);
    return Start([this] { return StartUpload(); }, idleTimeout);
}

DeviceModel TransferSession::ModelNow() const {
    std::lock_guard lock(mutex_);
    return model_;
}

std::size_t TransferSession::AnnouncedLines() const {
    std::lock_guard lock(mutex_);
    return monitor_.AnnouncedLines();
}

std::size_t TransferSession::UploadSteps() const {
    std::lock_guard lock(mutex_);
    return static_cast<std::size_t>(listing_.ProgressSteps() - stepsAtStart_);
}

void TransferSession::SetProgressListener(ProgressListener listener, std::size_t estimate) {
    std::lock_guard lock(mutex_);
    onProgress_ = std::move(listener);
    estimate_ = estimate;
}

bool TransferSession::Start(const std::function<int()>& start,
                            std::chrono::milliseconds idleTimeout) {
    ended_ = false;
    error_.clear();
    idleTimeout_ = idleTimeout;
    sending_ = monitor_.Current() == Operation::Upload;
    bytesAtStart_ = sending_ ? BytesSent() : BytesReceived();
    stepsAtStart_ = listing_.ProgressSteps();
    reported_ = {static_cast<std::size_t>(-1), 0};
    heard_ = std::chrono::steady_clock::now();
    seen_ = replies_ + BytesReceived();
    if (!IsConnected() || start() == 0) {
        monitor_.Forget();
        SetState(LinkState::Ready);
        error_ = kOperationFailed;
        return false;
    }
    phase_ = Phase::Operation;
    return true;
}

bool TransferSession::Poll() {
    Lock lock(mutex_);
    if (phase_ == Phase::Idle) {
        return false;
    }
    if (!ended_) {
        Watch();
    }
    if (!ended_) {
        return true;
    }
    if (phase_ == Phase::Operation) {
        // The lines that came after the last report are shown too.
        ReportProgress();
        if (StartRecovery()) {
            return true;
        }
    }
    Finish();
    return false;
}

bool TransferSession::Wait() {
    Lock lock(mutex_);
    // Polled after a wait, not before: the first progress report then comes
    // with the transfer's own count rather than the list's estimate.
    do {
        if (!ended_) {
            changed_.wait_for(lock,
                              std::min<std::chrono::milliseconds>(idleTimeout_, kActivityPoll));
        }
    } while (Poll());
    return outcome_.ending == TransferMonitor::Ending::Done;
}

void TransferSession::Cancel() {
    std::lock_guard lock(mutex_);
    if (phase_ == Phase::Operation && !ended_) {
        monitor_.Stop();
    }
}

bool TransferSession::Running() const {
    std::lock_guard lock(mutex_);
    return phase_ != Phase::Idle;
}

// Silence is neither a reply nor a byte for the whole idle time: a long line
// on a slow line may take long between two replies. A cancel asked for stops
// the operation as the window's "Cancel" does.
void TransferSession::Watch() {
    const auto now = std::chrono::steady_clock::now();
    const std::uint64_t activity = replies_ + BytesReceived();
    if (cancel_ != nullptr && cancel_->load() && monitor_.Current() != Operation::Abort) {
        monitor_.Stop();
    } else if (activity != seen_) {
        seen_ = activity;
        heard_ = now;
    } else if (now - heard_ >= idleTimeout_) {
        monitor_.OnSilence(idleTimeout_);
    }
    ReportProgress();
}

void TransferSession::ReportProgress() {
    if (phase_ != Phase::Operation || (!onProgress_ && host_ == nullptr)) {
        return;
    }
    const auto lines = static_cast<std::size_t>(listing_.ProgressSteps() - stepsAtStart_);
    const std::size_t announced = monitor_.AnnouncedLines();
    // The instrument's own count where it gives one; never a total below
    // what is already done.
    const std::size_t total = std::max(announced > 0 ? announced : estimate_, lines);
    if (reported_ == std::pair(lines, total)) {
        return;
    }
    reported_ = {lines, total};
    const std::uint64_t bytes = (sending_ ? BytesSent() : BytesReceived()) - bytesAtStart_;
    if (onProgress_) {
        onProgress_(lines, total, bytes);
    }
    if (host_ != nullptr) {
        host_->OnProgress(lines, total, bytes);
    }
}

// What the recovery runs ends on its own; the outcome the host and the
// caller read is the cut-off operation's.
bool TransferSession::StartRecovery() {
    using Recovery = RecoveryPolicy::Recovery;
    cut_ = outcome_;
    const Recovery recovery = RecoveryPolicy::After(cut_, IsConnected());
    // A line lost after the operation's end (before this poll) is lost too.
    if (recovery == Recovery::Close || state_ == LinkState::Lost) {
        SetState(LinkState::Lost);
        return false;
    }
    if (recovery == Recovery::None) {
        return false;
    }
    SetState(LinkState::Recovering);
    ended_ = false;
    heard_ = std::chrono::steady_clock::now();
    seen_ = replies_ + BytesReceived();
    int started = 0;
    if (recovery == Recovery::Abort) {
        monitor_.BeginAbort();
        started = StartAbort();
    } else {
        ForgetLists();
        monitor_.BeginConnect();
        started = StartConnect();
    }
    if (started == 0) {
        monitor_.Forget();
        return false;
    }
    phase_ = Phase::Recovery;
    return true;
}

void TransferSession::Finish() {
    if (phase_ == Phase::Operation) {
        cut_ = outcome_;
    }
    outcome_ = cut_;
    error_ = cut_.message;
    phase_ = Phase::Idle;
    // A closed port stays closed; a lost line stays lost until it is.
    if (state_ != LinkState::Closed) {
        SetState(state_ == LinkState::Lost ? LinkState::Lost : LinkState::Ready);
    }
    if (host_ != nullptr) {
        host_->OnOperationEnded(outcome_);
    }
    changed_.notify_all();
}

void TransferSession::SetState(LinkState state) {
    state_ = state;
    if (host_ != nullptr) {
        host_->OnLinkState(state);
    }
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
        lostReason_ = outcome.message;
        SetState(LinkState::Lost);
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
    // A waiter looks at progress and silence on its own four times a
    // second, so a reply wakes it only to act on a cancel at once.
    if (cancel_ != nullptr && cancel_->load()) {
        changed_.notify_all();
    }
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

// The link says this only when an operation cannot start; the start that
// failed hands it to its caller, so the host is not told a second time.
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
    // A line lost while nothing runs is lost all the same. One lost after an
    // operation ended but before its end was polled leaves that outcome as
    // it was (a download done stays done); no recovery follows it.
    lostReason_ = reason + ".";
    if (phase_ == Phase::Idle) {
        outcome_ = {};
        outcome_.ending = TransferMonitor::Ending::LineLost;
        outcome_.message = lostReason_;
    }
    SetState(LinkState::Lost);
    if (host_ != nullptr) {
        host_->OnLinkMessage(lostReason_);
    }
}
