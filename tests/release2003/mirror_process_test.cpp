// The 2003 certification run as the dialog calls it: the messages that the
// run adds before its analysis, the codes of the stages that fail, the plan-
// view ellipses deleted after the eye step, and the report of a finished run.
#include "hm_vd_mc.h"
#include "r2003_mirror.h"

#include "../../examples/mirror_sedan.h"
#include "host_fixture.h"
#include "sedan_driver.h"
#include "test_helpers.h"

#include "omvra.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

class Release2003MirrorProcessTest : public HostTest {
protected:
    // A mirror that no analysis takes: a box, whose outline is not one face.
    static tag_t box_mirror() {
        const double corner[3] = {600, -1050, 950}, size[3] = {20, 100, 100};
        return host_testing::make_box(corner, size);
    }
    mc_input_data_2003_t input(int kind, int standard, tag_t mirror) {
        mc_input_data_2003_t in{};
        in.mirror_kind = kind;
        in.standard = standard;
        in.result_layer = 200;
        in.eyellipse_name = "root:NONE:";
        const double eye[3] = {1250, -370, 520}, pivot[3] = {650, -1000, 1000};
        std::memcpy(in.eye_reference_point, eye, sizeof eye);
        std::memcpy(in.pivot_point, pivot, sizeof pivot);
        std::memcpy(in.prime_point, pivot, sizeof pivot);
        in.mirror_sheet = mirror;
        in.standard_distance = 20000.0;
        in.standard_width = 4000.0;
        return in;
    }
    static std::vector<std::string> messages(const mc_data_2003_s& d) {
        return std::vector<std::string>(d.messages, d.messages + d.message_count);
    }
};

TEST_F(Release2003MirrorProcessTest, TheRunAddsItsMessagesBeforeTheAnalysisAndTheRestrictionNoteOnlyOutside) {
    const std::string overridden = "\nValue(s) from standard have been overridden by user values";
    const std::string head = "\n*DOES NOT CERTIFY*  Standard does not allow head rotation. For study only";
    const std::string restricted =
        "\nAmbinocular Angle @ Ground PV value may be affected by Mirror-Target Restrictions.";
    struct Case {
        int kind, standard;
        bool override_values, head_rotation;
        int code;   // the analysis refuses the box mirror
        std::vector<std::string> expected;
    } cases[] = {
        {1, 1, true, true, 4, {overridden, head, restricted}},
        {1, 1, false, false, 4, {restricted}},
        {0, 1, true, true, 3, {overridden, head}},
        {0, 2, false, true, 3, {head}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.kind) + " " + std::to_string(c.standard));
        const tag_t restraint = support::new_line(2300, -370, 1100, 2300, -370, 1200);
        mc_input_data_2003_t in = input(c.kind, c.standard, box_mirror());
        in.user_override = c.override_values;
        in.user_distance = 20000.0;
        in.user_width = 4000.0;
        in.head_rotation = c.head_rotation;
        in.mt_restriction_count = 1;
        in.mt_restrictions = &restraint;
        mc_data_2003_s d{};
        ASSERT_EQ(HM_VD_MC_init_data(&in, &d), 0);
        ASSERT_EQ(d.user_eye_flag, 1);
        EXPECT_EQ(HM_VD_MC_process(&d), c.code);
        EXPECT_EQ(messages(d), c.expected);
        // A failed run writes no report.
        EXPECT_EQ(host_testing::listing_window(), "");
        HM_VD_MC_release_data(&d);
    }
}

TEST_F(Release2003MirrorProcessTest, ARecordThatWasNeverInitialisedIsRefused) {
    EXPECT_EQ(HM_VD_MC_process(nullptr), -1);
    mc_data_2003_s d{};
    const int objects = host_testing::count_objects();
    EXPECT_EQ(HM_VD_MC_process(&d), -1);
    EXPECT_EQ(host_testing::count_objects(), objects);
}

TEST_F(Release2003MirrorProcessTest, TheEllipsesAreDeletedWhenTheEyeStepFails) {
    // Eyes from the eyellipse, with the mirror's pivot straight ahead of its
    // hip point: the eye step finds no ellipse on the mirror's side.
    const carvell::r2003::mc_eyellipse_params_s p = sedan_driver::params("EYE");
    ASSERT_EQ(carvell::r2003::mc_create_eyellipse_rule("root:EYE:", &p), 0);
    mc_input_data_2003_t in = input(0, 0, box_mirror());
    in.eyellipse_name = "root:EYE:";
    in.pivot_point[1] = -370.0;
    mc_data_2003_s d{};
    ASSERT_EQ(HM_VD_MC_init_data(&in, &d), 0);
    const tag_t ellipses[2] = {d.first_ellipse, d.second_ellipse};
    ASSERT_NE(ellipses[0], NULL_TAG);
    ASSERT_NE(ellipses[1], NULL_TAG);
    EXPECT_EQ(HM_VD_MC_process(&d), 2);
    for (tag_t e : ellipses) EXPECT_NE(HM_OBJ_ask_status(e), 3) << "still alive";
    EXPECT_EQ(d.first_ellipse, NULL_TAG);
    EXPECT_EQ(d.second_ellipse, NULL_TAG);
    EXPECT_EQ(d.message_count, 0);
    HM_VD_MC_release_data(&d);
}

