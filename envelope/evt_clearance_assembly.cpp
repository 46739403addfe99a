// The tire-envelope tool's assembly work for the clearance analysis: the
// subtree of a component, the objects and zone expressions of the clearance
// lists, full loading of the fixing components, and the engine roll's moving
// components with their copies "ROLL_MOVING_COMP_COPY_<i>".
#include "eve_internal.h"
#include "vd_eve.h"
#include "vd_evt.h"

#include "brindor.h"
#include "caldwyn.h"
#include "lurvane.h"
#include "morvish.h"
#include "omvra.h"
#include "quillon.h"
#include "toolbox/detail/finite.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace carvell::envelope {
namespace {

constexpr int kBadInput = -1;
// Comparison kind of a list whose objects are each checked against every other.
constexpr int kEveryOther = 4;
// Comparison kind of a list of pairs (an object and its engine-roll copy).
constexpr int kPairs = 2;
// The lists object type of occurrences of components.
constexpr int kOccurrenceObjects = 1;
// A zone expression's text: "%f" of the value.
constexpr int kExpressionSize = 64;

// Writes the component, then each part-occurrence child's subtree in order
// (a child just before its own children).
void append_subtree(tag_t component, std::vector<tag_t>* out) {
    out->push_back(component);
    int n = 0;
    tag_t* children = nullptr;
    if (HM_ASSEM_ask_part_occ_children(component, &n, &children) == 0)
        for (int i = 0; i < n; ++i) append_subtree(children[i], out);
    SM_free(children);
}

tag_t* tag_block(const std::vector<tag_t>& tags) {
    if (tags.empty()) return nullptr;
    auto* block = static_cast<tag_t*>(SM_alloc(tags.size() * sizeof(tag_t)));
    std::copy(tags.begin(), tags.end(), block);
    return block;
}

// The objects of the component's subtree, each occurrence blanked, with one
// zone expression of the value per object. The last objects query's status.
int collect_component(tag_t component, double value, std::vector<tag_t>* objects, std::vector<tag_t>* expressions) {
    std::vector<tag_t> subtree;   // grows with the subtree, however large
    append_subtree(component, &subtree);
    char text[kExpressionSize];
    std::snprintf(text, sizeof text, "%f", value);
    int result = 0;
    for (tag_t occurrence : subtree) {
        OCC_blank_component(occurrence, 0, 1, nullptr, 0);
        int n = 0;
        tag_t* found = nullptr;
        result = VD_EVTWIZ_ask_objs_tag_of_component(occurrence, &n, &found);
        for (int k = 0; result == 0 && k < n; ++k) {
            tag_t expression = 0;
            if (int code = HM_MODL_create_exp_tag(text, &expression)) {
                result = code;
                break;
            }
            objects->push_back(found[k]);
            expressions->push_back(expression);
        }
        SM_free(found);
    }
    return result;
}

// The part occurrence of the first engine-roll copy among the components of
// the data set's part; 0 for none.
tag_t first_roll_copy(tag_t dataset) {
    tag_t part = 0;
    if (HM_OBJ_ask_owning_part(dataset, &part) != 0) return 0;
    const tag_t instance = OCC_ask_instance_of_name(part, roll_copy_name(0).c_str());
    return instance ? OCC_ask_part_occ_of_instance(part, instance) : 0;
}

// Every configuration's position 0 keeps its transform and int and moves the
// given objects. The last host result.
int set_moving_objects(tag_t dataset, int n, const tag_t* objects) {
    int n_configurations = 0;
    int result = CLEAR_ask_num_configurations(dataset, &n_configurations);
    for (int c = 0; result == 0 && c < n_configurations; ++c) {
        MTX4_t m{};
        int value = 0, count = 0;
        tag_t* old = nullptr;
        result = CLEAR_ask_configuration_position_data(dataset, c, 0, &m, &value, &count, &old);
        SM_free(old);
        if (result == 0) result = CLEAR_set_configuration_position_data(dataset, c, 0, &m, value, n, objects);
    }
    return result;
}

// Loads the part of a component that is not loaded: 0, or the load status's
// first code (the call's own when the status names none).
int load_component(tag_t component) {
    PART_load_status_t status{};
    const int code = PART_load_component(component, &status);
    const int result = code == 0 ? 0 : (status.n_parts > 0 && status.statuses ? status.statuses[0] : code);
    PART_free_load_status(&status);
    return result;
}

// Adds a copy of the moving occurrence as the component `name` of the
// assembly, at the occurrence's place. The addition's result.
int add_roll_copy(tag_t assembly, tag_t moving, const std::string& name) {
    const tag_t component = HM_ASSEM_ask_part_occurrence(moving);
    const tag_t part = HM_ASSEM_ask_prototype_of_occ(component);
    char* file = nullptr;
    char* refset = nullptr;
    double placement[4][4] = {};
    int result = PART_ask_filename_of_part(part, &file);
    if (result == 0) result = ASSY_get_name_of_ref_set(component, &refset);
    // The host names "no reference set" "None"; the copy is added with none.
    if (result == 0 && refset && std::strcmp(refset, "None") == 0) refset[0] = '\0';
    if (result == 0) result = OCC_ask_transform_of_occurrence(moving, &placement[0][0]);
    tag_t instance = 0;
    if (result == 0) result = VD_EVTWIZ_add_component_to_assy(assembly, file, refset, name.c_str(), placement, &instance);
    SM_free(file);
    SM_free(refset);
    return result;
}

// Loads one fixing occurrence fully: 0, or the host's code.
int load_fully(tag_t occurrence) {
    const tag_t prototype = HM_ASSEM_ask_prototype_of_occ(occurrence);
    if (prototype == 0) return HM_ASSEM_ask_inst_of_part_occ(occurrence) ? load_component(occurrence) : 0;
    tag_t part = 0;
    char* file = nullptr;
    int result = HM_OBJ_ask_owning_part(prototype, &part);
    if (result == 0) result = PART_ask_filename_of_part(part, &file);
    if (result == 0 && HM_PART_is_loaded(file) != 1) {
        tag_t opened = 0;
        HM_PART_load_status_t status{};
        result = HM_PART_open_quiet(file, &opened, &status);
        PART_free_load_status(&status);
    }
    SM_free(file);
    return result;
}

}  // namespace
}  // namespace carvell::envelope

