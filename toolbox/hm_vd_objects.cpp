// Object, feature and list utilities: copying, deleting and re-layering
// objects, moving tags between host lists and arrays, features of bodies
// and their suppression, and the rule-language objects of an instance.
#include "demrath.h"
#include "hm_vd/objects.h"
#include "lurvane.h"
#include "morvish.h"
#include "omvra.h"
#include "quillon.h"
#include "tessik.h"

#include "toolbox/detail/object_kinds.h"
#include "toolbox/detail/owners.h"
#include "toolbox/detail/rule_path.h"

#include <cstring>
#include <string>
#include <vector>

namespace {

using carvell::detail::is_alive;
using carvell::detail::list_items;

bool is_solid_body(tag_t object) { return carvell::detail::is_solid(object, HM_solid_body_subtype); }

// The internal record of a feature, its class checked first when the host
// checks classes.
void* feature_record(tag_t feature) {
    if (MACH__checking_level >= 1) OM_check_tag_class(feature, Korvath::FEATURE_RECORDClassId, __FILE__, __LINE__);
    return TAG_ask_pointer_of_tag(feature);
}

// Whether any feature of the list is suppressed.
bool any_suppressed(hm_list_p_t features) {
    for (tag_t feature : list_items(features)) {
        bool suppressed = false;
        if (HM_MODL_ask_suppress_feature(feature, &suppressed) == 0 && suppressed) return true;
    }
    return false;
}

// Whether one object of the examination is suppressed or gone; *stop ends
// the examination.
bool examine(tag_t object, bool* stop) {
    *stop = false;
    if (object == 0 || OCC_is_occurrence(object)) {
        *stop = true;
        return false;
    }
    int type = 0, subtype = 0;
    HM_OBJ_ask_type_and_subtype(object, &type, &subtype);
    if (type == HM_feature_type) {
        bool suppressed = false;
        HM_MODL_ask_suppress_feature(object, &suppressed);
        *stop = suppressed;
        return suppressed;
    }
    if (type == HM_solid_type) {
        hm_list_p_t features = nullptr;
        if (subtype == HM_solid_body_subtype) HM_MODL_ask_body_feats(object, &features);
        else if (subtype == HM_solid_face_subtype) HM_MODL_ask_face_feats(object, &features);
        else if (subtype == HM_solid_edge_subtype) HM_MODL_ask_edge_feats(object, &features);
        if (!features) {
            *stop = true;
            return true;
        }
        const bool suppressed = any_suppressed(features);
        HM_MODL_delete_list(&features);
        *stop = suppressed;
        return suppressed;
    }
    const bool gone = !is_alive(object);
    *stop = gone;
    return gone;
}

}  // namespace

int HM_VD_copy_object(unsigned int layer, int n, const tag_t* objects, tag_t* copies) {
    if (n < 1) return 0;
    // Nothing to copy from or nowhere to put the copies: no success.
    if (!objects || !copies) return -1;
    for (int i = 0; i < n; ++i) {
        const tag_t copy = VD_copy_object(objects[i]);
        if (copy == 0) return -1;
        if (layer != HM_VD_KEEP_LAYER) HM_OBJ_set_layer(copy, static_cast<int>(layer));
        copies[i] = copy;
    }
    return 0;
}

int HM_VD_delete_obj_list(hm_list_p_t* list) {
    if (!list || !*list) return 0;
    for (tag_t object : list_items(*list))
        if (object != 0) UPDATE_log_entity_to_delete(object);
    return HM_MODL_delete_list(list);
}

int HM_VD_delete_object(tag_t object) {
    if (is_solid_body(object)) return HM_VD_delete_object_feature(object);
    return HM_OBJ_delete_object(object);
}

int HM_VD_delete_object_feature(tag_t body) {
    int count = 0;
    void** records = nullptr;
    if (HM_VD_ask_body_feats(body, &count, &records) == 1) {
        UPDATE_log_entity_to_delete(body);
        return 1;
    }
    // The body leaves its part at the next update, and its features with it.
    UPDATE_log_entity_to_delete(body);
    SM_free(records);
    return 0;
}

void HM_VD_set_obj_array_layer(hm_list_p_t list, int layer) {
    for (tag_t object : list_items(list)) HM_OBJ_set_layer(object, layer);
}

