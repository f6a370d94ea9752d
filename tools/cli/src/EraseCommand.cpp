#include "EraseCommand.h"

#include "ExitCode.h"
#include "InstrumentSession.h"
#include "PortOptions.h"

#include "catalogue/EraseFlow.h"

namespace stationlinkcli {

const CommandSyntax& EraseCommand::Syntax() const {
    static const CommandSyntax syntax = [] {
        CommandSyntax s{"erase",
                        "stationlink-cli erase COMn CATEGORY LABEL [--part COORDS|OBSERV] "
                        "[--quiet] [port options]",
                        3,
                        PortOptions::Names(),
                        {},
                        {}};
        s.options.push_back("--part");
        s.choices.push_back({"--part", {"COORDS", "OBSERV"}});
        s.flags.push_back("--quiet");
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
    const auto label = session.EntryLabel(args, "erase", err);
    if (!label) {
        return session.Status();
    }
    const std::u16string line =
        session.Link().Model().LineOf(std::u16string(category.begin(), category.end()), *label);
    const std::string part = args.OptionOr("--part", "COORDS");
    const auto decision = EraseFlow::Decide(*mode, line, std::u16string(part.begin(), part.end()));
    if (!decision.request) {
        return session.Failed(err, "erase: " + DeviceListing::Utf8(decision.refusal));
    }
    const auto kind = CategoryOf(std::u16string(category.begin(), category.end()));
    session.ShowProgress(args, err, session.Link().Listing().Entries(*kind).size());
    const bool done = session.Link().Erase(*decision.request, DeviceListing::Utf8(decision.subject),
                                           session.IdleTimeout());
    session.EndProgress();
    return done ? kExitDone : session.Ended(err);
}

} // namespace stationlinkcli
