// The A-pillar obstruction analysis on a vertical cylinder standing in for
// the pillar, with limits and given angles, and in a moved vehicle csys.
#include "hm_vd_vision.h"
#include "vision_fixtures.h"

#include "omvra.h"
#include "quillon.h"
#include "tessik.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>

namespace {

using support::make_list;
using V3 = std::array<double, 3>;

constexpr double kDeg = 3.14159265358979323846 / 180.0;

// Pivot sets: side 1 (the driver's, y < 0) first.
host_testing::EyellipseSpec pillar_eyellipse() {
    host_testing::EyellipseSpec s = vision_test::distinct_eyellipse();
    s.centroids = {{{902.0, -432.5, 1000.0}, {902.0, -400.0, 1000.0}, {902.0, -367.5, 1000.0}}};
    s.pivots_1 = {{{1000.0, -400.0, 1000.0}, {1000.0, 400.0, 1000.0}}};
    s.pivots_2 = s.pivots_1;
    return s;
}

// Absolute from vehicle coordinates: origin + M^T p.
V3 to_abs(const V3& p, const double o[3], const double m[9]) {
    V3 r;
    for (int i = 0; i < 3; ++i) r[i] = o[i] + m[i] * p[0] + m[3 + i] * p[1] + m[6 + i] * p[2];
    return r;
}

V3 line_start(tag_t line) {
    HM_CURVE_line_t data{};
    EXPECT_EQ(HM_CURVE_ask_line_data(line, &data), 0);
    return {data.start_point[0], data.start_point[1], data.start_point[2]};
}
V3 line_end(tag_t line) {
    HM_CURVE_line_t data{};
    EXPECT_EQ(HM_CURVE_ask_line_data(line, &data), 0);
    return {data.end_point[0], data.end_point[1], data.end_point[2]};
}

// Distance in plan from a point to the infinite line through two points.
double plan_distance(const V3& c, const V3& p, const V3& q) {
    const double dx = q[0] - p[0], dy = q[1] - p[1];
    return std::fabs(dx * (c[1] - p[1]) - dy * (c[0] - p[0])) / std::hypot(dx, dy);
}

void free_points(apo_result_t& r) {
    for (int i = 0; i < r.section_point_count; ++i) SM_free(r.section_points[i]);
    SM_free(r.section_points);
    if (r.section_curves) HM_MODL_delete_list(&r.section_curves);
}

class ApoMainTest : public HostTest {
protected:
    // The eyellipse and a vertical pillar of 80 mm diameter at (400, -900),
    // all given in the vehicle csys (origin, matrix) and built in absolute.
    void Build(const double origin[3], const double matrix[9]) {
        host_testing::EyellipseSpec s = pillar_eyellipse();
        for (auto& c : s.centroids) c = to_abs(c, origin, matrix);
        for (auto& p : s.pivots_1) p = to_abs(p, origin, matrix);
        s.pivots_2 = s.pivots_1;
        ASSERT_NE(host_testing::make_eyellipse("EYE", s), 0u);
        const V3 base = to_abs({400.0, -900.0, 800.0}, origin, matrix);
        const V3 axis = {matrix[6], matrix[7], matrix[8]};
        pillar_ = host_testing::make_cylinder(base.data(), axis.data(), 80.0, 400.0);
        ASSERT_NE(pillar_, 0u);
        HM_VD_APO_init_global(&in_);
        std::memcpy(in_.csys_origin, origin, 3 * sizeof(double));
        std::memcpy(in_.csys_matrix, matrix, 9 * sizeof(double));
        in_.eyellipse_name = SM_string_copy("EYE");
        in_.apillar_geometry = make_list({pillar_});
        HM_VD_APO_init_result_struct(&out_);
    }
    void TearDown() override {
        free_points(out_);
        HM_VD_APO_free_global(&in_);
        HostTest::TearDown();
    }
    tag_t pillar_ = 0;
    apo_input_t in_{};
    apo_result_t out_{};
};

const double kOrigin0[3] = {0, 0, 0};
const double kIdentity[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};

TEST_F(ApoMainTest, SightLinesGrazeTheHorizontalSectionOfThePillar) {
    Build(kOrigin0, kIdentity);
    ASSERT_EQ(HM_VD_APO_main(&in_, &out_), 0);
    EXPECT_EQ(out_.status, 0);
    EXPECT_EQ(out_.side, 1);
    EXPECT_DOUBLE_EQ(out_.pivot_point[0], 1000.0);
    EXPECT_DOUBLE_EQ(out_.pivot_point[1], -400.0);
    const V3 centre = {400.0, -900.0, 1000.0};
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        ASSERT_NE(out_.sight_lines[i], 0u);
        // Tangent to the section circle of radius 40 (tolerance: the search's
        // distance tolerance and the section's).
        EXPECT_NEAR(plan_distance(centre, line_start(out_.sight_lines[i]), line_end(out_.sight_lines[i])), 40.0, 0.05);
        EXPECT_NEAR(line_start(out_.sight_lines[i])[2], 1000.0, 1e-9);
    }
    // The angles reproduce the lines: the start is the E point of the head
    // rotation, the direction the forward one turned by head plus eye.
    for (int slot = 0; slot < 2; ++slot) {
        SCOPED_TRACE(slot);
        const unsigned char side = slot == 0 ? 1 : 0;
        const double eye = out_.rotation[slot], head = out_.rotation[2 + slot];
        double e[3];
        HM_VD_apo_calculate_E_point(0, out_.pivot_point, side, head, e);
        const V3 s = line_start(out_.sight_lines[slot]), t = line_end(out_.sight_lines[slot]);
        EXPECT_NEAR(s[0], e[0], 1e-9);
        EXPECT_NEAR(s[1], e[1], 1e-9);
        const double turn = (eye + head) * kDeg;
        const double len = std::hypot(t[0] - s[0], t[1] - s[1]);
        EXPECT_NEAR((t[0] - s[0]) / len, -std::cos(turn), 1e-6);
        EXPECT_NEAR((t[1] - s[1]) / len, -std::sin(turn), 1e-6);
    }
    // Side 1 turned its head (target 40-odd degrees off), the eye at 30 deg;
    // the obstruction angle is the difference of the two total turns.
    EXPECT_NEAR(std::fabs(out_.rotation[0]), 30.0, 1e-9);
    const double total1 = out_.rotation[0] + out_.rotation[2], total0 = out_.rotation[1] + out_.rotation[3];
    EXPECT_NEAR(std::fabs(out_.obstruction_angle), std::fabs(total1 - total0), 1e-6);
    EXPECT_EQ(out_.angle_valid, 1);
    EXPECT_GT(out_.obstruction_angle, 0.0);
    // R on the (28, 67, 0) line, 20 mm outboard for side 1.
    EXPECT_NEAR(out_.reference_point[0], 1000.0 + 20.0 * 28.0 / 67.0, 1e-9);
    EXPECT_NEAR(out_.reference_point[1], -380.0, 1e-9);
    EXPECT_NEAR(out_.reference_point[2], 1000.0, 1e-9);
    // The vertical turned about y by -5 and +2 degrees.
    EXPECT_NEAR(out_.lower_normal[0], std::sin(-5.0 * kDeg), 1e-12);
    EXPECT_NEAR(out_.lower_normal[2], std::cos(5.0 * kDeg), 1e-12);
    EXPECT_NEAR(out_.upper_normal[0], std::sin(2.0 * kDeg), 1e-12);
    EXPECT_NEAR(out_.upper_normal[2], std::cos(2.0 * kDeg), 1e-12);
    EXPECT_EQ(host_testing::status_texts().back(), "Calculating Pillar Obstruction Angle...");
}

