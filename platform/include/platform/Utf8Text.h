#pragma once

#include <string>
#include <string_view>

// UTF-16 texts as UTF-8 bytes, for the file system and for libraries that
// take UTF-8.
class Utf8Text {
public:
    // A lone surrogate becomes U+FFFD, so every text gives some bytes.
    static std::string FromUtf16(std::u16string_view text);
};
