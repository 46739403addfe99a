// The stand-in's articulation of mechanisms against answers worked out by
// hand: a trailing arm on a shock (law of cosines), a short-long-arm
// suspension with equal parallel arms (the knuckle translates: no camber or
// toe change), a MacPherson strut's camber in jounce and rebound, and the
// toe a longer tie rod gives. Bad input and a step that cannot close.
#include "host_fixture.h"
#include "host_testing.h"
#include "omvra.h"
#include "tolvric.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

namespace {

using P3 = std::array<double, 3>;
constexpr double kPi = 3.14159265358979323846;
constexpr double kDeg = 180.0 / kPi;

double dist(const P3& a, const P3& b) { return std::hypot(a[0] - b[0], a[1] - b[1], a[2] - b[2]); }
P3 mid(const P3& a, const P3& b) { return {(a[0] + b[0]) / 2, (a[1] + b[1]) / 2, (a[2] + b[2]) / 2}; }
P3 dir(const P3& a, const P3& b) { return {b[0] - a[0], b[1] - a[1], b[2] - a[2]}; }

class ArticulationTest : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        ASSERT_EQ(HM_MOTION_initialize(), 0);
    }

    // A link of one line from a to b.
    tag_t link(const char* name, const P3& a, const P3& b) {
        HM_CURVE_line_t data = {{a[0], a[1], a[2]}, {b[0], b[1], b[2]}};
        tag_t line = 0;
        EXPECT_EQ(HM_CURVE_create_line(&data, &line), 0);
        HM_MOTION_link_t record;
        HM_MOTION_init_link_struct(&record);
        std::snprintf(record.name, sizeof record.name, "%s", name);
        record.num_geometries = 1;
        record.geometries = &line;
        tag_t made = 0;
        EXPECT_EQ(HM_MOTION_create_link(&record, &made), 0);
        return made;
    }

    // A joint of the host type at the origin, first direction d1 (and d2
    // on the second link when there is one).
    tag_t joint(const char* name, int type, tag_t first, tag_t second, const P3& origin, const P3& d1,
                const P3& d2 = {0, 0, 1}) {
        HM_MOTION_joint_t record;
        HM_MOTION_init_joint_struct(&record);
        std::snprintf(record.name, sizeof record.name, "%s", name);
        record.type = type;
        record.first_link = first;
        record.second_link = second;
        tag_t scalars[3];
        for (int i = 0; i < 3; ++i) EXPECT_EQ(HM_SO_create_scalar_double(0, 2, origin[i], &scalars[i]), 0);
        EXPECT_EQ(HM_SO_create_point_3_scalars(0, 2, scalars, &record.first_origin), 0);
        record.second_origin = record.first_origin;
        EXPECT_EQ(HM_SO_create_dirr_doubles(0, 2, origin.data(), d1.data(), &record.first_direction), 0);
        if (second) {
            EXPECT_EQ(HM_SO_create_dirr_doubles(0, 2, origin.data(), d2.data(), &record.second_direction), 0);
        }
        tag_t made = 0;
        EXPECT_EQ(HM_MOTION_create_joint(&record, &made), 0);
        return made;
    }

    // A shock (or strut, or tie rod) between two links from a to b: a lower
    // part ball-jointed to `lower` at a, an upper part on a universal joint
    // to `upper` at b (ground when 0) or ball-jointed, and a cylindrical
    // joint between them at the middle, along a->b; answers that joint.
    tag_t telescope(const char* name, tag_t lower, tag_t upper, const P3& a, const P3& b, bool ball_at_b = false) {
        const P3 m = mid(a, b);
        tag_t low = link("low", a, m), up = link("up", m, b);
        joint("lower_ball", HM_MOTION_SPHERICAL, low, lower, a, {0, 0, 1});
        if (ball_at_b)
            joint("upper_ball", HM_MOTION_SPHERICAL, up, upper, b, {0, 0, 1});
        else
            joint("upper_mount", HM_MOTION_UNIVERSAL, up, upper, b, dir(b, a), dir(a, b));
        return joint(name, HM_MOTION_CYLINDRICAL, low, up, m, dir(a, b), dir(a, b));
    }

    // Index of a link in the articulation's answer.
    static size_t index_of(const host_testing::Articulation& a, tag_t link) {
        for (size_t i = 0; i < a.links.size(); ++i)
            if (a.links[i] == link) return i;
        ADD_FAILURE() << "link not answered";
        return 0;
    }
    static P3 moved(const host_testing::Articulation& a, size_t step, tag_t link, const P3& p) {
        return host_testing::transform_point(a.steps[step][index_of(a, link)], p);
    }
    static P3 turned(const host_testing::Articulation& a, size_t step, tag_t link, const P3& v) {
        return host_testing::transform_vector(a.steps[step][index_of(a, link)], v);
    }
};

