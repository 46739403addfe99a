// Instrument-panel visibility: the moa, mustache and hotdog outlines on a
// plane, and the analysis driver's codes and record.
#include "hm_vd_vision.h"
#include "vision_fixtures.h"
#include "vision_ipv.h"

#include "hm_vd_curve.h"
#include "hm_vd.h"
#include "omvra.h"
#include "quillon.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>

namespace {

using host_testing::Point3;
constexpr double kPi = 3.14159265358979323846;

class IpvOutlineTest : public vision_test::IpvHostTest {
protected:
    // A spherical eyellipse of radius r about the origin, outer eyes at y = -+30.
    static vd_eyellipse_t Sphere(double r) {
        vd_eyellipse_t e{};
        const double centroids[3][3] = {{0, -30, 0}, {0, 0, 0}, {0, 30, 0}};
        for (int i = 0; i < 3; ++i)
            for (int k = 0; k < 3; ++k) {
                e.centroid[i][k] = centroids[i][k];
                e.axis_dir[i][k] = i == k ? 1.0 : 0.0;
            }
        for (double& l : e.axis_length) l = 2 * r;
        return e;
    }
    // Largest and smallest distance of the curves' points from a centre.
    static void Radii(const std::vector<tag_t>& curves, const double c[3], double* lo, double* hi) {
        *lo = 1e300;
        *hi = -1e300;
        for (tag_t t : curves)
            for (int i = 0; i <= 40; ++i) {
                double p[3];
                ASSERT_EQ(HM_VD_CURVE_ask_point_on_curve(t, i / 40.0, p), 0);
                const double d = std::sqrt((p[0] - c[0]) * (p[0] - c[0]) + (p[1] - c[1]) * (p[1] - c[1]) +
                                           (p[2] - c[2]) * (p[2] - c[2]));
                *lo = std::min(*lo, d);
                *hi = std::max(*hi, d);
            }
    }
    static bool Logged(const std::string& text) {
        const auto& log = host_testing::syslog();
        return std::any_of(log.begin(), log.end(), [&](const std::string& l) { return l == text; });
    }
};

TEST_F(IpvOutlineTest, OnAxisTargetGivesACircularMoaBySimilarTriangles) {
    // Eye sphere of radius 100, target 1000 ahead (-x), plane 2000 ahead: the
    // tangent cone from the target has tan(a) = 100 / sqrt(1000^2 - 100^2),
    // and meets the plane, 1000 beyond the target, in a circle of 1000 tan(a).
    vd_eyellipse_t e = Sphere(100);
    const double target[3] = {-1000, 0, 0};
    const tag_t plane = host_testing::make_plane({-2000, 0, 0}, {1, 0, 0});
    tag_t point = 0, moa = 0;
    ASSERT_EQ(HM_VD_ipv_create_moa_on_plane(&e, target, plane, &point, &moa), 0);
    double p[3];
    ASSERT_EQ(HM_CURVE_ask_point_data(point, p), 0);
    EXPECT_NEAR(p[0], -2000, 1e-9);
    EXPECT_NEAR(p[1], 0, 1e-9);
    HM_CURVE_conic_t conic{};
    ASSERT_EQ(HM_CURVE_ask_conic_data(moa, &conic), 0);
    const double radius = 1000 * 100 / std::sqrt(1000.0 * 1000 - 100 * 100);
    EXPECT_NEAR(conic.k1, radius, 1e-6);
    EXPECT_NEAR(conic.k2, radius, 1e-6);
    double lo = 0, hi = 0;
    const double c[3] = {-2000, 0, 0};
    Radii({moa}, c, &lo, &hi);
    EXPECT_NEAR(lo, radius, 1e-6);
    EXPECT_NEAR(hi, radius, 1e-6);
    // No eyellipse: nothing made.
    EXPECT_EQ(HM_VD_ipv_create_moa_on_plane(nullptr, target, plane, &point, &moa), -1);
    EXPECT_EQ(point, 0u);
    EXPECT_EQ(moa, 0u);
}

TEST_F(IpvOutlineTest, MustacheOfCurvesInThePlaneIsTheirCopies) {
    const tag_t plane = host_testing::make_plane({-1000, 0, 0}, {1, 0, 0});
    const tag_t a = host_testing::make_line({-1000, 0, 0}, {-1000, 50, 0});
    const tag_t b = host_testing::make_line({-1000, 50, 0}, {-1000, 50, 40});
    hm_list_p_t curves = support::make_list({a, b});
    const double e1[3] = {0, -30, 0}, e2[3] = {0, 30, 0};
    hm_list_p_t mustache = nullptr;
    ASSERT_EQ(HM_VD_ipv_create_mustache_curve_on_plane(e1, e2, curves, plane, &mustache), 0);
    const std::vector<tag_t> copies = support::list_items(mustache);
    ASSERT_EQ(copies.size(), 2u);
    EXPECT_NE(copies[0], a);
    double p[3];
    ASSERT_EQ(HM_VD_CURVE_ask_point_on_curve(copies[1], 1.0, p), 0);
    EXPECT_NEAR(p[2], 40, 1e-9);
    EXPECT_EQ(HM_VD_ipv_create_mustache_curve_on_plane(e1, e2, nullptr, plane, &mustache), -1);
    HM_MODL_delete_list(&mustache);
    HM_MODL_delete_list(&curves);
}

// The circle of radius 50 about (-1000, 0, 0) in the plane x = -1000 as a
// rational quadratic spline: nine poles round its square, the corners
// weighted 1 / sqrt(2).
tag_t RationalCircle() {
    const double w = std::sqrt(0.5);
    const double corners[9][3] = {{50, 0, w}, {50, 50, w}, {0, 50, w}, {-50, 50, w}, {-50, 0, w},
                                  {-50, -50, w}, {0, -50, w}, {50, -50, w}, {50, 0, w}};
    std::vector<double> poles;
    for (int i = 0; i < 9; ++i) {
        const double weight = i % 2 ? w : 1.0;
        for (double c : {-1000.0, corners[i][0], corners[i][1]}) poles.push_back(c * weight);
        poles.push_back(weight);
    }
    const double knots[12] = {0, 0, 0, 0.25, 0.25, 0.5, 0.5, 0.75, 0.75, 1, 1, 1};
    tag_t spline = 0;
    EXPECT_EQ(HM_CURVE_create_spline(9, 3, knots, poles.data(), &spline), 0);
    return spline;
}

TEST_F(IpvOutlineTest, MustacheOfAnOffPlaneOutlineIsTheRegionItsTwoEyeCastsShare) {
    // An outline about (-1000, 0, 0), halfway between the eyes (x = 0, y =
    // -+30) and the plane x = -2000: each eye casts it twice as large about
    // y = +-30 (the eye mirrored through the outline's centre). A circle of
    // radius 50 casts circles of radius 100 that share a lens (its tips where
    // they cross, y = 0, z = +-sqrt(100^2 - 30^2); each arc turns
    // 2 atan(sqrt(100^2 - 30^2) / 30)).
    // A square of side 100 casts squares of side 200 that share a rectangle
    // 140 wide and 200 high. The arc's sight cone is cut by the plane; the
    // spline and the lines are cast pole by pole.
    const double tip = std::sqrt(100.0 * 100 - 30 * 30);
    const double lens = 2 * 2 * std::atan2(tip, 30.0) * 100;
    auto in_circle = [](const double p[3], double y) { return std::hypot(p[1] - y, p[2]) <= 100 + 1e-6; };
    auto in_square = [](const double p[3], double y) {
        return std::fabs(p[1] - y) <= 100 + 1e-6 && std::fabs(p[2]) <= 100 + 1e-6;
    };
    struct Case {
        const char* name;
        std::function<std::vector<tag_t>()> outline;
        std::function<bool(const double*, double)> inside_cast;
        double top, length, tolerance;
    } cases[] = {
        {"circle",
         [] {
             return std::vector<tag_t>{
                 host_testing::make_arc({-1000, 0, 0}, 50.0, 0.0, 2 * kPi, {0, 1, 0}, {0, 0, 1})};
         },
         in_circle, tip, lens, 0.05},
        {"rational spline circle", [] { return std::vector<tag_t>{RationalCircle()}; }, in_circle, tip, lens, 1e-6},
        {"square of lines",
         [] {
             return std::vector<tag_t>{host_testing::make_line({-1000, -50, -50}, {-1000, 50, -50}),
                                       host_testing::make_line({-1000, 50, -50}, {-1000, 50, 50}),
                                       host_testing::make_line({-1000, 50, 50}, {-1000, -50, 50}),
                                       host_testing::make_line({-1000, -50, 50}, {-1000, -50, -50})};
         },
         in_square, 100.0, 2 * (140.0 + 200.0), 1e-6},
    };
    const tag_t plane = host_testing::make_plane({-2000, 0, 0}, {1, 0, 0});
    const double e1[3] = {0, -30, 0}, e2[3] = {0, 30, 0};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        hm_list_p_t curves = support::make_list(c.outline());
        hm_list_p_t mustache = nullptr;
        ASSERT_EQ(HM_VD_ipv_create_mustache_curve_on_plane(e1, e2, curves, plane, &mustache), 0);
        const std::vector<tag_t> region = support::list_items(mustache);
        ASSERT_FALSE(region.empty());
        // Every point lies in the plane within both casts; the highest is the tip.
        double top = -1e300, length = 0.0;
        for (tag_t t : region) {
            length += support::curve_length(t);
            for (int i = 0; i <= 200; ++i) {
                double p[3];
                ASSERT_EQ(HM_VD_CURVE_ask_point_on_curve(t, i / 200.0, p), 0);
                EXPECT_NEAR(p[0], -2000, 1e-6);
                EXPECT_TRUE(c.inside_cast(p, 30.0) && c.inside_cast(p, -30.0)) << p[1] << ", " << p[2];
                top = std::max(top, p[2]);
            }
        }
        EXPECT_NEAR(top, c.top, c.tolerance);
        EXPECT_NEAR(length, c.length, 20 * c.tolerance);
        // No bounded sheet of the construction is left in the part.
        EXPECT_EQ(HM_MODL_update(), 0);
        int bodies = 0;
        for (tag_t b = HM_OBJ_cycle_objs_in_part(part_, HM_solid_type, 0); b;
             b = HM_OBJ_cycle_objs_in_part(part_, HM_solid_type, b))
            ++bodies;
        EXPECT_EQ(bodies, 0);
        HM_MODL_delete_list(&mustache);
        HM_MODL_delete_list(&curves);
    }
}

