#pragma once

#include <string_view>

// The order a user expects of file names: letters without regard to case and
// runs of digits by their value, so "Job2" comes before "job10". Names that
// only differ in case or leading zeros are ordered by their bytes, so the
// order is total and the same on every listing.
bool NaturalLess(std::string_view a, std::string_view b);
