// Kinds of host objects as the families test them: curves, solids (bodies,
// faces, edges) and objects still alive.
#ifndef CARVELL_TOOLBOX_DETAIL_OBJECT_KINDS_H
#define CARVELL_TOOLBOX_DETAIL_OBJECT_KINDS_H

#include "host_types.h"

namespace carvell::detail {

// Any subtype, for is_of_kind.
constexpr int kAnySubtype = -1;

// Whether the object type is one of the curve types: line, arc, conic, type
// 7 or spline (edges are not).
bool is_curve_type(int type);

// Whether type and subtype are a curve type or an edge (type 70, subtype 3).
bool is_curve_or_edge(int type, int subtype);

// Whether the object's type and subtype can be asked and are these
// (kAnySubtype: any subtype).
bool is_of_kind(tag_t object, int type, int subtype = kAnySubtype);

// Whether the object is a solid (type 70) of the subtype: body, face or edge.
bool is_solid(tag_t object, int subtype);

// Whether the object is alive (status HM_OBJ_ALIVE).
bool is_alive(tag_t object);

}  // namespace carvell::detail

#endif
