#pragma once

#include "routebook/AlignmentIssue.h"
#include "routebook/HalElement.h"
#include "routebook/VerticalPoint.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One alignment as LandXML 1.2 holds it: CoordGeom with Line, Curve and
// Spiral (clothoid) elements, and a Profile whose ProfAlign has PVI and
// ParaCurve points. Coordinates are "northing easting" as LandXML writes
// them; directions in decimal degrees clockwise from north; rot "cw" is a
// positive (right-turning) radius.
struct LandXmlAlignment {
    std::string name;
    std::vector<HalElement> elements; // START first
    std::vector<VerticalPoint> profile;

    std::string Write() const;
    // The first Alignment of the document; what cannot be kept in the
    // instrument's files (a gap or kink between elements, a spiral between
    // two radii, curves of other kinds) is named in issues.
    static LandXmlAlignment Read(std::string_view bytes, std::vector<AlignmentIssue>& issues);
};
