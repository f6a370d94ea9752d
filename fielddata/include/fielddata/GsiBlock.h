#pragma once

#include "fielddata/FixedDecimal.h"
#include "fielddata/GsiWord.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One block of a GSI-8 or GSI-16 job: words, each ended by a blank, read
// with where every word sits in the line so that a block can be changed
// word by word. The last word of an index counts when a block holds it
// twice.
class GsiBlock {
public:
    enum WordIndex {
        kPointName = 11,
        kJobName = 13,
        kJobDate = 19,
        kHorizontalAngle = 21,
        kZenithAngle = 22,
        kSlopeDistance = 31,
        kHorizontalDistance = 32,
        kHeightDifference = 33,
        kCode = 41,
        kEast = 81,
        kNorth = 82,
        kHeight = 83,
        kStationEast = 84,
        kStationNorth = 85,
        kStationHeight = 86,
        kTargetHeight = 87,
        kInstrumentHeight = 88,
    };

    enum class Kind {
        Empty,         // no words
        Code,          // first word 41: the code of the points after it
        Point,         // an easting (81) and a northing (82)
        StationSetup,  // station coordinates (84, 85) without a point
        Observation,   // a horizontal angle with a distance that places a point
        NoDistance,    // angles or a distance that place nothing (a backsight)
        NoCoordinates, // a point name and nothing to place it
        Other,         // job information, heights alone and anything else
    };

    struct Word {
        std::size_t offset; // in the line, past the block mark
        std::size_t size;
        int index;
    };

    // line: one block without its line end. False, with the reason naming
    // the word, when a word is not a GSI word, a coordinate, distance or
    // height word is not a length or an angle word is not an angle.
    // Name() and Code() are views into line.
    bool Read(std::string_view line, std::string& reason);

    // Where the block that starts at from ends in a line of several blocks:
    // before a word with the GSI-16 block mark, or, unmarked, before a
    // second point name (11) or code (41) word. The line's size when the
    // block runs to its end.
    static std::size_t BlockEnd(std::string_view line, std::size_t from);

    Kind Type() const;
    // Whether the first word carries the GSI-16 block mark "*".
    bool Marked() const { return marked_; }
    const std::vector<Word>& Words() const { return words_; }
    // Position in Words() of the word with this index; nullopt without one.
    std::optional<std::size_t> Find(int index) const;
    // Data width of the first word.
    GsiWidth Width() const { return width_; }

    std::string_view Name() const { return name_; }
    // The code of a code block.
    std::string_view Code() const { return code_; }
    const std::optional<FixedDecimal>& East() const { return east_; }
    const std::optional<FixedDecimal>& North() const { return north_; }
    const std::optional<FixedDecimal>& Height() const { return height_; }

    // Angles in radians; lengths in the units of their words.
    struct Measurements {
        std::optional<double> horizontalAngle, zenithAngle;
        std::optional<double> slopeDistance, horizontalDistance, heightDifference;
        std::optional<double> stationEast, stationNorth, stationHeight;
        std::optional<double> targetHeight, instrumentHeight;
    };
    const Measurements& Measured() const { return measured_; }

private:
    bool ReadWord(std::string_view word, std::string& reason);
    bool ReadLength(std::string_view word, std::optional<FixedDecimal>& value, std::string& reason);
    bool ReadLength(std::string_view word, std::optional<double>& value, std::string& reason);
    bool ReadAngle(std::string_view word, std::optional<double>& value, std::string& reason);

    std::vector<Word> words_;
    bool marked_ = false;
    bool named_ = false;
    GsiWidth width_ = GsiWidth::Gsi16;
    std::string_view name_;
    std::string_view code_;
    std::optional<FixedDecimal> east_;
    std::optional<FixedDecimal> north_;
    std::optional<FixedDecimal> height_;
    Measurements measured_;
};
