// The driver's eyes and head for the A-pillar analyses: E points, the
// horizontal angle, sight angles with the head-turn rule and the spread of a
// sight-line pair by a limit angle.
#include "vision_eye.h"

#include "omvra.h"
#include "toolbox/detail/constants.h"

#include <cmath>

namespace carvell::vision {

using detail::kDegreesPerRadianAsUsed;
using detail::kPi;
using detail::kRadiansPerDegreeAsUsed;

namespace {

// Turns (x, y) of a point about the vertical through the centre by deg.
void turn_point(double p[3], const double centre[3], double deg) {
    const double c = std::cos(deg * kRadiansPerDegreeAsUsed), s = std::sin(deg * kRadiansPerDegreeAsUsed);
    const double x = p[0] - centre[0], y = p[1] - centre[1];
    p[0] = centre[0] + c * x - s * y;
    p[1] = centre[1] + s * x + c * y;
}

void turn_vector(double v[3], double deg) {
    const double zero[3] = {0, 0, 0};
    turn_point(v, zero, deg);
}

double norm(const double v[3]) { return std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]); }

double distance(const double p[3], const double q[3]) {
    const double v[3] = {q[0] - p[0], q[1] - p[1], q[2] - p[2]};
    return norm(v);
}

double degrees_into_half_turn(double deg) { return deg > 180.0 ? deg - 360.0 : deg; }

}  // namespace

double length_factor() {
    tag_t part = HM_ASSEM_ask_work_part();
    int units = 1;
    if (!part || HM_PART_ask_units(part, &units)) return 1.0;
    return units == 1 ? 1.0 : kInchPerMm;
}

int analysis_mode(int rule_set) {
    if (rule_set == 0 || rule_set == 1) return 0;
    return rule_set == 2 ? 1 : 2;
}

EyeOffsets eye_offsets(int mode, bool closest_eye_search) {
    const bool inch = length_factor() != 1.0;
    const double d_mm =
        (mode == 0 || closest_eye_search) ? kEyeForwardMode0Mm : std::sqrt(kEyeForwardSquaredMode12Mm2);
    return {inch ? d_mm * kInchPerMm : d_mm, inch ? kHalfEyeSeparationInch : kHalfEyeSeparationMm};
}

EyePose e_point(int mode, const double pivot[3], int side, double a, double b) {
    const EyeOffsets o = eye_offsets(mode);
    EyePose pose{};
    const double lateral_sign = side == 1 ? -1.0 : 1.0;
    pose.e[0] = pivot[0] - o.d;
    pose.e[1] = pivot[1] + lateral_sign * o.s;
    pose.e[2] = pivot[2];
    pose.forward[0] = -1.0;
    pose.lateral[1] = lateral_sign;
    // The eye turns about the vertical through itself, then the head about
    // the vertical through the pivot, carrying the eye with it.
    turn_vector(pose.forward, b);
    turn_vector(pose.lateral, b);
    turn_point(pose.e, pivot, a);
    turn_vector(pose.forward, a);
    turn_vector(pose.lateral, a);
    return pose;
}

double horizontal_angle(const double u[3], const double v[3]) {
    const double cross = u[0] * v[1] - u[1] * v[0];
    const double dot = u[0] * v[0] + u[1] * v[1];
    if ((u[0] == 0.0 && u[1] == 0.0) || (v[0] == 0.0 && v[1] == 0.0)) return 0.0;
    double angle = std::atan2(cross, dot);
    if (angle < 0.0) angle += 2.0 * kPi;
    if (angle >= 2.0 * kPi) angle = 0.0;
    return angle;
}

