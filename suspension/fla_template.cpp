// The five-link-axle template: the record's preparation, the named hard
// points with their mirrors and the lines between them, the mechanism of
// 15 links and 23 joints with the two shocks as articulation drivers, the
// deletion by name, and the name enquiries.
#include "fla_tables.h"
#include "template_common.h"

#include "hm_vd_fla_susp.h"
#include "hm_vd_motion.h"
#include "tessik.h"

#include <vector>

namespace sus = carvell::suspension;
using sus::kFlaNames;

namespace {

constexpr const char* kMechanismName = "FIVE-LINK_AXLE_SUSP_MECH";
constexpr int kPairs = FLA_SUSP_POINT_COUNT / 2;

// Motion input kind of the shocks: harmonic, all values 0.
constexpr int kHarmonicInput = 4;

// Joint codes the template uses (host types: 3 revolute, 5 cylindrical, 12
// universal, 13 spherical).
constexpr int kRevoluteCode = 3;
constexpr int kCylindricalCode = 5;
constexpr int kUniversalCode = 12;
constexpr int kSphericalCode = 13;

/* ---- structure ---- */

bool mirrored_at_build(const sFiveLinkAxle_Suspension& s, int mirror) {
    if (mirror == FLA_LOWER_BUMP_CENTER_MIRROR || mirror == FLA_UPPER_BUMP_CENTER_MIRROR) return s.mirror_bump_stops;
    if (mirror == FLA_OPPOSITE_TRACK_INNER) return s.mirror_opposite_track;
    return true;
}

// Points in record order, each followed by its mirror.
int build_points(sFiveLinkAxle_Suspension& s) {
    std::vector<sus::PointPair> pairs;
    for (int pair = 0; pair < kPairs; ++pair) {
        const int point = 2 * pair, mirror = point + 1;
        pairs.push_back({sus::fla_point_name(point), sus::fla_point_name(mirror), s.points[point], s.points[mirror],
                         mirrored_at_build(s, mirror)});
    }
    return sus::build_point_pairs(pairs, s.plane_origin, s.plane_normal);
}

void build_lines(const sFiveLinkAxle_Suspension& s) {
    const auto& p = s.points;
    double uca_mid[3], wheel_mid[3], shock_mid[3], shock_mid_m[3], bump_mid[3], bump_mid_m[3];
    sus::midpoint(p[FLA_UCA_REAR_BUSHING], p[FLA_UCA_REAR_BUSHING_MIRROR], uca_mid);
    sus::midpoint(p[FLA_WHEEL_CENTER], p[FLA_WHEEL_CENTER_MIRROR], wheel_mid);
    sus::midpoint(p[FLA_LOWER_SHOCK_CENTER], p[FLA_UPPER_SHOCK_CENTER], shock_mid);
    sus::midpoint(p[FLA_LOWER_SHOCK_CENTER_MIRROR], p[FLA_UPPER_SHOCK_CENTER_MIRROR], shock_mid_m);
    sus::midpoint(p[FLA_LOWER_BUMP_CENTER], p[FLA_UPPER_BUMP_CENTER], bump_mid);
    sus::midpoint(p[FLA_LOWER_BUMP_CENTER_MIRROR], p[FLA_UPPER_BUMP_CENTER_MIRROR], bump_mid_m);
    sus::build_lines({
        {"FLA_SUSP_LCA", p[FLA_LCA_FRONT_BUSHING], p[FLA_LCA_REAR_BUSHING]},
        {"FLA_SUSP_LCA_MIRROR", p[FLA_LCA_FRONT_BUSHING_MIRROR], p[FLA_LCA_REAR_BUSHING_MIRROR]},
        {"FLA_SUSP_AXLE_1", p[FLA_WHEEL_CENTER], p[FLA_WHEEL_CENTER_MIRROR]},
        {"FLA_SUSP_AXLE_2", uca_mid, wheel_mid},
        {"FLA_SUSP_UCA_CENTER", p[FLA_UCA_REAR_BUSHING], p[FLA_UCA_REAR_BUSHING_MIRROR]},
        {"FLA_SUSP_UCA", p[FLA_UCA_FRONT_BUSHING], p[FLA_UCA_REAR_BUSHING]},
        {"FLA_SUSP_UCA_MIRROR", p[FLA_UCA_FRONT_BUSHING_MIRROR], p[FLA_UCA_REAR_BUSHING_MIRROR]},
        {"FLA_SUSP_LOWER_SHK", p[FLA_LOWER_SHOCK_CENTER], shock_mid},
        {"FLA_SUSP_LOWER_SHK_MIRROR", p[FLA_LOWER_SHOCK_CENTER_MIRROR], shock_mid_m},
        {"FLA_SUSP_UPPER_SHK", shock_mid, p[FLA_UPPER_SHOCK_CENTER]},
        {"FLA_SUSP_UPPER_SHK_MIRROR", shock_mid_m, p[FLA_UPPER_SHOCK_CENTER_MIRROR]},
        {"FLA_SUSP_TRACK", p[FLA_TRACK_INNER], p[FLA_OPPOSITE_TRACK_INNER]},
        {"FLA_SUSP_LOWER_BMP", p[FLA_LOWER_BUMP_CENTER], bump_mid},
        {"FLA_SUSP_UPPER_BMP", bump_mid, p[FLA_UPPER_BUMP_CENTER]},
        {"FLA_SUSP_LOWER_BMP_MIRROR", p[FLA_LOWER_BUMP_CENTER_MIRROR], bump_mid_m},
        {"FLA_SUSP_UPPER_BMP_MIRROR", bump_mid_m, p[FLA_UPPER_BUMP_CENTER_MIRROR]},
    });
}

/* ---- motion ---- */

const std::vector<sus::LinkSpec> kLinks = {
    {FLA_LINK_LCA_L, "LCA_L", {"FLA_SUSP_LCA"}},
    {FLA_LINK_LCA_R, "LCA_R", {"FLA_SUSP_LCA_MIRROR"}},
    {FLA_LINK_AXLE, "axle", {"FLA_SUSP_AXLE_1", "FLA_SUSP_AXLE_2"}},
    {FLA_LINK_UCA_C, "UCA_C", {"FLA_SUSP_UCA_CENTER"}},
    {FLA_LINK_UCA_L, "UCA_L", {"FLA_SUSP_UCA"}},
    {FLA_LINK_UCA_R, "UCA_R", {"FLA_SUSP_UCA_MIRROR"}},
    {FLA_LINK_SHOCK_L_L, "shock_L_L", {"FLA_SUSP_LOWER_SHK"}},
    {FLA_LINK_SHOCK_L_R, "shock_L_R", {"FLA_SUSP_LOWER_SHK_MIRROR"}},
    {FLA_LINK_SHOCK_U_L, "shock_U_L", {"FLA_SUSP_UPPER_SHK"}},
    {FLA_LINK_SHOCK_U_R, "shock_U_R", {"FLA_SUSP_UPPER_SHK_MIRROR"}},
    {FLA_LINK_TRACK, "track", {"FLA_SUSP_TRACK"}},
    {FLA_LINK_JBMPL_L, "JbmpL_L", {"FLA_SUSP_LOWER_BMP"}},
    {FLA_LINK_JBMP_L_R, "Jbmp_L_R", {"FLA_SUSP_LOWER_BMP_MIRROR"}},
    {FLA_LINK_JBMPU_L, "JbmpU_L", {"FLA_SUSP_UPPER_BMP"}},
    {FLA_LINK_JBMP_U_R, "Jbmp_U_R", {"FLA_SUSP_UPPER_BMP_MIRROR"}},
};

// The joints of the table, their directions and origins worked out from the record.
std::vector<sus::JointSpec> joint_specs(const sFiveLinkAxle_Suspension& s) {
    const auto& p = s.points;
    double uca_mid[3], wheel_mid[3], shock_mid[3], shock_mid_m[3], bump_mid[3], bump_mid_m[3];
    sus::midpoint(p[FLA_UCA_REAR_BUSHING], p[FLA_UCA_REAR_BUSHING_MIRROR], uca_mid);
    sus::midpoint(p[FLA_WHEEL_CENTER], p[FLA_WHEEL_CENTER_MIRROR], wheel_mid);
    sus::midpoint(p[FLA_LOWER_SHOCK_CENTER], p[FLA_UPPER_SHOCK_CENTER], shock_mid);
    sus::midpoint(p[FLA_LOWER_SHOCK_CENTER_MIRROR], p[FLA_UPPER_SHOCK_CENTER_MIRROR], shock_mid_m);
    sus::midpoint(p[FLA_LOWER_BUMP_CENTER], p[FLA_UPPER_BUMP_CENTER], bump_mid);
    sus::midpoint(p[FLA_LOWER_BUMP_CENTER_MIRROR], p[FLA_UPPER_BUMP_CENTER_MIRROR], bump_mid_m);
    constexpr int G = sus::kGround;
    using sus::Sense;
    return {
        sus::joint_along(FLA_J002, "J002", kUniversalCode, FLA_LINK_LCA_L, G, p[FLA_LCA_FRONT_BUSHING],
                         p[FLA_LCA_REAR_BUSHING], Sense::opposite, p[FLA_LCA_FRONT_BUSHING]),
        sus::joint_along(FLA_J023, "J023", kUniversalCode, FLA_LINK_LCA_R, G, p[FLA_LCA_FRONT_BUSHING_MIRROR],
                         p[FLA_LCA_REAR_BUSHING_MIRROR], Sense::opposite, p[FLA_LCA_FRONT_BUSHING_MIRROR]),
        sus::joint_on_z(FLA_J003, "J003", kSphericalCode, FLA_LINK_LCA_L, FLA_LINK_AXLE, p[FLA_LCA_REAR_BUSHING]),
        sus::joint_on_z(FLA_J024, "J024", kSphericalCode, FLA_LINK_LCA_R, FLA_LINK_AXLE,
                        p[FLA_LCA_REAR_BUSHING_MIRROR]),
        sus::joint_along(FLA_J009, "J009", kUniversalCode, FLA_LINK_UCA_L, G, p[FLA_UCA_FRONT_BUSHING],
                         p[FLA_UCA_REAR_BUSHING], Sense::opposite, p[FLA_UCA_FRONT_BUSHING]),
        sus::joint_along(FLA_J011, "J011", kUniversalCode, FLA_LINK_UCA_R, G, p[FLA_UCA_FRONT_BUSHING_MIRROR],
                         p[FLA_UCA_REAR_BUSHING_MIRROR], Sense::opposite, p[FLA_UCA_FRONT_BUSHING_MIRROR]),
        sus::joint_on_z(FLA_J010, "J010", kSphericalCode, FLA_LINK_UCA_L, FLA_LINK_UCA_C, p[FLA_UCA_REAR_BUSHING]),
        sus::joint_on_z(FLA_J012, "J012", kSphericalCode, FLA_LINK_UCA_R, FLA_LINK_UCA_C,
                        p[FLA_UCA_REAR_BUSHING_MIRROR]),
        sus::joint_along(FLA_J025, "J025", kRevoluteCode, FLA_LINK_UCA_C, FLA_LINK_AXLE, uca_mid, wheel_mid,
                         Sense::same, uca_mid),
        sus::joint_on_z(FLA_J032, "J032", kSphericalCode, FLA_LINK_SHOCK_L_L, FLA_LINK_AXLE, p[FLA_LOWER_SHOCK_CENTER]),
        sus::joint_on_z(FLA_J022, "J022", kSphericalCode, FLA_LINK_SHOCK_L_R, FLA_LINK_AXLE,
                        p[FLA_LOWER_SHOCK_CENTER_MIRROR]),
        sus::joint_along(FLA_J033, "J033", kUniversalCode, FLA_LINK_SHOCK_U_L, G, p[FLA_UPPER_SHOCK_CENTER],
                         p[FLA_LOWER_SHOCK_CENTER], Sense::opposite, p[FLA_UPPER_SHOCK_CENTER]),
        sus::joint_along(FLA_J020, "J020", kUniversalCode, FLA_LINK_SHOCK_U_R, G, p[FLA_UPPER_SHOCK_CENTER_MIRROR],
                         p[FLA_LOWER_SHOCK_CENTER_MIRROR], Sense::opposite, p[FLA_UPPER_SHOCK_CENTER_MIRROR]),
        sus::joint_along(FLA_L_SHOCK, "L_SHOCK", kCylindricalCode, FLA_LINK_SHOCK_L_L, FLA_LINK_SHOCK_U_L,
                         p[FLA_LOWER_SHOCK_CENTER], p[FLA_UPPER_SHOCK_CENTER], Sense::same, shock_mid),
        sus::joint_along(FLA_R_SHOCK, "R_SHOCK", kCylindricalCode, FLA_LINK_SHOCK_L_R, FLA_LINK_SHOCK_U_R,
                         p[FLA_LOWER_SHOCK_CENTER_MIRROR], p[FLA_UPPER_SHOCK_CENTER_MIRROR], Sense::same, shock_mid_m),
        sus::joint_on_z(FLA_J030, "J030", kSphericalCode, FLA_LINK_JBMPL_L, FLA_LINK_AXLE, p[FLA_LOWER_BUMP_CENTER]),
        sus::joint_on_z(FLA_J028, "J028", kSphericalCode, FLA_LINK_JBMP_L_R, FLA_LINK_AXLE,
                        p[FLA_LOWER_BUMP_CENTER_MIRROR]),
        sus::joint_along(FLA_J031, "J031", kUniversalCode, FLA_LINK_JBMPU_L, G, p[FLA_UPPER_BUMP_CENTER],
                         p[FLA_LOWER_BUMP_CENTER], Sense::opposite, p[FLA_UPPER_BUMP_CENTER]),
        sus::joint_along(FLA_J029, "J029", kUniversalCode, FLA_LINK_JBMP_U_R, G, p[FLA_UPPER_BUMP_CENTER_MIRROR],
                         p[FLA_LOWER_BUMP_CENTER_MIRROR], Sense::opposite, p[FLA_UPPER_BUMP_CENTER_MIRROR]),
        sus::joint_along(FLA_L_BUMPER, "L_BUMPER", kCylindricalCode, FLA_LINK_JBMPL_L, FLA_LINK_JBMPU_L,
                         p[FLA_LOWER_BUMP_CENTER], p[FLA_UPPER_BUMP_CENTER], Sense::same, bump_mid),
        sus::joint_along(FLA_R_BUMPER, "R_BUMPER", kCylindricalCode, FLA_LINK_JBMP_L_R, FLA_LINK_JBMP_U_R,
                         p[FLA_LOWER_BUMP_CENTER_MIRROR], p[FLA_UPPER_BUMP_CENTER_MIRROR], Sense::same, bump_mid_m),
        sus::joint_on_z(FLA_J014, "J014", kSphericalCode, FLA_LINK_TRACK, FLA_LINK_AXLE, p[FLA_TRACK_INNER]),
        sus::joint_along(FLA_J015, "J015", kUniversalCode, FLA_LINK_TRACK, G, p[FLA_OPPOSITE_TRACK_INNER],
                         p[FLA_TRACK_INNER], Sense::opposite, p[FLA_OPPOSITE_TRACK_INNER]),
    };
}

bool is_shock(int slot) { return slot == FLA_L_SHOCK || slot == FLA_R_SHOCK; }

int build_joints(sFiveLinkAxle_Suspension& s) {
    return sus::build_joints(joint_specs(s), s.links, s.joints, [](int slot, tag_t joint) {
        if (!is_shock(slot)) return;
        double zeros[4] = {0, 0, 0, 0};
        (void)HM_VD_MOTION_create_motion_input(joint, kHarmonicInput, "", zeros, 4);
    });
}

}  // namespace