// Rule set 2: sections tilted about R; each line still grazes the vertical
// pillar in plan, at the height where its tilted section comes foremost.
TEST_F(ApoMainTest, TiltedSectionsGrazeThePillarInPlan) {
    Build(kOrigin0, kIdentity);
    in_.rule_set = 2;
    ASSERT_EQ(HM_VD_APO_main(&in_, &out_), 0);
    const V3 centre = {400.0, -900.0, 0.0};
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        ASSERT_NE(out_.sight_lines[i], 0u);
        EXPECT_NEAR(plan_distance(centre, line_start(out_.sight_lines[i]), line_end(out_.sight_lines[i])), 40.0, 0.05);
        EXPECT_NEAR(line_start(out_.sight_lines[i])[2], 1000.0, 1e-9);
    }
    // The working side (1) looks along a plane tilted 5 deg down through R,
    // the other along one tilted 2 deg up: its end lies lower than the
    // other's. Both sections are ellipses of the cylinder.
    EXPECT_LT(line_end(out_.sight_lines[0])[2], 1000.0);
    EXPECT_GT(line_end(out_.sight_lines[1])[2], 1000.0);
    EXPECT_EQ(out_.curves_present, 1);
    EXPECT_EQ(out_.curves_present_second, 1);
    EXPECT_EQ(out_.angle_valid, 1);
}

