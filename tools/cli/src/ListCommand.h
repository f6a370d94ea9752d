#pragma once

#include "CliCommand.h"

namespace stationlinkcli {

// "list COMn": connects and prints what the instrument tree shows under the
// port: the port node's text, then one line per entry in tree order.
class ListCommand : public CliCommand {
public:
    const CommandSyntax& Syntax() const override;
    int Run(const CliArguments& args, std::ostream& out, std::ostream& err) override;
};

} // namespace stationlinkcli
