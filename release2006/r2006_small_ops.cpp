// Small operations of the 2006 release: the object manager's log of an
// object, the slope sign of two segments, clearing a vector, and reversing
// rows of points.
#include "r2006_small_ops.h"

#include "toolbox/detail/vec3.h"

#include "quillon.h"

#include <cmath>
#include <utility>

namespace carvell::r2006 {

namespace {
// |d| below this: the slopes agree.
constexpr double kSameSlope = 1e-5;
constexpr double kRising = 1e-6;
}  // namespace

void om_log_unless_flagged(void* object) { OM__log(object); }

int segment_slope_sign(const double a[6], int* sign, const double b[6]) {
    const double d = (b[5] - b[2]) * (b[3] - b[0]) - (a[5] - a[2]) * (a[3] - a[0]);
    const int s = std::fabs(d) < kSameSlope ? 0 : (d <= kRising ? -1 : 1);
    if (sign) *sign = s;
    return s;
}

void vec3_zero(double v[3]) { v[0] = v[1] = v[2] = 0.0; }

// The release's own name for the toolbox's reversal, which does the same.
void reverse_point_array(int n, double** points) { detail::reverse_point_array(n, points); }

void reverse_xyz_array(int n, double (*points)[3]) {
    if (!points) return;
    for (int i = 0; i < n / 2; ++i)
        for (int k = 0; k < 3; ++k) std::swap(points[i][k], points[n - 1 - i][k]);
}

}  // namespace carvell::r2006
