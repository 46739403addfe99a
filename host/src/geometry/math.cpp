// Vector, orientation-matrix and transformation arithmetic of the host's
// programming interface, and the numbered transformation routines.
#include "core/model.h"
#include "geometry/vecmath.h"
#include "omvra.h"

#include <Geom_Plane.hxx>

#include <cmath>

using host::vm::Mat12;
using host::vm::Mat3;
using host::vm::Vec;
namespace vm = host::vm;

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kRadiansPerDegree = kPi / 180.0;
// Below this sine two axes given to a matrix constructor count as parallel.
constexpr double kParallelSine = 1e-10;

// NaN or infinity among the values of a predicate's inputs: no answer.
bool any_non_finite(const double* v, int n) {
    for (int i = 0; i < n; ++i)
        if (!std::isfinite(v[i])) return true;
    return false;
}

#define REQUIRE(...)                                                     \
    do {                                                                 \
        const void* required_[] = {__VA_ARGS__};                         \
        for (const void* p_ : required_)                                 \
            if (!p_) return HM_ERR_NULL_POINTER;                         \
    } while (0)

Mat3 rows(const Vec& x, const Vec& y, const Vec& z) {
    return {x[0], x[1], x[2], y[0], y[1], y[2], z[0], z[1], z[2]};
}

// The twelve-value form; also the first three rows of an MTX4, which are
// the same rotation-and-translation rows.
Mat12 load12(const double* m) {
    Mat12 r;
    for (int i = 0; i < 12; ++i) r[i] = m[i];
    return r;
}

void store12(const Mat12& m, double* out) {
    for (int i = 0; i < 12; ++i) out[i] = m[i];
}

void store16(const Mat12& m, double* out) {
    for (int i = 0; i < 12; ++i) out[i] = m[i];
    out[12] = out[13] = out[14] = 0.0;
    out[15] = 1.0;
}

// Rotation by degrees about the axis through point. A zero axis is accepted
// only for a whole number of turns (the identity): a turn by nothing about
// an undefined axis, as when a direction is already where it should be.
int rotation_about(const double* point, const double* axis, double degrees, Mat12& out) {
    if (!vm::finite(point, 3) || !vm::finite(axis, 3) || !std::isfinite(degrees)) return HM_ERR_BAD_ARGUMENT;
    Vec a = vm::load(axis);
    if (!vm::unit(a)) {
        if (std::fabs(std::remainder(degrees, 360.0)) > 1e-9) return HM_ERR_BAD_ARGUMENT;
        out = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0};
        return 0;
    }
    out = vm::rotation(vm::load(point), a, degrees * kRadiansPerDegree);
    return 0;
}

// Origin and unit normal of a plane or datum-plane object.
int plane_of(tag_t plane, Vec& origin, Vec& normal) {
    host::Object* o = host::find(plane);
    if (!o) return HM_ERR_INVALID_TAG;
    if (o->type != HM_plane_type && o->type != HM_datum_type) return HM_ERR_WRONG_TYPE;
    Handle(Geom_Plane) p = Handle(Geom_Plane)::DownCast(o->surface);
    if (p.IsNull()) return HM_ERR_WRONG_TYPE;
    const gp_Ax3& position = p->Position();
    origin = {position.Location().X(), position.Location().Y(), position.Location().Z()};
    normal = {position.Direction().X(), position.Direction().Y(), position.Direction().Z()};
    return 0;
}

// Orientation of the work coordinate system (identity when none).
Mat3 wcs_orientation() {
    tag_t wcs = 0;
    int r = 0;
    if (HM_CSYS_ask_wcs(&wcs) == 0 && wcs != 0)
        if (const host::CsysData* d = host::csys_data(wcs, &r)) return d->matrix;
    return {1, 0, 0, 0, 1, 0, 0, 0, 1};
}

}  // namespace

/* ---- 2-D vectors ---- */

int HM_VEC2_rotate(const double v[2], double angle, double out[2]) {
    REQUIRE(v, out);
    const double c = std::cos(angle), s = std::sin(angle);
    const double x = v[0], y = v[1];
    out[0] = c * x - s * y;
    out[1] = s * x + c * y;
    return host::finite_answer(out, 2);
}

