#pragma once

#include "routebook/Clothoid.h"
#include "routebook/HalElement.h"

#include <optional>
#include <vector>

// The plan geometry of a horizontal alignment: every element after the
// START as a piece of line with its chainage and curvatures, and the point
// at any chainage and offset. A spiral leads from the curvature of the
// element before it to a straight when that element curves (leaving a
// curve), and from a straight to its own radius otherwise (entering one).
class HorizontalAlignment {
public:
    struct Piece {
        std::size_t element = 0; // index into the elements given
        HalElement::Kind kind = HalElement::Kind::Straight;
        double chainage = 0; // at the piece's start
        double startCurvature = 0;
        double endCurvature = 0;
        Clothoid curve;
    };
    struct Placement {
        double chainage = 0;
        double offset = 0; // right of the line positive, left negative
    };

    // Elements before the first START are left out (AlignmentCheck names
    // them); so is everything when there is no START.
    explicit HorizontalAlignment(const std::vector<HalElement>& elements);

    // The element after those given so far; index names it in Pieces().
    void Append(const HalElement& element, std::size_t index);

    bool Empty() const { return !start_; }
    double StartChainage() const;
    double EndChainage() const;
    const std::vector<Piece>& Pieces() const { return pieces_; }
    // The START and the end of every piece, in chainage order.
    std::vector<double> ElementEnds() const;

    // nullopt outside StartChainage()..EndChainage().
    std::optional<Clothoid::Pose> At(double chainage, double offset = 0) const;
    // The chainage and offset of the nearest point on the line.
    std::optional<Placement> Nearest(double east, double north) const;

private:
    std::optional<HalElement> start_;
    std::vector<Piece> pieces_;
    // Where the next piece begins.
    Clothoid::Pose pose_;
    double chainage_ = 0;
    double curvature_ = 0;
};
