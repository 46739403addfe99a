// Seating reference point (SgRP) of the H-point design tool: the fore-aft
// formulas of the two vehicle classes, the accelerator heel point (AHP) from
// the SgRP and back, and the range of seat heights (H30) that a target
// posture allows.
//
// Class A places the SgRP on a parabola in H30, class B on a straight line
// whose coefficients depend on the occupant population's male-female ratio.
// Lengths are given in millimetres and converted to the work part's units on
// each call; a coefficient per millimetre is converted the other way.
#include "hpd_sgrp.h"
#include "hpd.h"
#include "hpd_primitives.h"
#include "hpd_vec2.h"
#include "toolbox/detail/vec3.h"

#include <cmath>

using namespace carvell::occupant;

using vec2::V;
namespace detail = carvell::detail;

namespace {

// Lateral offset of the right heel from the SgRP in the leg-chain estimate
// of other legs than the standard driver's.
constexpr double kChainLateralMm = 127.0;
// The ankle arm lies on the other side of the heel below this foot angle.
constexpr double kAnkleArmSwitchAngle = 37.1262;

constexpr int kDriver = 0;

bool standard_legs(double upper, double lower, double tolerance) {
    return std::fabs(upper - hpd_mm(kStandardUpperLegMm)) <= tolerance &&
           std::fabs(lower - hpd_mm(kStandardLowerLegMm)) <= tolerance;
}

double cos_deg(double degrees) { return std::cos(degrees * kRadiansPerDegreeAsUsed); }
double sin_deg(double degrees) { return std::sin(degrees * kRadiansPerDegreeAsUsed); }

// Knee angle and leg-chain constant of the estimate for a seating position,
// and the foot angle that follows from the thigh angle.
struct ChainEstimate {
    double c;
    double foot_angle;
    double sign;   // which way the ankle arm lies from the heel
};

ChainEstimate chain_estimate(int seating_position, double thigh_angle) {
    const bool driver = seating_position == kDriver;
    const double knee = driver ? 87.0 : 130.0;
    const double c = driver ? 120.0 : 90.0;
    ChainEstimate e;
    e.c = c;
    e.foot_angle = std::fabs(92.5 - knee + c - 90.0 + thigh_angle);
    e.sign = e.foot_angle < kAnkleArmSwitchAngle ? -1.0 : 1.0;
    return e;
}

// Horizontal distance from the heel to the SgRP of the leg-chain estimate
// with the foot at `foot_angle`.
double chain_reach(const ChainEstimate& e, double foot_angle, double thigh_angle, double upper, double lower) {
    return e.sign * hpd_mm(kAnkleArmMm) * std::fabs(cos_deg(foot_angle + kAnkleArmDeg)) +
           std::fabs(sin_deg(e.c - 90.0 + thigh_angle)) * lower + std::fabs(sin_deg(90.0 - thigh_angle)) * upper;
}

// acos of ratio = offset / length, with offsets that overshoot the length by
// no more than the tolerance counted as reaching it. False when the offset
// lies outside what the length can span.
bool acos_of_reach(double offset, double length, double tolerance, double* angle) {
    if (!(length > 0.0) || !(std::fabs(offset) <= length + tolerance)) return false;
    *angle = std::acos(std::fmax(-1.0, std::fmin(1.0, offset / length)));
    return true;
}

}  // namespace

/* ---- the fore-aft formulas ---- */

namespace carvell::occupant {

double hpd_sgrp_class_a_x(double h30) {
    return hpd_mm(kSgrpClassA.c0_mm) + kSgrpClassA.b * h30 + hpd_sgrp_class_a_coefficient() * h30 * h30;
}

double hpd_sgrp_class_a_coefficient() { return kSgrpClassA.a_per_mm / hpd_mm(1.0); }

SgrpLineCoefficients hpd_sgrp_class_b_coefficients(int male_female_ratio) {
    switch (male_female_ratio) {
        case 0: return {900.23, 0.471};   // 50:50
        case 1: return {928.86, 0.519};   // 75:25
        default: return {922.49, 0.494};  // 90:10 or 95:5
    }
}

}  // namespace carvell::occupant

double VD_HPDWIZ_SGRPX_B(double h30, int male_female_ratio) {
    const SgrpLineCoefficients line = hpd_sgrp_class_b_coefficients(male_female_ratio);
    return hpd_mm(line.c_mm) - line.k * h30;
}

/* ---- AHP from the SgRP and back ---- */

