#pragma once

#include "RecordingLink.h"

#include <functional>
#include <string>
#include <vector>

// Conversations of the engine with the fake instrument that several test
// files run: the connect, and how a run is driven to its end and checked.
namespace transcripts {

using Exchange = FakeInstrument::Exchange;
using Reply = RecordingLink::Reply;

inline const std::string kEnd = "\x1A\r\n";

Exchange Answer(std::string expect, std::string answer);
Exchange Silence(std::string expect);
std::vector<Exchange> ConnectTranscript();
// What the owner is told during ConnectTranscript.
std::vector<Reply> ConnectReplies();
// What the engine must have sent: each exchange's expected command.
std::vector<std::string> Expected(const std::vector<Exchange>& transcript);
void Connect(RecordingLink& link);
// Runs a whole transcript from its start operation and waits for its end.
void RunToEnd(RecordingLink& link, const std::vector<Exchange>& transcript,
              const std::function<void()>& start);
// An upload request of the given kind and lines, format 3, echo "TREES".
TransferRequest Upload(int kind, std::vector<std::u16string> lines);

} // namespace transcripts
