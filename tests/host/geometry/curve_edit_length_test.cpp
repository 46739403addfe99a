// Curves shortened in place by an arc length at one end.
#include "host_fixture.h"
#include "host_testing.h"
#include "omvra.h"
#include "test_helpers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using host_testing::Point3;
constexpr double kPi = support::kPi;

class CurveEditLengthTest : public HostTest {};

// A half circle of radius 10 (length 10 pi): a quarter of its length off the
// start leaves it starting at 45 degrees, a quarter off the end ending at 135.
TEST_F(CurveEditLengthTest, ArcLosesTheLengthAtTheEndNamed) {
    const tag_t arc = host_testing::make_arc({0, 0, 0}, 10, 0, kPi);
    const double quarter = 10 * kPi / 4;
    ASSERT_EQ(HM_CURVE_edit_length(arc, -quarter, 1), 0);
    const double r = 10 / std::sqrt(2.0);
    support::expect_point(support::curve_point(arc, 0.0), {r, r, 0}, 1e-6);
    support::expect_point(support::curve_point(arc, 1.0), {-10, 0, 0}, 1e-9);
    ASSERT_EQ(HM_CURVE_edit_length(arc, -quarter, 2), 0);
    support::expect_point(support::curve_point(arc, 1.0), {-r, r, 0}, 1e-6);
    EXPECT_NEAR(support::curve_length(arc), 10 * kPi / 2, 1e-6);
    ASSERT_EQ(HM_CURVE_edit_length(arc, 0.0, 2), 0);
    EXPECT_NEAR(support::curve_length(arc), 10 * kPi / 2, 1e-6);
}

TEST_F(CurveEditLengthTest, RefusalsLeaveTheCurveAsItWas) {
    const tag_t line = host_testing::make_line({0, 0, 0}, {100, 0, 0});
    const tag_t plane = host_testing::make_plane({0, 0, 0}, {0, 0, 1});
    const struct {
        const char* what;
        tag_t curve;
        double change;
        int end;
        int code;
    } cases[] = {
        {"no such end", line, -10, 3, HM_ERR_BAD_ARGUMENT},
        {"lengthening", line, 10, 1, HM_ERR_BAD_ARGUMENT},
        {"not a number", line, std::numeric_limits<double>::quiet_NaN(), 1, HM_ERR_BAD_ARGUMENT},
        {"the whole curve", line, -100, 2, HM_ERR_GEOMETRY},
        {"a plane", plane, -10, 1, HM_ERR_WRONG_TYPE},
        {"no object", 0, -10, 1, HM_ERR_INVALID_TAG},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(HM_CURVE_edit_length(c.curve, c.change, c.end), c.code);
        EXPECT_NEAR(support::curve_length(line), 100.0, 1e-9);
    }
}

}  // namespace
