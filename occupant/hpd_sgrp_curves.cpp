// The SgRP's locus in the part: the class A parabola and the class B line,
// built or edited in place, and the points where an arc about the knee meets
// them (the hip of the reverse engineering's leg chain).
#include "hpd.h"
#include "hm_vd/vectors.h"
#include "hpd_contact.h"
#include "hpd_primitives.h"
#include "hpd_sgrp.h"
#include "toolbox/detail/owners.h"
#include "toolbox/detail/undo_scope.h"
#include "belmorra.h"
#include "farquil.h"
#include "omvra.h"
#include "quillon.h"

#include <cmath>

using namespace carvell::occupant;
namespace detail = carvell::detail;

namespace {

const double kUp[3] = {0.0, 0.0, 1.0};
const double kZero[3] = {0.0, 0.0, 0.0};
const double kIdentity[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
constexpr double kArcTolerance = 1e-4;
constexpr const char* kArcMark = "HPD_ask_occ";

// Where the parabola goes: the vehicle frame and the centre of the plan-view
// turn of its vertex, or none (the parabola stays in absolute coordinates and
// its vertex is not turned).
struct VehiclePlacement {
    const double* origin;
    const double* matrix;
    const double* pv_centre;
};

// The class A parabola: SgRP heights 127 to 405 mm above dz at the fore-aft
// distance X_A(h) from dx, in the vertical plane through w, opening forward.
// Created when *curve is 0, else that conic is given the new data. 0 or the
// host's code.
int build_class_a_parabola(double dx, double w, double dz, double pv_angle, const VehiclePlacement* placement,
                           tag_t* curve) {
    const double a = hpd_sgrp_class_a_coefficient();
    const double b = kSgrpClassA.b;
    const double c0 = hpd_mm(kSgrpClassA.c0_mm);

    // Curve axes: its x opens the parabola forward, its y is the height.
    double x_axis[3] = {-1.0, 0.0, 0.0};
    double z_axis[3] = {0.0, 0.0, 1.0};
    int rc = 0;
    if (placement) {
        // A frame that cannot be mapped builds nothing rather than a curve in the wrong place.
        if ((rc = VD_map_vector_csys2abs(x_axis, placement->matrix, x_axis)) != 0 ||
            (rc = VD_map_vector_csys2abs(z_axis, placement->matrix, z_axis)) != 0)
            return rc;
    }
    HM_VD_vec3_rotate(x_axis, z_axis, pv_angle, x_axis);

    // Vertex: the greatest fore-aft distance, at the height -b / (2a).
    double vertex[3] = {c0 - b * b / (4.0 * a) + dx, w, dz - b / (2.0 * a)};
    if (placement) {
        HM_VD_vec3_rotate_point(placement->pv_centre, kUp, vertex, pv_angle, vertex);
        if ((rc = VD_map_point_csys2abs(vertex, placement->origin, placement->matrix, vertex)) != 0) return rc;
    }

    double axes[9];
    rc = HM_MTX3_initialize(x_axis, z_axis, axes);
    tag_t matrix = NULL_TAG;
    if (rc == 0) rc = HM_CSYS_create_matrix(axes, &matrix);
    if (rc != 0) return rc;

    HM_CURVE_conic_t conic{};
    conic.matrix_tag = matrix;
    conic.conic_type = HM_CONIC_parabola;
    conic.rotation_angle = 0.0;
    // The parameter is the height above the vertex.
    conic.start_param = hpd_mm(kClassAMinH30Mm) + b / (2.0 * a);
    conic.end_param = hpd_mm(kClassAMaxH30Mm) + b / (2.0 * a);
    HM_MTX3_vec_multiply(vertex, axes, conic.center);
    conic.k1 = 1.0 / std::fabs(a);
    conic.k2 = 0.0;
    if (*curve == NULL_TAG) return HM_CURVE_create_conic(&conic, curve);
    return HM_CURVE_edit_conic_data(*curve, &conic);
}

// Full circle of the radius about (centre L, 0, centre H) in the side-view
// (X-Z) plane.
int make_side_view_circle(const double centre[2], double radius, tag_t* circle) {
    // Rows x = (1, 0, 0), y = (0, 0, 1): the circle's plane is X-Z.
    const double rows[9] = {1, 0, 0, 0, 0, 1, 0, -1, 0};
    tag_t matrix = NULL_TAG;
    int rc = HM_CSYS_create_matrix(rows, &matrix);
    if (rc != 0) return rc;
    HM_CURVE_arc_t arc{};
    arc.matrix_tag = matrix;
    arc.start_angle = 0.0;
    arc.end_angle = 2.0 * kPi;
    arc.arc_center[0] = centre[0];   // along x
    arc.arc_center[1] = centre[1];   // along the y row, the height
    arc.arc_center[2] = 0.0;
    arc.radius = radius;
    return HM_CURVE_create_arc(&arc, circle);
}

// The point where the circle about `centre` meets the seat curve that
// make_curve builds: the first crossing, replaced by a later one behind the
// centre (greater L) that lies higher (prefer_higher) or lower than the
// current one. Everything made is rolled back. 0, or -1 when they do not meet.
template <typename MakeCurve>
int arc_on_seat_curve(const double centre[2], double radius, double point[2], bool prefer_higher,
                      MakeCurve make_curve) {
    if (!centre || !point || !(radius > 0.0) || !std::isfinite(radius)) return -1;
    detail::UndoScope scope(UNDO_invisible, kArcMark);
    if (!scope.is_set()) return -1;
    int result = -1;
    tag_t seat_curve = NULL_TAG, circle = NULL_TAG;
    if (make_curve(&seat_curve) == 0 && make_side_view_circle(centre, radius, &circle) == 0) {
        int count = 0;
        HM_MODL_intersection_t** entries = nullptr;
        if (HM_MODL_intersect_objects(circle, seat_curve, kArcTolerance, &count, &entries) == 0) {
            bool found = false;
            double best[2] = {0.0, 0.0};
            for (int i = 0; i < count; ++i) {
                const HM_MODL_intersection_t* e = entries[i];
                if (!e || e->kind != HM_INTERSECTION_POINT) continue;
                const double x = e->point[0], z = e->point[2];
                bool better = !found || (x > centre[0] && (prefer_higher ? z > best[1] : z < best[1]));
                if (better) {
                    best[0] = x;
                    best[1] = z;
                    found = true;
                }
            }
            detail::discard_intersection_entries(count, entries);
            if (found) {
                point[0] = best[0];
                point[1] = best[1];
                result = 0;
            }
        }
    }
    scope.roll_back();
    return result;
}

}  // namespace

void VD_HPD_update_sgrp_curve_A(double dx, double w, double dz, double pv_angle, tag_t* curve, double* csys_origin,
                                double* csys_matrix, double* pv_centre) {
    if (!curve || !csys_origin || !csys_matrix || !pv_centre) return;
    const VehiclePlacement placement{csys_origin, csys_matrix, pv_centre};
    build_class_a_parabola(dx, w, dz, pv_angle, &placement, curve);
}

void VD_HPD_update_sgrp_curve_B(double w, double pv_angle, int male_female_ratio, tag_t* curve,
                                double* csys_origin, double* csys_matrix, double* base) {
    if (!curve || !csys_origin || !csys_matrix || !base) return;
    const SgrpLineCoefficients line = hpd_sgrp_class_b_coefficients(male_female_ratio);
    const double c = hpd_mm(line.c_mm);
    const double top = hpd_mm(kClassBMaxH30Mm), bottom = hpd_mm(kClassBMinH30Mm);
    double ends[2][3] = {{base[0] + c - line.k * top, w, base[2] + top},
                         {base[0] + c - line.k * bottom, w, base[2] + bottom}};
    HM_CURVE_line_t data{};
    double* out[2] = {data.start_point, data.end_point};
    for (int i = 0; i < 2; ++i) {
        // Mapped to absolute first, then turned about the vertical through base.
        if (VD_map_point_csys2abs(ends[i], csys_origin, csys_matrix, ends[i]) != 0) return;
        HM_VD_vec3_rotate_point(base, kUp, ends[i], pv_angle, out[i]);
    }
    if (*curve == NULL_TAG)
        HM_CURVE_create_line(&data, curve);
    else
        HM_CURVE_edit_line_data(*curve, &data);
}

namespace carvell::occupant {

int hpd_create_sgrp_parabola(double dx, double w, double dz, double pv_angle, tag_t* curve) {
    if (!curve) return -1;
    return build_class_a_parabola(dx, w, dz, pv_angle, nullptr, curve);
}

int hpd_ask_arc_on_sgrp_parabola(const double centre[2], double radius, double point[2]) {
    return arc_on_seat_curve(centre, radius, point, true, [](tag_t* curve) {
        *curve = NULL_TAG;
        return hpd_create_sgrp_parabola(0.0, 0.0, 0.0, 0.0, curve);
    });
}

int hpd_ask_arc_on_sgrp_line(const double centre[2], double radius, double point[2], int male_female_ratio,
                             const double base[3]) {
    if (!base) return -1;
    return arc_on_seat_curve(centre, radius, point, false, [&](tag_t* curve) {
        *curve = NULL_TAG;
        double origin[3] = {kZero[0], kZero[1], kZero[2]};
        double matrix[9];
        for (int i = 0; i < 9; ++i) matrix[i] = kIdentity[i];
        double b[3] = {base[0], base[1], base[2]};
        VD_HPD_update_sgrp_curve_B(0.0, 0.0, male_female_ratio, curve, origin, matrix, b);
        return *curve == NULL_TAG ? -1 : 0;
    });
}

}  // namespace carvell::occupant
