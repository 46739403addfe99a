// The 2003 release's motion forms: joints made by the host's older joint
// call, motion inputs through its older input call, scenarios created in one
// host call, and the short-long-arm template on that release's record.
#include "../suspension/sla_truck_corner.h"
#include "host_fixture.h"
#include "test_helpers.h"

#include "hm_vd_motion.h"
#include "hm_vd_sla_susp.h"
#include "omvra.h"
#include "tolvric.h"
#include "vornesk.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

class Motion2003Test : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        tag_t mechanism = 0;
        ASSERT_EQ(HM_VD_MOTION_create_mech(nullptr, &mechanism), 0);
        line_ = host_testing::make_line({0, 0, 0}, {100, 0, 0});
        ASSERT_EQ(HM_VD_MOTION_create_simple_link("arm", &line_, 1, &link_), 0);
    }
    // The unit vector of a joint's direction object.
    static void direction(tag_t object, double out[3]) {
        double origin[3];
        ASSERT_EQ(HM_SO_ask_dirr_doubles(object, origin, out), 0);
    }
    tag_t line_ = 0, link_ = 0;
};

// The library's code goes to the host, which makes the joint of the code's
// type, oriented by the frames: along the first direction (X of the frame
// for codes 11 and 12, else Z).
TEST_F(Motion2003Test, AJointIsMadeByTheOlderCallFromItsCodeAndFrames) {
    struct Case {
        int code;
        int type;
        double first[3], second[3];
    };
    const Case cases[] = {
        {4, HM_MOTION_REVOLUTE, {0, 0, 1}, {0, 0, 1}},
        {5, HM_MOTION_CYLINDRICAL, {0, 1, 0}, {1, 0, 0}},
        {12, HM_MOTION_UNIVERSAL, {1, 0, 0}, {0, 1, 0}},
        {13, HM_MOTION_SPHERICAL, {0, 0, 1}, {0, 1, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        double first[3] = {c.first[0], c.first[1], c.first[2]}, second[3] = {c.second[0], c.second[1], c.second[2]};
        double origin[3] = {50, 0, 0};
        tag_t joint = 0;
        ASSERT_EQ(HM_VD_MOTION_create_joint("J", c.code, link_, 0, 0.0, first, second, origin, &joint), 0);
        HM_MOTION_joint_t record;
        ASSERT_EQ(HM_MOTION_ask_joint(joint, &record), 0);
        EXPECT_EQ(record.type, c.type);
        EXPECT_EQ(record.first_link, link_);
        EXPECT_EQ(record.second_link, 0u);
        EXPECT_EQ(record.second_direction, 0u) << "no direction on ground";
        double d[3];
        direction(record.first_direction, d);
        support::expect_point(d, {c.first[0], c.first[1], c.first[2]}, 1e-12);
    }
}

TEST_F(Motion2003Test, ARefusedJointLeavesNothingAndInputsGoThroughTheOlderCall) {
    const int before = host_testing::count_objects();
    double z[3] = {0, 0, 1}, origin[3] = {0, 0, 0};
    tag_t joint = 0;
    // Code 11 with a second direction along the first frame's Z: refused.
    double x[3] = {1, 0, 0};
    EXPECT_EQ(HM_VD_MOTION_create_joint("J", 11, link_, 0, 0.0, x, z, origin, &joint), -1);
    // Code 2 names no joint type: the host refuses it.
    EXPECT_NE(HM_VD_MOTION_create_joint("J", 2, link_, 0, 0.0, z, z, origin, &joint), 0);
    EXPECT_EQ(host_testing::count_objects(), before);

    ASSERT_EQ(HM_VD_MOTION_create_joint("J", 6, link_, 0, 0.0, z, z, origin, &joint), 0);
    struct Case {
        int kind;
        const char* text;
        int type;
        double values[4];
    };
    const Case cases[] = {
        {4, "", HM_MOTION_INPUT_HARMONIC, {1, 2, 3, 4}},
        {3, "", HM_MOTION_INPUT_CONSTANT, {5, 6, 7, 0}},
        {1, "sin(time)", HM_MOTION_INPUT_FUNCTION, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        double values[4] = {c.values[0], c.values[1], c.values[2], c.values[3]};
        ASSERT_EQ(HM_VD_MOTION_create_motion_input(joint, c.kind, c.text, values, 0), 0);
        HM_MOTION_joint_motion_input_t input;
        ASSERT_EQ(HM_MOTION_ask_joint_motion_input(joint, &input), 0);
        EXPECT_EQ(input.type, c.type);
        if (c.type != HM_MOTION_INPUT_FUNCTION)
            for (int i = 0; i < (c.kind == 3 ? 3 : 4); ++i) EXPECT_EQ(input.values[i], c.values[i]);
    }
    EXPECT_NE(HM_VD_MOTION_create_motion_input(joint, 1, nullptr, nullptr, 0), 0);
    EXPECT_EQ(host_testing::session_depth(), 0);
}

// The work part is a master saved as <scratch>/cars/axle.prt.
class Scenario2003Test : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        fs::create_directories(files_.directory() / "cars");
        master_ = host_testing::make_part((files_.directory() / "cars" / "axle.prt").c_str());
        ASSERT_EQ(HM_PART_save(master_), 0);
    }
    support::ScratchDirectory files_{"carvell_scenarios_2003"};
    tag_t master_ = 0;
};

// One host call makes the scenario; it becomes the work part and is saved.
// Names are compared as plain leaf names in any case, also under the
// data-management system, which the 2003 release does not decode.
TEST_F(Scenario2003Test, AScenarioIsCreatedByOneHostCallAndSaved) {
    std::string name = "Sim1";
    tag_t scenario = 0;
    ASSERT_EQ(HM_VD_MOTION_create_scenario(name.data(), &scenario), 0);
    EXPECT_TRUE(SFMOD_is_scenario_part(scenario));
    EXPECT_EQ(HM_ASSEM_ask_work_part(), scenario);
    EXPECT_TRUE(fs::is_regular_file(files_.directory() / "cars" / "axle" / "Sim1.prt"));
    EXPECT_EQ(host_testing::undo_mark_count(), 0);
    ASSERT_EQ(HM_ASSEM_set_work_part(master_), 0);
    std::string again = "SIM1";
    tag_t other = 77;
    EXPECT_EQ(HM_VD_MOTION_create_scenario(again.data(), &other), 1);
    EXPECT_EQ(other, 77u);
    bool exists = false;
    EXPECT_EQ(HM_VD_MOTION_is_scenario_exist("sim1", &exists), 0);
    EXPECT_TRUE(exists);
    host_testing::set_kwmanager_active(true);
    std::ofstream(files_.directory() / "cars" / "axle" / "stray.prt") << "x\n";
    EXPECT_EQ(HM_VD_MOTION_is_scenario_exist("stray", &exists), 0);
    EXPECT_TRUE(exists);
    host_testing::set_kwmanager_active(false);
    EXPECT_EQ(host_testing::session_depth(), 0);
}

// A failing step of the host's creation leaves nothing: no scenario, the
// same work part; its code is answered.
TEST_F(Scenario2003Test, AFailedCreationLeavesNothing) {
    host_testing::fail_scenario_call("SFMOD_add_scenario", 4242);
    std::string name = "Sim1";
    tag_t scenario = 77;
    EXPECT_EQ(HM_VD_MOTION_create_scenario(name.data(), &scenario), 4242);
    EXPECT_EQ(scenario, 77u);
    EXPECT_EQ(HM_ASSEM_ask_work_part(), master_);
    bool exists = true;
    EXPECT_EQ(HM_VD_MOTION_is_scenario_exist("Sim1", &exists), 0);
    EXPECT_FALSE(exists);
    EXPECT_EQ(HM_VD_MOTION_create_scenario(nullptr, &scenario), -1);
}

// The 2003 record has no option for a suspension without steering: the
// template builds the steering rack and its joint and drives both.
class Sla2003Test : public TemplateTest {};

TEST_F(Sla2003Test, TheTemplateBuildsTheSteeringOnThe2003Record) {
    sla_suspension_s s;
    std::memset(&s, 0, sizeof s);
    ASSERT_EQ(HM_VD_SLA_SUSP_initial(&s), 0);
    for (const TruckCorner& c : kTruckCorner) set(s.points[c.point], c.at);
    ASSERT_EQ(HM_VD_SLA_SUSP_build_structure(&s), 0);
    ASSERT_EQ(HM_VD_SLA_SUSP_build_motion(&s), 0);
    EXPECT_EQ(s.mechanism, host_testing::current_mechanism());
    EXPECT_NE(s.links[SLA_LINK_STEER], 0u);
    EXPECT_NE(s.joints[SLA_J_STEER], 0u);
    tag_t* drivers = nullptr;
    int n = 0;
    ASSERT_EQ(HM_VD_MOTION_ask_articulation_drive_joints(&n, &drivers), 0);
    EXPECT_EQ(n, 2);
    SM_free(drivers);
}

}  // namespace
