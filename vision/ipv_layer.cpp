// The instrument-panel tool's lower layer in the current release: the shared
// toolbox and curve functions, and the host's frame mappings.
#include "ipv_layer.h"
#include "vision_ipv.h"

#include "hm_vd.h"
#include "hm_vd_curve.h"
#include "hm_vd_vision.h"

#include "belmorra.h"
#include "omvra.h"
#include "quillon.h"

#include <cmath>

namespace carvell::vision {
namespace {

// Ruled-sheet alignments tried in turn: by parameter, then by arc length.
constexpr int kRuledAlignments[2] = {2, 1};

double vehicle_lateral(const double point[3]) { return VD_LOCAL_Y(point, ipv_vehicle_origin, ipv_vehicle_matrix); }
double vehicle_vertical(const double point[3]) { return VD_LOCAL_Z(point, ipv_vehicle_origin, ipv_vehicle_matrix); }

}  // namespace

int ipv_layer_spline(int n, double** points, int periodic, int degree, tag_t* spline) {
    return HM_VD_create_spline_thru_points_by_degree(n, points, periodic, degree, 0, spline);
}

std::vector<tag_t> ipv_layer_single_loop(hm_list_p_t curves, double tolerance) {
    return ipv_single_loop(curves, tolerance);
}

int ipv_layer_curve_piece(tag_t curve, const double parms[2], tag_t* piece) {
    return HM_VD_CURVE_trim_curve_by_parms(curve, parms, piece);
}

int ipv_layer_ellipse(const double centre[3], double a, const double x_dir[3], double b, const double y_dir[3],
                      const double limits[2], tag_t* curve) {
    return HM_VD_curve_create_ellipse(centre, a, x_dir, b, y_dir, limits, curve);
}

int ipv_layer_ruled_sheet(hm_list_p_t first, hm_list_p_t second, bool same_direction, tag_t* sheet) {
    return HM_VD_create_ruled(first, second, 0, same_direction, kRuledAlignments, 2, sheet);
}

int ipv_layer_plane_foot(const double point[3], const double origin[3], const double normal[3], double tolerance,
                         double foot[3], double* distance) {
    double d = 0.0, n[3], m = 0.0;
    if (int r = HM_VEC3_distance_to_plane(point, origin, normal, tolerance, &d)) return r;
    HM_VEC3_unitize(normal, 1e-12, &m, n);
    for (int k = 0; k < 3; ++k) foot[k] = point[k] - d * n[k];
    *distance = d;
    return 0;
}

int ipv_layer_line_plane_point(const double point[3], const double direction[3], const double origin[3],
                               const double normal[3], double out[3]) {
    return HM_VD_ask_intersect_point_of_plane_and_line(point, direction, origin, normal, out);
}

int ipv_layer_point_to_frame(const double point[3], const double origin[3], const double matrix[9], double out[3]) {
    return VD_map_point_abs2csys(point, origin, matrix, out);
}

int ipv_layer_point_from_frame(const double point[3], const double origin[3], const double matrix[9], double out[3]) {
    return VD_map_point_csys2abs(point, origin, matrix, out);
}

int ipv_layer_vector_to_frame(const double vector[3], const double /*origin*/[3], const double matrix[9],
                              double out[3]) {
    return VD_map_vector_abs2csys(vector, matrix, out);
}

int ipv_layer_vector_from_frame(const double vector[3], const double /*origin*/[3], const double matrix[9],
                                double out[3]) {
    return VD_map_vector_csys2abs(vector, matrix, out);
}

int ipv_layer_compare_box_xz(const double a[6], const double b[6]) {
    const double d = (a[5] - a[2]) * (a[3] - a[0]) - (b[5] - b[2]) * (b[3] - b[0]);
    if (std::fabs(d) < 1e-5) return 0;
    return d > 1e-6 ? 1 : -1;
}

// The record holds the full axis lengths of the chosen percentile.
void ipv_layer_semi_axes(const vd_eyellipse_t* eyellipse, double semi[3]) {
    for (int i = 0; i < 3; ++i) semi[i] = 0.5 * eyellipse->axis_length[i];
}

int ipv_layer_section_tangents(vd_eyellipse_t* eyellipse, int type, const double tolerances[2],
                               const double point[3], int section, int* count, double points[2][3]) {
    return ipv_ask_section_tangent_points(eyellipse, point, tolerances, type, section, count, points);
}

// Tangent points ordered across and up the vehicle.
int ipv_layer_moa(vd_eyellipse_t* eyellipse, const double point[3], tag_t plane, tag_t* point_object,
                  tag_t* ellipse) {
    return ipv_moa_ellipse(eyellipse, point, plane, vehicle_lateral, vehicle_vertical, point_object, ellipse);
}

}  // namespace carvell::vision

int ipv_ask_section_tangent_points(vd_eyellipse_t* eyellipse, const double point[3], const double tolerances[2],
                                   int type, int section, int* count, double points[2][3]) {
    return carvell::vision::ipv_eyellipse_section_tangents(eyellipse, type, tolerances, point, section, count,
                                                           points);
}
