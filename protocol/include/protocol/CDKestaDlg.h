#pragma once

#include "platform/ManualResetEvent.h"
#include "platform/TaskItem.h"
#include "protocol/ReceiveBuffer.h"
#include "protocol/ReplyMatcher.h"
#include "protocol/ScriptCursor.h"
#include "protocol/ScriptTable.h"
#include "protocol/TransferRequest.h"

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

class CKestaCom;
class QelSerialPro;
class TrafficLog;

// The protocol engine: runs one script of the catalogue at a time on the
// task pool's worker. It sends a step, compares the instrument's answer
// with the expected reply, hands data lines to its owner under their tags,
// re-sends after a time-out or a warning, ends the operation at an error
// reply ("@E..."), streams upload lines, and reports the end of the
// operation. Which reply the received bytes are is the ReplyMatcher's
// decision and where the script stands is the ScriptCursor's; this class
// holds the threads, the generations, the sends and the reports around them.
//
// Threads: the window thread resets the engine and sends the first step of
// an operation; the serial receive thread hands bytes over (HandOver) and
// waits until the worker has finished the cycle that took them; the worker
// runs RunLoop, sends every later step and calls the owner's OnDeviceReply.
class CDKestaDlg : public TaskItem {
public:
    // The longest line taken whole, CR LF included; a longer one is dropped
    // and reported as "OVERRUN".
    static constexpr int kLineBufferSize = ReceiveBuffer::kCapacity;
    static constexpr int kSendBufferSize = ScriptCursor::kSendBufferSize;
    // The wake steps an abort runs: "a" and "c".
    static constexpr int kAbortSteps = 2;
    static constexpr std::chrono::milliseconds kDefaultResendInterval{8000};

    // How the worker waits for received bytes: true when the data event was
    // set within the time-out. Replaceable so that a test can place a
    // hand-over exactly at the edge of a time-out.
    using DataWait =
        std::function<bool(ManualResetEvent& dataEvent, std::chrono::milliseconds timeout)>;

    explicit CDKestaDlg(std::chrono::milliseconds resendInterval = kDefaultResendInterval);
    CDKestaDlg(const CDKestaDlg&) = delete;
    CDKestaDlg& operator=(const CDKestaDlg&) = delete;

    void SetOwner(CKestaCom* owner) { owner_ = owner; }
    void SetSerial(QelSerialPro* serial) { serial_ = serial; }
    // Before the worker starts.
    void SetDataWait(DataWait wait) { dataWait_ = std::move(wait); }
    // Every byte sent is written to the log as well (none: not logged).
    void SetTrafficLog(std::shared_ptr<TrafficLog> log) { log_.store(std::move(log)); }

    // Prepares for a new operation: no script, no current step, buffers
    // empty, no reply tail awaited, the worker waiting for data. A receive
    // hand-over still waiting is released (its bytes are dropped).
    bool ResetEngine();

    // Resets the engine and sends the connect script's first step: true when
    // it went out.
    bool StartConnect();
    // Resets the engine and sends the first step of the installed request,
    // at the row the catalogue names for its kind. 1 started; 0 the kind
    // does not begin in `script` or the first step could not be sent
    // (nothing runs); -1 the engine could not be reset.
    int StartRequest(int script);

    // The running script (ScriptTable's numbering), -1 for none.
    int State() const;

    // Called by the serial receive thread: appends the bytes, wakes the
    // worker and returns after the worker's cycle over them. Bytes that come
    // while no operation runs are dropped at once.
    int HandOver(const char* data, int length);

    // Ends the running operation without a report: nothing more is sent.
    void StopOperation();

    // Brings the instrument back to idle after an operation was stopped: the
    // two wake steps every script begins with ("a", then "c"), each answer
    // awaited, then the end ("TASKEND"). Lines the stopped operation still
    // had on their way are dropped while the answers are awaited. False when
    // the engine could not be reset or the first step could not be sent.
    bool StartAbort();

    // Bytes written to the port since the engine was made.
    std::uint64_t BytesSent() const { return bytesSent_; }
    // Sends bytes outside any script (counted and logged); the send's result.
    int SendRaw(std::string_view bytes);

