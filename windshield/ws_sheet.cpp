// Sheet trimming with the widened-tolerance retry, the single region around a
// reference point, and the sampling of curves into the record's point lists.
#include "ws_internal.h"

#include "hm_vd.h"
#include "hm_vd_curve.h"
#include "quillon.h"
#include "toolbox/detail/finite.h"
#include "toolbox/detail/owners.h"
#include "toolbox/detail/undo_scope.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

using carvell::windshield::ws_trace;

// Gaps of a failed trim may be closed by a tolerance this much above the
// largest, provided the result stays below kRetryCeiling times the first.
constexpr double kRetryFactor = 1.2;
constexpr double kRetryCeiling = 10.0;
constexpr double kGapSlack = 1e-10;
// The projection method that carries the bounds along its direction.
constexpr int kAlongDirection = 2;

// The largest gap (pairs (2k, 2k+1) of the gap points), at least `tolerance`.
double largest_gap(int gap_count, const double* gaps, double tolerance) {
    double largest = tolerance;
    for (int k = 0; k < gap_count / 2; ++k) {
        const double* a = gaps + 6 * k;
        const double* b = a + 3;
        const double d = std::sqrt((a[0] - b[0]) * (a[0] - b[0]) + (a[1] - b[1]) * (a[1] - b[1]) +
                                   (a[2] - b[2]) * (a[2] - b[2]));
        ws_trace("\n +++ dist[%d] = %f", k, d);
        if (d > largest + kGapSlack) largest = d;
    }
    return largest;
}

// The trim's input that is refused before the host is asked (0 when it can
// be used): a sheet, one point to keep, a usable tolerance and direction.
int refused_trim(tag_t sheet, int bound_count, const HM_MODL_proj_method_t* projection, int keep_count,
                 int point_count, const double* points, double tolerance) {
    using carvell::detail::in_model_space;
    if (sheet == NULL_TAG) return HM_ERR_INVALID_TAG;
    if (bound_count < 1 || !carvell::detail::count_fits(bound_count, sizeof(HM_MODL_trim_object_t)) ||
        keep_count != 1 || point_count != 1)
        return HM_ERR_BAD_ARGUMENT;
    if (!in_model_space(points, 3) || !in_model_space(&tolerance, 1) || !(tolerance > 0.0)) return HM_ERR_BAD_ARGUMENT;
    if (projection && projection->proj_type == kAlongDirection &&
        !(in_model_space(projection->direction, 3) &&
          std::fabs(projection->direction[0]) + std::fabs(projection->direction[1]) +
                  std::fabs(projection->direction[2]) > 0.0))
        return HM_ERR_BAD_ARGUMENT;
    return 0;
}

}  // namespace

int HM_VD_WS_trim_sheet(tag_t sheet, int bound_count, const HM_MODL_trim_object_t* bounds,
                        const HM_MODL_proj_method_t* projection, int keep_count, int point_count,
                        const double* points, double tolerance, int* gap_count, double** gap_points) {
    if (!bounds || !points || !gap_count || !gap_points) return HM_ERR_NULL_POINTER;
    *gap_count = 0;
    *gap_points = nullptr;
    if (int r = refused_trim(sheet, bound_count, projection, keep_count, point_count, points, tolerance)) return r;
    auto trim = [&](double tol) {
        try {
            return HM_MODL_trim_sheet(sheet, bound_count, bounds, projection, keep_count, point_count, points, tol,
                                      gap_count, gap_points);
        } catch (...) {
            // A trim that threw has failed: its own code, never a success.
            ws_trace("\n +++can I catch the failure of HM_MODL_trim_sheet?");
            SM_free(*gap_points);
            *gap_points = nullptr;
            *gap_count = 0;
            const int code = carvell::detail::caught_code(carvell::windshield::kSource, __LINE__);
            return code != 0 ? code : HM_ERR_GEOMETRY;
        }
    };
    // A trim that threw reports no gaps, so it is never retried.
    int code = trim(tolerance);
    if (code == 0 || *gap_count < 1 || !*gap_points) return code;
    ws_trace("\n +++HM_MODL_trim_sheet failed, num_gaps = %d, tol =%f", *gap_count, tolerance);
    const double retry = kRetryFactor * largest_gap(*gap_count, *gap_points, tolerance);
    if (!(retry < kRetryCeiling * tolerance + kGapSlack)) return code;
    ws_trace("\n +++try one more time HM_MODL_trim_sheet using larger tolerance %f", retry);
    SM_free(*gap_points);
    *gap_points = nullptr;
    *gap_count = 0;
    code = trim(retry);
    if (code != 0) ws_trace("\n +++HM_MODL_trim_sheet still failed,  num_gaps = %d", *gap_count);
    return code;
}

