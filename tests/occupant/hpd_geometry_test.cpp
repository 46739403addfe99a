// Exported geometry primitives of the H-point design tool: the plan-view
// turn, the circle intersection, list and array conversion and the W
// adjustment of a section plane's base point.
#include "hpd/geometry.h"

#include "host_fixture.h"
#include "occupant_fixtures.h"
#include "omvra.h"
#include "quillon.h"

#include <cmath>

using occupant_test::kDeg;

// The plan-view turn, circles, lists and arrays, and the section plane's base point.
class GeometryTest : public HostTest {
protected:
    // Two boxes spanning W 10 to 20 and W 40 to 45.
    void make_boxes() {
        const double c1[3] = {0, 10, 0}, s1[3] = {10, 10, 10};
        const double c2[3] = {0, 40, 0}, s2[3] = {5, 5, 5};
        boxes_[0] = host_testing::make_box(c1, s1);  // W 10 .. 20
        boxes_[1] = host_testing::make_box(c2, s2);  // W 40 .. 45
        ASSERT_NE(boxes_[0], NULL_TAG);
        ASSERT_NE(boxes_[1], NULL_TAG);
    }
    tag_t boxes_[2] = {0, 0};
};

TEST_F(GeometryTest, PointIsTurnedAboutTheVerticalInThePlanView) {
    double centre[3] = {1.0, 2.0, 3.0};
    double point[3] = {4.0, 6.0, 100.0}, out[3];
    // (3, 4) from the centre, turned 30 degrees counter-clockwise.
    HPD_transform_point_to_pv(point, centre, 30.0, out);
    EXPECT_NEAR(out[0], 1.0 + 3.0 * std::cos(30 * kDeg) - 4.0 * std::sin(30 * kDeg), 1e-12);
    EXPECT_NEAR(out[1], 2.0 + 3.0 * std::sin(30 * kDeg) + 4.0 * std::cos(30 * kDeg), 1e-12);
    EXPECT_EQ(out[2], 100.0);

    double origin[3] = {0, 0, 0}, p[3] = {10.0, 0.0, 5.0};
    HPD_transform_point_to_pv(p, origin, -90.0, p);  // in place
    EXPECT_NEAR(p[0], 0.0, 1e-12);
    EXPECT_NEAR(p[1], -10.0, 1e-12);
    EXPECT_EQ(p[2], 5.0);

    // A tiny angle and a point on the vertical through the centre stay put.
    double q[3] = {7.0, 8.0, 9.0}, r[3];
    HPD_transform_point_to_pv(q, centre, 1e-11, r);
    EXPECT_EQ(r[0], 7.0);
    EXPECT_EQ(r[1], 8.0);
    double above[3] = {1.0, 2.0, 50.0};
    HPD_transform_point_to_pv(above, centre, 45.0, r);
    EXPECT_EQ(r[0], 1.0);
    EXPECT_EQ(r[1], 2.0);
    EXPECT_EQ(r[2], 50.0);
}

TEST_F(GeometryTest, CircleIntersectionAnswersEachCaseWithItsPointsInOrder) {
    const struct {
        const char* name;
        double c1[2], r1, c2[2], r2;
        int result, count;
        double p[2][2];
    } cases[] = {
        {"outer contact", {0, 0}, 1, {2, 0}, 1, 0, 1, {{1, 0}}},
        {"just apart", {0, 0}, 1, {2.0000001, 0}, 1, -1, 0, {}},
        {"nested", {0, 0}, 5, {0, 0}, 1, -1, 0, {}},
        {"nested off centre", {0, 0}, 5, {1, 0}, 1, -1, 0, {}},
        {"same circle", {3, 3}, 2, {3, 3}, 2, -1, 0, {}},
        {"inner contact, big first", {0, 0}, 5, {3, 0}, 2, 0, 1, {{5, 0}}},
        {"inner contact, small first", {3, 0}, 2, {0, 0}, 5, 0, 1, {{5, 0}}},
        {"two points", {0, 0}, 5, {8, 0}, 5, 0, 2, {{4, 3}, {4, -3}}},
        {"two points, vertical", {0, 0}, 5, {0, 8}, 5, 0, 2, {{-3, 4}, {3, 4}}},
        {"3-4-5", {1, 1}, 3, {6, 1}, 4, 0, 2, {{2.8, 3.4}, {2.8, -1.4}}},
        {"negative radius", {0, 0}, -1, {1, 0}, 1, -1, 0, {}},
        {"not a number", {NAN, 0}, 1, {1, 0}, 1, -1, 0, {}},
    };
    for (const auto& c : cases) {
        double c1[2] = {c.c1[0], c.c1[1]}, c2[2] = {c.c2[0], c.c2[1]};
        int count = 77;
        double points[2][2] = {{-9, -9}, {-9, -9}};
        EXPECT_EQ(HM_VD_ask_circle_intersect_point(c1, c.r1, c2, c.r2, &count, points), c.result) << c.name;
        EXPECT_EQ(count, c.count) << c.name;
        for (int i = 0; i < c.count; ++i) {
            EXPECT_NEAR(points[i][0], c.p[i][0], 1e-9) << c.name << " point " << i;
            EXPECT_NEAR(points[i][1], c.p[i][1], 1e-9) << c.name << " point " << i;
        }
    }
    double c[2] = {0, 0}, points[2][2];
    EXPECT_EQ(HM_VD_ask_circle_intersect_point(c, 1, c, 1, nullptr, points), -1);
}

