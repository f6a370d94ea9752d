#include "legacyxfer/CaptureSession.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace std::chrono;

CaptureSession::CaptureSession(Options options) : options_(std::move(options)) {}

CaptureSession::~CaptureSession() {
    port_.DisConnectSerial();
    if (part_ != nullptr) {
        std::fclose(part_);
    }
}

std::string CaptureSession::Start() {
    if (const std::string problem = options_.preset.Problem(); !problem.empty()) {
        return problem;
    }
    const std::string part = PartPath(options_.file);
    std::error_code ignored;
    for (const std::string& path : {options_.file, part}) {
        if (!options_.overwrite && fs::exists(fs::symlink_status(path, ignored))) {
            return path + " exists; it is kept (choose to overwrite it to replace it)";
        }
    }
    part_ = std::fopen(part.c_str(), "wb");
    if (part_ == nullptr) {
        return part + ": " + std::strerror(errno);
    }
    port_.RegisterRcvInterface(this);
    const CMiniDCB dcb = options_.preset.ToDcb(options_.port);
    if (port_.ConnectSerial(&dcb) != 1) {
        std::fclose(part_);
        part_ = nullptr;
        fs::remove(part, ignored);
        return port_.LastError();
    }
    errorsAtStart_ = port_.ErrorCounts();
    return {};
}

int CaptureSession::OnReceive(void* /*context*/, const char* data, int length) {
    std::lock_guard lock(mutex_);
    // Bytes that come after the end was decided still go into the file:
    // they were received.
    if (part_ == nullptr) {
        return 0;
    }
    std::string bytes;
    std::vector<LineErrorMarks::Mark> marks;
    marks_.Take(std::string_view(data, static_cast<std::size_t>(length)), bytes, marks);
    if (std::fwrite(bytes.data(), 1, bytes.size(), part_) != bytes.size() ||
        std::fflush(part_) != 0) {
        failure_ = PartPath(options_.file) + ": " + std::strerror(errno);
        ending_ = Ending::Failed;
    }
    check_.Take(bytes, marks);
    if (!bytes.empty()) {
        lastByte_ = Clock::now();
    }
    const std::string& marker = options_.preset.endMarker;
    if (!marker.empty() && ending_ == Ending::None) {
        tail_ += bytes;
        if (tail_.find(marker) != std::string::npos) {
            ending_ = Ending::Marker;
        }
        tail_.erase(0, tail_.size() > marker.size() ? tail_.size() - marker.size() + 1 : 0);
    }
    changed_.notify_all();
    return 0;
}

void CaptureSession::OnPortLost(void* /*context*/) {
    EndWith(Ending::LineLost);
}

void CaptureSession::EndWith(Ending ending) {
    std::lock_guard lock(mutex_);
    if (ending_ == Ending::None) {
        ending_ = ending;
    }
    changed_.notify_all();
}

bool CaptureSession::Poll(milliseconds step) {
    CheckOverruns();
    std::unique_lock lock(mutex_);
    changed_.wait_for(lock, step, [&] { return ending_ != Ending::None; });
    if (ending_ == Ending::None && lastByte_ &&
        Clock::now() - *lastByte_ >= duration<double>(options_.preset.endSilence)) {
        ending_ = Ending::Silence;
    }
    return ending_ != Ending::None;
}

void CaptureSession::CheckOverruns() {
    const auto counts = port_.ErrorCounts();
    if (!counts || !errorsAtStart_) {
        return;
    }
    const std::uint64_t overruns = counts->overrun - errorsAtStart_->overrun;
    std::lock_guard lock(mutex_);
    if (overruns > overrunsSeen_) {
        check_.NoteOverruns(overruns - overrunsSeen_);
        overrunsSeen_ = overruns;
    }
}

void CaptureSession::Stop() {
    EndWith(Ending::Stopped);
}

void CaptureSession::Cancel() {
    EndWith(Ending::Cancelled);
}

CaptureSession::Result CaptureSession::Finish() {
    EndWith(Ending::Stopped);
    CheckOverruns();
    port_.DisConnectSerial();
    Result result;
    std::lock_guard lock(mutex_);
    std::string rest;
    marks_.Finish(rest);
    result.ending = ending_;
    if (part_ == nullptr) {
        result.message = "the capture was not started";
        return result;
    }
    bool written = std::fwrite(rest.data(), 1, rest.size(), part_) == rest.size();
    check_.Take(rest, {});
    check_.Finish();
    written = std::fflush(part_) == 0 && ::fsync(::fileno(part_)) == 0 && written;
    written = std::fclose(part_) == 0 && written;
    part_ = nullptr;
    const std::string part = PartPath(options_.file);
    const std::string count = std::to_string(check_.Counts().bytes) + " bytes";
    result.savedPath = part;
    if (!written || ending_ == Ending::Failed) {
        result.ending = Ending::Failed;
        result.message = failure_.empty() ? part + ": " + std::strerror(errno) : failure_;
        return result;
    }
    switch (ending_) {
    case Ending::Cancelled:
        result.message = "cancelled after " + count + "; " + Keep("what arrived");
        return result;
    case Ending::LineLost:
        result.message = "the line was lost after " + count + " (" + port_.LastError() + "); " +
                         Keep("what arrived");
        return result;
    default:
        break;
    }
    std::error_code error;
    if (!options_.overwrite && fs::exists(fs::symlink_status(options_.file, error))) {
        result.message = options_.file + " appeared meanwhile and is kept; " + Keep("the capture");
        result.ending = Ending::Failed;
        return result;
    }
    fs::rename(part, options_.file, error);
    if (error) {
        result.message = options_.file + ": " + error.message() + "; " + Keep("the capture");
        result.ending = Ending::Failed;
        return result;
    }
    result.saved = true;
    result.savedPath = options_.file;
    result.message = "received " + count + " in " + std::to_string(check_.Counts().lines) +
                     " lines into " + options_.file;
    return result;
}

std::string CaptureSession::Keep(const std::string& what) {
    return what + " is kept in " + PartPath(options_.file);
}

CaptureCounts CaptureSession::Counts() const {
    std::lock_guard lock(mutex_);
    return check_.Counts();
}

std::vector<CheckedLine> CaptureSession::TakeLines() {
    std::lock_guard lock(mutex_);
    return check_.TakeLines();
}

std::vector<std::string> CaptureSession::Problems() const {
    std::lock_guard lock(mutex_);
    return check_.Problems();
}

bool CaptureSession::Receiving() const {
    std::lock_guard lock(mutex_);
    return lastByte_.has_value();
}
