#include "EraseCommand.h"

#include "ExitCode.h"
#include "InstrumentSession.h"
#include "PortOptions.h"

#include "catalogue/EraseFlow.h"
#include "platform/CodePage.h"

const CommandSyntax& EraseCommand::Syntax() const {
    static const CommandSyntax syntax = [] {
        CommandSyntax s{"erase",
                        "stationlink-cli erase COMn CATEGORY LABEL [--part COORDS|OBSERV] "
                        "[port options]",
                        3,
                        PortOptions::Names(),
                        {}};
        s.options.push_back("--part");
        return s;
    }();
    return syntax;
}

int EraseCommand::Run(const CliArguments& args, std::ostream& /*out*/, std::ostream& err) {
    const std::string& category = args.Arguments()[1];
    const auto mode = EraseFlow::DialogMode(std::u16string(category.begin(), category.end()));
    if (!mode) {
        err << "stationlink-cli: erase: CATEGORY is JOB, COD, HAL or VAL, not " << category << "\n";
        return kExitUsage;
    }
    InstrumentSession session;
    if (!session.Start(args, err)) {
        return session.Status();
    }
    // Labels are typed in the terminal's UTF-8; the listing prints them so.
    const std::u16string label = CodePage("UTF-8").ToWide(args.Arguments()[2]);
    const std::u16string line =
        session.Link().Model().LineOf(std::u16string(category.begin(), category.end()), label);
    if (line.empty()) {
        return session.Failed(err, "erase: the instrument lists no " + category + " entry " +
                                       args.Arguments()[2]);
    }
    const std::string part = args.OptionOr("--part", "COORDS");
    const auto decision = EraseFlow::Decide(*mode, line, std::u16string(part.begin(), part.end()));
    if (!decision.request) {
        return session.Failed(err, "erase: " + DeviceListing::Utf8(decision.refusal));
    }
    if (!session.Link().Erase(*decision.request, args.Arguments()[2], session.IdleTimeout())) {
        return session.Failed(err, session.Link().Error());
    }
    return kExitDone;
}
