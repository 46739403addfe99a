// The five-link-axle template: the record's preparation, the named hard
// points with their mirrors and the lines between them, the mechanism of
// 15 links and 23 joints with the two shocks as articulation drivers, the
// deletion by name, and the name enquiries.
#include "fla_tables.h"
#include "suspension_motion.h"

#include "hm_vd_fla_susp.h"
#include "hm_vd_motion.h"
#include "morvish.h"
#include "omvra.h"
#include "tessik.h"
#include "tolvric.h"

#include <cstdio>
#include <cstring>
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

void copy_name(const char* from, char* to) { std::snprintf(to, FLA_SUSP_NAME_SIZE, "%s", from); }

/* ---- structure ---- */

bool mirrored_at_build(const sFiveLinkAxle_Suspension& s, int pair) {
    const int mirror = 2 * pair + 1;
    if (mirror == FLA_LOWER_BUMP_CENTER_MIRROR || mirror == FLA_UPPER_BUMP_CENTER_MIRROR) return s.mirror_bump_stops;
    if (mirror == FLA_OPPOSITE_TRACK_INNER) return s.mirror_opposite_track;
    return true;
}

// Points in record order, each followed by its mirror; the first failing
// build ends the building (the mirroring goes on).
int build_points(sFiveLinkAxle_Suspension& s) {
    int status = sus::kOk;
    for (int pair = 0; pair < kPairs; ++pair) {
        const int point = 2 * pair, mirror = point + 1;
        if (status == sus::kOk) status = HM_VD_build_point(sus::fla_point_name(point), s.points[point]);
        if (mirrored_at_build(s, pair))
            (void)HM_VD_mirror_point_through_plane(s.points[point], s.plane_origin, s.plane_normal, s.points[mirror]);
        if (status == sus::kOk) status = HM_VD_build_point(sus::fla_point_name(mirror), s.points[mirror]);
    }
    return status;
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
    struct Line {
        const char* name;
        const double* from;
        const double* to;
    };
    const Line lines[] = {
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
    };
    for (const Line& line : lines) (void)HM_VD_build_line(line.name, line.from, line.to);
}

/* ---- motion ---- */

struct LinkSpec {
    int slot;                  // fla_susp_link
    const char* name;
    const char* lines[2];      // second may be null
};
const LinkSpec kLinks[] = {
    {FLA_LINK_LCA_L, "LCA_L", {"FLA_SUSP_LCA", nullptr}},
    {FLA_LINK_LCA_R, "LCA_R", {"FLA_SUSP_LCA_MIRROR", nullptr}},
    {FLA_LINK_AXLE, "axle", {"FLA_SUSP_AXLE_1", "FLA_SUSP_AXLE_2"}},
    {FLA_LINK_UCA_C, "UCA_C", {"FLA_SUSP_UCA_CENTER", nullptr}},
    {FLA_LINK_UCA_L, "UCA_L", {"FLA_SUSP_UCA", nullptr}},
    {FLA_LINK_UCA_R, "UCA_R", {"FLA_SUSP_UCA_MIRROR", nullptr}},
    {FLA_LINK_SHOCK_L_L, "shock_L_L", {"FLA_SUSP_LOWER_SHK", nullptr}},
    {FLA_LINK_SHOCK_L_R, "shock_L_R", {"FLA_SUSP_LOWER_SHK_MIRROR", nullptr}},
    {FLA_LINK_SHOCK_U_L, "shock_U_L", {"FLA_SUSP_UPPER_SHK", nullptr}},
    {FLA_LINK_SHOCK_U_R, "shock_U_R", {"FLA_SUSP_UPPER_SHK_MIRROR", nullptr}},
    {FLA_LINK_TRACK, "track", {"FLA_SUSP_TRACK", nullptr}},
    {FLA_LINK_JBMPL_L, "JbmpL_L", {"FLA_SUSP_LOWER_BMP", nullptr}},
    {FLA_LINK_JBMP_L_R, "Jbmp_L_R", {"FLA_SUSP_LOWER_BMP_MIRROR", nullptr}},
    {FLA_LINK_JBMPU_L, "JbmpU_L", {"FLA_SUSP_UPPER_BMP", nullptr}},
    {FLA_LINK_JBMP_U_R, "Jbmp_U_R", {"FLA_SUSP_UPPER_BMP_MIRROR", nullptr}},
};

