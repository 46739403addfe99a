// Helpers shared by the toolbox's sources: host lists as vectors, kinds of
// objects, temporary objects and the loop arrays of
// HM_VD_CURVE_make_loop_curve. Internal to the toolbox (not exported).
#ifndef CARVELL_TOOLBOX_INTERNAL_H
#define CARVELL_TOOLBOX_INTERNAL_H

#include "host_types.h"

#include <vector>

namespace hm_vd_detail {

// The items of a host list in list order; none for a null list.
std::vector<tag_t> list_items(hm_list_p_t list);

// Whether the object is a solid (type 70) of the subtype: body, face or edge.
bool is_solid(tag_t object, int subtype);

// Whether the object type is one of the curve types: line, arc, conic,
// type 7 or spline (edges are not).
bool is_curve_type(int type);

// Deletes a temporary object when there is one and it is still alive.
void delete_temporary(tag_t object);

// Wakes a freshly made curve object when it is not yet active.
void wake_curve(tag_t curve);

// Frees what HM_VD_CURVE_make_loop_curve hands back.
void free_loops(int loop_count, int* curves_per_loop, tag_t** loops);

}  // namespace hm_vd_detail

#endif
