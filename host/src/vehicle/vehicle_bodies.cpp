// The vehicle-design core's bodies made by a feature callback, and its
// sorting of number arrays.
#include "omvra.h"
#include "tessik.h"

#include <algorithm>

int VD_create_bv_body_from_feature(VD_feature_callback_t callback, void* data, tag_t* body) {
    if (!callback || !body) return HM_ERR_NULL_POINTER;
    *body = 0;
    tag_t feature = 0;
    const int code = callback(data, &feature);
    if (code != 0) return code;
    if (!feature) return HM_ERR_GEOMETRY;
    int type = 0, subtype = 0;
    if (HM_OBJ_ask_type_and_subtype(feature, &type, &subtype) == 0 && type == HM_solid_type) {
        *body = feature;   // the callback answered a body in the feature's place
        return 0;
    }
    const int asked = HM_MODL_ask_feat_body(feature, body);
    if (asked != 0) return asked;
    return *body ? 0 : HM_ERR_GEOMETRY;
}

int VD_sort_array_ascending(double* values, int count) {
    if (count > 0 && !values) return HM_ERR_NULL_POINTER;
    if (count > 1) std::sort(values, values + count);
    return 0;
}
