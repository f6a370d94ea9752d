#pragma once

#include "session/LinkState.h"
#include "session/SessionHost.h"
#include "session/SessionQuestions.h"
#include "session/TreeFanout.h"

#include "catalogue/DeviceListing.h"
#include "catalogue/DeviceModel.h"
#include "catalogue/ReplyDispatcher.h"
#include "catalogue/TransferMonitor.h"

#include "platform/CQelComDll.h"
#include "protocol/CKestaCom.h"
#include "protocol/PortSettings.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>

// One transfer session on one port, without a window: it owns the link, the
// engine, the device model and its listing, the reply dispatcher and the
// transfer monitor, and runs connects, erases, downloads and uploads one at
// a time. An operation runs until the monitor has ended it (its script
// ended, the instrument refused it, the line was lost, a line was too long,
// the download's file failed, the instrument was silent for the idle
// time-out, or it was cancelled); then RecoveryPolicy decides what follows:
// nothing, the abort commands, the lists read again, or the port given up
// as lost. While one operation (or its recovery) runs every other is
// refused with a message, and a lost line refuses every later one.
// Whatever an operation would replace (an existing PC file, data on the
// instrument) is asked of SessionQuestions first.
//
// Each operation has two forms on the one lifecycle: Begin* returns at once
// (a window's thread), its course checked by Poll() and its end told to the
// SessionHost; the plain form (the command line) is Begin* and Wait().
class TransferSession : public CKestaCom {
public:
    using Outcome = TransferMonitor::Outcome;
    // Lines done, the total shown (never below the lines done), bytes moved.
    using ProgressListener =
        std::function<void(std::size_t lines, std::size_t total, std::uint64_t bytes)>;

    explicit TransferSession(
        CQelComDll::Creator serialCreator,
        std::chrono::milliseconds resendInterval = CDKestaDlg::kDefaultResendInterval);
    ~TransferSession() override;

    // Opens the port of the record (texts in the wire code page) on the
    // device file the port list shows for it (empty: the port map's).
    bool Open(const PortSettings& settings, const std::string& deviceFile = {});
    // Ends the link: a running operation stops as a cancel stops it (a
    // download keeps what arrived), the instrument is told to stop, and the
    // port closes; no recovery follows. The host hears Closed, then the
    // operation's end. The lock is let go while the port's receive thread
    // is joined: that thread may be handing a reply to the worker, which
    // needs the lock to dispatch it.
    void Close();
    // Runs the connect script; false (with Error()) when it did not end.
    bool Connect(std::chrono::milliseconds idleTimeout);
    // Empties the category of the request's kind and runs its erase script,
    // which lists the category again. item names it in messages.
    bool Erase(const TransferRequest& request, const std::string& item,
               std::chrono::milliseconds idleTimeout);
    // Runs the download script of the request into sink. An existing file
    // of the destination's name is asked about first (kept both: the
    // download goes to a free name beside it). True when the file is
    // complete under its final name; otherwise Error() says why and
    // LastOutcome() what was kept.
    bool Download(const TransferRequest& request, const std::string& item, DownloadSink& sink,
                  std::chrono::milliseconds idleTimeout);
    // Runs the upload script of the request (kinds 8 to 12), which sends its
    // lines and lists the category again. storedLine: the target's list
    // line; when it holds data, replacing it is asked first.
    bool Upload(const TransferRequest& request, const std::string& item,
                std::chrono::milliseconds idleTimeout, const std::u16string& storedLine = {});

    // The same operations, returning once they have started (true) or were
    // refused (false, Error() says why; nothing was sent). The sink must
    // outlive the download.
    bool BeginConnect(std::chrono::milliseconds idleTimeout);
    bool BeginErase(const TransferRequest& request, const std::string& item,
                    std::chrono::milliseconds idleTimeout);
    bool BeginDownload(const TransferRequest& request, const std::string& item, DownloadSink& sink,
                       std::chrono::milliseconds idleTimeout);
    bool BeginUpload(const TransferRequest& request, const std::string& item,
                     std::chrono::milliseconds idleTimeout, const std::u16string& storedLine = {});
    // Moves the running operation on: the cancel flag, the instrument's
    // silence, progress; once it has ended, reports its last count, starts
    // the recovery it needs and, once that has ended too, tells the host.
    // True while anything runs. A host calls it a few times a second (the
    // window every 50 ms).
    bool Poll();
    // Polls until the running operation and its recovery have ended; true
    // when the operation was done. Not from a host's callback.
    bool Wait();
    // Stops the running operation as the cancel flag does.
    void Cancel();
    // An operation or its recovery runs.
    bool Running() const;

