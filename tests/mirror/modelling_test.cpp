// Modelling helpers on sheets and bodies: union and coincidence of coplanar
// sheets, trial Booleans, overlap areas, extreme points, the spherical patch,
// the sphere fit, bounded planes and the area of a mirror.
#include "host_fixture.h"
#include "hm_vd/objects.h"
#include "host_testing.h"
#include "mirror_fixtures.h"
#include "mirror_helpers.h"
#include "mirror_record.h"
#include "omvra.h"
#include "quillon.h"
#include "test_helpers.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

namespace {

using namespace carvell::mirror;
using support::new_line;

class MirrorModellingTest : public HostTest {};

// A rectangle in the plane z = z0 from (x0, y0) to (x1, y1).
tag_t rectangle(double x0, double y0, double x1, double y1, double z0 = 0.0) {
    const double corner[3] = {x0, y0, z0}, u[3] = {x1 - x0, 0, 0}, v[3] = {0, y1 - y0, 0};
    return host_testing::make_planar_sheet(corner, u, v);
}

// The area on the sphere of radius r about the origin over the rectangle
// |y| <= a, |z| <= b of the plane x = const: the integral of
// r / sqrt(r^2 - y^2 - z^2), by the midpoint rule on a fine grid.
double sphere_area_over_rectangle(double r, double a, double b) {
    const int n = 800;
    double sum = 0.0;
    const double dy = 2 * a / n, dz = 2 * b / n;
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) {
            const double y = -a + (i + 0.5) * dy, z = -b + (j + 0.5) * dz;
            sum += r / std::sqrt(r * r - y * y - z * z) * dy * dz;
        }
    return sum;
}

// The closed rectangle |y| <= a, |z| <= b at x = x0 as four lines.
std::vector<tag_t> rectangle_lines(double x0, double a, double b) {
    return {new_line(x0, -a, -b, x0, a, -b), new_line(x0, a, -b, x0, a, b), new_line(x0, a, b, x0, -a, b),
            new_line(x0, -a, b, x0, -a, -b)};
}

TEST_F(MirrorModellingTest, CoplanarRectanglesUniteAndCoincide) {
    const tag_t a = rectangle(0, 0, 100, 50);
    const tag_t b = rectangle(50, 0, 150, 50);
    const int objects = host_testing::count_objects();
    tag_t united = 0;
    ASSERT_EQ(mc_unite_sheets(a, b, &united), 0);
    // 150 x 50 with the 50 x 50 overlap counted once.
    EXPECT_NEAR(host_testing::surface_area(united), 7500.0, 1e-6);
    EXPECT_NEAR(host_testing::surface_area(a), 5000.0, 1e-9);   // the inputs stay
    EXPECT_NEAR(host_testing::surface_area(b), 5000.0, 1e-9);
    // Only the result is new (the body and its feature).
    EXPECT_EQ(host_testing::count_objects(), objects + 2);

    // A sheet facing the other way unites all the same.
    tag_t feature = 0;
    const tag_t c = rectangle(100, 0, 200, 50);
    ASSERT_EQ(HM_MODL_create_reverse_normal(c, &feature), 0);
    tag_t second = 0;
    ASSERT_EQ(mc_unite_sheets(a, c, &second), 0);
    EXPECT_NEAR(host_testing::surface_area(second), 10000.0, 1e-6);

    // Coincidence: same area and centre; a shifted copy is not.
    const tag_t same = rectangle(0, 0, 100, 50);
    const tag_t shifted = rectangle(1, 0, 101, 50);
    const tag_t smaller = rectangle(0, 0, 99.99, 50);
    EXPECT_TRUE(mc_sheets_coincide(a, same, 0.001));
    EXPECT_FALSE(mc_sheets_coincide(a, shifted, 0.001));
    EXPECT_FALSE(mc_sheets_coincide(a, smaller, 1e-5));   // 0.01 % apart
    EXPECT_EQ(mc_unite_sheets(a, b, nullptr), -1);
}

