#include "protocol/CDKestaDlg.h"

#include "platform/QelSerialPro.h"
#include "platform/TrafficLog.h"
#include "protocol/CKestaCom.h"
#include "protocol/ReplyTags.h"

#include <algorithm>

CDKestaDlg::CDKestaDlg(std::chrono::milliseconds resendInterval)
    : resendInterval_(resendInterval),
      dataWait_([](ManualResetEvent& event, std::chrono::milliseconds timeout) {
          return event.WaitFor(timeout);
      }) {
    reportLine_.reserve(kLineBufferSize);
}

bool CDKestaDlg::ResetEngine() {
    std::lock_guard guard(lock_);
    if (!runEvent_.Reset()) {
        return false;
    }
    cursor_.Clear();
    aborting_ = false;
    // A tail awaited by a cut-off operation would let the next operation's
    // first step accept any line.
    matcher_.Reset();
    rxBuffer_.Reset();
    ++generation_;
    armed_ = true;
    runEvent_.Set();
    ReleaseHandOvers();
    return true;
}

int CDKestaDlg::Begin(ScriptTable::Start start, int endStep, bool aborting) {
    if (!ResetEngine()) {
        return -1;
    }
    std::uint64_t generation = 0;
    {
        std::lock_guard guard(lock_);
        cursor_.Begin(start, endStep);
        aborting_ = aborting;
        generation = generation_;
    }
    if (SendCurrentStep(generation) > 0) {
        return 1;
    }
    // Reported as not started, so nothing may run on: the worker would
    // otherwise send the step again at the next time-out and play the
    // script to an owner that believes the link idle.
    std::lock_guard guard(lock_);
    if (IsCurrent(generation)) {
        ++generation_;
        matcher_.Reset();
        GoIdle();
    }
    return 0;
}

bool CDKestaDlg::StartConnect() {
    return Begin(ScriptTable::ConnectStart(), ScriptTable::kStepCount, false) == 1;
}

bool CDKestaDlg::StartAbort() {
    return Begin(ScriptTable::ConnectStart(), kAbortSteps, true) == 1;
}

int CDKestaDlg::StartRequest(int script) {
    const ScriptTable::Start start = ScriptTable::StartOf(RequestSnapshot().kind);
    if (start.script != script) {
        return 0;
    }
    return Begin(start, ScriptTable::kStepCount, false);
}

void CDKestaDlg::ReleaseHandOvers() {
    dataEvent_.Reset();
    takenSeq_ = handOverSeq_;
    if (releasedSeq_ < handOverSeq_) {
        releasedSeq_ = handOverSeq_;
        doneEvent_.Set();
    }
}

bool CDKestaDlg::IsCurrent(std::uint64_t generation) const {
    return generation == generation_;
}

int CDKestaDlg::State() const {
    std::lock_guard guard(lock_);
    return cursor_.Script();
}

std::uint64_t CDKestaDlg::ReportGeneration() const {
    return reportGeneration_;
}

std::uint64_t CDKestaDlg::CurrentGeneration() const {
    std::lock_guard guard(lock_);
    return generation_;
}

int CDKestaDlg::SendCurrentStep(std::uint64_t generation) {
    ScriptCursor::Outgoing out;
    {
        std::lock_guard guard(lock_);
        if (!IsCurrent(generation)) {
            return -100;
        }
        out = cursor_.Prepare();
    }
    switch (out.action) {
    case ScriptCursor::Send::EndOfScript:
        return 3;
    case ScriptCursor::Send::ConnectDone:
        Report(generation, ReplyTags::kInitDone, nullptr, ReplyTags::kNotificationLength);
        return 3;
    case ScriptCursor::Send::Bytes:
        return Transmit(out);
    case ScriptCursor::Send::FileLine: {
        const int sent = Transmit(out);
        {
            std::lock_guard guard(lock_);
            if (sent != 0 && IsCurrent(generation)) {
                cursor_.FileLineSent();
            }
        }
        Report(generation, ReplyTags::kProgress, nullptr, ReplyTags::kNotificationLength);
        return sent;
    }
    case ScriptCursor::Send::Nothing:
        break;
    }
    return -100;
}

