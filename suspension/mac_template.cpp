// The MacPherson strut template: the record's preparation, the named hard
// points with their mirrors and the lines between them, the mechanism of 17
// links and 25 joints for both sides (the stabilizer bar's from occurrences
// of the caller's components) with the strut centres and the rack as
// articulation drivers, and the deletion by name.
#include "mac_template.h"
#include "template_common.h"

#include "hm_vd_mac_susp.h"
#include "hm_vd_motion.h"
#include "omvra.h"
#include "quillon.h"
#include "tessik.h"
#include "tolvric.h"

#include <vector>

namespace sus = carvell::suspension;

namespace {

constexpr const char* kMechanismName = "MAC_SUSP_MECH";

// Joint codes the template uses (host types: 4 revolute, 5 and 6
// cylindrical, 11 universal, 13 and 14 spherical).
constexpr int kRevoluteCode = 4;
constexpr int kCylindricalCode = 5;
constexpr int kCylindricalAltCode = 6;
constexpr int kUniversalCode = 11;
constexpr int kSphericalCode = 13;
constexpr int kSphericalAltCode = 14;

// Below this squared length the knuckle's axis (ball joint to strut centre)
// has no direction; the tolerance of the parallel test is the sine of the
// angle between the axis and the tie-rod point's offset.
constexpr double kDegenerateAxisLength2 = 1e-20;
constexpr double kParallelSine = 1e-10;

// The hard points the initial zeroes (each with the point its mirror goes to).
struct HardPoint {
    int point;
    int mirror;
};
constexpr HardPoint kHardPoints[] = {
    {MAC_BOTTOM_OF_STRUT, MAC_BOTTOM_OF_STRUT_MIRROR},
    {MAC_BALL_JOINT, MAC_BALL_JOINT_MIRROR},
    {MAC_OUTER_DRIVE_JOINT, MAC_OUTER_DRIVE_JOINT_MIRROR},
    {MAC_INNER_DRIVE_JOINT, MAC_OPPOSITE_INNER_JOINT},
    {MAC_WHEEL_CENTERLINE, MAC_WHEEL_CENTERLINE_MIRROR},
    {MAC_TIREROD_OUTER, MAC_TIREROD_OUTER_MIRROR},
    {MAC_TIREROD_INNER, MAC_TIREROD_INNER_MIRROR},
    {MAC_STRUT_CENTER, MAC_STRUT_CENTER_MIRROR},
    {MAC_BUSHING_FRONT, MAC_BUSHING_FRONT_MIRROR},
    {MAC_BUSHING_REAR, MAC_BUSHING_REAR_MIRROR},
    {MAC_UPPER_STABILIZER_LINK, MAC_UPPER_STABILIZER_LINK_MIRROR},
    {MAC_LOWER_STABILIZER_LINK, MAC_LOWER_STABILIZER_LINK_MIRROR},
    {MAC_STABILIZER_BUSHING, MAC_OPPOSITE_BUSHING},
};

bool is_stabilizer_point(int point) {
    return point == MAC_UPPER_STABILIZER_LINK || point == MAC_LOWER_STABILIZER_LINK ||
           point == MAC_STABILIZER_BUSHING;
}

/* ---- structure ---- */

// Whether the build recomputes the mirror of the point.
bool mirrored_at_build(const sMacpherson_Suspension& s, int point) {
    if (point == MAC_INNER_DRIVE_JOINT) return s.mirror_inner_joint;
    if (point == MAC_STABILIZER_BUSHING) return s.mirror_stabilizer_bushing;
    return true;
}

// Points in record order, each followed by its mirror; the stabilizer's
// only with the stabilizer.
int build_points(sMacpherson_Suspension& s) {
    std::vector<sus::PointPair> pairs;
    for (const HardPoint& h : kHardPoints) {
        if (is_stabilizer_point(h.point) && !s.has_stabilizer) continue;
        pairs.push_back({sus::mac_point_name(h.point), sus::mac_point_name(h.mirror), s.points[h.point],
                         s.points[h.mirror], mirrored_at_build(s, h.point)});
    }
    return sus::build_point_pairs(pairs, s.plane_origin, s.plane_normal);
}

}  // namespace

