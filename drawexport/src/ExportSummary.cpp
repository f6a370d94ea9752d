#include "drawexport/ExportSummary.h"

#include "fielddata/LineList.h"

#include <array>

namespace {

std::string Count(std::size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

// What the points of an input are, when not all were given by the file.
std::string Origins(const InputReport& report) {
    std::string text;
    if (report.computed > 0) {
        text = Count(report.computed, "computed from an observation", "computed from observations");
    }
    if (report.stations > 0) {
        text += (text.empty() ? "" : ", ") +
                Count(report.stations, "station set-up", "station set-ups");
    }
    return text.empty() ? text : " (" + text + ")";
}

} // namespace

std::string ExportSummary::InputLine(const InputReport& report) {
    struct Kind {
        SkippedBlock::Kind kind;
        const char* one;
        const char* many;
        const char* what;
    };
    constexpr std::array<Kind, 5> kinds = {{
        {SkippedBlock::Kind::NoCoordinates, "point without coordinates",
         "points without coordinates", "not exported"},
        {SkippedBlock::Kind::NoDistance, "observation without a distance",
         "observations without a distance", "not exported"},
        {SkippedBlock::Kind::NoStation, "observation without a station set-up before it",
         "observations without a station set-up before them", "not exported"},
        {SkippedBlock::Kind::Other, "other block", "other blocks", "not exported"},
        {SkippedBlock::Kind::Unreadable, "line could not be read", "lines could not be read",
         "and was passed over"},
    }};
    std::string line =
        report.path + ": " + Count(report.extents.Count(), "point", "points") + Origins(report);
    if (report.fromZero > 0) {
        line += "; no station set-up and no coordinates in the file: the station of " +
                Count(report.fromZero, "observation", "observations") +
                " was taken as 0,0,0, its horizontal angle as the bearing";
    }
    for (const Kind& kind : kinds) {
        std::vector<std::size_t> lines;
        for (const SkippedBlock& block : report.skipped) {
            if (block.kind == kind.kind) {
                lines.push_back(block.line);
            }
        }
        if (!lines.empty()) {
            line += "; " + Count(lines.size(), kind.one, kind.many) + " " + kind.what +
                    LineList::Text(lines);
        }
    }
    return line;
}

std::string ExportSummary::FailureLine(const InputReport& report) {
    return report.path + ": " + (report.error ? report.error->Text() : "read") + " (not exported)";
}

std::vector<std::string> ExportSummary::UnreadableLines(const InputReport& report) {
    std::vector<std::string> lines;
    for (const SkippedBlock& block : report.skipped) {
        if (block.kind == SkippedBlock::Kind::Unreadable) {
            lines.push_back(report.path + ":" + std::to_string(block.line) + ": " + block.reason);
        }
    }
    return lines;
}

std::string ExportSummary::StrictRefusal(std::size_t unreadable) {
    return Count(unreadable, "line", "lines") +
           " could not be read and --strict was given; nothing written";
}

std::string ExportSummary::ResultLine(std::size_t written, const std::string& output) {
    return Count(written, "point", "points") + " written to " + output;
}
