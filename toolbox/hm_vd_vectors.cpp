// Vector, plane and fit utilities: unit vectors and points from points, the
// side of a plane, line and plane intersections, rotations of vectors and
// points, least-squares planes and spheres.
#include "hm_vd/vectors.h"

#include "toolbox/detail/constants.h"
#include "toolbox/detail/finite.h"
#include "toolbox/detail/vec3.h"

#include "kestrin.h"
#include "omvra.h"
#include "rostval.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace {

// The rotations keep the conversion they have always used.
constexpr double kDegreesPerRadian = carvell::detail::kDegreesPerRadianAsUsed;
constexpr double kRightAngle = 1.5707963267948966;
// Two lines whose crossing determinant is below this fraction of the product
// of their direction lengths are parallel: they give no point.
constexpr double kParallelGuard = 1e-12;
// What a result holds until a finite value is written into it.
constexpr double kNoValue = std::numeric_limits<double>::quiet_NaN();

using carvell::detail::all_finite;
using carvell::detail::copy3;
using carvell::detail::finite3;

double distance_tolerance() {
    double tolerance = 0.0;
    if (HM_MODL_ask_distance_tolerance(&tolerance) != 0) tolerance = 0.0;
    return tolerance;
}

// The points of a pointer row packed as x, y, z triples; false for a null
// row or entry.
bool pack(int n, const double* const* points, std::vector<double>& packed) {
    if (n < 1 || !carvell::detail::finite_point_row(n, points) || !carvell::detail::count_fits(n, 3 * sizeof(double)))
        return false;
    packed.resize(3 * static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        for (int k = 0; k < 3; ++k) packed[3 * i + k] = points[i][k];
    }
    return true;
}

}  // namespace

bool HM_VD_create_vector_by_two_points(const double p1[3], const double p2[3], double v[3]) {
    if (!finite3(p1) || !finite3(p2) || !v) return false;
    double difference[3], magnitude = 0.0;
    HM_VEC3_sub(p2, p1, difference);
    if (HM_VEC3_unitize(difference, distance_tolerance(), &magnitude, v) != 0) {
        copy3(difference, v);
        return false;
    }
    return true;
}

bool HM_VD_judge_point_in_plane_side(const double point[3], const double origin[3], const double normal[3]) {
    if (!finite3(point) || !finite3(origin) || !finite3(normal)) return false;
    double v[3];
    if (!HM_VD_create_vector_by_two_points(origin, point, v)) return true;
    double x = 0.0;
    HM_VEC3_dot(v, normal, &x);
    x = std::clamp(x, -1.0, 1.0);
    return !(std::acos(x) > kRightAngle);
}

void HM_VD_create_point_in_two_points(const double p1[3], const double p2[3], double t, double out[3]) {
    if (!finite3(p1) || !finite3(p2) || !out || !std::isfinite(t)) return;
    double out_value[3];
    for (int i = 0; i < 3; ++i) out_value[i] = p1[i] + t * (p2[i] - p1[i]);
    if (!all_finite(out_value, 3)) return;
    copy3(out_value, out);
}

void HM_VD_create_point_by_distance(const double p[3], const double direction[3], double d, double out[3]) {
    if (!finite3(p) || !finite3(direction) || !out || !std::isfinite(d)) return;
    double moved[3];
    HM_VEC3_affine_comb(p, d, direction, moved);
    if (all_finite(moved, 3)) copy3(moved, out);
}

