// Clearance data sets: named objects of a part holding the object lists that
// the clearance analysis compares, the configurations of positions it moves
// the objects through, and a clearance zone per object. The record lives in
// the data set's model object, so an undo mark restores it.
#include "caldwyn.h"
#include "clearance/dataset_data.h"
#include "core/checks.h"
#include "core/model.h"
#include "omvra.h"
#include "parts/assembly_data.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

using host::ClearanceDataset;
using host::ClearancePosition;

constexpr size_t kMaxNameLength = CLEAR_NAME_BUFSIZE - 1;
constexpr int kHighestListKind = 4;

// The record of a live data set; null with the host code in *code.
ClearanceDataset* dataset_of(tag_t dataset, int* code) {
    host::Object* o = host::find(dataset, HM_clearance_dataset_type);
    ClearanceDataset* d = o ? std::any_cast<ClearanceDataset>(&o->data) : nullptr;
    *code = d ? 0 : HM_ERR_INVALID_TAG;
    return d;
}

// count objects that must all be live: 0, or the code of the first fault.
int check_objects(int count, const tag_t* objects) {
    if (count < 0) return HM_ERR_BAD_ARGUMENT;
    if (count > 0 && !objects) return HM_ERR_NULL_POINTER;
    for (int i = 0; i < count; ++i)
        if (!host::find(objects[i])) return HM_ERR_INVALID_TAG;
    return 0;
}

std::vector<tag_t> copy_objects(int count, const tag_t* objects) {
    return count > 0 ? std::vector<tag_t>(objects, objects + count) : std::vector<tag_t>{};
}

void copy_name(char* buffer, const std::string& name) {
    const size_t n = std::min(name.size(), kMaxNameLength);
    std::memcpy(buffer, name.data(), n);
    buffer[n] = '\0';
}

ClearancePosition* position_of(ClearanceDataset& d, int configuration, int position) {
    if (configuration < 0 || configuration >= static_cast<int>(d.configurations.size())) return nullptr;
    std::vector<ClearancePosition>& positions = d.configurations[configuration].positions;
    if (position < 0 || position >= static_cast<int>(positions.size())) return nullptr;
    return &positions[position];
}

// Whether a component names a part that is not in the session.
bool component_unloaded(const host::ComponentData& c) { return HM_PART_ask_part_tag(c.part_name.c_str()) == 0; }

// The part's live data sets in creation order (tags grow with creation).
std::vector<tag_t> datasets_of_part(tag_t part) {
    std::vector<tag_t> found;
    for (const auto& [tag, o] : host::model().objects)
        if (o.type == HM_clearance_dataset_type && o.part == part && o.status == HM_OBJ_ALIVE) found.push_back(tag);
    return found;
}

}  // namespace

/* ---- data sets of a part ---- */

int CLEAR_count_datasets(tag_t part, int* count) {
    if (!count) return HM_ERR_NULL_POINTER;
    if (!host::part_data(part)) return HM_ERR_INVALID_TAG;
    *count = static_cast<int>(datasets_of_part(part).size());
    return 0;
}

int CLEAR_ask_dataset_array(tag_t part, int size, tag_t* datasets) {
    if (size < 0) return HM_ERR_BAD_ARGUMENT;
    if (size > 0 && !datasets) return HM_ERR_NULL_POINTER;
    if (!host::part_data(part)) return HM_ERR_INVALID_TAG;
    const std::vector<tag_t> found = datasets_of_part(part);
    const size_t n = std::min(found.size(), static_cast<size_t>(size));
    std::copy(found.begin(), found.begin() + static_cast<long>(n), datasets);
    return 0;
}

int CLEAR_ask_dataset_name(tag_t dataset, char name[CLEAR_NAME_BUFSIZE]) {
    if (!name) return HM_ERR_NULL_POINTER;
    int code = 0;
    if (!dataset_of(dataset, &code)) return code;
    copy_name(name, host::find(dataset)->name);
    return 0;
}

/* ---- object lists ---- */

int CLEAR_ask_lists_obj_type(tag_t dataset, int* type) {
    if (!type) return HM_ERR_NULL_POINTER;
    int code = 0;
    const ClearanceDataset* d = dataset_of(dataset, &code);
    if (d) *type = d->obj_type;
    return code;
}

int CLEAR_set_lists_obj_type(tag_t dataset, int type) {
    int code = 0;
    ClearanceDataset* d = dataset_of(dataset, &code);
    if (!d) return code;
    if (type != 0 && type != 1) return HM_ERR_BAD_ARGUMENT;
    d->obj_type = type;
    return 0;
}

int CLEAR_set_obj_list(tag_t dataset, int list, int kind, int count, const tag_t* objects, int flag) {
    int code = 0;
    ClearanceDataset* d = dataset_of(dataset, &code);
    if (!d) return code;
    if ((list != 1 && list != 2) || kind < 0 || kind > kHighestListKind || flag != 0) return HM_ERR_BAD_ARGUMENT;
    if (int fault = check_objects(count, objects)) return fault;
    host::ClearanceList& target = d->lists[list - 1];
    target.kind = kind;
    target.objects = copy_objects(count, objects);
    return 0;
}

int CLEAR_ask_list_data(tag_t dataset, CLEAR_list_data_t* data) {
    if (!data) return HM_ERR_NULL_POINTER;
    int code = 0;
    const ClearanceDataset* d = dataset_of(dataset, &code);
    if (!d) return code;
    data->obj_type = d->obj_type;
    data->list1_kind = d->lists[0].kind;
    data->list2_kind = d->lists[1].kind;
    data->list1_count = static_cast<int>(d->lists[0].objects.size());
    data->n_configurations = static_cast<int>(d->configurations.size());
    data->list2_count = static_cast<int>(d->lists[1].objects.size());
    return 0;
}

