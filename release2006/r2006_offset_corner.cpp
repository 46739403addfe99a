// The older releases' corner helpers of the hull enlargement: a vertex
// shared by several hull faces moves so that each face moves by its offset.
// The crossing of two lines and the corner vector of two offset vectors,
// with the margins and tolerances of the release's corner rule.
#include "r2006_offset_corner.h"

#include "omvra.h"

#include <cmath>

namespace carvell::r2006 {

namespace {

// Determinants smaller than this mean parallel lines, where the release
// tests for them.
constexpr double kNoDeterminant = 1e-10;

// Index of the component of c to divide by: z unless x or y is larger in
// magnitude by more than the margin; then x unless y is larger by more; else y.
int chosen_component(const double c[3], double margin) {
    const double x = std::fabs(c[0]), y = std::fabs(c[1]), z = std::fabs(c[2]);
    if (!(x > z + margin) && !(y > z + margin)) return 2;
    return y > x + margin ? 1 : 0;
}

bool is_zero(const double v[3]) {
    int zero = 0;
    HM_VEC3_is_zero(v, corner_rule().direction_tolerance, &zero);
    return zero != 0;
}

}  // namespace

int envelope_line_intersect(const double line1_start[3], const double line1_point[3], const double line2_point[3],
                            const double line2_direction[3], double out[3]) {
    double d[3], e[3], w[3], c[3], we[3];
    HM_VEC3_sub(line1_point, line1_start, d);
    HM_VEC3_negate(line2_direction, e);
    HM_VEC3_sub(line2_point, line1_start, w);
    HM_VEC3_cross(d, e, c);
    const CornerRule& rule = corner_rule();
    const int k = chosen_component(c, rule.component_margin);
    if (rule.parallel_test && !(std::fabs(c[k]) >= kNoDeterminant)) return -1;
    HM_VEC3_cross(w, e, we);
    // Without the parallel test a zero component keeps the parameter at 0:
    // the crossing is line 1's start.
    const double s = c[k] != 0.0 ? we[k] / c[k] : 0.0;
    for (int i = 0; i < 3; ++i) out[i] = line1_start[i] + s * d[i];
    return 0;
}

void combine_offset_directions(const double u[3], const double v[3], double out[3]) {
    if (is_zero(u)) {
        HM_VEC3_copy(v, out);
        return;
    }
    if (is_zero(v)) {
        HM_VEC3_copy(u, out);
        return;
    }
    int parallel = 0;
    HM_VEC3_is_parallel(u, v, corner_rule().direction_tolerance, &parallel);
    if (parallel) {
        HM_VEC3_copy(u, out);
        return;
    }
    // a and b lie in the plane of u and v, a across u and b across v.
    double n[3], a[3], b[3];
    HM_VEC3_cross(u, v, n);
    HM_VEC3_cross(u, n, a);
    HM_VEC3_cross(v, n, b);
    double length = 0.0, along_a[3];
    HM_VEC3_unitize(a, 0.0, &length, along_a);
    double u_end[3], corner[3];
    HM_VEC3_add(u, along_a, u_end);
    if (envelope_line_intersect(u, u_end, v, b, corner) == 0)
        HM_VEC3_copy(corner, out);
    else
        HM_VEC3_copy(u, out);
}

}  // namespace carvell::r2006
