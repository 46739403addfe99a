// Placement of the right shoe against the accelerator pedal and the floor:
// the heel targets that the H-point design feature asks for, the relations
// between the accelerator heel point (AHP) and the pedal reference point
// (PRP) of a 200 mm shoe, and the plan-view angle of the pedal geometry.
//
// The pedal and floor are turned back by the plan-view angle about the
// plan-view centre into the side view, the shoe is solved there, and the
// copies are logged for deletion at the host's next update.
#include "hpd_contact.h"
#include "hpd.h"
#include "hpd_host_geometry.h"
#include "hpd_primitives.h"
#include "toolbox/detail/finite.h"
#include "toolbox/detail/owners.h"
#include "toolbox/detail/vec3.h"

#include "hm_vd/vectors.h"
#include "morvish.h"
#include "omvra.h"

#include <cmath>
#include <vector>

using namespace carvell::occupant;
namespace detail = carvell::detail;

namespace {

// A heel farther than this from the heel floor lies beyond the floor's ends.
constexpr double kOnFloorTolerance = 1e-4;

// The turned-back copies of pedal and floor and the probe plane are logged
// for deletion at the next update however the operation ends.
using Temporaries = detail::Temporaries;

// A copy of `object` turned about the vertical through `centre` by `angle`
// degrees, owned by the temporaries; 0 for object 0. False when a given
// object cannot be copied.
bool turned_copy(Temporaries& temporaries, tag_t object, const double centre[3], double angle, tag_t* copy) {
    *copy = NULL_TAG;
    if (object == NULL_TAG) return true;
    if (hpd_rotate_copy_about_vertical(object, centre, angle, copy) != 0 || *copy == NULL_TAG) return false;
    temporaries.add(*copy);
    return true;
}

// Turned copies of both objects (0 for object 0); false when either fails.
bool turned_copies(Temporaries& temporaries, tag_t first, tag_t second, const double centre[3], double angle,
                   tag_t* first_copy, tag_t* second_copy) {
    *second_copy = NULL_TAG;
    return turned_copy(temporaries, first, centre, angle, first_copy) &&
           turned_copy(temporaries, second, centre, angle, second_copy);
}

// Outcome of setting the heel on the floor below or above it.
enum HeelOnFloor { kOnFloor = 0, kNearestFloorPoint = 1, kNoPlane = 2, kNoDistance = 3 };

// Puts the heel on the floor: a vertical plane across the car through the
// heel cut with the floor gives the heel's height when it meets the floor in
// one point; otherwise the heel takes the L and H of the floor point nearest
// to it (kNearestFloorPoint when that point is not the heel itself).
HeelOnFloor heel_on_floor(tag_t floor, double heel[3], Temporaries& temporaries) {
    const double across[3] = {1.0, 0.0, 0.0};
    tag_t plane = NULL_TAG;
    if (HM_MODL_create_plane(heel, across, &plane) != 0 || plane == NULL_TAG) return kNoPlane;
    temporaries.add(plane);

    int count = 0;
    HM_MODL_intersection_t** entries = nullptr;
    const int rc = HM_MODL_intersect_objects(plane, floor, kSectionTolerance, &count, &entries);
    const bool one_point = rc == 0 && count == 1 && entries && entries[0] && entries[0]->kind == HM_INTERSECTION_POINT;
    if (one_point) heel[2] = entries[0]->point[2];
    detail::discard_intersection_entries(rc == 0 ? count : 0, entries);
    if (one_point) return kOnFloor;

    double distance = 0.0, nearest[3], on_point[3];
    if (HM_MODL_ask_minimum_dist(floor, NULL_TAG, 0, nullptr, 1, heel, &distance, nearest, on_point) != 0)
        return kNoDistance;
    heel[0] = nearest[0];
    heel[2] = nearest[2];
    return distance > kOnFloorTolerance ? kNearestFloorPoint : kOnFloor;
}

// heel_on_floor as a heel-target code: 0, HPD_TARGET_FLOOR_LIMIT when the
// heel took the nearest floor point, HPD_TARGET_NO_PLANE or HPD_TARGET_FAILED.
int heel_target_on_floor(tag_t floor, double heel[3], Temporaries& temporaries) {
    switch (heel_on_floor(floor, heel, temporaries)) {
        case kNoPlane: return HPD_TARGET_NO_PLANE;
        case kNoDistance: return HPD_TARGET_FAILED;
        case kNearestFloorPoint: return HPD_TARGET_FLOOR_LIMIT;
        case kOnFloor: break;
    }
    return 0;
}

// The other end of a 200 mm shoe from `from` at the pedal angle, one shoe
// length along (side * cos A, -side * sin A) in the side view, turned about
// `from`'s vertical by pv_angle: side +1 gives the heel from the ball of
// foot, -1 the ball of foot from the heel.
void shoe_other_end(const double* from, double pedal_angle, double pv_angle, double side, double* out) {
    const double shoe = side * hpd_mm(kShoeLengthMm);
    const double a = pedal_angle * kRadiansPerDegreeAsUsed;
    double centre[3];
    detail::copy3(from, centre);
    double end[3] = {centre[0] + shoe * std::cos(a), centre[1], centre[2] - shoe * std::sin(a)};
    HPD_transform_point_to_pv(end, centre, pv_angle, out);
}

}  // namespace

