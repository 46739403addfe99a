// Vector, plane and fit utilities of the toolbox: points and unit vectors,
// the side of a plane, line intersections, rotations and least-squares fits.
#include "hm_vd/vectors.h"
#include "host_fixture.h"
#include "test_helpers.h"
#include "omvra.h"

#include <array>
#include <cmath>
#include <vector>

namespace {

using support::expect_point;
using support::kPi;

using V3 = std::array<double, 3>;

// A pointer row over the points.
std::vector<double*> Row(std::vector<V3>& points) {
    std::vector<double*> row;
    for (V3& p : points) row.push_back(p.data());
    return row;
}

class VectorsTest : public HostTest {};

TEST_F(VectorsTest, UnitVectorBetweenPointsFailsBelowTheDistanceTolerance) {
    const double p1[3] = {1, 1, 1}, p2[3] = {4, 5, 1}, near[3] = {1.003, 1.004, 1};
    double v[3];
    EXPECT_TRUE(HM_VD_create_vector_by_two_points(p1, p2, v));
    expect_point(v, {0.6, 0.8, 0}, 1e-15);
    // 0.005 apart, tolerance 0.01: the raw difference comes back.
    EXPECT_FALSE(HM_VD_create_vector_by_two_points(p1, near, v));
    expect_point(v, {0.003, 0.004, 0}, 1e-15);
    EXPECT_FALSE(HM_VD_create_vector_by_two_points(p1, p1, v));
    expect_point(v, {0, 0, 0}, 0.0);
}

TEST_F(VectorsTest, PlaneSideJudgement) {
    const double origin[3] = {0, 0, 0}, normal[3] = {0, 0, 2};   // not a unit normal
    struct Case {
        V3 point;
        bool on_normal_side;
    } cases[] = {
        {{1, 1, 5}, true},
        {{0, 0, 5}, true},          // v . N = 2, clamped
        {{1, 1, -5}, false},
        {{10, 0, 0}, true},         // on the plane, away from the origin
        {{0.001, 0, -0.001}, true}, // within the distance tolerance of the origin
        {{1, 0, -1e-3}, false},     // just below the plane
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.point[0] << "," << c.point[1] << "," << c.point[2]);
        EXPECT_EQ(HM_VD_judge_point_in_plane_side(c.point.data(), origin, normal), c.on_normal_side);
    }
}

TEST_F(VectorsTest, PointsAlongTwoPointsAndAlongADirection) {
    const double p1[3] = {1, 2, 3}, p2[3] = {5, 2, -1}, direction[3] = {0, 3, 4};
    double out[3];
    HM_VD_create_point_in_two_points(p1, p2, 0.25, out);
    expect_point(out, {2, 2, 2}, 1e-15);
    HM_VD_create_point_in_two_points(p1, p2, 1.5, out);
    expect_point(out, {7, 2, -3}, 1e-15);
    HM_VD_create_point_by_distance(p1, direction, 2.0, out);   // direction used as given
    expect_point(out, {1, 8, 11}, 1e-15);
}

