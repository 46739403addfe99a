// Modelling helpers of the mirror analyses: a sheet's elements and their
// release, end gaps, object attributes, joined polylines, ellipse conics.
#include "host_fixture.h"
#include "host_testing.h"
#include "mirror_helpers.h"
#include "omvra.h"
#include "quillon.h"
#include "test_helpers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

using namespace carvell::mirror;
using support::new_line;

class MirrorHelpersTest : public HostTest {};

TEST_F(MirrorHelpersTest, SheetElementsOfFlatGlassAndTheirRelease) {
    const double corner[3] = {650, -1095, 940}, u[3] = {0, 190, 0}, v[3] = {0, 0, 120};
    const tag_t glass = host_testing::make_planar_sheet(corner, u, v);
    ASSERT_EQ(support::edges_of(glass).size(), 4u);
    const int objects_before = host_testing::count_objects();
    mc_geometry_set_s set{};
    ASSERT_EQ(mc_sheet_elements(glass, nullptr, 0, 0.0, &set), 0);
    EXPECT_EQ(set.source, glass);
    EXPECT_EQ(set.face, support::faces_of(glass)[0]);
    EXPECT_EQ(set.edge_curve_count, 4);
    EXPECT_NEAR(support::curve_length(set.outline), 2 * (190.0 + 120.0), 1e-6);
    // 30 steps on each of the four sides, the corners as breaks.
    EXPECT_EQ(set.point_count, 121);
    ASSERT_EQ(set.break_count, 5);
    EXPECT_EQ(set.breaks[4], 120);
    support::expect_point(set.points[0], support::curve_point(set.outline, 0.0), 1e-9);

    EXPECT_EQ(mc_free_geometry_set(&set), 0);
    EXPECT_EQ(host_testing::count_objects(), objects_before);
    EXPECT_EQ(set.edge_curves, nullptr);
    EXPECT_EQ(set.points, nullptr);
    EXPECT_EQ(set.point_count, 0);
    EXPECT_EQ(set.outline, 0u);
    EXPECT_EQ(mc_free_geometry_set(nullptr), -1);
}

TEST_F(MirrorHelpersTest, CurvesAreSampledByChordToleranceAndSheetsByAFixedCount) {
    // A D-shaped bezel: the diameter from (-50, 0) to (50, 0) and the half
    // circle R 50 back over +y. The line gives its two ends; the arc is
    // halved until the sag R (1 - cos(step / 2)) is within the part's 0.01:
    // a step of pi / 128 sags 0.0038, pi / 64 sags 0.015, so 128 steps.
    HM_CURVE_arc_t arc{0, 0.0, M_PI, {0, 0, 0}, 50.0};
    tag_t half = 0;
    ASSERT_EQ(HM_CURVE_create_arc(&arc, &half), 0);
    const std::vector<tag_t> bezel = {new_line(-50, 0, 0, 50, 0, 0), half};
    mc_geometry_set_s set{};
    ASSERT_EQ(mc_sheet_elements(0, bezel.data(), 2, 0.0, &set), 0);
    EXPECT_EQ(set.point_count, 1 + 1 + 128);
    ASSERT_EQ(set.break_count, 3);
    for (int i = 0; i < set.point_count; ++i) {
        const double* p = set.points[i];
        const double r = std::hypot(p[0], p[1]);
        EXPECT_TRUE(std::fabs(p[1]) < 1e-9 || std::fabs(r - 50.0) < 1e-9) << "point " << i << " off the bezel";
    }
    // Every chord of the arc lies within the tolerance of it.
    const int first = set.breaks[0] + 1 == set.breaks[1] ? set.breaks[1] : set.breaks[0];
    const int last = first == set.breaks[1] ? set.breaks[2] : set.breaks[1];
    EXPECT_EQ(last - first, 128);
    for (int i = first; i < last; ++i) {
        const double mid[2] = {0.5 * (set.points[i][0] + set.points[i + 1][0]),
                               0.5 * (set.points[i][1] + set.points[i + 1][1])};
        EXPECT_LE(50.0 - std::hypot(mid[0], mid[1]), 0.01);
    }
    mc_free_geometry_set(&set);
}

TEST_F(MirrorHelpersTest, ImagesAlongChordsPutInPointsWhereTheImageBends) {
    // The map (x, y, z) -> (x, y, x^2 / 100) bends the segment (0,0,0)-(100,0,0)
    // into a parabola; a chord of length L on it sags L^2 / 400, within 0.01
    // from L = 2: 100 / 64 is the first halving that gets there, so 65
    // points; the way back is bent alike.
    const double row[3][3] = {{0, 0, 0}, {100, 0, 0}, {0, 0, 0}};
    const int breaks[3] = {0, 1, 2};
    int calls = 0;
    const auto bend = [&](const double* p, double* out) {
        ++calls;
        out[0] = p[0], out[1] = p[1], out[2] = p[0] * p[0] / 100.0;
        return true;
    };
    std::vector<double> images;
    std::vector<int> image_breaks;
    ASSERT_TRUE(mc_images_along_chords(3, &row[0][0], 3, breaks, 1, 0.01, bend, &images, &image_breaks));
    ASSERT_EQ(images.size(), 3u * (1 + 64 + 64));
    EXPECT_EQ(image_breaks, (std::vector<int>{0, 64, 128}));
    for (size_t i = 0; i < images.size(); i += 3) {
        SCOPED_TRACE(i / 3);
        EXPECT_NEAR(images[i + 2], images[i] * images[i] / 100.0, 1e-12);
        if (i / 3 <= 64) EXPECT_NEAR(images[i], 100.0 * (i / 3) / 64.0, 1e-9);
    }
    // A map that fails stops the row.
    const auto failing = [](const double*, double*) { return false; };
    EXPECT_FALSE(mc_images_along_chords(3, &row[0][0], 3, breaks, 1, 0.01, failing, &images, &image_breaks));
}

