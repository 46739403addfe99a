// The short-long-arm template: its name table, the prepared record, the
// structure and the one-sided mechanism it builds with and without
// stabilizer and steering (once, twice, and deleted), its refusals, and the
// mechanism moved by its shock driver.
#include "sla_truck_corner.h"
#include "template_fixture.h"
#include "test_helpers.h"

#include "hm_vd_motion.h"
#include "hm_vd_sla_susp.h"
#include "omvra.h"
#include "tolvric.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace {

sla_suspension_s truck_corner(bool stabilizer, bool steering) {
    sla_suspension_s s;
    std::memset(&s, 0, sizeof s);
    HM_VD_SLA_SUSP_initial(&s);
    for (const TruckCorner& c : kTruckCorner) set(s.points[c.point], c.at);
    s.has_stabilizer = stabilizer;
    s.no_steering = !steering;
    return s;
}

class SlaTemplateTest : public TemplateTest {
protected:
    int count(int type) { return host_testing::count_objects(0, type); }
    void build(sla_suspension_s& s) {
        ASSERT_EQ(HM_VD_SLA_SUSP_build_structure(&s), 0);
        ASSERT_EQ(HM_VD_SLA_SUSP_build_motion(&s), 0);
    }
    HM_MOTION_joint_t joint(tag_t t) {
        HM_MOTION_joint_t j;
        EXPECT_EQ(HM_MOTION_ask_joint(t, &j), 0);
        return j;
    }
    // The unit direction and the origin of a joint's first frame.
    void frame(tag_t joint_tag, P3& direction, P3& origin) {
        const HM_MOTION_joint_t j = joint(joint_tag);
        double at[3], v[3], o[3];
        ASSERT_EQ(HM_SO_ask_dirr_doubles(j.first_direction, at, v), 0);
        ASSERT_EQ(HM_SO_ask_point_coordinates(j.first_origin, o), 0);
        direction = {v[0], v[1], v[2]};
        origin = {o[0], o[1], o[2]};
    }
    int drivers() {
        int n = 0;
        tag_t* joints = nullptr;
        EXPECT_EQ(HM_VD_MOTION_ask_articulation_drive_joints(&n, &joints), 0);
        SM_free(joints);
        return n;
    }
};

void expect_point(const double* got, const P3& want, double tolerance = 1e-9) {
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(got[i], want[i], tolerance) << "coordinate " << i;
}

TEST(SlaNames, TableAsTheHostReadsItTyposAndRepeatsKept) {
    EXPECT_EQ(HM_VD_SLA_SUSP_ask_num_of_names(), 199);
    int filled = 0;
    size_t longest = 0;
    for (int n = 0; n < 199; ++n) {
        char name[SLA_SUSP_NAME_SIZE] = "junk";
        HM_VD_SLA_SUSP_ask_nth_name(n, name);
        if (*name) ++filled;
        longest = std::max(longest, std::strlen(name));
    }
    EXPECT_EQ(filled, 133);
    EXPECT_EQ(longest, 37u);
    struct Slot {
        int n;
        const char* name;
    };
    const Slot slots[] = {
        {0, "SLA_SUSP_BALL_JOINT_LOWER"}, {12, "SLA_SUSP_INNER_DRIVE_JOINT"}, {15, "SLA_SUSP_STABILIZER_BUSHING"},
        {16, ""}, {20, "SLA_SUSP_JAC_POINT"}, {30, "SLA_SUSP_JAC_LOWER"}, {46, "SLA_SUSP_STEER"},
        {48, "SLA_SUSP_STAB"}, {60, "SLA_SUSP_BALL_JOINT_LOWER_MIRROR"}, {72, "SLA_SUSP_OPPOSITE_INNER_JOINT"},
        {75, "SLA_SUSP_STABILIZER_BUSHING_MIRROR"}, {80, "SLA_SUSP_JAC_POINT_MIRROR"},
        {105, "SLA_SUSP_TRANS_MIRROR"}, {106, ""}, {107, "SLA_SUSP_STABLINK_MIRROR"}, {108, "SLA_SUSP_STAB"},
        {120, "LOW_JAC"}, {121, "UP_JAC"}, {132, "STAB"}, {140, "LOW_JAC_M"}, {151, "STABLINK"}, {152, "STAB"},
        {160, "J_LOW_JAC"}, {178, "J_STAB_BUSHING"}, {179, ""}, {183, "J_OUTER_DRIVEJ_BALL_UPPER_M"},
        {189, "J_INNER_DRIVE"}, {193, "J_TRANS_M"}, {194, ""}, {197, "J_STAB_BUSHING"}, {198, ""},
        {199, ""}, {-1, ""}, {1 << 30, ""}};
    for (const Slot& s : slots) {
        SCOPED_TRACE(s.n);
        char name[SLA_SUSP_NAME_SIZE] = "junk";
        HM_VD_SLA_SUSP_ask_nth_name(s.n, name);
        EXPECT_STREQ(name, s.name);
    }
    HM_VD_SLA_SUSP_ask_nth_name(0, nullptr);   // no buffer: nothing written, no crash
}

