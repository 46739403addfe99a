// The lower layer of the instrument-panel visibility tool: the host-facing
// operations that the two releases holding the tool build in their own ways.
// The current release builds them on the shared toolbox and curve functions
// (ipv_layer.cpp); the 2003 release on its own instrument-panel utilities.
// The tool calls nothing else of the layer's kind directly.
#ifndef CARVELL_VISION_IPV_LAYER_H
#define CARVELL_VISION_IPV_LAYER_H

#include "host_types.h"
#include "hm_vd_vision/eyellipse.h"

#include <vector>

namespace carvell::vision {

// ---- curves ----
// A spline through the n points in order, of the given degree (0: chosen
// from the count), closed when periodic is 1. The host's code; *spline is 0
// when none was made.
int ipv_layer_spline(int n, double** points, int periodic, int degree, tag_t* spline);
// The curves of the one loop that the list forms at the distance tolerance,
// in loop order; empty when the list forms none or several.
std::vector<tag_t> ipv_layer_single_loop(hm_list_p_t curves, double tolerance);
// A new curve: the part of the curve between the normalised parameters
// parms[0] < parms[1]; the curve itself stays. 0 or a code (*piece 0).
int ipv_layer_curve_piece(tag_t curve, const double parms[2], tag_t* piece);
// An ellipse (a host conic) about the centre with semi-axis a along x and b
// along y, between the limits (radians). 0 or a code (*curve 0).
int ipv_layer_ellipse(const double centre[3], double a, const double x_dir[3], double b, const double y_dir[3],
                      const double limits[2], tag_t* curve);
// A ruled sheet between the curves of the two lists, the second string run
// the same way as the first when same_direction is set. 0 or the host's code.
int ipv_layer_ruled_sheet(hm_list_p_t first, hm_list_p_t second, bool same_direction, tag_t* sheet);

// ---- points, planes and frames ----
// The foot of the perpendicular from the point to the plane and the point's
// signed distance from it (along the normal, which need not be unit). 0 or a code.
int ipv_layer_plane_foot(const double point[3], const double origin[3], const double normal[3], double tolerance,
                         double foot[3], double* distance);
// Where the line through the point along the direction meets the plane. 0;
// -1 for a line parallel to the plane.
int ipv_layer_line_plane_point(const double point[3], const double direction[3], const double origin[3],
                               const double normal[3], double out[3]);
// Points and vectors mapped between absolute coordinates and the frame at
// the origin whose axes are the rows of the matrix. 0 or the mapping's code.
int ipv_layer_point_to_frame(const double point[3], const double origin[3], const double matrix[9], double out[3]);
int ipv_layer_point_from_frame(const double point[3], const double origin[3], const double matrix[9], double out[3]);
int ipv_layer_vector_to_frame(const double vector[3], const double origin[3], const double matrix[9], double out[3]);
int ipv_layer_vector_from_frame(const double vector[3], const double origin[3], const double matrix[9],
                                double out[3]);
// Sign of the difference of the boxes' x-z areas (boxes: x, y, z minima then
// maxima): 0 within 1e-5, 1 when the first is larger, -1 otherwise.
int ipv_layer_compare_box_xz(const double a[6], const double b[6]);

// ---- the eyellipse ----
// The semi-axes of the eyellipse's ellipsoids, from the record's axis lengths.
void ipv_layer_semi_axes(const vd_eyellipse_t* eyellipse, double semi[3]);
// Points of the eyellipse section (0: first and second axes, 1: first and
// third, other: third and second) of the eye type (-1, 0, 1) whose tangents
// pass through the point; tolerances: distance, angle. 0 with one or two
// points; -1 with none.
int ipv_layer_section_tangents(vd_eyellipse_t* eyellipse, int type, const double tolerances[2],
                               const double point[3], int section, int* count, double points[2][3]);
// The moa: the ellipse on the plane that the middle ellipsoid casts through
// the point seen, and a point object where the middle centroid projects
// towards it (handed out as soon as made). 0 or -1.
int ipv_layer_moa(vd_eyellipse_t* eyellipse, const double point[3], tag_t plane, tag_t* point_object,
                  tag_t* ellipse);

}  // namespace carvell::vision

#endif
