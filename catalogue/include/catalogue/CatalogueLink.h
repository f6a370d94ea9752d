#pragma once

#include "catalogue/DeviceListing.h"
#include "catalogue/DeviceModel.h"
#include "catalogue/ReplyDispatcher.h"

#include "platform/CQelComDll.h"
#include "protocol/CKestaCom.h"
#include "protocol/PortSettings.h"

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>

// The instrument tree's work without a window: opens a port, runs the
// connect script into an in-memory listing and the device model through the
// same reply dispatcher as the window, and erases entries. Every operation
// blocks until its script ends, the line is lost, or the instrument has been
// silent for the idle time-out.
class CatalogueLink : public CKestaCom {
public:
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
    // which lists the category again.
    bool Erase(const TransferRequest& request, std::chrono::milliseconds idleTimeout);
    // Runs the download script of the request, handing its lines to sink.
    // False when the script did not end or AbortDownload was called; a
    // sink's own failure is for the caller to read from the sink.
    bool Download(const TransferRequest& request, DownloadSink& sink,
                  std::chrono::milliseconds idleTimeout);
    // Ends a running download at once (a sink's failure handler calls it,
    // also from within a reply): nothing more is asked of the instrument.
    void AbortDownload(const std::string& why);
    // Runs the upload script of the request (kinds 8 to 12), which sends its
    // lines and lists the category again; onStep is called on the link's
    // worker after every line sent, with the link's lock held (it must not
    // call back into the link).
    bool Upload(const TransferRequest& request, std::chrono::milliseconds idleTimeout,
                std::function<void()> onStep = {});
    // The lines the running or last upload has sent.
    std::size_t UploadSteps() const;

    const DeviceListing& Listing() const { return listing_; }
    const DeviceModel& Model() const { return model_; }
    std::string Error() const;

    int OnDeviceReply(const char* tag, const char* data, int length) override;

protected:
    void ShowLinkMessage(const std::string& text) override;
    void OnLinkLost(const std::string& reason) override;

private:
    // Waits for the end of the running script; the instrument's silence for
    // idleTimeout or the loss of the line end the wait with false.
    bool WaitForTaskEnd(std::chrono::milliseconds idleTimeout);
    void Fail(const std::string& why);

    // Recursive: a sink's failure handler ends the download from within the
    // reply that is being dispatched under this lock.
    mutable std::recursive_mutex mutex_;
    std::condition_variable_any changed_;
    DeviceModel model_;
    DeviceListing listing_;
    ReplyDispatcher dispatcher_;
    std::uint64_t replies_ = 0;
    std::size_t uploadSteps_ = 0;
    std::function<void()> onStep_;
    bool taskEnded_ = false;
    bool failed_ = false;
    std::string error_;
    PortSettings settings_;
};
