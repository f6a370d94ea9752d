#pragma once

#include <string>
#include <string_view>

// PC paths travel through the program as UTF-16 texts; the file system takes
// UTF-8 bytes.
class LocalPath {
public:
    // A lone surrogate becomes U+FFFD, so every text gives some path.
    static std::string FromWide(std::u16string_view path);
};
