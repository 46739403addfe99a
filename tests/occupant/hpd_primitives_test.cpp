// H-point geometry primitives: angle wrapping, 2-D angles, the plan-view
// turn, circle intersections and picks, the foot geometry, the two-link
// closure, list conversion and the base-point adjustment of a section plane.
#include "hpd_primitives.h"
#include "hpd.h"

#include "host_fixture.h"
#include "occupant_fixtures.h"
#include "omvra.h"
#include "quillon.h"

#include <cmath>
#include <limits>

using namespace carvell::occupant;

using occupant_test::kDeg;
using occupant_test::kInch;

TEST(HpdAngles, WrapDegreesKeepsTheToolsFullTurn) {
    const struct {
        double in, out;
    } cases[] = {{540.0, 180.0},  {-190.0, 170.0}, {360.0, 0.0},      {180.0, 180.0}, {-180.0, -180.0},
                 {190.0, -170.0}, {720.0, 0.0},    {-540.0, -180.0}, {45.5, 45.5},   {180.0002, -179.9998}};
    for (const auto& c : cases) EXPECT_NEAR(hpd_wrap_angle_deg(c.in), c.out, 1e-12) << c.in;
    // The wrap divides by 360 plus three units in the last place, not by 360.
    EXPECT_NE(hpd_wrap_angle_deg(540.0), 180.0);
}

