// omvra: math. Included by omvra.h; not included on its own.
//
// Vectors are double[2] or double[3]; an orientation matrix is double[9], row
// by row, each row an axis (x row, y row, z row). A transformation (MTX4) is
// double[16] row by row with points as columns: p' = M p, translation in
// elements 3, 7 and 11. The numbered routines hm5941..hm5946 use the
// twelve-value transformation: three rows of four (r00 r01 r02 tx, r10 r11
// r12 ty, r20 r21 r22 tz), p' = R p + t.
//
// Every function answers 0 or a host_error_code. Inputs and outputs may be
// the same array (in-place use). Unitising a vector shorter than the given
// tolerance, or of length 0, fails with HM_ERR_BAD_ARGUMENT: no NaN is ever
// written. Angles are radians unless the name or comment says degrees.
#ifndef CARVELL_HOST_OMVRA_MATH_H
#define CARVELL_HOST_OMVRA_MATH_H

#include "../host_types.h"

#include <stdbool.h>

/* ---- 2-D vectors ---- */
// out = v turned counter-clockwise by angle (radians).
HOST_C_API int HM_VEC2_rotate(const double v[2], double angle, double out[2]);
// unit = v / |v|, magnitude = |v|; fails when |v| is 0 or below tolerance.
HOST_C_API int HM_VEC2_unitize(const double v[2], double tolerance, double* magnitude, double unit[2]);
// out = p + scale * v.
HOST_C_API int HM_VEC2_affine_comb(const double p[2], double scale, const double v[2], double out[2]);
HOST_C_API int HM_VEC2_distance(const double a[2], const double b[2], double* distance);

/* ---- 3-D vectors ---- */
HOST_C_API int HM_VEC3_copy(const double v[3], double out[3]);
HOST_C_API int HM_VEC3_negate(const double v[3], double out[3]);
HOST_C_API int HM_VEC3_add(const double a[3], const double b[3], double out[3]);
HOST_C_API int HM_VEC3_sub(const double a[3], const double b[3], double out[3]);   // out = a - b
HOST_C_API int HM_VEC3_scale(double scale, const double v[3], double out[3]);
// out = p + scale * v.
HOST_C_API int HM_VEC3_affine_comb(const double p[3], double scale, const double v[3], double out[3]);
HOST_C_API int HM_VEC3_dot(const double a[3], const double b[3], double* dot);
HOST_C_API int HM_VEC3_cross(const double a[3], const double b[3], double out[3]);
HOST_C_API int HM_VEC3_mag(const double v[3], double* magnitude);
HOST_C_API int HM_VEC3_distance(const double a[3], const double b[3], double* distance);
// unit = v / |v|, magnitude = |v|; fails when |v| is 0 or below tolerance
// (unit and magnitude are then set to 0).
HOST_C_API int HM_VEC3_unitize(const double v[3], double tolerance, double* magnitude, double unit[3]);
// *result 1 when |v| <= tolerance, else 0.
HOST_C_API int HM_VEC3_is_zero(const double v[3], double tolerance, int* result);
// *result 1 when |a - b| <= tolerance, else 0.
HOST_C_API int HM_VEC3_is_equal(const double a[3], const double b[3], double tolerance, int* result);
// *result 1 when the directions are parallel OR ANTIPARALLEL: the sine of the
// angle between them, |a x b| / (|a| |b|), is at most tolerance. A zero vector
// is parallel to every vector.
HOST_C_API int HM_VEC3_is_parallel(const double a[3], const double b[3], double tolerance, int* result);
// *result 1 when |a . b| / (|a| |b|) <= tolerance (a zero vector counts).
HOST_C_API int HM_VEC3_is_perpendicular(const double a[3], const double b[3], double tolerance, int* result);
// Signed angle, in [0, 2 pi), from `from` to `to` turning counter-clockwise
// about `reference` (right-hand rule); both vectors are first projected onto
// the plane normal to the reference. A zero reference gives the unsigned
// angle in [0, pi]; a zero (projected) vector gives 0.
HOST_C_API int HM_VEC3_angle_between(const double from[3], const double to[3], const double reference[3],
                                     double* angle);
// Unsigned angle between two vectors: the smaller in [0, pi] and the larger,
// 2 pi minus it. A zero vector fails (HM_ERR_BAD_ARGUMENT).
HOST_C_API int HM_MODL_ask_vector_angle(const double vec1[3], const double vec2[3], double* smaller_angle,
                                        double* larger_angle);
// Signed distance of the point from the plane through plane_point along the
// unit normal (normal unitised at tolerance; a shorter normal fails).
HOST_C_API int HM_VEC3_distance_to_plane(const double point[3], const double plane_point[3],
                                         const double plane_normal[3], double tolerance, double* distance);

/* ---- 3x3 orientation matrices (rows are the axes) ---- */
// x axis along x_vec, y axis the part of y_vec normal to it, z = x cross y.
// Fails for a zero or parallel pair.
HOST_C_API int HM_MTX3_initialize(const double x_vec[3], const double y_vec[3], double mtx[9]);
// Right-handed axes with the x (resp. z) axis along the vector; the other two
// axes are the host's choice (a z of (0, 0, 1) gives the identity; an x of
// (1, 0, 0) too). Fails for a zero vector.
HOST_C_API int HM_MTX3_initialize_x(const double x_vec[3], double mtx[9]);
HOST_C_API int HM_MTX3_initialize_z(const double z_vec[3], double mtx[9]);
HOST_C_API int HM_MTX3_x_vec(const double mtx[9], double x_vec[3]);   // row 0
HOST_C_API int HM_MTX3_y_vec(const double mtx[9], double y_vec[3]);   // row 1
HOST_C_API int HM_MTX3_z_vec(const double mtx[9], double z_vec[3]);   // row 2
// out = mtx * v: the components of v along the matrix's three axes.
HOST_C_API int HM_MTX3_vec_multiply(const double v[3], const double mtx[9], double out[3]);
HOST_C_API int HM_MTX3_transpose(const double mtx[9], double out[9]);

