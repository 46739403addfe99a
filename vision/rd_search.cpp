// Reflection and refraction search for one input point: the closed-form
// reflection on a plane, the nested bisections of a rear-surface mirror
// behind a glass plate, and the bisection along the segment from the input
// point to the eye over faces, with its bracket and side tests.
#include "hm_vd_vision.h"
#include "vision_ipv.h"
#include "vision_rd.h"

#include "hm_vd.h"
#include "hm_vd_curve.h"
#include "toolbox/detail/constants.h"
#include "toolbox/detail/finite.h"
#include "toolbox/detail/owners.h"
#include "toolbox/detail/vec3.h"

#include "nethrow.h"
#include "omvra.h"
#include "quillon.h"

#include <algorithm>
#include <cmath>

namespace carvell::vision {
namespace {

constexpr const char* kKey = "VD_RD";
constexpr double kParallel = 1e-6;
constexpr double kBoxMargin = 1e-6;
constexpr double kDegrees = detail::kDegreesPerRadianAsUsed;

struct V {
    double x, y, z;
};
V vec(const double* p) { return {p[0], p[1], p[2]}; }
V sub(V a, V b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
V add(V a, V b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
V mul(V a, double s) { return {a.x * s, a.y * s, a.z * s}; }
double dot(V a, V b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
double len(V a) { return std::sqrt(dot(a, a)); }
V unit(V a) {
    const double l = len(a);
    return l > 0.0 ? mul(a, 1.0 / l) : a;
}
V cross(V a, V b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
void put(V a, double* out) {
    out[0] = a.x;
    out[1] = a.y;
    out[2] = a.z;
}
bool parallel(V a, V b) {
    int r = 0;
    const double pa[3] = {a.x, a.y, a.z}, pb[3] = {b.x, b.y, b.z};
    HM_VEC3_is_parallel(pa, pb, kParallel, &r);
    return r == 1;
}
// Signed angle from u to v about the axis, radians in [0, 2 pi).
double angle(V u, V v, V axis) {
    const double pu[3] = {u.x, u.y, u.z}, pv[3] = {v.x, v.y, v.z}, pa[3] = {axis.x, axis.y, axis.z};
    double a = 0.0;
    HM_VEC3_angle_between(pu, pv, pa, &a);
    return a;
}

// Origin and unit normal of the first surface object (a plane or a datum plane).
bool plane_of(const RdContext& ctx, V& origin, V& normal) {
    double o[3], n[3];
    const int r = ctx.kind == kRdPlane ? HM_MODL_ask_plane(ctx.surfaces[0], o, n)
                                       : HM_VD_ask_datum_plane_parms(ctx.surfaces[0], o, n);
    if (r != 0) return false;
    origin = vec(o);
    normal = unit(vec(n));
    return true;
}

bool same_side_of_all(const RdContext& ctx, const double a[3]) {
    trace(kKey, "\n+++ HM_VD_judge_point_in_faceside");
    for (tag_t s : ctx.surfaces)
        if (!HM_VD_judge_point_in_faceside(a, ctx.eye, s)) return false;
    return true;
}

// The foot of the point on the face when the face "takes" it: the foot's
// parameters lie inside the face's box, or on its edge with the point
// straight above the foot. Also the face normal there.
bool rd_point_in_face_box(tag_t face, const std::array<double, 4>& box, const double point[3], double foot[3],
                          double normal[3]) {
    double uv[2];
    if (HM_MODL_ask_face_parm(face, point, uv, foot) != 0) return false;
    trace(kKey, "\n+++ proj_point(%f, %f, %f), parm (u v)= (%f, %f)", foot[0], foot[1], foot[2], uv[0], uv[1]);
    double p[3], u1[3], v1[3], u2[3], v2[3], radii[2];
    if (HM_MODL_ask_face_props(face, uv, p, u1, v1, u2, v2, normal, radii) != 0) return false;
    const bool inside = uv[0] > box[0] + kBoxMargin && uv[0] < box[1] - kBoxMargin && uv[1] > box[2] + kBoxMargin &&
                        uv[1] < box[3] - kBoxMargin;
    if (inside) return true;
    const bool near = uv[0] >= box[0] - kBoxMargin && uv[0] <= box[1] + kBoxMargin && uv[1] >= box[2] - kBoxMargin &&
                      uv[1] <= box[3] + kBoxMargin;
    return near && parallel(vec(normal), sub(vec(point), vec(foot)));
}

// The candidate of the faces for a point (the last face that takes it wins):
// its foot, moved by `move` along the direction from the foot to the point.
bool face_candidate(const RdContext& ctx, const double mid[3], double move, V& candidate, V& normal) {
    bool any = false;
    for (size_t i = 0; i < ctx.surfaces.size(); ++i) {
        double foot[3], n[3];
        if (!rd_point_in_face_box(ctx.surfaces[i], ctx.uv[i], mid, foot, n)) continue;
        V f = vec(foot);
        if (move != 0.0) f = add(f, mul(unit(sub(vec(mid), f)), move));
        candidate = f;
        normal = vec(n);
        any = true;
    }
    return any;
}

// The point where line AB meets the line through P along n, in the
// coordinate plane where the two lines cross most clearly (A when none does).
V rd_ask_line_normal_intersect_point(V a, V b, V p, V n) {
    const V d = sub(b, a), w = sub(p, a);
    const double dets[3] = {d.x * n.y - d.y * n.x, d.y * n.z - d.z * n.y, d.x * n.z - d.z * n.x};
    int k = 0;
    for (int i = 1; i < 3; ++i)
        if (std::fabs(dets[i]) > std::fabs(dets[k])) k = i;
    if (std::fabs(dets[k]) <= 1e-10) return a;
    double s = 0.0;
    if (k == 0) s = (w.x * n.y - w.y * n.x) / dets[0];
    if (k == 1) s = (w.y * n.z - w.z * n.y) / dets[1];
    if (k == 2) s = (w.x * n.z - w.z * n.x) / dets[2];
    return add(a, mul(d, s));
}

bool differs(V a, V b, double eps) {
    return std::fabs(a.x - b.x) >= eps || std::fabs(a.y - b.y) >= eps || std::fabs(a.z - b.z) >= eps;
}

// The reflection condition at a candidate: the angle from A to the normal
// line and from it to B, and their difference in degrees.
struct Bisector {
    bool aligned;
    double a1, a2, delta;
};
Bisector bisect(V candidate, V a, V b, V normal_towards) {
    const V ua = unit(sub(a, candidate)), ub = unit(sub(b, candidate)), uc = unit(normal_towards);
    if (parallel(ua, ub) && parallel(ua, uc)) return {true, 0, 0, 0};
    const V axis = cross(ua, ub);
    const double a1 = angle(ua, uc, axis), a2 = angle(uc, ub, axis);
    return {false, a1, a2, std::fabs(a1 - a2) * kDegrees};
}

bool planar_reflection(const RdContext& ctx, V a, V b, double out[3]) {
    V o, n;
    if (!plane_of(ctx, o, n)) return false;
    const double to_a = std::acos(std::clamp(dot(n, unit(sub(a, o))), -1.0, 1.0));
    if (to_a >= detail::kPi / 2) n = mul(n, -1.0);
    if (ctx.rear) o = add(o, mul(n, ctx.thickness));
    double tol = 0.0;
    HM_MODL_ask_distance_tolerance(&tol);
    const double da = std::fabs(dot(sub(a, o), n)), db = std::fabs(dot(sub(b, o), n));
    // Both points on the mirror: no light path.
    if (da + db <= tol) return false;
    const V fa = sub(a, mul(n, da)), fb = sub(b, mul(n, db));
    const V r = len(sub(fb, fa)) > 1e-6 ? add(fa, mul(sub(fb, fa), da / (da + db))) : fa;
    put(r, out);
    return true;
}

// Bisection of the last midpoint of [lo, hi] until the bounds are within eps.
template <typename Raise>
double bisect_length(double lo, double hi, double eps, Raise raise_lower) {
    double x = 0.5 * (lo + hi);
    for (int i = 0; i < kRdMaxSteps && hi - lo > eps; ++i) {
        x = 0.5 * (lo + hi);
        if (raise_lower(x))
            lo = x;
        else
            hi = x;
    }
    return x;
}

bool planar_refraction(const RdContext& ctx, V a, V b, double mirror[3], double entry[3], double exit[3]) {
    V o, n;
    if (!plane_of(ctx, o, n)) return false;
    if (dot(n, sub(a, o)) > 0.0) n = mul(n, -1.0);   // away from A
    const double t = ctx.thickness, index = ctx.index, eps = ctx.eps1;
    if (!ctx.rear) o = add(o, mul(n, t));
    const double da = std::fabs(dot(sub(a, o), n)), db = std::fabs(dot(sub(b, o), n));
    const V fa = add(a, mul(n, da)), fb = add(b, mul(n, db));
    const double l = len(sub(fb, fa));
    if (l <= 1e-6) {
        put(fa, mirror);
        put(sub(fa, mul(n, t)), entry);
        put(sub(fa, mul(n, t)), exit);
        return true;
    }
    double lo = 0.0, hi = l, m = 0.5 * l, x = 0.0, y = 0.0;
    for (int i = 0; i < kRdMaxSteps; ++i) {
        m = 0.5 * (lo + hi);
        x = bisect_length(0.0, m, eps, [&](double v) {
            const double f = (v / std::hypot(v, da - t)) / ((m - v) / std::hypot(m - v, t));
            return f < index;
        });
        y = bisect_length(0.0, l - m, eps, [&](double v) {
            const double g = ((l - m - v) / std::hypot(l - m - v, db - t)) / (v / std::hypot(v, t));
            return !(g < index);
        });
        if (m - x < y)
            lo = m;
        else
            hi = m;
        if (hi - lo <= eps) break;
    }
    const V d = sub(fb, fa);
    put(add(fa, mul(d, m / l)), mirror);
    put(sub(add(fa, mul(d, x / l)), mul(n, t)), entry);
    put(sub(add(fa, mul(d, (m + y) / l)), mul(n, t)), exit);
    return true;
}

bool face_reflection(const RdContext& ctx, V a, V b, double out[3]) {
    trace(kKey, "\n+++ HM_VD_judge_proj_line_in_face");
    double p1[3], p2[3], d1[3], d2[3];
    const double pa[3] = {a.x, a.y, a.z}, pb[3] = {b.x, b.y, b.z};
    const int bracket = HM_VD_judge_proj_line_in_face(ctx, pa, pb, p1, p2, d1, d2);
    trace(kKey, "\n+++ HM_VD_judge_proj_line_in_face return %d ", bracket);
    if (bracket == 4) return false;
    trace(kKey, "\n+++ do cycle epsilon1=%f, epsilon2= %f ", ctx.eps1, ctx.eps2);
    trace(kKey, "\n+++ point1 = (%f,%f,%f), point2 = (%f,%f,%f)", p1[0], p1[1], p1[2], p2[0], p2[1], p2[2]);
    const V first = vec(p1), second = vec(p2);
    V start = first, end = second;
    Bisector last{false, 0, 0, 1e300};
    V candidate{0, 0, 0};
    for (int i = 0; i < kRdMaxSteps; ++i) {
        const V mid = mul(add(start, end), 0.5);
        trace(kKey, "\n+++ mid_point= (%f, %f, %f),  start_point = (%f,%f,%f), end_point = (%f,%f,%f)", mid.x, mid.y,
              mid.z, start.x, start.y, start.z, end.x, end.y, end.z);
        const double pm[3] = {mid.x, mid.y, mid.z};
        V normal;
        if (!face_candidate(ctx, pm, ctx.rear ? ctx.thickness : 0.0, candidate, normal)) return false;
        last = bisect(candidate, a, b, sub(mid, candidate));
        if (last.aligned) {
            put(candidate, out);
            return true;
        }
        trace(kKey, "\n+++ counter =%d, angle1 = %f, angle2 =%f, delta =%f", i, last.a1, last.a2, last.delta);
        if (last.delta > ctx.eps1) {
            if (last.a1 <= last.a2)
                start = mid;
            else
                end = mid;
        }
        if (!(last.delta > ctx.eps1 && differs(mid, first, ctx.eps2) && differs(mid, second, ctx.eps2))) break;
    }
    if (!(last.delta < ctx.eps1)) return false;
    put(candidate, out);
    trace(kKey, "\n+++ reflect_point= (%f, %f, %f)", out[0], out[1], out[2]);
    return true;
}

// Where the light path between the outside point and the mirror point M
// crosses the front face (refraction index n): a bisection from `start`
// (the outside point, or a point on its line to M nearer the face) to M on
// the ratio of the sines of the angles to the face normal on both sides.
// The ratio's tolerance is the angle tolerance.
bool rd_ask_refract_entry_point(const RdContext& ctx, V outside, V start, V mirror, V& entry) {
    const V s0 = start;
    V end = mirror;
    double d = 1e300;
    for (int i = 0; i < kRdMaxSteps; ++i) {
        const V mid = mul(add(start, end), 0.5);
        const double pm[3] = {mid.x, mid.y, mid.z};
        V normal;
        if (!face_candidate(ctx, pm, ctx.rear ? ctx.thickness : 0.0, entry, normal)) return false;
        const V a = unit(sub(outside, entry)), b = unit(sub(mirror, entry));
        V axis = cross(a, b);
        if (parallel(a, b)) {
            if (parallel(a, normal)) return true;
            axis = cross(a, normal);
        }
        double t1 = angle(a, normal, axis), t2 = angle(b, normal, axis);
        if (t1 > detail::kPi) t1 -= detail::kPi;
        if (t2 > detail::kPi) t2 -= detail::kPi;
        const double r = std::sin(t1) / std::sin(t2);
        d = std::fabs(r - ctx.index);
        if (d > ctx.eps1) {
            if (r <= ctx.index)
                start = mid;
            else
                end = mid;
        }
        if (!(d > ctx.eps1 && differs(mid, s0, ctx.eps2) && differs(mid, mirror, ctx.eps2))) break;
    }
    return d < ctx.eps1;
}

// Refraction through a glass plate given by its faces (front faces, or rear
// faces with the rear flag): the mirror point bisected on the bracket, each
// step's entry and exit searched on the front face.
bool face_refraction(const RdContext& ctx, V a, V b, double mirror[3], double entry[3], double exit[3]) {
    double p1[3], p2[3], d1[3], d2[3];
    const double pa[3] = {a.x, a.y, a.z}, pb[3] = {b.x, b.y, b.z};
    const int bracket = HM_VD_judge_proj_line_in_face(ctx, pa, pb, p1, p2, d1, d2);
    if (bracket == 4) return false;
    const V first = vec(p1), second = vec(p2);
    V start = first, end = second;
    Bisector last{false, 0, 0, 1e300};
    V m{0, 0, 0}, in{0, 0, 0}, out{0, 0, 0};
    for (int i = 0; i < kRdMaxSteps; ++i) {
        const V mid = mul(add(start, end), 0.5);
        const double pm[3] = {mid.x, mid.y, mid.z};
        V normal;
        // The mirror lies the thickness behind the front faces given.
        if (!face_candidate(ctx, pm, ctx.rear ? 0.0 : -ctx.thickness, m, normal)) return false;
        // A start nearer the face where the bracket end is not the point itself.
        const V from_a = bracket == 2 || bracket == 3 ? rd_ask_line_normal_intersect_point(a, m, first, vec(d1)) : a;
        const V from_b = bracket == 1 || bracket == 3 ? rd_ask_line_normal_intersect_point(b, m, second, vec(d2)) : b;
        if (!rd_ask_refract_entry_point(ctx, a, from_a, m, in) || !rd_ask_refract_entry_point(ctx, b, from_b, m, out))
            return false;
        last = bisect(m, in, out, sub(mid, m));
        if (last.aligned) break;
        if (last.delta > ctx.eps1) {
            if (last.a1 <= last.a2)
                start = mid;
            else
                end = mid;
        }
        if (!(last.delta > ctx.eps1 && differs(mid, first, ctx.eps2) && differs(mid, second, ctx.eps2))) break;
    }
    if (!last.aligned && !(last.delta < ctx.eps1)) return false;
    put(m, mirror);
    put(in, entry);
    put(out, exit);
    return true;
}

// The share of eps2 to which a bracket end is bisected along AB.
constexpr double kCrossingShare = 1e-3;
// Points of AB tried for a taken one when neither end is taken.
constexpr int kBracketSamples = 32;

// Whether some face takes the point; the foot on the first face that does.
bool point_taken(const RdContext& ctx, V point, V& foot) {
    const double p[3] = {point.x, point.y, point.z};
    for (size_t i = 0; i < ctx.surfaces.size(); ++i) {
        double f[3], n[3];
        if (!rd_point_in_face_box(ctx.surfaces[i], ctx.uv[i], p, f, n)) continue;
        foot = vec(f);
        return true;
    }
    return false;
}

// The end of the taken part of AB between the parameters `in` (taken) and
// `out` (not taken): bisected on the feet until the two lie within the
// tolerance along AB. The point and foot given are those at `in`; they
// become the last taken point and its foot.
void taken_end(const RdContext& ctx, V a, V b, double in, double out, double tolerance, V& point, V& foot) {
    const V d = sub(b, a);
    for (int i = 0; i < kRdMaxSteps && std::fabs(out - in) * len(d) > tolerance; ++i) {
        const double mid = 0.5 * (in + out);
        const V p = add(a, mul(d, mid));
        V f{};
        if (point_taken(ctx, p, f)) {
            in = mid;
            point = p;
            foot = f;
        } else {
            out = mid;
        }
    }
}

}  // namespace

void rd_sort_reals(int n, double* values) { ipv_sort_reals(n, values); }

bool HM_VD_judge_point_in_faceside(const double a[3], const double b[3], tag_t object) {
    int type = 0, subtype = 0;
    if (HM_OBJ_ask_type_and_subtype(object, &type, &subtype) != 0) return false;
    double o[3], n[3];
    if (type == HM_solid_type && subtype == HM_solid_face_subtype) {
        int face_type = 0;
        HM_MODL_ask_face_type(object, &face_type);
        if (face_type == HM_FACE_PLANAR) {
            double box[4];
            pxpben(object, box);
            const double uv[2] = {0.5 * (box[0] + box[1]), 0.5 * (box[2] + box[3])};
            double u1[3], v1[3], u2[3], v2[3], radii[2];
            if (HM_MODL_ask_face_props(object, uv, o, u1, v1, u2, v2, n, radii) != 0) return false;
            return HM_VD_judge_point_in_plane_side(a, o, n) == HM_VD_judge_point_in_plane_side(b, o, n);
        }
        const V va = vec(a), vb = vec(b);
        double hit[3];
        const double away[3] = {a[0] - b[0], a[1] - b[1], a[2] - b[2]}, towards[3] = {-away[0], -away[1], -away[2]};
        if (HM_VD_CURVE_project_point_along_vector(a, away, object, hit) != 0 &&
            HM_VD_CURVE_project_point_along_vector(a, towards, object, hit) != 0)
            return true;
        const V h = vec(hit);
        const double ab = len(sub(va, vb));
        return ab <= 0.0 || std::max(len(sub(va, h)), len(sub(vb, h))) / ab >= 1.0;
    }
    const int r = type == HM_plane_type ? HM_MODL_ask_plane(object, o, n) : HM_VD_ask_datum_plane_parms(object, o, n);
    if (r != 0) return false;
    return HM_VD_judge_point_in_plane_side(a, o, n) == HM_VD_judge_point_in_plane_side(b, o, n);
}

int HM_VD_judge_proj_line_in_face(const RdContext& ctx, const double a[3], const double b[3], double point1[3],
                                  double point2[3], double dir1[3], double dir2[3]) {
    const V va = vec(a), vb = vec(b);
    V foot_a{}, foot_b{};
    const bool a_taken = point_taken(ctx, va, foot_a), b_taken = point_taken(ctx, vb, foot_b);
    for (int k = 0; k < 3; ++k) dir1[k] = dir2[k] = 0.0;
    if (a_taken && b_taken) {
        detail::copy3(a, point1);
        detail::copy3(b, point2);
        return 0;
    }
    // The ends of the part of AB that the faces take (the points of AB
    // whose normal lines meet the faces' boundaries), each with its foot: an
    // end taken stands for itself, another end is found by a bisection of the
    // feet from the nearest taken point. With neither end taken, evenly
    // spaced points of AB look for a taken one first.
    double first = a_taken ? 0.0 : 1.0, last = first;
    V q1 = va, e1 = foot_a, q2 = vb, e2 = foot_b;
    if (!a_taken && !b_taken) {
        first = last = -1.0;
        for (int i = 1; i < kBracketSamples; ++i) {
            const double t = static_cast<double>(i) / kBracketSamples;
            const V p = add(va, mul(sub(vb, va), t));
            V foot{};
            if (!point_taken(ctx, p, foot)) continue;
            if (first < 0.0) {
                first = t;
                q1 = p;
                e1 = foot;
            }
            last = t;
            q2 = p;
            e2 = foot;
        }
        if (first < 0.0) return 4;
    }
    const double step = a_taken || b_taken ? 1.0 : 1.0 / kBracketSamples;
    const double tolerance = kCrossingShare * ctx.eps2;
    if (!a_taken) taken_end(ctx, va, vb, first, std::max(0.0, first - step), tolerance, q1, e1);
    if (!b_taken) taken_end(ctx, va, vb, last, std::min(1.0, last + step), tolerance, q2, e2);
    const double eps = ctx.eps2;
    const double a1 = len(sub(va, q1)), a2 = len(sub(va, q2)), b1 = len(sub(vb, q1)), b2 = len(sub(vb, q2));
    int result = 3;
    V p1 = q1, p2 = q2, end1 = e1, end2 = e2;
    if (a1 <= eps && b2 > eps) {
        result = 1;
    } else if (a2 <= eps && b1 > eps) {
        std::swap(p1, p2);
        std::swap(end1, end2);
        result = 1;
    } else if (a1 > eps && b2 <= eps) {
        result = 2;
    } else if (a2 > eps && b1 <= eps) {
        std::swap(p1, p2);
        std::swap(end1, end2);
        result = 2;
    } else if (a2 <= a1) {
        std::swap(p1, p2);
        std::swap(end1, end2);
    }
    put(p1, point1);
    put(p2, point2);
    if (result != 1) put(unit(sub(end1, p1)), dir1);
    if (result != 2) put(unit(sub(end2, p2)), dir2);
    return result;
}

bool HM_VD_RD_create_reflect_point(const RdContext& ctx, const double a[3], double reflect[3]) {
    for (int k = 0; k < 3; ++k) reflect[k] = 0.0;
    if (ctx.surfaces.empty() || !same_side_of_all(ctx, a)) return false;
    const bool found = (ctx.kind == kRdFaces ? face_reflection(ctx, vec(a), vec(ctx.eye), reflect)
                                             : planar_reflection(ctx, vec(a), vec(ctx.eye), reflect)) &&
                       detail::model_point(reflect);
    if (!found)
        for (int k = 0; k < 3; ++k) reflect[k] = 0.0;
    return found;
}

bool rd_create_refract_point(const RdContext& ctx, const double a[3], double mirror[3], double entry[3],
                             double exit[3]) {
    for (int k = 0; k < 3; ++k) mirror[k] = entry[k] = exit[k] = 0.0;
    if (ctx.surfaces.empty() || !same_side_of_all(ctx, a)) return false;
    const bool found = (ctx.kind == kRdFaces ? face_refraction(ctx, vec(a), vec(ctx.eye), mirror, entry, exit)
                                             : planar_refraction(ctx, vec(a), vec(ctx.eye), mirror, entry, exit)) &&
                       detail::model_point(mirror) && detail::model_point(entry) && detail::model_point(exit);
    if (!found)
        for (int k = 0; k < 3; ++k) mirror[k] = entry[k] = exit[k] = 0.0;
    return found;
}

bool rd_objects_usable(int n_surfaces, const tag_t* surfaces, int n_sources, const tag_t* sources) {
    return detail::count_fits(n_surfaces, sizeof(tag_t)) && (n_surfaces == 0 || surfaces) &&
           detail::count_fits(n_sources, sizeof(tag_t)) && (n_sources == 0 || sources);
}

bool rd_input_usable(int n_surfaces, const tag_t* surfaces, int n_sources, const tag_t* sources, const double eye[3],
                     int n_points, std::initializer_list<double> numbers) {
    return rd_objects_usable(n_surfaces, surfaces, n_sources, sources) && detail::model_point(eye) &&
           n_points <= HM_VD_RD_MAX_POINTS && detail::in_model_space(numbers);
}

void rd_prepare_context(int n_surfaces, const tag_t* surfaces, RdContext& ctx) {
    ctx.surfaces.assign(surfaces, surfaces + (n_surfaces > 0 ? n_surfaces : 0));
    ctx.kind = kRdFaces;
    if (!ctx.surfaces.empty()) {
        int type = 0, subtype = 0;
        HM_OBJ_ask_type_and_subtype(ctx.surfaces[0], &type, &subtype);
        if (type == HM_plane_type) ctx.kind = kRdPlane;
        if (type == HM_datum_type) ctx.kind = kRdDatum;
    }
    ctx.uv.assign(ctx.surfaces.size(), {0.0, 1.0, 0.0, 1.0});
    if (ctx.kind == kRdFaces)
        for (size_t i = 0; i < ctx.surfaces.size(); ++i) {
            double box[4];
            if (pxpben(ctx.surfaces[i], box) == 0) ctx.uv[i] = {box[0], box[1], box[2], box[3]};
        }
    int units = 1;
    const tag_t part = HM_ASSEM_ask_work_part();
    if (part != NULL_TAG) HM_PART_ask_units(part, &units);
    ctx.eps2 = units == 1 ? 0.1 : 0.004;
}

}  // namespace carvell::vision
