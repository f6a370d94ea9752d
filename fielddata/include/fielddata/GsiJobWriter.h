#pragma once

#include "fielddata/ExactCoordinates.h"
#include "fielddata/GsiWord.h"
#include "fielddata/SurveyPoint.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Writes points as the blocks of a GSI job, one block per line ended by
// CR LF, each word ended by a blank: a code block (41) whenever the code
// changes from the point before, then the point block with its name (11),
// easting (81), northing (82) and, when known, height (83). GSI-16 blocks
// start with "*". Blocks are numbered 1 to 9999 and round again.
class GsiJobWriter {
public:
    explicit GsiJobWriter(GsiWidth width);

    // Coordinates keep the point's places: 3 in millimetres, 4 in tenths
    // and 5 in hundredths of a millimetre (fewer places are written as
    // millimetres, more are rounded to 5). False, and nothing appended,
    // when the name, the code or a coordinate does not fit the width.
    bool AppendPoint(const SurveyPoint& point, std::string& out);
    // Each coordinate with its own places, in the millimetre units that
    // hold them; more than 5 places do not fit.
    bool AppendPoint(std::string_view name, std::string_view code, const ExactCoordinates& at,
                     std::string& out);

    // Single blocks without their line end, for a job written elsewhere;
    // nullopt when a word does not fit. Each takes the next block number.
    std::optional<std::string> CodeBlock(std::string_view code);
    std::optional<std::string> PointBlock(std::string_view name, const ExactCoordinates& at);
    // The next block written takes the number after this one.
    void ContinueAfter(int blockNumber) { block_ = blockNumber; }

private:
    using Words = std::vector<std::optional<std::string>>;

    std::optional<std::string> Block(const Words& words) const;
    std::optional<std::string> LengthWord(const char* index, const FixedDecimal& value) const;
    std::string NextHead(const char* index);

    GsiWidth width_;
    std::string code_;
    int block_ = 0;
};
