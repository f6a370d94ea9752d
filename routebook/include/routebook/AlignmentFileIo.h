#pragma once

#include <string>

// Reading and writing the files routebook works with, and their kinds by
// extension (any case).
class AlignmentFileIo {
public:
    enum class Kind { Hal, Val, LandXml, Csv, Gsi, Unknown };

    static Kind KindOf(const std::string& path);
    // The whole file; false with the reason in error. Files above kMaxBytes
    // (and endless devices) are refused.
    static bool Read(const std::string& path, std::string& bytes, std::string& error);
    // Replaces path only when overwrite is set or there is no such file, and
    // never leaves a half-written file under its name. Empty on success,
    // else the reason.
    static std::string Write(const std::string& path, const std::string& bytes, bool overwrite);

    static constexpr std::size_t kMaxBytes = 64u << 20;
};
