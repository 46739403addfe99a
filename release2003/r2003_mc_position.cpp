// The positioning of an outside mirror by the 2003 mirror-certification
// engine: the mirror turned about its pivot, in plan and then in side view,
// until the eye on the mirror's side sees the prime point reflected straight
// rearward, with the head turned towards the mirror's outer edge and, when
// the mirror has a bezel, the prime point on the glass the bezel leaves
// visible from that eye.
#include "r2003_mirror.h"

#include "hm_vd.h"
#include "hm_vd_curve.h"
#include "hm_vd_mc.h"
#include "omvra.h"
#include "toolbox/detail/constants.h"
#include "toolbox/detail/finite.h"
#include "toolbox/detail/owners.h"

#include <cmath>
#include <cstring>
#include <vector>

namespace carvell::r2003 {
namespace {

using detail::Temporaries;

constexpr int kFirstSolutionPasses = 25;
constexpr int kIterations = 50;
constexpr int kBezelIntervals = 72;
constexpr int kJoinMode = 2;
constexpr int kMoveObjects = 1;
constexpr int kOwnLayer = -1;
constexpr int kNoTraceCurves = 2;
constexpr int kTargetDirection = 1;   // the aim's target is a direction, not a point
constexpr double kRadiansPerDegree = 0.017453292519943295;

enum PositionCode {
    kPositioned = 0,
    kViewStepFailed = 1,
    kModellingFailed = 2,
    kAimFailed = 3,
    kReflectionFailed = 5,
    kBoundedSurfacesFailed = 6,
};

const double kIdentity[12] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0};
const double kRearward[3] = {1, 0, 0};

// The bezel sampled at 73 points (three doubles a point), with the curve
// joined from its pieces when there were several.
struct Bezel {
    tag_t joined = NULL_TAG;
    std::vector<double> points;
    Bezel() = default;
    Bezel(const Bezel&) = delete;
    Bezel& operator=(const Bezel&) = delete;
    ~Bezel() { detail::delete_if_alive(joined); }
    bool present() const { return !points.empty(); }
    int count() const { return static_cast<int>(points.size() / 3); }
};

// A geometry set released on every way out.
struct OwnedSet {
    mc_geometry_set_s set{};
    OwnedSet() = default;
    OwnedSet(const OwnedSet&) = delete;
    OwnedSet& operator=(const OwnedSet&) = delete;
    ~OwnedSet() { mc_free_geometry_set(&set); }
};

int sample_bezel(const mc_data_2003_s* d, Bezel* bezel) {
    if (!d->bezel_present) return 0;
    const std::vector<tag_t> curves = detail::list_items(d->bezel_curves);
    if (curves.empty()) return 0;
    tag_t curve = curves[0];
    if (curves.size() > 1) {
        if (HM_CURVE_create_joined_curve(d->bezel_curves, kJoinMode, &bezel->joined) != 0 ||
            bezel->joined == NULL_TAG)
            return kModellingFailed;
        curve = bezel->joined;
    }
    std::vector<double> samples(3 * (kBezelIntervals + 1), 0.0);
    std::vector<double*> rows;
    for (int i = 0; i <= kBezelIntervals; ++i) rows.push_back(&samples[3 * i]);
    int count = 0;
    if (HM_VD_curve_disperse_param_points(curve, kBezelIntervals, &count, rows.data()) != 0 ||
        count != kBezelIntervals + 1)
        return kModellingFailed;
    bezel->points.swap(samples);
    return 0;
}

// What the positioning works on: the record, the caller's surface and
// outside result, the eye-point output, and its working values.
struct Positioning {
    mc_data_2003_s* data;
    mc_mirror_surface_s* surface;   // turned with the mirror
    mc_outside_result_s* result;
    double (*eyes)[3];              // the eyes to use, from the outboard view step
    mc_mirror_surface_s saved;      // the surface of the unturned mirror
    double given_eyes[3][3];
    double head_pivot[3];
    double prime[3];                // P on the unturned mirror
    double plan = 0.0, side = 0.0;  // the turn, degrees
    double tolerances[2] = {0.0, 0.0};   // distance, angle (degrees)
};

// The eye on the mirror's side: the left eye when the pivot is not to the
// right of the eye reference point, else the right eye.
const double* side_eye(const Positioning& p) {
    return p.data->pivot[1] <= p.data->eye_reference[1] ? p.eyes[0] : p.eyes[2];
}

// The outboard view step from the outside result's eyes and head pivot: the
// eyes to use into the eye-point output, the view and head turn angles into
// the outside result.
int view_step(Positioning* p) {
    double view = 0.0, head_turn = 0.0;
    if (mc_ask_outboard_view_angle(p->data, p->given_eyes, p->head_pivot, p->eyes, &view, &head_turn) != 0)
        return kViewStepFailed;
    p->result->angle_view_angle = view;
    p->result->head_turn_angle = head_turn;
    return 0;
}

// The plan and side angles (degrees) of a unit vector: the turn about z and
// then about y that carries the x axis onto it.
void plan_and_side(const double v[3], double* plan, double* side) {
    *plan = -std::atan2(v[1], v[0]) * detail::kDegreesPerRadian;
    *side = std::atan2(v[2], std::sqrt(std::fmax(0.0, 1.0 - v[2] * v[2]))) * detail::kDegreesPerRadian;
}

// The surface normal at a point of the mirror: for a sphere the normal at
// the point, for a plane the plane's normal.
bool normal_at(const mc_mirror_surface_s& s, const double point[3], double tolerance, double normal[3]) {
    double n[3], magnitude = 0.0;
    for (int i = 0; i < 3; ++i) n[i] = (point[i] - s.vertex[i]) * s.curvature + s.normal[i];
    return HM_VEC3_unitize(n, tolerance, &magnitude, normal) == 0;
}

void write_angles(const Positioning& p) {
    p.result->mirror_rotation_angle_pv = p.plan;
    p.result->mirror_rotation_angle_ls = p.side;
}

// The first solution: the aim rotation for the eye on the mirror's side at
// P, with the eyes turned as the head turns towards the unturned mirror,
// until the head turn is stable; its plan and side angles start the
// iteration. Without a stable head turn after 25 passes the last values go on.
int first_solution(Positioning* p, double matrix[12]) {
    const mc_data_2003_s* d = p->data;
    double previous_turn = 0.0;
    for (int pass = 0; pass < kFirstSolutionPasses; ++pass) {
        if (int status = view_step(p)) return status;
        double normal[3];
        if (!normal_at(p->saved, p->prime, d->distance_tolerance, normal)) return kModellingFailed;
        if (mc_ask_mirror_aim_rotation(p->tolerances, d->pivot, p->prime, normal, kTargetDirection, side_eye(*p),
                                       kRearward, matrix) != 0)
            return kAimFailed;
        const double turn = p->result->head_turn_angle;
        if (pass > 0 && std::fabs(turn - previous_turn) < d->angle_tolerance) break;
        previous_turn = turn;
    }
    plan_and_side(matrix, &p->plan, &p->side);
    write_angles(*p);
    return 0;
}

// Rotation about z by the plan angle, then about y by the side angle, both
// through the point.
bool rotation(const double through[3], double plan, double side, double matrix[12]) {
    const double z[3] = {0, 0, 1}, y[3] = {0, 1, 0};
    double about_z[12], about_y[12];
    return hm5945(through, z, plan, about_z) == 0 && hm5945(through, y, side, about_y) == 0 &&
           hm5942(about_z, about_y, matrix) == 0;
}

// The inverse of rotation(): back about y, then back about z.
bool inverse_rotation(const double through[3], double plan, double side, double matrix[12]) {
    const double z[3] = {0, 0, 1}, y[3] = {0, 1, 0};
    double about_z[12], about_y[12];
    return hm5945(through, y, -side, about_y) == 0 && hm5945(through, z, -plan, about_z) == 0 &&
           hm5942(about_y, about_z, matrix) == 0;
}

bool move_sheet(tag_t sheet, const double matrix[12]) {
    tag_t moved = NULL_TAG;
    int status = 0;
    return hm5947(matrix, &sheet, 1, kMoveObjects, kOwnLayer, kNoTraceCurves, &moved, nullptr, &status) == 0 &&
           status == 0;
}

// The sheet in use replaced by a copy of itself (the replaced sheet deleted
// unless it is the caller's), the copy's outline taken into the record, and
// the copy brought back to the unturned position.
int unturned_copy(mc_data_2003_s* d, const double inverse[12]) {
    tag_t copy = NULL_TAG;
    if (HM_VD_copy_object(HM_VD_KEEP_LAYER, 1, &d->mirror_sheet, &copy) != 0 || copy == NULL_TAG)
        return kModellingFailed;
    if (d->mirror_sheet != d->caller_mirror_sheet) (void)HM_VD_delete_object(d->mirror_sheet);
    d->mirror_sheet = copy;
    if (mc_build_geometry_set(copy, nullptr, 0, &d->mirror_set) != 0) return kModellingFailed;
    return move_sheet(copy, inverse) ? 0 : kModellingFailed;
}

// The mirror turned by the angles about the pivot: a fresh copy of the sheet
// in use, the surface from its unturned values (its centre too, which the
// sphere caps are built about) and P on the turned mirror. The turn goes to
// the matrix, the copy to the rotated sheet.
int turn_mirror(Positioning* p, const double inverse[12], double matrix[12], tag_t* rotated, double on_mirror[3]) {
    mc_data_2003_s* d = p->data;
    if (int status = unturned_copy(d, inverse)) return status;
    const double origin[3] = {0, 0, 0};
    double turn[12], turn_about_origin[12];
    if (!rotation(d->pivot, p->plan, p->side, turn) || !rotation(origin, p->plan, p->side, turn_about_origin))
        return kModellingFailed;
    *p->surface = p->saved;
    (void)hm5941(p->surface->vertex, turn);
    (void)hm5941(p->surface->centre, turn);
    (void)hm5941(p->surface->normal, turn_about_origin);
    std::memcpy(on_mirror, p->prime, 3 * sizeof(double));
    (void)hm5941(on_mirror, turn);
    if (!move_sheet(d->mirror_sheet, turn)) return kModellingFailed;
    std::memcpy(matrix, turn, sizeof turn);
    *rotated = d->mirror_sheet;
    return 0;
}

// A bounded surface of the turned mirror through the closed curves: a
// bounded plane for a flat mirror, else a cap of the mirror's sphere.
int bounded_surface(const Positioning& p, int count, const tag_t* curves, tag_t* sheet) {
    if (p.data->mirror_shape == 0) {
        const double tolerances[3] = {p.tolerances[0], p.tolerances[1] * kRadiansPerDegree, 0.0};
        return mc_create_bounded_plane(count, curves, false, nullptr, 0, false, nullptr, tolerances, sheet);
    }
    mc_mirror_surface_s cap = *p.surface;
    return mc_trim_sphere_to_outline(curves, count, p.tolerances[0], sheet, &cap);
}

// Whether P, on the turned mirror, lies on the glass that the bezel leaves
// visible from the eye on the mirror's side: the bezel seen on the glass
// and the glass itself made sheets and intersected; P becomes the nearest
// point of what they share.
int check_visible_glass(const Positioning& p, const Bezel& bezel, double on_mirror[3], bool* inside) {
    const int n = bezel.count();
    std::vector<double> seen(bezel.points.size());
    for (int i = 0; i < n; ++i) {
        double direction[3];
        if (HM_VD_MC_reflex(p.surface, side_eye(p), &bezel.points[3 * i], p.tolerances, &seen[3 * i], direction) != 0)
            return kReflectionFailed;
    }
    OwnedSet glass_outline;
    Temporaries temporaries;
    tag_t spline = NULL_TAG;
    const int made = HM_VD_create_spline_thru_points_by_degree(n, seen.data(), &spline);
    temporaries.add(spline);
    if (made != 0 || spline == NULL_TAG) return kBoundedSurfacesFailed;
    if (mc_build_geometry_set(p.data->mirror_sheet, nullptr, 0, &glass_outline.set) != 0) return kModellingFailed;
    tag_t visible = NULL_TAG, glass = NULL_TAG;
    const int visible_status = bounded_surface(p, 1, &spline, &visible);
    temporaries.add(visible);
    if (visible_status != 0) return kBoundedSurfacesFailed;
    const int glass_status = bounded_surface(p, glass_outline.set.curve_count, glass_outline.set.curves, &glass);
    temporaries.add(glass);
    if (glass_status != 0) return kBoundedSurfacesFailed;
    if (HM_MODL_operations(glass, visible, HM_MODL_INTERSECT) != 0) return kModellingFailed;
    tag_t point = NULL_TAG;
    const int pointed = HM_CURVE_create_point(on_mirror, &point);
    temporaries.add(point);
    double distance = 0.0, near_point[3], near_glass[3];
    if (pointed != 0 || point == NULL_TAG ||
        HM_MODL_ask_minimum_dist(point, glass, 0, nullptr, 0, nullptr, &distance, near_point, near_glass) != 0)
        return kModellingFailed;
    std::memcpy(on_mirror, near_glass, sizeof near_glass);
    *inside = distance < p.tolerances[0];
    return 0;
}

// The turned mirror's reflection of the sight line through P: when its plan
// or side error reaches the angle tolerance, half of each is added to the
// angles (the mirror turns by half what the ray turns); else the aim stands.
int correct_aim(Positioning* p, const double on_mirror[3], bool* aimed) {
    double hit[3], reflected[3], unit[3], magnitude = 0.0;
    if (HM_VD_MC_reflex(p->surface, side_eye(*p), on_mirror, p->tolerances, hit, reflected) != 0)
        return kReflectionFailed;
    if (HM_VEC3_unitize(reflected, p->tolerances[0], &magnitude, unit) != 0) return kModellingFailed;
    double plan_error = 0.0, side_error = 0.0;
    plan_and_side(unit, &plan_error, &side_error);
    *aimed = std::fabs(plan_error) < p->tolerances[1] && std::fabs(side_error) < p->tolerances[1];
    if (!*aimed) {
        p->side += 0.5 * side_error;
        p->plan += 0.5 * plan_error;
    }
    return 0;
}

// One iteration: the mirror turned by the angles, P kept on the visible
// glass, the eyes turned again towards the turned mirror and the aim
// corrected. *done when P is on the visible glass and the head turn and the
// aim are stable.
int iterate(Positioning* p, const Bezel& bezel, double inverse[12], double matrix[12], tag_t* rotated,
            double prime_on_mirror[3], bool* done) {
    double on_mirror[3];
    if (int status = turn_mirror(p, inverse, matrix, rotated, on_mirror)) return status;
    // The outside result's angles are those of the turn just made.
    write_angles(*p);
    bool inside = true;
    if (bezel.present())
        if (int status = check_visible_glass(*p, bezel, on_mirror, &inside)) return status;
    std::memcpy(prime_on_mirror, on_mirror, sizeof on_mirror);
    if (!inverse_rotation(p->data->pivot, p->plan, p->side, inverse)) return kModellingFailed;
    std::memcpy(p->prime, on_mirror, sizeof on_mirror);
    (void)hm5941(p->prime, inverse);
    const double previous_turn = p->result->head_turn_angle;
    if (int status = view_step(p)) return status;
    const bool turn_stable = std::fabs(p->result->head_turn_angle - previous_turn) < p->tolerances[1];
    bool aimed = false;
    if (int status = correct_aim(p, on_mirror, &aimed)) return status;
    *done = inside && turn_stable && aimed;
    return 0;
}

int position(Positioning* p, double matrix[12], tag_t* rotated, double prime_on_mirror[3]) {
    Bezel bezel;
    if (int status = sample_bezel(p->data, &bezel)) return status;
    if (int status = first_solution(p, matrix)) return status;
    double inverse[12];
    std::memcpy(inverse, kIdentity, sizeof kIdentity);
    bool done = false;
    // Not settled after the last iteration: the last values stand.
    for (int i = 0; i < kIterations && !done; ++i)
        if (int status = iterate(p, bezel, inverse, matrix, rotated, prime_on_mirror, &done)) return status;
    return kPositioned;
}

bool surface_is_finite(const mc_mirror_surface_s& s) {
    return detail::finite3(s.centre) && std::isfinite(s.curvature) && std::isfinite(s.radius) &&
           detail::finite3(s.vertex) && detail::finite3(s.normal);
}

bool usable_input(const mc_data_2003_s& d, const mc_mirror_surface_s& s, const mc_outside_result_s& r) {
    const bool tolerances = std::isfinite(d.distance_tolerance) && d.distance_tolerance > 0.0 &&
                            std::isfinite(d.angle_tolerance) && d.angle_tolerance > 0.0;
    return tolerances && detail::finite3(d.pivot) && detail::finite3(d.eye_reference) && detail::finite3(d.prime) &&
           surface_is_finite(s) && detail::finite3(r.left_eye) && detail::finite3(r.mid_eye) &&
           detail::finite3(r.right_eye) && detail::finite3(r.head_pivot);
}

}  // namespace
}  // namespace carvell::r2003

int HM_VD_MC_pro_position_outside_mirror(mc_data_2003_s* data, mc_mirror_surface_s* surface,
                                         mc_outside_result_s* result, double matrix[12], tag_t* rotated_sheet,
                                         double prime_on_mirror[3], double eyes[3][3]) {
    using namespace carvell::r2003;
    if (!data || !surface || !result || !matrix || !rotated_sheet || !prime_on_mirror || !eyes) return -1;
    if (!usable_input(*data, *surface, *result)) return -1;
    Positioning p{data, surface, result, eyes, *surface, {}, {}, {}};
    std::memcpy(p.given_eyes[0], result->left_eye, sizeof p.given_eyes[0]);
    std::memcpy(p.given_eyes[1], result->mid_eye, sizeof p.given_eyes[1]);
    std::memcpy(p.given_eyes[2], result->right_eye, sizeof p.given_eyes[2]);
    std::memcpy(p.head_pivot, result->head_pivot, sizeof p.head_pivot);
    std::memcpy(p.prime, data->prime, sizeof p.prime);
    p.tolerances[0] = data->distance_tolerance;
    p.tolerances[1] = data->angle_tolerance;
    return position(&p, matrix, rotated_sheet, prime_on_mirror);
}
