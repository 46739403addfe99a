// Vector, plane and fit utilities of the geometry toolbox: unit vectors and
// points from points, the side of a plane, line and plane intersections,
// rotations of vectors and points, least-squares plane and sphere fits.
//
// Points and vectors are double[3]; a pointer row is an array of pointers to
// double[3] in the caller's memory. Angles are in degrees.
#ifndef CARVELL_HM_VD_VECTORS_H
#define CARVELL_HM_VD_VECTORS_H

#include "carvell_export.h"
#include "host_types.h"

#include <stdbool.h>

// v = unit vector from p1 to p2. False when the points are closer than the
// work part's distance tolerance; v then holds the raw difference p2 - p1.
CARVELL_C_EXPORT bool HM_VD_create_vector_by_two_points(const double p1[3], const double p2[3], double v[3]);

// True when the point lies on the side of the plane that the normal points
// to, or on the plane; also true within the distance tolerance of the origin.
CARVELL_C_EXPORT bool HM_VD_judge_point_in_plane_side(const double point[3], const double origin[3],
                                                      const double normal[3]);

// out = p1 + t (p2 - p1).
CARVELL_C_EXPORT void HM_VD_create_point_in_two_points(const double p1[3], const double p2[3], double t,
                                                       double out[3]);

// out = p + d * direction (the direction is used as given, not unitised).
CARVELL_C_EXPORT void HM_VD_create_point_by_distance(const double p[3], const double direction[3], double d,
                                                     double out[3]);

// Intersection of the line through p1 and p2 with the line through q along
// direction, solved in the coordinate plane where the lines' projections
// cross most clearly. Returns out, or null (out untouched) when the lines
// are parallel or an argument is null.
CARVELL_C_EXPORT double* HM_VD_ask_two_line_intersect_point(const double p1[3], const double p2[3],
                                                            const double q[3], const double direction[3],
                                                            double out[3]);

// Point where the (whole) line meets the plane: 0, or -1 when the line is
// parallel to the plane (no point) or an argument is null.
CARVELL_C_EXPORT int HM_VD_ask_intersect_point_of_plane_and_line(const double line_point[3],
                                                                 const double line_direction[3],
                                                                 const double plane_origin[3],
                                                                 const double plane_normal[3], double out[3]);

// out = the direction of the vector's part normal to the axis, turned by
// `angle` degrees about the axis: always a unit vector normal to the axis
// (length and axial part are not kept).
CARVELL_C_EXPORT void HM_VD_vec3_rotate(const double vector[3], const double axis[3], double angle,
                                        double out[3]);

// out = the point turned by `angle` degrees about the axis through origin.
CARVELL_C_EXPORT void HM_VD_vec3_rotate_point(const double origin[3], const double axis[3], const double point[3],
                                              double angle, double out[3]);

// Turns the point by `angle` degrees about the axis through centre and
// carries the direction with it (see the operation's description of the
// cases). A direction along the radius keeps its sense towards or away from
// the centre.
CARVELL_C_EXPORT void HM_VD_vec3_rotate_vector(const double centre[3], const double axis[3], const double point[3],
                                               const double direction[3], double angle, double tolerance,
                                               double out_point[3], double out_direction[3]);

// Least-squares plane of n points: 0, or -1 (outputs not written) when the
// fit fails. The normal points to the +x side when it is not normal to x.
CARVELL_C_EXPORT int HM_VD_ask_leastsq_plane(int n, const double* const* points, double origin[3],
                                             double normal[3]);

// Least-squares sphere of n points and the circle in which the points' best
// plane cuts it. 0: all written; 1: the sphere fit failed, only the circle
// (centre, radius, normal) written; 2: the plane or circle fit failed, or the
// plane misses the sphere; -1: the sphere's centre lies in the plane
// (within tolerance), sphere and circle normal written.
CARVELL_C_EXPORT int HM_VD_ask_leastsq_sphere(const double* const* points, int n, double tolerance,
                                              double sphere_centre[3], double* sphere_radius,
                                              double circle_centre[3], double* circle_radius,
                                              double circle_normal[3]);

#endif