TEST_F(SlaTemplateTest, InitialMirrorsEveryPointThroughTheVehicleFrame) {
    // A vehicle frame at (0, 10, 0) with its y axis along y: the plane y = 10.
    host_testing::set_vehicle_csys({0, 10, 0}, {1, 0, 0, 0, 1, 0, 0, 0, 1});
    sla_suspension_s s;
    std::memset(&s, 0x7f, sizeof s);
    ASSERT_EQ(HM_VD_SLA_SUSP_initial(&s), 0);
    expect_point(s.plane_origin, {0, 10, 0});
    expect_point(s.plane_normal, {0, 1, 0});
    for (int point = 0; point < SLA_SUSP_POINT_COUNT; ++point) {
        SCOPED_TRACE(point);
        // The 16 hard points are zeroed, their 16 mirrors are the origin mirrored.
        const bool is_mirror = point < SLA_INNER_DRIVE_JOINT ? point % 2 == 1
                                                             : point == SLA_UPPER_STABILIZER_LINK_MIRROR ||
                                                                   point == SLA_LOWER_STABILIZER_LINK_MIRROR ||
                                                                   point == SLA_OPPOSITE_INNER_JOINT ||
                                                                   point == SLA_STABILIZER_BUSHING_MIRROR;
        expect_point(s.points[point], {0, is_mirror ? 20.0 : 0.0, 0});
    }
    EXPECT_FALSE(s.has_stabilizer);
    EXPECT_FALSE(s.no_steering);
    EXPECT_TRUE(s.mirror_inner_joint);
    EXPECT_TRUE(s.mirror_stabilizer_bushing);
    EXPECT_EQ(s.stab_components, nullptr);
    EXPECT_EQ(s.stab_component_count, 0);
    EXPECT_EQ(s.mechanism, 0u);
    for (tag_t t : s.links) EXPECT_EQ(t, 0u);
    for (tag_t t : s.joints) EXPECT_EQ(t, 0u);
    EXPECT_EQ(host_testing::count_objects(part_, 0), 0) << "initial builds nothing";
}

TEST_F(SlaTemplateTest, AFreshRecordBuildsEveryLineButHasNoMechanism) {
    // Every hard point of a fresh record is at the origin: only the jack
    // lines (300 long) have a length, the others are of length 0, and the
    // motion stops at the first joint that would take its axis from one.
    sla_suspension_s s;
    ASSERT_EQ(HM_VD_SLA_SUSP_initial(&s), 0);
    ASSERT_EQ(HM_VD_SLA_SUSP_build_structure(&s), 0);
    EXPECT_EQ(count(HM_point_type), 28) << "13 pairs and the two jack points";
    EXPECT_EQ(count(HM_line_type), 33);
    expect_point(s.jack_point, {0, 0, -300});
    const HM_CURVE_line_t lower = line("SLA_SUSP_JAC_LOWER_MIRROR");
    expect_point(lower.start_point, {0, 0, -300});
    expect_point(lower.end_point, {0, 0, -150});
    EXPECT_EQ(HM_VD_SLA_SUSP_build_motion(&s), -1);
    EXPECT_LT(count(HM_motion_joint_type), SLA_SUSP_JOINT_COUNT);
    EXPECT_EQ(drivers(), 0);
}

