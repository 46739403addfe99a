// Instrument-panel visibility: what the tool asks of the eyellipse. Tangent
// points of its sections seen from a point, its support point for an
// outward direction, the polar plane of an outside point, the plane tangent
// to both the eyellipse and a section curve, the cut-off eye points of the
// hub and see-through checks and the four visual-indicator planes.
#include "hm_vd_vision.h"
#include "ipv_layer.h"
#include "vision_ipv.h"

#include "hm_vd.h"
#include "toolbox/detail/finite.h"
#include "toolbox/detail/owners.h"
#include "toolbox/detail/vec3.h"

#include "belmorra.h"
#include "omvra.h"

#include <cmath>

namespace carvell::vision {
namespace {

constexpr double kFarStart = 10000.0;

void log(const char* text) { HM_print_syslog(text, true); }

bool valid_type(int type) { return type >= -1 && type <= 1; }

double dot(const double* a, const double* b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

// The eyellipse's frame (x along u, y along v) and its semi-axes.
bool eyellipse_frame(const vd_eyellipse_t* e, double matrix[9], double semi[3]) {
    ipv_layer_semi_axes(e, semi);
    return HM_MTX3_initialize(e->axis_dir[0], e->axis_dir[1], matrix) == 0;
}

// The object point nearest to the plane over the list (start kFarStart);
// false when a distance cannot be asked or the list gives none.
bool nearest_to_plane(hm_list_p_t objects, tag_t plane, double q[3]) {
    double best = kFarStart;
    bool found = false;
    for (tag_t o : detail::list_items(objects)) {
        double d = 0.0, p1[3], p2[3];
        if (HM_MODL_ask_minimum_dist(plane, o, 0, nullptr, 0, nullptr, &d, p1, p2) != 0) return false;
        if (d < best) {
            best = d;
            detail::copy3(p2, q);
            found = true;
        }
    }
    return found;
}

// Support point and principal normal of the curve at t (normal turned up).
int curve_normal_at(tag_t curve, double t, double p[3], double n[3]) {
    double tangent[3], binormal[3], torsion = 0.0, radius = 0.0;
    if (int r = HM_MODL_ask_curve_props(curve, t, p, tangent, n, binormal, &torsion, &radius)) return r;
    if (n[2] < 0.0)
        for (int k = 0; k < 3; ++k) n[k] = -n[k];
    return 0;
}

// |unit(T - P) . unit(N)| for the support point T of the normal N at t.
int tangent_deviation(const vd_eyellipse_t* e, int type, tag_t curve, double t, double* deviation, double tp[3],
                      double p[3], double n[3]) {
    if (int r = curve_normal_at(curve, t, p, n)) return r;
    double d[3] = {n[0], n[1], n[2]};
    if (int r = HM_VD_ipv_ask_eyellipse_tangent_point1(const_cast<vd_eyellipse_t*>(e), type, d, tp)) {
        log("error on ask eyellipse tangent point1");
        return r;
    }
    double u[3] = {tp[0] - p[0], tp[1] - p[1], tp[2] - p[2]}, m = 0.0, un[3], mn = 0.0;
    HM_VEC3_unitize(u, 1e-12, &m, u);
    HM_VEC3_unitize(n, 1e-12, &mn, un);
    *deviation = std::fabs(dot(u, un));
    return 0;
}

double wrap(double t) {
    if (t > 1.0) return t - 1.0;
    if (t < 0.0) return t + 1.0;
    return t;
}

// Orders two section tangent points by a local coordinate: the larger first
// (larger_first) or the smaller first; ties keep `tie_first_returned`.
void order_pair(const double pts[2][3], double (*local)(const double*, const double*, const double*),
                const double origin[3], const double matrix[9], bool larger_first, bool tie_first_returned,
                double first[3], double second[3]) {
    const double v0 = local(pts[0], origin, matrix), v1 = local(pts[1], origin, matrix);
    bool zero_first = larger_first ? v0 > v1 : v0 < v1;
    if (v0 == v1) zero_first = tie_first_returned;
    detail::copy3(pts[zero_first ? 0 : 1], first);
    detail::copy3(pts[zero_first ? 1 : 0], second);
}

}  // namespace

bool ipv_eye_point_input_usable(const vd_eyellipse_t* eyellipse, const double origin[3], const double matrix[9],
                                const double a[3], const double b[3], const double tolerances[2]) {
    return ipv_eyellipse_usable(eyellipse) && detail::model_point(origin) && detail::in_model_space(matrix, 9) &&
           detail::model_point(a) && detail::model_point(b) && detail::in_model_space(tolerances, 2);
}

bool ipv_eyellipse_usable(const vd_eyellipse_t* eyellipse) {
    return eyellipse && detail::in_model_space(&eyellipse->centroid[0][0], 9) &&
           detail::in_model_space(&eyellipse->axis_dir[0][0], 9) && detail::in_model_space(eyellipse->axis_length, 3);
}


int ipv_eyellipse_section_tangents(vd_eyellipse_t* eyellipse, int type, const double tolerances[2],
                                   const double point[3], int section, int* count, double points[2][3]) {
    if (!eyellipse || !point || !tolerances || !count || !points || !valid_type(type)) return -1;
    *count = 0;
    if (!ipv_eyellipse_usable(eyellipse) || !detail::model_point(point) || !detail::all_finite(tolerances, 2))
        return -1;
    const double* k = eyellipse->centroid[type + 1];
    const double* u = eyellipse->axis_dir[0];
    const double* v = eyellipse->axis_dir[1];
    const double* w = eyellipse->axis_dir[2];
    double semi[3];
    ipv_layer_semi_axes(eyellipse, semi);
    const double* first = section == 0 || section == 1 ? u : w;
    const double* second = section == 0 ? v : (section == 1 ? w : v);
    const double a = section == 0 || section == 1 ? semi[0] : semi[2];
    const double b = section == 1 ? semi[2] : semi[1];
    double n[3], d = 0.0, q[3];
    HM_VEC3_cross(first, second, n);
    if (ipv_layer_plane_foot(point, k, n, tolerances[0], q, &d) != 0) return -1;
    double matrix[9], local[3];
    if (HM_MTX3_initialize(first, second, matrix) != 0 || ipv_layer_point_to_frame(q, k, matrix, local) != 0)
        return -1;
    const double range[2] = {0.0, 360.0};
    double tangent[4];
    int found = 0;
    if (HM_VD_ellipse_tangents_2d(a, b, range, local, tolerances, &found, tangent) != 0 || found < 1) return -1;
    double mapped[2][3];
    for (int i = 0; i < found && i < 2; ++i) {
        const double p[3] = {tangent[2 * i], tangent[2 * i + 1], 0.0};
        if (ipv_layer_point_from_frame(p, k, matrix, mapped[i]) != 0 || !detail::model_point(mapped[i])) return -1;
    }
    *count = found < 2 ? found : 2;
    for (int i = 0; i < *count; ++i) detail::copy3(mapped[i], points[i]);
    return 0;
}

}  // namespace carvell::vision

using namespace carvell::vision;
namespace detail = carvell::detail;

int HM_VD_ipv_ask_eyellipse_tangent_point1(vd_eyellipse_t* eyellipse, int type, double direction[3],
                                           double point[3]) {
    if (!eyellipse || !direction || !point) return -1;
    if (!valid_type(type)) {
        log("invalid eyellipse type");
        return -1;
    }
    if (!ipv_eyellipse_usable(eyellipse) || !detail::model_point(direction)) {
        log("invalid input");
        return -1;
    }
    double m = 0.0;
    HM_VEC3_unitize(direction, 1e-6, &m, direction);
    double matrix[9], semi[3];
    if (eyellipse->axis_length[0] == 0.0 || eyellipse->axis_length[1] == 0.0 || eyellipse->axis_length[2] == 0.0) {
        log("eyellipse is not initialized ");
        return -1;
    }
    if (!eyellipse_frame(eyellipse, matrix, semi)) {
        log("unable to initialize matrix");
        return -1;
    }
    double d[3];
    if (ipv_layer_vector_to_frame(direction, eyellipse->centroid[type + 1], matrix, d) != 0) {
        log("error on map point from abs to csys");
        return -1;
    }
    if (d[0] == 0.0 && d[1] == 0.0 && d[2] == 0.0) {
        log("invalid input");
        return -1;
    }
    // The point of the ellipsoid whose outward normal is d: x_i = a_i^2 d_i / sqrt(S).
    const double s = std::sqrt(semi[0] * semi[0] * d[0] * d[0] + semi[1] * semi[1] * d[1] * d[1] +
                               semi[2] * semi[2] * d[2] * d[2]);
    double local[3], support[3];
    for (int i = 0; i < 3; ++i) local[i] = semi[i] * semi[i] * d[i] / s;
    if (ipv_layer_point_from_frame(local, eyellipse->centroid[type + 1], matrix, support) != 0 ||
        !detail::model_point(support)) {
        log("error on map point from csys to abs");
        return -1;
    }
    detail::copy3(support, point);
    return 0;
}

int HM_VD_ipv_ask_eyellipse_tangent_point2(vd_eyellipse_t* eyellipse, int type, const double point[3],
                                           double plane_point[3], double normal[3]) {
    if (!eyellipse || !point || !plane_point || !normal) return -1;
    if (!valid_type(type)) {
        log("invalid eyellipse type");
        return -1;
    }
    if (!ipv_eyellipse_usable(eyellipse) || !detail::model_point(point)) {
        log("invalid input");
        return -1;
    }
    if (eyellipse->axis_length[0] == 0.0 || eyellipse->axis_length[1] == 0.0 || eyellipse->axis_length[2] == 0.0) {
        log("eyellipse is not initialized ");
        return -1;
    }
    double matrix[9], semi[3], p[3];
    if (!eyellipse_frame(eyellipse, matrix, semi)) {
        log("unable to initialize matrix");
        return -1;
    }
    const double* centre = eyellipse->centroid[type + 1];
    if (ipv_layer_point_to_frame(point, centre, matrix, p) != 0) {
        log("error on map point from abs to csys");
        return -1;
    }
    const double a2 = semi[0] * semi[0], b2 = semi[1] * semi[1], c2 = semi[2] * semi[2];
    if (p[0] * p[0] / a2 + p[1] * p[1] / b2 + p[2] * p[2] / c2 <= 1.0) {
        log("Unable to find tangent point on eyellipse");
        return -1;
    }
    double n[3] = {p[0] / a2, p[1] / b2, p[2] / c2}, m = 0.0;
    HM_VEC3_unitize(n, 1e-5, &m, n);
    double local[3] = {0.0, 0.0, 0.0};
    if (p[0] != 0.0)
        local[0] = a2 / p[0];
    else if (p[1] != 0.0)
        local[1] = b2 / p[1];
    else
        local[2] = c2 / p[2];
    double on_plane[3], unit_normal[3];
    if (ipv_layer_vector_from_frame(n, centre, matrix, unit_normal) != 0 ||
        ipv_layer_point_from_frame(local, centre, matrix, on_plane) != 0 ||
        !detail::model_point(unit_normal) || !detail::model_point(on_plane)) {
        log("error on map from csys to abs");
        return -1;
    }
    detail::copy3(unit_normal, normal);
    detail::copy3(on_plane, plane_point);
    return 0;
}

int HM_VD_ipv_create_common_tangent_plane(vd_eyellipse_t* eyellipse, int type, tag_t curve, double tolerance,
                                          double tangent_point[3], double normal[3], tag_t* plane) {
    if (!eyellipse || !tangent_point || !normal || !plane) return -1;
    *plane = NULL_TAG;
    if (curve == NULL_TAG) {
        log("invalid section curve");
        return -1;
    }
    double box[6];
    if (int r = HM_MODL_ask_bounding_box(curve, box)) return r;
    const double x_axis[3] = {1.0, 0.0, 0.0};
    double t0 = 0.0, t1 = 0.0;
    {
        detail::Temporaries planes;
        double ends[2];
        for (int i = 0; i < 2; ++i) {
            tag_t p = NULL_TAG;
            if (int r = HM_MODL_create_plane(box + 3 * i, x_axis, &p)) return r;
            planes.add(p);
            double d = 0.0, on_curve[3], on_plane[3], foot[3];
            if (int r = HM_MODL_ask_minimum_dist(curve, p, 0, nullptr, 0, nullptr, &d, on_curve, on_plane)) return r;
            if (int r = HM_MODL_ask_curve_parm(curve, on_curve, &ends[i], foot)) return r;
        }
        t0 = ends[0];
        t1 = ends[1];
    }
    double p[3], deriv[3];
    if (int r = HM_MODL_evaluate_curve(curve, t0, 1, p, deriv)) return r;
    double s = deriv[2] <= 0.0 ? 0.1 : -0.1;
    double t = t0, best = kFarStart, best_t = t0;
    for (int refinements = 0;;) {
        // Each scan ends at t1 or, should wrapping keep it from getting
        // there, after a full turn.
        const int max_steps = static_cast<int>(std::ceil(1.0 / std::fabs(s))) + 2;
        for (int step = 0; step <= max_steps; ++step) {
            double deviation = 0.0, tp[3], n[3];
            if (int r = tangent_deviation(eyellipse, type, curve, t, &deviation, tp, p, n)) return r;
            if (deviation < best) {
                best = deviation;
                best_t = t;
            }
            if (deviation < tolerance) {
                if (int r = HM_MODL_create_plane(tp, n, plane)) return r;
                detail::copy3(tp, tangent_point);
                detail::copy3(n, normal);
                HM_CURVE_line_t line = {{tp[0], tp[1], tp[2]}, {p[0], p[1], p[2]}};
                tag_t l = NULL_TAG;
                HM_CURVE_create_line(&line, &l);   // the sight of the tangency, left in the part
                return 0;
            }
            if (std::fabs(s) > std::fabs(t - t1)) break;
            t = wrap(t + s);
        }
        if (refinements == 3) {
            log("ubable to create tangential plane");
            return -1;
        }
        ++refinements;
        // Scan again about the best parameter, a tenth of the step, from one
        // old step before it to one old step after it.
        t = wrap(best_t - s);
        t1 = wrap(best_t + s);
        s *= 0.1;
    }
}

int HM_VD_ipv_ask_eyepoint_of_hub_analysis(const double origin[3], const double matrix[9], const double a[3],
                                           const double b[3], hm_list_p_t objects, vd_eyellipse_t* eyellipse,
                                           const double tolerances[2], double eye1[3], double eye2[3]) {
    if (!eyellipse || !objects || !origin || !matrix || !a || !b || !tolerances || !eye1 || !eye2 ||
        !ipv_eye_point_input_usable(eyellipse, origin, matrix, a, b, tolerances)) {
        log("input null");
        return -1;
    }
    const double n[3] = {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
    double q[3];
    {
        detail::Temporaries temporary;
        tag_t plane = NULL_TAG;
        if (HM_MODL_create_plane(a, n, &plane) != 0) {
            log("fail to create plane");
            return -1;
        }
        temporary.add(plane);
        if (!nearest_to_plane(objects, plane, q)) {
            log("fail to ask minimum distance");
            return -1;
        }
    }
    double* outs[2] = {eye1, eye2};
    const int types[2] = {-1, 1};
    for (int i = 0; i < 2; ++i) {
        int count = 0;
        double pts[2][3];
        if (ipv_layer_section_tangents(eyellipse, types[i], tolerances, q, 1, &count, pts) != 0 || count < 2) {
            log("fail to ask left cut off eye point");
            return -1;
        }
        double other[3];
        order_pair(pts, VD_LOCAL_Z, origin, matrix, false, false, outs[i], other);
    }
    return 0;
}

int HM_VD_ipv_ask_eyepoint_of_see_thru_analysis(const double origin[3], const double matrix[9], const double a[3],
                                                const double b[3], hm_list_p_t objects, vd_eyellipse_t* eyellipse,
                                                const double tolerances[2], double eye1[4][3], double eye2[4][3]) {
    if (!eyellipse || !objects || !origin || !matrix || !a || !b || !tolerances || !eye1 || !eye2 ||
        !ipv_eye_point_input_usable(eyellipse, origin, matrix, a, b, tolerances))
        return -1;
    double d[3] = {a[0] - b[0], a[1] - b[1], a[2] - b[2]}, length = 0.0, unit[3];
    if (int r = HM_VEC3_unitize(d, tolerances[0], &length, unit)) return r;
    double far_point[3];
    HM_VEC3_affine_comb(b, 2.5 * length, unit, far_point);
    detail::Temporaries planes;
    tag_t plane[2] = {NULL_TAG, NULL_TAG};
    if (int r = HM_MODL_create_plane(b, d, &plane[0])) return r;
    planes.add(plane[0]);
    if (int r = HM_MODL_create_plane(far_point, d, &plane[1])) return r;
    planes.add(plane[1]);
    double q[2][3];
    for (int i = 0; i < 2; ++i)
        if (!nearest_to_plane(objects, plane[i], q[i])) return -1;
    const int types[2] = {-1, 1};
    double (*outs[2])[3] = {eye1, eye2};
    for (int e = 0; e < 2; ++e)
        for (int i = 0; i < 2; ++i) {
            int count = 0;
            double pts[2][3];
            if (ipv_layer_section_tangents(eyellipse, types[e], tolerances, q[i], 1, &count, pts) != 0 ||
                count < 2)
                return -1;
            order_pair(pts, VD_LOCAL_Y, origin, matrix, true, true, outs[e][2 * i], outs[e][2 * i + 1]);
        }
    return 0;
}

int HM_VD_ipv_ask_visual_indicator_boundary_plane(vd_eyellipse_t* eyellipse, const double angles[4],
                                                  tag_t planes[4]) {
    if (!eyellipse || !angles || !planes) return -1;
    for (int i = 0; i < 4; ++i) planes[i] = NULL_TAG;
    // Angle 2 is not read; the others turn the planes.
    if (!detail::in_model_space({angles[0], angles[1], angles[3]})) return -1;
    const struct {
        int type;
        double direction[3];
    } supports[3] = {{1, {-1, 0, 0}}, {-1, {-1, 0, 0}}, {1, {0, 0, -1}}};
    double t[3][3];
    for (int i = 0; i < 3; ++i) {
        double dir[3] = {supports[i].direction[0], supports[i].direction[1], supports[i].direction[2]};
        if (int r = HM_VD_ipv_ask_eyellipse_tangent_point1(eyellipse, supports[i].type, dir, t[i])) {
            log("error on ask eyellipse tangent point");
            return r;
        }
    }
    const double z[3] = {0, 0, 1}, minus_y[3] = {0, -1, 0}, plus_y[3] = {0, 1, 0}, minus_z[3] = {0, 0, -1};
    double n[4][3];
    HM_VD_vec3_rotate(plus_y, z, -angles[0], n[0]);
    HM_VD_vec3_rotate(minus_y, z, angles[1], n[1]);
    detail::copy3(minus_z, n[2]);
    HM_VD_vec3_rotate(minus_z, minus_y, angles[3], n[3]);
    const double* through[4] = {t[0], t[1], t[2], t[1]};
    // The planes come all four or none.
    detail::Temporaries made;
    tag_t made_planes[4] = {NULL_TAG, NULL_TAG, NULL_TAG, NULL_TAG};
    for (int i = 0; i < 4; ++i) {
        if (int r = HM_MODL_create_plane(through[i], n[i], &made_planes[i])) return r;
        made.add(made_planes[i]);
    }
    for (int i = 0; i < 4; ++i) {
        made.release(made_planes[i]);
        planes[i] = made_planes[i];
    }
    return 0;
}
