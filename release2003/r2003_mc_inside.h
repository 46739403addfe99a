// The stages of the 2003 inside-mirror analysis: the turning search that
// aims the mirror through the backlite, the sight analysis of its two passes,
// and the small sight-geometry steps they share.
#ifndef CARVELL_RELEASE2003_R2003_MC_INSIDE_H
#define CARVELL_RELEASE2003_R2003_MC_INSIDE_H

#include "hm_vd_mc.h"
#include "r2003_mirror.h"

namespace carvell::r2003 {

// Turns copies of the mirror sheet and of the mirror plane about the
// record's pivot point, by the side angle about +y and the plan angle about
// +z (degrees), until, seen from the middle virtual eye on the centering
// plane, the mirror's view is centred on the backlite's view in plan, and
// the common view's upper edge lies along the reference axis (weighted by
// first_weight) and its lower edge on the ground point (second_weight). The
// eyes are the inside result's, turned with the head towards the mirror's
// outboard edge where head rotation applies. At most 50 iterations, each
// starting with half the last corrections.
// Writes, on convergence only: the virtual eyes (the turned eyes mirrored in
// the turned plane), the turned eyes, the outboard view angle and the head
// turn (values), the plan and side angles, the turned plane and the turned
// mirror copy (both the caller's). 0; 1 a rotation matrix; 2 a turned copy;
// 3 the outboard view or head turn; 4 the mirror image of the eyes; 5 a
// view's outline or sheet; 6 a view's extreme points; 7 the eyes' vertical
// plane does not cut the mirror's view in one curve ("\nWARNING - Possible
// bad initial mirror position" added); 8 nor the backlite's view; 9 no
// convergence; -1 a null argument or no inside result. Nothing else is left
// in the part.
int mc_search_inside_rotation_2003(double start_plan, double start_side, double first_weight,
                                   const double reference_axis[3], double second_weight, const double ground_point[3],
                                   const mc_geometry_set_s* backlite, tag_t centering_plane, tag_t mirror_plane,
                                   tag_t mirror_sheet, mc_data_2003_s* data, double virtual_eyes[3][3],
                                   double turned_eyes[3][3], double values[2], double* plan, double* side,
                                   tag_t* turned_plane, tag_t* turned_mirror);

// The sight analysis of the inside mirror: the backlite seen along x on the
// centering plane, the two passes of the turning search ("U_": upper edge to
// the horizon, warnings checked; "D_": lower edge to the ground point), each
// pass's named views, lines and angles into the pass records of the inside
// result, the vision triangles of pass "U_" and their restriction test.
// Named geometry goes into the inside result's list and stays in the part,
// also on failure. 0; a positive code of the first failing stage; -1 a null
// argument or no inside result.
int mc_inside_view_2003(const mc_geometry_set_s* backlite, tag_t centering_plane, tag_t mirror_plane,
                        const double backlite_origin[3], const double ground_point[3], mc_data_2003_s* data);

/* ---- sight geometry shared by the stages ---- */

// A geometry set of the stage's own, released when it goes out of scope.
struct McScopedSet {
    mc_geometry_set_s set{};
    McScopedSet() = default;
    McScopedSet(const McScopedSet&) = delete;
    McScopedSet& operator=(const McScopedSet&) = delete;
    ~McScopedSet() { mc_free_geometry_set(&set); }
};

// Direction from one point to another in plan (x-y) and in side view (x-z),
// degrees.
double mc_plan_direction(const double from[3], const double to[3]);
double mc_side_direction(const double from[3], const double to[3]);

// The set's outline seen from the eye on the plane object, as a bounded
// plane (tolerances: distance, angle, 0); decorated with the name, colour
// and list when a list is given. The projected curves are deleted. 0; 1 the
// projection failed; otherwise mc_create_bounded_plane's code.
int mc_inside_outline_sheet(const double eye[3], const mc_geometry_set_s* set, tag_t plane, const char* name,
                            int colour, hm_list_p_t list, const double tolerances[3], tag_t* sheet);

// The ends, lower and upper by z, of the single curve in which the plane
// cuts the object (the curve is deleted). 0; 1 the cut failed or is not
// exactly one curve.
int mc_inside_cut_ends(tag_t plane, tag_t object, double tolerance, double lower[3], double upper[3]);

// A plane object through the point with the normal (0, 1, 0): the vertical
// plane along the car through an eye. 0 when it was not made.
tag_t mc_inside_eye_plane(const double through[3]);

}  // namespace carvell::r2003

#endif
