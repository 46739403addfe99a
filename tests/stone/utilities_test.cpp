// Utilities: linear result curves, contour angles from names, points of
// curves, defining points, sublists and the points of an area list.
#include "stone_fixtures.h"

#include "hm_vd.h"
#include "quillon.h"

#include <vector>

class UtilitiesTest : public StoneTest {
protected:
    static void free_points(int n, double** pts) {
        for (int i = 0; i < n; ++i) SM_free(pts[i]);
        SM_free(pts);
    }
};

TEST_F(UtilitiesTest, LinearCurveKeepsItsThroughPointsAndColour) {
    double pts[3][3] = {{0, 0, 0}, {10, 0, 0}, {10, 5, 0}};
    tag_t curve = 0;
    ASSERT_EQ(VD_CURVE_create_linear(pts, 3, 17, &curve), 0);
    ASSERT_NE(curve, 0u);
    int colour = 0;
    HM_OBJ_ask_color(curve, &colour);
    EXPECT_EQ(colour, 17);
    // Degree 1: the middle of the parameter range by chord length is on the
    // first leg (length 10 of 15): (7.5, 0, 0).
    expect_point(curve_point(curve, 0.5), {7.5, 0, 0}, 1e-9);
    int n = 0;
    double** back = nullptr;
    ASSERT_EQ(HM_VD_SI_ask_spline_thru_point_data(curve, &n, &back), 0);
    ASSERT_EQ(n, 3);
    for (int i = 0; i < 3; ++i) expect_point(back[i], {pts[i][0], pts[i][1], pts[i][2]}, 0.0);
    free_points(n, back);
    EXPECT_EQ(VD_CURVE_create_linear(pts, 1, 0, &curve), -1);
    EXPECT_EQ(curve, 0u);
}

TEST_F(UtilitiesTest, ThroughPointsOfOtherCurvesAreNotFound) {
    const tag_t line = new_line(0, 0, 0, 1, 0, 0);
    int n = 5;
    double** pts = reinterpret_cast<double**>(1);
    EXPECT_NE(HM_VD_SI_ask_spline_thru_point_data(line, &n, &pts), 0);
    EXPECT_EQ(n, 0);
    EXPECT_EQ(pts, nullptr);
    EXPECT_EQ(HM_VD_SI_ask_spline_thru_point_data(0, &n, &pts), -1);
}

TEST_F(UtilitiesTest, ContourAngleIsReadFromTheNameWithinTheRange) {
    const tag_t curve = new_line(0, 0, 0, 1, 0, 0);
    struct Case { const char* name; double lo, hi; int code, angle; };
    const Case cases[] = {{"30", 20.5, 40.2, 0, 30}, {"20", 20.5, 40.2, 0, 20}, {"41", 20.5, 40.2, 0, 41},
                          {"42", 20.5, 40.2, -1, 0}, {"OUTER", 0, 90, -1, 0}, {"3x", 0, 90, -1, 0},
                          {"50", 60, 40, 0, 50}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HM_OBJ_set_name(curve, c.name);
        const double range[2] = {c.lo, c.hi};
        int angle = -99;
        EXPECT_EQ(HM_VD_SI_ask_angle_of_contour_line(curve, range, &angle), c.code);
        if (c.code == 0) {
            EXPECT_EQ(angle, c.angle);
        }
    }
    const double range[2] = {0, 90};
    int angle = 0;
    EXPECT_EQ(HM_VD_SI_ask_angle_of_contour_line(0, range, &angle), -1);
}

TEST_F(UtilitiesTest, DispersedPointsOfOpenAndClosedCurves) {
    const tag_t line = new_line(0, 0, 0, 30, 0, 0);
    double** pts = nullptr;
    ASSERT_EQ(HM_VD_SI_disperse_curve(line, false, 4, &pts), 0);
    for (int i = 0; i < 4; ++i) expect_point(pts[i], {10.0 * i, 0, 0}, 1e-9);
    free_points(4, pts);
    ASSERT_EQ(HM_VD_SI_disperse_curve(line, true, 4, &pts), 0);
    expect_point(pts[0], {30, 0, 0}, 1e-9);
    free_points(4, pts);
    // A full circle of radius 10: points at 0, 0.25, 0.5, 0.75.
    const tag_t circle = host_testing::make_arc({0, 0, 0}, 10.0, 0.0, 2 * M_PI);
    ASSERT_EQ(HM_VD_SI_disperse_curve(circle, false, 4, &pts), 0);
    expect_point(pts[0], {10, 0, 0}, 1e-9);
    expect_point(pts[1], {0, 10, 0}, 1e-9);
    expect_point(pts[2], {-10, 0, 0}, 1e-9);
    free_points(4, pts);
    EXPECT_EQ(HM_VD_SI_disperse_curve(line, false, 2, &pts), -1);
    EXPECT_EQ(pts, nullptr);
    const double corner[3] = {0, 0, 0}, u[3] = {1, 0, 0}, v[3] = {0, 1, 0};
    EXPECT_EQ(HM_VD_SI_disperse_curve(host_testing::make_planar_sheet(corner, u, v), false, 4, &pts), -1);
    EXPECT_EQ(HM_VD_SI_disperse_curve(0, false, 4, &pts), -1);
}

