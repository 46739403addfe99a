// H-point design tool, geometry primitives: the plan-view turn of a point,
// the intersection of two circles, host lists and arrays of identifiers, and
// the W of a section plane's base point. The circle intersection and the list
// and array conversions keep plain names; the others are decorated.
#ifndef CARVELL_HPD_GEOMETRY_H
#define CARVELL_HPD_GEOMETRY_H

#include "carvell_export.h"
#include "host_types.h"

// Turns `point` about the vertical through `centre` by `angle` degrees
// (counter-clockwise seen from above); the height is kept. An angle of at most
// 1e-10 or a point on the vertical leaves it unchanged. point and out may be
// the same array.
CARVELL_CPP_EXPORT void HPD_transform_point_to_pv(double* point, double* centre, double angle, double* out);

// Intersection of the circles (c1, r1) and (c2, r2): *count 1 for touching
// circles (within 1e-6), else 2, with the points in points[0..count-1] (for two
// points: c1 + r1 * (unit(c2 - c1) turned by +a, then by -a)). Answers 0, or -1
// when the circles are apart, nested or equal and concentric (count 0), and
// for a value that is not finite or points that would not be.
CARVELL_C_EXPORT int HM_VD_ask_circle_intersect_point(double* c1, double r1, double* c2, double r2, int* count,
                                                      double points[2][2]);

// The items of a host list in a new array (free with SM_free); *count the
// number of items. A null count leaves *array null.
CARVELL_C_EXPORT void change_list_to_array(hm_list_s* list, int* count, tag_t** array);
// A new host list (delete with HM_MODL_delete_list) holding the identifiers in order.
CARVELL_C_EXPORT void change_array_to_list(int count, tag_t* array, hm_list_s** list);

// The base point of a section plane moved in W into the W range of the
// objects: with use_boxes the middle of their boxes' W range; otherwise the
// middle of the W range of their points nearest to the base, when the base
// lies outside it. Answers 0, 10 when the distance query fails for the first
// object, 20 for a later one.
CARVELL_CPP_EXPORT int HM_VD_HPD_adjust_plane_base_pt(int count, tag_t* objects, double* base, bool use_boxes,
                                                      double* out);

#endif
