#include "routebook/AlignmentCheck.h"

#include "routebook/FieldNumbers.h"
#include "routebook/HorizontalAlignment.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace {

std::string Where(const char* noun, std::size_t index, const char* kind,
                  const std::vector<std::size_t>& lines) {
    std::string where = std::string(noun) + " " + std::to_string(index + 1) + " (" + kind;
    if (index < lines.size()) {
        where += ", line " + std::to_string(lines[index]);
    }
    return where + ")";
}

std::string RadiusText(double curvature) {
    return curvature == 0 ? std::string("a straight")
                          : "radius " + FieldNumbers::Format(1 / curvature);
}

bool SameCurvature(double a, double b) {
    if (a == 0 || b == 0) {
        return a == b;
    }
    return std::fabs(1 / a - 1 / b) <= AlignmentCheck::kRadiusTolerance;
}

} // namespace

std::vector<AlignmentIssue> AlignmentCheck::Horizontal(const std::vector<HalElement>& elements,
                                                       const std::vector<std::size_t>& lines) {
    std::vector<AlignmentIssue> issues;
    const auto add = [&](std::size_t i, std::string reason) {
        issues.push_back({Where("element", i, HalElement::KindName(elements[i].kind), lines),
                          std::move(reason)});
    };
    const bool hasStart = std::any_of(elements.begin(), elements.end(), [](const HalElement& e) {
        return e.kind == HalElement::Kind::Start;
    });
    bool started = false;
    for (std::size_t i = 0; i < elements.size(); ++i) {
        const HalElement& e = elements[i];
        if (e.kind == HalElement::Kind::Start) {
            if (started) {
                add(i, "a second START: an alignment has one beginning");
            }
            started = true;
            continue;
        }
        if (!started && hasStart) {
            add(i, "comes before the START");
        }
        if (!(e.length > 0)) {
            add(i, "the length must be greater than zero");
        }
        if (e.kind != HalElement::Kind::Straight && e.radius == 0) {
            add(i, "the radius must not be zero");
        }
    }
    if (!hasStart) {
        issues.push_back({"alignment", "no START line"});
    }

    // A spiral exists to change curvature smoothly: any jump at one of its
    // ends is a kink the surveyor would stake out.
    const HorizontalAlignment line(elements);
    const auto& pieces = line.Pieces();
    for (std::size_t p = 0; p < pieces.size(); ++p) {
        const auto& piece = pieces[p];
        if (piece.kind != HalElement::Kind::Spiral) {
            continue;
        }
        const double own = 1 / elements[piece.element].radius;
        if (piece.startCurvature != 0 && !SameCurvature(piece.startCurvature, own)) {
            add(piece.element, "radius " + FieldNumbers::Format(1 / own) +
                                   " does not match the element before it (" +
                                   RadiusText(piece.startCurvature) + ")");
        }
        if (piece.endCurvature != 0 && p + 1 < pieces.size() &&
            !SameCurvature(pieces[p + 1].startCurvature, piece.endCurvature)) {
            add(piece.element, "radius " + FieldNumbers::Format(1 / own) +
                                   " does not match the element after it (" +
                                   RadiusText(pieces[p + 1].startCurvature) + ")");
        }
    }
    return issues;
}

std::vector<AlignmentIssue> AlignmentCheck::Vertical(const std::vector<VerticalPoint>& points,
                                                     const std::vector<std::size_t>& lines) {
    std::vector<AlignmentIssue> issues;
    const auto add = [&](std::size_t i, std::string reason) {
        issues.push_back({Where("point", i, "PVI", lines), std::move(reason)});
    };
    if (points.size() < 2) {
        issues.push_back({"vertical alignment", "needs at least two points"});
    }
    for (std::size_t i = 0; i < points.size(); ++i) {
        const VerticalPoint& p = points[i];
        if (p.curveLength < 0) {
            add(i, "the curve length must not be negative");
        }
        if ((i == 0 || i + 1 == points.size()) && p.curveLength > 0) {
            add(i, "the first and last points carry no curve");
        }
        if (i == 0) {
            continue;
        }
        const VerticalPoint& before = points[i - 1];
        if (!(p.chainage > before.chainage)) {
            add(i, "chainage " + FieldNumbers::Format(p.chainage) +
                       " is not after the point before it (" +
                       FieldNumbers::Format(before.chainage) + ")");
        } else if (const double ends = before.chainage + std::max(0.0, before.curveLength) / 2,
                   begins = p.chainage - std::max(0.0, p.curveLength) / 2;
                   ends > begins + 1e-9) {
            add(i, "its curve begins at chainage " + FieldNumbers::Format(begins) + ", before " +
                       (before.curveLength > 0
                            ? "the curve of point " + std::to_string(i) + " ends at "
                            : "point " + std::to_string(i) + " at ") +
                       FieldNumbers::Format(ends));
        }
    }
    return issues;
}

namespace {

// The lines that cannot be read, then the check of the records.
template <typename File, typename Check>
std::vector<AlignmentIssue> OfFile(const File& file, Check check) {
    std::vector<AlignmentIssue> issues;
    for (const auto& unread : file.Unreadable()) {
        issues.push_back({"line " + std::to_string(unread.line), unread.reason});
    }
    std::vector<std::size_t> lines;
    for (std::size_t i = 0; i < file.Records().size(); ++i) {
        lines.push_back(file.LineOf(i));
    }
    for (auto& issue : check(file.Records(), lines)) {
        issues.push_back(std::move(issue));
    }
    return issues;
}

} // namespace

std::vector<AlignmentIssue> AlignmentCheck::File(const HalFile& file) {
    return OfFile(file, &AlignmentCheck::Horizontal);
}

std::vector<AlignmentIssue> AlignmentCheck::File(const ValFile& file) {
    return OfFile(file, &AlignmentCheck::Vertical);
}
