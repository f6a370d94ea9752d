#pragma once

#include <string>
#include <string_view>
#include <vector>

// A file's bytes as lines, each with the line end it had (CR LF, LF, CR
// alone or none at the very end), so that joining them again gives the
// same bytes and an edited line keeps its neighbours' bytes untouched.
class AlignmentLines {
public:
    struct Line {
        std::string text;
        std::string end;
    };

    static AlignmentLines Split(std::string_view bytes);
    std::string Join() const;

    // The line end new lines take: the first one the file uses, CR LF in an
    // empty file (the instrument's own).
    std::string NewLineEnd() const;

    std::vector<Line> lines;
};
