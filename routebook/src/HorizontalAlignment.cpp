#include "routebook/HorizontalAlignment.h"

#include <algorithm>
#include <cmath>
#include <limits>

HorizontalAlignment::HorizontalAlignment(const std::vector<HalElement>& elements) {
    for (std::size_t i = 0; i < elements.size(); ++i) {
        Append(elements[i], i);
    }
}

void HorizontalAlignment::Append(const HalElement& e, std::size_t index) {
    if (e.kind == HalElement::Kind::Start) {
        if (!start_) {
            start_ = e;
            pose_ = {e.east, e.north, e.bearing};
            chainage_ = e.chainage;
        }
        return;
    }
    if (!start_ || !(e.length > 0)) {
        return;
    }
    const double own = e.radius != 0 ? 1 / e.radius : 0;
    double k0 = 0;
    double k1 = 0;
    if (e.kind == HalElement::Kind::Arc) {
        k0 = k1 = own;
    } else if (e.kind == HalElement::Kind::Spiral) {
        const bool leaving = curvature_ != 0;
        k0 = leaving ? curvature_ : 0;
        k1 = leaving ? 0 : own;
    }
    Piece piece{index, e.kind, chainage_, k0, k1, Clothoid(pose_, k0, k1, e.length)};
    pose_ = piece.curve.At(e.length);
    chainage_ += e.length;
    curvature_ = k1;
    pieces_.push_back(piece);
}

double HorizontalAlignment::StartChainage() const {
    return start_ ? start_->chainage : 0;
}

double HorizontalAlignment::EndChainage() const {
    return pieces_.empty() ? StartChainage()
                           : pieces_.back().chainage + pieces_.back().curve.Length();
}

std::vector<double> HorizontalAlignment::ElementEnds() const {
    std::vector<double> ends;
    if (start_) {
        ends.push_back(StartChainage());
    }
    for (const Piece& piece : pieces_) {
        ends.push_back(piece.chainage + piece.curve.Length());
    }
    return ends;
}

std::optional<Clothoid::Pose> HorizontalAlignment::At(double chainage, double offset) const {
    constexpr double kSlack = 1e-9;
    if (!start_ || chainage < StartChainage() - kSlack || chainage > EndChainage() + kSlack) {
        return std::nullopt;
    }
    Clothoid::Pose pose{start_->east, start_->north, start_->bearing};
    if (!pieces_.empty()) {
        auto it = std::upper_bound(pieces_.begin(), pieces_.end(), chainage,
                                   [](double c, const Piece& p) { return c < p.chainage; });
        const Piece& piece = it == pieces_.begin() ? pieces_.front() : *std::prev(it);
        pose = piece.curve.At(std::clamp(chainage - piece.chainage, 0.0, piece.curve.Length()));
    }
    pose.east += offset * std::cos(pose.bearing);
    pose.north -= offset * std::sin(pose.bearing);
    return pose;
}

std::optional<HorizontalAlignment::Placement> HorizontalAlignment::Nearest(double east,
                                                                           double north) const {
    if (pieces_.empty()) {
        return std::nullopt;
    }
    const auto distance = [&](double chainage) {
        const auto p = At(chainage);
        return std::hypot(p->east - east, p->north - north);
    };
    // Coarse samples find the right stretch; a golden-section search then
    // settles on the nearest point within it.
    const double begin = StartChainage();
    const double end = EndChainage();
    const int samples = std::clamp(static_cast<int>((end - begin) / 2.0), 16, 20000);
    double best = begin;
    double bestDistance = std::numeric_limits<double>::max();
    for (int i = 0; i <= samples; ++i) {
        const double c = begin + (end - begin) * i / samples;
        if (const double d = distance(c); d < bestDistance) {
            bestDistance = d;
            best = c;
        }
    }
    double lo = std::max(begin, best - (end - begin) / samples);
    double hi = std::min(end, best + (end - begin) / samples);
    const double ratio = (std::sqrt(5.0) - 1) / 2;
    while (hi - lo > 1e-6) {
        const double a = hi - ratio * (hi - lo);
        const double b = lo + ratio * (hi - lo);
        if (distance(a) < distance(b)) {
            hi = b;
        } else {
            lo = a;
        }
    }
    const double chainage = (lo + hi) / 2;
    const auto p = At(chainage);
    const double offset =
        (east - p->east) * std::cos(p->bearing) - (north - p->north) * std::sin(p->bearing);
    return Placement{chainage, offset};
}