TEST_F(SlaTemplateTest, StructureOfTheTruckCornerWithSteering) {
    sla_suspension_s s = truck_corner(false, true);
    ASSERT_EQ(HM_VD_SLA_SUSP_build_structure(&s), 0);
    EXPECT_EQ(count(HM_point_type), 28);
    EXPECT_EQ(count(HM_line_type), 33) << "16 lines with their mirrors and the steering line";
    // The jack point 300 below the wheel centreline, and its mirror.
    expect_point(s.jack_point, {0, 850, 90});
    expect_point(s.jack_point_mirror, {0, -850, 90});
    double at[3];
    ASSERT_EQ(HM_CURVE_ask_point_data(named("SLA_SUSP_JAC_POINT_MIRROR", HM_point_type), at), 0);
    expect_point(at, {0, -850, 90});
    ASSERT_EQ(HM_CURVE_ask_point_data(named("SLA_SUSP_OPPOSITE_INNER_JOINT", HM_point_type), at), 0);
    expect_point(at, {0, -300, 400});
    EXPECT_EQ(named("SLA_SUSP_UPPER_STABILIZER_LINK"), 0u) << "no stabilizer points without the stabilizer";
    struct Expected {
        const char* name;
        P3 from, to;
    };
    const Expected lines[] = {
        {"SLA_SUSP_JAC_LOWER", {0, 850, 90}, {0, 850, 240}},
        {"SLA_SUSP_JAC_UPPER_MIRROR", {0, -850, 240}, {0, -850, 390}},
        // A quarter of the way up the kingpin, (5, 740, 260) + (-15, -40, 310) / 4.
        {"SLA_SUSP_KNUCK_3", {1.25, 730, 337.5}, {140, 730, 330}},
        {"SLA_SUSP_KNUCK_3_MIRROR", {1.25, -730, 337.5}, {140, -730, 330}},
        {"SLA_SUSP_UPP_CTRL_2_MIRROR", {-10, -700, 570}, {-120, -450, 600}},
        {"SLA_SUSP_UP_SHK", {50, 600, 720}, {45, 620, 510}},
        {"SLA_SUSP_LOW_SHK_MIRROR", {45, -620, 510}, {40, -640, 300}},
        {"SLA_SUSP_OUT_MIRROR", {0, -300, 400}, {0, -760, 390}},
        {"SLA_SUSP_TRANS", {0, 300, 400}, {0, 0, 400}},
        {"SLA_SUSP_TRANS_MIRROR", {0, 0, 400}, {0, -300, 400}},
        {"SLA_SUSP_STEER", {150, 340, 340}, {150, -340, 340}},
    };
    for (const Expected& e : lines) {
        SCOPED_TRACE(e.name);
        const HM_CURVE_line_t l = line(e.name);
        expect_point(l.start_point, e.from);
        expect_point(l.end_point, e.to);
    }
    EXPECT_EQ(host_testing::session_depth(), 0);
}

TEST_F(SlaTemplateTest, MirrorFlagsDecideWhetherTheCallersMirrorsAreKept) {
    for (bool flag : {false, true}) {
        SCOPED_TRACE(flag);
        sla_suspension_s s = truck_corner(true, true);
        s.mirror_inner_joint = flag;
        s.mirror_stabilizer_bushing = flag;
        set(s.points[SLA_OPPOSITE_INNER_JOINT], {1, -290, 2});
        set(s.points[SLA_STABILIZER_BUSHING_MIRROR], {-370, -410, 3});
        set(s.points[SLA_WHEEL_CENTERLINE_MIRROR], {4, 5, 6});
        ASSERT_EQ(HM_VD_SLA_SUSP_build_structure(&s), 0);
        expect_point(s.points[SLA_OPPOSITE_INNER_JOINT], flag ? P3{0, -300, 400} : P3{1, -290, 2});
        expect_point(s.points[SLA_STABILIZER_BUSHING_MIRROR], flag ? P3{-380, -420, 460} : P3{-370, -410, 3});
        expect_point(s.points[SLA_WHEEL_CENTERLINE_MIRROR], {0, -850, 390});   // always mirrored
        double at[3];
        ASSERT_EQ(HM_CURVE_ask_point_data(named("SLA_SUSP_STABILIZER_BUSHING_MIRROR", HM_point_type), at), 0);
        expect_point(at, flag ? P3{-380, -420, 460} : P3{-370, -410, 3});
    }
}

