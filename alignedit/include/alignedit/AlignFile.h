#pragma once

#include <cstddef>
#include <string>

// Reading a document's file as raw bytes; every failure comes back as a
// reason the user can read. Saving goes through SafeFileStore.
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
};
