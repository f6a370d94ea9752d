#pragma once

#include "CliCommand.h"

namespace stationlinkcli {

// "erase COMn CATEGORY LABEL [--part COORDS|OBSERV]": connects, erases the
// entry as the delete command of stationlink does (a job's coordinate part
// unless --part says otherwise) and waits until the category is listed again.
class EraseCommand : public CliCommand {
public:
    const CommandSyntax& Syntax() const override;
    int Run(const CliArguments& args, std::ostream& out, std::ostream& err) override;
};

} // namespace stationlinkcli
