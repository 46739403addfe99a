// kestrin: the host's curve projection, curve joining and sections.
#ifndef CARVELL_HOST_KESTRIN_H
#define CARVELL_HOST_KESTRIN_H

#include "host_types.h"

// Projects the point along the direction onto the plane through the origin
// with the normal: *count 1 with the hit, 0 when the line is parallel to the
// plane. Mode 2 takes the whole line through the point (the plane may lie
// behind it); mode 1 only the forward sense (count 0 for a plane behind).
HOST_C_API int CPROJ_point_vec_plane(const double point[3], const double plane_origin[3],
                                     const double plane_normal[3], const double direction[3], int mode,
                                     double projected[3], int* count);

// Projects the point along the unit direction onto a face (its kernel
// entity): a new point object in the tag set for every hit inside the face
// boundary (edges included), nearest first; *count their number. The face
// projector's one mode is 2: along the direction only, never behind the point.
HOST_C_API int CPROJ_point_vector_face(const double point[3], tag_t face, const double direction[3], int mode,
                                       tag_t set, int* count);

// One new curve from curves that form one end-to-end chain within the distance
// tolerance (any order and direction); corners stay C0 breaks. The angle
// tolerance (radians) is not needed by the exact join. *joined is 0 on failure.
HOST_C_API int CRV_JOIN_create_joined_curve(int n_curves, const tag_t* curves, double distance_tolerance,
                                            double angle_tolerance, tag_t* joined);

// Curve projection: the request record, filled by CPROJ_init_data. By
// projection_type:
// 0 along `direction`: both senses of the line when `both_sides` (the
//   default), else only forward;
// 1 along the targets' normals (nothing else is read);
// 2 towards `point`: each curve point along the line to the point, on the
//   point's side of the curve;
// 4 along `direction` leaned by `angle` (radians) towards `point` (about the
//   axis normal to the direction and to the way from the curve to the
//   point), forward only;
// 5 towards the line through `point` along `direction2`: each curve point
//   along the perpendicular to the line, on the line's side;
// 6 along the direction between the unit `direction` (share 1 - `value`)
//   and the unit `direction2` (share `value`), in the sense away from
//   `point` (the side the projection comes from); both senses when
//   `both_sides`.
typedef struct CPROJ_data_s {
    int version;
    int projection_type;
    double direction[3];
    double distance_tolerance;
    double angle_tolerance;   // radians
    double point[3];
    double direction2[3];
    double angle;             // radians
    double value;
    int both_sides;
} CPROJ_data_t;
// The latest version of the projection request record.
HOST_C_API int CPROJ_latest_version(void);
// A request of the given version: type 0, direction (0, 0, 1) to both
// sides, the part's tolerances. 0, HM_ERR_NULL_POINTER or
// HM_ERR_BAD_ARGUMENT (unknown version).
HOST_C_API int CPROJ_init_data(int version, CPROJ_data_t* data);
// Projects each curve (or edge) onto the targets (faces, bodies, planes,
// datum planes): new curve objects added to the tag set, curve by curve and
// in the order of the projection's pieces; *count their number. 0,
// HM_ERR_NULL_POINTER, HM_ERR_INVALID_TAG, HM_ERR_WRONG_TYPE, HM_ERR_BAD_ARGUMENT
// (a direction, point, angle or share that is not a usable number, a zero
// direction, a point on the curve's line of projection, an unknown type)
// or HM_ERR_GEOMETRY.
HOST_C_API int CPROJ_create_curves(const CPROJ_data_t* data, int n_curves, const tag_t* curves, int n_targets,
                                   const tag_t* targets, tag_t set, int* count);


// One side of an intersection: kernel bodies (solids or sheets) or faces.
typedef struct ICURVES_entity_set_s {
    int count;
    const tag_t* entities;
} ICURVES_entity_set_t;
// An intersection-update request (start from a zeroed record): the distance
// tolerance and the two sides.
typedef struct ICURVES_update_data_s {
    double tolerance;
    ICURVES_entity_set_t sets[2];
} ICURVES_update_data_t;
// Intersection curves of every entity of the first set with every entity of
// the second, pair by pair in order: new curve objects in a new array of
// *count tags (free with SM_free; null when none). Two sheets or faces in
// one plane meet in the region they share: the curves of its outline. 0,
// HM_ERR_NULL_POINTER, HM_ERR_BAD_ARGUMENT (an empty set, a tolerance not
// above 0), HM_ERR_INVALID_TAG, HM_ERR_WRONG_TYPE (neither body nor face) or
// HM_ERR_GEOMETRY.
HOST_C_API int ICURVES_create_icurves(const ICURVES_update_data_t* data, int* count, tag_t** curves);
// One new curve per end-to-end chain of the curves within the distance
// tolerance (a copy for a chain of one curve; corners stay C0 breaks), chains
// in the order of their first curves, in a new array of *n_joined tags (free
// with SM_free). The angle tolerance (radians) is not needed by the exact join.
HOST_C_API int CRV_JOIN_auto_join_curves(int n_curves, const tag_t* curves, double distance_tolerance,
                                         double angle_tolerance, int* n_joined, tag_t** joined);

#endif
