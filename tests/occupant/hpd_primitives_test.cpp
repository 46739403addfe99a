// Planar primitives of the H-point design tool: angle wrapping, 2-D angles,
// circle picks, the foot geometry and the two-link closure.
#include "hpd_primitives.h"

#include "host_fixture.h"
#include "occupant_fixtures.h"

#include <cmath>
#include <limits>

using namespace carvell::occupant;

using occupant_test::kDeg;
using occupant_test::kInch;

// Units, angles, circles, the foot and the leg closure.
class PrimitivesTest : public HostTest {};
class PrimitivesInchTest : public InchHostTest {};

TEST_F(PrimitivesTest, WrapDegreesKeepsTheToolsFullTurn) {
    const struct {
        double in, out;
    } cases[] = {{540.0, 180.0},  {-190.0, 170.0}, {360.0, 0.0},      {180.0, 180.0}, {-180.0, -180.0},
                 {190.0, -170.0}, {720.0, 0.0},    {-540.0, -180.0}, {45.5, 45.5},   {180.0002, -179.9998}};
    for (const auto& c : cases) EXPECT_NEAR(hpd_wrap_angle_deg(c.in), c.out, 1e-12) << c.in;
    // The wrap divides by 360 plus three units in the last place, not by 360.
    EXPECT_NE(hpd_wrap_angle_deg(540.0), 180.0);
}

TEST_F(PrimitivesTest, RadiansAreWrappedIntoHalfTurns) {
    const struct {
        double in, out;
    } cases[] = {{4.0 * M_PI, 0.0}, {-1.5 * M_PI, 0.5 * M_PI}, {3.5, 3.5 - 2.0 * M_PI}, {-0.25, -0.25}};
    for (const auto& c : cases) {
        double a = c.in;
        EXPECT_EQ(hpd_wrap_angle_rad(&a), 0);
        EXPECT_NEAR(a, c.out, 1e-12) << c.in;
    }
    double big = 1e10;
    hpd_wrap_angle_rad(&big);
    EXPECT_LE(std::fabs(big), M_PI);
    double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(hpd_wrap_angle_rad(&inf), 0);  // returns, unchanged
    EXPECT_TRUE(std::isinf(inf));
}

TEST_F(PrimitivesTest, Angle2dIsCounterClockwiseInAFullTurn) {
    const struct {
        double from[2], to[2], angle;
    } cases[] = {{{1, 0}, {0, 1}, 90.0},   {{0, 1}, {1, 0}, 270.0}, {{1, 0}, {1, 0}, 0.0},
                 {{1, 1}, {-1, 1}, 90.0}, {{-1, 0}, {1, 0}, 180.0}, {{2, 0}, {1, -1}, 315.0}};
    for (const auto& c : cases) {
        double angle = -1.0;
        hpd_angle_2d(c.from, c.to, &angle);
        EXPECT_NEAR(angle, c.angle, 1e-10);
    }
}

TEST_F(PrimitivesTest, PickRuleChoosesAmongTheTwoPoints) {
    // The circles meet in (-3, 4) first and (3, 4) second.
    const double c1[2] = {0, 0}, c2[2] = {0, 8};
    const struct {
        int rule;
        double l, h;
    } cases[] = {{0, 3, 4}, {1, -3, 4}, {2, -3, 4}, {3, -3, 4}, {9, -3, 4}};
    for (const auto& c : cases) {
        double p[2] = {0, 0};
        ASSERT_EQ(hpd_pick_circle_intersection(c1, 5, c2, 5, c.rule, p), 0);
        EXPECT_NEAR(p[0], c.l, 1e-9) << "rule " << c.rule;
        EXPECT_NEAR(p[1], c.h, 1e-9) << "rule " << c.rule;
    }
    // Side by side the points differ in H: rule 2 takes the upper, others the lower.
    const double d2[2] = {8, 0};
    double up[2], down[2];
    ASSERT_EQ(hpd_pick_circle_intersection(c1, 5, d2, 5, 2, up), 0);
    ASSERT_EQ(hpd_pick_circle_intersection(c1, 5, d2, 5, 4, down), 0);
    EXPECT_NEAR(up[1], 3.0, 1e-9);
    EXPECT_NEAR(down[1], -3.0, 1e-9);

    // The knee is the upper point; circles apart give -1 and no point.
    double knee[2] = {-7, -7};
    ASSERT_EQ(hpd_ask_knee_point(c1, 5, d2, 5, knee), 0);
    EXPECT_NEAR(knee[0], 4.0, 1e-9);
    EXPECT_NEAR(knee[1], 3.0, 1e-9);
    const double far[2] = {20, 0};
    knee[0] = knee[1] = -7;
    EXPECT_EQ(hpd_ask_knee_point(c1, 5, far, 5, knee), -1);
    EXPECT_EQ(knee[0], -7);
}