/* ---- name enquiries ---- */

int HM_VD_FLA_SUSP_ask_num_of_names() { return FLA_SUSP_NAME_SLOTS; }

void HM_VD_FLA_SUSP_ask_nth_name(int n, char* name) {
    if (!name) return;
    sus::copy_table_name(sus::table_slot(kFlaNames, FLA_SUSP_NAME_SLOTS, n), name, FLA_SUSP_NAME_SIZE);
}

void HM_VD_FLA_SUSP_ask_nth_linkname(int n, char* name) {
    if (!name) return;
    sus::copy_table_name(sus::table_slot(sus::kFlaLinkNames, FLA_SUSP_LINK_COUNT, n), name, FLA_SUSP_NAME_SIZE);
}

void HM_VD_FLA_SUSP_ask_nth_jointname(int n, char* name) {
    if (!name) return;
    sus::copy_table_name(sus::table_slot(sus::kFlaJointNames, FLA_SUSP_JOINT_COUNT, n), name, FLA_SUSP_NAME_SIZE);
}

const char* const* HM_VD_FLA_SUSP_ask_links_name() { return sus::kFlaLinkNames; }

const char* const* HM_VD_FLA_SUSP_ask_joints_name() { return sus::kFlaJointNames; }

/* ---- the template ---- */

