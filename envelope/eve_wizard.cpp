// The point-cloud envelope wizard's steps in an assembly: parts added as
// components, the trimetric view, the object that stands for a component,
// the component of an object, objects carried from one coordinate system to
// another, a component's subtree, and the
// components and objects of a study as tag arrays and rule-language texts.
#include "eve_internal.h"
#include "vd_eve.h"

#include "brindor.h"
#include "carvell_session.h"
#include "elvosk.h"
#include "lurvane.h"
#include "morvish.h"
#include "omvra.h"
#include "quillon.h"
#include "tessik.h"
#include "toolbox/detail/finite.h"
#include "toolbox/detail/owners.h"
#include "ulvarth.h"
#include "yarrowin.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace carvell::envelope {

SessionBracket::SessionBracket() { VD_enter_omvra(); }
SessionBracket::~SessionBracket() { VD_exit_omvra(); }

std::string roll_copy_name(int i) {
    char name[VD_EVE_NAME_SIZE];
    std::snprintf(name, sizeof name, "%s_%d", "ROLL_MOVING_COMP_COPY", i);
    return name;
}

int add_part_to_assembly(tag_t parent, const char* part_name, const char* refset, const char* instance_name,
                         const double placement[16], tag_t* instance) {
    if (placement && !detail::all_modelled(placement, 16)) return -1;
    (void)PART_ensure_occ_data_loaded(parent);
    char file_name[HM_MAX_FSPEC_BUFSIZE];
    if (const int code = KWMGR_decode_cli_part_file(part_name, file_name, sizeof file_name)) return code;
    tag_t part = HM_PART_ask_part_tag(file_name);
    tag_t opened_here = 0;
    if (!part) {
        HM_PART_load_status_t status{};
        const int code = BASE_open_part_quietly(file_name, &part, &status);
        const int first = status.failed && status.n_parts > 0 && status.statuses ? status.statuses[0] : code;
        PART_free_load_status(&status);
        if (first) return first;
        if (code) return code;
        opened_here = part;
    }
    const int result = ASSY_add_part_to_assembly(parent, part, refset, instance_name, 0, placement, 1, instance);
    // A part opened only for a component that could not be added is not left
    // behind in the session.
    if (result && opened_here) (void)HM_PART_close(opened_here, 0, 1);
    return result;
}