namespace carvell::windshield {

int ws_ask_chain_mid_point(const std::vector<tag_t>& curves, double point[3]) {
    if (curves.empty()) return -1;
    if (int r = HM_VD_CURVE_ask_point_on_curve(curves[0], 0.5, point)) return r;
    for (size_t i = 1; i < curves.size(); ++i) {
        double q[3];
        if (int r = HM_VD_CURVE_ask_point_on_curve(curves[i], 0.5, q)) return r;
        double mid[3];
        HM_VD_create_point_in_two_points(point, q, 0.5, mid);
        std::copy(mid, mid + 3, point);
    }
    return 0;
}

int trim_to_single_wiped_area(tag_t sheet, int curve_count, const tag_t* curves, bool use_point,
                              const double point[3]) {
    if (curve_count < 1 || !curves || (use_point && !point)) return -1;
    double reference[3];
    if (use_point) {
        std::copy(point, point + 3, reference);
    } else if (int r = ws_ask_chain_mid_point(std::vector<tag_t>(curves, curves + curve_count), reference)) {
        return r;
    }
    ws_trace("\n +++trim_to_single_wiped_area refererence point is point(%f, %f, %f)", reference[0], reference[1],
             reference[2]);
    std::vector<HM_MODL_trim_object_t> bounds(curve_count);
    for (int i = 0; i < curve_count; ++i) bounds[i] = {curves[i], 1};
    HM_MODL_proj_method_t projection{};
    double tolerance = 0.0;
    (void)HM_MODL_ask_distance_tolerance(&tolerance);
    int gap_count = 0;
    detail::SmBlock<double> gaps;
    const int code = HM_VD_WS_trim_sheet(sheet, curve_count, bounds.data(), &projection, 1, 1, reference, tolerance,
                                         &gap_count, gaps.out());
    ws_trace("\n +++trim_to_single_wiped_area return %d", code);
    return code;
}

int ws_sample_curve_list(const std::vector<tag_t>& curves, int n, int& count, int*& point_counts,
                         double***& points) {
    if (n < 2) return -1;
    for (tag_t curve : curves) {
        std::vector<std::vector<double>> sampled(n, std::vector<double>(3));
        for (int i = 0; i < n; ++i) {
            double tangent[3], normal[3], binormal[3], torsion, radius;
            if (int r = HM_MODL_ask_curve_props(curve, double(i) / (n - 1), sampled[i].data(), tangent, normal,
                                                binormal, &torsion, &radius))
                return r;
        }
        group_append(count, point_counts, points, sampled);
    }
    return 0;
}

int ws_curve_points_between(tag_t curve, const double p1[3], const double p2[3], int n,
                            std::vector<std::vector<double>>& points) {
    points.clear();
    if (n < 2 || !p1 || !p2) return -1;
    double t1, t2, foot[3];
    if (int r = HM_MODL_ask_curve_parm(curve, p1, &t1, foot)) return r;
    if (int r = HM_MODL_ask_curve_parm(curve, p2, &t2, foot)) return r;
    const double low = std::min(t1, t2), high = std::max(t1, t2);
    points.assign(n, std::vector<double>(3));
    for (int i = 0; i < n; ++i) {
        double tangent[3], normal[3], binormal[3], torsion, radius;
        if (int r = HM_MODL_ask_curve_props(curve, low + i * (high - low) / (n - 1), points[i].data(), tangent,
                                            normal, binormal, &torsion, &radius)) {
            points.clear();
            return r;
        }
    }
    return 0;
}

}  // namespace carvell::windshield