TEST_F(IpvOutlineTest, HotdogOfACircleMoaIsTheMustacheOffsetByTheRadiusInPlace) {
    // Mustache: a circle of radius 40 about (-2000, 10, 5); moa: a circle of
    // radius 25 about the plane point (-2000, 0, 0), the sight point elsewhere.
    const tag_t mustache_circle =
        host_testing::make_arc({-2000, 10, 5}, 40.0, 0.0, 2 * kPi, {0, 1, 0}, {0, 0, 1});
    hm_list_p_t mustache = support::make_list({mustache_circle});
    const tag_t moa = host_testing::make_ellipse({-2000, 0, 0}, 25.0, 25.0, {0, 1, 0}, {0, 0, 1});
    const tag_t sight = host_testing::make_point({-2000, 7, -3});
    const double threshold = 0.0;
    hm_list_p_t hotdog = nullptr;
    ASSERT_EQ(HM_VD_ipv_create_hotdog_curve_on_plane(moa, mustache, sight, &threshold, &hotdog), 0);
    double lo = 0, hi = 0;
    const double c[3] = {-2000, 10, 5};
    Radii(support::list_items(hotdog), c, &lo, &hi);
    EXPECT_NEAR(lo, 65.0, 1e-3);
    EXPECT_NEAR(hi, 65.0, 1e-3);
    tag_t wcs = 1;
    EXPECT_EQ(HM_CSYS_ask_wcs(&wcs), 0);
    EXPECT_EQ(wcs, 0u);
    HM_MODL_delete_list(&hotdog);
    HM_MODL_delete_list(&mustache);
}

