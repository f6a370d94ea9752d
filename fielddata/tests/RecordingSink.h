#pragma once

#include "fielddata/PointSink.h"

#include <cstdio>
#include <string>
#include <vector>

// Writes down what a reader hands over, one short line per event:
// "7 P12 1234.567 -45.678 12.345 TREE" for a point given by the file
// (height "-" when unknown), followed by " computed", " from-zero" or
// " station" for the others; "9 skipped other" for a skipped block and
// "4 unreadable: reason" for a block that could not be read.
class RecordingSink final : public PointSink {
public:
    void OnPoint(const SurveyPoint& point) override {
        char height[32] = "-";
        if (point.height) {
            std::snprintf(height, sizeof height, "%.*f", point.places, *point.height);
        }
        static const char* const kOrigins[] = {"", " computed", " from-zero", " station"};
        char line[256];
        std::snprintf(line, sizeof line, "%zu %s %.*f %.*f %s %s%s", point.line, point.name.c_str(),
                      point.places, point.east, point.places, point.north, height,
                      point.code.c_str(), kOrigins[static_cast<int>(point.origin)]);
        events.emplace_back(line);
    }
    void OnSkipped(const SkippedBlock& block) override {
        static const char* const kKinds[] = {"no-coordinates", "other", "no-distance",
                                             "no-station"};
        events.push_back(std::to_string(block.line) +
                         (block.kind == SkippedBlock::Kind::Unreadable
                              ? " unreadable: " + block.reason
                              : std::string(" skipped ") + kKinds[static_cast<int>(block.kind)]));
    }

    std::vector<std::string> events;
};