TEST_F(GeometryTest, ListsAndArraysConvertBothWays) {
    tag_t items[3] = {11, 22, 33};
    hm_list_s* list = nullptr;
    change_array_to_list(3, items, &list);
    int count = 0;
    tag_t* array = nullptr;
    change_list_to_array(list, &count, &array);
    ASSERT_EQ(count, 3);
    ASSERT_NE(array, nullptr);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(array[i], items[i]);
    SM_free(array);
    HM_MODL_delete_list(&list);

    change_array_to_list(0, nullptr, &list);
    change_list_to_array(list, &count, &array);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(array, nullptr);
    HM_MODL_delete_list(&list);

    change_array_to_list(3, items, &list);
    array = reinterpret_cast<tag_t*>(&count);
    change_list_to_array(list, nullptr, &array);
    EXPECT_EQ(array, nullptr);
    HM_MODL_delete_list(&list);
    ExpectNoLeaks();
}

TEST_F(GeometryTest, PlaneBaseBoxesGiveTheMiddleOfTheirWRange) {
    ASSERT_NO_FATAL_FAILURE(make_boxes());
    double base[3] = {3.0, 0.0, 4.0}, out[3];
    ASSERT_EQ(HM_VD_HPD_adjust_plane_base_pt(2, boxes_, base, true, out), 0);
    EXPECT_NEAR(out[1], 27.5, 1e-6);
    EXPECT_EQ(out[0], 3.0);
    EXPECT_EQ(out[2], 4.0);
    // An object without a box is skipped and does not pull the range to 0.
    tag_t with_bad[3] = {999999, boxes_[0], boxes_[1]};
    ASSERT_EQ(HM_VD_HPD_adjust_plane_base_pt(3, with_bad, base, true, out), 0);
    EXPECT_NEAR(out[1], 27.5, 1e-6);
    tag_t all_bad[1] = {999999};
    double off_centre[3] = {3.0, 7.0, 4.0};
    ASSERT_EQ(HM_VD_HPD_adjust_plane_base_pt(1, all_bad, off_centre, true, out), 0);
    EXPECT_EQ(out[1], 7.0);
}

TEST_F(GeometryTest, PlaneBaseNearestPointsMoveABaseOutsideTheirRange) {
    ASSERT_NO_FATAL_FAILURE(make_boxes());
    // Nearest points of the boxes to the base: W 10 and W 40.
    double base[3] = {5.0, 0.0, 5.0}, out[3];
    ASSERT_EQ(HM_VD_HPD_adjust_plane_base_pt(2, boxes_, base, false, out), 0);
    EXPECT_NEAR(out[1], 25.0, 1e-6);
    EXPECT_EQ(out[0], 5.0);
    EXPECT_EQ(out[2], 5.0);
    double inside[3] = {5.0, 30.0, 5.0};  // nearest W 20 and 40
    ASSERT_EQ(HM_VD_HPD_adjust_plane_base_pt(2, boxes_, inside, false, out), 0);
    EXPECT_EQ(out[1], 30.0);

    tag_t first_bad[2] = {999999, boxes_[0]};
    tag_t second_bad[2] = {boxes_[0], 999999};
    EXPECT_EQ(HM_VD_HPD_adjust_plane_base_pt(2, first_bad, base, false, out), 10);
    EXPECT_EQ(HM_VD_HPD_adjust_plane_base_pt(2, second_bad, base, false, out), 20);
    out[1] = -1.0;
    EXPECT_EQ(HM_VD_HPD_adjust_plane_base_pt(0, boxes_, base, false, out), 0);
    EXPECT_EQ(out[1], 0.0);
}
