// The envelope sheet through section curves, and the placeholder block of a
// failed sheet.
#include "envelope_fixtures.h"

#include "tire_envelope.h"

using namespace carvell::envelope;
using namespace envelope_test;

namespace {

class SheetTest : public EnvelopeTest {
protected:
    // Half circles of radius 350 about the y axis at y = 0, 50, 100, ...
    std::vector<tag_t> sections(int n) {
        std::vector<tag_t> out;
        for (int k = 0; k < n; ++k) {
            std::vector<host_testing::Point3> pts;
            for (int i = 0; i <= 8; ++i) {
                const double a = i * kPi / 8.0;
                pts.push_back({350.0 * std::cos(a), 50.0 * k, 350.0 * std::sin(a) + 5.0 * k});
            }
            out.push_back(host_testing::make_spline(pts));
        }
        return out;
    }
};

TEST_F(SheetTest, VDegreeFollowsTheNumberOfSections) {
    struct Case {
        int sections, v_degree;
    };
    for (const Case& c : {Case{2, 1}, Case{3, 2}, Case{4, 3}, Case{6, 3}}) {
        SCOPED_TRACE(c.sections);
        const auto curves = sections(c.sections);
        params_->sheet_body = 0;
        SheetSettings used;
        ASSERT_EQ(create_sheet_body(params_.get(), c.sections, curves.data(), &used), 0);
        EXPECT_EQ(used.v_degree, c.v_degree);
        ASSERT_NE(params_->sheet_body, 0u);
        int layer = 0;
        HM_OBJ_ask_layer(params_->sheet_body, &layer);
        EXPECT_EQ(layer, params_->surface_layer);
        // Area of the strip between the first two sections: at least the
        // half cylinder's 350 pi x 50 per gap.
        EXPECT_GT(host_testing::surface_area(params_->sheet_body), 350.0 * kPi * 50.0 * (c.sections - 1) * 0.99);
    }
    EXPECT_EQ(host_testing::undo_mark_count(), 0);
}

TEST_F(SheetTest, ZeroSurfaceToleranceTakesThePartsTolerances) {
    const auto curves = sections(2);
    params_->surface_tol = 0.0;
    SheetSettings used;
    ASSERT_EQ(create_sheet_body(params_.get(), 2, curves.data(), &used), 0);
    double distance = 0, angle = 0;
    HM_MODL_ask_distance_tolerance(&distance);
    HM_MODL_ask_angle_tolerance(&angle);
    EXPECT_EQ(used.distance_tolerance, distance);
    EXPECT_EQ(used.angle_tolerance, angle);
    params_->surface_tol = 0.05;
    ASSERT_EQ(create_sheet_body(params_.get(), 2, curves.data(), &used), 0);
    EXPECT_EQ(used.distance_tolerance, 0.05);
}

TEST_F(SheetTest, FailedSheetRollsThePartBackAndLeavesTheTinyBlock) {
    auto curves = sections(3);
    HM_OBJ_delete_object(curves[1]);
    const int before = host_testing::count_objects(part_);
    testing::internal::CaptureStdout();
    EXPECT_EQ(create_sheet_body(params_.get(), 3, curves.data()), 1);
    testing::internal::GetCapturedStdout();
    ASSERT_NE(params_->sheet_body, 0u);
    EXPECT_NEAR(host_testing::volume(params_->sheet_body), 1.0, 1e-9);   // 0.001 m of the kernel: a 1 mm cube
    // Only the block (and its feature) came into the part.
    EXPECT_EQ(host_testing::count_objects(part_, HM_solid_type), 1);
    EXPECT_LE(host_testing::count_objects(part_), before + 2);
    EXPECT_EQ(host_testing::undo_mark_count(), 0);
    // Through the export the status says so.
    gen_tire_envelope(params_.get(), 3, curves.data());
    EXPECT_EQ(host_testing::status_texts().back(), "Done Processing - An ERROR occured");
}

// The placeholder's edge is 0.001 of the kernel's metres, whatever the
// part's units: 1 mm, or 1/25.4 in.
TEST_F(SheetTest, ThePlaceholderBlockIsOneMillimetreOnASideInEitherUnit) {
    for (const PartUnits& u : kBothUnits) {
        SCOPED_TRACE(u.name);
        host_testing::make_part(u.name, u.inches);
        auto curves = sections(3);
        HM_OBJ_delete_object(curves[1]);
        params_->sheet_body = 0;
        testing::internal::CaptureStdout();
        EXPECT_EQ(create_sheet_body(params_.get(), 3, curves.data()), 1);
        testing::internal::GetCapturedStdout();
        ASSERT_NE(params_->sheet_body, 0u);
        EXPECT_NEAR(std::cbrt(host_testing::volume(params_->sheet_body)), u.millimetre, 1e-9 * u.millimetre);
    }
}

TEST_F(SheetTest, NothingIsMadeWithoutTheFlagOrWithOneCurve) {
    const auto curves = sections(2);
    params_->create_sheet = 0;
    EXPECT_EQ(create_sheet_body(params_.get(), 2, curves.data()), 0);
    params_->create_sheet = 1;
    EXPECT_EQ(create_sheet_body(params_.get(), 1, curves.data()), 0);
    EXPECT_EQ(params_->sheet_body, 0u);
    EXPECT_EQ(host_testing::count_objects(part_, HM_solid_type), 0);
    gen_tire_envelope(nullptr, 2, curves.data());
    gen_tire_envelope(params_.get(), 2, nullptr);
    EXPECT_EQ(host_testing::session_depth(), 0);
}

}  // namespace
