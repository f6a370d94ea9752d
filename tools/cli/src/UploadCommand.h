#pragma once

#include "CliCommand.h"

namespace stationlinkcli {

// "upload COMn CATEGORY LABEL FILE [--name NAME] [--type TYPE]": connects,
// sends the PC file to the entry as a drop on it in stationlink does (the
// file name and data type the dialog would pre-fill unless the options say
// otherwise) and waits until the instrument has listed the category again.
class UploadCommand : public CliCommand {
public:
    const CommandSyntax& Syntax() const override;
    int Run(const CliArguments& args, std::ostream& out, std::ostream& err) override;
};

} // namespace stationlinkcli
