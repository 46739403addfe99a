// Curve utilities: ellipse arcs and the tangent points from a point to an
// ellipse in its own plane.
#include "hm_vd/curve_utils.h"

#include "toolbox/detail/constants.h"
#include "toolbox/detail/finite.h"
#include "toolbox/detail/owners.h"

#include "omvra.h"

#include <algorithm>
#include <cmath>

namespace {

using carvell::detail::all_finite;
using carvell::detail::finite3;
using carvell::detail::kDegreesPerRadian;

// Sets the work coordinate system back, and deletes the temporary
// coordinate system and matrix object, however the ellipse creation ends.
struct TemporaryWcs {
    tag_t saved_wcs = 0;
    tag_t csys = 0;
    tag_t matrix = 0;
    bool saved = false;
    ~TemporaryWcs() {
        if (saved) (void)HM_CSYS_set_wcs(saved_wcs);
        carvell::detail::delete_if_alive(csys);
        carvell::detail::delete_if_alive(matrix);
    }
};

// Angle in degrees, in [0, 360), of a point of the unit circle.
double unit_circle_angle(double x, double y) {
    double theta = std::asin(std::clamp(y, -1.0, 1.0)) * kDegreesPerRadian;
    if (x < 0.0) theta = 180.0 - theta;
    if (theta < 0.0) theta += 360.0;
    return theta;
}

// The two roots of a quadratic from the one that forms without cancellation
// (its sign agrees with `sign_of`) and the product of the roots.
void stable_roots(double sign_of, double half_sum, double spread, double product, double* with_sign,
                  double* other) {
    *with_sign = half_sum + std::copysign(spread, sign_of);
    *other = *with_sign != 0.0 ? product / *with_sign : half_sum - std::copysign(spread, sign_of);
}

}  // namespace

int HM_VD_curve_create_ellipse(const double centre[3], double a, const double x_dir[3], double b,
                               const double y_dir[3], const double range[2], tag_t* ellipse) {
    if (!range || !ellipse) return -1;
    if (!finite3(centre) || !finite3(x_dir) || !finite3(y_dir) || !all_finite(range, 2) || !all_finite({a, b}))
        return -1;
    if (range[1] < range[0]) return -1;

    TemporaryWcs wcs;
    if (HM_CSYS_ask_wcs(&wcs.saved_wcs) == 0) wcs.saved = true;

    double matrix_values[9];
    if (HM_MTX3_initialize(x_dir, y_dir, matrix_values) != 0) return -1;
    if (HM_CSYS_create_matrix(matrix_values, &wcs.matrix) != 0) return -1;
    const double absolute_origin[3] = {0.0, 0.0, 0.0};
    if (HM_CSYS_create_csys(absolute_origin, wcs.matrix, &wcs.csys) != 0) return -1;
    if (HM_CSYS_set_wcs(wcs.csys) != 0) return -1;

    // The conic's centre is given in the work coordinate system.
    double mapped_centre[3];
    if (HM_CSYS_map_point(HM_CSYS_ABSOLUTE, centre, HM_CSYS_WORK, mapped_centre) != 0) return -1;

    HM_CURVE_conic_t conic{};
    conic.matrix_tag = wcs.matrix;
    conic.conic_type = HM_CONIC_ellipse;
    conic.rotation_angle = 0.0;
    conic.start_param = range[0];
    conic.end_param = range[1];
    for (int i = 0; i < 3; ++i) conic.center[i] = mapped_centre[i];
    conic.k1 = a;
    conic.k2 = b;

    tag_t made = 0;
    if (HM_CURVE_create_conic(&conic, &made) != 0 || made == 0) return -1;
    *ellipse = made;
    return 0;
}

