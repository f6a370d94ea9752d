#pragma once

#include "fielddata/ExactCoordinates.h"
#include "fielddata/SurveyPoint.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// One line of a coordinate file as coordbook keeps it: its text exactly
// as the file held it (or as an edit made it) and its own line end, so a
// file saved unchanged comes back byte for byte.
struct BookRecord {
    enum class Kind : std::uint8_t {
        Point, // a point with easting and northing
        Code,  // a GSI code block: the code of the points after it
        Other, // a line or block without a point: kept as it is
        Bad,   // a line the file kind cannot hold: kept and reported
    };
    // Cr: CR alone. None: a last line without a line end. Joined: a block
    // followed by another block on the same line.
    enum class End : std::uint8_t { CrLf, Lf, Cr, None, Joined };

    std::string text; // without its line end
    End end = End::CrLf;
    Kind kind = Kind::Other;
    // 1-based line of the file it was read from; 0 for a new record.
    std::size_t line = 0;
    // Points: name, code and coordinates as numbers for showing and
    // drawing them, and whether they were computed from an observation.
    // Code blocks: their code.
    SurveyPoint point;
    // Points: the coordinates digit for digit.
    ExactCoordinates exact;

    bool IsPoint() const { return kind == Kind::Point; }
    // Makes the record a point with these values, given by the file (no
    // longer computed).
    void SetPoint(std::string_view name, std::string_view code, const ExactCoordinates& at);
    static const char* EndBytes(End end) {
        return end == End::CrLf ? "\r\n" : end == End::Lf ? "\n" : end == End::Cr ? "\r" : "";
    }
};
