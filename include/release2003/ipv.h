// Instrument-panel visibility utilities of the 2003 release: the splines
// through points that its instrument-panel tool draws with.
#ifndef CARVELL_RELEASE2003_IPV_H
#define CARVELL_RELEASE2003_IPV_H

#include "carvell_export.h"
#include "host_types.h"

// A spline through the n points (n pointers to three doubles) in order, one
// through-point record a point (no slope, no curvature), closed when
// periodic is 1, of degree 1 for two points, 2 for three and 3 otherwise.
// *spline is set to 0 first; the host's code (0 when the spline was made),
// -1 for a null row, point or output, n < 2 or a coordinate that is not
// finite.
CARVELL_C_EXPORT int HM_VD_ipv_create_spline_thru_points(int n, double** points, int periodic, tag_t* spline);
// The same of the caller's degree (1 to 3; 0 chooses it as above).
CARVELL_C_EXPORT int ipv_create_spline_thru_points(int n, double** points, int periodic, int degree, tag_t* spline);

#endif