int HM_VEC2_unitize(const double v[2], double tolerance, double* magnitude, double unit[2]) {
    REQUIRE(v, magnitude, unit);
    const double m = std::hypot(v[0], v[1]);
    if (!(m > 0.0) || m < tolerance || !std::isfinite(m)) {
        *magnitude = std::isfinite(m) ? m : 0.0;
        unit[0] = unit[1] = 0.0;
        return HM_ERR_BAD_ARGUMENT;
    }
    *magnitude = m;
    unit[0] = v[0] / m;
    unit[1] = v[1] / m;
    return 0;
}

int HM_VEC2_affine_comb(const double p[2], double scale, const double v[2], double out[2]) {
    REQUIRE(p, v, out);
    const double x = p[0] + scale * v[0], y = p[1] + scale * v[1];
    out[0] = x;
    out[1] = y;
    return host::finite_answer(out, 2);
}

int HM_VEC2_distance(const double a[2], const double b[2], double* distance) {
    REQUIRE(a, b, distance);
    *distance = std::hypot(a[0] - b[0], a[1] - b[1]);
    return host::finite_answer(distance, 1);
}

/* ---- 3-D vectors ---- */

int HM_VEC3_copy(const double v[3], double out[3]) {
    REQUIRE(v, out);
    vm::store(vm::load(v), out);
    return host::finite_answer(out, 3);
}

int HM_VEC3_negate(const double v[3], double out[3]) {
    REQUIRE(v, out);
    vm::store(vm::scale(-1.0, vm::load(v)), out);
    return host::finite_answer(out, 3);
}

int HM_VEC3_add(const double a[3], const double b[3], double out[3]) {
    REQUIRE(a, b, out);
    vm::store(vm::add(vm::load(a), vm::load(b)), out);
    return host::finite_answer(out, 3);
}

int HM_VEC3_sub(const double a[3], const double b[3], double out[3]) {
    REQUIRE(a, b, out);
    vm::store(vm::sub(vm::load(a), vm::load(b)), out);
    return host::finite_answer(out, 3);
}

int HM_VEC3_scale(double scale, const double v[3], double out[3]) {
    REQUIRE(v, out);
    vm::store(vm::scale(scale, vm::load(v)), out);
    return host::finite_answer(out, 3);
}

int HM_VEC3_affine_comb(const double p[3], double scale, const double v[3], double out[3]) {
    REQUIRE(p, v, out);
    vm::store(vm::add(vm::load(p), vm::scale(scale, vm::load(v))), out);
    return host::finite_answer(out, 3);
}

int HM_VEC3_dot(const double a[3], const double b[3], double* dot) {
    REQUIRE(a, b, dot);
    *dot = vm::dot(vm::load(a), vm::load(b));
    return host::finite_answer(dot, 1);
}

int HM_VEC3_cross(const double a[3], const double b[3], double out[3]) {
    REQUIRE(a, b, out);
    vm::store(vm::cross(vm::load(a), vm::load(b)), out);
    return host::finite_answer(out, 3);
}

int HM_VEC3_mag(const double v[3], double* magnitude) {
    REQUIRE(v, magnitude);
    *magnitude = vm::norm(vm::load(v));
    return host::finite_answer(magnitude, 1);
}

int HM_VEC3_distance(const double a[3], const double b[3], double* distance) {
    REQUIRE(a, b, distance);
    *distance = vm::norm(vm::sub(vm::load(a), vm::load(b)));
    return host::finite_answer(distance, 1);
}

int HM_VEC3_unitize(const double v[3], double tolerance, double* magnitude, double unit[3]) {
    REQUIRE(v, magnitude, unit);
    Vec u = vm::load(v);
    const double m = vm::norm(u);
    if (!vm::unit(u, tolerance)) {
        *magnitude = std::isfinite(m) ? m : 0.0;
        unit[0] = unit[1] = unit[2] = 0.0;
        return HM_ERR_BAD_ARGUMENT;
    }
    *magnitude = m;
    vm::store(u, unit);
    return 0;
}

int HM_VEC3_is_zero(const double v[3], double tolerance, int* result) {
    REQUIRE(v, result);
    if (any_non_finite(v, 3) || !std::isfinite(tolerance)) return HM_ERR_BAD_ARGUMENT;
    *result = vm::norm(vm::load(v)) <= tolerance ? 1 : 0;
    return 0;
}

