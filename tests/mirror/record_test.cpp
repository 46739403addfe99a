// The working record: the zero-fill defaults, what the initialisation copies
// and converts, and a release that frees everything and nulls its pointers.
#include "host_testing.h"
#include "mirror_fixtures.h"
#include "mirror_record.h"
#include "omvra.h"
#include "tessik.h"
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

// F2: an eyellipse that cannot be read leaves no conics and zeroed results.
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

namespace {

// The sedan's SAE J941 eyellipse, plan-view axes on the grid.
host_testing::EyellipseSpec sedan_eyellipse() {
    host_testing::EyellipseSpec s;
    s.centroids = {{{1290.0, -402.5, 1158.0}, {1290.0, -370.0, 1158.0}, {1290.0, -337.5, 1158.0}}};
    s.lengths = {173.0, 50.0, 86.0};
    s.lengths_95 = {206.4, 60.3, 93.4};
    s.lengths_99 = {287.1, 85.3, 132.1};
    return s;
}

support::Point3 on_curve(tag_t curve, double t) { return support::curve_point(curve, t); }

TEST_F(MirrorRecordTest, EyellipseRowsBuildThePlanViewConicsAndTakeTheReferencePoint) {
    ASSERT_NE(host_testing::make_eyellipse("EYE95", sedan_eyellipse()), 0u);
    struct Case {
        const char* what;
        int selector;
        double a, b;   // semi-axes
    } cases[] = {{"selector -1", -1, 86.5, 25.0}, {"selector 0", 0, 103.2, 30.15}, {"selector 7", 7, 143.55, 42.65}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        mc_input_data_t in = dialog_input(0, 0);
        in.eyellipse_rule_name = "EYE95";
        in.eyellipse_size = c.selector;
        ASSERT_EQ(Init(in), 0);
        ASSERT_NE(data_.eyellipse_conics[0], 0u);
        ASSERT_NE(data_.eyellipse_conics[1], 0u);
        // First conic about the centre of eye type -1, second of type 1.
        support::expect_point(on_curve(data_.eyellipse_conics[0], 0.0), {1290.0 + c.a, -402.5, 1158.0}, 1e-6);
        support::expect_point(on_curve(data_.eyellipse_conics[0], 0.25), {1290.0, -402.5 + c.b, 1158.0}, 1e-6);
        support::expect_point(on_curve(data_.eyellipse_conics[1], 0.5), {1290.0 - c.a, -337.5, 1158.0}, 1e-6);
        // The reference point is the centre of eye type 0.
        support::expect_point(data_.eye_reference_point, {1290.0, -370.0, 1158.0}, 1e-12);
        EXPECT_STREQ(data_.eyellipse_rule_name_used, "EYE95");
        HM_VD_MC_release_data(&data_);
    }
}

TEST_F(MirrorRecordTest, TheEyellipseReferencePointComesFromTheVehicleFrame) {
    ASSERT_NE(host_testing::make_eyellipse("EYE95", sedan_eyellipse()), 0u);
    // The vehicle frame 100 mm along X and turned 90 degrees about Z: the
    // vehicle point (x, y, z) lies at (100 - y, x, z).
    const double values[9] = {0, 1, 0, -1, 0, 0, 0, 0, 1}, origin[3] = {100, 0, 0};
    tag_t matrix = 0, csys = 0;
    ASSERT_EQ(HM_CSYS_create_matrix(values, &matrix), 0);
    ASSERT_EQ(HM_CSYS_create_csys(origin, matrix, &csys), 0);
    ASSERT_EQ(HM_OBJ_set_name(csys, VD_VEHICLE_CSYS_NAME), 0);
    mc_input_data_t in = dialog_input(0, 0);
    in.eyellipse_rule_name = "EYE95";
    ASSERT_EQ(Init(in), 0);
    support::expect_point(data_.eye_reference_point, {100.0 + 370.0, 1290.0, 1158.0}, 1e-9);
    // The conics stay where the instance puts them.
    support::expect_point(on_curve(data_.eyellipse_conics[0], 0.0), {1290.0 + 103.2, -402.5, 1158.0}, 1e-6);
}

}  // namespace