/* ---- 4x4 transformations (points as columns) ---- */
HOST_C_API int HM_MTX4_identity(double mtx[16]);
// Rotation by `degrees` counter-clockwise about the axis through origin.
// A zero axis fails unless the angle is a whole number of turns (identity).
HOST_C_API int HM_MTX4_rotation(const double origin[3], const double axis[3], double degrees, double mtx[16]);
// out = the point transformed by mtx (translation included).
HOST_C_API int HM_MTX4_vec3_multiply(const double point[3], const double mtx[16], double out[3]);
// product = the transformation that applies `first` and then `second`
// (the matrix product second * first).
HOST_C_API int HM_MTX4_multiply(const double first[16], const double second[16], double product[16]);
HOST_C_API int HM_MTX4_ask_rotation(const double mtx[16], double rotation[9]);     // upper-left 3x3
HOST_C_API int HM_MTX4_ask_translation(const double mtx[16], double translation[3]);  // elements 3, 7, 11
// The rigid motion that carries the `from` frame onto the `to` frame (each an
// origin and x and y axes; y is made normal to x): a point with coordinates c
// in `from` goes to the point with coordinates c in `to`. With `to` the
// absolute frame it turns absolute points into `from` coordinates.
HOST_C_API int HM_MTX4_csys_to_csys(const double from_origin[3], const double from_x[3], const double from_y[3],
                                    const double to_origin[3], const double to_x[3], const double to_y[3],
                                    double mtx[16]);

// The same product as HM_MTX4_multiply: `first`, then `second`.
HOST_C_API int MTX4_multiply(const double first[16], const double second[16], double product[16]);

/* ---- numbered transformation routines (twelve-value matrices) ---- */
// Transforms the point in place.
HOST_C_API int hm5941(double point[3], const double matrix[12]);
// product = the transformation that applies `first` and then `second`.
HOST_C_API int hm5942(const double first[12], const double second[12], double product[12]);
// Translation by the vector.
HOST_C_API int hm5943(const double translation[3], double matrix[12]);
// Scaling about centre. Type 1: uniform by factors[0]; type 2: by factors[0],
// [1], [2] along the x, y, z axes of the work coordinate system (absolute
// when none is set). Factors must be positive.
HOST_C_API int hm5944(int type, const double centre[3], const double factors[3], double matrix[12]);
// Rotation by `degrees` counter-clockwise about the axis through point. A
// zero axis fails (HM_ERR_BAD_ARGUMENT) unless the angle is a whole number
// of turns, which gives the identity.
HOST_C_API int hm5945(const double point[3], const double axis[3], double degrees, double matrix[12]);
// Reflection through a plane object (plane, type 46, or datum plane, 197).
HOST_C_API int hm5946(tag_t plane, double matrix[12]);
// Origin and unit normal of a plane object (type 46 or 197).
HOST_C_API int hm5375(tag_t plane, double origin[3], double normal[3]);

/* ---- matrix and coordinate-system objects ---- */
// Coordinate codes of HM_CSYS_map_point.
enum hm_csys_code {
    HM_CSYS_ABSOLUTE = 1,        // absolute coordinates
    HM_CSYS_WORK_PART = 2,       // absolute coordinates of the work part (the same as 1 here)
    HM_CSYS_WORK = 3             // the work coordinate system
};
// Matrix object (type 55) of the work part from nine values; the rows must
// be orthonormal (within 1e-4), else HM_ERR_BAD_ARGUMENT.
HOST_C_API int HM_CSYS_create_matrix(const double values[9], tag_t* matrix);
HOST_C_API int HM_CSYS_ask_matrix_values(tag_t matrix, double values[9]);
// Coordinate-system object (type 45) of the work part at origin with the
// orientation of a matrix object. The temporary form makes the same object.
HOST_C_API int HM_CSYS_create_csys(const double origin[3], tag_t matrix, tag_t* csys);
HOST_C_API int HM_CSYS_create_temp_csys(const double origin[3], tag_t matrix, tag_t* csys);
// The matrix object the csys was made from, and its origin.
HOST_C_API int HM_CSYS_ask_csys_info(tag_t csys, tag_t* matrix, double origin[3]);
// Work coordinate system of the work part: 0 means absolute (also after the
// csys that was set has been deleted). Setting 0 returns to absolute.
HOST_C_API int HM_CSYS_ask_wcs(tag_t* csys);
HOST_C_API int HM_CSYS_set_wcs(tag_t csys);
// Maps a point between coordinate codes (hm_csys_code).
HOST_C_API int HM_CSYS_map_point(int from, const double point[3], int to, double out[3]);


// A direction object (smart direction, not associative here) at the origin
// along the direction (unitised; a zero direction fails); owner and update
// option are the host's and not read.
HOST_C_API int HM_SO_create_dirr_doubles(tag_t owner, int update_option, const double origin[3],
                                         const double direction[3], tag_t* dirr);
HOST_C_API int HM_SO_ask_dirr_doubles(tag_t dirr, double origin[3], double direction[3]);

#endif
