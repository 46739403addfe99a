// Fixtures the occupant tests share: unit and angle factors, the H-point
// tool's foot geometry and seat-curve formulas written out on their own (not
// taken from the library, so that the tests check it), point checks, turns
// about the vertical, and the rule texts of H-point design instances.
#ifndef CARVELL_TESTS_OCCUPANT_FIXTURES_H
#define CARVELL_TESTS_OCCUPANT_FIXTURES_H

#include "host_testing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

namespace occupant_test {

using host_testing::Point3;

constexpr double kPi = 3.14159265358979323846;
constexpr double kDeg = kPi / 180.0;  // radians per degree
constexpr double kInch = 25.4;        // millimetres per inch

/* ---- the tool's geometry, in millimetres ---- */

// Fore-aft distance of the SgRP from the ball of foot for the seat height h:
// the class A parabola and the class B line of the male-female ratio.
inline double sgrp_class_a_mm(double h) { return 913.7 + 0.672316 * h - 0.0019553 * h * h; }
inline double sgrp_class_b_mm(double h, int ratio) {
    const double c[3] = {900.23, 928.86, 922.49}, k[3] = {0.471, 0.519, 0.494};
    const int i = ratio == 0 ? 0 : ratio == 1 ? 1 : 2;
    return c[i] - k[i] * h;
}

// The ankle's offset (L, H) from the heel of a shoe at `shoe_angle` degrees:
// (-81, 107) turned by -shoe_angle.
struct SideOffset {
    double l, h;
};
inline SideOffset ankle_offset_mm(double shoe_angle) {
    const double s = shoe_angle * kDeg;
    return {-81.0 * std::cos(s) + 107.0 * std::sin(s), 81.0 * std::sin(s) + 107.0 * std::cos(s)};
}

/* ---- points ---- */

// p turned counter-clockwise (seen from above) by `degrees` about the
// vertical through c; the height is kept.
inline Point3 turned_about_vertical(const Point3& p, const Point3& c, double degrees) {
    const double a = degrees * kDeg, dx = p[0] - c[0], dy = p[1] - c[1];
    return {c[0] + dx * std::cos(a) - dy * std::sin(a), c[1] + dx * std::sin(a) + dy * std::cos(a), p[2]};
}
inline void turned_about_vertical(const double p[3], const double c[3], double degrees, double out[3]) {
    const Point3 q = turned_about_vertical(Point3{p[0], p[1], p[2]}, Point3{c[0], c[1], c[2]}, degrees);
    out[0] = q[0], out[1] = q[1], out[2] = q[2];
}

// Each coordinate of the point within `tol` of the expected one.
inline void expect_point(const double* got, const Point3& want, double tol, const std::string& what = "") {
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(got[i], want[i], tol) << what << " coordinate " << i;
}
inline void expect_point(const double* got, const double* want, double tol, const std::string& what = "") {
    expect_point(got, Point3{want[0], want[1], want[2]}, tol, what);
}
inline void expect_point(const double* got, double x, double y, double z, double tol, const std::string& what = "") {
    expect_point(got, Point3{x, y, z}, tol, what);
}

/* ---- H-point design instances ---- */

const char* const kDesignClass = "%kw_vd_H_point_design_tool";

// A number and a point as rule texts.
inline std::string rule_number(double v) {
    char text[64];
    std::snprintf(text, sizeof text, "%.12g", v);
    return text;
}
inline std::string rule_point(double x, double y, double z) {
    return "Point(" + rule_number(x) + "," + rule_number(y) + "," + rule_number(z) + ")";
}

// The rules with `name` set to `text` (appended when it is not there).
inline host_testing::RuleTexts with_rule(host_testing::RuleTexts rules, const char* name, const std::string& text) {
    for (auto& r : rules)
        if (r.first == name) {
            r.second = text;
            return rules;
        }
    rules.emplace_back(name, text);
    return rules;
}

}  // namespace occupant_test

#endif
