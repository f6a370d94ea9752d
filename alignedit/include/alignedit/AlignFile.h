#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Reading and writing a document's file as raw bytes. Every failure comes
// back as a reason the user can read; nothing is written half-way.
class AlignFile {
public:
    // Alignment files are a few kilobytes; anything this large is no text
    // the editor could show.
    static constexpr std::size_t kMaxBytes = 4 * 1024 * 1024;

    struct Loaded {
        bool ok = false;
        std::string bytes;
        std::string error;
    };

    // The whole file, or why it cannot be read.
    static Loaded Load(const std::string& path);

    // Replaces the file's content with bytes, or leaves the old file exactly
    // as it was and returns the reason. A regular file (or a new one) is
    // written to a temporary file beside it, synced and renamed over it, so
    // a crash or a full disk never leaves a truncated file; a symbolic link
    // keeps pointing at the file it names. Other existing files (devices)
    // are written in place. Returns an empty string on success.
    static std::string Store(const std::string& path, std::string_view bytes);
};