// Each link from the first object of each of its lines' names. A search
// failure gives its code, a missing line -1, a refused link its code: the
// building stops there, so that no joint is made to a link that is not.
int build_links(sFiveLinkAxle_Suspension& s) {
    for (const LinkSpec& spec : kLinks) {
        std::vector<tag_t> geometry;
        for (const char* line : spec.lines) {
            if (!line) continue;
            tag_t found = 0;
            if (int status = HM_OBJ_cycle_by_name(line, &found)) return status;
            if (!found) return sus::kBadInput;
            geometry.push_back(found);
        }
        tag_t link = 0;
        const int status = HM_VD_build_link(spec.name, geometry.data(), static_cast<int>(geometry.size()), &link);
        s.links[spec.slot] = link;
        if (status != sus::kOk) return status;
    }
    return sus::kOk;
}

// A joint of the table, its directions and origin worked out from the record.
struct JointSpec {
    int slot;   // fla_susp_joint
    const char* name;
    int code;
    int first_link;    // fla_susp_link
    int second_link;   // fla_susp_link, or -1 for ground
    double first[3];
    double second[3];
    double origin[3];
};

void set3(double* to, const double* from) { std::memcpy(to, from, 3 * sizeof(double)); }

// A joint whose first direction runs from a to b and the second the same
// way (same) or back (opposite).
JointSpec along(int slot, const char* name, int code, int first, int second, const double* a, const double* b,
                bool opposite, const double* origin) {
    JointSpec j{slot, name, code, first, second, {}, {}, {}};
    for (int i = 0; i < 3; ++i) {
        j.first[i] = b[i] - a[i];
        j.second[i] = opposite ? -j.first[i] : j.first[i];
    }
    set3(j.origin, origin);
    return j;
}

// A ball joint: both directions Z.
JointSpec ball(int slot, const char* name, int first, int second, const double* origin) {
    JointSpec j{slot, name, kSphericalCode, first, second, {0, 0, 1}, {0, 0, 1}, {}};
    set3(j.origin, origin);
    return j;
}

