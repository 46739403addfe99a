// The vehicle-design core's contour angles of a stone-impingement run: an
// arithmetic row of angles from a first angle, a last angle and a step.
#include "tessik.h"

#include <cmath>

namespace {
// The row never holds more than this many angles.
constexpr int kMaxContourAngles = 90;
// A last angle reached within this much counts as reached (rounding of the steps).
constexpr double kReachAllowance = 1.0e-9;
}  // namespace

int VD_SI_calculate_num_contour_angle(const double input[3], double* angles, int capacity, int* count) {
    if (!input || !count || (!angles && capacity > 0)) return HM_ERR_NULL_POINTER;
    *count = 0;
    const double first = input[0], last = input[1], step = input[2];
    if (!std::isfinite(first) || !std::isfinite(last) || !std::isfinite(step) || !(step > 0.0) || last < first)
        return 0;
    const int limit = capacity < kMaxContourAngles ? capacity : kMaxContourAngles;
    for (int i = 0; i < limit; ++i) {
        const double angle = first + i * step;
        if (angle > last + kReachAllowance) break;
        angles[i] = angle;
        *count = i + 1;
    }
    return 0;
}
