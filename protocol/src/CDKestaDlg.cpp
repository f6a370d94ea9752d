#include "protocol/CDKestaDlg.h"

#include "platform/CQelComToolse.h"
#include "platform/CodePage.h"
#include "platform/QelSerialPro.h"
#include "platform/TrafficLog.h"
#include "protocol/CKestaCom.h"
#include "protocol/ReplyTags.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace {

constexpr std::string_view kPollMarker = "[ASKHADDA]";
constexpr std::string_view kFinishMarker = "[SENFINOD]";
constexpr std::string_view kFileDataMarker = "[KSTDPCFD]";
constexpr std::string_view kTaggedMarker = "[KESTARES]";
constexpr std::string_view kPollCommand = "?\r\n";
constexpr int kTagLength = 6;

bool StartsWith(const char* text, std::string_view prefix) {
    return text != nullptr && std::strncmp(text, prefix.data(), prefix.size()) == 0;
}

int LineEndPos(const char* data, int length) {
    return CQelComToolse::ReturnEndFlagPos(data, length, "\r\n");
}

} // namespace

CDKestaDlg::CDKestaDlg(std::chrono::milliseconds resendInterval)
    : resendInterval_(resendInterval),
      dataWait_([](ManualResetEvent& event, std::chrono::milliseconds timeout) {
          return event.WaitFor(timeout);
      }) {
    FillScriptTable(table_);
    lineBuffer_.reserve(kLineBufferSize);
}

bool CDKestaDlg::ResetEngine() {
    std::lock_guard guard(lock_);
    if (!runEvent_.Reset()) {
        return false;
    }
    state_ = -1;
    table_.stepIndex = 0;
    currentCommand_ = nullptr;
    currentCommandLength_ = 0;
    currentReply_ = nullptr;
    currentReplyLength_ = 0;
    endStep_ = ScriptTable::kStepCount;
    aborting_ = false;
    // A tail awaited by a cut-off operation would let the next operation's
    // first step accept any line.
    pendingTail_ = 0;
    rxBuffer_.Reset();
    ++generation_;
    armed_ = true;
    runEvent_.Set();
    lineBuffer_.clear();
    replyTag_.fill('\0');
    ReleaseHandOvers();
    return true;
}