TEST_F(MirrorHelpersTest, CurvesWithTwoGapsJoinAtARaisedToleranceThatIsRestored) {
    // A 100 x 80 rectangle open by 0.3 at one corner and 0.2 at the opposite one.
    const std::vector<tag_t> sides = {new_line(0, 0, 0, 100, 0, 0), new_line(100, 0, 0, 100, 79.7, 0),
                                      new_line(100, 80, 0, 0, 80, 0), new_line(0, 80, 0, 0, 0.2, 0)};
    tag_t pair[2];
    double gap = 0;
    ASSERT_EQ(mc_largest_end_gap(sides.data(), 4, pair, &gap), 0);
    EXPECT_NEAR(gap, 0.3, 1e-9);
    mc_geometry_set_s set{};
    ASSERT_EQ(mc_sheet_elements(0, sides.data(), 4, 0.0, &set), 0);
    EXPECT_EQ(set.source, 0u);
    EXPECT_EQ(set.edge_curve_count, 4);
    EXPECT_NE(set.outline, 0u);
    EXPECT_GT(set.point_count, 0);
    double tolerance = 0;
    ASSERT_EQ(HM_MODL_ask_distance_tolerance(&tolerance), 0);
    EXPECT_DOUBLE_EQ(tolerance, 0.01);
    // The caller's curves stay; the set holds copies.
    for (int i = 0; i < 4; ++i) EXPECT_NE(set.edge_curves[i], sides[i]);
    mc_free_geometry_set(&set);
    for (tag_t side : sides) EXPECT_EQ(HM_OBJ_ask_status(side), 3);
}

TEST_F(MirrorHelpersTest, SheetElementsFailures) {
    const double corner[3] = {0, 0, 0}, size[3] = {10, 10, 10};
    mc_geometry_set_s set{};
    EXPECT_EQ(mc_sheet_elements(host_testing::make_box(corner, size), nullptr, 0, 0.0, &set), 1);
    EXPECT_EQ(mc_sheet_elements(0, nullptr, 0, 0.0, &set), 1);
    EXPECT_EQ(mc_sheet_elements(0, nullptr, 0, 0.0, nullptr), -1);
    mc_free_geometry_set(&set);
}

TEST_F(MirrorHelpersTest, EndGapsAndTheLargestGap) {
    const tag_t a = new_line(0, 0, 0, 10, 0, 0);
    const tag_t b = new_line(10, 0, 3, 20, 0, 0);
    double gaps[2];
    ASSERT_EQ(mc_end_gaps(a, b, gaps), 0);
    EXPECT_NEAR(gaps[0], std::sqrt(109.0), 1e-9);
    EXPECT_NEAR(gaps[1], 3.0, 1e-9);
    tag_t pair[2];
    double gap = 0;
    EXPECT_EQ(mc_largest_end_gap(&a, 1, pair, &gap), -1);
}

TEST_F(MirrorHelpersTest, ObjectAttributesKeepWhatIsNotGiven) {
    const tag_t line = new_line(0, 0, 0, 1, 0, 0);
    ASSERT_EQ(HM_OBJ_set_name(line, "BEZEL"), 0);
    ASSERT_EQ(HM_OBJ_set_color(line, 5), 0);
    hm_list_p_t list = nullptr;
    ASSERT_EQ(HM_MODL_create_list(&list), 0);
    EXPECT_EQ(mc_set_object_attributes(line, nullptr, 0, 0, list), 0);
    char name[64];
    ASSERT_EQ(HM_OBJ_ask_name(line, name, sizeof name), 0);
    EXPECT_STREQ(name, "BEZEL");
    int colour = 0;
    ASSERT_EQ(HM_OBJ_ask_color(line, &colour), 0);
    EXPECT_EQ(colour, 5);
    EXPECT_EQ(mc_set_object_attributes(line, "MIRROR_FIELD", 7, 0, nullptr), 0);
    ASSERT_EQ(HM_OBJ_ask_name(line, name, sizeof name), 0);
    EXPECT_STREQ(name, "MIRROR_FIELD");
    ASSERT_EQ(HM_OBJ_ask_color(line, &colour), 0);
    EXPECT_EQ(colour, 7);
    EXPECT_EQ(support::list_items(list), std::vector<tag_t>{line});
    HM_MODL_delete_list(&list);
    EXPECT_EQ(mc_set_object_attributes(0, "X", 0, 0, nullptr), 1);
}

