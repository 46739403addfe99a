// Regional standards (names, eye-point method, back-angle rows, the 300 mm
// rule) and the ocular eye points, against the standards' own tables.
#include "mirror_fixtures.h"
#include "mirror_record.h"
#include "test_helpers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

using mirror_testing::dialog_input;
using namespace carvell::mirror;

class StandardsTest : public MirrorRecordTest {};
class InchStandardsTest : public InchMirrorRecordTest {};

struct Row {
    int kind, row;
    const char* region;
    const char* standard;
    int method;        // 0 eyellipse, 1 ocular
    bool back_angle;
};

const Row kRows[] = {
    {0, 0, "USA/canada", "FMVSS 111 - CMVSS 111", 0, false},
    {0, 1, "Europe", "2003/97/EC - ECE R46.02", 1, true},
    {0, 2, "Japan", "Article 44/TRIAS 29/TRIAS 39", 1, false},
    {0, 3, "Australia", "ADR 14/02", 0, false},
    {0, 4, "Saudi Arabia / Gulf States", "SSA 770/771 - GS 421/422", 1, false},
    {0, 5, "China", "GB 15084 - 1994", 1, true},
    {0, 6, "Europe (M1/N1 & Class III Mirror) far", "2003/97/EC - ECE R46.02", 1, false},
    {0, 7, "China", "GB 15084 - 1994", 1, false},
    {1, 0, "USA/canada", "FMVSS 111 - CMVSS 111", 0, false},
    {1, 1, "Europe", "71/127/EEC - ECE R46.01(Superceded)", 1, false},
    {1, 2, "Japan", "Article 44/TRIAS 29/TRIAS 39", 1, false},
    {1, 3, "Australia", "ADR 14/02", 0, false},
    {1, 4, "Saudi Arabia / Gulf States", "SSA 770/771 - GS 421/422", 1, false},
    {1, 5, "Europe (M1/N1 & Class III Mirror) near", "2003/97/EC - ECE R46.02", 1, true},
    {1, 6, "Europe (M1/N1 & Class III Mirror) far", "2003/97/EC - ECE R46.02", 1, true},
    {1, 7, "China", "GB 15084 - 1994", 1, true},
    {2, 0, "USA/canada", "FMVSS 111 - CMVSS 111", 0, false},
    {2, 1, "Europe (M1/N1 only)", "71/127/EEC - ECE R46.01(Superceded)", 1, false},
    {2, 2, "Europe (Not M1/N1)near", "71/127/EEC - ECE R46.01(Superceded)", 1, false},
    {2, 3, "Europe (Not M1/N1) far", "71/127/EEC - ECE R46.01(Superceded)", 1, false},
    {2, 4, "Japan", "Article 44/TRIAS 29/TRIAS 39", 1, false},
    {2, 5, "Australia", "ADR 14/02", 0, false},
    {2, 6, "Saudi Arabia / Gulf States near", "SSA 770/771 - GS 421/422", 1, false},
    {2, 7, "Saudi Arabia / Gulf States far", "SSA 770/771 - GS 421/422", 1, false},
    {2, 8, "Europe (M1/N1 & Class III Mirror) near", "2003/97/EC - ECE R46.02", 1, true},
    {2, 9, "Europe (M1/N1 & Class III Mirror) far", "2003/97/EC - ECE R46.02", 1, true},
    {2, 10, "China(M1/N1 only)", "GB 15084 - 1994", 1, true},
    {2, 11, "China(Not M1/N1) near", "GB 15084 - 1994", 1, true},
    {2, 12, "China(Not M1/N1) far", "GB 15084 - 1994", 1, true},
    // Outside the tables: no names.
    {0, 8, "", "", 1, false},
    {1, 8, "", "", 1, false},
    {1, -1, "", "", 1, false},
    {2, 13, "", "", 1, false},
    {5, 12, "China(Not M1/N1) far", "GB 15084 - 1994", 1, true},   // another kind: passenger table
};

TEST_F(StandardsTest, EveryRowNamesItsRegionStandardAndEyeMethod) {
    for (const Row& r : kRows) {
        SCOPED_TRACE(testing::Message() << "kind " << r.kind << " row " << r.row);
        ASSERT_EQ(Init(dialog_input(r.kind, r.row)), 0);
        EXPECT_STREQ(data_.region_name, r.region);
        EXPECT_STREQ(data_.standard_name, r.standard);
        EXPECT_EQ(data_.eye_method, r.method);
        EXPECT_EQ(uses_back_angle_table(r.kind, r.row), r.back_angle);
        const bool japanese = (r.kind == 1 && r.row == 2) || (r.kind == 2 && r.row == 4);
        EXPECT_DOUBLE_EQ(data_.standard_width[1], japanese ? 300.0 : 0.0);
        HM_VD_MC_release_data(&data_);
    }
}

TEST(OcularTables, OffsetsAndAdjustmentsByIndex) {
    struct Case {
        int index;
        double dx, dz;
    };
    const Case offsets[] = {{5, -186, 28}, {16, -81, 18}, {24, -9, 3}, {25, 0, 0}, {36, 96, -35},
                            {40, 123, -52}, {4, 0, 0}, {41, 0, 0}, {-3, 0, 0}};
    for (const Case& c : offsets) {
        SCOPED_TRACE(c.index);
        double dx = 1, dz = 1;
        ocular_offset(c.index, &dx, &dz);
        EXPECT_EQ(dx, c.dx);
        EXPECT_EQ(dz, c.dz);
    }
    const double adjustments[] = {0, -13, -22, -32, -42, -48, -48, -48};
    const int indices[] = {0, 1, 2, 3, 4, 5, 7, -1};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(ocular_adjustment(indices[i]), adjustments[i]) << indices[i];
}