TEST_F(SlaTemplateTest, MotionWithSteeringHasElevenLinksSixteenJointsAndTwoDrivers) {
    sla_suspension_s s = truck_corner(false, true);
    build(s);
    EXPECT_EQ(s.mechanism, host_testing::current_mechanism());
    EXPECT_EQ(count(HM_motion_link_type), 11);
    EXPECT_EQ(count(HM_motion_joint_type), 16);
    for (int link = SLA_LINK_UP_JAC; link <= SLA_LINK_STEER; ++link) EXPECT_NE(s.links[link], 0u) << link;
    for (int j = SLA_J_LOW_JAC; j <= SLA_J_STEER; ++j) EXPECT_NE(s.joints[j], 0u) << j;
    EXPECT_EQ(s.links[SLA_LINK_STAB], 0u);
    EXPECT_EQ(s.joints[SLA_J_STAB_BUSHING], 0u);
    // Joint types, and the links each joins (0: ground).
    struct Expected {
        int joint, type, first, second;
    };
    const Expected joints[] = {
        {SLA_J_LOW_JAC, HM_MOTION_PLANAR, SLA_LINK_LOW_JAC, -1},
        {SLA_J_JAC_CENTER, HM_MOTION_CYLINDRICAL, SLA_LINK_UP_JAC, SLA_LINK_LOW_JAC},
        {SLA_J_WHEEL_CENTER, HM_MOTION_UNIVERSAL, SLA_LINK_KNUCK, SLA_LINK_UP_JAC},
        {SLA_J_OUTER_DRIVE, HM_MOTION_UNIVERSAL, SLA_LINK_OUT, SLA_LINK_KNUCK},
        {SLA_J_BALL_UPPER, HM_MOTION_SPHERICAL, SLA_LINK_KNUCK, SLA_LINK_UPP_CNTRL},
        {SLA_J_BUSHING_UPPER, HM_MOTION_REVOLUTE, SLA_LINK_UPP_CNTRL, -1},
        {SLA_J_BUSHING_LOWER, HM_MOTION_REVOLUTE, SLA_LINK_LWR_CNTRL, -1},
        {SLA_J_TIREROD_INNER, HM_MOTION_UNIVERSAL, SLA_LINK_OUT_STR, SLA_LINK_STEER},
        {SLA_J_INNER_DRIVE, HM_MOTION_SPHERICAL, SLA_LINK_OUT, SLA_LINK_TRANS},
        {SLA_J_UP_SHK, HM_MOTION_UNIVERSAL, SLA_LINK_UP_SHK, -1},
        {SLA_J_SHK_CENTER, HM_MOTION_CYLINDRICAL, SLA_LINK_LOW_SHK, SLA_LINK_UP_SHK},
        {SLA_J_TRANS, HM_MOTION_CYLINDRICAL, SLA_LINK_TRANS, -1},
        {SLA_J_STEER, HM_MOTION_CYLINDRICAL, SLA_LINK_STEER, -1},
    };
    for (const Expected& e : joints) {
        SCOPED_TRACE(e.joint);
        const HM_MOTION_joint_t j = joint(s.joints[e.joint]);
        EXPECT_EQ(j.type, e.type);
        EXPECT_EQ(j.first_link, s.links[e.first]);
        EXPECT_EQ(j.second_link, e.second < 0 ? 0u : s.links[e.second]);
    }
    char name[HM_MOTION_NAME_SIZE];
    HM_OBJ_ask_name(s.joints[SLA_J_OUTER_DRIVE], name, sizeof name);
    EXPECT_STREQ(name, "J_OUTER_DRIVE");
    HM_OBJ_ask_name(s.links[SLA_LINK_LOW_JAC], name, sizeof name);
    EXPECT_STREQ(name, "LOW_JAC");
    // Frames: the lower bushing axis runs rear to front, (-400, 0, 10) / 400.125,
    // about the bushings' middle; the shock axis lower to upper, (10, -40, 420) / 422.02.
    P3 v, o;
    frame(s.joints[SLA_J_BUSHING_LOWER], v, o);
    const double bushing = std::hypot(400.0, 10.0);
    expect_point(v.data(), {-400 / bushing, 0, 10 / bushing}, 1e-12);
    expect_point(o.data(), {20, 380, 295});
    frame(s.joints[SLA_J_SHK_CENTER], v, o);
    const double shock = std::sqrt(10.0 * 10 + 40 * 40 + 420 * 420);
    expect_point(v.data(), {10 / shock, -40 / shock, 420 / shock}, 1e-12);
    expect_point(o.data(), {45, 620, 510});
    frame(s.joints[SLA_J_STEER], v, o);
    expect_point(v.data(), {0, -1, 0}, 1e-12);
    expect_point(o.data(), {150, 0, 340});
    // The knuckle carries its three lines; the shock its harmonic input of zeros.
    KMC_link_t knuckle;
    ASSERT_EQ(KMC_init_link(&knuckle), 0);
    ASSERT_EQ(KMC_ask_link(s.links[SLA_LINK_KNUCK], &knuckle), 0);
    EXPECT_EQ(knuckle.num_geometries, 3);
    TEXT_free(&knuckle.name);
    HM_MOTION_joint_motion_input_t input;
    ASSERT_EQ(HM_MOTION_ask_joint_motion_input(s.joints[SLA_J_SHK_CENTER], &input), 0);
    EXPECT_EQ(input.type, HM_MOTION_INPUT_HARMONIC);
    for (double value : input.values) EXPECT_EQ(value, 0.0);
    for (int j : {SLA_J_SHK_CENTER, SLA_J_STEER}) {
        KMC_motion_driver_t driver;
        ASSERT_EQ(KMC_get_motion_driver(s.joints[j], &driver), 0);
        EXPECT_EQ(driver.kind, KMC_DRIVER_ARTICULATION) << j;
    }
    EXPECT_EQ(drivers(), 2);
    EXPECT_EQ(host_testing::session_depth(), 0);
}

