#pragma once

#include "coordbook/BookFormat.h"
#include "coordbook/PointBook.h"

#include <cstddef>
#include <string>
#include <vector>

// What saving a book gives: the file's bytes, or why it cannot be written.
struct BookOutput {
    std::string bytes;
    std::string refusal; // empty when the bytes are the whole file
    // Lines of the book the format has no place for (blocks without a
    // point in a point file, lines without coordinates in a GSI job, lines
    // that could not be read in a file of another format).
    std::vector<std::size_t> leftOut;
};

// Writes a book in a format:
// - its own format: every line as it is, with its own line end; a GSI
//   point whose code differs from the code in force gets a code block
//   before it (and the point after it one with the code before);
// - GSI-8 from GSI-16 and back: every block in the other width, refused
//   with the point named when a word does not fit;
// - a point file from a GSI job: a line per point;
// - a GSI job from a point file: the two job blocks (name and date), then
//   the points with a code block wherever the code changes. The point-file
//   download skips the first two blocks of a job, where the instrument
//   keeps its job information, so a job made from points starts with two.
// Lines that could not be read go only into a file of their own format;
// any other leaves them out and names them.
class BookWriter {
public:
    // fileName: the written file's name without folder and extension, for
    // the job block; date: "DDMMYYYY".
    BookWriter(BookFormat format, std::string fileName, std::string date);

    BookOutput Write(const PointBook& book) const;

    // Today's date as the job block holds it.
    static std::string Today();
    // The job name a file name gives: its printable characters without
    // blanks or leading zeros, as many as a word holds; "JOB" for none.
    static std::string JobName(std::string_view fileName, GsiWidth width);

private:
    void WriteSame(const PointBook& book, BookOutput& output) const;
    void WritePointFile(const PointBook& book, BookOutput& output) const;
    void WriteNewJob(const PointBook& book, BookOutput& output) const;
    // Appends a GSI record, in this width, with a code block before a point
    // whose code is not the one in force.
    bool AppendBlock(const BookRecord& record, bool rewiden, std::string& codeInForce,
                     const char* end, BookOutput& output) const;

    BookFormat format_;
    std::string fileName_;
    std::string date_;
};
