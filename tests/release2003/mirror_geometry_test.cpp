// Geometry operations of the 2003 mirror-certification engine on small
// sheets and curve loops: the 129-point outline of a rectangle, sets that
// cannot be built, named lines, the union of two sheets and extreme points.
#include "hm_vd_mc.h"
#include "r2003_mirror.h"

#include "host_fixture.h"
#include "test_helpers.h"

#include "hm_vd.h"
#include "omvra.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

using namespace carvell::r2003;
using support::expect_point;

// A 100 x 50 rectangle in the plane z = 0 with a corner at the origin.
tag_t rectangle() {
    const double corner[3] = {0, 0, 0}, u[3] = {100, 0, 0}, v[3] = {0, 50, 0};
    return host_testing::make_planar_sheet(corner, u, v);
}

class Release2003MirrorGeometryTest : public HostTest {};

TEST_F(Release2003MirrorGeometryTest, ARectangleGivesAClosedOutlineOf129PointsOnItsPerimeter) {
    mc_geometry_set_s set{};
    ASSERT_EQ(mc_build_geometry_set(rectangle(), nullptr, 0, &set), 0);
    EXPECT_NE(set.face, NULL_TAG);
    EXPECT_EQ(set.curve_count, 4);
    ASSERT_EQ(set.point_count, 129);
    expect_point(set.points[0], {set.points[128][0], set.points[128][1], set.points[128][2]}, 1e-9);
    // Every point on the perimeter: on an edge line of the rectangle.
    for (int i = 0; i < set.point_count; ++i) {
        const double* p = set.points[i];
        const double off = std::min({std::fabs(p[0]), std::fabs(p[0] - 100), std::fabs(p[1]), std::fabs(p[1] - 50)});
        EXPECT_NEAR(off, 0.0, 1e-6) << i;
        EXPECT_NEAR(p[2], 0.0, 1e-9) << i;
    }
    // Equal steps along a perimeter of 300: 300 / 128 apart.
    EXPECT_NEAR(support::distance({set.points[1][0], set.points[1][1], set.points[1][2]},
                                  {set.points[2][0], set.points[2][1], set.points[2][2]}),
                300.0 / 128, 1e-6);
    const int before = host_testing::count_objects();
    mc_free_geometry_set(&set);
    EXPECT_EQ(host_testing::count_objects(), before - 5);   // four edge curves and the joined outline
    EXPECT_EQ(set.points, nullptr);
    EXPECT_EQ(set.curve_count, 0);
    mc_free_geometry_set(&set);
}

TEST_F(Release2003MirrorGeometryTest, OneCurveIsItsOwnOutlineAndTwoLoopsDoNotJoin) {
    const tag_t circle = host_testing::make_arc({0, 0, 0}, 10, 0, 2 * M_PI);
    mc_geometry_set_s set{};
    ASSERT_EQ(mc_build_geometry_set(NULL_TAG, &circle, 1, &set), 0);
    EXPECT_EQ(set.curve_count, 1);
    EXPECT_EQ(set.outline, set.curves[0]);
    EXPECT_NE(set.outline, circle);   // a copy
    EXPECT_EQ(set.point_count, 129);
    mc_free_geometry_set(&set);

    const tag_t loops[2] = {host_testing::make_arc({0, 0, 0}, 10, 0, 2 * M_PI),
                            host_testing::make_arc({50, 0, 0}, 10, 0, 2 * M_PI)};
    EXPECT_EQ(mc_build_geometry_set(NULL_TAG, loops, 2, &set), 3);
    mc_free_geometry_set(&set);

    const double corner[3] = {0, 0, 0}, size[3] = {10, 10, 10};
    EXPECT_EQ(mc_build_geometry_set(host_testing::make_box(corner, size), nullptr, 0, &set), 2);
    mc_free_geometry_set(&set);
}

TEST_F(Release2003MirrorGeometryTest, ANamedLineIsNamedColouredListedAndBlanked) {
    hm_list_p_t list = support::make_list({});
    const double a[3] = {0, 0, 0}, b[3] = {3, 4, 0};
    tag_t line = NULL_TAG;
    ASSERT_EQ(mc_create_named_line(a, b, "U_SIGHT", 5, true, list, &line), 0);
    EXPECT_NEAR(support::curve_length(line), 5.0, 1e-12);
    char name[64] = {};
    ASSERT_EQ(HM_OBJ_ask_name(line, name, sizeof name), 0);
    EXPECT_STREQ(name, "U_SIGHT");
    EXPECT_EQ(support::list_items(list), std::vector<tag_t>{line});
    HM_MODL_delete_list(&list);
}