// Toe and camber of a wheel whose outboard spin axis was a at design (x
// rearward, z up): toe asin(-a_x), camber asin(-a_z), in degrees.
double toe_of(const P3& axis) { return std::asin(-axis[0]) * kDeg; }
double camber_of(const P3& axis) { return std::asin(-axis[2]) * kDeg; }

TEST_F(ArticulationTest, TrailingArmOnAShockFollowsTheLawOfCosines) {
    // Side view (x, z): the arm turns about the y axis at O; the shock runs
    // from A on the arm (300 behind O) up to B on the body (350 above A).
    const P3 o{0, 0, 0}, w{400, 0, 0}, a{300, 0, 0}, b{300, 0, 350};
    tag_t arm = link("arm", o, w);
    joint("pivot", HM_MOTION_REVOLUTE, arm, 0, o, {0, 1, 0});
    tag_t shock = telescope("shock", arm, 0, a, b);
    const double la = dist(o, a), lb = dist(o, b), l0 = dist(a, b);
    const std::vector<double> shifts = {-60, -30, 0, 30, 60, 90};
    std::vector<std::vector<double>> values;
    for (double s : shifts) values.push_back({s});
    host_testing::Articulation result;
    ASSERT_EQ(host_testing::articulate({shock}, values, &result), 0);
    ASSERT_EQ(result.steps.size(), shifts.size());
    EXPECT_LT(result.max_residual, 1e-8);
    const double design_angle = std::acos((la * la + lb * lb - l0 * l0) / (2 * la * lb));
    for (size_t i = 0; i < shifts.size(); ++i) {
        SCOPED_TRACE(shifts[i]);
        // A positive shift moves the lower part towards the mount: the shock shortens.
        const double length = l0 - shifts[i];
        const double angle = std::acos((la * la + lb * lb - length * length) / (2 * la * lb));
        const double lift = design_angle - angle;   // the arm turns up towards B
        const P3 expected{400 * std::cos(lift), 0, 400 * std::sin(lift)};
        const P3 got = moved(result, i, arm, w);
        for (int k = 0; k < 3; ++k) EXPECT_NEAR(got[k], expected[k], 1e-6);
    }
}