double* HM_VD_ask_two_line_intersect_point(const double p1[3], const double p2[3], const double q[3],
                                           const double direction[3], double out[3]) {
    if (!finite3(p1) || !finite3(p2) || !finite3(q) || !finite3(direction) || !out) return nullptr;
    double d[3], w[3], e[3];
    for (int i = 0; i < 3; ++i) {
        d[i] = p2[i] - p1[i];
        w[i] = q[i] - p1[i];
        e[i] = -direction[i];
    }
    const double dxy = e[1] * d[0] - d[1] * e[0];
    const double dxz = e[2] * d[0] - d[2] * e[0];
    const double dyz = e[2] * d[1] - d[2] * e[1];
    const double axy = std::fabs(dxy), axz = std::fabs(dxz), ayz = std::fabs(dyz);

    // The plane where the projections cross most clearly: xy, then yz, when
    // strictly the largest; otherwise xz, unless xy and yz tie above it (the
    // xz determinant may then be 0 for lines that do cross).
    enum { XY, YZ, XZ } plane;
    if (axy > axz && axy > ayz)
        plane = XY;
    else if (ayz > axy && ayz > axz)
        plane = YZ;
    else if (axz >= axy && axz >= ayz)
        plane = XZ;
    else
        plane = XY;

    double dl = 0.0, el = 0.0;
    HM_VEC3_mag(d, &dl);
    HM_VEC3_mag(e, &el);
    const double largest = std::max({axy, axz, ayz});
    if (!(largest > kParallelGuard * dl * el) || !std::isfinite(largest)) return nullptr;

    double t = 0.0;
    switch (plane) {
        case XY: t = (w[0] * e[1] - w[1] * e[0]) / dxy; break;
        case YZ: t = (w[1] * e[2] - w[2] * e[1]) / dyz; break;
        case XZ: t = (w[0] * e[2] - w[2] * e[0]) / dxz; break;
    }
    double point[3];
    for (int i = 0; i < 3; ++i) point[i] = p1[i] + t * d[i];
    // Lines of (near-)denormal length overflow the solution: no point.
    if (!all_finite(point, 3)) return nullptr;
    copy3(point, out);
    return out;
}

int HM_VD_ask_intersect_point_of_plane_and_line(const double line_point[3], const double line_direction[3],
                                                const double plane_origin[3], const double plane_normal[3],
                                                double out[3]) {
    if (!finite3(line_point) || !finite3(line_direction) || !finite3(plane_origin) || !finite3(plane_normal) ||
        !out)
        return -1;
    // Mode 2: the whole line, on either side of its point.
    int count = 0;
    double hit[3];
    if (CPROJ_point_vec_plane(line_point, plane_origin, plane_normal, line_direction, 2, hit, &count) != 0 ||
        count < 1 || !all_finite(hit, 3))
        return -1;
    copy3(hit, out);
    return 0;
}

void HM_VD_vec3_rotate(const double vector[3], const double axis[3], double angle, double out[3]) {
    if (!finite3(vector) || !finite3(axis) || !out || !std::isfinite(angle)) return;
    double frame[9], x[3], between = 0.0, turn[16];
    const double origin[3] = {0.0, 0.0, 0.0};
    if (HM_MTX3_initialize_z(axis, frame) != 0 || HM_MTX3_x_vec(frame, x) != 0 ||
        HM_VEC3_angle_between(x, vector, axis, &between) != 0 ||
        HM_MTX4_rotation(origin, axis, between * kDegreesPerRadian + angle, turn) != 0) {
        // No axis to turn about: the vector stays as it is.
        copy3(vector, out);
        return;
    }
    double turned[3];
    HM_MTX4_vec3_multiply(x, turn, turned);
    if (all_finite(turned, 3)) copy3(turned, out);
}

void HM_VD_vec3_rotate_point(const double origin[3], const double axis[3], const double point[3], double angle,
                             double out[3]) {
    if (!finite3(origin) || !finite3(axis) || !finite3(point) || !out || !std::isfinite(angle)) return;
    double turn[16];
    if (HM_MTX4_rotation(origin, axis, angle, turn) != 0) {
        copy3(point, out);
        return;
    }
    double turned[3];
    HM_MTX4_vec3_multiply(point, turn, turned);
    if (all_finite(turned, 3)) copy3(turned, out);
}

