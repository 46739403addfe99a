// The working record: the zero-fill defaults, what the initialisation copies
// and converts, and a release that frees everything and nulls its pointers.
#include "mirror_fixtures.h"
#include "mirror_record.h"
#include "test_helpers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using mirror_testing::dialog_input;
using namespace carvell::mirror;

TEST_F(MirrorRecordTest, ZeroFillSetsTheStatedDefaults) {
    std::memset(static_cast<void*>(&data_), 0x5a, sizeof data_);
    zero_fill(&data_);
    EXPECT_DOUBLE_EQ(data_.distance_tolerance, 0.01);
    EXPECT_DOUBLE_EQ(data_.angle_tolerance, 0.01);
    EXPECT_DOUBLE_EQ(data_.third_tolerance, 0.01);
    EXPECT_DOUBLE_EQ(data_.lower_legal_radius, 100.0);
    EXPECT_DOUBLE_EQ(data_.upper_legal_radius, 999999.0);
    for (int colour : data_.colours) EXPECT_EQ(colour, 2);
    EXPECT_TRUE(data_.positioning);
    EXPECT_TRUE(data_.skip_area_test);
    EXPECT_TRUE(data_.certifies);
    EXPECT_EQ(data_.messages, nullptr);
    EXPECT_EQ(data_.bezels, nullptr);
    EXPECT_EQ(data_.inside, nullptr);
    EXPECT_STREQ(data_.region_name, "");
    EXPECT_DOUBLE_EQ(data_.user_width[0], 0.0);
}

TEST_F(MirrorRecordTest, InitCopiesAndConvertsTheDialogInput) {
    mc_input_data_t in = dialog_input(0, 1);
    in.eye_selection_mode = 1;
    in.user_override = true;
    in.user_distance = 5000.0;
    in.user_value = 250.0;
    ASSERT_EQ(Init(in), 0);
    EXPECT_EQ(data_.units, 0);
    EXPECT_EQ(data_.eye_selection_mode, 2);
    EXPECT_STREQ(data_.region_name, "Europe");
    EXPECT_STREQ(data_.standard_name, "2003/97/EC - ECE R46.02");
    EXPECT_EQ(data_.eye_method, 1);
    EXPECT_DOUBLE_EQ(data_.distance_tolerance, 0.01);
    EXPECT_NEAR(data_.angle_tolerance, 0.05, 1e-12);   // half a degree, one tenth
    EXPECT_DOUBLE_EQ(data_.third_tolerance, 0.01);
    // Row 1 of an inside mirror: the user value is a width only.
    EXPECT_DOUBLE_EQ(data_.user_distance[0], 5000.0);
    EXPECT_DOUBLE_EQ(data_.user_width[0], 250.0);
    EXPECT_DOUBLE_EQ(data_.user_angle[0], 0.0);
    EXPECT_DOUBLE_EQ(data_.standard_distance[0], 60000.0);
    EXPECT_DOUBLE_EQ(data_.standard_width[0], 20.0);
    EXPECT_DOUBLE_EQ(data_.standard_angle[0], 20.0);
    EXPECT_DOUBLE_EQ(data_.standard_width[1], 0.0);
    // Colours 5 and 6 change places on the way in.
    const int expected_colours[7] = {10, 11, 12, 13, 15, 14, 16};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(data_.colours[i], expected_colours[i]) << i;
    EXPECT_DOUBLE_EQ(data_.saved_eye_reference_point[1], -370.0);
    EXPECT_DOUBLE_EQ(data_.saved_mirror_reference_point[0], 650.0);
    EXPECT_EQ(data_.result_layer, 200);
    EXPECT_DOUBLE_EQ(data_.lower_legal_radius, 1200.0);
    EXPECT_EQ(data_.message_count, 0);
    EXPECT_NE(data_.messages, nullptr);
    EXPECT_STREQ(data_.error_text, "");
    EXPECT_TRUE(data_.certifies);
    ASSERT_NE(data_.inside, nullptr);
    EXPECT_NE(data_.inside->upper, nullptr);
    EXPECT_NE(data_.inside->lower, nullptr);
    EXPECT_NE(data_.inside->result_objects, nullptr);
    EXPECT_EQ(data_.outside, nullptr);
}

TEST_F(MirrorRecordTest, EyeSelectionModeAndUserAngleConversions) {
    struct Case {
        int kind, row, mode, stored_mode;
        double user_angle;
    };
    const Case cases[] = {
        {0, 0, 0, 0, 250.0}, {0, 3, 1, 2, 250.0}, {0, 1, 7, 1, 0.0}, {1, 0, -1, 1, 0.0}, {2, 0, 1, 2, 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "kind " << c.kind << " row " << c.row << " mode " << c.mode);
        mc_input_data_t in = dialog_input(c.kind, c.row);
        in.eye_selection_mode = c.mode;
        in.user_override = true;
        in.user_value = 250.0;
        ASSERT_EQ(Init(in), 0);
        EXPECT_EQ(data_.eye_selection_mode, c.stored_mode);
        EXPECT_DOUBLE_EQ(data_.user_width[0], 250.0);
        EXPECT_DOUBLE_EQ(data_.user_angle[0], c.user_angle);
        HM_VD_MC_release_data(&data_);
    }
}

