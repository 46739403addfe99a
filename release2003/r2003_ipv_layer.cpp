// The instrument-panel tool's lower layer in the 2003 release: its own
// instrument-panel utilities.
#include "release2003/ipv.h"
#include "vision/ipv_layer.h"

#include "curves/curves_finite.h"
#include "curves/curves_spline_rows.h"

int ipv_create_spline_thru_points(int n, double** points, int periodic, int degree, tag_t* spline) {
    if (!spline) return -1;
    *spline = 0;
    if (!points || n < 2 || n > carvell::curves::kMaxSplinePoints) return -1;
    for (int i = 0; i < n; ++i)
        if (!carvell::curves::finite3(points[i])) return -1;
    if (degree == 0) degree = n == 2 ? 1 : (n == 3 ? 2 : 3);
    return carvell::curves::spline_through_rows(n, points, periodic, degree, 0, spline);
}

int HM_VD_ipv_create_spline_thru_points(int n, double** points, int periodic, tag_t* spline) {
    return ipv_create_spline_thru_points(n, points, periodic, 0, spline);
}

namespace carvell::vision {

int ipv_layer_spline(int n, double** points, int periodic, int degree, tag_t* spline) {
    return ipv_create_spline_thru_points(n, points, periodic, degree, spline);
}

}  // namespace carvell::vision
