// The engine's error reporter and its vector and rigid-matrix helpers.
#include "envelope_fixtures.h"

using namespace carvell::envelope;
using namespace envelope_test;

namespace {

class HelpersTest : public EnvelopeTest {};

TEST_F(HelpersTest, UnitizeGivesTheUnitVectorOrZeroBelowTheThreshold) {
    double out[3];
    EXPECT_DOUBLE_EQ(vec3_unitize_or_zero(std::array<double, 3>{0, 3, 4}.data(), out), 5.0);
    EXPECT_DOUBLE_EQ(out[1], 0.6);
    EXPECT_DOUBLE_EQ(out[2], 0.8);
    const double tiny[3] = {0.00005, 0, 0};
    EXPECT_EQ(vec3_unitize_or_zero(tiny, out), 0.0);
    EXPECT_EQ(out[0], 0.0);
    EXPECT_EQ(out[1], 0.0);
    EXPECT_EQ(out[2], 0.0);
}

TEST_F(HelpersTest, CrossDotAndDistanceOfKnownVectorsInPlace) {
    double a[3] = {1, 2, 3};
    const double b[3] = {4, 5, 6};
    EXPECT_DOUBLE_EQ(vec3_dot(a, b), 32.0);
    EXPECT_DOUBLE_EQ(vec3_distance(a, b), std::sqrt(27.0));
    vec3_cross(a, b, a);   // output may be an input
    EXPECT_DOUBLE_EQ(a[0], -3.0);
    EXPECT_DOUBLE_EQ(a[1], 6.0);
    EXPECT_DOUBLE_EQ(a[2], -3.0);
}

TEST_F(HelpersTest, RigidInverseTakesThePlacedPointBack) {
    // Axes: x -> y, y -> -x, z -> z (90 degrees about z), origin (10, 20, 30).
    const double u[3] = {0, 1, 0}, v[3] = {-1, 0, 0}, w[3] = {0, 0, 1}, o[3] = {10, 20, 30};
    double m[12], inv[12], p[3] = {1, 2, 3}, q[3];
    mtx34_from_axes(u, v, w, o, m);
    mtx34_transform_point(m, p, q);
    EXPECT_DOUBLE_EQ(q[0], 8.0);    // 10 - 2
    EXPECT_DOUBLE_EQ(q[1], 21.0);   // 20 + 1
    EXPECT_DOUBLE_EQ(q[2], 33.0);
    mtx34_invert_rigid(m, inv);
    mtx34_transform_point(inv, q, q);
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(q[i], p[i], 1e-12);
    double r[3];
    mtx34_rotate_vector(m, std::array<double, 3>{1, 0, 0}.data(), r);
    EXPECT_DOUBLE_EQ(r[1], 1.0);
}

TEST_F(HelpersTest, ReporterIsSilentAtCodeZeroAndShowsTheHostMessageOtherwise) {
    EXPECT_EQ(report_host_error("delete_dcs", 10, "HM_OBJ_delete_object( category )", 0), 0);
    EXPECT_TRUE(host_testing::dialogs().empty());
    testing::internal::CaptureStdout();
    EXPECT_EQ(report_host_error("delete_dcs", 10, "HM_OBJ_delete_object( category )", HM_ERR_INVALID_TAG),
              HM_ERR_INVALID_TAG);
    const std::string printed = testing::internal::GetCapturedStdout();
    ASSERT_EQ(host_testing::dialogs().size(), 1u);
    EXPECT_EQ(host_testing::dialogs()[0].title, "Report");
    EXPECT_EQ(host_testing::dialogs()[0].lines[0], HM_get_fail_message(HM_ERR_INVALID_TAG));
    EXPECT_NE(printed.find("error 3500 at line 10 in delete_dcs\n\tHM_OBJ_delete_object( category )"),
              std::string::npos);
}

TEST_F(HelpersTest, MatrixGoesToTheSyslogColumnByColumn) {
    const double m[12] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    print_matrix_to_syslog("mata2l[0]", m);
    const auto& log = host_testing::syslog();
    ASSERT_GE(log.size(), 5u);
    EXPECT_EQ(log[log.size() - 5], "mata2l[0]\n");
    EXPECT_EQ(log[log.size() - 1], "      4.000    8.000   12.000\n");
}

}  // namespace
