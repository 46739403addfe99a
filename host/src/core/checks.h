// The host's one check of the numbers its entry points are given: every
// coordinate, vector component, matrix entry and scalar length must be
// finite and inside the model space, so that no kernel call and no sum of
// squares overflows. Entry points answer HM_ERR_BAD_ARGUMENT for anything
// else. Results that come out non-finite fail the same way.
// Internal to the stand-in.
#ifndef CARVELL_HOST_CHECKS_H
#define CARVELL_HOST_CHECKS_H

#include "host_types.h"

#include <cmath>
#include <cstddef>

namespace host {

// Largest magnitude of a coordinate or vector component the host models, in
// part units (a million kilometres in millimetres): beyond any vehicle or
// its surroundings, small enough that squares and products stay finite.
constexpr double kModelSpaceLimit = 1.0e12;

// The largest block the memory manager hands out: 1 GiB, far above what a
// design call needs; a larger request (a count gone wrong) answers null at
// once instead of paging through gigabytes.
constexpr size_t kMaxBlockBytes = size_t{1} << 30;

// A finite value inside the model space.
inline bool finite_value(double x) { return std::isfinite(x) && std::fabs(x) <= kModelSpaceLimit; }

// n finite values inside the model space (a point, a vector, a matrix).
inline bool finite_values(const double* v, int n) {
    for (int i = 0; i < n; ++i)
        if (!finite_value(v[i])) return false;
    return true;
}

inline bool finite3(const double v[3]) { return finite_values(v, 3); }

// The status of an entry point that computed n values into out: 0 when all
// are finite; otherwise (an input of NaN or infinity, or a result that
// overflowed) the values are zeroed and the answer is HM_ERR_BAD_ARGUMENT,
// never success with NaN.
inline int finite_answer(double* out, int n) {
    bool ok = true;
    for (int i = 0; i < n; ++i) ok = ok && std::isfinite(out[i]);
    if (ok) return 0;
    for (int i = 0; i < n; ++i) out[i] = 0.0;
    return HM_ERR_BAD_ARGUMENT;
}

}  // namespace host

#endif
