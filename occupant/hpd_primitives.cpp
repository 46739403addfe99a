// Planar primitives of the H-point design tool: units, angle wrapping, 2-D
// angles, circle picks, the fixed foot geometry and the two-link closure.
#include "hpd_primitives.h"
#include "hpd.h"
#include "hpd_vec2.h"
#include "morvish.h"
#include "omvra.h"
#include "tessik.h"

#include <cmath>

namespace carvell::occupant {

using vec2::V;

namespace {

constexpr double kHalfTurnLimitDeg = 180.0001000000001;

V ankle_offset(double shoe_angle) {
    return vec2::turn({-hpd_mm(kAnkleForwardMm), hpd_mm(kAnkleUpMm)}, -shoe_angle * kRadiansPerDegreeAsUsed);
}

}  // namespace

double hpd_mm(double millimetres) {
    return vd_convert_unit(millimetres, VD_UNIT_MM, PART_ask_units(CONTEXT_ask_work_part()));
}

int hpd_wrap_angle_rad(double* angle) {
    if (!angle || !std::isfinite(*angle)) return 0;
    // Far outside one turn, reduce first so the loop below stays short.
    if (std::fabs(*angle) > 64.0 * kPi) *angle = std::fmod(*angle, 2.0 * kPi);
    while (*angle > kPi) *angle -= 2.0 * kPi;
    while (*angle < -kPi) *angle += 2.0 * kPi;
    return 0;
}

bool hpd_legs_ok(const double* leg_lengths) {
    return detail::all_finite(leg_lengths, 2) && leg_lengths[0] > 0.0 && leg_lengths[1] > 0.0;
}

double hpd_wrap_angle_deg(double angle) {
    if (std::fabs(angle - kFullTurnDeg) > 1e-4) angle = std::fmod(angle, kFullTurnDeg);
    if (std::fabs(angle) >= kHalfTurnLimitDeg)
        return angle > 0.0 ? angle - kFullTurnDeg : angle + kFullTurnDeg;
    return angle;
}

void hpd_angle_2d(const double from[2], const double to[2], double* angle) {
    const double a[3] = {from[0], from[1], 0.0};
    const double b[3] = {to[0], to[1], 0.0};
    const double z[3] = {0.0, 0.0, 1.0};
    double radians = 0.0;
    if (HM_VEC3_angle_between(a, b, z, &radians) != 0) radians = 0.0;
    double degrees = radians * kDegreesPerRadianAsUsed;
    *angle = degrees >= 360.0 ? 0.0 : degrees;
}

int hpd_pick_circle_intersection(const double c1[2], double r1, const double c2[2], double r2, int rule,
                                 double point[2]) {
    double p1[2] = {c1[0], c1[1]};
    double p2[2] = {c2[0], c2[1]};
    int count = 0;
    double points[2][2];
    if (HM_VD_ask_circle_intersect_point(p1, r1, p2, r2, &count, points) != 0 || count < 1) return -1;
    int best = 0;
    for (int i = 1; i < count; ++i) {
        bool better;
        switch (rule) {
            case 0: better = points[i][0] > points[best][0]; break;
            case 1: better = points[i][0] < points[best][0]; break;
            case 2: better = points[i][1] > points[best][1]; break;
            default: better = points[i][1] < points[best][1]; break;
        }
        if (better) best = i;
    }
    point[0] = points[best][0];
    point[1] = points[best][1];
    return 0;
}

int hpd_ask_knee_point(const double ankle[2], double lower, const double sgrp[2], double upper, double knee[2]) {
    return hpd_pick_circle_intersection(ankle, lower, sgrp, upper, 2, knee);
}

int hpd_ask_circle_point_at_height(const double c[2], double r, double h, double out[2]) {
    double dh = h - c[1];
    if (!(r >= 0.0) || !(std::fabs(dh) <= r)) return -1;
    out[0] = c[0] + std::sqrt(std::fmax(0.0, r * r - dh * dh));
    out[1] = h;
    return 0;
}

void hpd_ask_ankle_from_heel(const double heel[2], double shoe_angle, double ankle[2]) {
    vec2::put(vec2::of(heel) + ankle_offset(shoe_angle), ankle);
}

void hpd_ask_heel_from_ankle(const double ankle[2], double shoe_angle, double heel[2]) {
    vec2::put(vec2::of(ankle) - ankle_offset(shoe_angle), heel);
}

void hpd_ask_foot_direction(double shoe_angle, double dir[2]) {
    vec2::put(vec2::turn(vec2::turn({-1.0, 0.0}, -shoe_angle * kRadiansPerDegreeAsUsed), kFootTurnRad), dir);
}

void hpd_ask_shank_direction(double a, double b, double dir[2]) {
    double foot[2];
    hpd_ask_foot_direction(a, foot);
    vec2::put(vec2::turn(vec2::of(foot), -b * kRadiansPerDegreeAsUsed), dir);
}

double hpd_shank_angle(double ankle_angle, double pedal_angle) {
    return 180.0 - ankle_angle - pedal_angle + kFootTurnDeg;
}

void hpd_ask_knee_from_ankle(const double ankle[2], double a, double b, double lower, double knee[2]) {
    double dir[2];
    hpd_ask_shank_direction(a, b, dir);
    V u;
    vec2::unit(vec2::of(dir), 1e-10, &u);
    vec2::put(vec2::of(ankle) + lower * u, knee);
}

double hpd_sole_run(double pedal_angle) {
    return hpd_mm(kShoeLengthMm) * std::cos(pedal_angle * kRadiansPerDegreeAsUsed);
}

double hpd_standard_pedal_angle(double h30) {
    return kPedalAngleMaxDeg - kPedalAnglePerMm / hpd_mm(1.0) * h30;
}

double hpd_knee_chord(double knee_angle, double upper, double lower) {
    const double chord2 =
        upper * upper + lower * lower - 2.0 * upper * lower * std::cos(knee_angle * kRadiansPerDegreeAsUsed);
    return std::sqrt(std::fmax(0.0, chord2));
}

double hpd_chord_angle_at_ankle(double knee_angle, double upper, double lower, double chord) {
    // The side opposite the angle is the thigh (sine rule); its cosine from
    // the cosine rule keeps an obtuse angle obtuse.
    return std::atan2(std::sin(knee_angle * kRadiansPerDegreeAsUsed) * upper / chord,
                      (lower * lower + chord * chord - upper * upper) / (2.0 * lower * chord));
}

double hpd_leg_closure(double l1, double l2, double r, double a, double b, const double p[2]) {
    double u = l1 * std::cos(a) - l2 * std::cos(a + b) - p[0];
    double w = l2 * std::sin(a + b) - p[1];
    return u * u + w * w - r * r;
}

double hpd_leg_closure_derivative(double l1, double l2, double a, double b, const double p[2]) {
    double u = l1 * std::cos(a) - l2 * std::cos(a + b) - p[0];
    double w = l2 * std::sin(a + b) - p[1];
    return 2.0 * (l2 * std::sin(a + b) - l1 * std::sin(a)) * u + 2.0 * w * l2 * std::cos(a + b);
}

double hpd_leg_newton_step(double l1, double l2, double r, double a, double b, const double p[2]) {
    return a - hpd_leg_closure(l1, l2, r, a, b, p) / hpd_leg_closure_derivative(l1, l2, a, b, p);
}

void hpd_ask_foot_leg_angle(double ankle_angle, double lower, double* angle, double* length) {
    const double origin[2] = {0.0, 0.0};
    const double heel[2] = {hpd_mm(kShoeLengthMm), 0.0};
    double ankle[2], knee_pt[2];
    hpd_ask_ankle_from_heel(heel, 0.0, ankle);
    hpd_ask_knee_from_ankle(ankle, 0.0, ankle_angle, lower, knee_pt);
    const V knee = vec2::of(knee_pt);
    double to_knee[2], to_ball[2];
    vec2::put(knee - vec2::of(heel), to_knee);
    vec2::put(vec2::of(origin) - vec2::of(heel), to_ball);
    hpd_angle_2d(to_knee, to_ball, angle);
    *length = vec2::distance(vec2::of(heel), knee);
}

}  // namespace carvell::occupant
