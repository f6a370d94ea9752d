#include "fielddata/FieldFileError.h"

namespace {
constexpr std::size_t kQuotedChars = 32;
} // namespace

std::string FieldFileError::Quote(std::string_view text) {
    std::string quoted = "\"";
    for (char c : text.substr(0, kQuotedChars)) {
        const auto byte = static_cast<unsigned char>(c);
        quoted += byte < 0x20 || byte >= 0x7F ? '?' : c;
    }
    return quoted + (text.size() > kQuotedChars ? "...\"" : "\"");
}
