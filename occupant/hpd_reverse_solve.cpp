// The steps of the reverse engineering of a seating layout (hpd_reverse.h):
// the lock option decoded, one solve per deviate variable, the SgRP on the
// seat curve, and the bisections of a heel distance L53 for the pedal angle
// or the seat height. The export that runs them is in hpd_reverse.cpp.
#include "hpd_reverse.h"

#include "hpd.h"
#include "hpd_leg_chain.h"
#include "hpd_primitives.h"
#include "hpd_vec2.h"

#include <cmath>

namespace carvell::occupant {

namespace {

using vec2::V;

constexpr double kAngleTolerance = 1e-5;
// Halving either interval this often goes far below the spacing of doubles;
// the cap only ends a search whose target lies outside the interval.
constexpr int kBisectionLimit = 200;

constexpr double kNaN = ReverseSolution::kUnknown;

// The heel from the ankle for the shoe at `pedal_angle` (side view).
V heel_from_ankle(V ankle, double pedal_angle) {
    double a[2], heel[2];
    vec2::put(ankle, a);
    hpd_ask_heel_from_ankle(a, pedal_angle, heel);
    return vec2::of(heel);
}

// The ankle's height above the heel for the shoe at `pedal_angle`.
double ankle_rise(double pedal_angle) {
    const double heel[2] = {0.0, 0.0};
    double ankle[2];
    hpd_ask_ankle_from_heel(heel, pedal_angle, ankle);
    return ankle[1];
}

// Direction (radians) of the lower leg, ankle to knee, above +L.
double shank_direction(double ankle_angle, double pedal_angle) {
    return hpd_shank_angle(ankle_angle, pedal_angle) * kRadiansPerDegreeAsUsed;
}

// Heel from the ankle; with the seat height free it follows from the heel.
void heel_at_ankle(const ReverseProblem& p, V ankle, ReverseSolution& s) {
    V heel = heel_from_ankle(ankle, s.a47);
    s.heel_l = heel.l;
    s.heel_h = heel.h;
    if (p.lock == kAnkleAndPedal) s.h30 = p.sgrp[2] - heel.h;
}

// The heel and foot angle that a foot-angle bisection found, or its code.
int take_bisected_heel(int rc, const double heel[3], double foot_angle, ReverseSolution& s) {
    if (rc != 0) return rc;
    s.a47 = foot_angle;
    s.heel_l = heel[0];
    s.heel_h = heel[2];
    return 0;
}

}  // namespace

ReverseLock reverse_lock_of(int option) {
    switch (option) {
        case 0: return kAnkleAndHeight;
        case 1: return kPedalAndHeight;
        case 3: return kHeightOnly;
        default: return kAnkleAndPedal;
    }
}

// Deviate variable 0: the free quantity is given; the heel follows in closed form.
int reverse_solve_free_quantity(const ReverseProblem& p, double value, ReverseSolution& s) {
    switch (p.lock) {
        case kAnkleAndHeight: s.a47 = value; break;
        case kAnkleAndPedal: s.h30 = value; break;
        default: s.a46 = value; break;
    }
    const double angles[2] = {s.a47, s.a46};
    double heel[2];
    int rc = hpd_ask_heel_x_for_height(p.sgrp, p.leg_lengths, angles, s.h30, heel);
    if (rc != 0) return rc;
    s.heel_l = heel[0];
    s.heel_h = heel[1];
    return 0;
}

// Deviate variable 1: the horizontal distance L53 from the heel to the SgRP.
int reverse_solve_heel_distance(const ReverseProblem& p, double l53, ReverseSolution& s) {
    int rc = 0;
    if (p.lock == kAnkleAndHeight)
        rc = hpd_ask_pedal_angle_by_ankle_angle(p.sgrp, p.leg_lengths, p.back_angle, l53, s.h30, s.a46, &s.a47);
    else if (p.lock == kAnkleAndPedal)
        rc = hpd_ask_seat_height_by_ankle_angle(p.sgrp, p.leg_lengths, p.back_angle, l53, s.a47, s.a46,
                                                p.vehicle_class, &s.h30);
    s.heel_l = p.sgrp[0] - l53;
    s.heel_h = p.sgrp[2] - s.h30;
    return rc;
}

// Deviate variables 2 and 3: the thigh angle A57 (from the hip angle A42 for
// type 2) puts the knee at the upper leg's length from the SgRP.
int reverse_solve_thigh_given(const ReverseProblem& p, double thigh_angle, ReverseSolution& s) {
    const double upper = p.leg_lengths[0], lower = p.leg_lengths[1];
    const double t = thigh_angle * kRadiansPerDegreeAsUsed;
    const V knee = {p.sgrp[0] - std::cos(t) * upper, p.sgrp[2] + std::sin(t) * upper};
    switch (p.lock) {
        case kAnkleAndHeight: {
            // hip angle 90 - A57 with a back angle of 0 gives that thigh angle
            double heel[3], foot_angle = 0.0;
            int rc = hpd_ask_heel_by_foot_angle(heel, p.sgrp, 0.0, p.leg_lengths, s.a46, 90.0 - thigh_angle,
                                                s.h30, &foot_angle);
            return take_bisected_heel(rc, heel, foot_angle, s);
        }
        case kAnkleAndPedal: {
            const double phi = shank_direction(s.a46, s.a47);
            heel_at_ankle(p, {knee.l - lower * std::cos(phi), knee.h - lower * std::sin(phi)}, s);
            return 0;
        }
        default: {
            // The ankle at its known height: the lower leg must span the drop from the knee.
            const double ankle_h = p.sgrp[2] - s.h30 + ankle_rise(s.a47);
            const double drop = knee.h - ankle_h;
            if (!(std::fabs(drop) <= lower)) return -1;
            heel_at_ankle(p, {knee.l - std::sqrt(lower * lower - drop * drop), ankle_h}, s);
            return 0;
        }
    }
}

// Deviate variable 4: the knee angle A44 fixes the SgRP-to-ankle distance.
int reverse_solve_knee_given(const ReverseProblem& p, double knee_angle, ReverseSolution& s) {
    const double upper = p.leg_lengths[0], lower = p.leg_lengths[1];
    const double d = hpd_knee_chord(knee_angle, upper, lower);
    switch (p.lock) {
        case kAnkleAndHeight: {
            double heel[3], foot_angle = 0.0;
            int rc = hpd_ask_heel_by_foot_angle_cosine(heel, p.sgrp, knee_angle, p.leg_lengths, s.a46, s.h30,
                                                       &foot_angle);
            return take_bisected_heel(rc, heel, foot_angle, s);
        }
        case kAnkleAndPedal: {
            // A straight knee folded flat leaves no triangle to take an angle from.
            if (!(d > 0.0)) return -1;
            const double at_ankle = hpd_chord_angle_at_ankle(knee_angle, upper, lower, d);
            const double dir = shank_direction(s.a46, s.a47) - at_ankle;
            heel_at_ankle(p, {p.sgrp[0] - d * std::cos(dir), p.sgrp[2] - d * std::sin(dir)}, s);
            return 0;
        }
        default: {
            const double ankle_h = p.sgrp[2] - s.h30 + ankle_rise(s.a47);
            const double rise = p.sgrp[2] - ankle_h;
            // The chord cannot span a height difference longer than itself.
            if (!(std::fabs(rise) <= d)) return -1;
            heel_at_ankle(p, {p.sgrp[0] - std::sqrt(d * d - rise * rise), ankle_h}, s);
            return 0;
        }
    }
}

// No deviate variable: the SgRP lies on the seat curve of the vehicle class.
int reverse_solve_on_seat_curve(const ReverseProblem& p, ReverseSolution& s) {
    double bof = kNaN;
    int rc = 0;
    switch (p.lock) {
        case kAnkleAndHeight: {
            double a47 = kNaN;
            rc = HM_VD_HPD_define_foot_position_by_locking_ankle_angle(p.sgrp, p.leg_lengths, s.h30, s.a46, &bof,
                                                                      &a47, p.vehicle_class, p.male_female_ratio);
            s.a47 = a47;
            break;
        }
        case kAnkleAndPedal: rc = reverse_foot_by_locking_both(p, s, &bof); break;
        default: {
            double a46 = kNaN;
            rc = HM_VD_HPD_define_foot_position_by_locking_pedal_angle(p.sgrp, p.leg_lengths, s.h30, s.a47, &bof,
                                                                      &a46, p.vehicle_class, p.male_female_ratio);
            s.a46 = a46;
            break;
        }
    }
    s.heel_l = bof + hpd_sole_run(s.a47);
    s.heel_h = p.sgrp[2] - s.h30;
    return rc;
}

int hpd_ask_pedal_angle_by_ankle_angle(double* sgrp, double* leg_lengths, double back_angle, double l53, double h30,
                                       double ankle_angle, double* pedal_angle) {
    if (!sgrp || !pedal_angle || !hpd_legs_ok(leg_lengths) || !carvell::detail::all_finite(sgrp, 3) || !std::isfinite(l53) ||
        !std::isfinite(h30) || !std::isfinite(ankle_angle))
        return -1;
    double heel[3] = {sgrp[0] - l53, sgrp[1] + hpd_mm(kHeelLateralMm), sgrp[2] - h30};
    double lo = 0.0, hi = kPedalAngleMaxDeg;
    for (int i = 0; i < kBisectionLimit; ++i) {
        const double mid = (lo + hi) / 2.0;
        *pedal_angle = mid;
        if (!(mid > 0.0 && mid < kPedalAngleMaxDeg)) break;
        HPD_apf_shoe_values_t shoe{};
        // A pedal angle at which the leg cannot be placed gives no ankle
        // angle to compare: the search fails there.
        if (HM_VD_HPD_AskAnglesRoom(sgrp, 0.0, back_angle, leg_lengths, heel, mid, false, &shoe) != 0) return -1;
        if (std::fabs(shoe.ankle_angle - ankle_angle) <= kAngleTolerance) return 0;
        if (shoe.ankle_angle >= ankle_angle)
            lo = mid;
        else
            hi = mid;
    }
    return -1;
}

int hpd_ask_seat_height_by_ankle_angle(double* sgrp, double* leg_lengths, double back_angle, double l53,
                                       double pedal_angle, double ankle_angle, int vehicle_class, double* h30) {
    if (!sgrp || !h30 || !hpd_legs_ok(leg_lengths) || !carvell::detail::all_finite(sgrp, 3) || !std::isfinite(l53) ||
        !std::isfinite(pedal_angle) || !std::isfinite(ankle_angle))
        return -1;
    const double low = hpd_mm(vehicle_class == 0 ? kClassAMinH30Mm : kClassBMinH30Mm);
    const double high = hpd_mm(vehicle_class == 0 ? kClassAMaxH30Mm : kClassBMaxH30Mm);
    double side_sgrp[2] = {sgrp[0], sgrp[2]};
    double lo = low, hi = high;
    for (int i = 0; i < kBisectionLimit; ++i) {
        const double mid = (lo + hi) / 2.0;
        *h30 = mid;
        if (!(mid > low && mid < high)) break;
        double result[5];
        if (HM_VD_HPD_ask_leg_angles_legroom(side_sgrp, l53, mid, pedal_angle, leg_lengths, back_angle, false,
                                             result) != 0)
            return -1;
        if (std::fabs(result[0] - ankle_angle) <= kAngleTolerance) return 0;
        if (ankle_angle > result[0])
            hi = mid;
        else
            lo = mid;
    }
    return -1;
}

}  // namespace carvell::occupant
