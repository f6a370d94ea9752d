#include "fielddata/FieldLineReader.h"

namespace {
constexpr std::size_t kQuotedChars = 32;
} // namespace

std::string_view FieldLineReader::WithoutCr(std::string_view line) {
    return line.ends_with('\r') ? line.substr(0, line.size() - 1) : line;
}

std::string FieldLineReader::Quote(std::string_view text) {
    std::string quoted = "\"";
    for (char c : text.substr(0, kQuotedChars)) {
        const auto byte = static_cast<unsigned char>(c);
        quoted += byte < 0x20 || byte >= 0x7F ? '?' : c;
    }
    return quoted + (text.size() > kQuotedChars ? "...\"" : "\"");
}
