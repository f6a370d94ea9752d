#pragma once

#include "legacyxfer/CaptureCheck.h"
#include "legacyxfer/LinePreset.h"
#include "platform/LineErrorCounts.h"
#include "platform/LineErrorMarks.h"
#include "platform/RcvInterface.h"
#include "platform/TermiosSerialPro.h"

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <optional>
#include <string>

// One capture of what an instrument sends: listens on a port, writes every
// byte to "<file>.part" as it arrives (so nothing received is lost, whatever
// happens later), checks the lines, and ends on the preset's silence (counted
// from the first byte), on its end marker, when the user stops it, when the
// line is lost or when the user cancels. Only a capture that ended as asked
// (silence, marker, stop) takes the final name; any other keeps its ".part".
class CaptureSession final : public RcvInterface {
public:
    using Clock = std::chrono::steady_clock;

    enum class Ending { None, Silence, Marker, Stopped, Cancelled, LineLost, Failed };

    struct Options {
        std::string port; // COM name or device path
        LinePreset preset;
        std::string file;
        bool overwrite = false; // replace an existing file (and a kept ".part")
    };

    struct Result {
        Ending ending = Ending::None;
        bool saved = false;    // the capture is under its final name
        std::string savedPath; // where the bytes are: the file or its ".part"
        std::string message;   // one sentence for the user
    };

    explicit CaptureSession(Options options);
    ~CaptureSession() override;
    CaptureSession(const CaptureSession&) = delete;
    CaptureSession& operator=(const CaptureSession&) = delete;

    static std::string PartPath(const std::string& file) { return file + ".part"; }

    // Refuses an existing file or ".part" unless overwrite, opens the
    // ".part" and the port. Empty on success, else why not.
    std::string Start();
    // Waits up to `step` for bytes or an ending; true once the capture has
    // ended (then Finish).
    bool Poll(std::chrono::milliseconds step);
    void Stop();   // the user ends it: the capture is kept as complete
    void Cancel(); // the user breaks it off: what came stays in ".part"
    // Closes the port and the file and names the result. Call once, after
    // Poll said the capture ended (or to end it now as stopped).
    Result Finish();

    CaptureCounts Counts() const;
    std::vector<CheckedLine> TakeLines();
    std::vector<std::string> Problems() const;
    bool Receiving() const; // the first byte has come

    int OnReceive(void* context, const char* data, int length) override;
    void OnPortLost(void* context) override;

private:
    void EndWith(Ending ending);
    void CheckOverruns();
    std::string Keep(const std::string& what);

    Options options_;
    TermiosSerialPro port_;
    std::FILE* part_ = nullptr;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    LineErrorMarks marks_;
    CaptureCheck check_;
    std::string tail_; // the last bytes, to find an end marker split across bursts
    std::optional<Clock::time_point> lastByte_;
    std::optional<LineErrorCounts> errorsAtStart_;
    std::uint64_t overrunsSeen_ = 0;
    Ending ending_ = Ending::None;
    std::string failure_;
};
