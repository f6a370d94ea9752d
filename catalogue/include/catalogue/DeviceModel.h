#pragma once

#include "catalogue/EntryKind.h"

#include <map>
#include <string>
#include <string_view>
#include <vector>

// What the instrument said it holds: per category a map from the entry's
// label to its whole list line (line end included), and the format lines in
// arrival order. Keys are unique, so a later line with the same label
// replaces the stored one. The maps keep entries of earlier connections; the
// format list is emptied when the port is disconnected.
class DeviceModel {
public:
    // Ordinal order of UTF-16 code units.
    using Map = std::map<std::u16string, std::u16string, std::less<>>;

    // The map of a job, code, HAL or VAL category; null for other kinds.
    const Map* MapOf(EntryKind kind) const;
    Map* MapOf(EntryKind kind);

    // Stores a list line under its label; false for a kind without a map.
    bool Store(EntryKind kind, std::u16string label, std::u16string line);
    // The stored line of a label in the category with that text ("JOB",
    // "COD", "HAL", "VAL"); empty when either is unknown.
    std::u16string LineOf(std::u16string_view category, std::u16string_view label) const;

    const std::vector<std::u16string>& FormatList() const { return formats_; }
    void AddFormat(std::u16string line) { formats_.push_back(std::move(line)); }
    void ClearFormats() { formats_.clear(); }

private:
    Map jobs_;
    Map codes_;
    Map hals_;
    Map vals_;
    std::vector<std::u16string> formats_;
};
