#pragma once

#include "CliCommand.h"

namespace stationlinkcli {

// "convert IN OUT": the point-file conversion of a "CASS" download run on
// IN as the collected data, writing OUT.
class ConvertCommand : public CliCommand {
public:
    const CommandSyntax& Syntax() const override;
    int Run(const CliArguments& args, std::ostream& out, std::ostream& err) override;
};

} // namespace stationlinkcli