std::vector<JointSpec> joint_specs(const sFiveLinkAxle_Suspension& s) {
    const auto& p = s.points;
    double uca_mid[3], wheel_mid[3], shock_mid[3], shock_mid_m[3], bump_mid[3], bump_mid_m[3];
    sus::midpoint(p[FLA_UCA_REAR_BUSHING], p[FLA_UCA_REAR_BUSHING_MIRROR], uca_mid);
    sus::midpoint(p[FLA_WHEEL_CENTER], p[FLA_WHEEL_CENTER_MIRROR], wheel_mid);
    sus::midpoint(p[FLA_LOWER_SHOCK_CENTER], p[FLA_UPPER_SHOCK_CENTER], shock_mid);
    sus::midpoint(p[FLA_LOWER_SHOCK_CENTER_MIRROR], p[FLA_UPPER_SHOCK_CENTER_MIRROR], shock_mid_m);
    sus::midpoint(p[FLA_LOWER_BUMP_CENTER], p[FLA_UPPER_BUMP_CENTER], bump_mid);
    sus::midpoint(p[FLA_LOWER_BUMP_CENTER_MIRROR], p[FLA_UPPER_BUMP_CENTER_MIRROR], bump_mid_m);
    constexpr int G = -1;
    return {
        along(FLA_J002, "J002", kUniversalCode, FLA_LINK_LCA_L, G, p[FLA_LCA_FRONT_BUSHING], p[FLA_LCA_REAR_BUSHING],
              true, p[FLA_LCA_FRONT_BUSHING]),
        along(FLA_J023, "J023", kUniversalCode, FLA_LINK_LCA_R, G, p[FLA_LCA_FRONT_BUSHING_MIRROR],
              p[FLA_LCA_REAR_BUSHING_MIRROR], true, p[FLA_LCA_FRONT_BUSHING_MIRROR]),
        ball(FLA_J003, "J003", FLA_LINK_LCA_L, FLA_LINK_AXLE, p[FLA_LCA_REAR_BUSHING]),
        ball(FLA_J024, "J024", FLA_LINK_LCA_R, FLA_LINK_AXLE, p[FLA_LCA_REAR_BUSHING_MIRROR]),
        along(FLA_J009, "J009", kUniversalCode, FLA_LINK_UCA_L, G, p[FLA_UCA_FRONT_BUSHING], p[FLA_UCA_REAR_BUSHING],
              true, p[FLA_UCA_FRONT_BUSHING]),
        along(FLA_J011, "J011", kUniversalCode, FLA_LINK_UCA_R, G, p[FLA_UCA_FRONT_BUSHING_MIRROR],
              p[FLA_UCA_REAR_BUSHING_MIRROR], true, p[FLA_UCA_FRONT_BUSHING_MIRROR]),
        ball(FLA_J010, "J010", FLA_LINK_UCA_L, FLA_LINK_UCA_C, p[FLA_UCA_REAR_BUSHING]),
        ball(FLA_J012, "J012", FLA_LINK_UCA_R, FLA_LINK_UCA_C, p[FLA_UCA_REAR_BUSHING_MIRROR]),
        along(FLA_J025, "J025", kRevoluteCode, FLA_LINK_UCA_C, FLA_LINK_AXLE, uca_mid, wheel_mid, false, uca_mid),
        ball(FLA_J032, "J032", FLA_LINK_SHOCK_L_L, FLA_LINK_AXLE, p[FLA_LOWER_SHOCK_CENTER]),
        ball(FLA_J022, "J022", FLA_LINK_SHOCK_L_R, FLA_LINK_AXLE, p[FLA_LOWER_SHOCK_CENTER_MIRROR]),
        along(FLA_J033, "J033", kUniversalCode, FLA_LINK_SHOCK_U_L, G, p[FLA_UPPER_SHOCK_CENTER],
              p[FLA_LOWER_SHOCK_CENTER], true, p[FLA_UPPER_SHOCK_CENTER]),
        along(FLA_J020, "J020", kUniversalCode, FLA_LINK_SHOCK_U_R, G, p[FLA_UPPER_SHOCK_CENTER_MIRROR],
              p[FLA_LOWER_SHOCK_CENTER_MIRROR], true, p[FLA_UPPER_SHOCK_CENTER_MIRROR]),
        along(FLA_L_SHOCK, "L_SHOCK", kCylindricalCode, FLA_LINK_SHOCK_L_L, FLA_LINK_SHOCK_U_L,
              p[FLA_LOWER_SHOCK_CENTER], p[FLA_UPPER_SHOCK_CENTER], false, shock_mid),
        along(FLA_R_SHOCK, "R_SHOCK", kCylindricalCode, FLA_LINK_SHOCK_L_R, FLA_LINK_SHOCK_U_R,
              p[FLA_LOWER_SHOCK_CENTER_MIRROR], p[FLA_UPPER_SHOCK_CENTER_MIRROR], false, shock_mid_m),
        ball(FLA_J030, "J030", FLA_LINK_JBMPL_L, FLA_LINK_AXLE, p[FLA_LOWER_BUMP_CENTER]),
        ball(FLA_J028, "J028", FLA_LINK_JBMP_L_R, FLA_LINK_AXLE, p[FLA_LOWER_BUMP_CENTER_MIRROR]),
        along(FLA_J031, "J031", kUniversalCode, FLA_LINK_JBMPU_L, G, p[FLA_UPPER_BUMP_CENTER],
              p[FLA_LOWER_BUMP_CENTER], true, p[FLA_UPPER_BUMP_CENTER]),
        along(FLA_J029, "J029", kUniversalCode, FLA_LINK_JBMP_U_R, G, p[FLA_UPPER_BUMP_CENTER_MIRROR],
              p[FLA_LOWER_BUMP_CENTER_MIRROR], true, p[FLA_UPPER_BUMP_CENTER_MIRROR]),
        along(FLA_L_BUMPER, "L_BUMPER", kCylindricalCode, FLA_LINK_JBMPL_L, FLA_LINK_JBMPU_L,
              p[FLA_LOWER_BUMP_CENTER], p[FLA_UPPER_BUMP_CENTER], false, bump_mid),
        along(FLA_R_BUMPER, "R_BUMPER", kCylindricalCode, FLA_LINK_JBMP_L_R, FLA_LINK_JBMP_U_R,
              p[FLA_LOWER_BUMP_CENTER_MIRROR], p[FLA_UPPER_BUMP_CENTER_MIRROR], false, bump_mid_m),
        ball(FLA_J014, "J014", FLA_LINK_TRACK, FLA_LINK_AXLE, p[FLA_TRACK_INNER]),
        along(FLA_J015, "J015", kUniversalCode, FLA_LINK_TRACK, G, p[FLA_OPPOSITE_TRACK_INNER], p[FLA_TRACK_INNER],
              true, p[FLA_OPPOSITE_TRACK_INNER]),
    };
}

