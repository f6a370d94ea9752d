#pragma once

#include "TempFolder.h"
#include "coordbook/BookFormat.h"
#include "coordbook/BookWriter.h"
#include "coordbook/PointBook.h"

#include <memory>
#include <ostream>
#include <string>

// "name code east north height" in test messages.
void PrintTo(const PointValues& values, std::ostream* out);

// Coordinate files for the tests: written into a scratch folder, read by
// BookLoader, written again by BookWriter.
class BookSamples {
public:
    // The book read from a file of that name holding the bytes; fails the
    // test when the file cannot be read at all.
    std::unique_ptr<PointBook> Load(const std::string& name, const std::string& bytes) const;
    // Written in the format as a file named "job" on 14 May 2024.
    static BookOutput Write(const PointBook& book, BookFormat format);

    // A demo job of the simulated instrument: job information, station,
    // code blocks, names with bytes above 0x7F in the job block.
    static std::string DemoJob();
    // Points with codes changing now and then, heights on all but every
    // fourth, 3 to 5 places, written by the suite's own writers.
    static std::string GsiJob(GsiWidth width);
    static std::string PointFile();

private:
    TempFolder folder_;
};
