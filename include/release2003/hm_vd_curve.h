// Curve and spline functions as the 2003 release holds them: the point of a
// curve at a normalised parameter, the projection along a vector by the
// host's projected-curve feature, the closed spline through a flat row of
// points, and the points where curves cross a plane. The release exports the
// projection and the closed spline; the others are used inside it.
// Beside include/hm_vd_curve.h, which the 2003 build does not see: a call
// written for a current form does not compile here.
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

// Projects the point along the direction onto the target (a face, a body
// through its faces, a plane or a datum plane) with the host's projected-
// curve feature of a point, writing into `out` the nearest point where the
// line through the point meets the target (either way along the
// direction): 0, -1 when the projection gives nothing, or the host's code
// (HM_ERR_BAD_ARGUMENT also for a direction of length 0); the feature and
// its temporary point leave the part on every path.
CARVELL_C_EXPORT int HM_VD_CURVE_project_point_along_vector(const double point[3], const double direction[3],
                                                            tag_t target, double out[3]);

// A closed (periodic) spline through the first n - 1 of the n points of the
// flat row (three doubles a point; the last point of a closed outline
// repeats the first), of the degree chosen from n: 1 for 2 points, 2 for 3,
// otherwise 3. The host's code; *spline is 0 when none was made; -1 for
// n < 3, a null row or output, or a coordinate that is not finite.
CARVELL_C_EXPORT int HM_VD_create_spline_thru_points_by_degree(int n, const double* points, tag_t* spline);
// A spline through the n points (n pointers to three doubles), closed with
// periodic 1 (a last point within 1e-10 of the first is dropped), of the
// degree chosen from the count. The host's result; *spline is 0 when none
// was made.
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
