#pragma once

#include "drawexport/InputReport.h"

#include <cstddef>
#include <string>
#include <vector>

// The sentences that tell what an export wrote and what it left out,
// shared by the window and the command line.
class ExportSummary {
public:
    // "a.gsi: 120 points (40 computed from observations, 2 station
    // set-ups); 3 points without coordinates not exported (lines 4, 5, 9)".
    static std::string InputLine(const InputReport& report);
    // "b.gsi: line 3: ... (not exported)".
    static std::string FailureLine(const InputReport& report);
    // One "a.gsi:7: reason" per line that could not be read.
    static std::vector<std::string> UnreadableLines(const InputReport& report);
    // Why --strict writes nothing.
    static std::string StrictRefusal(std::size_t unreadable);
    // "120 points written to out.dxf".
    static std::string ResultLine(std::size_t written, const std::string& output);
};