namespace carvell::suspension {

// The foot of the perpendicular from c to the line through a and b: a when
// a and b coincide, c when c lies on the line's direction from a (b - a and
// c - a parallel, c = a included), else a + t (b - a).
void mac_perpendicular_foot(const double a[3], const double b[3], const double c[3], double foot[3]) {
    double ab[3], ac[3];
    direction(a, b, ab);
    direction(a, c, ac);
    const double length2 = ab[0] * ab[0] + ab[1] * ab[1] + ab[2] * ab[2];
    const double* answer = nullptr;
    if (length2 <= kDegenerateAxisLength2) {
        answer = a;
    } else {
        int parallel = 0;
        (void)HM_VEC3_is_parallel(ab, ac, kParallelSine, &parallel);
        if (parallel) answer = c;
    }
    if (answer) {
        for (int i = 0; i < 3; ++i) foot[i] = answer[i];
        return;
    }
    const double t = (ac[0] * ab[0] + ac[1] * ab[1] + ac[2] * ab[2]) / length2;
    for (int i = 0; i < 3; ++i) foot[i] = a[i] + t * ab[i];
}

}  // namespace carvell::suspension

namespace {

// The points of one side that the lines and joints use: the hard points of
// that side (the mirrored side's are the mirrors) and the derived ones.
struct Side {
    const double* bottom_of_strut;
    const double* ball_joint;
    const double* outer_drive;
    const double* inner_drive;   // the mirrored side's is the opposite inner joint
    const double* other_inner;   // the inner drive joint of the other side
    const double* wheel_centerline;
    const double* tierod_outer;
    const double* tierod_inner;
    const double* other_tierod_inner;
    const double* strut_center;
    const double* bushing_front;
    const double* bushing_rear;
    const double* upper_stab_link;
    const double* lower_stab_link;
    double strut_mid[3];   // mid(bottom of strut, strut centre)
    double foot[3];        // the tie-rod outer point's foot on the line ball joint - strut centre
};

Side side_of(const sMacpherson_Suspension& s, bool mirrored) {
    const auto& p = s.points;
    const int m = mirrored ? 1 : 0;
    Side side{p[MAC_BOTTOM_OF_STRUT + m],
              p[MAC_BALL_JOINT + m],
              p[MAC_OUTER_DRIVE_JOINT + m],
              mirrored ? p[MAC_OPPOSITE_INNER_JOINT] : p[MAC_INNER_DRIVE_JOINT],
              mirrored ? p[MAC_INNER_DRIVE_JOINT] : p[MAC_OPPOSITE_INNER_JOINT],
              p[MAC_WHEEL_CENTERLINE + m],
              p[MAC_TIREROD_OUTER + m],
              p[MAC_TIREROD_INNER + m],
              p[MAC_TIREROD_INNER + 1 - m],
              p[MAC_STRUT_CENTER + m],
              p[MAC_BUSHING_FRONT + m],
              p[MAC_BUSHING_REAR + m],
              p[MAC_UPPER_STABILIZER_LINK + m],
              p[MAC_LOWER_STABILIZER_LINK + m],
              {},
              {}};
    sus::midpoint(side.bottom_of_strut, side.strut_center, side.strut_mid);
    sus::mac_perpendicular_foot(side.ball_joint, side.strut_center, side.tierod_outer, side.foot);
    return side;
}

void build_lines(const sMacpherson_Suspension& s) {
    const Side l = side_of(s, false), r = side_of(s, true);
    double inner_mid[3];
    sus::midpoint(s.points[MAC_INNER_DRIVE_JOINT], s.points[MAC_OPPOSITE_INNER_JOINT], inner_mid);
    std::vector<sus::LineSpec> lines = {
        {"MAC_SUSP_STRUT_UPPER", l.strut_mid, l.strut_center},
        {"MAC_SUSP_KNUCK_1", l.strut_mid, l.bottom_of_strut},
        {"MAC_SUSP_STRUT_UPPER_MIRROR", r.strut_mid, r.strut_center},
        {"MAC_SUSP_KNUCK_1_MIRROR", r.strut_mid, r.bottom_of_strut},
        {"MAC_SUSP_KNUCK_2", l.outer_drive, l.wheel_centerline},
        {"MAC_SUSP_KNUCK_2_MIRROR", r.outer_drive, r.wheel_centerline},
        {"MAC_SUSP_KNUCK_3", l.ball_joint, l.foot},
        {"MAC_SUSP_KNUCK_4", l.tierod_outer, l.foot},
        {"MAC_SUSP_KNUCK_3_MIRROR", r.ball_joint, r.foot},
        {"MAC_SUSP_KNUCK_4_MIRROR", r.tierod_outer, r.foot},
        {"MAC_SUSP_LCA_1", l.ball_joint, l.bushing_front},
        {"MAC_SUSP_LCA_1_MIRROR", r.ball_joint, r.bushing_front},
        {"MAC_SUSP_LCA_2", l.ball_joint, l.bushing_rear},
        {"MAC_SUSP_LCA_2_MIRROR", r.ball_joint, r.bushing_rear},
        {"MAC_SUSP_LCA_3", l.bushing_front, l.bushing_rear},
        {"MAC_SUSP_LCA_3_MIRROR", r.bushing_front, r.bushing_rear},
        {"MAC_SUSP_TIREROD", l.tierod_inner, l.tierod_outer},
        {"MAC_SUSP_TIREROD_MIRROR", r.tierod_inner, r.tierod_outer},
        {"MAC_SUSP_HSHAFT", l.inner_drive, l.outer_drive},
        {"MAC_SUSP_HSHAFT_MIRROR", r.inner_drive, r.outer_drive},
    };
    if (s.has_stabilizer) {
        lines.push_back({"MAC_SUSP_STABLINK", l.lower_stab_link, l.upper_stab_link});
        lines.push_back({"MAC_SUSP_STABLINK_MIRROR", r.lower_stab_link, r.upper_stab_link});
    }
    lines.push_back({"MAC_SUSP_ENGOUT", l.inner_drive, inner_mid});
    lines.push_back({"MAC_SUSP_ENGOUT_MIRROR", r.inner_drive, inner_mid});
    lines.push_back({"MAC_SUSP_RACK", l.tierod_inner, r.tierod_inner});
    sus::build_lines(lines);
}

/* ---- motion ---- */

std::vector<sus::LinkSpec> link_specs(bool has_stabilizer) {
    std::vector<sus::LinkSpec> links = {
        {MAC_LINK_STRUTUPPER, "STRUTUPPER", {"MAC_SUSP_STRUT_UPPER"}},
        {MAC_LINK_STRUTUPPER_M, "STRUTUPPER_M", {"MAC_SUSP_STRUT_UPPER_MIRROR"}},
        {MAC_LINK_KNUCK, "KNUCK", {"MAC_SUSP_KNUCK_1", "MAC_SUSP_KNUCK_2", "MAC_SUSP_KNUCK_3", "MAC_SUSP_KNUCK_4"}},
        {MAC_LINK_KNUCK_M,
         "KNUCK_M",
         {"MAC_SUSP_KNUCK_1_MIRROR", "MAC_SUSP_KNUCK_2_MIRROR", "MAC_SUSP_KNUCK_3_MIRROR", "MAC_SUSP_KNUCK_4_MIRROR"}},
        {MAC_LINK_LCA, "LCA", {"MAC_SUSP_LCA_1", "MAC_SUSP_LCA_2", "MAC_SUSP_LCA_3"}},
        {MAC_LINK_LCA_M, "LCA_M", {"MAC_SUSP_LCA_1_MIRROR", "MAC_SUSP_LCA_2_MIRROR", "MAC_SUSP_LCA_3_MIRROR"}},
        {MAC_LINK_TIREROD, "TIREROD", {"MAC_SUSP_TIREROD"}},
        {MAC_LINK_TIREROD_M, "TIREROD_M", {"MAC_SUSP_TIREROD_MIRROR"}},
        {MAC_LINK_HSHAFT, "HSHAFT", {"MAC_SUSP_HSHAFT"}},
        {MAC_LINK_HSHAFT_M, "HSHAFT_M", {"MAC_SUSP_HSHAFT_MIRROR"}},
    };
    if (has_stabilizer) {
        links.push_back({MAC_LINK_STABLINK, "STABLINK", {"MAC_SUSP_STABLINK"}});
        links.push_back({MAC_LINK_STABLINK_M, "STABLINK_M", {"MAC_SUSP_STABLINK_MIRROR"}});
    }
    links.push_back({MAC_LINK_ENGOUT, "ENGOUT", {"MAC_SUSP_ENGOUT"}});
    links.push_back({MAC_LINK_ENGOUT_M, "ENGOUT_M", {"MAC_SUSP_ENGOUT_MIRROR"}});
    links.push_back({MAC_LINK_RACK, "RACK", {"MAC_SUSP_RACK"}});
    return links;
}

// Takes over a component array of the record: frees it when its count is
// above 0 and clears the record's fields.
void release_components(tag_t*& components, int& count) {
    if (count <= 0) return;
    SM_free(components);
    components = nullptr;
    count = 0;
}

// One bar link from the occurrences of its components. A side without
// components has no bar link (0). Components with no occurrence in the work
// part are passed over; when none has one, the bar link cannot be made: -1.
int build_bar_link(const char* name, const tag_t* components, int count, tag_t* link) {
    *link = 0;
    if (count <= 0) return sus::kOk;
    std::vector<tag_t> occurrences = sus::occurrences_of(components, count);
    if (occurrences.empty()) return sus::kBadInput;
    return sus::build_link(name, occurrences, link);
}

// The bar links STAB and STAB_M. The first side's bar carries the
// stabilizer's bushing to ground, so it must be made; the mirrored side's
// is 0 for a bar of one piece (no components of its own) and must be made
// when it has components. Both component arrays are the template's once
// this step runs: freed on every way out.
int build_bar_links(sMacpherson_Suspension& s) {
    int status = build_bar_link("STAB", s.stab_components, s.stab_components_count, &s.links[MAC_LINK_STAB]);
    if (status == sus::kOk && !s.links[MAC_LINK_STAB]) status = sus::kBadInput;
    if (status == sus::kOk)
        status = build_bar_link("STAB_M", s.stab_components_mirror, s.stab_components_mirror_count,
                                &s.links[MAC_LINK_STAB_M]);
    release_components(s.stab_components, s.stab_components_count);
    release_components(s.stab_components_mirror, s.stab_components_mirror_count);
    return status;
}

// The stabilizer's joints: each drop link between its lower arm and its
// bar, and the bar's bushing to ground. A bar of one piece (no components
// of the mirrored side, STAB_M 0) carries both drop links and turns in its
// one bushing; the mirrored bushing joins a mirrored bar when there is one
// and the two sides have more than one component between them.
void add_stabilizer_joints(const sMacpherson_Suspension& s, const Side& l, const Side& r, int components,
                           std::vector<sus::JointSpec>& joints) {
    using sus::Sense;
    constexpr int G = sus::kGround;
    const auto& p = s.points;
    const bool mirrored_bar = s.links[MAC_LINK_STAB_M] != 0;
    joints.push_back(sus::joint_along(MAC_J_LOWER_STAB, "J_LOWER_STAB", kUniversalCode, MAC_LINK_STABLINK,
                                      MAC_LINK_LCA, l.lower_stab_link, l.upper_stab_link, Sense::opposite,
                                      l.lower_stab_link));
    joints.push_back(sus::joint_along(MAC_J_LOWER_STAB_M, "J_LOWER_STAB_M", kUniversalCode, MAC_LINK_STABLINK_M,
                                      MAC_LINK_LCA_M, r.lower_stab_link, r.upper_stab_link, Sense::opposite,
                                      r.lower_stab_link));
    joints.push_back(sus::joint_on_z(MAC_J_UPPER_STAB, "J_UPPER_STAB", kSphericalCode, MAC_LINK_STAB,
                                     MAC_LINK_STABLINK, l.upper_stab_link));
    joints.push_back(sus::joint_on_z(MAC_J_UPPER_STAB_M, "J_UPPER_STAB_M", kSphericalCode,
                                     mirrored_bar ? MAC_LINK_STAB_M : MAC_LINK_STAB, MAC_LINK_STABLINK_M,
                                     r.upper_stab_link));
    joints.push_back(sus::joint_along(MAC_J_STAB_BUSHING, "J_STAB_BUSHING", kRevoluteCode, MAC_LINK_STAB, G,
                                      p[MAC_OPPOSITE_BUSHING], p[MAC_STABILIZER_BUSHING], Sense::same,
                                      p[MAC_STABILIZER_BUSHING]));
    if (components > 1 && mirrored_bar)
        joints.push_back(sus::joint_along(MAC_J_STAB_BUSHING_M, "J_STAB_BUSHING_M", kRevoluteCode, MAC_LINK_STAB_M,
                                          G, p[MAC_STABILIZER_BUSHING], p[MAC_OPPOSITE_BUSHING], Sense::same,
                                          p[MAC_OPPOSITE_BUSHING]));
}

std::vector<sus::JointSpec> joint_specs(const sMacpherson_Suspension& s, int components) {
    using sus::Sense;
    constexpr int G = sus::kGround;
    const Side l = side_of(s, false), r = side_of(s, true);
    double inner_quarter[3], opposite_quarter[3], rack_mid[3], first[3], second[3];
    for (int i = 0; i < 3; ++i) {
        inner_quarter[i] = l.inner_drive[i] + 0.25 * (r.inner_drive[i] - l.inner_drive[i]);
        opposite_quarter[i] = r.inner_drive[i] + 0.25 * (l.inner_drive[i] - r.inner_drive[i]);
    }
    sus::midpoint(l.tierod_inner, r.tierod_inner, rack_mid);
    double bushing_mid[2][3];
    sus::midpoint(l.bushing_front, l.bushing_rear, bushing_mid[0]);
    sus::midpoint(r.bushing_front, r.bushing_rear, bushing_mid[1]);

    // A universal joint from a point along two directions that leave it.
    auto universal = [&](int slot, const char* name, int a, int b, const double* at, const double* to_first,
                         const double* to_second) {
        sus::direction(at, to_first, first);
        sus::direction(at, to_second, second);
        return sus::joint_with(slot, name, kUniversalCode, a, b, first, second, at);
    };
    std::vector<sus::JointSpec> joints = {
        sus::joint_on_z(MAC_J_STRUTUPPER, "J_STRUTUPPER", kSphericalAltCode, MAC_LINK_STRUTUPPER, G, l.strut_center),
        sus::joint_on_z(MAC_J_STRUTUPPER_M, "J_STRUTUPPER_M", kSphericalAltCode, MAC_LINK_STRUTUPPER_M, G,
                        r.strut_center),
        sus::joint_along(MAC_J_STRUTCENTER, "J_STRUTCENTER", kCylindricalCode, MAC_LINK_STRUTUPPER, MAC_LINK_KNUCK,
                         l.bottom_of_strut, l.strut_center, Sense::same, l.strut_mid),
        sus::joint_along(MAC_J_STRUTCENTER_M, "J_STRUTCENTER_M", kCylindricalCode, MAC_LINK_STRUTUPPER_M,
                         MAC_LINK_KNUCK_M, r.bottom_of_strut, r.strut_center, Sense::same, r.strut_mid),
        sus::joint_on_z(MAC_J_OUTERDRIVE, "J_OUTERDRIVE", kSphericalCode, MAC_LINK_HSHAFT, MAC_LINK_KNUCK,
                        l.outer_drive),
        sus::joint_on_z(MAC_J_OUTERDRIVE_M, "J_OUTERDRIVE_M", kSphericalCode, MAC_LINK_HSHAFT_M, MAC_LINK_KNUCK_M,
                        r.outer_drive),
        universal(MAC_J_INNERDRIVE, "J_INNERDRIVE", MAC_LINK_HSHAFT, MAC_LINK_ENGOUT, l.inner_drive, l.outer_drive,
                  r.inner_drive),
        universal(MAC_J_INNERDRIVE_M, "J_INNERDRIVE_M", MAC_LINK_HSHAFT_M, MAC_LINK_ENGOUT_M, r.inner_drive,
                  r.outer_drive, l.inner_drive),
        sus::joint_on_z(MAC_J_TIREROD_OUTER, "J_TIREROD_OUTER", kSphericalCode, MAC_LINK_TIREROD, MAC_LINK_KNUCK,
                        l.tierod_outer),
        sus::joint_on_z(MAC_J_TIREROD_OUTER_M, "J_TIREROD_OUTER_M", kSphericalCode, MAC_LINK_TIREROD_M,
                        MAC_LINK_KNUCK_M, r.tierod_outer),
        universal(MAC_J_TIREROD_INNER, "J_TIREROD_INNER", MAC_LINK_TIREROD, MAC_LINK_RACK, l.tierod_inner,
                  l.tierod_outer, r.tierod_inner),
        universal(MAC_J_TIREROD_INNER_M, "J_TIREROD_INNER_M", MAC_LINK_TIREROD_M, MAC_LINK_RACK, r.tierod_inner,
                  r.tierod_outer, l.tierod_inner),
        sus::joint_on_z(MAC_J_BALL, "J_BALL", kSphericalCode, MAC_LINK_LCA, MAC_LINK_KNUCK, l.ball_joint),
        sus::joint_on_z(MAC_J_BALL_M, "J_BALL_M", kSphericalCode, MAC_LINK_LCA_M, MAC_LINK_KNUCK_M, r.ball_joint),
        sus::joint_along(MAC_J_BUSHING, "J_BUSHING", kRevoluteCode, MAC_LINK_LCA, G, l.bushing_rear, l.bushing_front,
                         Sense::same, bushing_mid[0]),
        sus::joint_along(MAC_J_BUSHING_M, "J_BUSHING_M", kRevoluteCode, MAC_LINK_LCA_M, G, r.bushing_rear,
                         r.bushing_front, Sense::same, bushing_mid[1]),
        sus::joint_along(MAC_J_ENGOUT, "J_ENGOUT", kCylindricalAltCode, MAC_LINK_ENGOUT, G, l.inner_drive,
                         r.inner_drive, Sense::same, inner_quarter),
        sus::joint_along(MAC_J_ENGOUT_M, "J_ENGOUT_M", kCylindricalAltCode, MAC_LINK_ENGOUT_M, G, r.inner_drive,
                         l.inner_drive, Sense::same, opposite_quarter),
        sus::joint_along(MAC_J_RACK, "J_RACK", kCylindricalAltCode, MAC_LINK_RACK, G, l.tierod_inner, r.tierod_inner,
                         Sense::same, rack_mid),
    };
    if (s.has_stabilizer) add_stabilizer_joints(s, l, r, components, joints);
    return joints;
}

// The bar's component arrays are read, and then freed, only with the
// stabilizer: each must hold its count, and the two sides may not share
// one array (it would be freed twice).
bool components_usable(const sMacpherson_Suspension& s) {
    if (!s.has_stabilizer) return true;
    if (s.stab_components && s.stab_components == s.stab_components_mirror) return false;
    return sus::bar_components_fit(s.stab_components, s.stab_components_count) &&
           sus::bar_components_fit(s.stab_components_mirror, s.stab_components_mirror_count);
}

int build_motion(sMacpherson_Suspension& s) {
    if (!components_usable(s)) return sus::kBadInput;
    (void)HM_VD_build_mechanism(kMechanismName, &s.mechanism);
    if (int status = sus::build_links(link_specs(s.has_stabilizer), s.links)) return status;
    // The components are counted before the bar links take the arrays over.
    const int components = s.stab_components_count + s.stab_components_mirror_count;
    if (s.has_stabilizer)
        if (int status = build_bar_links(s)) return status;
    if (int status = sus::build_joints(joint_specs(s, components), s.links, s.joints)) return status;
    sus::set_articulation_drivers({s.joints[MAC_J_STRUTCENTER], s.joints[MAC_J_STRUTCENTER_M], s.joints[MAC_J_RACK]});
    return sus::kOk;
}

}  // namespace

