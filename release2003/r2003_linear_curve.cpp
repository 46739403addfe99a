// The degree-1 spline of the 2003 release's result curves, and the stone
// impingement's linear curve, which forwards to it.
#include "curves/curves_finite.h"
#include "curves/curves_spline_rows.h"
#include "hm_vd.h"
#include "hm_vd_si.h"
#include "release2003/si_rd.h"

#include "omvra.h"

#include <vector>

int VD_create_spline_thru_points(double points[][3], int n, bool periodic, int colour, tag_t* spline) {
    if (!spline) return -1;
    *spline = 0;
    if (!points || n < 2 || n > HM_VD_MAX_SAMPLED_POINTS) return -1;
    if (!carvell::curves::all_finite(points[0], 3 * n)) return -1;
    // One record a point; a closed spline repeats the first point's record
    // after the others.
    std::vector<double*> rows;
    rows.reserve(static_cast<size_t>(n) + 1);
    for (int i = 0; i < n; ++i) rows.push_back(points[i]);
    if (periodic) rows.push_back(points[0]);
    const int status = carvell::curves::spline_through_rows(static_cast<int>(rows.size()), rows.data(),
                                                            periodic ? 1 : 0, 1, 1, spline);
    if (*spline) HM_OBJ_set_color(*spline, colour);
    return status;
}

int VD_CURVE_create_linear(double points[][3], int n, int colour, tag_t* curve) {
    return VD_create_spline_thru_points(points, n, false, colour, curve);
}
