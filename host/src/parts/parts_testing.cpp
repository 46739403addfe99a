// Fixtures of parts for tests: components and occurrences of assemblies,
// features, and views.
#include "core/model.h"
#include "elvosk.h"
#include "host_testing.h"
#include "morvish.h"
#include "omvra.h"
#include "parts/annotation_data.h"
#include "parts/assembly_data.h"
#include "quillon.h"

namespace host_testing {

tag_t add_component(tag_t part, const char* name, const double origin[3], const double matrix[9]) {
    const host::PartData* p = host::part_data(part);
    if (!p || !host::work_part_data()) return 0;
    host::ComponentData c;
    c.part_name = p->file_name;
    c.refset_name = "MODEL";
    char* display = PART_name_for_display(p->file_name.c_str(), 6);
    c.instance_name = display ? display : "";
    SM_free(display);
    if (origin)
        for (int i = 0; i < 3; ++i) c.origin[i] = origin[i];
    if (matrix)
        for (int i = 0; i < 9; ++i) c.matrix[i] = matrix[i];
    host::Object& o = host::create(HM_component_type, 0);
    o.name = name ? name : "";
    o.data = c;
    return o.tag;
}

tag_t add_occurrence(tag_t component, tag_t prototype) { return host::make_occurrence(component, prototype); }

tag_t add_linked_copy(tag_t source, tag_t component) {
    tag_t feature = 0;
    return host::link_object(source, component, &feature) == 0 ? feature : 0;
}

tag_t add_feature(const char* kind, tag_t body, const std::vector<tag_t>& objects) {
    return host::create_feature(kind, body, objects).tag;
}

tag_t add_sketch(const char* name, const double origin[3], const double orientation[9],
                 const std::vector<tag_t>& curves) {
    host::Object& sketch = host::create_feature("SKETCH", 0, curves);
    if (name) sketch.name = name;
    auto& d = std::any_cast<host::FeatureData&>(sketch.data);
    if (origin) std::copy(origin, origin + 3, d.sketch_origin.begin());
    if (orientation) std::copy(orientation, orientation + 9, d.sketch_orientation.begin());
    return sketch.tag;
}

bool feature_is_parameterised(tag_t feature) {
    host::Object* o = host::find(feature, HM_feature_type);
    const host::FeatureData* d = o ? std::any_cast<host::FeatureData>(&o->data) : nullptr;
    return d && d->parameterised;
}

std::string note_text(tag_t note) {
    const host::Object* o = host::find(note, HM_note_type);
    const auto* d = o ? std::any_cast<host::NoteData>(&o->data) : nullptr;
    return d ? d->text : std::string();
}

Point3 note_origin(tag_t note) {
    const host::Object* o = host::find(note, HM_note_type);
    const auto* d = o ? std::any_cast<host::NoteData>(&o->data) : nullptr;
    return d ? d->origin : Point3{0, 0, 0};
}

tag_t add_view(tag_t part, const char* name) {
    if (!host::part_data(part)) return 0;
    host::Object& v = host::create(HM_view_type, 0, part);
    v.name = name ? name : "";
    const tag_t view = v.tag;
    tag_t layout = HM_OBJ_cycle_objs_in_part(part, HM_layout_type, 0);
    if (!layout) {
        host::Object& l = host::create(HM_layout_type, 0, part);
        l.name = "L1";
        l.data = host::LayoutData{};
        layout = l.tag;
    }
    host::layout_record(layout)->views.push_back(view);
    return view;
}

tag_t work_view() {
    const host::LayoutData* layout = host::layout_record(DSS_VIEW_ask_work_vseq());
    return layout && layout->work < layout->views.size() ? layout->views[layout->work] : 0;
}

}  // namespace host_testing
