#pragma once

#include "fielddata/FieldLineReader.h"
#include "fielddata/GsiBlock.h"

#include <string>

// The blocks of a GSI-8 or GSI-16 job as the instrument writes them, one
// block per line, words ended by blanks. A block with an easting (81) and a
// northing (82) is a point, named by its word 11, with the height of its
// word 83 when there is one; the code of the last code block (41) applies
// to the points after it. Other blocks are handed on as skipped: point
// blocks with angles and distances only, station set-ups (84..88), and
// anything else such as job information.
class GsiJobReader final : public FieldLineReader {
public:
    explicit GsiJobReader(PointSink& sink);

    // A line that holds a word which is not a GSI word, or a coordinate
    // word that is not a length, is refused. Empty lines are passed over.
    bool ReadLine(std::string_view line, std::size_t number, std::string& reason) override;

private:
    GsiBlock block_;
    std::string code_;
    SurveyPoint point_;
};
