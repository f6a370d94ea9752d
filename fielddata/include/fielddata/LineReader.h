#pragma once

#include "fielddata/FieldFileError.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

// Reads a text file line by line in fixed chunks, so memory stays the same
// whatever the file's size. Lines end with CR LF, LF or CR alone, as field
// files written by instruments and older download programs do; a last
// line without an end counts too.
class LineReader {
public:
    enum class End { CrLf, Lf, Cr, None };

    struct Line {
        std::string_view text; // without its line end
        End end = End::None;
        std::size_t number = 0; // 1-based
    };

    // False, with the reason filled in, stops the reading at that line.
    using Handler = std::function<bool(const Line& line, std::string& reason)>;

    // nullopt when every line was handed over and accepted. A missing or
    // unreadable file, anything but a regular file, an empty file, a line
    // longer than kMaxLineBytes and a NUL byte anywhere but in the padding
    // at a line's end (a binary file) are errors.
    static std::optional<FieldFileError> Read(const std::string& path, const Handler& handler);

    // The line without the DOS end-of-file bytes (0x1A) and NUL bytes that
    // old programs leave at the end of a file.
    static std::string_view WithoutPadding(std::string_view text);

    // Room for a few thousand blocks written on one line.
    static constexpr std::size_t kMaxLineBytes = 4 * 1024 * 1024;
    static constexpr std::size_t kChunkBytes = 256 * 1024;
};
