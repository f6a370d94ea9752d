#pragma once

#include "fielddata/FixedDecimal.h"

#include <optional>
#include <string>
#include <string_view>

// Data width of a GSI word: 8 characters (GSI-8) or 16 (GSI-16).
enum class GsiWidth { Gsi8 = 8, Gsi16 = 16 };

// One word of a GSI block, from its word index up to (not including) its
// closing blank: "81..00+0000000001234567". The first two characters are
// the word index, the next four its information with the units digit last,
// the seventh the sign, then 8 or 16 data characters. The first word of a
// GSI-16 block carries a leading "*", which only Index() and ReadText()
// look past.
//
// This is the suite's one reading and writing of a GSI word.
class GsiWord {
public:
    // The word index (11 point name, 41 code, 81..83 coordinates, ...), or
    // nullopt when the word does not start with two digits.
    static std::optional<int> Index(std::string_view word);
    // Index, information, a sign and 8 or 16 data characters, none of them
    // a control character.
    static bool IsWellFormed(std::string_view word);

    // A length word (coordinates, heights) with the word's own precision:
    // 3 places for millimetres (units 0) and thousandths of a foot (1), 4
    // for tenths of a millimetre (6) and ten-thousandths of a foot (7), 5
    // for hundredths of a millimetre (8). Feet stay feet. nullopt for any
    // other units digit, sign or data.
    static std::optional<FixedDecimal> ReadLength(std::string_view word);
    // ReadLength as fixed-point text appended to out; false, and nothing
    // appended, when the word is not a length word.
    static bool AppendValue(std::string_view word, std::string& out);
    // An angle word (21 horizontal, 22 zenith) in radians, by its units
    // digit: 2 gon and 3 decimal degrees with 5 decimals, 4 sexagesimal
    // degrees written DDDMMSSs (tenths of a second last), 5 mil (6400 to
    // the circle) with 4 decimals. nullopt for any other units digit, sign
    // or data, and for minutes or seconds of 60 or more.
    static std::optional<double> ReadAngle(std::string_view word);
    // Point names and codes: everything after the first "+" without its
    // leading zeros; nothing when there is no "+".
    static std::string_view ReadText(std::string_view word);

    // head: the word index and information, six characters ("110001",
    // "81..00"). nullopt when the text does not fit the width, or the head
    // holds a "+" (ReadText would read from there).
    static std::optional<std::string> WriteText(std::string_view head, std::string_view text,
                                                GsiWidth width);
    // A length with as many places as the head's units digit stands for;
    // nullopt when the places differ or the digits do not fit the width.
    static std::optional<std::string> WriteLength(std::string_view head, const FixedDecimal& value,
                                                  GsiWidth width);
    // A length in the units of the head's kind (millimetres or feet) that
    // hold the value's places: the head's units digit is replaced by the
    // coarsest one that does (fewer places are padded with zeros). nullopt
    // when the head is no length, the value has more places than its kind
    // can carry (5 in millimetres, 4 in feet) or the digits do not fit.
    static std::optional<std::string> WriteLengthIn(std::string_view head,
                                                    const FixedDecimal& value, GsiWidth width);
    // Places of a length in the given units digit; 0 when it is no length.
    static int PlacesOfUnits(char units);

    static constexpr std::size_t kHeadSize = 6;
    static constexpr std::size_t kUnitsIndex = 5;
    static constexpr std::size_t kSignIndex = 6;
    static constexpr char kBlockMark = '*';
};
