// Curve utilities of the toolbox: loops and chain status, joining, sampling,
// trimming, splitting at corners, closed splines with corners, ellipses and
// their tangents, arc lengths and curves from edges.
#include "host_fixture.h"
#include "test_helpers.h"

#include "hm_vd.h"
#include "hm_vd_curve.h"
#include "omvra.h"
#include "quillon.h"

#include "toolbox_point_thinning.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <vector>

namespace {

using support::curve_length;
using support::kPi;
using support::list_items;
using support::make_list;
using support::new_line;
using support::new_point;

constexpr double kTol = 1e-6;

// Arc in the absolute XY plane, angles in degrees.
tag_t make_arc(double cx, double cy, double radius, double from_degrees, double to_degrees) {
    HM_CURVE_arc_t arc{};
    arc.matrix_tag = 0;
    arc.start_angle = from_degrees * kPi / 180.0;
    arc.end_angle = to_degrees * kPi / 180.0;
    arc.arc_center[0] = cx;
    arc.arc_center[1] = cy;
    arc.radius = radius;
    tag_t tag = 0;
    EXPECT_EQ(HM_CURVE_create_arc(&arc, &tag), 0);
    return tag;
}

struct Point {
    double x, y, z;
};

Point point_at(tag_t curve, double t) {
    double p[3] = {0, 0, 0};
    EXPECT_EQ(HM_VD_CURVE_ask_point_on_curve(curve, t, p), 0);
    return {p[0], p[1], p[2]};
}

int type_of(tag_t object) {
    int type = 0, subtype = 0;
    EXPECT_EQ(HM_OBJ_ask_type_and_subtype(object, &type, &subtype), 0);
    return type;
}

#define EXPECT_POINT_NEAR(actual, ex, ey, ez, tol) \
    do {                                           \
        const Point p_ = (actual);                 \
        EXPECT_NEAR(p_.x, (ex), (tol));            \
        EXPECT_NEAR(p_.y, (ey), (tol));            \
        EXPECT_NEAR(p_.z, (ez), (tol));            \
    } while (0)

// Curves of the loop fixtures: a 10 x 10 square given out of order, an open
// chain of two lines, a full circle and a triangle.
struct LoopCurves {
    std::vector<tag_t> square, chain, circle, triangle;
};

LoopCurves make_loop_curves() {
    LoopCurves c;
    c.square = {new_line(0, 0, 0, 10, 0, 0), new_line(10, 10, 0, 0, 10, 0), new_line(10, 0, 0, 10, 10, 0),
                new_line(0, 10, 0, 0, 0, 0)};
    c.chain = {new_line(20, 0, 0, 30, 0, 0), new_line(30, 0, 0, 30, 5, 0)};
    c.circle = {make_arc(50, 50, 5, 0, 360)};
    c.triangle = {new_line(100, 0, 0, 110, 0, 0), new_line(110, 0, 0, 100, 10, 0), new_line(100, 10, 0, 100, 0, 0)};
    return c;
}

std::vector<tag_t> concat(std::initializer_list<std::vector<tag_t>> parts) {
    std::vector<tag_t> all;
    for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

}  // namespace

using CurveUtilsTest = HostTest;

// ---- the curve-type test ----

TEST_F(CurveUtilsTest, IsCurveAcceptsCurvesAndEdgesOnly) {
    const double corner[3] = {0, 0, 0}, u[3] = {10, 0, 0}, v[3] = {0, 20, 0};
    const tag_t sheet = host_testing::make_planar_sheet(corner, u, v);
    hm_list_p_t edges = nullptr;
    ASSERT_EQ(HM_MODL_ask_body_edges(sheet, &edges), 0);
    tag_t edge = 0;
    ASSERT_EQ(HM_MODL_ask_list_item(edges, 0, &edge), 0);
    HM_MODL_delete_list(&edges);

    const struct {
        const char* what;
        tag_t object;
        bool curve;
    } cases[] = {
        {"line", new_line(0, 0, 0, 1, 0, 0), true},
        {"arc", make_arc(0, 0, 1, 0, 90), true},
        {"edge", edge, true},
        {"point", new_point(1, 2, 3), false},
        {"sheet body", sheet, false},
        {"no object", 0, false},
        {"unknown tag", 999999, false},
    };
    for (const auto& c : cases) EXPECT_EQ(HM_VD_is_curve(c.object), c.curve) << c.what;
}

// ---- loops and chain status ----

TEST_F(CurveUtilsTest, LoopsComeClosedFirstWithTheirCurves) {
    const LoopCurves c = make_loop_curves();
    // The open chain comes first in the input; closed loops still lead.
    const std::vector<tag_t> all = concat({c.chain, c.square, c.circle});
    for (bool from_array : {false, true}) {
        SCOPED_TRACE(from_array ? "from array" : "from list");
        int total = -1, closed = -1;
        int* counts = nullptr;
        tag_t** loops = nullptr;
        int result;
        if (from_array) {
            result = HM_VD_CURVE_make_loop_curve_from_array(all.data(), static_cast<int>(all.size()), 0.01, &total,
                                                            &closed, &counts, &loops);
        } else {
            hm_list_p_t list = make_list(all);
            result = HM_VD_CURVE_make_loop_curve(list, 0.01, &total, &closed, &counts, &loops);
            HM_MODL_delete_list(&list);
        }
        ASSERT_EQ(result, 0);
        ASSERT_EQ(total, 3);
        EXPECT_EQ(closed, 2);
        ASSERT_NE(counts, nullptr);
        ASSERT_NE(loops, nullptr);
        // Closed: the square (4 curves) and the circle (1), in either order.
        std::multiset<int> closed_sizes{counts[0], counts[1]};
        EXPECT_EQ(closed_sizes, (std::multiset<int>{1, 4}));
        EXPECT_EQ(counts[2], 2);
        std::multiset<tag_t> open_loop(loops[2], loops[2] + counts[2]);
        EXPECT_EQ(open_loop, std::multiset<tag_t>(c.chain.begin(), c.chain.end()));
        for (int i = 0; i < total; ++i) SM_free(loops[i]);
        SM_free(loops);
        SM_free(counts);
    }
    ExpectNoLeaks();
}

TEST_F(CurveUtilsTest, EmptyListGivesNoLoops) {
    hm_list_p_t list = make_list({});
    int total = -1, closed = -1;
    int* counts = reinterpret_cast<int*>(1);
    tag_t** loops = reinterpret_cast<tag_t**>(1);
    EXPECT_EQ(HM_VD_CURVE_make_loop_curve(list, 0.01, &total, &closed, &counts, &loops), 0);
    EXPECT_EQ(total, 0);
    EXPECT_EQ(closed, 0);
    EXPECT_EQ(counts, nullptr);
    EXPECT_EQ(loops, nullptr);
    HM_MODL_delete_list(&list);
    ExpectNoLeaks();
}

TEST_F(CurveUtilsTest, ChainStatusClassifiesLoopSets) {
    const LoopCurves c = make_loop_curves();
    const struct {
        const char* what;
        std::vector<tag_t> curves;
        int result;
        int status;
    } cases[] = {
        {"one closed loop", c.square, 0, 0},
        {"one open chain", c.chain, 0, 1},
        {"two closed loops", concat({c.square, c.circle}), 0, 2},
        {"a closed loop and an open chain", concat({c.chain, c.square}), 0, 3},
        {"a point among the curves", concat({c.square, {new_point(0, 0, 0)}}), -1, -1},
        {"an empty list", {}, -1, 99},
    };
    for (const auto& k : cases) {
        hm_list_p_t list = make_list(k.curves);
        int status = 99;
        EXPECT_EQ(HM_VD_CURVE_ask_curve_chain_status(list, 0.01, &status), k.result) << k.what;
        EXPECT_EQ(status, k.status) << k.what;
        HM_MODL_delete_list(&list);
    }
    int status = 99;
    EXPECT_EQ(HM_VD_CURVE_ask_curve_chain_status(nullptr, 0.01, &status), -1);
    EXPECT_EQ(status, 99);
    ExpectNoLeaks();
}

TEST_F(CurveUtilsTest, CoincidentPointsWithinTolerance) {
    const double a[3] = {1, 2, 3};
    const struct {
        double b[3];
        double tol;
        int expected;
    } cases[] = {
        {{1, 2, 3}, 0.0, 1},
        {{1.003, 2, 3.004}, 0.005, 1},   // 0.005 apart
        {{1.003, 2, 3.004}, 0.0049, 0},
        {{4, 6, 3}, 1.0, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(HM_VD_CURVE_is_coinside_point(a, c.b, c.tol), c.expected);
}

// ---- joining ----

TEST_F(CurveUtilsTest, JoinMakesOneCurvePerLoopAndRestoresTolerance) {
    ASSERT_EQ(HM_MODL_set_distance_tolerance(0.001), 0);
    // Gaps of 0.02 in a closed triangle and in an open chain: they join only
    // at the tolerance given to the join, not at the part's.
    const std::vector<tag_t> triangle = {new_line(100, 0, 0, 110, 0, 0), new_line(110, 0.02, 0, 100, 10, 0),
                                         new_line(100, 10.02, 0, 100, 0, 0)};
    const std::vector<tag_t> chain = {new_line(0, 50, 0, 10, 50, 0), new_line(10.02, 50, 0, 20, 50, 0),
                                      new_line(20, 50.02, 0, 20, 60, 0)};
    hm_list_p_t list = make_list(concat({chain, triangle}));
    ASSERT_EQ(HM_VD_CURVE_join_curves(&list, 0.05), 0);

    const std::vector<tag_t> joined = list_items(list);
    ASSERT_EQ(joined.size(), 2u);
    double lengths[2] = {curve_length(joined[0]), curve_length(joined[1])};
    const double perimeter = 10 + std::hypot(10.0, 9.98) + 10.02, open = 10 + 9.98 + 9.98;
    if (lengths[0] > lengths[1]) std::swap(lengths[0], lengths[1]);
    EXPECT_NEAR(lengths[0], open, 0.05);
    EXPECT_NEAR(lengths[1], perimeter, 0.05);
    // The curves that were joined stay in the part, outside the list.
    for (tag_t t : concat({triangle, chain})) {
        EXPECT_EQ(std::count(joined.begin(), joined.end(), t), 0);
        EXPECT_EQ(HM_OBJ_ask_status(t), HM_OBJ_ALIVE);
    }

    double tolerance = 0.0;
    ASSERT_EQ(HM_MODL_ask_distance_tolerance(&tolerance), 0);
    EXPECT_DOUBLE_EQ(tolerance, 0.001);
    HM_MODL_delete_list(&list);
    ExpectNoLeaks();
}

TEST_F(CurveUtilsTest, JoinLeavesSingleCurveListUntouched) {
    const tag_t line = new_line(0, 0, 0, 1, 0, 0);
    hm_list_p_t list = make_list({line});
    const hm_list_p_t before = list;
    const int objects = host_testing::count_objects();
    EXPECT_EQ(HM_VD_CURVE_join_curves(&list, 0.01), 0);
    EXPECT_EQ(list, before);
    EXPECT_EQ(list_items(list), std::vector<tag_t>{line});
    EXPECT_EQ(host_testing::count_objects(), objects);
    HM_MODL_delete_list(&list);
    ExpectNoLeaks();
}

// ---- sampling ----

TEST_F(CurveUtilsTest, DispersedPointsAtEqualParameterSteps) {
    const tag_t line = new_line(0, 0, 0, 10, 0, 0);
    const tag_t arc = make_arc(0, 0, 5, 0, 90);
    double storage[5][3];
    double* points[5] = {storage[0], storage[1], storage[2], storage[3], storage[4]};

    int count = 0;
    ASSERT_EQ(HM_VD_curve_disperse_param_points(line, 4, &count, points), 0);
    ASSERT_EQ(count, 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_NEAR(points[i][0], 2.5 * i, kTol);
        EXPECT_NEAR(points[i][1], 0.0, kTol);
    }

    ASSERT_EQ(HM_VD_curve_disperse_param_points(arc, 3, &count, points), 0);
    ASSERT_EQ(count, 4);
    for (int i = 0; i < 4; ++i) {
        const double angle = 30.0 * i * kPi / 180.0;
        EXPECT_NEAR(points[i][0], 5 * std::cos(angle), kTol) << i;
        EXPECT_NEAR(points[i][1], 5 * std::sin(angle), kTol) << i;
    }
}

TEST_F(CurveUtilsTest, DisperseRejectsZeroAndNegativeCounts) {
    const tag_t line = new_line(0, 0, 0, 10, 0, 0);
    double storage[3] = {7, 7, 7};
    double* points[1] = {storage};
    int count = 99;
    EXPECT_EQ(HM_VD_curve_disperse_param_points(line, 0, &count, points), -1);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(storage[0], 7.0);
    count = 99;
    EXPECT_EQ(HM_VD_curve_disperse_param_points(line, -3, &count, points), 0);
    EXPECT_EQ(count, 0);
    count = 99;
    EXPECT_NE(HM_VD_curve_disperse_param_points(0, 2, &count, points), 0);
    EXPECT_EQ(count, 99);   // a host failure leaves the count alone
}

namespace {
struct Samples {
    int n = 0, m = 0;
    double** points = nullptr;
    int* breaks = nullptr;
    void release() {
        for (int i = 0; i < n; ++i) SM_free(points[i]);
        SM_free(points);
        SM_free(breaks);
    }
};
}  // namespace

TEST_F(CurveUtilsTest, SimpleCurvePointsOfSmoothClosedCurve) {
    const tag_t circle = make_arc(0, 0, 5, 0, 360);
    Samples s;
    HM_VD_simple_curve_points(circle, 10, &s.n, &s.points, &s.m, &s.breaks);
    ASSERT_EQ(s.n, 11);
    ASSERT_EQ(s.m, 2);
    EXPECT_EQ(s.breaks[0], 0);
    EXPECT_EQ(s.breaks[1], 10);
    for (int c = 0; c < 3; ++c) EXPECT_EQ(s.points[10][c], s.points[0][c]);   // exactly
    for (int i = 0; i < 10; ++i)
        EXPECT_NEAR(std::hypot(s.points[i][0], s.points[i][1]), 5.0, kTol) << i;
    s.release();
    ExpectNoLeaks();
}

TEST_F(CurveUtilsTest, SimpleCurvePointsBreakAtCorners) {
    // An L: 10 along x, then 5 along y; the corner is a C0 break.
    hm_list_p_t pieces = make_list({new_line(0, 0, 0, 10, 0, 0), new_line(10, 0, 0, 10, 5, 0)});
    tag_t polyline = 0;
    ASSERT_EQ(HM_CURVE_create_joined_curve(pieces, 2, &polyline), 0);
    HM_MODL_delete_list(&pieces);

    Samples s;
    HM_VD_simple_curve_points(polyline, 4, &s.n, &s.points, &s.m, &s.breaks);
    ASSERT_EQ(s.n, 9);
    ASSERT_EQ(s.m, 3);
    EXPECT_EQ(std::vector<int>(s.breaks, s.breaks + 3), (std::vector<int>{0, 4, 8}));
    // Equal steps within each piece.
    const double expected[9][2] = {{0, 0}, {2.5, 0}, {5, 0}, {7.5, 0}, {10, 0},
                                   {10, 1.25}, {10, 2.5}, {10, 3.75}, {10, 5}};
    for (int i = 0; i < 9; ++i) {
        EXPECT_NEAR(s.points[i][0], expected[i][0], 1e-6) << i;
        EXPECT_NEAR(s.points[i][1], expected[i][1], 1e-6) << i;
    }
    s.release();
    ExpectNoLeaks();
}

TEST_F(CurveUtilsTest, SimpleCurvePointsRejectsStepCountBelowOne) {
    const tag_t line = new_line(0, 0, 0, 10, 0, 0);
    for (int k : {0, -2}) {
        Samples s;
        s.n = s.m = 99;
        s.points = reinterpret_cast<double**>(1);
        s.breaks = reinterpret_cast<int*>(1);
        HM_VD_simple_curve_points(line, k, &s.n, &s.points, &s.m, &s.breaks);
        EXPECT_EQ(s.n, 0);
        EXPECT_EQ(s.m, 0);
        EXPECT_EQ(s.points, nullptr);
        EXPECT_EQ(s.breaks, nullptr);
    }
    ExpectNoLeaks();
}

// ---- thinning and closed splines with corners ----

TEST(PointThinning, KeepsPointsFartherApartThanTheTolerance) {
    // 101 points 0.001 apart along x, then a 0.003 piece of 3 more points.
    std::vector<double> row;
    for (int i = 0; i <= 103; ++i) row.insert(row.end(), {0.001 * i, 0.0, 0.0});
    const int breaks[3] = {0, 100, 103};
    carvell::toolbox::ThinnedRow out;
    ASSERT_TRUE(carvell::toolbox::thin_point_row(104, row.data(), 3, breaks, 0.01, &out));

    // Every eleventh point of the first piece, whose end replaces the last
    // kept point that lies within the tolerance of it; the short piece adds
    // only its end.
    std::vector<double> xs;
    for (size_t i = 0; i < out.points.size(); i += 3) xs.push_back(out.points[i]);
    const std::vector<double> expected = {0.0, 0.011, 0.022, 0.033, 0.044, 0.055, 0.066, 0.077, 0.088, 0.100, 0.103};
    ASSERT_EQ(xs.size(), expected.size());
    for (size_t i = 0; i < xs.size(); ++i) EXPECT_NEAR(xs[i], expected[i], 1e-12) << i;
    EXPECT_EQ(out.breaks, (std::vector<int>{0, 9, 10}));
}

TEST(PointThinning, RejectsUnusableBreaks) {
    std::vector<double> row(30, 0.0);
    for (int i = 0; i < 10; ++i) row[3 * i] = i;
    const struct {
        const char* what;
        int n;
        std::vector<int> breaks;
    } cases[] = {
        {"last break is not n - 1", 10, {0, 5}},
        {"first break is not 0", 10, {1, 9}},
        {"breaks repeat", 10, {0, 5, 5, 9}},
        {"breaks descend", 10, {0, 6, 4, 9}},
        {"a single break", 10, {0}},
        {"no points", 0, {0, 0}},
    };
    for (const auto& c : cases) {
        carvell::toolbox::ThinnedRow out;
        EXPECT_FALSE(carvell::toolbox::thin_point_row(c.n, row.data(), static_cast<int>(c.breaks.size()),
                                                  c.breaks.data(), 0.01, &out))
            << c.what;
        EXPECT_TRUE(out.points.empty()) << c.what;
    }
}

namespace {
// Packed points around the 10 x 10 square from (0, 0), one unit apart, the
// last equal to the first; corners at indices 0, 10, 20, 30, 40.
std::vector<double> square_row() {
    std::vector<double> row;
    const double corners[5][2] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}};
    for (int side = 0; side < 4; ++side)
        for (int i = 0; i < 10; ++i) {
            const double f = i / 10.0;
            row.insert(row.end(), {corners[side][0] + f * (corners[side + 1][0] - corners[side][0]),
                                   corners[side][1] + f * (corners[side + 1][1] - corners[side][1]), 0.0});
        }
    row.insert(row.end(), {0.0, 0.0, 0.0});
    return row;
}
}  // namespace

TEST_F(CurveUtilsTest, ClosedSplineKeepsCornersAndDropsPieces) {
    const std::vector<double> row = square_row();
    const int breaks[5] = {0, 10, 20, 30, 40};
    const int objects = host_testing::count_objects();
    tag_t curve = 0;
    ASSERT_EQ(HM_VD_create_closed_spline_c0(41, row.data(), 5, breaks, &curve), 0);
    ASSERT_NE(curve, 0u);
    EXPECT_EQ(host_testing::count_objects(), objects + 1);   // the piece splines are gone
    EXPECT_NEAR(curve_length(curve), 40.0, 1e-6);

    // Its corners are C0 breaks: it splits into the four sides.
    int count = 0;
    tag_t* sides = nullptr;
    HM_VD_CURVE_divide_curve_by_c0_knots(curve, &count, &sides);
    ASSERT_EQ(count, 4);
    for (int i = 0; i < count; ++i) EXPECT_NEAR(curve_length(sides[i]), 10.0, 1e-6) << i;
    SM_free(sides);
    ExpectNoLeaks();
}

TEST_F(CurveUtilsTest, ClosedSplineWithoutCornersIsPeriodic) {
    std::vector<double> row;
    for (int i = 0; i <= 36; ++i) {
        const double angle = 2 * kPi * (i % 36) / 36.0;
        row.insert(row.end(), {5 * std::cos(angle), 5 * std::sin(angle), 1.0});
    }
    const int breaks[2] = {0, 36};
    tag_t curve = 0;
    ASSERT_EQ(HM_VD_create_closed_spline_c0(37, row.data(), 2, breaks, &curve), 0);
    ASSERT_NE(curve, 0u);
    // Closed and smooth: one piece, and it stays on the circle.
    int count = 0;
    tag_t* pieces = nullptr;
    HM_VD_CURVE_divide_curve_by_c0_knots(curve, &count, &pieces);
    EXPECT_EQ(count, 1);
    SM_free(pieces);
    const Point start = point_at(curve, 0.0), end = point_at(curve, 1.0);
    EXPECT_NEAR(std::hypot(start.x - end.x, start.y - end.y), 0.0, 1e-9);
    for (double t : {0.1, 0.37, 0.5, 0.81}) {
        const Point p = point_at(curve, t);
        EXPECT_NEAR(std::hypot(p.x, p.y), 5.0, 1e-3) << t;
        EXPECT_NEAR(p.z, 1.0, 1e-9);
    }
    EXPECT_NEAR(curve_length(curve), 2 * kPi * 5, 1e-2);
    ExpectNoLeaks();
}

TEST_F(CurveUtilsTest, ClosedSplineRefusesBadBreaks) {
    const std::vector<double> row = square_row();
    const struct {
        const char* what;
        int n;
        std::vector<int> breaks;
    } cases[] = {
        {"last break short of n - 1", 41, {0, 10, 20}},
        {"first break not 0", 41, {5, 20, 40}},
        {"breaks not ascending", 41, {0, 20, 10, 40}},
        {"one break", 41, {0}},
        {"no points", 0, {0, 0}},
    };
    const int objects = host_testing::count_objects();
    for (const auto& c : cases) {
        tag_t curve = 77;
        EXPECT_EQ(HM_VD_create_closed_spline_c0(c.n, row.data(), static_cast<int>(c.breaks.size()), c.breaks.data(),
                                                &curve),
                  -1)
            << c.what;
        EXPECT_EQ(curve, 0u) << c.what;
    }
    EXPECT_EQ(host_testing::count_objects(), objects);
    ExpectNoLeaks();
}

// ---- trimming and splitting ----

TEST_F(CurveUtilsTest, TrimByNormalisedParameters) {
    const tag_t line = new_line(0, 0, 0, 10, 0, 0);
    const tag_t arc = make_arc(0, 0, 10, 0, 90);
    const struct {
        const char* what;
        tag_t curve;
        double parms[2];
        Point start, end;
        double length;
    } cases[] = {
        {"line", line, {0.2, 0.7}, {2, 0, 0}, {7, 0, 0}, 5.0},
        {"arc", arc, {0.5, 1.0}, {10 * std::cos(kPi / 4), 10 * std::sin(kPi / 4), 0}, {0, 10, 0}, 10 * kPi / 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        tag_t piece = 0;
        ASSERT_EQ(HM_VD_CURVE_trim_curve_by_parms(c.curve, c.parms, &piece), 0);
        ASSERT_NE(piece, 0u);
        EXPECT_NE(piece, c.curve);
        EXPECT_POINT_NEAR(point_at(piece, 0.0), c.start.x, c.start.y, c.start.z, kTol);
        EXPECT_POINT_NEAR(point_at(piece, 1.0), c.end.x, c.end.y, c.end.z, kTol);
        EXPECT_NEAR(curve_length(piece), c.length, kTol);
        EXPECT_NEAR(curve_length(c.curve), c.curve == line ? 10.0 : 5 * kPi, kTol);   // original untouched
    }
    tag_t piece = 55;
    const double parms[2] = {0.0, 0.5};
    EXPECT_NE(HM_VD_CURVE_trim_curve_by_parms(0, parms, &piece), 0);
    EXPECT_EQ(piece, 0u);
}

TEST_F(CurveUtilsTest, DivideAtCornersKeepsEveryPiece) {
    // A polyline of three lines, joined: the end pieces must come back too.
    const double corners[4][3] = {{0, 0, 0}, {4, 0, 0}, {4, 3, 0}, {4, 3, 12}};
    hm_list_p_t list = make_list({new_line(0, 0, 0, 4, 0, 0), new_line(4, 0, 0, 4, 3, 0),
                                  new_line(4, 3, 0, 4, 3, 12)});
    tag_t polyline = 0;
    ASSERT_EQ(HM_CURVE_create_joined_curve(list, 2, &polyline), 0);
    HM_MODL_delete_list(&list);

    int count = 0;
    tag_t* pieces = nullptr;
    HM_VD_CURVE_divide_curve_by_c0_knots(polyline, &count, &pieces);
    ASSERT_EQ(count, 3);
    const double lengths[3] = {4, 3, 12};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_POINT_NEAR(point_at(pieces[i], 0.0), corners[i][0], corners[i][1], corners[i][2], kTol);
        EXPECT_POINT_NEAR(point_at(pieces[i], 1.0), corners[i + 1][0], corners[i + 1][1], corners[i + 1][2], kTol);
        EXPECT_NEAR(curve_length(pieces[i]), lengths[i], kTol);
    }
    SM_free(pieces);
    ExpectNoLeaks();
}

TEST_F(CurveUtilsTest, DivideSmoothCurveGivesOneCopy) {
    const tag_t arc = make_arc(1, 2, 3, 0, 180);
    int count = 0;
    tag_t* pieces = nullptr;
    HM_VD_CURVE_divide_curve_by_c0_knots(arc, &count, &pieces);
    ASSERT_EQ(count, 1);
    EXPECT_NE(pieces[0], arc);
    EXPECT_NEAR(curve_length(pieces[0]), 3 * kPi, kTol);
    EXPECT_POINT_NEAR(point_at(pieces[0], 0.5), 1, 5, 0, kTol);
    SM_free(pieces);
    ExpectNoLeaks();
}

// ---- ellipses ----

TEST_F(CurveUtilsTest, EllipseInThePlaneOfTheDirections) {
    // A work coordinate system of the user's that must survive the call.
    const double rows[9] = {0, 1, 0, -1, 0, 0, 0, 0, 1};
    tag_t matrix = 0, user_wcs = 0;
    ASSERT_EQ(HM_CSYS_create_matrix(rows, &matrix), 0);
    const double origin[3] = {5, 5, 5};
    ASSERT_EQ(HM_CSYS_create_csys(origin, matrix, &user_wcs), 0);
    ASSERT_EQ(HM_CSYS_set_wcs(user_wcs), 0);
    const int objects = host_testing::count_objects();

    // Semi-axis 4 along x, 2 along z, about (10, 20, 30).
    const double centre[3] = {10, 20, 30}, x_dir[3] = {1, 0, 0}, y_dir[3] = {0, 0, 1};
    const double full[2] = {0, 2 * kPi};
    tag_t ellipse = 0;
    ASSERT_EQ(HM_VD_curve_create_ellipse(centre, 4, x_dir, 2, y_dir, full, &ellipse), 0);
    EXPECT_EQ(type_of(ellipse), 6);
    EXPECT_POINT_NEAR(point_at(ellipse, 0.0), 14, 20, 30, kTol);
    EXPECT_POINT_NEAR(point_at(ellipse, 0.25), 10, 20, 32, kTol);
    EXPECT_POINT_NEAR(point_at(ellipse, 0.5), 6, 20, 30, kTol);

    const double quarter[2] = {0, kPi / 2};
    tag_t arc = 0;
    ASSERT_EQ(HM_VD_curve_create_ellipse(centre, 4, x_dir, 2, y_dir, quarter, &arc), 0);
    EXPECT_POINT_NEAR(point_at(arc, 1.0), 10, 20, 32, kTol);

    tag_t wcs = 0;
    ASSERT_EQ(HM_CSYS_ask_wcs(&wcs), 0);
    EXPECT_EQ(wcs, user_wcs);
    EXPECT_EQ(host_testing::count_objects(), objects + 2);   // only the two ellipses remain
}

TEST_F(CurveUtilsTest, EllipseFailuresLeaveTheModelAsItWas) {
    const double centre[3] = {0, 0, 0}, x_dir[3] = {1, 0, 0}, y_dir[3] = {0, 1, 0};
    const double reversed[2] = {1.0, 0.5}, full[2] = {0, 2 * kPi};
    const int objects = host_testing::count_objects();
    tag_t wcs_before = 99;
    ASSERT_EQ(HM_CSYS_ask_wcs(&wcs_before), 0);

    tag_t ellipse = 0;
    EXPECT_EQ(HM_VD_curve_create_ellipse(centre, 4, x_dir, 2, y_dir, reversed, &ellipse), -1);
    EXPECT_EQ(HM_VD_curve_create_ellipse(centre, -4, x_dir, 2, y_dir, full, &ellipse), -1);   // no conic
    EXPECT_EQ(HM_VD_curve_create_ellipse(centre, 4, x_dir, 2, x_dir, full, &ellipse), -1);    // no plane
    EXPECT_EQ(ellipse, 0u);

    tag_t wcs_after = 99;
    ASSERT_EQ(HM_CSYS_ask_wcs(&wcs_after), 0);
    EXPECT_EQ(wcs_after, wcs_before);
    EXPECT_EQ(host_testing::count_objects(), objects);
}

TEST(EllipseTangents, TangentPointsFromAPoint) {
    const double tol[2] = {1e-6, 0.01};
    const double s3 = std::sqrt(3.0) / 2;   // 0.866
    // Hand-computed on the unit circle of the scaled point (u, v) and scaled
    // back: x = (u +- s|v|) / r2, with x u + y v = 1, s = sqrt(r2 - 1).
    const struct {
        const char* what;
        double a, b;
        double range[2];
        double point[2];
        int count;
        double expected[4];
    } cases[] = {
        {"on the major axis, side positive", 2, 1, {0, 360}, {4, 0}, 2, {1, -s3, 1, s3}},
        {"on the minor axis", 2, 1, {0, 360}, {0, 2}, 2, {2 * s3, 0.5, -2 * s3, 0.5}},
        {"above and to the right", 2, 1, {0, 360}, {3, 2}, 2, {1.946420, -0.229910, -0.986420, 0.869910}},
        {"below and to the right", 2, 1, {0, 360}, {3, -2}, 2, {-0.986420, -0.869910, 1.946420, 0.229910}},
        {"on the ellipse", 2, 1, {0, 360}, {2, 0}, 1, {2, 0, 2, 0}},
        {"inside", 2, 1, {0, 360}, {1, 0}, 0, {0, 0, 0, 0}},
        {"at the centre", 2, 1, {0, 360}, {0, 0}, 0, {0, 0, 0, 0}},
        {"range keeps the 60 degree point", 2, 1, {0, 180}, {4, 0}, 1, {1, s3, 0, 0}},
        {"range keeps the 300 degree point", 2, 1, {180, 360}, {4, 0}, 1, {1, -s3, 0, 0}},
        {"an end within the angle tolerance snaps", 2, 1, {0, 59.995}, {4, 0}, 1, {1, s3, 0, 0}},
        {"range keeps neither", 2, 1, {90, 270}, {4, 0}, 0, {1, -s3, 0, 0}},
    };
    for (const auto& c : cases) {
        int count = -1;
        double points[4] = {9, 9, 9, 9};
        EXPECT_EQ(HM_VD_ellipse_tangents_2d(c.a, c.b, c.range, c.point, tol, &count, points), 0) << c.what;
        EXPECT_EQ(count, c.count) << c.what;
        for (int i = 0; i < 4; ++i) EXPECT_NEAR(points[i], c.expected[i], 1e-5) << c.what << " value " << i;
    }
}

TEST(EllipseTangents, PointsAreTangentToTheEllipse) {
    const double a = 3, b = 1.5, range[2] = {0, 360}, tol[2] = {1e-6, 0.01};
    const double from[][2] = {{7, 1}, {-2, 4}, {-5, -5}, {0.5, -3}};
    for (const auto& p : from) {
        int count = 0;
        double t[4];
        ASSERT_EQ(HM_VD_ellipse_tangents_2d(a, b, range, p, tol, &count, t), 0);
        ASSERT_EQ(count, 2);
        for (int k = 0; k < 2; ++k) {
            const double x = t[2 * k], y = t[2 * k + 1];
            EXPECT_NEAR(x * x / (a * a) + y * y / (b * b), 1.0, 1e-9);          // on the ellipse
            EXPECT_NEAR(x * p[0] / (a * a) + y * p[1] / (b * b), 1.0, 1e-9);  // its tangent passes through p
        }
    }
}

// ---- lengths and edges ----

TEST_F(CurveUtilsTest, ArrayLengthSumsCurvesOnly) {
    const tag_t objects[4] = {new_line(0, 0, 0, 10, 0, 0), new_point(1, 1, 1), make_arc(0, 0, 5, 0, 90), 0};
    EXPECT_NEAR(HM_VD_ask_curve_array_length(4, objects), 10 + 2.5 * kPi, 1e-6);
    EXPECT_NEAR(HM_VD_ask_curve_array_length(1, objects + 1), 0.0, 0.0);
    EXPECT_NEAR(HM_VD_ask_curve_array_length(0, objects), 0.0, 0.0);
    ExpectNoLeaks();
}

TEST_F(CurveUtilsTest, BoundaryEdgesOfPlanarSheet) {
    const double corner[3] = {0, 0, 0}, u[3] = {10, 0, 0}, v[3] = {0, 20, 0};
    const tag_t sheet = host_testing::make_planar_sheet(corner, u, v);
    for (bool make_curves : {false, true}) {
        SCOPED_TRACE(make_curves ? "curves" : "edges");
        hm_list_p_t list = nullptr;
        EXPECT_EQ(HM_VD_create_curves_by_boundary_edges(sheet, make_curves, &list), 0);
        const std::vector<tag_t> items = list_items(list);
        ASSERT_EQ(items.size(), 4u);
        double total = 0;
        for (tag_t item : items) {
            int type = 0, subtype = 0;
            ASSERT_EQ(HM_OBJ_ask_type_and_subtype(item, &type, &subtype), 0);
            if (make_curves) {
                EXPECT_EQ(type, HM_line_type);
            } else {
                EXPECT_EQ(type, HM_solid_type);
                EXPECT_EQ(subtype, HM_solid_edge_subtype);
            }
            total += curve_length(item);
        }
        EXPECT_NEAR(total, 60.0, kTol);
        HM_MODL_delete_list(&list);
    }
    // A closed solid has no boundary edges.
    const double size[3] = {1, 2, 3};
    hm_list_p_t list = nullptr;
    EXPECT_EQ(HM_VD_create_curves_by_boundary_edges(host_testing::make_box(corner, size), true, &list), 0);
    EXPECT_TRUE(list_items(list).empty());
    HM_MODL_delete_list(&list);
    ExpectNoLeaks();
}

TEST_F(CurveUtilsTest, EdgesBecomeCurves) {
    const double corner[3] = {0, 0, 0}, u[3] = {10, 0, 0}, v[3] = {0, 20, 0};
    const tag_t sheet = host_testing::make_planar_sheet(corner, u, v);
    hm_list_p_t edges = nullptr;
    ASSERT_EQ(HM_MODL_ask_body_edges(sheet, &edges), 0);
    const std::vector<tag_t> sheet_edges = list_items(edges);
    HM_MODL_delete_list(&edges);
    ASSERT_EQ(sheet_edges.size(), 4u);

    tag_t curve = 0;
    ASSERT_EQ(VD_create_curve_from_edge(sheet_edges[0], &curve), 0);
    EXPECT_TRUE(HM_VD_is_curve(curve));
    EXPECT_NE(type_of(curve), HM_solid_type);
    EXPECT_NEAR(curve_length(curve), curve_length(sheet_edges[0]), kTol);

    const tag_t line = new_line(0, 0, 5, 1, 0, 5);
    hm_list_p_t list = make_list({sheet_edges[1], line, sheet_edges[2]});
    hm_list_p_t new_curves = nullptr;
    HM_VD_convert_edge_to_curve(&list, &new_curves);
    const std::vector<tag_t> converted = list_items(list);
    const std::vector<tag_t> made = list_items(new_curves);
    ASSERT_EQ(converted.size(), 3u);
    ASSERT_EQ(made.size(), 2u);
    EXPECT_EQ(converted[0], made[0]);
    EXPECT_EQ(converted[1], line);
    EXPECT_EQ(converted[2], made[1]);
    EXPECT_TRUE(HM_VD_is_curve(made[0]));
    EXPECT_NE(type_of(made[0]), HM_solid_type);
    EXPECT_NEAR(curve_length(made[0]), curve_length(sheet_edges[1]), kTol);
    EXPECT_NEAR(curve_length(made[1]), curve_length(sheet_edges[2]), kTol);
    HM_MODL_delete_list(&list);
    HM_MODL_delete_list(&new_curves);
    ExpectNoLeaks();
}

// A null output (or input array) is refused without being followed, and
// nothing is left behind in the part or the memory manager.
TEST_F(CurveUtilsTest, NullPointersAreRefusedWithoutBeingFollowed) {
    const tag_t line = new_line(0, 0, 0, 10, 0, 0);
    hm_list_p_t list = make_list({line});
    const int objects_before = host_testing::count_objects();
    int count = 0, closed = 0;
    int* per_loop = nullptr;
    tag_t** loops = nullptr;
    tag_t* tags = nullptr;
    tag_t curve = 0;
    double** rows = nullptr;
    int* breaks = nullptr;
    double points[4];
    const double parms[2] = {0.0, 0.5}, range[2] = {0.0, 1.0}, origin[3] = {0, 0, 0}, x[3] = {1, 0, 0},
                 y[3] = {0, 1, 0}, p2[2] = {4, 0}, tolerances[2] = {1e-6, 1e-6};

    EXPECT_EQ(HM_VD_CURVE_make_loop_curve(list, 0.01, nullptr, &closed, &per_loop, &loops), HM_ERR_NULL_POINTER);
    EXPECT_EQ(HM_VD_CURVE_make_loop_curve(list, 0.01, &count, &closed, &per_loop, nullptr), HM_ERR_NULL_POINTER);
    EXPECT_EQ(HM_VD_CURVE_make_loop_curve_from_array(nullptr, 2, 0.01, &count, &closed, &per_loop, &loops),
              HM_ERR_NULL_POINTER);
    EXPECT_EQ(HM_VD_CURVE_ask_curve_chain_status(list, 0.01, nullptr), -1);
    EXPECT_EQ(HM_VD_CURVE_join_curves(nullptr, 0.01), HM_ERR_NULL_POINTER);
    EXPECT_EQ(HM_VD_curve_disperse_param_points(line, 2, nullptr, rows), HM_ERR_NULL_POINTER);
    EXPECT_EQ(HM_VD_curve_disperse_param_points(line, 2, &count, nullptr), HM_ERR_NULL_POINTER);
    HM_VD_simple_curve_points(line, 2, &count, nullptr, &closed, &breaks);
    EXPECT_EQ(HM_VD_create_closed_spline_c0(0, nullptr, 0, nullptr, nullptr), HM_ERR_NULL_POINTER);
    EXPECT_EQ(HM_VD_CURVE_trim_curve_by_parms(line, parms, nullptr), HM_ERR_NULL_POINTER);
    curve = 99;
    EXPECT_EQ(HM_VD_CURVE_trim_curve_by_parms(line, nullptr, &curve), HM_ERR_NULL_POINTER);
    EXPECT_EQ(curve, 0u);
    HM_VD_CURVE_divide_curve_by_c0_knots(line, nullptr, &tags);
    HM_VD_CURVE_divide_curve_by_c0_knots(line, &count, nullptr);
    EXPECT_EQ(HM_VD_curve_create_ellipse(origin, 2, x, 1, y, range, nullptr), -1);
    EXPECT_EQ(HM_VD_curve_create_ellipse(origin, 2, x, 1, y, nullptr, &curve), -1);
    EXPECT_EQ(HM_VD_ellipse_tangents_2d(2, 1, range, p2, tolerances, nullptr, points), HM_ERR_NULL_POINTER);
    EXPECT_EQ(HM_VD_ellipse_tangents_2d(2, 1, nullptr, p2, tolerances, &count, points), HM_ERR_NULL_POINTER);
    EXPECT_EQ(HM_VD_ask_curve_array_length(3, nullptr), 0.0);
    EXPECT_EQ(HM_VD_create_curves_by_boundary_edges(line, false, nullptr), HM_ERR_NULL_POINTER);
    hm_list_p_t made = nullptr;
    HM_VD_convert_edge_to_curve(nullptr, &made);
    HM_VD_convert_edge_to_curve(&list, nullptr);
    EXPECT_EQ(made, nullptr);

    EXPECT_EQ(tags, nullptr);
    EXPECT_EQ(breaks, nullptr);
    EXPECT_EQ(list_items(list), std::vector<tag_t>{line}) << "the list is left as it was";
    EXPECT_EQ(host_testing::count_objects(), objects_before);
    HM_MODL_delete_list(&list);
    ExpectNoLeaks();
}
