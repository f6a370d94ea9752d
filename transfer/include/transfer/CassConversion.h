#pragma once

#include "transfer/ByteSink.h"

#include <array>
#include <string>
#include <string_view>

// Turns the collected GSI lines of a "CASS" download into the point file:
// one line per point block ("*11"), holding the point name, "," and the
// value of each "81..", "82.." and "83.." word in block order, and after the
// "83.." value "," and the code of the last code block ("*41"). Lines are
// separated by CR LF and the file ends with CR LF. The first three lines of
// the collected data (the transfer's header lines) are skipped.
//
// One pass over the data; words are views into it, so no word is ever cut
// or copied. A word runs from its first character to the next blank; a
// word without a closing blank before the end of the data is not taken.
// Output goes to the sink piece by piece as it is produced.
class CassConversion {
public:
    explicit CassConversion(ByteSink& out);

    void Convert(std::string_view data);
    // Of the last Convert: the point lines written, and those among them
    // that carry at least one coordinate.
    std::size_t Points() const { return points_; }
    std::size_t LocatedPoints() const { return located_; }

    static constexpr std::size_t kSkippedLines = 3;

private:
    enum Word { Code, Name, East, North, Height, kWordKinds };

    static std::size_t FirstProcessed(std::string_view data);
    void OnStar(std::size_t at);
    void OnEight(std::size_t at);
    void OnBlank(std::size_t at);
    void Begin(Word kind, std::size_t at);
    void WriteName(std::string_view word);
    void WriteCoordinate(Word kind, std::string_view word);

    ByteSink& out_;
    std::string_view data_;
    std::string_view code_;
    std::string piece_;
    std::array<bool, kWordKinds> inWord_{};
    std::size_t wordStart_ = 0;
    bool firstPoint_ = true;
    bool pointLocated_ = false;
    std::size_t points_ = 0;
    std::size_t located_ = 0;
};
