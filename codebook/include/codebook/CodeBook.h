#pragma once

#include "codebook/FeatureCode.h"

#include <string>
#include <vector>

// A line of a file that could not be read: skipped and named, never the
// reason to drop the whole file.
struct SkippedLine {
    std::size_t line = 0; // 1-based
    std::string reason;
};

// The codes of one book in their order, and what a file they came from
// looked like, so that saving it again writes the same bytes.
struct CodeBook {
    std::string name; // the code list's name (IDEX "CODELIST")
    std::vector<FeatureCode> codes;
    std::string lineEnd = "\r\n"; // of the file read; new lists use CR LF
    bool finalLineEnd = true;     // whether its last line was ended

    // The position of the first code spelled exactly so; -1 when none.
    long Find(const std::string& code) const;
};

// A file read: the book and the lines skipped on the way.
struct CodeBookRead {
    CodeBook book;
    std::vector<SkippedLine> skipped;
};
