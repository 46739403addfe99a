// Motion functions: links with mass properties, joints and their frames,
// springs, dampers, forces, motion inputs and the articulation drivers, as
// the host's records read them back.
#include "host_fixture.h"
#include "test_helpers.h"

#include "hm_vd_motion.h"
#include "omvra.h"
#include "suspension_motion.h"
#include "template_common.h"
#include "tolvric.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

namespace {

class MotionTest : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        tag_t mechanism = 0;
        ASSERT_EQ(HM_VD_MOTION_create_mech(nullptr, &mechanism), 0);
        ASSERT_NE(mechanism, 0u);
        mechanism_ = mechanism;
        line_ = host_testing::make_line({0, 0, 0}, {100, 0, 0});
        ASSERT_EQ(HM_VD_MOTION_create_simple_link("arm", &line_, 1, &link_), 0);
    }
    tag_t mechanism_ = 0, line_ = 0, link_ = 0;
};

class MotionInchTest : public MotionTest {
protected:
    MotionInchTest() { inches_ = true; }
};

TEST(JointCodes, MapToHostTypesInPairs) {
    const int expected[][2] = {{2, 0}, {3, 1}, {4, 1}, {5, 2}, {6, 2}, {7, 3}, {8, 3}, {9, 4}, {10, 4}, {11, 5},
                               {12, 5}, {13, 6}, {14, 6}, {15, 7}, {16, 7}, {17, 0}, {0, 0}, {-3, 0}};
    for (const auto& e : expected) {
        SCOPED_TRACE(e[0]);
        EXPECT_EQ(carvell::suspension::joint_type_of_code(e[0]), e[1]);
    }
}

TEST_F(MotionTest, TwoEqualBodiesGiveTheMeanCentreOfGravity) {
    const double c1[3] = {0, 0, 0}, c2[3] = {100, 40, 0}, size[3] = {20, 20, 20};
    tag_t bodies[2] = {host_testing::make_box(c1, size), host_testing::make_box(c2, size)};
    tag_t link = 0;
    ASSERT_EQ(HM_VD_MOTION_create_link_with_multi_body("pair", bodies, 2, &link), 0);
    mot_link_mass_info_s info{};
    ASSERT_EQ(HM_VD_MOTION_info_link_mass_prop(link, &info), 0);
    // Centres (10, 10, 10) and (110, 50, 10); steel, 2 x 8000 mm^3 = 0.1256 kg.
    EXPECT_NEAR(info.cog[0], 60, 1e-6);
    EXPECT_NEAR(info.cog[1], 30, 1e-6);
    EXPECT_NEAR(info.cog[2], 10, 1e-6);
    EXPECT_NEAR(info.mass, 2 * 8000e-9 * 7850, 1e-9);
    EXPECT_EQ(info.has_mass, 1);
    EXPECT_EQ(info.link, link);
    double marker_at[3];
    tag_t matrix = 0;
    ASSERT_EQ(KMC_ask_marker(info.marker, marker_at, &matrix), 0);
    EXPECT_NEAR(marker_at[0], 60, 1e-6) << "the inertia marker goes with the centre of gravity";
}

TEST_F(MotionInchTest, OneBodyInAnInchPartAsksForKilograms) {
    // A 1 in cube of steel: 16.387 cm^3, 0.128636 kg (pounds would be 0.2836).
    const double corner[3] = {0, 0, 0}, size[3] = {1, 1, 1};
    tag_t body = host_testing::make_box(corner, size), link = 0;
    ASSERT_EQ(HM_VD_MOTION_create_link_with_single_body("cube", body, &link), 0);
    mot_link_mass_info_s info{};
    ASSERT_EQ(HM_VD_MOTION_info_link_mass_prop(link, &info), 0);
    EXPECT_NEAR(info.mass, 7850 * std::pow(0.0254, 3), 1e-9);
    EXPECT_NEAR(info.cog[0], 0.5, 1e-9) << "centre in part units";
}