TEST_F(IpvOutlineTest, HotdogOfAnEllipseMoaSweepsItsAxes) {
    // Moa semi-axes 30 (along y) and 15 (along z) about the sight point: the
    // mustache, a circle of radius 40 about the sight point, is stretched 2x
    // along z, offset by 30 and unstretched: 70 along y, 40 + 15 = 55 along z.
    const tag_t mustache_circle = host_testing::make_arc({-2000, 0, 0}, 40.0, 0.0, 2 * kPi, {0, 1, 0}, {0, 0, 1});
    hm_list_p_t mustache = support::make_list({mustache_circle});
    const tag_t moa = host_testing::make_ellipse({-2000, 0, 0}, 30.0, 15.0, {0, 1, 0}, {0, 0, 1});
    const tag_t sight = host_testing::make_point({-2000, 0, 0});
    const double threshold = 0.0;
    hm_list_p_t hotdog = nullptr;
    ASSERT_EQ(HM_VD_ipv_create_hotdog_curve_on_plane(moa, mustache, sight, &threshold, &hotdog), 0);
    double box[6] = {1e300, 1e300, 1e300, -1e300, -1e300, -1e300};
    for (tag_t t : support::list_items(hotdog)) {
        double b[6];
        ASSERT_EQ(HM_MODL_ask_bounding_box(t, b), 0);
        for (int k = 0; k < 3; ++k) {
            box[k] = std::min(box[k], b[k]);
            box[k + 3] = std::max(box[k + 3], b[k + 3]);
        }
    }
    EXPECT_NEAR(box[4], 70.0, 0.05);
    EXPECT_NEAR(box[1], -70.0, 0.05);
    EXPECT_NEAR(box[5], 55.0, 0.05);
    EXPECT_NEAR(box[2], -55.0, 0.05);
    HM_MODL_delete_list(&hotdog);
    HM_MODL_delete_list(&mustache);
}

