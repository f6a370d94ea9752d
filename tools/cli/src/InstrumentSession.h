#pragma once

#include "CliArguments.h"
#include "CliQuestions.h"
#include "PortOptions.h"
#include "ProgressBar.h"

#include "session/TransferSession.h"

#include <chrono>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

class TrafficLog;

namespace stationlinkcli {

// Opens the named port of the port list with the command's port options and
// connects as expanding the port in stationlink does; with --log every byte
// of the line goes to the traffic log, and Ctrl+C stops the running
// operation; what would replace data is refused unless its option was given
// (CliQuestions). On failure it tells err why (one line) and sets the exit status.
class InstrumentSession {
public:
    // args: the port name is the first plain argument.
    bool Start(const CliArguments& args, std::ostream& err);

    TransferSession& Link() { return *link_; }
    std::chrono::milliseconds IdleTimeout() const { return timeout_; }
    int Status() const { return status_; }
    // Reports a failure of the link on err; returns the exit status.
    int Failed(std::ostream& err, const std::string& what);
    // After an operation that did not succeed: 130 with the link's message
    // when Ctrl+C stopped it, otherwise as Failed.
    int Ended(std::ostream& err);

    // The label of the entry the command names (args[2], the label as
    // listed, the entry's name or its number); none after telling err that
    // it names no entry or several.
    std::optional<std::u16string> EntryLabel(const CliArguments& args, const std::string& command,
                                             std::ostream& err);

    // A progress bar on err while it is a terminal and --quiet is not given,
    // fed by the link while the next operation runs, until EndProgress.
    void ShowProgress(const CliArguments& args, std::ostream& err, std::size_t totalLines);
    void EndProgress();

private:
    std::shared_ptr<TrafficLog> log_;
    std::unique_ptr<TransferSession> link_;
    std::unique_ptr<ProgressBar> bar_;
    std::unique_ptr<CliQuestions> questions_;
    std::chrono::milliseconds timeout_{};
    int status_ = 0;
};

} // namespace stationlinkcli
