// Owners of host lists, memory-manager blocks and temporary objects.
#include "toolbox/detail/owners.h"

#include "morvish.h"

#include <algorithm>

namespace carvell::detail {

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

hm_list_p_t new_list(const std::vector<tag_t>& items) {
    hm_list_p_t list = nullptr;
    (void)HM_MODL_create_list(&list);
    for (tag_t item : items) (void)HM_MODL_put_list_item(list, item);
    return list;
}

hm_list_p_t list_of_tags(int count, const tag_t* tags) {
    if (count < 1 || !tags) return nullptr;
    return new_list(std::vector<tag_t>(tags, tags + count));
}

hm_list_p_t copy_of_list(hm_list_p_t list) {
    const std::vector<tag_t> items = list_items(list);
    return items.empty() ? nullptr : new_list(items);
}

void delete_list(hm_list_p_t* list) {
    if (*list) (void)HM_MODL_delete_list(list);
    *list = nullptr;
}

void delete_if_alive(tag_t object) {
    if (object && HM_OBJ_ask_status(object) == HM_OBJ_ALIVE) (void)HM_OBJ_delete_object(object);
}

void free_intersection_entries(int count, HM_MODL_intersection_t** entries) {
    for (int i = 0; i < count && entries; ++i) HM_free(entries[i]);
    HM_free(entries);
}

void discard_intersection_entries(int count, HM_MODL_intersection_t** entries) {
    for (int i = 0; i < count && entries; ++i)
        if (entries[i] && entries[i]->kind == HM_INTERSECTION_CURVE && entries[i]->curve != NULL_TAG)
            (void)HM_OBJ_delete_object(entries[i]->curve);
    free_intersection_entries(count, entries);
}

Temporaries::~Temporaries() {
    if (disposal_ == Disposal::log_for_update) {
        for (tag_t object : objects_) (void)UPDATE_log_entity_to_delete(object);
        return;
    }
    for (auto it = objects_.rbegin(); it != objects_.rend(); ++it) delete_if_alive(*it);
}

void Temporaries::release(tag_t object) {
    objects_.erase(std::remove(objects_.begin(), objects_.end(), object), objects_.end());
}

}  // namespace carvell::detail
