#pragma once

#include "coordbook/BookFormat.h"
#include "coordbook/BookWriter.h"
#include "coordbook/PointBook.h"

#include <string>

// Saving a book into a file, for the window and the command line alike.
class BookFile {
public:
    // The bytes of the file at path in the format; a GSI job made from a
    // point file is named after the file and dated today.
    static BookOutput Render(const PointBook& book, const std::string& path, BookFormat format);
    // Replaces the file with the bytes (SafeFileStore: the old file stays
    // whole when the write fails); empty, or the reason.
    static std::string Store(const std::string& path, const BookOutput& output);
    // "3 lines without a point are not written to a point file (lines 1,
    // 2, 5)"; empty when none are left out.
    static std::string LeftOutNote(const BookOutput& output, BookFormat format);
};
