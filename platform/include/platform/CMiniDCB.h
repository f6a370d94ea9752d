#pragma once

#include <string>

// Connection parameters of a serial port.
struct CMiniDCB {
    std::string portName;   // "COM%d"; mapped to a device file by the port map
    std::string deviceFile; // the device to open; empty: the port map's for portName
    std::string baudRate;   // decimal text, "19200"
    std::string dataBits;   // "7" or "8"
    int readIntervalMs = 0; // quiet time that ends a burst; 0: two character times
    int stopBits = 0;       // 0 one stop bit, 1 two stop bits
    int parity = 0;         // 0 none, 1 odd, 2 even
    int flowControl = 0;    // 0 none, 1 XON/XOFF, 2 RTS/CTS
    // Parity and framing errors and breaks arrive marked in the data (0xFF
    // 0x00 before the byte, a real 0xFF doubled); LineErrorMarks reads them.
    bool markLineErrors = false;
};