/* ---- configurations ---- */

int CLEAR_ask_num_configurations(tag_t dataset, int* count) {
    if (!count) return HM_ERR_NULL_POINTER;
    int code = 0;
    const ClearanceDataset* d = dataset_of(dataset, &code);
    if (d) *count = static_cast<int>(d->configurations.size());
    return code;
}

int CLEAR_ask_num_configuration_positions(tag_t dataset, int configuration, int* count) {
    if (!count) return HM_ERR_NULL_POINTER;
    int code = 0;
    const ClearanceDataset* d = dataset_of(dataset, &code);
    if (!d) return code;
    if (configuration < 0 || configuration >= static_cast<int>(d->configurations.size())) return HM_ERR_BAD_ARGUMENT;
    *count = static_cast<int>(d->configurations[configuration].positions.size());
    return 0;
}

int CLEAR_ask_configuration_name(tag_t dataset, int configuration, char name[CLEAR_NAME_BUFSIZE]) {
    if (!name) return HM_ERR_NULL_POINTER;
    int code = 0;
    const ClearanceDataset* d = dataset_of(dataset, &code);
    if (!d) return code;
    if (configuration < 0 || configuration >= static_cast<int>(d->configurations.size())) return HM_ERR_BAD_ARGUMENT;
    copy_name(name, d->configurations[configuration].name);
    return 0;
}

int CLEAR_ask_configuration_position_data(tag_t dataset, int configuration, int position, MTX4_t* matrix,
                                          int* value, int* count, tag_t** objects) {
    if (!count || !objects) return HM_ERR_NULL_POINTER;
    int code = 0;
    ClearanceDataset* d = dataset_of(dataset, &code);
    if (!d) return code;
    const ClearancePosition* p = position_of(*d, configuration, position);
    if (!p) return HM_ERR_BAD_ARGUMENT;
    if (matrix) std::copy(p->matrix.begin(), p->matrix.end(), matrix->m);
    if (value) *value = p->value;
    *count = static_cast<int>(p->objects.size());
    *objects = host::tag_array(p->objects);
    return 0;
}

int CLEAR_set_configuration_position_data(tag_t dataset, int configuration, int position, const MTX4_t* matrix,
                                          int value, int count, const tag_t* objects) {
    if (!matrix) return HM_ERR_NULL_POINTER;
    int code = 0;
    ClearanceDataset* d = dataset_of(dataset, &code);
    if (!d) return code;
    ClearancePosition* p = position_of(*d, configuration, position);
    if (!p || !host::finite_values(matrix->m, 16)) return HM_ERR_BAD_ARGUMENT;
    if (int fault = check_objects(count, objects)) return fault;
    std::copy(matrix->m, matrix->m + 16, p->matrix.begin());
    p->value = value;
    p->objects = copy_objects(count, objects);
    return 0;
}

int CLEAR_remove_configurations(tag_t dataset) {
    int code = 0;
    ClearanceDataset* d = dataset_of(dataset, &code);
    if (d) d->configurations.clear();
    return code;
}

int CLEAR_add_configuration(tag_t dataset, int n_positions, const MTX4_t* matrices, int count, const tag_t* objects,
                            const char* name) {
    if (!matrices || !name) return HM_ERR_NULL_POINTER;
    int code = 0;
    ClearanceDataset* d = dataset_of(dataset, &code);
    if (!d) return code;
    if (n_positions < 1 || !*name || std::strlen(name) > kMaxNameLength) return HM_ERR_BAD_ARGUMENT;
    for (int k = 0; k < n_positions; ++k)
        if (!host::finite_values(matrices[k].m, 16)) return HM_ERR_BAD_ARGUMENT;
    if (int fault = check_objects(count, objects)) return fault;
    host::ClearanceConfiguration c;
    c.name = name;
    for (int k = 0; k < n_positions; ++k) {
        ClearancePosition p;
        std::copy(matrices[k].m, matrices[k].m + 16, p.matrix.begin());
        p.objects = copy_objects(count, objects);
        c.positions.push_back(std::move(p));
    }
    d->configurations.push_back(std::move(c));
    return 0;
}

/* ---- objects ---- */

int CLEAR_obj_is_unloaded(tag_t object, bool* unloaded) {
    if (!unloaded) return HM_ERR_NULL_POINTER;
    const host::Object* o = host::find(object);
    if (!o) return HM_ERR_INVALID_TAG;
    bool answer = false;
    if (const auto* c = std::any_cast<host::ComponentData>(&o->data)) {
        answer = component_unloaded(*c);
    } else if (const auto* occ = std::any_cast<host::OccurrenceData>(&o->data)) {
        const host::Object* comp = host::find(occ->component, HM_component_type);
        const auto* c = comp ? std::any_cast<host::ComponentData>(&comp->data) : nullptr;
        answer = c && component_unloaded(*c);
    }
    *unloaded = answer;
    return 0;
}

int HM_CLEAR_set_object_clear_zone(tag_t dataset, tag_t object, tag_t zone) {
    int code = 0;
    ClearanceDataset* d = dataset_of(dataset, &code);
    if (!d) return code;
    if (!host::find(object) || (zone != 0 && !host::find(zone))) return HM_ERR_INVALID_TAG;
    if (zone == 0)
        d->zones.erase(object);
    else
        d->zones[object] = zone;
    return 0;
}
