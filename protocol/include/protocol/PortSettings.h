#pragma once

#include <string>

// The communication settings of one serial port, as texts. Every port starts
// from the defaults at each program start; nothing is stored between runs.
struct PortSettings {
    std::u16string portName; // "COM%d"
    std::u16string baudRate = u"19200";
    std::u16string stopBits = u"0"; // code: "0" one stop bit, "1" two
    std::u16string parity = u"0";   // code: "0" none, "1" odd, "2" even
    std::u16string dataBits = u"8"; // "7" or "8"

    static PortSettings Defaults(std::u16string portName);
};