bool CDKestaDlg::StartAbort() {
    if (!ResetEngine()) {
        return false;
    }
    {
        std::lock_guard guard(lock_);
        endStep_ = kAbortSteps;
        aborting_ = true;
        table_.stepIndex = 0;
    }
    SendConnectStep();
    return true;
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

void CDKestaDlg::SetStepIndex(int index) {
    std::lock_guard guard(lock_);
    table_.stepIndex = index;
}

int CDKestaDlg::StepIndex() const {
    std::lock_guard guard(lock_);
    return table_.stepIndex;
}

int CDKestaDlg::State() const {
    std::lock_guard guard(lock_);
    return state_;
}

int CDKestaDlg::SendStep() {
    int state = -1;
    std::uint64_t generation = 0;
    {
        std::lock_guard guard(lock_);
        state = state_;
        generation = generation_;
    }
    if (state < 0 || state >= ScriptTable::kScriptCount) {
        return -100;
    }
    return SendScriptStep(state, generation);
}

std::uint64_t CDKestaDlg::ReportGeneration() const {
    return reportGeneration_;
}

std::uint64_t CDKestaDlg::CurrentGeneration() const {
    std::lock_guard guard(lock_);
    return generation_;
}

int CDKestaDlg::SendConnectStep() {
    return SendScriptStep(0, CurrentGeneration());
}
int CDKestaDlg::SendDownloadStep() {
    return SendScriptStep(1, CurrentGeneration());
}
int CDKestaDlg::SendEraseStep() {
    return SendScriptStep(2, CurrentGeneration());
}
int CDKestaDlg::SendUploadStep() {
    return SendScriptStep(3, CurrentGeneration());
}

int CDKestaDlg::SendScriptStep(int script, std::uint64_t generation) {
    Outgoing out;
    {
        std::lock_guard guard(lock_);
        if (!IsCurrent(generation)) {
            return -100;
        }
        out = PrepareStep(script);
    }
    switch (out.action) {
    case SendAction::EndOfScript:
        return 3;
    case SendAction::ConnectDone:
        Report(generation, ReplyTags::kInitDone, nullptr, ReplyTags::kNotificationLength);
        return 3;
    case SendAction::Bytes:
        return Transmit(out);
    case SendAction::FileLine: {
        const int sent = Transmit(out);
        {
            std::lock_guard guard(lock_);
            if (sent != 0 && IsCurrent(generation)) {
                // The instrument's "?" for this line brings the engine back
                // to the same file-data step for the next line.
                ++request_.nextLine;
                --table_.stepIndex;
            }
        }
        Report(generation, ReplyTags::kProgress, nullptr, ReplyTags::kNotificationLength);
        return sent;
    }
    case SendAction::None:
        break;
    }
    return -100;
}

CDKestaDlg::Outgoing CDKestaDlg::PrepareStep(int script) {
    Outgoing out;
    state_ = script;
    const int step = table_.stepIndex;
    if (!ScriptTable::InRange(script, step)) {
        return out;
    }
    ScriptTable::Script& s = table_.scripts[script];
    currentCommand_ = s.command[step].data();
    currentCommandLength_ = s.commandLength[step];
    currentReply_ = s.reply[step].data();
    currentReplyLength_ = s.replyLength[step];

    if ((currentCommandLength_ == 0 && currentReplyLength_ == 0) || step >= endStep_) {
        out.action = SendAction::EndOfScript;
    } else if (StartsWith(currentCommand_, kPollMarker)) {
        out.action = SendAction::Bytes;
        std::copy(kPollCommand.begin(), kPollCommand.end(), out.bytes.begin());
        out.length = static_cast<int>(kPollCommand.size());
    } else if (script == 0 && StartsWith(currentCommand_, kFinishMarker)) {
        out.action = SendAction::ConnectDone;
    } else if (script == 3 && StartsWith(currentCommand_, kFileDataMarker)) {
        PrepareFileLine(step, out);
    } else {
        out.action = SendAction::Bytes;
        out.length = std::clamp(currentCommandLength_, 0, ScriptTable::kSlotSize);
        std::copy_n(currentCommand_, out.length, out.bytes.begin());
    }
    return out;
}

void CDKestaDlg::PrepareFileLine(int step, Outgoing& out) {
    const auto& lines = request_.lines;
    if (request_.nextLine >= 0 && static_cast<std::size_t>(request_.nextLine) < lines.size()) {
        std::string line = CodePage::Wire().ToAnsi(lines[request_.nextLine]);
        // The script builder refuses longer lines; the cut only keeps a
        // request that bypassed it inside the send buffer.
        line.resize(std::min<std::size_t>(line.size(), kSendBufferSize - 2));
        line += "\r\n";
        out.action = SendAction::FileLine;
        std::copy(line.begin(), line.end(), out.bytes.begin());
        out.length = static_cast<int>(line.size());
        return;
    }
    // Every line is out: the next step (the end-of-file bytes) goes instead.
    table_.stepIndex = step + 1;
    if (!ScriptTable::InRange(3, step + 1)) {
        return;
    }
    ScriptTable::Script& s = table_.scripts[3];
    currentCommand_ = s.command[step + 1].data();
    currentCommandLength_ = s.commandLength[step + 1];
    currentReply_ = s.reply[step + 1].data();
    currentReplyLength_ = s.replyLength[step + 1];
    out.action = SendAction::Bytes;
    out.length = std::clamp(currentCommandLength_, 0, ScriptTable::kSlotSize);
    std::copy_n(currentCommand_, out.length, out.bytes.begin());
}

int CDKestaDlg::Transmit(const Outgoing& out) {
    return SendRaw(std::string_view(out.bytes.data(), static_cast<std::size_t>(out.length)));
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

void CDKestaDlg::StopOperation() {
    std::lock_guard guard(lock_);
    armed_ = false;
    runEvent_.Reset();
    ++generation_;
    pendingTail_ = 0;
    rxBuffer_.Reset();
    ReleaseHandOvers();
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
    int state = -1;
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
            state = state_;
        }
    }
    if (data) {
        OnData();
    } else if (timedOut) {
        OnTimeout(generation, state);
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

void CDKestaDlg::OnTimeout(std::uint64_t generation, int state) {
    if (state >= 0 && state < ScriptTable::kScriptCount) {
        SendScriptStep(state, generation);
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
        if (currentReply_ == nullptr || rxBuffer_.Empty()) {
            return; // nothing sent yet, or only the rest of a skipped line came
        }
        decision = Decide();
    }
    Act(decision);
}

// While aborting, whole lines the stopped operation still sent stand before
// the answer awaited: they go, so the answer is found behind them.
void CDKestaDlg::DropStaleLines() {
    const int compared = std::clamp(currentReplyLength_, 0, ScriptTable::kMaxText);
    for (;;) {
        const char* rx = rxBuffer_.Data();
        const int length = rxBuffer_.Length();
        if (compared <= length && std::memcmp(rx, currentReply_, compared) == 0) {
            return;
        }
        const int p = LineEndPos(rx, length);
        if (p < -1) {
            return;
        }
        rxBuffer_.Consume(p + 3);
    }
}

CDKestaDlg::Decision CDKestaDlg::Decide() {
    if (aborting_) {
        DropStaleLines();
    }
    Decision d;
    d.generation = generation_;
    const char* rx = rxBuffer_.Data();
    const int length = rxBuffer_.Length();
    const int compared = std::clamp(currentReplyLength_, 0, ScriptTable::kMaxText);
    const int fullLength = static_cast<int>(::strnlen(currentReply_, ScriptTable::kMaxText));

    const bool matched = compared <= length && std::memcmp(rx, currentReply_, compared) == 0;
    const bool warning = length >= 2 && rx[0] == '@' && rx[1] == 'W';
    // An error reply is never what a step awaits: the instrument has refused
    // the command, and sending it again brings the same refusal.
    const bool error = length >= 2 && rx[0] == '@' && rx[1] == 'E';
    const bool tagged = StartsWith(currentReply_, kTaggedMarker);
    if (matched && fullLength > compared) {
        pendingTail_ = fullLength - compared;
    }

    if (warning) {
        d.action = CycleAction::Resend;
        ConsumeReply(length);
    } else if (error) {
        if (const int p = LineEndPos(rx, length); p >= -1) {
            lineBuffer_.assign(rx, static_cast<std::size_t>(p + 1));
            rxBuffer_.Clear();
            d.action = CycleAction::Refused;
        }
    } else if (pendingTail_ != 0 && !tagged) {
        // A reply compared on fewer characters than it has: move on only
        // once its line end is in.
        if (LineEndPos(rx, length) >= -1) {
            rxBuffer_.Clear();
            pendingTail_ = 0;
            d.action = CycleAction::Advance;
        }
    } else if (matched) {
        d.action = CycleAction::AdvanceAfterMatch;
        d.consumed = length;
    } else if (tagged) {
        return DecideTaggedLine(d);
    }
    return d;
}

CDKestaDlg::Decision CDKestaDlg::DecideTaggedLine(Decision d) {
    d.poll = StartsWith(currentCommand_, kPollMarker);
    if (rxBuffer_.Overrun()) {
        if (!rxBuffer_.SkippingLine()) {
            rxBuffer_.Clear();
            d.action = CycleAction::Overrun;
        }
        return d;
    }
    const int p = LineEndPos(rxBuffer_.Data(), rxBuffer_.Length());
    if (p < -1) {
        return d;
    }
    lineBuffer_.assign(rxBuffer_.Data(), static_cast<std::size_t>(p + 3));
    replyTag_.fill('\0');
    std::strncpy(replyTag_.data(), currentReply_ + kTaggedMarker.size(), kTagLength);
    // Bytes behind the line go with it: the instrument sends one line per poll.
    rxBuffer_.Clear();
    d.action = CycleAction::Line;
    return d;
}

void CDKestaDlg::ConsumeReply(int count) {
    const bool lineComplete = LineEndPos(rxBuffer_.Data(), count) >= -1;
    const char last = count > 0 ? rxBuffer_.Data()[count - 1] : '\0';
    rxBuffer_.Consume(count);
    if (!lineComplete) {
        // The reply's line end is still on its way: it must not stand in
        // front of the next reply.
        rxBuffer_.SkipRestOfLine(last);
    }
}

void CDKestaDlg::Act(const Decision& d) {
    switch (d.action) {
    case CycleAction::None:
        return;
    case CycleAction::Resend:
        SendScriptStep(StateOf(d.generation), d.generation);
        return;
    case CycleAction::Advance:
        Advance(d.generation, 0);
        return;
    case CycleAction::AdvanceAfterMatch:
        Advance(d.generation, d.consumed);
        return;
    case CycleAction::Line:
        HandLineOver(d);
        return;
    case CycleAction::Overrun:
        Report(d.generation, ReplyTags::kOverrun, nullptr, ReplyTags::kNotificationLength);
        ContinueAfterLine(d, false);
        return;
    case CycleAction::Refused:
        EndRefused(d.generation);
        return;
    }
}

void CDKestaDlg::HandLineOver(const Decision& d) {
    std::string line;
    std::array<char, 7> tag{};
    {
        std::lock_guard guard(lock_);
        if (!IsCurrent(d.generation)) {
            return;
        }
        line = lineBuffer_;
        lineBuffer_.clear();
        tag = replyTag_;
        replyTag_.fill('\0');
    }
    const bool endOfData = !line.empty() && line[0] == '\x1A';
    if (!endOfData) {
        Report(d.generation, tag.data(), line.data(), static_cast<int>(line.size()));
    }
    ContinueAfterLine(d, endOfData);
}

void CDKestaDlg::ContinueAfterLine(const Decision& d, bool endOfData) {
    if (d.poll && !endOfData) {
        SendScriptStep(StateOf(d.generation), d.generation); // "?" for the next line
    } else {
        Advance(d.generation, 0);
    }
}

int CDKestaDlg::StateOf(std::uint64_t generation) const {
    std::lock_guard guard(lock_);
    return IsCurrent(generation) ? state_ : -1;
}

int CDKestaDlg::Advance(std::uint64_t generation, int consumeWhenMoved) {
    int state = -1;
    {
        std::lock_guard guard(lock_);
        if (!IsCurrent(generation)) {
            return -100;
        }
        ++table_.stepIndex;
        state = state_;
    }
    const int result = SendScriptStep(state, generation);
    {
        std::lock_guard guard(lock_);
        if (!IsCurrent(generation)) {
            return result;
        }
        if (result != 1 && result != 3) {
            --table_.stepIndex; // tried again at the next data or time-out
            return result;
        }
        if (consumeWhenMoved > 0) {
            ConsumeReply(consumeWhenMoved);
        }
    }
    if (result == 3) {
        EndOperation(generation);
    }
    return result;
}

void CDKestaDlg::EndOperation(std::uint64_t generation) {
    {
        std::lock_guard guard(lock_);
        if (!IsCurrent(generation)) {
            return;
        }
        // Idle before the report: the owner may start the next operation
        // from inside it, and that one must not be switched off afterwards.
        armed_ = false;
        runEvent_.Reset();
        rxBuffer_.Reset();
        ReleaseHandOvers();
    }
    Report(generation, ReplyTags::kTaskEnd, nullptr, ReplyTags::kNotificationLength);
}

// The operation ends at the instrument's refusal; the error line (without
// its line end) goes with the report.
void CDKestaDlg::EndRefused(std::uint64_t generation) {
    std::string line;
    {
        std::lock_guard guard(lock_);
        if (!IsCurrent(generation)) {
            return;
        }
        line.swap(lineBuffer_);
        armed_ = false;
        runEvent_.Reset();
        rxBuffer_.Reset();
        ReleaseHandOvers();
    }
    Report(generation, ReplyTags::kRefused, line.data(), static_cast<int>(line.size()));
}

void CDKestaDlg::InstallScript(const TransferRequest& request, const ScriptTable& table) {
    std::lock_guard guard(lock_);
    request_ = request;
    table_ = table;
}

ScriptTable CDKestaDlg::TableSnapshot() const {
    std::lock_guard guard(lock_);
    return table_;
}

TransferRequest CDKestaDlg::RequestSnapshot() const {
    std::lock_guard guard(lock_);
    return request_;
}
