#include "drawexport/ExportSummary.h"

#include "fielddata/LineList.h"

#include <array>

namespace {

std::string Count(std::size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

} // namespace

std::string ExportSummary::InputLine(const InputReport& report) {
    struct Kind {
        SkippedBlock::Kind kind;
        const char* one;
        const char* many;
    };
    constexpr std::array<Kind, 3> kinds = {{
        {SkippedBlock::Kind::NoCoordinates, "point without coordinates",
         "points without coordinates"},
        {SkippedBlock::Kind::StationSetup, "station set-up", "station set-ups"},
        {SkippedBlock::Kind::Other, "other block", "other blocks"},
    }};
    std::string line = report.path + ": " + Count(report.extents.Count(), "point", "points");
    for (const Kind& kind : kinds) {
        std::vector<std::size_t> lines;
        for (const SkippedBlock& block : report.skipped) {
            if (block.kind == kind.kind) {
                lines.push_back(block.line);
            }
        }
        if (!lines.empty()) {
            line += "; " + Count(lines.size(), kind.one, kind.many) + " not exported" +
                    LineList::Text(lines);
        }
    }
    return line;
}

std::string ExportSummary::FailureLine(const InputReport& report) {
    return report.path + ": " + (report.error ? report.error->Text() : "read") + " (not exported)";
}

std::string ExportSummary::ResultLine(std::size_t written, const std::string& output) {
    return Count(written, "point", "points") + " written to " + output;
}
