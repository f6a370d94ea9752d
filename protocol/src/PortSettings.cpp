#include "protocol/PortSettings.h"

PortSettings PortSettings::Defaults(std::u16string portName) {
    PortSettings settings;
    settings.portName = std::move(portName);
    return settings;
}
