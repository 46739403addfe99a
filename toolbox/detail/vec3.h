// Small helpers on points and vectors held as double[3], and on rows of them.
#ifndef CARVELL_TOOLBOX_DETAIL_VEC3_H
#define CARVELL_TOOLBOX_DETAIL_VEC3_H

namespace carvell::detail {

// Copies the three coordinates; from and to may be the same array.
inline void copy3(const double* from, double* to) {
    for (int i = 0; i < 3; ++i) to[i] = from[i];
}

// Reverses the order of the n points of the row in place by swapping
// coordinates (the pointers stay). A null row: nothing.
void reverse_point_array(int n, double** points);

}  // namespace carvell::detail

#endif
