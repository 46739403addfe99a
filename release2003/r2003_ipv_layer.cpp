// The instrument-panel tool's lower layer in the 2003 release: its own
// instrument-panel utilities. The eyellipse record holds semi-axes.
#include "release2003/ipv.h"
#include "vision/ipv_layer.h"

#include "hm_vd.h"
#include "toolbox/detail/owners.h"

#include "omvra.h"

namespace carvell::vision {

int ipv_layer_spline(int n, double** points, int periodic, int degree, tag_t* spline) {
    return ipv_create_spline_thru_points(n, points, periodic, degree, spline);
}

std::vector<tag_t> ipv_layer_single_loop(hm_list_p_t curves, double /*tolerance: the part's*/) {
    detail::HostList chain;
    if (HM_VD_ipv_chain_curves(curves, chain.out()) != 0) return {};
    return chain.items();
}

// A copy of the curve, trimmed in place.
int ipv_layer_curve_piece(tag_t curve, const double parms[2], tag_t* piece) {
    if (!piece) return -1;
    *piece = NULL_TAG;
    if (!parms) return -1;
    tag_t copy = NULL_TAG;
    if (int r = HM_VD_copy_object(HM_VD_KEEP_LAYER, 1, &curve, &copy)) return r;
    if (int r = HM_VD_ipv_trim_curve(copy, parms[0], parms[1])) {
        detail::delete_if_alive(copy);
        return r;
    }
    *piece = copy;
    return 0;
}

int ipv_layer_ellipse(const double centre[3], double a, const double x_dir[3], double b, const double y_dir[3],
                      const double limits[2], tag_t* curve) {
    return ipv_create_ellipse(centre, a, x_dir, b, y_dir, limits, curve);
}

int ipv_layer_ruled_sheet(hm_list_p_t first, hm_list_p_t second, bool same_direction, tag_t* sheet) {
    return ipv_create_ruled_sheet(first, second, same_direction, sheet);
}

int ipv_layer_plane_foot(const double point[3], const double origin[3], const double normal[3],
                         double /*tolerance: 1e-5*/, double foot[3], double* distance) {
    return HM_VD_ipv_ask_perpendicular_point_on_plane(point, origin, normal, foot, distance);
}

int ipv_layer_line_plane_point(const double point[3], const double direction[3], const double origin[3],
                               const double normal[3], double out[3]) {
    if (!point || !direction) return -1;
    const double second[3] = {point[0] + direction[0], point[1] + direction[1], point[2] + direction[2]};
    return HM_VD_ipv_ask_intersect_point_on_plane(point, second, origin, normal, out);
}

int ipv_layer_point_to_frame(const double point[3], const double origin[3], const double matrix[9], double out[3]) {
    return ipv_map_point_to_csys(point, origin, matrix, out);
}

int ipv_layer_point_from_frame(const double point[3], const double origin[3], const double matrix[9], double out[3]) {
    return ipv_map_point_from_csys(point, origin, matrix, out);
}

int ipv_layer_vector_to_frame(const double vector[3], const double origin[3], const double matrix[9], double out[3]) {
    return ipv_map_vector_to_csys(vector, origin, matrix, out);
}

int ipv_layer_vector_from_frame(const double vector[3], const double origin[3], const double matrix[9],
                                double out[3]) {
    return ipv_map_vector_from_csys(vector, origin, matrix, out);
}

int ipv_layer_compare_box_xz(const double a[6], const double b[6]) {
    int sign = 0;
    ipv_compare_box_xz_area(a, b, &sign);
    return sign;
}

// The 2003 initialiser stores the semi-axes themselves.
void ipv_layer_semi_axes(const vd_eyellipse_t* eyellipse, double semi[3]) {
    for (int i = 0; i < 3; ++i) semi[i] = eyellipse->axis_length[i];
}

int ipv_layer_section_tangents(vd_eyellipse_t* eyellipse, int type, const double tolerances[2],
                               const double point[3], int section, int* count, double points[2][3]) {
    return ipv_ask_section_tangent_points(eyellipse, type, tolerances, point, section, count, points);
}

int ipv_layer_moa(vd_eyellipse_t* eyellipse, const double point[3], tag_t plane, tag_t* point_object,
                  tag_t* ellipse) {
    return ipv_create_moa_ellipse(eyellipse, point, plane, point_object, ellipse);
}

}  // namespace carvell::vision
