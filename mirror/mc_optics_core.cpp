// The optics of a plane or spherical mirror, shared by both certification
// engines (mirror_optics_core.h).
#include "mirror_optics_core.h"

#include "omvra.h"

#include <algorithm>
#include <cmath>

namespace carvell::mirror::optics {
namespace {

constexpr int kPierceIterations = 25;
constexpr int kAimIterations = 50;
constexpr double kMaxLookAside = 30.0;   // degrees the eyes turn before the head does
constexpr double kDegreesPerRadian = 57.29577951308232;

struct V {
    double x, y, z;
};
V v(const double p[3]) { return {p[0], p[1], p[2]}; }
V operator+(V a, V b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
V operator-(V a, V b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
V operator*(double k, V a) { return {k * a.x, k * a.y, k * a.z}; }
double dot(V a, V b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
double norm(V a) { return std::sqrt(dot(a, a)); }
void put(V a, double out[3]) {
    out[0] = a.x;
    out[1] = a.y;
    out[2] = a.z;
}
// The unit vector of a, false when a is shorter than the tolerance or its
// length overflows.
bool unit(V a, double tolerance, V* out) {
    const double length = norm(a);
    if (!std::isfinite(length) || length < tolerance || length == 0.0) return false;
    *out = (1.0 / length) * a;
    return true;
}
double radians(double degrees) { return degrees / kDegreesPerRadian; }
double degrees(double radians) { return radians * kDegreesPerRadian; }

struct Shape {
    double c;
    V vertex;
    V n;
    double F(V x) const {
        const V d = x - vertex;
        return c * dot(d, d) + 2.0 * dot(n, d);
    }
    V radial(V x) const { return c * (x - vertex) + n; }
    double s(V x) const { return F(x) / (norm(radial(x)) + 1.0); }
};

Shape shape_of(const Surface& mirror) { return {mirror.curvature, v(mirror.vertex), v(mirror.normal)}; }

int pierce_plane(double tol, const Surface& mirror, V e, V t, double out[3], Reporter report) {
    V n{};
    if (!unit(v(mirror.normal), tol, &n)) return report("Error in HM_VEC3_unitize\n", 3);
    const double de = dot(n, e - v(mirror.vertex));
    const double dt = dot(n, t - v(mirror.vertex));
    // Both on the plane: every plane point would do; no reflection point.
    if (std::fabs(de + dt) <= tol)
        return report("both eye and target points are too close to the mirror, i.e. less than used tolerance\n", 6);
    const V ef = e - de * n;
    const V tf = t - dt * n;
    put(ef + (de / (de + dt)) * (tf - ef), out);
    return 0;
}

// Whether the segment from e of length L along u meets the sphere.
bool segment_crosses(const Shape& m, V e, V u, double length) {
    const V d = e - m.vertex;
    const double b = m.c * dot(d, u) + dot(m.n, u);
    const double f = m.F(e);
    const double q = b * b - m.c * f;
    if (q < 0.0 || f < 0.0 || b > 0.0) return false;
    return (-b - std::sqrt(q)) / m.c <= length;
}

int pierce_sphere(const double tolerances[2], const Surface& mirror, V e, V t, double out[3], Reporter report,
                  TargetFoot foot) {
    const double tol = tolerances[0];
    const double a_tol = tolerances[1];
    const Shape m = shape_of(mirror);
    const double de = m.s(e);
    if (de <= 0.0) return report("The eye point is on the wrong side of the mirror.\n", 1);
    const double dt = m.s(t);
    if (std::fabs(dt) <= tol) {
        V k{};
        const V along = foot == TargetFoot::NormalAtEye ? e : t;
        if (!unit(m.radial(along), tol, &k)) return report("The target point is on the wrong side of the mirror.\n", 3);
        put(t - dt * k, out);
        return 0;
    }
    const V d = t - e;
    const double length = norm(d);
    if (length < tol) {
        if (degrees(std::atan2(tol, de)) <= a_tol) return report("tolerance is more than requirment.\n", 4);
        V k{};
        if (!unit(m.radial(e), tol, &k)) return report("Error in HM_VEC3_unitize\n", 3);
        put(e - de * k, out);
        return 0;
    }
    if (segment_crosses(m, e, (1.0 / length) * d, length))
        return report("The segment determined by the eye and target pointsintersects the mirror surface"
                    "(spherical,planar). wehave no solution\n",
                    5);
    if (de + dt < tol)
        return report("both eye and target points are too close to the mirror, i.e. less than used tolerance\n", 6);

    double lambda = de / (de + dt);
    V q = e + lambda * d;
    V k{};
    if (!unit(m.radial(q), a_tol, &k)) return report("Fail to find vector bisector.\n", 3);
    V x = q - m.s(q) * k;
    double a = norm(e - x);
    double b = norm(t - x);
    const double cos_a = std::cos(radians(a_tol));
    for (int i = 0; i < kPierceIterations; ++i) {
        // The bisector of the angle e-x-t meets e-t where it divides it a : b.
        const double next = a / (a + b);
        q = e + next * d;
        V w{};
        if (!unit(q - x, a_tol, &w)) {
            put(x, out);
            return 0;
        }
        if (!unit(m.radial(q), tol, &k)) return report("Error to unitize a vector \n", 3);
        if (dot(w, k) > cos_a && std::fabs(next - lambda) < tol / length) {
            put(x, out);
            return 0;
        }
        x = q - m.s(q) * k;
        a = norm(e - x);
        b = norm(t - x);
        lambda = next;
    }
    return report("Fail to find a solution in VD_MC_pierce.\n", 7);
}

V cross(V a, V b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }

// The rotation about the point by the angle that turns `from` into `to`.
int rotation(V point, V from, V to, double matrix[12], Reporter report) {
    double axis[3], f[3], t[3], p[3], angle = 0.0;
    put(cross(from, to), axis);
    put(from, f);
    put(to, t);
    put(point, p);
    if (HM_VEC3_angle_between(f, t, axis, &angle) != 0 || hm5945(p, axis, degrees(angle), matrix) != 0)
        return report("Error while get the rotation matrix in FTN( hm5945 )\n", 1);
    return 0;
}

int reflect_checked(const Surface& mirror, const double eye[3], const double through[3], double tol, double pierce[3],
                    double direction[3], Reporter report, Touching touching) {
    const Shape m = shape_of(mirror);
    const V e = v(eye);
    V u{};
    if (!unit(v(through) - e, tol, &u)) return report("ERROR while unitize incident vector.\n", 1);
    const double f = m.F(e);
    if (f <= 0.0) return report("The eye point is on the wrong side of the mirror.\n", 2);
    const double b = m.c * dot(e - m.vertex, u) + dot(m.n, u);
    const double q = b * b - m.c * f;
    if (q < 0.0 || (q == 0.0 && touching == Touching::Misses))
        return report("The incident ray does not intersect the mirror\n", 3);
    if (b >= 0.0) return report("The incident ray points away from the mirror.\n", 4);
    // The nearer root without cancellation.
    const double t = f / (std::sqrt(q) + std::fabs(b));
    const V x = e + t * u;
    V k{};
    if (!unit(m.radial(x), tol, &k)) return report("ERROR while unitize normal vector.\n", 1);
    put(x, pierce);
    put(u - (2.0 * dot(k, u)) * k, direction);
    return 0;
}

// A vector of the aim made unit: 1 with `no_unit` when it has no direction
// (zero length, or a length that overflows); `status` with `too_short` when
// it is shorter than the tolerance; 0 with *out written.
int aim_unit(V a, double tolerance, V* out, const char* no_unit, const char* too_short, int status, Reporter report) {
    const double length = norm(a);
    if (length == 0.0 || !std::isfinite(length)) return report(no_unit, 1);
    if (length < tolerance) return report(too_short, status);
    *out = (1.0 / length) * a;
    return 0;
}

}  // namespace

int pierce(const double tolerances[2], const Surface& surface, const double eye[3], const double target[3],
           double out[3], Reporter report, TargetFoot foot) {
    return surface.radius == 0.0 ? pierce_plane(tolerances[0], surface, v(eye), v(target), out, report)
                                 : pierce_sphere(tolerances, surface, v(eye), v(target), out, report, foot);
}

int reflect(const Surface& surface, const double eye[3], const double through[3], double tolerance,
            double point[3], double direction[3], Reporter report, Touching touching) {
    return reflect_checked(surface, eye, through, tolerance, point, direction, report, touching);
}

int aim_plane_mirror(const double tolerances[2], const double pivot[3], const double mirror_point[3],
                     const double mirror_normal[3], int target_kind, const double eye[3], const double target[3],
                     double matrix[12], Reporter report) {
    const double tol = tolerances[0];
    const double a_tol = radians(tolerances[1]);
    const V e_point = v(eye);
    const V n0 = v(mirror_normal);
    V p = v(mirror_point);
    V n = n0;
    V previous = p;
    for (int i = 0; i < kAimIterations; ++i) {
        V e{};
        if (int status = aim_unit(e_point - p, tol, &e, "Error while unitize vector eyevector\n",
                                  "the eye point is too close to the mirror or is on the wrong side of the mirror.\n", 2,
                                  report))
            return status;
        V t = v(target);
        if (target_kind == 0)
            if (int status = aim_unit(v(target) - p, tol, &t, "Error while unitize vector targetvector\n",
                                      "the target point is too close to the mirror or is on the wrong side of the "
                                      "mirror.\n",
                                      3, report))
                return status;
        V h{};
        if (int status = aim_unit(t + e, std::sin(a_tol), &h, "Error while unitize vector bisector\n",
                                  "No solution can been found due to unusual location of eye and target points.\n", 4,
                                  report))
            return status;
        const V step = p - previous;
        if (dot(h, n) > std::sqrt(1.0 - std::sin(a_tol) * std::sin(a_tol)) && dot(step, step) < tol * tol)
            return rotation(v(pivot), n0, n, matrix, report);
        previous = p;
        double turn[12], turn_normal[12];
        if (rotation(v(pivot), n, h, turn, report) != 0 || rotation({0, 0, 0}, n, h, turn_normal, report) != 0) return 1;
        double moved[3], normal[3];
        put(p, moved);
        put(n, normal);
        (void)hm5941(moved, turn);
        (void)hm5941(normal, turn_normal);
        p = v(moved);
        n = v(normal);
    }
    return report(" no solution has been found although a solution might exist.\n probable causes: the input values "
                "are unusually large or small\n the used tolerance might too small. if the input and tolerance\n "
                "are ok and a solution is needed then increase the value of the\n variable safety.\n",
                5);
}

void apply_head_rotation(double eye_reference_y, double mirror_reference_y, const double eyes[3][3],
                         const double pivot[3], const double target[3], double out_eyes[3][3], double* angle,
                         bool* rotated) {
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) out_eyes[i][j] = eyes[i][j];
    *rotated = false;
    const int k = eye_reference_y >= mirror_reference_y ? 2 : 0;
    *angle = degrees(std::atan2(std::fabs(target[1] - eyes[k][1]), std::fabs(target[0] - eyes[k][0])));
    if (*angle <= kMaxLookAside) return;

    *rotated = true;
    const double dx = std::fabs(target[0] - pivot[0]);
    const double dy = std::fabs(target[1] - pivot[1]);
    const double reach = std::sqrt(dx * dx + dy * dy);
    double r = reach > 0.0 ? 0.5 *
                                 (std::fabs(eyes[2][1] - eyes[0][1]) / (2.0 * std::tan(radians(kMaxLookAside))) +
                                  std::fabs(pivot[0] - eyes[1][0])) /
                                 reach
                           : 1.0;
    r = std::clamp(r, -1.0, 1.0);
    double theta = degrees(std::atan2(dy, dx)) - (kMaxLookAside - degrees(std::asin(r)));
    theta = pivot[1] >= target[1] ? std::fabs(theta) : -std::fabs(theta);
    const double ct = std::cos(radians(theta));
    const double st = std::sin(radians(theta));
    for (int i = 0; i < 3; ++i) {
        const double x = eyes[i][0] - pivot[0];
        const double y = eyes[i][1] - pivot[1];
        out_eyes[i][0] = pivot[0] + x * ct - y * st;
        out_eyes[i][1] = pivot[1] + x * st + y * ct;
    }
}

}  // namespace carvell::mirror::optics
