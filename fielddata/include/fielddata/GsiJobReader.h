#pragma once

#include "fielddata/FieldLineReader.h"
#include "fielddata/GsiBlock.h"
#include "fielddata/PolarReduction.h"

#include <string>
#include <vector>

// The blocks of a GSI-8 or GSI-16 job as instruments and download programs
// write them: one block per line, or several on one line. A block with an
// easting (81) and a northing (82) is a point, named by its word 11, with
// the height of its word 83 when there is one; the code of the last code
// block (41) applies to the points after it. A station set-up (84, 85,
// 86) is handed on as a point of its own, and observations after it are
// reduced to points from it, with the latest instrument (88) and target
// (87) heights. Observations before any set-up are placed from a station
// at 0,0,0 when the file holds no coordinates at all, and reported
// otherwise. Other blocks are handed on as skipped, and so is each block
// that cannot be read, with the reason; the rest of the line is read.
class GsiJobReader final : public FieldLineReader {
public:
    explicit GsiJobReader(PointSink& sink);

    // Never refuses a line: what cannot be read is handed on as skipped.
    bool ReadLine(std::string_view line, std::size_t number, std::string& reason) override;
    // Places the observations still waiting for a set-up from 0,0,0.
    void Finish() override;

private:
    // An observation read before any coordinates, kept until the file
    // tells whether it holds coordinates.
    struct Waiting {
        std::string name;
        std::string code;
        PolarReduction::Polar polar;
        double instrumentHeight;
        double targetHeight;
        std::size_t line;
    };

    void ReadBlock(std::string_view text, std::size_t number);
    void TakeHeights();
    void SetUp(std::size_t number);
    void Observe(std::size_t number);
    void SawCoordinates();
    void EmitGiven(std::size_t number);
    void Emit(SurveyPoint::Origin origin, std::size_t number);

    GsiBlock block_;
    std::string code_;
    SurveyPoint point_;
    std::optional<PolarReduction::Station> station_;
    double instrumentHeight_ = 0;
    double targetHeight_ = 0;
    bool coordinates_ = false;
    std::vector<Waiting> waiting_;
};
