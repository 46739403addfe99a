// Curve structures of conics: centre, semi-axes and axis directions in
// absolute coordinates, also for an ellipse in a turned plane.
#include "host_fixture.h"
#include "host_testing.h"
#include "omvra.h"
#include "omvra/curves.h"
#include "quillon.h"
#include "test_helpers.h"

#include <gtest/gtest.h>

namespace {

class CurveStructTest : public HostTest {};

TEST_F(CurveStructTest, EllipseInATurnedPlaneGivesAbsoluteCentreAndAxes) {
    // Semi-axes 103.2 along (0, 0.6, 0.8) and 30.15 along (1, 0, 0).
    const tag_t ellipse = host_testing::make_ellipse({1290, -402.5, 1158}, 103.2, 30.15, {0, 0.6, 0.8}, {1, 0, 0});
    ASSERT_NE(ellipse, 0u);
    HM_CURVE_struct_p_t s = nullptr;
    ASSERT_EQ(HM_CURVE_ask_curve_struct(ellipse, &s), 0);
    int type = 0;
    double* d = nullptr;
    ASSERT_EQ(HM_CURVE_ask_curve_struct_data(s, &type, &d), 0);
    EXPECT_EQ(type, HM_CURVE_STRUCT_CONIC);
    support::expect_point(d, {1290, -402.5, 1158}, 1e-9);
    EXPECT_NEAR(d[5], 103.2, 1e-9);
    EXPECT_NEAR(d[6], 30.15, 1e-9);
    support::expect_point(d + 11, {0, 0.6, 0.8}, 1e-9);
    support::expect_point(d + 14, {1, 0, 0}, 1e-9);
    // The first axis really points to the conic's point at angle 0.
    support::expect_point(support::curve_point(ellipse, 0.0), {1290, -402.5 + 61.92, 1158 + 82.56}, 1e-6);
    HM_free(d);
    HM_CURVE_free_curve_struct(s);
}

TEST_F(CurveStructTest, OtherCurvesAndNullArguments) {
    HM_CURVE_struct_p_t s = nullptr;
    EXPECT_EQ(HM_CURVE_ask_curve_struct(support::new_line(0, 0, 0, 1, 0, 0), &s), HM_ERR_WRONG_TYPE);
    EXPECT_EQ(HM_CURVE_ask_curve_struct(0, &s), HM_ERR_INVALID_TAG);
    EXPECT_EQ(HM_CURVE_ask_curve_struct(0, nullptr), HM_ERR_NULL_POINTER);
    int type;
    double* d;
    EXPECT_EQ(HM_CURVE_ask_curve_struct_data(nullptr, &type, &d), HM_ERR_NULL_POINTER);
}

}  // namespace