TEST_F(Release2003MirrorGeometryTest, TwoTouchingSheetsUniteIntoOneCopy) {
    const double c1[3] = {0, 0, 0}, c2[3] = {100, 0, 0}, u[3] = {100, 0, 0}, v[3] = {0, 50, 0};
    const tag_t a = host_testing::make_planar_sheet(c1, u, v);
    const tag_t b = host_testing::make_planar_sheet(c2, u, v);
    const int before = host_testing::count_objects(0, HM_solid_type);
    tag_t united = NULL_TAG;
    ASSERT_EQ(mc_unite_sheet_copies(a, b, &united), 0);
    EXPECT_NEAR(host_testing::surface_area(united), 10000.0, 1e-6);
    // The two sheets stay and no other copy is left: without the united copy
    // the bodies, faces and edges are those of before.
    ASSERT_EQ(HM_VD_delete_object(united), 0);
    ASSERT_EQ(HM_MODL_update(), 0);   // bodies leave the part at the update
    EXPECT_EQ(host_testing::count_objects(0, HM_solid_type), before);
}

TEST_F(Release2003MirrorGeometryTest, TheExtremePointOfARectangleIsItsCornerInTheRankedDirections) {
    const double x[3] = {1, 0, 0}, y[3] = {0, 1, 0}, z[3] = {0, 0, 1};
    tag_t subentity = NULL_TAG, face = NULL_TAG;
    double point[3];
    ASSERT_EQ(mc_ask_sheet_extreme_point(rectangle(), x, y, z, &subentity, &face, point), 0);
    expect_point(point, {100, 50, 0}, 1e-9);
    EXPECT_NE(face, NULL_TAG);
    const double corner[3] = {0, 0, 0}, size[3] = {10, 10, 10};
    EXPECT_EQ(mc_ask_sheet_extreme_point(host_testing::make_box(corner, size), x, y, z, &subentity, &face, point), 3);
}

}  // namespace

namespace {

TEST_F(Release2003MirrorGeometryTest, ASquareOfLinesBoundsAPlaneAndAnOpenOneDoesNot) {
    const tag_t square[4] = {support::new_line(0, 0, 0, 10, 0, 0), support::new_line(10, 0, 0, 10, 10, 0),
                             support::new_line(10, 10, 0, 0, 10, 0), support::new_line(0, 10, 0, 0, 0, 0)};
    const double tolerances[3] = {0.01, 0.05 * 0.017453292519943295, 0.0};
    hm_list_p_t list = support::make_list({});
    tag_t sheet = NULL_TAG;
    ASSERT_EQ(mc_create_bounded_plane(4, square, true, "U_MIRROR", 4, false, list, tolerances, &sheet), 0);
    EXPECT_NEAR(host_testing::surface_area(sheet), 100.0, 1e-9);
    EXPECT_EQ(support::list_items(list), std::vector<tag_t>{sheet});
    const int before = host_testing::count_objects(0, HM_solid_type);
    EXPECT_EQ(mc_create_bounded_plane(3, square, false, nullptr, 0, false, nullptr, tolerances, &sheet), 1);
    EXPECT_EQ(sheet, NULL_TAG);
    HM_MODL_update();
    EXPECT_EQ(host_testing::count_objects(0, HM_solid_type), before);
    HM_MODL_delete_list(&list);
}

// A 100 x 50 mirror face to the right of eyes at x = -1000: its corner at
// y = 0 (farthest along -y, then +z, then +x: (100, 0, 0)) seen by the right
// eye.
TEST_F(Release2003MirrorGeometryTest, TheOutboardViewAngleIsTakenToTheMirrorsOuterCorner) {
    mc_data_2003_s data{};
    ASSERT_EQ(mc_build_geometry_set(rectangle(), nullptr, 0, &data.mirror_set), 0);
    const double eye_reference[3] = {-1000, 300, 0};
    std::memcpy(data.eye_reference, eye_reference, sizeof eye_reference);
    const double pivot[3] = {50, 25, 0};
    std::memcpy(data.pivot, pivot, sizeof pivot);
    const double eyes[3][3] = {{-1000, 332.5, 0}, {-1000, 300, 0}, {-1000, 267.5, 0}};
    double turned[3][3], view = 0, head = 0;
    ASSERT_EQ(mc_ask_outboard_view_angle(&data, eyes, pivot, turned, &view, &head), 0);
    EXPECT_NEAR(view, 180.0 - std::atan2(267.5, 1100.0) * 57.29577951308232, 1e-9);
    EXPECT_EQ(head, 0.0);
    mc_free_geometry_set(&data.mirror_set);
}

}  // namespace

