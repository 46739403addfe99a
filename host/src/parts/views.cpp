// Views of a part (type 60) and the layout (view sequence, type 62) that
// shows them: the entities of a part by type, their names, the display
// part's layout and the replacement of its work view.
#include "core/model.h"
#include "elvosk.h"
#include "morvish.h"
#include "omvra.h"
#include "parts/assembly_data.h"

#include <cstdio>

using host::find;

namespace host {

LayoutData* layout_record(tag_t layout) {
    Object* o = find(layout, HM_layout_type);
    return o ? std::any_cast<LayoutData>(&o->data) : nullptr;
}

}  // namespace host

int ES_cycle_entities_by_type(tag_t part, int type, tag_t* entity) {
    if (!entity) return HM_ERR_NULL_POINTER;
    if (!find(part)) return HM_ERR_INVALID_TAG;
    if (!host::part_data(part)) return HM_ERR_WRONG_TYPE;
    *entity = HM_OBJ_cycle_objs_in_part(part, type, *entity);
    return 0;
}

int ES_read_entity_name(tag_t entity, char* name, size_t size) {
    if (!name) return HM_ERR_NULL_POINTER;
    if (size == 0) return HM_ERR_BAD_ARGUMENT;
    name[0] = '\0';
    const host::Object* o = find(entity);
    if (!o) return HM_ERR_INVALID_TAG;
    std::snprintf(name, size, "%s", o->name.c_str());
    return 0;
}

tag_t DSS_VIEW_ask_work_vseq(void) {
    const tag_t display = host::model().display_part;
    if (!host::part_data(display)) return 0;
    return HM_OBJ_cycle_objs_in_part(display, HM_layout_type, 0);
}

int BASE_replace_view(tag_t vseq, tag_t view, int fit, tag_t* replaced) {
    if (replaced) *replaced = 0;
    host::Object* l = find(vseq);
    host::Object* v = find(view);
    if (!l || !v) return HM_ERR_INVALID_TAG;
    host::LayoutData* layout = host::layout_record(vseq);
    if (!layout || v->type != HM_view_type) return HM_ERR_WRONG_TYPE;
    if (v->part != l->part || fit < 0 || fit > 1) return HM_ERR_BAD_ARGUMENT;
    if (layout->work >= layout->views.size()) return HM_ERR_NOT_FOUND;
    if (replaced) *replaced = layout->views[layout->work];
    layout->views[layout->work] = view;
    return 0;
}
