#include "protocol/PortList.h"

#include "platform/ComPortMap.h"
#include "platform/ComPortName.h"

#include <algorithm>

namespace {

// COM names are plain ASCII.
std::u16string Widen(const std::string& ascii) {
    return {ascii.begin(), ascii.end()};
}

} // namespace

PortList PortList::FromComPorts(const std::vector<ComPort>& ports) {
    PortList list;
    for (const ComPort& port : ports) {
        const auto number = ComPortName::Number(port.name);
        if (!number) {
            continue;
        }
        const std::u16string name = Widen(ComPortName::Format(*number));
        if (list.Find(name) == nullptr) {
            list.ports_.push_back({PortSettings::Defaults(name), port.device, port.description});
        }
    }
    return list;
}

PortList PortList::System() {
    return FromComPorts(ComPortMap::System().Ports());
}

std::vector<std::u16string> PortList::Names() const {
    std::vector<std::u16string> names;
    for (const Port& port : ports_) {
        names.push_back(port.settings.portName);
    }
    return names;
}

const PortList::Port* PortList::Find(std::u16string_view name) const {
    const auto found = std::find_if(ports_.begin(), ports_.end(), [&](const Port& port) {
        return port.settings.portName == name;
    });
    return found != ports_.end() ? &*found : nullptr;
}

bool PortList::ApplyChoice(const PortChoice& choice) {
    const Port* found = Find(choice.port);
    if (found == nullptr) {
        return false;
    }
    PortSettings& settings = ports_[static_cast<std::size_t>(found - ports_.data())].settings;
    settings.baudRate = choice.baudRate;
    settings.dataBits = choice.dataBits;
    settings.stopBits = choice.stopBits;
    if (const auto code = ParityCode(choice.parity)) {
        settings.parity = *code;
    }
    return true;
}

std::optional<std::u16string> PortList::ParityCode(std::u16string_view choice) {
    if (choice == u"EVEN") {
        return u"2";
    }
    if (choice == u"NONE") {
        return u"0";
    }
    if (choice == u"ODD") {
        return u"1";
    }
    return std::nullopt;
}
