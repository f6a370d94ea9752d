#pragma once

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

// The instrument tree's work without a window: opens a port, runs the
// connect script into an in-memory listing and the device model through the
// same reply dispatcher and transfer monitor as the window, and erases,
// downloads and uploads entries. Every operation blocks until the monitor
// has ended it: its script ended, the line was lost, a line was too long,
// the download's file failed, or the instrument was silent for the idle
// time-out. A line once lost refuses every later operation.
class CatalogueLink : public CKestaCom {
public:
    using Outcome = TransferMonitor::Outcome;

    explicit CatalogueLink(
        CQelComDll::Creator serialCreator,
        std::chrono::milliseconds resendInterval = CDKestaDlg::kDefaultResendInterval);
    ~CatalogueLink() override;

    // Opens the port of the record (texts in the wire code page) on the
    // device file the port list shows for it (empty: the port map's).
    bool Open(const PortSettings& settings, const std::string& deviceFile = {});
    // Runs the connect script as expanding the port does; false (with
    // Error()) when it did not end.
    bool Connect(std::chrono::milliseconds idleTimeout);
    // Empties the category of the request's kind and runs its erase script,
    // which lists the category again. item names it in messages.
    bool Erase(const TransferRequest& request, const std::string& item,
               std::chrono::milliseconds idleTimeout);
    // Runs the download script of the request into sink. True when the file
    // is complete under its final name; otherwise Error() says why and
    // LastOutcome() what was kept.
    bool Download(const TransferRequest& request, const std::string& item, DownloadSink& sink,
                  std::chrono::milliseconds idleTimeout);
    // Runs the upload script of the request (kinds 8 to 12), which sends its
    // lines and lists the category again; onStep is called on the link's
    // worker after every line sent, with the link's lock held (it must not
    // call back into the link).
    bool Upload(const TransferRequest& request, const std::string& item,
                std::chrono::milliseconds idleTimeout, std::function<void()> onStep = {});
    // The lines the running or last upload has sent.
    std::size_t UploadSteps() const;

    // While set, the running operation stops as the window's "Cancel" stops
    // it, and the instrument is brought back to idle. Before the operation.
    void SetCancelFlag(const std::atomic<bool>* cancel) { cancel_ = cancel; }
    // Called a few times a second while an operation runs, with its progress
    // steps (lines) and the bytes moved in its direction. Before it.
    void SetProgressListener(std::function<void(std::size_t lines, std::uint64_t bytes)> listener) {
        onProgress_ = std::move(listener);
    }

    const DeviceListing& Listing() const { return listing_; }
    const DeviceModel& Model() const { return model_; }
    const PortSettings& Settings() const { return settings_; }
    std::string Error() const;
    Outcome LastOutcome() const;

    int OnDeviceReply(const char* tag, const char* data, int length) override;

protected:
    void ShowLinkMessage(const std::string& text) override;
    void OnLinkLost(const std::string& reason) override;

private:
    using Operation = TransferMonitor::Operation;

    // Starts the operation the monitor has just begun, then waits for its
    // end; the instrument's silence for idleTimeout ends it too.
    bool Run(const std::function<int()>& start, std::chrono::milliseconds idleTimeout);
    void WaitForEnd(std::unique_lock<std::recursive_mutex>& lock,
                    std::chrono::milliseconds idleTimeout, const std::function<void()>& onPoll);
    void BringToIdle(std::unique_lock<std::recursive_mutex>& lock,
                     std::chrono::milliseconds idleTimeout);
    bool Refuse(const std::string& why);

    static constexpr std::chrono::milliseconds kActivityPoll{250};
    void OnEnded(const Outcome& outcome);

    // Recursive: the monitor ends an operation from within the reply that is
    // being dispatched under this lock, and its end handler takes it again.
    mutable std::recursive_mutex mutex_;
    std::condition_variable_any changed_;
    DeviceModel model_;
    DeviceListing listing_;
    TransferMonitor monitor_;
    ReplyDispatcher dispatcher_;
    std::uint64_t replies_ = 0;
    std::size_t uploadSteps_ = 0;
    std::function<void()> onStep_;
    std::function<void(std::size_t, std::uint64_t)> onProgress_;
    const std::atomic<bool>* cancel_ = nullptr;
    Outcome outcome_;
    bool ended_ = false;
    bool lost_ = false;
    std::string error_;
    PortSettings settings_;
};
