// Foot position of the reverse engineering with the SgRP on the seat curve
// of its vehicle class: from the seat height and a locked ankle angle, from
// the seat height and a locked pedal angle, or from both angles locked. Each
// answers the length (L) of the ball of foot and the quantity left free.
#include "hpd.h"
#include "hpd_leg_chain.h"
#include "hpd_messages.h"
#include "hpd_primitives.h"
#include "hpd_sgrp.h"
#include "hpd_vec2.h"
#include "omvra.h"

#include <cmath>

using namespace carvell::occupant;
using vec2::V;

namespace {

// Newton's method on the pedal angle: at most this many steps.
constexpr int kNewtonStepLimit = 25;
constexpr double kClosureToleranceMm2 = 1e-4;  // the residual is a squared length

int pedal_angle_class_a(const double* sgrp, const double* leg_lengths, double h30, double ankle_angle,
                        double* bof_length, double* pedal_angle) {
    const double distance = hpd_sgrp_class_a_x(h30);
    *bof_length = sgrp[0] - distance;

    double b = 0.0, l1 = 0.0;
    hpd_ask_foot_leg_angle(ankle_angle, leg_lengths[1], &b, &l1);
    const double b_rad = b * kRadiansPerDegreeAsUsed;
    const double shoe = hpd_mm(kShoeLengthMm);
    const double upper = leg_lengths[0];
    // The SgRP seen from the chain's origin: ball of foot in L, heel in H.
    const double target[2] = {distance, h30};
    double root = 0.0;
    if (hpd_tracing())
        hpd_trace("\n+++ First Step: leg_length[0] = %f,b_angle= %f, L1 = %f, root = %f, sgrp = (%f, %f)", upper, b,
                  l1, root, target[0], target[1]);
    double f = hpd_leg_closure(shoe, l1, upper, root, b_rad, target);
    if (hpd_tracing()) hpd_trace("\n+++ Initial Values of newton method: root =%f, formula =%f", root, f);

    const double unit = hpd_mm(1.0);
    const double tolerance = kClosureToleranceMm2 * unit * unit;
    int steps = 0;
    bool converged = true;
    while (!(std::fabs(f) <= tolerance)) {
        if (steps == kNewtonStepLimit) {
            converged = false;
            break;
        }
        double next = hpd_leg_newton_step(shoe, l1, upper, root, b_rad, target);
        // A flat residual sends the step nowhere: stop with the last root.
        if (!std::isfinite(next)) {
            converged = false;
            break;
        }
        root = next;
        f = hpd_leg_closure(shoe, l1, upper, root, b_rad, target);
        ++steps;
        if (hpd_tracing()) hpd_trace("\n+++ times = %d, root = %f, formula = %f", steps, root, f);
    }

    double degrees = root * kDegreesPerRadianAsUsed;
    if (std::fabs(degrees) > 360.0) degrees = std::fmod(degrees, kFullTurnDeg);
    *pedal_angle = degrees;
    if (hpd_tracing()) hpd_trace("\n+++ result pedal angles = %f", degrees);
    return converged ? 0 : -1;
}

int pedal_angle_class_b(const double* sgrp, const double* leg_lengths, double h30, double ankle_angle,
                        int male_female_ratio, double* bof_length, double* pedal_angle) {
    const V heel = {sgrp[0] - VD_HPDWIZ_SGRPX_B(h30, male_female_ratio), sgrp[2] - h30};
    double b = 0.0, l1 = 0.0;
    hpd_ask_foot_leg_angle(ankle_angle, leg_lengths[1], &b, &l1);

    double heel_pt[2], hip[2] = {sgrp[0], sgrp[2]}, knee_pt[2];
    vec2::put(heel, heel_pt);
    int rc = hpd_pick_circle_intersection(heel_pt, l1, hip, leg_lengths[0], 2, knee_pt);
    if (rc != 0) return rc;
    // The heel-to-knee line turned back by the foot-leg angle runs along the sole.
    double sole[2], forward[2] = {-1.0, 0.0}, angle = 0.0;
    vec2::put(vec2::turn(vec2::of(knee_pt) - heel, b * kRadiansPerDegreeAsUsed), sole);
    hpd_angle_2d(sole, forward, &angle);
    *pedal_angle = angle;
    *bof_length = heel.l - hpd_sole_run(angle);
    if (hpd_tracing()) hpd_trace("\n+++ result pedal angles = %f", angle);
    return 0;
}

}  // namespace