TEST_F(MotionInchTest, SeveralBodiesInAnInchPartWeighInPounds) {
    // Two 1 in cubes of steel: 2 x 7850 kg/m^3 x 0.0254^3 m^3 = 0.2574 kg,
    // which an inch part's link carries as 0.5675 lb.
    const double c1[3] = {0, 0, 0}, c2[3] = {3, 0, 0}, size[3] = {1, 1, 1};
    tag_t bodies[2] = {host_testing::make_box(c1, size), host_testing::make_box(c2, size)};
    tag_t link = 0;
    ASSERT_EQ(HM_VD_MOTION_create_link_with_multi_body("pair", bodies, 2, &link), 0);
    mot_link_mass_info_s info{};
    ASSERT_EQ(HM_VD_MOTION_info_link_mass_prop(link, &info), 0);
    const double kilograms = 2 * 7850 * std::pow(0.0254, 3);
    EXPECT_NEAR(info.mass, kilograms / 0.45359237, 1e-9);
    EXPECT_NEAR(info.cog[0], 2.0, 1e-9) << "centre in part units";
}

TEST_F(MotionTest, AFailedLinkWithMassLeavesNoLink) {
    double weight = 2.0, cog[3] = {1, 2, 3};
    tag_t link = 77;
    EXPECT_EQ(HM_VD_MOTION_create_link("none", nullptr, 0, &weight, cog, &link), HM_ERR_BAD_ARGUMENT);
    EXPECT_EQ(link, 0u);
    weight = -1.0;   // the host refuses a negative mass: code 2, and the link made for it is gone
    const int links_before = host_testing::count_objects(0, HM_motion_link_type);
    EXPECT_EQ(HM_VD_MOTION_create_link("light", &line_, 1, &weight, cog, &link), 2);
    EXPECT_EQ(link, 0u);
    EXPECT_EQ(host_testing::count_objects(0, HM_motion_link_type), links_before);
    tag_t not_a_link = line_;
    EXPECT_EQ(HM_VD_MOTION_set_cog(&not_a_link, cog), HM_ERR_WRONG_TYPE);
    EXPECT_EQ(HM_VD_MOTION_set_weight(&not_a_link, 1.0), HM_ERR_WRONG_TYPE);
    double inertias[6] = {1, 2, 3, 0, 0, 0};
    EXPECT_EQ(HM_VD_MOTION_set_inertias(&not_a_link, inertias, cog, &not_a_link), HM_ERR_WRONG_TYPE);
}