TEST_F(IpvOutlineTest, DegenerateMoaGivesTheMustacheItself) {
    const tag_t mustache_circle = host_testing::make_arc({-2000, 0, 0}, 40.0, 0.0, 2 * kPi, {0, 1, 0}, {0, 0, 1});
    hm_list_p_t mustache = support::make_list({mustache_circle});
    const tag_t moa = host_testing::make_ellipse({-2000, 0, 0}, 1e-4, 1e-4, {0, 1, 0}, {0, 0, 1});
    const tag_t sight = host_testing::make_point({-2000, 0, 0});
    const double threshold = 0.0;
    hm_list_p_t hotdog = nullptr;
    ASSERT_EQ(HM_VD_ipv_create_hotdog_curve_on_plane(moa, mustache, sight, &threshold, &hotdog), 0);
    EXPECT_EQ(support::list_items(hotdog), std::vector<tag_t>{mustache_circle});
    // A moa that is no ellipse is refused.
    hm_list_p_t none = nullptr;
    EXPECT_EQ(HM_VD_ipv_create_hotdog_curve_on_plane(mustache_circle, mustache, sight, &threshold, &none), -1);
    EXPECT_EQ(none, nullptr);
    HM_MODL_delete_list(&hotdog);
    HM_MODL_delete_list(&mustache);
}

