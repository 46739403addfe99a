// Leg-chain operations of the reverse engineering: the chain from the pedal
// angle to the seat curve, the heel from a seat height, and the foot-angle
// bisections that meet a heel drop below the SgRP.
#include "hpd_leg_chain.h"
#include "hpd_primitives.h"
#include "hpd_sgrp.h"
#include "hpd_vec2.h"

#include <cmath>

namespace carvell::occupant {

using vec2::V;

namespace {

constexpr double kDropTolerance = 1e-5;
// Halving (0, 77) this often is far below any meaningful angle; the cap only
// guards against a drop that is never met inside the interval.
constexpr int kBisectionLimit = 200;

// The leg chain from the pedal angle angles[0] and the ankle angle angles[1]:
// heel at (200 mm * cos(pedal angle), 0) with the ball of foot at the origin,
// ankle, knee, and the hip that `hip_at(knee, upper, heel, hip)` places on
// the seat curve. 0, 32 when the knee would bend beyond its limit, or the
// code of hip_at.
template <typename HipAt>
int leg_chain_point(const double* p, const double leg_lengths[2], const double angles[2], HipAt hip_at,
                    double* out_dl, double* out_h) {
    const double upper = leg_lengths[0], lower = leg_lengths[1];
    const double heel[2] = {hpd_sole_run(angles[0]), 0.0};
    double ankle_pt[2], knee_pt[2], hip_pt[2];
    hpd_ask_ankle_from_heel(heel, angles[0], ankle_pt);
    hpd_ask_knee_from_ankle(ankle_pt, angles[0], angles[1], lower, knee_pt);
    int rc = hip_at(knee_pt, upper, heel, hip_pt);
    if (rc != 0) return rc;
    const V ankle = vec2::of(ankle_pt), knee = vec2::of(knee_pt);
    double to_ankle[2], to_hip[2], angle = 0.0;
    vec2::put(ankle - knee, to_ankle);
    vec2::put(vec2::of(hip_pt) - knee, to_hip);
    hpd_angle_2d(to_ankle, to_hip, &angle);
    if (!(angle <= kKneeLimitDeg)) return 32;
    *out_dl = p[0] - std::fabs(hip_pt[0]);
    *out_h = std::fabs(hip_pt[1]);
    return 0;
}

// Bisection of the foot angle on (0, 77): `ankle_at(f)` places the ankle for
// a foot angle f; the heel follows from it. Converged when the heel lies
// `drop` below the SgRP within 1e-5.
template <typename AnkleAt>
int bisect_foot_angle(const double sgrp[3], double drop, AnkleAt ankle_at, double out[3], double* foot_angle) {
    double lo = 0.0, hi = kPedalAngleMaxDeg;
    for (int i = 0; i < kBisectionLimit; ++i) {
        double f = (lo + hi) / 2.0;
        if (!(f > 0.0 && f < kPedalAngleMaxDeg)) break;
        double ankle[2], heel[2];
        ankle_at(f, ankle);
        hpd_ask_heel_from_ankle(ankle, f, heel);
        double h = sgrp[2] - heel[1];
        if (std::fabs(h - drop) <= kDropTolerance) {
            out[0] = heel[0];
            out[1] = sgrp[1] + hpd_mm(kHeelLateralMm);
            out[2] = heel[1];
            if (foot_angle) *foot_angle = f;
            return 0;
        }
        if (drop <= h)
            lo = f;
        else
            hi = f;
    }
    return -1;
}

}  // namespace

int hpd_ask_leg_chain_point(const double* p, const double leg_lengths[2], const double angles[2], double* out_dl,
                            double* out_h) {
    if (!p || !leg_lengths || !angles || !out_dl || !out_h) return -1;
    auto on_parabola = [](const double knee[2], double upper, const double*, double hip[2]) {
        return hpd_ask_arc_on_sgrp_parabola(knee, upper, hip);
    };
    return leg_chain_point(p, leg_lengths, angles, on_parabola, out_dl, out_h);
}

int hpd_ask_leg_chain_point_on_line(const double* p, const double leg_lengths[2], const double angles[2],
                                    int male_female_ratio, double* out_dl, double* out_h) {
    if (!p || !leg_lengths || !angles || !out_dl || !out_h) return -1;
    auto on_line = [male_female_ratio](const double knee[2], double upper, const double heel[2], double hip[2]) {
        const double base[3] = {heel[0], 0.0, heel[1]};
        return hpd_ask_arc_on_sgrp_line(knee, upper, hip, male_female_ratio, base);
    };
    return leg_chain_point(p, leg_lengths, angles, on_line, out_dl, out_h);
}

int hpd_ask_heel_by_foot_angle(double out[3], const double sgrp[3], double back_angle, const double leg_lengths[2],
                               double ankle_angle, double hip_angle, double drop, double* foot_angle) {
    if (!out || !sgrp || !leg_lengths) return -1;
    const double upper = leg_lengths[0], lower = leg_lengths[1];
    const double thigh = (90.0 - hip_angle + back_angle) * kRadiansPerDegreeAsUsed;
    auto ankle_at = [&](double f, double ankle[2]) {
        double phi = hpd_shank_angle(ankle_angle, f) * kRadiansPerDegreeAsUsed;
        ankle[0] = sgrp[0] - std::cos(thigh) * upper - std::cos(phi) * lower;
        ankle[1] = sgrp[2] + std::sin(thigh) * upper - std::sin(phi) * lower;
    };
    return bisect_foot_angle(sgrp, drop, ankle_at, out, foot_angle);
}

int hpd_ask_heel_by_foot_angle_cosine(double out[3], const double sgrp[3], double knee_angle,
                                      const double leg_lengths[2], double ankle_angle, double drop,
                                      double* foot_angle) {
    if (!out || !sgrp || !leg_lengths) return -1;
    const double upper = leg_lengths[0], lower = leg_lengths[1];
    if (!(upper > 0.0 && lower > 0.0)) return -1;
    const double chord = hpd_knee_chord(knee_angle, upper, lower);
    if (!(chord > 0.0)) return -1;
    double at_ankle = hpd_chord_angle_at_ankle(knee_angle, upper, lower, chord) * kDegreesPerRadianAsUsed;
    if (!std::isfinite(at_ankle)) return -1;
    auto ankle_at = [&](double f, double ankle[2]) {
        double psi = (hpd_shank_angle(ankle_angle, f) - at_ankle) * kRadiansPerDegreeAsUsed;
        ankle[0] = sgrp[0] - chord * std::cos(psi);
        ankle[1] = sgrp[2] - chord * std::sin(psi);
    };
    return bisect_foot_angle(sgrp, drop, ankle_at, out, foot_angle);
}

int hpd_ask_heel_x_for_height(const double sgrp[3], const double leg_lengths[2], const double angles[2], double h30,
                              double heel[2]) {
    if (!sgrp || !leg_lengths || !angles || !heel) return -1;
    const double upper = leg_lengths[0], lower = leg_lengths[1];
    double start[2] = {0.0, sgrp[2] - h30}, ankle[2], knee[2];
    hpd_ask_ankle_from_heel(start, angles[0], ankle);
    hpd_ask_knee_from_ankle(ankle, angles[0], angles[1], lower, knee);
    double dh = sgrp[2] - knee[1];
    // The thigh cannot span a height difference longer than itself.
    if (!(std::fabs(dh) <= upper)) return -1;
    heel[0] = sgrp[0] - (std::sqrt(upper * upper - dh * dh) + knee[0]);
    heel[1] = start[1];
    return 0;
}

}  // namespace carvell::occupant
