// The structure of assemblies: components added to and removed from an
// assembly part, their instances and children, the transforms that place
// them, and the occurrences they show.
//
// A component keeps its placement in the coordinates of the assembly part
// that holds it; the part's own components become children of the new
// component, placed through it. Moving a component moves its subtree and the
// geometry of every occurrence they show.
#include "brindor.h"
#include "core/model.h"
#include "lurvane.h"
#include "morvish.h"
#include "omvra.h"
#include "parts/assembly_data.h"
#include "quillon.h"
#include "yarrowin.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace {

using host::component_record;
using host::find;
using host::model;

constexpr size_t kMaxInstanceName = 132;

host::InstanceData* instance_record(tag_t instance) {
    host::Object* o = find(instance, HM_instance_type);
    return o ? std::any_cast<host::InstanceData>(&o->data) : nullptr;
}

// The component of a part occurrence or of an instance; 0 for anything else.
tag_t component_of(tag_t object) {
    if (component_record(object)) return object;
    const host::InstanceData* i = instance_record(object);
    return i && component_record(i->component) ? i->component : 0;
}

// Reads an MTX4 transform as a rigid motion; false when it is not one (a
// rotation that is not orthonormal and right-handed, or a bottom row other
// than 0 0 0 1).
bool rigid_motion(const double t[16], gp_Trsf& motion) {
    for (int i = 0; i < 16; ++i)
        if (!std::isfinite(t[i])) return false;
    if (std::fabs(t[12]) > 1e-12 || std::fabs(t[13]) > 1e-12 || std::fabs(t[14]) > 1e-12 ||
        std::fabs(t[15] - 1.0) > 1e-12)
        return false;
    for (int a = 0; a < 3; ++a)
        for (int b = 0; b < 3; ++b) {
            double dot = 0.0;
            for (int k = 0; k < 3; ++k) dot += t[4 * k + a] * t[4 * k + b];
            if (std::fabs(dot - (a == b ? 1.0 : 0.0)) > 1e-9) return false;
        }
    const double det = t[0] * (t[5] * t[10] - t[6] * t[9]) - t[1] * (t[4] * t[10] - t[6] * t[8]) +
                       t[2] * (t[4] * t[9] - t[5] * t[8]);
    if (det < 0.0) return false;
    motion.SetValues(t[0], t[1], t[2], t[3], t[4], t[5], t[6], t[7], t[8], t[9], t[10], t[11]);
    return true;
}

void write_transform(const gp_Trsf& motion, double t[16]) {
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 4; ++col) t[4 * row + col] = motion.Value(row + 1, col + 1);
    t[12] = t[13] = t[14] = 0.0;
    t[15] = 1.0;
}

// The component and every component below it, each before its children.
void collect_subtree(tag_t component, std::vector<tag_t>& out) {
    out.push_back(component);
    for (tag_t child : host::part_occ_children(component)) collect_subtree(child, out);
}

std::vector<tag_t> occurrences_of(tag_t component) {
    std::vector<tag_t> out;
    for (auto& [tag, o] : model().objects) {
        if (o.status != HM_OBJ_ALIVE) continue;
        const host::OccurrenceData* d = std::any_cast<host::OccurrenceData>(&o.data);
        if (d && d->component == component) out.push_back(tag);
    }
    return out;
}

// Applies `motion` after the placement of the component, its subtree and the
// occurrences they show. All or nothing: the geometry is moved in copies
// first.
int move_subtree(tag_t component, const gp_Trsf& motion) {
    std::vector<tag_t> subtree;
    collect_subtree(component, subtree);
    std::vector<std::pair<tag_t, host::Object>> moved;
    for (tag_t c : subtree)
        for (tag_t occ : occurrences_of(c)) {
            host::Object copy = *find(occ);
            if (!host::transform_geometry(copy, motion)) return HM_ERR_GEOMETRY;
            moved.emplace_back(occ, std::move(copy));
        }
    for (auto& [tag, copy] : moved) *find(tag) = std::move(copy);
    for (tag_t c : subtree) {
        host::ComponentData* d = component_record(c);
        host::set_placement(*d, motion * host::placement_of(*d));
    }
    return 0;
}

