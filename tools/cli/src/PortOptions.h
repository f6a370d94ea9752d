#pragma once

#include "CliArguments.h"

#include "protocol/PortSettings.h"

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace stationlinkcli {

// The port options of the instrument commands (--baud, --parity,
// --stopbits, --databits), the idle time-out (--timeout) and the traffic log
// (--log FILE).
class PortOptions {
public:
    // The option names, to be listed in a command's syntax.
    static std::vector<std::string_view> Names();
    // The record with the options applied; none (and error set) for a value
    // the port cannot take.
    static std::optional<PortSettings> Apply(PortSettings settings, const CliArguments& args,
                                             std::string& error);
    // --timeout in seconds (default 60); none for a value that is not a
    // positive number.
    static std::optional<std::chrono::milliseconds> IdleTimeout(const CliArguments& args,
                                                                std::string& error);
};

} // namespace stationlinkcli
