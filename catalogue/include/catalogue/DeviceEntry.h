#pragma once

#include "catalogue/EntryKind.h"

#include <optional>
#include <string>
#include <vector>

// What one list line becomes in the instrument tree: the entry node's label
// and its detail nodes, in order. Labels and details are shown without the
// line end of the instrument's line; the stored line keeps it.
struct DeviceEntry {
    std::u16string label;
    std::vector<std::u16string> details;

    // The entry of a code, job, HAL, VAL or format line; none for a line
    // with fewer fields than its kind reads (job 4, code 2, HAL and VAL 3)
    // and for the other kinds.
    static std::optional<DeviceEntry> FromLine(EntryKind kind, std::u16string_view line);

    // The port node's text after a device line: the line without its CR LF
    // pairs, of that its last seven characters, of those the first three,
    // as "<port>: <three> SERIES".
    static std::u16string DeviceText(std::u16string_view portText, std::u16string_view line);
};
