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

// Distance of the point p from the segment a-b (from a when a and b coincide).
inline double distance_to_segment3(const double* a, const double* b, const double* p) {
    double ab[3], ap[3];
    for (int c = 0; c < 3; ++c) ab[c] = b[c] - a[c], ap[c] = p[c] - a[c];
    const double length2 = ab[0] * ab[0] + ab[1] * ab[1] + ab[2] * ab[2];
    double s = length2 > 0.0 ? (ap[0] * ab[0] + ap[1] * ab[1] + ap[2] * ab[2]) / length2 : 0.0;
    s = s < 0.0 ? 0.0 : (s > 1.0 ? 1.0 : s);
    const double d[3] = {ap[0] - s * ab[0], ap[1] - s * ab[1], ap[2] - s * ab[2]};
    return std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
}

// Reverses the order of the n points of the row in place by swapping
// coordinates (the pointers stay). A null row: nothing.
void reverse_point_array(int n, double** points);

}  // namespace carvell::detail

#endif
