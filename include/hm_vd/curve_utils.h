// Curve utilities of the geometry toolbox: the curve-type test, loops and
// chain status of curve sets, joining, sampling, trimming and splitting at
// corners, closed corner-preserving splines, ellipses and their tangents,
// arc length of curve sets and curves from edges.
//
// Curve parameters are normalised ([0, 1] over the whole curve). Arrays handed
// back are allocated with the host's memory manager; the caller frees them
// with SM_free (or HM_free).
// A null output pointer (or a null input array) is never followed: the call
// does nothing and answers HM_ERR_NULL_POINTER, or -1 where the results are
// 0 and -1, or 0.0 for the arc length. Coordinates, parameters and
// tolerances that are not finite (NaN, infinite) are refused the same way,
// as are null entries in arrays of points; a result that would come out not
// finite is a failure, never written as a success.
#ifndef CARVELL_HM_VD_CURVE_UTILS_H
#define CARVELL_HM_VD_CURVE_UTILS_H

#include "carvell_export.h"
#include "host_types.h"

#include <stdbool.h>

// True for lines, arcs, conics, splines (types 3, 5, 6, 7, 9) and edges
// (type 70, subtype 3); false otherwise or when the type cannot be asked.
CARVELL_C_EXPORT bool HM_VD_is_curve(tag_t object);

// Groups the list's curves into end-to-end loops within the tolerance. Closed
// loops come first. The caller frees each (*loops)[i], then *loops and
// *curves_per_loop. Returns 0.
CARVELL_C_EXPORT int HM_VD_CURVE_make_loop_curve(hm_list_p_t list, double tolerance, int* loop_count,
                                                 int* closed_count, int** curves_per_loop, tag_t*** loops);

// The same for an array of n curves.
CARVELL_C_EXPORT int HM_VD_CURVE_make_loop_curve_from_array(const tag_t* curves, int n, double tolerance,
                                                            int* loop_count, int* closed_count,
                                                            int** curves_per_loop, tag_t*** loops);

// Status of the list's chain: 0 one closed loop, 1 one open chain, 2 several
// loops all closed, 3 several loops not all closed. Returns 0; -1 for a null
// or empty list (status untouched) or for an item that is not a curve
// (status -1).
CARVELL_C_EXPORT int HM_VD_CURVE_ask_curve_chain_status(hm_list_p_t list, double tolerance, int* status);

// 1 when the two points coincide within the tolerance, else 0.
CARVELL_C_EXPORT int HM_VD_CURVE_is_coinside_point(const double p1[3], const double p2[3], double tolerance);

// Replaces *list by a new list of its loops: a loop of one curve as it is, a
// loop of several curves joined into one new curve (the joined curves stay in
// the part). The part's distance tolerance is the same afterwards.
CARVELL_C_EXPORT int HM_VD_CURVE_join_curves(hm_list_p_t* list, double tolerance);

// Most points HM_VD_simple_curve_points and
// HM_VD_curve_disperse_param_points sample in one call: each is a
// block of its own, and a million already takes seconds to evaluate.
#define HM_VD_MAX_SAMPLED_POINTS 1000000

// Writes the curve's points at parameters i / n, i = 0..n, into points[i]
// (the caller's n + 1 points) and sets *count to n + 1. n below 0: count 0,
// result 0; n = 0: count 0, result -1. Otherwise 0 or the first host failure
// (count not written); -1 (count 0) for n + 1 above HM_VD_MAX_SAMPLED_POINTS;
// HM_ERR_NULL_POINTER (count not written) at the first null entry among the
// n + 1.
CARVELL_C_EXPORT int HM_VD_curve_disperse_param_points(tag_t curve, int n, int* count, double** points);

// Samples the curve with k equal parameter steps per smooth piece. The row
// holds *point_count points (each a block of three doubles); the break array
// holds the row index where each piece starts or ends (0 first, the last
// point last). The caller frees each point, the row and the break array.
// k below 1, a row of more than HM_VD_MAX_SAMPLED_POINTS points (checked
// before the count is worked out) or a failed evaluation: counts 0 and null
// arrays.
CARVELL_C_EXPORT void HM_VD_simple_curve_points(tag_t curve, int k, int* point_count, double*** points,
                                                int* break_count, int** breaks);

// Closed curve through n points (packed, three doubles each) with corners at
// the break indices: one periodic spline for a single piece, otherwise a
// spline per piece joined into one curve. The row is thinned at the part's
// distance tolerance first. Returns the host result of the last spline or
// join; -1 (nothing built, *curve 0) when the breaks do not run ascending
// from 0 to n - 1, or for points that are not finite or too many for one
// block (kMaxBlockBytes of the shared layer, 1 GiB).
CARVELL_C_EXPORT int HM_VD_create_closed_spline_c0(int n, const double* points, int break_count,
                                                   const int* breaks, tag_t* curve);

// New curve for the part of the curve between two normalised parameters.
// Returns 0, or the host's failure with *new_curve 0 (HM_ERR_BAD_ARGUMENT for
// a parameter that is not finite).
CARVELL_C_EXPORT int HM_VD_CURVE_trim_curve_by_parms(tag_t curve, const double parms[2], tag_t* new_curve);

// Splits the curve at its C0 corners into new curves (one copy of the curve
// when it has no corner). The caller frees the array.
CARVELL_C_EXPORT void HM_VD_CURVE_divide_curve_by_c0_knots(tag_t curve, int* count, tag_t** pieces);

// Ellipse arc about the centre with semi-axis a along x_dir and b along
// y_dir, between the two angles of range (radians). The work coordinate
// system is left as it was. Returns 0, or -1 (range end below its start, or
// the conic could not be made, or a value that is not finite).
CARVELL_C_EXPORT int HM_VD_curve_create_ellipse(const double centre[3], double a, const double x_dir[3], double b,
                                                const double y_dir[3], const double range[2], tag_t* ellipse);

// Tangent points from the 2-D point to the origin-centred ellipse with
// semi-axes a (x) and b (y), kept within the angular range (degrees).
// tolerances: distance, angle (degrees). points: two 2-D points. Returns 0;
// HM_ERR_NULL_POINTER for a null pointer; HM_ERR_BAD_ARGUMENT (count 0) for
// an axis of length 0, a value that is not finite, or tangent points that
// would not be finite.
CARVELL_C_EXPORT int HM_VD_ellipse_tangents_2d(double a, double b, const double range[2], const double point[2],
                                               const double tolerances[2], int* count, double points[4]);

// Total arc length of the curves (types 3, 5, 6, 7, 9) among the objects.
CARVELL_C_EXPORT double HM_VD_ask_curve_array_length(int n, const tag_t* objects);

// New list of the body's boundary edges (edges of fewer than two faces): the
// edges themselves (make_curves false) or new curves made from them.
CARVELL_C_EXPORT int HM_VD_create_curves_by_boundary_edges(tag_t body, bool make_curves, hm_list_p_t* list);

// New curve object from an edge; returns the host status.
CARVELL_C_EXPORT int VD_create_curve_from_edge(tag_t edge, tag_t* curve);

// Replaces *list by a new list in which every edge became a new curve (other
// items kept, in order); the new curves are also appended to *new_curves
// (created when null). The old list is deleted.
CARVELL_C_EXPORT void HM_VD_convert_edge_to_curve(hm_list_p_t* list, hm_list_p_t* new_curves);

#endif
