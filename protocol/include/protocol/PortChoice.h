#pragma once

#include <string>

// What the user picked in the communication settings dialog, as the texts
// shown there (parity as "EVEN", "NONE" or "ODD").
struct PortChoice {
    std::u16string port;
    std::u16string baudRate;
    std::u16string parity;
    std::u16string stopBits;
    std::u16string dataBits;
};
