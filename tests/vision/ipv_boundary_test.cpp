// Instrument-panel visibility: the visual indicator's boundary, the four
// indicator planes' cuts of a target trimmed between the planes across them.
#include "hm_vd_vision.h"
#include "vision_fixtures.h"

#include "omvra.h"
#include "quillon.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

using host_testing::Point3;

class IpvBoundaryTest : public HostTest {
protected:
    // The indicator planes of that eyellipse with all angles 0: y = 30
    // (plane 0), y = -30 (plane 1), z = -c (plane 2) and z = 0 (plane 3).
    static void IndicatorPlanes(double a, double b, double c, tag_t planes[4]) {
        vd_eyellipse_t e = vision_test::axis_ellipsoid(a, b, c);
        const double angles[4] = {0, 0, 0, 0};
        ASSERT_EQ(HM_VD_ipv_ask_visual_indicator_boundary_plane(&e, angles, planes), 0);
    }
};

TEST_F(IpvBoundaryTest, CutsOfAPlaneOrAWideSheetFormTheIndicatorRectangle) {
    // Semi-axes 100, 30, 40: in the target x = -600 the planes cut the
    // rectangle y -30..30, z -40..0. Its sides in plane order: the two
    // uprights (40 long), then the bottom and the top (60 long).
    struct Case {
        const char* name;
        bool sheet;
    };
    for (const Case& c : {Case{"plane target", false}, Case{"sheet target", true}}) {
        SCOPED_TRACE(c.name);
        tag_t planes[4] = {0, 0, 0, 0};
        IndicatorPlanes(100, 30, 40, planes);
        tag_t target = 0;
        if (c.sheet) {
            const double corner[3] = {-600, -100, -100}, u[3] = {0, 200, 0}, v[3] = {0, 0, 200};
            target = host_testing::make_planar_sheet(corner, u, v);
        } else {
            target = host_testing::make_plane({-600, 0, 0}, {1, 0, 0});
        }
        const int objects = host_testing::count_objects();
        const double help[3] = {-600, 0, -20};
        hm_list_p_t boundary = nullptr;
        ASSERT_EQ(HM_VD_ipv_create_visual_indicator_boundary(planes, target, 0.0, help, &boundary), 0);
        const std::vector<tag_t> curves = support::list_items(boundary);
        ASSERT_EQ(curves.size(), 4u);
        const double lengths[4] = {40, 40, 60, 60};
        const std::vector<Point3> corners = {{-600, -30, -40}, {-600, -30, 0}, {-600, 30, -40}, {-600, 30, 0}};
        for (size_t i = 0; i < curves.size(); ++i) {
            SCOPED_TRACE("side " + std::to_string(i));
            EXPECT_NEAR(support::curve_length(curves[i]), lengths[i], 1e-6);
            for (double end : {0.0, 1.0}) {
                const Point3 p = support::curve_point(curves[i], end);
                double nearest = 1e300;
                for (const Point3& q : corners) nearest = std::min(nearest, support::distance(p, q));
                EXPECT_NEAR(nearest, 0.0, 1e-6);
            }
        }
        // Only the four sides stay: the cuts and the trim features are gone.
        EXPECT_EQ(host_testing::count_objects(), objects + 4);
        HM_MODL_delete_list(&boundary);
    }
}

TEST_F(IpvBoundaryTest, OnACurvedTargetTheHelpPointPicksTheSideKept) {
    // A sphere of radius 100 about (-700, 0, -20). The plane y = 30 cuts it in
    // a circle of radius sqrt(100^2 - 30^2) about (-700, 30, -20), which
    // z = -40 and z = 0 each cross twice, 20 either side of its centre; the
    // planes z = -40 and z = 0 cut circles of radius sqrt(100^2 - 20^2) that
    // y = -+30 cross twice. The help point behind the sphere keeps the arcs
    // of the rear (smaller x) side.
    tag_t planes[4] = {0, 0, 0, 0};
    IndicatorPlanes(100, 30, 40, planes);
    const double centre[3] = {-700, 0, -20};
    const tag_t sphere = host_testing::make_sphere(centre, 200);
    const double help[3] = {-800, 0, -20};
    hm_list_p_t boundary = nullptr;
    ASSERT_EQ(HM_VD_ipv_create_visual_indicator_boundary(planes, sphere, 0.0, help, &boundary), 0);
    const std::vector<tag_t> curves = support::list_items(boundary);
    ASSERT_EQ(curves.size(), 4u);
    const double upright = std::sqrt(100.0 * 100 - 30 * 30), across = std::sqrt(100.0 * 100 - 20 * 20);
    struct Side {
        double length;
        Point3 middle;
    };
    const Side sides[4] = {
        {2 * upright * std::asin(20 / upright), {-700 - upright, 30, -20}},
        {2 * upright * std::asin(20 / upright), {-700 - upright, -30, -20}},
        {2 * across * std::asin(30 / across), {-700 - across, 0, -40}},
        {2 * across * std::asin(30 / across), {-700 - across, 0, 0}},
    };
    for (size_t i = 0; i < curves.size(); ++i) {
        SCOPED_TRACE("side " + std::to_string(i));
        EXPECT_NEAR(support::curve_length(curves[i]), sides[i].length, 1e-3);
        EXPECT_NEAR(support::distance_to_curve(curves[i], sides[i].middle), 0.0, 1e-3);
    }
    HM_MODL_delete_list(&boundary);
}

TEST_F(IpvBoundaryTest, RefusedOrFailedBoundariesLeaveNothing) {
    tag_t planes[4] = {0, 0, 0, 0};
    IndicatorPlanes(100, 30, 40, planes);
    const tag_t plane_target = host_testing::make_plane({-600, 0, 0}, {1, 0, 0});
    // A sheet narrower than the rectangle: its cuts by the lower planes end
    // before the side planes, and a sheet's cuts are not extended.
    const double corner[3] = {-600, -20, -100}, u[3] = {0, 40, 0}, v[3] = {0, 0, 200};
    const tag_t narrow = host_testing::make_planar_sheet(corner, u, v);
    const tag_t missing_plane[4] = {planes[0], NULL_TAG, planes[2], planes[3]};
    const double help[3] = {-600, 0, -20};
    struct Case {
        const char* name;
        const tag_t* planes;
        tag_t target;
        int code;
    };
    const Case cases[] = {
        {"no target", planes, NULL_TAG, -1},
        {"no planes", nullptr, plane_target, -1},
        {"a missing plane", missing_plane, plane_target, HM_ERR_INVALID_TAG},
        {"a sheet the side planes miss", planes, narrow, HM_ERR_GEOMETRY},
    };
    const int objects = host_testing::count_objects();
    static char stale = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        hm_list_p_t boundary = reinterpret_cast<hm_list_p_t>(&stale);   // must be overwritten
        EXPECT_EQ(HM_VD_ipv_create_visual_indicator_boundary(c.planes, c.target, 0.0, help, &boundary), c.code);
        EXPECT_EQ(boundary, nullptr);
        EXPECT_EQ(host_testing::count_objects(), objects);
    }
    EXPECT_EQ(HM_VD_ipv_create_visual_indicator_boundary(planes, plane_target, 0.0, help, nullptr), -1);
    EXPECT_EQ(HM_VD_ipv_create_visual_indicator_boundary(planes, plane_target, 0.0, nullptr, nullptr), -1);
    EXPECT_EQ(host_testing::count_objects(), objects);
}

}  // namespace
