// Hood visibility limit points: the plane fan and the grazing points on a
// box's top face standing in for a hood.
#include "hm_vd_vision.h"
#include "vision_fixtures.h"
#include "vision_hood.h"

#include "omvra.h"
#include "quillon.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

constexpr double kDeg = 3.14159265358979323846 / 180.0;

class HoodTest : public HostTest {
protected:
    // A box 1000 x 1000 x 800 with its front edge at x = 0; its top face.
    tag_t TopFace() {
        const double corner[3] = {0.0, -500.0, 0.0}, size[3] = {1000.0, 1000.0, 800.0};
        const tag_t box = host_testing::make_box(corner, size);
        for (tag_t face : support::faces_of(box)) {
            double b[6];
            EXPECT_EQ(HM_MODL_ask_bounding_box(face, b), 0);
            if (std::fabs(b[2] - 800.0) < 1e-6 && std::fabs(b[5] - 800.0) < 1e-6) return face;
        }
        return 0;
    }
    hv_input_t Input(tag_t* face, double step) {
        hv_input_t in{};
        in.eye_point[0] = 1500.0;
        in.eye_point[2] = 1200.0;
        in.face_count = 1;
        in.faces = face;
        in.pitch_step = step;
        in.csys_matrix[0] = in.csys_matrix[4] = in.csys_matrix[8] = 1.0;
        return in;
    }
    static void Free(int count, double** points) {
        for (int i = 0; i < count; ++i) SM_free(points[i]);
        SM_free(points);
    }
};

TEST_F(HoodTest, PlaneFanForStepsThatDivideNinetyAndThatDoNot) {
    using carvell::vision::hood_plane_normals;
    // Step 30: angles 0, 30, 60, 90; the normal (0, -1, 0) turned about z.
    const auto n30 = hood_plane_normals(30.0, 0);
    ASSERT_EQ(n30.size(), 4u);
    for (size_t i = 0; i < n30.size(); ++i) {
        SCOPED_TRACE(i);
        const double a = 30.0 * i * kDeg;
        EXPECT_NEAR(n30[i][0], std::sin(a), 1e-12);
        EXPECT_NEAR(n30[i][1], -std::cos(a), 1e-12);
    }
    // Step 40: 0, 40, 80, and a last plane whose normal is the forward one.
    const auto n40 = hood_plane_normals(40.0, 1);
    ASSERT_EQ(n40.size(), 4u);
    EXPECT_NEAR(n40[1][0], std::sin(40.0 * kDeg), 1e-12);   // side 1 turns the other way
    EXPECT_NEAR(n40[1][1], std::cos(40.0 * kDeg), 1e-12);
    EXPECT_EQ(n40[3][0], -1.0);
    EXPECT_EQ(n40[3][1], 0.0);
    EXPECT_TRUE(hood_plane_normals(0.0, 0).empty());
    EXPECT_TRUE(hood_plane_normals(-5.0, 0).empty());
}

// The sight line from the eye (1500, 0, 1200) grazes the flat top at the far
// end of its section: the front edge x = 0 at y = -+1500 tan(angle) while
// that is within the box's half width, the side edge beyond.
TEST_F(HoodTest, LimitPointsLieWhereSightLinesGrazeTheFrontEdge) {
    tag_t face = TopFace();
    ASSERT_NE(face, 0u);
    hv_input_t in = Input(&face, 5.0);
    int count = 0;
    double** points = nullptr;
    ASSERT_EQ(HM_VD_HV_GetVisiLimitPoints(&in, &count, &points), 0);
    // Planes beyond 45 deg pass behind the box's rear (x = 1000) and miss
    // it; 0 to 45 give a point each: 10 per side, less side 1's forward one.
    ASSERT_EQ(count, 19);
    for (int i = 0; i < count; ++i) {
        SCOPED_TRACE(i);
        // Side 1 first from angle 45 down to 5 (y > 0), then side 0 from 0 out.
        const double angle = i < 9 ? (9 - i) * 5.0 : (i - 9) * 5.0;
        const double sign = i < 9 ? 1.0 : -1.0;
        const double t = std::tan(angle * kDeg);
        double x = 0.0, y = sign * 1500.0 * t;
        if (std::fabs(y) > 500.0) {
            y = sign * 500.0;
            x = 1500.0 - 500.0 / t;
        }
        EXPECT_NEAR(points[i][0], x, 1e-3);
        EXPECT_NEAR(points[i][1], y, 1e-3);
        EXPECT_NEAR(points[i][2], 800.0, 1e-6);
    }
    Free(count, points);
    EXPECT_EQ(host_testing::status_texts().back(), "Calculating Tangent Point of each pitch angle on Hood Face.");
}

TEST_F(HoodTest, BadInputBuildsNothing) {
    tag_t face = TopFace();
    const int objects = host_testing::count_objects();
    int count = -7;
    double** points = nullptr;
    const struct {
        const char* what;
        double step;
        int faces;
    } cases[] = {{"zero step", 0.0, 1}, {"negative step", -10.0, 1}, {"no faces", 10.0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        hv_input_t in = Input(&face, c.step);
        in.face_count = c.faces;
        EXPECT_EQ(HM_VD_HV_GetVisiLimitPoints(&in, &count, &points), 1);
        EXPECT_EQ(count, -7);
        EXPECT_EQ(points, nullptr);
    }
    hv_input_t in = Input(&face, 10.0);
    EXPECT_EQ(HM_VD_HV_GetVisiLimitPoints(nullptr, &count, &points), 1);
    EXPECT_EQ(HM_VD_HV_GetVisiLimitPoints(&in, nullptr, &points), 1);
    // An eye in front of the whole hood sees no point ahead of it.
    in.eye_point[0] = -100.0;
    EXPECT_EQ(HM_VD_HV_GetVisiLimitPoints(&in, &count, &points), 1);
    EXPECT_EQ(host_testing::count_objects(), objects);
}

TEST_F(HoodTest, TangentOfAnEmptySectionIsThree) {
    const double eye[3] = {0, 0, 0}, normal[3] = {0, 1, 0};
    double point[3];
    EXPECT_EQ(HM_VD_HV_TangentGeoFromEyePoint(eye, normal, 0, nullptr, point), 3);
}

}  // namespace
