// Curve and spline functions: the point of a curve at a normalised parameter,
// splines through points and the points where curves cross a plane.
#ifndef CARVELL_HM_VD_CURVE_H
#define CARVELL_HM_VD_CURVE_H

#include "carvell_export.h"
#include "host_types.h"

// Points and vectors are double[3] in absolute coordinates. Every function
// answers HM_ERR_NULL_POINTER for a null pointer (also a null entry of a
// row of points) and HM_ERR_BAD_ARGUMENT for a coordinate or parameter that
// is not finite (NaN, infinite), before anything is built; a result that
// comes out not finite is a failure (HM_ERR_GEOMETRY), never written.

// The curve's point at the normalised parameter t (0 start, 1 end); the host's result.
CARVELL_C_EXPORT int HM_VD_CURVE_ask_point_on_curve(tag_t curve, double t, double point[3]);

// Projects the point along the direction onto a face, a solid or sheet body
// (its faces) or a plane, writing the hit nearest to the point into `out`:
// 0, -1 when nothing is hit, or the code of a host error (875033 for a target
// of another kind). On any non-zero result the model is as before the call.
CARVELL_C_EXPORT int HM_VD_CURVE_project_point_along_vector(const double point[3], const double direction[3],
                                                            tag_t target, double out[3]);

// Spline through the n points (n pointers to three doubles). With periodic 1 a
// last point within 1e-10 of the first is dropped. Degree 0 chooses it from
// the remaining count: 1 for 2 points, 2 for 3, otherwise 3. The flag is
// handed to the host. The host's result; *spline is 0 when none was made.
// HM_ERR_BAD_ARGUMENT for more than 100000 points.
CARVELL_C_EXPORT int HM_VD_create_spline_thru_points_by_degree(int n, double** points, int periodic, int degree,
                                                               int flag, tag_t* spline);
// The same with the automatic degree and flag 0.
CARVELL_C_EXPORT int HM_VD_create_spline_thru_points(int n, double** points, int periodic, tag_t* spline);

// Points where the n curves cross the plane through the point with the
// normal, curve after curve, each curve's points in ascending parameter.
// *points is an SM_realloc'd array of *count pointers to SM_alloc'd points of
// three doubles (null for none); the caller frees each point and the array.
// The result of the last intersection call; 0 when n is below 1.
// HM_ERR_NULL_POINTER (count 0, null row) for a null array, point or normal.
CARVELL_C_EXPORT int HM_VD_ask_intersect_point_curve_plane(const tag_t* curves, int n, const double point[3],
                                                           const double normal[3], int* count, double*** points);

#endif