// Rule set 2 measures the obstruction in plan, as the binocular method
// does: the angle between the left eye's tangent past the pillar's outboard
// edge and the right eye's past its inboard edge, whatever the tilt of the
// sections that found them. On a vertical pillar every horizontal section is
// the same circle, so the tangents are closed form. E points 104 mm from P
// (d = sqrt(9759.75), s = 32.5), the eyes not turned (mode 1).
TEST_F(ApoMainTest, TiltedSectionsObstructionIsThePlanAngleBetweenTheTangents) {
    Build(kOrigin0, kIdentity);
    in_.rule_set = 2;
    ASSERT_EQ(HM_VD_APO_main(&in_, &out_), 0);
    const double d = std::sqrt(9759.75), s = 32.5, r = 40.0;
    const double px = 1000.0, py = -400.0, cx = 400.0, cy = -900.0;
    // Left eye (side 1, working): the head turns by a until the forward line
    // from E = P + R(a)(-d, -s) passes the circle at distance r on its
    // outboard side: D sin(phi - pi - a) - s = -r.
    const double D = std::hypot(cx - px, cy - py), phi = std::atan2(cy - py, cx - px);
    const double a = phi - std::asin((s - r) / D);   // heading of the left line: pi + a
    const double heading1 = a;
    // Right eye (side 0): same head turn, its eye alone turns until its line
    // passes the circle's inboard side: heading = bearing of C - E0 minus asin(r / |C - E0|).
    const double e0x = px + (-d) * std::cos(a - support::kPi) - s * std::sin(a - support::kPi);
    const double e0y = py + (-d) * std::sin(a - support::kPi) + s * std::cos(a - support::kPi);
    const double heading0 = std::atan2(cy - e0y, cx - e0x) - std::asin(r / std::hypot(cx - e0x, cy - e0y));
    const double plan_angle = std::fabs(heading0 - heading1) / kDeg;
    // Where the two plan lines cross decides the sign: in front of P here.
    const double e1x = px + (-d) * std::cos(a - support::kPi) + s * std::sin(a - support::kPi);
    const double e1y = py + (-d) * std::sin(a - support::kPi) - s * std::cos(a - support::kPi);
    const double u1[2] = {std::cos(heading1), std::sin(heading1)}, u0[2] = {std::cos(heading0), std::sin(heading0)};
    const double t = ((e0x - e1x) * u0[1] - (e0y - e1y) * u0[0]) / (u1[0] * u0[1] - u1[1] * u0[0]);
    const double meet_x = e1x + t * u1[0];
    const double expected = meet_x < px ? -plan_angle : plan_angle;
    // The lines themselves.
    const V3 s1 = line_start(out_.sight_lines[0]), s0 = line_start(out_.sight_lines[1]);
    EXPECT_NEAR(s1[0], e1x, 0.05);
    EXPECT_NEAR(s1[1], e1y, 0.05);
    EXPECT_NEAR(s0[0], e0x, 0.05);
    EXPECT_NEAR(s0[1], e0y, 0.05);
    EXPECT_NEAR(out_.obstruction_angle, expected, 0.01);
    EXPECT_EQ(out_.angle_valid, 1);
}

