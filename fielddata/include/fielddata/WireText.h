#pragma once

#include <optional>
#include <string>
#include <string_view>

// The way back from Unicode to the bytes of the wire code page, for texts
// typed on the PC that go to the instrument.
class WireText {
public:
    // nullopt when the text is no valid UTF-8 or holds a character the wire
    // code page cannot carry (it would arrive as something else).
    static std::optional<std::string> FromUtf8(std::string_view utf8);
    // UTF-8 decoded to UTF-16; nullopt for malformed bytes.
    static std::optional<std::u16string> Utf8ToUtf16(std::string_view utf8);
};
