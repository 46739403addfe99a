// The 2003 release's instrument-panel utilities, checked against geometry
// worked out apart from the code, and its instrument-panel tool running an
// analysis over them.
#include "hm_vd.h"
#include "hm_vd_curve.h"
#include "hm_vd_vision.h"
#include "release2003/ipv.h"
#include "vision_ipv.h"

#include "examples/eyellipse_2003.h"
#include "tests/vision/vision_fixtures.h"

#include "host_fixture.h"
#include "test_helpers.h"

#include "omvra.h"
#include "quillon.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <string>
#include <vector>

namespace {

using host_testing::Point3;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kTwoPi = 6.283185307179586;

class Release2003IpvTest : public vision_test::IpvHostTest {
protected:
    // An eyellipse record as the 2003 initialiser leaves it: semi-axes a, b,
    // c along the given axes, centroids 30 to either side of the middle one.
    static vd_eyellipse_t Record(const Point3& centre, const Point3& u, const Point3& v, double a, double b,
                                 double c) {
        vd_eyellipse_t e{};
        const Point3 w = {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]};
        const Point3* axes[3] = {&u, &v, &w};
        for (int i = 0; i < 3; ++i)
            for (int k = 0; k < 3; ++k) {
                e.centroid[i][k] = centre[k] + (k == 1 ? 30.0 * (i - 1) : 0.0);
                e.axis_dir[i][k] = (*axes[i])[k];
            }
        e.axis_length[0] = a;
        e.axis_length[1] = b;
        e.axis_length[2] = c;
        return e;
    }
    static double Dot(const double* a, const double* b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
    static tag_t Wcs() {
        tag_t wcs = 0;
        EXPECT_EQ(HM_CSYS_ask_wcs(&wcs), 0);
        return wcs;
    }
};

// ---- the eyellipse initialiser ----

TEST_F(Release2003IpvTest, InitialiserHalvesTheAxisLengthsWhereTheCurrentOneKeepsThem) {
    host_testing::EyellipseSpec spec;
    spec.centroids = {{{2743, -402.5, 1188}, {2743, -370, 1188}, {2743, -337.5, 1188}}};
    spec.axis_dirs = {{{0.978, 0, -0.208}, {0, 1, 0}, {0.208, 0, 0.978}}};
    spec.lengths = {200, 100, 80};
    ASSERT_NE(host_testing::make_eyellipse("EYE", spec), 0u);
    ASSERT_EQ(host_testing::set_rule("root:EYE:name:", "\"EYE_2003\""), 0);
    vd_eyellipse_t current{}, older{};
    ASSERT_EQ(HM_VD_initialize_eyellipse("root:EYE:", -1, &current), 0);
    ASSERT_EQ(HM_VD_ipv_initialize_eyellipse("root:EYE:", &older), 0);
    const double semi[3] = {100, 50, 40};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_DOUBLE_EQ(current.axis_length[i], 2 * semi[i]);
        EXPECT_DOUBLE_EQ(older.axis_length[i], semi[i]);
        for (int k = 0; k < 3; ++k) {
            EXPECT_DOUBLE_EQ(older.centroid[i][k], spec.centroids[i][k]);
            EXPECT_DOUBLE_EQ(older.axis_dir[i][k], spec.axis_dirs[i][k]);
        }
    }
    EXPECT_STREQ(older.name, "EYE_2003");
}

