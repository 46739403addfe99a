// Small helpers on points and vectors held as double[3].
#ifndef CARVELL_TOOLBOX_DETAIL_VEC3_H
#define CARVELL_TOOLBOX_DETAIL_VEC3_H

namespace carvell::detail {

// Copies the three coordinates; from and to may be the same array.
inline void copy3(const double* from, double* to) {
    for (int i = 0; i < 3; ++i) to[i] = from[i];
}

}  // namespace carvell::detail

#endif