    // Every reset and stop begins a new generation of the engine. Inside
    // OnDeviceReply, ReportGeneration() tells which generation the report
    // comes from: an owner that handles a report later (on another thread)
    // drops it when CurrentGeneration() has moved on since, so a report of
    // an operation that was cut off never reaches the next one.
    std::uint64_t ReportGeneration() const;
    std::uint64_t CurrentGeneration() const;
    // Makes the worker leave RunLoop promptly (teardown).
    void Stop();

    int RunLoop() override;

    // Copies the request and the prepared table in, between worker cycles.
    void InstallScript(const TransferRequest& request, const ScriptTable& table);
    // Copies of the engine's table and request, taken under the lock.
    ScriptTable TableSnapshot() const;
    TransferRequest RequestSnapshot() const;

private:
    // The matcher's decision with what acting on it needs once the lock is
    // let go.
    struct Decision {
        ReplyMatcher::Verdict verdict = ReplyMatcher::Verdict::Wait;
        int consumed = 0;
        bool poll = false;
        std::uint64_t generation = 0;
    };

    // Resets, places the cursor at `start` and sends its step: 1 when it
    // went out, 0 when it did not (the engine is idle again), -1 when the
    // engine could not be reset.
    int Begin(ScriptTable::Start start, int endStep, bool aborting);
    // Sends the cursor's step while `generation` is current. Results: 1 sent,
    // 0 send failed, 3 the script ended (nothing sent), -100 no script or an
    // operation that is over.
    int SendCurrentStep(std::uint64_t generation);
    int Transmit(const ScriptCursor::Outgoing& out);
    void Report(std::uint64_t generation, const char* tag, const char* data, int length);

    void RunCycle(bool signalled);
    void OnData();
    Decision Decide();
    void Act(const Decision& d);
    void HandLineOver(const Decision& d);
    void ContinueAfterLine(const Decision& d, bool endOfData);
    // Moves to the next step and sends it; when it went out (or the script
    // ended) the first consumeWhenMoved received bytes are consumed.
    int Advance(std::uint64_t generation, int consumeWhenMoved);
    // Ends the operation (the engine goes idle) and reports its end:
    // "TASKEND", or "REFUSED" with the instrument's error line.
    void EndOperation(std::uint64_t generation, bool refused);
    bool IsCurrent(std::uint64_t generation) const;
    void GoIdle();
    void ReleaseHandOvers();

    ScriptCursor cursor_;
    ReplyMatcher matcher_;
    ReceiveBuffer rxBuffer_;
    // The line being reported, copied out of the matcher under the lock;
    // only the worker touches it.
    std::string reportLine_;
    CKestaCom* owner_ = nullptr;
    QelSerialPro* serial_ = nullptr;
    ManualResetEvent runEvent_;
    ManualResetEvent doneEvent_;
    ManualResetEvent dataEvent_;
    mutable std::mutex lock_;
    std::atomic<bool> running_{true};

    const std::chrono::milliseconds resendInterval_;
    DataWait dataWait_;
    std::atomic<std::shared_ptr<TrafficLog>> log_;
    std::mutex sendLock_;
    std::atomic<std::uint64_t> bytesSent_{0};
    // An abort runs: lines the stopped operation still sends are dropped.
    bool aborting_ = false;
    // An operation is running (runEvent set) and takes received bytes.
    bool armed_ = false;
    // Bumped by every reset, so a worker cycle that straddles a reset
    // abandons what it was doing for the old operation.
    std::uint64_t generation_ = 0;
    // Set before each report, read by the owner inside it.
    std::atomic<std::uint64_t> reportGeneration_{0};
    // Hand-overs counted as they arrive, as a worker cycle takes them and as
    // the worker releases them. A cycle decides between data and time-out by
    // these counters, so a chunk that comes at the edge of a time-out is
    // taken as data, and a receive callback is released only after its own
    // bytes were seen.
    std::uint64_t handOverSeq_ = 0;
    std::uint64_t takenSeq_ = 0;
    std::uint64_t releasedSeq_ = 0;
};
