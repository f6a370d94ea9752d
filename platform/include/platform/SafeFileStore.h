#pragma once

#include <string>
#include <string_view>

// Replaces a file's content so that a crash, a full disk or a write error
// never leaves the file truncated, and keeps what the file is to its
// owner: used by every program that saves a document.
class SafeFileStore {
public:
    // A regular file (or a new one) is written to a temporary file beside
    // it, synced and renamed over it; the old file's mode, owner and group
    // carry over and a symbolic link keeps pointing at the file it names.
    // Where a rename is not possible or would change the file (a folder the
    // user cannot write, a file with several hard links, one the new file
    // could not give the old owner and group) and for other existing files
    // (devices) the file is written in place, which keeps its mode, owner
    // and links. Returns an empty string on success, else the reason (the
    // last way tried); a failure of the temporary file for any other reason
    // leaves the old file as it was.
    static std::string Replace(const std::string& path, std::string_view bytes);
};