TEST_F(SlaTemplateTest, WithoutSteeringTheTieRodIsHeldByGroundAndOnlyTheShockDrives) {
    sla_suspension_s s = truck_corner(false, false);
    s.links[SLA_LINK_STEER] = 77;   // left from an earlier build: cleared
    s.joints[SLA_J_STEER] = 78;
    build(s);
    EXPECT_EQ(named("SLA_SUSP_STEER"), 0u);
    EXPECT_EQ(named("STEER"), 0u);
    EXPECT_EQ(named("J_STEER"), 0u);
    EXPECT_EQ(s.links[SLA_LINK_STEER], 0u);
    EXPECT_EQ(s.joints[SLA_J_STEER], 0u);
    EXPECT_EQ(count(HM_line_type), 32);
    EXPECT_EQ(count(HM_motion_link_type), 10);
    EXPECT_EQ(count(HM_motion_joint_type), 15);
    const HM_MOTION_joint_t inner = joint(s.joints[SLA_J_TIREROD_INNER]);
    EXPECT_EQ(inner.type, HM_MOTION_UNIVERSAL);
    EXPECT_EQ(inner.first_link, s.links[SLA_LINK_OUT_STR]);
    EXPECT_EQ(inner.second_link, 0u);
    EXPECT_EQ(drivers(), 1);
}

