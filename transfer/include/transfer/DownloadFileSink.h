#pragma once

#include "transfer/DestinationFile.h"
#include "transfer/DownloadSink.h"

#include <functional>
#include <memory>
#include <mutex>
#include <string>

// The download sink of the instrument tree. A raw download (every data type
// but "CASS") goes to the file named by the request's jobLabel: the first
// data line of a transfer creates the file (truncating an existing one) and
// is not written, every later line is written byte for byte at once. A
// "CASS" download collects its lines in memory and converts them into the
// point file when the transfer ends; its first line only checks that the
// file can be created.
//
// A destination that cannot be created or written fails the transfer: the
// failure handler is called once with a sentence naming the path and the
// reason (on the thread that fed the sink, after the sink has released its
// lock), later lines of the transfer are dropped without progress steps,
// and Failure() keeps the sentence until the next transfer begins. OnTaskEnd
// still answers true for a failed transfer, so the progress dialog ends;
// callers check Failure() before telling the user the download is done.
//
// All members may be called from any thread.
class DownloadFileSink final : public DownloadSink {
public:
    using FailureHandler = std::function<void(const std::string& failure)>;

    explicit DownloadFileSink(FailureHandler onFailure = {});
    ~DownloadFileSink() override;
    DownloadFileSink(const DownloadFileSink&) = delete;
    DownloadFileSink& operator=(const DownloadFileSink&) = delete;

    bool OnDataLine(const TransferRequest& request, std::string_view line) override;
    bool OnTaskEnd(const TransferRequest& request) override;

    // The transfer will not get its end (stopped, line lost): the destination
    // file is closed as far as it was written, collected lines are dropped
    // and a kept failure is forgotten. The next data line starts afresh.
    void Abandon();

    // Why the current or last transfer failed; empty when it did not.
    std::string Failure() const;

private:
    enum class State { Idle, Writing, Collecting, Failed };

    bool RawLine(const TransferRequest& request, std::string_view line);
    bool CollectLine(const TransferRequest& request, std::string_view line);
    void FinishRaw();
    void FinishConverted(const TransferRequest& request);
    void BeginTransfer(State state);
    void Fail(const std::string& why);
    void ReportNewFailure(std::unique_lock<std::mutex>& lock);

    const FailureHandler onFailure_;
    mutable std::mutex mutex_;
    State state_ = State::Idle;
    std::unique_ptr<DestinationFile> file_;
    // The "CASS buffer": std::string grows geometrically, so collecting n
    // lines copies O(n) bytes in all.
    std::string collected_;
    std::string failure_;
    bool failureReported_ = true;
};
