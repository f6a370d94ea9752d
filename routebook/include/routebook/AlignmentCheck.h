#pragma once

#include "routebook/AlignmentFiles.h"
#include "routebook/AlignmentIssue.h"
#include "routebook/HalElement.h"
#include "routebook/VerticalPoint.h"

#include <cstddef>
#include <vector>

// What is checked before an alignment is saved or set out. lines gives each
// element's 1-based line in its file (empty: elements are named by number
// only).
class AlignmentCheck {
public:
    static std::vector<AlignmentIssue> Horizontal(const std::vector<HalElement>& elements,
                                                  const std::vector<std::size_t>& lines = {});
    static std::vector<AlignmentIssue> Vertical(const std::vector<VerticalPoint>& points,
                                                const std::vector<std::size_t>& lines = {});

    // Everything wrong with a file: its lines that cannot be read, then the
    // checks above.
    static std::vector<AlignmentIssue> File(const HalFile& file);
    static std::vector<AlignmentIssue> File(const ValFile& file);

    // Radii closer than this (metres) are the same radius.
    static constexpr double kRadiusTolerance = 0.0005;
};
