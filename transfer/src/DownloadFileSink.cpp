#include "transfer/DownloadFileSink.h"

#include "protocol/TransferRequest.h"
#include "transfer/LocalPath.h"
#include "transfer/PointFile.h"

namespace {

bool IsConverted(const TransferRequest& request) {
    return request.pcFormat == u"CASS";
}

} // namespace

DownloadFileSink::DownloadFileSink(FailureHandler onFailure) : onFailure_(std::move(onFailure)) {}

DownloadFileSink::~DownloadFileSink() = default;

bool DownloadFileSink::OnDataLine(const TransferRequest& request, std::string_view line) {
    std::unique_lock lock(mutex_);
    const bool step = IsConverted(request) ? CollectLine(request, line) : RawLine(request, line);
    ReportNewFailure(lock);
    return step;
}

bool DownloadFileSink::OnTaskEnd(const TransferRequest& request) {
    std::unique_lock lock(mutex_);
    bool ended = true;
    switch (state_) {
    case State::Writing:
        FinishRaw();
        break;
    case State::Collecting:
        FinishConverted(request);
        break;
    case State::Failed:
        break;
    case State::Idle:
        // A converted download writes its point file even when no line came.
        ended = IsConverted(request);
        if (ended) {
            BeginTransfer(State::Collecting);
            FinishConverted(request);
        }
        break;
    }
    state_ = State::Idle;
    ReportNewFailure(lock);
    return ended;
}

void DownloadFileSink::Abandon() {
    std::lock_guard lock(mutex_);
    if (file_) {
        file_->Close();
        file_.reset();
    }
    collected_ = {};
    failure_.clear();
    failureReported_ = true;
    state_ = State::Idle;
}

std::string DownloadFileSink::Failure() const {
    std::lock_guard lock(mutex_);
    return failure_;
}

void DownloadFileSink::BeginTransfer(State state) {
    failure_.clear();
    failureReported_ = true;
    state_ = state;
}

void DownloadFileSink::Fail(const std::string& why) {
    failure_ = why;
    failureReported_ = false;
    state_ = State::Failed;
}

// The handler may block on another thread that is about to call the sink,
// so it runs without the lock.
void DownloadFileSink::ReportNewFailure(std::unique_lock<std::mutex>& lock) {
    if (failureReported_) {
        return;
    }
    failureReported_ = true;
    const std::string failure = failure_;
    lock.unlock();
    if (onFailure_) {
        onFailure_(failure);
    }
}

bool DownloadFileSink::RawLine(const TransferRequest& request, std::string_view line) {
    if (state_ == State::Failed) {
        return false;
    }
    if (state_ != State::Writing) {
        BeginTransfer(State::Writing);
        file_ = std::make_unique<DestinationFile>(LocalPath::FromWide(request.jobLabel));
        if (!file_->Create()) {
            Fail(file_->Error());
            file_.reset();
        }
        return false;
    }
    file_->Write(line);
    if (!file_->Flush()) {
        Fail(file_->Error());
        file_.reset();
        return false;
    }
    return true;
}

// The point file is written only at the end, but a destination that cannot
// be created ends the transfer at its first line.
bool DownloadFileSink::CollectLine(const TransferRequest& request, std::string_view line) {
    if (state_ == State::Failed) {
        return false;
    }
    if (state_ != State::Collecting) {
        BeginTransfer(State::Collecting);
        DestinationFile probe(LocalPath::FromWide(request.jobLabel));
        if (!probe.CanCreate()) {
            Fail(probe.Error());
            return false;
        }
    }
    collected_.append(line);
    return true;
}

void DownloadFileSink::FinishRaw() {
    if (!file_->Close()) {
        Fail(file_->Error());
    }
    file_.reset();
}

void DownloadFileSink::FinishConverted(const TransferRequest& request) {
    std::string error;
    if (!PointFile::Write(LocalPath::FromWide(request.jobLabel), collected_, error)) {
        Fail(error);
    }
    collected_ = {};
}
