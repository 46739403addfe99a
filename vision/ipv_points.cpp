// Instrument-panel visibility: point arrays, the tool's statics and
// tolerances, the sorts, curve sampling (dispersal and chord points), the
// planarity test, splitting curves at points and cubic splines from poles.
#include "hm_vd_vision.h"
#include "ipv_layer.h"
#include "vision_ipv.h"

#include "hm_vd.h"
#include "hm_vd_curve.h"
#include "toolbox/detail/finite.h"
#include "toolbox/detail/owners.h"
#include "toolbox/detail/vec3.h"

#include "morvish.h"
#include "omvra.h"
#include "quillon.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <utility>
#include <vector>

namespace carvell::vision {

double ipv_vehicle_origin[3] = {0.0, 0.0, 0.0};
double ipv_vehicle_matrix[9] = {0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0};
unsigned char ipv_debug_flag = 0;

namespace {

// Points the planarity test and the chord-less sampling take along a curve.
constexpr int kSamplesPerCurve = 100;
// Parameters within this of a curve end snap to it when a curve is split.
constexpr double kSplitEndSnap = 0.001;

// Bidirectional bubble sort of any ordered values.
template <typename T>
void cocktail_sort(int n, T* v) {
    if (!v || n < 2) return;
    int lo = 0, hi = n - 1;
    while (lo < hi) {
        int last = lo;
        for (int i = lo; i < hi; ++i)
            if (v[i] > v[i + 1]) {
                std::swap(v[i], v[i + 1]);
                last = i;
            }
        hi = last;
        if (lo >= hi) break;
        last = hi;
        for (int i = hi; i > lo; --i)
            if (v[i - 1] > v[i]) {
                std::swap(v[i - 1], v[i]);
                last = i;
            }
        lo = last;
    }
}

// A point array of the points given, or null and -1 when memory runs out.
int points_from(const std::vector<std::array<double, 3>>& in, double*** out) {
    const int n = static_cast<int>(in.size());
    if (HM_VD_ipv_alloc_points(n, out) != 0) return -1;
    for (int i = 0; i < n; ++i)
        for (int k = 0; k < 3; ++k) (*out)[i][k] = in[i][k];
    return 0;
}

}  // namespace

bool trace_on(const char* key) { return MACH__checking_level >= 1 && RDEBUG_ask_flag(key, true) == 1; }

void trace(const char* key, const char* format, ...) {
    if (!trace_on(key)) return;
    char line[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    std::printf("%s", line);
    ERROR_lprintf("%s", line);
}

void ipv_sort_integers(int n, int* values) { cocktail_sort(n, values); }
void ipv_sort_reals(int n, double* values) { cocktail_sort(n, values); }

int ipv_disperse_curve_reversed(tag_t curve, bool reverse, int n, double*** points) {
    if (!points) return -1;
    *points = nullptr;
    if (curve == NULL_TAG || n <= 2 || n > HM_VD_IPV_MAX_POINTS || !HM_VD_is_curve(curve)) return -1;
    int closed = 0;
    if (int r = HM_MODL_ask_curve_closed(curve, &closed)) return r;
    double** out = nullptr;
    if (HM_VD_ipv_alloc_points(n, &out) != 0) return -1;
    const double step = 1.0 / (closed ? n : n - 1);
    for (int i = 0; i < n; ++i) {
        const double t = i * step;
        if (int r = HM_VD_CURVE_ask_point_on_curve(curve, reverse ? 1.0 - t : t, out[i])) {
            HM_VD_ipv_free_points(n, &out);
            return r;
        }
    }
    *points = out;
    return 0;
}

int ipv_ask_chord_points_with(tag_t curve, const double tolerances[3], int* count, double*** points) {
    if (!count || !points || !tolerances) return -1;
    *count = 0;
    *points = nullptr;
    if (curve == NULL_TAG) return -1;
    int n = 0;
    detail::HmBlock<double> flat;
    if (int r = HM_MODL_ask_curve_points(curve, tolerances[0], tolerances[1], tolerances[2], &n, flat.out())) return r;
    double** out = nullptr;
    if (HM_VD_ipv_alloc_points(n, &out) != 0) return -1;
    for (int i = 0; i < n; ++i)
        for (int k = 0; k < 3; ++k) out[i][k] = flat[3 * i + k];
    *count = n;
    *points = out;
    return 0;
}

int ipv_ask_chord_points(tag_t curve, int* count, double*** points) {
    double tol[kIpvToleranceCount];
    HM_VD_ipv_ask_tolerance(tol);
    const double values[3] = {tol[kIpvChord], tol[kIpvAngle], tol[kIpvStep]};
    return ipv_ask_chord_points_with(curve, values, count, points);
}

int ipv_split_curves_by_points(hm_list_p_t curves, int k, double** points, hm_list_p_t* out) {
    if (!out) return -1;
    *out = nullptr;
    double tol[kIpvToleranceCount];
    HM_VD_ipv_ask_tolerance(tol);
    detail::HostList result;
    if (int r = HM_MODL_create_list(result.out())) return r;
    for (tag_t curve : detail::list_items(curves)) {
        std::vector<double*> on;
        for (int i = 0; i < k; ++i) {
            double t = 0.0, foot[3];
            if (HM_MODL_ask_curve_parm(curve, points[i], &t, foot) != 0) continue;
            double at[3];
            if (HM_VD_CURVE_ask_point_on_curve(curve, t, at) != 0) continue;
            if (HM_VD_CURVE_is_coinside_point(at, points[i], tol[kIpvDistance]) == 1) on.push_back(points[i]);
        }
        if (on.empty()) {
            tag_t copy = NULL_TAG;
            if (HM_VD_copy_object(HM_VD_KEEP_LAYER, 1, &curve, &copy) == 0) HM_MODL_put_list_item(result.get(), copy);
            continue;
        }
        detail::HostList pieces;
        if (HM_VD_ipv_split_curve(curve, static_cast<int>(on.size()), on.data(), pieces.out()) != 0) continue;
        for (tag_t piece : pieces.items()) HM_MODL_put_list_item(result.get(), piece);
    }
    *out = result.release();
    return 0;
}

int ipv_respline(tag_t* curve) {
    if (!curve || *curve == NULL_TAG) return -1;
    int closed = 0;
    if (int r = HM_MODL_ask_curve_closed(*curve, &closed)) return r;
    if (closed) return 0;
    int n = 0, order = 0;
    detail::HmBlock<double> knots, poles;
    if (int r = HM_CURVE_ask_spline_data(*curve, &n, &order, knots.out(), poles.out())) return r;
    std::vector<std::array<double, 3>> p(n);
    for (int i = 0; i < n; ++i)
        for (int k = 0; k < 3; ++k) p[i][k] = poles[4 * i + k] / poles[4 * i + 3];
    double** pts = nullptr;
    if (points_from(p, &pts) != 0) return -1;
    tag_t spline = NULL_TAG;
    const int r = HM_VD_ipv_create_spline(n, pts, 1, &spline);
    HM_VD_ipv_free_points(n, &pts);
    if (r != 0) return r;
    HM_VD_delete_object(*curve);
    *curve = spline;
    return 0;
}

}  // namespace carvell::vision

using namespace carvell::vision;
namespace detail = carvell::detail;

int HM_VD_ipv_alloc_points(int n, double*** points) {
    if (!points) return -1;
    *points = nullptr;
    if (n < 1) return 0;
    if (n > HM_VD_IPV_MAX_POINTS) return -1;
    auto** array = static_cast<double**>(SM_calloc(static_cast<size_t>(n), sizeof(double*)));
    if (!array) return -1;
    for (int i = 0; i < n; ++i) {
        array[i] = static_cast<double*>(SM_calloc(3, sizeof(double)));
        if (!array[i]) {
            HM_VD_ipv_free_points(i, &array);
            return -1;
        }
    }
    *points = array;
    return 0;
}

void HM_VD_ipv_free_points(int n, double*** points) {
    if (!points || !*points) return;
    for (int i = 0; i < n; ++i) SM_free((*points)[i]);
    SM_free(*points);
    *points = nullptr;
}

void HM_VD_ipv_ask_tolerance(double tolerance[11]) {
    if (!tolerance) return;
    double distance = 0.0, angle = 0.0;
    HM_MODL_ask_distance_tolerance(&distance);
    HM_MODL_ask_angle_tolerance(&angle);
    tolerance[0] = distance;
    tolerance[1] = angle;
    tolerance[2] = tolerance[3] = 1.0;
    // The unit factor: the host answers 1 (millimetres) or 2 (inches), never
    // 0, so a part always gets 1.0; only a session without a work part gets 0.0254.
    const tag_t part = HM_ASSEM_ask_work_part();
    int units = 1;
    if (part != NULL_TAG) HM_PART_ask_units(part, &units);
    tolerance[4] = part == NULL_TAG ? 0.0254 : (units == 0 ? 2.54 : 1.0);
    tolerance[5] = tolerance[6] = 0.0001;
    tolerance[7] = 0.0;
    tolerance[8] = tolerance[9] = 1.0;
    tolerance[10] = 0.01;
}

int HM_VD_ipv_disperse_curve(tag_t curve, int n, double*** points) {
    return ipv_disperse_curve_reversed(curve, false, n, points);
}

int HM_VD_ipv_ask_curve_points(tag_t curve, int method, int order, int* count, double*** points) {
    if (!count || !points) return -1;
    *count = 0;
    *points = nullptr;
    if (curve == NULL_TAG) return -1;
    int r = 0;
    if (method == 0) {
        r = HM_VD_ipv_disperse_curve(curve, kSamplesPerCurve, points);
        if (r == 0) *count = kSamplesPerCurve;
    } else {
        r = ipv_ask_chord_points(curve, count, points);
    }
    if (r == 0 && order == -1) detail::reverse_point_array(*count, *points);
    return r;
}

int HM_VD_ipv_is_planar_curve(tag_t curve, bool* planar) {
    if (!planar) return -1;
    *planar = false;
    if (curve == NULL_TAG) return -1;
    HM_EVAL_p_t evaluator = nullptr;
    if (int r = HM_EVAL_initialize(curve, &evaluator)) return r;
    bool spline = false;
    const int r = HM_EVAL_is_spline(evaluator, &spline);
    HM_EVAL_free(evaluator);
    if (r != 0) return r;
    if (!spline) {
        *planar = true;
        return 0;
    }
    double** pts = nullptr;
    if (int d = HM_VD_ipv_disperse_curve(curve, kSamplesPerCurve, &pts)) return d;
    double origin[3], normal[3], tol = 0.0;
    HM_MODL_ask_distance_tolerance(&tol);
    bool flat = HM_VD_ask_leastsq_plane(kSamplesPerCurve, pts, origin, normal) == 0;
    for (int i = 0; flat && i < kSamplesPerCurve; ++i) {
        double d = 0.0;
        flat = HM_VEC3_distance_to_plane(pts[i], origin, normal, 1e-10, &d) == 0 && std::fabs(d) <= tol;
    }
    HM_VD_ipv_free_points(kSamplesPerCurve, &pts);
    *planar = flat;
    return 0;
}

int HM_VD_ipv_split_curve(tag_t curve, int k, double** points, hm_list_p_t* pieces) {
    if (!pieces) return -1;
    *pieces = nullptr;
    if (curve == NULL_TAG || k > HM_VD_IPV_MAX_POINTS || !detail::model_point_row(k, points)) return -1;
    std::vector<double> t;
    for (int i = 0; i < k; ++i) {
        double parm = 0.0, foot[3];
        if (int r = HM_MODL_ask_curve_parm(curve, points[i], &parm, foot)) return r;
        t.push_back(parm);
    }
    ipv_sort_reals(static_cast<int>(t.size()), t.data());
    if (t.empty() || t.front() >= kSplitEndSnap)
        t.insert(t.begin(), 0.0);
    else
        t.front() = 0.0;
    if (t.back() <= 1.0 - kSplitEndSnap)
        t.push_back(1.0);
    else
        t.back() = 1.0;
    ipv_sort_reals(static_cast<int>(t.size()), t.data());
    detail::HostList list;
    if (int r = HM_MODL_create_list(list.out())) return r;
    for (size_t i = 0; i + 1 < t.size(); ++i) {
        const double parms[2] = {t[i], t[i + 1]};
        if (parms[1] - parms[0] <= 0.0) continue;
        tag_t piece = NULL_TAG;
        if (ipv_layer_curve_piece(curve, parms, &piece) == 0 && piece != NULL_TAG)
            HM_MODL_put_list_item(list.get(), piece);
    }
    *pieces = list.release();
    return 0;
}

int HM_VD_ipv_create_spline(int n, double** points, int closed, tag_t* spline) {
    if (!spline) return -1;
    *spline = NULL_TAG;
    constexpr int kOrder = 4;
    const bool is_closed = closed == 1;
    if (n < (is_closed ? 2 : kOrder) || n > HM_VD_IPV_MAX_POINTS || !detail::model_point_row(n, points)) return -1;
    const int poles = is_closed ? n + 3 : n;
    // Clamped uniform knots: the curve starts at the first pole and ends at
    // the last, so a closed row (the first point repeated) closes.
    std::vector<double> knots(poles + kOrder);
    for (int i = 0; i < poles + kOrder; ++i)
        knots[i] = i < kOrder ? 0.0 : (i >= poles ? 1.0 : static_cast<double>(i - 3) / (poles - 3));
    std::vector<double> weighted(4 * poles);
    for (int i = 0; i < poles; ++i) {
        const double* p = points[i < n ? i : 0];
        if (!p) return -1;
        for (int k = 0; k < 3; ++k) weighted[4 * i + k] = p[k];
        weighted[4 * i + 3] = 1.0;
    }
    return HM_CURVE_create_spline(poles, kOrder, knots.data(), weighted.data(), spline);
}
