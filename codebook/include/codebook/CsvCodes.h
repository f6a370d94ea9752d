#pragma once

#include "codebook/CodeBook.h"

#include <string>
#include <string_view>

// Codes as comma-separated values (UTF-8) for spreadsheets: a header row,
// then code, description, group, layer, colour, symbol, line (yes/no) and
// up to eight attribute name and value pairs. Fields with a comma, quote or
// line break are quoted, quotes doubled.
class CsvCodes {
public:
    static CodeBookRead Read(std::string_view bytes);
    static std::string Write(const CodeBook& book);

private:
    // One record, which may span lines inside quotes; at advances past it.
    static std::vector<std::string> Record(std::string_view bytes, std::size_t& at, bool& broken);
};