TEST_F(Release2003MirrorProcessTest, ALoadingThatCannotBeHadStopsTheRunWith1) {
    // G1 and G2 one above the other: the pitch that their heights ask for
    // has no run along the car.
    const tag_t mirror = box_mirror();
    mc_input_data_2003_t in = input(1, 1, mirror);
    in.loading = true;
    const double points[3][3] = {{0, 0, 0}, {0, 0, -10}, {0, 0, -40}};
    std::memcpy(in.loading_vectors, points, sizeof points);
    mc_data_2003_s d{};
    ASSERT_EQ(HM_VD_MC_init_data(&in, &d), 0);
    const int objects = host_testing::count_objects();
    EXPECT_EQ(HM_VD_MC_process(&d), 1);
    EXPECT_EQ(host_testing::count_objects(), objects);
    EXPECT_EQ(d.mirror_sheet, mirror);
    HM_VD_MC_release_data(&d);
}

TEST_F(Release2003MirrorProcessTest, AFinishedRunPutsItsResultsOnTheLayerAndWritesTheReportOfItsKind) {
    // The sedan's convex driver mirror against ECE R46.01, eyes 635 mm
    // above the seating reference point, its ground 4000 mm wide from the
    // car's side at 20000 mm.
    const tag_t glass = mirror_sedan::glass_patch(190.0, 120.0);
    mc_input_data_2003_t in = input(1, 1, glass);
    for (int i = 0; i < 3; ++i) in.pivot_point[i] = in.prime_point[i] = mirror_sedan::kGlassCentre[i];
    in.mirror_shape = 1;
    in.mirror_radius[0] = mirror_sedan::kGlassRadius;
    in.mirror_radius[1] = 1200.0;
    in.mirror_radius[2] = 999999.0;
    in.caller_points[0][1] = mirror_sedan::kCarSide;
    mc_data_2003_s d{};
    ASSERT_EQ(HM_VD_MC_init_data(&in, &d), 0);
    ASSERT_EQ(HM_VD_MC_process(&d), 0);
    // The eyes of the run: 635 above the reference, 65 apart.
    support::expect_point(d.outside->mid_eye, {1250, -370, 1155}, 1e-9);
    support::expect_point(d.rear_eye, {1250, -370, 1155}, 1e-9);
    int count = 0;
    ASSERT_EQ(HM_MODL_ask_list_count(d.outside->result_objects, &count), 0);
    ASSERT_GT(count, 20);
    for (int i = 0; i < count; ++i) {
        tag_t object = NULL_TAG;
        ASSERT_EQ(HM_MODL_ask_list_item(d.outside->result_objects, i, &object), 0);
        int layer = 0;
        ASSERT_EQ(HM_OBJ_ask_layer(object, &layer), 0);
        EXPECT_EQ(layer, 200) << i;
    }
    const std::string report = host_testing::listing_window();
    EXPECT_NE(report.find("Mirror Certification Driver Outside - Summary Results"), std::string::npos);
    EXPECT_NE(report.find("71/127/EEC - ECE R46.01"), std::string::npos);
    for (int i = 0; i < d.message_count; ++i) EXPECT_NE(report.find(d.messages[i]), std::string::npos) << i;
    HM_VD_MC_release_data(&d);
}

TEST_F(Release2003MirrorProcessTest, TheInsideReportShowsBothPassesWithTheSearchsHeadTurn) {
    mc_input_data_2003_t in = input(0, 0, box_mirror());
    in.eyellipse_name = "";
    mc_data_2003_s d{};
    ASSERT_EQ(HM_VD_MC_init_data(&in, &d), 0);
    mc_inside_pass_s& up = *d.inside->up;
    mc_inside_pass_s& down = *d.inside->down;
    up.search_values[1] = 12.5;
    down.search_values[1] = 7.25;
    up.restriction_result = 3.5;
    up.ambinocular_angle[0] = up.ambinocular_angle[1] = 21.75;
    down.up_angle = -1.5;
    carvell::r2003::mc_add_message(&d, "\nVision triangle is not obstructed.");
    ASSERT_EQ(carvell::r2003::mc_write_report_2003(&d), 0);
    const std::string report = host_testing::listing_window();
    for (const char* row : {"Mirror Certification Inside - Summary Results", "Head Turn Angle PV (Up)                 = 12.5000",
                            "Head Turn Angle PV (Down)               = 7.2500",
                            "Backlite Restriction PV (Up)            = 3.5000",
                            "Ambinocular Angle (Up)                  = 21.7500",
                            "Up Angle LS (Down)                      = -1.5000", "Vision triangle is not obstructed."})
        EXPECT_NE(report.find(row), std::string::npos) << row;
    HM_VD_MC_release_data(&d);
}

}  // namespace