using namespace carvell::envelope;

int VD_EVTWIZ_ask_child_part_tags(tag_t component, int* count, tag_t* array) {
    if (!count || !array || *count < 0 || *count > VD_EVT_MAX_SUBTREE_TAGS) return kBadInput;
    std::vector<tag_t> subtree;
    append_subtree(component, &subtree);
    if (subtree.size() > static_cast<size_t>(VD_EVT_MAX_SUBTREE_TAGS - *count)) return kBadInput;
    std::copy(subtree.begin(), subtree.end(), array + *count);
    *count += static_cast<int>(subtree.size());
    return 0;
}

int VD_EVTWIZ_add_component_to_assy(tag_t parent, const char* part_name, const char* refset,
                                    const char* instance_name, double placement[4][4], tag_t* instance) {
    if (!placement) return kBadInput;
    return add_part_to_assembly(parent, part_name, refset, instance_name, &placement[0][0], instance);
}

int VD_EVT_ask_clr_list_objs(tag_t part_object, const double* values, int n_extra, const tag_t* extra,
                             int n_components, const tag_t* components, int* n_objects, tag_t** objects,
                             int* n_expressions, tag_t** expressions) {
    (void)part_object;   // the work part's object of the tool; the lists do not depend on it
    if (n_objects) *n_objects = 0;
    if (objects) *objects = nullptr;
    if (n_expressions) *n_expressions = 0;
    if (expressions) *expressions = nullptr;
    if (!n_objects || !objects || !n_expressions || !expressions || n_extra < 0 || n_components < 0 ||
        (n_extra > 0 && !extra) || (n_components > 0 && (!components || !values)) ||
        !carvell::detail::count_fits(n_extra, sizeof(tag_t)) || !carvell::detail::count_fits(n_components, sizeof(tag_t)) ||
        (n_components > 0 && !carvell::detail::all_modelled(values, n_components)))
        return kBadInput;
    SessionBracket bracket;
    std::vector<tag_t> found, zones;
    int result = 0;
    for (int i = 0; i < n_components; ++i) result = collect_component(components[i], values[i], &found, &zones);
    found.insert(found.end(), extra, extra + n_extra);
    *n_objects = static_cast<int>(found.size());
    *objects = tag_block(found);
    *n_expressions = static_cast<int>(zones.size());
    *expressions = tag_block(zones);
    return result;
}

