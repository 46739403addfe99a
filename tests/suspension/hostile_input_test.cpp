// Hostile input to the suspension templates, the named builders and the
// motion functions: null records, names, outputs and arrays, counts of 0, -1
// and INT_MAX and counts past their arrays, numbers that are not finite, tag
// 0, deleted and wrong-kind tags, a zero axis and coincident points. Every
// case answers its refusal, builds nothing, deletes nothing of the caller's
// and leaves no block of the memory manager behind (checked after the table
// and on tear-down); the process survives.
#include "hm_vd_fla_susp.h"
#include "hm_vd_mac_susp.h"
#include "hm_vd_motion.h"
#include "hm_vd_sla_susp.h"

#include "host_fixture.h"
#include "hostile_input.h"
#include "morvish.h"
#include "omvra.h"
#include "quillon.h"
#include "test_helpers.h"

#include <climits>
#include <cstring>
#include <memory>
#include <vector>

namespace {

using support::Hostile;
using support::kInf;
using support::kNaN;

class SuspensionHostileInputTest : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        tag_t mechanism = 0;
        ASSERT_EQ(HM_VD_MOTION_create_mech(nullptr, &mechanism), 0);
        line_ = host_testing::make_line({0, 0, 0}, {100, 0, 0});
        ASSERT_EQ(HM_VD_MOTION_create_simple_link("arm", &line_, 1, &link_), 0);
        const double d[3] = {0, 0, 1}, o[3] = {0, 0, 0};
        ASSERT_EQ(HM_VD_MOTION_create_joint("J", 5, link_, 0, 0.0, const_cast<double*>(d), const_cast<double*>(d),
                                            const_cast<double*>(o), &joint_),
                  0);
        gone_ = host_testing::make_line({1, 1, 1}, {2, 2, 2});
        HM_OBJ_delete_object(gone_);
    }
    void ExpectAllRefused(const std::vector<Hostile>& cases) {
        support::expect_all_refused(cases);
        ExpectNoLeaks();
    }
    tag_t line_ = 0, link_ = 0, joint_ = 0, gone_ = 0;
};

}  // namespace

