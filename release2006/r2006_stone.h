// The older releases' forms of stone impingement (2006, and the 2003 release
// as well): stones thrown one by one with the face's edge found by
// bisection, and the older result curve maker whose curves are neither
// projected onto the face nor labelled.
#ifndef CARVELL_RELEASE2006_R2006_STONE_H
#define CARVELL_RELEASE2006_R2006_STONE_H

#include "host_types.h"

namespace carvell::r2006 {

// Throws one stone: a temporary point object at the start point, projected
// along the direction onto the face (HM_VD_SI_project_point_along_vector)
// and deleted. True with the landing point in out.
bool si_throw_point(const double start[3], const double direction[3], tag_t face, double out[3]);

// The face's edge between a stone that lands and the next that misses: the
// mid-point of the two start points is thrown in turn, replacing the landing
// or the missing end, ten halvings in all. 0 with the last landing in out;
// -1 (out untouched) when no mid-point lands.
int si_bisect_face_edge(const double hit_start[3], const double miss_start[3], const double direction[3], tag_t face,
                        double out[3]);

// The older result curve maker: the given curve, else a point object (n = 1)
// or a degree-1 spline (VD_CURVE_create_linear, n >= 2) through the points;
// coloured, and named "OUTER" (name -1), "%d" (other values) or not at all
// (-2). *out_curve always written (0 when none was made). 0, or -700 (n < 1),
// -701 (no spline), -702 (no point), -703 (colour not set), -704 (name not
// set).
int si_make_plain_result_curve(tag_t curve, const double (*points)[3], int n, int colour, int name,
                               tag_t* out_curve);

}  // namespace carvell::r2006

#endif
