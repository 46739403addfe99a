// Modelling helpers that the mirror analyses share: the elements of a sheet
// (edge curves, one closed outline, its samples), end gaps between curves,
// object attributes, joined polylines and the eyellipse conics.
#ifndef CARVELL_MIRROR_MIRROR_HELPERS_H
#define CARVELL_MIRROR_MIRROR_HELPERS_H

#include "hm_vd_mc.h"

#include <functional>
#include <vector>

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

// The images of a closed row of points (packed, corners at the break
// indices) under a map that gives image_count images of a point (three
// doubles each, written one after another): along every chord whose
// midpoint's images stray further than the tolerance from the chords
// between its ends' images, the chord's midpoint is put in, halving up to
// 2^10 times a chord. *images holds image_count images a point of the new
// row, *image_breaks its corners. false when the map fails for a point.
bool mc_images_along_chords(int n, const double* points, int break_count, const int* breaks, int image_count,
                            double tolerance, const std::function<bool(const double*, double*)>& map,
                            std::vector<double>* images, std::vector<int>* image_breaks);

// The set's outline seen from the eye on a plane object: each outline point
// projected centrally from the eye onto the plane, a closed C0 spline with
// the set's corners through them. *count 1 and *curves an SM_alloc'd array
// of that one spline (the caller frees it with SM_free). 0, the spline
// creation's code, or -1 for a null argument, a plane that cannot be read,
// or an outline point as far from the plane as the eye (its sight line never
// meets the plane); nothing is built then.
int mc_project_outline_to_plane(const double eye[3], const mc_geometry_set_s* set, tag_t plane, double tolerance,
                                int* count, tag_t** curves);

/* ---- sheets and bodies ---- */

// A sphere of the spherical patch: centre, radius, the vertex on it (written:
// centre + radius x axis) and the axis (made unit) towards the viewing side.
struct mc_sphere_s {
    double centre[3];
    double radius;
    double vertex[3];
    double axis[3];
};

// true when the sheets' areas (thin shell) differ by at most the relative
// tolerance and their centres of area lie within the part's distance
// tolerance; false when a's area is 1e-10 or less or a sheet cannot be measured.
bool mc_sheets_coincide(tag_t a, tag_t b, double relative_tolerance);

// The union of two sheets as a new sheet (*united); a and b stay. Works on
// copies: b's copy is reversed when its first face's normal is opposite to
// a's; united into a's copy, or else into b's; when both fail, copies that
// coincide (0.1 %) count as one. 0; 1 a copy failed; 2 the union failed;
// -1 null output.
int mc_unite_sheets(tag_t a, tag_t b, tag_t* united);

// The point of the single face of the body farthest along directions[0],
// ties broken by directions[1], then [2]; the face and the face or edge
// holding the point. 0; 1 faces not found; 3 not exactly one face; 5 the
// extreme point failed; 6 the face's edges not found; -1 null argument.
int mc_extreme_point(tag_t body, const double directions[3][3], tag_t* subentity, tag_t* face, double point[3]);

// A new sheet on the sphere (centre, radius, axis of *sphere) bounded by the
// n closed curves lying on or near it: the half sphere on the axis side
// trimmed by the curves (projected along the axis, or else along the
// sphere's normals), keeping the region inside the first curve. Writes the
// vertex and the unit axis into *sphere. 0; 1 the sphere or its trim failed
// (nothing left in the part); -1 null argument or no curves.
int mc_spherical_patch(const tag_t* curves, int n, tag_t* patch, mc_sphere_s* sphere);

// A new sheet on the sphere (centre and radius of the record) inside the
// closed row of n points (packed, three doubles each) lying on or near it,
// the pieces between the break indices drawn in the sphere's own parameters:
// no trim, no Boolean. 0; 1 the host made no sheet; -1 null argument or
// fewer than 3 points.
int mc_spherical_patch_through(int n, const double* points, int break_count, const int* breaks,
                               const mc_mirror_surface_record& sphere, tag_t* patch);

