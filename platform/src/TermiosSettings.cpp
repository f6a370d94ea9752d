#include "platform/TermiosSettings.h"

#include "platform/CMiniDCB.h"

#include <array>
#include <charconv>
#include <utility>

namespace {

struct Speed {
    long baud;
    speed_t constant;
};

constexpr std::array<Speed, 26> kSpeeds = {{
    {50, B50},           {75, B75},           {110, B110},         {134, B134},
    {150, B150},         {200, B200},         {300, B300},         {600, B600},
    {1200, B1200},       {1800, B1800},       {2400, B2400},       {4800, B4800},
    {9600, B9600},       {19200, B19200},     {38400, B38400},     {57600, B57600},
    {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
    {576000, B576000},   {921600, B921600},   {1000000, B1000000}, {1152000, B1152000},
    {1500000, B1500000}, {2000000, B2000000},
}};

std::optional<long> Decimal(const std::string& text) {
    long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

} // namespace

std::optional<speed_t> TermiosSettings::SpeedOf(long baud) {
    for (const Speed& speed : kSpeeds) {
        if (speed.baud == baud) {
            return speed.constant;
        }
    }
    return std::nullopt;
}

std::string TermiosSettings::Apply(const CMiniDCB& dcb, termios& state) {
    const auto baud = Decimal(dcb.baudRate);
    const auto speed = baud ? SpeedOf(*baud) : std::nullopt;
    if (!speed) {
        return "unsupported baud rate \"" + dcb.baudRate + "\"";
    }
    const auto dataBits = Decimal(dcb.dataBits);
    if (dataBits != 7 && dataBits != 8) {
        return "unsupported number of data bits \"" + dcb.dataBits + "\" (7 or 8)";
    }
    if (dcb.parity < 0 || dcb.parity > 2) {
        return "unsupported parity code " + std::to_string(dcb.parity) + " (0 none, 1 odd, 2 even)";
    }
    if (dcb.flowControl < 0 || dcb.flowControl > 2) {
        return "unsupported flow control code " + std::to_string(dcb.flowControl) +
               " (0 none, 1 XON/XOFF, 2 RTS/CTS)";
    }
    if (dcb.stopBits < 0 || dcb.stopBits > 1) {
        return "unsupported stop-bits code " + std::to_string(dcb.stopBits) +
               " (0 one stop bit, 1 two)";
    }
    cfmakeraw(&state);
    state.c_cflag &= ~(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS);
    state.c_cflag |= CLOCAL | CREAD | (dataBits == 7 ? CS7 : CS8);
    if (dcb.parity != 0) {
        state.c_cflag |= PARENB | (dcb.parity == 1 ? PARODD : 0);
    }
    if (dcb.stopBits == 1) {
        state.c_cflag |= CSTOPB;
    }
    if (dcb.flowControl == 1) {
        state.c_iflag |= IXON | IXOFF;
        state.c_cc[VSTART] = 0x11;
        state.c_cc[VSTOP] = 0x13;
    } else if (dcb.flowControl == 2) {
        state.c_cflag |= CRTSCTS;
    }
    if (dcb.markLineErrors) {
        // Without INPCK the driver passes bad bytes unmarked; a break would
        // otherwise read as a plain NUL.
        state.c_iflag |= INPCK | PARMRK;
        state.c_iflag &= ~(IGNPAR | IGNBRK | BRKINT | ISTRIP);
    }
    state.c_cc[VMIN] = 1;
    state.c_cc[VTIME] = 0;
    cfsetispeed(&state, *speed);
    cfsetospeed(&state, *speed);
    return {};
}

int TermiosSettings::BitsPerCharacter(const CMiniDCB& dcb) {
    const int dataBits = Decimal(dcb.dataBits).value_or(8) == 7 ? 7 : 8;
    return 1 + dataBits + (dcb.parity != 0 ? 1 : 0) + (dcb.stopBits == 1 ? 2 : 1);
}
