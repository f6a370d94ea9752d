#pragma once

#include <string>
#include <string_view>
#include <vector>

// The instrument's list lines: comma-separated fields without quoting, the
// last one keeping the line end.
class ListLine {
public:
    // The entry builder reads at most six fields, the readers of stored lines ten.
    static constexpr std::size_t kEntryFields = 6;
    static constexpr std::size_t kStoredFields = 10;

    // The first maxFields fields; empty fields stay in place.
    static std::vector<std::u16string> Split(std::u16string_view line, std::size_t maxFields);
    // Optional leading blanks, an optional sign, then digits up to the first
    // non-digit; 0 when there are no digits. Saturates instead of overflowing.
    static long long ReadDecimal(std::u16string_view field);
    // The text without the CR and LF characters at its end.
    static std::u16string WithoutLineEnd(std::u16string_view text);
};
