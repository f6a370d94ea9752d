#include "routebook/StationWriter.h"

#include "routebook/DmsAngle.h"
#include "routebook/FieldNumbers.h"

#include "fielddata/GsiJobWriter.h"

#include <charconv>
#include <cmath>

namespace {

// Millimetres as fixed-point text without printf's cost: the CSV of a
// million stations is written in a fraction of a second.
void AppendMetres(double value, std::string& out) {
    if (!(std::fabs(value) < 1e12)) {
        out += FieldNumbers::Format(value); // beyond what fits in whole millimetres
        return;
    }
    long long mm = std::llround(value * 1000);
    if (mm < 0) {
        out += '-';
        mm = -mm;
    }
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, mm / 1000).ptr;
    out.append(digits, end);
    const int rest = static_cast<int>(mm % 1000);
    out += '.';
    out += static_cast<char>('0' + rest / 100);
    out += static_cast<char>('0' + rest / 10 % 10);
    out += static_cast<char>('0' + rest % 10);
}

} // namespace

std::string StationWriter::Csv(const std::vector<StationTable::Station>& stations) {
    std::string out = std::string(kCsvHeader) + "\r\n";
    out.reserve(stations.size() * 64 + out.size());
    // The points at one chainage share its bearing: formatted once.
    double lastBearing = std::nan("");
    std::string bearing;
    for (const StationTable::Station& s : stations) {
        if (s.bearing != lastBearing) {
            lastBearing = s.bearing;
            bearing = DmsAngle::Format(s.bearing);
        }
        AppendMetres(s.chainage, out);
        out += ',';
        AppendMetres(s.offset, out);
        out += ',';
        AppendMetres(s.east, out);
        out += ',';
        AppendMetres(s.north, out);
        out += ',';
        out += bearing;
        out += ',';
        if (s.height) {
            AppendMetres(*s.height, out);
        }
        out += "\r\n";
    }
    return out;
}

std::string StationWriter::PointName(const StationTable::Station& station) {
    // A letter first: GSI readers drop a name's leading zeros.
    const char side = station.offset < 0 ? 'L' : station.offset > 0 ? 'R' : 'C';
    return side + FieldNumbers::Format(station.chainage);
}

std::optional<std::string> StationWriter::Gsi16(const std::vector<StationTable::Station>& stations,
                                                std::string& error) {
    GsiJobWriter writer(GsiWidth::Gsi16);
    std::string out;
    for (const StationTable::Station& s : stations) {
        SurveyPoint point;
        point.name = PointName(s);
        point.east = s.east;
        point.north = s.north;
        point.height = s.height;
        point.places = 3;
        if (!writer.AppendPoint(point, out)) {
            error = "station " + point.name + ": a value does not fit a GSI-16 word";
            return std::nullopt;
        }
    }
    return out;
}
