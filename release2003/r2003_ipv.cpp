// Instrument-panel utilities of the 2003 release: splines through points,
// the chain of curves, curve trimming, points on planes, mappings through a
// temporary work coordinate system, the ellipse, the ruled sheet and the box
// comparison.
#include "release2003/ipv.h"
#include "vision/vision_ipv.h"

#include "curves/curves_finite.h"
#include "curves/curves_spline_rows.h"
#include "hm_vd.h"
#include "toolbox/detail/finite.h"
#include "toolbox/detail/owners.h"
#include "toolbox/detail/vec3.h"

#include "omvra.h"

#include <cmath>

namespace {

namespace detail = carvell::detail;

// Distances and lengths below this are nothing to the 2003 utilities.
constexpr double kSmall = 1e-5;
// Ruled-sheet alignments tried in turn: by parameter, then by arc length.
constexpr int kRuledAlignments[2] = {2, 1};

// A coordinate system made the work coordinate system for one operation:
// the saved one is set back and the temporary objects deleted however the
// operation ends.
class TemporaryWcs {
public:
    TemporaryWcs() = default;
    TemporaryWcs(const TemporaryWcs&) = delete;
    TemporaryWcs& operator=(const TemporaryWcs&) = delete;
    ~TemporaryWcs() {
        if (saved_) (void)HM_CSYS_set_wcs(saved_wcs_);
        detail::delete_if_alive(csys_);
        detail::delete_if_alive(matrix_);
    }
    // The system at the origin with the matrix's rows as axes, made current.
    int enter(const double origin[3], const double matrix[9]) {
        if (int r = HM_CSYS_ask_wcs(&saved_wcs_)) return r;
        saved_ = true;
        if (int r = HM_CSYS_create_matrix(matrix, &matrix_)) return r;
        if (int r = HM_CSYS_create_csys(origin, matrix_, &csys_)) return r;
        return HM_CSYS_set_wcs(csys_);
    }
    tag_t matrix() const { return matrix_; }

private:
    tag_t saved_wcs_ = NULL_TAG;
    tag_t csys_ = NULL_TAG;
    tag_t matrix_ = NULL_TAG;
    bool saved_ = false;
};

bool usable_frame(const double origin[3], const double matrix[9]) {
    return origin && matrix && detail::model_point(origin) && detail::all_finite(matrix, 9);
}

// The point mapped between host coordinate codes through the system.
int map_point(const double point[3], const double origin[3], const double matrix[9], int from, int to,
              double out[3]) {
    if (!point || !out || !usable_frame(origin, matrix) || !detail::model_point(point)) return -1;
    TemporaryWcs wcs;
    if (int r = wcs.enter(origin, matrix)) return r;
    double mapped[3];
    if (int r = HM_CSYS_map_point(from, point, to, mapped)) return r;
    detail::copy3(mapped, out);
    return 0;
}

// The vector as the unit difference of its mapped tip and mapped origin.
int map_vector(const double vector[3], const double origin[3], const double matrix[9], int from, int to,
               double out[3]) {
    if (!vector || !out || !detail::model_point(vector)) return -1;
    const double zero[3] = {0.0, 0.0, 0.0};
    double base[3], tip[3];
    if (int r = map_point(zero, origin, matrix, from, to, base)) return r;
    if (int r = map_point(vector, origin, matrix, from, to, tip)) return r;
    const double d[3] = {tip[0] - base[0], tip[1] - base[1], tip[2] - base[2]};
    double unit[3], m = 0.0;
    if (int r = HM_VEC3_unitize(d, kSmall, &m, unit)) return r;
    detail::copy3(unit, out);
    return 0;
}

double dot(const double* a, const double* b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

}  // namespace

int HM_VD_ipv_chain_curves(hm_list_p_t curves, hm_list_p_t* chain) {
    if (!chain) return -1;
    *chain = nullptr;
    if (!curves) return -1;
    double tolerance = 0.0;
    HM_MODL_ask_distance_tolerance(&tolerance);
    const std::vector<tag_t> loop = carvell::vision::ipv_single_loop(curves, tolerance);
    if (loop.empty()) return -1;
    *chain = detail::new_list(loop);
    return *chain ? 0 : -1;
}

int ipv_create_spline_thru_points(int n, double** points, int periodic, int degree, tag_t* spline) {
    if (!spline) return -1;
    *spline = 0;
    if (!points || n < 2 || n > carvell::curves::kMaxSplinePoints) return -1;
    for (int i = 0; i < n; ++i)
        if (!carvell::curves::finite3(points[i])) return -1;
    if (degree == 0) degree = n == 2 ? 1 : (n == 3 ? 2 : 3);
    return carvell::curves::spline_through_rows(n, points, periodic, degree, 0, spline);
}

int HM_VD_ipv_create_spline_thru_points(int n, double** points, int periodic, tag_t* spline) {
    return ipv_create_spline_thru_points(n, points, periodic, 0, spline);
}

int HM_VD_ipv_trim_curve(tag_t curve, double start, double end) {
    if (!detail::all_finite({start, end}) || start < 0.0 || end > 1.0 || start >= end) return -1;
    double before = 0.0, after = 0.0;
    if (int r = HM_CURVE_ask_arc_length(curve, 0.0, start, &before)) return r;
    if (int r = HM_CURVE_ask_arc_length(curve, end, 1.0, &after)) return r;
    if (before > kSmall)
        if (int r = HM_CURVE_edit_length(curve, -before, 1)) return r;
    if (after > kSmall)
        if (int r = HM_CURVE_edit_length(curve, -after, 2)) return r;
    return 0;
}

int HM_VD_ipv_ask_perpendicular_point_on_plane(const double point[3], const double origin[3],
                                                const double normal[3], double foot[3], double* distance) {
    if (!point || !origin || !normal || !foot || !distance) return -1;
    if (!detail::model_point(point) || !detail::model_point(origin) || !detail::model_point(normal)) return -1;
    double d = 0.0, n[3], m = 0.0;
    if (HM_VEC3_unitize(normal, kSmall, &m, n) != 0) return -1;
    if (int r = HM_VEC3_distance_to_plane(point, origin, normal, kSmall, &d)) return r;
    for (int k = 0; k < 3; ++k) foot[k] = point[k] - d * n[k];
    *distance = d;
    return 0;
}

int HM_VD_ipv_ask_intersect_point_on_plane(const double p1[3], const double p2[3], const double origin[3],
                                           const double normal[3], double out[3]) {
    if (!p1 || !p2 || !origin || !normal || !out) return -1;
    if (!detail::model_point(p1) || !detail::model_point(p2) || !detail::model_point(origin) ||
        !detail::model_point(normal))
        return -1;
    if (HM_VD_CURVE_is_coinside_point(p1, p2, kSmall) == 1) {
        double d = 0.0;
        return HM_VD_ipv_ask_perpendicular_point_on_plane(p1, origin, normal, out, &d);
    }
    const double line[3] = {p2[0] - p1[0], p2[1] - p1[1], p2[2] - p1[2]};
    const double to_plane[3] = {origin[0] - p1[0], origin[1] - p1[1], origin[2] - p1[2]};
    // A line parallel to the plane (its direction normal to the normal, to
    // working precision) meets it nowhere or everywhere: no point.
    const double across = dot(line, normal);
    if (std::fabs(across) <= 1e-12 * std::sqrt(dot(line, line) * dot(normal, normal))) return -1;
    const double t = dot(to_plane, normal) / across;
    const double point[3] = {p1[0] + t * line[0], p1[1] + t * line[1], p1[2] + t * line[2]};
    if (!detail::model_point(point)) return -1;
    detail::copy3(point, out);
    return 0;
}

int ipv_map_point_to_csys(const double point[3], const double origin[3], const double matrix[9], double out[3]) {
    return map_point(point, origin, matrix, HM_CSYS_WORK_PART, HM_CSYS_WORK, out);
}

int ipv_map_point_from_csys(const double point[3], const double origin[3], const double matrix[9], double out[3]) {
    return map_point(point, origin, matrix, HM_CSYS_WORK, HM_CSYS_WORK_PART, out);
}

int ipv_map_vector_to_csys(const double vector[3], const double origin[3], const double matrix[9], double out[3]) {
    return map_vector(vector, origin, matrix, HM_CSYS_WORK_PART, HM_CSYS_WORK, out);
}

int ipv_map_vector_from_csys(const double vector[3], const double origin[3], const double matrix[9],
                             double out[3]) {
    return map_vector(vector, origin, matrix, HM_CSYS_WORK, HM_CSYS_WORK_PART, out);
}

int ipv_create_ellipse(const double centre[3], double a, const double x_dir[3], double b, const double y_dir[3],
                       const double limits[2], tag_t* curve) {
    if (!curve) return -1;
    *curve = NULL_TAG;
    if (!centre || !x_dir || !y_dir || !limits || !detail::model_point(centre) || !detail::finite3(x_dir) ||
        !detail::finite3(y_dir) || !detail::all_finite(limits, 2) || !detail::in_model_space({a, b}))
        return -1;
    if (limits[1] < limits[0]) return -1;
    double values[9];
    if (int r = HM_MTX3_initialize(x_dir, y_dir, values)) return r;
    const double at_origin[3] = {0.0, 0.0, 0.0};
    TemporaryWcs wcs;
    if (int r = wcs.enter(at_origin, values)) return r;
    HM_CURVE_conic_t conic{};
    if (int r = HM_CSYS_map_point(HM_CSYS_ABSOLUTE, centre, HM_CSYS_WORK, conic.center)) return r;
    conic.matrix_tag = wcs.matrix();
    conic.conic_type = HM_CONIC_ellipse;
    conic.rotation_angle = 0.0;
    conic.start_param = limits[0];
    conic.end_param = limits[1];
    conic.k1 = a;
    conic.k2 = b;
    tag_t made = NULL_TAG;
    if (int r = HM_CURVE_create_conic(&conic, &made)) return r;
    *curve = made;
    return 0;
}

int ipv_create_ruled_sheet(hm_list_p_t first, hm_list_p_t second, bool same_direction, tag_t* sheet) {
    return HM_VD_create_ruled(first, second, 0, same_direction, kRuledAlignments, 2, sheet);
}

void ipv_compare_box_xz_area(const double a[6], const double b[6], int* sign) {
    if (!a || !b || !sign) return;
    const double e = (a[3] - a[0]) * (a[5] - a[2]) - (b[3] - b[0]) * (b[5] - b[2]);
    *sign = std::fabs(e) < kSmall ? 0 : (e > 1e-6 ? 1 : -1);
}
