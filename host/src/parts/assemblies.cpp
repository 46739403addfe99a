// Assemblies: components that place parts in an assembly part, occurrences
// of objects, the work occurrence and the components' data.
#include "brindor.h"
#include "core/checks.h"
#include "core/model.h"
#include "lurvane.h"
#include "omvra.h"
#include "parts/assembly_data.h"
#include "quillon.h"

#include <cstdio>

namespace {

using host::find;
using host::model;

const host::ComponentData* component_data(tag_t component) { return host::component_record(component); }

const host::OccurrenceData* occurrence_data(tag_t object) { return host::occurrence_record(object); }

void copy_text(char* buffer, size_t size, const std::string& text) {
    if (buffer) std::snprintf(buffer, size, "%s", text.c_str());
}

}  // namespace

bool HM_ASSEM_is_occurrence(tag_t object) { return component_data(object) || occurrence_data(object); }

bool OCC_is_occurrence(tag_t object) { return HM_ASSEM_is_occurrence(object); }

tag_t HM_ASSEM_ask_prototype_of_occ(tag_t occurrence) {
    if (const host::ComponentData* c = component_data(occurrence)) return HM_PART_ask_part_tag(c->part_name.c_str());
    if (const host::OccurrenceData* d = occurrence_data(occurrence)) return find(d->prototype) ? d->prototype : 0;
    return find(occurrence) ? occurrence : 0;
}

tag_t HM_ASSEM_ask_work_occurrence(void) {
    tag_t work = HM_ASSEM_ask_work_part();
    tag_t display = HM_PART_ask_display_part();
    const host::PartData* w = host::part_data(work);
    if (!w || !display || work == display) return 0;
    for (tag_t c = HM_OBJ_cycle_objs_in_part(display, HM_component_type, 0); c;
         c = HM_OBJ_cycle_objs_in_part(display, HM_component_type, c)) {
        const host::ComponentData* d = component_data(c);
        if (d && d->part_name == w->file_name) return c;
    }
    return 0;
}

int HM_ASSEM_ask_component_data(tag_t component, char* part_name, char* refset_name, char* instance_name,
                                double origin[3], double matrix[9], double transform[16]) {
    if (!find(component)) return HM_ERR_INVALID_TAG;
    const host::ComponentData* c = component_data(component);
    if (!c) return HM_ERR_WRONG_TYPE;
    if (!host::finite_values(c->origin.data(), 3) || !host::finite_values(c->matrix.data(), 9)) return HM_ERR_BAD_ARGUMENT;
    copy_text(part_name, HM_MAX_FSPEC_BUFSIZE, c->part_name);
    copy_text(refset_name, HM_MAX_NAME_BUFSIZE, c->refset_name);
    copy_text(instance_name, HM_MAX_NAME_BUFSIZE, c->instance_name);
    if (origin)
        for (int i = 0; i < 3; ++i) origin[i] = c->origin[i];
    if (matrix)
        for (int i = 0; i < 9; ++i) matrix[i] = c->matrix[i];
    if (transform) {
        // Points as columns: the axes (rows of the orientation) become the
        // columns of the rotation, the origin the translation.
        for (int row = 0; row < 3; ++row) {
            for (int col = 0; col < 3; ++col) transform[4 * row + col] = c->matrix[3 * col + row];
            transform[4 * row + 3] = c->origin[row];
        }
        transform[12] = transform[13] = transform[14] = 0.0;
        transform[15] = 1.0;
    }
    return 0;
}

int ASSY_ask_component_data(tag_t component, char** part_name, char** refset_name, char** instance_name,
                            double origin[3], double matrix[9]) {
    if (!find(component)) return HM_ERR_INVALID_TAG;
    const host::ComponentData* c = component_data(component);
    if (!c) return HM_ERR_WRONG_TYPE;
    if (part_name) *part_name = SM_string_copy(c->part_name.c_str());
    if (refset_name) *refset_name = SM_string_copy(c->refset_name.c_str());
    if (instance_name) *instance_name = SM_string_copy(c->instance_name.c_str());
    if (origin)
        for (int i = 0; i < 3; ++i) origin[i] = c->origin[i];
    if (matrix)
        for (int i = 0; i < 9; ++i) matrix[i] = c->matrix[i];
    return 0;
}
