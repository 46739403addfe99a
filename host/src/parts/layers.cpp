// Layers of a part: the work layer that new objects go on, and layer
// categories (a named mask of the 256 layers with a description).
#include "omvra.h"
#include "core/model.h"

#include <cstring>
#include <string>

namespace {

struct CategoryData {
    std::array<bool, 256> mask{};
    std::string description;
};

}  // namespace

int HM_LAYER_set_status(int layer, int status) {
    host::PartData* part = host::work_part_data();
    if (!part) return HM_ERR_NO_PART;
    if (layer < 1 || layer > 256) return HM_ERR_BAD_ARGUMENT;
    if (status != HM_LAYER_WORK_LAYER) return HM_ERR_BAD_ARGUMENT;
    part->work_layer = layer;
    return 0;
}

int HM_LAYER_ask_work_layer(int* layer) {
    if (!layer) return HM_ERR_NULL_POINTER;
    const host::PartData* part = host::work_part_data();
    if (!part) return HM_ERR_NO_PART;
    *layer = part->work_layer;
    return 0;
}

int HM_LAYER_create_category(const HM_LAYER_category_info_t* info, tag_t* category) {
    if (!info || !category) return HM_ERR_NULL_POINTER;
    const tag_t part = host::model().work_part;
    if (!part) return HM_ERR_NO_PART;
    const size_t name_length = strnlen(info->name, sizeof info->name);
    if (name_length == 0 || name_length > HM_LAYER_CATEGORY_NAME_MAX) return HM_ERR_BAD_ARGUMENT;
    if (strnlen(info->descr, sizeof info->descr) > HM_LAYER_CATEGORY_DESCR_MAX) return HM_ERR_BAD_ARGUMENT;
    const std::string name(info->name, name_length);
    for (auto& [tag, o] : host::model().objects)
        if (o.type == HM_category_type && o.part == part && o.status == HM_OBJ_ALIVE && o.name == name)
            return HM_ERR_BAD_ARGUMENT;   // category names are unique in a part
    host::Object& o = host::create(HM_category_type, 0, part);
    o.name = name;
    CategoryData d;
    for (int i = 0; i < 256; ++i) d.mask[i] = info->layer_mask[i];
    d.description.assign(info->descr, strnlen(info->descr, sizeof info->descr));
    o.data = d;
    *category = o.tag;
    return 0;
}

int HM_LAYER_ask_category_info(tag_t category, HM_LAYER_category_info_t* info) {
    if (!info) return HM_ERR_NULL_POINTER;
    host::Object* o = host::find(category, HM_category_type);
    if (!o) return HM_ERR_INVALID_TAG;
    const auto* d = std::any_cast<CategoryData>(&o->data);
    std::memset(info, 0, sizeof *info);
    std::strncpy(info->name, o->name.c_str(), HM_LAYER_CATEGORY_NAME_MAX);
    std::strncpy(info->descr, d->description.c_str(), HM_LAYER_CATEGORY_DESCR_MAX);
    for (int i = 0; i < 256; ++i) info->layer_mask[i] = d->mask[i];
    return 0;
}
