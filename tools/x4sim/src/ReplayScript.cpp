#include "ReplayScript.h"

#include <fstream>
#include <sstream>

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

// The bytes between the quotes, escapes undone; none for a broken quote.
std::optional<std::string> Unquote(const std::string& text) {
    if (text.size() < 2 || text.front() != '"' || text.back() != '"') {
        return std::nullopt;
    }
    std::string bytes;
    const std::size_t end = text.size() - 1; // the closing quote
    for (std::size_t i = 1; i < end; ++i) {
        if (text[i] != '\\') {
            bytes += text[i];
            continue;
        }
        if (++i >= end) {
            return std::nullopt;
        }
        switch (text[i]) {
        case 'r':
            bytes += '\r';
            break;
        case 'n':
            bytes += '\n';
            break;
        case '"':
        case '\\':
            bytes += text[i];
            break;
        case 'x': {
            const int high = i + 2 < end ? HexDigit(text[i + 1]) : -1;
            const int low = i + 2 < end ? HexDigit(text[i + 2]) : -1;
            if (high < 0 || low < 0) {
                return std::nullopt;
            }
            bytes += static_cast<char>(high * 16 + low);
            i += 2;
            break;
        }
        default:
            return std::nullopt;
        }
    }
    return bytes;
}

} // namespace

std::optional<ReplayScript> ReplayScript::Parse(const std::string& log, std::string& why) {
    ReplayScript script;
    std::string pending; // PC bytes not yet cut into a line
    std::istringstream in(log);
    int number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        std::istringstream fields(line);
        std::string ms;
        std::string direction;
        fields >> ms >> direction;
        if (direction != "PC->X4" && direction != "X4->PC") {
            continue; // a remark of the program's own, or an empty line
        }
        std::string quoted;
        std::getline(fields >> std::ws, quoted);
        const auto bytes = Unquote(quoted);
        if (!bytes) {
            why = "line " + std::to_string(number) + ": the bytes cannot be read";
            return std::nullopt;
        }
        if (direction == "X4->PC") {
            if (!script.exchanges_.empty()) {
                script.exchanges_.back().answer += *bytes;
            }
            continue;
        }
        pending += *bytes;
        for (std::size_t end = pending.find('\n'); end != std::string::npos;
             end = pending.find('\n')) {
            script.exchanges_.push_back({pending.substr(0, end + 1), {}});
            pending.erase(0, end + 1);
        }
    }
    return script;
}

std::optional<ReplayScript> ReplayScript::Load(const std::string& path, std::string& why) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        why = path + ": cannot read the log";
        return std::nullopt;
    }
    std::ostringstream text;
    text << in.rdbuf();
    auto script = Parse(text.str(), why);
    if (!script) {
        why = path + ": " + why;
    }
    return script;
}

std::optional<std::string> ReplayScript::Answer(const std::string& line) {
    for (std::size_t i = next_; i < exchanges_.size(); ++i) {
        if (exchanges_[i].sent == line) {
            next_ = i + 1;
            return exchanges_[i].answer;
        }
    }
    return std::nullopt;
}