TEST_F(Release2003IpvTest, InitialiserFillsOnlyWhatShortListsHoldAndCutsLongNames) {
    host_testing::EyellipseSpec spec;
    spec.lengths = {200, 100, 80};
    ASSERT_NE(host_testing::make_eyellipse("EYE", spec), 0u);
    ASSERT_EQ(host_testing::set_rule("root:EYE:Centroid_coords:", "{ Point(1,2,3) }"), 0);
    ASSERT_EQ(host_testing::set_rule("root:EYE:Axis_dir:", "{ Vector(0,1,0), Vector(-1,0,0) }"), 0);
    ASSERT_EQ(host_testing::set_rule("root:EYE:Axis_Length:", "{ 300, 120 }"), 0);
    const std::string long_name(200, 'n');
    ASSERT_EQ(host_testing::set_rule("root:EYE:name:", ("\"" + long_name + "\"").c_str()), 0);
    vd_eyellipse_t e{};
    for (int i = 0; i < 3; ++i) {
        for (int k = 0; k < 3; ++k) e.centroid[i][k] = e.axis_dir[i][k] = 7.0;
        e.axis_length[i] = 7.0;
    }
    ASSERT_EQ(HM_VD_ipv_initialize_eyellipse("root:EYE:", &e), 0);
    EXPECT_DOUBLE_EQ(e.centroid[0][2], 3.0);
    EXPECT_DOUBLE_EQ(e.centroid[1][0], 7.0);
    EXPECT_DOUBLE_EQ(e.axis_dir[1][0], -1.0);
    EXPECT_DOUBLE_EQ(e.axis_dir[2][2], 7.0);
    EXPECT_DOUBLE_EQ(e.axis_length[0], 150.0);
    EXPECT_DOUBLE_EQ(e.axis_length[1], 60.0);
    EXPECT_DOUBLE_EQ(e.axis_length[2], 7.0);
    EXPECT_EQ(std::strlen(e.name), 132u);
    ExpectNoLeaks();
}

