// The back linkage of the H-point design tool in the side view: two pivots
// set by a length p, two link points and the end point of the end arm, and
// the ALPHA angle that brings the end point to the reference height.
#include "hpd_back_linkage.h"
#include "hpd.h"
#include "hpd_messages.h"
#include "hpd_primitives.h"
#include "hpd_vec2.h"

#include <cmath>

namespace carvell::occupant {

using vec2::V;

namespace {

// Linkage dimensions (millimetres; radians for the fixed angles).
constexpr double kReferenceHeightMm = 57.0;
constexpr double kFirstArmMm = 100.00004748124;
constexpr double kSecondArmMm = 106.45654122716;
constexpr double kArmsAngleRad = 0.3500655481566546;
constexpr double kAlphaLeverMm = 118.9875;
constexpr double kFirstLinkMm = 183.00000093492;
constexpr double kSecondLinkMm = 159.25;
constexpr double kShortLinkMm = 36.54214535711;
constexpr double kEndArmMm = 153.14542415293;
constexpr double kEndArmTurnRad = 0.3181534210415586;

constexpr double kHeightTolerance = 1e-5;
// Sixty halvings of 180 degrees reach the spacing of doubles; the cap only
// guards against a root outside [-90, 90].
constexpr int kAlphaIterationLimit = 100;

}  // namespace

int hpd_ask_back_pivot_points(double p, double p1[2], double p2[2]) {
    double arm1 = hpd_mm(kFirstArmMm), arm2 = hpd_mm(kSecondArmMm);
    double c = (hpd_mm(kReferenceHeightMm) - p) / arm1;
    if (!(std::fabs(c) <= 1.0)) return -1;
    double beta = std::acos(c);
    p1[0] = arm1 * std::sin(beta);
    p1[1] = arm1 * std::cos(beta);
    p2[0] = arm2 * std::sin(beta + kArmsAngleRad);
    p2[1] = arm2 * std::cos(beta + kArmsAngleRad);
    return 0;
}

int hpd_ask_back_linkage_points(double alpha, const double p1[2], const double p2[2], double c[2], double d[2]) {
    double h = hpd_mm(kAlphaLeverMm) * std::sin(alpha * kRadiansPerDegreeAsUsed);
    if (hpd_ask_circle_point_at_height(p1, hpd_mm(kFirstLinkMm), h, c) != 0) return -1;
    double cc[2] = {c[0], c[1]}, pp[2] = {p2[0], p2[1]};
    int count = 0;
    double points[2][2];
    if (HM_VD_ask_circle_intersect_point(cc, hpd_mm(kShortLinkMm), pp, hpd_mm(kSecondLinkMm), &count, points) != 0 ||
        count < 1)
        return -1;
    // The higher of two points; the second on a tie.
    int pick = (count == 2 && !(points[0][1] > points[1][1])) ? 1 : 0;
    d[0] = points[pick][0];
    d[1] = points[pick][1];
    return 0;
}

void hpd_ask_back_line_end(const double c[2], const double d[2], double e[2]) {
    V u;
    if (!vec2::unit(vec2::of(c) - vec2::of(d), 1e-5, &u)) {
        e[0] = d[0];
        e[1] = d[1];
        return;
    }
    vec2::put(vec2::of(d) + hpd_mm(kEndArmMm) * vec2::turn(u, kEndArmTurnRad), e);
}

int ask_alpha_angle(double p, double* alpha) {
    if (!alpha) return -1;
    double p1[2], p2[2];
    if (hpd_ask_back_pivot_points(p, p1, p2) != 0) return -1;
    // Bisection on ALPHA. Beyond some angle the links cannot close; an angle
    // where they do not is outside the linkage's range and bounds the search
    // on its side of the last angle where they did, so no point of a failed
    // step is ever used. Without any closing angle there is no ALPHA.
    double lo = -90.0, hi = 90.0, a = 0.0;
    bool closed_once = false;
    double last_closed = 0.0;
    int count = 0, rc = -1;
    while (count < kAlphaIterationLimit) {
        double next = (lo + hi) / 2.0;
        if (count > 0 && next == a) break;  // the interval cannot shrink any more
        a = next;
        ++count;
        double c[2], d[2], e[2];
        if (hpd_ask_back_linkage_points(a, p1, p2, c, d) != 0) {
            if (!closed_once) break;
            if (a > last_closed)
                hi = a;
            else
                lo = a;
            continue;
        }
        closed_once = true;
        last_closed = a;
        hpd_ask_back_line_end(c, d, e);
        if (std::fabs(e[1]) <= kHeightTolerance) {
            rc = 0;
            break;
        }
        if (e[1] > 0.0)
            hi = a;
        else
            lo = a;
    }
    if (hpd_tracing()) hpd_trace("\n+++ ask_alpha_angle iteration count = %d", count);
    if (!closed_once) return -1;  // no angle to report
    *alpha = rc == 0 ? a : last_closed;
    return rc;
}

}  // namespace carvell::occupant