// sqrt(9759.75): the eyes' distance ahead of the pivot in millimetres.
constexpr double kEyesAhead = 98.79144699;

TEST_F(StandardsTest, BackAngleOcularPointsForIndices5_25_40_41AndAdjustment7) {
    struct Case {
        int index, adjustment;
        double y;
        double pivot[3];
    };
    const Case cases[] = {
        {25, 0, -370.0, {1035.0, -390.0, 1127.0}},          // no correction
        {41, 0, -370.0, {1035.0, -390.0, 1127.0}},          // outside the table: as 25
        {5, 1, -370.0, {1250 - 186 - 13 + 35 - 1250 + 1000, -390.0, 500 + 28 + 627}},
        {40, 7, -370.0, {1000 + 123 - 48 + 35, -390.0, 500 - 52 + 627}},
        {25, 0, 0.0, {1035.0, -20.0, 1127.0}},               // Y = 0: side sign +1
        {25, 0, 370.0, {1035.0, 390.0, 1127.0}},             // right-hand drive
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "index " << c.index << " adjustment " << c.adjustment << " y " << c.y);
        mc_input_data_t in = dialog_input(0, 1);
        in.eye_reference_point[0] = 1000.0;
        in.eye_reference_point[1] = c.y;
        in.eye_reference_point[2] = 500.0;
        in.ocular_back_angle_index = c.index;
        in.ocular_adjustment_index = c.adjustment;
        ASSERT_EQ(Init(in), 0);
        ASSERT_EQ(ocular_eye_point_stage(&data_), 0);
        const mc_inside_result_s& r = *data_.inside;
        support::expect_point(r.pivot, {c.pivot[0], c.pivot[1], c.pivot[2]}, 1e-9);
        const double x = c.pivot[0] - kEyesAhead;
        support::expect_point(r.left_eye, {x, c.pivot[1] - 32.5, c.pivot[2]}, 1e-6);
        support::expect_point(r.mid_eye, {x, c.pivot[1], c.pivot[2]}, 1e-6);
        support::expect_point(r.right_eye, {x, c.pivot[1] + 32.5, c.pivot[2]}, 1e-6);
        support::expect_point(data_.mid_eye_point, {x, c.pivot[1], c.pivot[2]}, 1e-6);
        HM_VD_MC_release_data(&data_);
    }
}

TEST_F(StandardsTest, PlainOcularPointsSit635AboveTheReferencePoint) {
    ASSERT_EQ(Init(dialog_input(1, 1)), 0);   // driver mirror, ECE R46.01: plain ocular
    ASSERT_EQ(ocular_eye_point_stage(&data_), 0);
    const mc_outside_result_s& r = *data_.outside;
    support::expect_point(r.left_eye, {1250.0, -402.5, 1155.0});
    support::expect_point(r.mid_eye, {1250.0, -370.0, 1155.0});
    support::expect_point(r.right_eye, {1250.0, -337.5, 1155.0});
    support::expect_point(r.pivot, {1348.54, -370.0, 1155.0});
    support::expect_point(data_.mid_eye_point, {1250.0, -370.0, 1155.0});
}

TEST_F(StandardsTest, TheOcularStageRefusesEyellipseRowsAndMissingRecords) {
    ASSERT_EQ(Init(dialog_input(0, 0)), 0);
    EXPECT_EQ(ocular_eye_point_stage(&data_), -1);
    EXPECT_EQ(ocular_eye_point_stage(nullptr), -1);
}

TEST_F(InchStandardsTest, InchPartsUseThePreconvertedOcularValues) {
    mc_input_data_t in = dialog_input(1, 1);
    in.eye_reference_point[0] = 40.0;
    in.eye_reference_point[1] = -10.0;
    in.eye_reference_point[2] = 20.0;
    ASSERT_EQ(Init(in), 0);
    ASSERT_EQ(ocular_eye_point_stage(&data_), 0);
    support::expect_point(data_.outside->left_eye, {40.0, -11.2795275590551183, 45.0}, 1e-12);
    support::expect_point(data_.outside->pivot, {43.879527559055118, -10.0, 45.0}, 1e-12);
    HM_VD_MC_release_data(&data_);

    // Back-angle row, index 5: (-186 + 35) mm ahead, 20 mm inboard, (28 + 627) mm up.
    in = dialog_input(1, 5);
    in.eye_reference_point[0] = 40.0;
    in.eye_reference_point[1] = 0.0;
    in.eye_reference_point[2] = 20.0;
    in.ocular_back_angle_index = 5;
    ASSERT_EQ(Init(in), 0);
    ASSERT_EQ(ocular_eye_point_stage(&data_), 0);
    const double mm = 1.0 / 25.4;
    support::expect_point(data_.outside->pivot, {40.0 - 151.0 * mm, -20.0 * mm, 20.0 + 655.0 * mm}, 1e-9);
    support::expect_point(data_.outside->mid_eye, {40.0 - 151.0 * mm - kEyesAhead * mm, -20.0 * mm, 20.0 + 655.0 * mm},
                          1e-7);
    support::expect_point(data_.outside->right_eye,
                          {40.0 - 151.0 * mm - kEyesAhead * mm, -20.0 * mm + 32.5 * mm, 20.0 + 655.0 * mm}, 1e-7);
}

}  // namespace
