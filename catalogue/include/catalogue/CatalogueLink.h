#pragma once

#include "catalogue/DeviceListing.h"
#include "catalogue/DeviceModel.h"
#include "catalogue/ReplyDispatcher.h"

#include "platform/CQelComDll.h"
#include "protocol/CKestaCom.h"
#include "protocol/PortSettings.h"

#include <chrono>
#include <condition_variable>
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

    // Opens the port of the record (texts in the wire code page).
    bool Open(const PortSettings& settings);
    // Runs the connect script as expanding the port does; false (with
    // Error()) when it did not end.
    bool Connect(std::chrono::milliseconds idleTimeout);
    // Empties the category of the request's kind and runs its erase script,
    // which lists the category again.
    bool Erase(const TransferRequest& request, std::chrono::milliseconds idleTimeout);

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

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    DeviceModel model_;
    DeviceListing listing_;
    ReplyDispatcher dispatcher_;
    std::uint64_t replies_ = 0;
    bool taskEnded_ = false;
    bool failed_ = false;
    std::string error_;
    PortSettings settings_;
};
