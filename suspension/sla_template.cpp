// The short-long-arm template: the record's preparation, the named hard
// points of both sides with the jack point, the lines of both sides, the
// one-sided mechanism of 13 links and 19 joints with the shock (and the
// rack, with steering) as articulation drivers, the deletion by name, and
// the name enquiries.
#include "sla_steering.h"
#include "sla_tables.h"
#include "template_common.h"

#include "hm_vd_motion.h"
#include "hm_vd_sla_susp.h"
#include "omvra.h"
#include "tessik.h"

#include <array>
#include <vector>

namespace sus = carvell::suspension;
using sus::kSlaNames;

namespace {

using Vec = std::array<double, 3>;

constexpr const char* kMechanismName = "SLA_SUSP_MECH";
constexpr const char* kNoSteeringMechanismName = "SLA_NO_STEERING_SUSP_MECH";

// The jack point lies this far below the wheel centreline along the
// absolute Z axis, in the part's own units (the system makes no conversion).
constexpr double kJackDropPartUnits = 300.0;

// Motion input kind of the shock: harmonic, all values 0.
constexpr int kHarmonicInput = 4;

// Joint codes the template uses (host types: 1 revolute, 2 cylindrical, 5
// universal, 6 spherical, 7 planar).
constexpr int kRevoluteCode = 4;
constexpr int kCylindricalCode = 5;
constexpr int kCylindricalToGroundCode = 6;
constexpr int kUniversalCode = 11;
constexpr int kUniversalToGroundCode = 12;
constexpr int kSphericalCode = 13;
constexpr int kPlanarCode = 16;

Vec vec(const double* p) { return {p[0], p[1], p[2]}; }
Vec mid(const Vec& a, const Vec& b) { return {(a[0] + b[0]) * 0.5, (a[1] + b[1]) * 0.5, (a[2] + b[2]) * 0.5}; }
// The point a quarter of the way from a to b.
Vec quarter(const Vec& a, const Vec& b) {
    return {a[0] + 0.25 * (b[0] - a[0]), a[1] + 0.25 * (b[1] - a[1]), a[2] + 0.25 * (b[2] - a[2])};
}

/* ---- points ---- */

// When the build recomputes a pair's mirror point from its point.
enum class Mirrored { kAlways, kWithInnerJointFlag, kWithStabilizerBushingFlag };

struct HardPoint {
    int point;    // sla_susp_point
    int mirror;   // sla_susp_point
    Mirrored mirrored;
    bool stabilizer;   // built only with the stabilizer
};

// The 16 hard points in building order; point k is named by slot k and its
// mirror by slot 60 + k.
constexpr HardPoint kHardPoints[] = {
    {SLA_BALL_JOINT_LOWER, SLA_BALL_JOINT_LOWER_MIRROR, Mirrored::kAlways, false},
    {SLA_FRONT_BUSHING_LOWER, SLA_FRONT_BUSHING_LOWER_MIRROR, Mirrored::kAlways, false},
    {SLA_REAR_BUSHING_LOWER, SLA_REAR_BUSHING_LOWER_MIRROR, Mirrored::kAlways, false},
    {SLA_BALL_JOINT_UPPER, SLA_BALL_JOINT_UPPER_MIRROR, Mirrored::kAlways, false},
    {SLA_FRONT_BUSHING_UPPER, SLA_FRONT_BUSHING_UPPER_MIRROR, Mirrored::kAlways, false},
    {SLA_REAR_BUSHING_UPPER, SLA_REAR_BUSHING_UPPER_MIRROR, Mirrored::kAlways, false},
    {SLA_LOWER_SHOCK_CENTER, SLA_LOWER_SHOCK_CENTER_MIRROR, Mirrored::kAlways, false},
    {SLA_UPPER_SHOCK_CENTER, SLA_UPPER_SHOCK_CENTER_MIRROR, Mirrored::kAlways, false},
    {SLA_WHEEL_CENTERLINE, SLA_WHEEL_CENTERLINE_MIRROR, Mirrored::kAlways, false},
    {SLA_OUTER_DRIVE_JOINT, SLA_OUTER_DRIVE_JOINT_MIRROR, Mirrored::kAlways, false},
    {SLA_TIREROD_OUTER, SLA_TIREROD_OUTER_MIRROR, Mirrored::kAlways, false},
    {SLA_TIREROD_INNER, SLA_TIREROD_INNER_MIRROR, Mirrored::kAlways, false},
    {SLA_INNER_DRIVE_JOINT, SLA_OPPOSITE_INNER_JOINT, Mirrored::kWithInnerJointFlag, false},
    {SLA_UPPER_STABILIZER_LINK, SLA_UPPER_STABILIZER_LINK_MIRROR, Mirrored::kAlways, true},
    {SLA_LOWER_STABILIZER_LINK, SLA_LOWER_STABILIZER_LINK_MIRROR, Mirrored::kAlways, true},
    {SLA_STABILIZER_BUSHING, SLA_STABILIZER_BUSHING_MIRROR, Mirrored::kWithStabilizerBushingFlag, true},
};
constexpr int kHardPointCount = static_cast<int>(sizeof kHardPoints / sizeof kHardPoints[0]);

bool mirrored_at_build(const sla_suspension_s& s, Mirrored when) {
    switch (when) {
    case Mirrored::kWithInnerJointFlag: return s.mirror_inner_joint;
    case Mirrored::kWithStabilizerBushingFlag: return s.mirror_stabilizer_bushing;
    case Mirrored::kAlways: break;
    }
    return true;
}

void mirror(const sla_suspension_s& s, const double* point, double* mirror_point) {
    (void)HM_VD_mirror_point_through_plane(point, s.plane_origin, s.plane_normal, mirror_point);
}

// The hard points, each followed by its mirror (the stabilizer's only with
// the stabilizer); the first failing build ends the building.
int build_points(sla_suspension_s& s) {
    std::vector<sus::PointPair> pairs;
    for (int k = 0; k < kHardPointCount; ++k) {
        const HardPoint& h = kHardPoints[k];
        if (h.stabilizer && !s.has_stabilizer) continue;
        pairs.push_back({kSlaNames[sus::kSlaPointSlot + k], kSlaNames[sus::kSlaPointSlot + sus::kSlaMirrorOffset + k],
                         s.points[h.point], s.points[h.mirror], mirrored_at_build(s, h.mirrored)});
    }
    return sus::build_point_pairs(pairs, s.plane_origin, s.plane_normal);
}

// The jack point below the wheel centreline, and its mirror.
int build_jack_points(sla_suspension_s& s) {
    const double* wheel = s.points[SLA_WHEEL_CENTERLINE];
    s.jack_point[0] = wheel[0];
    s.jack_point[1] = wheel[1];
    s.jack_point[2] = wheel[2] - kJackDropPartUnits;
    if (int status = HM_VD_build_point(kSlaNames[sus::kSlaJackPointSlot], s.jack_point)) return status;
    mirror(s, s.jack_point, s.jack_point_mirror);
    return HM_VD_build_point(kSlaNames[sus::kSlaJackPointSlot + sus::kSlaMirrorOffset], s.jack_point_mirror);
}

/* ---- lines ---- */

// The hard points of one side: the modelled one, or the mirror side (its
// inner drive joint being the opposite inner joint).
struct Side {
    Vec ball_lower, front_lower, rear_lower, ball_upper, front_upper, rear_upper, shock_lower, shock_upper, wheel,
        outer_drive, tierod_outer, tierod_inner, inner_drive, other_inner, stab_upper, stab_lower, stab_bushing, jack;
};

Side side_of(const sla_suspension_s& s, bool mirrored) {
    const int m = mirrored ? 1 : 0;
    const auto& p = s.points;
    return {vec(p[SLA_BALL_JOINT_LOWER + m]),
            vec(p[SLA_FRONT_BUSHING_LOWER + m]),
            vec(p[SLA_REAR_BUSHING_LOWER + m]),
            vec(p[SLA_BALL_JOINT_UPPER + m]),
            vec(p[SLA_FRONT_BUSHING_UPPER + m]),
            vec(p[SLA_REAR_BUSHING_UPPER + m]),
            vec(p[SLA_LOWER_SHOCK_CENTER + m]),
            vec(p[SLA_UPPER_SHOCK_CENTER + m]),
            vec(p[SLA_WHEEL_CENTERLINE + m]),
            vec(p[SLA_OUTER_DRIVE_JOINT + m]),
            vec(p[SLA_TIREROD_OUTER + m]),
            vec(p[SLA_TIREROD_INNER + m]),
            vec(p[mirrored ? SLA_OPPOSITE_INNER_JOINT : SLA_INNER_DRIVE_JOINT]),
            vec(p[mirrored ? SLA_INNER_DRIVE_JOINT : SLA_OPPOSITE_INNER_JOINT]),
            vec(p[SLA_UPPER_STABILIZER_LINK + m]),
            vec(p[SLA_LOWER_STABILIZER_LINK + m]),
            vec(p[mirrored ? SLA_STABILIZER_BUSHING_MIRROR : SLA_STABILIZER_BUSHING]),
            vec(mirrored ? s.jack_point_mirror : s.jack_point)};
}

// The lines in the order of their name slots (30 + index; mirror 90 + index).
enum LineIndex {
    kJacLower = 0, kJacUpper, kKnuck1, kKnuck2, kKnuck3, kUppCtrl1, kUppCtrl2, kUppCtrl3, kLwrCtrl1, kLwrCtrl2,
    kLwrCtrl3, kUpShk, kLowShk, kOut, kOutStr, kTrans, kSteer, kStablink, kStab, kLineCount
};

struct Segment {
    Vec from, to;
};

std::array<Segment, kLineCount> side_lines(const sla_suspension_s& s, bool mirrored) {
    const Side d = side_of(s, mirrored);
    const Vec jack_mid = mid(d.wheel, d.jack), shock_mid = mid(d.shock_upper, d.shock_lower);
    const Vec trans_mid = mid(d.inner_drive, d.other_inner);
    std::array<Segment, kLineCount> lines;
    lines[kJacLower] = {d.jack, jack_mid};
    lines[kJacUpper] = {jack_mid, d.wheel};
    lines[kKnuck1] = {d.wheel, d.outer_drive};
    lines[kKnuck2] = {d.ball_lower, d.ball_upper};
    lines[kKnuck3] = {quarter(d.ball_lower, d.ball_upper), d.tierod_outer};
    lines[kUppCtrl1] = {d.front_upper, d.rear_upper};
    lines[kUppCtrl2] = {d.ball_upper, d.front_upper};
    lines[kUppCtrl3] = {d.ball_upper, d.rear_upper};
    lines[kLwrCtrl1] = {d.front_lower, d.rear_lower};
    lines[kLwrCtrl2] = {d.ball_lower, d.front_lower};
    lines[kLwrCtrl3] = {d.ball_lower, d.rear_lower};
    lines[kUpShk] = {d.shock_upper, shock_mid};
    lines[kLowShk] = {shock_mid, d.shock_lower};
    lines[kOut] = {d.inner_drive, d.outer_drive};
    lines[kOutStr] = {d.tierod_outer, d.tierod_inner};
    // The transmission: inner drive joint to the middle; on the mirror side
    // from the middle on to the opposite inner joint.
    lines[kTrans] = mirrored ? Segment{trans_mid, d.inner_drive} : Segment{d.inner_drive, trans_mid};
    lines[kSteer] = {vec(s.points[SLA_TIREROD_INNER]), vec(s.points[SLA_TIREROD_INNER_MIRROR])};
    lines[kStablink] = {d.stab_lower, d.stab_upper};
    lines[kStab] = {d.stab_upper, d.stab_bushing};
    return lines;
}

// Each line followed by its mirror. The steering line spans both sides and
// has no mirror. The stabilizer line's mirror slot repeats the line's own
// name, so building it would move the modelled side's line, which the bar
// link carries, onto the other side: it is not built.
void build_lines(const sla_suspension_s& s) {
    const auto lines = side_lines(s, false), mirrors = side_lines(s, true);
    std::vector<sus::LineSpec> rows;
    for (int i = 0; i < kLineCount; ++i) {
        if (i == kSteer && sus::sla_no_steering(s)) continue;
        if ((i == kStablink || i == kStab) && !s.has_stabilizer) continue;
        rows.push_back({kSlaNames[sus::kSlaLineSlot + i], lines[i].from.data(), lines[i].to.data()});
        if (i == kSteer || i == kStab) continue;
        rows.push_back({kSlaNames[sus::kSlaLineSlot + sus::kSlaMirrorOffset + i], mirrors[i].from.data(),
                         mirrors[i].to.data()});
    }
    sus::build_lines(rows);
}

const char* line_name(int line) { return kSlaNames[sus::kSlaLineSlot + line]; }

/* ---- links ---- */

// The stabilizer bar: its line and the first occurrence of each of the
// caller's components (components without one are passed over).
int build_bar_link(sla_suspension_s& s) {
    std::vector<tag_t> geometry;
    if (int status = sus::find_named_objects({line_name(kStab)}, geometry)) return status;
    for (tag_t occurrence : sus::occurrences_of(s.stab_components, s.stab_component_count))
        geometry.push_back(occurrence);
    return sus::build_link("STAB", geometry, &s.links[SLA_LINK_STAB]);
}

// The links in building order; the building stops at the first failure, so
// that no joint is made to a link that is not.
int build_links(sla_suspension_s& s) {
    std::vector<sus::LinkSpec> rows = {
        {SLA_LINK_LOW_JAC, "LOW_JAC", {line_name(kJacLower)}},
        {SLA_LINK_UP_JAC, "UP_JAC", {line_name(kJacUpper)}},
        {SLA_LINK_KNUCK, "KNUCK", {line_name(kKnuck1), line_name(kKnuck2), line_name(kKnuck3)}},
        {SLA_LINK_UPP_CNTRL, "UPP_CNTRL", {line_name(kUppCtrl1), line_name(kUppCtrl2), line_name(kUppCtrl3)}},
        {SLA_LINK_LWR_CNTRL, "LWR_CNTRL", {line_name(kLwrCtrl1), line_name(kLwrCtrl2), line_name(kLwrCtrl3)}},
        {SLA_LINK_UP_SHK, "UP_SHK", {line_name(kUpShk)}},
        {SLA_LINK_LOW_SHK, "LOW_SHK", {line_name(kLowShk)}},
        {SLA_LINK_OUT, "OUT", {line_name(kOut)}},
        {SLA_LINK_OUT_STR, "OUT_STR", {line_name(kOutStr)}},
        {SLA_LINK_TRANS, "TRANS", {line_name(kTrans)}},
    };
    if (!sus::sla_no_steering(s)) rows.push_back({SLA_LINK_STEER, "STEER", {line_name(kSteer)}});
    if (s.has_stabilizer) rows.push_back({SLA_LINK_STABLINK, "STABLINK", {line_name(kStablink)}});
    if (int status = sus::build_links(rows, s.links)) return status;
    if (sus::sla_no_steering(s)) s.links[SLA_LINK_STEER] = 0;
    return s.has_stabilizer ? build_bar_link(s) : sus::kOk;
}

/* ---- joints ---- */

std::vector<sus::JointSpec> joint_specs(const sla_suspension_s& s) {
    using sus::joint_along;
    using sus::joint_on_z;
    using sus::kGround;
    using sus::Sense;
    const Side d = side_of(s, false);
    const double* tierod_inner_mirror = s.points[SLA_TIREROD_INNER_MIRROR];
    const Vec jack_mid = mid(d.wheel, d.jack), shock_mid = mid(d.shock_upper, d.shock_lower);
    const Vec upper_mid = mid(d.front_upper, d.rear_upper), lower_mid = mid(d.front_lower, d.rear_lower);
    const Vec trans_mid = mid(d.inner_drive, d.other_inner);
    double outer_to_inner[3], outer_to_wheel[3], tierod[3], rack[3];
    sus::direction(d.outer_drive.data(), d.inner_drive.data(), outer_to_inner);
    sus::direction(d.outer_drive.data(), d.wheel.data(), outer_to_wheel);
    sus::direction(d.tierod_inner.data(), d.tierod_outer.data(), tierod);
    sus::direction(d.tierod_inner.data(), tierod_inner_mirror, rack);
    std::vector<sus::JointSpec> joints = {
        joint_on_z(SLA_J_LOW_JAC, "J_LOW_JAC", kPlanarCode, SLA_LINK_LOW_JAC, kGround, d.jack.data()),
        joint_along(SLA_J_JAC_CENTER, "J_JAC_CENTER", kCylindricalCode, SLA_LINK_UP_JAC, SLA_LINK_LOW_JAC,
                    d.jack.data(), d.wheel.data(), Sense::same, jack_mid.data()),
        joint_along(SLA_J_WHEEL_CENTER, "J_WHEEL_CENTER", kUniversalCode, SLA_LINK_KNUCK, SLA_LINK_UP_JAC,
                    d.jack.data(), d.wheel.data(), Sense::opposite, d.wheel.data()),
        sus::joint_with(SLA_J_OUTER_DRIVE, "J_OUTER_DRIVE", kUniversalCode, SLA_LINK_OUT, SLA_LINK_KNUCK,
                        outer_to_inner, outer_to_wheel, d.outer_drive.data()),
        joint_on_z(SLA_J_BALL_UPPER, "J_BALL_UPPER", kSphericalCode, SLA_LINK_KNUCK, SLA_LINK_UPP_CNTRL,
                   d.ball_upper.data()),
        joint_along(SLA_J_BUSHING_UPPER, "J_BUSHING_UPPER", kRevoluteCode, SLA_LINK_UPP_CNTRL, kGround,
                    d.rear_upper.data(), d.front_upper.data(), Sense::same, upper_mid.data()),
        joint_on_z(SLA_J_BALL_LOWER, "J_BALL_LOWER", kSphericalCode, SLA_LINK_KNUCK, SLA_LINK_LWR_CNTRL,
                   d.ball_lower.data()),
        joint_along(SLA_J_BUSHING_LOWER, "J_BUSHING_LOWER", kRevoluteCode, SLA_LINK_LWR_CNTRL, kGround,
                    d.rear_lower.data(), d.front_lower.data(), Sense::same, lower_mid.data()),
        joint_on_z(SLA_J_TIREROD_OUTER, "J_TIREROD_OUTER", kSphericalCode, SLA_LINK_KNUCK, SLA_LINK_OUT_STR,
                   d.tierod_outer.data()),
        // Without steering the tie rod's inner end is held by ground.
        sus::sla_no_steering(s)
            ? joint_along(SLA_J_TIREROD_INNER, "J_TIREROD_INNER", kUniversalToGroundCode, SLA_LINK_OUT_STR, kGround,
                          d.tierod_inner.data(), d.tierod_outer.data(), Sense::opposite, d.tierod_inner.data())
            : sus::joint_with(SLA_J_TIREROD_INNER, "J_TIREROD_INNER", kUniversalCode, SLA_LINK_OUT_STR,
                              SLA_LINK_STEER, tierod, rack, d.tierod_inner.data()),
        joint_on_z(SLA_J_INNER_DRIVE, "J_INNER_DRIVE", kSphericalCode, SLA_LINK_OUT, SLA_LINK_TRANS,
                   d.inner_drive.data()),
        joint_along(SLA_J_UP_SHK, "J_UP_SHK", kUniversalToGroundCode, SLA_LINK_UP_SHK, kGround, d.shock_upper.data(),
                    d.shock_lower.data(), Sense::opposite, d.shock_upper.data()),
        joint_on_z(SLA_J_LWR_SHK, "J_LWR_SHK", kSphericalCode, SLA_LINK_LOW_SHK, SLA_LINK_LWR_CNTRL,
                   d.shock_lower.data()),
        joint_along(SLA_J_SHK_CENTER, "J_SHK_CENTER", kCylindricalCode, SLA_LINK_LOW_SHK, SLA_LINK_UP_SHK,
                    d.shock_lower.data(), d.shock_upper.data(), Sense::same, shock_mid.data()),
        joint_along(SLA_J_TRANS, "J_TRANS", kCylindricalToGroundCode, SLA_LINK_TRANS, kGround, d.inner_drive.data(),
                    d.other_inner.data(), Sense::same, trans_mid.data()),
    };
    if (!sus::sla_no_steering(s)) {
        const Vec rack_mid = mid(d.tierod_inner, vec(tierod_inner_mirror));
        joints.push_back(joint_along(SLA_J_STEER, "J_STEER", kCylindricalToGroundCode, SLA_LINK_STEER, kGround,
                                     d.tierod_inner.data(), tierod_inner_mirror, Sense::same, rack_mid.data()));
    }
    if (s.has_stabilizer) {
        joints.push_back(joint_along(SLA_J_LOWER_STAB, "J_LOWER_STAB", kUniversalCode, SLA_LINK_STABLINK,
                                     SLA_LINK_LWR_CNTRL, d.stab_lower.data(), d.stab_upper.data(), Sense::opposite,
                                     d.stab_lower.data()));
        joints.push_back(joint_on_z(SLA_J_UPPER_STAB, "J_UPPER_STAB", kSphericalCode, SLA_LINK_STAB,
                                    SLA_LINK_STABLINK, d.stab_upper.data()));
        joints.push_back(joint_along(SLA_J_STAB_BUSHING, "J_STAB_BUSHING", kCylindricalToGroundCode, SLA_LINK_STAB,
                                     kGround, s.points[SLA_STABILIZER_BUSHING_MIRROR], d.stab_bushing.data(),
                                     Sense::same, d.stab_bushing.data()));
    }
    return joints;
}

// The joints in a chain; right after the shock's joint is made it gets a
// harmonic motion input of zeros.
int build_joints(sla_suspension_s& s) {
    const auto shock_input = [](int slot, tag_t joint) {
        if (slot != SLA_J_SHK_CENTER) return;
        double zeros[4] = {0, 0, 0, 0};
        (void)HM_VD_MOTION_create_motion_input(joint, kHarmonicInput, "", zeros, 4);
    };
    if (int status = sus::build_joints(joint_specs(s), s.links, s.joints, shock_input)) return status;
    if (sus::sla_no_steering(s)) s.joints[SLA_J_STEER] = 0;
    return sus::kOk;
}

void set_drivers(const sla_suspension_s& s) {
    if (sus::sla_no_steering(s))
        sus::set_articulation_drivers({s.joints[SLA_J_SHK_CENTER]});
    else
        sus::set_articulation_drivers({s.joints[SLA_J_SHK_CENTER], s.joints[SLA_J_STEER]});
}

// The bar's components are read only with the stabilizer: then a count
// must come with an array that holds it.
bool components_usable(const sla_suspension_s& s) {
    return !s.has_stabilizer || sus::bar_components_fit(s.stab_components, s.stab_component_count);
}

}  // namespace

