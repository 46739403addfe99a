// Spline searches of the radial section spline on straight splines, and the
// section spline's refusals.
#include "envelope_fixtures.h"

using namespace carvell::envelope;
using namespace envelope_test;

namespace {

class RadialSplineTest : public EnvelopeTest {
protected:
    tag_t straight(const double from[3], const double to[3]) {
        std::vector<host_testing::Point3> pts;
        for (int i = 0; i <= 4; ++i) {
            const double f = i / 4.0;
            pts.push_back({from[0] + f * (to[0] - from[0]), from[1] + f * (to[1] - from[1]),
                           from[2] + f * (to[2] - from[2])});
        }
        return host_testing::make_spline(pts);
    }
};

TEST_F(RadialSplineTest, NearestPointOnAStraightSplineIsFoundWithinTheSearchTolerance) {
    const double a[3] = {0, 0, 0}, b[3] = {100, 0, 0};
    const tag_t s = straight(a, b);
    for (double x : {0.0, 12.34, 37.3, 81.0, 100.0}) {
        SCOPED_TRACE(x);
        const double q[3] = {x, 0.1, 0.0};
        double t = -1, nearest[3];
        EXPECT_EQ(eval_spline_pt(s, q, &t, nearest), 0);
        EXPECT_LT(std::hypot(nearest[0] - x, nearest[1] - 0.1), 0.25);
        EXPECT_NEAR(t, x / 100.0, 0.0025);
    }
    // A point 5 off the line is never within 0.25: result 1, t refined to it.
    const double off[3] = {42.0, 5.0, 0.0};
    double t = -1, nearest[3];
    EXPECT_EQ(eval_spline_pt(s, off, &t, nearest), 1);
    EXPECT_NEAR(t, 0.42, 0.001);
}

TEST_F(RadialSplineTest, EndParameterMovesToTheTargetHeight) {
    const double a[3] = {0, 0, 0}, b[3] = {0, 100, 0};
    const tag_t s = straight(a, b);
    double t = 0.0;
    ASSERT_EQ(find_new_end_pt(s, &t, 1.0, 42.0), 0);
    EXPECT_NEAR(t * 100.0, 42.0, 0.025 + 1e-9);
    // From the far end of a spline that runs down.
    const tag_t down = straight(b, a);
    t = 1.0;
    ASSERT_EQ(find_new_end_pt(down, &t, -1.0, 70.0), 0);
    EXPECT_NEAR((1.0 - t) * 100.0, 70.0, 0.025 + 1e-9);
    // A target the spline never reaches leaves t as it was.
    t = 0.0;
    EXPECT_EQ(find_new_end_pt(s, &t, 1.0, 150.0), 1);
    EXPECT_EQ(t, 0.0);
}

TEST_F(RadialSplineTest, CloudsWithoutAnOutlineOrTrimmedAwayFailTheSection) {
    params_->side = 1.0;
    params_->design_point[0] = params_->design_point[1] = params_->design_point[2] = 0.0;
    params_->concavity_base = 30.0;
    params_->concavity = 1.0;
    const double A[3] = {0, 0, 1}, B[3] = {1, 0, 0};   // the section at 90 degrees: radial is +z
    // Points far apart: nothing within reach of the start point.
    std::vector<double> sparse = {-200, -200, 300, 0, 0, 400, 200, 200, 300};
    for (size_t i = 0; i < sparse.size(); i += 3) std::swap(sparse[i], sparse[i + 1]);
    tag_t spline = 0;
    EXPECT_EQ(develop_radial_spline(params_.get(), A, B, sparse, &spline), 1);
    EXPECT_TRUE(dialog_shown("Number of Points", "ERROR: Not enough points to make a spline"));
    // A dense arc of radius 350, trimmed at 500: nothing left.
    std::vector<double> arc;
    for (int i = 0; i <= 90; ++i) {
        const double r = i * kPi / 90.0;
        arc.insert(arc.end(), {0.0, 350.0 * std::cos(r), 350.0 * std::sin(r)});
    }
    host_testing::clear_sinks();
    params_->trim_dist = 500.0;
    EXPECT_EQ(develop_radial_spline(params_.get(), A, B, arc, &spline), 1);
    EXPECT_TRUE(dialog_shown("Number of Points", "Insufficient pts. for radial section spline."));
    EXPECT_EQ(spline, 0u);
    // Trimmed at 100 it makes a spline, running outboard (+y) to inboard.
    host_testing::clear_sinks();
    params_->trim_dist = 100.0;
    ASSERT_EQ(develop_radial_spline(params_.get(), A, B, arc, &spline), 0);
    double p0[3], p1[3], d[3];
    ASSERT_EQ(eval_spline(spline, 0.0, p0, d), 0);
    ASSERT_EQ(eval_spline(spline, 1.0, p1, d), 0);
    EXPECT_GT(p0[1], p1[1]);
    EXPECT_NEAR(p0[2], 100.0, 0.05);   // trimmed at the trim radius
    EXPECT_NEAR(p1[2], 100.0, 0.05);
}

}  // namespace
