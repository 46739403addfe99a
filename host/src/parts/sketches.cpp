// Sketches: features that hold curves drawn in a plane of their own. Which
// sketch a curve belongs to, where a sketch lies and its member curves.
#include "core/model.h"
#include "omvra.h"
#include "quillon.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

using host::find;

const char* const kSketchKind = "SKETCH";

// The sketch record of a feature; null with the status for anything else.
const host::FeatureData* sketch_data(tag_t sketch, int* result) {
    host::Object* o = find(sketch);
    if (!o) {
        *result = HM_ERR_INVALID_TAG;
        return nullptr;
    }
    const auto* d = o->type == HM_feature_type ? std::any_cast<host::FeatureData>(&o->data) : nullptr;
    if (!d || d->kind != kSketchKind) {
        *result = HM_ERR_WRONG_TYPE;
        return nullptr;
    }
    *result = 0;
    return d;
}

}  // namespace

int SKET_ask_sketch_of_member(tag_t curve, tag_t* sketch) {
    if (!sketch) return HM_ERR_NULL_POINTER;
    *sketch = 0;
    if (!find(curve)) return HM_ERR_INVALID_TAG;
    for (const auto& [tag, object] : host::model().objects) {
        if (object.type != HM_feature_type) continue;
        const auto* d = std::any_cast<host::FeatureData>(&object.data);
        if (d && d->kind == kSketchKind && std::find(d->objects.begin(), d->objects.end(), curve) != d->objects.end()) {
            *sketch = tag;
            return 0;
        }
    }
    return 0;
}

int HM_SKET_ask_sketch_info(tag_t sketch, HM_SKET_info_t* info) {
    if (!info) return HM_ERR_NULL_POINTER;
    int r;
    const host::FeatureData* d = sketch_data(sketch, &r);
    if (!d) return r;
    std::memset(info, 0, sizeof *info);
    std::snprintf(info->name, sizeof info->name, "%s", find(sketch)->name.c_str());
    std::copy(d->sketch_orientation.begin(), d->sketch_orientation.end(), info->orientation);
    std::copy(d->sketch_origin.begin(), d->sketch_origin.end(), info->origin);
    return 0;
}

int HM_SKET_ask_geoms_of_sketch(tag_t sketch, int* count, tag_t** geoms) {
    if (!count || !geoms) return HM_ERR_NULL_POINTER;
    *count = 0;
    *geoms = nullptr;
    int r;
    const host::FeatureData* d = sketch_data(sketch, &r);
    if (!d) return r;
    std::vector<tag_t> live;
    for (tag_t t : d->objects)
        if (find(t)) live.push_back(t);
    *count = static_cast<int>(live.size());
    *geoms = host::tag_array(live);
    return 0;
}
