#include "fielddata/FieldText.h"

#include "platform/CodePage.h"

#include <algorithm>

namespace {

bool IsAscii(std::string_view bytes) {
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

void AppendUtf8(char32_t c, std::string& out) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

bool IsHighSurrogate(char16_t c) {
    return c >= 0xD800 && c < 0xDC00;
}

bool IsLowSurrogate(char16_t c) {
    return c >= 0xDC00 && c < 0xE000;
}

} // namespace

std::u16string FieldText::ToUtf16(std::string_view bytes) {
    return CodePage::Wire().ToWide(bytes);
}

std::string FieldText::ToUtf8(std::string_view bytes) {
    // Most names are plain ASCII, which every code page keeps as it is.
    if (IsAscii(bytes)) {
        return std::string(bytes);
    }
    const std::u16string wide = ToUtf16(bytes);
    std::string out;
    for (std::size_t i = 0; i < wide.size(); ++i) {
        char32_t c = wide[i];
        if (IsHighSurrogate(wide[i]) && i + 1 < wide.size() && IsLowSurrogate(wide[i + 1])) {
            c = 0x10000 + ((c - 0xD800) << 10) + (wide[++i] - 0xDC00);
        }
        AppendUtf8(c, out);
    }
    return out;
}
