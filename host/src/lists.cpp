// Host lists: a head node followed by one node per item.
#include "omvra.h"
#include "quillon.h"

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
