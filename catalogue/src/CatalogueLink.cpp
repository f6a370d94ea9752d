#include "catalogue/CatalogueLink.h"

#include "platform/CodePage.h"
#include "protocol/ReplyTags.h"

#include <cstring>

CatalogueLink::CatalogueLink(CQelComDll::Creator serialCreator,
                             std::chrono::milliseconds resendInterval)
    : CKestaCom(std::move(serialCreator), resendInterval), dispatcher_(model_, listing_) {}

CatalogueLink::~CatalogueLink() {
    ShutdownWorker();
}

bool CatalogueLink::Open(const PortSettings& settings, const std::string& deviceFile) {
    const CodePage& wire = CodePage::Wire();
    settings_ = settings;
    return OpenPort(wire.ToAnsi(settings.portName).c_str(), wire.ToAnsi(settings.baudRate).c_str(),
                    wire.ToAnsi(settings.dataBits).c_str(), wire.ToAnsi(settings.stopBits).c_str(),
                    wire.ToAnsi(settings.parity).c_str(),
                    deviceFile.empty() ? nullptr : deviceFile.c_str());
}

bool CatalogueLink::Connect(std::chrono::milliseconds idleTimeout) {
    {
        std::lock_guard lock(mutex_);
        listing_.Connect(settings_.portName);
        taskEnded_ = false;
    }
    if (!IsConnected() || !Engine().ResetEngine()) {
        Fail(kOperationFailed);
        return false;
    }
    Engine().SetStepIndex(0);
    Engine().SendConnectStep();
    return WaitForTaskEnd(idleTimeout);
}

bool CatalogueLink::Erase(const TransferRequest& request, std::chrono::milliseconds idleTimeout) {
    const auto kind = request.kind - TransferRequest::JobErase;
    static constexpr EntryKind kByMode[] = {EntryKind::Job, EntryKind::Code, EntryKind::Hal,
                                            EntryKind::Val};
    if (kind < 0 || kind > 3) {
        Fail("not an erase request");
        return false;
    }
    if (!request.BuildScript(Engine())) {
        Fail("the item's name does not fit the instrument's command");
        return false;
    }
    {
        std::lock_guard lock(mutex_);
        listing_.ClearCategory(kByMode[kind]);
        taskEnded_ = false;
    }
    StartErase();
    return WaitForTaskEnd(idleTimeout);
}

bool CatalogueLink::Download(const TransferRequest& request, DownloadSink& sink,
                             std::chrono::milliseconds idleTimeout) {
    if (request.kind < TransferRequest::JobDownload ||
        request.kind > TransferRequest::ValDownload) {
        Fail("not a download request");
        return false;
    }
    if (const auto built = request.BuildScript(Engine()); !built) {
        Fail(built.error);
        return false;
    }
    {
        std::lock_guard lock(mutex_);
        dispatcher_.SetDownloadSink(&sink, [this] { return Engine().RequestSnapshot(); });
        taskEnded_ = false;
    }
    StartDownload();
    const bool ended = WaitForTaskEnd(idleTimeout);
    std::lock_guard lock(mutex_);
    dispatcher_.SetDownloadSink(nullptr, {});
    return ended;
}

void CatalogueLink::AbortDownload(const std::string& why) {
    Engine().StopOperation();
    Fail(why);
}

bool CatalogueLink::Upload(const TransferRequest& request, std::chrono::milliseconds idleTimeout,
                           std::function<void()> onStep) {
    if (request.kind < TransferRequest::JobUpload || request.kind > TransferRequest::ValUpload) {
        Fail("not an upload request");
        return false;
    }
    if (!IsConnected()) {
        Fail(kOperationFailed);
        return false;
    }
    if (const auto built = request.BuildScript(Engine()); !built) {
        Fail(built.error);
        return false;
    }
    {
        std::lock_guard lock(mutex_);
        uploadSteps_ = 0;
        onStep_ = std::move(onStep);
        taskEnded_ = false;
    }
    StartUpload();
    const bool ended = WaitForTaskEnd(idleTimeout);
    std::lock_guard lock(mutex_);
    onStep_ = nullptr;
    return ended;
}

std::size_t CatalogueLink::UploadSteps() const {
    std::lock_guard lock(mutex_);
    return uploadSteps_;
}

int CatalogueLink::OnDeviceReply(const char* tag, const char* data, int length) {
    std::lock_guard lock(mutex_);
    dispatcher_.OnDeviceReply(tag, data, length);
    ++replies_;
    if (tag != nullptr && std::strncmp(tag, ReplyTags::kTaskEnd, 7) == 0) {
        taskEnded_ = true;
    }
    if (tag != nullptr && std::strncmp(tag, ReplyTags::kProgress, 7) == 0) {
        ++uploadSteps_;
        if (onStep_) {
            onStep_();
        }
    }
    changed_.notify_all();
    return 1;
}

bool CatalogueLink::WaitForTaskEnd(std::chrono::milliseconds idleTimeout) {
    std::unique_lock lock(mutex_);
    while (!taskEnded_ && !failed_) {
        const std::uint64_t seen = replies_;
        if (!changed_.wait_for(lock, idleTimeout,
                               [&] { return taskEnded_ || failed_ || replies_ != seen; })) {
            failed_ = true;
            error_ = "the instrument did not answer in time";
        }
    }
    return !failed_;
}

void CatalogueLink::Fail(const std::string& why) {
    std::lock_guard lock(mutex_);
    failed_ = true;
    error_ = why;
    changed_.notify_all();
}

std::string CatalogueLink::Error() const {
    std::lock_guard lock(mutex_);
    return error_;
}

void CatalogueLink::ShowLinkMessage(const std::string& text) {
    Fail(text);
}

void CatalogueLink::OnLinkLost(const std::string& reason) {
    Fail(reason.empty() ? "the line to the instrument was lost" : reason);
}
