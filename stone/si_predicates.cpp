// Small predicates over the curves of contours and areas, which are made
// through points: their defining points, shared points and ends, the curves
// of an angle by name, where a section's stones reach an angle, and the
// x of a curve's middle.
#include "si_internal.h"

#include "hm_vd.h"
#include "hm_vd_curve.h"

#include "gostrel.h"
#include "omvra.h"
#include "quillon.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace carvell::stone {

namespace {
constexpr int kNameBuffer = 133;
}

Points thru_points(tag_t curve) {
    Points out;
    int n = 0;
    double** pts = nullptr;
    if (!curve || HM_VD_SI_ask_spline_thru_point_data(curve, &n, &pts) != 0) return out;
    for (int i = 0; i < n; ++i) {
        out.push_back({pts[i][0], pts[i][1], pts[i][2]});
        SM_free(pts[i]);
    }
    SM_free(pts);
    return out;
}

bool same_point(const Point& a, const Point& b, double tolerance) {
    return HM_VD_CURVE_is_coinside_point(a.data(), b.data(), tolerance) == 1;
}

bool splines_have_same_ends(tag_t a, tag_t b, double tolerance) {
    const Points pa = thru_points(a), pb = thru_points(b);
    if (pa.empty() || pb.empty() || pa.size() != pb.size()) return false;
    return (same_point(pa.front(), pb.front(), tolerance) && same_point(pa.back(), pb.back(), tolerance)) ||
           (same_point(pa.front(), pb.back(), tolerance) && same_point(pa.back(), pb.front(), tolerance));
}

namespace {
bool share(const Points& pa, const Points& pb, double tolerance) {
    for (const Point& p : pa)
        for (const Point& q : pb)
            if (same_point(p, q, tolerance)) return true;
    return false;
}
}  // namespace

bool curves_share_point(tag_t a, tag_t b, double tolerance) {
    return share(thru_points(a), thru_points(b), tolerance);
}

int curve_ends_on_list(const std::vector<tag_t>& list, const Point& p, double tolerance) {
    for (size_t i = 0; i < list.size(); ++i)
        for (const Point& q : thru_points(list[i]))
            if (same_point(p, q, tolerance)) return static_cast<int>(i);
    return -1;
}

std::vector<tag_t> touching_curves(const std::vector<tag_t>& a, const std::vector<tag_t>& b, double tolerance) {
    std::vector<Points> pa;
    for (tag_t t : a) pa.push_back(thru_points(t));
    std::vector<tag_t> out;
    for (tag_t t : b) {
        const Points pb = thru_points(t);
        for (const Points& p : pa)
            if (share(p, pb, tolerance)) {
                out.push_back(t);
                break;
            }
    }
    return out;
}

bool name_as_integer(tag_t object, long* value) {
    char name[kNameBuffer] = {0};
    if (!object || HM_OBJ_ask_name(object, name, sizeof name) != 0 || name[0] == '\0') return false;
    errno = 0;
    const long number = std::strtol(name, nullptr, 10);
    if (errno != 0) return false;
    *value = number;
    return true;
}

std::vector<tag_t> curves_by_angle(const std::vector<tag_t>& list, double value) {
    std::vector<tag_t> out;
    const double wanted = std::trunc(value);
    for (tag_t t : list) {
        long number = 0;
        if (name_as_integer(t, &number) && static_cast<double>(number) == wanted) out.push_back(t);
    }
    return out;
}

bool polyline_crosses_at_point(const Point& p, double value, int n, const double points[][3], const double values[],
                               double tolerance) {
    for (int j = 0; j + 1 < n; ++j) {
        const double a = values[j], b = values[j + 1];
        const double lo = std::fmin(a, b), hi = std::fmax(a, b);
        if (value < lo || value > hi || (a == value && b == value)) continue;
        if (same_point(reach_angle(value, points[j], a, points[j + 1], b), p, tolerance)) return true;
    }
    return false;
}

int nearest_point_in_array(const Point& p, int n, const double points[][3]) {
    int best = -1;
    double best_d = 0.0;
    for (int i = 0; i < n; ++i) {
        const double d = (points[i][0] - p[0]) * (points[i][0] - p[0]) + (points[i][1] - p[1]) * (points[i][1] - p[1]) +
                         (points[i][2] - p[2]) * (points[i][2] - p[2]);
        if (best < 0 || d < best_d) best = i, best_d = d;
    }
    return best;
}

bool section_ends_between(int r0, int r1, const Point& p, const int counts[], double points[][kStones][3]) {
    if (r0 < 0 || r1 < 0 || r0 >= kSections || r1 >= kSections || counts[r0] < 1 || counts[r1] < 1) return false;
    const double x0 = points[r0][nearest_point_in_array(p, counts[r0], points[r0])][0];
    const double x1 = points[r1][nearest_point_in_array(p, counts[r1], points[r1])][0];
    return (x0 < p[0] && p[0] < x1) || (x1 < p[0] && p[0] < x0);
}

double curve_mid_x(tag_t curve) {
    EVC_p_t evaluator = nullptr;
    if (EVC_initialize(curve, &evaluator) != 0) return 0.0;
    double limits[2] = {0.0, 1.0}, point[3] = {0.0, 0.0, 0.0};
    EVC_ask_curve_limits(evaluator, limits);
    EVC_evaluate(evaluator, 0, (limits[0] + limits[1]) / 2.0, point, nullptr);
    EVC_free(evaluator);
    return point[0];
}

}  // namespace carvell::stone
