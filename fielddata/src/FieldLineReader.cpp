#include "fielddata/FieldLineReader.h"

std::string_view FieldLineReader::WithoutCr(std::string_view line) {
    return line.ends_with('\r') ? line.substr(0, line.size() - 1) : line;
}
