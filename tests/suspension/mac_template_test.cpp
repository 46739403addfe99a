// The MacPherson strut template: its name table, the foot of the
// perpendicular that places the steering arm, the prepared record, the
// structure and the mechanism it builds with and without the stabilizer
// bar (once, twice, and deleted), and the refusals that build nothing.
#include "template_fixture.h"
#include "test_helpers.h"

#include "hm_vd_mac_susp.h"
#include "hm_vd_motion.h"
#include "mac_template.h"
#include "omvra.h"
#include "quillon.h"
#include "tolvric.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace {

P3 sub(const P3& a, const P3& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
double dot(const P3& a, const P3& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
double norm(const P3& a) { return std::sqrt(dot(a, a)); }
P3 cross(const P3& a, const P3& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

// The left front corner of a mid-size car on MacPherson struts, mm, x
// rearward from the front axle, y to the left, z up from the ground: track
// 1550 (wheel centre 775 out), loaded tire radius 310, strut top mount 680
// above the ground leaning in and back (kingpin inclination and caster),
// the lower arm's bushings ahead of and behind the ball joint, the steering
// arm behind the axle, a drop link from the arm up to the bar.
struct HardPoint {
    mac_susp_point point;
    P3 at;
};
const HardPoint kFrontCorner[] = {
    {MAC_WHEEL_CENTERLINE, {0, 775, 310}},
    {MAC_STRUT_CENTER, {25, 590, 680}},
    {MAC_BOTTOM_OF_STRUT, {5, 650, 420}},
    {MAC_BALL_JOINT, {0, 700, 160}},
    {MAC_OUTER_DRIVE_JOINT, {0, 720, 310}},
    {MAC_INNER_DRIVE_JOINT, {20, 260, 300}},
    {MAC_TIREROD_OUTER, {130, 690, 250}},
    {MAC_TIREROD_INNER, {150, 330, 270}},
    {MAC_BUSHING_FRONT, {-40, 370, 190}},
    {MAC_BUSHING_REAR, {260, 390, 200}},
    {MAC_UPPER_STABILIZER_LINK, {-40, 560, 330}},
    {MAC_LOWER_STABILIZER_LINK, {-30, 580, 190}},
    {MAC_STABILIZER_BUSHING, {-80, 420, 330}},
};

sMacpherson_Suspension front_corner() {
    sMacpherson_Suspension s;
    std::memset(&s, 0, sizeof s);
    HM_VD_MAC_SUSP_initial(&s);
    for (const HardPoint& h : kFrontCorner) set(s.points[h.point], h.at);
    return s;
}

class MacTemplateTest : public TemplateTest {
protected:
    P3 point(const char* name) {
        double at[3] = {};
        EXPECT_EQ(HM_CURVE_ask_point_data(named(name, HM_point_type), at), 0) << name;
        return get(at);
    }
    // A stabilizer bar part placed in the work part: its prototype object
    // and that object's occurrence in the work part.
    struct Bar {
        tag_t prototype;
        tag_t occurrence;
    };
    Bar placed_bar(const char* file_name) {
        const tag_t bar_part = host_testing::make_part(file_name);
        const double corner[3] = {-100, -500, 300}, size[3] = {20, 1000, 20};
        const tag_t body = host_testing::make_box(corner, size);
        EXPECT_EQ(HM_ASSEM_set_work_part(part_), 0);
        const tag_t occurrence = host_testing::add_occurrence(host_testing::add_component(bar_part, "BAR"), body);
        EXPECT_NE(occurrence, 0u);
        return {body, occurrence};
    }
    // A component array handed to the template, from the memory manager.
    static tag_t* components(const std::vector<tag_t>& tags) {
        auto* array = static_cast<tag_t*>(SM_alloc(tags.size() * sizeof(tag_t)));
        for (size_t i = 0; i < tags.size(); ++i) array[i] = tags[i];
        return array;
    }
    void build(sMacpherson_Suspension& s) {
        ASSERT_EQ(HM_VD_MAC_SUSP_build_structure(&s), 0);
        ASSERT_EQ(HM_VD_MAC_SUSP_build_motion(&s), 0);
    }
    static std::vector<tag_t> drivers() {
        int count = 0;
        tag_t* joints = nullptr;
        EXPECT_EQ(HM_VD_MOTION_ask_articulation_drive_joints(&count, &joints), 0);
        std::vector<tag_t> found(joints, joints + count);
        SM_free(joints);
        return found;
    }
};

TEST(MacNames, TableAsTheHostReadsIt) {
    EXPECT_EQ(HM_VD_MAC_SUSP_ask_num_of_names(), 200);
    struct Slot {
        int n;
        const char* name;
    };
    const Slot slots[] = {{0, "MAC_SUSP_BOTTOM_OF_STRUT"},
                          {12, "MAC_SUSP_STABILIZER_BUSHING"},
                          {13, ""},
                          {20, "MAC_SUSP_UPPER_OF_STRUT"},
                          {35, "MAC_SUSP_KNUCK_5"},
                          {44, "MAC_SUSP_RACK"},
                          {63, "MAC_SUSP_OPPOSITE_INNER_JOINT"},
                          {70, "MAC_SUSP_UPPER_STABILIZER_LINK_MIRROR"},
                          {72, "MAC_SUSP_OPPOSITE_BUSHING"},
                          {80, "MAC_SUSP_UPPER_OF_STRUT_MIRROR"},
                          {103, "MAC_SUSP_ENGOUT_MIRROR"},
                          {104, ""},
                          {126, "STAB"},
                          {128, "RACK"},
                          {147, "ENGOUT_M"},
                          {148, ""},
                          {169, "J_RACK"},
                          {188, "J_ENGOUT_M"},
                          {189, ""},
                          {192, "J_STAB_BUSHING_M"},
                          {199, ""},
                          {200, ""},
                          {-1, ""},
                          {1 << 30, ""}};
    for (const Slot& s : slots) {
        SCOPED_TRACE(s.n);
        char name[MAC_SUSP_NAME_SIZE] = "junk";
        HM_VD_MAC_SUSP_ask_nth_name(s.n, name);
        EXPECT_STREQ(name, s.name);
    }
    int filled = 0;
    size_t longest = 0;
    for (int n = 0; n < 200; ++n) {
        char name[MAC_SUSP_NAME_SIZE];
        HM_VD_MAC_SUSP_ask_nth_name(n, name);
        if (*name) ++filled;
        longest = std::max(longest, std::strlen(name));
    }
    EXPECT_EQ(filled, 99);
    EXPECT_EQ(longest, 37u);
    HM_VD_MAC_SUSP_ask_nth_name(0, nullptr);   // a null buffer is left alone
}

TEST(MacPerpendicularFoot, KnownAnswers) {
    struct Case {
        const char* what;
        P3 a, b, c, foot;
    };
    const Case cases[] = {
        {"on a vertical axis", {0, 0, 0}, {0, 0, 10}, {3, 4, 5}, {0, 0, 5}},
        // Axis (2, 0, 2) from (1, 2, 3); c - a = (4, 7, 0) projects to t = 8 / 8 = 1.
        {"on an oblique axis", {1, 2, 3}, {3, 2, 5}, {5, 9, 3}, {3, 2, 5}},
        {"beyond the axis' ends", {0, 0, 0}, {0, 0, 10}, {1, 0, -20}, {0, 0, -20}},
        {"coincident axis points give a", {1, 2, 3}, {1, 2, 3}, {9, 9, 9}, {1, 2, 3}},
        {"a point on the axis' direction is its own foot", {0, 0, 0}, {0, 0, 10}, {1e-12, 0, 20}, {1e-12, 0, 20}},
        {"c on a", {1, 2, 3}, {4, 5, 6}, {1, 2, 3}, {1, 2, 3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        double foot[3];
        carvell::suspension::mac_perpendicular_foot(c.a.data(), c.b.data(), c.c.data(), foot);
        for (int i = 0; i < 3; ++i) EXPECT_NEAR(foot[i], c.foot[i], 1e-15) << i;
    }
}

TEST_F(MacTemplateTest, InitialMirrorsThroughTheVehicleFrame) {
    // A vehicle frame at (0, 10, 0) with its y axis along y: the plane y = 10.
    host_testing::set_vehicle_csys({0, 10, 0}, {1, 0, 0, 0, 1, 0, 0, 0, 1});
    sMacpherson_Suspension s;
    std::memset(&s, 0x7f, sizeof s);
    ASSERT_EQ(HM_VD_MAC_SUSP_initial(&s), 0);
    EXPECT_EQ(get(s.plane_origin), (P3{0, 10, 0}));
    EXPECT_EQ(get(s.plane_normal), (P3{0, 1, 0}));
    for (const HardPoint& h : kFrontCorner) {
        SCOPED_TRACE(h.point);
        EXPECT_EQ(get(s.points[h.point]), (P3{0, 0, 0}));
    }
    for (int mirror : {MAC_BOTTOM_OF_STRUT_MIRROR, MAC_WHEEL_CENTERLINE_MIRROR, MAC_LOWER_STABILIZER_LINK_MIRROR,
                       MAC_OPPOSITE_INNER_JOINT, MAC_OPPOSITE_BUSHING}) {
        SCOPED_TRACE(mirror);
        EXPECT_NEAR(s.points[mirror][1], 20, 1e-12) << "the origin mirrored through y = 10";
    }
    EXPECT_FALSE(s.has_stabilizer);
    EXPECT_TRUE(s.mirror_inner_joint);
    EXPECT_TRUE(s.mirror_stabilizer_bushing);
    EXPECT_EQ(s.mechanism, 0u);
    for (tag_t t : s.links) EXPECT_EQ(t, 0u);
    for (tag_t t : s.joints) EXPECT_EQ(t, 0u);
    EXPECT_EQ(s.stab_components, nullptr);
    EXPECT_EQ(s.stab_components_count, 0);
    EXPECT_EQ(s.stab_components_mirror, nullptr);
    EXPECT_EQ(s.stab_components_mirror_count, 0);
}

TEST_F(MacTemplateTest, AFreshRecordBuildsEveryLineWithNoLengthAndNoMechanism) {
    // Every hard point of a fresh record is the origin: each of the 23 lines
    // is of length 0, and no joint can take its axis from one.
    sMacpherson_Suspension s;
    ASSERT_EQ(HM_VD_MAC_SUSP_initial(&s), 0);
    ASSERT_EQ(HM_VD_MAC_SUSP_build_structure(&s), 0);
    EXPECT_EQ(host_testing::count_objects(0, HM_point_type), 20) << "ten pairs, the stabilizer's not";
    EXPECT_EQ(host_testing::count_objects(0, HM_line_type), 23);
    const HM_CURVE_line_t knuckle = line("MAC_SUSP_KNUCK_3");
    EXPECT_EQ(get(knuckle.start_point), get(knuckle.end_point));
    EXPECT_EQ(HM_VD_MAC_SUSP_build_motion(&s), -1);
    EXPECT_LT(host_testing::count_objects(0, HM_motion_joint_type), MAC_SUSP_JOINT_COUNT);
    EXPECT_NE(named("MAC_SUSP_OPPOSITE_INNER_JOINT"), 0u);
    EXPECT_EQ(named("MAC_SUSP_STABILIZER_BUSHING"), 0u);
}

TEST_F(MacTemplateTest, StructureOfTheFrontCornerWithAndWithoutStabilizer) {
    struct Case {
        bool stabilizer;
        int points, lines;
    };
    for (const Case c : {Case{false, 20, 23}, Case{true, 26, 25}}) {
        SCOPED_TRACE(c.stabilizer);
        sMacpherson_Suspension s = front_corner();
        s.has_stabilizer = c.stabilizer;
        ASSERT_EQ(HM_VD_MAC_SUSP_build_structure(&s), 0);
        EXPECT_EQ(host_testing::count_objects(0, HM_point_type), c.points);
        EXPECT_EQ(host_testing::count_objects(0, HM_line_type), c.lines);
        EXPECT_EQ(named("MAC_SUSP_STABLINK_MIRROR") != 0, c.stabilizer);
        EXPECT_EQ(named("MAC_SUSP_OPPOSITE_BUSHING") != 0, c.stabilizer);
        if (!c.stabilizer) {
            EXPECT_EQ(get(s.points[MAC_OPPOSITE_BUSHING]), (P3{0, 0, 0})) << "as initial left it";
        }
        ASSERT_EQ(HM_VD_MAC_SUSP_delete_structure(&s), 0);
        EXPECT_EQ(host_testing::count_objects(0, 0), 0) << "every name it built is in the table";
    }
}

TEST_F(MacTemplateTest, LinesOfTheFrontCornerAgainstTheirHardPoints) {
    sMacpherson_Suspension s = front_corner();
    ASSERT_EQ(HM_VD_MAC_SUSP_build_structure(&s), 0);
    EXPECT_EQ(point("MAC_SUSP_WHEEL_CENTERLINE_MIRROR"), (P3{0, -775, 310}));
    EXPECT_EQ(point("MAC_SUSP_OPPOSITE_INNER_JOINT"), (P3{20, -260, 300}));
    // The rack spans both tie-rod inner points: 2 x 330.
    const HM_CURVE_line_t rack = line("MAC_SUSP_RACK");
    EXPECT_NEAR(norm(sub(get(rack.end_point), get(rack.start_point))), 660, 1e-9);
    // Each engine output runs from its inner drive joint to the middle of the two.
    EXPECT_EQ(get(line("MAC_SUSP_ENGOUT").end_point), (P3{20, 0, 300}));
    EXPECT_EQ(get(line("MAC_SUSP_ENGOUT_MIRROR").start_point), (P3{20, -260, 300}));
    EXPECT_EQ(get(line("MAC_SUSP_HSHAFT_MIRROR").end_point), (P3{0, -720, 310}));
    // The strut's two lines meet at the middle of the strut: (15, 620, 550).
    EXPECT_EQ(get(line("MAC_SUSP_STRUT_UPPER").start_point), (P3{15, 620, 550}));
    EXPECT_EQ(get(line("MAC_SUSP_KNUCK_1").end_point), (P3{5, 650, 420}));
    // The steering arm (KNUCK_4) stands square on the knuckle's axis from
    // the ball joint to the strut top, and KNUCK_3 runs along that axis to
    // it; the same on the mirrored side.
    for (const char* suffix : {"", "_MIRROR"}) {
        SCOPED_TRACE(suffix);
        const double y = *suffix ? -1 : 1;
        const P3 ball{0, 700 * y, 160}, top{25, 590 * y, 680}, tierod{130, 690 * y, 250};
        const HM_CURVE_line_t k3 = line((std::string("MAC_SUSP_KNUCK_3") + suffix).c_str());
        const HM_CURVE_line_t k4 = line((std::string("MAC_SUSP_KNUCK_4") + suffix).c_str());
        const P3 axis = sub(top, ball), foot = get(k3.end_point);
        EXPECT_EQ(get(k3.start_point), ball);
        EXPECT_EQ(get(k4.start_point), tierod);
        EXPECT_EQ(get(k4.end_point), foot);
        EXPECT_NEAR(dot(sub(tierod, foot), axis) / norm(axis), 0, 1e-9);
        EXPECT_NEAR(norm(cross(sub(foot, ball), axis)) / norm(axis), 0, 1e-9);
    }
}

TEST_F(MacTemplateTest, MirrorFlagsDecideWhetherTheCallersMirrorsAreKept) {
    for (bool flag : {false, true}) {
        SCOPED_TRACE(flag);
        sMacpherson_Suspension s = front_corner();
        s.has_stabilizer = true;
        s.mirror_inner_joint = flag;
        s.mirror_stabilizer_bushing = flag;
        set(s.points[MAC_OPPOSITE_INNER_JOINT], {1, 2, 3});
        set(s.points[MAC_OPPOSITE_BUSHING], {4, 5, 6});
        set(s.points[MAC_BALL_JOINT_MIRROR], {7, 8, 9});
        ASSERT_EQ(HM_VD_MAC_SUSP_build_structure(&s), 0);
        EXPECT_EQ(get(s.points[MAC_OPPOSITE_INNER_JOINT]), (flag ? P3{20, -260, 300} : P3{1, 2, 3}));
        EXPECT_EQ(get(s.points[MAC_OPPOSITE_BUSHING]), (flag ? P3{-80, -420, 330} : P3{4, 5, 6}));
        EXPECT_EQ(get(s.points[MAC_BALL_JOINT_MIRROR]), (P3{0, -700, 160})) << "the other mirrors are always made";
        EXPECT_EQ(point("MAC_SUSP_OPPOSITE_BUSHING"), get(s.points[MAC_OPPOSITE_BUSHING]));
        // The half shaft of the mirrored side starts at the opposite inner joint.
        EXPECT_EQ(get(line("MAC_SUSP_HSHAFT_MIRROR").start_point), get(s.points[MAC_OPPOSITE_INNER_JOINT]));
    }
}

// What the joint table says of each joint: host type, links (-1 ground).
struct ExpectedJoint {
    int slot;
    const char* name;
    int type;
    int first, second;
};
const ExpectedJoint kExpectedJoints[] = {
    {MAC_J_STRUTUPPER, "J_STRUTUPPER", HM_MOTION_SPHERICAL, MAC_LINK_STRUTUPPER, -1},
    {MAC_J_STRUTUPPER_M, "J_STRUTUPPER_M", HM_MOTION_SPHERICAL, MAC_LINK_STRUTUPPER_M, -1},
    {MAC_J_STRUTCENTER, "J_STRUTCENTER", HM_MOTION_CYLINDRICAL, MAC_LINK_STRUTUPPER, MAC_LINK_KNUCK},
    {MAC_J_STRUTCENTER_M, "J_STRUTCENTER_M", HM_MOTION_CYLINDRICAL, MAC_LINK_STRUTUPPER_M, MAC_LINK_KNUCK_M},
    {MAC_J_OUTERDRIVE, "J_OUTERDRIVE", HM_MOTION_SPHERICAL, MAC_LINK_HSHAFT, MAC_LINK_KNUCK},
    {MAC_J_OUTERDRIVE_M, "J_OUTERDRIVE_M", HM_MOTION_SPHERICAL, MAC_LINK_HSHAFT_M, MAC_LINK_KNUCK_M},
    {MAC_J_INNERDRIVE, "J_INNERDRIVE", HM_MOTION_UNIVERSAL, MAC_LINK_HSHAFT, MAC_LINK_ENGOUT},
    {MAC_J_INNERDRIVE_M, "J_INNERDRIVE_M", HM_MOTION_UNIVERSAL, MAC_LINK_HSHAFT_M, MAC_LINK_ENGOUT_M},
    {MAC_J_TIREROD_OUTER, "J_TIREROD_OUTER", HM_MOTION_SPHERICAL, MAC_LINK_TIREROD, MAC_LINK_KNUCK},
    {MAC_J_TIREROD_OUTER_M, "J_TIREROD_OUTER_M", HM_MOTION_SPHERICAL, MAC_LINK_TIREROD_M, MAC_LINK_KNUCK_M},
    {MAC_J_TIREROD_INNER, "J_TIREROD_INNER", HM_MOTION_UNIVERSAL, MAC_LINK_TIREROD, MAC_LINK_RACK},
    {MAC_J_TIREROD_INNER_M, "J_TIREROD_INNER_M", HM_MOTION_UNIVERSAL, MAC_LINK_TIREROD_M, MAC_LINK_RACK},
    {MAC_J_BALL, "J_BALL", HM_MOTION_SPHERICAL, MAC_LINK_LCA, MAC_LINK_KNUCK},
    {MAC_J_BALL_M, "J_BALL_M", HM_MOTION_SPHERICAL, MAC_LINK_LCA_M, MAC_LINK_KNUCK_M},
    {MAC_J_BUSHING, "J_BUSHING", HM_MOTION_REVOLUTE, MAC_LINK_LCA, -1},
    {MAC_J_BUSHING_M, "J_BUSHING_M", HM_MOTION_REVOLUTE, MAC_LINK_LCA_M, -1},
    {MAC_J_ENGOUT, "J_ENGOUT", HM_MOTION_CYLINDRICAL, MAC_LINK_ENGOUT, -1},
    {MAC_J_ENGOUT_M, "J_ENGOUT_M", HM_MOTION_CYLINDRICAL, MAC_LINK_ENGOUT_M, -1},
    {MAC_J_RACK, "J_RACK", HM_MOTION_CYLINDRICAL, MAC_LINK_RACK, -1},
    {MAC_J_LOWER_STAB, "J_LOWER_STAB", HM_MOTION_UNIVERSAL, MAC_LINK_STABLINK, MAC_LINK_LCA},
    {MAC_J_LOWER_STAB_M, "J_LOWER_STAB_M", HM_MOTION_UNIVERSAL, MAC_LINK_STABLINK_M, MAC_LINK_LCA_M},
    {MAC_J_UPPER_STAB, "J_UPPER_STAB", HM_MOTION_SPHERICAL, MAC_LINK_STAB, MAC_LINK_STABLINK},
    {MAC_J_UPPER_STAB_M, "J_UPPER_STAB_M", HM_MOTION_SPHERICAL, MAC_LINK_STAB_M, MAC_LINK_STABLINK_M},
    {MAC_J_STAB_BUSHING, "J_STAB_BUSHING", HM_MOTION_REVOLUTE, MAC_LINK_STAB, -1},
    {MAC_J_STAB_BUSHING_M, "J_STAB_BUSHING_M", HM_MOTION_REVOLUTE, MAC_LINK_STAB_M, -1},
};

TEST_F(MacTemplateTest, WithoutStabilizerThirteenLinksNineteenJointsAndThreeDrivers) {
    sMacpherson_Suspension s = front_corner();
    build(s);
    EXPECT_NE(s.mechanism, 0u);
    EXPECT_EQ(s.mechanism, host_testing::current_mechanism());
    EXPECT_EQ(host_testing::count_objects(0, HM_motion_link_type), 13);
    EXPECT_EQ(host_testing::count_objects(0, HM_motion_joint_type), 19);
    for (int link : {MAC_LINK_STABLINK, MAC_LINK_STABLINK_M, MAC_LINK_STAB, MAC_LINK_STAB_M})
        EXPECT_EQ(s.links[link], 0u) << link;
    for (const ExpectedJoint& e : kExpectedJoints) {
        SCOPED_TRACE(e.name);
        if (e.slot >= MAC_J_LOWER_STAB) {
            EXPECT_EQ(s.joints[e.slot], 0u);
            continue;
        }
        HM_MOTION_joint_t j;
        ASSERT_EQ(HM_MOTION_ask_joint(s.joints[e.slot], &j), 0);
        EXPECT_STREQ(j.name, e.name);
        EXPECT_EQ(j.type, e.type);
        EXPECT_EQ(j.first_link, s.links[e.first]);
        EXPECT_NE(j.first_link, 0u);
        EXPECT_EQ(j.second_link, e.second < 0 ? 0u : s.links[e.second]);
    }
    // The engine output pivots a quarter of the way from its inner drive
    // joint to the other one; the lower arm about the line of its bushings.
    struct Frame {
        int slot;
        P3 origin, direction;
    };
    const double arm = std::hypot(300.0, 20.0, 10.0);
    const Frame frames[] = {
        {MAC_J_ENGOUT, {20, 130, 300}, {0, -1, 0}},
        {MAC_J_ENGOUT_M, {20, -130, 300}, {0, 1, 0}},
        {MAC_J_BUSHING, {110, 380, 195}, {-300 / arm, -20 / arm, -10 / arm}},
        {MAC_J_RACK, {150, 0, 270}, {0, -1, 0}},
    };
    for (const Frame& f : frames) {
        SCOPED_TRACE(f.slot);
        HM_MOTION_joint_t j;
        ASSERT_EQ(HM_MOTION_ask_joint(s.joints[f.slot], &j), 0);
        double o[3], at[3], v[3];
        ASSERT_EQ(HM_SO_ask_point_coordinates(j.first_origin, o), 0);
        ASSERT_EQ(HM_SO_ask_dirr_doubles(j.first_direction, at, v), 0);
        for (int i = 0; i < 3; ++i) {
            EXPECT_NEAR(o[i], f.origin[i], 1e-9);
            EXPECT_NEAR(v[i], f.direction[i], 1e-12);
        }
    }
    const std::vector<tag_t> expected{s.joints[MAC_J_STRUTCENTER], s.joints[MAC_J_STRUTCENTER_M],
                                      s.joints[MAC_J_RACK]};
    EXPECT_EQ(drivers(), expected);
    HM_MOTION_joint_motion_input_t input;
    ASSERT_EQ(HM_MOTION_ask_joint_motion_input(s.joints[MAC_J_STRUTCENTER], &input), 0);
    EXPECT_EQ(input.type, HM_MOTION_INPUT_NONE) << "no motion inputs";
    EXPECT_EQ(host_testing::session_depth(), 0);
}

TEST_F(MacTemplateTest, StabilizerBarsFromTheComponentsOccurrences) {
    const Bar left = placed_bar("bar_left"), right = placed_bar("bar_right");
    const tag_t unplaced = host_testing::make_box(std::array<double, 3>{0, 0, 0}.data(),
                                                  std::array<double, 3>{1, 1, 1}.data());
    sMacpherson_Suspension s = front_corner();
    s.has_stabilizer = true;
    // The first side's second component has no occurrence: passed over.
    s.stab_components = components({left.prototype, unplaced});
    s.stab_components_count = 2;
    s.stab_components_mirror = components({right.prototype});
    s.stab_components_mirror_count = 1;
    build(s);
    EXPECT_EQ(host_testing::count_objects(0, HM_motion_link_type), 17);
    EXPECT_EQ(host_testing::count_objects(0, HM_motion_joint_type), 25);
    EXPECT_EQ(s.stab_components, nullptr) << "freed and cleared";
    EXPECT_EQ(s.stab_components_count, 0);
    EXPECT_EQ(s.stab_components_mirror, nullptr);
    EXPECT_EQ(s.stab_components_mirror_count, 0);
    for (const ExpectedJoint& e : kExpectedJoints) {
        SCOPED_TRACE(e.name);
        HM_MOTION_joint_t j;
        ASSERT_EQ(HM_MOTION_ask_joint(s.joints[e.slot], &j), 0);
        EXPECT_EQ(j.type, e.type);
        EXPECT_EQ(j.first_link, s.links[e.first]);
        EXPECT_EQ(j.second_link, e.second < 0 ? 0u : s.links[e.second]);
    }
    // J_LOWER_STAB: first direction up the drop link, the second back down.
    HM_MOTION_joint_t j;
    ASSERT_EQ(HM_MOTION_ask_joint(s.joints[MAC_J_LOWER_STAB_M], &j), 0);
    double at[3], first[3];
    ASSERT_EQ(HM_SO_ask_dirr_doubles(j.first_direction, at, first), 0);
    const double drop = std::hypot(10.0, 20.0, 140.0);
    EXPECT_NEAR(first[0], -10 / drop, 1e-12);
    EXPECT_NEAR(first[1], 20 / drop, 1e-12) << "up and inward on the mirrored side";
    EXPECT_NEAR(first[2], 140 / drop, 1e-12);
    EXPECT_EQ(drivers().size(), 3u);
}

TEST_F(MacTemplateTest, ABarOfOnePieceCarriesBothDropLinksAndTurnsInOneBushing) {
    // The bar given on the first side alone, as one component or as two
    // (the bar and its clamps): STAB_M stays 0, the mirrored drop link
    // joins STAB, and there is no mirrored bushing joint to join.
    const Bar bar = placed_bar("bar"), clamps = placed_bar("clamps");
    for (const std::vector<tag_t>& parts : {std::vector<tag_t>{bar.prototype},
                                            std::vector<tag_t>{bar.prototype, clamps.prototype}}) {
        SCOPED_TRACE(parts.size());
        sMacpherson_Suspension s = front_corner();
        s.has_stabilizer = true;
        s.stab_components = components(parts);
        s.stab_components_count = static_cast<int>(parts.size());
        build(s);
        EXPECT_EQ(s.links[MAC_LINK_STAB_M], 0u);
        EXPECT_NE(s.links[MAC_LINK_STAB], 0u);
        EXPECT_EQ(host_testing::count_objects(0, HM_motion_link_type), 16);
        EXPECT_EQ(host_testing::count_objects(0, HM_motion_joint_type), 24) << "no J_STAB_BUSHING_M";
        EXPECT_EQ(s.joints[MAC_J_STAB_BUSHING_M], 0u);
        HM_MOTION_joint_t j;
        ASSERT_EQ(HM_MOTION_ask_joint(s.joints[MAC_J_UPPER_STAB_M], &j), 0);
        EXPECT_EQ(j.first_link, s.links[MAC_LINK_STAB]);
        EXPECT_EQ(j.second_link, s.links[MAC_LINK_STABLINK_M]);
        EXPECT_EQ(drivers().size(), 3u);
        ASSERT_EQ(HM_VD_MAC_SUSP_delete_structure(&s), 0);
    }
}

TEST_F(MacTemplateTest, AMissingBarLinkStopsTheMotionBeforeAnyJoint) {
    const Bar bar = placed_bar("bar");
    const tag_t unplaced = host_testing::make_box(std::array<double, 3>{0, 0, 0}.data(),
                                                  std::array<double, 3>{1, 1, 1}.data());
    struct Case {
        const char* what;
        std::vector<tag_t> first, mirrored;
    };
    const Case cases[] = {
        {"no components on the first side", {}, {bar.prototype}},
        {"no first-side component placed", {unplaced}, {bar.prototype}},
        {"no mirrored component placed", {bar.prototype}, {unplaced}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        sMacpherson_Suspension s = front_corner();
        s.has_stabilizer = true;
        s.stab_components = c.first.empty() ? nullptr : components(c.first);
        s.stab_components_count = static_cast<int>(c.first.size());
        s.stab_components_mirror = components(c.mirrored);
        s.stab_components_mirror_count = static_cast<int>(c.mirrored.size());
        ASSERT_EQ(HM_VD_MAC_SUSP_build_structure(&s), 0);
        EXPECT_EQ(HM_VD_MAC_SUSP_build_motion(&s), -1);
        EXPECT_EQ(host_testing::count_objects(0, HM_motion_joint_type), 0);
        EXPECT_EQ(s.stab_components_mirror, nullptr) << "the arrays are freed on this way out too";
        EXPECT_EQ(s.stab_components_mirror_count, 0);
        EXPECT_TRUE(drivers().empty());
        ExpectNoLeaks();
    }
}

TEST_F(MacTemplateTest, BuiltTwiceAndDeletedTwiceLeavesNothingDoubled) {
    const Bar left = placed_bar("bar_left"), right = placed_bar("bar_right");
    sMacpherson_Suspension s = front_corner();
    s.has_stabilizer = true;
    for (int round = 0; round < 2; ++round) {
        s.stab_components = components({left.prototype});
        s.stab_components_count = 1;
        s.stab_components_mirror = components({right.prototype});
        s.stab_components_mirror_count = 1;
        build(s);
    }
    EXPECT_EQ(host_testing::count_objects(0, HM_point_type), 26);
    EXPECT_EQ(host_testing::count_objects(0, HM_line_type), 25);
    EXPECT_EQ(host_testing::count_objects(0, HM_motion_link_type), 17);
    EXPECT_EQ(host_testing::count_objects(0, HM_motion_joint_type), 25) << "a rebuild replaces the template's joints";
    EXPECT_EQ(count_named("J_STAB_BUSHING_M"), 1);
    EXPECT_EQ(drivers().size(), 3u);
    const tag_t mechanism = host_testing::current_mechanism();
    ASSERT_EQ(HM_VD_MAC_SUSP_delete_structure(&s), 0);
    EXPECT_EQ(host_testing::count_objects(0, HM_point_type), 0);
    EXPECT_EQ(host_testing::count_objects(0, HM_line_type), 0);
    EXPECT_EQ(host_testing::count_objects(0, HM_motion_link_type), 0);
    EXPECT_EQ(host_testing::count_objects(0, HM_motion_joint_type), 0);
    EXPECT_EQ(host_testing::current_mechanism(), mechanism) << "the mechanism is not in the name table: it stays";
    EXPECT_NE(s.links[MAC_LINK_RACK], 0u) << "the record's identifiers are kept";
    EXPECT_NE(s.joints[MAC_J_RACK], 0u);
    EXPECT_NE(named("BAR"), 0u) << "the bar's components are the caller's";
    ASSERT_EQ(HM_VD_MAC_SUSP_delete_structure(&s), 0);
}

TEST_F(MacTemplateTest, StrutTravelMovesTheKnuckleAlongTheStrutWithTheArmsRigid) {
    // Both struts stepped from 40 mm compressed to 40 mm extended (the strut
    // upper's shift along the strut, away from the knuckle), the rack held,
    // then back to the design. The strut top is fixed: the knuckle's bottom
    // of strut point stays on the strut at the design length plus the
    // shift; the ball joint keeps its distance from the lower arm's bushing
    // axis; the tie rod keeps its length.
    sMacpherson_Suspension s = front_corner();
    build(s);
    std::vector<std::vector<double>> values;
    for (int i = 0; i <= 16; ++i) values.push_back({-40.0 + 5.0 * i, -40.0 + 5.0 * i, 0.0});
    values.push_back({0.0, 0.0, 0.0});
    host_testing::Articulation result;
    ASSERT_EQ(host_testing::articulate({s.joints[MAC_J_STRUTCENTER], s.joints[MAC_J_STRUTCENTER_M],
                                        s.joints[MAC_J_RACK]},
                                       values, &result),
              0);
    EXPECT_LT(result.max_residual, 1e-8);
    size_t knuckle = result.links.size(), knuckle_m = knuckle;
    for (size_t i = 0; i < result.links.size(); ++i) {
        if (result.links[i] == s.links[MAC_LINK_KNUCK]) knuckle = i;
        if (result.links[i] == s.links[MAC_LINK_KNUCK_M]) knuckle_m = i;
    }
    ASSERT_LT(knuckle, result.links.size());
    ASSERT_LT(knuckle_m, result.links.size());
    const P3 top{25, 590, 680}, bottom{5, 650, 420}, ball{0, 700, 160}, tierod_outer{130, 690, 250},
        tierod_inner{150, 330, 270}, front{-40, 370, 190}, rear{260, 390, 200}, wheel{0, 775, 310};
    const double strut = norm(sub(top, bottom)), tie_rod = norm(sub(tierod_outer, tierod_inner));
    const P3 bushing_axis = sub(front, rear);
    const double arm = norm(cross(sub(ball, rear), bushing_axis)) / norm(bushing_axis);
    double previous = 1e9;
    for (size_t step = 0; step + 1 < values.size(); ++step) {
        SCOPED_TRACE(step);
        const auto& t = result.steps[step][knuckle];
        const P3 b = host_testing::transform_point(t, bottom), k = host_testing::transform_point(t, ball),
                 o = host_testing::transform_point(t, tierod_outer), w = host_testing::transform_point(t, wheel);
        EXPECT_NEAR(norm(sub(top, b)), strut + values[step][0], 1e-6);
        EXPECT_NEAR(norm(cross(sub(k, rear), bushing_axis)) / norm(bushing_axis), arm, 1e-6);
        EXPECT_NEAR(norm(sub(o, tierod_inner)), tie_rod, 1e-6);
        EXPECT_LT(w[2], previous) << "extending the strut lowers the wheel";
        previous = w[2];
        // The mirrored corner moves as the mirror image of this one.
        const P3 wm = host_testing::transform_point(result.steps[step][knuckle_m], {0, -775, 310});
        EXPECT_NEAR(wm[0], w[0], 1e-6);
        EXPECT_NEAR(wm[1], -w[1], 1e-6);
        EXPECT_NEAR(wm[2], w[2], 1e-6);
    }
    const P3 back = host_testing::transform_point(result.steps.back()[knuckle], wheel);
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(back[i], wheel[i], 1e-3) << "back at the design";
}

TEST_F(MacTemplateTest, BallJointOnTheStrutTopGivesTheKnuckleArmLineNoLength) {
    // The knuckle's axis has no length: the foot is the ball joint itself and
    // KNUCK_3 is a line of length 0 there; the mechanism is still built.
    sMacpherson_Suspension s = front_corner();
    set(s.points[MAC_BALL_JOINT], {25, 590, 680});
    ASSERT_EQ(HM_VD_MAC_SUSP_build_structure(&s), 0);
    const HM_CURVE_line_t knuckle = line("MAC_SUSP_KNUCK_3");
    EXPECT_EQ(get(knuckle.start_point), (P3{25, 590, 680}));
    EXPECT_EQ(get(knuckle.end_point), (P3{25, 590, 680}));
    EXPECT_EQ(get(line("MAC_SUSP_KNUCK_4").end_point), (P3{25, 590, 680}));
    EXPECT_EQ(get(line("MAC_SUSP_KNUCK_4_MIRROR").end_point), (P3{25, -590, 680}));
    EXPECT_EQ(HM_VD_MAC_SUSP_build_motion(&s), 0);
}

TEST_F(MacTemplateTest, AMissingLineStopsTheMotionBeforeAnyJoint) {
    sMacpherson_Suspension s = front_corner();
    ASSERT_EQ(HM_VD_MAC_SUSP_build_structure(&s), 0);
    ASSERT_EQ(HM_OBJ_delete_object(named("MAC_SUSP_RACK")), 0);
    EXPECT_EQ(HM_VD_MAC_SUSP_build_motion(&s), -1);
    EXPECT_EQ(host_testing::count_objects(0, HM_motion_joint_type), 0);
    EXPECT_EQ(host_testing::count_objects(0, HM_motion_link_type), 12) << "the links before the rack";
    EXPECT_EQ(s.links[MAC_LINK_RACK], 0u);
}

TEST_F(MacTemplateTest, BadInputBuildsNothing) {
    EXPECT_EQ(HM_VD_MAC_SUSP_initial(nullptr), -1);
    EXPECT_EQ(HM_VD_MAC_SUSP_build_structure(nullptr), -1);
    EXPECT_EQ(HM_VD_MAC_SUSP_build_motion(nullptr), -1);
    EXPECT_EQ(HM_VD_MAC_SUSP_delete_structure(nullptr), -1);
    sMacpherson_Suspension s = front_corner();
    host_testing::clear_work_part();
    EXPECT_EQ(HM_VD_MAC_SUSP_build_structure(&s), -1);
    EXPECT_NE(HM_VD_MAC_SUSP_build_motion(&s), 0);
    EXPECT_EQ(host_testing::count_objects(part_, 0), 0);
    EXPECT_EQ(host_testing::session_depth(), 0);
}

}  // namespace
