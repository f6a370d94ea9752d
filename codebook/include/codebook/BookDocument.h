#pragma once

#include "codebook/CodeBook.h"

#include <string>
#include <string_view>

// The codebook's own document: UTF-8 text, one "key value" line per field,
// a "code" line opening each code, so that a change shows as a changed line
// in a diff. Layout in docs/codebook-manager.md.
class BookDocument {
public:
    static CodeBookRead Read(std::string_view bytes);
    static std::string Write(const CodeBook& book);

    static constexpr std::string_view kMagic = "codebook 1";
};