// Deletes the work part's motion joints of the name, so that a rebuilt
// template replaces its joints instead of adding a second set.
void delete_joints_named(const char* name) {
    const tag_t part = CONTEXT_ask_work_part();
    while (tag_t old = HM_OBJ_cycle_by_name_and_type(part, name, HM_motion_joint_type, 0))
        if (HM_OBJ_delete_object(old) != 0) break;
}

bool is_shock(int slot) { return slot == FLA_L_SHOCK || slot == FLA_R_SHOCK; }

int build_joints(sFiveLinkAxle_Suspension& s) {
    for (const JointSpec& j : joint_specs(s)) {
        delete_joints_named(j.name);
        const tag_t second = j.second_link < 0 ? 0 : s.links[j.second_link];
        double first[3], second_dir[3], origin[3];
        set3(first, j.first);
        set3(second_dir, j.second);
        set3(origin, j.origin);
        tag_t joint = 0;
        const int status = HM_VD_MOTION_create_joint(j.name, j.code, s.links[j.first_link], second, 0.0, first,
                                                     second_dir, origin, &joint);
        s.joints[j.slot] = status == sus::kOk ? joint : 0;
        if (status != sus::kOk) return status;
        if (is_shock(j.slot)) {
            double zeros[4] = {0, 0, 0, 0};
            (void)HM_VD_MOTION_create_motion_input(joint, kHarmonicInput, "", zeros, 4);
        }
    }
    return sus::kOk;
}

void set_shock_drivers(const sFiveLinkAxle_Suspension& s) {
    KMC_motion_driver_t driver;
    (void)KMC_init_motion_driver_data(&driver);
    driver.kind = KMC_DRIVER_ARTICULATION;
    (void)KMC_set_motion_driver(s.joints[FLA_L_SHOCK], &driver);
    (void)KMC_set_motion_driver(s.joints[FLA_R_SHOCK], &driver);
}

}  // namespace

/* ---- name enquiries ---- */

int HM_VD_FLA_SUSP_ask_num_of_names() { return FLA_SUSP_NAME_SLOTS; }

void HM_VD_FLA_SUSP_ask_nth_name(int n, char* name) {
    if (!name) return;
    copy_name(n >= 0 && n < FLA_SUSP_NAME_SLOTS ? kFlaNames[n] : "", name);
}

void HM_VD_FLA_SUSP_ask_nth_linkname(int n, char* name) {
    if (!name) return;
    copy_name(n >= 0 && n < FLA_SUSP_LINK_COUNT ? sus::kFlaLinkNames[n] : "", name);
}

void HM_VD_FLA_SUSP_ask_nth_jointname(int n, char* name) {
    if (!name) return;
    copy_name(n >= 0 && n < FLA_SUSP_JOINT_COUNT ? sus::kFlaJointNames[n] : "", name);
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
    if (!susp) return sus::kBadInput;
    sus::HostSession session;
    if (int status = build_points(*susp)) return status;
    build_lines(*susp);
    return sus::kOk;
}

int HM_VD_FLA_SUSP_build_motion(sFiveLinkAxle_Suspension* susp) {
    if (!susp) return sus::kBadInput;
    sus::HostSession session;
    (void)HM_VD_build_mechanism(kMechanismName, &susp->mechanism);
    if (int status = build_links(*susp)) return status;
    if (int status = build_joints(*susp)) return status;
    set_shock_drivers(*susp);
    return sus::kOk;
}

int HM_VD_FLA_SUSP_delete_structure(sFiveLinkAxle_Suspension* susp) {
    if (!susp) return sus::kBadInput;
    sus::HostSession session;
    for (const char* name : kFlaNames) {
        if (!*name) continue;
        tag_t found = 0;
        if (HM_OBJ_cycle_by_name(name, &found) == 0 && found) (void)HM_OBJ_delete_object(found);
    }
    return sus::kOk;
}
