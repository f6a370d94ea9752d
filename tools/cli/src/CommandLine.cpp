#include "CommandLine.h"

#include "ConvertCommand.h"
#include "DownloadCommand.h"
#include "EraseCommand.h"
#include "ExitCode.h"
#include "ListCommand.h"
#include "PortsCommand.h"
#include "UploadCommand.h"

#include "platform/CodePage.h"

#include <algorithm>

namespace stationlinkcli {

CommandLine::CommandLine() {
    commands_.push_back(std::make_unique<PortsCommand>());
    commands_.push_back(std::make_unique<ListCommand>());
    commands_.push_back(std::make_unique<DownloadCommand>());
    commands_.push_back(std::make_unique<UploadCommand>());
    commands_.push_back(std::make_unique<EraseCommand>());
    commands_.push_back(std::make_unique<ConvertCommand>());
}

std::string CommandLine::Usage() const {
    std::string text = "usage:\n";
    for (const auto& command : commands_) {
        text += "    " + std::string(command->Syntax().usage) + "\n";
    }
    return text;
}

int CommandLine::UsageError(const std::string& why, std::ostream& err) const {
    err << "stationlink-cli: " << why << "\n" << Usage();
    return kExitUsage;
}

int CommandLine::Run(const std::vector<std::string>& args, std::ostream& out,
                     std::ostream& err) const {
    if (args.empty()) {
        return UsageError("no command given", err);
    }
    if (args.front() == "--help" || args.front() == "-h" || args.front() == "help") {
        out << Usage();
        return kExitDone;
    }
    const auto command = std::find_if(commands_.begin(), commands_.end(), [&](const auto& c) {
        return c->Syntax().name == args.front();
    });
    if (command == commands_.end()) {
        return UsageError("unknown command " + args.front(), err);
    }
    std::string error;
    const auto parsed =
        CliArguments::Parse((*command)->Syntax(), {args.begin() + 1, args.end()}, error);
    if (!parsed) {
        return UsageError(error, err);
    }
    // Names and lines would all come out empty in a code page iconv does not know.
    if (const std::string problem = CodePage::WireProblem(); !problem.empty()) {
        err << "stationlink-cli: " << problem << "\n";
        return kExitUsage;
    }
    const int status = (*command)->Run(*parsed, out, err);
    if (status == kExitUsage) {
        err << "usage: " << (*command)->Syntax().usage << "\n";
    }
    return status;
}

} // namespace stationlinkcli