namespace {

// Compares two vectors: `measure` of them (their unit vectors when `as_directions`)
// within the tolerance. A zero vector has no direction and matches any.
template <class Measure>
int compare_vectors(const double a[3], const double b[3], double tolerance, int* result, bool as_directions,
                    Measure measure) {
    REQUIRE(a, b, result);
    if (any_non_finite(a, 3) || any_non_finite(b, 3) || !std::isfinite(tolerance)) return HM_ERR_BAD_ARGUMENT;
    Vec ua = vm::load(a), ub = vm::load(b);
    if (as_directions && (!vm::unit(ua) || !vm::unit(ub))) {
        *result = 1;
        return 0;
    }
    *result = measure(ua, ub) <= tolerance ? 1 : 0;
    return 0;
}

}  // namespace

int HM_VEC3_is_equal(const double a[3], const double b[3], double tolerance, int* result) {
    return compare_vectors(a, b, tolerance, result, false, [](Vec u, Vec v) { return vm::norm(vm::sub(u, v)); });
}

int HM_VEC3_is_parallel(const double a[3], const double b[3], double tolerance, int* result) {
    return compare_vectors(a, b, tolerance, result, true, [](Vec u, Vec v) { return vm::norm(vm::cross(u, v)); });
}

int HM_VEC3_is_perpendicular(const double a[3], const double b[3], double tolerance, int* result) {
    return compare_vectors(a, b, tolerance, result, true,
                           [](Vec u, Vec v) { return std::fabs(vm::dot(u, v)); });
}

int HM_VEC3_angle_between(const double from[3], const double to[3], const double reference[3], double* angle) {
    REQUIRE(from, to, reference, angle);
    Vec a = vm::load(from), b = vm::load(to), r = vm::load(reference);
    if (!vm::unit(r)) {
        *angle = std::atan2(vm::norm(vm::cross(a, b)), vm::dot(a, b));
        return host::finite_answer(angle, 1);
    }
    a = vm::sub(a, vm::scale(vm::dot(a, r), r));
    b = vm::sub(b, vm::scale(vm::dot(b, r), r));
    double t = std::atan2(vm::dot(vm::cross(a, b), r), vm::dot(a, b));
    if (t < 0.0) t += 2.0 * kPi;
    if (t >= 2.0 * kPi) t = 0.0;   // a turn just short of zero rounds up to 2 pi
    *angle = t;
    return host::finite_answer(angle, 1);
}

int HM_VEC3_distance_to_plane(const double point[3], const double plane_point[3], const double plane_normal[3],
                              double tolerance, double* distance) {
    REQUIRE(point, plane_point, plane_normal, distance);
    Vec n = vm::load(plane_normal);
    if (!vm::unit(n, tolerance)) return HM_ERR_BAD_ARGUMENT;
    *distance = vm::dot(vm::sub(vm::load(point), vm::load(plane_point)), n);
    return host::finite_answer(distance, 1);
}

// The unsigned angle between two vectors, as the modelling enquiries give it.
int HM_MODL_ask_vector_angle(const double vec1[3], const double vec2[3], double* smaller_angle,
                             double* larger_angle) {
    if (!vec1 || !vec2 || !smaller_angle || !larger_angle) return HM_ERR_NULL_POINTER;
    for (int i = 0; i < 3; ++i)
        if (!host::finite_value(vec1[i]) || !host::finite_value(vec2[i])) return HM_ERR_BAD_ARGUMENT;
    const double cross[3] = {vec1[1] * vec2[2] - vec1[2] * vec2[1], vec1[2] * vec2[0] - vec1[0] * vec2[2],
                             vec1[0] * vec2[1] - vec1[1] * vec2[0]};
    const double dot = vec1[0] * vec2[0] + vec1[1] * vec2[1] + vec1[2] * vec2[2];
    const double n1 = std::sqrt(vec1[0] * vec1[0] + vec1[1] * vec1[1] + vec1[2] * vec1[2]);
    const double n2 = std::sqrt(vec2[0] * vec2[0] + vec2[1] * vec2[1] + vec2[2] * vec2[2]);
    if (!(n1 > 0.0) || !(n2 > 0.0)) return HM_ERR_BAD_ARGUMENT;
    // atan2 keeps small and nearly straight angles accurate.
    const double angle = std::atan2(std::sqrt(cross[0] * cross[0] + cross[1] * cross[1] + cross[2] * cross[2]), dot);
    *smaller_angle = angle;
    *larger_angle = 2.0 * kPi - angle;
    return 0;
}

/* ---- 3x3 orientation matrices ---- */

