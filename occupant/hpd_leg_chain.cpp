// Leg-chain operations of the reverse engineering: the chain from the pedal
// angle to the seat curve, the heel from a seat height, and the foot-angle
// bisections that meet a heel drop below the SgRP.
#include "hpd_internal.h"
#include "hpd_vec2.h"

#include <cmath>

using hpd2::V;

namespace {

constexpr double kShoeLengthMm = 200.0;
constexpr double kHeelLateralMm = 148.5;
constexpr double kFootTurnDeg = 6.5;
constexpr double kFootAngleMax = 77.0;
constexpr double kDropTolerance = 1e-5;
// Halving (0, 77) this often is far below any meaningful angle; the cap only
// guards against a drop that is never met inside the interval.
constexpr int kBisectionLimit = 200;
constexpr double kKneeLimitDeg = 180.00000000000009;

// The hip on the class A seat-reference-point parabola at `radius` from the
// knee; -1 when the arc misses the parabola.
int hip_on_seat_parabola(const double* knee, double radius, double* hip) {
    return hpd_ask_arc_on_sgrp_parabola(knee, radius, hip);
}

// The knee from the ankle along the shank direction of (a, b) at the lower leg length.
V knee_from_ankle(V ankle, double a, double b, double lower, double tolerance) {
    double dir[2];
    hpd_ask_shank_direction(a, b, dir);
    V u;
    hpd2::unit(hpd2::of(dir), tolerance, &u);
    return ankle + lower * u;
}

// Bisection of the foot angle on (0, 77): `ankle_at(f)` places the ankle for
// a foot angle f; the heel follows from it. Converged when the heel lies
// `drop` below the SgRP within 1e-5.
template <typename AnkleAt>
int bisect_foot_angle(const double sgrp[3], double drop, AnkleAt ankle_at, double out[3], double* foot_angle) {
    double lo = 0.0, hi = kFootAngleMax;
    for (int i = 0; i < kBisectionLimit; ++i) {
        double f = (lo + hi) / 2.0;
        if (!(f > 0.0 && f < kFootAngleMax)) break;
        double ankle[2], heel[2];
        if (!ankle_at(f, ankle)) return -1;
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
    const double upper = leg_lengths[0], lower = leg_lengths[1];
    double heel[2] = {hpd_mm(kShoeLengthMm) * std::cos(angles[0] * hpd2::kDegToRad), 0.0};
    double ankle_pt[2];
    hpd_ask_ankle_from_heel(heel, angles[0], ankle_pt);
    V ankle = hpd2::of(ankle_pt);
    V knee = knee_from_ankle(ankle, angles[0], angles[1], lower, 1e-10);
    double knee_pt[2], hip_pt[2];
    hpd2::put(knee, knee_pt);
    int rc = hip_on_seat_parabola(knee_pt, upper, hip_pt);
    if (rc != 0) return rc;
    double to_ankle[2], to_hip[2], angle = 0.0;
    hpd2::put(ankle - knee, to_ankle);
    hpd2::put(hpd2::of(hip_pt) - knee, to_hip);
    hpd_angle_2d(to_ankle, to_hip, &angle);
    if (!(angle <= kKneeLimitDeg)) return 32;
    *out_dl = p[0] - std::fabs(hip_pt[0]);
    *out_h = std::fabs(hip_pt[1]);
    return 0;
}

int hpd_ask_heel_by_foot_angle(double out[3], const double sgrp[3], double back_angle, const double leg_lengths[2],
                               double ankle_angle, double hip_angle, double drop, double* foot_angle) {
    if (!out || !sgrp || !leg_lengths) return -1;
    const double upper = leg_lengths[0], lower = leg_lengths[1];
    const double thigh = (90.0 - hip_angle + back_angle) * hpd2::kDegToRad;
    auto ankle_at = [&](double f, double ankle[2]) {
        double phi = (180.0 - ankle_angle - f + kFootTurnDeg) * hpd2::kDegToRad;
        ankle[0] = sgrp[0] - std::cos(thigh) * upper - std::cos(phi) * lower;
        ankle[1] = sgrp[2] + std::sin(thigh) * upper - std::sin(phi) * lower;
        return true;
    };
    return bisect_foot_angle(sgrp, drop, ankle_at, out, foot_angle);
}

int hpd_ask_heel_by_foot_angle_cosine(double out[3], const double sgrp[3], double knee_angle,
                                      const double leg_lengths[2], double ankle_angle, double drop,
                                      double* foot_angle) {
    if (!out || !sgrp || !leg_lengths) return -1;
    const double upper = leg_lengths[0], lower = leg_lengths[1];
    if (!(upper > 0.0 && lower > 0.0)) return -1;
    const double k = knee_angle * hpd2::kDegToRad;
    // The hip-to-ankle chord of the triangle thigh - lower leg.
    double chord2 = upper * upper + lower * lower - 2.0 * upper * lower * std::cos(k);
    if (!(chord2 > 0.0)) return -1;
    double chord = std::sqrt(chord2);
    // The chord's angle against the lower leg, at the ankle of the triangle:
    // the side opposite it is the thigh (sine rule), its cosine follows from
    // the cosine rule, so an obtuse angle comes out right too.
    double at_ankle = std::atan2(std::sin(k) * upper / chord,
                                 (lower * lower + chord2 - upper * upper) / (2.0 * lower * chord)) *
                      hpd2::kRadToDeg;
    if (!std::isfinite(at_ankle)) return -1;
    auto ankle_at = [&](double f, double ankle[2]) {
        double psi = ((180.0 - f - ankle_angle + kFootTurnDeg) - at_ankle) * hpd2::kDegToRad;
        ankle[0] = sgrp[0] - chord * std::cos(psi);
        ankle[1] = sgrp[2] - chord * std::sin(psi);
        return true;
    };
    return bisect_foot_angle(sgrp, drop, ankle_at, out, foot_angle);
}

int hpd_ask_heel_x_for_height(const double sgrp[3], const double leg_lengths[2], const double angles[2], double h30,
                              double heel[2]) {
    if (!sgrp || !leg_lengths || !angles || !heel) return -1;
    const double upper = leg_lengths[0], lower = leg_lengths[1];
    double start[2] = {0.0, sgrp[2] - h30}, ankle[2];
    hpd_ask_ankle_from_heel(start, angles[0], ankle);
    V knee = knee_from_ankle(hpd2::of(ankle), angles[0], angles[1], lower, 1e-4);
    double dh = sgrp[2] - knee.h;
    // The thigh cannot span a height difference longer than itself.
    if (!(std::fabs(dh) <= upper)) return -1;
    heel[0] = sgrp[0] - (std::sqrt(upper * upper - dh * dh) + knee.l);
    heel[1] = start[1];
    return 0;
}
