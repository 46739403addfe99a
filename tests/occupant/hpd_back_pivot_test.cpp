// Back pivots and the ALPHA angle: the five linkage points checked against the
// linkage's dimensions, in millimetre and inch parts, and the failures.
#include "hpd_back_linkage.h"
#include "hpd.h"

#include "host_fixture.h"
#include "occupant_fixtures.h"

#include <cmath>
#include <string>

using namespace carvell::occupant;

namespace {

using occupant_test::kInch;

// Linkage dimensions in millimetres.
constexpr double kFirstArm = 100.00004748124;
constexpr double kSecondArm = 106.45654122716;
constexpr double kArmsAngle = 0.3500655481566546;
constexpr double kLever = 118.9875;
constexpr double kFirstLink = 183.00000093492;
constexpr double kSecondLink = 159.25;
constexpr double kShortLink = 36.54214535711;
constexpr double kEndArm = 153.14542415293;
constexpr double kEndTurn = 0.3181534210415586;

double dist(const double* a, const double* b) { return std::hypot(b[0] - a[0], b[1] - a[1]); }

// Checks the linkage of length p (millimetres) in a part whose unit is
// `scale` millimetres.
void check_linkage(double p_mm, double scale) {
    SCOPED_TRACE(p_mm);
    double pts[5][2];
    ASSERT_EQ(HM_VD_HPD_ask_back_pivot_relative_locations(p_mm / scale, pts), 0);
    const double *p1 = pts[0], *p2 = pts[1], *c = pts[2], *d = pts[3], *e = pts[4];
    const double tol = 1e-9;
    // The pivots: P1 on the first arm at height 57 - p, P2 on the second arm
    // 0.35 rad further clockwise (angles measured from +H towards +L).
    EXPECT_NEAR(std::hypot(p1[0], p1[1]), kFirstArm / scale, tol);
    EXPECT_NEAR(p1[1], (57.0 - p_mm) / scale, tol);
    EXPECT_GE(p1[0], 0.0);
    EXPECT_NEAR(std::hypot(p2[0], p2[1]), kSecondArm / scale, tol);
    EXPECT_NEAR(std::atan2(p2[0], p2[1]) - std::atan2(p1[0], p1[1]), kArmsAngle, 1e-12);
    // The links.
    EXPECT_NEAR(dist(p1, c), kFirstLink / scale, tol);
    EXPECT_GT(c[0], p1[0]);  // C on the side of greater L
    EXPECT_NEAR(dist(c, d), kShortLink / scale, tol);
    EXPECT_NEAR(dist(p2, d), kSecondLink / scale, tol);
    // D is the higher meeting point of its two circles.
    double cc[2] = {c[0], c[1]}, pp[2] = {p2[0], p2[1]}, both[2][2];
    int count = 0;
    ASSERT_EQ(HM_VD_ask_circle_intersect_point(cc, kShortLink / scale, pp, kSecondLink / scale, &count, both), 0);
    for (int i = 0; i < count; ++i) EXPECT_GE(d[1], both[i][1] - tol);
    // The end arm, turned 0.318 rad counter-clockwise from D->C, ends at the
    // reference height.
    EXPECT_NEAR(dist(d, e), kEndArm / scale, tol);
    double turn = std::atan2(e[1] - d[1], e[0] - d[0]) - std::atan2(c[1] - d[1], c[0] - d[0]);
    EXPECT_NEAR(std::remainder(turn, 2 * M_PI), kEndTurn, 1e-12);
    EXPECT_LE(std::fabs(e[1]), 1e-5);
    // C lies at the lever height of ALPHA.
    double alpha = 999.0;
    ASSERT_EQ(ask_alpha_angle(p_mm / scale, &alpha), 0);
    EXPECT_NEAR(c[1], kLever / scale * std::sin(alpha * M_PI / 180.0), tol);
}

}  // namespace

// The back linkage and its pivots.
class BackPivotTest : public HostTest {};
class BackPivotInchTest : public InchHostTest {};