TEST_F(ApoMainTest, GivenAnglesDrawSevenHundredMillimetreLines) {
    Build(kOrigin0, kIdentity);
    in_.analysis_kind = 1;
    in_.limit_source = 2;
    in_.side = 0;
    in_.head_rotation = 10.0;
    in_.eye_rotation = 5.0;
    in_.limit_angle = -8.0;
    ASSERT_EQ(HM_VD_APO_main(&in_, &out_), 0);
    EXPECT_EQ(out_.side, 0);
    // Side 0 works with 5 deg, side 1 gets 5 + |-8|.
    EXPECT_DOUBLE_EQ(out_.rotation[0], 13.0);
    EXPECT_DOUBLE_EQ(out_.rotation[1], 5.0);
    EXPECT_DOUBLE_EQ(out_.rotation[2], 10.0);
    EXPECT_DOUBLE_EQ(out_.rotation[3], 10.0);
    EXPECT_EQ(out_.angle_valid, 1);
    EXPECT_DOUBLE_EQ(out_.obstruction_angle, 8.0);
    for (int slot = 0; slot < 2; ++slot) {
        const V3 s = line_start(out_.sight_lines[slot]), t = line_end(out_.sight_lines[slot]);
        EXPECT_NEAR(std::hypot(t[0] - s[0], t[1] - s[1]), 700.0, 1e-9);
    }
}

TEST_F(ApoMainTest, MovedAndTurnedCsysGivesTheMappedAnswer) {
    Build(kOrigin0, kIdentity);
    ASSERT_EQ(HM_VD_APO_main(&in_, &out_), 0);
    const double angle = out_.obstruction_angle;
    const V3 start0 = line_start(out_.sight_lines[0]);
    const double origin[3] = {-500.0, 250.0, 40.0};
    const std::array<double, 9> m = support::turned(30.0);
    host_testing::EyellipseSpec s = pillar_eyellipse();
    apo_input_t moved;
    apo_result_t result;
    {
        // A second set-up of the same car in the moved csys.
        for (auto& c : s.centroids) c = to_abs(c, origin, m.data());
        for (auto& p : s.pivots_1) p = to_abs(p, origin, m.data());
        s.pivots_2 = s.pivots_1;
        ASSERT_NE(host_testing::make_eyellipse("EYE2", s), 0u);
        const V3 base = to_abs({400.0, -900.0, 800.0}, origin, m.data());
        const double up[3] = {0, 0, 1};
        const tag_t pillar = host_testing::make_cylinder(base.data(), up, 80.0, 400.0);
        HM_VD_APO_init_global(&moved);
        std::memcpy(moved.csys_origin, origin, sizeof origin);
        std::memcpy(moved.csys_matrix, m.data(), sizeof(double) * 9);
        moved.eyellipse_name = SM_string_copy("EYE2");
        moved.apillar_geometry = make_list({pillar});
        moved.limit_point[0] = 7.0;
        HM_VD_APO_init_result_struct(&result);
        ASSERT_EQ(HM_VD_APO_main(&moved, &result), 0);
        // The caller's record keeps its own list and points.
        EXPECT_EQ(support::list_items(moved.apillar_geometry), std::vector<tag_t>{pillar});
        EXPECT_EQ(HM_OBJ_ask_status(pillar), 3);
        EXPECT_DOUBLE_EQ(moved.limit_point[0], 7.0);
    }
    EXPECT_NEAR(result.obstruction_angle, angle, 1e-3);
    const V3 pivot = to_abs({1000.0, -400.0, 1000.0}, origin, m.data());
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(result.pivot_point[i], pivot[i], 1e-9);
    const V3 expected_start = to_abs(start0, origin, m.data());
    const V3 got = line_start(result.sight_lines[0]);
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(got[i], expected_start[i], 1e-2);
    free_points(result);
    HM_VD_APO_free_global(&moved);
}

// Eye-point mode 2: the pivot lies 98 mm behind and 32.5 mm inboard of the
// eyellipse eye closest to the target. The fixture's first axis
// (0.978, 0, -0.208) points rearward and down, so plane 1 lies one axis
// length (206.4 mm) ahead along the forward axis, 42.94 mm above the centre.
class ApoClosestEyeMainTest : public ApoMainTest {
protected:
    static V3 expected_eye(double h, double x, double y) {
        const double n = std::hypot(0.978, 0.208);
        const vision_test::TippedSection sec =
            vision_test::tipped_section(103.2, 30.15, 46.7, std::atan2(-0.208 / n, 0.978 / n), h);
        EXPECT_TRUE(sec.exists);
        return vision_test::nearest_on_section({902.0, -432.5, 1000.0}, sec, h, x, y);
    }
    void ExpectPivotBehind(const V3& eye) {
        EXPECT_NEAR(out_.pivot_point[0], eye[0] + 98.0, 0.1);
        EXPECT_NEAR(out_.pivot_point[1], eye[1] + 32.5, 0.1);
        EXPECT_NEAR(out_.pivot_point[2], eye[2], 0.1);
    }
};

