// Envelope offsets from the offset table: the table's angles added as radial
// sections, a row for every section (interpolated between the nearest table
// angles), and the outline points moved outward along the spline normal by
// the row's value at their place across the tire.
#include "envelope_internal.h"

#include "omvra.h"
#include "tessik.h"

#include <cmath>
#include <cstdio>
#include <vector>

namespace carvell::envelope {
namespace {

constexpr int kInterpolatedCount = 61;   // values of a row between rows of different counts

bool table_full(const char* what) {
    warn("Number of Radial Sections", {what});
    return true;
}

// Row nearest to a on one side (below: a - angle > 0.1), less than 90
// degrees away, with every row angle shifted by `shift`; -1 when none.
int neighbour(const tire_envelope_params_s* p, double a, bool below, double shift) {
    int best = -1;
    double best_distance = 0.0;
    for (int r = 0; r < p->num_offset_sections; ++r) {
        const double angle = p->offset_angles[r] + shift;
        const double gap = a - angle;
        if (below ? !(gap > 0.1) : !(gap < 0.1)) continue;
        const double distance = std::fabs(gap);
        if (distance >= 90.0) continue;
        if (best < 0 || distance < best_distance) {
            best = r;
            best_distance = distance;
        }
    }
    return best;
}

double wrapped(double d) {
    d = std::fabs(d);
    return d > 270.0 ? 360.0 - d : d;
}

int add_interpolated_row(tire_envelope_params_s* p, double a, int lower, int upper) {
    if (p->num_offset_sections >= TIRE_ENVELOPE_MAX_SECTIONS) {
        table_full("Offset rows exceeded program limits");
        return kFailed;
    }
    const int nl = p->num_offsets[lower], nu = p->num_offsets[upper];
    int n = kInterpolatedCount;
    if (nl == nu)
        n = nl;
    else if (nu == 1)
        n = nl;
    else if (nl == 1)
        n = nu;
    if (n > TIRE_ENVELOPE_MAX_OFFSET_VALUES) n = TIRE_ENVELOPE_MAX_OFFSET_VALUES;
    const double d1 = wrapped(a - p->offset_angles[lower]);
    const double d2 = wrapped(p->offset_angles[upper] - p->offset_angles[lower]);
    const double f = d2 > 0.0 ? d1 / d2 : 0.0;
    const int row = p->num_offset_sections;
    for (int k = 0; k < n; ++k) {
        const double u = n > 1 ? static_cast<double>(k) / (n - 1) : 0.0;
        const double vl = offset_at_parameter_row(u, p->offsets[lower], nl);
        const double vu = offset_at_parameter_row(u, p->offsets[upper], nu);
        p->offsets[row][n - 1 - k] = vl + (vu - vl) * f;   // stored inboard first
    }
    p->num_offsets[row] = n;
    p->offset_angles[row] = a;
    ++p->num_offset_sections;
    return 0;
}

}  // namespace

double offset_at_parameter_row(double u, const double* stored, int n) {
    if (n < 1) return 0.0;
    if (n == 1) return stored[0];
    auto w = [&](int i) { return stored[n - 1 - i]; };
    if (u < 0.0) return w(0);
    if (u > 1.0) return w(n - 1);
    int i = static_cast<int>(std::floor(u * (n - 1) + 1.0));
    if (i > n - 1) i = n - 1;
    return w(i - 1) + (w(i) - w(i - 1)) * (u - static_cast<double>(i - 1) / (n - 1)) * (n - 1);
}

double offset_at_parameter(double u, const tire_envelope_params_s* p) {
    const int row = p->cur_offset_section;
    if (row < 0 || row >= p->num_offset_sections) return 0.0;
    return offset_at_parameter_row(u, p->offsets[row], p->num_offsets[row]);
}

int prepare_section_offsets(tire_envelope_params_s* p) {
    if (p->num_offset_sections < 0 || p->num_offset_sections > TIRE_ENVELOPE_MAX_SECTIONS) {
        table_full("Offset rows exceeded program limits");
        return kFailed;
    }
    for (int r = 0; r < p->num_offset_sections; ++r)
        if (p->num_offsets[r] < 0 || p->num_offsets[r] > TIRE_ENVELOPE_MAX_OFFSET_VALUES) {
            table_full("Offset values exceeded program limits");
            return kFailed;
        }
    bool negative = false;
    for (int r = 0; r < p->num_offset_sections; ++r)
        for (int k = 0; k < p->num_offsets[r]; ++k)
            if (p->offsets[r][k] < 0.0) negative = true;
    if (negative) syslog("\nWARNING: Offset file has some negative offsets in it.\n");
    const int rows = p->num_offset_sections;
    for (int r = 0; r < rows; ++r) {
        const double angle = p->offset_angles[r];
        if (p->num_sections == 0) break;
        bool matches = false;
        for (int s = 0; s < p->num_sections; ++s)
            if (std::fabs(p->section_angles[s] - angle) <= 1e-10) matches = true;
        const bool inside = angle > p->section_angles[0] + 1e-10 &&
                            angle < p->section_angles[p->num_sections - 1] - 1e-10;
        if (matches || !inside) continue;
        if (p->num_sections >= TIRE_ENVELOPE_MAX_SECTIONS) {
            table_full("Number of radial sections exceeded program limits");
            return kFailed;
        }
        p->section_angles[p->num_sections++] = angle;
        (void)VD_sort_array_ascending(p->section_angles, p->num_sections);
    }
    bool interpolated = false;
    for (int s = 0; s < p->num_sections; ++s) {
        const double a = p->section_angles[s];
        bool has_row = false;
        for (int r = 0; r < p->num_offset_sections; ++r)
            if (std::fabs(p->offset_angles[r] - a) <= 0.1) has_row = true;
        if (has_row) continue;
        int lower = neighbour(p, a, true, 0.0);
        if (lower < 0) lower = neighbour(p, a, true, -360.0);
        int upper = neighbour(p, a, false, 0.0);
        if (upper < 0) upper = neighbour(p, a, false, 360.0);
        if (lower < 0 || upper < 0) {
            char line[96];
            std::snprintf(line, sizeof line, "ERROR:  Offset was not specified for section %.2f", a);
            warn("Offset", {line, far_offset_neighbour_text()});
            return kFailed;
        }
        if (add_interpolated_row(p, a, lower, upper) != 0) return kFailed;
        interpolated = true;
    }
    if (interpolated) syslog("\nOffsets for some sections were interpolated.\n");
    return 0;
}

namespace {

// Parameter where x * side is smallest (largest when `largest`), by coarse
// sampling refined around the best sample.
double lateral_extreme(tag_t spline, double side, bool largest) {
    double best_t = 0.0, best = 0.0, step = 0.05, lo = 0.0, hi = 1.0;
    bool first = true;
    for (;;) {
        for (double t = lo; t <= hi + 1e-12; t += step) {
            double point[3], tangent[3];
            if (eval_spline(spline, t, point, tangent) != 0) continue;
            const double v = point[0] * side * (largest ? -1.0 : 1.0);
            if (first || v < best) {
                best = v;
                best_t = t;
                first = false;
            }
        }
        lo = best_t - step;
        hi = best_t + step;
        step = 2.0 * step / 10.0;
        if (step < 0.0005) break;
    }
    return best_t;
}

int offset_a_pt(const tire_envelope_params_s* p, tag_t spline, double t_a, double t_b, double* point) {
    double t = 0.0, nearest[3], at[3], tangent[3];
    (void)eval_spline_pt(spline, point, &t, nearest);
    if (ENVELOPE_CHECK("offset_a_pt", eval_spline(spline, t, at, tangent)) != 0) return kFailed;
    const double z[3] = {0.0, 0.0, -p->side};
    double normal[3];
    vec3_cross(z, tangent, normal);
    vec3_unitize_or_zero(normal, normal);
    const double span = t_a - t_b;
    const double u = std::fabs(span) > 1e-12 ? (t - t_b) / span : 0.0;
    const double value = offset_at_parameter(u, p);
    for (int i = 0; i < 3; ++i) point[i] += value * normal[i];
    return 0;
}

}  // namespace

int apply_offset(const tire_envelope_params_s* p, tag_t spline, double t_start, double t_end, int count,
                 double* points) {
    double t_a = t_end, t_b = t_start;
    if (p->offset_method == 0) {
        // The lateral extremes: the outline runs outboard to inboard.
        const double t_min = lateral_extreme(spline, p->side, false);
        const double t_max = lateral_extreme(spline, p->side, true);
        if (std::fabs(t_min - t_max) >= 1e-9) {
            t_a = t_min;
            t_b = t_max;
        }
    }
    for (int i = 0; i < count; ++i)
        if (offset_a_pt(p, spline, t_a, t_b, points + 3 * i) != 0) return kFailed;
    return 0;
}

}  // namespace carvell::envelope