int HM_MTX3_initialize(const double x_vec[3], const double y_vec[3], double mtx[9]) {
    REQUIRE(x_vec, y_vec, mtx);
    Vec x = vm::load(x_vec), y = vm::load(y_vec);
    if (!vm::unit(x) || !vm::unit(y)) return HM_ERR_BAD_ARGUMENT;
    if (vm::norm(vm::cross(x, y)) <= kParallelSine) return HM_ERR_BAD_ARGUMENT;
    y = vm::sub(y, vm::scale(vm::dot(y, x), x));
    if (!vm::unit(y)) return HM_ERR_BAD_ARGUMENT;
    vm::store_mat(rows(x, y, vm::cross(x, y)), mtx);
    return 0;
}

int HM_MTX3_initialize_z(const double z_vec[3], double mtx[9]) {
    REQUIRE(z_vec, mtx);
    Vec z = vm::load(z_vec);
    if (!vm::unit(z)) return HM_ERR_BAD_ARGUMENT;
    vm::store_mat(vm::frame_from_z(z), mtx);
    return 0;
}

int HM_MTX3_initialize_x(const double x_vec[3], double mtx[9]) {
    REQUIRE(x_vec, mtx);
    Vec x = vm::load(x_vec);
    if (!vm::unit(x)) return HM_ERR_BAD_ARGUMENT;
    // The frame built about x as its third axis, with the axes renamed
    // cyclically so that it stays right-handed: (a, b, x) -> (x, a, b).
    const Mat3 f = vm::frame_from_z(x);
    vm::store_mat(rows(x, vm::row(f, 0), vm::row(f, 1)), mtx);
    return 0;
}

int HM_MTX3_x_vec(const double mtx[9], double x_vec[3]) {
    REQUIRE(mtx, x_vec);
    vm::store({mtx[0], mtx[1], mtx[2]}, x_vec);
    return host::finite_answer(x_vec, 3);
}

int HM_MTX3_y_vec(const double mtx[9], double y_vec[3]) {
    REQUIRE(mtx, y_vec);
    vm::store({mtx[3], mtx[4], mtx[5]}, y_vec);
    return host::finite_answer(y_vec, 3);
}

int HM_MTX3_z_vec(const double mtx[9], double z_vec[3]) {
    REQUIRE(mtx, z_vec);
    vm::store({mtx[6], mtx[7], mtx[8]}, z_vec);
    return host::finite_answer(z_vec, 3);
}

int HM_MTX3_vec_multiply(const double v[3], const double mtx[9], double out[3]) {
    REQUIRE(v, mtx, out);
    vm::store(vm::mul(vm::load_mat(mtx), vm::load(v)), out);
    return host::finite_answer(out, 3);
}

int HM_MTX3_transpose(const double mtx[9], double out[9]) {
    REQUIRE(mtx, out);
    Mat3 t;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) t[3 * j + i] = mtx[3 * i + j];
    vm::store_mat(t, out);
    return host::finite_answer(out, 9);
}

/* ---- 4x4 transformations ---- */

int HM_MTX4_identity(double mtx[16]) {
    REQUIRE(mtx);
    store16({1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0}, mtx);
    return 0;
}

int HM_MTX4_rotation(const double origin[3], const double axis[3], double degrees, double mtx[16]) {
    REQUIRE(origin, axis, mtx);
    Mat12 m;
    if (int r = rotation_about(origin, axis, degrees, m)) return r;
    store16(m, mtx);
    return 0;
}

int HM_MTX4_vec3_multiply(const double point[3], const double mtx[16], double out[3]) {
    REQUIRE(point, mtx, out);
    vm::store(vm::transform(load12(mtx), vm::load(point)), out);
    return host::finite_answer(out, 3);
}

int HM_MTX4_multiply(const double first[16], const double second[16], double product[16]) {
    REQUIRE(first, second, product);
    store16(vm::then(load12(first), load12(second)), product);
    return host::finite_answer(product, 16);
}

int MTX4_multiply(const double first[16], const double second[16], double product[16]) {
    return HM_MTX4_multiply(first, second, product);
}

int HM_MTX4_ask_rotation(const double mtx[16], double rotation[9]) {
    REQUIRE(mtx, rotation);
    Mat3 r{mtx[0], mtx[1], mtx[2], mtx[4], mtx[5], mtx[6], mtx[8], mtx[9], mtx[10]};
    vm::store_mat(r, rotation);
    return host::finite_answer(rotation, 9);
}

