#pragma once

#include "protocol/ScriptTable.h"
#include "protocol/TransferRequest.h"

#include <array>
#include <string_view>

// Where the running script stands: which script, which step goes out next,
// what that step sends and what it awaits. It owns the prepared table and
// the request whose lines an upload streams. Plain data: the engine calls it
// under its lock.
class ScriptCursor {
public:
    static constexpr int kSendBufferSize = 512;

    // What the current step puts on the wire.
    enum class Send {
        Nothing,     // no script, or a step outside the table
        Bytes,       // a command (a poll marker becomes "?")
        FileLine,    // the next line of the upload
        EndOfScript, // the script is over; nothing goes out
        ConnectDone, // the connect script has read every list
    };
    struct Outgoing {
        Send action = Send::Nothing;
        std::array<char, kSendBufferSize> bytes{};
        int length = 0;
        std::string_view Bytes() const { return {bytes.data(), static_cast<std::size_t>(length)}; }
    };

    ScriptCursor();

    // The request and the table the script builder prepared for it.
    void Install(const TransferRequest& request, const ScriptTable& table);
    const ScriptTable& Table() const { return table_; }
    const TransferRequest& Request() const { return request_; }

    // No script runs and no step is current.
    void Clear();
    // The script of `start` runs from its step; it ends before `endStep`
    // (or at its first empty step).
    void Begin(ScriptTable::Start start, int endStep = ScriptTable::kStepCount);

    // -1 while no script runs.
    int Script() const { return script_; }
    int Step() const { return table_.stepIndex; }

    // Makes the step at the cursor current and says what it sends. Once an
    // upload's lines are all out, the step behind the file-data step (the
    // end-of-file bytes) becomes current instead.
    Outgoing Prepare();
    // Moves on to the next step, or back after a step that did not go out.
    void Next() { ++table_.stepIndex; }
    void Back() { --table_.stepIndex; }
    // A file line went out: the instrument's "?" for it brings the cursor
    // back to the same file-data step, for the line after it.
    void FileLineSent();

    // The reply the current step awaits, whole, and the bytes of its slot
    // a received reply is compared on (its length field says how many).
    // Empty while no step is current.
    bool HasCurrentStep() const { return current_ >= 0; }
    std::string_view AwaitedReply() const;
    std::string_view ComparedBytes() const;
    // The current step is a poll ("?" asks for the next line of a list).
    bool Polling() const;

private:
    int CommandLengthAt(int step) const;
    void CopyCommand(int step, Outgoing& out) const;
    void PrepareFileLine(int step, Outgoing& out);

    ScriptTable table_;
    TransferRequest request_;
    int script_ = -1;
    int endStep_ = ScriptTable::kStepCount;
    // The step Prepare last made current; -1 for none.
    int current_ = -1;
};
