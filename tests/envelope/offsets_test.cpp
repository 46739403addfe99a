// Envelope offsets: rows interpolated between the offset table's angles,
// values along a row, and the outline moved outward by them.
#include "envelope_fixtures.h"

using namespace carvell::envelope;
using namespace envelope_test;

namespace {

class OffsetsTest : public EnvelopeTest {
protected:
    // A row of the table: its angle and its values in parameter order
    // (outboard first); stored inboard first as the table holds them.
    void add_row(double angle, const std::vector<double>& values) {
        tire_envelope_params_s& p = *params_;
        const int r = p.num_offset_sections++;
        p.offset_angles[r] = angle;
        p.num_offsets[r] = static_cast<int>(values.size());
        for (size_t i = 0; i < values.size(); ++i) p.offsets[r][values.size() - 1 - i] = values[i];
    }
    void sections(std::initializer_list<double> angles) {
        params_->num_sections = 0;
        for (double a : angles) params_->section_angles[params_->num_sections++] = a;
    }
    int row_of(double angle) const {
        for (int r = 0; r < params_->num_offset_sections; ++r)
            if (std::fabs(params_->offset_angles[r] - angle) < 1e-9) return r;
        return -1;
    }
};

TEST_F(OffsetsTest, ValueAlongARowInterpolatesInParameterOrder) {
    const double stored[3] = {30.0, 20.0, 10.0};   // w = 10, 20, 30 at u = 0, 0.5, 1
    struct Case {
        double u, want;
    };
    for (const Case& c : {Case{0.0, 10.0}, Case{0.25, 15.0}, Case{0.5, 20.0}, Case{0.9, 28.0}, Case{1.0, 30.0},
                          Case{-1.0, 10.0}, Case{2.0, 30.0}}) {
        SCOPED_TRACE(c.u);
        EXPECT_NEAR(offset_at_parameter_row(c.u, stored, 3), c.want, 1e-12);
    }
    EXPECT_EQ(offset_at_parameter_row(0.3, stored, 1), 30.0);
    EXPECT_EQ(offset_at_parameter_row(0.3, stored, 0), 0.0);
}

TEST_F(OffsetsTest, SectionBetweenTwoRowsGetsTheHalfwayRowOf61Values) {
    sections({90.0, 105.0, 120.0});
    add_row(90.0, {10.0, 10.0, 10.0});
    add_row(120.0, {20.0, 30.0});
    ASSERT_EQ(prepare_section_offsets(params_.get()), 0);
    const int r = row_of(105.0);
    ASSERT_GE(r, 0);
    ASSERT_EQ(params_->num_offsets[r], 61);
    params_->cur_offset_section = r;
    // Halfway (d1/d2 = 0.5): at u = 0 between 10 and 20, at u = 1 between 10 and 30.
    EXPECT_NEAR(offset_at_parameter(0.0, params_.get()), 15.0, 1e-12);
    EXPECT_NEAR(offset_at_parameter(1.0, params_.get()), 20.0, 1e-12);
    EXPECT_NEAR(offset_at_parameter(0.5, params_.get()), 17.5, 1e-12);
    EXPECT_TRUE(syslog_has("\nOffsets for some sections were interpolated.\n"));
}

TEST_F(OffsetsTest, NeighboursAcrossZeroAreFoundThroughThe360Retry) {
    sections({0.0, 5.0, 15.0});
    add_row(350.0, {0.0});
    add_row(20.0, {30.0});
    add_row(0.0, {10.0});
    add_row(15.0, {25.0});
    ASSERT_EQ(prepare_section_offsets(params_.get()), 0);
    const int r = row_of(5.0);
    ASSERT_GE(r, 0);
    // Lower 0 (5 away), upper 15 (10 away): 10 + (25 - 10) * 5/15.
    params_->cur_offset_section = r;
    EXPECT_NEAR(offset_at_parameter(0.5, params_.get()), 15.0, 1e-12);
    // Without the rows at 0 and 15: 350 below (as -10), 20 above, d2 = 30.
    params_->num_offset_sections = 0;
    add_row(350.0, {0.0});
    add_row(20.0, {30.0});
    sections({5.0});
    ASSERT_EQ(prepare_section_offsets(params_.get()), 0);
    params_->cur_offset_section = row_of(5.0);
    ASSERT_GE(params_->cur_offset_section, 0);
    EXPECT_NEAR(offset_at_parameter(0.5, params_.get()), 15.0, 1e-12);   // 0 + 30 * 15/30
}

TEST_F(OffsetsTest, RowAnglesInsideTheRangeBecomeSectionsAndOthersDoNot) {
    sections({0.0, 15.0, 30.0});
    add_row(0.0, {1.0});
    add_row(22.0, {2.0});
    add_row(30.0, {-3.0});
    add_row(45.0, {4.0});
    ASSERT_EQ(prepare_section_offsets(params_.get()), 0);
    ASSERT_EQ(params_->num_sections, 4);
    EXPECT_EQ(params_->section_angles[2], 22.0);
    EXPECT_TRUE(syslog_has("\nWARNING: Offset file has some negative offsets in it.\n"));
}

TEST_F(OffsetsTest, MissingNeighbourAndFullTablesAreRefused) {
    sections({0.0, 150.0});
    add_row(0.0, {1.0});
    EXPECT_EQ(prepare_section_offsets(params_.get()), 1);
    EXPECT_TRUE(dialog_shown("Offset", "ERROR:  Offset was not specified for section 150.00"));
    // 36 rows of their own and one section without a row: no room to add it.
    params_->num_offset_sections = 0;
    params_->num_sections = 0;
    for (int i = 0; i < 36; ++i) {
        add_row(i * 2.0, {1.0});
        params_->section_angles[params_->num_sections++] = i * 2.0;
    }
    params_->section_angles[35] = 69.0;   // between rows 68 and 70 -- but no room for the row
    params_->offset_angles[35] = 71.0;
    host_testing::clear_sinks();
    EXPECT_EQ(prepare_section_offsets(params_.get()), 1);
    EXPECT_EQ(params_->num_offset_sections, 36);
    EXPECT_TRUE(dialog_shown("Number of Radial Sections", "Offset rows exceeded program limits"));
    EXPECT_LE(params_->num_sections, 36);
}

TEST_F(OffsetsTest, ConstantOffsetGrowsTheRadiusOfACircularOutline) {
    // A right-side outline runs outboard (+x) to inboard: a counter-clockwise
    // half circle of radius 300; the normal (0, 0, -1) x tangent points out.
    std::vector<host_testing::Point3> arc;
    std::vector<double> pts;
    for (int i = 0; i <= 12; ++i) {
        const double a = i * kPi / 12.0;
        arc.push_back({300.0 * std::cos(a), 300.0 * std::sin(a), 0.0});
        pts.insert(pts.end(), {300.0 * std::cos(a), 300.0 * std::sin(a), 0.0});
    }
    const tag_t spline = host_testing::make_spline(arc);
    params_->side = 1.0;
    add_row(90.0, {10.0, 10.0});
    params_->cur_offset_section = 0;
    for (int method : {0, 1}) {
        SCOPED_TRACE(method);
        params_->offset_method = method;
        std::vector<double> moved = pts;
        ASSERT_EQ(apply_offset(params_.get(), spline, 0.0, 1.0, 13, moved.data()), 0);
        for (int i = 0; i < 13; ++i) EXPECT_NEAR(std::hypot(moved[3 * i], moved[3 * i + 1]), 310.0, 0.05) << i;
    }
}

}  // namespace
