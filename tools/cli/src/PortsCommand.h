#pragma once

#include "CliCommand.h"

namespace stationlinkcli {

// "ports": one line per port of the port list: COM name, device file and
// description, separated by tabs.
class PortsCommand : public CliCommand {
public:
    const CommandSyntax& Syntax() const override;
    int Run(const CliArguments& args, std::ostream& out, std::ostream& err) override;
};

} // namespace stationlinkcli