TEST_F(SlaTemplateTest, TheStabilizerBarKeepsThisSidesLine) {
    sla_suspension_s s = truck_corner(true, true);
    build(s);
    EXPECT_EQ(count(HM_point_type), 34);
    EXPECT_EQ(count(HM_line_type), 36) << "the bar's mirrored line is not built";
    EXPECT_EQ(count(HM_motion_link_type), 13);
    EXPECT_EQ(count(HM_motion_joint_type), 19);
    for (tag_t t : s.links) EXPECT_NE(t, 0u);
    for (tag_t t : s.joints) EXPECT_NE(t, 0u);
    // One bar line, on this side: upper stabilizer link to stabilizer bushing.
    EXPECT_EQ(count_named("SLA_SUSP_STAB"), 1);
    const HM_CURVE_line_t bar = line("SLA_SUSP_STAB");
    expect_point(bar.start_point, {-140, 610, 470});
    expect_point(bar.end_point, {-380, 420, 460});
    const HM_CURVE_line_t link_m = line("SLA_SUSP_STABLINK_MIRROR");
    expect_point(link_m.start_point, {-120, -620, 290});
    expect_point(link_m.end_point, {-140, -610, 470});
    // The bar turns about its own axis, bushing mirror to bushing, at the bushing.
    P3 v, o;
    frame(s.joints[SLA_J_STAB_BUSHING], v, o);
    expect_point(v.data(), {0, 1, 0}, 1e-12);
    expect_point(o.data(), {-380, 420, 460});
    const HM_MOTION_joint_t lower = joint(s.joints[SLA_J_LOWER_STAB]);
    EXPECT_EQ(lower.type, HM_MOTION_UNIVERSAL);
    EXPECT_EQ(lower.first_link, s.links[SLA_LINK_STABLINK]);
    EXPECT_EQ(lower.second_link, s.links[SLA_LINK_LWR_CNTRL]);
}

TEST_F(SlaTemplateTest, TheBarLinkTakesTheFirstOccurrenceOfEachComponentTheArrayStaysTheCallers) {
    // The bar half as a box in its own part, placed once in the work part;
    // the second component has no occurrence and is passed over.
    const tag_t bar_part = host_testing::make_part("sla_bar");
    const double corner[3] = {-400, 0, 450}, size[3] = {20, 420, 20};
    const tag_t body = host_testing::make_box(corner, size);
    const tag_t unplaced = host_testing::make_line({0, 0, 0}, {0, 100, 0});
    ASSERT_EQ(HM_ASSEM_set_work_part(part_), 0);
    const tag_t occurrence = host_testing::add_occurrence(host_testing::add_component(bar_part, "BAR"), body);
    ASSERT_NE(occurrence, 0u);
    sla_suspension_s s = truck_corner(true, true);
    tag_t components[2] = {body, unplaced};
    s.stab_components = components;
    s.stab_component_count = 2;
    build(s);
    KMC_link_t bar;
    ASSERT_EQ(KMC_init_link(&bar), 0);
    ASSERT_EQ(KMC_ask_link(s.links[SLA_LINK_STAB], &bar), 0);
    EXPECT_EQ(bar.num_geometries, 2) << "the bar line and the one placed component";
    TEXT_free(&bar.name);
    EXPECT_EQ(s.stab_components, components);
    EXPECT_EQ(s.stab_component_count, 2);
    EXPECT_EQ(components[0], body);
    EXPECT_EQ(count(HM_motion_joint_type), 19);
}

TEST_F(SlaTemplateTest, BuiltTwiceAndDeletedTwiceLeavesNothingDoubled) {
    sla_suspension_s s = truck_corner(true, true);
    build(s);
    build(s);
    EXPECT_EQ(count(HM_point_type), 34);
    EXPECT_EQ(count(HM_line_type), 36);
    EXPECT_EQ(count(HM_motion_link_type), 13);
    EXPECT_EQ(count(HM_motion_joint_type), 19) << "a rebuild replaces the template's joints";
    EXPECT_EQ(count_named("J_SHK_CENTER"), 1);
    EXPECT_EQ(drivers(), 2);
    // A name in two slots of the table loses its first two objects: a
    // second "STAB" goes, a second "KNUCK" stays.
    const tag_t extra_stab = host_testing::make_line({0, 0, 0}, {1, 0, 0});
    const tag_t extra_knuck = host_testing::make_line({0, 0, 0}, {0, 1, 0});
    ASSERT_EQ(HM_OBJ_set_name(extra_stab, "STAB"), 0);
    ASSERT_EQ(HM_OBJ_set_name(extra_knuck, "KNUCK"), 0);
    ASSERT_EQ(HM_VD_SLA_SUSP_delete_structure(&s), 0);
    EXPECT_EQ(count_named("STAB"), 0);
    EXPECT_EQ(named("KNUCK"), extra_knuck);
    ASSERT_EQ(HM_OBJ_delete_object(extra_knuck), 0);
    EXPECT_EQ(count(HM_point_type), 0);
    EXPECT_EQ(count(HM_line_type), 0);
    EXPECT_EQ(count(HM_motion_link_type), 0);
    EXPECT_EQ(count(HM_motion_joint_type), 0);
    EXPECT_NE(host_testing::current_mechanism(), 0u) << "the mechanism is not in the name table: it stays";
    EXPECT_NE(s.links[SLA_LINK_KNUCK], 0u) << "the record's identifiers are kept";
    ASSERT_EQ(HM_VD_SLA_SUSP_delete_structure(&s), 0);
    build(s);
    EXPECT_EQ(count(HM_motion_joint_type), 19);
    EXPECT_EQ(host_testing::session_depth(), 0);
}