namespace {

constexpr double kSquareMillimetresPerSquareInch = 25.4 * 25.4;

// Areas come in the host's unit system 1, square inches, whatever the part.
TEST_F(Release2003MirrorGeometryTest, APlanarSheetIsMeasuredAsItIs) {
    const double tolerances[3] = {0.01, 0.05, 0.01};
    double area = 0.0;
    ASSERT_EQ(mc_ask_sheet_area(rectangle(), tolerances, &area), 0);
    EXPECT_NEAR(area, 5000.0 / kSquareMillimetresPerSquareInch, 1e-9);
}

// A latitude-longitude patch of a sphere of radius R, longitudes within
// +-phi and latitudes within +-theta about its equator point, seen along the
// direction to that point: y = R cos b sin a, z = R sin b, whose area is
// R^2 (2 sin phi) (theta + sin theta cos theta).
TEST_F(Release2003MirrorGeometryTest, ACurvedSheetIsMeasuredOnItsPlaneAndTheProjectionIsUndone) {
    const double centre[3] = {0, 0, 0}, along[3] = {1, 0, 0}, up[3] = {0, 0, 1};
    const double R = 100.0, phi = 0.2, theta = 0.15;
    const tag_t patch = host_testing::make_spherical_patch(centre, R, along, up, 2 * phi * R, 2 * theta * R);
    const double flat = R * R * 2 * std::sin(phi) * (theta + std::sin(theta) * std::cos(theta));
    const double tolerances[3] = {0.01, 0.05, 0.01};
    // The patch's face and edges get their tags before the count.
    (void)support::faces_of(patch);
    (void)support::edges_of(patch);
    const int objects = host_testing::count_objects();
    const int marks = host_testing::undo_mark_count();
    double area = 0.0;
    ASSERT_EQ(mc_ask_sheet_area(patch, tolerances, &area), 0);
    EXPECT_NEAR(area * kSquareMillimetresPerSquareInch, flat, 0.005 * flat);
    EXPECT_EQ(host_testing::count_objects(), objects);
    EXPECT_EQ(host_testing::undo_mark_count(), marks);

    tag_t planar = NULL_TAG;
    ASSERT_EQ(mc_project_sheet_to_plane(patch, &planar, tolerances), 0);
    EXPECT_NEAR(host_testing::surface_area(planar), flat, 0.005 * flat);
    // The planar sheet alone is left.
    ASSERT_EQ(HM_VD_delete_object(planar), 0);
    HM_MODL_update();
    EXPECT_EQ(host_testing::count_objects(), objects);

    const double corner[3] = {0, 0, 0}, size[3] = {10, 10, 10};
    EXPECT_EQ(mc_project_sheet_to_plane(host_testing::make_box(corner, size), &planar, tolerances), 2);
}

}  // namespace

