// Vector enquiry that the H-point shoe and pedal contact asks of the host:
// the unsigned angle between two vectors.
#include "omvra.h"

#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

}  // namespace

int HM_MODL_ask_vector_angle(const double vec1[3], const double vec2[3], double* smaller_angle,
                             double* larger_angle) {
    if (!vec1 || !vec2 || !smaller_angle || !larger_angle) return HM_ERR_NULL_POINTER;
    for (int i = 0; i < 3; ++i)
        if (!std::isfinite(vec1[i]) || !std::isfinite(vec2[i])) return HM_ERR_BAD_ARGUMENT;
    const double cross[3] = {vec1[1] * vec2[2] - vec1[2] * vec2[1], vec1[2] * vec2[0] - vec1[0] * vec2[2],
                             vec1[0] * vec2[1] - vec1[1] * vec2[0]};
    const double dot = vec1[0] * vec2[0] + vec1[1] * vec2[1] + vec1[2] * vec2[2];
    const double n1 = std::sqrt(vec1[0] * vec1[0] + vec1[1] * vec1[1] + vec1[2] * vec1[2]);
    const double n2 = std::sqrt(vec2[0] * vec2[0] + vec2[1] * vec2[1] + vec2[2] * vec2[2]);
    if (!(n1 > 0.0) || !(n2 > 0.0)) return HM_ERR_BAD_ARGUMENT;
    // atan2 keeps small and nearly straight angles accurate.
    const double angle = std::atan2(std::sqrt(cross[0] * cross[0] + cross[1] * cross[1] + cross[2] * cross[2]), dot);
    *smaller_angle = angle;
    *larger_angle = 2.0 * kPi - angle;
    return 0;
}
