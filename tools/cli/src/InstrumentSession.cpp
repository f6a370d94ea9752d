#include "InstrumentSession.h"

#include "ExitCode.h"

#include "platform/TermiosSerialPro.h"
#include "protocol/PortList.h"

bool InstrumentSession::Start(const CliArguments& args, std::ostream& err) {
    const std::string& name = args.Arguments().front();
    std::string error;
    const auto timeout = PortOptions::IdleTimeout(args, error);
    const PortList ports = PortList::System();
    const PortList::Port* port = ports.Find(std::u16string(name.begin(), name.end()));
    const auto settings =
        port != nullptr ? PortOptions::Apply(port->settings, args, error) : std::nullopt;
    if (!timeout || (port != nullptr && !settings)) {
        err << "stationlink-cli: " << error << "\n";
        status_ = kExitUsage;
        return false;
    }
    if (port == nullptr) {
        err << "stationlink-cli: " << name << ": no such port (see stationlink-cli ports)\n";
        status_ = kExitFailed;
        return false;
    }
    timeout_ = *timeout;
    link_ = std::make_unique<CatalogueLink>([] { return std::make_unique<TermiosSerialPro>(); });
    // The device the port list showed, even if the numbering changed since.
    if (!link_->Open(*settings, port->deviceFile)) {
        Failed(err, link_->LastPortError());
        return false;
    }
    if (!link_->Connect(timeout_)) {
        Failed(err, link_->Error());
        return false;
    }
    return true;
}

int InstrumentSession::Failed(std::ostream& err, const std::string& what) {
    err << "stationlink-cli: " << what << "\n";
    status_ = kExitFailed;
    return status_;
}