int HM_VD_HPD_ask_right_shoe_target(int seating_position, double* sgrp, double thigh_angle, double* leg_lengths,
                                    double h30, double pv_angle, double* ahp, double* pedal_angle,
                                    int vehicle_class, int male_female_ratio) {
    if (!sgrp || !leg_lengths || !ahp || !pedal_angle) return -1;
    if (!detail::all_finite(sgrp, 3) || !detail::all_finite(leg_lengths, 2) ||
        !detail::all_finite({thigh_angle, h30, pv_angle}))
        return -1;
    const double upper = leg_lengths[0], lower = leg_lengths[1];
    double point[3];
    double lateral, angle;
    if (seating_position == kDriver && standard_legs(upper, lower, 1e-4)) {
        angle = hpd_standard_pedal_angle(h30);
        if (vehicle_class == 0)
            point[0] = sgrp[0] - hpd_sgrp_class_a_x(h30) + hpd_sole_run(angle);
        else
            point[0] = sgrp[0] - VD_HPDWIZ_SGRPX_B(h30, male_female_ratio);
        lateral = hpd_mm(kHeelLateralMm);
    } else {
        const ChainEstimate e = chain_estimate(seating_position, thigh_angle);
        angle = e.foot_angle > kPedalAngleMaxDeg ? kPedalAngleMaxDeg : e.foot_angle;
        point[0] = sgrp[0] - chain_reach(e, angle, thigh_angle, upper, lower);
        lateral = hpd_mm(kChainLateralMm);
    }
    point[1] = sgrp[1] + lateral;
    point[2] = sgrp[2] - h30;
    double turned[3];
    HPD_transform_point_to_pv(point, sgrp, pv_angle, turned);
    // Leg lengths or heights that overflow give no target.
    if (!std::isfinite(angle) || !detail::all_finite(turned, 3)) return -1;
    *pedal_angle = angle;
    detail::copy3(turned, ahp);
    return 0;
}

void HM_VD_HPD_ask_sgrp_on_curve(double* ahp, double pedal_angle, double h30, double pv_angle, double* sgrp,
                                 double lateral, int vehicle_class, int male_female_ratio) {
    if (!ahp || !sgrp) return;
    if (!detail::all_finite(ahp, 3) || !detail::all_finite({pedal_angle, h30, pv_angle, lateral})) return;
    double point[3];
    if (vehicle_class == 0)
        point[0] = ahp[0] - hpd_sole_run(pedal_angle) + hpd_sgrp_class_a_x(h30);
    else
        point[0] = ahp[0] + VD_HPDWIZ_SGRPX_B(h30, male_female_ratio);
    point[1] = ahp[1] - hpd_mm(kHeelLateralMm) + lateral;
    point[2] = ahp[2] + h30;
    double centre[3] = {ahp[0], ahp[1], ahp[2]}, turned[3];
    HPD_transform_point_to_pv(point, centre, pv_angle, turned);
    if (detail::all_finite(turned, 3)) detail::copy3(turned, sgrp);
}

/* ---- valid seat heights ---- */

int HM_VD_HPD_ask_valid_h30_for_target_posture(int seating_position, double upper_leg, double lower_leg,
                                               double thigh_angle, double* h30_max, double* h30_min,
                                               int vehicle_class) {
    if (!h30_max || !h30_min) return -1;
    if (!detail::all_finite({upper_leg, lower_leg, thigh_angle})) return -1;
    if (seating_position == kDriver && standard_legs(upper_leg, lower_leg, 1e-10)) {
        const bool class_a = vehicle_class == 0;
        *h30_max = hpd_mm(class_a ? kClassAMaxH30Mm : kClassBMaxH30Mm);
        *h30_min = hpd_mm(class_a ? kClassAMinH30Mm : kClassBMinH30Mm);
        return 0;
    }
    const ChainEstimate e = chain_estimate(seating_position, thigh_angle);
    const double reach = chain_reach(e, e.foot_angle, thigh_angle, upper_leg, lower_leg);
    return hpd_ask_valid_h30_range(seating_position, upper_leg, lower_leg, e.foot_angle, reach, h30_max, h30_min);
}

namespace carvell::occupant {

int hpd_ask_valid_h30_range(int seating_position, double upper_leg, double lower_leg, double foot_angle,
                            double reach, double* h30_max, double* h30_min) {
    if (!h30_max || !h30_min) return -1;
    if (!(upper_leg > 0.0 && lower_leg > 0.0) || !std::isfinite(reach) || !std::isfinite(foot_angle)) return -1;
    const double leg = upper_leg + lower_leg;
    const double heel[2] = {0.0, 0.0};
    double ankle[2];
    hpd_ask_ankle_from_heel(heel, foot_angle, ankle);
    const double from_ankle = reach - ankle[0];
    if (from_ankle > leg + 1e-10) {
        // The straightened leg does not reach the SgRP's fore-aft position.
        *h30_max = hpd_mm(kAnkleUpMm) + upper_leg + lower_leg;
        *h30_min = 0.0;
        return -1;
    }
    // An SgRP that far in front of the ankle is out of reach too: no angle of
    // the straightened leg spans it.
    double leg_angle = 0.0;
    if (!acos_of_reach(from_ankle, leg, 1e-10, &leg_angle)) return -1;

    double knee_pt[2];
    hpd_ask_knee_from_ankle(ankle, foot_angle, seating_position == kDriver ? 180.0 : 130.0, lower_leg, knee_pt);
    const V knee = vec2::of(knee_pt);

    const double highest = ankle[1] + leg * std::sin(leg_angle);
    double lowest;
    const double from_knee = reach - knee.l;
    if (from_knee > upper_leg + 1e-10) {
        lowest = ankle[1] - leg * std::sin(leg_angle);
    } else {
        double thigh = 0.0;
        if (!acos_of_reach(from_knee, upper_leg, 1e-10, &thigh)) return -1;
        lowest = knee.h - upper_leg * std::sin(thigh);
    }
    if (lowest < -1e-10) lowest = 0.0;
    *h30_max = highest;
    *h30_min = lowest;
    return 0;
}

}  // namespace carvell::occupant