int HM_VD_FLA_SUSP_initial(sFiveLinkAxle_Suspension* susp) {
    if (!susp) return sus::kBadInput;
    for (int pair = 0; pair < kPairs; ++pair)
        for (double& x : susp->points[2 * pair]) x = 0.0;
    double matrix[9];
    (void)VD_get_csys(susp->plane_origin, matrix);
    for (int i = 0; i < 3; ++i) susp->plane_normal[i] = matrix[3 + i];
    for (int pair = 0; pair < kPairs; ++pair)
        (void)HM_VD_mirror_point_through_plane(susp->points[2 * pair], susp->plane_origin, susp->plane_normal,
                                               susp->points[2 * pair + 1]);
    susp->mirror_opposite_track = false;
    susp->mirror_bump_stops = false;
    susp->mechanism = 0;
    for (tag_t& t : susp->links) t = 0;
    for (tag_t& t : susp->joints) t = 0;
    return sus::kOk;
}

int HM_VD_FLA_SUSP_build_structure(sFiveLinkAxle_Suspension* susp) {
    return sus::in_session(susp, [](sFiveLinkAxle_Suspension& s) {
        if (!sus::record_finite(s)) return int{sus::kBadInput};
        if (int status = build_points(s)) return status;
        build_lines(s);
        return int{sus::kOk};
    });
}

int HM_VD_FLA_SUSP_build_motion(sFiveLinkAxle_Suspension* susp) {
    return sus::in_session(susp, [](sFiveLinkAxle_Suspension& s) {
        (void)HM_VD_build_mechanism(kMechanismName, &s.mechanism);
        if (int status = sus::build_links(kLinks, s.links)) return status;
        if (int status = build_joints(s)) return status;
        sus::set_articulation_drivers({s.joints[FLA_L_SHOCK], s.joints[FLA_R_SHOCK]});
        return int{sus::kOk};
    });
}

int HM_VD_FLA_SUSP_delete_structure(sFiveLinkAxle_Suspension* susp) {
    return sus::in_session(susp, [](sFiveLinkAxle_Suspension&) {
        sus::delete_first_of_each_name(kFlaNames, FLA_SUSP_NAME_SLOTS);
        return int{sus::kOk};
    });
}
