// Spline functions of the 2003 release: the closed spline through a flat row
// of points that its mirror certification draws outlines with, and the
// spline through point rows that its windshield and instrument-panel code
// use inside the release.
#include "curves/curves_finite.h"
#include "curves/curves_spline_rows.h"
#include "hm_vd_curve.h"

#include "host_types.h"

#include <vector>

namespace curves = carvell::curves;

int HM_VD_create_spline_thru_points_by_degree(int n, const double* points, tag_t* spline) {
    if (spline) *spline = 0;
    if (!spline || !points || n < 3 || n > curves::kMaxSplinePoints) return -1;
    if (!curves::all_finite(points, 3 * n)) return -1;
    // Through the first n - 1 points: the last repeats the first and the
    // spline closes on its own. The degree is chosen from n.
    std::vector<double*> rows;
    rows.reserve(static_cast<size_t>(n - 1));
    for (int i = 0; i + 1 < n; ++i) rows.push_back(const_cast<double*>(points + 3 * i));
    const int degree = n == 2 ? 1 : (n == 3 ? 2 : 3);
    return curves::spline_through_rows(n - 1, rows.data(), 1, degree, 0, spline);
}

int HM_VD_create_spline_thru_points(int n, double** points, int periodic, tag_t* spline) {
    return curves::spline_through_rows(n, points, periodic, 0, 0, spline);
}
