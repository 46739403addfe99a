// Mirror optics on geometry: the view angle to the mirror's outer edge with
// and without the head turn, and outlines reflected onto the plane x = Xt.
#include "hm_vd_mc.h"
#include "host_fixture.h"
#include "host_testing.h"
#include "mirror_helpers.h"
#include "mirror_optics.h"
#include "mirror_record.h"
#include "omvra.h"
#include "test_helpers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

using namespace carvell::mirror;

constexpr double kPi = 3.14159265358979323846;
double deg(double radians) { return radians * 180.0 / kPi; }

class MirrorViewAnglesTest : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        zero_fill(&data_);
        // Glass 190 x 120 in the plane x = 650, centre (650, -1000, 1000).
        const double corner[3] = {650, -1095, 940}, u[3] = {0, 190, 0}, v[3] = {0, 0, 120};
        data_.mirror = host_testing::make_planar_sheet(corner, u, v);
        const double eye_ref[3] = {1250, -370, 520}, mirror_ref[3] = {650, -1000, 1000};
        std::copy(eye_ref, eye_ref + 3, data_.eye_reference_point);
        std::copy(mirror_ref, mirror_ref + 3, data_.mirror_reference_point);
    }
    mc_data_s data_{};
    const double eyes_[3][3] = {{1290, -402.5, 1158}, {1290, -370, 1158}, {1290, -337.5, 1158}};
    const double pivot_[3] = {1400, -370, 1000};
};

TEST_F(MirrorViewAnglesTest, FromTheOuterEyeToTheFarEdge) {
    // The eye reference lies at larger Y than the mirror: the outer eye is
    // entry 2 and the outermost glass point the corner (650, -1095, 1060).
    double out[3][3], view = 0, head = -1;
    ASSERT_EQ(mc_ask_mirror_view_angles(&data_, eyes_, pivot_, out, &view, &head), 0);
    EXPECT_NEAR(view, deg(std::atan(757.5 / 640.0)), 1e-9);
    EXPECT_EQ(head, 0.0);
    for (int i = 0; i < 3; ++i) support::expect_point(out[i], {eyes_[i][0], eyes_[i][1], eyes_[i][2]}, 0.0);

    // Mirror on the other side: entry 0 looks at the edge at +Y.
    data_.mirror_reference_point[1] = 1000.0;
    ASSERT_EQ(mc_ask_mirror_view_angles(&data_, eyes_, pivot_, out, &view, &head), 0);
    EXPECT_NEAR(view, 180.0 - std::fabs(deg(std::atan2(-905.0 + 402.5, 650.0 - 1290.0))), 1e-9);

    data_.mirror = 0;
    EXPECT_EQ(mc_ask_mirror_view_angles(&data_, eyes_, pivot_, out, &view, &head), 1);
    EXPECT_EQ(mc_ask_mirror_view_angles(nullptr, eyes_, pivot_, out, &view, &head), -1);
}

TEST_F(MirrorViewAnglesTest, TheHeadTurnsWhenTheEdgeIsMoreThanThirtyDegreesAside) {
    data_.head_rotation = true;
    double out[3][3], view = 0, head = 0;
    ASSERT_EQ(mc_ask_mirror_view_angles(&data_, eyes_, pivot_, out, &view, &head), 0);
    // The turn by hand: target X = (650, -1095, 1060), pivot H, outer eye 2.
    const double dx = std::fabs(650.0 - 1400.0), dy = std::fabs(-1095.0 + 370.0);
    const double r = 0.5 * (65.0 / (2.0 * std::tan(kPi / 6)) + 110.0) / std::sqrt(dx * dx + dy * dy);
    const double theta = deg(std::atan2(dy, dx)) - (30.0 - deg(std::asin(r)));
    EXPECT_NEAR(head, theta, 1e-9);
    // The eyes turned about the pivot in plan by theta (H.y >= X.y: positive).
    const double c = std::cos(theta * kPi / 180), s = std::sin(theta * kPi / 180);
    const double x2 = 1400 + (1290 - 1400) * c - (-337.5 + 370) * s;
    const double y2 = -370 + (1290 - 1400) * s + (-337.5 + 370) * c;
    support::expect_point(out[2], {x2, y2, 1158}, 1e-9);
    EXPECT_NEAR(view, 180.0 - std::fabs(deg(std::atan2(-1095.0 - y2, 650.0 - x2))), 1e-9);
}

