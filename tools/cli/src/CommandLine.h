#pragma once

#include "CliCommand.h"

#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace stationlinkcli {

// The commands of stationlink-cli and the dispatch of a command line to one
// of them.
class CommandLine {
public:
    CommandLine();

    // args: everything after the program name. Returns the exit status.
    int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) const;
    std::string Usage() const;

private:
    int UsageError(const std::string& why, std::ostream& err) const;

    std::vector<std::unique_ptr<CliCommand>> commands_;
};

} // namespace stationlinkcli
