#pragma once

#include "catalogue/DeviceListing.h"
#include "catalogue/DeviceModel.h"

#include <string>
#include <string_view>
#include <vector>

// Finds an entry of the instrument's listing by what a user types: its label
// as listed ("JobList:1 [IN:BRIDGE]"), its name as the instrument lists it
// ("IN:BRIDGE", or "BRIDGE" without the three-character storage prefix of a
// job), or its number ("1"). A text that names several entries names none;
// the candidates say which it could be.
class EntryLookup {
public:
    struct Result {
        std::u16string label;                   // empty when not found or not one
        std::vector<std::u16string> candidates; // the labels it fits, when several
    };

    static Result Find(const DeviceListing& listing, const DeviceModel& model, EntryKind kind,
                       std::u16string_view text);
};
