#pragma once

#include "CliArguments.h"
#include "CommandSyntax.h"

#include <ostream>

namespace stationlinkcli {

// One command of stationlink-cli. Results go to out, a one-line message on
// failure to err; the result is the exit status.
class CliCommand {
public:
    virtual ~CliCommand() = default;
    virtual const CommandSyntax& Syntax() const = 0;
    virtual int Run(const CliArguments& args, std::ostream& out, std::ostream& err) = 0;

protected:
    CliCommand() = default;
    CliCommand(const CliCommand&) = default;
    CliCommand& operator=(const CliCommand&) = default;
};

} // namespace stationlinkcli