TEST_F(BackPivotTest, PivotsAtLength57LieLevelWithTheOrigin) {
    double pts[5][2];
    ASSERT_EQ(HM_VD_HPD_ask_back_pivot_relative_locations(57.0, pts), 0);
    EXPECT_NEAR(pts[0][0], kFirstArm, 1e-9);
    EXPECT_NEAR(pts[0][1], 0.0, 1e-9);
    EXPECT_NEAR(pts[1][0], kSecondArm * std::cos(kArmsAngle), 1e-9);
    EXPECT_NEAR(pts[1][1], -kSecondArm * std::sin(kArmsAngle), 1e-9);
    EXPECT_LE(std::fabs(pts[4][1]), 1e-5);
}

TEST_F(BackPivotTest, LinkageHoldsItsDimensions) {
    for (double p : {-40.0, 0.0, 30.0, 57.0, 70.0}) check_linkage(p, 1.0);
}

TEST_F(BackPivotInchTest, LinkageHoldsItsDimensionsInInches) {
    for (double p : {0.0, 57.0}) check_linkage(p, kInch);
    double mm[5][2], in[5][2];
    ASSERT_EQ(HM_VD_HPD_ask_back_pivot_relative_locations(30.0 / kInch, in), 0);
    host_testing::make_part("millimetres", false);
    ASSERT_EQ(HM_VD_HPD_ask_back_pivot_relative_locations(30.0, mm), 0);
    for (int i = 0; i < 5; ++i) {
        EXPECT_NEAR(in[i][0] * kInch, mm[i][0], 1e-3) << i;
        EXPECT_NEAR(in[i][1] * kInch, mm[i][1], 1e-3) << i;
    }
}

TEST_F(BackPivotTest, PivotsFailWithoutTouchingThePoints) {
    // 57 - p beyond the first arm: no pivot angle. p = 120: the pivots exist
    // but the links close at no ALPHA near 0.
    for (double p : {200.0, -44.0, 120.0}) {
        double pts[5][2] = {{1, 2}, {3, 4}, {5, 6}, {7, 8}, {9, 10}};
        EXPECT_EQ(HM_VD_HPD_ask_back_pivot_relative_locations(p, pts), -1) << p;
        EXPECT_EQ(pts[0][0], 1.0);
        EXPECT_EQ(pts[4][1], 10.0);
        double alpha = 999.0;
        EXPECT_EQ(ask_alpha_angle(p, &alpha), -1);
        EXPECT_EQ(alpha, 999.0);
    }
    double p1[2], p2[2];
    EXPECT_EQ(hpd_ask_back_pivot_points(200.0, p1, p2), -1);
}

TEST_F(BackPivotTest, AlphaSearchSkipsAnglesWhereTheLinksDoNotClose) {
    // At p = 57 the links do not close for ALPHA of 45 degrees, the search's
    // second step; the root near 1 degree is still found.
    double p1[2], p2[2], c[2], d[2];
    ASSERT_EQ(hpd_ask_back_pivot_points(57.0, p1, p2), 0);
    EXPECT_EQ(hpd_ask_back_linkage_points(45.0, p1, p2, c, d), -1);
    ASSERT_EQ(hpd_ask_back_linkage_points(0.0, p1, p2, c, d), 0);
    double alpha = 999.0;
    ASSERT_EQ(ask_alpha_angle(57.0, &alpha), 0);
    EXPECT_GT(alpha, 0.0);
    EXPECT_LT(alpha, 45.0);
    double e[2];
    ASSERT_EQ(hpd_ask_back_linkage_points(alpha, p1, p2, c, d), 0);
    hpd_ask_back_line_end(c, d, e);
    EXPECT_LE(std::fabs(e[1]), 1e-5);
}

TEST_F(BackPivotTest, AlphaIterationCountIsTracedUnderTheDebugKey) {
    double alpha = 0.0;
    ASSERT_EQ(ask_alpha_angle(30.0, &alpha), 0);
    EXPECT_TRUE(host_testing::error_lines().empty());
    host_testing::set_checking_level(1);
    ASSERT_EQ(ask_alpha_angle(30.0, &alpha), 0);
    EXPECT_TRUE(host_testing::error_lines().empty());
    host_testing::set_debug_key("VD_HPD", true);
    ASSERT_EQ(ask_alpha_angle(30.0, &alpha), 0);
    ASSERT_EQ(host_testing::error_lines().size(), 1u);
    EXPECT_EQ(host_testing::error_lines()[0].rfind("\n+++ ask_alpha_angle iteration count = ", 0), 0u);
}
