#pragma once

#include "CliCommand.h"

namespace stationlinkcli {

// "download COMn CATEGORY LABEL --to DIR [--name NAME] [--type TYPE]
// [--part COORDS|OBSERV]": connects and downloads the entry into DIR as the
// download dialog of stationlink would with these choices; unset options
// take what the dialog pre-fills or preselects.
class DownloadCommand : public CliCommand {
public:
    const CommandSyntax& Syntax() const override;
    int Run(const CliArguments& args, std::ostream& out, std::ostream& err) override;
};

} // namespace stationlinkcli