namespace {

int object_type(tag_t object, int* subtype = nullptr) {
    int type = 0, sub = 0;
    if (HM_OBJ_ask_type_and_subtype(object, &type, &sub) != 0) return 0;
    if (subtype) *subtype = sub;
    return type;
}

tag_t owning_part(tag_t object) {
    tag_t part = 0;
    return HM_OBJ_ask_owning_part(object, &part) == 0 ? part : 0;
}

// The occurrence in `component` of the first object of the type (and
// subtype; -1 any) in the display part whose prototype belongs to `part`.
tag_t first_occurrence_of_part(tag_t component, tag_t part, int type, int subtype) {
    const tag_t root = HM_PART_ask_display_part();
    for (tag_t o = HM_OBJ_cycle_objs_in_part(root, type, 0); o; o = HM_OBJ_cycle_objs_in_part(root, type, o)) {
        int sub = 0;
        object_type(o, &sub);
        if (subtype >= 0 && sub != subtype) continue;
        const tag_t object = HM_ASSEM_is_occurrence(o) ? HM_ASSEM_ask_prototype_of_occ(o) : o;
        if (!object || owning_part(object) != part) continue;
        if (const tag_t found = HM_ASSEM_find_occurrence(component, object)) return found;
    }
    return 0;
}

// The part-occurrence children of a part occurrence, in order (none for a
// failing query).
std::vector<tag_t> children_of(tag_t part_occ) {
    int count = 0;
    detail::SmBlock<tag_t> children;
    if (HM_ASSEM_ask_part_occ_children(part_occ, &count, children.out()) != 0 || !children) return {};
    return std::vector<tag_t>(children.get(), children.get() + count);
}

// Appends the subtree below `component` (its children, then each child's
// subtree in turn) to the tags.
void append_children(tag_t component, std::vector<tag_t>& tags) {
    const std::vector<tag_t> children = children_of(component);
    tags.insert(tags.end(), children.begin(), children.end());
    for (tag_t child : children) append_children(child, tags);
}

bool is_component(tag_t object) { return object_type(object) == HM_component_type; }

// A plain object of the work part: no component, no occurrence.
bool is_plain_work_object(tag_t object) {
    return object_type(object) != 0 && !is_component(object) && !HM_ASSEM_is_occurrence(object) &&
           owning_part(object) == HM_ASSEM_ask_work_part();
}

std::string reference_of(tag_t object) {
    char reference[VD_REFERENCE_SIZE] = "";
    return VD_reference_object(object, reference) == 0 ? std::string(reference) : std::string();
}

// "{a,b,c}" of the elements.
char* list_text(const std::vector<std::string>& elements) {
    std::string text = "{";
    for (size_t i = 0; i < elements.size(); ++i) text += (i ? "," : "") + elements[i];
    text += "}";
    return SM_string_copy(text.c_str());
}

bool contains(const std::vector<std::string>& elements, const std::string& e) {
    return std::find(elements.begin(), elements.end(), e) != elements.end();
}

tag_t* tag_block(const std::vector<tag_t>& tags) {
    if (tags.empty()) return nullptr;
    auto* block = static_cast<tag_t*>(SM_alloc(tags.size() * sizeof(tag_t)));
    if (block) std::copy(tags.begin(), tags.end(), block);
    return block;
}

bool eve_tag_in_list(tag_t tag, const std::vector<tag_t>& list) {
    return std::find(list.begin(), list.end(), tag) != list.end();
}

// The references of a component's subtree, each once and matched whole (a
// reference is never taken for part of a longer one): each child's own
// subtree before the child, the component last.
void eve_collect_subtree_refs(tag_t component, std::vector<std::string>& refs) {
    for (tag_t child : children_of(component)) {
        if (!children_of(child).empty()) eve_collect_subtree_refs(child, refs);
        const std::string r = reference_of(child);
        if (!r.empty() && !contains(refs, r)) refs.push_back(r);
    }
    const std::string own = reference_of(component);
    if (!own.empty() && !contains(refs, own)) refs.push_back(own);
}

}  // namespace

bool eve_child_part_tags(tag_t component, bool with_itself, std::vector<tag_t>* tags) {
    if (!is_component(component)) return false;
    if (with_itself) tags->push_back(component);
    append_children(component, *tags);
    return true;
}

}  // namespace carvell::envelope

using namespace carvell::envelope;

int VD_EVEWIZ_add_part_to_assy(tag_t parent, const char* part_name, const char* refset, const char* instance_name,
                               double placement[4][4], tag_t* instance) {
    return add_part_to_assembly(parent, part_name, refset, instance_name, placement ? &placement[0][0] : nullptr,
                                instance);
}

void VD_EVEWIZ_adjust_view(tag_t part) {
    tag_t view = 0;
    while (ES_cycle_entities_by_type(part, HM_view_type, &view) == 0 && view) {
        char name[VD_EVE_NAME_SIZE] = "";
        if (ES_read_entity_name(view, name, sizeof name) != 0) continue;
        if (std::strcmp(name, "TRIMETRIC") == 0) {
            (void)BASE_replace_view(DSS_VIEW_ask_work_vseq(), view, 1, nullptr);
            return;
        }
    }
}

int VD_EVEWIZ_ask_obj_tag_of_component(tag_t object, tag_t* out) {
    if (!out) return -1;
    *out = 0;
    const int type = object_type(object);
    if (type == HM_solid_type) {
        *out = object;
        return 0;
    }
    if (type != HM_component_type) return -1;
    SessionBracket bracket;
    const tag_t part = HM_ASSEM_ask_prototype_of_occ(object);
    if (!part) return -1;
    *out = first_occurrence_of_part(object, part, HM_facet_model_type, -1);
    if (!*out) *out = first_occurrence_of_part(object, part, HM_solid_type, HM_solid_body_subtype);
    return *out ? 0 : -1;
}