int set_transform(tag_t component, const double transform[16]) {
    if (!transform) return HM_ERR_NULL_POINTER;
    host::ComponentData* d = component_record(component);
    gp_Trsf wanted;
    if (!rigid_motion(transform, wanted)) return HM_ERR_BAD_ARGUMENT;
    return move_subtree(component, wanted * host::placement_of(*d).Inverted());
}

// The objects a component of `part` shows: bodies and facetted models, all of
// the part's or the members of its reference set of that name.
std::vector<tag_t> shown_objects(tag_t part, const std::string& refset) {
    std::vector<tag_t> members;
    bool by_refset = false;
    if (!refset.empty())
        for (tag_t r = HM_OBJ_cycle_objs_in_part(part, HM_reference_set_type, 0); r;
             r = HM_OBJ_cycle_objs_in_part(part, HM_reference_set_type, r)) {
            if (find(r)->name != refset) continue;
            int count = 0;
            tag_t* array = nullptr;
            if (HM_ASSEM_ask_ref_set_members(r, &count, &array) == 0) members.assign(array, array + count);
            SM_free(array);
            by_refset = true;
            break;
        }
    std::vector<tag_t> shown;
    for (auto& [tag, o] : model().objects) {
        // Owned objects go with their owner, except facetted models made from
        // a body: they are shown beside it.
        if (o.status != HM_OBJ_ALIVE || o.part != part || (o.owner && o.type != HM_facet_model_type)) continue;
        if (std::any_cast<host::OccurrenceData>(&o.data) || std::any_cast<host::ComponentData>(&o.data)) continue;
        const bool kind = (o.type == HM_solid_type && o.subtype == HM_solid_body_subtype) ||
                          o.type == HM_facet_model_type;
        if (!kind) continue;
        if (by_refset && std::find(members.begin(), members.end(), tag) == members.end()) continue;
        shown.push_back(tag);
    }
    return shown;
}

// Whether `part` shows `target` anywhere below it (its components' parts,
// their components' parts, ...): placing `part` in `target` would then place
// the assembly in itself.
bool part_shows(tag_t part, tag_t target, std::vector<tag_t>& seen) {
    if (part == target) return true;
    if (std::find(seen.begin(), seen.end(), part) != seen.end()) return false;
    seen.push_back(part);
    for (tag_t placed : host::part_occ_children(part)) {
        const tag_t child_part = HM_PART_ask_part_tag(component_record(placed)->part_name.c_str());
        if (child_part && part_shows(child_part, target, seen)) return true;
    }
    return false;
}

}  // namespace

namespace host {

void show_part_in_component(tag_t component) {
    const host::ComponentData* d = component_record(component);
    const tag_t part = HM_PART_ask_part_tag(d->part_name.c_str());
    if (!part) return;
    const std::string refset = d->refset_name;
    // Occurrences left from a part that was closed stand for nothing now.
    for (tag_t occ : occurrences_of(component))
        if (!find(occurrence_record(occ)->prototype)) erase(occ);
    for (tag_t object : shown_objects(part, refset))
        if (!HM_ASSEM_find_occurrence(component, object)) host::make_occurrence(component, object);
    const gp_Trsf through = host::placement_of(*component_record(component));
    const tag_t assembly_part = find(component)->part;
    for (tag_t placed : host::part_occ_children(part)) {
        host::ComponentData child = *component_record(placed);
        child.parent = component;
        host::set_placement(child, through * host::placement_of(child));
        const std::string name = find(placed)->name;
        host::Object& o = host::create(HM_component_type, 0, assembly_part);
        o.name = name;
        o.data = child;
        show_part_in_component(o.tag);
    }
}

}  // namespace host

int HM_ASSEM_ask_part_occ_children(tag_t part_occ, int* count, tag_t** children) {
    if (!count || !children) return HM_ERR_NULL_POINTER;
    *count = 0;
    *children = nullptr;
    host::Object* o = find(part_occ);
    if (!o) return HM_ERR_INVALID_TAG;
    if (o->type != HM_part_type && !component_record(part_occ)) return HM_ERR_WRONG_TYPE;
    const std::vector<tag_t> found = host::part_occ_children(part_occ);
    *count = static_cast<int>(found.size());
    *children = host::tag_array(found);
    return 0;
}

