// Host lists: a head node followed by one node per item; the stand-in's
// own conversions between lists, vectors and arrays of tags.
#include "core/model.h"
#include "omvra.h"
#include "quillon.h"

#include <algorithm>

int HM_MODL_create_list(hm_list_p_t* list) {
    if (!list) return HM_ERR_NULL_POINTER;
    auto* head = static_cast<hm_list_p_t>(SM_calloc(1, sizeof(hm_list_t)));
    if (!head) return HM_ERR_BAD_ARGUMENT;
    *list = head;
    return 0;
}

int HM_MODL_put_list_item(hm_list_p_t list, tag_t item) {
    if (!list) return HM_ERR_NULL_POINTER;
    hm_list_p_t last = list;
    while (last->next) last = last->next;
    auto* node = static_cast<hm_list_p_t>(SM_calloc(1, sizeof(hm_list_t)));
    if (!node) return HM_ERR_BAD_ARGUMENT;
    node->eid = item;
    last->next = node;
    return 0;
}

int HM_MODL_ask_list_count(hm_list_p_t list, int* count) {
    if (!count) return HM_ERR_NULL_POINTER;
    int n = 0;
    for (hm_list_p_t node = list ? list->next : nullptr; node; node = node->next) ++n;
    *count = n;
    return 0;
}

int HM_MODL_ask_list_item(hm_list_p_t list, int index, tag_t* item) {
    if (!item) return HM_ERR_NULL_POINTER;
    if (!list || index < 0) return HM_ERR_BAD_ARGUMENT;
    hm_list_p_t node = list->next;
    for (int i = 0; node && i < index; ++i) node = node->next;
    if (!node) return HM_ERR_BAD_ARGUMENT;
    *item = node->eid;
    return 0;
}

int HM_MODL_delete_list(hm_list_p_t* list) {
    if (!list) return HM_ERR_NULL_POINTER;
    hm_list_p_t node = *list;
    while (node) {
        hm_list_p_t next = node->next;
        SM_free(node);
        node = next;
    }
    *list = nullptr;
    return 0;
}

namespace host {

std::vector<tag_t> list_items(hm_list_p_t list) {
    std::vector<tag_t> items;
    for (hm_list_p_t node = list ? list->next : nullptr; node; node = node->next) items.push_back(node->eid);
    return items;
}

int new_list(const std::vector<tag_t>& tags, hm_list_p_t* list) {
    hm_list_p_t made = nullptr;
    if (int r = HM_MODL_create_list(&made)) return r;
    for (tag_t t : tags) {
        if (int r = HM_MODL_put_list_item(made, t)) {
            HM_MODL_delete_list(&made);
            return r;
        }
    }
    *list = made;
    return 0;
}

tag_t* tag_array(const std::vector<tag_t>& tags) {
    if (tags.empty()) return nullptr;
    auto* array = static_cast<tag_t*>(SM_alloc(tags.size() * sizeof(tag_t)));
    if (array) std::copy(tags.begin(), tags.end(), array);
    return array;
}

}  // namespace host