TEST(HpdAngles, WrapRadiansIntoHalfTurns) {
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

TEST(HpdAngles, Angle2dCounterClockwiseInFullTurn) {
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

TEST_F(HostTest, PlanViewTurnAboutTheVertical) {
    double centre[3] = {1.0, 2.0, 3.0};
    double point[3] = {4.0, 6.0, 100.0}, out[3];
    // (3, 4) from the centre, turned 30 degrees counter-clockwise.
    HPD_transform_point_to_pv(point, centre, 30.0, out);
    EXPECT_NEAR(out[0], 1.0 + 3.0 * std::cos(30 * kDeg) - 4.0 * std::sin(30 * kDeg), 1e-12);
    EXPECT_NEAR(out[1], 2.0 + 3.0 * std::sin(30 * kDeg) + 4.0 * std::cos(30 * kDeg), 1e-12);
    EXPECT_EQ(out[2], 100.0);

    double origin[3] = {0, 0, 0}, p[3] = {10.0, 0.0, 5.0};
    HPD_transform_point_to_pv(p, origin, -90.0, p);  // in place
    EXPECT_NEAR(p[0], 0.0, 1e-12);
    EXPECT_NEAR(p[1], -10.0, 1e-12);
    EXPECT_EQ(p[2], 5.0);

    // A tiny angle and a point on the vertical through the centre stay put.
    double q[3] = {7.0, 8.0, 9.0}, r[3];
    HPD_transform_point_to_pv(q, centre, 1e-11, r);
    EXPECT_EQ(r[0], 7.0);
    EXPECT_EQ(r[1], 8.0);
    double above[3] = {1.0, 2.0, 50.0};
    HPD_transform_point_to_pv(above, centre, 45.0, r);
    EXPECT_EQ(r[0], 1.0);
    EXPECT_EQ(r[1], 2.0);
    EXPECT_EQ(r[2], 50.0);
}

TEST(HpdCircles, IntersectionCasesAndPointOrder) {
    const struct {
        const char* name;
        double c1[2], r1, c2[2], r2;
        int result, count;
        double p[2][2];
    } cases[] = {
        {"outer contact", {0, 0}, 1, {2, 0}, 1, 0, 1, {{1, 0}}},
        {"just apart", {0, 0}, 1, {2.0000001, 0}, 1, -1, 0, {}},
        {"nested", {0, 0}, 5, {0, 0}, 1, -1, 0, {}},
        {"nested off centre", {0, 0}, 5, {1, 0}, 1, -1, 0, {}},
        {"same circle", {3, 3}, 2, {3, 3}, 2, -1, 0, {}},
        {"inner contact, big first", {0, 0}, 5, {3, 0}, 2, 0, 1, {{5, 0}}},
        {"inner contact, small first", {3, 0}, 2, {0, 0}, 5, 0, 1, {{5, 0}}},
        {"two points", {0, 0}, 5, {8, 0}, 5, 0, 2, {{4, 3}, {4, -3}}},
        {"two points, vertical", {0, 0}, 5, {0, 8}, 5, 0, 2, {{-3, 4}, {3, 4}}},
        {"3-4-5", {1, 1}, 3, {6, 1}, 4, 0, 2, {{2.8, 3.4}, {2.8, -1.4}}},
        {"negative radius", {0, 0}, -1, {1, 0}, 1, -1, 0, {}},
        {"not a number", {NAN, 0}, 1, {1, 0}, 1, -1, 0, {}},
    };
    for (const auto& c : cases) {
        double c1[2] = {c.c1[0], c.c1[1]}, c2[2] = {c.c2[0], c.c2[1]};
        int count = 77;
        double points[2][2] = {{-9, -9}, {-9, -9}};
        EXPECT_EQ(HM_VD_ask_circle_intersect_point(c1, c.r1, c2, c.r2, &count, points), c.result) << c.name;
        EXPECT_EQ(count, c.count) << c.name;
        for (int i = 0; i < c.count; ++i) {
            EXPECT_NEAR(points[i][0], c.p[i][0], 1e-9) << c.name << " point " << i;
            EXPECT_NEAR(points[i][1], c.p[i][1], 1e-9) << c.name << " point " << i;
        }
    }
    double c[2] = {0, 0}, points[2][2];
    EXPECT_EQ(HM_VD_ask_circle_intersect_point(c, 1, c, 1, nullptr, points), -1);
}

TEST(HpdCircles, PickRuleChoosesAmongTheTwoPoints) {
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

TEST(HpdCircles, PointAtHeightOnTheSideOfGreaterL) {
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

TEST_F(HostTest, FootGeometryInMillimetres) {
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

TEST_F(InchHostTest, FootGeometryInInches) {
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

TEST_F(HostTest, ShankDirectionAndFootLegAngle) {
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

TEST(HpdClosure, KneeChordOfTheLegTriangle) {
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

TEST(HpdClosure, ClosureDerivativeAndNewtonStep) {
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

TEST_F(HostTest, ListAndArrayConversion) {
    tag_t items[3] = {11, 22, 33};
    hm_list_s* list = nullptr;
    change_array_to_list(3, items, &list);
    int count = 0;
    tag_t* array = nullptr;
    change_list_to_array(list, &count, &array);
    ASSERT_EQ(count, 3);
    ASSERT_NE(array, nullptr);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(array[i], items[i]);
    SM_free(array);
    HM_MODL_delete_list(&list);

    change_array_to_list(0, nullptr, &list);
    change_list_to_array(list, &count, &array);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(array, nullptr);
    HM_MODL_delete_list(&list);

    change_array_to_list(3, items, &list);
    array = reinterpret_cast<tag_t*>(&count);
    change_list_to_array(list, nullptr, &array);
    EXPECT_EQ(array, nullptr);
    HM_MODL_delete_list(&list);
    ExpectNoLeaks();
}

class PlaneBasePoint : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        const double c1[3] = {0, 10, 0}, s1[3] = {10, 10, 10};
        const double c2[3] = {0, 40, 0}, s2[3] = {5, 5, 5};
        boxes_[0] = host_testing::make_box(c1, s1);  // W 10 .. 20
        boxes_[1] = host_testing::make_box(c2, s2);  // W 40 .. 45
        ASSERT_NE(boxes_[0], NULL_TAG);
        ASSERT_NE(boxes_[1], NULL_TAG);
    }
    tag_t boxes_[2] = {0, 0};
};

TEST_F(PlaneBasePoint, BoxesGiveTheMiddleOfTheirWRange) {
    double base[3] = {3.0, 0.0, 4.0}, out[3];
    ASSERT_EQ(HM_VD_HPD_adjust_plane_base_pt(2, boxes_, base, true, out), 0);
    EXPECT_NEAR(out[1], 27.5, 1e-6);
    EXPECT_EQ(out[0], 3.0);
    EXPECT_EQ(out[2], 4.0);
    // An object without a box is skipped and does not pull the range to 0.
    tag_t with_bad[3] = {999999, boxes_[0], boxes_[1]};
    ASSERT_EQ(HM_VD_HPD_adjust_plane_base_pt(3, with_bad, base, true, out), 0);
    EXPECT_NEAR(out[1], 27.5, 1e-6);
    tag_t all_bad[1] = {999999};
    double off_centre[3] = {3.0, 7.0, 4.0};
    ASSERT_EQ(HM_VD_HPD_adjust_plane_base_pt(1, all_bad, off_centre, true, out), 0);
    EXPECT_EQ(out[1], 7.0);
}

TEST_F(PlaneBasePoint, NearestPointsMoveABaseOutsideTheirRange) {
    // Nearest points of the boxes to the base: W 10 and W 40.
    double base[3] = {5.0, 0.0, 5.0}, out[3];
    ASSERT_EQ(HM_VD_HPD_adjust_plane_base_pt(2, boxes_, base, false, out), 0);
    EXPECT_NEAR(out[1], 25.0, 1e-6);
    EXPECT_EQ(out[0], 5.0);
    EXPECT_EQ(out[2], 5.0);
    double inside[3] = {5.0, 30.0, 5.0};  // nearest W 20 and 40
    ASSERT_EQ(HM_VD_HPD_adjust_plane_base_pt(2, boxes_, inside, false, out), 0);
    EXPECT_EQ(out[1], 30.0);

    tag_t first_bad[2] = {999999, boxes_[0]};
    tag_t second_bad[2] = {boxes_[0], 999999};
    EXPECT_EQ(HM_VD_HPD_adjust_plane_base_pt(2, first_bad, base, false, out), 10);
    EXPECT_EQ(HM_VD_HPD_adjust_plane_base_pt(2, second_bad, base, false, out), 20);
    out[1] = -1.0;
    EXPECT_EQ(HM_VD_HPD_adjust_plane_base_pt(0, boxes_, base, false, out), 0);
    EXPECT_EQ(out[1], 0.0);
}
