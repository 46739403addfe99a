// Leg posture of the H-point design tool: leg angles and leg room, the
// validity of a heel position, the four posture checks and the three ways of
// meeting a locked ankle angle.
#include "hpd.h"
#include "hpd_primitives.h"
#include "hpd_vec2.h"

#include "toolbox/detail/finite.h"
#include "toolbox/detail/vec3.h"

#include <cmath>

using namespace carvell::occupant;

using vec2::V;
using carvell::detail::all_finite;

namespace {

// Leg room: the SgRP-to-ankle distance plus this length.
constexpr double kLegRoomAddMm = 254.0;
// Greatest lateral distance of the heel from the SgRP.
constexpr double kHalfWidthMm = 196.5;

// Side view (L, H) of a 3-D point.
V side(const double* p) { return {p[0], p[2]}; }

double angle_between(V from, V to) {
    double a[2], b[2], angle = 0.0;
    vec2::put(from, a);
    vec2::put(to, b);
    hpd_angle_2d(a, b, &angle);
    return angle;
}

// The SgRP turned about the heel by -pv_angle: the occupant's frame seen from the heel.
void sgrp_from_heel(double* heel, double* sgrp, double pv_angle, double out[3]) {
    HPD_transform_point_to_pv(sgrp, heel, -pv_angle, out);
}

// One posture check: `ok` judges the SgRP seen from the heel; a failure is
// shown as `code` when asked. False for a null point.
template <typename Ok>
bool posture_check(double* heel, double* sgrp, double pv_angle, bool show, int code, Ok ok) {
    if (!all_finite(heel, 3) || !all_finite(sgrp, 3) || !std::isfinite(pv_angle)) return false;
    double s[3];
    sgrp_from_heel(heel, sgrp, pv_angle, s);
    // A turned point that is no longer finite passes no check.
    const bool passed = all_finite(s, 3) && ok(s);
    if (!passed && show) HM_VD_HPD_display_failmessage(code);
    return passed;
}

int pick(V c1, double r1, V c2, double r2, int rule, V* point) {
    double a[2], b[2], p[2];
    vec2::put(c1, a);
    vec2::put(c2, b);
    if (hpd_pick_circle_intersection(a, r1, b, r2, rule, p) != 0) return -1;
    *point = vec2::of(p);
    return 0;
}

// The arguments of the two shoe-turning adjustments: -1 for a null pointer,
// a point or angle that is not finite, or an ankle angle outside [0, 180], -2 for a leg length outside [250, 550]
// mm, else 0.
int check_turning_inputs(double* sgrp, double pv_angle, double ankle_angle, double* leg_lengths, double* heel,
                         double* shoe_angle) {
    if (!sgrp || !leg_lengths || !heel || !shoe_angle) return -1;
    if (!all_finite(sgrp, 3) || !all_finite(heel, 3) || !all_finite({*shoe_angle, pv_angle})) return -1;
    if (!(ankle_angle >= 0.0 && ankle_angle <= 180.0)) return -1;
    const double lo = hpd_mm(kLegMinMm), hi = hpd_mm(kLegMaxMm);
    for (int i = 0; i < 2; ++i)
        if (!(leg_lengths[i] >= lo && leg_lengths[i] <= hi)) return -2;
    return 0;
}

// The triangle heel - knee - ball of foot of the ankle angle: gamma the
// angle at the heel (degrees), d the heel-to-knee and r the ball-to-knee
// distance, for the shoe length `shoe`.
struct FootLegTriangle {
    double gamma = 0.0, d = 0.0, r = 0.0;
};
FootLegTriangle foot_leg_triangle(double ankle_angle, double lower, double shoe) {
    FootLegTriangle t;
    hpd_ask_foot_leg_angle(ankle_angle, lower, &t.gamma, &t.d);
    t.r = std::sqrt(
        std::fmax(0.0, shoe * shoe + t.d * t.d - 2.0 * shoe * t.d * std::cos(t.gamma * kRadiansPerDegreeAsUsed)));
    return t;
}

}  // namespace

