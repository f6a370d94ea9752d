#include "routebook/AlignmentLines.h"

AlignmentLines AlignmentLines::Split(std::string_view bytes) {
    AlignmentLines result;
    std::size_t begin = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n') {
            continue;
        }
        std::size_t endSize = (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ? 2 : 1;
        result.lines.push_back(
            {std::string(bytes.substr(begin, i - begin)), std::string(bytes.substr(i, endSize))});
        i += endSize - 1;
        begin = i + 1;
    }
    if (begin < bytes.size()) {
        result.lines.push_back({std::string(bytes.substr(begin)), std::string()});
    }
    return result;
}

std::string AlignmentLines::Join() const {
    std::string out;
    for (const Line& line : lines) {
        out += line.text;
        out += line.end;
    }
    return out;
}

std::string AlignmentLines::NewLineEnd() const {
    for (const Line& line : lines) {
        if (!line.end.empty()) {
            return line.end;
        }
    }
    return "\r\n";
}
