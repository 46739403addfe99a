// Test fixtures of the stand-in host: geometry (points, curves, planes and
// bodies of the work part, and their measures). Included by host_testing.h.
#ifndef CARVELL_HOST_TESTING_GEOMETRY_H
#define CARVELL_HOST_TESTING_GEOMETRY_H

#include "../host_types.h"

#include <array>
#include <vector>

namespace host_testing {

using Point3 = std::array<double, 3>;

// Geometry of the work part. Each answers the new object's tag, 0 on failure.
HOST_API tag_t make_point(const Point3& p);
HOST_API tag_t make_line(const Point3& start, const Point3& end);
// Arc of the circle about the centre in the plane of the two axes (x_axis
// towards angle 0, y_axis towards pi/2), from start to end angle in radians;
// 0 to 2 pi makes a full circle.
HOST_API tag_t make_arc(const Point3& centre, double radius, double start_angle, double end_angle,
                        const Point3& x_axis = {1, 0, 0}, const Point3& y_axis = {0, 1, 0});
// Ellipse (arc) with semi-axis a along x_axis and b along y_axis, angles in radians.
HOST_API tag_t make_ellipse(const Point3& centre, double a, double b, const Point3& x_axis = {1, 0, 0},
                            const Point3& y_axis = {0, 1, 0}, double start = 0.0, double end = 6.283185307179586);
// Spline through the points (host interpolation) of the degree, open or periodic.
HOST_API tag_t make_spline(const std::vector<Point3>& points, int degree = 3, bool periodic = false);
// Unbounded plane (type 46).
HOST_API tag_t make_plane(const Point3& origin, const Point3& normal);
// Datum plane (type 197) with its "DATUM_PLANE" feature (answered in *feature).
HOST_API tag_t make_datum_plane(const Point3& origin, const Point3& normal, tag_t* feature = nullptr);

// Degree of a spline's B-spline (its kernel degree); 0 for other objects.
HOST_API int spline_degree(tag_t spline);

// Bodies. Coordinates and lengths are in the work part's units. Every body
// comes with its feature (the kind named below); answers the body's tag, 0
// when the geometry cannot be made.

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

// Sheet of a spherical patch (not a cap): the latitude-longitude patch of the
// sphere about the equator point centre + radius * direction (up: the
// sphere's pole direction, normal to direction), `width` of arc along the
// equator and `height` along the meridian ("SHEET").
HOST_API tag_t make_spherical_patch(const double centre[3], double radius, const double direction[3],
                                    const double up[3], double width, double height);
// Sheet of a torus patch ("SHEET"): the torus about the axis through the
// centre with the major radius and the tube (minor) radius; u turns about the
// axis from x_dir, v around the tube from its outer equator (towards the
// axis direction); both ranges in radians.
HOST_API tag_t make_toroidal_sheet(const double centre[3], const double axis[3], const double x_dir[3], double major,
                                   double minor, double u0, double u1, double v0, double v1);
// Sheet of a cylinder of the radius: the angle (radians) about the axis from
// x_dir, and the length along the axis from the origin's cross-section ("SHEET").
HOST_API tag_t make_cylindrical_sheet(const double axis_origin[3], const double axis[3], const double x_dir[3],
                                      double radius, double angle, double length);

// Hooks of HM_MODL_trim_sheet: the next `calls` trims report one gap of the
// length and change nothing; the next trim throws the host's exception with
// the code; the trims asked and the last one's tolerance since the last
// reset_trim_hooks (which also clears the hooks).
HOST_API void force_trim_gaps(int calls, double gap_length);
HOST_API void force_trim_exception(int code);
HOST_API int trim_sheet_calls();
HOST_API double last_trim_tolerance();
HOST_API void reset_trim_hooks();

// Hook of the curve projection: while on, a projected piece that runs along
// an edge the target face shares with another face of its body is reported
// a second time, as a real host reports it once for each of the two faces.
HOST_API void repeat_pieces_on_shared_edges(bool on);

// The u and v line counts of a face's display grid (0 and 0 for none, or
// for anything that is no face).
HOST_API std::array<int, 2> grid_counts(tag_t face);

}  // namespace host_testing

#endif