tag_t HM_ASSEM_ask_inst_of_part_occ(tag_t part_occ) {
    const host::ComponentData* d = component_record(part_occ);
    return d && find(d->instance, HM_instance_type) ? d->instance : 0;
}

int ASSY_add_part_to_assembly(tag_t parent, tag_t part, const char* refset_name, const char* instance_name,
                              int layer, const double placement[16], int update, tag_t* instance) {
    if (!placement || !instance) return HM_ERR_NULL_POINTER;
    *instance = 0;
    host::Object* p = find(parent);
    const host::PartData* placed = host::part_data(part);
    if (!p || !find(part)) return HM_ERR_INVALID_TAG;
    if (!placed || (p->type != HM_part_type && !component_record(parent))) return HM_ERR_WRONG_TYPE;
    const tag_t assembly_part = p->type == HM_part_type ? parent : p->part;
    std::vector<tag_t> seen;
    if (part_shows(part, assembly_part, seen)) return HM_ERR_BAD_ARGUMENT;
    if (layer < -1 || layer > 256 || update < 0 || update > 1) return HM_ERR_BAD_ARGUMENT;
    if (instance_name && std::strlen(instance_name) > kMaxInstanceName) return HM_ERR_BAD_ARGUMENT;
    gp_Trsf local;
    if (!rigid_motion(placement, local)) return HM_ERR_BAD_ARGUMENT;

    host::ComponentData d;
    d.part_name = placed->file_name;
    d.refset_name = refset_name ? refset_name : "";
    if (instance_name && *instance_name) {
        d.instance_name = instance_name;
    } else {
        char* bare = PART_name_for_display(placed->file_name.c_str(), 6);
        d.instance_name = bare ? bare : "";
        SM_free(bare);
    }
    const gp_Trsf parent_placement =
        p->type == HM_part_type ? gp_Trsf() : host::placement_of(*component_record(parent));
    host::set_placement(d, parent_placement * local);
    d.parent = p->type == HM_part_type ? 0 : parent;

    host::Object& inst = host::create(HM_instance_type, 0, assembly_part);
    inst.name = d.instance_name;
    const tag_t inst_tag = inst.tag;
    host::Object& comp = host::create(HM_component_type, 0, assembly_part);
    comp.name = d.instance_name;
    d.instance = inst_tag;
    comp.data = d;
    const tag_t comp_tag = comp.tag;
    find(inst_tag)->data = host::InstanceData{comp_tag};
    host::show_part_in_component(comp_tag);
    if (layer > 0)
        for (tag_t occ : occurrences_of(comp_tag)) find(occ)->layer = layer;
    else if (layer == -1)
        for (tag_t occ : occurrences_of(comp_tag))
            if (host::PartData* a = host::part_data(assembly_part)) find(occ)->layer = a->work_layer;
    *instance = inst_tag;
    return 0;
}

int ASSY_remove_component(tag_t component) {
    if (!find(component)) return HM_ERR_INVALID_TAG;
    const tag_t c = component_of(component);
    if (!c) return HM_ERR_WRONG_TYPE;
    std::vector<tag_t> subtree;
    collect_subtree(c, subtree);
    std::vector<tag_t> doomed;
    for (tag_t t : subtree) {
        for (tag_t occ : occurrences_of(t)) doomed.push_back(occ);
        // Children of a placed subassembly share the instances of that part;
        // only an instance made for this component goes with it.
        const tag_t inst = component_record(t)->instance;
        const host::InstanceData* i = instance_record(inst);
        if (i && i->component == t) doomed.push_back(inst);
        doomed.push_back(t);
    }
    for (tag_t t : doomed) host::erase(t);
    return 0;
}

int ASSY_get_name_of_ref_set(tag_t component, char** name) {
    if (!name) return HM_ERR_NULL_POINTER;
    *name = nullptr;
    if (!find(component)) return HM_ERR_INVALID_TAG;
    const host::ComponentData* d = component_record(component_of(component));
    if (!d) return HM_ERR_WRONG_TYPE;
    *name = SM_string_copy(d->refset_name.c_str());
    return *name ? 0 : HM_ERR_BAD_ARGUMENT;
}