int HM_VD_HPD_ask_leg_angles_legroom(double* sgrp, double heel_dl, double heel_dh, double shoe_angle,
                                     double* leg_lengths, double back_angle, bool room_only, double* result) {
    if (!sgrp || !leg_lengths || !result) return -1;
    if (!all_finite(sgrp, 2) || !all_finite(leg_lengths, 2) ||
        !all_finite({heel_dl, heel_dh, shoe_angle, back_angle}))
        return -1;
    if (heel_dl < 0.0) return 24;
    if (heel_dh < 0.0) return 25;
    const double upper = leg_lengths[0], lower = leg_lengths[1];
    V s = vec2::of(sgrp);
    double heel[2] = {s.l - heel_dl, s.h - heel_dh};
    double ankle_pt[2];
    hpd_ask_ankle_from_heel(heel, shoe_angle, ankle_pt);
    V ankle = vec2::of(ankle_pt);
    double leg_room = vec2::distance(s, ankle) + hpd_mm(kLegRoomAddMm);
    // Offsets so large that the distance overflows give no leg room.
    if (!std::isfinite(leg_room)) return -1;
    if (room_only) {
        result[0] = 130.0;
        result[1] = result[2] = result[3] = 0.0;
        result[4] = leg_room;
        return 0;
    }
    if (!(vec2::distance(ankle, s) < upper + lower + 1e-4)) return 23;
    double sgrp_pt[2] = {s.l, s.h}, knee_pt[2];
    if (hpd_ask_knee_point(ankle_pt, lower, sgrp_pt, upper, knee_pt) != 0) return -1;
    V knee = vec2::of(knee_pt);
    double foot_dir[2];
    hpd_ask_foot_direction(shoe_angle, foot_dir);
    const V foot = vec2::of(foot_dir);

    double ankle_angle = hpd_wrap_angle_deg(angle_between(knee - ankle, foot));
    double thigh_angle = hpd_wrap_angle_deg(angle_between(knee - s, {-1.0, 0.0}));
    double knee_angle = hpd_wrap_angle_deg(angle_between(ankle - knee, s - knee));
    // Leg lengths that overflow the knee's construction give no angles.
    if (!all_finite({ankle_angle, thigh_angle, knee_angle, back_angle + 90.0 - thigh_angle})) return -1;
    result[0] = ankle_angle;
    result[1] = thigh_angle;
    result[2] = knee_angle;
    result[3] = back_angle + 90.0 - thigh_angle;
    result[4] = leg_room;
    return 0;
}

int HM_VD_HPD_is_valid_shoe_position(int leg, double* heel, double* sgrp, double upper_leg, double lower_leg,
                                     double shoe_angle, double pv_angle) {
    if (!heel || !sgrp) return -1;
    if (!all_finite(heel, 3) || !all_finite(sgrp, 3) || !all_finite({upper_leg, lower_leg, shoe_angle, pv_angle}))
        return -1;
    double turned[3];
    HPD_transform_point_to_pv(heel, sgrp, -pv_angle, turned);
    if (!all_finite(turned, 3)) return -1;
    double arm = hpd_mm(kAnkleArmMm);
    double a = (shoe_angle + kAnkleArmDeg) * kRadiansPerDegreeAsUsed;
    V ankle = {turned[0] - arm * std::cos(a), turned[2] + arm * std::sin(a)};
    if ((leg == 0 || leg == 1) && !(vec2::distance(side(sgrp), ankle) < upper_leg + lower_leg + 1e-4)) return 23;
    if (turned[0] >= sgrp[0] + 1e-4) return 24;
    if (turned[2] >= sgrp[2] + 1e-4) return 25;
    if (leg == 0 || leg == 2) {
        if (!HM_VD_HPD_check_right_shoe(heel, sgrp, pv_angle, false)) return 26;
    } else if (leg == 1) {
        if (!HM_VD_HPD_check_left_shoe(heel, sgrp, pv_angle, false)) return 27;
    }
    return 0;
}

bool HM_VD_HPD_check_hpd_width(double* heel, double* sgrp, double pv_angle, bool show) {
    return posture_check(heel, sgrp, pv_angle, show, 40, [&](const double* s) {
        double w = std::fabs(s[1] - heel[1]);
        return w <= hpd_mm(kHalfWidthMm) + 1e-10 && w >= 0.0 - 1e-10;
    });
}

bool HM_VD_HPD_check_hpd_length(double* heel, double* sgrp, double pv_angle, double* leg_lengths,
                                double shoe_angle, bool show) {
    if (!all_finite(leg_lengths, 2) || !std::isfinite(shoe_angle)) return false;
    return posture_check(heel, sgrp, pv_angle, show, 23, [&](const double* s) {
        double heel_side[2] = {heel[0], heel[2]}, ankle[2];
        hpd_ask_ankle_from_heel(heel_side, shoe_angle, ankle);
        return vec2::distance(side(s), vec2::of(ankle)) <= leg_lengths[0] + leg_lengths[1] + 1e-10;
    });
}

bool HM_VD_HPD_check_right_shoe(double* heel, double* sgrp, double pv_angle, bool show) {
    return posture_check(heel, sgrp, pv_angle, show, 26, [&](const double* s) { return !(s[1] > heel[1] + 1e-10); });
}

