// Curve and spline functions: points on curves, splines through points by
// degree, and the crossings of curves with a plane.
#include "hm_vd_curve.h"
#include "host_fixture.h"
#include "test_helpers.h"
#include "morvish.h"
#include "omvra.h"
#include "quillon.h"

#include <array>
#include <cmath>
#include <vector>

namespace {

using support::distance_to_curve;
using support::expect_point;
using support::kPi;

using host_testing::Point3;

// A row of point pointers over the points (the caller's memory).
struct Row {
    explicit Row(std::vector<Point3> p) : points(std::move(p)) {
        for (Point3& q : points) pointers.push_back(q.data());
    }
    int n() const { return static_cast<int>(points.size()); }
    double** data() { return pointers.data(); }
    std::vector<Point3> points;
    std::vector<double*> pointers;
};

class PointOnCurveTest : public HostTest {};

TEST_F(PointOnCurveTest, PointAtNormalisedParameterAndHostCodes) {
    tag_t arc = host_testing::make_arc({0, 0, 0}, 2.0, 0.0, kPi);
    double p[3] = {};
    ASSERT_EQ(HM_VD_CURVE_ask_point_on_curve(arc, 0.5, p), 0);
    expect_point(p, {0, 2, 0});
    ASSERT_EQ(HM_VD_CURVE_ask_point_on_curve(arc, 1.0, p), 0);
    expect_point(p, {-2, 0, 0});
    EXPECT_EQ(HM_VD_CURVE_ask_point_on_curve(0, 0.5, p), HM_ERR_INVALID_TAG);
    EXPECT_EQ(HM_VD_CURVE_ask_point_on_curve(part_, 0.5, p), HM_ERR_WRONG_TYPE);
}

class SplineThruPointsTest : public HostTest {};

// The automatic degree comes from the point count left after the periodic
// drop; every spline passes through its distinct points, a periodic one
// closes at its first point.
TEST_F(SplineThruPointsTest, AutomaticDegreeAndPeriodicDrop) {
    const Point3 a{0, 0, 0}, b{3, 0, 0}, c{3, 2, 1}, d{0, 3, 0}, e{-1, 1, 2};
    struct Case {
        const char* name;
        std::vector<Point3> points;
        int periodic;
        int degree;
        Point3 start, end;
    } cases[] = {
        {"two points", {a, b}, 0, 1, a, b},
        {"three points", {a, b, c}, 0, 2, a, c},
        {"four points", {a, b, c, d}, 0, 3, a, d},
        {"five points", {a, b, c, d, e}, 0, 3, a, e},
        {"open row with equal ends keeps all points", {a, b, c, a}, 0, 3, a, a},
        {"periodic row with equal ends drops the last", {a, b, c, a}, 1, 2, a, a},
        {"periodic row without a repeated end", {a, b, c, d}, 1, 3, a, a},
    };
    for (Case& k : cases) {
        SCOPED_TRACE(k.name);
        Row row(k.points);
        tag_t spline = 0;
        ASSERT_EQ(HM_VD_create_spline_thru_points(row.n(), row.data(), k.periodic, &spline), 0);
        ASSERT_NE(spline, 0u);
        EXPECT_EQ(host_testing::spline_degree(spline), k.degree);
        for (const Point3& p : k.points) EXPECT_LT(distance_to_curve(spline, p), 1e-7);
        double p0[3], p1[3];
        ASSERT_EQ(HM_VD_CURVE_ask_point_on_curve(spline, 0.0, p0), 0);
        ASSERT_EQ(HM_VD_CURVE_ask_point_on_curve(spline, 1.0, p1), 0);
        expect_point(p0, k.start);
        expect_point(p1, k.end);
    }
    ExpectNoLeaks();
}

TEST_F(SplineThruPointsTest, ChosenDegreeAndNullSplineWhenNothingIsMade) {
    Row row({{0, 0, 0}, {1, 2, 0}, {3, 2, 0}, {4, 0, 0}, {6, 1, 0}});
    for (int degree = 1; degree <= 3; ++degree) {
        tag_t spline = 0;
        ASSERT_EQ(HM_VD_create_spline_thru_points_by_degree(row.n(), row.data(), 0, degree, 1, &spline), 0);
        EXPECT_EQ(host_testing::spline_degree(spline), degree);
        for (const Point3& p : row.points) EXPECT_LT(distance_to_curve(spline, p), 1e-7);
    }
    struct Bad {
        const char* name;
        std::vector<Point3> points;
        int periodic, degree;
    } bad[] = {
        {"one point", {{1, 1, 1}}, 0, 0},
        {"degree above three", {{0, 0, 0}, {1, 0, 0}, {2, 1, 0}}, 0, 5},
        {"periodic row of two distinct points", {{0, 0, 0}, {1, 0, 0}, {0, 0, 0}}, 1, 0},
    };
    for (Bad& k : bad) {
        SCOPED_TRACE(k.name);
        Row r(k.points);
        tag_t spline = 4242;
        EXPECT_NE(HM_VD_create_spline_thru_points_by_degree(r.n(), r.data(), k.periodic, k.degree, 1, &spline), 0);
        EXPECT_EQ(spline, 0u);
    }
    ExpectNoLeaks();
}

class CurvePlaneCrossingTest : public HostTest {
protected:
    // Runs the crossing search, copies the points and frees what it handed back.
    std::vector<Point3> Crossings(const std::vector<tag_t>& curves, const Point3& point, const Point3& normal,
                                  int* result = nullptr) {
        int count = -1;
        double** points = reinterpret_cast<double**>(0x1);
        const int r = HM_VD_ask_intersect_point_curve_plane(curves.data(), static_cast<int>(curves.size()),
                                                            point.data(), normal.data(), &count, &points);
        if (result) *result = r;
        std::vector<Point3> out;
        EXPECT_GE(count, 0);
        for (int i = 0; i < count; ++i) {
            out.push_back({points[i][0], points[i][1], points[i][2]});
            SM_free(points[i]);
        }
        if (count == 0) {
            EXPECT_EQ(points, nullptr);
        }
        SM_free(points);
        return out;
    }
};

TEST_F(CurvePlaneCrossingTest, PointsCurveAfterCurveInAscendingParameter) {
    // The plane y = 0 cuts the zigzag (equal chords) at the middle of each
    // segment; the line from right to left crosses it once; the circle,
    // run from its top, crosses at (-1, 0) and then at (1, 0).
    tag_t zigzag = host_testing::make_spline({{-1, -1, 0}, {1, 1, 0}, {3, -1, 0}, {5, 1, 0}}, 1);
    tag_t line = host_testing::make_line({9, -2, 0}, {7, 2, 0});
    tag_t misses = host_testing::make_line({0, 5, 0}, {9, 5, 0});
    tag_t circle = host_testing::make_arc({0, 0, 3}, 1.0, kPi / 2, 5 * kPi / 2);
    int result = -1;
    const std::vector<Point3> found = Crossings({zigzag, misses, line, circle}, {0, 0, 0}, {0, 1, 0}, &result);
    EXPECT_EQ(result, 0);
    const std::vector<Point3> expected = {{0, 0, 0}, {2, 0, 0}, {4, 0, 0}, {8, 0, 0}, {-1, 0, 3}, {1, 0, 3}};
    ASSERT_EQ(found.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        expect_point(found[i].data(), expected[i]);
    }
    // The temporary plane is left for the next update to delete.
    EXPECT_EQ(host_testing::count_objects(0, HM_plane_type), 1);
    UPDATE_do_update();
    EXPECT_EQ(host_testing::count_objects(0, HM_plane_type), 0);
    ExpectNoLeaks();
}

TEST_F(CurvePlaneCrossingTest, NoCurvesAndCurvesThatMiss) {
    int count = -1;
    double** points = reinterpret_cast<double**>(0x1);
    EXPECT_EQ(HM_VD_ask_intersect_point_curve_plane(nullptr, 0, Point3{0, 0, 0}.data(), Point3{0, 0, 1}.data(),
                                                    &count, &points),
              0);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(points, nullptr);
    EXPECT_EQ(host_testing::count_objects(0, HM_plane_type), 0) << "no curves, no plane";

    tag_t high = host_testing::make_line({0, 0, 5}, {1, 0, 5});
    EXPECT_TRUE(Crossings({high}, {0, 0, 0}, {0, 0, 1}).empty());
    // A curve lying in the plane gives no crossing point and leaves no curve behind.
    tag_t flat = host_testing::make_line({0, 0, 0}, {1, 1, 0});
    EXPECT_TRUE(Crossings({flat}, {0, 0, 0}, {0, 0, 1}).empty());
    UPDATE_do_update();
    EXPECT_EQ(host_testing::count_objects(0, HM_line_type), 2);
    ExpectNoLeaks();
}

TEST_F(CurvePlaneCrossingTest, ResultIsThatOfTheLastIntersection) {
    tag_t line = host_testing::make_line({0, 0, -1}, {0, 0, 1});
    tag_t point = host_testing::make_point({0, 0, 0});
    int result = 0;
    const std::vector<Point3> found = Crossings({line, part_}, {0, 0, 0}, {0, 0, 1}, &result);
    EXPECT_EQ(result, HM_ERR_WRONG_TYPE);
    ASSERT_EQ(found.size(), 1u) << "the earlier curve's point is kept";
    expect_point(found[0].data(), {0, 0, 0});
    (void)point;
    ExpectNoLeaks();
}

}  // namespace