TEST_F(MirrorHelpersTest, JoinedPolylineIsOneCurveWithoutItsPieces) {
    const double points[4][3] = {{0, 0, 0}, {100, 0, 0}, {100, 50, 0}, {100, 50, 30}};
    const int objects_before = host_testing::count_objects();
    tag_t curve = 0;
    ASSERT_EQ(mc_create_joined_polyline(points, 4, &curve), 0);
    EXPECT_NEAR(support::curve_length(curve), 180.0, 1e-9);
    support::expect_point(support::curve_point(curve, 1.0), {100, 50, 30}, 1e-9);
    EXPECT_EQ(host_testing::count_objects(), objects_before + 1);
    EXPECT_EQ(mc_create_joined_polyline(points, 1, &curve), 1);
    // A repeated point anywhere fails the polyline with 2, before or after
    // the pieces ahead of it, and leaves nothing in the part: the host itself
    // makes lines of length 0.
    const double repeated[][4][3] = {{{0, 0, 0}, {0, 0, 0}, {10, 0, 0}, {10, 5, 0}},
                                     {{0, 0, 0}, {10, 0, 0}, {10, 0, 0}, {10, 5, 0}},
                                     {{0, 0, 0}, {10, 0, 0}, {10, 5, 0}, {10, 5, 0}}};
    for (const auto& polyline : repeated) {
        SCOPED_TRACE(&polyline - repeated);
        tag_t none = 0;
        EXPECT_EQ(mc_create_joined_polyline(polyline, 4, &none), 2);
        EXPECT_EQ(none, 0u);
        EXPECT_EQ(host_testing::count_objects(), objects_before + 1);
    }
    EXPECT_EQ(mc_create_joined_polyline(nullptr, 4, &curve), -1);
}

TEST_F(MirrorHelpersTest, EllipseConicOfAnEyellipse) {
    // Plan-view section of a 95th-percentile eyellipse: semi-axes 103.2 and 30.15.
    const double centre[3] = {1290, -402.5, 1158}, x[3] = {1, 0, 0}, y[3] = {0, 1, 0};
    tag_t conic = 0;
    ASSERT_EQ(mc_create_ellipse_conic(centre, 103.2, x, 30.15, y, 0.0, 2 * M_PI, &conic), 0);
    support::expect_point(support::curve_point(conic, 0.0), {1393.2, -402.5, 1158}, 1e-6);
    support::expect_point(support::curve_point(conic, 0.25), {1290, -372.35, 1158}, 1e-6);
    EXPECT_EQ(mc_create_ellipse_conic(centre, 103.2, x, 30.15, y, 1.0, 0.5, &conic), -1);
}

}  // namespace

namespace {

class OutlineProjectionTest : public HostTest {};

TEST_F(OutlineProjectionTest, TheOutlineSeenFromTheEyeOnAPlaneIsScaledByTheDistances) {
    // A 190 x 120 glass in x = 650 seen from an eye at x = 1250 on the plane
    // x = 50: twice as far from the eye, so twice the size.
    const double corner[3] = {650, -1095, 940}, u[3] = {0, 190, 0}, v[3] = {0, 0, 120};
    const tag_t glass = host_testing::make_planar_sheet(corner, u, v);
    mc_geometry_set_s set{};
    ASSERT_EQ(mc_sheet_elements(glass, nullptr, 0, 0.0, &set), 0);
    const tag_t plane = host_testing::make_plane({50, 0, 0}, {1, 0, 0});
    const double eye[3] = {1250, -1000, 1000};
    int count = 0;
    tag_t* curves = nullptr;
    ASSERT_EQ(mc_project_outline_to_plane(eye, &set, plane, 0.01, &count, &curves), 0);
    ASSERT_EQ(count, 1);
    ASSERT_NE(curves, nullptr);
    EXPECT_NEAR(support::curve_length(curves[0]), 2 * 2 * (190.0 + 120.0), 1e-3);
    // The glass corner (650, -1095, 940) lands at (50, -1190, 880).
    EXPECT_NEAR(support::distance_to_curve(curves[0], {50, -1190, 880}), 0.0, 1e-6);
    HM_OBJ_delete_object(curves[0]);
    SM_free(curves);

    // An eye in the glass's own plane: every sight line runs along the plane x = 650.
    const tag_t glass_plane = host_testing::make_plane({650, 0, 0}, {1, 0, 0});
    const double eye_in_plane[3] = {650, -1000, 2000};
    const int objects_before = host_testing::count_objects();
    curves = nullptr;
    EXPECT_EQ(mc_project_outline_to_plane(eye_in_plane, &set, glass_plane, 0.01, &count, &curves), -1);
    EXPECT_EQ(curves, nullptr);
    EXPECT_EQ(host_testing::count_objects(), objects_before);
    EXPECT_EQ(mc_project_outline_to_plane(nullptr, &set, plane, 0.01, &count, &curves), -1);
    mc_free_geometry_set(&set);
}

}  // namespace
