// The objects the tire-envelope tool puts into a clearance data set: the
// objects that stand for a component in the assembly (its facetted models,
// else its solid bodies).
#include "vd_evt.h"

#include "toolbox/detail/object_kinds.h"
#include "omvra.h"
#include "quillon.h"
#include "yarrowin.h"

#include <algorithm>
#include <vector>

namespace carvell::envelope {
namespace {

constexpr int kNotFound = -1;

// The occurrences in the component of the root part's objects of a kind
// whose prototype (the object itself when it is no occurrence) belongs to
// the component's part, in the root part's order, each once.
std::vector<tag_t> component_occurrences(tag_t root, tag_t component, tag_t component_part, int type, int subtype) {
    std::vector<tag_t> found;
    for (tag_t object = HM_OBJ_cycle_objs_in_part(root, type, 0); object != 0;
         object = HM_OBJ_cycle_objs_in_part(root, type, object)) {
        if (!carvell::detail::is_of_kind(object, type, subtype)) continue;
        const tag_t prototype = HM_ASSEM_is_occurrence(object) ? HM_ASSEM_ask_prototype_of_occ(object) : object;
        tag_t owner = 0;
        if (prototype == 0 || HM_OBJ_ask_owning_part(prototype, &owner) != 0 || owner != component_part) continue;
        const tag_t occurrence = HM_ASSEM_find_occurrence(component, prototype);
        // A part placed twice shows each prototype twice in the root part;
        // its occurrence in this component is listed once.
        if (occurrence != 0 && std::find(found.begin(), found.end(), occurrence) == found.end())
            found.push_back(occurrence);
    }
    return found;
}

tag_t* tag_block(const std::vector<tag_t>& tags) {
    auto* block = static_cast<tag_t*>(SM_alloc(tags.size() * sizeof(tag_t)));
    std::copy(tags.begin(), tags.end(), block);
    return block;
}

}  // namespace
}  // namespace carvell::envelope

using namespace carvell::envelope;

int VD_EVTWIZ_ask_objs_tag_of_component(tag_t object, int* n, tag_t** tags) {
    if (n) *n = 0;
    if (tags) *tags = nullptr;
    if (!n || !tags) return kNotFound;
    std::vector<tag_t> found;
    if (carvell::detail::is_of_kind(object, HM_solid_type)) {
        found.push_back(object);
    } else if (carvell::detail::is_of_kind(object, HM_component_type)) {
        const tag_t part = HM_ASSEM_ask_prototype_of_occ(object);
        const tag_t root = HM_PART_ask_display_part();
        if (part != 0 && root != 0) {
            found = component_occurrences(root, object, part, HM_facet_model_type, carvell::detail::kAnySubtype);
            if (found.empty())
                found = component_occurrences(root, object, part, HM_solid_type, HM_solid_body_subtype);
        }
    }
    if (found.empty()) return kNotFound;
    *n = static_cast<int>(found.size());
    *tags = tag_block(found);
    return 0;
}