class OutlineReflectionTest : public HostTest {
protected:
    // The outline of a square sheet in the plane x = x0, |y - yc|, |z - zc| <= half.
    void square_outline(double x0, double yc, double zc, double half) {
        const double corner[3] = {x0, yc - half, zc - half}, u[3] = {0, 2 * half, 0}, v[3] = {0, 0, 2 * half};
        const tag_t sheet = host_testing::make_planar_sheet(corner, u, v);
        ASSERT_EQ(mc_sheet_elements(sheet, nullptr, 0, 0.0, &set_), 0);
        HM_OBJ_delete_object(sheet);
    }
    void TearDown() override {
        mc_free_geometry_set(&set_);
        HostTest::TearDown();
    }
    static void expect_box(tag_t object, const double expected[6], double tolerance) {
        double box[6];
        ASSERT_EQ(HM_MODL_ask_bounding_box(object, box), 0);
        for (int i = 0; i < 6; ++i) EXPECT_NEAR(box[i], expected[i], tolerance) << "box value " << i;
    }
    mc_geometry_set_s set_{};
    const double tolerances_[2] = {0.01, 0.05};
};

mc_mirror_surface_record plane_at_origin() {
    mc_mirror_surface_record m{};
    m.normal[0] = 1.0;
    return m;
}

TEST_F(OutlineReflectionTest, PlaneMirrorOutlineOnTheGlassReflectsOntoTheTargetPlane) {
    // Eye (1000, 0, 0) before the plane x = 0; the ray to (0, 50, 50) leaves
    // along (1000, 50, 50) and reaches x = 2000 at (2000, 150, 150).
    square_outline(0.0, 0.0, 0.0, 50.0);
    const mc_mirror_surface_record mirror = plane_at_origin();
    const double eye[3] = {1000, 0, 0}, target[3] = {2000, 0, 0};
    const int objects = host_testing::count_objects();
    tag_t on_mirror = 0, reflected = 0;
    ASSERT_EQ(mc_reflect_mirror_outline(&set_, 0, eye, &mirror, tolerances_, target, 0, &on_mirror, &reflected), 0);
    EXPECT_NEAR(host_testing::surface_area(on_mirror), 100.0 * 100.0, 0.5);
    EXPECT_NEAR(host_testing::surface_area(reflected), 300.0 * 300.0, 5.0);
    const double reflected_box[6] = {2000, -150, -150, 2000, 150, 150};
    expect_box(reflected, reflected_box, 0.02);
    // The two sheets (bodies with their features) are all that is left.
    EXPECT_EQ(host_testing::count_objects(), objects + 4);
}

TEST_F(OutlineReflectionTest, PlaneMirrorTargetsSeenInTheMirror) {
    square_outline(2000.0, 0.0, 0.0, 150.0);
    const mc_mirror_surface_record mirror = plane_at_origin();
    const double eye[3] = {1000, 0, 0}, target[3] = {2000, 0, 0};
    tag_t on_mirror = 0, reflected = 0;
    ASSERT_EQ(mc_reflect_mirror_outline(&set_, 1, eye, &mirror, tolerances_, target, 0, &on_mirror, &reflected), 0);
    const double mirror_box[6] = {0, -50, -50, 0, 50, 50};
    expect_box(on_mirror, mirror_box, 0.02);
    EXPECT_NEAR(host_testing::surface_area(reflected), 300.0 * 300.0, 5.0);

    // Projected onto a plane object at x = 2100 along its normal.
    const tag_t backlite = host_testing::make_plane({2100, 0, 0}, {1, 0, 0});
    tag_t on_mirror2 = 0, projected = 0;
    ASSERT_EQ(
        mc_reflect_mirror_outline(&set_, 1, eye, &mirror, tolerances_, target, backlite, &on_mirror2, &projected), 0);
    const double projected_box[6] = {2100, -150, -150, 2100, 150, 150};
    expect_box(projected, projected_box, 0.02);
}

