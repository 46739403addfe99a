// The 2006 release's foot-position solver of the H-point tool: the pedal
// angle that puts the SgRP of a locked ankle angle on the class A seat curve
// (SAE J1516 pedal angle and J1517 seat position), found by Newton's method
// on the leg chain, with the residuals, slopes and circle pick of that
// release's H-point code.
#include "r2006_foot_position.h"

#include "hpd.h"
#include "occupant/hpd_leg_chain.h"
#include "occupant/hpd_messages.h"
#include "occupant/hpd_primitives.h"
#include "occupant/hpd_sgrp.h"
#include "toolbox/detail/finite.h"

#include "morvish.h"
#include "tessik.h"

#include <cmath>

namespace carvell::r2006 {

namespace {

using occupant::hpd_trace;
using occupant::hpd_tracing;

// The H-point tool's factors (degrees and radians as it has always
// converted them, the full turn it reduces by), the standard driver's pedal
// angle (J1516: 77 degrees less 0.08 per millimetre of seat height), the
// shoe, and the class A seat curve (J1517).
using occupant::kDegreesPerRadianAsUsed;
using occupant::kFullTurnDeg;
using occupant::kPedalAngleMaxDeg;
using occupant::kPedalAnglePerMm;
using occupant::kRadiansPerDegreeAsUsed;
using occupant::kShoeLengthMm;
constexpr double kSeatXAtZeroMm = occupant::kSgrpClassA.c0_mm;
constexpr double kSeatXLinear = occupant::kSgrpClassA.b;
constexpr double kSeatXQuadraticPerMm = -occupant::kSgrpClassA.a_per_mm;
constexpr double kToleranceMm = 0.0001;
constexpr int kNewtonStepLimit = 26;

int part_units() { return PART_ask_units(CONTEXT_ask_work_part()); }
// A value per millimetre as a value per part unit (a length in part units
// converted to millimetres), and a length in millimetres in part units.
double per_part_unit(double per_mm) { return vd_convert_unit(per_mm, part_units(), VD_UNIT_MM); }
double mm_to_part(double mm) { return vd_convert_unit(mm, VD_UNIT_MM, part_units()); }

// The chain's end and its derivative along a.
struct Chain {
    double u, w, du, dw;
};
Chain chain(double l1, double l2, double a, double b) {
    return {l1 * std::cos(a) - l2 * std::cos(a + b), l2 * std::sin(a + b), l2 * std::sin(a + b) - l1 * std::sin(a),
            l2 * std::cos(a + b)};
}

// The class A seat curve at the pedal angle a (radians): SgRP height H and
// length X from the ball of foot, with their derivatives along a.
struct Seat {
    double h, x, dh, dx;
};
Seat seat(double a) {
    const double k1 = per_part_unit(kPedalAnglePerMm), k2 = per_part_unit(kSeatXQuadraticPerMm);
    const double h = (kPedalAngleMaxDeg - a * kDegreesPerRadianAsUsed) / k1;
    const double dh = -kDegreesPerRadianAsUsed / k1;
    return {h, mm_to_part(kSeatXAtZeroMm) + kSeatXLinear * h - k2 * h * h, dh, kSeatXLinear * dh - 2.0 * k2 * h * dh};
}

}  // namespace

double hpd_seat_curve_residual(double l1, double l2, double r, double a, double b) {
    const Chain c = chain(l1, l2, a, b);
    const Seat s = seat(a);
    return (c.w - s.h) * (c.w - s.h) + (c.u - s.x) * (c.u - s.x) - r * r;
}

double hpd_seat_curve_slope(double l1, double l2, double a, double b) {
    const Chain c = chain(l1, l2, a, b);
    const Seat s = seat(a);
    return 2.0 * (c.u - s.x) * (c.du - s.dx) + 2.0 * (c.dw - s.dh) * (c.w - s.h);
}

double hpd_seat_curve_newton_step(double l1, double l2, double r, double a, double b) {
    return a - hpd_seat_curve_residual(l1, l2, r, a, b) / hpd_seat_curve_slope(l1, l2, a, b);
}

double hpd_point_residual(const double p[2], double l1, double l2, double r, double a, double b) {
    const Chain c = chain(l1, l2, a, b);
    return (c.w - p[1]) * (c.w - p[1]) + (c.u - p[0]) * (c.u - p[0]) - r * r;
}

double hpd_point_slope(const double p[2], double l1, double l2, double a, double b) {
    const Chain c = chain(l1, l2, a, b);
    return 2.0 * c.du * (c.u - p[0]) + 2.0 * (c.w - p[1]) * c.dw;
}

double hpd_point_newton_step(const double p[2], double l1, double l2, double r, double a, double b) {
    return a - hpd_point_residual(p, l1, l2, r, a, b) / hpd_point_slope(p, l1, l2, a, b);
}

int hpd_circle_pick_upper(const double c1[2], double r1, const double c2[2], double r2, double out[2]) {
    double a[2] = {c1[0], c1[1]}, b[2] = {c2[0], c2[1]}, points[2][2];
    int count = 0;
    if (HM_VD_ask_circle_intersect_point(a, r1, b, r2, &count, points) != 0 || count < 1) return -1;
    int pick = 0;
    for (int i = 1; i < count && i < 2; ++i)
        if (points[i][1] > points[pick][1]) pick = i;
    out[0] = points[pick][0];
    out[1] = points[pick][1];
    return 0;
}

double hpd_reduce_pedal_degrees(double degrees) {
    return std::fabs(degrees) > 360.0 ? std::fmod(degrees, kFullTurnDeg) : degrees;
}

namespace {

// Newton's method on F from the start value: the root, or false when a step
// is flat or not finite, or 26 steps do not bring |F| within the tolerance.
bool newton_on_seat_curve(double l1, double l2, double r, double b, double* root) {
    double f = hpd_seat_curve_residual(l1, l2, r, *root, b);
    if (hpd_tracing()) hpd_trace("\n+++ Initial Values of newton method: root =%f, formula =%f", *root, f);
    // The tolerance converted twice, as the tool has always done it (in a
    // millimetre part it is 0.0001).
    const double tolerance = mm_to_part(mm_to_part(kToleranceMm));
    int steps = 0;
    while (!(std::fabs(f) <= tolerance)) {
        const double slope = hpd_seat_curve_slope(l1, l2, *root, b);
        if (steps == kNewtonStepLimit || !std::isfinite(f) || !std::isfinite(slope) || slope == 0.0) return false;
        *root -= f / slope;
        f = hpd_seat_curve_residual(l1, l2, r, *root, b);
        ++steps;
        if (hpd_tracing()) hpd_trace("\n+++ times = %d, root= %f, formula = %f", steps, *root, f);
    }
    return std::isfinite(*root);
}

}  // namespace

int HM_VD_HPD_define_foot_position_by_locking_both2(double* sgrp, double* leg_lengths, double* angles,
                                                    double* bof_length, double* h) {
    if (!sgrp || !angles || !bof_length || !h || !occupant::hpd_legs_ok(leg_lengths) ||
        !detail::all_finite(sgrp, 3) || !std::isfinite(angles[1]) || !std::isfinite(*h))
        return -1;
    const bool traced = hpd_tracing();
    if (traced) hpd_trace("\n+++ HM_VD_HPD_define_foot_position_by_locking_both2:");
    double b = 0.0, l2 = 0.0;
    occupant::hpd_ask_foot_leg_angle(angles[1], leg_lengths[1], &b, &l2);
    double root = (kPedalAngleMaxDeg - per_part_unit(kPedalAnglePerMm) * *h) * kRadiansPerDegreeAsUsed;
    if (traced)
        hpd_trace("\n+++ First Step: ankle_angle = %f,leg_length[1] = %f,b_angle= %f, L1 = %f, root = %f", angles[1],
                  leg_lengths[1], b, l2, root);
    const bool converged =
        newton_on_seat_curve(mm_to_part(kShoeLengthMm), l2, leg_lengths[0], b * kRadiansPerDegreeAsUsed, &root);
    if (traced) hpd_trace("\n+++ end of newton method.");
    int rc = -1;
    if (converged) {
        angles[0] = hpd_reduce_pedal_degrees(root * kDegreesPerRadianAsUsed);
        if (traced) hpd_trace("\n+++ result pedal angles = %f", angles[0]);
        rc = occupant::hpd_ask_leg_chain_point(sgrp, leg_lengths, angles, bof_length, h);
    }
    if (traced) hpd_trace("\n+++ end of HM_VD_HPD_define_foot_position_by_locking_both2:");
    return rc;
}

}  // namespace carvell::r2006
