// Trim features: curves cut between two planes or two points, the part
// between the bounds or the parts beyond them kept as the feature's curves,
// natural extension of lines and arcs, and refused input building nothing.
#include "host_fixture.h"
#include "host_testing.h"
#include "omvra.h"
#include "omvra/curves.h"
#include "quillon.h"
#include "test_helpers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace {

using host_testing::Point3;

class CurveTrimTest : public HostTest {
protected:
    static HM_CURVE_trim_t record(tag_t curve, tag_t first, tag_t second, const Point3& help, int keep,
                                  int extend = HM_TRIM_EXTEND_NONE) {
        HM_CURVE_trim_t t{};
        t.string_to_trim = curve;
        t.first_bound = first;
        t.second_bound = second;
        for (int k = 0; k < 3; ++k) t.first_help_point[k] = t.second_help_point[k] = help[k];
        t.extend_option = extend;
        t.trim_option = keep;
        return t;
    }
    // The trim feature's curves, the array freed.
    static std::vector<tag_t> curves_of(tag_t feature) {
        int count = -1;
        tag_t* objects = nullptr;
        EXPECT_EQ(HM_MODL_ask_feat_object(feature, &count, &objects), 0);
        std::vector<tag_t> out(objects, objects + (count > 0 ? count : 0));
        SM_free(objects);
        return out;
    }
    static std::vector<double> lengths_of(const std::vector<tag_t>& curves) {
        std::vector<double> out;
        for (tag_t c : curves) out.push_back(support::curve_length(c));
        return out;
    }
};

constexpr double kPi = support::kPi;

