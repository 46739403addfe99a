// The degree-1 spline through landing points that the stone-impingement
// results are drawn with. Kept in a file of its own because the 2003 release
// builds it on its own spline export.
#include "hm_vd.h"
#include "hm_vd_curve.h"
#include "hm_vd_si.h"

#include "omvra.h"

#include <vector>

int VD_CURVE_create_linear(double points[][3], int n, int colour, tag_t* curve) {
    if (!curve) return -1;
    *curve = 0;
    if (!points || n < 2 || n > HM_VD_MAX_SAMPLED_POINTS) return -1;
    std::vector<double*> copies;
    for (int i = 0; i < n; ++i) copies.push_back(points[i]);
    const int status = HM_VD_create_spline_thru_points_by_degree(n, copies.data(), 0, 1, 1, curve);
    if (*curve) HM_OBJ_set_color(*curve, colour);
    return status;
}