int VD_EVEWIZ_ask_comp_tag_name_of_obj(tag_t object, tag_t* component, char* name) {
    if (!component || !name) return -1;
    const tag_t part = owning_part(HM_ASSEM_ask_prototype_of_occ(object));
    if (is_component(object) || part == HM_PART_ask_display_part()) {
        *component = object;
        return -1;
    }
    tag_t* tags = nullptr;
    char** names = nullptr;
    int count = 0;
    (void)VD_ask_all_component_name(&tags, &names, &count, 0);
    int result = -1;
    for (int i = 0; i < count && names && tags; ++i) {
        if (result != 0 && part && HM_ASSEM_ask_prototype_of_occ(tags[i]) == part) {
            *component = tags[i];
            std::snprintf(name, VD_EVE_NAME_SIZE, "%s", names[i] ? names[i] : "");
            result = 0;
        }
        SM_free(names[i]);
    }
    SM_free(names);
    SM_free(tags);
    return result;
}

int VD_EVEWIZ_reposition_csys_to_csys(tag_t from_csys, tag_t to_csys, int n, tag_t* objects, int move_or_copy,
                                      int layer, tag_t* copies) {
    if (!from_csys || !to_csys || n < 0 || (n > 0 && (!objects || !copies)) || !carvell::detail::count_fits(n, sizeof(tag_t))) return -1;
    double origin[2][3], x[2][3], y[2][3];
    const tag_t frames[2] = {from_csys, to_csys};
    for (int f = 0; f < 2; ++f) {
        tag_t matrix_object = 0;
        double matrix[9];
        if (const int code = HM_CSYS_ask_csys_info(frames[f], &matrix_object, origin[f])) return code;
        if (const int code = HM_CSYS_ask_matrix_values(matrix_object, matrix)) return code;
        HM_MTX3_x_vec(matrix, x[f]);
        HM_MTX3_y_vec(matrix, y[f]);
    }
    double motion[16];
    if (const int code = HM_MTX4_csys_to_csys(origin[0], x[0], y[0], origin[1], x[1], y[1], motion)) return code;
    // The first three rows of the 4x4 are the twelve-value transformation.
    int status = 0;
    hm5947(motion, objects, n, move_or_copy, layer, 2, copies, nullptr, &status);
    return status;
}

int VD_EVEWIZ_generate_envelope_obj_chain(int n, const tag_t* tags, char** components_text, char** objects_text) {
    if (!components_text || !objects_text) return -1;
    *components_text = *objects_text = nullptr;
    if (n < 0 || (n > 0 && !tags) || !carvell::detail::count_fits(n, sizeof(tag_t))) return -1;
    SessionBracket bracket;
    std::vector<std::string> components, objects;
    for (int i = 0; i < n; ++i) {
        if (is_component(tags[i])) {
            std::vector<std::string> subtree;
            eve_collect_subtree_refs(tags[i], subtree);
            for (const std::string& r : subtree)
                if (!contains(components, r)) components.push_back(r);
        } else if (is_plain_work_object(tags[i])) {
            const std::string r = reference_of(tags[i]);
            if (!r.empty()) objects.push_back(r);
        }
    }
    *components_text = list_text(components);
    *objects_text = list_text(objects);
    return 0;
}

int VD_EVEWIZ_get_eveobj_tags(int n, const tag_t* tags, int* n_components, tag_t** components, int* n_objects,
                              tag_t** objects) {
    if (!n_components || !components || !n_objects || !objects) return -1;
    *n_components = *n_objects = 0;
    *components = *objects = nullptr;
    if (n < 0 || (n > 0 && !tags) || !carvell::detail::count_fits(n, sizeof(tag_t))) return -1;
    SessionBracket bracket;
    std::vector<tag_t> found_components, found_objects;
    for (int i = 0; i < n; ++i) {
        if (is_component(tags[i])) {
            std::vector<tag_t> subtree{tags[i]};
            append_children(tags[i], subtree);
            for (tag_t t : subtree)
                if (!eve_tag_in_list(t, found_components)) found_components.push_back(t);
        } else if (is_plain_work_object(tags[i])) {
            found_objects.push_back(tags[i]);
        }
    }
    *components = tag_block(found_components);
    *objects = tag_block(found_objects);
    *n_components = *components ? static_cast<int>(found_components.size()) : 0;
    *n_objects = *objects ? static_cast<int>(found_objects.size()) : 0;
    return 0;
}
