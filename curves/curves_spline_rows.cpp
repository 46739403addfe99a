// The spline through a row of points: the records handed to the host.
#include "curves_spline_rows.h"

#include "curves_finite.h"

#include "omvra.h"
#include "quillon.h"

#include <cmath>

namespace carvell::curves {

int spline_through_rows(int n, double** points, int periodic, int degree, int flag, tag_t* spline) {
    if (spline) *spline = 0;
    if (n < 1 || !points) return HM_CURVE_create_spline_thru_pts(degree, periodic, n, nullptr, nullptr, flag, spline);
    if (!spline) return HM_ERR_NULL_POINTER;
    // Every entry of the row is read: none may be null or hold a number that
    // is not finite, and the row may not be longer than a spline takes.
    if (n > kMaxSplinePoints) return HM_ERR_BAD_ARGUMENT;
    for (int i = 0; i < n; ++i) {
        if (!points[i]) return HM_ERR_NULL_POINTER;
        if (!finite3(points[i])) return HM_ERR_BAD_ARGUMENT;
    }

    // A periodic row whose last point repeats the first spans one point less.
    if (periodic == 1 && n > 1) {
        double distance = 0.0;
        HM_VEC3_distance(points[0], points[n - 1], &distance);
        if (std::fabs(distance) <= 1e-10) --n;
    }
    if (degree == 0) degree = n == 2 ? 1 : (n == 3 ? 2 : 3);

    auto* records = static_cast<HM_CURVE_thru_point_t*>(SM_alloc(n * sizeof(HM_CURVE_thru_point_t)));
    if (!records) return HM_ERR_BAD_ARGUMENT;
    for (int i = 0; i < n; ++i) {
        for (int k = 0; k < 3; ++k) {
            records[i].point[k] = points[i][k];
            records[i].slope[k] = 0.0;
            records[i].crvatr[k] = 0.0;
        }
        records[i].slope_type = -1;
        records[i].crvatr_type = -1;
    }
    int result = HM_CURVE_create_spline_thru_pts(degree, periodic, n, records, nullptr, flag, spline);
    SM_free(records);
    return result;
}

}  // namespace carvell::curves
