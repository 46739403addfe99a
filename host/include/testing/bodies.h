// Test fixtures of the stand-in host: bodies. Included by host_testing.h.
// Coordinates and lengths are in the work part's units. Every body comes
// with its feature (the kind named below); answers the body's tag, 0 when
// the geometry cannot be made.
#ifndef CARVELL_HOST_TESTING_BODIES_H
#define CARVELL_HOST_TESTING_BODIES_H

#include "../host_types.h"

namespace host_testing {

// Box with a corner and edge lengths along x, y and z ("BLOCK").
HOST_API tag_t make_box(const double corner[3], const double size[3]);
// Cylinder from the centre of its base along the axis ("CYLINDER").
HOST_API tag_t make_cylinder(const double base[3], const double axis[3], double diameter, double height);
// Sphere ("SPHERE").
HOST_API tag_t make_sphere(const double centre[3], double diameter);
// Planar sheet: the parallelogram corner, corner + u, corner + u + v, corner + v ("SHEET").
HOST_API tag_t make_planar_sheet(const double corner[3], const double u[3], const double v[3]);
// Sheet of a clamped B-spline surface with uniform knots: nu x nv poles,
// row by row (pole (i, j) at poles[3 * (i * nv + j)]), degrees below the
// pole counts ("SHEET").
HOST_API tag_t make_bspline_sheet(int nu, int nv, const double* poles, int degree_u, int degree_v);

// Area of the faces and volume of the solids of a body, face or sheet.
HOST_API double surface_area(tag_t object);
HOST_API double volume(tag_t object);

}  // namespace host_testing

#endif
