// The 2003 release's splines: the closed spline through a flat row of
// points, the degree-1 result-curve spline and the instrument-panel splines,
// on small outlines whose curves are known.
#include "hm_vd_curve.h"
#include "release2003/ipv.h"
#include "release2003/si_rd.h"

#include "host_fixture.h"
#include "test_helpers.h"

#include "omvra.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

class Release2003SplineTest : public HostTest {};

// A closed outline given with its first point repeated at the end: the
// spline passes through every corner, starts and ends at the first one, and
// is closed.
TEST_F(Release2003SplineTest, ClosedSplineThroughAFlatRowPassesItsPointsAndCloses) {
    const double square[] = {0, 0, 0, 100, 0, 0, 100, 100, 0, 0, 100, 0, 0, 0, 0};
    tag_t spline = NULL_TAG;
    ASSERT_EQ(HM_VD_create_spline_thru_points_by_degree(5, square, &spline), 0);
    ASSERT_NE(spline, NULL_TAG);
    int closed = 0;
    ASSERT_EQ(HM_MODL_ask_curve_closed(spline, &closed), 0);
    EXPECT_NE(closed, 0);
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_NEAR(support::distance_to_curve(spline, {square[3 * i], square[3 * i + 1], square[3 * i + 2]}), 0.0,
                    1e-6);
    }
    support::expect_point(support::curve_point(spline, 0.0), {0, 0, 0}, 1e-9);
}

TEST_F(Release2003SplineTest, BadRowsAreRefusedWithNothingBuilt) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double two[] = {0, 0, 0, 1, 0, 0};
    const double bad[] = {0, 0, 0, nan, 0, 0, 0, 1, 0, 0, 0, 0};
    const double good[] = {0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 0};
    struct Case {
        const char* what;
        int n;
        const double* points;
        bool out;
    } cases[] = {
        {"two points", 2, two, true},
        {"no row", 4, nullptr, true},
        {"a coordinate not a number", 4, bad, true},
        {"no output", 4, good, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const int before = host_testing::count_objects();
        tag_t spline = 77;
        EXPECT_EQ(HM_VD_create_spline_thru_points_by_degree(c.n, c.points, c.out ? &spline : nullptr), -1);
        if (c.out) {
            EXPECT_EQ(spline, NULL_TAG);
        }
        EXPECT_EQ(host_testing::count_objects(), before);
    }
}

}  // namespace
