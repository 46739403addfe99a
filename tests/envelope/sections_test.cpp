// Radial section layout, the prepared tire profile, and the section points
// where the tire's circles cross a section's half-plane.
#include "envelope_fixtures.h"

using namespace carvell::envelope;
using namespace envelope_test;

namespace {

class SectionsTest : public EnvelopeTest {};

TEST_F(SectionsTest, ZeroTo180GivesNineteenSectionsWithTheExtraAngles) {
    ASSERT_EQ(set_radial_section_angles(params_.get()), 0);
    const double want[] = {0, 15, 30, 45, 60, 67.5, 75, 80, 85, 90, 95, 100, 105, 112.5, 120, 135, 150, 165, 180};
    ASSERT_EQ(params_->num_sections, 19);
    for (int i = 0; i < 19; ++i) EXPECT_DOUBLE_EQ(params_->section_angles[i], want[i]) << i;
}

TEST_F(SectionsTest, OneSectionAt90HasNoExtraAnglesAndAReversedRangeNone) {
    params_->radial_start = params_->radial_end = 90.0;
    ASSERT_EQ(set_radial_section_angles(params_.get()), 0);
    ASSERT_EQ(params_->num_sections, 1);
    EXPECT_EQ(params_->section_angles[0], 90.0);
    params_->radial_start = 100.0;
    params_->radial_end = 10.0;
    ASSERT_EQ(set_radial_section_angles(params_.get()), 0);
    EXPECT_EQ(params_->num_sections, 0);
}

TEST_F(SectionsTest, MoreThan36SectionsAreRefused) {
    params_->radial_start = -600.0;   // 41 regular angles, none near the extras
    params_->radial_end = 0.0;
    EXPECT_EQ(set_radial_section_angles(params_.get()), 1);
    EXPECT_EQ(params_->num_sections, 36);
    EXPECT_TRUE(dialog_shown("Number of Radial Sections", "Number of radial sections exceeded program limits"));
}

TEST_F(SectionsTest, ThreePointHalfProfileIsMirroredAboutTheCenterline) {
    params_->num_profile_pts = 3;
    const double pts[3][2] = {{50.0, 100.0}, {0.0, 120.0}, {100.0, 40.0}};   // centerline point not last
    std::memcpy(params_->profile_pts, pts, sizeof pts);
    params_->rim_diameter = 400.0;
    ASSERT_EQ(read_tire_file(params_.get()), 0);
    const int n = params_->num_profile_pts;
    ASSERT_GE(n, 5);
    // The five mirrored points, raised by the rim radius, are all there.
    const double want[5][2] = {{-100, 240}, {-50, 300}, {0, 320}, {50, 300}, {100, 240}};
    for (const auto& w : want) {
        bool found = false;
        for (int i = 0; i < n; ++i)
            found = found || (std::fabs(params_->profile_pts[i][0] - w[0]) < 1e-9 &&
                              std::fabs(params_->profile_pts[i][1] - w[1]) < 1e-9);
        EXPECT_TRUE(found) << w[0] << ", " << w[1];
    }
    // Consecutive points after the nearest-neighbour ordering are neighbours
    // on the profile: no step longer than the longest mirrored segment.
    double largest = 0.0;
    for (int i = 1; i < n; ++i)
        largest = std::max(largest, std::hypot(params_->profile_pts[i][0] - params_->profile_pts[i - 1][0],
                                               params_->profile_pts[i][1] - params_->profile_pts[i - 1][1]));
    EXPECT_LE(largest, std::hypot(50.0, 60.0) + 1e-9);
    EXPECT_DOUBLE_EQ(params_->concavity_base, largest);
}

TEST_F(SectionsTest, ProfileFaultsShowTheirDialogs) {
    struct Case {
        std::vector<std::pair<double, double>> pts;
        bool half;
        const char* title;
    };
    std::vector<std::pair<double, double>> many;
    for (int i = 0; i < 60; ++i) many.emplace_back(i * 2.0, 100.0 - i);   // 119 points once mirrored
    const Case cases[] = {
        {{{0, 10}, {5, 10}, {0, 10}}, false, "Coincident Points"},
        {{{10, 10}, {5, 12}, {20, 5}}, true, "Tire Profile Point"},
        {many, true, "Tire Profile Point"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        host_testing::clear_sinks();
        params_->num_profile_pts = static_cast<int>(c.pts.size());
        params_->half_profile = c.half;
        for (size_t i = 0; i < c.pts.size(); ++i) {
            params_->profile_pts[i][0] = c.pts[i].first;
            params_->profile_pts[i][1] = c.pts[i].second;
        }
        EXPECT_EQ(read_tire_file(params_.get()), 1);
        EXPECT_FALSE(host_testing::dialogs().empty());
        EXPECT_EQ(host_testing::dialogs().back().title, c.title);
        EXPECT_LE(params_->num_profile_pts, 100);
    }
}

TEST_F(SectionsTest, SectionPointOfOneSpindleRecordIsTheCircleCrossing) {
    // One record: spindle along +y at P; profile points (x, r) make circles of
    // radius r in the plane y = P.y - x. The section at a crosses each one at
    // P + (0, -x, 0) + r A with A = (-cos a, 0, sin a).
    params_->num_profile_pts = 2;
    params_->profile_pts[0][0] = 0.0;
    params_->profile_pts[0][1] = 350.0;
    params_->profile_pts[1][0] = 60.0;
    params_->profile_pts[1][1] = 330.0;
    const double P[3] = {1000.0, 790.0, 350.0};
    std::memcpy(params_->design_point, P, sizeof P);
    const double points[3] = {1000.0, 790.0, 350.0}, directions[3] = {0.0, 1.0, 0.0};
    std::vector<double> frames, radii, section;
    ASSERT_EQ(build_circle_frames(params_.get(), points, directions, 1, &frames, &radii), 0);
    ASSERT_EQ(radii.size(), 2u);
    for (double a : {0.0, 45.0, 90.0, 135.0, 180.0}) {
        SCOPED_TRACE(a);
        const double r = a * kPi / 180.0;
        const double A[3] = {-std::cos(r), 0.0, std::sin(r)}, B[3] = {std::sin(r), 0.0, std::cos(r)};
        ASSERT_EQ(intersect_section_circles(2, A, B, frames.data(), radii.data(), P, &section), 0);
        ASSERT_EQ(section.size(), 6u);
        const double want[2][3] = {{P[0] + 350 * A[0], P[1], P[2] + 350 * A[2]},
                                   {P[0] + 330 * A[0], P[1] - 60.0, P[2] + 330 * A[2]}};
        for (int k = 0; k < 2; ++k)
            for (int i = 0; i < 3; ++i) EXPECT_NEAR(section[3 * k + i], want[k][i], 1e-6);
    }
}

TEST_F(SectionsTest, SplineThroughPointsRefusesTooFewPointsAndPrintsThem) {
    const double pts[3] = {1, 2, 3};
    tag_t spline = 7;
    testing::internal::CaptureStdout();
    EXPECT_EQ(create_spline_thru_pts(1, pts, &spline), 1);
    EXPECT_NE(testing::internal::GetCapturedStdout().find("pt 0   1.00  2.00  3.00\n"), std::string::npos);
    EXPECT_EQ(spline, 0u);
}

}  // namespace
