// Least-squares fits of planes, spheres and circles to point sets.
//
// The plane is the total-least-squares plane (smallest eigenvector of the
// points' scatter about their centroid). Spheres and circles are algebraic
// fits, |p - c|^2 = r^2 written linearly in (c, r^2 - |c|^2), solved in
// coordinates centred at the centroid and scaled to unit spread. The solve is
// the minimum-norm least-squares solution (eigen-decomposition of the normal
// equations, directions of negligible weight dropped), so that coplanar
// points give the sphere whose centre lies in their plane.
#include "core/kernel_guard.h"
#include "geometry/vecmath.h"
#include "omvra.h"
#include "rostval.h"

#include <algorithm>
#include <cmath>
#include <vector>

using host::vm::Vec;
namespace vm = host::vm;

namespace {

// Directions whose eigenvalue is below this fraction of the largest carry
// no information (roundoff of exactly degenerate data).
constexpr double kNegligible = 1e-12;
// Below this ratio of eigenvalues the points' spread across a line is noise.
constexpr double kCollinear = 1e-14;

// Eigen-decomposition of a symmetric N x N matrix by cyclic Jacobi
// rotations. values ascending; vectors[i] is the unit eigenvector of values[i].
template <int N>
struct Eigen {
    double values[N];
    double vectors[N][N];
};

template <int N>
Eigen<N> eigen(double a[N][N]) {
    double v[N][N] = {};
    for (int i = 0; i < N; ++i) v[i][i] = 1.0;
    for (int sweep = 0; sweep < 100; ++sweep) {
        double off = 0.0, diag = 0.0;
        for (int p = 0; p < N; ++p) {
            diag += a[p][p] * a[p][p];
            for (int q = p + 1; q < N; ++q) off += a[p][q] * a[p][q];
        }
        if (off <= 1e-32 * diag || off == 0.0) break;
        for (int p = 0; p < N; ++p)
            for (int q = p + 1; q < N; ++q) {
                if (a[p][q] == 0.0) continue;
                const double theta = (a[q][q] - a[p][p]) / (2.0 * a[p][q]);
                const double t = (theta >= 0.0 ? 1.0 : -1.0) / (std::fabs(theta) + std::sqrt(theta * theta + 1.0));
                const double c = 1.0 / std::sqrt(t * t + 1.0), s = t * c;
                for (int k = 0; k < N; ++k) {
                    const double kp = a[k][p], kq = a[k][q];
                    a[k][p] = c * kp - s * kq;
                    a[k][q] = s * kp + c * kq;
                }
                for (int k = 0; k < N; ++k) {
                    const double pk = a[p][k], qk = a[q][k];
                    a[p][k] = c * pk - s * qk;
                    a[q][k] = s * pk + c * qk;
                }
                for (int k = 0; k < N; ++k) {
                    const double kp = v[k][p], kq = v[k][q];
                    v[k][p] = c * kp - s * kq;
                    v[k][q] = s * kp + c * kq;
                }
            }
    }
    int order[N];
    for (int i = 0; i < N; ++i) order[i] = i;
    std::sort(order, order + N, [&](int x, int y) { return a[x][x] < a[y][y]; });
    Eigen<N> e;
    for (int i = 0; i < N; ++i) {
        e.values[i] = a[order[i]][order[i]];
        for (int k = 0; k < N; ++k) e.vectors[i][k] = v[k][order[i]];
    }
    return e;
}

// Minimum-norm least-squares solution of rows * x = rhs through the normal
// equations. Answers the number of directions kept (the rank).
template <int N>
int solve_min_norm(const std::vector<std::array<double, N>>& rows, const std::vector<double>& rhs, double x[N]) {
    double m[N][N] = {};
    double b[N] = {};
    for (size_t r = 0; r < rows.size(); ++r)
        for (int i = 0; i < N; ++i) {
            b[i] += rows[r][i] * rhs[r];
            for (int j = 0; j < N; ++j) m[i][j] += rows[r][i] * rows[r][j];
        }
    const Eigen<N> e = eigen<N>(m);
    const double largest = e.values[N - 1];
    int rank = 0;
    for (int i = 0; i < N; ++i) x[i] = 0.0;
    if (!(largest > 0.0)) return 0;
    for (int k = 0; k < N; ++k) {
        if (!(e.values[k] > kNegligible * largest)) continue;
        ++rank;
        double w = 0.0;
        for (int i = 0; i < N; ++i) w += e.vectors[k][i] * b[i];
        w /= e.values[k];
        for (int i = 0; i < N; ++i) x[i] += w * e.vectors[k][i];
    }
    return rank;
}

// The points as vectors, after the common checks.
int gather(int n, const double* points, std::vector<Vec>& out) {
    if (!points) return HM_ERR_NULL_POINTER;
    if (n < 3) return HM_ERR_BAD_ARGUMENT;
    if (!vm::finite(points, 3 * n)) return HM_ERR_BAD_ARGUMENT;
    out.resize(n);
    for (int i = 0; i < n; ++i) out[i] = vm::load(points + 3 * i);
    return 0;
}

Vec centroid(const std::vector<Vec>& p) {
    Vec g{0, 0, 0};
    for (const Vec& q : p) g = vm::add(g, q);
    return vm::scale(1.0 / static_cast<double>(p.size()), g);
}

// Root-mean-square distance of the points from g.
double spread(const std::vector<Vec>& p, const Vec& g) {
    double s = 0.0;
    for (const Vec& q : p) {
        const Vec d = vm::sub(q, g);
        s += vm::dot(d, d);
    }
    return std::sqrt(s / static_cast<double>(p.size()));
}

// Plane through the centroid: unit normal, or false when the points lie on
// one line (or coincide).
bool fit_plane(const std::vector<Vec>& p, Vec& g, Vec& normal) {
    g = centroid(p);
    double c[3][3] = {};
    for (const Vec& q : p) {
        const Vec d = vm::sub(q, g);
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j) c[i][j] += d[i] * d[j];
    }
    const Eigen<3> e = eigen<3>(c);
    if (!(e.values[2] > 0.0) || !(e.values[1] > kCollinear * e.values[2])) return false;
    normal = {e.vectors[0][0], e.vectors[0][1], e.vectors[0][2]};
    return vm::unit(normal);
}

}  // namespace