void HM_VD_add_list_item(hm_list_p_t* destination, hm_list_p_t source) {
    if (!destination || !source) return;
    const std::vector<tag_t> items = list_items(source);
    if (items.empty()) return;
    if (!*destination) HM_MODL_create_list(destination);
    for (tag_t item : items) HM_MODL_put_list_item(*destination, item);
}

int HM_VD_ipv_change_list_to_array(hm_list_p_t list, int* count, tag_t** objects) {
    if (!count || !objects) return HM_ERR_NULL_POINTER;
    int n = 0;
    int result = HM_MODL_ask_list_count(list, &n);
    *count = 0;
    *objects = nullptr;
    if (n < 1) return result;
    auto* array = static_cast<tag_t*>(SM_alloc(n * sizeof(tag_t)));
    for (int i = 0; i < n; ++i) {
        array[i] = 0;
        result = HM_MODL_ask_list_item(list, i, &array[i]);
    }
    *count = n;
    *objects = array;
    return result;
}

int HM_VD_ipv_change_array_to_list(int n, const tag_t* objects, hm_list_p_t* list) {
    if (!list) return HM_ERR_NULL_POINTER;
    int result = HM_MODL_create_list(list);
    if (!objects) return result;
    for (int i = 0; i < n; ++i) result = HM_MODL_put_list_item(*list, objects[i]);
    return result;
}

tag_t HM_VD_change_feat_to_obj(tag_t object) {
    if (!carvell::detail::is_of_kind(object, HM_feature_type)) return object;
    bool is_body_feature = false;
    HM_MODL_is_body_feature(object, &is_body_feature);
    tag_t result = 0;
    if (is_body_feature) {
        HM_MODL_ask_feat_body(object, &result);
        return result;
    }
    int count = 0;
    tag_t* made = nullptr;
    HM_MODL_ask_feat_object(object, &count, &made);
    if (count > 0 && made) result = made[0];
    HM_free(made);
    return result;
}

int HM_VD_feat_to_datum_type(tag_t object, tag_t* datum) {
    if (!datum) return HM_ERR_NULL_POINTER;
    int type = 0, subtype = 0;
    const int result = HM_OBJ_ask_type_and_subtype(object, &type, &subtype);
    if (result != 0 || type != HM_feature_type) {
        *datum = object;
        return result;
    }
    int count = 0;
    tag_t* made = nullptr;
    const int asked = HM_MODL_ask_feat_object(object, &count, &made);
    *datum = (asked == 0 && count == 1 && made) ? made[0] : 0;
    HM_free(made);
    return asked;
}

int HM_VD_ask_body_feats(tag_t body, int* count, void*** feature_records) {
    if (!count || !feature_records) return HM_ERR_NULL_POINTER;
    *count = 0;
    *feature_records = nullptr;
    if (!is_solid_body(body)) return 1;
    hm_list_p_t features = nullptr;
    HM_MODL_ask_body_feats(body, &features);
    int n = 0;
    HM_MODL_ask_list_count(features, &n);
    // Allocated also for no features: the caller always frees it.
    auto** records = static_cast<void**>(SM_alloc((n > 0 ? n : 1) * sizeof(void*)));
    for (int i = 0; i < n; ++i) {
        tag_t feature = 0;
        HM_MODL_ask_list_item(features, i, &feature);
        records[i] = feature_record(feature);
    }
    HM_MODL_delete_list(&features);
    *count = n;
    *feature_records = records;
    return 0;
}

int HM_VD_find_body_feats(tag_t object, hm_list_p_t* features) {
    if (!features) return HM_ERR_NULL_POINTER;
    int type = 0, subtype = 0;
    HM_OBJ_ask_type_and_subtype(object, &type, &subtype);
    if (type != HM_solid_type) return 1;
    // A face or edge (type 70 too) has no body features: the host's failure.
    return HM_MODL_ask_body_feats(object, features);
}

void HM_VD_ask_face_suppress(int n, const tag_t* objects, bool* suppressed) {
    if (!suppressed) return;
    *suppressed = false;
    if (n < 1 || !objects) return;
    if (PART_is_cmod_data_loaded(PART_ask_part_of_object(objects[0]))) {
        for (int i = 0; i < n; ++i) {
            bool stop = false;
            *suppressed = examine(objects[i], &stop);
            if (stop) return;
        }
        return;
    }
    for (int i = 0; i < n; ++i) {
        if (!is_alive(objects[i])) {
            *suppressed = true;
            return;
        }
    }
}

