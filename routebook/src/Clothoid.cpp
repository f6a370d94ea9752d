#include "routebook/Clothoid.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

// 10-point Gauss-Legendre nodes and weights on [-1, 1] (half of them: the
// rule is symmetric).
constexpr std::array<double, 5> kNodes{0.1488743389816312, 0.4333953941292472, 0.6794095682990244,
                                       0.8650633666889845, 0.9739065285171717};
constexpr std::array<double, 5> kWeights{0.2955242247147529, 0.2692667143927886, 0.2190863625159820,
                                         0.1494513491505806, 0.0666713443086881};
constexpr double kFlat = 1e-12;
constexpr double kMaxPanels = 4096;

} // namespace

Clothoid::Clothoid(Pose start, double startCurvature, double endCurvature, double length)
    : start_(start), k0_(startCurvature),
      dk_(length > 0 ? (endCurvature - startCurvature) / length : 0), length_(length) {}

Clothoid::Pose Clothoid::At(double s) const {
    const double theta0 = start_.bearing;
    const auto bearing = [&](double t) { return theta0 + k0_ * t + dk_ * t * t / 2; };
    Pose pose{start_.east, start_.north, bearing(s)};
    if (std::fabs(dk_) < kFlat && std::fabs(k0_) < kFlat) {
        pose.east += s * std::sin(theta0);
        pose.north += s * std::cos(theta0);
    } else if (std::fabs(dk_) < kFlat) {
        pose.east += (std::cos(theta0) - std::cos(pose.bearing)) / k0_;
        pose.north += (std::sin(pose.bearing) - std::sin(theta0)) / k0_;
    } else {
        const double turn = std::fabs(k0_ * s) + std::fabs(dk_) * s * s / 2;
        // Real spirals need a few dozen panels; the cap keeps a nonsense
        // length or radius in a file from hanging whoever draws it.
        const double wanted = std::ceil(std::max(s / 25.0, turn / 0.25));
        const int panels = static_cast<int>(std::clamp(wanted, 1.0, kMaxPanels));
        const double h = s / panels;
        for (int p = 0; p < panels; ++p) {
            const double mid = (p + 0.5) * h;
            for (std::size_t i = 0; i < kNodes.size(); ++i) {
                for (const double side : {-1.0, 1.0}) {
                    const double t = mid + side * kNodes[i] * h / 2;
                    const double w = kWeights[i] * h / 2;
                    pose.east += w * std::sin(bearing(t));
                    pose.north += w * std::cos(bearing(t));
                }
            }
        }
    }
    return pose;
}