TEST_F(SuspensionHostileInputTest, NamedBuildersAndLinksRefuseWhatNamesNoGeometry) {
    double p[3] = {10, 20, 30}, q[3] = {0, 0, 0}, n[3] = {0, 1, 0}, zero[3] = {0, 0, 0};
    double inf_n[3] = {0, kInf, 0}, nan_p[3] = {kNaN, 0, 0}, far_p[3] = {0, -1e308, 0}, far_q[3] = {0, 1e308, 0}, huge_n[3] = {0, 1e300, 0};
    double mirror[3] = {-7, -7, -7};
    tag_t link = 99, one[1] = {line_}, with_dead[2] = {line_, gone_}, with_joint[1] = {joint_};
    double weight = 2.0, nan_weight = kNaN, cog[3] = {1, 2, 3};
    double inertias[6] = {1, 2, 3, 0, 0, 0}, nan_inertias[6] = {1, kNaN, 3, 0, 0, 0};
    const double identity[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    tag_t orientation = 0;
    ASSERT_EQ(HM_CSYS_create_matrix(identity, &orientation), 0);
    int count = -5;
    mot_link_mass_info_s info{};
    tag_t dead_link = gone_;
    const double size[3] = {10, 10, 10};
    const tag_t box = host_testing::make_box(q, size);
    tag_t bodies[1] = {box};
    const std::vector<Hostile> cases = {
        {"mirror: null point", [&] { return HM_VD_mirror_point_through_plane(nullptr, q, n, mirror); }, -1},
        {"mirror: null output", [&] { return HM_VD_mirror_point_through_plane(p, q, n, nullptr); }, -1},
        {"mirror: zero normal", [&] { return HM_VD_mirror_point_through_plane(p, q, zero, mirror); }, -1},
        {"mirror: infinite normal", [&] { return HM_VD_mirror_point_through_plane(p, q, inf_n, mirror); }, -1},
        {"mirror: NaN point", [&] { return HM_VD_mirror_point_through_plane(nan_p, q, n, mirror); }, -1},
        {"mirror: a point at -1e308 through a plane at 1e308",
         [&] { return HM_VD_mirror_point_through_plane(far_p, far_q, n, mirror); }, -1},
        {"mirror: NaN plane point", [&] { return HM_VD_mirror_point_through_plane(p, nan_p, n, mirror); }, -1},
        {"point: null name", [&] { return HM_VD_build_point(nullptr, p); }, -1},
        {"point: null coordinates", [&] { return HM_VD_build_point("P", nullptr); }, -1},
        {"point: NaN coordinates", [&] { return HM_VD_build_point("P", nan_p); }, HM_ERR_BAD_ARGUMENT},
        {"line: null end", [&] { return HM_VD_build_line("L", p, nullptr); }, -1},
        {"line: infinite start", [&] { return HM_VD_build_line("L", inf_n, p); }, HM_ERR_BAD_ARGUMENT},
        {"mechanism: null output", [&] { return HM_VD_build_mechanism("M", nullptr); }, -1},
        {"link: null geometry", [&] { return HM_VD_build_link("K", nullptr, 1, &link); }, HM_ERR_NULL_POINTER},
        {"link: count 0", [&] { return HM_VD_build_link("K", one, 0, &link); }, HM_ERR_BAD_ARGUMENT},
        {"link: count -1", [&] { return HM_VD_build_link("K", one, -1, &link); }, HM_ERR_BAD_ARGUMENT},
        {"link: count INT_MAX", [&] { return HM_VD_build_link("K", one, INT_MAX, &link); }, -1},
        {"link: a deleted object", [&] { return HM_VD_build_link("K", with_dead, 2, &link); }, HM_ERR_INVALID_TAG},
        {"link: a joint for geometry", [&] { return HM_VD_build_link("K", with_joint, 1, &link); }, HM_ERR_WRONG_TYPE},
        {"mech: null output", [&] { return HM_VD_MOTION_create_mech(nullptr, nullptr); }, -1},
        {"simple link: null name", [&] { return HM_VD_MOTION_create_simple_link(nullptr, one, 1, &link); }, -1},
        {"simple link: count INT_MAX", [&] { return HM_VD_MOTION_create_simple_link("K", one, INT_MAX, &link); }, -1},
        {"simple link: count -1", [&] { return HM_VD_MOTION_create_simple_link("K", one, -1, &link); }, HM_ERR_BAD_ARGUMENT},
        {"link by name: null count", [&] { return HM_VD_MOTION_create_link_by_name("K", const_cast<char*>("X"), nullptr, &link); }, -1},
        {"link by name: null object name", [&] { return HM_VD_MOTION_create_link_by_name("K", nullptr, &count, &link); }, -1},
        {"link with mass: NaN weight", [&] { return HM_VD_MOTION_create_link("K", one, 1, &nan_weight, cog, &link); }, 2},
        {"link with mass: NaN centre", [&] { return HM_VD_MOTION_create_link("K", one, 1, &weight, nan_p, &link); }, 1},
        {"link with mass: count INT_MAX", [&] { return HM_VD_MOTION_create_link("K", one, INT_MAX, &weight, cog, &link); }, -1},
        {"one body: deleted body", [&] { return HM_VD_MOTION_create_link_with_single_body("K", gone_, &link); }, HM_ERR_INVALID_TAG},
        {"one body: a line", [&] { return HM_VD_MOTION_create_link_with_single_body("K", line_, &link); }, HM_ERR_WRONG_TYPE},
        {"bodies: count -1", [&] { return HM_VD_MOTION_create_link_with_multi_body("K", bodies, -1, &link); }, -1},
        {"bodies: count INT_MAX", [&] { return HM_VD_MOTION_create_link_with_multi_body("K", bodies, INT_MAX, &link); }, -1},
        {"bodies: a deleted body", [&] { return HM_VD_MOTION_create_link_with_multi_body("K", with_dead + 1, 1, &link); }, HM_ERR_INVALID_TAG},
        {"centre of gravity: NaN point", [&] { return HM_VD_MOTION_set_cog(&link_, nan_p); }, HM_ERR_BAD_ARGUMENT},
        {"centre of gravity: deleted link", [&] { return HM_VD_MOTION_set_cog(&dead_link, cog); }, HM_ERR_INVALID_TAG},
        {"weight: NaN", [&] { return HM_VD_MOTION_set_weight(&link_, kNaN); }, HM_ERR_BAD_ARGUMENT},
        {"weight: infinite", [&] { return HM_VD_MOTION_set_weight(&link_, kInf); }, HM_ERR_BAD_ARGUMENT},
        {"inertias: NaN value", [&] { return HM_VD_MOTION_set_inertias(&link_, nan_inertias, cog, &orientation); }, HM_ERR_BAD_ARGUMENT},
        {"inertias: NaN location", [&] { return HM_VD_MOTION_set_inertias(&link_, inertias, nan_p, &orientation); }, HM_ERR_BAD_ARGUMENT},
        {"mass info: null output", [&] { return HM_VD_MOTION_info_link_mass_prop(link_, nullptr); }, -1},
        {"mass info: deleted link", [&] { return HM_VD_MOTION_info_link_mass_prop(gone_, &info); }, HM_ERR_INVALID_TAG},
        {"cycle: null type", [&] { return HM_VD_MOTION_cycle_obj(&link, nullptr); }, -1},
    };
    ExpectAllRefused(cases);
    for (double v : mirror) EXPECT_EQ(v, -7.0) << "a refused mirror writes no point";
    // A normal of 1e300 names the same plane as a unit one.
    ASSERT_EQ(HM_VD_mirror_point_through_plane(p, q, huge_n, mirror), 0);
    EXPECT_EQ(mirror[0], 10.0);
    EXPECT_EQ(mirror[1], -20.0);
    EXPECT_EQ(mirror[2], 30.0);
    EXPECT_EQ(HM_OBJ_ask_status(line_), HM_OBJ_ALIVE);
    EXPECT_EQ(HM_OBJ_ask_status(link_), HM_OBJ_ALIVE);
    mot_link_mass_info_s kept{};
    ASSERT_EQ(HM_VD_MOTION_info_link_mass_prop(link_, &kept), 0);
    EXPECT_TRUE(std::isfinite(kept.mass)) << "the link keeps a finite mass";
}

TEST_F(SuspensionHostileInputTest, JointsForcesAndInputsRefuseAxesAndNumbersThatNameNoDirection) {
    double d[3] = {0, 0, 1}, d2[3] = {0, 1, 0}, o[3] = {0, 0, 0}, zero[3] = {0, 0, 0};
    double nan3[3] = {kNaN, 0, 0}, inf3[3] = {0, kInf, 0}, huge3[3] = {1e300, 0, 1e300};
    tag_t joint = 99, spring = 99, damper = 99, force = 99;
    unsigned int pair[2] = {link_, 0};
    double values[4] = {1, 2, 3, 4}, nan_values[4] = {1, kNaN, 3, 4};
    auto joint_with = [&](int code, tag_t a, tag_t b, double* d1, double* dd2, double* origin) {
        return HM_VD_MOTION_create_joint("JX", code, a, b, 0.0, d1, dd2, origin, &joint);
    };
    const std::vector<Hostile> cases = {
        {"joint: null name", [&] { return HM_VD_MOTION_create_joint(nullptr, 5, link_, 0, 0.0, d, d, o, &joint); }, -1},
        {"joint: null origin", [&] { return joint_with(5, link_, 0, d, d, nullptr); }, -1},
        {"joint: zero axis", [&] { return joint_with(5, link_, 0, zero, zero, o); }, -1},
        {"joint: NaN axis", [&] { return joint_with(5, link_, 0, nan3, d, o); }, -1},
        {"joint: infinite second axis", [&] { return joint_with(13, link_, 0, d, inf3, o); }, -1},
        {"joint: axis of 1e300", [&] { return joint_with(5, link_, 0, huge3, d, o); }, -1},
        {"joint: NaN origin", [&] { return joint_with(5, link_, 0, d, d, nan3); }, -1},
        {"joint: universal with a zero second axis", [&] { return joint_with(11, link_, 0, d, zero, o); }, -1},
        {"joint: deleted link", [&] { return joint_with(5, gone_, 0, d, d2, o); }, HM_ERR_WRONG_TYPE},
        {"joint: a line for a link", [&] { return joint_with(5, line_, 0, d, d2, o); }, HM_ERR_WRONG_TYPE},
        {"spring: NaN stiffness", [&] { return HM_VD_MOTION_create_spring("S", 1, 0, kNaN, 0, o, d, 0, pair, &spring); }, HM_ERR_BAD_ARGUMENT},
        {"spring: infinite point", [&] { return HM_VD_MOTION_create_spring("S", 1, 0, 10, 0, inf3, d, 0, pair, &spring); }, HM_ERR_BAD_ARGUMENT},
        {"spring: null pair", [&] { return HM_VD_MOTION_create_spring("S", 1, 0, 10, 0, o, d, 0, nullptr, &spring); }, -1},
        {"damper: NaN coefficient", [&] { return HM_VD_MOTION_create_damper("D", 1, 0, kNaN, o, d, 0, pair, &damper); }, HM_ERR_BAD_ARGUMENT},
        {"damper: NaN point", [&] { return HM_VD_MOTION_create_damper("D", 1, 0, 5, nan3, d, 0, pair, &damper); }, HM_ERR_BAD_ARGUMENT},
        {"force: NaN magnitude", [&] { return HM_VD_MOTION_create_external_force_mag(link_, 0, o, d, kNaN, &force); }, -1},
        {"force: infinite magnitude", [&] { return HM_VD_MOTION_create_external_force_mag(link_, 0, o, d, kInf, &force); }, -1},
        {"force: zero direction", [&] { return HM_VD_MOTION_create_external_force_mag(link_, 0, o, zero, 10, &force); }, -1},
        {"force: NaN origin", [&] { return HM_VD_MOTION_create_external_force_mag(link_, 0, nan3, d, 10, &force); }, -1},
        {"input: count -1", [&] { return HM_VD_MOTION_create_motion_input(joint_, 3, "", values, -1); }, -1},
        {"input: count INT_MAX without values", [&] { return HM_VD_MOTION_create_motion_input(joint_, 4, "", nullptr, INT_MAX); }, -1},
        {"input: a NaN value", [&] { return HM_VD_MOTION_create_motion_input(joint_, 4, "", nan_values, 4); }, HM_ERR_BAD_ARGUMENT},
        {"input: constant of infinities", [&] { return HM_VD_MOTION_create_motion_input_constant(joint_, kInf, 0, 0); }, HM_ERR_BAD_ARGUMENT},
        {"input: harmonic with NaN", [&] { return HM_VD_MOTION_create_motion_input_harmonic(joint_, 0, kNaN, 0, 0); }, HM_ERR_BAD_ARGUMENT},
        {"input: function without text", [&] { return HM_VD_MOTION_create_motion_input_general(joint_, nullptr); }, -1},
        {"input: deleted joint", [&] { return HM_VD_MOTION_create_motion_input_constant(gone_, 1, 2, 3); }, HM_ERR_INVALID_TAG},
        {"input: a link for a joint", [&] { return HM_VD_MOTION_create_motion_input_constant(link_, 1, 2, 3); }, HM_ERR_WRONG_TYPE},
        {"scenario: null name", [&] { tag_t s = 0; return HM_VD_MOTION_create_scenario(nullptr, &s); }, -1},
        {"scenario: null output", [&] { return HM_VD_MOTION_create_scenario_nosave(const_cast<char*>("S"), nullptr); }, -1},
        {"scenario exists: null answer", [&] { return HM_VD_MOTION_is_scenario_exist("S", nullptr); }, -1},
        {"scenario folder: part 0", [&] { return HM_VD_MOTION_remove_scenario_folder(0); }, -1},
        {"scenario folder: deleted part", [&] { return HM_VD_MOTION_remove_scenario_folder(gone_); }, -1},
        {"drivers: null count", [&] { tag_t* j = nullptr; return HM_VD_MOTION_ask_articulation_drive_joints(nullptr, &j); }, -1},
    };
    ExpectAllRefused(cases);
    EXPECT_EQ(joint, 99u);
    HM_MOTION_joint_motion_input_t input;
    ASSERT_EQ(HM_MOTION_ask_joint_motion_input(joint_, &input), 0);
    EXPECT_EQ(input.type, HM_MOTION_INPUT_NONE) << "no refused input was set";
}

TEST_F(SuspensionHostileInputTest, TemplatesRefuseRecordsThatCannotBeBuilt) {
    auto fla = std::make_unique<sFiveLinkAxle_Suspension>();
    auto mac = std::make_unique<sMacpherson_Suspension>();
    auto sla = std::make_unique<sla_suspension_s>();
    ASSERT_EQ(HM_VD_FLA_SUSP_initial(fla.get()), 0);
    ASSERT_EQ(HM_VD_MAC_SUSP_initial(mac.get()), 0);
    ASSERT_EQ(HM_VD_SLA_SUSP_initial(sla.get()), 0);
    // A bar given as one SM_alloc'd component, with a count raised past it.
    tag_t* bar = static_cast<tag_t*>(SM_alloc(sizeof(tag_t)));
    bar[0] = line_;
    tag_t stack_bar[1] = {line_};
    auto mac_with = [&](tag_t* first, int first_count, tag_t* mirror, int mirror_count) {
        mac->has_stabilizer = true;
        mac->stab_components = first;
        mac->stab_components_count = first_count;
        mac->stab_components_mirror = mirror;
        mac->stab_components_mirror_count = mirror_count;
        const int status = HM_VD_MAC_SUSP_build_motion(mac.get());
        EXPECT_EQ(mac->stab_components, first) << "a refused record keeps the caller's arrays";
        EXPECT_EQ(mac->mechanism, 0u) << "no mechanism built";
        return status;
    };
    auto sla_with = [&](tag_t* components, int count) {
        sla->has_stabilizer = true;
        sla->stab_components = components;
        sla->stab_component_count = count;
        return HM_VD_SLA_SUSP_build_motion(sla.get());
    };
    char name[64];
    auto nth = [&](void (*ask)(int, char*), int n) {
        std::memset(name, 'x', sizeof name);
        ask(n, name);
        return static_cast<int>(std::strlen(name));
    };
    const std::vector<Hostile> cases = {
        {"five-link: null record (initial)", [&] { return HM_VD_FLA_SUSP_initial(nullptr); }, -1},
        {"five-link: null record (structure)", [&] { return HM_VD_FLA_SUSP_build_structure(nullptr); }, -1},
        {"five-link: null record (motion)", [&] { return HM_VD_FLA_SUSP_build_motion(nullptr); }, -1},
        {"five-link: null record (delete)", [&] { return HM_VD_FLA_SUSP_delete_structure(nullptr); }, -1},
        {"five-link: NaN hard point",
         [&] {
             fla->points[0][1] = kNaN;
             const int status = HM_VD_FLA_SUSP_build_structure(fla.get());
             fla->points[0][1] = 0.0;
             return status;
         },
         -1},
        {"five-link: name -1", [&] { return nth(HM_VD_FLA_SUSP_ask_nth_name, -1); }, 0},
        {"five-link: name INT_MAX", [&] { return nth(HM_VD_FLA_SUSP_ask_nth_name, INT_MAX); }, 0},
        {"five-link: link name -1", [&] { return nth(HM_VD_FLA_SUSP_ask_nth_linkname, -1); }, 0},
        {"five-link: joint name INT_MAX", [&] { return nth(HM_VD_FLA_SUSP_ask_nth_jointname, INT_MAX); }, 0},
        {"five-link: null answer", [&] { return HM_VD_is_fla_template(nullptr); }, -1},
        {"MacPherson: null record (initial)", [&] { return HM_VD_MAC_SUSP_initial(nullptr); }, -1},
        {"MacPherson: null record (motion)", [&] { return HM_VD_MAC_SUSP_build_motion(nullptr); }, -1},
        {"MacPherson: null record (structure)", [&] { return HM_VD_MAC_SUSP_build_structure(nullptr); }, -1},
        {"MacPherson: null record (delete)", [&] { return HM_VD_MAC_SUSP_delete_structure(nullptr); }, -1},
        {"MacPherson: name -1", [&] { return nth(HM_VD_MAC_SUSP_ask_nth_name, -1); }, 0},
        {"MacPherson: NaN hard point",
         [&] {
             mac->points[0][2] = kNaN;
             const int status = HM_VD_MAC_SUSP_build_structure(mac.get());
             mac->points[0][2] = 0.0;
             return status;
         },
         -1},
        {"MacPherson: stabilizer count INT_MAX over one component", [&] { return mac_with(bar, INT_MAX, nullptr, 0); }, -1},
        {"MacPherson: stabilizer count 2 over one component", [&] { return mac_with(bar, 2, nullptr, 0); }, -1},
        {"MacPherson: stabilizer count -1", [&] { return mac_with(bar, -1, nullptr, 0); }, -1},
        {"MacPherson: stabilizer count without an array", [&] { return mac_with(nullptr, 1, nullptr, 0); }, -1},
        {"MacPherson: mirrored count INT_MAX", [&] { return mac_with(bar, 1, stack_bar, INT_MAX); }, -1},
        {"MacPherson: one array for both sides", [&] { return mac_with(bar, 1, bar, 1); }, -1},
        {"short-long arm: null record (initial)", [&] { return HM_VD_SLA_SUSP_initial(nullptr); }, -1},
        {"short-long arm: null record (structure)", [&] { return HM_VD_SLA_SUSP_build_structure(nullptr); }, -1},
        {"short-long arm: null record (motion)", [&] { return HM_VD_SLA_SUSP_build_motion(nullptr); }, -1},
        {"short-long arm: null record (delete)", [&] { return HM_VD_SLA_SUSP_delete_structure(nullptr); }, -1},
        {"short-long arm: name INT_MAX", [&] { return nth(HM_VD_SLA_SUSP_ask_nth_name, INT_MAX); }, 0},
        {"short-long arm: infinite hard point",
         [&] {
             sla->points[3][0] = kInf;
             const int status = HM_VD_SLA_SUSP_build_structure(sla.get());
             sla->points[3][0] = 0.0;
             return status;
         },
         -1},
        {"short-long arm: stabilizer count INT_MAX over one component", [&] { return sla_with(bar, INT_MAX); }, -1},
        {"short-long arm: stabilizer count INT_MAX over the caller's array", [&] { return sla_with(stack_bar, INT_MAX); }, -1},
        {"short-long arm: stabilizer count 2 over one component", [&] { return sla_with(bar, 2); }, -1},
        {"short-long arm: stabilizer count -1", [&] { return sla_with(bar, -1); }, -1},
    };
    support::expect_all_refused(cases);
    SM_free(bar);   // the caller's still: no refused call freed it
    ExpectNoLeaks();
}
