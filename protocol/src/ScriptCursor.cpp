#include "protocol/ScriptCursor.h"

#include "platform/CodePage.h"

#include <algorithm>
#include <string>

namespace {

constexpr std::string_view kPollMarker = "[ASKHADDA]";
constexpr std::string_view kFinishMarker = "[SENFINOD]";
constexpr std::string_view kFileDataMarker = "[KSTDPCFD]";
constexpr std::string_view kPollCommand = "?\r\n";

} // namespace

ScriptCursor::ScriptCursor() {
    FillScriptTable(table_);
}

void ScriptCursor::Install(const TransferRequest& request, const ScriptTable& table) {
    request_ = request;
    table_ = table;
}

void ScriptCursor::Clear() {
    script_ = -1;
    table_.stepIndex = 0;
    endStep_ = ScriptTable::kStepCount;
    current_ = -1;
}

void ScriptCursor::Begin(ScriptTable::Start start, int endStep) {
    script_ = start.script;
    table_.stepIndex = start.step;
    endStep_ = endStep;
    current_ = -1;
}

int ScriptCursor::CommandLengthAt(int step) const {
    return std::clamp(table_.scripts[script_].commandLength[step], 0, ScriptTable::kSlotSize);
}

void ScriptCursor::CopyCommand(int step, Outgoing& out) const {
    out.action = Send::Bytes;
    out.length = CommandLengthAt(step);
    std::copy_n(table_.scripts[script_].command[step].data(), out.length, out.bytes.begin());
}

ScriptCursor::Outgoing ScriptCursor::Prepare() {
    Outgoing out;
    const int step = table_.stepIndex;
    if (!ScriptTable::InRange(script_, step)) {
        return out;
    }
    current_ = step;
    const ScriptTable::Script& s = table_.scripts[script_];
    const std::string_view command = table_.Command(script_, step);
    if ((s.commandLength[step] == 0 && s.replyLength[step] == 0) || step >= endStep_) {
        out.action = Send::EndOfScript;
    } else if (command.starts_with(kPollMarker)) {
        out.action = Send::Bytes;
        std::copy(kPollCommand.begin(), kPollCommand.end(), out.bytes.begin());
        out.length = static_cast<int>(kPollCommand.size());
    } else if (script_ == ScriptTable::kConnectScript && command.starts_with(kFinishMarker)) {
        out.action = Send::ConnectDone;
    } else if (script_ == ScriptTable::kUploadScript && command.starts_with(kFileDataMarker)) {
        PrepareFileLine(step, out);
    } else {
        CopyCommand(step, out);
    }
    return out;
}

void ScriptCursor::PrepareFileLine(int step, Outgoing& out) {
    const auto& lines = request_.lines;
    if (request_.nextLine >= 0 && static_cast<std::size_t>(request_.nextLine) < lines.size()) {
        std::string line = CodePage::Wire().ToAnsi(lines[request_.nextLine]);
        // The script builder refuses longer lines; the cut only keeps a
        // request that bypassed it inside the send buffer.
        line.resize(std::min<std::size_t>(line.size(), kSendBufferSize - 2));
        line += "\r\n";
        out.action = Send::FileLine;
        std::copy(line.begin(), line.end(), out.bytes.begin());
        out.length = static_cast<int>(line.size());
        return;
    }
    // Every line is out: the next step (the end-of-file bytes) goes instead.
    table_.stepIndex = step + 1;
    if (!ScriptTable::InRange(script_, step + 1)) {
        return;
    }
    current_ = step + 1;
    CopyCommand(step + 1, out);
}

void ScriptCursor::FileLineSent() {
    ++request_.nextLine;
    --table_.stepIndex;
}

std::string_view ScriptCursor::AwaitedReply() const {
    return current_ >= 0 ? table_.Reply(script_, current_) : std::string_view();
}

std::string_view ScriptCursor::ComparedBytes() const {
    if (current_ < 0) {
        return {};
    }
    const ScriptTable::Script& s = table_.scripts[script_];
    return {s.reply[current_].data(), static_cast<std::size_t>(std::clamp(
                                          s.replyLength[current_], 0, ScriptTable::kMaxText))};
}

bool ScriptCursor::Polling() const {
    return current_ >= 0 && table_.Command(script_, current_).starts_with(kPollMarker);
}