TEST_F(PrimitivesTest, CirclePointAtAHeightLiesOnTheSideOfGreaterL) {
    const double c[2] = {1, 2};
    const struct {
        double h;
        int result;
        double l;
    } cases[] = {{5, 0, 5}, {-1, 0, 5}, {2, 0, 6}, {7, 0, 1}, {-3, 0, 1}, {7.0001, -1, 0}, {-3.0001, -1, 0}};
    for (const auto& k : cases) {
        double out[2] = {-9, -9};
        EXPECT_EQ(hpd_ask_circle_point_at_height(c, 5, k.h, out), k.result) << k.h;
        if (k.result == 0) {
            EXPECT_NEAR(out[0], k.l, 1e-12) << k.h;
            EXPECT_EQ(out[1], k.h);
        } else {
            EXPECT_EQ(out[0], -9);
        }
    }
    double out[2];
    EXPECT_EQ(hpd_ask_circle_point_at_height(c, -1, 2, out), -1);
}

TEST_F(PrimitivesTest, FootGeometryHoldsInMillimetres) {
    const double heel[2] = {1000.0, 200.0};
    double ankle[2], back[2];
    hpd_ask_ankle_from_heel(heel, 0.0, ankle);
    EXPECT_NEAR(ankle[0], 919.0, 1e-12);
    EXPECT_NEAR(ankle[1], 307.0, 1e-12);
    // At 90 degrees the offset (-81, 107) has turned clockwise to (107, 81).
    hpd_ask_ankle_from_heel(heel, 90.0, ankle);
    EXPECT_NEAR(ankle[0], 1107.0, 1e-9);
    EXPECT_NEAR(ankle[1], 281.0, 1e-9);
    // The same arm as 134.2 mm at (shoe angle + 52.8738) degrees above -L.
    for (double shoe : {0.0, 20.0, 45.0, 77.0}) {
        hpd_ask_ankle_from_heel(heel, shoe, ankle);
        double a = (shoe + 52.8738) * kDeg;
        EXPECT_NEAR(ankle[0], heel[0] - 134.2008 * std::cos(a), 1e-3) << shoe;
        EXPECT_NEAR(ankle[1], heel[1] + 134.2008 * std::sin(a), 1e-3) << shoe;
        hpd_ask_heel_from_ankle(ankle, shoe, back);
        EXPECT_NEAR(back[0], heel[0], 1e-9);
        EXPECT_NEAR(back[1], heel[1], 1e-9);
    }
}

TEST_F(PrimitivesInchTest, FootGeometryHoldsInInches) {
    const double heel[2] = {0.0, 0.0};
    double ankle[2];
    hpd_ask_ankle_from_heel(heel, 0.0, ankle);
    EXPECT_NEAR(ankle[0], -81.0 / kInch, 1e-12);
    EXPECT_NEAR(ankle[1], 107.0 / kInch, 1e-12);
    double gamma = 0.0, d = 0.0;
    hpd_ask_foot_leg_angle(96.5, 400.0 / kInch, &gamma, &d);
    EXPECT_NEAR(d, std::hypot(81.0, 507.0) / kInch, 1e-9);
    EXPECT_NEAR(gamma, std::atan2(507.0, 81.0) / kDeg, 1e-9);
}