bool HM_VD_HPD_check_left_shoe(double* heel, double* sgrp, double pv_angle, bool show) {
    return posture_check(heel, sgrp, pv_angle, show, 27, [&](const double* s) { return !(s[1] < heel[1] - 1e-10); });
}

int HM_VD_HPD_lock_pass_ankle_angle_by_coordinate_adjustment(double* sgrp, double pv_angle, double shoe_angle,
                                                             double ankle_angle, double* leg_lengths,
                                                             double* heel) {
    if (!sgrp || !leg_lengths || !heel) return -1;
    if (!all_finite(sgrp, 3) || !all_finite(heel, 3) || !all_finite(leg_lengths, 2) ||
        !all_finite({pv_angle, shoe_angle, ankle_angle}))
        return -1;
    const double upper = leg_lengths[0], lower = leg_lengths[1];
    double turned[3];
    HPD_transform_point_to_pv(heel, sgrp, -pv_angle, turned);
    double gamma = 0.0, d = 0.0;
    hpd_ask_foot_leg_angle(ankle_angle, lower, &gamma, &d);
    // Direction of the heel-to-knee line above the +L axis.
    double phi = 180.0 - gamma - shoe_angle;
    if (phi < 0.0 || phi > 180.0) return -1;
    double phi_rad = phi * kRadiansPerDegreeAsUsed;
    double dh = (sgrp[2] - turned[2]) - d * std::sin(phi_rad);
    // The thigh must reach from the knee up (or down) to the SgRP's height.
    if (!(std::fabs(dh) <= upper)) return -1;
    double x = sgrp[0] - std::sqrt(upper * upper - dh * dh);
    double reach = std::fabs(std::cos(phi_rad)) * d;
    turned[0] = phi >= 90.0 ? x + reach : x - reach;
    double moved[3];
    HPD_transform_point_to_pv(turned, sgrp, pv_angle, moved);
    if (!all_finite(moved, 3)) return -1;
    carvell::detail::copy3(moved, heel);
    return 0;
}

int HM_VD_HPD_lock_pass_ankle_angle_by_shoe_angle_adjustment(double* sgrp, double pv_angle, double ankle_angle,
                                                             double* leg_lengths, double* heel,
                                                             double* shoe_angle) {
    if (int rc = check_turning_inputs(sgrp, pv_angle, ankle_angle, leg_lengths, heel, shoe_angle)) return rc;
    const double upper = leg_lengths[0], lower = leg_lengths[1];
    double turned[3];
    HPD_transform_point_to_pv(heel, sgrp, -pv_angle, turned);
    V h = side(turned), s = side(sgrp);
    const double shoe = hpd_mm(kShoeLengthMm);
    const FootLegTriangle t = foot_leg_triangle(ankle_angle, lower, shoe);
    V knee, ball;
    if (pick(h, t.d, s, upper, 2, &knee) != 0) return -3;
    if (pick(h, shoe, knee, t.r, 2, &ball) != 0) return -3;
    const double angle = angle_between(ball - h, {-1.0, 0.0});
    if (!std::isfinite(angle)) return -3;
    *shoe_angle = angle;
    return 0;
}

int HM_VD_HPD_lock_pass_ankle_angle_by_keep_bof_location(double* sgrp, double pv_angle, double ankle_angle,
                                                         double* leg_lengths, double* heel, double* shoe_angle) {
    if (int rc = check_turning_inputs(sgrp, pv_angle, ankle_angle, leg_lengths, heel, shoe_angle)) return rc;
    const double upper = leg_lengths[0], lower = leg_lengths[1];
    double turned[3];
    HPD_transform_point_to_pv(heel, sgrp, -pv_angle, turned);
    V s = side(sgrp);
    const double shoe = hpd_mm(kShoeLengthMm);
    double a = *shoe_angle * kRadiansPerDegreeAsUsed;
    V ball = {turned[0] - shoe * std::cos(a), turned[2] + shoe * std::sin(a)};
    const FootLegTriangle t = foot_leg_triangle(ankle_angle, lower, shoe);
    V knee, h;
    if (pick(ball, t.r, s, upper, 2, &knee) != 0) return -3;
    if (pick(ball, shoe, knee, t.d, 3, &h) != 0) return -3;
    const double angle = angle_between(ball - h, {-1.0, 0.0});
    turned[0] = h.l;
    turned[2] = h.h;
    double moved[3];
    HPD_transform_point_to_pv(turned, sgrp, pv_angle, moved);
    if (!std::isfinite(angle) || !all_finite(moved, 3)) return -3;
    *shoe_angle = angle;
    carvell::detail::copy3(moved, heel);
    return 0;
}