/* ---- heel and pedal relations ---- */

void HM_VD_HPD_ask_ahp_by_prp_no_offset(double* prp, double pedal_angle, double pv_angle, double* ahp) {
    if (!prp || !ahp) return;
    shoe_other_end(prp, pedal_angle, pv_angle, 1.0, ahp);
}

void HM_VD_HPD_ask_prp_by_ahp_no_offset(double* ahp, double pedal_angle, double pv_angle, double* prp) {
    if (!ahp || !prp) return;
    shoe_other_end(ahp, pedal_angle, pv_angle, -1.0, prp);
}

void HM_VD_HPD_ask_ahp_y_no_offset(double prp_w, double pedal_angle, double pv_angle, double* ahp_w) {
    if (!ahp_w) return;
    *ahp_w = prp_w + hpd_sole_run(pedal_angle) * std::sin(pv_angle * kRadiansPerDegreeAsUsed);
}

void HM_VD_HPD_ask_offset_point_by_pv_angle(double* point, double pv_angle, double distance, double* out) {
    if (!point || !out) return;
    const double right[3] = {0.0, -1.0, 0.0};
    const double up[3] = {0.0, 0.0, 1.0};
    double turned[3], dir[3], magnitude = 0.0;
    HM_VD_vec3_rotate(right, up, pv_angle, turned);
    if (HM_VEC3_unitize(turned, 1e-10, &magnitude, dir) != 0) return;
    double p[3];
    detail::copy3(point, p);
    for (int i = 0; i < 3; ++i) out[i] = p[i] + distance * dir[i];
}

/* ---- pedal point and start heel ---- */

