// 2D manikin reach checks: can a two-link limb span the distance from a
// derived joint point to a target?
#include "hm_vd_2dm.h"
#include "hpd_primitives.h"
#include "toolbox/detail/finite.h"

#include "omvra.h"

#include <cmath>

using namespace carvell::occupant;

namespace {

constexpr double kReachTolerance = 1e-10;
// The fixed 170-degree angle between the upper arm and the forearm span.
constexpr double kElbowSpanRad = 2.9670597283903577;
// The forearm span is this length less the given one.
constexpr double kForearmSpanMm = 205.0;

// True when a limb of links a and b can bridge the distance d.
bool reaches(double d, double a, double b) {
    return d < a + b + kReachTolerance && d > std::fabs(b - a) - kReachTolerance;
}

}  // namespace

bool hm_vd_2dm_check_leg_positions(double* base, double* target, double angle, double* len) {
    if (!carvell::detail::all_finite(base, 2) || !carvell::detail::all_finite(target, 2) ||
        !carvell::detail::all_finite(len, 2) || !std::isfinite(angle))
        return false;
    // The knee end sits where the shoe's ankle sits from its heel.
    double h = hpd_mm(kAnkleForwardMm), v = hpd_mm(kAnkleUpMm);
    double w[2] = {-h, v}, turned[2], dir[2], magnitude = 0.0;
    if (HM_VEC2_rotate(w, angle * -kRadiansPerDegreeAsUsed, turned) != 0) return false;
    if (HM_VEC2_unitize(turned, 1e-10, &magnitude, dir) != 0) return false;
    double knee[2], d = 0.0;
    HM_VEC2_affine_comb(base, std::sqrt(v * v + h * h), dir, knee);
    if (HM_VEC2_distance(knee, target, &d) != 0) return false;
    return reaches(d, len[0], len[1]);
}

bool hm_vd_2dm_check_arm_positions(double* base, double* target, double angle, double* len, double distance) {
    // Checked before the span is written into the caller's array.
    if (!carvell::detail::all_finite(base, 2) || !carvell::detail::all_finite(target, 2) ||
        !carvell::detail::all_finite(len, 3) || !carvell::detail::all_finite({angle, distance}))
        return false;
    double a = angle * kRadiansPerDegreeAsUsed;
    double u[2] = {std::sin(a), std::cos(a)};
    double shoulder[2], d = 0.0;
    HM_VEC2_affine_comb(base, distance, u, shoulder);
    if (HM_VEC2_distance(shoulder, target, &d) != 0) return false;
    // The span replaces the length in the caller's array.
    double c = hpd_mm(kForearmSpanMm) - len[2];
    len[2] = c;
    double e2 = len[1] * len[1] + c * c - 2.0 * std::cos(kElbowSpanRad) * len[1] * c;
    double e = std::sqrt(std::fmax(0.0, e2));
    return reaches(d, len[0], e);
}
