// Result curves of stone impingement: the reading of a contour's angle back
// from its name. The result curve maker is in si_result_style.cpp, the
// degree-1 spline through landing points in si_linear_curve.cpp.
#include "si_internal.h"

#include "hm_vd.h"
#include "toolbox/detail/finite.h"
#include "toolbox/detail/owners.h"

#include "omvra.h"

#include <cmath>
#include <cstdio>

using namespace carvell::stone;
namespace detail = carvell::detail;

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
