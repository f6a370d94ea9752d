#include "PortsCommand.h"

#include "ExitCode.h"

#include "protocol/PortList.h"

namespace stationlinkcli {

const CommandSyntax& PortsCommand::Syntax() const {
    static const CommandSyntax syntax{"ports", "stationlink-cli ports", 0, {}, {}, {}};
    return syntax;
}

int PortsCommand::Run(const CliArguments& /*args*/, std::ostream& out, std::ostream& /*err*/) {
    const PortList ports = PortList::System();
    for (const PortList::Port& port : ports.Ports()) {
        const std::u16string& name = port.settings.portName;
        out << std::string(name.begin(), name.end()) << '\t' << port.deviceFile << '\t'
            << port.description << '\n';
    }
    out.flush();
    return out ? kExitDone : kExitFailed;
}

} // namespace stationlinkcli
