// Finiteness checks of the curve and spline functions. The current release
// takes these functions from the host's automotive helper library, which
// builds this folder alone: it cannot reach the library's shared internal
// layer (toolbox/detail), so the few checks the curve functions need are
// kept here, in the same terms as the shared ones.
#ifndef CARVELL_CURVES_CURVES_FINITE_H
#define CARVELL_CURVES_CURVES_FINITE_H

#include <cmath>
#include <cstddef>

namespace carvell::curves {

// True when the n values are present and all finite (neither NaN nor infinite).
inline bool all_finite(const double* v, int n) {
    if (!v || n < 0) return false;
    for (int i = 0; i < n; ++i)
        if (!std::isfinite(v[i])) return false;
    return true;
}

// A point or vector of three doubles: present and finite.
inline bool finite3(const double* p) { return all_finite(p, 3); }

// Most points one spline is put through: every one is copied into a record
// block of the host's memory manager, and far beyond this the interpolation
// no longer finishes in a design session's time.
constexpr int kMaxSplinePoints = 100000;

}  // namespace carvell::curves

#endif
