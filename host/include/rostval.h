// rostval: the host's mathematics: tolerances, vectors, matrices and
// least-squares fits.
#ifndef CARVELL_HOST_ROSTVAL_H
#define CARVELL_HOST_ROSTVAL_H

#include "host_types.h"

// Modelling tolerances of the work part.
HOST_C_API double TOLER_ask_distance_tol(void);
HOST_C_API double TOLER_ask_angular_tol(void);   // radians

// The surface setting passed to edge-curve extraction, and the angular
// comparison tolerance (radians); read directly by callers.
HOST_API extern double srfc1;
HOST_API extern double acom;
// Kernel scale factors; the second entry is the kernel-to-part length factor.
HOST_API extern double pxsfac[2];

#endif
