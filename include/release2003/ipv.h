// Instrument-panel visibility utilities of the 2003 release: the lower layer
// of its instrument-panel tool. An eyellipse initialiser that reads the
// instance by rules and stores semi-axes, splines through points, the chain
// of curves, curve trimming, points on planes, mappings into and out of a
// coordinate system through a temporary work coordinate system, the ellipse,
// the section tangent points, the moa ellipse, the ruled sheet and the box
// comparison. Each works in the caller's host session.
#ifndef CARVELL_RELEASE2003_IPV_H
#define CARVELL_RELEASE2003_IPV_H

#include "carvell_export.h"
#include "host_types.h"
#include "hm_vd_vision/eyellipse.h"

// ---- exported ----

// Fills the record from the eyellipse instance at the prefix ("root:EYE:"):
// its name ("%sname:", at most 133 characters with the terminator), then
// the first three centroids ("%sCentroid_coords:", eye types -1, 0, 1), axis
// directions ("%sAxis_dir:") and axis lengths ("%sAxis_Length:"), each
// length halved, so that the record holds the semi-axes. A shorter list
// fills fewer entries and leaves the rest as they were. 0; -1 for a null
// argument or a value not finite or beyond the model space; the host's code
// when the prefix is no instance or an attribute cannot be read. Nothing is
// written unless every attribute was read.
CARVELL_C_EXPORT int HM_VD_ipv_initialize_eyellipse(const char* prefix, vd_eyellipse_t* record);

// The curves of the list as one loop, in loop order, in a new list (the
// caller deletes it). 0; -1 with *chain null for a null list or curves that
// do not form exactly one loop at the distance tolerance.
CARVELL_C_EXPORT int HM_VD_ipv_chain_curves(hm_list_p_t curves, hm_list_p_t* chain);

// A spline through the n points (n pointers to three doubles) in order, one
// through-point record a point (no slope, no curvature), closed when
// periodic is 1, of degree 1 for two points, 2 for three and 3 otherwise.
// *spline is set to 0 first; the host's code (0 when the spline was made),
// -1 for a null row, point or output, n < 2 or a coordinate that is not
// finite.
CARVELL_C_EXPORT int HM_VD_ipv_create_spline_thru_points(int n, double** points, int periodic, tag_t* spline);
// The same of the caller's degree (1 to 3; 0 chooses it as above).
CARVELL_C_EXPORT int ipv_create_spline_thru_points(int n, double** points, int periodic, int degree, tag_t* spline);

// Trims the curve in place to the part between the normalised parameters
// (start < end): the arc lengths before the start and after the end, both
// measured first, are taken off its start and end (a length of at most
// 1e-5 is left). 0; -1 for parameters outside 0..1, not finite or not in
// order (nothing changed); the host's code of the failing step.
CARVELL_C_EXPORT int HM_VD_ipv_trim_curve(tag_t curve, double start, double end);

// The foot of the perpendicular from the point to the plane and the point's
// signed distance from it (along the normal). 0; -1 for a null argument, a
// number not finite or a normal shorter than 1e-5 (nothing written).
CARVELL_C_EXPORT int HM_VD_ipv_ask_perpendicular_point_on_plane(const double point[3], const double origin[3],
                                                                const double normal[3], double foot[3],
                                                                double* distance);
// Where the line through p1 and p2 meets the plane (the normal need not be
// unit); points within 1e-5 of each other give the foot of the
// perpendicular from p1. 0; -1 for a line parallel to the plane, a null
// argument or a number not finite (nothing written).
CARVELL_C_EXPORT int HM_VD_ipv_ask_intersect_point_on_plane(const double p1[3], const double p2[3],
                                                            const double origin[3], const double normal[3],
                                                            double out[3]);

// ---- used inside the release, not exported ----

// Points and vectors mapped into (to) and out of (from) the coordinate
// system at the origin whose axes are the rows of the matrix, through a
// temporary work coordinate system: the work coordinate system is set back
// and the temporary objects deleted on every way out. The points answer the
// host's code; the vectors come out unit (the difference of the mapped
// origin and tip) and answer 0, or the host's code.
int ipv_map_point_to_csys(const double point[3], const double origin[3], const double matrix[9], double out[3]);
int ipv_map_point_from_csys(const double point[3], const double origin[3], const double matrix[9], double out[3]);
int ipv_map_vector_to_csys(const double vector[3], const double origin[3], const double matrix[9], double out[3]);
int ipv_map_vector_from_csys(const double vector[3], const double origin[3], const double matrix[9], double out[3]);

// An ellipse (a host conic) about the centre, semi-axis a along the x
// direction and b along y, between the limits (radians). *curve is set to 0
// first; 0; -1 when limits[1] < limits[0] or a number is not finite; the
// host's code.
int ipv_create_ellipse(const double centre[3], double a, const double x_dir[3], double b, const double y_dir[3],
                       const double limits[2], tag_t* curve);

// Points of the section of the eye type's ellipsoid (selector 0: first and
// second axes, semi-axes a, b; 1: first and third, a, c; other: third and
// second, c, b) whose tangents pass through the point dropped onto the
// section plane; the record holds the semi-axes. Tolerances: distance,
// angle. 0 with one or two points; -1 with none.
int ipv_ask_section_tangent_points(vd_eyellipse_t* eyellipse, int type, const double tolerances[2],
                                   const double point[3], int section, int* count, double points[2][3]);

// The moa on the plane (a plane object or a datum plane): a point object
// where the middle centroid projects along centroid - point, and the ellipse
// through the projections of the section tangent points seen from the point,
// ordered by absolute y and z. Both outputs are 0 first; 0; -1 (the point
// object stays when it was made).
int ipv_create_moa_ellipse(vd_eyellipse_t* eyellipse, const double point[3], tag_t plane, tag_t* point_object,
                           tag_t* ellipse);

// A ruled sheet between the curves of the two lists (the second string
// reversed unless same_direction), alignment 2 tried first and then 1.
// *sheet is 0 first; 0 or the host's code of the last attempt.
int ipv_create_ruled_sheet(hm_list_p_t first, hm_list_p_t second, bool same_direction, tag_t* sheet);

// Sign of (A x range x A z range) - (B x range x B z range) into *sign: 0
// within 1e-5, 1 above 1e-6, else -1.
void ipv_compare_box_xz_area(const double a[6], const double b[6], int* sign);

#endif
