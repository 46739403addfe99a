// rostval: the host's mathematics: tolerances, vectors, matrices and
// least-squares fits.
#ifndef CARVELL_HOST_ROSTVAL_H
#define CARVELL_HOST_ROSTVAL_H

#include "host_types.h"

enum { HM_ACOM_SIZE = 148 };

// Modelling tolerances of the work part.
HOST_C_API double TOLER_ask_distance_tol(void);
HOST_C_API double TOLER_ask_angular_tol(void);   // radians

// The surface setting passed to edge-curve extraction, and the angular
// comparison tolerance (radians); read directly by callers.
HOST_API extern double srfc1;
HOST_API extern double acom[HM_ACOM_SIZE];   // [0] as above; [147] squared joined-end distance
// Kernel scale factors of the work part, set by its units: pxsfac[0] takes
// part lengths to the kernel's metres (0.001 millimetres, 0.0254 inches),
// pxsfac[1] takes kernel lengths back to the part (1000, 1 / 0.0254).
HOST_API extern double pxsfac[2];
// The 2003 host's names of the same two globals (the same storage); only
// that host defines them.
HOST_API extern double& srfc1_;
HOST_API extern double (&pxsfac_)[2];

// Least-squares fits to n points packed as x, y, z triples. Each answers 0,
// HM_ERR_NULL_POINTER, HM_ERR_BAD_ARGUMENT (too few or non-finite points) or
// HM_ERR_GEOMETRY (the points do not define the shape); nothing is written
// on failure.
// Plane (n >= 3, not all on one line): origin = the points' centroid, unit
// normal. On entry `normal` is a hint: the result points to its side.
HOST_C_API int LSFIT_plane_to_points(int n, const double* points, double origin[3], double normal[3]);
// Sphere (n >= 3, not all on one line), algebraic fit. Coplanar points give
// the minimum-norm solution: the sphere centred in their plane (the circle's
// centre and radius).
HOST_C_API int LSFIT_sphere_to_points_3d(int n, const double* points, double centre[3], double* radius);
// Circle (n >= 3, not all on one line) in the points' least-squares plane.
HOST_C_API int LSFIT_circle_to_points_3d(int n, const double* points, double centre[3], double* radius);

// A frame with its z axis along the vector (as HM_MTX3_initialize_z).
HOST_C_API int MTX3_init_z(const double z_vec[3], double mtx[9]);
// Signed angle from one vector to another about a reference, in [0, 2 pi)
// (as HM_VEC3_angle_between).
HOST_C_API int VEC3_angle_between(const double from[3], const double to[3], const double reference[3],
                                  double* angle);

#endif
