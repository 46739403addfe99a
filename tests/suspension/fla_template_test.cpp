// The five-link-axle template: its name tables, the prepared record, the
// structure and the mechanism it builds (once, twice, and deleted), and the
// mechanism moved through heave and roll by its two shock drivers.
#include "template_fixture.h"
#include "test_helpers.h"

#include "fla_fixtures.h"
#include "hm_vd_fla_susp.h"
#include "hm_vd_motion.h"
#include "omvra.h"
#include "tolvric.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

namespace {

class FlaTemplateTest : public TemplateTest {
protected:
    void build(sFiveLinkAxle_Suspension& s) {
        ASSERT_EQ(HM_VD_FLA_SUSP_build_structure(&s), 0);
        ASSERT_EQ(HM_VD_FLA_SUSP_build_motion(&s), 0);
    }
};

TEST(FlaNames, TablesAsTheHostReadsThem) {
    EXPECT_EQ(HM_VD_FLA_SUSP_ask_num_of_names(), 101);
    struct Slot {
        int n;
        const char* name;
    };
    const Slot slots[] = {{0, "FLA_SUSP_LCA_FRONT_BUSHING"}, {9, "FLA_SUSP_TRACK_INNER"}, {10, ""},
                          {20, "FLA_SUSP_LCA"}, {39, "FLA_SUSP_OPPOSITE_TRACK_INNER"},
                          {45, "FLA_SUSP_UPPER_BMP_MIRROR"}, {50, "LCA_L"}, {59, ""}, {65, "Jbmp_U_R"},
                          {77, "L_SHOCK"}, {81, "J014"}, {96, "R_SHOCK"}, {100, "J015"},
                          {101, ""}, {-1, ""}, {1000000, ""}};
    int filled = 0;
    for (int n = 0; n < 101; ++n) {
        char name[FLA_SUSP_NAME_SIZE];
        HM_VD_FLA_SUSP_ask_nth_name(n, name);
        if (*name) ++filled;
        EXPECT_LE(std::strlen(name), 33u);
    }
    EXPECT_EQ(filled, 74);
    for (const Slot& s : slots) {
        SCOPED_TRACE(s.n);
        char name[FLA_SUSP_NAME_SIZE] = "junk";
        HM_VD_FLA_SUSP_ask_nth_name(s.n, name);
        EXPECT_STREQ(name, s.name);
    }
    char name[FLA_SUSP_NAME_SIZE];
    HM_VD_FLA_SUSP_ask_nth_jointname(7, name);
    EXPECT_STREQ(name, "L_SHOCK");
    HM_VD_FLA_SUSP_ask_nth_jointname(18, name);
    EXPECT_STREQ(name, "R_SHOCK");
    HM_VD_FLA_SUSP_ask_nth_jointname(23, name);
    EXPECT_STREQ(name, "");
    HM_VD_FLA_SUSP_ask_nth_linkname(9, name);
    EXPECT_STREQ(name, "LCA_R");
    HM_VD_FLA_SUSP_ask_nth_linkname(-1, name);
    EXPECT_STREQ(name, "");
    EXPECT_STREQ(HM_VD_FLA_SUSP_ask_links_name()[14], "Jbmp_U_R");
    EXPECT_STREQ(HM_VD_FLA_SUSP_ask_joints_name()[22], "J015");
}

TEST_F(FlaTemplateTest, InitialMirrorsThroughTheVehicleFrame) {
    // A vehicle frame at (0, 10, 0) with its y axis along y: the plane y = 10.
    host_testing::set_vehicle_csys({0, 10, 0}, {1, 0, 0, 0, 1, 0, 0, 0, 1});
    sFiveLinkAxle_Suspension s;
    std::memset(&s, 0x7f, sizeof s);
    ASSERT_EQ(HM_VD_FLA_SUSP_initial(&s), 0);
    EXPECT_EQ(s.plane_origin[1], 10);
    EXPECT_EQ(s.plane_normal[1], 1);
    for (int pair = 0; pair < 10; ++pair) {
        SCOPED_TRACE(pair);
        EXPECT_EQ(s.points[2 * pair][1], 0);
        EXPECT_NEAR(s.points[2 * pair + 1][1], 20, 1e-12) << "the origin mirrored through y = 10";
    }
    EXPECT_FALSE(s.mirror_bump_stops);
    EXPECT_FALSE(s.mirror_opposite_track);
    EXPECT_EQ(s.mechanism, 0u);
    EXPECT_EQ(s.links[14], 0u);
    EXPECT_EQ(s.joints[22], 0u);
}

TEST_F(FlaTemplateTest, AFreshRecordStillNamesEveryPointAndLine) {
    sFiveLinkAxle_Suspension s;
    ASSERT_EQ(HM_VD_FLA_SUSP_initial(&s), 0);
    ASSERT_EQ(HM_VD_FLA_SUSP_build_structure(&s), 0);
    EXPECT_EQ(host_testing::count_objects(0, HM_point_type), 20);
    EXPECT_EQ(host_testing::count_objects(0, HM_line_type), 16);
    for (int slot : {0, 9, 20, 29, 30, 45}) {
        char name[FLA_SUSP_NAME_SIZE];
        HM_VD_FLA_SUSP_ask_nth_name(slot, name);
        SCOPED_TRACE(name);
        EXPECT_NE(named(name), 0u);
    }
}

TEST_F(FlaTemplateTest, MirrorFlagsDecideWhetherTheCallersMirrorsAreKept) {
    for (bool flag : {false, true}) {
        SCOPED_TRACE(flag);
        sFiveLinkAxle_Suspension s = fla_fixtures::rear_axle();
        s.mirror_bump_stops = flag;
        s.mirror_opposite_track = flag;
        five_link_axle::set(s.points[FLA_LOWER_BUMP_CENTER_MIRROR], 1, 2, 3);
        five_link_axle::set(s.points[FLA_OPPOSITE_TRACK_INNER], 4, 5, 6);
        ASSERT_EQ(HM_VD_FLA_SUSP_build_structure(&s), 0);
        EXPECT_EQ(s.points[FLA_LOWER_BUMP_CENTER_MIRROR][1], flag ? -680 : 2);
        EXPECT_EQ(s.points[FLA_OPPOSITE_TRACK_INNER][1], flag ? -560 : 5);
        EXPECT_EQ(s.points[FLA_WHEEL_CENTER_MIRROR][1], -800) << "the other mirrors are always made";
        double at[3];
        ASSERT_EQ(HM_CURVE_ask_point_data(named("FLA_SUSP_OPPOSITE_TRACK_INNER", HM_point_type), at), 0);
        EXPECT_EQ(at[1], flag ? -560 : 5);
    }
}

TEST_F(FlaTemplateTest, BuildsFifteenLinksTwentyThreeJointsAndTwoDrivers) {
    sFiveLinkAxle_Suspension s = fla_fixtures::rear_axle();
    build(s);
    EXPECT_NE(s.mechanism, 0u);
    EXPECT_EQ(s.mechanism, host_testing::current_mechanism());
    EXPECT_EQ(host_testing::count_objects(0, HM_motion_link_type), 15);
    EXPECT_EQ(host_testing::count_objects(0, HM_motion_joint_type), 23);
    for (tag_t link : s.links) EXPECT_NE(link, 0u);
    for (tag_t joint : s.joints) EXPECT_NE(joint, 0u);
    char name[HM_MOTION_NAME_SIZE];
    HM_OBJ_ask_name(s.joints[FLA_L_SHOCK], name, sizeof name);
    EXPECT_STREQ(name, "L_SHOCK");
    HM_OBJ_ask_name(s.links[FLA_LINK_JBMP_U_R], name, sizeof name);
    EXPECT_STREQ(name, "Jbmp_U_R");
    // J025 joins UCA_C and the axle about the line from the UCA rear mid to the wheel-centre mid.
    HM_MOTION_joint_t j;
    ASSERT_EQ(HM_MOTION_ask_joint(s.joints[FLA_J025], &j), 0);
    EXPECT_EQ(j.type, HM_MOTION_REVOLUTE);
    EXPECT_EQ(j.first_link, s.links[FLA_LINK_UCA_C]);
    EXPECT_EQ(j.second_link, s.links[FLA_LINK_AXLE]);
    double v[3], o[3], at[3];
    ASSERT_EQ(HM_SO_ask_dirr_doubles(j.first_direction, at, v), 0);
    ASSERT_EQ(HM_SO_ask_point_coordinates(j.first_origin, o), 0);
    // (3000, 0, 380) - (3050, 0, 560) = (-50, 0, -180), of length 186.815
    const double length = std::hypot(50.0, 180.0);
    EXPECT_NEAR(v[0], -50 / length, 1e-12);
    EXPECT_NEAR(v[1], 0, 1e-12);
    EXPECT_NEAR(v[2], -180 / length, 1e-12);
    EXPECT_NEAR(o[0], 3050, 1e-9);
    // The shocks: harmonic inputs of zeros, articulation drivers.
    for (int slot : {FLA_L_SHOCK, FLA_R_SHOCK}) {
        HM_MOTION_joint_motion_input_t input;
        ASSERT_EQ(HM_MOTION_ask_joint_motion_input(s.joints[slot], &input), 0);
        EXPECT_EQ(input.type, HM_MOTION_INPUT_HARMONIC);
        KMC_motion_driver_t driver;
        ASSERT_EQ(KMC_get_motion_driver(s.joints[slot], &driver), 0);
        EXPECT_EQ(driver.kind, KMC_DRIVER_ARTICULATION);
    }
    EXPECT_EQ(host_testing::session_depth(), 0);
}

TEST_F(FlaTemplateTest, BuiltTwiceAndDeletedTwiceLeavesNothingDoubled) {
    sFiveLinkAxle_Suspension s = fla_fixtures::rear_axle();
    build(s);
    build(s);
    EXPECT_EQ(host_testing::count_objects(0, HM_point_type), 20);
    EXPECT_EQ(host_testing::count_objects(0, HM_line_type), 16);
    EXPECT_EQ(host_testing::count_objects(0, HM_motion_link_type), 15);
    EXPECT_EQ(host_testing::count_objects(0, HM_motion_joint_type), 23) << "a rebuild replaces the template's joints";
    EXPECT_EQ(count_named("J002"), 1);
    ASSERT_EQ(HM_VD_FLA_SUSP_delete_structure(&s), 0);
    EXPECT_EQ(host_testing::count_objects(0, HM_point_type), 0);
    EXPECT_EQ(host_testing::count_objects(0, HM_line_type), 0);
    EXPECT_EQ(host_testing::count_objects(0, HM_motion_link_type), 0);
    EXPECT_EQ(host_testing::count_objects(0, HM_motion_joint_type), 0);
    EXPECT_NE(host_testing::current_mechanism(), 0u) << "the mechanism is not in the name table: it stays";
    EXPECT_NE(s.links[0], 0u) << "the record's identifiers are kept";
    ASSERT_EQ(HM_VD_FLA_SUSP_delete_structure(&s), 0);
    build(s);
    EXPECT_EQ(host_testing::count_objects(0, HM_motion_joint_type), 23);
}

TEST_F(FlaTemplateTest, AMissingLineStopsTheMotionBeforeAnyJoint) {
    sFiveLinkAxle_Suspension s = fla_fixtures::rear_axle();
    ASSERT_EQ(HM_VD_FLA_SUSP_build_structure(&s), 0);
    ASSERT_EQ(HM_OBJ_delete_object(named("FLA_SUSP_TRACK")), 0);
    EXPECT_EQ(HM_VD_FLA_SUSP_build_motion(&s), -1);
    EXPECT_EQ(host_testing::count_objects(0, HM_motion_joint_type), 0);
    EXPECT_EQ(host_testing::count_objects(0, HM_motion_link_type), 10) << "the links before the track";
}

TEST_F(FlaTemplateTest, ARefusedJointEndsTheJointsAndSetsNoDriver) {
    // Upper shock centre on the lower one: J033's direction (upper to lower)
    // is zero and its frame cannot be made. The eleven joints before it stay,
    // none after it is made, and the shocks get no driver.
    sFiveLinkAxle_Suspension s = fla_fixtures::rear_axle();
    five_link_axle::set(s.points[FLA_UPPER_SHOCK_CENTER], 3080, 640, 280);
    ASSERT_EQ(HM_VD_FLA_SUSP_build_structure(&s), 0);
    EXPECT_EQ(HM_VD_FLA_SUSP_build_motion(&s), -1);
    EXPECT_EQ(host_testing::count_objects(0, HM_motion_joint_type), 11);
    EXPECT_NE(s.joints[FLA_J022], 0u);
    EXPECT_EQ(s.joints[FLA_J033], 0u);
    EXPECT_EQ(s.joints[FLA_L_SHOCK], 0u);
    int count = 0;
    tag_t* drivers = nullptr;
    ASSERT_EQ(HM_VD_MOTION_ask_articulation_drive_joints(&count, &drivers), 0);
    EXPECT_EQ(count, 0);
}

TEST_F(FlaTemplateTest, BadInputBuildsNothing) {
    EXPECT_EQ(HM_VD_FLA_SUSP_initial(nullptr), -1);
    EXPECT_EQ(HM_VD_FLA_SUSP_build_structure(nullptr), -1);
    EXPECT_EQ(HM_VD_FLA_SUSP_build_motion(nullptr), -1);
    EXPECT_EQ(HM_VD_FLA_SUSP_delete_structure(nullptr), -1);
    sFiveLinkAxle_Suspension s = fla_fixtures::rear_axle();
    host_testing::clear_work_part();
    EXPECT_EQ(HM_VD_FLA_SUSP_build_structure(&s), -1);
    EXPECT_NE(HM_VD_FLA_SUSP_build_motion(&s), 0);
    EXPECT_EQ(host_testing::count_objects(part_, 0), 0);
    EXPECT_EQ(host_testing::session_depth(), 0);
}

}  // namespace