TEST_F(IpvOutlineTest, TargetOnThePlaneGivesAPointMoaAndTheMustacheAsHotdog) {
    // The target lies in the plane x = -1000: every tangent line from the
    // eyes through it meets the plane at the target, so the moa is a point
    // there (an ellipse within the distance tolerance) and the hotdog is the
    // mustache of the outline (a circle of radius 40 in the plane).
    vd_eyellipse_t e = Sphere(100);
    const double target[3] = {-1000, 0, 0};
    const tag_t plane = host_testing::make_plane({-1000, 0, 0}, {1, 0, 0});
    tag_t point = 0, moa = 0;
    ASSERT_EQ(HM_VD_ipv_create_moa_on_plane(&e, target, plane, &point, &moa), 0);
    ASSERT_NE(moa, 0u);
    double tolerance = 0.0;
    HM_MODL_ask_distance_tolerance(&tolerance);
    double lo = 0, hi = 0;
    Radii({moa}, target, &lo, &hi);
    EXPECT_LE(hi, tolerance);
    const tag_t outline = host_testing::make_arc({-1000, 0, 0}, 40.0, 0.0, 2 * kPi, {0, 1, 0}, {0, 0, 1});
    hm_list_p_t curves = support::make_list({outline});
    double sight[3];
    hm_list_p_t moas = nullptr, mustache = nullptr, hotdog = nullptr;
    ASSERT_EQ(HM_VD_ipv_create_hotdog_process(&e, curves, target, plane, sight, &moas, &mustache, &hotdog), 0);
    EXPECT_NEAR(support::distance({sight[0], sight[1], sight[2]}, {-1000, 0, 0}), 0.0, 1e-9);
    const std::vector<tag_t> kept = support::list_items(hotdog);
    ASSERT_EQ(kept.size(), 1u);
    Radii(kept, target, &lo, &hi);
    EXPECT_NEAR(lo, 40.0, 1e-6);
    EXPECT_NEAR(hi, 40.0, 1e-6);
    for (hm_list_p_t* l : {&moas, &mustache, &hotdog, &curves}) HM_MODL_delete_list(l);
}