int LSFIT_plane_to_points(int n, const double* points, double origin[3], double normal[3]) {
    return host::guarded(__func__, [&]() -> int {
        if (!origin || !normal) return HM_ERR_NULL_POINTER;
        std::vector<Vec> p;
        if (int r = gather(n, points, p)) return r;
        Vec g, u;
        if (!fit_plane(p, g, u)) return HM_ERR_GEOMETRY;
        if (vm::dot(u, vm::load(normal)) < 0.0) u = vm::scale(-1.0, u);
        vm::store(g, origin);
        vm::store(u, normal);
        return 0;
    });
}

int LSFIT_sphere_to_points_3d(int n, const double* points, double centre[3], double* radius) {
    return host::guarded(__func__, [&]() -> int {
        if (!centre || !radius) return HM_ERR_NULL_POINTER;
        std::vector<Vec> p;
        if (int r = gather(n, points, p)) return r;
        const Vec g = centroid(p);
        const double s = spread(p, g);
        if (!(s > 0.0)) return HM_ERR_GEOMETRY;
        // 2 q.c + k = |q|^2 with q = (p - g) / s and k = r^2 - |c|^2.
        std::vector<std::array<double, 4>> rows(p.size());
        std::vector<double> rhs(p.size());
        for (size_t i = 0; i < p.size(); ++i) {
            const Vec q = vm::scale(1.0 / s, vm::sub(p[i], g));
            rows[i] = {2.0 * q[0], 2.0 * q[1], 2.0 * q[2], 1.0};
            rhs[i] = vm::dot(q, q);
        }
        double x[4];
        if (solve_min_norm<4>(rows, rhs, x) < 3) return HM_ERR_GEOMETRY;
        const Vec c{x[0], x[1], x[2]};
        const double r2 = x[3] + vm::dot(c, c);
        if (!(r2 > 0.0)) return HM_ERR_GEOMETRY;
        vm::store(vm::add(g, vm::scale(s, c)), centre);
        *radius = s * std::sqrt(r2);
        return 0;
    });
}

int LSFIT_circle_to_points_3d(int n, const double* points, double centre[3], double* radius) {
    return host::guarded(__func__, [&]() -> int {
        if (!centre || !radius) return HM_ERR_NULL_POINTER;
        std::vector<Vec> p;
        if (int r = gather(n, points, p)) return r;
        Vec g, normal;
        if (!fit_plane(p, g, normal)) return HM_ERR_GEOMETRY;
        const double s = spread(p, g);
        const vm::Mat3 axes = vm::frame_from_z(normal);
        const Vec u = vm::row(axes, 0), v = vm::row(axes, 1);
        // 2 (a, b).c + k = a^2 + b^2 in the plane's scaled coordinates.
        std::vector<std::array<double, 3>> rows(p.size());
        std::vector<double> rhs(p.size());
        for (size_t i = 0; i < p.size(); ++i) {
            const Vec d = vm::scale(1.0 / s, vm::sub(p[i], g));
            const double a = vm::dot(d, u), b = vm::dot(d, v);
            rows[i] = {2.0 * a, 2.0 * b, 1.0};
            rhs[i] = a * a + b * b;
        }
        double x[3];
        if (solve_min_norm<3>(rows, rhs, x) < 3) return HM_ERR_GEOMETRY;
        const double r2 = x[2] + x[0] * x[0] + x[1] * x[1];
        if (!(r2 > 0.0)) return HM_ERR_GEOMETRY;
        vm::store(vm::add(g, vm::add(vm::scale(s * x[0], u), vm::scale(s * x[1], v))), centre);
        *radius = s * std::sqrt(r2);
        return 0;
    });
}
