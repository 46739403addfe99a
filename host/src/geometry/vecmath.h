// Small vector and matrix arithmetic shared by the stand-in's mathematics,
// coordinate systems and fits. Internal to the stand-in.
#ifndef CARVELL_HOST_VECMATH_H
#define CARVELL_HOST_VECMATH_H

#include "core/checks.h"

#include <array>
#include <cmath>

namespace host::vm {

using Vec = std::array<double, 3>;
using Mat3 = std::array<double, 9>;    // row by row, rows are axes
using Mat12 = std::array<double, 12>;  // three rows of four: rotation and translation

inline Vec load(const double* v) { return {v[0], v[1], v[2]}; }
inline void store(const Vec& v, double* out) {
    out[0] = v[0];
    out[1] = v[1];
    out[2] = v[2];
}

inline Vec add(const Vec& a, const Vec& b) { return {a[0] + b[0], a[1] + b[1], a[2] + b[2]}; }
inline Vec sub(const Vec& a, const Vec& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
inline Vec scale(double s, const Vec& v) { return {s * v[0], s * v[1], s * v[2]}; }
inline double dot(const Vec& a, const Vec& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
inline Vec cross(const Vec& a, const Vec& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
inline double norm(const Vec& v) { return std::sqrt(dot(v, v)); }

// Unit vector; false (and v untouched) for a vector of length 0 or below
// the tolerance.
inline bool unit(Vec& v, double tolerance = 0.0) {
    double m = norm(v);
    if (!(m > 0.0) || m < tolerance || !std::isfinite(m)) return false;
    v = scale(1.0 / m, v);
    return true;
}

// Finite and inside the model space (the host's one check, core/checks.h).
inline bool finite(const double* v, int n) { return host::finite_values(v, n); }

inline Mat3 load_mat(const double* m) {
    Mat3 r;
    for (int i = 0; i < 9; ++i) r[i] = m[i];
    return r;
}
inline void store_mat(const Mat3& m, double* out) {
    for (int i = 0; i < 9; ++i) out[i] = m[i];
}

// Row i of an orientation matrix.
inline Vec row(const Mat3& m, int i) { return {m[3 * i], m[3 * i + 1], m[3 * i + 2]}; }

// m * v (components along the axes) and transpose(m) * v (back to absolute).
inline Vec mul(const Mat3& m, const Vec& v) { return {dot(row(m, 0), v), dot(row(m, 1), v), dot(row(m, 2), v)}; }
inline Vec mul_t(const Mat3& m, const Vec& v) {
    return add(add(scale(v[0], row(m, 0)), scale(v[1], row(m, 1))), scale(v[2], row(m, 2)));
}

// Whether the rows are orthonormal within the tolerance.
inline bool orthonormal(const double* m, double tolerance) {
    if (!finite(m, 9)) return false;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            double d = m[3 * i] * m[3 * j] + m[3 * i + 1] * m[3 * j + 1] + m[3 * i + 2] * m[3 * j + 2];
            if (std::fabs(d - (i == j ? 1.0 : 0.0)) > tolerance) return false;
        }
    return true;
}
constexpr double kOrthonormalTolerance = 1e-4;

// Right-handed axes whose third row is the unit vector z: the first axis is
// the coordinate axis least aligned with z made normal to it (the first such
// axis on a tie), so z = (0, 0, 1) gives the identity.
inline Mat3 frame_from_z(const Vec& z) {
    int k = 0;
    for (int i = 1; i < 3; ++i)
        if (std::fabs(z[i]) < std::fabs(z[k])) k = i;
    Vec e{0, 0, 0};
    e[k] = 1.0;
    Vec x = sub(e, scale(dot(e, z), z));
    unit(x);
    Vec y = cross(z, x);
    return {x[0], x[1], x[2], y[0], y[1], y[2], z[0], z[1], z[2]};
}

// Twelve-value transformation of a point.
inline Vec transform(const Mat12& m, const Vec& p) {
    return {m[0] * p[0] + m[1] * p[1] + m[2] * p[2] + m[3], m[4] * p[0] + m[5] * p[1] + m[6] * p[2] + m[7],
            m[8] * p[0] + m[9] * p[1] + m[10] * p[2] + m[11]};
}

// Rotation by `radians` counter-clockwise about the unit axis through point.
inline Mat12 rotation(const Vec& point, const Vec& axis, double radians) {
    const double c = std::cos(radians), s = std::sin(radians), t = 1.0 - c;
    const double x = axis[0], y = axis[1], z = axis[2];
    Mat12 m{t * x * x + c,     t * x * y - s * z, t * x * z + s * y, 0.0,
            t * x * y + s * z, t * y * y + c,     t * y * z - s * x, 0.0,
            t * x * z - s * y, t * y * z + s * x, t * z * z + c,     0.0};
    // p' = R (p - point) + point
    Vec moved = transform(m, point);
    m[3] = point[0] - moved[0];
    m[7] = point[1] - moved[1];
    m[11] = point[2] - moved[2];
    return m;
}

// The transformation that applies a and then b.
inline Mat12 then(const Mat12& a, const Mat12& b) {
    Mat12 r{};
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 4; ++j) {
            double s = 0.0;
            for (int k = 0; k < 3; ++k) s += b[4 * i + k] * a[4 * k + j];
            r[4 * i + j] = s;
        }
        r[4 * i + 3] += b[4 * i + 3];
    }
    return r;
}

}  // namespace host::vm

#endif
