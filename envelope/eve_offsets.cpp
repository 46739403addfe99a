// Offsets of a point-cloud envelope: "extend" sweeps the whole point set
// along given vectors, "enlarge" pushes the hull of each motion position
// outward by a clearance, every hull vertex away from all its faces at once.
// Points are in the kernel's metres.
#include "eve_internal.h"

#include "omvra.h"
#include "quillon.h"
#include "toolbox/detail/finite.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstring>
#include <vector>

namespace carvell::envelope {
namespace {

// Distances below this skip their direction.
constexpr double kNoDistance = 1e-7;
// Tolerances of the direction rule.
constexpr double kZeroDirection = 1e-5;
constexpr double kDirectionTolerance = 0.0001;
constexpr double kNoDeterminant = 1e-10;

// Trace lines of the offsets, when the release writes them
// (enlarge_traces): to standard output and the host log.
bool tracing() { return enlarge_traces(); }

__attribute__((format(printf, 1, 2))) void trace(const char* format, ...) {
    char line[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    std::fputs(line, stdout);
    ERROR_lprintf("%s", line);
}

bool is_zero(const double v[3], double tolerance) {
    int zero = 0;
    HM_VEC3_is_zero(v, tolerance, &zero);
    return zero == 1;
}

void unit(const double v[3], double tolerance, double out[3]) {
    double magnitude = 0.0;
    if (HM_VEC3_unitize(v, tolerance, &magnitude, out) != 0) out[0] = out[1] = out[2] = 0.0;
}

void cross(const double a[3], const double b[3], double out[3]) {
    out[0] = a[1] * b[2] - a[2] * b[1];
    out[1] = a[2] * b[0] - a[0] * b[2];
    out[2] = a[0] * b[1] - a[1] * b[0];
}

// Hands a new block of points to the caller in place of the old one.
int replace_points(double** points, int* count, const std::vector<double>& result) {
    auto* block = static_cast<double*>(SM_alloc(std::max<size_t>(result.size(), 3) * sizeof(double)));
    if (!block) return -1;
    std::copy(result.begin(), result.end(), block);
    SM_free(*points);
    *points = block;
    *count = static_cast<int>(result.size() / 3);
    return 0;
}

// The hull vertices of one position, each pushed by distance along the
// direction that its facets give it.
int enlarge_position(const double* points, int n, double distance, std::vector<double>* result) {
    const bool traced = tracing();
    if (traced)
        for (int i = 0; i < n; ++i)
            trace("\n+++ temp_pts[%d].coord = point(%f, %f, %f)", i, points[3 * i], points[3 * i + 1],
                  points[3 * i + 2]);
    Hull hull;
    if (const int code = hull.make(points, n)) return code;
    const int nv = hull.vertex_count();
    if (traced) {
        trace("\n+++ hull_verts.nverts = %d", nv);
        for (int i = 0; i < nv; ++i)
            trace("\n+++ hull_verts.verts[%d].coord i.e vert[%d] = point(%f, %f, %f)", i, i, hull.vertex(i)[0],
                  hull.vertex(i)[1], hull.vertex(i)[2]);
    }
    std::vector<double> directions(3 * static_cast<size_t>(nv), 0.0);
    for (int j = 0; j < hull.facet_count(); ++j) {
        const CHULL_facet_t& f = hull.facet(j);
        for (int i = 0; i < 3; ++i) {
            double* d = &directions[3 * static_cast<size_t>(f.verts[i])];
            if (traced)
                trace("\n+++ jnx = %d, i = %d, temp_pts2[%d].coord = point(%f, %f, %f), ", j, i, f.verts[i], d[0],
                      d[1], d[2]);
            double magnitude = 0.0;
            if (traced) HM_VEC3_mag(f.normal, &magnitude);
            if (is_zero(d, kZeroDirection)) {
                std::memcpy(d, f.normal, sizeof f.normal);
                if (traced)
                    trace("\n+++ temp_pts2[%d] is zero, set it to normal(%f, %f, %f), mag = %f ", f.verts[i],
                          f.normal[0], f.normal[1], f.normal[2], magnitude);
            } else {
                double combined[3];
                enlarge_corner_direction(d, f.normal, combined);
                if (traced)
                    trace("\n+++ temp_pts2[%d] is not zero, unit it with normal(%f, %f, %f), mag is %f, result is "
                          "normal(%f, %f, %f) ",
                          f.verts[i], f.normal[0], f.normal[1], f.normal[2], magnitude, combined[0], combined[1],
                          combined[2]);
                std::memcpy(d, combined, sizeof combined);
            }
        }
        if (traced) trace("\n");
    }
    for (int i = 0; i < nv; ++i) {
        const double* d = &directions[3 * static_cast<size_t>(i)];
        if (traced) trace("\n+++ temp_pts2[%d].coord = point(%f, %f, %f)", i, d[0], d[1], d[2]);
        for (int k = 0; k < 3; ++k) result->push_back(hull.vertex(i)[k] + distance * d[k]);
        if (traced)
            trace("\n+++ vert[%d].coord = point(%f, %f, %f)", i, (*result)[result->size() - 3],
                  (*result)[result->size() - 2], (*result)[result->size() - 1]);
    }
    return 0;
}

// Reads the offset pairs of a list: (point, distance) in extend mode,
// (position, offset) in enlarge mode.
int read_offset_pairs(x_DList offsets, int mode, std::vector<double>* first, std::vector<double>* second) {
    const int pairs = KBL_list_length(offsets) / 2;
    for (int i = 0; i < pairs; ++i) {
        const Value a = KBL_list_pop(offsets);
        const Value b = KBL_list_pop(offsets);
        if (mode == 0 && a.kind == KBL_KIND_POINT && a.data) {
            const auto* p = static_cast<const double*>(a.data);
            first->insert(first->end(), p, p + 3);
        } else if (mode != 0 && a.kind == KBL_KIND_INTEGER && a.data) {
            first->push_back(*static_cast<const int*>(a.data));
        } else {
            return EVE_ERR_WRONG_VALUE;
        }
        if (b.kind == KBL_KIND_NUMBER && b.data)
            second->push_back(*static_cast<const double*>(b.data));
        else if (b.kind == KBL_KIND_INTEGER && b.data)
            second->push_back(*static_cast<const int*>(b.data));
        else
            return EVE_ERR_WRONG_VALUE;
    }
    return 0;
}

}  // namespace

int apply_envelope_offsets(double** points, int* count, int per_position, x_DList offsets, int mode,
                           double factor) {
    std::vector<double> first, second;
    if (const int code = read_offset_pairs(offsets, mode, &first, &second)) return code;
    const int pairs = static_cast<int>(second.size());
    if (mode == 0) return envelope_offset_points_extend(points, count, first.data(), second.data(), pairs, factor);
    std::vector<int> positions(first.begin(), first.end());
    return envelope_offset_points_enlarge(points, count, per_position, positions.data(), second.data(), pairs,
                                          factor);
}

namespace {
// The points, the n distances or offsets and the factor of an offset: all
// finite and inside the model space, the counts within one block.
bool offset_input_usable(const double* points, int count, const double* values, int n, double factor) {
    return detail::all_modelled(points, 3LL * count) && (n == 0 || detail::all_modelled(values, n)) &&
           detail::all_modelled(&factor, 1);
}
}  // namespace

void combine_offset_directions(const double a[3], const double b[3], double out[3]) {
    std::memcpy(out, a, 3 * sizeof(double));
    int parallel = 0;
    // A zero facet normal says nothing: the vertex keeps its direction.
    if (is_zero(a, kDirectionTolerance) || is_zero(b, kDirectionTolerance)) return;
    HM_VEC3_is_parallel(a, b, kDirectionTolerance, &parallel);
    if (parallel) return;
    double axb[3], c[3], axc[3], bxc[3], e1[3], e2[3];
    cross(a, b, axb);
    unit(axb, kDirectionTolerance, c);
    cross(a, c, axc);
    unit(axc, kDirectionTolerance, e1);
    cross(b, c, bxc);
    unit(bxc, kDirectionTolerance, e2);
    const double p1[3] = {a[0] + e1[0], a[1] + e1[1], a[2] + e1[2]};
    double x[3];
    if (envelope_line_intersect(a, p1, b, e2, x) != 0) return;
    const double a_x[3] = {a[0] - x[0], a[1] - x[1], a[2] - x[2]};
    const double b_x[3] = {b[0] - x[0], b[1] - x[1], b[2] - x[2]};
    double u1[3], u2[3];
    unit(a_x, kDirectionTolerance, u1);
    unit(b_x, kDirectionTolerance, u2);
    int q1 = 0, q2 = 0;
    HM_VEC3_is_equal(e1, u1, kDirectionTolerance, &q1);
    HM_VEC3_is_equal(e2, u2, kDirectionTolerance, &q2);
    if (q1 != q2) {
        if (tracing()) trace("\n+++ use intersect_point (%f,%f, %f) as result", x[0], x[1], x[2]);
        std::memcpy(out, x, sizeof x);
    } else if (tracing()) {
        trace("\n+++ use vec1 (%f,%f, %f) as result", a[0], a[1], a[2]);
    }
}

int envelope_line_intersect(const double p0[3], const double p1[3], const double q[3], const double d[3],
                            double out[3]) {
    const double v[3] = {p1[0] - p0[0], p1[1] - p0[1], p1[2] - p0[2]};
    const double w[3] = {q[0] - p0[0], q[1] - p0[1], q[2] - p0[2]};
    const double m[3] = {-d[0], -d[1], -d[2]};
    const double dxy = m[1] * v[0] - v[1] * m[0];
    const double dyz = m[2] * v[1] - v[2] * m[1];
    const double dxz = m[2] * v[0] - v[2] * m[0];
    // The largest determinant, ties within 1e-10 going to xy, then yz, then xz.
    int plane = 0;
    double best = std::fabs(dxy);
    if (std::fabs(dyz) > best + kNoDeterminant) {
        plane = 1;
        best = std::fabs(dyz);
    }
    if (std::fabs(dxz) > best + kNoDeterminant) {
        plane = 2;
        best = std::fabs(dxz);
    }
    if (best <= kNoDeterminant) return -1;
    const double t = plane == 0   ? (w[0] * m[1] - w[1] * m[0]) / dxy
                     : plane == 1 ? (w[1] * m[2] - w[2] * m[1]) / dyz
                                  : (w[0] * m[2] - w[2] * m[0]) / dxz;
    for (int k = 0; k < 3; ++k) out[k] = p0[k] + t * v[k];
    return 0;
}

}  // namespace carvell::envelope

using namespace carvell::envelope;

int envelope_offset_points_extend(double** points, int* count, const double* directions, double* distances, int n,
                                  double factor) {
    if (!points || !*points || !count || *count < 1 || n < 0 || (n > 0 && (!directions || !distances))) return -1;
    if (!offset_input_usable(*points, *count, distances, n, factor) || (n > 0 && !carvell::detail::all_modelled(directions, 3LL * n)))
        return -1;
    const int m = *count;
    const std::vector<double> input(*points, *points + 3 * static_cast<size_t>(m));
    std::vector<double> current = input;
    std::vector<double> scaled(distances, distances + n);
    bool moved = false;
    for (int k = 0; k < n; ++k) {
        double direction[3];
        unit(&directions[3 * k], 0.0, direction);
        if (std::fabs(scaled[k]) < kNoDistance) continue;
        scaled[k] *= factor;
        for (int i = 0; i < m; ++i)
            for (int c = 0; c < 3; ++c) current.push_back(input[3 * i + c] + direction[c] * scaled[k]);
        Hull hull;
        if (const int code = hull.make(current.data(), static_cast<int>(current.size() / 3))) return code;
        current.clear();
        for (int j = 0; j < hull.facet_count(); ++j)
            for (int v : hull.facet(j).verts) current.insert(current.end(), hull.vertex(v), hull.vertex(v) + 3);
        moved = true;
    }
    if (!moved) return 0;
    if (!carvell::detail::all_modelled(current.data(), static_cast<long long>(current.size()))) return -1;
    if (replace_points(points, count, current) != 0) return -1;
    std::copy(scaled.begin(), scaled.end(), distances);
    return 0;
}

int envelope_offset_points_enlarge(double** points, int* count, int per_position, const int* position_numbers,
                                   const double* offsets, int n, double factor) {
    if (!points || !*points || !count || *count < 1 || n < 0 || (n > 0 && (!position_numbers || !offsets)))
        return -1;
    if (!offset_input_usable(*points, *count, offsets, n, factor)) return -1;
    int positions = per_position > 0 ? *count / per_position : 0;
    if (positions < 1) {
        positions = 1;
        per_position = *count;
    }
    std::vector<double> result;
    for (int c = 0; c < positions; ++c) {
        if (tracing()) trace("\n+++ inx = %d", c);
        double offset = 0.0;
        bool named = false;
        for (int k = 0; k < n; ++k)
            if (position_numbers[k] == c + 1) {
                named = true;
                offset = std::max(offset, offsets[k]);
            }
        const double* first = *points + 3 * static_cast<size_t>(c) * per_position;
        if (!named) {
            result.insert(result.end(), first, first + 3 * static_cast<size_t>(per_position));
            continue;
        }
        if (const int code = enlarge_position(first, per_position, offset * factor, &result)) return code;
    }
    if (!carvell::detail::all_modelled(result.data(), static_cast<long long>(result.size()))) return -1;
    std::copy(result.begin(), result.end(), *points);
    *count = static_cast<int>(result.size() / 3);
    if (tracing())
        for (int i = 0; i < *count; ++i)
            trace("\n+++ vert[%d].coord = point(%f, %f, %f)", i, (*points)[3 * i], (*points)[3 * i + 1],
                  (*points)[3 * i + 2]);
    return 0;
}
