// Features of bodies: which features a body (or the body of a face or edge)
// has, what a feature made, its kind and suppression, conversion to an
// unparameterised feature, and the object manager's class check.
#include "core/model.h"
#include "demrath.h"
#include "omvra.h"
#include "quillon.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

using host::find;
using host::model;

host::FeatureData* feature_data(tag_t feature, int* result) {
    host::Object* o = find(feature);
    if (!o) {
        *result = HM_ERR_INVALID_TAG;
        return nullptr;
    }
    host::FeatureData* d = o->type == HM_feature_type ? std::any_cast<host::FeatureData>(&o->data) : nullptr;
    *result = d ? 0 : HM_ERR_WRONG_TYPE;
    return d;
}

// The features of a solid object of the given subtype: its own body's for a
// body, the owning body's for a face or an edge.
int ask_solid_features(tag_t object, int subtype, hm_list_p_t* list) {
    if (!list) return HM_ERR_NULL_POINTER;
    host::Object* o = find(object);
    if (!o) return HM_ERR_INVALID_TAG;
    if (o->type != HM_solid_type || o->subtype != subtype) return HM_ERR_WRONG_TYPE;
    const tag_t body = subtype == HM_solid_body_subtype ? object : o->owner;
    return host::new_list(host::features_of_body(body), list);
}

// The live object behind an internal record pointer, without reading
// through a pointer that may be stale.
host::Object* object_of_record(const void* record) {
    if (!record) return nullptr;
    for (auto& [tag, o] : model().objects)
        if (&o == record) return o.status == HM_OBJ_ALIVE ? &o : nullptr;
    return nullptr;
}

}  // namespace

std::vector<tag_t> host::features_of_body(tag_t body) {
    std::vector<tag_t> features;
    for (auto& [tag, o] : model().objects) {
        if (o.status != HM_OBJ_ALIVE || o.type != HM_feature_type) continue;
        const host::FeatureData* d = std::any_cast<host::FeatureData>(&o.data);
        if (d && d->body == body) features.push_back(tag);
    }
    return features;
}

int HM_MODL_ask_body_feats(tag_t body, hm_list_p_t* features) {
    return ask_solid_features(body, HM_solid_body_subtype, features);
}

int HM_MODL_ask_face_feats(tag_t face, hm_list_p_t* features) {
    return ask_solid_features(face, HM_solid_face_subtype, features);
}

int HM_MODL_ask_edge_feats(tag_t edge, hm_list_p_t* features) {
    return ask_solid_features(edge, HM_solid_edge_subtype, features);
}

int HM_MODL_is_body_feature(tag_t feature, bool* is_body_feature) {
    if (!is_body_feature) return HM_ERR_NULL_POINTER;
    int r;
    host::FeatureData* d = feature_data(feature, &r);
    if (!d) return r;
    *is_body_feature = d->body != 0 && find(d->body) != nullptr;
    return 0;
}

int HM_MODL_ask_feat_body(tag_t feature, tag_t* body) {
    if (!body) return HM_ERR_NULL_POINTER;
    int r;
    host::FeatureData* d = feature_data(feature, &r);
    if (!d) return r;
    *body = find(d->body) ? d->body : 0;
    return 0;
}

int HM_MODL_ask_feat_object(tag_t feature, int* count, tag_t** objects) {
    if (!count || !objects) return HM_ERR_NULL_POINTER;
    int r;
    host::FeatureData* d = feature_data(feature, &r);
    if (!d) return r;
    std::vector<tag_t> made;
    if (find(d->body)) made.push_back(d->body);
    for (tag_t t : d->objects)
        if (t != d->body && find(t)) made.push_back(t);
    *count = static_cast<int>(made.size());
    *objects = host::tag_array(made);
    return 0;
}

int HM_MODL_ask_feat_type(tag_t feature, char** type) {
    if (!type) return HM_ERR_NULL_POINTER;
    int r;
    host::FeatureData* d = feature_data(feature, &r);
    if (!d) return r;
    *type = SM_string_copy(d->kind.c_str());
    return 0;
}

int HM_MODL_ask_suppress_feature(tag_t feature, bool* suppressed) {
    if (!suppressed) return HM_ERR_NULL_POINTER;
    int r;
    host::FeatureData* d = feature_data(feature, &r);
    if (!d) return r;
    *suppressed = d->suppressed;
    return 0;
}

int HM_MODL_suppress_feature(hm_list_p_t features) {
    // Every item is checked before any is suppressed.
    std::vector<host::FeatureData*> data;
    for (tag_t feature : host::list_items(features)) {
        int r;
        host::FeatureData* d = feature_data(feature, &r);
        if (!d) return r;
        data.push_back(d);
    }
    for (host::FeatureData* d : data) d->suppressed = true;
    return 0;
}

int convert_to_brep_feature(void* feature_record) {
    if (!feature_record) return HM_ERR_NULL_POINTER;
    host::Object* o = object_of_record(feature_record);
    if (!o) return HM_ERR_INVALID_TAG;
    host::FeatureData* d = o->type == HM_feature_type ? std::any_cast<host::FeatureData>(&o->data) : nullptr;
    if (!d) return HM_ERR_WRONG_TYPE;
    if (d->suppressed) return HM_ERR_BAD_ARGUMENT;
    d->parameterised = false;
    return 0;
}

bool OM_check_tag_class(tag_t tag, int class_id, const char* file, int line) {
    host::Object* o = find(tag);
    if (o && o->type == class_id) return true;
    char message[256];
    std::snprintf(message, sizeof message, "OM_check_tag_class: tag %u is not of class %d (%s:%d)", tag, class_id,
                  file ? file : "", line);
    ERROR_severe(message);
    return false;
}