TEST_F(MirrorRecordTest, OutsideKindsGetTheOutsideResultRecord) {
    ASSERT_EQ(Init(dialog_input(1, 2)), 0);
    EXPECT_EQ(data_.inside, nullptr);
    ASSERT_NE(data_.outside, nullptr);
    ASSERT_NE(data_.outside->surface, nullptr);
    EXPECT_DOUBLE_EQ(data_.outside->surface->normal[0], 1.0);
    EXPECT_DOUBLE_EQ(data_.outside->surface->normal[1], 0.0);
    EXPECT_NE(data_.outside->first, nullptr);
    EXPECT_NE(data_.outside->second, nullptr);
    EXPECT_NE(data_.outside->result_objects, nullptr);
    // The Japanese driver-side row: a 300 mm second-target width.
    EXPECT_DOUBLE_EQ(data_.standard_width[1], 300.0);
}

TEST_F(InchMirrorRecordTest, AnInchPartHoldsUnitsOneAndTheInchRuleValue) {
    ASSERT_EQ(Init(dialog_input(2, 4)), 0);
    EXPECT_EQ(data_.units, 1);
    EXPECT_DOUBLE_EQ(data_.standard_width[1], 11.811023622047244);
}

TEST_F(MirrorRecordTest, CallerTagArraysBecomeListsAndTheirInitialCopies) {
    const std::vector<tag_t> bezels = {support::new_line(0, 0, 0, 1, 0, 0), support::new_line(1, 0, 0, 1, 1, 0)};
    const std::vector<tag_t> faces = {support::new_line(0, 0, 0, 0, 0, 1)};
    const std::vector<tag_t> restrictions = {support::new_point(1, 2, 3)};
    mc_input_data_t in = dialog_input();
    in.bezel_count = 2;
    in.bezels = bezels.data();
    in.backlite_count = 1;
    in.backlite_faces = faces.data();
    in.mirror_target_restriction_count = 1;
    in.mirror_target_restrictions = restrictions.data();
    ASSERT_EQ(Init(in), 0);
    EXPECT_TRUE(data_.has_bezel);
    EXPECT_EQ(support::list_items(data_.bezels), bezels);
    EXPECT_EQ(support::list_items(data_.initial_bezels), bezels);
    EXPECT_NE(data_.bezels, data_.initial_bezels);
    EXPECT_EQ(support::list_items(data_.backlite_faces), faces);
    EXPECT_EQ(data_.backlite_sheet, faces[0]);
    EXPECT_EQ(data_.initial_backlite_sheet, faces[0]);
    EXPECT_FALSE(data_.has_eye_mirror_restrictions);
    EXPECT_EQ(data_.eye_mirror_restrictions, nullptr);
    EXPECT_EQ(data_.initial_eye_mirror_restrictions, nullptr);
    EXPECT_TRUE(data_.has_mirror_target_restrictions);
    EXPECT_EQ(support::list_items(data_.initial_mirror_target_restrictions), restrictions);
}

TEST_F(MirrorRecordTest, ZeroBezelCountLeavesNoBezelLists) {
    ASSERT_EQ(Init(dialog_input()), 0);
    EXPECT_FALSE(data_.has_bezel);
    EXPECT_EQ(data_.bezels, nullptr);
    EXPECT_EQ(data_.initial_bezels, nullptr);
}

TEST_F(MirrorRecordTest, EyellipseRowsForceHeadRotationAndBuildNoConicsWithoutAnEyellipse) {
    mc_input_data_t in = dialog_input(0, 0);
    in.head_rotation = false;
    ASSERT_EQ(Init(in), 0);
    EXPECT_EQ(data_.eye_method, 0);
    EXPECT_TRUE(data_.head_rotation);
    EXPECT_EQ(data_.eyellipse_conics[0], 0u);
    EXPECT_EQ(data_.eyellipse_conics[1], 0u);
    EXPECT_STREQ(data_.eyellipse_rule_name_used, "eyellipse_95");
    EXPECT_EQ(data_.inside->mid_eye[0], 0.0);
}

TEST_F(MirrorRecordTest, ReleaseFreesEverythingAndNullsWhatItFreed) {
    const std::vector<tag_t> bezels = {support::new_line(0, 0, 0, 1, 0, 0)};
    mc_input_data_t in = dialog_input(1, 0);
    in.bezel_count = 1;
    in.bezels = bezels.data();
    ASSERT_EQ(Init(in), 0);
    add_message(&data_, "first");
    HM_VD_MC_release_data(&data_);
    EXPECT_EQ(data_.bezels, nullptr);
    EXPECT_EQ(data_.initial_bezels, nullptr);
    EXPECT_EQ(data_.outside, nullptr);
    EXPECT_EQ(data_.messages, nullptr);
    EXPECT_EQ(data_.warnings, nullptr);
    ExpectNoLeaks();
    // A second release finds nothing left to free.
    HM_VD_MC_release_data(&data_);
    ExpectNoLeaks();
    // The caller's curve stays in the part.
    EXPECT_EQ(HM_OBJ_ask_status(bezels[0]), 3);
}

TEST_F(MirrorRecordTest, NullInputOrRecordBuildsNothing) {
    mc_input_data_t in = dialog_input();
    EXPECT_EQ(HM_VD_MC_init_data(nullptr, &data_), -1);
    EXPECT_EQ(HM_VD_MC_init_data(&in, nullptr), -1);
    EXPECT_EQ(data_.messages, nullptr);
    HM_VD_MC_release_data(nullptr);
    ExpectNoLeaks();
}

}  // namespace
