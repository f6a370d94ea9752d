#pragma once

#include "fielddata/FieldFileError.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

// Reads a text file line by line in fixed chunks, so memory stays the same
// whatever the file's size. A line is handed over without its LF (a CR
// before it stays); a last line without LF counts too.
class LineReader {
public:
    // False, with the reason filled in, stops the reading at that line.
    using Handler =
        std::function<bool(std::string_view line, std::size_t number, std::string& reason)>;

    // nullopt when every line was handed over and accepted. A missing or
    // unreadable file, anything but a regular file, an empty file, a line
    // longer than kMaxLineBytes and a line holding a NUL byte (a binary
    // file) are errors. lastLineEnded, when given, tells whether the file
    // ends with a line end.
    static std::optional<FieldFileError> Read(const std::string& path, const Handler& handler,
                                              bool* lastLineEnded = nullptr);

    static constexpr std::size_t kMaxLineBytes = 64 * 1024;
    static constexpr std::size_t kChunkBytes = 256 * 1024;
};