TEST_F(ApoClosestEyeMainTest, PillarPivotLiesBehindTheEyeClosestToIt) {
    Build(kOrigin0, kIdentity);
    in_.eye_point_mode = 2;
    const int objects = host_testing::count_objects();
    ASSERT_EQ(HM_VD_APO_main(&in_, &out_), 0);
    EXPECT_EQ(out_.side, 1);
    // The pillar's circle is nearest where the section is nearest its axis.
    const double h = 206.4 * 0.208 / std::hypot(0.978, 0.208);
    EXPECT_NEAR(h, 42.94, 0.01);
    const V3 eye = expected_eye(h, 400.0, -900.0);
    ExpectPivotBehind(eye);
    // The sight lines start at the pivot's height and graze the pillar.
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        ASSERT_NE(out_.sight_lines[i], 0u);
        EXPECT_NEAR(line_start(out_.sight_lines[i])[2], out_.pivot_point[2], 1e-9);
        EXPECT_NEAR(plan_distance({400.0, -900.0, 0.0}, line_start(out_.sight_lines[i]), line_end(out_.sight_lines[i])),
                    40.0, 0.05);
    }
    // The searches leave nothing: the analysis keeps as many objects as
    // with the eyellipse's own pivots.
    const int made = host_testing::count_objects() - objects;
    free_points(out_);
    HM_VD_APO_init_result_struct(&out_);
    in_.eye_point_mode = 0;
    const int before = host_testing::count_objects();
    ASSERT_EQ(HM_VD_APO_main(&in_, &out_), 0);
    EXPECT_EQ(host_testing::count_objects() - before, made);
}

TEST_F(ApoClosestEyeMainTest, LimitPointKeepsItsHeightAndThePivotTakesIt) {
    Build(kOrigin0, kIdentity);
    in_.eye_point_mode = 2;
    in_.analysis_kind = 1;
    in_.limit_source = 0;
    in_.limit_angle = 0.5;
    const double limit[3] = {400.0, -700.0, 1010.0};
    std::memcpy(in_.limit_point, limit, sizeof limit);
    ASSERT_EQ(HM_VD_APO_main(&in_, &out_), 0);
    ExpectPivotBehind(expected_eye(10.0, 400.0, -700.0));
    EXPECT_DOUBLE_EQ(in_.limit_point[2], 1010.0);
    // Side 1's line aims at the limit point.
    const V3 s = line_start(out_.sight_lines[0]), t = line_end(out_.sight_lines[0]);
    EXPECT_NEAR(plan_distance({400.0, -700.0, 0.0}, s, t), 0.0, 1e-6);
    // The validity check agrees; a limit point above the eyellipse is refused.
    EXPECT_TRUE(HM_VD_APO_is_valid_limit_point(0, 2, in_.eyellipse_data, 0, nullptr, limit));
    const double above[3] = {400.0, -700.0, 1100.0};
    EXPECT_FALSE(HM_VD_APO_is_valid_limit_point(0, 2, in_.eyellipse_data, 0, nullptr, above));
    free_points(out_);
    HM_VD_APO_init_result_struct(&out_);
    std::memcpy(in_.limit_point, above, sizeof above);
    EXPECT_EQ(HM_VD_APO_main(&in_, &out_), APO_INVALID_LIMIT_POINT);
}

TEST_F(ApoClosestEyeMainTest, NoTargetToBeClosestToGivesSix) {
    // Given angles name no target: the closest eye cannot be searched.
    Build(kOrigin0, kIdentity);
    in_.eye_point_mode = 2;
    in_.analysis_kind = 1;
    in_.limit_source = 2;
    in_.side = 1;
    const int objects = host_testing::count_objects();
    EXPECT_EQ(HM_VD_APO_main(&in_, &out_), APO_NO_CLOSEST_EYE);
    EXPECT_EQ(out_.status, APO_NO_CLOSEST_EYE);
    EXPECT_EQ(out_.sight_lines[0], 0u);
    EXPECT_EQ(host_testing::count_objects(), objects);
}