TEST_F(UtilitiesTest, SublistsFollowTheGroupSizes) {
    std::vector<tag_t> items;
    for (int i = 0; i < 6; ++i) items.push_back(new_point(i, 0, 0));
    hm_list_p_t list = make_list(items);
    const int sizes[] = {2, 3, 1};
    struct Case { int index; std::vector<tag_t> expected; bool null; };
    const Case cases[] = {{0, {items[0], items[1]}, false}, {1, {items[2], items[3], items[4]}, false},
                          {2, {items[5]}, false}, {3, {}, true}, {-1, {}, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.index);
        hm_list_p_t sub = reinterpret_cast<hm_list_p_t>(1);
        HM_VD_SI_ask_sublist(list, 3, sizes, c.index, &sub);
        if (c.null) {
            EXPECT_EQ(sub, nullptr);
        } else {
            EXPECT_EQ(list_items(sub), c.expected);
            HM_MODL_delete_list(&sub);
        }
    }
    // Groups that run past the list.
    const int too_long[] = {4, 3};
    hm_list_p_t sub = nullptr;
    HM_VD_SI_ask_sublist(list, 2, too_long, 1, &sub);
    EXPECT_EQ(sub, nullptr);
    HM_MODL_delete_list(&list);
}

TEST_F(UtilitiesTest, PointsOfAnAreaListCurveByCurve) {
    double a[2][3] = {{0, 0, 0}, {1, 0, 0}}, b[3][3] = {{0, 0, 0}, {0, 1, 0}, {0, 2, 1}};
    tag_t ca = 0, cb = 0;
    VD_CURVE_create_linear(a, 2, 1, &ca);
    VD_CURVE_create_linear(b, 3, 1, &cb);
    hm_list_p_t list = make_list({ca, cb});
    int n = 0;
    int* counts = nullptr;
    double*** points = nullptr;
    ASSERT_EQ(HM_VD_SI_ask_points_of_interval_area(list, &n, &counts, &points), 0);
    ASSERT_EQ(n, 2);
    EXPECT_EQ(counts[0], 2);
    EXPECT_EQ(counts[1], 3);
    expect_point(points[1][2], {0, 2, 1}, 0.0);
    for (int i = 0; i < n; ++i) free_points(counts[i], points[i]);
    SM_free(counts);
    SM_free(points);
    HM_MODL_delete_list(&list);
    // An empty list: no curves, arrays to free all the same.
    ASSERT_EQ(HM_VD_SI_ask_points_of_interval_area(nullptr, &n, &counts, &points), 0);
    EXPECT_EQ(n, 0);
    SM_free(counts);
    SM_free(points);
    EXPECT_EQ(HM_VD_SI_ask_points_of_interval_area(nullptr, nullptr, &counts, &points), -1);
}

TEST_F(UtilitiesTest, GridCountsGoOnAFaceOrOnEveryFaceOfABody) {
    const double corner[3] = {0, 0, 0}, size[3] = {10, 20, 30};
    const tag_t box = host_testing::make_box(corner, size);
    const std::vector<tag_t> faces = faces_of(box);
    const int marks = host_testing::undo_mark_count();
    EXPECT_EQ(HM_VD_SI_set_grid(faces[1], 6, 12), 0);
    EXPECT_EQ(host_testing::grid_counts(faces[1]), (std::array<int, 2>{6, 12}));
    EXPECT_EQ(host_testing::grid_counts(faces[0]), (std::array<int, 2>{0, 0}));
    EXPECT_EQ(HM_VD_SI_set_grid(box, 12, 6), 0);
    for (tag_t f : faces) EXPECT_EQ(host_testing::grid_counts(f), (std::array<int, 2>{12, 6}));
    EXPECT_EQ(host_testing::undo_mark_count(), marks);
}

TEST_F(UtilitiesTest, GridOnAnythingElseFailsAndLeavesThePartUnchanged) {
    const double corner[3] = {0, 0, 0}, size[3] = {10, 20, 30};
    const tag_t box = host_testing::make_box(corner, size);
    const std::vector<tag_t> faces = faces_of(box);
    ASSERT_EQ(HM_VD_SI_set_grid(box, 3, 4), 0);
    const int objects = host_testing::count_objects();
    const int marks = host_testing::undo_mark_count();
    struct Case { const char* what; tag_t object; int u, v, code; };
    const Case cases[] = {{"an edge", edges_of(box).at(0), 6, 12, -2},
                          {"a line", new_line(0, 0, 0, 1, 0, 0), 6, 12, -2},
                          {"no object", 0, 6, 12, -1},
                          {"a negative count on a body", box, -1, 12, HM_ERR_BAD_ARGUMENT}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(HM_VD_SI_set_grid(c.object, c.u, c.v), c.code);
        for (tag_t f : faces) EXPECT_EQ(host_testing::grid_counts(f), (std::array<int, 2>{3, 4}));
        EXPECT_EQ(host_testing::undo_mark_count(), marks);
    }
    EXPECT_EQ(host_testing::count_objects(), objects + 1);   // only the line of the table
}
