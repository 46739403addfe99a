// HM_VD_MC_pro_position_outside_mirror: an outside mirror aimed about its
// pivot, in plan and side view, until the eye on the mirror's side sees
// straight rearward at the prime point, with the head turned as the driver
// turns it, and with the prime point on the glass the bezel leaves visible.
#include "mirror_flow.h"
#include "mirror_helpers.h"
#include "mirror_optics.h"
#include "mirror_record.h"

#include "hm_vd/curve_utils.h"
#include "hm_vd/objects.h"
#include "omvra.h"
#include "quillon.h"
#include "toolbox/detail/curve_samples.h"
#include "toolbox/detail/owners.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

namespace carvell::mirror {
namespace {

constexpr int kStartingPasses = 25;
constexpr int kIterations = 50;
constexpr int kJoinOption = 2;
constexpr int kMoveObjects = 1;
constexpr int kNoTraceCurves = 2;
constexpr int kDebugLayer = 100;
constexpr double kSphereCurvature = 1e-10;
constexpr double kDegrees = kDegreesPerRadian;

enum PositionCode {
    kPositioned = 0,
    kHeadTurnFailed = 1,
    kRotationFailed = 2,
    kNoAimMatrix = 3,
    kReflectionFailed = 5,
    kUsableMirrorFailed = 6,
};

const char* const kRotationText =
    "The program failed to rotate the mirror data when attempting to \nposition an outside mirror.\nTo fix this "
    "problem , you may try following:\n1. Slightly adjust the position of prime point.\n2. Change the initial "
    "mirror location.\n3. Verify the pivot point is correct.";
const char* const kHeadText =
    "The program failed to rotate eyes and head when attempting \nto position an outside mirror.";
const char* const kBezelText =
    "The program failed to sample the bezel curves when it attempting \nto position an outside mirror.";
const char* const kReflectionText =
    "The program failed to compute reflection point and direction of \nthe reflected ray.";

const double kIdentity[12] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0};

double clamped_asin_degrees(double s) { return std::atan2(s, std::sqrt(std::fmax(0.0, 1.0 - s * s))) * kDegrees; }

// The bezel's samples and corners, and the joined curve the run made.
struct Bezel {
    std::vector<double> points;   // packed, three a sample
    std::vector<int> breaks;
    tag_t joined = NULL_TAG;
    ~Bezel() { detail::delete_if_alive(joined); }
    bool present() const { return !points.empty(); }
    int count() const { return static_cast<int>(points.size() / 3); }
};

int sample_bezel(mc_data_s* d, Bezel* bezel) {
    const std::vector<tag_t> curves = detail::list_items(d->bezels);
    if (!d->has_bezel || curves.empty()) return 0;
    trace("+++ GET SMAPLING POINT from bezel curve\n");
    tag_t curve = curves[0];
    if (curves.size() > 1) {
        int count = 0;
        detail::SmBlock<tag_t> joined;
        const int status = HM_CURVE_auto_join_curves(curves.data(), static_cast<int>(curves.size()), kJoinOption,
                                                     &count, joined.out());
        if (status != 0 || count != 1) {
            for (int i = 0; joined && i < count; ++i) detail::delete_if_alive(joined[i]);
            return stage_failure(d, "Fail to join the bezel curves\n", kBezelText, kRotationFailed);
        }
        curve = bezel->joined = joined[0];
    }
    int n = 0, break_count = 0;
    double** points = nullptr;
    int* breaks = nullptr;
    // Points enough for each piece's bends: a straight piece gives its ends.
    detail::chord_curve_points(curve, d->distance_tolerance, &n, &points, &break_count, &breaks);
    for (int i = 0; i < n; ++i) {
        bezel->points.insert(bezel->points.end(), points[i], points[i] + 3);
        SM_free(points[i]);
    }
    SM_free(points);
    bezel->breaks.assign(breaks, breaks + break_count);
    SM_free(breaks);
    if (n == 0) return stage_failure(d, "Fail to sample the bezel curve\n", kBezelText, kRotationFailed);
    return 0;
}

// The eye on the mirror's side: the left eye when the pivot is not to the
// right of the eye reference point, else the right eye.
const double* side_eye(const mc_data_s* d, const double eyes[3][3]) {
    return d->mirror_reference_point[1] <= d->eye_reference_point[1] ? eyes[0] : eyes[2];
}

struct Eyes {
    double given[3][3];
    double pivot[3];
    double turned[3][3];
    double head_turn = 0.0;
    double view_angle = 0.0;
};

int turn_eyes(mc_data_s* d, Eyes* e) {
    if (mc_ask_mirror_view_angles(d, e->given, e->pivot, e->turned, &e->view_angle, &e->head_turn) != 0)
        return stage_failure(d, "Fail to rotate eyes and head. \n", kHeadText, kHeadTurnFailed);
    return 0;
}

// The surface normal at a point of the mirror: exact on a sphere and a plane.
void normal_at(const mc_mirror_surface_record& s, const double p[3], double out[3], double tolerance) {
    double n[3], magnitude = 0.0;
    for (int i = 0; i < 3; ++i) n[i] = s.normal[i] + (p[i] - s.vertex[i]) * s.curvature;
    if (HM_VEC3_unitize(n, tolerance, &magnitude, out) != 0) std::memcpy(out, s.normal, sizeof(double) * 3);
}

// Rotation about z by the plan angle, then about y by the side angle, both
// through the point.
bool rotation(const double through[3], double plan, double side, double matrix[12]) {
    const double z[3] = {0, 0, 1}, y[3] = {0, 1, 0};
    double rz[12], ry[12];
    if (hm5945(through, z, plan, rz) != 0 || hm5945(through, y, side, ry) != 0) return false;
    return hm5942(rz, ry, matrix) == 0;
}

// The inverse of rotation(): back about y, then back about z.
bool inverse_rotation(const double through[3], double plan, double side, double matrix[12]) {
    const double z[3] = {0, 0, 1}, y[3] = {0, 1, 0};
    double rz[12], ry[12];
    if (hm5945(through, y, -side, ry) != 0 || hm5945(through, z, -plan, rz) != 0) return false;
    return hm5942(ry, rz, matrix) == 0;
}

bool move_sheet(tag_t sheet, const double matrix[12]) {
    tag_t moved = NULL_TAG;
    int status = 0;
    return hm5947(matrix, &sheet, 1, kMoveObjects, -1, kNoTraceCurves, &moved, nullptr, &status) == 0 &&
           status == 0;
}

struct Angles {
    double plan = 0.0;
    double side = 0.0;
};

int starting_values(mc_data_s* d, const mc_mirror_surface_record& s, Eyes* e, Angles* a) {
    trace("+++ GET good starting values for the next loop\n");
    const double tolerances[2] = {d->distance_tolerance, d->angle_tolerance};
    const double rearward[3] = {1, 0, 0};
    double previous_head = 0.0;
    for (int pass = 0; pass < kStartingPasses; ++pass) {
        if (int status = turn_eyes(d, e)) return status;
        double n[3], m[12];
        normal_at(s, d->prime_point, n, d->distance_tolerance);
        if (mc_aim_plane_mirror(tolerances, d->mirror_reference_point, d->prime_point, n, 1, side_eye(d, e->turned),
                                rearward, m) != 0)
            return stage_failure(d, "Fail to determine the rotated matrix\n", kRotationText, kNoAimMatrix);
        a->plan = -std::atan2(m[1], m[0]) * kDegrees;
        a->side = clamped_asin_degrees(m[2]);
        if (pass > 0 && std::fabs(e->head_turn - previous_head) < d->angle_tolerance) break;
        previous_head = e->head_turn;
    }
    return 0;
}

bool spherical(const mc_mirror_surface_record& s) { return std::fabs(s.curvature) > kSphereCurvature; }

// Sheet of a closed row of points on the mirror (packed, corners at the
// breaks): on a sphere the patch drawn in the sphere's parameters, else the
// bounded plane of the spline through them (made and deleted here).
tag_t mirror_sheet_of(const mc_mirror_surface_record& s, const std::vector<double>& points,
                      const std::vector<int>& breaks) {
    const int n = static_cast<int>(points.size() / 3);
    const int break_count = static_cast<int>(breaks.size());
    tag_t sheet = NULL_TAG;
    if (spherical(s)) {
        if (mc_spherical_patch_through(n, points.data(), break_count, breaks.data(), s, &sheet) != 0) return NULL_TAG;
        return sheet;
    }
    tag_t spline = NULL_TAG;
    if (HM_VD_create_closed_spline_c0(n, points.data(), break_count, breaks.data(), &spline) != 0 ||
        spline == NULL_TAG)
        return NULL_TAG;
    if (mc_bounded_plane(1, &spline, nullptr, 0, nullptr, &sheet) != 0) sheet = NULL_TAG;
    detail::delete_if_alive(spline);
    return sheet;
}

// The sampled outline of a geometry set, packed three doubles a point.
std::vector<double> packed_points(const mc_geometry_set_s& set) {
    std::vector<double> packed;
    packed.reserve(3 * static_cast<size_t>(set.point_count));
    for (int i = 0; i < set.point_count; ++i) packed.insert(packed.end(), set.points[i], set.points[i] + 3);
    return packed;
}

// Whether the prime point lies on the glass that the bezel leaves visible
// from the eye; *prime becomes the nearest point of that glass.
int usable_mirror_check(mc_data_s* d, const mc_mirror_surface_record& s, const Bezel& bezel, const double eye[3],
                        double prime[3], bool* inside) {
    trace("+++ Check whether we have a solution. the prime point is inside the usable part of the mirror "
          "surface.\n");
    const double tolerances[2] = {d->distance_tolerance, d->angle_tolerance};
    // The bezel's samples seen on the glass, with points put in where a
    // chord's image bends away from the chord between its ends' images.
    const auto on_glass = [&](const double* p, double* out) {
        double direction[3];
        return HM_VD_MC_reflex(&s, eye, p, tolerances, out, direction) == 0;
    };
    std::vector<double> mapped;
    std::vector<int> mapped_breaks;
    if (!mc_images_along_chords(bezel.count(), bezel.points.data(), static_cast<int>(bezel.breaks.size()),
                                bezel.breaks.data(), 1, d->distance_tolerance, on_glass, &mapped, &mapped_breaks))
        return stage_failure(d,
                             "Error happened while reflect the points along edges of the bezel on to the rotated "
                             "mirror\n",
                             kReflectionText, kReflectionFailed);
    std::vector<tag_t> temporaries;
    struct Cleanup {
        std::vector<tag_t>& t;
        ~Cleanup() { delete_alive(t); }
    } cleanup{temporaries};
    mc_free_geometry_set(&d->mirror_elements);
    if (mc_sheet_elements(d->mirror, nullptr, 0, d->third_tolerance, &d->mirror_elements) != 0)
        return stage_failure(d, "Fail to retrieve the sheet element for the rotated mirror. \n", kRotationText,
                             kRotationFailed);
    trace("+++ HM_VD_MC_sheet_process_bplane: Input: s_tol[0] = %f,s_tol[1] = %f,s_tol[2] = %f; \n",
          d->distance_tolerance, d->angle_tolerance, d->third_tolerance);
    const mc_geometry_set_s& outline = d->mirror_elements;
    const tag_t glass = mirror_sheet_of(s, packed_points(outline),
                                        std::vector<int>(outline.breaks, outline.breaks + outline.break_count));
    if (glass != NULL_TAG) temporaries.push_back(glass);
    const tag_t visible = glass != NULL_TAG ? mirror_sheet_of(s, mapped, mapped_breaks) : NULL_TAG;
    if (visible != NULL_TAG) temporaries.push_back(visible);
    if (glass == NULL_TAG || visible == NULL_TAG)
        return stage_failure(d, "Fail to create a plane sheet if the type is planar. \n", kRotationText,
                             kUsableMirrorFailed);
    if (HM_MODL_operations(glass, visible, 3) != 0)
        return stage_failure(d, "Fail to intersect the projected bezel to the mirror. \n", kRotationText,
                             kRotationFailed);
    tag_t point = NULL_TAG;
    double distance = 0.0, near_prime[3], near_glass[3];
    if (HM_CURVE_create_point(prime, &point) == 0) temporaries.push_back(point);
    if (point == NULL_TAG || HM_MODL_ask_minimum_dist(point, glass, 0, nullptr, 0, nullptr, &distance, near_prime,
                                                      near_glass) != 0)
        return stage_failure(d, "Fail to find the minimum distance. \n", kRotationText, kRotationFailed);
    std::memcpy(prime, near_glass, sizeof near_glass);
    *inside = distance < d->distance_tolerance;
    return 0;
}

void debug_copy(int counter, tag_t sheet) {
    if (!debugging()) return;
    tag_t copy = NULL_TAG;
    if (HM_VD_copy_object(HM_VD_KEEP_LAYER, 1, &sheet, &copy) != 0 || copy == NULL_TAG) return;
    char name[64];
    std::snprintf(name, sizeof name, "ROTATED_MIRROR_%d", counter);
    (void)HM_OBJ_set_layer(copy, kDebugLayer);
    (void)HM_OBJ_set_name(copy, name);
}

// The record's mirror replaced by a plain copy of itself (its elements taken
// again), brought back to the unrotated position.
int unrotated_mirror(mc_data_s* d, const double inverse[12]) {
    trace("+++ unparameterize mirror sheet body before attempting rotation \n");
    tag_t copy = NULL_TAG;
    if (HM_VD_copy_object(HM_VD_KEEP_LAYER, 1, &d->mirror, &copy) != 0 || copy == NULL_TAG)
        return stage_failure(d, "Fail to rotate the mirror line. \n", kRotationText, kRotationFailed);
    if (d->mirror != d->initial_mirror) (void)HM_VD_delete_object(d->mirror);
    d->mirror = copy;
    mc_free_geometry_set(&d->mirror_elements);
    (void)mc_sheet_elements(d->mirror, nullptr, 0, d->third_tolerance, &d->mirror_elements);
    if (!move_sheet(d->mirror, inverse))
        return stage_failure(d, "Fail to rotate the mirror line. \n", kRotationText, kRotationFailed);
    return 0;
}

struct Position {
    mc_mirror_surface_record saved{};
    double prime[3]{};     // prime point of the unrotated mirror's frame... rotated back each iteration
    double inverse[12]{};
    double matrix[12]{};
    Angles angles;
};

// One iteration: the mirror placed by the angles, the prime point checked
// against the usable glass and the reflected ray's error measured.
int iterate(mc_data_s* d, mc_mirror_surface_record* s, const Bezel& bezel, Eyes* e, Position* p, double out_prime[3],
            bool* done, double* previous_head) {
    *s = p->saved;
    (void)hm5941(p->prime, p->inverse);
    if (int status = unrotated_mirror(d, p->inverse)) return status;

    double normal_matrix[12];
    const double origin[3] = {0, 0, 0};
    if (!rotation(d->mirror_reference_point, p->angles.plan, p->angles.side, p->matrix))
        return stage_failure(d, "Error in rotation in the plan view. \n", kRotationText, kRotationFailed);
    if (!rotation(origin, p->angles.plan, p->angles.side, normal_matrix))
        return stage_failure(d, "Error in rotation in the side view. \n", kRotationText, kRotationFailed);
    (void)hm5941(p->prime, p->matrix);
    (void)hm5941(s->vertex, p->matrix);
    (void)hm5941(s->centre, p->matrix);
    (void)hm5941(s->normal, normal_matrix);
    if (!move_sheet(d->mirror, p->matrix))
        return stage_failure(d, "Fail to rotate the mirror and the mirror line. \n", kRotationText, kRotationFailed);

    bool inside = true;
    std::memcpy(out_prime, p->prime, 3 * sizeof(double));
    if (bezel.present())
        if (int status = usable_mirror_check(d, *s, bezel, side_eye(d, e->turned), out_prime, &inside))
            return status;

    trace("+++ Another iteration to get the new prime point. \n");
    if (!inverse_rotation(d->mirror_reference_point, p->angles.plan, p->angles.side, p->inverse))
        return stage_failure(d, "Error in rotation in the side view. \n", kRotationText, kRotationFailed);
    std::memcpy(p->prime, out_prime, 3 * sizeof(double));

    if (int status = turn_eyes(d, e)) return status;
    const double tolerances[2] = {d->distance_tolerance, d->angle_tolerance};
    double pierce[3], r[3], unit[3], magnitude = 0.0;
    if (HM_VD_MC_reflex(s, side_eye(d, e->turned), out_prime, tolerances, pierce, r) != 0)
        return stage_failure(d, "Fail to check the solution. \n", kReflectionText, kReflectionFailed);
    if (HM_VEC3_unitize(r, d->distance_tolerance, &magnitude, unit) != 0)
        return stage_failure(d, "Fail to unitize a vector. \n", kRotationText, kRotationFailed);
    const double plan_error = -std::atan2(unit[1], unit[0]) * kDegrees;
    const double side_error = clamped_asin_degrees(unit[2]);
    bool aimed = true;
    if (std::fabs(plan_error) >= d->angle_tolerance || std::fabs(side_error) >= d->angle_tolerance) {
        p->angles.side += 0.5 * side_error;
        p->angles.plan += 0.5 * plan_error;
        aimed = false;
    }
    *done = inside && std::fabs(e->head_turn - *previous_head) < d->angle_tolerance && aimed;
    *previous_head = e->head_turn;
    return 0;
}

void write_angles(mc_outside_result_s* o, const Eyes& e, const Angles& a) {
    o->mirror_rotation_angle_ls = a.side;
    o->mirror_rotation_angle_pv = a.plan;
    o->value_a = e.view_angle;
    o->head_turn_angle_pv = e.head_turn;
}

int position(mc_data_s* d, mc_outside_result_s* o, mc_mirror_surface_record* s, double matrix[12], tag_t* rotated,
             double prime[3], double turned_eyes[3][3]) {
    trace("+++ initialization in HM_VD_MC_pro_position_outside_mirror\n");
    Position p;
    p.saved = *s;
    std::memcpy(p.prime, d->prime_point, sizeof p.prime);
    Eyes e;
    std::memcpy(e.given[0], o->left_eye, sizeof e.given[0]);
    std::memcpy(e.given[1], o->mid_eye, sizeof e.given[1]);
    std::memcpy(e.given[2], o->right_eye, sizeof e.given[2]);
    std::memcpy(e.pivot, o->pivot, sizeof e.pivot);

    Bezel bezel;
    if (int status = sample_bezel(d, &bezel)) return status;

    if (!d->positioning) {
        if (int status = turn_eyes(d, &e)) return status;
        mc_mirror_reflection_point(s, side_eye(d, e.turned), prime);
        std::memcpy(d->prime_point, prime, 3 * sizeof(double));
        std::memcpy(matrix, kIdentity, sizeof kIdentity);
        *rotated = d->mirror;
        write_angles(o, e, Angles{});
        std::memcpy(turned_eyes, e.turned, sizeof e.turned);
        return kPositioned;
    }

    if (int status = starting_values(d, *s, &e, &p.angles)) return status;
    trace("+++ Mirror rotation in the plan view \n");
    trace("+++ Mirror rotation in the side view \n");
    trace("+++ compund rotation matrix  \n");
    std::memcpy(p.inverse, kIdentity, sizeof kIdentity);

    bool done = false;
    double previous_head = e.head_turn;
    int counter = 0;
    double out_prime[3] = {p.prime[0], p.prime[1], p.prime[2]};
    for (; !done && counter < kIterations; ++counter) {
        trace("+++ Start of Iteration: counter =%d, done =%d\n", counter, done ? 1 : 0);
        const Angles placed = p.angles;
        if (int status = iterate(d, s, bezel, &e, &p, out_prime, &done, &previous_head)) return status;
        debug_copy(counter, d->mirror);
        write_angles(o, e, placed);
    }
    trace("+++ End of Iteration: counter =%d, done =%d\n", counter, done ? 1 : 0);
    std::memcpy(matrix, p.matrix, sizeof p.matrix);
    *rotated = d->mirror;
    std::memcpy(prime, out_prime, 3 * sizeof(double));
    std::memcpy(d->prime_point, out_prime, 3 * sizeof(double));
    std::memcpy(turned_eyes, e.turned, sizeof e.turned);
    return kPositioned;
}

}  // namespace
}  // namespace carvell::mirror

int HM_VD_MC_pro_position_outside_mirror(mc_data_s* data, mc_outside_result_s* outside,
                                         mc_mirror_surface_record* surface, double matrix[12], tag_t* rotated,
                                         double prime[3], double turned_eyes[3][3]) {
    if (!data || !outside || !surface || !matrix || !rotated || !prime || !turned_eyes) return -1;
    if (!carvell::mirror::record_is_finite(*data) || !carvell::mirror::surface_is_finite(*surface) ||
        !carvell::mirror::outside_eyes_finite(*outside))
        return -1;
    const int status = carvell::mirror::position(data, outside, surface, matrix, rotated, prime, turned_eyes);
    carvell::mirror::trace("+++ Clean up in HM_VD_MC_pro_position_outside_mirror\n");
    return status;
}
