#include "protocol/PortList.h"

#include "platform/ComPortMap.h"
#include "platform/ComPortName.h"

#include <algorithm>
#include <array>

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

PortList PortList::FromSource(Source read, std::vector<std::string> folders) {
    PortList list = FromComPorts(read());
    list.read_ = std::move(read);
    list.folders_ = std::move(folders);
    return list;
}

PortList PortList::System() {
    return FromSource([] { return ComPortMap::System().Ports(); }, ComPortMap::WatchedFolders());
}

bool PortList::Rescan() {
    return read_ ? Update(read_()) : false;
}

bool PortList::Update(const std::vector<ComPort>& now) {
    const auto listed = [&now](const Port& port) {
        return std::any_of(now.begin(), now.end(),
                           [&port](const ComPort& p) { return p.device == port.deviceFile; });
    };
    const std::size_t before = ports_.size();
    ports_.erase(
        std::remove_if(ports_.begin(), ports_.end(), [&](const Port& p) { return !listed(p); }),
        ports_.end());
    bool changed = ports_.size() != before;
    for (const ComPort& port : now) {
        const auto number = ComPortName::Number(port.name);
        const auto known = std::find_if(ports_.begin(), ports_.end(), [&port](const Port& p) {
            return p.deviceFile == port.device;
        });
        if (known != ports_.end()) {
            changed = changed || known->description != port.description;
            known->description = port.description;
        } else if (number) {
            const int free =
                Find(Widen(ComPortName::Format(*number))) == nullptr ? *number : LowestFreeNumber();
            ports_.push_back({PortSettings::Defaults(Widen(ComPortName::Format(free))), port.device,
                              port.description});
            changed = true;
        }
    }
    return changed;
}

int PortList::LowestFreeNumber() const {
    int number = 1;
    while (Find(Widen(ComPortName::Format(number))) != nullptr) {
        ++number;
    }
    return number;
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

namespace {
constexpr std::array<std::u16string_view, 3> kParityChoices = {u"NONE", u"ODD", u"EVEN"};
} // namespace

bool PortList::ApplyChoice(const PortChoice& choice) {
    const Port* found = Find(choice.port);
    if (found == nullptr) {
        return false;
    }
    Port& port = ports_[static_cast<std::size_t>(found - ports_.data())];
    port.configured = true;
    PortSettings& settings = port.settings;
    settings.baudRate = choice.baudRate;
    settings.dataBits = choice.dataBits;
    settings.stopBits = choice.stopBits;
    if (const auto code = ParityCode(choice.parity)) {
        settings.parity = *code;
    }
    return true;
}

std::optional<PortChoice> PortList::StoredChoice(std::u16string_view name) const {
    const Port* port = Find(name);
    if (port == nullptr || !port->configured) {
        return std::nullopt;
    }
    const PortSettings& s = port->settings;
    const std::size_t code =
        s.parity.size() == 1 ? static_cast<std::size_t>(s.parity[0] - u'0') : kParityChoices.size();
    const std::u16string parity =
        code < kParityChoices.size() ? std::u16string(kParityChoices[code]) : std::u16string();
    return PortChoice{s.portName, s.baudRate, parity, s.stopBits, s.dataBits};
}

// The parity codes are the places of the choices: "0" none, "1" odd, "2" even.
std::optional<std::u16string> PortList::ParityCode(std::u16string_view choice) {
    const auto found = std::find(kParityChoices.begin(), kParityChoices.end(), choice);
    if (found == kParityChoices.end()) {
        return std::nullopt;
    }
    return std::u16string(1, static_cast<char16_t>(u'0' + (found - kParityChoices.begin())));
}
