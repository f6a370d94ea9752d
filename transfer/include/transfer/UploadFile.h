#pragma once

#include <cstddef>
#include <string>
#include <vector>

// A PC file read for an upload: its lines in the wire code page, or why it
// cannot be sent.
struct UploadFile {
    enum class Status {
        Read,        // lines holds the file's lines
        Empty,       // the file holds no byte: the upload has no data line
        Unreadable,  // missing, forbidden, a folder or not a regular file
        LineTooLong, // a line does not fit the engine's send buffer
    };

    Status status = Status::Unreadable;
    std::vector<std::u16string> lines; // without their line ends
    std::string error;                 // a sentence for Unreadable and LineTooLong
    std::size_t longLine = 0;          // 1-based number of the first line too long

    bool Ok() const { return status == Status::Read || status == Status::Empty; }
};