int sight_angles(int mode, const double pivot[3], const double target[3], int side, bool head_turn, double* a,
                 double* b) {
    const EyeOffsets o = eye_offsets(mode);
    const double r = mode == 0 ? kEyeTurnLimitMode0Deg : 0.0;
    const double rho = std::sqrt(o.s * o.s + o.d * o.d);
    const double D = distance(pivot, target);
    if (D < rho) return kSightTooClose;
    double forward[3] = {-1.0, 0.0, 0.0};
    if (!head_turn) turn_vector(forward, *a);
    else *a = 0.0;
    const EyePose eye = e_point(mode, pivot, side, *a, 0.0);
    const double to_target[3] = {target[0] - eye.e[0], target[1] - eye.e[1], target[2] - eye.e[2]};
    const double first_b = horizontal_angle(forward, to_target) * kDegreesPerRadianAsUsed;
    if (mode == 0 && (first_b <= r || first_b >= 360.0 - r)) {
        *b = degrees_into_half_turn(first_b);
        return kSightOk;
    }
    if (!head_turn) {
        *b = first_b;
        return kSightEyeRange;
    }
    // Turn the head so that the eye, turned by its limit r, looks at the
    // target: the triangle pivot - eye - target fixes how far ahead of the
    // eye the sight line meets the target's circle about the pivot.
    const double theta = std::atan2(o.d, o.s) * kDegreesPerRadianAsUsed + r + 90.0;
    const double sin_theta = std::sin(theta * kRadiansPerDegreeAsUsed);
    const double phi = std::asin(sin_theta * rho / D) * kDegreesPerRadianAsUsed;
    const double L = std::sin((180.0 - (phi + theta)) * kRadiansPerDegreeAsUsed) * D / sin_theta;
    const double turn = first_b >= 180.0 ? 1.0 : -1.0;
    const double n[3] = {eye.e[0] - std::cos(r * kRadiansPerDegreeAsUsed) * L,
                         eye.e[1] + turn * std::sin(r * kRadiansPerDegreeAsUsed) * L, eye.e[2]};
    const double pn[3] = {n[0] - pivot[0], n[1] - pivot[1], n[2] - pivot[2]};
    const double pt[3] = {target[0] - pivot[0], target[1] - pivot[1], target[2] - pivot[2]};
    *a = degrees_into_half_turn(horizontal_angle(pn, pt) * kDegreesPerRadianAsUsed);
    *b = mode == 0 ? (first_b <= 180.0 ? r : -r) : 0.0;
    return kSightOk;
}

void spread_by_limit(int mode, const double pivot[3], int side, double limit, const double target[3], double* a,
                     double* b) {
    if (limit > kTiny) return;
    const EyeOffsets o = eye_offsets(mode);
    const double r = mode == 0 ? kEyeTurnLimitMode0Deg : 0.0;
    const double D = distance(pivot, target);
    const double abs_limit = std::fabs(limit);
    double delta;
    if (mode == 0 && std::fabs(*b) > r + kTiny) delta = 0.0;
    else if (std::fabs(r - std::fabs(*b)) <= abs_limit + kTiny)
        delta = side == 1 ? std::fabs(r - std::fabs(*b)) : -std::fabs(r - std::fabs(*b));
    else delta = side == 1 ? -limit : limit;
    const double other_b = side == 1 ? *b + delta - abs_limit : *b + delta + abs_limit;
    const EyePose other = e_point(mode, pivot, 1 - side, 0.0, other_b);
    // X: the point of the other eye's sight ray at distance D from the pivot.
    const double rho = std::sqrt(o.s * o.s + o.d * o.d);
    const double pe[3] = {other.e[0] - pivot[0], other.e[1] - pivot[1], other.e[2] - pivot[2]};
    const double cos_psi = (pe[0] * other.forward[0] + pe[1] * other.forward[1] + pe[2] * other.forward[2]) / norm(pe);
    const double sin2_psi = 1.0 - cos_psi * cos_psi;
    const double t = std::sqrt(D * D - rho * rho * sin2_psi) - rho * cos_psi;
    const double px[3] = {other.e[0] + t * other.forward[0] - pivot[0], other.e[1] + t * other.forward[1] - pivot[1],
                          0.0};
    const double pt[3] = {target[0] - pivot[0], target[1] - pivot[1], 0.0};
    *a = degrees_into_half_turn(horizontal_angle(px, pt) * kDegreesPerRadianAsUsed);
    *b += delta;
}

}  // namespace carvell::vision
