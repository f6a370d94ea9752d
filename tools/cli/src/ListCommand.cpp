#include "ListCommand.h"

#include "ExitCode.h"
#include "InstrumentSession.h"
#include "PortOptions.h"

const CommandSyntax& ListCommand::Syntax() const {
    static const CommandSyntax syntax{
        "list", "stationlink-cli list COMn [port options]", 1, PortOptions::Names(), {}};
    return syntax;
}

int ListCommand::Run(const CliArguments& args, std::ostream& out, std::ostream& err) {
    InstrumentSession session;
    if (!session.Start(args, err)) {
        return session.Status();
    }
    out << session.Link().Listing().Print();
    out.flush();
    return out ? kExitDone : kExitFailed;
}
