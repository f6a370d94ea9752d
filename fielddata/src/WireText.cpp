#include "fielddata/WireText.h"

#include "platform/CodePage.h"

#include <algorithm>

std::optional<std::u16string> WireText::Utf8ToUtf16(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const int extra = lead < 0x80    ? 0
                          : lead >= 0xF0 ? 3
                          : lead >= 0xE0 ? 2
                          : lead >= 0xC2 ? 1
                                         : -1;
        if (extra < 0 || lead > 0xF4 || i + static_cast<std::size_t>(extra) >= utf8.size()) {
            return std::nullopt;
        }
        char32_t cp = extra == 0 ? lead : lead & (0x3F >> extra);
        for (int k = 1; k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(utf8[i + k]);
            if ((next & 0xC0) != 0x80) {
                return std::nullopt;
            }
            cp = (cp << 6) | (next & 0x3F);
        }
        // Overlong forms, surrogates and values past Unicode are not text.
        static constexpr char32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
        if (cp < kLeast[extra] || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) {
            return std::nullopt;
        }
        if (cp >= 0x10000) {
            out.push_back(static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
        i += static_cast<std::size_t>(extra) + 1;
    }
    return out;
}

std::optional<std::string> WireText::FromUtf8(std::string_view utf8) {
    if (std::all_of(utf8.begin(), utf8.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
        return std::string(utf8);
    }
    const auto wide = Utf8ToUtf16(utf8);
    if (!wide) {
        return std::nullopt;
    }
    const CodePage& page = CodePage::Wire();
    std::string bytes = page.ToAnsi(*wide);
    // The code page writes '?' for what it cannot hold: only a text that
    // comes back the same has really been carried.
    if (page.ToWide(bytes) != *wide) {
        return std::nullopt;
    }
    return bytes;
}
