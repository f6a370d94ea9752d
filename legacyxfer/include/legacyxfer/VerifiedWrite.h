#pragma once

#include <string>
#include <string_view>

// Writes a file that must arrive whole: to a temporary file beside the
// target first, then under its name (never over an existing file unless
// overwrite is given, and without a window in which another file could be
// replaced), then read back and compared. A copy that reads back
// differently is removed again and reported.
class VerifiedWrite {
public:
    enum class Status { Written, Refused, Failed };

    struct Result {
        Status status = Status::Failed;
        std::string message;
    };

    static Result Write(const std::string& path, std::string_view bytes, bool overwrite);
    // Copies source to target the same way, comparing with the source.
    static Result Copy(const std::string& source, const std::string& target, bool overwrite);
};
