#pragma once

#include "codebook/CodeBook.h"
#include "codebook/CodeFormat.h"
#include "codebook/CodeListCheck.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Books on disk in any of their formats: the format of a file read is told
// from its content, the one written from the caller. Saving checks first
// and replaces the file only as a whole.
class CodeBookFile {
public:
    struct Loaded {
        std::optional<CodeBookRead> read; // nullopt: the file could not be read
        CodeFormat format = CodeFormat::Book;
        std::string error;
    };
    struct Saved {
        std::vector<CodeListCheck::Refusal> refusals; // nothing written when any
        std::string error;                            // the file system's refusal
        bool Ok() const { return refusals.empty() && error.empty(); }
    };

    static Loaded Load(const std::string& path);
    static CodeBookRead Parse(std::string_view bytes, CodeFormat format);
    static std::string Render(const CodeBook& book, CodeFormat format);
    static Saved Save(const std::string& path, const CodeBook& book, CodeFormat format);
};