int VD_EVT_load_fixing_components_fully(tag_t* occurrences, int n) {
    if (n < 0 || (n > 0 && !occurrences) || !carvell::detail::count_fits(n, sizeof(tag_t))) return kBadInput;
    HM_ASSEM_options_t options{};
    if (int code = HM_ASSEM_ask_assem_options(&options)) return code;
    const HM_ASSEM_options_t kept = options;
    options.load_fully = 1;
    options.load_interpart_data = 1;
    int result = HM_ASSEM_set_assem_options(&options);
    int failure = 0;
    // Every occurrence is tried; the last failure is the answer.
    for (int i = 0; result == 0 && i < n; ++i) {
        const int code = load_fully(occurrences[i]);
        if (code != 0) failure = code;
    }
    if (result == 0) result = failure;
    options.load_fully = kept.load_fully;
    options.load_interpart_data = kept.load_interpart_data;
    const int restored = HM_ASSEM_set_assem_options(&options);
    return result != 0 ? result : restored;
}

int VD_EVTWIZ_ENGINE_ROLL_add_objects_to_list(tag_t dataset, int list, int n, tag_t* objects) {
    if (n < 0 || (n > 0 && !objects) || !carvell::detail::count_fits(n, sizeof(tag_t))) return kBadInput;
    int type = 0;
    int result = CLEAR_ask_lists_obj_type(dataset, &type);
    if (result != 0) return result;
    if (type != kOccurrenceObjects && (result = CLEAR_set_lists_obj_type(dataset, kOccurrenceObjects)) != 0)
        return result;
    result = CLEAR_set_obj_list(dataset, list, kEveryOther, n, objects, 0);
    if (list != 1 || result != 0) return result;
    CLEAR_list_data_t data{};
    if ((result = CLEAR_ask_list_data(dataset, &data)) != 0) return result;
    if (data.list2_kind != kEveryOther && n >= 1) {
        const tag_t pair[2] = {objects[0], first_roll_copy(dataset)};
        result = CLEAR_set_obj_list(dataset, 2, kPairs, 2, pair, 0);
    }
    const int moved = set_moving_objects(dataset, n, objects);
    return data.n_configurations > 0 ? moved : result;
}

int VD_EVTWIZ_ENGINE_ROLL_copy_moving_comp(tag_t assembly, tag_t dataset, tag_t* moving, int n) {
    if (n > 0 && (!moving || !carvell::detail::count_fits(n, sizeof(tag_t)))) return kBadInput;
    CLEAR_list_data_t data{};
    int result = CLEAR_ask_list_data(dataset, &data);
    if (n < 1 || result != 0) return result;
    // Copies made before stand in list 2; they are replaced.
    const bool copies_exist = data.list1_kind == kEveryOther && data.list2_count >= 1;
    for (int i = 0; i < n; ++i) {
        const std::string name = roll_copy_name(i);
        if (copies_exist) {
            const tag_t old = OCC_ask_instance_of_name(assembly, name.c_str());
            if (old != 0) ASSY_remove_component(old);
        }
        bool unloaded = false;
        if ((result = CLEAR_obj_is_unloaded(moving[i], &unloaded)) != 0) return result;
        if (unloaded && (result = load_component(HM_ASSEM_ask_part_occurrence(moving[i]))) != 0) return result;
        result = add_roll_copy(assembly, moving[i], name);
    }
    return result;
}