/* ---- the template ---- */

int HM_VD_MAC_SUSP_initial(sMacpherson_Suspension* susp) {
    if (!susp) return sus::kBadInput;
    for (const HardPoint& h : kHardPoints)
        for (double& x : susp->points[h.point]) x = 0.0;
    double matrix[9];
    (void)VD_get_csys(susp->plane_origin, matrix);
    for (int i = 0; i < 3; ++i) susp->plane_normal[i] = matrix[3 + i];
    for (const HardPoint& h : kHardPoints)
        (void)HM_VD_mirror_point_through_plane(susp->points[h.point], susp->plane_origin, susp->plane_normal,
                                               susp->points[h.mirror]);
    susp->has_stabilizer = false;
    susp->mirror_inner_joint = true;
    susp->mirror_stabilizer_bushing = true;
    susp->mechanism = 0;
    for (tag_t& t : susp->links) t = 0;
    for (tag_t& t : susp->joints) t = 0;
    susp->stab_components = nullptr;
    susp->stab_components_count = 0;
    susp->stab_components_mirror = nullptr;
    susp->stab_components_mirror_count = 0;
    return sus::kOk;
}

int HM_VD_MAC_SUSP_build_structure(sMacpherson_Suspension* susp) {
    return sus::in_session(susp, [](sMacpherson_Suspension& s) {
        if (!sus::record_finite(s)) return int{sus::kBadInput};
        if (int status = build_points(s)) return status;
        build_lines(s);
        return int{sus::kOk};
    });
}

int HM_VD_MAC_SUSP_build_motion(sMacpherson_Suspension* susp) { return sus::in_session(susp, build_motion); }

int HM_VD_MAC_SUSP_delete_structure(sMacpherson_Suspension* susp) {
    return sus::in_session(susp, [](sMacpherson_Suspension&) {
        sus::delete_first_of_each_name(sus::kMacNames, MAC_SUSP_NAME_SLOTS);
        return int{sus::kOk};
    });
}
