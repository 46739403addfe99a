// Curves that both certification engines draw: the polyline joined from a
// row of points, the plan-view ellipse of an eyellipse, and an outline seen
// from the eye on a plane. Plain values in, plain values out: no working
// record and no record type of either release. A failure's text goes to the
// caller's reporter (mirror_optics_core.h), which gives back the status.
#ifndef CARVELL_MIRROR_MIRROR_CURVES_CORE_H
#define CARVELL_MIRROR_MIRROR_CURVES_CORE_H

#include "host_types.h"
#include "mirror_optics_core.h"

namespace carvell::mirror::curves {

// One curve joined from the lines between consecutive points (the lines are
// deleted). 0; 1 fewer than two points or no list; 2 a line failed (two
// consecutive points coincide); 3 a line could not be put in the list; 4 the
// join failed; -1 null argument.
int joined_polyline(const double (*points)[3], int n, tag_t* curve, optics::Reporter report);

// An ellipse about the centre in the plane of the two directions with
// semi-axes a and b, from the start to the end angle (radians). -1 when the
// end angle is below the start angle or the conic could not be made; 0
// otherwise.
int ellipse_conic(const double centre[3], double a, const double a_direction[3], double b,
                  const double b_direction[3], double start, double end, tag_t* conic);

// The closed row of n points seen from the eye on a plane object: each
// point projected centrally from the eye onto the plane, a closed C0 spline
// with corners at the break indices through them. *count 1 and *curves an
// SM_alloc'd array of that one spline (the caller frees it with SM_free).
// 0, the spline creation's code, or -1 for a null argument, a plane that
// cannot be read, or a point as far from the plane as the eye (its sight
// line never meets the plane); nothing is built then.
int project_points_to_plane(const double eye[3], int n, const double* const* points, int break_count,
                            const int* breaks, tag_t plane, int* count, tag_t** curves, optics::Reporter report);

}  // namespace carvell::mirror::curves

#endif