TEST_F(SlaTemplateTest, AMissingLineStopsTheMotionBeforeAnyJoint) {
    sla_suspension_s s = truck_corner(false, true);
    ASSERT_EQ(HM_VD_SLA_SUSP_build_structure(&s), 0);
    ASSERT_EQ(HM_OBJ_delete_object(named("SLA_SUSP_OUT_STR")), 0);
    EXPECT_EQ(HM_VD_SLA_SUSP_build_motion(&s), -1);
    EXPECT_EQ(count(HM_motion_link_type), 8) << "the links before the tie rod";
    EXPECT_EQ(count(HM_motion_joint_type), 0);
    EXPECT_EQ(drivers(), 0);
}

TEST_F(SlaTemplateTest, ARefusedJointEndsTheChainWithoutDrivers) {
    // The stabilizer bushing kept on its own mirror: the bar's axis has no
    // direction, its joint (the last) is refused, and no driver is set.
    sla_suspension_s s = truck_corner(true, true);
    s.mirror_stabilizer_bushing = false;
    set(s.points[SLA_STABILIZER_BUSHING_MIRROR], design(SLA_STABILIZER_BUSHING));
    ASSERT_EQ(HM_VD_SLA_SUSP_build_structure(&s), 0);
    EXPECT_EQ(HM_VD_SLA_SUSP_build_motion(&s), -1);
    EXPECT_EQ(count(HM_motion_joint_type), 18);
    EXPECT_EQ(s.joints[SLA_J_STAB_BUSHING], 0u);
    EXPECT_EQ(drivers(), 0);
}

TEST_F(SlaTemplateTest, BadInputBuildsNothing) {
    EXPECT_EQ(HM_VD_SLA_SUSP_initial(nullptr), -1);
    EXPECT_EQ(HM_VD_SLA_SUSP_build_structure(nullptr), -1);
    EXPECT_EQ(HM_VD_SLA_SUSP_build_motion(nullptr), -1);
    EXPECT_EQ(HM_VD_SLA_SUSP_delete_structure(nullptr), -1);
    // A component count without its array.
    sla_suspension_s s = truck_corner(true, true);
    ASSERT_EQ(HM_VD_SLA_SUSP_build_structure(&s), 0);
    const int structure = host_testing::count_objects(part_, 0);
    s.stab_component_count = 2;
    EXPECT_EQ(HM_VD_SLA_SUSP_build_motion(&s), -1);
    s.stab_component_count = -1;
    tag_t none = 0;
    s.stab_components = &none;
    EXPECT_EQ(HM_VD_SLA_SUSP_build_motion(&s), -1);
    EXPECT_EQ(count(HM_motion_link_type), 0);
    EXPECT_EQ(host_testing::current_mechanism(), 0u);
    // No work part.
    s = truck_corner(false, true);
    host_testing::clear_work_part();
    EXPECT_EQ(HM_VD_SLA_SUSP_build_structure(&s), -1);
    EXPECT_NE(HM_VD_SLA_SUSP_build_motion(&s), 0);
    EXPECT_EQ(host_testing::count_objects(part_, 0), structure) << "only the structure built before";
    EXPECT_EQ(host_testing::session_depth(), 0);
}

// The index of a link in an articulation's answer.
size_t link_index(const host_testing::Articulation& a, tag_t link) {
    for (size_t i = 0; i < a.links.size(); ++i)
        if (a.links[i] == link) return i;
    ADD_FAILURE() << "link not in the mechanism";
    return 0;
}

