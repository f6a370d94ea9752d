#pragma once

#include "fielddata/GsiWord.h"
#include "fielddata/SurveyPoint.h"

#include <optional>
#include <string>
#include <vector>

// Writes points as the blocks of a GSI job, one block per line ended by
// CR LF, each word ended by a blank: a code block (41) whenever the code
// changes from the point before, then the point block with its name (11),
// easting (81), northing (82) and, when known, height (83). GSI-16 blocks
// start with "*". Coordinates keep the point's places: 3 in millimetres,
// 4 in tenths and 5 in hundredths of a millimetre (fewer places are
// written as millimetres, more are rounded to 5).
class GsiJobWriter {
public:
    explicit GsiJobWriter(GsiWidth width);

    // False, and nothing appended, when the name, the code or a
    // coordinate does not fit the width.
    bool AppendPoint(const SurveyPoint& point, std::string& out);

private:
    using Words = std::vector<std::optional<std::string>>;

    bool AppendBlock(const Words& words, std::string& out) const;
    bool AppendPointBlock(const SurveyPoint& point, std::string& out);
    std::optional<std::string> LengthWord(const char* index, double value, int places) const;
    std::string NextHead(const char* index);

    GsiWidth width_;
    std::string code_;
    int block_ = 0;
};