    // The lines the running transfer's header announced; 0 without one.
    std::size_t AnnouncedLines() const;
    // The lines the running or last upload has sent.
    std::size_t UploadSteps() const;

    // While set, the running operation stops and the instrument is brought
    // back to idle. Before the operation.
    void SetCancelFlag(const std::atomic<bool>* cancel) { cancel_ = cancel; }
    // Called a few times a second while an operation runs. total: the lines
    // the instrument announced, else the estimate given here. Before it.
    void SetProgressListener(ProgressListener listener, std::size_t estimate = 0);
    void SetQuestions(SessionQuestions* questions) { questions_ = questions; }
    void SetHost(SessionHost* host) { host_ = host; }
    // A tree told of every change the replies make to the listing, on the
    // link's worker with the session's lock held; at a connect its
    // categories are emptied and its port named as the listing's. Before
    // the first operation.
    void SetTreeFollower(DeviceTree* follower) { tree_.SetFollower(follower); }

    LinkState State() const;
    const DeviceListing& Listing() const { return listing_; }
    const DeviceModel& Model() const { return model_; }
    // The model as it stands, copied under the lock: for a thread other
    // than the one that waits for the operations (a window, while the
    // worker fills the model during a connect).
    DeviceModel ModelNow() const;
    const PortSettings& Settings() const { return settings_; }
    std::string Error() const;
    Outcome LastOutcome() const;
    // The file the last download went to (a free name when both were kept).
    std::string DownloadedFile() const;

    int OnDeviceReply(const char* tag, const char* data, int length) override;

protected:
    void ShowLinkMessage(const std::string& text) override;
    void OnLinkLost(const std::string& reason) override;

private:
    using Operation = TransferMonitor::Operation;
    using Lock = std::unique_lock<std::recursive_mutex>;

    // What the lifecycle stands at: nothing, the operation, its recovery.
    enum class Phase { Idle, Operation, Recovery };

    // Takes the link for an operation (Busy or Connecting) unless another
    // one holds it; false with Error() set otherwise.
    bool Claim(LinkState next);
    // Claim for a transfer, then the request's script into the engine.
    bool Prepare(const TransferRequest& request);
    // Starts the operation the monitor has just begun; the silence of the
    // instrument for idleTimeout ends it too.
    bool Start(const std::function<int()>& start, std::chrono::milliseconds idleTimeout);
    // Cancel, silence and progress of what runs.
    void Watch();
    // The lines done and the total shown, to the listener and the host.
    void ReportProgress();
    // After the operation's end: false when no recovery runs.
    bool StartRecovery();
    void Finish();
    void SetState(LinkState state);
    int StartConnect();
    // The lists as a connect finds them: empty, the port under its own name.
    void ForgetLists();
    bool Refuse(const std::string& why);
    void OnEnded(const Outcome& outcome);

    static constexpr std::chrono::milliseconds kActivityPoll{250};

    // Recursive: the monitor ends an operation from within the reply that is
    // being dispatched under this lock, and its end handler takes it again.
    mutable std::recursive_mutex mutex_;
    std::condition_variable_any changed_;
    DeviceModel model_;
    DeviceListing listing_;
    TreeFanout tree_{listing_};
    TransferMonitor monitor_;
    ReplyDispatcher dispatcher_;
    LinkState state_ = LinkState::Closed;
    std::uint64_t replies_ = 0;
    ProgressListener onProgress_;
    std::size_t estimate_ = 0;
    const std::atomic<bool>* cancel_ = nullptr;
    SessionQuestions* questions_ = nullptr;
    SessionHost* host_ = nullptr;
    Phase phase_ = Phase::Idle;
    std::chrono::milliseconds idleTimeout_{0};
    // The instrument was last heard at heard_, when activity stood at seen_.
    std::chrono::steady_clock::time_point heard_;
    std::uint64_t seen_ = 0;
    std::uint64_t bytesAtStart_ = 0;
    int stepsAtStart_ = 0;
    bool sending_ = false;
    // The last progress told, so an unchanged count is not told again.
    std::pair<std::size_t, std::size_t> reported_;
    Outcome outcome_;
    // Why the line was given up, for every later operation refused.
    std::string lostReason_;
    // The operation's own outcome while its recovery runs.
    Outcome cut_;
    bool ended_ = false;
    std::string error_;
    std::string downloaded_;
    PortSettings settings_;
};
