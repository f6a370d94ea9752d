#pragma once

#include "fielddata/PointSink.h"

#include <cstdio>
#include <string>
#include <vector>

// Writes down what a reader hands over, one short line per event:
// "7 P12 1234.567 -45.678 12.345 TREE" for a point (height "-" when
// unknown), "9 skipped 0" for a skipped block of the given kind.
class RecordingSink final : public PointSink {
public:
    void OnPoint(const SurveyPoint& point) override {
        char height[32] = "-";
        if (point.height) {
            std::snprintf(height, sizeof height, "%.*f", point.places, *point.height);
        }
        char line[256];
        std::snprintf(line, sizeof line, "%zu %s %.*f %.*f %s %s", point.line, point.name.c_str(),
                      point.places, point.east, point.places, point.north, height,
                      point.code.c_str());
        events.emplace_back(line);
    }
    void OnSkipped(const SkippedBlock& block) override {
        events.push_back(std::to_string(block.line) + " skipped " +
                         std::to_string(static_cast<int>(block.kind)));
    }

    std::vector<std::string> events;
};