int HM_VD_HPD_define_foot_position_by_locking_ankle_angle(double* sgrp, double* leg_lengths, double h30,
                                                          double ankle_angle, double* bof_length,
                                                          double* pedal_angle, int vehicle_class,
                                                          int male_female_ratio) {
    if (!sgrp || !bof_length || !pedal_angle || !hpd_legs_ok(leg_lengths) || !carvell::detail::all_finite(sgrp, 3) ||
        !std::isfinite(h30) || !std::isfinite(ankle_angle))
        return -1;
    if (hpd_tracing()) hpd_trace("\n+++ HM_VD_HPD_define_foot_position_by_locking_ankle_angle:");
    int rc = vehicle_class == 0
                 ? pedal_angle_class_a(sgrp, leg_lengths, h30, ankle_angle, bof_length, pedal_angle)
                 : pedal_angle_class_b(sgrp, leg_lengths, h30, ankle_angle, male_female_ratio, bof_length,
                                       pedal_angle);
    if (hpd_tracing()) hpd_trace("\n+++ end of HM_VD_HPD_define_foot_position_by_locking_ankle_angle:");
    return rc;
}

int HM_VD_HPD_define_foot_position_by_locking_pedal_angle(double* sgrp, double* leg_lengths, double h30,
                                                          double pedal_angle, double* bof_length,
                                                          double* ankle_angle, int vehicle_class,
                                                          int male_female_ratio) {
    if (!sgrp || !bof_length || !ankle_angle || !hpd_legs_ok(leg_lengths) || !carvell::detail::all_finite(sgrp, 3) ||
        !std::isfinite(h30) || !std::isfinite(pedal_angle))
        return -1;
    const double sole = hpd_sole_run(pedal_angle);
    double heel_l;
    if (vehicle_class == 0) {
        *bof_length = sgrp[0] - hpd_sgrp_class_a_x(h30);
        heel_l = *bof_length + sole;
    } else {
        heel_l = sgrp[0] - VD_HPDWIZ_SGRPX_B(h30, male_female_ratio);
        *bof_length = heel_l - sole;
    }
    const double heel[2] = {heel_l, sgrp[2] - h30};
    double ankle[2], knee[2], hip[2] = {sgrp[0], sgrp[2]};
    hpd_ask_ankle_from_heel(heel, pedal_angle, ankle);
    int rc = hpd_ask_knee_point(ankle, leg_lengths[1], hip, leg_lengths[0], knee);
    if (rc != 0) return rc;

    // The ankle angle: from the lower leg to the foot direction, in the side
    // view (L, 0, H) measured about -W.
    double foot[2];
    hpd_ask_foot_direction(pedal_angle, foot);
    const double shank3[3] = {knee[0] - ankle[0], 0.0, knee[1] - ankle[1]};
    const double foot3[3] = {foot[0], 0.0, foot[1]};
    const double about[3] = {0.0, -1.0, 0.0};
    double radians = 0.0;
    rc = HM_VEC3_angle_between(shank3, foot3, about, &radians);
    if (rc != 0) return rc;
    *ankle_angle = radians * kDegreesPerRadianAsUsed;
    return 0;
}

int HM_VD_HPD_define_foot_position_by_locking_both(double* sgrp, double* leg_lengths, double* angles,
                                                   double* bof_length, double* h30, int vehicle_class,
                                                   int male_female_ratio) {
    if (!sgrp || !angles || !bof_length || !h30 || !hpd_legs_ok(leg_lengths) || !carvell::detail::all_finite(sgrp, 3) ||
        !carvell::detail::all_finite(angles, 2))
        return -1;
    if (vehicle_class == 0) return hpd_ask_leg_chain_point(sgrp, leg_lengths, angles, bof_length, h30);
    return hpd_ask_leg_chain_point_on_line(sgrp, leg_lengths, angles, male_female_ratio, bof_length, h30);
}
