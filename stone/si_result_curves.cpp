// Result curves of stone impingement: the degree-1 spline through landing
// points, and the reading of a contour's angle back from its name. The
// result curve maker is in si_result_style.cpp.
#include "si_internal.h"

#include "hm_vd.h"
#include "hm_vd_curve.h"
#include "toolbox/detail/finite.h"
#include "toolbox/detail/owners.h"

#include "omvra.h"

#include <cmath>
#include <cstdio>
#include <vector>

using namespace carvell::stone;
namespace detail = carvell::detail;

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

int HM_VD_SI_ask_angle_of_contour_line(tag_t curve, const double range[2], int* angle) {
    if (!curve || !range || !angle || !detail::all_finite(range, 2)) return -1;
    long value = 0;
    if (!name_as_integer(curve, &value)) return -1;
    const double lo = std::floor(std::fmin(range[0], range[1]));
    const double hi = std::ceil(std::fmax(range[0], range[1]));
    if (value < lo || value > hi) return -1;
    *angle = static_cast<int>(value);
    return 0;
}