TEST_F(IpvOutlineTest, AnalysisWithoutAWheelPlaneKeepsThePanelHalfAndFailsWithMinusOne) {
    vd_eyellipse_t e = Sphere(100);
    const double origin[3] = {0, 0, 0}, matrix[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    const double target[3] = {-1000, 0, 0}, orient[3] = {1, 0, 0};
    const tag_t ip = host_testing::make_plane({-2000, 0, 0}, {1, 0, 0});
    const tag_t square[4] = {host_testing::make_line({-2000, -60, -60}, {-2000, 60, -60}),
                             host_testing::make_line({-2000, 60, -60}, {-2000, 60, 60}),
                             host_testing::make_line({-2000, 60, 60}, {-2000, -60, 60}),
                             host_testing::make_line({-2000, -60, 60}, {-2000, -60, -60})};
    hm_list_p_t outline = support::make_list({square[0], square[1], square[2], square[3]});
    moa_hotdog_output_t* out = nullptr;
    EXPECT_EQ(HM_VD_ipv_sw_ss_analysis(origin, matrix, &e, outline, target, orient, ip, 0, nullptr, nullptr, 0, &out),
              -1);
    ASSERT_NE(out, nullptr);
    EXPECT_NE(out->ip_point, 0u);
    EXPECT_EQ(support::list_items(out->ip_moa).size(), 1u);
    EXPECT_EQ(support::list_items(out->ip_mustache).size(), 4u);
    EXPECT_FALSE(support::list_items(out->ip_hotdog).empty());
    EXPECT_EQ(out->sw_point, 0u);
    EXPECT_EQ(out->sw_moa, nullptr);
    EXPECT_EQ(out->sw_hotdog, nullptr);
    EXPECT_EQ(out->objects_1_points, nullptr);
    EXPECT_TRUE(Logged("fail to create hotdog at sw plane"));
    hm_list_p_t* lists[] = {&out->ip_moa, &out->ip_mustache, &out->ip_hotdog};
    for (hm_list_p_t* l : lists) HM_MODL_delete_list(l);
    SM_free(out);
    HM_MODL_delete_list(&outline);
}

// The whole analysis with a square outline of side 120 on the wheel plane x
// = -1000 (the target on it) and the panel plane x = -2000. Halfway between
// the planes the moa cone is about 50 off the axis (the mustache and hotdog
// faces farther out). Of two cubes of side 20 there, the one across the
// cone meets it: the curves found lie on that cube, none on the one far
// aside.
TEST_F(IpvOutlineTest, AnalysisFindsTheCurvesOfAnObjectAcrossTheVisionFacesOnly) {
    vd_eyellipse_t e = Sphere(100);
    const double origin[3] = {0, 0, 0}, matrix[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    const double target[3] = {-1000, 0, 0}, orient[3] = {1, 0, 0};
    const tag_t ip = host_testing::make_plane({-2000, 0, 0}, {1, 0, 0});
    const tag_t sw = host_testing::make_plane({-1000, 0, 0}, {1, 0, 0});
    hm_list_p_t outline = support::make_list({host_testing::make_line({-1000, -60, -60}, {-1000, 60, -60}),
                                              host_testing::make_line({-1000, 60, -60}, {-1000, 60, 60}),
                                              host_testing::make_line({-1000, 60, 60}, {-1000, -60, 60}),
                                              host_testing::make_line({-1000, -60, 60}, {-1000, -60, -60})});
    const double across[3] = {-1510, 40, -10}, aside[3] = {-1510, 500, -10};
    const double side[3] = {20, 20, 20};
    hm_list_p_t objects =
        support::make_list({host_testing::make_box(across, side), host_testing::make_box(aside, side)});
    moa_hotdog_output_t* out = nullptr;
    ASSERT_EQ(
        HM_VD_ipv_sw_ss_analysis(origin, matrix, &e, outline, target, orient, ip, sw, objects, nullptr, 1, &out), 0);
    ASSERT_NE(out, nullptr);
    const std::vector<tag_t> curves = support::list_items(out->objects_1_curves);
    EXPECT_FALSE(curves.empty());
    for (tag_t t : curves)
        for (int i = 0; i <= 10; ++i) {
            double p[3];
            ASSERT_EQ(HM_VD_CURVE_ask_point_on_curve(t, i / 10.0, p), 0);
            EXPECT_TRUE(p[0] >= -1510 - 1e-3 && p[0] <= -1490 + 1e-3 && p[1] >= 40 - 1e-3 && p[1] <= 60 + 1e-3 &&
                        std::fabs(p[2]) <= 10 + 1e-3)
                << p[0] << ", " << p[1] << ", " << p[2];
        }
    hm_list_p_t* lists[] = {&out->ip_moa, &out->ip_mustache, &out->ip_hotdog, &out->sw_moa, &out->sw_mustache,
                            &out->sw_hotdog, &out->objects_1_points, &out->objects_1_curves};
    for (hm_list_p_t* l : lists) HM_MODL_delete_list(l);
    SM_free(out);
    HM_MODL_delete_list(&objects);
    HM_MODL_delete_list(&outline);
}

TEST_F(IpvOutlineTest, ProcessRefusesMissingInputWithNullLists) {
    vd_eyellipse_t e = Sphere(100);
    const double target[3] = {-1000, 0, 0};
    double sight[3];
    hm_list_p_t moa = nullptr, mustache = nullptr, hotdog = nullptr;
    hm_list_p_t curves = support::make_list({host_testing::make_line({0, 0, 0}, {1, 0, 0})});
    EXPECT_EQ(HM_VD_ipv_create_hotdog_process(&e, curves, target, 0, sight, &moa, &mustache, &hotdog), -1);
    EXPECT_EQ(HM_VD_ipv_create_hotdog_process(nullptr, curves, target, 5, sight, &moa, &mustache, &hotdog), -1);
    EXPECT_EQ(moa, nullptr);
    EXPECT_EQ(hotdog, nullptr);
    HM_MODL_delete_list(&curves);
}

}  // namespace
