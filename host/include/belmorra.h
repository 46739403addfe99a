// belmorra: the host's automotive helpers: mapping points, vectors and
// geometry between absolute coordinates and a coordinate system (such as the
// vehicle's) given by an origin and an orientation (nine doubles, rows are
// the axes).
#ifndef CARVELL_HOST_BELMORRA_H
#define CARVELL_HOST_BELMORRA_H

#include "host_types.h"

#include <stdbool.h>

// The curve and spline functions (points on curves, projection along a
// vector, splines through points, curve-plane crossings) are built into this
// library from curves/ and declared with the library's own exports.
#include "hm_vd_curve.h"

// A point from absolute coordinates into the coordinate system: M (p - origin).
HOST_C_API int VD_map_point_abs2csys(const double point[3], const double origin[3], const double matrix[9],
                                     double out[3]);
// A point from the coordinate system into absolute coordinates: origin + M^T p.
HOST_C_API int VD_map_point_csys2abs(const double point[3], const double origin[3], const double matrix[9],
                                     double out[3]);
// A vector from absolute coordinates into the coordinate system: M v.
HOST_C_API int VD_map_vector_abs2csys(const double vector[3], const double matrix[9], double out[3]);
// A vector from the coordinate system into absolute coordinates: M^T v.
HOST_C_API int VD_map_vector_csys2abs(const double vector[3], const double matrix[9], double out[3]);
// True when the origin is zero and the matrix the identity (within 1e-10).
HOST_C_API bool VD_csys_is_identity(const double origin[3], const double matrix[9]);

// A new object: the object mapped from the coordinate system into absolute
// coordinates (its coordinates read as csys coordinates). Both mappings keep
// the original's name, colour, layer and blank status on the copy (a face
// copies into a sheet). 0 or a host code.
HOST_C_API int VD_map_geom_csys2abs(tag_t object, const double origin[3], const double matrix[9], tag_t* mapped);
// A new object: the object mapped from absolute coordinates into the coordinate system.
HOST_C_API int VD_map_geom_abs2csys(tag_t object, const double origin[3], const double matrix[9], tag_t* mapped);

// Coordinates of an absolute point in the coordinate system: its
// longitudinal (x), lateral (y) and vertical (z) value. A null argument gives 0.
HOST_C_API double VD_LOCAL_X(const double point[3], const double origin[3], const double matrix[9]);
HOST_C_API double VD_LOCAL_Y(const double point[3], const double origin[3], const double matrix[9]);
HOST_C_API double VD_LOCAL_Z(const double point[3], const double origin[3], const double matrix[9]);
// The coordinate system's x axis (the matrix's first row), in absolute terms.
HOST_C_API void VD_MTX3_X(const double matrix[9], double x_axis[3]);

#endif