void HM_VD_vec3_rotate_vector(const double centre[3], const double axis[3], const double point[3],
                              const double direction[3], double angle, double tolerance, double out_point[3],
                              double out_direction[3]) {
    if (!finite3(centre) || !finite3(axis) || !finite3(point) || !finite3(direction) || !out_point ||
        !out_direction || !all_finite({angle, tolerance}))
        return;
    double distance = 0.0;
    HM_VEC3_distance(point, centre, &distance);
    if (!(distance >= tolerance)) {
        // Left NaN when the turn has no finite answer: then nothing is written.
        double turned[3] = {kNoValue, kNoValue, kNoValue};
        HM_VD_vec3_rotate(direction, axis, angle, turned);
        if (!all_finite(turned, 3)) return;
        copy3(point, out_point);
        copy3(turned, out_direction);
        return;
    }

    double turned_point[3] = {kNoValue, kNoValue, kNoValue}, radius[3];
    HM_VD_vec3_rotate_point(centre, axis, point, angle, turned_point);
    HM_VEC3_sub(centre, point, radius);
    int parallel = 0;
    HM_VEC3_is_parallel(radius, direction, tolerance, &parallel);
    double turned_direction[3] = {kNoValue, kNoValue, kNoValue};
    if (parallel) {
        // Along the radius: the sense (towards or away from the centre) is
        // kept whatever the direction's length.
        double sense = 0.0;
        HM_VEC3_dot(radius, direction, &sense);
        if (sense >= 0.0)
            HM_VEC3_sub(centre, turned_point, turned_direction);
        else
            HM_VEC3_sub(turned_point, centre, turned_direction);
    } else {
        double normal[3], between = 0.0, new_radius[3];
        HM_VEC3_cross(radius, direction, normal);
        HM_VEC3_angle_between(radius, direction, normal, &between);
        HM_VEC3_sub(centre, turned_point, new_radius);
        HM_VD_vec3_rotate(new_radius, normal, between * kDegreesPerRadian, turned_direction);
    }
    if (!all_finite(turned_point, 3) || !all_finite(turned_direction, 3)) return;
    copy3(turned_point, out_point);
    copy3(turned_direction, out_direction);
}

int HM_VD_ask_leastsq_plane(int n, const double* const* points, double origin[3], double normal[3]) {
    if (!origin || !normal) return -1;
    std::vector<double> packed;
    if (!pack(n, points, packed)) return -1;
    double fitted_origin[3], fitted_normal[3] = {1.0, 0.0, 0.0};
    if (LSFIT_plane_to_points(n, packed.data(), fitted_origin, fitted_normal) != 0) return -1;
    if (!all_finite(fitted_origin, 3) || !all_finite(fitted_normal, 3)) return -1;
    copy3(fitted_origin, origin);
    copy3(fitted_normal, normal);
    return 0;
}

int HM_VD_ask_leastsq_sphere(const double* const* points, int n, double tolerance, double sphere_centre[3],
                             double* sphere_radius, double circle_centre[3], double* circle_radius,
                             double circle_normal[3]) {
    if (!sphere_centre || !sphere_radius || !circle_centre || !circle_radius || !circle_normal) return 2;
    std::vector<double> packed;
    if (!pack(n, points, packed) || !std::isfinite(tolerance)) return 2;

    double centre[3], radius = 0.0;
    double plane_origin[3], plane_normal[3] = {1.0, 0.0, 0.0};
    if (LSFIT_sphere_to_points_3d(n, packed.data(), centre, &radius) != 0) {
        double circle[3], r = 0.0;
        if (LSFIT_plane_to_points(n, packed.data(), plane_origin, plane_normal) == 0 &&
            LSFIT_circle_to_points_3d(n, packed.data(), circle, &r) == 0 && all_finite(circle, 3) &&
            all_finite(plane_normal, 3) && std::isfinite(r)) {
            copy3(circle, circle_centre);
            copy3(plane_normal, circle_normal);
            *circle_radius = r;
            return 1;
        }
        return 2;
    }

    if (!all_finite(centre, 3) || !std::isfinite(radius)) return 2;
    copy3(centre, sphere_centre);
    *sphere_radius = radius;
    if (LSFIT_plane_to_points(n, packed.data(), plane_origin, plane_normal) != 0) return 2;
    copy3(plane_normal, circle_normal);
    double d = 0.0;
    if (HM_VEC3_distance_to_plane(centre, plane_origin, plane_normal, tolerance, &d) != 0) return 2;
    if (!(std::fabs(d) > tolerance)) return -1;
    // The plane misses the sphere: there is no circle.
    if (!(std::fabs(d) < radius)) return 2;

    double above[3], below[3], to_above = 0.0, to_below = 0.0;
    HM_VEC3_affine_comb(centre, d, plane_normal, above);
    HM_VEC3_affine_comb(centre, -d, plane_normal, below);
    HM_VEC3_distance(above, plane_origin, &to_above);
    HM_VEC3_distance(below, plane_origin, &to_below);
    copy3(to_above < to_below ? above : below, circle_centre);
    *circle_radius = std::sqrt(radius * radius - d * d);
    return 0;
}