namespace carvell::occupant {

int hpd_ask_pedal_point_angle(tag_t pedal_curve, double* point, double* pedal_angle) {
    if (!point || !pedal_angle) return HPD_CONTACT_BAD_INPUT;
    double box[6];
    if (HM_MODL_ask_bounding_box(pedal_curve, box) != 0) return HPD_CONTACT_BAD_INPUT;
    const double centre[3] = {(box[0] + box[3]) / 2.0, (box[1] + box[4]) / 2.0, (box[2] + box[5]) / 2.0};
    double parm = 0.0, on_curve[3];
    if (HM_MODL_ask_curve_parm(pedal_curve, centre, &parm, on_curve) != 0) return HPD_CONTACT_BAD_INPUT;
    double p[3], tangent[3], p_norm[3], b_norm[3], torsion = 0.0, radius = 0.0;
    if (HM_MODL_ask_curve_props(pedal_curve, parm, p, tangent, p_norm, b_norm, &torsion, &radius) != 0)
        return HPD_CONTACT_BAD_INPUT;
    // Measured on the upward tangent, so that a pedal drawn downwards gives
    // the same angle as one drawn upwards.
    if (tangent[2] < 0.0)
        for (double& c : tangent) c = -c;
    const double up[3] = {0.0, 0.0, 1.0};
    double smaller = 0.0, larger = 0.0;
    if (HM_MODL_ask_vector_angle(up, tangent, &smaller, &larger) != 0) return HPD_CONTACT_BAD_INPUT;
    detail::copy3(p, point);
    *pedal_angle = 90.0 - smaller * kDegreesPerRadianAsUsed;
    return 0;
}

void hpd_ask_start_heel(bool use_pedal, tag_t pedal, int mode, tag_t floor, double* heel, double pv_angle) {
    if (!heel) return;
    if (use_pedal && pedal != NULL_TAG) {
        double prp[3], angle = 0.0;
        if (hpd_ask_pedal_point_angle(pedal, prp, &angle) == 0) {
            double ahp[3];
            HM_VD_HPD_ask_ahp_by_prp_no_offset(prp, angle, pv_angle, ahp);
            heel[0] = ahp[0];
            heel[1] = ahp[1];
        }
    }
    if (mode == 1 && floor != NULL_TAG) {
        double distance = 0.0, nearest[3], on_point[3];
        const double from[3] = {heel[0], heel[1], heel[2]};
        if (HM_MODL_ask_minimum_dist(floor, NULL_TAG, 0, nullptr, 1, from, &distance, nearest, on_point) == 0)
            heel[2] = nearest[2];
    }
}

}  // namespace carvell::occupant

/* ---- heel targets ---- */

int HM_VD_HPD_ask_shoe_target(bool find_floor_angle, tag_t bof_floor, double* floor_angle, int mode,
                              tag_t heel_floor, double* heel, double pv_angle, double* pv_centre) {
    if (!heel || !pv_centre || (find_floor_angle && bof_floor != NULL_TAG && !floor_angle)) return -1;
    // No probe plane through a heel that is not finite; no turned copy about
    // a centre or by an angle that is not.
    if (!detail::all_finite(heel, 3)) return HPD_TARGET_NO_PLANE;
    if (!detail::all_finite(pv_centre, 3) || !std::isfinite(pv_angle)) return HPD_TARGET_FAILED;
    Temporaries temporaries(Temporaries::Disposal::log_for_update);
    tag_t heel_copy = NULL_TAG, bof_copy = NULL_TAG;
    if (!turned_copies(temporaries, heel_floor, bof_floor, pv_centre, -pv_angle, &heel_copy, &bof_copy))
        return HPD_TARGET_FAILED;

    // The heel is taken, and answered, in the turned-back frame.
    double h[3];
    detail::copy3(heel, h);
    int result = 0;
    if (mode != 2 && heel_copy != NULL_TAG) {
        result = heel_target_on_floor(heel_copy, h, temporaries);
        if (result != 0 && result != HPD_TARGET_FLOOR_LIMIT) return result;
    }

    double angle = 0.0;
    const bool solve_floor = find_floor_angle && bof_copy != NULL_TAG;
    if (solve_floor && hpd_solve_shoe_on_floor(bof_copy, h, &angle) != 0) return HPD_TARGET_FAILED;
    if (!detail::all_finite(h, 3) || !std::isfinite(angle)) return HPD_TARGET_FAILED;

    detail::copy3(h, heel);
    if (solve_floor) *floor_angle = angle;
    return result;
}