// How many bodies the Boolean of target and tool (operation 0 unite, 1
// subtract, 2 intersect) would give, the part left as it was. 0 with
// *body_count; 1 the bodies lie farther apart than the tolerance (not
// tried); the kernel's code on failure; -1 bad argument or distance failure.
int mc_trial_boolean(tag_t target, tag_t tool, int operation, double tolerance, int* body_count);

// The area (volume for solids) of the region that bodies a and b have in
// common, in part units; 0 when they have none. The part is left as it was.
// 0, the kernel's code, or -1 for a null output.
int mc_overlap_amount(tag_t a, tag_t b, double* amount);

// The free start of the first curve and the free end of the last: an end
// counts as joined when it lies within sqrt(acom[147]) + 1e-10 of the
// neighbouring curve, and the first curve's start (the last curve's end) is
// free unless it is the one joined while the other is not. One curve: its
// points at parameters 0 and 1. 0; -1 bad argument or an end not evaluated.
int mc_chain_ends(int n, const tag_t* curves, double start[3], double end[3]);

// The first of the n points (null entries passed over) that lies at least
// srfc1 - 1e-10 from the point: true with *out written, false when none.
bool mc_distinct_point(const double point[3], int n, const double* const* points, double out[3]);

// A bounded plane over the curves taken as a loop in their order, its gaps
// closed by lines: from the chain's free start each curve is entered at its
// end nearer the walk's point and left at its other, distinct end; a gap
// above the distance tolerance (+1e-10) to the next curve, and at last back
// to the start, gets a line (the lines are deleted again). 0 with *sheet;
// 1 an end not evaluated, a line or the bounded plane failed; -1 bad
// argument.
int mc_close_and_bound(int n, const tag_t* curves, tag_t* sheet);

// A planar sheet bounded by the curves as one closed string; when that
// fails, with the gaps between consecutive curves closed by lines; last,
// a sheet on the curves' best plane trimmed by them. Named (null: none),
// coloured (0 or less: kept), shown and put in the list (null: none) through
// mc_set_object_attributes. 0; 1 no sheet; 2 the attributes failed (the
// sheet deleted); -1 null argument or no curves.
int mc_bounded_plane(int n, const tag_t* curves, const char* name, int colour, hm_list_p_t list, tag_t* sheet);

// The mirror sheet of the set's points fitted against the user's radius of
// the record. A sphere within the distance tolerance of the user radius:
// *sheet a copy of the set's sheet, its fitted centre and axis. Otherwise
// (warning 9 when a sphere was fitted) a spherical patch of the user radius
// over the set's edge curves, its centre sqrt(R^2 - r^2) from the fitted
// circle's centre against the axis (axis X not negative); the set then holds
// the patch's elements. 0; 1 the patch or its elements failed; 3 the user
// radius is below the circle's (warning 8); 99 the fit failed; -1 null
// argument or no points.
int mc_spherical_fit(mc_geometry_set_s* set, mc_data_s* data, tag_t* sheet, double centre[3], double axis[3]);

// A planar sheet bounded by the sheet's outline projected onto the sheet's
// least-squares plane. 0; 1 elements, 2 plane fit, 3 plane, 4 projection,
// 5 group, 6 bounded plane failed; -1 null output.
int mc_outline_on_plane(tag_t sheet, double min_edge_length, tag_t* planar);

// The area of a mirror sheet in part units squared: a planar sheet as it is,
// any other by its outline on its least-squares plane (built and undone).
// 0; 1 dimensionality, 2 mass properties, 3 the outline failed; -1 null output.
int mc_mirror_area(tag_t sheet, double min_edge_length, double* area);

// A line named and coloured (mc_set_object_attributes, shown, into the list
// when given). 0; 1 the line failed; 2 the attributes failed (line deleted);
// -1 null argument.
int mc_create_named_line(const double start[3], const double end[3], const char* name, int colour,
                         hm_list_p_t list, tag_t* line);

// Deletes an object (HM_VD_delete_object) and answers its result.
int mc_delete_object(tag_t object);

}  // namespace carvell::mirror

#endif