tag_t OCC_ask_instance_of_name(tag_t parent_occ, const char* name) {
    if (!name) return 0;
    for (tag_t child : host::part_occ_children(parent_occ)) {
        const host::ComponentData* d = component_record(child);
        if (find(child)->name == name && find(d->instance, HM_instance_type)) return d->instance;
    }
    return 0;
}

tag_t OCC_ask_part_occ_of_instance(tag_t parent_occ, tag_t instance) {
    if (!instance_record(instance)) return 0;
    for (tag_t child : host::part_occ_children(parent_occ))
        if (component_record(child)->instance == instance) return child;
    return 0;
}

int OCC_ask_transform_of_part_occ(tag_t part_occ, double transform[16]) {
    if (!transform) return HM_ERR_NULL_POINTER;
    if (!find(part_occ)) return HM_ERR_INVALID_TAG;
    const host::ComponentData* d = component_record(part_occ);
    if (!d) return HM_ERR_WRONG_TYPE;
    write_transform(host::placement_of(*d), transform);
    return 0;
}

int OCC_set_part_occ_transform(tag_t part_occ, const double transform[16]) {
    if (!find(part_occ)) return HM_ERR_INVALID_TAG;
    if (!component_record(part_occ)) return HM_ERR_WRONG_TYPE;
    return set_transform(part_occ, transform);
}

int OCC_set_instance_transform(tag_t instance, const double transform[16]) {
    if (!find(instance)) return HM_ERR_INVALID_TAG;
    const host::InstanceData* i = instance_record(instance);
    if (!i) return HM_ERR_WRONG_TYPE;
    if (!component_record(i->component)) return HM_ERR_INVALID_TAG;
    return set_transform(i->component, transform);
}

int OCC_ask_transform_of_occurrence(tag_t occurrence, double transform[16]) {
    if (!transform) return HM_ERR_NULL_POINTER;
    if (!find(occurrence)) return HM_ERR_INVALID_TAG;
    const tag_t component = HM_ASSEM_ask_part_occurrence(occurrence);
    if (!component) return HM_ERR_WRONG_TYPE;
    return OCC_ask_transform_of_part_occ(component, transform);
}

tag_t OCC_remap_occurrence(tag_t target, tag_t source, tag_t occurrence) {
    if (!component_record(target) || !component_record(source)) return 0;
    const host::OccurrenceData* o = host::occurrence_record(occurrence);
    tag_t at = o ? o->component : (component_record(occurrence) ? occurrence : 0);
    if (!at) return 0;
    // The instance names from the source down to the occurrence's component.
    std::vector<std::string> path;
    while (at && at != source) {
        path.push_back(find(at)->name);
        const host::ComponentData* d = component_record(at);
        at = d && find(d->parent) ? d->parent : 0;
    }
    if (at != source) return 0;
    tag_t mapped = target;
    for (auto name = path.rbegin(); name != path.rend() && mapped; ++name) {
        tag_t next = 0;
        for (tag_t child : host::part_occ_children(mapped))
            if (find(child)->name == *name) {
                next = child;
                break;
            }
        mapped = next;
    }
    if (!mapped) return 0;
    return o ? HM_ASSEM_find_occurrence(mapped, o->prototype) : mapped;
}

int OCC_blank_component(tag_t part_occ, int scope, int blank, const tag_t* reserved, int n_reserved) {
    if (!find(part_occ)) return HM_ERR_INVALID_TAG;
    if (!component_record(part_occ)) return HM_ERR_WRONG_TYPE;
    if (scope < 0 || scope > 1 || blank < 0 || blank > 1 || reserved || n_reserved) return HM_ERR_BAD_ARGUMENT;
    std::vector<tag_t> components{part_occ};
    if (scope == 1) {
        components.clear();
        collect_subtree(part_occ, components);
    }
    for (tag_t c : components) {
        find(c)->blanked = blank == 1;
        for (tag_t occ : occurrences_of(c)) find(occ)->blanked = blank == 1;
    }
    return 0;
}