TEST_F(ApoMainTest, InputFaultsGiveTheirCodes) {
    Build(kOrigin0, kIdentity);
    // No A-pillar list.
    HM_MODL_delete_list(&in_.apillar_geometry);
    EXPECT_EQ(HM_VD_APO_main(&in_, &out_), APO_NO_APILLAR);
    EXPECT_EQ(out_.status, APO_NO_APILLAR);
    // A pillar the horizontal plane through the pivot misses.
    const double low[3] = {400.0, -900.0, 0.0}, up[3] = {0, 0, 1};
    in_.apillar_geometry = make_list({host_testing::make_cylinder(low, up, 80.0, 100.0)});
    EXPECT_EQ(HM_VD_APO_main(&in_, &out_), APO_INVALID_APILLAR);
    // Limit edges asked for but none given.
    in_.analysis_kind = 1;
    in_.limit_source = 1;
    EXPECT_EQ(HM_VD_APO_main(&in_, &out_), APO_NO_LIMIT_GEOMETRY);
    // An eyellipse that is not there.
    SM_free(in_.eyellipse_name);
    in_.eyellipse_name = SM_string_copy("NONE");
    EXPECT_EQ(HM_VD_APO_main(&in_, &out_), APO_INVALID_EYELLIPSE);
    EXPECT_EQ(HM_VD_APO_main(nullptr, &out_), -1);
    EXPECT_EQ(HM_VD_APO_main(&in_, nullptr), -1);
}

TEST_F(ApoMainTest, LimitPointSpreadByTheLimitAngle) {
    Build(kOrigin0, kIdentity);
    in_.analysis_kind = 1;
    in_.limit_source = 0;
    in_.limit_angle = 0.5;   // above 1e-10: no spread
    in_.limit_point[0] = 400.0;
    in_.limit_point[1] = -700.0;
    in_.limit_point[2] = 0.0;   // replaced by the pivot's height
    ASSERT_EQ(HM_VD_APO_main(&in_, &out_), 0);
    EXPECT_EQ(out_.side, 1);
    EXPECT_DOUBLE_EQ(out_.obstruction_angle, 0.5);
    // Side 1 keeps its eye rotation, side 0 gets it minus 0.5.
    EXPECT_NEAR(out_.rotation[1], out_.rotation[0] - 0.5, 1e-12);
    // Side 1's line aims at the limit point, |P - T| long.
    const V3 s = line_start(out_.sight_lines[0]), t = line_end(out_.sight_lines[0]);
    EXPECT_NEAR(plan_distance({400.0, -700.0, 1000.0}, s, t), 0.0, 1e-6);
    EXPECT_NEAR(std::hypot(t[0] - s[0], t[1] - s[1]), std::hypot(600.0, 300.0), 1e-9);
}

TEST_F(ApoMainTest, LimitEdgeCrossingTheEyePlaneActsAsTheLimitPoint) {
    Build(kOrigin0, kIdentity);
    in_.analysis_kind = 1;
    in_.limit_source = 1;
    in_.limit_angle = 0.5;
    in_.limit_geometry = make_list({support::new_line(400.0, -700.0, 500.0, 400.0, -700.0, 1500.0)});
    ASSERT_EQ(HM_VD_APO_main(&in_, &out_), 0);
    const V3 s = line_start(out_.sight_lines[0]), t = line_end(out_.sight_lines[0]);
    EXPECT_NEAR(plan_distance({400.0, -700.0, 1000.0}, s, t), 0.0, 1e-6);
    // Two edges crossing in front: more than one limit.
    HM_MODL_put_list_item(in_.limit_geometry, support::new_line(500.0, -700.0, 500.0, 500.0, -700.0, 1500.0));
    EXPECT_EQ(HM_VD_APO_main(&in_, &out_), APO_MULTIPLE_LIMITS);
    free_points(out_);
    HM_VD_APO_init_result_struct(&out_);
}

}  // namespace