int HM_MTX4_ask_translation(const double mtx[16], double translation[3]) {
    REQUIRE(mtx, translation);
    vm::store({mtx[3], mtx[7], mtx[11]}, translation);
    return host::finite_answer(translation, 3);
}

int HM_MTX4_csys_to_csys(const double from_origin[3], const double from_x[3], const double from_y[3],
                         const double to_origin[3], const double to_x[3], const double to_y[3], double mtx[16]) {
    REQUIRE(from_origin, from_x, from_y, to_origin, to_x, to_y, mtx);
    double from[9], to[9];
    if (HM_MTX3_initialize(from_x, from_y, from) != 0 || HM_MTX3_initialize(to_x, to_y, to) != 0)
        return HM_ERR_BAD_ARGUMENT;
    // p' = to_origin + transpose(To) * From * (p - from_origin)
    Mat12 m{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            double s = 0.0;
            for (int k = 0; k < 3; ++k) s += to[3 * k + i] * from[3 * k + j];
            m[4 * i + j] = s;
        }
    const Vec shifted = vm::transform(m, vm::load(from_origin));
    for (int i = 0; i < 3; ++i) m[4 * i + 3] = to_origin[i] - shifted[i];
    store16(m, mtx);
    return host::finite_answer(mtx, 16);
}

/* ---- numbered transformation routines ---- */

int hm5941(double point[3], const double matrix[12]) {
    REQUIRE(point, matrix);
    vm::store(vm::transform(load12(matrix), vm::load(point)), point);
    return host::finite_answer(point, 3);
}

int hm5942(const double first[12], const double second[12], double product[12]) {
    REQUIRE(first, second, product);
    store12(vm::then(load12(first), load12(second)), product);
    return host::finite_answer(product, 12);
}

int hm5943(const double translation[3], double matrix[12]) {
    REQUIRE(translation, matrix);
    if (!vm::finite(translation, 3)) return HM_ERR_BAD_ARGUMENT;
    store12({1, 0, 0, translation[0], 0, 1, 0, translation[1], 0, 0, 1, translation[2]}, matrix);
    return 0;
}

int hm5944(int type, const double centre[3], const double factors[3], double matrix[12]) {
    REQUIRE(centre, factors, matrix);
    if (type != 1 && type != 2) return HM_ERR_BAD_ARGUMENT;
    if (!vm::finite(centre, 3)) return HM_ERR_BAD_ARGUMENT;
    const Vec f = type == 1 ? Vec{factors[0], factors[0], factors[0]} : vm::load(factors);
    for (double k : f)
        if (!(k > 0.0) || !std::isfinite(k)) return HM_ERR_BAD_ARGUMENT;
    // S = transpose(W) * diag(f) * W about the centre, W the work orientation.
    const Mat3 w = type == 1 ? Mat3{1, 0, 0, 0, 1, 0, 0, 0, 1} : wcs_orientation();
    Mat12 m{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            double s = 0.0;
            for (int k = 0; k < 3; ++k) s += w[3 * k + i] * f[k] * w[3 * k + j];
            m[4 * i + j] = s;
        }
    const Vec c = vm::load(centre);
    const Vec moved = vm::transform(m, c);
    for (int i = 0; i < 3; ++i) m[4 * i + 3] = c[i] - moved[i];
    store12(m, matrix);
    return 0;
}

int hm5945(const double point[3], const double axis[3], double degrees, double matrix[12]) {
    REQUIRE(point, axis, matrix);
    Mat12 m;
    if (int r = rotation_about(point, axis, degrees, m)) return r;
    store12(m, matrix);
    return 0;
}

int hm5946(tag_t plane, double matrix[12]) {
    REQUIRE(matrix);
    Vec o, n;
    if (int r = plane_of(plane, o, n)) return r;
    // p' = p - 2 ((p - o) . n) n
    Mat12 m{};
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) m[4 * i + j] = (i == j ? 1.0 : 0.0) - 2.0 * n[i] * n[j];
        m[4 * i + 3] = 2.0 * vm::dot(o, n) * n[i];
    }
    store12(m, matrix);
    return 0;
}

int hm5375(tag_t plane, double origin[3], double normal[3]) {
    REQUIRE(origin, normal);
    Vec o, n;
    if (int r = plane_of(plane, o, n)) return r;
    vm::store(o, origin);
    vm::store(n, normal);
    return 0;
}