TEST_F(ArticulationTest, EqualParallelArmsMoveTheKnuckleWithoutCamberOrToe) {
    // Front view: lower and upper arms 400 long, parallel, turning about
    // axes along x at y = 300; the knuckle joins their outer ends, the tie
    // rod (same length, parallel, 100 ahead) steers it. The knuckle is a
    // parallelogram's fourth side: it translates along the arms' arc.
    const P3 lower_in{0, 300, 200}, lower_out{0, 700, 200}, upper_in{0, 300, 500}, upper_out{0, 700, 500};
    const P3 rod_in{-100, 300, 350}, rod_out{-100, 700, 350}, wheel{0, 760, 350};
    tag_t lower = link("lower_arm", lower_in, lower_out);
    tag_t upper = link("upper_arm", upper_in, upper_out);
    tag_t knuckle = link("knuckle", lower_out, upper_out);
    tag_t rod = link("tie_rod", rod_in, rod_out);
    tag_t drive = joint("lower_pivot", HM_MOTION_REVOLUTE, lower, 0, lower_in, {1, 0, 0});
    joint("upper_pivot", HM_MOTION_REVOLUTE, upper, 0, upper_in, {1, 0, 0});
    joint("lower_ball", HM_MOTION_SPHERICAL, knuckle, lower, lower_out, {0, 0, 1}, {0, 0, 1});
    joint("upper_ball", HM_MOTION_SPHERICAL, knuckle, upper, upper_out, {0, 0, 1}, {0, 0, 1});
    joint("rod_outer", HM_MOTION_SPHERICAL, rod, knuckle, rod_out, {0, 0, 1}, {0, 0, 1});
    joint("rod_inner", HM_MOTION_UNIVERSAL, rod, 0, rod_in, dir(rod_in, rod_out));
    const std::vector<double> turns = {-12, -6, 0, 6, 12};   // degrees; + lifts the outer end
    std::vector<std::vector<double>> values;
    for (double t : turns) values.push_back({t});
    host_testing::Articulation result;
    ASSERT_EQ(host_testing::articulate({drive}, values, &result), 0);
    EXPECT_LT(result.max_residual, 1e-8);
    for (size_t i = 0; i < turns.size(); ++i) {
        SCOPED_TRACE(turns[i]);
        const double t = turns[i] / kDeg;
        const P3 expected{0, 760 - 400 * (1 - std::cos(t)), 350 + 400 * std::sin(t)};
        const P3 got = moved(result, i, knuckle, wheel);
        for (int k = 0; k < 3; ++k) EXPECT_NEAR(got[k], expected[k], 1e-6);
        const P3 axis = turned(result, i, knuckle, {0, 1, 0});
        EXPECT_NEAR(camber_of(axis), 0.0, 1e-7);
        EXPECT_NEAR(toe_of(axis), 0.0, 1e-7);
    }
}

TEST_F(ArticulationTest, MacPhersonStrutGainsNegativeCamberInJounce) {
    // Front view (y outboard, z up): lower arm from O (300, 150) to the ball
    // joint B (700, 150), strut from B to the top mount U (600, 750), 608.276
    // long. Worked by hand: with the strut 20 shorter (jounce) B lies on the
    // circle about O (radius 400) and on the circle about U (radius
    // 588.276): B' = (699.490, 170.198); the strut axis U - B turns from
    // atan2(600, -100) = 99.462 deg to atan2(579.802, -99.490) = 99.737 deg,
    // tipping the wheel's top inboard: camber -0.274 deg. Rebound (strut 20
    // longer): B' = (699.482, 129.650), camber +0.352 deg.
    const P3 o{0, 300, 150}, b{0, 700, 150}, u{0, 600, 750}, wheel{0, 760, 300};
    tag_t arm = link("lower_arm", o, b);
    joint("arm_pivot", HM_MOTION_REVOLUTE, arm, 0, o, {1, 0, 0});
    // The knuckle carries the strut's lower part; the upper part hangs from U.
    tag_t knuckle = link("knuckle", b, wheel);
    const P3 s = {0, b[1] + 0.7 * (u[1] - b[1]), b[2] + 0.7 * (u[2] - b[2])};
    tag_t upper = link("strut_upper", s, u);
    joint("ball", HM_MOTION_SPHERICAL, knuckle, arm, b, {0, 0, 1}, {0, 0, 1});
    joint("top_mount", HM_MOTION_UNIVERSAL, upper, 0, u, dir(u, b));
    tag_t strut = joint("strut", HM_MOTION_CYLINDRICAL, knuckle, upper, s, dir(b, u), dir(b, u));
    host_testing::Articulation result;
    ASSERT_EQ(host_testing::articulate({strut}, {{20.0}, {0.0}, {-20.0}}, &result), 0);
    EXPECT_LT(result.max_residual, 1e-8);
    struct Case {
        double camber;
        P3 ball;
    };
    const Case cases[] = {{-0.27438, {0, 699.48974, 170.19767}}, {0.0, b}, {0.35170, {0, 699.48200, 129.64979}}};
    for (size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const P3 ball = moved(result, i, knuckle, b);
        for (int k = 0; k < 3; ++k) EXPECT_NEAR(ball[k], cases[i].ball[k], 1e-4);
        EXPECT_NEAR(camber_of(turned(result, i, knuckle, {0, 1, 0})), cases[i].camber, 1e-4);
    }
}

