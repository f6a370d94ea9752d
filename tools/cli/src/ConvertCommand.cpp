#include "ConvertCommand.h"

#include "ExitCode.h"

#include "transfer/PointFile.h"
#include "transfer/WholeFile.h"

#include <filesystem>

namespace stationlinkcli {

const CommandSyntax& ConvertCommand::Syntax() const {
    static const CommandSyntax syntax{
        "convert", "stationlink-cli convert  IN OUT [--overwrite]", 2, {}, {"--overwrite"}, {}};
    return syntax;
}

// An existing OUT is replaced only with --overwrite.
int ConvertCommand::Run(const CliArguments& args, std::ostream& /*out*/, std::ostream& err) {
    const std::string& out = args.Arguments()[1];
    const bool overwrite = args.Flag("--overwrite");
    std::error_code ignored;
    if (!overwrite && std::filesystem::exists(std::filesystem::symlink_status(out, ignored))) {
        err << "stationlink-cli: " << out << " exists; give --overwrite to replace it\n";
        return kExitFailed;
    }
    std::string collected;
    std::string error;
    if (!WholeFile::Read(args.Arguments()[0], collected, error) ||
        PointFile::Write(out, collected,
                         overwrite ? DestinationFile::IfExists::Replace
                                   : DestinationFile::IfExists::Keep,
                         error) != PointFile::Result::Written) {
        err << "stationlink-cli: " << error << "\n";
        return kExitFailed;
    }
    return kExitDone;
}

} // namespace stationlinkcli