int CDKestaDlg::Transmit(const ScriptCursor::Outgoing& out) {
    return SendRaw(out.Bytes());
}

// Sends come from the window thread (an operation's first step) and from
// the worker: one at a time, and logged before they go, so the log holds
// them in the order they went and before the answers they bring.
int CDKestaDlg::SendRaw(std::string_view bytes) {
    if (serial_ == nullptr) {
        return 0;
    }
    std::lock_guard guard(sendLock_);
    const auto log = log_.load();
    if (log) {
        log->Sent(bytes);
    }
    if (serial_->OuterThreadSendMsg(bytes.data(), static_cast<int>(bytes.size())) == 0) {
        if (log) {
            log->Note("not sent: " + serial_->LastError());
        }
        return 0;
    }
    bytesSent_ += bytes.size();
    return 1;
}

void CDKestaDlg::Report(std::uint64_t generation, const char* tag, const char* data, int length) {
    reportGeneration_ = generation;
    if (owner_ != nullptr) {
        owner_->OnDeviceReply(tag, data, length);
    }
}

int CDKestaDlg::HandOver(const char* data, int length) {
    if (data == nullptr || length <= 0) {
        return 1;
    }
    std::uint64_t seq = 0;
    {
        std::lock_guard guard(lock_);
        if (!armed_ || !running_) {
            return 1; // no operation runs: nobody would ever take these bytes
        }
        rxBuffer_.Append(data, length);
        seq = ++handOverSeq_;
        doneEvent_.Reset();
    }
    // Signalled outside the lock, so the woken worker does not block on it.
    dataEvent_.Set();
    for (;;) {
        doneEvent_.Wait();
        std::lock_guard guard(lock_);
        doneEvent_.Reset();
        if (releasedSeq_ >= seq) {
            return 1;
        }
    }
}

// Idle: no script, nothing taken, nothing more sent. Under the lock.
void CDKestaDlg::GoIdle() {
    armed_ = false;
    runEvent_.Reset();
    rxBuffer_.Reset();
    ReleaseHandOvers();
}

void CDKestaDlg::StopOperation() {
    std::lock_guard guard(lock_);
    ++generation_;
    matcher_.Reset();
    GoIdle();
}

void CDKestaDlg::Stop() {
    {
        std::lock_guard guard(lock_);
        running_ = false;
        armed_ = false;
        ++generation_;
        ReleaseHandOvers();
    }
    runEvent_.Set();
    dataEvent_.Set();
}

int CDKestaDlg::RunLoop() {
    while (running_) {
        runEvent_.Wait();
        if (!running_) {
            break;
        }
        const bool signalled = dataWait_(dataEvent_, resendInterval_);
        if (!running_) {
            break;
        }
        RunCycle(signalled);
    }
    return 1;
}

void CDKestaDlg::RunCycle(bool signalled) {
    bool data = false;
    bool timedOut = false;
    std::uint64_t taken = 0;
    std::uint64_t generation = 0;
    {
        std::lock_guard guard(lock_);
        dataEvent_.Reset();
        // The counters, not the event, say whether a chunk came: one appended
        // just as the wait timed out is data, not silence, and is never wiped.
        data = handOverSeq_ > takenSeq_;
        if (data) {
            takenSeq_ = handOverSeq_;
            taken = takenSeq_;
        } else if (!signalled && armed_) {
            // Silence: what stands in the buffer is dropped in the same
            // locked stretch that found no new chunk.
            timedOut = true;
            rxBuffer_.Reset();
            generation = generation_;
        }
    }
    if (data) {
        OnData();
    } else if (timedOut) {
        SendCurrentStep(generation); // the step again
    }
    bool release = false;
    {
        std::lock_guard guard(lock_);
        // Only a cycle that took a chunk releases its sender: a stale release
        // would let the next chunk in before this one was seen.
        release = taken > releasedSeq_;
        if (release) {
            releasedSeq_ = taken;
        }
    }
    if (release) {
        doneEvent_.Set();
    }
}