double distance(const P3& a, const P3& b) { return std::hypot(a[0] - b[0], a[1] - b[1], a[2] - b[2]); }

TEST_F(SlaTemplateTest, TheShockDrivesTheWheelThroughItsTravelAndTheRackSteersIt) {
    sla_suspension_s s = truck_corner(true, true);
    build(s);
    // Shock shift from -60 (rebound) to +60 (jounce) with the rack held,
    // then the rack moved 20 towards the other side, then back to design.
    std::vector<std::vector<double>> values;
    for (int i = 0; i <= 24; ++i) values.push_back({-60.0 + 5.0 * i, 0.0});
    values.push_back({0.0, 20.0});
    values.push_back({0.0, 0.0});
    host_testing::Articulation result;
    ASSERT_EQ(host_testing::articulate({s.joints[SLA_J_SHK_CENTER], s.joints[SLA_J_STEER]}, values, &result), 0);
    EXPECT_LT(result.max_residual, 1e-8);
    const size_t knuckle = link_index(result, s.links[SLA_LINK_KNUCK]);
    const size_t lower_arm = link_index(result, s.links[SLA_LINK_LWR_CNTRL]);
    const P3 wheel = design(SLA_WHEEL_CENTERLINE), shock_lower = design(SLA_LOWER_SHOCK_CENTER),
             shock_upper = design(SLA_UPPER_SHOCK_CENTER);
    const double shock_length = distance(shock_lower, shock_upper);
    double previous = -1e9;
    for (size_t step = 0; step <= 24; ++step) {
        SCOPED_TRACE(step);
        const double shift = values[step][0];
        // The shock's eye on the lower arm sits its design length less the shift from the upper eye.
        const P3 eye = host_testing::transform_point(result.steps[step][lower_arm], shock_lower);
        EXPECT_NEAR(distance(eye, shock_upper), shock_length - shift, 1e-6);
        const P3 w = host_testing::transform_point(result.steps[step][knuckle], wheel);
        EXPECT_GT(w[2], previous) << "jounce raises the wheel";
        previous = w[2];
    }
    EXPECT_GT(previous - 390, 60) << "the wheel travels further than the shock (the arm's lever)";
    // The rack moved towards the right pulls the tie rod, which is behind
    // the axle, inwards: the left wheel toes out, asin(-a_x) < 0 for the
    // outboard spin axis a.
    const P3 spin = host_testing::transform_vector(result.steps[25][knuckle], {0, 1, 0});
    const double toe = std::asin(-spin[0]) * 180.0 / M_PI;
    EXPECT_LT(toe, -3.0);
    EXPECT_GT(toe, -15.0);
    // Back at design the knuckle, the arms, the shock and the drive shaft
    // are where they were. (The rack may spin about its axis with the tie
    // rod, and the bar slide along its bushing axis with its link: motions
    // the two drivers leave free, so those links are not probed.)
    for (int link : {SLA_LINK_KNUCK, SLA_LINK_UPP_CNTRL, SLA_LINK_LWR_CNTRL, SLA_LINK_UP_SHK, SLA_LINK_LOW_SHK,
                     SLA_LINK_OUT}) {
        SCOPED_TRACE(link);
        for (const P3& probe : {wheel, shock_lower, P3{0, 0, 0}}) {
            const P3 q = host_testing::transform_point(result.steps.back()[link_index(result, s.links[link])], probe);
            for (int k = 0; k < 3; ++k) EXPECT_NEAR(q[k], probe[k], 1e-3);
        }
    }
}

class SlaInchTest : public InchHostTest {};

TEST_F(SlaInchTest, TheJackPointIs300PartUnitsBelowInAnInchPart) {
    sla_suspension_s s;
    ASSERT_EQ(HM_VD_SLA_SUSP_initial(&s), 0);
    set(s.points[SLA_WHEEL_CENTERLINE], {0, 33.5, 15.35});
    ASSERT_EQ(HM_VD_SLA_SUSP_build_structure(&s), 0);
    expect_point(s.jack_point, {0, 33.5, -284.65});
    expect_point(s.jack_point_mirror, {0, -33.5, -284.65});
}

}  // namespace
