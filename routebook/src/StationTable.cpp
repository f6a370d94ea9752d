#include "routebook/StationTable.h"

#include <algorithm>
#include <cmath>

double StationTable::IntervalCount(const HorizontalAlignment& line, double interval) {
    return interval > 0 ? (line.EndChainage() - line.StartChainage()) / interval : 0;
}

std::vector<double> StationTable::Chainages(const HorizontalAlignment& line, double interval) {
    constexpr double kSame = 1e-4;
    const std::vector<double> ends = line.ElementEnds();
    std::vector<double> chainages = ends;
    const auto nearEnd = [&](double c) {
        const auto it = std::lower_bound(ends.begin(), ends.end(), c - kSame);
        return it != ends.end() && *it <= c + kSame;
    };
    if (interval > 0) {
        const double end = line.EndChainage();
        for (double n = std::ceil(line.StartChainage() / interval); n * interval <= end; n += 1) {
            if (!nearEnd(n * interval)) {
                chainages.push_back(n * interval);
            }
        }
    }
    std::sort(chainages.begin(), chainages.end());
    return chainages;
}

std::vector<StationTable::Station> StationTable::Build(const HorizontalAlignment& line,
                                                       const VerticalProfile* profile,
                                                       double interval, double left, double right) {
    std::vector<double> offsets{0};
    if (left > 0) {
        offsets.push_back(-left);
    }
    if (right > 0) {
        offsets.push_back(right);
    }
    const std::vector<double> chainages = Chainages(line, interval);
    std::vector<Station> stations;
    stations.reserve(chainages.size() * offsets.size());
    for (double c : chainages) {
        const auto centre = line.At(c);
        if (!centre) {
            continue;
        }
        std::optional<double> height;
        if (profile) {
            if (const auto level = profile->At(c)) {
                height = level->height;
            }
        }
        for (double offset : offsets) {
            Station s{c,
                      offset,
                      centre->east + offset * std::cos(centre->bearing),
                      centre->north - offset * std::sin(centre->bearing),
                      centre->bearing,
                      height};
            stations.push_back(s);
        }
    }
    return stations;
}
