// Small helpers on points and vectors held as double[3], and on rows of them.
#ifndef CARVELL_TOOLBOX_DETAIL_VEC3_H
#define CARVELL_TOOLBOX_DETAIL_VEC3_H

#include <cmath>

namespace carvell::detail {

// Copies the three coordinates; from and to may be the same array.
inline void copy3(const double* from, double* to) {
    for (int i = 0; i < 3; ++i) to[i] = from[i];
}

// Distance between two points.
inline double distance3(const double* a, const double* b) {
    return std::sqrt((a[0] - b[0]) * (a[0] - b[0]) + (a[1] - b[1]) * (a[1] - b[1]) + (a[2] - b[2]) * (a[2] - b[2]));
}

// Reverses the order of the n points of the row in place by swapping
// coordinates (the pointers stay). A null row: nothing.
void reverse_point_array(int n, double** points);

}  // namespace carvell::detail

#endif
