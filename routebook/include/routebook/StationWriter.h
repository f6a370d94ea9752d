#pragma once

#include "routebook/StationTable.h"

#include <optional>
#include <string>
#include <vector>

// Stations as the files a surveyor takes to the field.
class StationWriter {
public:
    static constexpr const char* kCsvHeader = "chainage,offset,easting,northing,bearing,height";

    // One row per station after the header row, CR LF line ends; metres to
    // the millimetre, the bearing in DDD.MMSS, no height where the profile
    // does not reach.
    static std::string Csv(const std::vector<StationTable::Station>& stations);
    // A GSI-16 coordinate job for stake-out: one point per station named by
    // its side ("C" the centre line, "L" left, "R" right) and its chainage:
    // "L120.000".
    // nullopt, with the station named in error, when a value does not fit.
    static std::optional<std::string> Gsi16(const std::vector<StationTable::Station>& stations,
                                            std::string& error);
    static std::string PointName(const StationTable::Station& station);
};