TEST_F(CurveTrimTest, CircleBetweenTwoPlanesKeepsTheStatedArc) {
    // Circle of radius 100 about the origin in z = 0, starting at (100, 0).
    // The plane y = 0 meets it at angles 0 and pi, the plane x = 0 at pi/2
    // and 3 pi/2; the help point picks the crossing of each plane nearest to it.
    struct Case {
        const char* name;
        Point3 help;
        int keep;
        std::vector<double> lengths;
    };
    const double r = 100.0;
    const std::vector<Case> cases = {
        {"first quadrant, inside", {70, 70, 0}, HM_TRIM_KEEP_INSIDE, {r * kPi / 2}},
        {"first quadrant, outside through the seam", {70, 70, 0}, HM_TRIM_KEEP_OUTSIDE, {r * 3 * kPi / 2}},
        {"second quadrant, inside", {-70, 70, 0}, HM_TRIM_KEEP_INSIDE, {r * kPi / 2}},
        // Crossings at 0 and 3 pi/2: the inside runs in the curve's direction.
        {"fourth quadrant, inside", {70, -70, 0}, HM_TRIM_KEEP_INSIDE, {r * 3 * kPi / 2}},
        {"fourth quadrant, outside", {70, -70, 0}, HM_TRIM_KEEP_OUTSIDE, {r * kPi / 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const tag_t circle = host_testing::make_arc({0, 0, 0}, r, 0.0, 2 * kPi);
        const tag_t x0 = host_testing::make_plane({0, 0, 0}, {1, 0, 0});
        const tag_t y0 = host_testing::make_plane({0, 0, 0}, {0, 1, 0});
        const HM_CURVE_trim_t t = record(circle, x0, y0, c.help, c.keep);
        tag_t feature = 0;
        ASSERT_EQ(HM_CURVE_create_trim(&t, &feature), 0);
        const std::vector<tag_t> curves = curves_of(feature);
        const std::vector<double> lengths = lengths_of(curves);
        ASSERT_EQ(lengths.size(), c.lengths.size());
        for (size_t i = 0; i < lengths.size(); ++i) EXPECT_NEAR(lengths[i], c.lengths[i], 1e-6);
        // The kept arc ends on the two planes.
        for (double end : {0.0, 1.0}) {
            const Point3 p = support::curve_point(curves.front(), end);
            EXPECT_NEAR(std::fabs(p[0]) * std::fabs(p[1]), 0.0, 1e-6);
        }
        // The circle itself is untouched.
        EXPECT_NEAR(support::curve_length(circle), 2 * kPi * r, 1e-6);
    }
}

TEST_F(CurveTrimTest, PointBoundsCutAtTheNearestCurvePoints) {
    // A 100 long line; the first point lies 5 off it above x = 20.
    struct Case {
        const char* name;
        Point3 first, second;
        int keep;
        std::vector<double> lengths;
    };
    const std::vector<Case> cases = {
        {"inside", {20, 5, 0}, {70, 0, 0}, HM_TRIM_KEEP_INSIDE, {50}},
        {"inside, bounds in reverse order", {70, 0, 0}, {20, 5, 0}, HM_TRIM_KEEP_INSIDE, {50}},
        {"outside: both ends", {20, 5, 0}, {70, 0, 0}, HM_TRIM_KEEP_OUTSIDE, {20, 30}},
        {"outside with a bound at the end", {0, 0, 0}, {70, 0, 0}, HM_TRIM_KEEP_OUTSIDE, {30}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const tag_t line = support::new_line(0, 0, 0, 100, 0, 0);
        const tag_t a = support::new_point(c.first[0], c.first[1], c.first[2]);
        const tag_t b = support::new_point(c.second[0], c.second[1], c.second[2]);
        const HM_CURVE_trim_t t = record(line, a, b, {50, 0, 0}, c.keep);
        tag_t feature = 0;
        ASSERT_EQ(HM_CURVE_create_trim(&t, &feature), 0);
        const std::vector<double> lengths = lengths_of(curves_of(feature));
        ASSERT_EQ(lengths.size(), c.lengths.size());
        for (size_t i = 0; i < lengths.size(); ++i) EXPECT_NEAR(lengths[i], c.lengths[i], 1e-9);
    }
}

TEST_F(CurveTrimTest, OutsideOfAClosedSplineIsOneCurveThroughItsEnds) {
    // A 100 square as a closed polyline spline from (0, 0) round through
    // (100, 0), (100, 100), (0, 100) back to (0, 0); bounds at (30, 0) and
    // (0, 40). Inside runs the long way (70 + 100 + 100 + 60), outside the
    // short way through the corner where the spline starts and ends (40 + 30).
    const double knots[7] = {0, 0, 1, 2, 3, 4, 4};
    const double poles[20] = {0, 0, 0, 1, 100, 0, 0, 1, 100, 100, 0, 1, 0, 100, 0, 1, 0, 0, 0, 1};
    tag_t square = 0;
    ASSERT_EQ(HM_CURVE_create_spline(5, 2, knots, poles, &square), 0);
    const tag_t a = support::new_point(30, 0, 0);
    const tag_t b = support::new_point(0, 40, 0);
    struct Case {
        int keep;
        double length;
        Point3 through;
    };
    for (const Case& c : {Case{HM_TRIM_KEEP_INSIDE, 330, {100, 100, 0}}, Case{HM_TRIM_KEEP_OUTSIDE, 70, {0, 0, 0}}}) {
        SCOPED_TRACE("trim option " + std::to_string(c.keep));
        const HM_CURVE_trim_t t = record(square, a, b, {0, 0, 0}, c.keep);
        tag_t feature = 0;
        ASSERT_EQ(HM_CURVE_create_trim(&t, &feature), 0);
        const std::vector<tag_t> curves = curves_of(feature);
        ASSERT_EQ(curves.size(), 1u);
        EXPECT_NEAR(support::curve_length(curves[0]), c.length, 1e-6);
        EXPECT_NEAR(support::distance_to_curve(curves[0], c.through), 0.0, 1e-9);
    }
}

TEST_F(CurveTrimTest, NaturalExtensionCarriesLinesAndArcsToTheirBounds) {
    // A 10 long line between planes x = -20 and x = 30: only its extension
    // reaches them.
    const tag_t line = support::new_line(0, 0, 0, 10, 0, 0);
    const tag_t left = host_testing::make_plane({-20, 0, 0}, {1, 0, 0});
    const tag_t right = host_testing::make_plane({30, 0, 0}, {-1, 0, 0});
    HM_CURVE_trim_t t = record(line, left, right, {0, 0, 0}, HM_TRIM_KEEP_INSIDE, HM_TRIM_EXTEND_NATURAL);
    tag_t feature = 0;
    ASSERT_EQ(HM_CURVE_create_trim(&t, &feature), 0);
    std::vector<tag_t> curves = curves_of(feature);
    ASSERT_EQ(curves.size(), 1u);
    EXPECT_NEAR(support::curve_length(curves[0]), 50.0, 1e-9);
    support::expect_point(support::curve_point(curves[0], 0.0).data(), {-20, 0, 0}, 1e-9);

    // A quarter arc (0 to pi/2, radius 100) between y = 0 and x = 0, help
    // point in the second quadrant: extended round its circle it keeps the
    // second quadrant's arc (mid point at 3 pi/4); unextended, its own arc.
    const tag_t arc = host_testing::make_arc({0, 0, 0}, 100, 0.0, kPi / 2);
    const tag_t x0 = host_testing::make_plane({0, 0, 0}, {1, 0, 0});
    const tag_t y0 = host_testing::make_plane({0, 0, 0}, {0, 1, 0});
    const double h = 100 / std::sqrt(2.0);
    struct Case {
        int extend;
        Point3 middle;
    };
    for (const Case& c : {Case{HM_TRIM_EXTEND_NATURAL, {-h, h, 0}}, Case{HM_TRIM_EXTEND_NONE, {h, h, 0}}}) {
        SCOPED_TRACE("extension " + std::to_string(c.extend));
        t = record(arc, y0, x0, {-70, 70, 0}, HM_TRIM_KEEP_INSIDE, c.extend);
        ASSERT_EQ(HM_CURVE_create_trim(&t, &feature), 0);
        curves = curves_of(feature);
        ASSERT_EQ(curves.size(), 1u);
        EXPECT_NEAR(support::curve_length(curves[0]), 100 * kPi / 2, 1e-6);
        support::expect_point(support::curve_point(curves[0], 0.5).data(), c.middle, 1e-6);
    }
}

TEST_F(CurveTrimTest, DeletingTheFeatureDeletesItsCurvesOnly) {
    const tag_t line = support::new_line(0, 0, 0, 100, 0, 0);
    const tag_t a = support::new_point(20, 0, 0);
    const tag_t b = support::new_point(70, 0, 0);
    const HM_CURVE_trim_t t = record(line, a, b, {0, 0, 0}, HM_TRIM_KEEP_OUTSIDE);
    tag_t feature = 0;
    ASSERT_EQ(HM_CURVE_create_trim(&t, &feature), 0);
    char* kind = nullptr;
    ASSERT_EQ(HM_MODL_ask_feat_type(feature, &kind), 0);
    EXPECT_STREQ(kind, "TRIM");
    SM_free(kind);
    const std::vector<tag_t> curves = curves_of(feature);
    ASSERT_EQ(curves.size(), 2u);
    ASSERT_EQ(HM_OBJ_delete_object(feature), 0);
    for (tag_t c : curves) EXPECT_EQ(HM_OBJ_ask_status(c), HM_OBJ_DELETED);
    for (tag_t kept : {line, a, b}) EXPECT_EQ(HM_OBJ_ask_status(kept), HM_OBJ_ALIVE);
}

TEST_F(CurveTrimTest, RefusedInputBuildsNothing) {
    const tag_t line = support::new_line(0, 0, 0, 100, 0, 0);
    const tag_t a = support::new_point(20, 0, 0);
    const tag_t b = support::new_point(70, 0, 0);
    const tag_t beyond = host_testing::make_plane({150, 0, 0}, {1, 0, 0});
    const tag_t parallel = host_testing::make_plane({0, 10, 0}, {0, 1, 0});
    const tag_t x50 = host_testing::make_plane({50, 0, 0}, {1, 0, 0});
    const tag_t other = support::new_line(0, 5, 0, 10, 5, 0);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        const char* name;
        HM_CURVE_trim_t trim;
        int code;
    };
    std::vector<Case> cases = {
        {"unknown string", record(987654, a, b, {0, 0, 0}, 8), HM_ERR_INVALID_TAG},
        {"unknown bound", record(line, a, 987654, {0, 0, 0}, 8), HM_ERR_INVALID_TAG},
        {"a plane as the string", record(x50, a, b, {0, 0, 0}, 8), HM_ERR_WRONG_TYPE},
        {"a line as a bound", record(line, a, other, {0, 0, 0}, 8), HM_ERR_WRONG_TYPE},
        {"extension option 1", record(line, a, b, {0, 0, 0}, 8, 1), HM_ERR_BAD_ARGUMENT},
        {"extension option 4", record(line, a, b, {0, 0, 0}, 8, 4), HM_ERR_BAD_ARGUMENT},
        {"trim option 7", record(line, a, b, {0, 0, 0}, 7), HM_ERR_BAD_ARGUMENT},
        {"help point not a number", record(line, a, b, {nan, 0, 0}, 8), HM_ERR_BAD_ARGUMENT},
        {"plane beyond the unextended line", record(line, a, beyond, {0, 0, 0}, 8), HM_ERR_GEOMETRY},
        {"plane parallel to the line", record(line, a, parallel, {0, 0, 0}, 8), HM_ERR_GEOMETRY},
        {"both bounds at one point", record(line, x50, support::new_point(50, 3, 0), {0, 0, 0}, 8),
         HM_ERR_GEOMETRY},
    };
    HM_CURVE_trim_t negative = record(line, a, b, {0, 0, 0}, 8);
    negative.distance_tolerance = -1.0;
    cases.push_back({"negative tolerance", negative, HM_ERR_BAD_ARGUMENT});
    const int objects = host_testing::count_objects();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        tag_t feature = 99;
        EXPECT_EQ(HM_CURVE_create_trim(&c.trim, &feature), c.code);
        EXPECT_EQ(feature, 0u);
        EXPECT_EQ(host_testing::count_objects(), objects);
    }
    tag_t feature = 99;
    EXPECT_EQ(HM_CURVE_create_trim(nullptr, &feature), HM_ERR_NULL_POINTER);
    EXPECT_EQ(feature, 0u);
    EXPECT_EQ(HM_CURVE_create_trim(&cases[0].trim, nullptr), HM_ERR_NULL_POINTER);
}

}  // namespace
