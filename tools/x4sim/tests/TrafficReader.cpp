#include "TrafficReader.h"

#include <fstream>
#include <regex>

std::string Traffic::Unescaped(const std::string& text) {
    std::string bytes;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 >= text.size()) {
            bytes += text[i];
            continue;
        }
        const char next = text[++i];
        if (next == 'r') {
            bytes += '\r';
        } else if (next == 'n') {
            bytes += '\n';
        } else if (next == 'x') {
            bytes += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            bytes += next;
        }
    }
    return bytes;
}

Traffic Traffic::Read(const std::filesystem::path& log) {
    static const std::regex kLine(R"re(^ *[0-9]+\.[0-9]{3} (PC->X4|X4->PC) "(.*)"$)re");
    Traffic traffic;
    std::ifstream in(log);
    for (std::string line; std::getline(in, line);) {
        std::smatch match;
        if (std::regex_match(line, match, kLine)) {
            (match[1] == "PC->X4" ? traffic.fromPc : traffic.fromInstrument) += Unescaped(match[2]);
        }
    }
    return traffic;
}
