// Kinds of host objects.
#include "toolbox/detail/object_kinds.h"

#include "omvra.h"

namespace carvell::detail {

bool is_curve_type(int type) {
    switch (type) {
    case HM_line_type:
    case HM_circle_type:
    case HM_conic_type:
    case HM_other_curve_type:
    case HM_spline_type:
        return true;
    default:
        return false;
    }
}

bool is_curve_or_edge(int type, int subtype) {
    return is_curve_type(type) || (type == HM_solid_type && subtype == HM_solid_edge_subtype);
}

bool is_of_kind(tag_t object, int type, int subtype) {
    int object_type = 0, object_subtype = 0;
    return HM_OBJ_ask_type_and_subtype(object, &object_type, &object_subtype) == 0 && object_type == type &&
           (subtype == kAnySubtype || object_subtype == subtype);
}

bool is_solid(tag_t object, int subtype) { return is_of_kind(object, HM_solid_type, subtype); }

bool is_alive(tag_t object) { return HM_OBJ_ask_status(object) == HM_OBJ_ALIVE; }

}  // namespace carvell::detail