TEST_F(Release2003IpvTest, InitialiserRefusesWithoutWritingTheRecord) {
    host_testing::EyellipseSpec spec;
    spec.lengths = {200, 100, 80};
    ASSERT_NE(host_testing::make_eyellipse("EYE", spec), 0u);
    ASSERT_NE(host_testing::make_eyellipse("NONAME", spec), 0u);
    ASSERT_NE(host_testing::make_eyellipse("FAR", spec), 0u);
    ASSERT_EQ(host_testing::set_rule("root:EYE:name:", "\"EYE\""), 0);
    ASSERT_EQ(host_testing::set_rule("root:FAR:name:", "\"FAR\""), 0);
    ASSERT_EQ(host_testing::set_rule("root:FAR:Axis_Length:", "{ 200, 1e13, 80 }"), 0);
    const struct {
        const char* what;
        const char* prefix;
        bool record;
        bool minus_one;
    } cases[] = {
        {"null prefix", nullptr, true, true},
        {"null record", "root:EYE:", false, true},
        {"no such instance", "root:NONE:", true, false},
        {"a rule, not an instance", "root:EYE:name:", true, false},
        {"no name rule", "root:NONAME:", true, false},
        {"a length beyond the model space", "root:FAR:", true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        vd_eyellipse_t e{};
        std::memset(&e, 0x5a, sizeof e);
        const vd_eyellipse_t before = e;
        const int r = HM_VD_ipv_initialize_eyellipse(c.prefix, c.record ? &e : nullptr);
        if (c.minus_one)
            EXPECT_EQ(r, -1);
        else
            EXPECT_NE(r, 0);
        EXPECT_EQ(std::memcmp(&e, &before, sizeof e), 0);
    }
    ExpectNoLeaks();
}

// The windshield example's driver: the 95th-percentile lengths as the
// current initialiser reads them, their halves as this release's does.
TEST_F(Release2003IpvTest, ExampleEyellipseIsReadAsLengthsAndAsSemiAxes) {
    vd_eyellipse_t record{};
    ASSERT_EQ(eyellipse_2003::make_and_report("EYE_2003", &record), 0);
    EXPECT_STREQ(record.name, "EYE_2003");
    const double semi[3] = {103.2, 30.15, 46.7};
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(record.axis_length[i], semi[i], 1e-12);
    EXPECT_NEAR(record.centroid[1][0], 2950.0, 1e-12);
    EXPECT_NEAR(record.centroid[2][1], -337.5, 1e-12);
}

// ---- curves ----

TEST_F(Release2003IpvTest, ChainOfCurvesIsTheOneLoopInLoopOrder) {
    // A triangle given out of order, one side reversed.
    const tag_t a = host_testing::make_line({0, 0, 0}, {10, 0, 0});
    const tag_t b = host_testing::make_line({0, 10, 0}, {10, 0, 0});
    const tag_t c = host_testing::make_line({0, 10, 0}, {0, 0, 0});
    hm_list_p_t curves = support::make_list({a, c, b});
    hm_list_p_t chain = nullptr;
    ASSERT_EQ(HM_VD_ipv_chain_curves(curves, &chain), 0);
    const std::vector<tag_t> loop = support::list_items(chain);
    ASSERT_EQ(loop.size(), 3u);
    // Neighbours in the chain share an end.
    for (size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const tag_t p = loop[i], q = loop[(i + 1) % 3];
        double best = 1e300;
        for (double s : {0.0, 1.0})
            for (double t : {0.0, 1.0})
                best = std::min(best, support::distance(support::curve_point(p, s), support::curve_point(q, t)));
        EXPECT_LT(best, 1e-9);
    }
    HM_MODL_delete_list(&chain);
    // A second triangle apart: two loops.
    HM_MODL_put_list_item(curves, host_testing::make_line({100, 0, 0}, {110, 0, 0}));
    HM_MODL_put_list_item(curves, host_testing::make_line({110, 0, 0}, {100, 10, 0}));
    HM_MODL_put_list_item(curves, host_testing::make_line({100, 10, 0}, {100, 0, 0}));
    chain = reinterpret_cast<hm_list_p_t>(1);
    EXPECT_EQ(HM_VD_ipv_chain_curves(curves, &chain), -1);
    EXPECT_EQ(chain, nullptr);
    EXPECT_EQ(HM_VD_ipv_chain_curves(nullptr, &chain), -1);
    EXPECT_EQ(chain, nullptr);
    HM_MODL_delete_list(&curves);
    ExpectNoLeaks();
}

TEST_F(Release2003IpvTest, SplineDegreeFollowsThePointCount) {
    double rows[4][3] = {{0, 0, 0}, {10, 5, 0}, {20, 0, 3}, {30, 4, 1}};
    double* points[4] = {rows[0], rows[1], rows[2], rows[3]};
    for (int n = 2; n <= 4; ++n) {
        SCOPED_TRACE(n);
        tag_t spline = 77;
        ASSERT_EQ(HM_VD_ipv_create_spline_thru_points(n, points, 0, &spline), 0);
        ASSERT_NE(spline, 0u);
        int poles = 0, order = 0;
        double *knots = nullptr, *weighted = nullptr;
        ASSERT_EQ(HM_CURVE_ask_spline_data(spline, &poles, &order, &knots, &weighted), 0);
        HM_free(knots);
        HM_free(weighted);
        EXPECT_EQ(order - 1, n - 1);
        for (int i = 0; i < n; ++i)
            EXPECT_NEAR(support::distance_to_curve(spline, {rows[i][0], rows[i][1], rows[i][2]}), 0.0, 1e-6);
    }
    ExpectNoLeaks();
}

TEST_F(Release2003IpvTest, TrimTakesTheArcLengthsOffBothEnds) {
    // A 100 mm line: 0.25 .. 0.75 keeps the middle 50 mm; 0 .. 1 keeps it all.
    const tag_t line = host_testing::make_line({0, 0, 0}, {100, 0, 0});
    ASSERT_EQ(HM_VD_ipv_trim_curve(line, 0.0, 1.0), 0);
    EXPECT_NEAR(support::curve_length(line), 100.0, 1e-9);
    ASSERT_EQ(HM_VD_ipv_trim_curve(line, 0.25, 0.75), 0);
    EXPECT_NEAR(support::curve_length(line), 50.0, 1e-6);
    support::expect_point(support::curve_point(line, 0.0), {25, 0, 0}, 1e-6);
    support::expect_point(support::curve_point(line, 1.0), {75, 0, 0}, 1e-6);
    // A spline runs unevenly in its parameter: the kept piece still starts and
    // ends at the points of the two parameters.
    const tag_t spline = host_testing::make_spline({{0, 0, 0}, {5, 20, 0}, {60, 0, 0}, {100, 30, 0}}, 3);
    const Point3 from = support::curve_point(spline, 0.2), to = support::curve_point(spline, 0.9);
    ASSERT_EQ(HM_VD_ipv_trim_curve(spline, 0.2, 0.9), 0);
    support::expect_point(support::curve_point(spline, 0.0), from, 1e-5);
    support::expect_point(support::curve_point(spline, 1.0), to, 1e-5);
}

// ---- points on planes ----

TEST_F(Release2003IpvTest, PlanePointsAreTheFootAndTheLineCrossing) {
    // Plane z = 2 with a normal of length 5.
    const double origin[3] = {7, -3, 2}, normal[3] = {0, 0, 5};
    const double p[3] = {3, 4, 10};
    double foot[3], d = 0.0;
    ASSERT_EQ(HM_VD_ipv_ask_perpendicular_point_on_plane(p, origin, normal, foot, &d), 0);
    support::expect_point(foot, {3, 4, 2});
    EXPECT_NEAR(d, 8.0, 1e-12);
    const struct {
        const char* what;
        Point3 p1, p2, expected;
    } cases[] = {
        {"oblique line", {0, 0, 10}, {1, 0, 9}, {8, 0, 2}},
        {"line along the normal", {5, 5, -4}, {5, 5, 0}, {5, 5, 2}},
        {"coincident points give the foot", {3, 4, 10}, {3, 4, 10.000001}, {3, 4, 2}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        double out[3];
        ASSERT_EQ(HM_VD_ipv_ask_intersect_point_on_plane(c.p1.data(), c.p2.data(), origin, normal, out), 0);
        support::expect_point(out, c.expected, 1e-9);
    }
    // A line parallel to the plane: no point, nothing written.
    const double q1[3] = {0, 0, 5}, q2[3] = {10, 3, 5};
    double out[3] = {42, 42, 42};
    EXPECT_EQ(HM_VD_ipv_ask_intersect_point_on_plane(q1, q2, origin, normal, out), -1);
    support::expect_point(out, {42, 42, 42});
}

// ---- frames, ellipse, ruled sheet, box comparison ----

TEST_F(Release2003IpvTest, MappingsGoThroughATemporaryFrameAndLeaveNothing) {
    // Frame at (10, 20, 30): x along absolute y, y along absolute -x.
    const double origin[3] = {10, 20, 30}, matrix[9] = {0, 1, 0, -1, 0, 0, 0, 0, 1};
    const tag_t wcs = Wcs();
    const int objects = host_testing::count_objects();
    const double p[3] = {7, 21, 32};
    double local[3], back[3], v[3], vb[3];
    ASSERT_EQ(ipv_map_point_to_csys(p, origin, matrix, local), 0);
    support::expect_point(local, {1, 3, 2}, 1e-9);
    ASSERT_EQ(ipv_map_point_from_csys(local, origin, matrix, back), 0);
    support::expect_point(back, {7, 21, 32}, 1e-9);
    const double along_y[3] = {0, 5, 0};
    ASSERT_EQ(ipv_map_vector_to_csys(along_y, origin, matrix, v), 0);
    support::expect_point(v, {1, 0, 0}, 1e-12);
    ASSERT_EQ(ipv_map_vector_from_csys(v, origin, matrix, vb), 0);
    support::expect_point(vb, {0, 1, 0}, 1e-12);
    // A matrix whose rows are not orthonormal: the host's refusal.
    const double skew[9] = {1, 0, 0, 1, 1, 0, 0, 0, 1};
    EXPECT_NE(ipv_map_point_to_csys(p, origin, skew, local), 0);
    EXPECT_EQ(Wcs(), wcs);
    EXPECT_EQ(host_testing::count_objects(), objects);
}

TEST_F(Release2003IpvTest, EllipseIsMadeInItsFrameOrGivesTheHostsCode) {
    const double centre[3] = {1, 2, 3}, x[3] = {0, 1, 0}, y[3] = {0, 0, 1};
    const double full[2] = {0, kTwoPi};
    const tag_t wcs = Wcs();
    tag_t ellipse = 77;
    ASSERT_EQ(ipv_create_ellipse(centre, 4, x, 2, y, full, &ellipse), 0);
    ASSERT_NE(ellipse, 0u);
    support::expect_point(support::curve_point(ellipse, 0.0), {1, 6, 3}, 1e-9);
    support::expect_point(support::curve_point(ellipse, 0.25), {1, 2, 5}, 1e-9);
    EXPECT_EQ(Wcs(), wcs);
    const int objects = host_testing::count_objects();
    const double reversed[2] = {1, 0};
    const struct {
        const char* what;
        double a;
        const double* limits;
        bool minus_one;
    } cases[] = {
        {"limits reversed", 4, reversed, true},
        {"a semi-axis not a number", kNaN, full, true},
        {"a negative semi-axis (the host's refusal)", -4, full, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ellipse = 77;
        const int r = ipv_create_ellipse(centre, c.a, x, 2, y, c.limits, &ellipse);
        if (c.minus_one)
            EXPECT_EQ(r, -1);
        else
            EXPECT_GT(r, 0);
        EXPECT_EQ(ellipse, 0u);
        EXPECT_EQ(Wcs(), wcs);
        EXPECT_EQ(host_testing::count_objects(), objects);
    }
}

TEST_F(Release2003IpvTest, RuledSheetRunsTheSecondStringAsTheFlagSays) {
    // Two 100 mm lines 10 mm apart, the second drawn backwards: run reversed,
    // the sheet is the 100 x 10 strip (10 cm^2); run as drawn, its rulings
    // cross at the middle and it is the bow tie of two triangles of base 100
    // and height 5 (5 cm^2).
    const double accuracy[11] = {0.99, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    double area[2];
    for (int same = 0; same < 2; ++same) {
        SCOPED_TRACE(same);
        hm_list_p_t first = support::make_list({host_testing::make_line({0, 0, 0}, {100, 0, 0})});
        hm_list_p_t second = support::make_list({host_testing::make_line({100, 10, 0}, {0, 10, 0})});
        tag_t sheet = 77;
        ASSERT_EQ(ipv_create_ruled_sheet(first, second, same == 1, &sheet), 0);
        ASSERT_NE(sheet, 0u);
        double props[47], stats[13];
        ASSERT_EQ(HM_MODL_ask_mass_props_3d(1, &sheet, 2, HM_MASS_UNITS_CM, 1.0, 0, accuracy, props, stats), 0);
        area[same] = props[0];
        HM_MODL_delete_list(&first);
        HM_MODL_delete_list(&second);
    }
    EXPECT_NEAR(area[0], 10.0, 1e-6);
    EXPECT_NEAR(area[1], 5.0, 1e-6);
}

TEST_F(Release2003IpvTest, BoxComparisonSignsTheXzAreaDifference) {
    const struct {
        const char* what;
        double a[6], b[6];
        int sign;
    } cases[] = {
        {"first larger", {0, 0, 0, 10, 1, 10}, {0, 0, 0, 10, 50, 9}, 1},
        {"second larger", {0, 0, 0, 10, 1, 9}, {0, 0, 0, 10, 1, 10}, -1},
        {"tie within 1e-5", {0, 0, 0, 10, 1, 10}, {0, 0, 0, 10, 1, 10.0000005}, 0},
        {"flat in x: no area either way", {5, 0, 0, 5, 80, 80}, {5, 0, 0, 5, 10, 10}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        int sign = 9;
        ipv_compare_box_xz_area(c.a, c.b, &sign);
        EXPECT_EQ(sign, c.sign);
    }
}

// ---- the eyellipse sections and the moa ----

// The tangent points from a point outside a section lie on the ellipse and
// on the polar line of the point: x px / a^2 + y py / b^2 = 1 in the
// section's frame. The eyellipse is tipped and off the origin; the point is
// off the section plane, which it is dropped onto.
TEST_F(Release2003IpvTest, SectionTangentPointsLieOnThePolarLineOfThePoint) {
    const double t = 12.0 * 3.14159265358979323846 / 180.0;
    const Point3 u = {std::cos(t), 0, std::sin(t)}, v = {0, 1, 0};
    const Point3 w = {-std::sin(t), 0, std::cos(t)};
    const Point3 centre = {2743, -370, 1188};
    vd_eyellipse_t e = Record(centre, u, v, 100, 50, 40);
    const double tol[2] = {1e-6, 1e-6};
    const struct {
        int section;
        Point3 first, second, normal;
        double a, b;
        double local[2];   // the point in the section's frame
    } cases[] = {
        {0, u, v, w, 100, 50, {300, 80}},
        {1, u, w, v, 100, 40, {-250, 60}},
        {2, w, v, u, 40, 50, {90, -20}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.section);
        double p[3];
        for (int k = 0; k < 3; ++k)
            p[k] = centre[k] + c.local[0] * c.first[k] + c.local[1] * c.second[k] + 35.0 * c.normal[k];
        int count = 0;
        double pts[2][3];
        ASSERT_EQ(ipv_ask_section_tangent_points(&e, 0, tol, p, c.section, &count, pts), 0);
        ASSERT_EQ(count, 2);
        for (int i = 0; i < 2; ++i) {
            SCOPED_TRACE(i);
            const double r[3] = {pts[i][0] - centre[0], pts[i][1] - centre[1], pts[i][2] - centre[2]};
            const double x = Dot(r, c.first.data()), y = Dot(r, c.second.data());
            EXPECT_NEAR(Dot(r, c.normal.data()), 0.0, 1e-6);
            EXPECT_NEAR(x * x / (c.a * c.a) + y * y / (c.b * c.b), 1.0, 1e-9);
            EXPECT_NEAR(x * c.local[0] / (c.a * c.a) + y * c.local[1] / (c.b * c.b), 1.0, 1e-9);
        }
    }
    // A point inside the section ellipse has no tangent.
    const double inside[3] = {centre[0] + 10, centre[1] + 5, centre[2]};
    int count = 5;
    double pts[2][3];
    EXPECT_EQ(ipv_ask_section_tangent_points(&e, 0, tol, inside, 0, &count, pts), -1);
    EXPECT_EQ(count, 0);
}

// The tool's support point reads the record's semi-axes as they are: the
// point of outward normal -u, v or w lies that semi-axis from the centre.
TEST_F(Release2003IpvTest, SupportPointsLieASemiAxisFromTheCentre) {
    const Point3 centre = {2743, -370, 1188};
    vd_eyellipse_t e = Record(centre, {0, 1, 0}, {-1, 0, 0}, 100, 50, 40);
    const struct {
        Point3 direction, expected;
    } cases[] = {
        {{0, -1, 0}, {2743, -470, 1188}},
        {{-3, 0, 0}, {2693, -370, 1188}},
        {{0, 0, 1}, {2743, -370, 1228}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected[0] + c.expected[1] + c.expected[2]);
        double d[3] = {c.direction[0], c.direction[1], c.direction[2]}, p[3];
        ASSERT_EQ(HM_VD_ipv_ask_eyellipse_tangent_point1(&e, 0, d, p), 0);
        support::expect_point(p, c.expected, 1e-9);
    }
}

TEST_F(Release2003IpvTest, MoaIsTheConeCircleAndOrdersItsAxisByAbsoluteY) {
    // A sphere of radius 100 (semi-axes as the 2003 record holds them), the
    // point 1000 ahead (-x), the plane 2000 ahead: the tangent cone from the
    // point meets the plane, 1000 beyond it, in a circle of 1000 tan(a) with
    // tan(a) = 100 / sqrt(1000^2 - 100^2).
    vd_eyellipse_t e = Record({0, 0, 0}, {1, 0, 0}, {0, 1, 0}, 100, 100, 100);
    const double seen[3] = {-1000, 0, 0};
    const tag_t plane = host_testing::make_plane({-2000, 0, 0}, {1, 0, 0});
    // A vehicle system turned half round: the moa of this release still reads
    // absolute coordinates.
    const double turned[9] = {-1, 0, 0, 0, -1, 0, 0, 0, 1};
    std::copy(turned, turned + 9, carvell::vision::ipv_vehicle_matrix);
    tag_t point = 0, moa = 0;
    ASSERT_EQ(ipv_create_moa_ellipse(&e, seen, plane, &point, &moa), 0);
    double p[3];
    ASSERT_EQ(HM_CURVE_ask_point_data(point, p), 0);
    support::expect_point(p, {-2000, 0, 0}, 1e-9);
    HM_CURVE_conic_t conic{};
    ASSERT_EQ(HM_CURVE_ask_conic_data(moa, &conic), 0);
    const double radius = 1000 * 100 / std::sqrt(1000.0 * 1000 - 100 * 100);
    EXPECT_NEAR(conic.k1, radius, 1e-6);
    EXPECT_NEAR(conic.k2, radius, 1e-6);
    // Its x axis runs from the projection of the tangent point of greater
    // absolute y (which lands at negative y beyond the point) to the other:
    // the ellipse starts at -y.
    support::expect_point(support::curve_point(moa, 0.0), {-2000, -radius, 0}, 1e-6);
    // A point inside the eyellipse: the point object is made, then the
    // tangents fail.
    const double inside[3] = {10, 0, 0};
    EXPECT_EQ(ipv_create_moa_ellipse(&e, inside, plane, &point, &moa), -1);
    EXPECT_NE(point, 0u);
    EXPECT_EQ(moa, 0u);
    ASSERT_EQ(HM_CURVE_ask_point_data(point, p), 0);
    support::expect_point(p, {-2000, 0, 0}, 1e-9);
    EXPECT_EQ(ipv_create_moa_ellipse(nullptr, seen, plane, &point, &moa), -1);
    EXPECT_EQ(point, 0u);
    EXPECT_EQ(moa, 0u);
}

// ---- the instrument-panel tool over the 2003 layer ----

// The panel half of the analysis on a 120 mm square outline in the panel
// plane, as the current release's tests run it, with the eyellipse record
// as this release's initialiser fills it (semi-axes): the moa is the cone
// circle, the mustache the four sides, the hotdog the square offset by the
// moa's radius.
TEST_F(Release2003IpvTest, ToolRunsThePanelHalfOfTheAnalysisOnSemiAxes) {
    vd_eyellipse_t e = Record({0, 0, 0}, {1, 0, 0}, {0, 1, 0}, 100, 100, 100);
    const double origin[3] = {0, 0, 0}, matrix[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    const double target[3] = {-1000, 0, 0}, orient[3] = {1, 0, 0};
    const tag_t ip = host_testing::make_plane({-2000, 0, 0}, {1, 0, 0});
    hm_list_p_t outline = support::make_list({host_testing::make_line({-2000, -60, -60}, {-2000, 60, -60}),
                                              host_testing::make_line({-2000, 60, -60}, {-2000, 60, 60}),
                                              host_testing::make_line({-2000, 60, 60}, {-2000, -60, 60}),
                                              host_testing::make_line({-2000, -60, 60}, {-2000, -60, -60})});
    moa_hotdog_output_t* out = nullptr;
    EXPECT_EQ(HM_VD_ipv_sw_ss_analysis(origin, matrix, &e, outline, target, orient, ip, 0, nullptr, nullptr, 0, &out),
              -1);
    ASSERT_NE(out, nullptr);
    const double radius = 1000 * 100 / std::sqrt(1000.0 * 1000 - 100 * 100);
    const std::vector<tag_t> moa = support::list_items(out->ip_moa);
    ASSERT_EQ(moa.size(), 1u);
    HM_CURVE_conic_t conic{};
    ASSERT_EQ(HM_CURVE_ask_conic_data(moa[0], &conic), 0);
    EXPECT_NEAR(conic.k1, radius, 1e-6);
    EXPECT_NEAR(conic.k2, radius, 1e-6);
    EXPECT_EQ(support::list_items(out->ip_mustache).size(), 4u);
    double lo[3] = {1e300, 1e300, 1e300}, hi[3] = {-1e300, -1e300, -1e300};
    const std::vector<tag_t> hotdog = support::list_items(out->ip_hotdog);
    ASSERT_FALSE(hotdog.empty());
    for (tag_t c : hotdog)
        for (int i = 0; i <= 64; ++i) {
            const Point3 q = support::curve_point(c, i / 64.0);
            for (int k = 0; k < 3; ++k) {
                lo[k] = std::min(lo[k], q[k]);
                hi[k] = std::max(hi[k], q[k]);
            }
        }
    EXPECT_NEAR(lo[0], -2000, 1e-6);
    EXPECT_NEAR(hi[0], -2000, 1e-6);
    for (int k = 1; k < 3; ++k) {
        SCOPED_TRACE(k);
        EXPECT_NEAR(lo[k], -60 - radius, 1e-3);
        EXPECT_NEAR(hi[k], 60 + radius, 1e-3);
    }
    hm_list_p_t* lists[] = {&out->ip_moa, &out->ip_mustache, &out->ip_hotdog};
    for (hm_list_p_t* l : lists) HM_MODL_delete_list(l);
    SM_free(out);
    HM_MODL_delete_list(&outline);
}

// ---- bad input ----

// Each export refuses what it cannot use with its code, before anything is
// built or allocated.
TEST_F(Release2003IpvTest, ExportsRefuseBadInputWithNothingBuilt) {
    const tag_t line = host_testing::make_line({0, 0, 0}, {100, 0, 0});
    double rows[3][3] = {{0, 0, 0}, {1, 0, 0}, {2, 1, 0}};
    double* points[3] = {rows[0], rows[1], rows[2]};
    double bad_row[3] = {0, kNaN, 0};
    double* with_nan[3] = {rows[0], bad_row, rows[2]};
    double* with_null[3] = {rows[0], nullptr, rows[2]};
    const double o[3] = {0, 0, 0}, n[3] = {0, 0, 1}, zero[3] = {0, 0, 0}, nan3[3] = {kNaN, 0, 0};
    const double p[3] = {1, 2, 3}, q[3] = {4, 5, 6};
    double out[3], d = 0.0;
    tag_t spline = 77;
    hm_list_p_t chain = nullptr;
    const struct {
        const char* what;
        std::function<int()> call;
    } cases[] = {
        {"spline: one point", [&] { return HM_VD_ipv_create_spline_thru_points(1, points, 0, &spline); }},
        {"spline: no rows", [&] { return HM_VD_ipv_create_spline_thru_points(3, nullptr, 0, &spline); }},
        {"spline: a null point", [&] { return HM_VD_ipv_create_spline_thru_points(3, with_null, 0, &spline); }},
        {"spline: a coordinate not a number", [&] { return ipv_create_spline_thru_points(3, with_nan, 0, 2, &spline); }},
        {"spline: no output", [&] { return ipv_create_spline_thru_points(3, points, 0, 2, nullptr); }},
        {"chain: no output", [&] { return HM_VD_ipv_chain_curves(nullptr, nullptr); }},
        {"trim: start after end", [&] { return HM_VD_ipv_trim_curve(line, 0.75, 0.25); }},
        {"trim: beyond the curve", [&] { return HM_VD_ipv_trim_curve(line, -0.5, 1.0); }},
        {"trim: not a number", [&] { return HM_VD_ipv_trim_curve(line, kNaN, 1.0); }},
        {"foot: zero normal", [&] { return HM_VD_ipv_ask_perpendicular_point_on_plane(p, o, zero, out, &d); }},
        {"foot: point not a number", [&] { return HM_VD_ipv_ask_perpendicular_point_on_plane(nan3, o, n, out, &d); }},
        {"foot: no distance", [&] { return HM_VD_ipv_ask_perpendicular_point_on_plane(p, o, n, out, nullptr); }},
        {"line: zero normal", [&] { return HM_VD_ipv_ask_intersect_point_on_plane(p, q, o, zero, out); }},
        {"line: point not a number", [&] { return HM_VD_ipv_ask_intersect_point_on_plane(nan3, q, o, n, out); }},
        {"line: no output", [&] { return HM_VD_ipv_ask_intersect_point_on_plane(p, q, o, n, nullptr); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const int objects = host_testing::count_objects();
        spline = 77;
        out[0] = out[1] = out[2] = 42.0;
        EXPECT_EQ(c.call(), -1);
        EXPECT_EQ(host_testing::count_objects(), objects);
        EXPECT_EQ(spline == 77 || spline == 0, true);
        support::expect_point(out, {42, 42, 42});
        EXPECT_EQ(chain, nullptr);
        ExpectNoLeaks();
    }
    EXPECT_NEAR(support::curve_length(line), 100.0, 1e-9);
}

}  // namespace