TEST_F(MirrorModellingTest, TrialBooleansCountBodiesAndLeaveThePart) {
    const tag_t sheet = rectangle(0, 0, 100, 50);
    const tag_t strip = rectangle(40, -10, 60, 60);    // across the sheet: splits it
    const tag_t corner = rectangle(80, 30, 120, 70);   // takes a corner off
    const tag_t far_away = rectangle(500, 0, 600, 50);
    const int objects = host_testing::count_objects();
    struct Case {
        const char* what;
        tag_t tool;
        int operation;
        int status;
        int bodies;
    } cases[] = {{"strip subtracted", strip, 1, 0, 2},
                 {"corner subtracted", corner, 1, 0, 1},
                 {"strip intersected", strip, 2, 0, 1},
                 {"strip united", strip, 0, 0, 1},
                 {"apart", far_away, 1, 1, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        int bodies = -7;
        EXPECT_EQ(mc_trial_boolean(sheet, c.tool, c.operation, 0.01, &bodies), c.status);
        EXPECT_EQ(bodies, c.bodies);
        EXPECT_EQ(host_testing::count_objects(), objects);
        EXPECT_NEAR(host_testing::surface_area(sheet), 5000.0, 1e-9);
    }
    int bodies = 0;
    EXPECT_EQ(mc_trial_boolean(sheet, strip, 3, 0.01, &bodies), -1);
}

TEST_F(MirrorModellingTest, OverlapOfCoplanarRectangles) {
    const tag_t a = rectangle(0, 0, 100, 50);
    const tag_t b = rectangle(70, 20, 170, 70);
    const tag_t c = rectangle(300, 0, 400, 50);
    const int objects = host_testing::count_objects();
    double amount = -1;
    ASSERT_EQ(mc_overlap_amount(a, b, &amount), 0);
    EXPECT_NEAR(amount, 30.0 * 30.0, 1e-6);
    ASSERT_EQ(mc_overlap_amount(a, c, &amount), 0);
    EXPECT_EQ(amount, 0.0);
    EXPECT_EQ(host_testing::count_objects(), objects);
}

TEST_F(MirrorModellingTest, ExtremePointTiesBrokenByTheFurtherDirections) {
    // Glass 190 x 120 in the plane x = 650: its edge at -y is a tie along -y.
    const double corner[3] = {650, -1095, 940}, u[3] = {0, 190, 0}, v[3] = {0, 0, 120};
    const tag_t glass = host_testing::make_planar_sheet(corner, u, v);
    const double directions[3][3] = {{0, -1, 0}, {1, 0, 0}, {0, 0, 1}};
    tag_t sub = 0, face = 0;
    double point[3];
    ASSERT_EQ(mc_extreme_point(glass, directions, &sub, &face, point), 0);
    support::expect_point(point, {650, -1095, 1060}, 1e-6);
    EXPECT_EQ(face, support::faces_of(glass)[0]);
    EXPECT_NE(sub, 0u);
    const double down[3][3] = {{0, 0, -1}, {0, 1, 0}, {1, 0, 0}};
    ASSERT_EQ(mc_extreme_point(glass, down, &sub, &face, point), 0);
    support::expect_point(point, {650, -905, 940}, 1e-6);

    // A body of two faces is refused.
    const double box_corner[3] = {0, 0, 0}, size[3] = {10, 10, 10};
    const tag_t box = host_testing::make_box(box_corner, size);
    EXPECT_EQ(mc_extreme_point(box, directions, &sub, &face, point), 3);
}

TEST_F(MirrorModellingTest, SphericalPatchOverARectangleIsNotACap) {
    // Sphere R 1000 about the origin, viewing side +x; a 190 x 120 rectangle
    // in front of it, projected along the axis onto the sphere.
    const std::vector<tag_t> lines = rectangle_lines(1100.0, 95.0, 60.0);
    tag_t loop = 0;
    const double points[5][3] = {{1100, -95, -60}, {1100, 95, -60}, {1100, 95, 60}, {1100, -95, 60}, {1100, -95, -60}};
    ASSERT_EQ(mc_create_joined_polyline(points, 5, &loop), 0);
    mc_sphere_s sphere{{0, 0, 0}, 1000.0, {0, 0, 0}, {2, 0, 0}};
    const int objects = host_testing::count_objects();
    tag_t patch = 0;
    ASSERT_EQ(mc_spherical_patch(&loop, 1, &patch, &sphere), 0);
    support::expect_point(sphere.vertex, {1000, 0, 0}, 1e-9);
    support::expect_point(sphere.axis, {1, 0, 0}, 1e-12);
    EXPECT_NEAR(host_testing::surface_area(patch), sphere_area_over_rectangle(1000.0, 95.0, 60.0), 1.0);
    // Its corners lie on the sphere above the rectangle's corners.
    double box[6];
    ASSERT_EQ(HM_MODL_ask_bounding_box(patch, box), 0);
    EXPECT_NEAR(box[1], -95.0, 0.05);
    EXPECT_NEAR(box[4], 95.0, 0.05);
    EXPECT_NEAR(box[2], -60.0, 0.05);
    EXPECT_NEAR(box[5], 60.0, 0.05);
    EXPECT_NEAR(box[0], std::sqrt(1000.0 * 1000.0 - 95.0 * 95.0 - 60.0 * 60.0), 0.05);
    EXPECT_NEAR(box[3], 1000.0, 1e-6);
    // Only the patch (body and feature) is left.
    EXPECT_EQ(host_testing::count_objects(), objects + 2);

    mc_sphere_s bad{{0, 0, 0}, -5.0, {0, 0, 0}, {1, 0, 0}};
    EXPECT_EQ(mc_spherical_patch(&loop, 1, &patch, &bad), 1);
    EXPECT_EQ(patch, 0u);
    EXPECT_EQ(host_testing::count_objects(), objects + 2);
    EXPECT_EQ(mc_spherical_patch(nullptr, 1, &patch, &sphere), -1);
}

TEST_F(MirrorModellingTest, SphereFitAgainstTheUserRadius) {
    // Convex glass R 1400 about (-750, -1000, 1000): a patch 190 x 120 about (650, -1000, 1000).
    const double centre[3] = {-750, -1000, 1000}, direction[3] = {1, 0, 0}, up[3] = {0, 0, 1};
    const tag_t glass = host_testing::make_spherical_patch(centre, 1400.0, direction, up, 190.0, 120.0);
    mc_data_s data{};
    zero_fill(&data);
    data.warnings = build_warning_table();
    data.messages = static_cast<char**>(SM_alloc(MC_MAX_MESSAGES * sizeof(char*)));
    data.distance_tolerance = 0.01;
    struct Case {
        const char* what;
        double user_radius;
        int status;
        int messages;
        double patch_radius;
    } cases[] = {{"fitted radius", 1400.0, 0, 0, 1400.0}, {"other radius", 1200.0, 0, 1, 1200.0},
                 {"below the outline's circle", 50.0, 3, 2, 0.0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        mc_geometry_set_s set{};
        ASSERT_EQ(mc_sheet_elements(glass, nullptr, 0, 0.0, &set), 0);
        data.user_radius = c.user_radius;
        data.message_count = 0;
        tag_t sheet = 0;
        double fitted[3] = {}, axis[3] = {};
        EXPECT_EQ(mc_spherical_fit(&set, &data, &sheet, fitted, axis), c.status);
        EXPECT_EQ(data.message_count, c.messages);   // warnings 9 and 8 below the circle
        if (c.status == 0) {
            support::expect_point(axis, {1, 0, 0}, 1e-3);
            // The sheet lies on the sphere of the radius about the fitted centre.
            double d = 0, p1[3], p2[3];
            ASSERT_EQ(HM_MODL_ask_minimum_dist(sheet, 0, 0, nullptr, 1, fitted, &d, p1, p2), 0);
            EXPECT_NEAR(d, c.patch_radius, 0.05);
            const double vertex[3] = {fitted[0] + c.patch_radius, fitted[1], fitted[2]};
            EXPECT_NEAR(vertex[0], 650.0, c.patch_radius == 1400.0 ? 0.05 : 1.0);
            EXPECT_EQ(set.source, c.user_radius == 1400.0 ? glass : sheet);
            HM_OBJ_delete_object(sheet);
        }
        for (int i = 0; i < data.message_count; ++i) SM_free(data.messages[i]);
        mc_free_geometry_set(&set);
    }
    SM_free(data.messages);
    free_warning_table(&data.warnings);
}

TEST_F(MirrorModellingTest, BoundedPlaneClosesGapsAndNamesTheSheet) {
    const std::vector<tag_t> open = {new_line(0, 0, 0, 100, 0, 0), new_line(100, 0, 0, 100, 79.5, 0),
                                     new_line(100, 80, 0, 0, 80, 0), new_line(0, 80, 0, 0, 0, 0)};
    hm_list_p_t list = nullptr;
    ASSERT_EQ(HM_MODL_create_list(&list), 0);
    tag_t sheet = 0;
    ASSERT_EQ(mc_bounded_plane(4, open.data(), "LFT_MIR_PLN", 7, list, &sheet), 0);
    EXPECT_NEAR(host_testing::surface_area(sheet), 8000.0, 1e-6);
    char name[64] = {};
    ASSERT_EQ(HM_OBJ_ask_name(sheet, name, sizeof name), 0);
    EXPECT_STREQ(name, "LFT_MIR_PLN");
    EXPECT_EQ(support::list_items(list), std::vector<tag_t>{sheet});
    HM_MODL_delete_list(&list);
    EXPECT_EQ(mc_bounded_plane(0, open.data(), nullptr, 0, nullptr, &sheet), -1);
}

// The 100 x 80 rectangle's four sides in loop order, the first one drawn
// backwards, with a 0.3 mm gap where the second side stops short of the
// top right corner.
std::vector<tag_t> gapped_rectangle() {
    return {new_line(100, 0, 0, 0, 0, 0), new_line(100, 0, 0, 100, 79.7, 0), new_line(100, 80, 0, 0, 80, 0),
            new_line(0, 80, 0, 0, 0, 0)};
}

TEST_F(MirrorModellingTest, ChainEndsAreTheEndsNotJoinedToTheNeighbours) {
    const tag_t backwards = new_line(100, 0, 0, 0, 0, 0);    // joined to the next at its start
    const tag_t onwards = new_line(100, 0, 0, 100, 80, 0);
    const tag_t apart = new_line(0, 200, 0, 0, 300, 0);      // joined to nothing
    const tag_t meets_end = new_line(0, 300, 0, 50, 300, 0); // starts on `apart`'s end
    struct Case {
        const char* what;
        std::vector<tag_t> curves;
        std::array<double, 3> start, end;
    };
    const Case cases[] = {
        {"one curve: its parameters 0 and 1", {onwards}, {100, 0, 0}, {100, 80, 0}},
        {"a first curve drawn backwards starts at its free end", {backwards, onwards}, {0, 0, 0}, {100, 80, 0}},
        {"a last curve drawn backwards ends at its free start", {onwards, backwards}, {100, 80, 0}, {0, 0, 0}},
        {"curves that do not touch keep their own start and end", {onwards, apart}, {100, 0, 0}, {0, 300, 0}},
        {"a neighbour touching the start's curve in its middle", {apart, meets_end}, {0, 200, 0}, {50, 300, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        double start[3] = {-7, -7, -7}, end[3] = {-7, -7, -7};
        ASSERT_EQ(mc_chain_ends(static_cast<int>(c.curves.size()), c.curves.data(), start, end), 0);
        support::expect_point(start, {c.start[0], c.start[1], c.start[2]}, 1e-9);
        support::expect_point(end, {c.end[0], c.end[1], c.end[2]}, 1e-9);
    }
    double p[3];
    EXPECT_EQ(mc_chain_ends(0, &onwards, p, p), -1);
    EXPECT_EQ(mc_chain_ends(1, nullptr, p, p), -1);
}

TEST_F(MirrorModellingTest, DistinctPointIsTheFirstAtLeastTheCoincidenceToleranceAway) {
    // The host's coincidence tolerance (srfc1) is 0.0254.
    const double at[3] = {10, 10, 10}, same[3] = {10, 10, 10}, close[3] = {10.02, 10, 10},
                 just[3] = {10, 10.0254, 10}, far[3] = {20, 10, 10};
    struct Case {
        const char* what;
        std::vector<const double*> points;
        bool found;
        const double* expected;
    };
    const Case cases[] = {
        {"a repeated point is passed over", {same, far}, true, far},
        {"a point within the tolerance is passed over", {same, close, just, far}, true, just},
        {"the first distinct one wins", {far, just}, true, far},
        {"null entries are passed over", {nullptr, far}, true, far},
        {"all repeated: none", {same, close}, false, nullptr},
        {"no points: none", {}, false, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        double out[3] = {-7, -7, -7};
        EXPECT_EQ(mc_distinct_point(at, static_cast<int>(c.points.size()), c.points.data(), out), c.found);
        if (c.found) support::expect_point(out, {c.expected[0], c.expected[1], c.expected[2]});
        else support::expect_point(out, {-7, -7, -7});
    }
}

TEST_F(MirrorModellingTest, CloseAndBoundBridgesTheGapsOfALoopAndNothingElse) {
    struct Case {
        const char* what;
        std::vector<tag_t> curves;
        double area;
    };
    const std::vector<tag_t> gapped = gapped_rectangle();
    // The right side in two pieces that meet exactly: a repeated point, no line.
    const std::vector<tag_t> split = {gapped[0], new_line(100, 0, 0, 100, 40, 0), new_line(100, 40, 0, 100, 79.7, 0),
                                      gapped[2], gapped[3]};
    // The loop open at the end: the last side stops 0.3 mm short of the start.
    const std::vector<tag_t> open_end = {new_line(0, 0, 0, 100, 0, 0), new_line(100, 0, 0, 100, 80, 0),
                                         new_line(100, 80, 0, 0, 80, 0), new_line(0, 80, 0, 0, 0.3, 0)};
    // Three sides only: the last gap is the whole left side.
    const std::vector<tag_t> three = {gapped[0], new_line(100, 0, 0, 100, 80, 0), gapped[2]};
    const Case cases[] = {
        {"a 0.3 mm gap after a side drawn backwards", gapped, 8000.0},
        {"a side in two pieces", split, 8000.0},
        {"a gap back to the start", open_end, 8000.0},
        {"a missing side", three, 8000.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        HM_MODL_update();
        const int objects = host_testing::count_objects();
        tag_t sheet = 0;
        ASSERT_EQ(mc_close_and_bound(static_cast<int>(c.curves.size()), c.curves.data(), &sheet), 0);
        EXPECT_NEAR(host_testing::surface_area(sheet), c.area, 1e-6);
        HM_MODL_update();
        // The bridging lines are gone; the sheet (body and feature) stays.
        EXPECT_EQ(host_testing::count_objects(), objects + 2);
        for (tag_t curve : c.curves) EXPECT_EQ(HM_OBJ_ask_status(curve), HM_OBJ_ALIVE);
        HM_VD_delete_object(sheet);
    }
    tag_t sheet = 0;
    EXPECT_EQ(mc_close_and_bound(0, gapped.data(), &sheet), -1);
}

TEST_F(MirrorModellingTest, MirrorAreaOfFlatAndConvexGlass) {
    const double corner[3] = {650, -1095, 940}, u[3] = {0, 190, 0}, v[3] = {0, 0, 120};
    const tag_t flat = host_testing::make_planar_sheet(corner, u, v);
    double area = 0;
    ASSERT_EQ(mc_mirror_area(flat, 0.0, &area), 0);
    EXPECT_NEAR(area, 22800.0, 1e-6);

    // The convex patch over a 190 x 120 rectangle counts as the rectangle.
    tag_t loop = 0;
    const double points[5][3] = {{1100, -95, -60}, {1100, 95, -60}, {1100, 95, 60}, {1100, -95, 60}, {1100, -95, -60}};
    ASSERT_EQ(mc_create_joined_polyline(points, 5, &loop), 0);
    mc_sphere_s sphere{{0, 0, 0}, 1400.0, {0, 0, 0}, {1, 0, 0}};
    tag_t patch = 0;
    ASSERT_EQ(mc_spherical_patch(&loop, 1, &patch, &sphere), 0);
    const int objects = host_testing::count_objects();
    ASSERT_EQ(mc_mirror_area(patch, 0.0, &area), 0);
    EXPECT_NEAR(area, 22800.0, 22800.0 * 0.002);
    EXPECT_EQ(host_testing::count_objects(), objects);
}

}  // namespace
