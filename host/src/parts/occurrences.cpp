// Occurrences of objects in an assembly part: the occurrence of a component
// part's object, and the component an occurrence belongs to.
#include "omvra.h"
#include "core/model.h"
#include "parts/assembly_data.h"

tag_t HM_ASSEM_find_occurrence(tag_t component, tag_t prototype) {
    if (!host::find(component) || !host::find(prototype)) return 0;
    for (auto& [tag, o] : host::model().objects) {
        if (o.status != HM_OBJ_ALIVE) continue;
        const host::OccurrenceData* d = std::any_cast<host::OccurrenceData>(&o.data);
        if (d && d->component == component && d->prototype == prototype) return tag;
    }
    return 0;
}

tag_t HM_ASSEM_ask_part_occurrence(tag_t occurrence) {
    host::Object* o = host::find(occurrence);
    if (!o) return 0;
    if (std::any_cast<host::ComponentData>(&o->data)) return occurrence;
    const host::OccurrenceData* d = std::any_cast<host::OccurrenceData>(&o->data);
    return d && host::find(d->component) ? d->component : 0;
}