void CDKestaDlg::OnData() {
    Decision decision;
    {
        std::lock_guard guard(lock_);
        if (!armed_) {
            rxBuffer_.Reset();
            return;
        }
        if (!cursor_.HasCurrentStep() || rxBuffer_.Empty()) {
            return; // nothing sent yet, or only the rest of a skipped line came
        }
        decision = Decide();
    }
    Act(decision);
}

CDKestaDlg::Decision CDKestaDlg::Decide() {
    const ReplyMatcher::Awaited awaited{cursor_.AwaitedReply(), cursor_.ComparedBytes()};
    const ReplyMatcher::Decision m = matcher_.Decide(rxBuffer_, awaited, aborting_);
    return {m.verdict, m.consumed, cursor_.Polling(), generation_};
}

void CDKestaDlg::Act(const Decision& d) {
    using Verdict = ReplyMatcher::Verdict;
    switch (d.verdict) {
    case Verdict::Wait:
        return;
    case Verdict::Resend:
        SendCurrentStep(d.generation);
        return;
    case Verdict::Advance:
        Advance(d.generation, 0);
        return;
    case Verdict::Matched:
        Advance(d.generation, d.consumed);
        return;
    case Verdict::Line:
        HandLineOver(d);
        return;
    case Verdict::Overrun:
        Report(d.generation, ReplyTags::kOverrun, nullptr, ReplyTags::kNotificationLength);
        ContinueAfterLine(d, false);
        return;
    case Verdict::Refused:
        EndOperation(d.generation, true);
        return;
    }
}

void CDKestaDlg::HandLineOver(const Decision& d) {
    std::array<char, 7> tag{};
    {
        std::lock_guard guard(lock_);
        if (!IsCurrent(d.generation)) {
            return;
        }
        reportLine_.assign(matcher_.LineText());
        matcher_.Tag().copy(tag.data(), tag.size() - 1);
    }
    const bool endOfData = !reportLine_.empty() && reportLine_[0] == '\x1A';
    if (!endOfData) {
        Report(d.generation, tag.data(), reportLine_.data(), static_cast<int>(reportLine_.size()));
    }
    ContinueAfterLine(d, endOfData);
}

void CDKestaDlg::ContinueAfterLine(const Decision& d, bool endOfData) {
    if (d.poll && !endOfData) {
        SendCurrentStep(d.generation); // "?" for the next line
    } else {
        Advance(d.generation, 0);
    }
}

int CDKestaDlg::Advance(std::uint64_t generation, int consumeWhenMoved) {
    {
        std::lock_guard guard(lock_);
        if (!IsCurrent(generation)) {
            return -100;
        }
        cursor_.Next();
    }
    const int result = SendCurrentStep(generation);
    {
        std::lock_guard guard(lock_);
        if (!IsCurrent(generation)) {
            return result;
        }
        if (result != 1 && result != 3) {
            cursor_.Back(); // tried again at the next data or time-out
            return result;
        }
        if (consumeWhenMoved > 0) {
            ReplyMatcher::ConsumeReply(rxBuffer_, consumeWhenMoved);
        }
    }
    if (result == 3) {
        EndOperation(generation, false);
    }
    return result;
}

// Idle before the report: the owner may start the next operation from
// inside it, and that one must not be switched off afterwards.
void CDKestaDlg::EndOperation(std::uint64_t generation, bool refused) {
    {
        std::lock_guard guard(lock_);
        if (!IsCurrent(generation)) {
            return;
        }
        if (refused) {
            reportLine_.assign(matcher_.LineText());
        }
        GoIdle();
    }
    if (refused) {
        Report(generation, ReplyTags::kRefused, reportLine_.data(),
               static_cast<int>(reportLine_.size()));
    } else {
        Report(generation, ReplyTags::kTaskEnd, nullptr, ReplyTags::kNotificationLength);
    }
}

void CDKestaDlg::InstallScript(const TransferRequest& request, const ScriptTable& table) {
    std::lock_guard guard(lock_);
    cursor_.Install(request, table);
}

ScriptTable CDKestaDlg::TableSnapshot() const {
    std::lock_guard guard(lock_);
    return cursor_.Table();
}

TransferRequest CDKestaDlg::RequestSnapshot() const {
    std::lock_guard guard(lock_);
    return cursor_.Request();
}
