// Rows of points.
#include "toolbox/detail/vec3.h"

#include <utility>

namespace carvell::detail {

void reverse_point_array(int n, double** points) {
    if (!points) return;
    for (int i = 0; i < n / 2; ++i)
        for (int k = 0; k < 3; ++k) std::swap(points[i][k], points[n - 1 - i][k]);
}

}  // namespace carvell::detail
