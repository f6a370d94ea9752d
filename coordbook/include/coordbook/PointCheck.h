#pragma once

#include "fielddata/FixedDecimal.h"
#include "fielddata/GsiWord.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// What a point's name, code and coordinates may be. Names and codes are
// bytes in the wire code page; each problem is a sentence for the user.
class PointCheck {
public:
    // The finest GSI units are hundredths of a millimetre.
    static constexpr int kMaxPlaces = 5;

    // A name or code a GSI word of this width carries and gives back
    // unchanged: no blanks (they end a word) or control characters, at most
    // the width, and no leading "0" (GSI drops leading zeros).
    static std::optional<std::string> GsiTextProblem(std::string_view text, GsiWidth width);
    // A name a point-file line carries: no "," (it ends the name).
    static std::optional<std::string> PointFileNameProblem(std::string_view name);
    // A name typed by the user: not empty, and fit for every format.
    static std::optional<std::string> NameProblem(std::string_view name);
    // A code typed by the user: fit for every format.
    static std::optional<std::string> CodeProblem(std::string_view code);

    // Text typed by the user in the wire code page; nullopt, with the
    // reason, when a character has no byte there.
    static std::optional<std::string> ToWire(std::u16string_view text, std::string& reason);
    // A coordinate typed by the user: a decimal number with at most
    // kMaxPlaces places.
    static std::optional<FixedDecimal> Number(std::string_view text, std::string& reason);
};
