// Helpers shared by the toolbox's sources.
#include "toolbox_internal.h"

#include "morvish.h"
#include "omvra.h"
#include "quillon.h"
#include "rostval.h"

namespace hm_vd_detail {

std::vector<tag_t> list_items(hm_list_p_t list) {
    int count = 0;
    (void)HM_MODL_ask_list_count(list, &count);
    std::vector<tag_t> items;
    items.reserve(count > 0 ? count : 0);
    for (int i = 0; i < count; ++i) {
        tag_t item = 0;
        if (HM_MODL_ask_list_item(list, i, &item) == 0) items.push_back(item);
    }
    return items;
}

bool is_solid(tag_t object, int subtype) {
    int type = 0, object_subtype = 0;
    return HM_OBJ_ask_type_and_subtype(object, &type, &object_subtype) == 0 && type == HM_solid_type &&
           object_subtype == subtype;
}

bool is_curve_type(int type) {
    switch (type) {
    case HM_line_type:
    case HM_circle_type:
    case HM_conic_type:
    case 7:
    case HM_spline_type:
        return true;
    default:
        return false;
    }
}

void delete_temporary(tag_t object) {
    if (object && HM_OBJ_ask_status(object) == HM_OBJ_ALIVE) (void)HM_OBJ_delete_object(object);
}

void wake_curve(tag_t curve) {
    if (es0022(curve) != HM_OBJ_ALIVE) (void)RM_set_sleep_state(curve, false);
}

void free_loops(int loop_count, int* curves_per_loop, tag_t** loops) {
    for (int i = 0; loops && i < loop_count; ++i) SM_free(loops[i]);
    SM_free(loops);
    SM_free(curves_per_loop);
}

}  // namespace hm_vd_detail
