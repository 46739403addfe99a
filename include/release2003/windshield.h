// Windshield functions of the 2003 release (plain names): the sides of a
// test area sampled on the glass, the outline of the area that one or two
// wipers sweep, and the wiped percentage of a test area. The release has no
// windshield record and no driver: its dialog calls these three.
//
// Conventions:
// - The windshield is an array of faces. Lengths are in the work part's
//   units; points are absolute coordinates; the vertical is the absolute z.
// - A test area is four planes (origins and normals) whose normals point
//   away from the area: sides 0 and 1 (cut by planes 0 and 1) run between
//   planes 2 and 3, sides 2 and 3 between planes 1 and 0.
// - A wiper of arm length A and blade length B sweeps the band between the
//   circles of radius A - B/2 and A + B/2 about its pivot on the glass,
//   above the horizontal plane through pivot 1 (the glass below it is cut
//   off). Mode 0 and 1: two wipers (0 tandem, 1 opposed); 2: one wiper
//   (pivot 1; pivot 2 is read for finiteness only).
// - Point lists are as in ws_point_group_s: point_counts[i] points in
//   points[i], each point three doubles. The arrays and each point are
//   allocated with the host's memory manager (SM_alloc); the caller frees
//   each point, each row, then both arrays (SM_free).
// - The exports return nothing. Bad input (a null array or output, a count
//   below 1, fewer than two points a curve or more than
//   HM_VD_WS_MAX_POINTS_PER_CURVE, a mode other than 0 to 2, a length that is
//   not positive, a number that is not finite or lies beyond the model space
//   of 1e12 part units) leaves the outputs empty (counts 0, null arrays,
//   percentage 0) and builds nothing. The display is switched off while they
//   work (left on at checking level 1 and above) and on again on every way
//   out; a distance tolerance they raise is restored on every way out.
// - Every curve and body they make is logged for deletion at the host's next
//   update or deleted: they leave no geometry in the part.
#ifndef CARVELL_RELEASE2003_WINDSHIELD_H
#define CARVELL_RELEASE2003_WINDSHIELD_H

#include "carvell_export.h"
#include "host_types.h"

// Samples the four sides of the test area on the glass. *point_counts and
// *points get four entries, one a side: points_per_curve points at equal
// parameter steps along the side's curve (plane k's section of the glass
// between its two bounding planes, joined into one curve), or 0 points and
// a null row for a side whose plane misses the glass.
CARVELL_C_EXPORT void HM_VD_WS_create_test_area(int face_count, const tag_t* faces, const double origins[4][3],
                                                const double normals[4][3], int points_per_curve, int** point_counts,
                                                double**** points);

// The outline of the wiped area, as *count curves of points_per_curve
// points: one wiper, 4 curves (the outer circle, a connector along the
// glass, the inner circle, a connector back); two wipers, a ring of 8
// curves (7 in mode 1 when the outer circles touch) from wiper 1's outer
// circle round both bands. The count stays 0 when a circle cannot be made
// (a blade longer than twice the arm has no inner circle).
CARVELL_C_EXPORT void HM_VD_WS_create_wiped_area(int face_count, const tag_t* faces, int mode, double arm_length,
                                                 double blade_length, const double pivot1[3], const double pivot2[3],
                                                 int points_per_curve, int* count, int** point_counts,
                                                 double**** points);

// The wiped share of the test area, in percent: the glass between the four
// planes (the region holding keep_point), and within it the region inside
// the wiped outline (curves made through the lists of
// HM_VD_WS_create_wiped_area, in their order). 0 when the test area has no
// area or nothing is wiped.
CARVELL_C_EXPORT void HM_VD_WS_calculate_percent(int face_count, const tag_t* faces, const double keep_point[3],
                                                 const double origins[4][3], const double normals[4][3],
                                                 int curve_count, const tag_t* curves, double arm_length,
                                                 double blade_length, const double pivot1[3], const double pivot2[3],
                                                 double* percentage);

#endif
