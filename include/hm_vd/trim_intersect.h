// Composite curve operations of the toolbox (plain names): curves split at a
// plane and sorted by side, the face edges that form the one closed boundary
// of a set of faces, intersection curves of two objects, and the projection
// of a curve onto a target as seen from an eye point.
//
// Curve parameters are normalised. Arrays handed back are allocated with the
// host's memory manager and freed by the caller with SM_free; lists handed
// back are deleted by the caller with HM_MODL_delete_list.
#ifndef CARVELL_HM_VD_TRIM_INTERSECT_H
#define CARVELL_HM_VD_TRIM_INTERSECT_H

#include "carvell_export.h"
#include "host_types.h"

#include <stdbool.h>

// Host error codes of HM_VD_get_loop_edges.
#define HM_VD_ERR_SEW_SHEETS 671392      // "Failed to sew sheets"
#define HM_VD_ERR_OPEN_BOUNDARY 671435   // "boundary curves is not a closed loop"
#define HM_VD_ERR_NO_ORIGINAL 670964     // "no original edge found"

// Splits every curve of the list at the plane through `point` with `normal`
// and sorts the pieces by the side of their mid points: `toward` gets those
// on the normal's side (or on the plane), `away` the others. A curve that
// crosses the plane is replaced by new pieces (the curve itself is logged for
// deletion at the next update); one that does not goes whole into a list.
// Both new lists hold first the pieces, then the whole curves, in list order.
// 0; 2 when the mid point of a curve cannot be found (that curve goes into
// neither list); the host's code when the plane cannot be made (both lists
// empty); -1 for an empty list (out lists not written); with nothing done
// and the out lists not written: HM_ERR_NULL_POINTER for a null pointer,
// HM_ERR_BAD_ARGUMENT for a point or normal that is not finite, and
// HM_ERR_WRONG_OBJECT (875033) when a live item is no curve (line, arc,
// conic or spline): a body, a plane or an edge is never logged for deletion.
CARVELL_C_EXPORT int HM_VD_trim_curves_by_plane(hm_list_p_t curves, const double point[3], const double normal[3],
                                                hm_list_p_t* away, hm_list_p_t* toward);

// Checks that the n faces sew into one sheet whose boundary is one closed
// loop. With `return_edges` set, *edges holds the faces' own edges that form
// that loop, in loop order (*count of them); otherwise *count is 0 and *edges
// null. The part is left as it was. 0, or HM_VD_ERR_SEW_SHEETS,
// HM_VD_ERR_OPEN_BOUNDARY, HM_VD_ERR_NO_ORIGINAL or another host error's
// code, with *count 0 and *edges null (HM_ERR_NULL_POINTER for a null face
// array with n above 0).
CARVELL_C_EXPORT int HM_VD_get_loop_edges(int n, const tag_t* faces, bool return_edges, int* count,
                                          tag_t** edges);

// Intersection of two objects (a feature stands for its first object) as a
// new list of new curves and points; *list is null when nothing was found.
// Two bodies meet in the curves of their section; other pairs meet in the
// curves and points of the host's intersection at the tolerance. Answers the
// host's result; HM_ERR_NULL_POINTER for a null list pointer and
// HM_ERR_BAD_ARGUMENT (nothing made) for a tolerance that is not finite.
CARVELL_C_EXPORT int HM_VD_ask_intersection_curves(tag_t object1, tag_t object2, double tolerance,
                                                   hm_list_p_t* list);

// The curves in which the cone of sight lines from the eye through the curve
// meets the target (an object, or a feature standing for its object), at the
// tolerance, in a new list (empty when the cone misses the target). Nothing
// made on the way stays in the part. Answers the result of making the cone,
// or of the intersection when one was made; -1 (nothing done) for a null
// curve or target; HM_ERR_NULL_POINTER for a null eye or list pointer and
// HM_ERR_BAD_ARGUMENT for an eye or tolerance that is not finite (list not
// written).
CARVELL_C_EXPORT int HM_VD_eyepoint_project_curve(const double eye[3], tag_t curve, double tolerance, tag_t target,
                                                  hm_list_p_t* list);

#endif