TEST_F(PrimitivesTest, ShankDirectionAndFootLegAngleFollowTheShoe) {
    const struct {
        double a, b, turn;  // the result is (-1, 0) turned by `turn` degrees
    } cases[] = {{0, 0, 6.5}, {10, 20, -23.5}, {0, 96.5, -90.0}, {30, 130, -153.5}};
    for (const auto& c : cases) {
        double dir[2];
        hpd_ask_shank_direction(c.a, c.b, dir);
        EXPECT_NEAR(dir[0], -std::cos(c.turn * kDeg), 1e-12);
        EXPECT_NEAR(dir[1], -std::sin(c.turn * kDeg), 1e-12);
        // The same direction as an angle above +L, for ankle angle b and pedal angle a.
        const double angle = hpd_shank_angle(c.b, c.a);
        EXPECT_NEAR(angle, 180.0 + c.turn, 1e-12);
        // The knee 100 along it from an ankle at (10, 20).
        const double ankle[2] = {10.0, 20.0};
        double knee[2];
        hpd_ask_knee_from_ankle(ankle, c.a, c.b, 100.0, knee);
        EXPECT_NEAR(knee[0], 10.0 + 100.0 * std::cos(angle * kDeg), 1e-9);
        EXPECT_NEAR(knee[1], 20.0 + 100.0 * std::sin(angle * kDeg), 1e-9);
    }
    // The foot direction is the shank direction without the ankle angle.
    double foot[2], shank[2];
    hpd_ask_foot_direction(30.0, foot);
    hpd_ask_shank_direction(30.0, 0.0, shank);
    EXPECT_EQ(foot[0], shank[0]);
    EXPECT_EQ(foot[1], shank[1]);
    // Ankle angle 96.5 puts the lower leg straight up from the ankle at
    // (119, 107): the knee is at (119, 507) for a lower leg of 400, seen from
    // the heel (200, 0) at atan(507 / 81) from the sole.
    double gamma = 0.0, d = 0.0;
    hpd_ask_foot_leg_angle(96.5, 400.0, &gamma, &d);
    EXPECT_NEAR(d, std::hypot(81.0, 507.0), 1e-9);
    EXPECT_NEAR(gamma, std::atan2(507.0, 81.0) / kDeg, 1e-9);
}

TEST_F(PrimitivesTest, KneeChordClosesTheLegTriangle) {
    // Legs 3 and 4 at a right knee: chord 5, and the angle at the ankle,
    // opposite the thigh, is asin(3 / 5). Legs 3 and 5 at a knee of 120
    // degrees: chord sqrt(9 + 25 + 15) = 7.
    EXPECT_NEAR(hpd_knee_chord(90.0, 3.0, 4.0), 5.0, 1e-12);
    EXPECT_NEAR(hpd_chord_angle_at_ankle(90.0, 3.0, 4.0, 5.0), std::asin(0.6), 1e-12);
    EXPECT_NEAR(hpd_knee_chord(120.0, 3.0, 5.0), 7.0, 1e-12);
    EXPECT_NEAR(hpd_chord_angle_at_ankle(120.0, 3.0, 5.0, 7.0), std::asin(3.0 * std::sin(120.0 * kDeg) / 7.0),
                1e-12);
    // Legs 6 and 1 at a knee of 10 degrees: the angle at the ankle is obtuse,
    // which its sine alone would not tell.
    const double chord = hpd_knee_chord(10.0, 6.0, 1.0);
    const double cos_at_ankle = (1.0 + chord * chord - 36.0) / (2.0 * chord);
    ASSERT_LT(cos_at_ankle, 0.0);
    EXPECT_NEAR(hpd_chord_angle_at_ankle(10.0, 6.0, 1.0, chord), std::acos(cos_at_ankle), 1e-9);
    // Equal legs folded flat leave no chord.
    EXPECT_EQ(hpd_knee_chord(0.0, 4.0, 4.0), 0.0);
}

TEST_F(PrimitivesTest, ClosureHasItsDerivativeAndNewtonStep) {
    // l1 along a, l2 along a + b: at a = 0, b = 90 deg the chain ends at
    // (200, 300), which lies 300 from p = (200, 0).
    const double p[2] = {200.0, 0.0};
    const double l1 = 200.0, l2 = 300.0, b = M_PI / 2;
    EXPECT_NEAR(hpd_leg_closure(l1, l2, 300.0, 0.0, b, p), 0.0, 1e-9);
    EXPECT_NEAR(hpd_leg_closure(l1, l2, 0.0, 0.0, b, p), 300.0 * 300.0, 1e-9);
    // The derivative matches a central difference.
    for (double a : {-0.4, 0.1, 0.7}) {
        double h = 1e-6;
        double numeric = (hpd_leg_closure(l1, l2, 250.0, a + h, b, p) - hpd_leg_closure(l1, l2, 250.0, a - h, b, p)) /
                         (2 * h);
        EXPECT_NEAR(hpd_leg_closure_derivative(l1, l2, a, b, p), numeric, 1e-3 * std::fabs(numeric) + 1e-3);
    }
    // Newton steps from 0.3 close the chain on the circle of radius 300.
    double a = 0.3;
    for (int i = 0; i < 20; ++i) a = hpd_leg_newton_step(l1, l2, 300.0, a, b, p);
    EXPECT_NEAR(hpd_leg_closure(l1, l2, 300.0, a, b, p), 0.0, 1e-6);
}
