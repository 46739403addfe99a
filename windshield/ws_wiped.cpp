// The wiped area: each wiper's arm turned about its pivot in steps, the arm
// tip found on the glass, the blade laid along the glass through the tip,
// and the outline of the swept region (first and last blade, the paths of
// both blade ends split where an end runs off the glass) as point lists.
#include "ws_internal.h"

#include "hm_vd.h"
#include "hm_vd_curve.h"
#include "toolbox/detail/finite.h"
#include "toolbox/detail/owners.h"
#include "toolbox/detail/vec3.h"

#include "elvosk.h"
#include "kestrin.h"
#include "quillon.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace carvell::windshield {
namespace {

using Points = std::vector<std::vector<double>>;

constexpr double kDegreesPerRadian = 57.29577951308232;
// A circle point is the arm tip when its angle about the normal is within
// this of the arm angle (degrees).
constexpr double kTipAngleSlack = 1.0;
constexpr double kJoinFactor = 10.0;
// Halvings of the blade-end search before it settles for the last value.
constexpr int kMaxBisections = 60;
enum WipedCode { kWipedOk = 0, kTwoWipersFailed = 4, kOneWiperFailed = 5 };
constexpr int kOneWiper = 2;

double dot(const double a[3], const double b[3]) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
void cross(const double a[3], const double b[3], double out[3]) {
    out[0] = a[1] * b[2] - a[2] * b[1];
    out[1] = a[2] * b[0] - a[0] * b[2];
    out[2] = a[0] * b[1] - a[1] * b[0];
}
// The part of v normal to the unit normal n.
void in_plane(const double v[3], const double n[3], double out[3]) {
    const double d = dot(v, n);
    for (int i = 0; i < 3; ++i) out[i] = v[i] - d * n[i];
}
void unit(double v[3]) {
    const double l = std::sqrt(dot(v, v));
    if (l > 0.0)
        for (int i = 0; i < 3; ++i) v[i] /= l;
}

// The curves the object has in common with the plane through the origin
// with the normal; the plane itself is deleted.
std::vector<tag_t> plane_section(const double origin[3], const double normal[3], tag_t object, double tolerance) {
    std::vector<tag_t> curves;
    tag_t plane = 0;
    if (HM_MODL_create_plane(origin, normal, &plane) || plane == 0) return curves;
    int count = 0;
    HM_MODL_intersection_t** entries = nullptr;
    if (HM_MODL_intersect_objects(plane, object, tolerance, &count, &entries) == 0)
        for (int i = 0; i < count; ++i)
            if (entries[i]->kind == HM_INTERSECTION_CURVE) curves.push_back(entries[i]->curve);
    detail::free_intersection_entries(count, entries);
    (void)HM_OBJ_delete_object(plane);
    return curves;
}

// One step of a sweep.
struct Step {
    bool hit = false;
    double tip[3] = {0, 0, 0};
    tag_t section = 0;
    double end[2][3] = {{0, 0, 0}, {0, 0, 0}};
    bool reached[2] = {false, false};
};

struct SweepSetting {
    const Frame* frame;
    tag_t sheet;
    std::vector<tag_t> faces;
    double normal[3];
    double pivot[3];
    double tolerance;
    double angle_tolerance;   // radians
};

// The blade's section through the tip: the sheet cut by the plane through
// the tip that holds the blade direction and the normal. 0 when the cut is
// not one curve.
tag_t blade_section(const SweepSetting& s, const double tip[3], double blade_angle) {
    double w[3], to_pivot[3], blade[3] = {0, 0, 0}, plane_normal[3];
    for (int i = 0; i < 3; ++i) to_pivot[i] = s.pivot[i] - tip[i];
    in_plane(to_pivot, s.normal, w);
    HM_VD_vec3_rotate(w, s.normal, blade_angle, blade);
    cross(s.normal, blade, plane_normal);
    std::vector<tag_t> pieces = plane_section(tip, plane_normal, s.sheet, s.tolerance);
    if (pieces.size() == 1) return pieces[0];
    tag_t section = 0;
    if (pieces.size() > 1) {
        int count = 0;
        detail::SmBlock<tag_t> joined;
        if (CRV_JOIN_auto_join_curves(int(pieces.size()), pieces.data(), kJoinFactor * s.tolerance,
                                      kJoinFactor * s.angle_tolerance, &count, joined.out()) == 0) {
            if (count == 1) section = joined[0];
            else
                for (int i = 0; i < count; ++i) detail::delete_if_alive(joined[i]);
        }
    }
    for (tag_t p : pieces) detail::delete_if_alive(p);
    return section;
}

void ws_ask_arm_tip(const SweepSetting& s, tag_t sphere_face, const double reference[3], double angle,
                    double blade_angle, Step& step) {
    double arm[3] = {0, 0, 0}, plane_normal[3];
    HM_VD_vec3_rotate(reference, s.normal, angle, arm);
    cross(s.normal, arm, plane_normal);
    // The arm's circle on the sphere (the kernel may hand it over in pieces
    // split at the sphere's seam: each piece is examined).
    const std::vector<tag_t> circles = plane_section(s.pivot, plane_normal, sphere_face, s.tolerance);
    const double wanted = std::fmod(std::fmod(angle, 360.0) + 360.0, 360.0);
    for (tag_t circle : circles)
        for (tag_t face : s.faces) {
            if (step.hit) break;
            int count = 0;
            HM_MODL_intersection_t** entries = nullptr;
            if (HM_MODL_intersect_objects(circle, face, s.tolerance, &count, &entries) == 0)
                for (int i = 0; i < count && !step.hit; ++i) {
                    if (entries[i]->kind != HM_INTERSECTION_POINT) continue;
                    const double* p = entries[i]->point;
                    double offset[3], v[3], between = 0.0;
                    for (int k = 0; k < 3; ++k) offset[k] = p[k] - s.pivot[k];
                    in_plane(offset, s.normal, v);
                    if (HM_VEC3_angle_between(reference, v, s.normal, &between)) continue;
                    // Angles compared modulo a full turn.
                    double diff = std::fabs(between * kDegreesPerRadian - wanted);
                    diff = std::min(diff, 360.0 - diff);
                    if (diff < kTipAngleSlack) {
                        std::copy(p, p + 3, step.tip);
                        step.hit = true;
                    }
                }
            detail::discard_intersection_entries(count, entries);
        }
    for (tag_t circle : circles) detail::delete_if_alive(circle);
    if (!step.hit) return;
    step.section = blade_section(s, step.tip, blade_angle);
    step.hit = step.section != 0;
}

// The end of the blade on one side of the tip: the point at arc length
// `half` from the tip, or the curve's end on that side when the glass is shorter.
void blade_end(tag_t curve, double t0, double half, double tolerance, bool low_side, double end[3], bool& reached) {
    double length = 0.0;
    (void)HM_CURVE_ask_arc_length(curve, low_side ? 0.0 : t0, low_side ? t0 : 1.0, &length);
    reached = length > half;
    double t = low_side ? 0.0 : 1.0;
    if (reached) {
        double lo = low_side ? 0.0 : t0, hi = low_side ? t0 : 1.0;
        for (int i = 0; i < kMaxBisections; ++i) {
            t = 0.5 * (lo + hi);
            double arc = 0.0;
            (void)HM_CURVE_ask_arc_length(curve, std::min(t, t0), std::max(t, t0), &arc);
            if (std::fabs(arc - half) <= tolerance) break;
            // A longer arc moves the far end towards the tip.
            if ((arc > half) == low_side) lo = t;
            else hi = t;
        }
    }
    (void)HM_VD_CURVE_ask_point_on_curve(curve, t, end);
}

void ws_ask_blade_end_points(tag_t curve, const double tip[3], double half, double tolerance, Step& step) {
    double t0 = 0.0, foot[3];
    if (HM_MODL_ask_curve_parm(curve, tip, &t0, foot)) return;
    blade_end(curve, t0, half, tolerance, true, step.end[0], step.reached[0]);
    blade_end(curve, t0, half, tolerance, false, step.end[1], step.reached[1]);
}

// The runs of one end path: a new run where the end leaves the glass edge
// or comes back to its full reach; neighbouring runs share their joining point.
std::vector<Points> runs_of(const std::vector<const Step*>& hits, int side) {
    std::vector<Points> runs;
    auto point = [&](size_t k) { return std::vector<double>(hits[k]->end[side], hits[k]->end[side] + 3); };
    Points current{point(0)};
    for (size_t k = 1; k < hits.size(); ++k) {
        const bool now = hits[k]->reached[side], before = hits[k - 1]->reached[side];
        if (now == before) {
            current.push_back(point(k));
        } else if (!now) {
            runs.push_back(current);
            current = {point(k - 1), point(k)};
        } else {
            current.push_back(point(k));
            runs.push_back(current);
            current = {point(k)};
        }
    }
    runs.push_back(current);
    return runs;
}

struct Sweep {
    std::vector<Points> curves;
    double mid_tip[3] = {0, 0, 0};
};

struct WiperSetting {
    double pivot[3];
    double arm_length, blade_length, sweep_angle, first_angle, blade_angle, angle_step;
    int n;
};

// Deletes the sphere feature and its body.
void delete_feature(tag_t feature) {
    tag_t body = 0;
    (void)HM_MODL_ask_feat_body(feature, &body);
    detail::delete_if_alive(body);
    detail::delete_if_alive(feature);
}

// A sweep that can be run: every number usable, a positive step of a sane
// count, lengths above 0 and at least two points per blade line.
bool sweepable(const WiperSetting& w) {
    const double numbers[] = {w.arm_length, w.blade_length, w.sweep_angle, w.first_angle, w.blade_angle, w.angle_step};
    return detail::in_model_space(w.pivot, 3) && detail::in_model_space(numbers, 6) && w.angle_step > 0.0 &&
           w.sweep_angle >= 0.0 && w.sweep_angle / w.angle_step <= HM_VD_WS_MAX_SWEEP_STEPS &&
           w.arm_length > 0.0 && w.blade_length > 0.0 && w.n >= 2;
}

// The glass, its faces, the forward normal and the tolerances of one sweep,
// with the reference direction (-y moved onto the plane normal to the normal).
bool sweep_setting(const Frame& frame, tag_t sheet, const double normal[3], const double pivot[3], SweepSetting& s,
                   double reference[3]) {
    s = SweepSetting{&frame, sheet, {}, {normal[0], normal[1], normal[2]}, {pivot[0], pivot[1], pivot[2]}, 0, 0};
    (void)HM_MODL_ask_distance_tolerance(&s.tolerance);
    double degrees = 0.0;
    (void)HM_MODL_ask_angle_tolerance(&degrees);
    s.angle_tolerance = degrees / kDegreesPerRadian;   // the joins take radians
    detail::HostList faces;
    if (HM_MODL_ask_body_faces(sheet, faces.out())) return false;
    s.faces = faces.items();
    // The normal points forward (against the vehicle x axis).
    if (dot(s.normal, frame.x_axis()) > 0.0)
        for (double& c : s.normal) c = -c;
    unit(s.normal);
    double minus_y[3];
    for (int i = 0; i < 3; ++i) minus_y[i] = -frame.y_axis()[i];
    in_plane(minus_y, s.normal, reference);
    return true;
}

// The sphere the arm tip runs on (diameter written as "%10g"): its feature
// and its one face, or false (nothing left) when it has not exactly one face.
bool arm_sphere(const WiperSetting& w, tag_t& feature, tag_t& face) {
    char diameter[32];
    std::snprintf(diameter, sizeof diameter, "%10g", 2.0 * w.arm_length);
    feature = face = 0;
    if (HM_MODL_create_sphere1(HM_NULLSIGN, w.pivot, diameter, &feature) || feature == 0) return false;
    tag_t body = 0;
    (void)HM_MODL_ask_feat_body(feature, &body);
    detail::HostList faces;
    if (body == 0 || HM_MODL_ask_body_faces(body, faces.out()) || faces.items().size() != 1) {
        delete_feature(feature);
        return false;
    }
    face = faces.items()[0];
    return true;
}

// Every step of the sweep; the hits in order, each path kept to its side.
std::vector<const Step*> sweep_steps(const SweepSetting& s, tag_t sphere_face, const double reference[3],
                                     const WiperSetting& w, std::vector<Step>& all) {
    const int steps = int(all.size());
    std::vector<const Step*> hits;
    for (int i = 0; i < steps; ++i) {
        // The last step takes the last angle exactly (also when it is the only one).
        const double angle = i == steps - 1 ? w.first_angle - w.sweep_angle
                                            : w.first_angle - i * w.sweep_angle / (steps - 1);
        Step& step = all[i];
        ws_ask_arm_tip(s, sphere_face, reference, angle, w.blade_angle, step);
        if (!step.hit) continue;
        ws_ask_blade_end_points(step.section, step.tip, 0.5 * w.blade_length, s.tolerance, step);
        if (hits.size() >= 2) {
            const Step& prev = *hits.back();
            if (detail::distance3(step.end[0], prev.end[1]) < detail::distance3(step.end[0], prev.end[0])) {
                for (int k = 0; k < 3; ++k) std::swap(step.end[0][k], step.end[1][k]);
                std::swap(step.reached[0], step.reached[1]);
            }
        }
        hits.push_back(&step);
    }
    return hits;
}

// The outline from the hits: first blade, runs of path A, runs of path B,
// last blade; the mid-sweep tip. The section curves are deleted.
int sweep_outline(std::vector<Step>& all, const std::vector<const Step*>& hits, int n, Sweep& out) {
    int first = -1, last = 0;
    for (int i = 0; i < int(all.size()); ++i)
        if (all[i].hit) {
            if (first < 0) first = i;
            if (i > 0) last = i;
        }
    for (int i = first + 1; first >= 0 && i < last; ++i) detail::delete_if_alive(all[i].section);
    auto drop_ends = [&] {
        if (first >= 0) detail::delete_if_alive(all[first].section);
        if (last > 0) detail::delete_if_alive(all[last].section);
    };
    if (hits.size() < 2 || first >= last) {
        drop_ends();
        return kTwoWipersFailed;
    }
    // The mid-sweep tip: the hit nearest the middle step.
    const int middle = (first + last) / 2;
    int nearest = first;
    for (int i = first; i <= last; ++i)
        if (all[i].hit && std::abs(i - middle) < std::abs(nearest - middle)) nearest = i;
    std::copy(all[nearest].tip, all[nearest].tip + 3, out.mid_tip);
    Points first_blade, last_blade;
    const int r1 = ws_curve_points_between(all[first].section, all[first].end[0], all[first].end[1], n, first_blade);
    const int r2 = ws_curve_points_between(all[last].section, all[last].end[0], all[last].end[1], n, last_blade);
    drop_ends();
    if (r1 || r2) return kTwoWipersFailed;
    out.curves.push_back(first_blade);
    for (const Points& run : runs_of(hits, 0)) out.curves.push_back(run);
    for (const Points& run : runs_of(hits, 1)) out.curves.push_back(run);
    out.curves.push_back(last_blade);
    return kWipedOk;
}

int ws_sweep_wiper(const Frame& frame, tag_t sheet, const double normal[3], const WiperSetting& w, Sweep& out) {
    out = Sweep{};
    // A step that is not a positive number fails before anything is made.
    if (!sweepable(w)) return kTwoWipersFailed;
    SweepSetting s;
    double reference[3];
    if (!sweep_setting(frame, sheet, normal, w.pivot, s, reference)) return kTwoWipersFailed;
    tag_t sphere = 0, sphere_face = 0;
    if (!arm_sphere(w, sphere, sphere_face)) return kTwoWipersFailed;
    std::vector<Step> all(int(std::floor(w.sweep_angle / w.angle_step)) + 1);
    const std::vector<const Step*> hits = sweep_steps(s, sphere_face, reference, w, all);
    delete_feature(sphere);
    return sweep_outline(all, hits, w.n, out);
}

}  // namespace

