#include "ConvertCommand.h"

#include "ExitCode.h"

#include "transfer/PointFile.h"
#include "transfer/WholeFile.h"

namespace stationlinkcli {

const CommandSyntax& ConvertCommand::Syntax() const {
    static const CommandSyntax syntax{"convert", "stationlink-cli convert  IN OUT", 2, {}, {}};
    return syntax;
}

int ConvertCommand::Run(const CliArguments& args, std::ostream& /*out*/, std::ostream& err) {
    std::string collected;
    std::string error;
    if (!WholeFile::Read(args.Arguments()[0], collected, error) ||
        !PointFile::Write(args.Arguments()[1], collected, error)) {
        err << "stationlink-cli: " << error << "\n";
        return kExitFailed;
    }
    return kExitDone;
}

} // namespace stationlinkcli
