#include "codebook/TextLines.h"

TextLines TextLines::Split(std::string_view bytes) {
    TextLines result;
    bool endSeen = false;
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < bytes.size()) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n') {
            ++i;
            continue;
        }
        const std::size_t endSize =
            c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n' ? 2 : 1;
        if (!endSeen) {
            result.lineEnd = std::string(bytes.substr(i, endSize));
            endSeen = true;
        }
        result.lines.push_back(bytes.substr(start, i - start));
        i += endSize;
        start = i;
    }
    result.finalLineEnd = start == bytes.size();
    if (!result.finalLineEnd) {
        result.lines.push_back(bytes.substr(start));
    }
    return result;
}
