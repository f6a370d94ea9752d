#include "PortOptions.h"

#include "protocol/PortList.h"

#include <cstdlib>

namespace stationlinkcli {

namespace {

std::u16string Wide(const std::string& ascii) {
    return {ascii.begin(), ascii.end()};
}

bool AllDigits(const std::string& text) {
    return !text.empty() && text.size() <= 9 &&
           text.find_first_not_of("0123456789") == std::string::npos;
}

} // namespace

std::vector<std::string_view> PortOptions::Names() {
    return {"--baud", "--parity", "--stopbits", "--databits", "--timeout", "--log"};
}

std::optional<PortSettings> PortOptions::Apply(PortSettings settings, const CliArguments& args,
                                               std::string& error) {
    if (const auto baud = args.Option("--baud")) {
        if (!AllDigits(*baud)) {
            error = "--baud takes a number, not " + *baud;
            return std::nullopt;
        }
        settings.baudRate = Wide(*baud);
    }
    if (const auto parity = args.Option("--parity")) {
        const auto code = PortList::ParityCode(Wide(*parity));
        if (!code) {
            error = "--parity takes NONE, ODD or EVEN, not " + *parity;
            return std::nullopt;
        }
        settings.parity = *code;
    }
    if (const auto stop = args.Option("--stopbits")) {
        if (*stop != "0" && *stop != "1") {
            error = "--stopbits takes 0 or 1, not " + *stop;
            return std::nullopt;
        }
        settings.stopBits = Wide(*stop);
    }
    if (const auto bits = args.Option("--databits")) {
        if (*bits != "7" && *bits != "8") {
            error = "--databits takes 7 or 8, not " + *bits;
            return std::nullopt;
        }
        settings.dataBits = Wide(*bits);
    }
    return settings;
}

std::optional<std::chrono::milliseconds> PortOptions::IdleTimeout(const CliArguments& args,
                                                                  std::string& error) {
    const std::string text = args.OptionOr("--timeout", "60");
    char* end = nullptr;
    const double seconds = std::strtod(text.c_str(), &end);
    if (end == text.c_str() || *end != '\0' || !(seconds > 0) || seconds > 86400) {
        error = "--timeout takes a number of seconds, not " + text;
        return std::nullopt;
    }
    return std::chrono::milliseconds(static_cast<long long>(seconds * 1000));
}

} // namespace stationlinkcli
