// Modelling helpers that the mirror analyses share: the elements of a sheet
// (edge curves, one closed outline, its samples), end gaps between curves,
// object attributes, joined polylines and the eyellipse conics.
#ifndef CARVELL_MIRROR_MIRROR_HELPERS_H
#define CARVELL_MIRROR_MIRROR_HELPERS_H

#include "hm_vd_mc.h"

namespace carvell::mirror {

// Deletes the set's edge curves and outline where still alive, frees its
// arrays and points and leaves it empty. 0; -1 for a null set.
int mc_free_geometry_set(mc_geometry_set_s* set);

// Fills the set with the elements of a single-face sheet or body (or, with
// source 0, copies of the curves): edge curves longer than the minimum edge
// length, the one closed outline joined from them (the tolerance raised to
// 1.1 times the largest end gap for a second try, then restored), and its
// samples at 30 steps per smooth piece. 0; 1 faces or edges not found or
// not one face; 3 the curves do not join into one; 4 sampling failed; -1
// null set.
int mc_sheet_elements(tag_t source, const tag_t* curves, int curve_count, double min_edge_length,
                      mc_geometry_set_s* set);

// Distance of the start and of the end of curve a to the nearer end of b.
int mc_end_gaps(tag_t a, tag_t b, double gaps[2]);

// The largest end gap over the curves (each curve's gap is the larger of its
// smallest start and smallest end gaps to the others) and the pair giving
// it. -1 for fewer than two curves; 0 otherwise.
int mc_largest_end_gap(const tag_t* curves, int n, tag_t pair[2], double* gap);

// Name (null: kept), colour (0 or less: kept), list (null: none) and blank
// status of an object, in that order. 0; 1 name, 2 colour, 3 list, 4 blank
// status failed.
int mc_set_object_attributes(tag_t object, const char* name, int colour, int blank_status, hm_list_p_t list);

// One curve joined from the lines between consecutive points (the lines are
// deleted). 0; 1 fewer than two points or no list; 2 a line failed (two
// consecutive points coincide); 3 a line could not be put in the list; 4 the
// join failed; -1 null argument.
int mc_create_joined_polyline(const double (*points)[3], int n, tag_t* curve);

// An ellipse about the centre in the plane of the two directions with
// semi-axes a and b, from the start to the end angle (radians). -1 when the
// end angle is below the start angle or the conic could not be made; 0
// otherwise.
int mc_create_ellipse_conic(const double centre[3], double a, const double a_direction[3], double b,
                            const double b_direction[3], double start, double end, tag_t* conic);

// The set's outline seen from the eye on a plane object: each outline point
// projected centrally from the eye onto the plane, a closed C0 spline with
// the set's corners through them. *count 1 and *curves an SM_alloc'd array
// of that one spline (the caller frees it with SM_free). 0, the spline
// creation's code, or -1 for a null argument, a plane that cannot be read,
// or an outline point as far from the plane as the eye (its sight line never
// meets the plane); nothing is built then.
int mc_project_outline_to_plane(const double eye[3], const mc_geometry_set_s* set, tag_t plane, double tolerance,
                                int* count, tag_t** curves);

}  // namespace carvell::mirror

#endif
