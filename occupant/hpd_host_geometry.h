// Host geometry of the H-point design tool: face normals, curve tangents and
// copies turned about the vertical.
#ifndef CARVELL_OCCUPANT_HPD_HOST_GEOMETRY_H
#define CARVELL_OCCUPANT_HPD_HOST_GEOMETRY_H

#include "host_types.h"

namespace carvell::occupant {

// Unit normal of a face (type 70, subtype 2) at a point on it. 0, or 19 when
// the object is no face or has no parameters at the point.
int hpd_ask_face_normal(tag_t face, const double point[3], double normal[3]);
// Unit tangent of a curve (types 3, 5, 6, 7, 9) or an edge (70/3) at the curve
// point closest to `point`. 0, or 19 for another kind of object or a failed
// evaluation.
int hpd_ask_curve_tangent(tag_t curve, const double point[3], double tangent[3]);
// A copy of `object` turned about the vertical (+Z) through `centre` by
// `angle` degrees, on the object's layer. Object 0: *copy = 0 and 0. Answers 0
// or the host's code (then *copy = 0).
int hpd_rotate_copy_about_vertical(tag_t object, const double centre[3], double angle, tag_t* copy);

}  // namespace carvell::occupant

#endif