int HM_VD_ellipse_tangents_2d(double a, double b, const double range[2], const double point[2],
                              const double tolerances[2], int* count, double points[4]) {
    if (!range || !point || !tolerances || !count || !points) return HM_ERR_NULL_POINTER;
    *count = 0;
    for (int i = 0; i < 4; ++i) points[i] = 0.0;
    // An axis of zero length (or a number that is not finite) has no tangents.
    if (!all_finite({a, b}) || a == 0.0 || b == 0.0 || !all_finite(range, 2) || !all_finite(point, 2) ||
        !all_finite(tolerances, 2))
        return HM_ERR_BAD_ARGUMENT;

    const double px = std::fabs(point[0]) < tolerances[0] ? 0.0 : point[0];
    const double py = std::fabs(point[1]) < tolerances[0] ? 0.0 : point[1];
    const double u = px / a;
    const double v = py / b;
    const double r2 = u * u + v * v;
    if (r2 == 0.0) return 0;

    // Inside, on or outside the (unit-circle image of the) ellipse.
    const double e = std::pow(tolerances[0] / std::max(std::fabs(u), std::fabs(v)), 2);
    if (r2 - 1.0 < -e) return 0;
    int found = 2;
    double s = 0.0;
    if (std::fabs(r2 - 1.0) > e)
        s = std::sqrt(r2 - 1.0);
    else
        found = 1;

    // Tangent points of the unit circle seen from (u, v): both satisfy
    // x u + y v = 1; T1 has the larger x.
    double x1, y1, x2, y2;
    if (v == 0.0) {
        x1 = x2 = 1.0 / u;
        y1 = s * std::fabs(u) / r2;
        y2 = -y1;
    } else if (u == 0.0) {
        y1 = y2 = 1.0 / v;
        x1 = s * std::fabs(v) / r2;
        x2 = -x1;
    } else {
        double xa, xb;
        stable_roots(u, u / r2, s * std::fabs(v) / r2, (1.0 - v * v) / r2, &xa, &xb);
        x1 = std::max(xa, xb);
        x2 = std::min(xa, xb);
        double ya, yb;
        stable_roots(v, v / r2, s * std::fabs(u) / r2, (1.0 - u * u) / r2, &ya, &yb);
        // Pair the y roots with the x roots so that each point lies on the
        // polar line x u + y v = 1.
        const double miss_a = std::fabs(x1 * u + ya * v - 1.0) + std::fabs(x2 * u + yb * v - 1.0);
        const double miss_b = std::fabs(x1 * u + yb * v - 1.0) + std::fabs(x2 * u + ya * v - 1.0);
        if (miss_a <= miss_b) {
            y1 = ya;
            y2 = yb;
        } else {
            y1 = yb;
            y2 = ya;
        }
    }

    double angle1 = unit_circle_angle(x1, y1);
    double angle2 = unit_circle_angle(x2, y2);
    for (double* angle : {&angle1, &angle2}) {
        if (std::fabs(*angle - range[0]) <= tolerances[1]) *angle = range[0];
        if (std::fabs(*angle - range[1]) <= tolerances[1]) *angle = range[1];
    }

    const double t1[2] = {a * x1, b * y1};
    const double t2[2] = {a * x2, b * y2};

    bool keep1 = true, keep2 = true;
    if (!(range[0] <= 0.0 && range[1] >= 360.0)) {
        keep1 = angle1 >= range[0] && angle1 <= range[1];
        keep2 = angle2 >= range[0] && angle2 <= range[1];
        if (!keep1) found = std::max(found - 1, 0);
        if (!keep2) found = std::max(found - 1, 0);
    }

    const double side = t1[1] * point[0] - t1[0] * point[1];
    const double* first = t2;
    const double* second = nullptr;
    if (keep1 && keep2) {
        first = side > 0.0 ? t2 : t1;
        second = side > 0.0 ? t1 : t2;
    } else if (keep1) {
        first = t1;
    }
    // Axes so short or a point so far that the points overflow: no answer.
    if (!all_finite(t1, 2) || !all_finite(t2, 2)) return HM_ERR_BAD_ARGUMENT;
    points[0] = first[0];
    points[1] = first[1];
    if (second != nullptr) {
        points[2] = second[0];
        points[3] = second[1];
    }
    *count = found;
    return 0;
}
