#pragma once

#include <optional>
#include <string>
#include <termios.h>

struct CMiniDCB;

// Turns the connection parameters of a port into a raw-mode termios state:
// no echo, no line editing, the receiver on and modem status lines ignored;
// flow control and the marking of line errors only when asked for.
class TermiosSettings {
public:
    // The speed constant of a baud rate the system knows; none otherwise.
    static std::optional<speed_t> SpeedOf(long baud);
    // Writes the parameters into state; returns an empty text, or why the
    // parameters cannot be used.
    static std::string Apply(const CMiniDCB& dcb, termios& state);
    // Bits on the wire per character: start bit, data bits, parity, stop bits.
    static int BitsPerCharacter(const CMiniDCB& dcb);
};
