#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One line of an IDEX code list: a keyword and its quoted fields,
// `  CODE "TREE", "Tree";`. A quote inside a field is doubled.
struct IdexLine {
    std::string keyword; // "CODELIST", "CODE", "END"; empty for a blank line
    std::vector<std::string> fields;

    // nullopt, with the reason, for a line that is not of that shape.
    static std::optional<IdexLine> Parse(std::string_view line, std::string& reason);
    static std::string Quote(std::string_view text);
    // A CODE line with these fields, indented as the instrument writes it.
    static std::string Code(const std::vector<std::string>& fields);
};
