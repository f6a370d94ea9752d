#pragma once

#include "drawexport/InputReport.h"

#include <cstddef>
#include <string>

// The sentences that tell what an export wrote and what it left out,
// shared by the window and the command line.
class ExportSummary {
public:
    // "a.gsi: 120 points; 3 points without coordinates (lines 4, 5, 9)".
    static std::string InputLine(const InputReport& report);
    // "b.gsi: line 3: ...".
    static std::string FailureLine(const InputReport& report);
    // "120 points written to out.dxf".
    static std::string ResultLine(std::size_t written, const std::string& output);
};
