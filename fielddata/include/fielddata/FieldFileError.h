#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Why a field file, or a line of it, could not be read: the 1-based line
// (0 for the file as a whole) and the reason in words.
struct FieldFileError {
    std::size_t line = 0;
    std::string reason;

    // "line 7: ..." or the reason alone.
    std::string Text() const {
        return line == 0 ? reason : "line " + std::to_string(line) + ": " + reason;
    }

    // A piece of a line for a reason: quoted, at most 32 characters,
    // anything unprintable shown as "?".
    static std::string Quote(std::string_view text);
};