/* ---- name enquiries ---- */

int HM_VD_SLA_SUSP_ask_num_of_names(void) { return SLA_SUSP_NAME_SLOTS; }

void HM_VD_SLA_SUSP_ask_nth_name(int n, char* name) {
    sus::copy_table_name(sus::table_slot(kSlaNames, SLA_SUSP_NAME_SLOTS, n), name, SLA_SUSP_NAME_SIZE);
}

/* ---- the template ---- */

int HM_VD_SLA_SUSP_initial(sla_suspension_s* susp) {
    if (!susp) return sus::kBadInput;
    sus::sla_clear_no_steering(*susp);
    for (const HardPoint& h : kHardPoints)
        for (double& x : susp->points[h.point]) x = 0.0;
    double matrix[9];
    (void)VD_get_csys(susp->plane_origin, matrix);
    for (int i = 0; i < 3; ++i) susp->plane_normal[i] = matrix[3 + i];
    for (const HardPoint& h : kHardPoints) mirror(*susp, susp->points[h.point], susp->points[h.mirror]);
    susp->has_stabilizer = false;
    susp->mirror_inner_joint = true;
    susp->mirror_stabilizer_bushing = true;
    susp->stab_components = nullptr;
    susp->stab_component_count = 0;
    susp->mechanism = 0;
    for (tag_t& t : susp->links) t = 0;
    for (tag_t& t : susp->joints) t = 0;
    return sus::kOk;
}

int HM_VD_SLA_SUSP_build_structure(sla_suspension_s* susp) {
    return sus::in_session(susp, [](sla_suspension_s& s) {
        if (!sus::record_finite(s)) return int{sus::kBadInput};
        if (int status = build_points(s)) return status;
        if (int status = build_jack_points(s)) return status;
        build_lines(s);
        return static_cast<int>(sus::kOk);
    });
}

int HM_VD_SLA_SUSP_build_motion(sla_suspension_s* susp) {
    if (susp && !components_usable(*susp)) return sus::kBadInput;
    return sus::in_session(susp, [](sla_suspension_s& s) {
        (void)HM_VD_build_mechanism(sus::sla_no_steering(s) ? kNoSteeringMechanismName : kMechanismName, &s.mechanism);
        if (int status = build_links(s)) return status;
        if (int status = build_joints(s)) return status;
        set_drivers(s);
        return static_cast<int>(sus::kOk);
    });
}

int HM_VD_SLA_SUSP_delete_structure(sla_suspension_s* susp) {
    return sus::in_session(susp, [](sla_suspension_s&) {
        sus::delete_first_of_each_name(kSlaNames, SLA_SUSP_NAME_SLOTS);
        return static_cast<int>(sus::kOk);
    });
}