TEST_F(MotionTest, LinkWithMassReadsBackItsWeightCentreAndInertias) {
    double weight = 12.5, cog[3] = {10, 20, 30};
    tag_t link = 0;
    ASSERT_EQ(HM_VD_MOTION_create_link("hub", &line_, 1, &weight, cog, &link), 0);
    double matrix[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    tag_t orientation = 0;
    ASSERT_EQ(HM_CSYS_create_matrix(matrix, &orientation), 0);
    double inertias[6] = {1, 2, 3, 4, 5, 6}, at[3] = {11, 21, 31};
    ASSERT_EQ(HM_VD_MOTION_set_inertias(&link, inertias, at, &orientation), 0);
    mot_link_mass_info_s info{};
    ASSERT_EQ(HM_VD_MOTION_info_link_mass_prop(link, &info), 0);
    EXPECT_EQ(info.mass, 12.5);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(info.cog[i], cog[i]);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(info.inertias[i], inertias[i]);
    double marker_at[3];
    tag_t marker_matrix = 0;
    ASSERT_EQ(KMC_ask_marker(info.marker, marker_at, &marker_matrix), 0);
    EXPECT_EQ(marker_at[0], 11);
    EXPECT_EQ(marker_matrix, orientation);
}

TEST_F(MotionTest, LinkByNameTakesEveryObjectOfTheName) {
    tag_t a = host_testing::make_line({0, 0, 0}, {1, 0, 0}), b = host_testing::make_line({0, 1, 0}, {1, 1, 0});
    HM_OBJ_set_name(a, "BAR");
    HM_OBJ_set_name(b, "BAR");
    int count = 0;
    tag_t link = 0;
    ASSERT_EQ(HM_VD_MOTION_create_link_by_name("bar", const_cast<char*>("BAR"), &count, &link), 0);
    EXPECT_EQ(count, 2);
    KMC_link_t record;
    KMC_init_link(&record);
    ASSERT_EQ(KMC_ask_link(link, &record), 0);
    EXPECT_STREQ(TEXT_ask_string(&record.name), "bar");
    EXPECT_EQ(record.num_geometries, 2);
    TEXT_free(&record.name);
    tag_t untouched = 55;
    ASSERT_EQ(HM_VD_MOTION_create_link_by_name("none", const_cast<char*>("NONE"), &count, &untouched), 0);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(untouched, 55u);
}

TEST_F(MotionTest, CycleObjWalksEveryLinkOnce) {
    tag_t second = 0;
    ASSERT_EQ(HM_VD_MOTION_create_simple_link("second", &line_, 1, &second), 0);
    std::vector<tag_t> seen;
    tag_t object = 0;
    int type = HM_motion_link_type;
    while (HM_VD_MOTION_cycle_obj(&object, &type) == 0 && object) seen.push_back(object);
    EXPECT_EQ(seen, (std::vector<tag_t>{link_, second}));
}

TEST_F(MotionTest, AJointAlongTwoPointsTurnsItsSecondDirectionByTheSense) {
    // From (10, 0, 0) to (10, 30, 40): the unit direction (0, 0.6, 0.8). The
    // second link's direction runs the same way or back.
    namespace sus = carvell::suspension;
    tag_t other = 0;
    ASSERT_EQ(HM_VD_MOTION_create_simple_link("other", &line_, 1, &other), 0);
    const tag_t links[2] = {link_, other};
    const double a[3] = {10, 0, 0}, b[3] = {10, 30, 40}, origin[3] = {10, 15, 20};
    struct Case {
        sus::Sense sense;
        double second_sign;
    };
    for (const Case& c : {Case{sus::Sense::same, 1.0}, Case{sus::Sense::opposite, -1.0}}) {
        SCOPED_TRACE(c.second_sign);
        tag_t joints[1] = {0};
        ASSERT_EQ(sus::build_joints({sus::joint_along(0, "BUSH", 3, 0, 1, a, b, c.sense, origin)}, links, joints), 0);
        HM_MOTION_joint_t record;
        ASSERT_EQ(HM_MOTION_ask_joint(joints[0], &record), 0);
        double at[3], first[3], second[3];
        ASSERT_EQ(HM_SO_ask_dirr_doubles(record.first_direction, at, first), 0);
        ASSERT_EQ(HM_SO_ask_dirr_doubles(record.second_direction, at, second), 0);
        const double unit[3] = {0, 0.6, 0.8};
        for (int i = 0; i < 3; ++i) {
            const double n1 = std::sqrt(first[0] * first[0] + first[1] * first[1] + first[2] * first[2]);
            const double n2 = std::sqrt(second[0] * second[0] + second[1] * second[1] + second[2] * second[2]);
            EXPECT_NEAR(first[i] / n1, unit[i], 1e-12) << i;
            EXPECT_NEAR(second[i] / n2, c.second_sign * unit[i], 1e-12) << i;
        }
    }
}

TEST_F(MotionTest, JointReadsBackItsTypeLinksOriginAndDirections) {
    tag_t other = 0;
    ASSERT_EQ(HM_VD_MOTION_create_simple_link("other", &line_, 1, &other), 0);
    double d1[3] = {0, 0, 1}, d2[3] = {0, 1, 0}, origin[3] = {5, 6, 7};
    tag_t joint = 0;
    ASSERT_EQ(HM_VD_MOTION_create_joint("J", 13, link_, other, 0.5, d1, d2, origin, &joint), 0);
    HM_MOTION_joint_t record;
    ASSERT_EQ(HM_MOTION_ask_joint(joint, &record), 0);
    EXPECT_STREQ(record.name, "J");
    EXPECT_EQ(record.type, HM_MOTION_SPHERICAL);
    EXPECT_EQ(record.first_link, link_);
    EXPECT_EQ(record.second_link, other);
    EXPECT_EQ(record.value, 0.5);
    EXPECT_EQ(record.first_origin, record.second_origin);
    double at[3], v[3];
    ASSERT_EQ(HM_SO_ask_point_coordinates(record.first_origin, at), 0);
    EXPECT_EQ(at[2], 7);
    ASSERT_EQ(HM_SO_ask_dirr_doubles(record.second_direction, at, v), 0);
    EXPECT_EQ(v[1], 1);

    tag_t grounded = 0;
    ASSERT_EQ(HM_VD_MOTION_create_joint("G", 4, link_, 0, 0.0, d1, d2, origin, &grounded), 0);
    ASSERT_EQ(HM_MOTION_ask_joint(grounded, &record), 0);
    EXPECT_EQ(record.type, HM_MOTION_REVOLUTE);
    EXPECT_EQ(record.second_direction, 0u) << "a joint to ground gets no second direction";
}

TEST_F(MotionTest, UniversalFramesNeedASecondDirectionOffTheFirstFramesZ) {
    // Code 12: first frame X along d1 = (1, 0, 0), so its Z is the host's
    // choice normal to x: (0, 0, 1) for this host. A second direction along
    // z is parallel to it: refused with -1 and no frame left behind.
    double d1[3] = {1, 0, 0}, along_z[3] = {0, 0, 2}, along_y[3] = {0, 1, 0}, origin[3] = {0, 0, 0};
    const int matrices = host_testing::count_objects(0, HM_matrix_type);
    tag_t joint = 99;
    EXPECT_EQ(HM_VD_MOTION_create_joint("U", 12, link_, 0, 0.0, d1, along_z, origin, &joint), -1);
    EXPECT_EQ(joint, 99u);
    EXPECT_EQ(host_testing::count_objects(0, HM_matrix_type), matrices);
    ASSERT_EQ(HM_VD_MOTION_create_joint("U", 12, link_, 0, 0.0, d1, along_y, origin, &joint), 0);
    // The two frames: X along d1 and X along d2 with Y towards (z x d2) x d2.
    EXPECT_EQ(host_testing::count_objects(0, HM_matrix_type), matrices + 2);
    HM_MOTION_joint_t record;
    ASSERT_EQ(HM_MOTION_ask_joint(joint, &record), 0);
    EXPECT_EQ(record.type, HM_MOTION_UNIVERSAL);
}

TEST_F(MotionTest, MotionInputsOfEachKind) {
    double d[3] = {0, 0, 1}, o[3] = {0, 0, 0};
    tag_t joint = 0;
    ASSERT_EQ(HM_VD_MOTION_create_joint("S", 5, link_, 0, 0.0, d, d, o, &joint), 0);
    HM_MOTION_joint_motion_input_t input;

    ASSERT_EQ(HM_VD_MOTION_create_motion_input_harmonic(joint, 0, 0, 0, 0), 0) << "all zeros are accepted";
    ASSERT_EQ(HM_MOTION_ask_joint_motion_input(joint, &input), 0);
    EXPECT_EQ(input.type, HM_MOTION_INPUT_HARMONIC);

    ASSERT_EQ(HM_VD_MOTION_create_motion_input_constant(joint, 1, 2, 3), 0);
    ASSERT_EQ(HM_MOTION_ask_joint_motion_input(joint, &input), 0);
    EXPECT_EQ(input.type, HM_MOTION_INPUT_CONSTANT);
    EXPECT_EQ(input.values[2], 3);

    const std::string long_text(250, 'x');
    ASSERT_EQ(HM_VD_MOTION_create_motion_input_general(joint, long_text.c_str()), 0);
    ASSERT_EQ(HM_MOTION_ask_joint_motion_input(joint, &input), 0);
    EXPECT_EQ(input.type, HM_MOTION_INPUT_FUNCTION);
    char* text = nullptr;
    ASSERT_EQ(KMC_ask_function_text(input.function, &text), 0);
    EXPECT_EQ(std::string(text), long_text.substr(0, 199)) << "at most 199 characters";
    SM_free(text);

    ASSERT_EQ(HM_VD_MOTION_create_motion_input(joint, 2, nullptr, nullptr, 0), 0);
    ASSERT_EQ(HM_MOTION_ask_joint_motion_input(joint, &input), 0);
    EXPECT_EQ(input.type, HM_MOTION_INPUT_NONE);
}

TEST_F(MotionTest, MotionInputCountIsHeldAgainstWhatTheKindReads) {
    // A count of 0 is "not given": the kind's fixed number of values is read.
    // A count the caller gives must cover what the kind reads; a refused call
    // leaves the input set before (constant 7, 8, 9) on the joint.
    double d[3] = {0, 0, 1}, o[3] = {0, 0, 0}, three[3] = {1, 2, 3}, four[4] = {4, 5, 6, 7};
    tag_t joint = 0;
    ASSERT_EQ(HM_VD_MOTION_create_joint("S", 5, link_, 0, 0.0, d, d, o, &joint), 0);
    struct Case {
        const char* what;
        int kind;
        const char* text;
        double* values;
        int count;
        int status;
        int type;     // what the joint holds afterwards
        double last;  // its last value
    };
    const Case cases[] = {
        {"function without text", 1, nullptr, nullptr, 0, -1, HM_MOTION_INPUT_CONSTANT, 9},
        {"constant without values", 3, "", nullptr, 3, -1, HM_MOTION_INPUT_CONSTANT, 9},
        {"constant without values, count not given", 3, "", nullptr, 0, -1, HM_MOTION_INPUT_CONSTANT, 9},
        {"constant with two values", 3, "", three, 2, -1, HM_MOTION_INPUT_CONSTANT, 9},
        {"constant with a count of -1", 3, "", three, -1, -1, HM_MOTION_INPUT_CONSTANT, 9},
        {"harmonic with three values", 4, "", three, 3, -1, HM_MOTION_INPUT_CONSTANT, 9},
        {"harmonic with one value", 4, "", four, 1, -1, HM_MOTION_INPUT_CONSTANT, 9},
        {"harmonic without values, count not given", 4, "", nullptr, 0, -1, HM_MOTION_INPUT_CONSTANT, 9},
        {"constant, count not given", 3, "", three, 0, 0, HM_MOTION_INPUT_CONSTANT, 3},
        {"constant, count 3", 3, "", three, 3, 0, HM_MOTION_INPUT_CONSTANT, 3},
        {"constant from a longer array", 3, "", four, 4, 0, HM_MOTION_INPUT_CONSTANT, 6},
        {"harmonic, count not given", 4, "", four, 0, 0, HM_MOTION_INPUT_HARMONIC, 7},
        {"harmonic, count 4", 4, "", four, 4, 0, HM_MOTION_INPUT_HARMONIC, 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(HM_VD_MOTION_create_motion_input_constant(joint, 7, 8, 9), 0);
        EXPECT_EQ(HM_VD_MOTION_create_motion_input(joint, c.kind, c.text, c.values, c.count), c.status);
        HM_MOTION_joint_motion_input_t input;
        ASSERT_EQ(HM_MOTION_ask_joint_motion_input(joint, &input), 0);
        EXPECT_EQ(input.type, c.type);
        EXPECT_EQ(input.values[c.type == HM_MOTION_INPUT_HARMONIC ? 3 : 2], c.last);
        if (c.status == 0) EXPECT_EQ(input.values[0], c.values[0]) << "the values in order";
    }
}

TEST_F(MotionTest, SpringDamperAndForceFieldsInOrder) {
    double p1[3] = {1, 2, 3}, p2[3] = {4, 5, 6};
    unsigned int pair[2] = {link_, 0};
    tag_t spring = 0, damper = 0, force = 0;
    ASSERT_EQ(HM_VD_MOTION_create_spring("SPR", 1, 2, 30.0, 40.0, p1, p2, 3, pair, &spring), 0);
    KMC_spring_t s;
    ASSERT_EQ(KMC_ask_spring(spring, &s), 0);
    EXPECT_EQ(s.kind, 1);
    EXPECT_EQ(s.stiffness, 30.0);
    EXPECT_EQ(s.preload, 40.0);
    EXPECT_EQ(s.first_point[2], 3);
    EXPECT_EQ(s.second_point[0], 4);
    EXPECT_EQ(s.first_option, 2);
    EXPECT_EQ(s.second_option, 3);
    EXPECT_EQ(s.objects[0], link_);
    char name[16];
    HM_OBJ_ask_name(spring, name, sizeof name);
    EXPECT_STREQ(name, "SPR");

    ASSERT_EQ(HM_VD_MOTION_create_damper("DMP", 5, 6, 0.7, p1, p2, 8, pair, &damper), 0);
    KMC_damper_t d;
    ASSERT_EQ(KMC_ask_damper(damper, &d), 0);
    EXPECT_EQ(d.kind, 5);
    EXPECT_EQ(d.coefficient, 0.7);
    EXPECT_EQ(d.first_option, 6);
    EXPECT_EQ(d.second_option, 8);

    ASSERT_EQ(HM_VD_MOTION_create_external_force_mag(link_, 0, p1, p2, 1500.0, &force), 0);
    KMC_force_t f;
    ASSERT_EQ(KMC_ask_force(force, &f), 0);
    char* text = nullptr;
    ASSERT_EQ(KMC_ask_function_text(f.magnitude, &text), 0);
    EXPECT_STREQ(text, "1500.000000");
    SM_free(text);
    EXPECT_EQ(f.direction[1], 5);
    EXPECT_EQ(f.objects[0], link_);
}

TEST_F(MotionTest, ArticulationDriversAreTheJointsOfThatKind) {
    int count = 5;
    tag_t* joints = reinterpret_cast<tag_t*>(this);
    ASSERT_EQ(HM_VD_MOTION_ask_articulation_drive_joints(&count, &joints), 0);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(joints, nullptr);
    double d[3] = {0, 0, 1}, o[3] = {0, 0, 0};
    tag_t a = 0, b = 0;
    ASSERT_EQ(HM_VD_MOTION_create_joint("A", 5, link_, 0, 0.0, d, d, o, &a), 0);
    ASSERT_EQ(HM_VD_MOTION_create_joint("B", 5, link_, 0, 0.0, d, d, o, &b), 0);
    KMC_motion_driver_t driver;
    KMC_init_motion_driver_data(&driver);
    driver.kind = KMC_DRIVER_ARTICULATION;
    ASSERT_EQ(KMC_set_motion_driver(b, &driver), 0);
    driver.kind = 2;   // another kind of driver
    ASSERT_EQ(KMC_set_motion_driver(a, &driver), 0);
    ASSERT_EQ(HM_VD_MOTION_ask_articulation_drive_joints(&count, &joints), 0);
    ASSERT_EQ(count, 1);
    EXPECT_EQ(joints[0], b);
    SM_free(joints);
}

TEST_F(MotionTest, NullArgumentsAreRefusedAndSessionsClosed) {
    double v[3] = {0, 0, 1};
    EXPECT_EQ(HM_VD_MOTION_create_mech(nullptr, nullptr), -1);
    EXPECT_EQ(HM_VD_MOTION_create_joint(nullptr, 13, link_, 0, 0, v, v, v, nullptr), -1);
    EXPECT_EQ(HM_VD_MOTION_create_link_with_single_body("x", line_, nullptr), -1);
    EXPECT_EQ(HM_VD_MOTION_info_link_mass_prop(link_, nullptr), -1);
    EXPECT_EQ(HM_VD_MOTION_ask_articulation_drive_joints(nullptr, nullptr), -1);
    tag_t link = 0;
    EXPECT_EQ(HM_VD_MOTION_create_link_with_single_body("x", line_, &link), HM_ERR_WRONG_TYPE);
    EXPECT_EQ(host_testing::session_depth(), 0);
}

}  // namespace