namespace {

// A cap of the sphere of radius 100 about (0, 0, -100) cut by the circle of
// radius 30 that lies on it: its height is 100 - sqrt(100^2 - 30^2), its area
// 2 pi R h.
TEST_F(Release2003MirrorGeometryTest, ASphereCapThroughACircleHasTheCapsArea) {
    const double R = 100.0, r = 30.0;
    const double h = R - std::sqrt(R * R - r * r);
    const tag_t circle = host_testing::make_arc({0, 0, -h}, r, 0, 2 * M_PI);
    mc_mirror_surface_s surface{{0, 0, -100}, 0.0, R, {0, 0, 0}, {0, 0, 1}};
    tag_t cap = NULL_TAG;
    ASSERT_EQ(mc_trim_sphere_to_outline(&circle, 1, 0.01, &cap, &surface), 0);
    const double expected = 2 * M_PI * R * h;
    EXPECT_NEAR(host_testing::surface_area(cap), expected, 0.005 * expected);
    EXPECT_EQ(surface.curvature, 1.0 / R);
    expect_point(surface.vertex, {0, 0, 0}, 1e-12);
}

// A plane mirror x = 0 seen from the eye 1000 in front of it: the reflected
// rays come from the eye's image 1000 behind the mirror, so on the target
// plane x = -2000 the outline is three times its size on the mirror.
TEST_F(Release2003MirrorGeometryTest, AnOutlineThroughAPlaneMirrorGrowsWithTheDistanceFromTheEyesImage) {
    const tag_t lines[4] = {support::new_line(0, 0, 0, 0, 100, 0), support::new_line(0, 100, 0, 0, 100, 50),
                            support::new_line(0, 100, 50, 0, 0, 50), support::new_line(0, 0, 50, 0, 0, 0)};
    mc_geometry_set_s set{};
    ASSERT_EQ(mc_build_geometry_set(NULL_TAG, lines, 4, &set), 0);
    const mc_mirror_surface_s mirror{{0, 0, 0}, 0.0, 0.0, {0, 0, 0}, {-1, 0, 0}};
    const double eye[3] = {-1000, 50, 25}, tolerances[2] = {0.01, 0.05}, target_x = -2000;
    tag_t on_mirror = NULL_TAG, on_target = NULL_TAG;
    ASSERT_EQ(mc_project_outline_through_mirror(&set, 0, eye, &mirror, tolerances, &target_x, NULL_TAG, &on_mirror,
                                                &on_target),
              0);
    EXPECT_NEAR(host_testing::surface_area(on_mirror), 5000.0, 25.0);
    EXPECT_NEAR(host_testing::surface_area(on_target), 9 * 5000.0, 9 * 25.0);
    mc_free_geometry_set(&set);
}

}  // namespace

namespace {

// The outline of a latitude-longitude patch of the sphere of radius 100
// about the origin (longitudes within +-0.4, latitudes within +-0.3 about
// (100, 0, 0)): the user's radius 100 is taken as it is and the cap made
// again has the patch's area, R^2 (2 phi) (2 sin theta); 120 is taken with a
// message; 20, smaller than the outline's circle, is refused.
TEST_F(Release2003MirrorGeometryTest, TheMirrorRadiusIsCheckedAgainstTheOutlinesSphere) {
    const double R = 100.0, phi = 0.4, theta = 0.3;
    struct Case {
        double user_radius;
        int code;
        int messages;
    } cases[] = {{100.0, 0, 0}, {120.0, 0, 1}, {20.0, 3, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.user_radius);
        mc_input_data_2003_t in{};
        in.mirror_kind = 1;
        in.mirror_radius[0] = c.user_radius;
        mc_data_2003_s data{};
        ASSERT_EQ(HM_VD_MC_init_data(&in, &data), 0);
        const double centre[3] = {0, 0, 0}, along[3] = {1, 0, 0}, up[3] = {0, 0, 1};
        const tag_t patch = host_testing::make_spherical_patch(centre, R, along, up, 2 * phi * R, 2 * theta * R);
        ASSERT_EQ(mc_build_geometry_set(patch, nullptr, 0, &data.mirror_set), 0);
        mc_mirror_surface_s surface{};
        tag_t sheet = NULL_TAG;
        EXPECT_EQ(mc_check_mirror_radius(&data.mirror_set, &data, &sheet, &surface), c.code);
        EXPECT_EQ(data.message_count, c.messages);
        if (c.code == 0) EXPECT_EQ(surface.radius, c.user_radius);
        if (c.user_radius == R) {
            expect_point(surface.centre, {0, 0, 0}, 0.01);
            const double area = R * R * 2 * phi * 2 * std::sin(theta);
            EXPECT_NEAR(host_testing::surface_area(sheet), area, 0.005 * area);
            EXPECT_EQ(data.mirror_set.sheet, sheet);
        }
        mc_free_geometry_set(&data.mirror_set);
        HM_VD_MC_release_data(&data);
    }
}

}  // namespace
