// Glazing: faces against the eyellipse, and the forward glazing's section
// extremes, sight-line hits and nearest point on a tilted quad.
#include "hm_vd_vision.h"
#include "vision_fixtures.h"
#include "vision_glazing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace {

class GlazeTest : public HostTest {
protected:
    // A quad from x 1000 at z 1000 up to x 1400 at z 1600, y0 to y1.
    tag_t Quad(double y0, double y1, double x0 = 1000.0) {
        const double corner[3] = {x0, y0, 1000.0}, u[3] = {0.0, y1 - y0, 0.0}, v[3] = {400.0, 0.0, 600.0};
        return support::faces_of(host_testing::make_planar_sheet(corner, u, v)).at(0);
    }
    static void Set(output_t& out, int slot, double x, double y, double z) {
        out.slot[slot][0] = x;
        out.slot[slot][1] = y;
        out.slot[slot][2] = z;
    }
    // Section z = 1300; sight line y = -370, z = 1250; second line y = 700.
    static output_t Planes() {
        output_t out{};
        Set(out, GLAZE_SECTION_POINT, 0, 0, 1300);
        Set(out, GLAZE_SECTION_NORMAL, 0, 0, 1);
        Set(out, GLAZE_PLANE2_POINT, 0, -370, 0);
        Set(out, GLAZE_PLANE2_NORMAL, 0, 1, 0);
        Set(out, GLAZE_PLANE3_POINT, 0, 0, 1250);
        Set(out, GLAZE_PLANE3_NORMAL, 0, 0, 1);
        Set(out, GLAZE_PLANE4_POINT, 0, 700, 0);
        Set(out, GLAZE_PLANE4_NORMAL, 0, 1, 0);
        return out;
    }
    const double origin_[3] = {0, 0, 0};
    const double identity_[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
};

void ExpectPoint(const double p[3], double x, double y, double z, double tol) {
    EXPECT_NEAR(p[0], x, tol);
    EXPECT_NEAR(p[1], y, tol);
    EXPECT_NEAR(p[2], z, tol);
}

TEST_F(GlazeTest, FacesAheadOfOrBehindTheEyellipse) {
    ASSERT_NE(host_testing::make_eyellipse("EYE", vision_test::distinct_eyellipse()), 0u);
    // Middle centroid x 2743, first 95th axis 206.4: ahead means min x below
    // 2536.6, behind max x above 2949.4.
    tag_t ahead = Quad(-600, 600);
    tag_t just_not_ahead = Quad(-600, 600, 2536.6);
    tag_t behind = Quad(-600, 600, 2600.0);   // x 2600 to 3000
    const struct {
        const char* what;
        int mode;
        tag_t face;
        bool expected;
    } cases[] = {
        {"ahead, mode 0", 0, ahead, true},          {"ahead, mode 2", 2, ahead, false},
        {"at the limit, mode 0", 0, just_not_ahead, false}, {"behind, mode 2", 2, behind, true},
        {"behind, mode 0", 0, behind, false},       {"mode 1 asks nothing", 1, ahead, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(HM_VD_GLAZE_check_glazing_face(c.mode, 1, &c.face, "root:EYE:", origin_, identity_), c.expected);
    }
    for (int mode : {0, 1, 2}) EXPECT_TRUE(HM_VD_GLAZE_check_glazing_face(mode, 0, nullptr, "root:EYE:", origin_, identity_));
    // A short or missing attribute: false.
    ASSERT_EQ(host_testing::set_rule("root:EYE:Axis_Length_95:", "{ 206.4 }"), 0);
    EXPECT_FALSE(HM_VD_GLAZE_check_glazing_face(1, 1, &ahead, "root:EYE:", origin_, identity_));
    EXPECT_FALSE(HM_VD_GLAZE_check_glazing_face(1, 0, nullptr, "root:NONE:", origin_, identity_));
}

TEST_F(GlazeTest, ForwardDataOnATiltedQuad) {
    tag_t face = Quad(-600, 600);
    const int objects = host_testing::count_objects();
    output_t out = Planes();
    ASSERT_EQ(HM_VD_GLAZE_forward_glazing_data(1, &face, origin_, identity_, &out), 0);
    // Section z = 1300 runs across at x 1200.
    ExpectPoint(out.slot[GLAZE_SECTION_MIN_Y], 1200, -600, 1300, 1e-6);
    ExpectPoint(out.slot[GLAZE_SECTION_MAX_Y], 1200, 600, 1300, 1e-6);
    // The sight line at z 1250 pierces at x = 1000 + 400 * 250 / 600.
    const double x = 1000.0 + 400.0 * 250.0 / 600.0;
    ExpectPoint(out.slot[GLAZE_HIT_LEFT], x, -370, 1250, 1e-6);
    ExpectPoint(out.slot[GLAZE_HIT_RIGHT], x, 370, 1250, 1e-6);
    // The glazing point nearest to the line y 700, z 1250: on its edge y 600.
    ExpectPoint(out.slot[GLAZE_NEAREST], x, 600, 1250, 1e-3);
    EXPECT_EQ(host_testing::count_objects(), objects);
}

TEST_F(GlazeTest, ForwardDataFailuresGiveTheirCodes) {
    const struct {
        const char* what;
        double y0, y1;
        int expected;
    } cases[] = {
        {"section from -0.0 to +5", 0.0, 5.0, 3},
        {"section all on one side", -600.0, -100.0, 3},
        {"sight line misses the glazing", -300.0, 600.0, 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        tag_t face = Quad(c.y0, c.y1);
        const int objects = host_testing::count_objects();
        output_t out = Planes();
        EXPECT_EQ(HM_VD_GLAZE_forward_glazing_data(1, &face, origin_, identity_, &out), c.expected);
        EXPECT_EQ(host_testing::count_objects(), objects);
    }
    output_t out = Planes();
    EXPECT_EQ(HM_VD_GLAZE_forward_glazing_data(0, nullptr, origin_, identity_, &out), 1);
    EXPECT_EQ(HM_VD_GLAZE_forward_glazing_data(0, nullptr, origin_, identity_, nullptr), 1);
}

TEST_F(GlazeTest, PlanePlaneLinesIncludingHorizontalOnes) {
    using carvell::vision::plane_plane_line;
    const struct {
        const char* what;
        double p1[3], n1[3], p2[3], n2[3];
    } cases[] = {
        {"horizontal along x", {0, -370, 0}, {0, 1, 0}, {0, 0, 1250}, {0, 0, 1}},
        {"horizontal along y", {700, 0, 0}, {1, 0, 0}, {0, 0, 900}, {0, 0, 1}},
        {"oblique", {10, 20, 30}, {1, 2, 3}, {-5, 4, 1}, {0, 1, -1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        double point[3], dir[3];
        ASSERT_EQ(plane_plane_line(c.p1, c.n1, c.p2, c.n2, point, dir), 0);
        // The point lies on both planes and the direction in both.
        auto on = [&](const double p[3], const double n[3]) {
            return (point[0] - p[0]) * n[0] + (point[1] - p[1]) * n[1] + (point[2] - p[2]) * n[2];
        };
        EXPECT_NEAR(on(c.p1, c.n1), 0.0, 1e-9);
        EXPECT_NEAR(on(c.p2, c.n2), 0.0, 1e-9);
        EXPECT_NEAR(dir[0] * c.n1[0] + dir[1] * c.n1[1] + dir[2] * c.n1[2], 0.0, 1e-12);
        EXPECT_NEAR(dir[0] * c.n2[0] + dir[1] * c.n2[1] + dir[2] * c.n2[2], 0.0, 1e-12);
        EXPECT_NEAR(std::hypot(std::hypot(dir[0], dir[1]), dir[2]), 1.0, 1e-12);
    }
    const double p[3] = {0, 0, 0}, n[3] = {0, 0, 1}, q[3] = {0, 0, 5}, m[3] = {0, 0, -2};
    double point[3] = {7, 7, 7}, dir[3];
    EXPECT_EQ(plane_plane_line(p, n, q, m, point, dir), -1);
    EXPECT_EQ(point[0], 7.0);
}

}  // namespace
