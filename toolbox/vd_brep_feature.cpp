// The conversion of a body's features to unparameterised (boundary-
// representation) features. Kept in a file of its own, on the host's headers
// and the library's exported ones only: the 2003 release takes the function
// from its host's vehicle-design core, which builds this source.
#include "demrath.h"
#include "hm_vd/objects.h"
#include "omvra.h"
#include "quillon.h"

namespace {

// The internal record of a feature, its class checked first when the host
// checks classes.
void* feature_record(tag_t feature) {
    if (MACH__checking_level >= 1) OM_check_tag_class(feature, Korvath::FEATURE_RECORDClassId, __FILE__, __LINE__);
    return TAG_ask_pointer_of_tag(feature);
}

}  // namespace

int VD_convert_to_brep_feature(tag_t body) {
    hm_list_p_t features = nullptr;
    int failure = HM_MODL_ask_body_feats(body, &features);
    int count = 0;
    HM_MODL_ask_list_count(features, &count);
    for (int i = 0; i < count && failure == 0; ++i) {
        tag_t feature = 0;
        failure = HM_MODL_ask_list_item(features, i, &feature);
        if (failure == 0) failure = convert_to_brep_feature(feature_record(feature));
    }
    const int deleted = HM_MODL_delete_list(&features);
    return failure ? failure : deleted;
}