int HM_VD_delete_rule_objects(const char* parent, const char* name) {
    if (!parent || !name) return 0;
    int count = 0;
    carvell::detail::SmBlock<tag_t> objects;
    {
        const carvell::detail::RulePath path(parent, name);
        VD_RQ_ask_objs_list(path.text(), &count, objects.out());
    }
    // The objects stay when the instance cannot be deleted.
    if (count >= 1 && HM_RQ_delete_instance_rule(parent, name) == 0) {
        for (int i = 0; i < count; ++i) {
            if (objects[i] == 0) continue;
            HM_VD_delete_object(objects[i]);
            objects[i] = 0;
        }
    }
    return 0;
}

namespace {

// Room for a parameter text of an adopted child rule: 133 characters and
// the terminator.
constexpr size_t kParameterTextSize = 134;

char* new_parameter_text() { return static_cast<char*>(SM_calloc(1, kParameterTextSize)); }

}  // namespace

int HM_VD_adopt_feature(tag_t object) {
    tag_t* instances = nullptr;
    const int adopted = HM_RQ_adopt_kw_objects(1, &object, &instances);
    if (adopted != 0) {
        HM_free(instances);
        return adopted;
    }
    char* host_chain = nullptr;
    HM_RQ_ask_name_chain_of_instance(instances[0], &host_chain);
    char* chain = SM_string_copy(host_chain ? host_chain : "");
    SM_free(host_chain);

    // The child rule's name lies between the chain's first and second colon.
    std::string name = chain;
    const size_t first = name.find(':');
    name = first == std::string::npos ? std::string() : name.substr(first + 1);
    const size_t second = name.find(':');
    if (second != std::string::npos) name.erase(second);

    char* class_name = nullptr;
    HM_RQ_ask_instance_class(chain, &class_name);

    int count = 2;
    auto** names = static_cast<char**>(SM_alloc(count * sizeof(char*)));
    auto** values = static_cast<char**>(SM_alloc(count * sizeof(char*)));
    names[0] = new_parameter_text();
    STR_snprintf(names[0], kParameterTextSize, "%s", "inMntTree?");
    values[0] = new_parameter_text();
    STR_snprintf(values[0], kParameterTextSize, "%s", "false");
    names[1] = new_parameter_text();
    STR_snprintf(names[1], kParameterTextSize, "%s", "inTree?");
    values[1] = new_parameter_text();
    STR_snprintf(values[1], kParameterTextSize, "%s", "false");

    if (class_name && std::strcmp(class_name, "kw_sphere") == 0) {
        double diameter = 0.0;
        double centre[3] = {0.0, 0.0, 0.0};
        HM_RQ_value_t value = 0;
        const std::string diameter_rule = std::string(chain) + "Diameter:";
        const std::string centre_rule = std::string(chain) + "Center:";
        if (HM_RQ_evaluate_rule(diameter_rule.c_str(), &value) == 0) HM_RQ_ask_number(value, &diameter);
        if (HM_RQ_evaluate_rule(centre_rule.c_str(), &value) == 0) HM_RQ_ask_point(value, centre);
        count = 4;
        names = static_cast<char**>(SM_realloc(names, count * sizeof(char*)));
        values = static_cast<char**>(SM_realloc(values, count * sizeof(char*)));
        names[2] = new_parameter_text();
        STR_snprintf(names[2], kParameterTextSize, "%s", "Diameter");
        values[2] = new_parameter_text();
        STR_snprintf(values[2], kParameterTextSize, "%f", diameter);
        names[3] = new_parameter_text();
        STR_snprintf(names[3], kParameterTextSize, "%s", "Center");
        values[3] = new_parameter_text();
        STR_snprintf(values[3], kParameterTextSize, "Point(%f,%f,%f)", centre[0], centre[1], centre[2]);
    }

    HM_RQ_create_child_rule(HM_ASSEM_ask_work_part(), "root:", name.c_str(), class_name ? class_name : "", count,
                            names, values);
    HM_MODL_update();
    HM_free(instances);
    for (int i = 0; i < count; ++i) {
        SM_free(names[i]);
        SM_free(values[i]);
    }
    SM_free(names);
    SM_free(values);
    SM_free(class_name);
    SM_free(chain);
    return 0;
}
