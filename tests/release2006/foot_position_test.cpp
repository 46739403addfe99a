// The 2006 release's foot-position solver of the H-point tool: the seat
// curve's residual and slope against their formulas, the Newton iteration
// with its start, roots, traces and failures, the reduction of a pedal angle
// beyond a full turn, the circle pick, and the reverse engineering that uses
// them meeting SAE J1516 and J1517.
#include "r2006_foot_position.h"
#include "host_fixture.h"

#include "hpd.h"
#include "occupant/hpd_primitives.h"

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace {

using namespace carvell::r2006;

constexpr double kDeg = 0.01745329251994328;  // the solver's radians per degree
constexpr double kInch = 25.4;

// The class A seat curve worked out from the published formulas in
// millimetres: H30 from the pedal angle (J1516: A47 = 77 - 0.08 H30) and the
// SgRP's length from the ball of foot (J1517: 913.7 + 0.672316 H30 -
// 0.0019553 H30^2), scaled to the part's units by `unit` mm per part unit.
struct SeatCurve {
    double unit = 1.0;
    double h(double a) const { return (77.0 - a / kDeg) / 0.08 / unit; }
    double x(double a) const {
        const double hmm = h(a) * unit;
        return (913.7 + 0.672316 * hmm - 0.0019553 * hmm * hmm) / unit;
    }
    // The residual of the chain's end against the curve.
    double f(double l1, double l2, double r, double a, double b) const {
        const double u = l1 * std::cos(a) - l2 * std::cos(a + b), w = l2 * std::sin(a + b);
        return (w - h(a)) * (w - h(a)) + (u - x(a)) * (u - x(a)) - r * r;
    }
    // The radius that makes a a root.
    double radius_for_root(double l1, double l2, double a, double b) const { return std::sqrt(f(l1, l2, 0.0, a, b)); }
};

class FootPositionTest : public HostTest {
protected:
    // The foot-leg angle (radians) and length of the ankle angle for the lower leg.
    void foot_leg(double ankle, double lower, double* b, double* l2) {
        double degrees = 0.0;
        carvell::occupant::hpd_ask_foot_leg_angle(ankle, lower, &degrees, l2);
        *b = degrees * kDeg;
    }
    std::vector<std::string> traces() const { return host_testing::error_lines(); }
};

class InchFootPositionTest : public FootPositionTest {
protected:
    InchFootPositionTest() { inches_ = true; }
};

TEST_F(FootPositionTest, SeatCurveResidualAndSlopeFollowTheFormula) {
    const SeatCurve curve;
    for (const double a : {40.0 * kDeg, 55.0 * kDeg, 70.0 * kDeg}) {
        SCOPED_TRACE(a);
        EXPECT_NEAR(hpd_seat_curve_residual(200.0, 480.0, 456.0, a, 1.2), curve.f(200.0, 480.0, 456.0, a, 1.2), 1e-6);
        const double step = 1e-6;
        const double numeric = (curve.f(200.0, 480.0, 456.0, a + step, 1.2) - curve.f(200.0, 480.0, 456.0, a - step, 1.2)) /
                               (2.0 * step);
        EXPECT_NEAR(hpd_seat_curve_slope(200.0, 480.0, a, 1.2), numeric, 1e-5 * std::fabs(numeric));
        const double p[2] = {700.0, 350.0};
        const double g = [&](double t) {
            const double u = 200.0 * std::cos(t) - 480.0 * std::cos(t + 1.2), w = 480.0 * std::sin(t + 1.2);
            return (w - p[1]) * (w - p[1]) + (u - p[0]) * (u - p[0]) - 456.0 * 456.0;
        }(a);
        EXPECT_NEAR(hpd_point_residual(p, 200.0, 480.0, 456.0, a, 1.2), g, 1e-6);
        const double pn = (hpd_point_residual(p, 200.0, 480.0, 456.0, a + step, 1.2) -
                           hpd_point_residual(p, 200.0, 480.0, 456.0, a - step, 1.2)) / (2.0 * step);
        EXPECT_NEAR(hpd_point_slope(p, 200.0, 480.0, a, 1.2), pn, 1e-5 * std::fabs(pn));
        EXPECT_NEAR(hpd_seat_curve_newton_step(200.0, 480.0, 456.0, a, 1.2),
                    a - curve.f(200.0, 480.0, 456.0, a, 1.2) / hpd_seat_curve_slope(200.0, 480.0, a, 1.2), 1e-12);
    }
}

TEST_F(InchFootPositionTest, SeatCurveInAnInchPartIsTheMillimetreCurveScaled) {
    const double mm = hpd_seat_curve_residual(200.0, 480.0, 456.0, 50.0 * kDeg, 1.2);
    // The same chain in inches: every length / 25.4, the residual / 25.4^2.
    const SeatCurve millimetres;
    EXPECT_NEAR(hpd_seat_curve_residual(200.0 / kInch, 480.0 / kInch, 456.0 / kInch, 50.0 * kDeg, 1.2),
                millimetres.f(200.0, 480.0, 456.0, 50.0 * kDeg, 1.2) / (kInch * kInch), 1e-9);
    (void)mm;
}

// The standard legs with the ankle at 90 degrees: the upper leg's length
// chosen so that the pedal angle `target` is the root; the iteration started
// from the height h finds it and places the chain there.
struct RootCase {
    const char* name;
    double target_deg;
    double start_h_mm;
};

TEST_F(FootPositionTest, NewtonFindsTheRootThatTheRadiusPlaces) {
    const RootCase cases[] = {{"near the start", 48.0, 350.0}, {"further off", 45.0, 300.0}, {"steep", 62.0, 200.0}};
    for (const RootCase& c : cases) {
        SCOPED_TRACE(c.name);
        double b = 0.0, l2 = 0.0;
        foot_leg(90.0, 459.0, &b, &l2);
        const SeatCurve curve;
        double legs[2] = {curve.radius_for_root(200.0, l2, c.target_deg * kDeg, b), 459.0};
        double sgrp[3] = {2500.0, -370.0, 600.0}, angles[2] = {0.0, 90.0}, bof = 0.0, h = c.start_h_mm;
        ASSERT_EQ(HM_VD_HPD_define_foot_position_by_locking_both2(sgrp, legs, angles, &bof, &h), 0);
        EXPECT_NEAR(angles[0], c.target_deg, 1e-6);
        // The chain's SgRP lies on the seat curve: J1516 height and J1517 length.
        EXPECT_NEAR(h, curve.h(c.target_deg * kDeg), 1e-5);
        EXPECT_NEAR(sgrp[0] - bof, curve.x(c.target_deg * kDeg), 1e-5);
    }
}

TEST_F(InchFootPositionTest, NewtonFindsTheSameRootInAnInchPart) {
    double b = 0.0, l2 = 0.0;
    foot_leg(90.0, 459.0 / kInch, &b, &l2);
    const SeatCurve curve{kInch};
    double legs[2] = {curve.radius_for_root(200.0 / kInch, l2, 45.0 * kDeg, b), 459.0 / kInch};
    double sgrp[3] = {100.0, -15.0, 25.0}, angles[2] = {0.0, 90.0}, bof = 0.0, h = 350.0 / kInch;
    ASSERT_EQ(HM_VD_HPD_define_foot_position_by_locking_both2(sgrp, legs, angles, &bof, &h), 0);
    EXPECT_NEAR(angles[0], 45.0, 1e-6);
    EXPECT_NEAR(h, curve.h(45.0 * kDeg), 1e-6);
}

TEST_F(FootPositionTest, AStartWithinTheToleranceTakesNoStepAndTracesInOrder) {
    host_testing::set_checking_level(1);
    host_testing::set_debug_key("VD_HPD", true);
    double b = 0.0, l2 = 0.0;
    foot_leg(90.0, 459.0, &b, &l2);
    // H30 350 mm starts at 77 - 28 = 49 degrees; the radius makes 49 the root.
    const double start = (77.0 - 0.08 * 350.0) * kDeg;
    double legs[2] = {SeatCurve{}.radius_for_root(200.0, l2, start, b), 459.0};
    double sgrp[3] = {2500.0, -370.0, 600.0}, angles[2] = {0.0, 90.0}, bof = 0.0, h = 350.0;
    ASSERT_EQ(HM_VD_HPD_define_foot_position_by_locking_both2(sgrp, legs, angles, &bof, &h), 0);
    EXPECT_DOUBLE_EQ(angles[0], start * 57.29577951308235);
    const std::vector<std::string> lines = traces();
    const std::vector<std::string> prefixes = {
        "\n+++ HM_VD_HPD_define_foot_position_by_locking_both2:",
        "\n+++ First Step: ankle_angle = 90.000000,leg_length[1] = 459.000000,b_angle= ",
        "\n+++ Initial Values of newton method: root =0.855211, formula =",
        "\n+++ end of newton method.",
        "\n+++ result pedal angles = 49.000000",
        "\n+++ end of HM_VD_HPD_define_foot_position_by_locking_both2:",
    };
    ASSERT_EQ(lines.size(), prefixes.size());
    for (size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(lines[i].rfind(prefixes[i], 0), 0u) << lines[i];
}

TEST_F(FootPositionTest, NoConvergenceLeavesThePedalAngleAndPlacesNoChain) {
    host_testing::set_checking_level(1);
    host_testing::set_debug_key("VD_HPD", true);
    struct Case {
        const char* name;
        double upper;
        double h;
        int steps;  // Newton steps traced
    };
    const double inf = std::numeric_limits<double>::infinity();
    const Case cases[] = {
        // So long a thigh finds its root only far out: 26 steps are not enough.
        {"a root out of reach", 1e5, 350.0, 26},
        {"a residual that overflows", 1e200, 350.0, 0},
        {"a non-finite seat height", 456.0, inf, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        host_testing::clear_sinks();
        double legs[2] = {c.upper, 459.0};
        double sgrp[3] = {2500.0, -370.0, 600.0}, angles[2] = {12.5, 90.0}, bof = -7.0, h = c.h;
        EXPECT_EQ(HM_VD_HPD_define_foot_position_by_locking_both2(sgrp, legs, angles, &bof, &h), -1);
        EXPECT_EQ(angles[0], 12.5);
        EXPECT_EQ(bof, -7.0);
        int steps = 0;
        for (const std::string& line : traces()) steps += line.rfind("\n+++ times = ", 0) == 0;
        if (c.steps >= 0) {
            EXPECT_EQ(steps, c.steps);
            ASSERT_FALSE(traces().empty());
            EXPECT_EQ(traces().back(), "\n+++ end of HM_VD_HPD_define_foot_position_by_locking_both2:");
        } else {
            EXPECT_TRUE(traces().empty());
        }
    }
    double legs[2] = {456.0, 459.0}, sgrp[3] = {0, 0, 0}, angles[2] = {0, 90}, bof = 0, h = 350;
    EXPECT_EQ(HM_VD_HPD_define_foot_position_by_locking_both2(nullptr, legs, angles, &bof, &h), -1);
    EXPECT_EQ(HM_VD_HPD_define_foot_position_by_locking_both2(sgrp, nullptr, angles, &bof, &h), -1);
    EXPECT_EQ(HM_VD_HPD_define_foot_position_by_locking_both2(sgrp, legs, angles, nullptr, &h), -1);
}

TEST_F(FootPositionTest, APedalAngleBeyondAFullTurnIsReducedByTheToolsTurn) {
    struct Case {
        double degrees, reduced;
    };
    const Case cases[] = {
        {360.0, 360.0},
        {-360.0, -360.0},
        {361.0, 361.0 - 360.00000000000017},
        {-361.0, -(361.0 - 360.00000000000017)},
        {725.0, 725.0 - 2 * 360.00000000000017},
        {49.0, 49.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.degrees);
        EXPECT_DOUBLE_EQ(hpd_reduce_pedal_degrees(c.degrees), c.reduced);
    }
    // 361 is not reduced to exactly 1: the divisor is three units above 360.
    EXPECT_NE(hpd_reduce_pedal_degrees(361.0), 1.0);
}

TEST_F(FootPositionTest, CirclePickTakesTheUpperPointAndTheFirstOnATie) {
    struct Case {
        const char* name;
        double c1[2], r1, c2[2], r2;
    };
    const Case cases[] = {
        {"side by side", {0, 0}, 5, {8, 0}, 5},
        {"one above the other: a tie", {0, 0}, 5, {0, 8}, 5},
        {"touching", {0, 0}, 2, {0, 5}, 3},
        {"offset", {1, 2}, 4, {3, -1}, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        double a[2] = {c.c1[0], c.c1[1]}, b[2] = {c.c2[0], c.c2[1]}, points[2][2];
        int count = 0;
        ASSERT_EQ(HM_VD_ask_circle_intersect_point(a, c.r1, b, c.r2, &count, points), 0);
        int expected = count == 2 && points[1][1] > points[0][1] ? 1 : 0;
        double out[2];
        ASSERT_EQ(hpd_circle_pick_upper(c.c1, c.r1, c.c2, c.r2, out), 0);
        EXPECT_EQ(out[0], points[expected][0]);
        EXPECT_EQ(out[1], points[expected][1]);
        // The current release's pick by the greater height gives the same point.
        double current[2];
        ASSERT_EQ(carvell::occupant::hpd_pick_circle_intersection(c.c1, c.r1, c.c2, c.r2, 2, current), 0);
        EXPECT_EQ(current[0], out[0]);
        EXPECT_EQ(current[1], out[1]);
    }
    const double c1[2] = {0, 0}, far[2] = {20, 0};
    double out[2] = {7, 7};
    EXPECT_EQ(hpd_circle_pick_upper(c1, 5, far, 5, out), -1);
    EXPECT_EQ(out[0], 7);
    EXPECT_EQ(out[1], 7);
}

TEST_F(FootPositionTest, PointNewtonStepIsTheCurrentLegNewtonStep) {
    struct Case {
        double p[2], l1, l2, r, a, b;
    };
    const Case cases[] = {
        {{200, 0}, 200, 300, 300, 0.3, M_PI / 2},
        {{650, 420}, 200, 480, 456, 0.85, 1.3},
        {{-50, 10}, 5, 8, 3, -0.4, 0.2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.a);
        EXPECT_DOUBLE_EQ(hpd_point_newton_step(c.p, c.l1, c.l2, c.r, c.a, c.b),
                         carvell::occupant::hpd_leg_newton_step(c.l1, c.l2, c.r, c.a, c.b, c.p));
    }
}

// Reverse engineering with A46 and A47 locked, no deviate variable, class A:
// the 2006 release solves A47 from the seat height given on entry and writes
// the A47 and H30 of the SgRP on the seat curve.
TEST_F(FootPositionTest, ReverseEngineeringPutsTheSgrpOnTheClassASeatCurve) {
    host_testing::set_checking_level(1);
    host_testing::set_debug_key("VD_HPD", true);
    double sgrp[3] = {2500.0, -370.0, 600.0}, legs[2] = {456.0, 459.0}, locked[2] = {90.0, 50.0}, heel[3] = {0, 0, 0};
    double a47 = 0.0, h30 = 350.0;
    ASSERT_EQ(HM_VD_HPD_reverse_engineering(2, sgrp, 0.0, legs, locked, heel, 0, 0, 0.0, &a47, 24.0, 0, &h30, 0), 0);
    EXPECT_NEAR(a47, 77.0 - 0.08 * h30, 1e-6);                 // J1516
    const double bof = heel[0] - 200.0 * std::cos(a47 * kDeg);
    EXPECT_NEAR(sgrp[0] - bof, 913.7 + 0.672316 * h30 - 0.0019553 * h30 * h30, 1e-5);  // J1517
    EXPECT_NEAR(heel[2], sgrp[2] - h30, 1e-9);
    // The solver's frame of trace lines, in order, with its steps between.
    const std::vector<std::string> frame = {"\n+++ HM_VD_HPD_define_foot_position_by_locking_both2:",
                                            "\n+++ First Step:", "\n+++ Initial Values of newton method:",
                                            "\n+++ end of newton method.", "\n+++ result pedal angles = ",
                                            "\n+++ end of HM_VD_HPD_define_foot_position_by_locking_both2:"};
    std::vector<std::string> seen;
    for (const std::string& line : traces())
        for (const std::string& prefix : frame)
            if (line.rfind(prefix, 0) == 0) seen.push_back(prefix);
    EXPECT_EQ(seen, frame);
}

}  // namespace
