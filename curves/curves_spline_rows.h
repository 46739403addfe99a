// The spline through a row of points as every release's spline functions
// build it: one through-point record a point (no slope, no curvature) handed
// to the host's spline creation.
#ifndef CARVELL_CURVES_CURVES_SPLINE_ROWS_H
#define CARVELL_CURVES_CURVES_SPLINE_ROWS_H

#include "host_types.h"

namespace carvell::curves {

// A spline through the n points (n pointers to three doubles) in order. With
// periodic 1 a last point within 1e-10 of the first is dropped. Degree 0
// chooses it from the remaining count: 1 for 2 points, 2 for 3, otherwise 3.
// The flag is handed to the host. The host's result; *spline is 0 when none
// was made. Null or not finite entries, and rows longer than
// kMaxSplinePoints, are refused before anything is built.
int spline_through_rows(int n, double** points, int periodic, int degree, int flag, tag_t* spline);

}  // namespace carvell::curves

#endif