TEST_F(OutlineReflectionTest, ConvexMirrorTargetsSeenInTheMirror) {
    // Glass R 1400, vertex (650, -1000, 1000); eye on the axis; a 600 x 600
    // target square at x = 3000 about the axis.
    mc_mirror_surface_record mirror{};
    const double vertex[3] = {650, -1000, 1000};
    std::copy(vertex, vertex + 3, mirror.vertex);
    mirror.normal[0] = 1.0;
    mirror.radius = 1400.0;
    mirror.curvature = 1.0 / 1400.0;
    mirror.centre[0] = 650.0 - 1400.0;
    mirror.centre[1] = -1000.0;
    mirror.centre[2] = 1000.0;
    square_outline(3000.0, -1000.0, 1000.0, 300.0);
    const double eye[3] = {1290, -1000, 1000}, target[3] = {3000, 0, 0};
    tag_t on_mirror = 0, reflected = 0;
    ASSERT_EQ(mc_reflect_mirror_outline(&set_, 1, eye, &mirror, tolerances_, target, 0, &on_mirror, &reflected), 0);
    // The reflected rays pass through the targets themselves.
    const double reflected_box[6] = {3000, -1300, 700, 3000, -700, 1300};
    expect_box(reflected, reflected_box, 0.05);
    // The sheet on the glass lies on the sphere, symmetric about the axis.
    double d = 0, p1[3], p2[3];
    ASSERT_EQ(HM_MODL_ask_minimum_dist(on_mirror, 0, 0, nullptr, 1, mirror.centre, &d, p1, p2), 0);
    EXPECT_NEAR(d, 1400.0, 0.05);
    double box[6];
    ASSERT_EQ(HM_MODL_ask_bounding_box(on_mirror, box), 0);
    EXPECT_NEAR(box[1] + box[4], -2000.0, 0.05);
    EXPECT_NEAR(box[2] + box[5], 2000.0, 0.05);
    EXPECT_NEAR(box[3], 650.0, 1e-6);   // the vertex is inside
}

TEST_F(OutlineReflectionTest, ARayParallelToTheTargetPlaneFailsAndLeavesNothing) {
    // Glass turned 45 degrees about Z: the ray from (1000, 0, 0) to the origin leaves along +Y.
    mc_mirror_surface_record mirror{};
    mirror.normal[0] = mirror.normal[1] = std::sqrt(0.5);
    double p[4][3] = {{10, -10, -10}, {0, 0, 0}, {-10, 10, 10}, {10, -10, -10}};
    double* rows[4] = {p[0], p[1], p[2], p[3]};
    int breaks[2] = {0, 3};
    mc_geometry_set_s outline{};
    outline.point_count = 4;
    outline.points = rows;
    outline.break_count = 2;
    outline.breaks = breaks;
    const double eye[3] = {1000, 0, 0}, target[3] = {2000, 0, 0};
    const int objects = host_testing::count_objects();
    tag_t on_mirror = 7, reflected = 7;
    EXPECT_EQ(mc_reflect_mirror_outline(&outline, 0, eye, &mirror, tolerances_, target, 0, &on_mirror, &reflected),
              1);
    EXPECT_EQ(on_mirror, 0u);
    EXPECT_EQ(reflected, 0u);
    EXPECT_EQ(host_testing::count_objects(), objects);
    EXPECT_EQ(mc_reflect_mirror_outline(nullptr, 0, eye, &mirror, tolerances_, target, 0, &on_mirror, &reflected), -1);
}

}  // namespace