TEST_F(ArticulationTest, LongerTieRodGivesTheToeOfTheSteeringTriangle) {
    // Top view: the knuckle turns about the vertical kingpin at K; its
    // steering arm reaches 150 rearward to T; the tie rod runs 400 inboard
    // to I. With the rod length L the angle at K between KT and KI is
    // acos((150^2 + |KI|^2 - L^2) / (2 150 |KI|)); a longer rod pushes T
    // outboard, the wheel's rear out and its front in: toe-in.
    const P3 k{0, 700, 300}, t{150, 700, 300}, in{150, 300, 300};
    tag_t knuckle = link("knuckle", k, t);
    joint("kingpin", HM_MOTION_REVOLUTE, knuckle, 0, k, {0, 0, 1});
    tag_t rod = telescope("tie_rod", knuckle, 0, t, in);   // first part at T: a positive shift shortens it
    const double r = dist(k, t), d = dist(k, in), l0 = dist(t, in);
    const std::vector<double> shifts = {-5, -2, 0, 2, 5};
    std::vector<std::vector<double>> values;
    for (double s : shifts) values.push_back({s});
    host_testing::Articulation result;
    ASSERT_EQ(host_testing::articulate({rod}, values, &result), 0);
    const double design = std::acos((r * r + d * d - l0 * l0) / (2 * r * d));
    for (size_t i = 0; i < shifts.size(); ++i) {
        SCOPED_TRACE(shifts[i]);
        const double l = l0 - shifts[i];   // the shift runs from T towards I
        const double expected_toe = (design - std::acos((r * r + d * d - l * l) / (2 * r * d))) * kDeg;
        EXPECT_NEAR(toe_of(turned(result, i, knuckle, {0, 1, 0})), -expected_toe, 1e-6);
    }
    // Worked by hand: 2 mm longer gives 0.8 deg of toe-in within 0.05 deg
    // (2 / 150 rad = 0.76 deg when the rod is normal to the arm; here it
    // nearly is).
    EXPECT_NEAR(toe_of(turned(result, 1, knuckle, {0, 1, 0})), 0.76, 0.05);
}

TEST_F(ArticulationTest, AStepOutOfReachIsNamedAndTheStepsBeforeItKept) {
    const P3 o{0, 0, 0}, w{400, 0, 0}, a{300, 0, 0}, b{300, 0, 350};
    tag_t arm = link("arm", o, w);
    joint("pivot", HM_MOTION_REVOLUTE, arm, 0, o, {0, 1, 0});
    tag_t shock = telescope("shock", arm, 0, a, b);
    // The shock cannot be longer than |OA| + |OB| = 760.96: 500 more is out of reach.
    host_testing::Articulation result;
    EXPECT_EQ(host_testing::articulate({shock}, {{10}, {-500}}, &result), HM_ERR_GEOMETRY);
    EXPECT_EQ(result.failed_step, 1);
    EXPECT_EQ(result.steps.size(), 1u);
}

TEST_F(ArticulationTest, BadRequestsAreRefused) {
    const P3 o{0, 0, 0}, w{400, 0, 0}, a{300, 0, 0}, b{300, 0, 350};
    tag_t arm = link("arm", o, w);
    tag_t pivot = joint("pivot", HM_MOTION_REVOLUTE, arm, 0, o, {0, 1, 0});
    tag_t shock = telescope("shock", arm, 0, a, b);
    host_testing::Articulation result;
    EXPECT_EQ(host_testing::articulate({shock}, {{1, 2}}, &result), HM_ERR_BAD_ARGUMENT) << "two values, one driver";
    EXPECT_EQ(host_testing::articulate({arm}, {{1}}, &result), HM_ERR_BAD_ARGUMENT) << "a link is no driver";
    EXPECT_EQ(host_testing::articulate({shock, shock}, {{1, 1}}, &result), HM_ERR_BAD_ARGUMENT);
    EXPECT_EQ(host_testing::articulate({shock}, {{1}}, nullptr), HM_ERR_NULL_POINTER);
    (void)pivot;
    host_testing::make_part("no_motion");
    EXPECT_EQ(host_testing::articulate({}, {}, &result), HM_ERR_NOT_FOUND);
}

}  // namespace
