#pragma once

#include <filesystem>
#include <optional>
#include <string>

// Where the instrument's content comes from: a folder given with --data, or
// the demo content built into the program (the same files as tools/x4sim/demo).
class ContentFiles {
public:
    static ContentFiles FromDirectory(std::filesystem::path dir);
    static ContentFiles BuiltIn();

    // The bytes of a file by its path relative to the content root ("/" as
    // separator); none when there is no such file.
    std::optional<std::string> Read(const std::string& relative) const;
    // For messages: the folder, or "built-in demo content".
    std::string Origin() const;

private:
    std::optional<std::filesystem::path> dir_;
};
