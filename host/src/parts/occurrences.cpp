// Occurrences of objects in an assembly part: the occurrence of a component
// part's object, the component an occurrence belongs to, and the placement
// that shows a prototype's geometry in the assembly part.
#include "omvra.h"
#include "core/model.h"
#include "parts/assembly_data.h"

#include <BRepBuilderAPI_Transform.hxx>
#include <Standard_Failure.hxx>

namespace host {

ComponentData* component_record(tag_t component) {
    Object* o = find(component, HM_component_type);
    return o ? std::any_cast<ComponentData>(&o->data) : nullptr;
}

OccurrenceData* occurrence_record(tag_t occurrence) {
    Object* o = find(occurrence);
    return o ? std::any_cast<OccurrenceData>(&o->data) : nullptr;
}

gp_Trsf placement_of(const ComponentData& c) {
    const auto& m = c.matrix;
    const auto& t = c.origin;
    gp_Trsf placement;
    placement.SetValues(m[0], m[3], m[6], t[0], m[1], m[4], m[7], t[1], m[2], m[5], m[8], t[2]);
    return placement;
}

void set_placement(ComponentData& c, const gp_Trsf& placement) {
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) c.matrix[3 * col + row] = placement.Value(row + 1, col + 1);
        c.origin[row] = placement.Value(row + 1, 4);
    }
}

bool transform_geometry(Object& object, const gp_Trsf& motion) {
    try {
        gp_Pnt point(object.point[0], object.point[1], object.point[2]);
        point.Transform(motion);
        Handle(Geom_Curve) curve = object.curve;
        Handle(Geom_Surface) surface = object.surface;
        TopoDS_Shape shape = object.shape;
        if (!curve.IsNull()) curve = Handle(Geom_Curve)::DownCast(curve->Transformed(motion));
        if (!surface.IsNull()) surface = Handle(Geom_Surface)::DownCast(surface->Transformed(motion));
        if (!shape.IsNull()) shape = BRepBuilderAPI_Transform(shape, motion, true).Shape();
        object.point = {point.X(), point.Y(), point.Z()};
        object.curve = curve;
        object.surface = surface;
        object.shape = shape;
        return true;
    } catch (const Standard_Failure&) {
        return false;
    }
}

tag_t make_occurrence(tag_t component, tag_t prototype) {
    Object* comp = find(component, HM_component_type);
    Object* proto = find(prototype);
    if (!comp || !proto) return 0;
    const ComponentData& c = std::any_cast<ComponentData&>(comp->data);
    if (proto->part != HM_PART_ask_part_tag(c.part_name.c_str())) return 0;
    Object copy = *proto;
    copy.owner = 0;
    copy.subtags.clear();
    copy.subtags_made = false;
    // An occurrence of a face is a face placed in the assembly (of no body
    // there); of a body or an edge, a body of its own.
    if (copy.type == HM_solid_type && copy.subtype != HM_solid_face_subtype) copy.subtype = HM_solid_body_subtype;
    if (!transform_geometry(copy, placement_of(c))) return 0;

    const tag_t assembly_part = comp->part;
    Object& o = create(copy.type, copy.subtype, assembly_part);
    const tag_t tag = o.tag;
    copy.tag = tag;
    copy.part = assembly_part;
    copy.data = OccurrenceData{prototype, component};
    o = copy;
    return tag;
}

std::vector<tag_t> part_occ_children(tag_t part_occ) {
    std::vector<tag_t> children;
    Object* o = find(part_occ);
    if (!o) return children;
    const bool is_part = o->type == HM_part_type;
    if (!is_part && !component_record(part_occ)) return children;
    for (auto& [tag, object] : model().objects) {
        if (object.status != HM_OBJ_ALIVE || object.type != HM_component_type) continue;
        const ComponentData* d = std::any_cast<ComponentData>(&object.data);
        if (!d) continue;
        if (is_part ? (object.part == part_occ && !find(d->parent)) : d->parent == part_occ) children.push_back(tag);
    }
    return children;
}

}  // namespace host

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
