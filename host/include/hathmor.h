// hathmor: the host's basic geometry: points, plane data and loops of curves.
#ifndef CARVELL_HOST_HATHMOR_H
#define CARVELL_HOST_HATHMOR_H

#include "host_types.h"

// Coordinates of a point object.
HOST_C_API int ES_ask_coordinates_of_point(tag_t point, double coords[3]);
// Origin and unit normal of a plane or datum plane (the data CPROJ_point_vec_plane takes).
HOST_C_API int ES_ask_plane_data(tag_t plane, double origin[3], double normal[3]);

// A loop of curves: curves (or edges) joined end to end, in chain order.
// Loops come as chains of nodes linked by `next`.
typedef struct CRV_LST_loop_s {
    int n_curves;
    tag_t* curves;
    struct CRV_LST_loop_s* next;
} CRV_LST_loop_t, *CRV_LST_loop_p_t;

// Groups the curves into loops whose ends meet within the tolerance: the
// closed loops and the open chains, each chain of nodes in the order of the
// loops' first curves (curves in array order start new loops). A closed curve
// is a closed loop of its own. The option is 0. Free both chains with
// CRV_LST_free_curve_list.
HOST_C_API int CRV_LST_make_loops(int option, int n_curves, const tag_t* curves, double tolerance, int* n_closed,
                                  CRV_LST_loop_p_t* closed_loops, int* n_open, CRV_LST_loop_p_t* open_loops);
// The loop's curves in chain order, in a new SM_alloc'd array the caller frees.
HOST_C_API int CRV_LST_get_eids_in_loop(CRV_LST_loop_p_t loop, int* n_curves, tag_t** curves);
// Frees a chain of loop nodes (null: nothing).
HOST_C_API int CRV_LST_free_curve_list(CRV_LST_loop_p_t loops);

// A point object; a line object from start to end (non-zero length), in the work part.
HOST_C_API int ES_create_point(const double coords[3], tag_t* point);
HOST_C_API int ES_create_line_in_part(const double start[3], const double end[3], tag_t* line);

#endif
