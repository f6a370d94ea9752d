#pragma once

#include "platform/ManualResetEvent.h"
#include "platform/TaskItem.h"
#include "protocol/ReceiveBuffer.h"
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
// operation.
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
    static constexpr int kSendBufferSize = 512;
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

    // Sends the current step of the running script. Results: 1 sent, 0 send
    // failed, 3 the script ended (nothing sent), -100 no script.
    int SendStep();
    int SendConnectStep();
    int SendDownloadStep();
    int SendEraseStep();
    int SendUploadStep();

    void SetStepIndex(int index);
    int StepIndex() const;
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
    // the engine could not be reset.
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
    enum class SendAction { None, Bytes, FileLine, EndOfScript, ConnectDone };
    struct Outgoing {
        SendAction action = SendAction::None;
        std::array<char, kSendBufferSize> bytes{};
        int length = 0;
    };
    enum class CycleAction { None, Resend, Advance, AdvanceAfterMatch, Line, Overrun, Refused };
    struct Decision {
        CycleAction action = CycleAction::None;
        int consumed = 0;
        bool poll = false;
        std::uint64_t generation = 0;
    };

    int SendScriptStep(int script, std::uint64_t generation);
    Outgoing PrepareStep(int script);
    void PrepareFileLine(int step, Outgoing& out);
    int Transmit(const Outgoing& out);
    void Report(std::uint64_t generation, const char* tag, const char* data, int length);

    void RunCycle(bool signalled);
    void OnTimeout(std::uint64_t generation, int state);
    void OnData();
    Decision Decide();
    Decision DecideTaggedLine(Decision d);
    void ConsumeReply(int count);
    void DropStaleLines();
    void Act(const Decision& d);
    void HandLineOver(const Decision& d);
    void ContinueAfterLine(const Decision& d, bool endOfData);
    int StateOf(std::uint64_t generation) const;
    // Moves to the next step and sends it; when it went out (or the script
    // ended) the first consumeWhenMoved received bytes are consumed.
    int Advance(std::uint64_t generation, int consumeWhenMoved);
    void EndOperation(std::uint64_t generation);
    void EndRefused(std::uint64_t generation);
    bool IsCurrent(std::uint64_t generation) const;
    void ReleaseHandOvers();

    // Current step.
    const char* currentCommand_ = nullptr;
    int currentCommandLength_ = 0;
    const char* currentReply_ = nullptr;
    int currentReplyLength_ = 0;

    std::string lineBuffer_;
    std::array<char, 7> replyTag_{};
    ReceiveBuffer rxBuffer_;
    int state_ = -1;
    ScriptTable table_;
    CKestaCom* owner_ = nullptr;
    QelSerialPro* serial_ = nullptr;
    ManualResetEvent runEvent_;
    ManualResetEvent doneEvent_;
    ManualResetEvent dataEvent_;
    TransferRequest request_;
    mutable std::mutex lock_;
    std::atomic<bool> running_{true};
    int pendingTail_ = 0;

    const std::chrono::milliseconds resendInterval_;
    DataWait dataWait_;
    std::atomic<std::shared_ptr<TrafficLog>> log_;
    std::mutex sendLock_;
    std::atomic<std::uint64_t> bytesSent_{0};
    // The step at which the running script ends; an abort ends after the
    // wake steps.
    int endStep_ = ScriptTable::kStepCount;
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