int HM_VD_HPD_ask_occ_target(bool use_pedal, tag_t pedal, double* pedal_angle, int mode, tag_t floor, double* heel,
                             double pv_angle, double* pv_centre, double lateral_offset) {
    if (!pedal_angle || !heel || !pv_centre) return -1;
    if (!detail::all_finite(heel, 3)) return HPD_TARGET_NO_PLANE;
    if (!detail::all_finite(pv_centre, 3) || !detail::all_finite({*pedal_angle, pv_angle, lateral_offset}))
        return HPD_TARGET_FAILED;
    Temporaries temporaries(Temporaries::Disposal::log_for_update);
    tag_t pedal_copy = NULL_TAG, floor_copy = NULL_TAG;
    if (!turned_copies(temporaries, pedal, floor, pv_centre, -pv_angle, &pedal_copy, &floor_copy))
        return HPD_TARGET_FAILED;

    double h[3];
    detail::copy3(heel, h);
    double angle = *pedal_angle;
    hpd_ask_start_heel(use_pedal, pedal_copy, mode, floor_copy, h, pv_angle);

    if (use_pedal && pedal_copy != NULL_TAG) {
        // Heel height kept, or heel on the floor when there is one.
        const int solver_mode = (mode == 2 || floor_copy == NULL_TAG) ? 0 : 2;
        if (hpd_solve_shoe_on_pedal(solver_mode, pedal_copy, h, &angle, floor_copy, pv_angle) != 0)
            return HPD_TARGET_FAILED;
    } else if (mode != 2 && floor_copy != NULL_TAG) {
        // A heel beyond the floor's ends takes the nearest floor point without a warning here.
        const int rc = heel_target_on_floor(floor_copy, h, temporaries);
        if (rc != 0 && rc != HPD_TARGET_FLOOR_LIMIT) return rc;
    }

    if (pedal != NULL_TAG || floor != NULL_TAG) {
        HPD_transform_point_to_pv(h, pv_centre, pv_angle, h);
        if (use_pedal) {
            const double pv = pv_angle * kRadiansPerDegreeAsUsed;
            h[0] += std::sin(pv) * lateral_offset;
            h[1] -= std::cos(pv) * lateral_offset;
        }
    }
    if (!detail::all_finite(h, 3) || !std::isfinite(angle)) return HPD_TARGET_FAILED;
    detail::copy3(h, heel);
    *pedal_angle = angle;
    return 0;
}

/* ---- plan-view angle ---- */

int HM_VD_HPD_ask_pv_angle(int count, tag_t* objects, double* point, double* pv_angle) {
    if (count <= 0 || !objects) return HPD_CONTACT_BAD_INPUT;
    if (!point || !pv_angle) return -1;
    if (!detail::all_finite(point, 3)) return HPD_CONTACT_BAD_INPUT;

    tag_t nearest = NULL_TAG;
    double best = 0.0;
    for (int i = 0; i < count; ++i) {
        double distance = 0.0, on_object[3], on_point[3];
        if (HM_MODL_ask_minimum_dist(objects[i], NULL_TAG, 0, nullptr, 1, point, &distance, on_object, on_point) != 0)
            continue;
        if (nearest == NULL_TAG || distance < best) {
            nearest = objects[i];
            best = distance;
        }
    }
    if (nearest == NULL_TAG) return HPD_CONTACT_BAD_INPUT;

    double d[3];
    if (hpd_ask_face_normal(nearest, point, d) != 0 && hpd_ask_curve_tangent(nearest, point, d) != 0)
        return HPD_CONTACT_BAD_INPUT;
    double v[3] = {d[0], d[1], 0.0};
    if (d[0] < 0.0) v[0] = -v[0], v[1] = -v[1];
    const double x_axis[3] = {1.0, 0.0, 0.0};
    const double up[3] = {0.0, 0.0, 1.0};
    double angle = 0.0;
    if (HM_VEC3_angle_between(x_axis, v, up, &angle) != 0) return HPD_CONTACT_BAD_INPUT;
    *pv_angle = hpd_wrap_angle_deg(angle * kDegreesPerRadianAsUsed);
    return 0;
}