TEST_F(VectorsTest, TwoLineIntersectionInEachCoordinatePlane) {
    struct Case {
        const char* name;
        V3 p1, p2, q, direction, expected;
    } cases[] = {
        {"xy", {0, 0, 0}, {2, 2, 0}, {0, 2, 0}, {1, -1, 0}, {1, 1, 0}},
        {"xz (lines in the plane y = 3)", {0, 3, 0}, {4, 3, 4}, {0, 3, 4}, {1, 0, -1}, {2, 3, 2}},
        {"yz", {5, 0, 0}, {5, 2, 2}, {5, 0, 2}, {0, 1, -1}, {5, 1, 1}},
        // |D_xy| = |D_yz| = 1 and D_xz = 0: solved in xy, not in xz.
        {"xy and yz tie above xz", {0, 0, 0}, {1, 1, 1}, {2, 3, 2}, {0, 1, 0}, {2, 2, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        double out[3] = {7, 7, 7};
        EXPECT_EQ(HM_VD_ask_two_line_intersect_point(c.p1.data(), c.p2.data(), c.q.data(), c.direction.data(), out),
                  out);
        expect_point(out, c.expected, 1e-14);
    }
}

TEST_F(VectorsTest, ParallelLinesGiveNoPoint) {
    const double p1[3] = {0, 0, 0}, p2[3] = {1, 0, 0}, q[3] = {0, 1, 0};
    for (V3 direction : {V3{-3, 0, 0}, V3{2, 0, 0}, V3{0, 0, 0}}) {
        double out[3] = {7, 7, 7};
        EXPECT_EQ(HM_VD_ask_two_line_intersect_point(p1, p2, q, direction.data(), out), nullptr);
        expect_point(out, {7, 7, 7}, 0.0);
    }
    double out[3];
    EXPECT_EQ(HM_VD_ask_two_line_intersect_point(p1, p1, q, p2, out), nullptr) << "no first line";
}

TEST_F(VectorsTest, LineMeetsPlaneOnEitherSideOfItsPoint) {
    const double origin[3] = {5, 5, 2}, normal[3] = {0, 0, 1}, start[3] = {0, 0, 10};
    double out[3];
    for (V3 direction : {V3{0, 0, -2}, V3{0, 0, 3}, V3{1, 0, -1}}) {
        ASSERT_EQ(HM_VD_ask_intersect_point_of_plane_and_line(start, direction.data(), origin, normal, out), 0);
        EXPECT_NEAR(out[2], 2.0, 1e-14);
    }
    expect_point(out, {8, 0, 2}, 1e-14);
    const double along[3] = {1, 1, 0};
    EXPECT_EQ(HM_VD_ask_intersect_point_of_plane_and_line(start, along, origin, normal, out), -1);
}

TEST_F(VectorsTest, Vec3RotateGivesTheTurnedUnitDirectionNormalToTheAxis) {
    const double r = std::sqrt(0.5);
    struct Case {
        V3 vector, axis;
        double angle;
        V3 expected;
    } cases[] = {
        {{2, 0, 1}, {0, 0, 1}, 90, {0, 1, 0}},          // length and axial part dropped
        {{0, 3, 0}, {0, 0, 1}, 90, {-1, 0, 0}},
        {{1, 0, 0}, {0, 0, -1}, 90, {0, -1, 0}},
        {{0, -1, 0}, {0, 0, 1}, 30, {0.5, -std::sqrt(3.0) / 2, 0}},
        {{0, 0, 5}, {1, 1, 0}, 90, {r, -r, 0}},
        {{-4, 0, 0}, {0, 1, 0}, 0, {-1, 0, 0}},
        {{1, 2, 3}, {0, 0, 0}, 45, {1, 2, 3}},          // no axis: unchanged
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "angle " << c.angle << " vector " << c.vector[0] << "," << c.vector[1]);
        double out[3];
        HM_VD_vec3_rotate(c.vector.data(), c.axis.data(), c.angle, out);
        expect_point(out, c.expected, 1e-14);
    }
}

TEST_F(VectorsTest, Vec3RotatePointAboutAnAxisThroughAPoint) {
    const double origin[3] = {1, 1, 0}, z[3] = {0, 0, 1}, point[3] = {2, 1, 5};
    double out[3];
    HM_VD_vec3_rotate_point(origin, z, point, 90, out);
    expect_point(out, {1, 2, 5}, 1e-14);
    const double zero[3] = {0, 0, 0}, x[3] = {4, 0, 0}, p[3] = {0, 1, 1};
    HM_VD_vec3_rotate_point(zero, x, p, 180, out);
    expect_point(out, {0, -1, -1}, 1e-14);
    HM_VD_vec3_rotate_point(zero, x, p, -90, out);
    expect_point(out, {0, 1, -1}, 1e-14);
}

TEST_F(VectorsTest, Vec3RotateVectorCarriesTheDirectionWithThePoint) {
    const double centre[3] = {0, 0, 0}, z[3] = {0, 0, 1};
    struct Case {
        const char* name;
        V3 point, direction;
        V3 point_out, direction_out;
    } cases[] = {
        {"tangent", {10, 0, 0}, {0, 1, 0}, {0, 10, 0}, {-1, 0, 0}},
        // Along the radius the sense is kept whatever the length.
        {"towards the centre, unit length", {10, 0, 0}, {-1, 0, 0}, {0, 10, 0}, {0, -10, 0}},
        {"towards the centre, radius length", {10, 0, 0}, {-10, 0, 0}, {0, 10, 0}, {0, -10, 0}},
        {"away from the centre", {10, 0, 0}, {3, 0, 0}, {0, 10, 0}, {0, 10, 0}},
        {"point at the centre", {0, 0, 0}, {1, 0, 0}, {0, 0, 0}, {0, 1, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        double p[3], d[3];
        HM_VD_vec3_rotate_vector(centre, z, c.point.data(), c.direction.data(), 90, 1e-6, p, d);
        expect_point(p, c.point_out, 1e-13);
        expect_point(d, c.direction_out, 1e-13);
    }
}

TEST_F(VectorsTest, LeastSquaresPlaneOfExactPoints) {
    std::vector<V3> points{{0, 0, 1}, {1, 0, 3}, {0, 1, 1}, {1, 1, 3}, {2, 5, 5}};   // z = 2x + 1
    auto row = Row(points);
    double origin[3], normal[3];
    ASSERT_EQ(HM_VD_ask_leastsq_plane(5, row.data(), origin, normal), 0);
    expect_point(origin, {0.8, 1.4, 2.6}, 1e-14);
    const double s = 1.0 / std::sqrt(5.0);
    expect_point(normal, {2 * s, 0, -s}, 1e-12);   // on the +x side

    std::vector<V3> collinear{{0, 0, 0}, {1, 2, 3}, {2, 4, 6}};
    auto line = Row(collinear);
    double untouched[3] = {7, 7, 7};
    EXPECT_EQ(HM_VD_ask_leastsq_plane(3, line.data(), untouched, normal), -1);
    expect_point(untouched, {7, 7, 7}, 0.0);
    EXPECT_EQ(HM_VD_ask_leastsq_plane(3, nullptr, origin, normal), -1);
    ExpectNoLeaks();
}

TEST_F(VectorsTest, LeastSquaresSphereAndTheCircleOfTheBestPlane) {
    // Two latitude circles of the sphere about (1, 2, 3) of radius 5: six
    // points at height +3 (radius 4) and six at +4 (radius 3). Their best
    // plane is z = 6.5, cutting the sphere in a circle of radius sqrt(12.75).
    std::vector<V3> points;
    for (int i = 0; i < 6; ++i) {
        const double t = 2 * kPi * i / 6;
        points.push_back({1 + 4 * std::cos(t), 2 + 4 * std::sin(t), 6});
        points.push_back({1 + 3 * std::cos(t + 0.5), 2 + 3 * std::sin(t + 0.5), 7});
    }
    auto row = Row(points);
    double sphere_centre[3], sphere_radius = 0, circle_centre[3], circle_radius = 0, circle_normal[3];
    ASSERT_EQ(HM_VD_ask_leastsq_sphere(row.data(), 12, 1e-6, sphere_centre, &sphere_radius, circle_centre,
                                       &circle_radius, circle_normal),
              0);
    expect_point(sphere_centre, {1, 2, 3}, 1e-9);
    EXPECT_NEAR(sphere_radius, 5.0, 1e-9);
    expect_point(circle_centre, {1, 2, 6.5}, 1e-9);
    EXPECT_NEAR(circle_radius, std::sqrt(12.75), 1e-9);
    EXPECT_NEAR(std::fabs(circle_normal[2]), 1.0, 1e-12);
    ExpectNoLeaks();
}

TEST_F(VectorsTest, LeastSquaresSphereOfCoplanarAndCollinearPoints) {
    // A great circle: the sphere's centre lies in the points' plane.
    std::vector<V3> circle;
    for (int i = 0; i < 8; ++i) {
        const double t = 0.2 + 2 * kPi * i / 8;
        circle.push_back({10 + 5 * std::cos(t), 20, 30 + 5 * std::sin(t)});
    }
    auto row = Row(circle);
    double sphere_centre[3], sphere_radius = 0, circle_centre[3] = {7, 7, 7}, circle_radius = 7, normal[3];
    EXPECT_EQ(HM_VD_ask_leastsq_sphere(row.data(), 8, 1e-6, sphere_centre, &sphere_radius, circle_centre,
                                       &circle_radius, normal),
              -1);
    expect_point(sphere_centre, {10, 20, 30}, 1e-9);
    EXPECT_NEAR(sphere_radius, 5.0, 1e-9);
    EXPECT_NEAR(std::fabs(normal[1]), 1.0, 1e-12);
    expect_point(circle_centre, {7, 7, 7}, 0.0);

    std::vector<V3> collinear{{0, 0, 0}, {1, 1, 0}, {2, 2, 0}, {3, 3, 0}};
    auto line = Row(collinear);
    EXPECT_EQ(HM_VD_ask_leastsq_sphere(line.data(), 4, 1e-6, sphere_centre, &sphere_radius, circle_centre,
                                       &circle_radius, normal),
              2);
    EXPECT_EQ(HM_VD_ask_leastsq_sphere(nullptr, 4, 1e-6, sphere_centre, &sphere_radius, circle_centre,
                                       &circle_radius, normal),
              2);
    ExpectNoLeaks();
}

}  // namespace