int ws_ask_windshield_normal(int face_count, const tag_t* faces, const Frame& frame, double normal[3]) {
    int count = 0;
    detail::SmBlock<tag_t> sheets;
    (void)extract_and_sew_faces_with_disjoint(face_count, faces, &count, sheets.out());
    detail::Temporaries sewn;
    for (int i = 0; i < count; ++i) sewn.add(sheets[i]);
    if (count != 1) return -1;
    double mid[3], low[3];
    if (ws_ask_center_section_points(sheets[0], frame, mid, low) != 0) return -1;
    double tolerance = 0.0;
    (void)HM_MODL_ask_distance_tolerance(&tolerance);
    detail::HostList sheet_faces;
    if (HM_MODL_ask_body_faces(sheets[0], sheet_faces.out())) return -1;
    for (tag_t face : sheet_faces.items()) {
        double parm[2], foot[3];
        if (HM_MODL_ask_face_parm(face, mid, parm, foot) || detail::distance3(foot, mid) > tolerance) continue;
        double point[3], u1[3], v1[3], u2[3], v2[3], radii[2];
        if (HM_MODL_ask_face_props(face, parm, point, u1, v1, u2, v2, normal, radii) == 0) return 0;
    }
    return -1;
}

int ws_create_wiped_area(const Frame& frame, int face_count, const tag_t* faces, tag_t sheet, const ws_data_t& data,
                         ws_wiped_group_t& group, double mid_tip1[3], double mid_tip2[3]) {
    (void)UI_set_status("creating windshield wiped area");
    group_free(group.count, group.point_counts, group.points);
    group.first_wiper_curve_count = 0;
    auto setting = [&](int k, double first_angle) {
        return WiperSetting{{data.pivot[k][0], data.pivot[k][1], data.pivot[k][2]}, data.arm_length[k],
                            data.blade_length[k], data.sweep_angle[k], first_angle, data.blade_angle[k],
                            data.angle_step, data.points_per_curve};
    };
    const bool one_wiper = data.wiper_mode == kOneWiper;
    const bool start1 = data.arm_angle_at_start || data.wiper_mode == 1;
    const bool start2 = data.arm_angle_at_start && data.wiper_mode == 0;
    const WiperSetting wiper1 =
        setting(0, one_wiper || !start1 ? data.arm_angle[0] + data.sweep_angle[0] : data.arm_angle[0]);
    const WiperSetting wiper2 = setting(1, start2 ? data.arm_angle[1] : data.arm_angle[1] + data.sweep_angle[1]);
    // Wipers that cannot be swept fail before anything is made.
    if (!sweepable(wiper1) || (!one_wiper && !sweepable(wiper2)))
        return one_wiper ? kOneWiperFailed : kTwoWipersFailed;
    double normal[3] = {0, 0, 0};
    const bool reference = sheet != 0 && ws_ask_windshield_normal(face_count, faces, frame, normal) == 0;
    Sweep one, two;
    int code = kWipedOk;
    if (one_wiper) {
        if (ws_sweep_wiper(frame, sheet, normal, wiper1, one)) code = kOneWiperFailed;
    } else if (!reference) {
        code = kTwoWipersFailed;
    } else if (ws_sweep_wiper(frame, sheet, normal, wiper1, one) || ws_sweep_wiper(frame, sheet, normal, wiper2, two)) {
        code = kTwoWipersFailed;
    }
    if (code != kWipedOk) return code;
    for (const Points& c : one.curves) group_append(group.count, group.point_counts, group.points, c);
    group.first_wiper_curve_count = group.count;
    for (const Points& c : two.curves) group_append(group.count, group.point_counts, group.points, c);
    std::copy(one.mid_tip, one.mid_tip + 3, mid_tip1);
    std::copy(two.mid_tip, two.mid_tip + 3, mid_tip2);
    return kWipedOk;
}

}  // namespace carvell::windshield
