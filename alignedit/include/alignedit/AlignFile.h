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

    // Replaces the file's content with bytes. A regular file (or a new one)
    // is written to a temporary file beside it, synced and renamed over it,
    // so a crash or a full disk never leaves a truncated file; the old
    // file's mode, owner and group carry over and a symbolic link keeps
    // pointing at the file it names. Where a rename is not possible or would
    // change the file (a folder the user cannot write, a file with several
    // hard links, one the new file could not give the old owner and group)
    // and for other existing files (devices) the file is written in place,
    // which keeps its mode, owner and links. Returns an empty string on
    // success, else the reason (the last way tried); a failure of the
    // temporary file for any other reason leaves the old file as it was.
    static std::string Store(const std::string& path, std::string_view bytes);
};
