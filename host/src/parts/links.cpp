// Linked features: copies, in the work part, of faces and curves of a loaded
// part placed as a component places that part, the geometry a link made and
// the object it copies.
#include "core/model.h"
#include "geometry/bodies.h"
#include "geometry/curves_internal.h"
#include "omvra.h"
#include "parts/assembly_data.h"

#include <BRepBuilderAPI_Transform.hxx>
#include <Standard_Failure.hxx>

#include <set>

namespace {

constexpr const char* kLinkedFace = "LINKED_FACE";
constexpr const char* kLinkedCurve = "LINKED_CURVE";

// The record of a linked feature; null with the host's code otherwise.
host::FeatureData* link_data(tag_t feature, int* result) {
    host::Object* o = host::find(feature);
    if (!o) {
        *result = HM_ERR_INVALID_TAG;
        return nullptr;
    }
    host::FeatureData* d = o->type == HM_feature_type ? std::any_cast<host::FeatureData>(&o->data) : nullptr;
    *result = d && d->link_source != 0 ? 0 : HM_ERR_WRONG_TYPE;
    return *result == 0 ? d : nullptr;
}

// The linked feature whose copy is the object; 0 when it is no linked copy.
tag_t link_of_copy(tag_t object) {
    for (auto& [tag, o] : host::model().objects) {
        if (o.status != HM_OBJ_ALIVE || o.type != HM_feature_type) continue;
        const host::FeatureData* d = std::any_cast<host::FeatureData>(&o.data);
        if (!d || d->link_source == 0) continue;
        for (tag_t made : d->objects)
            if (made == object) return tag;
    }
    return 0;
}

}  // namespace

int host::link_object(tag_t source, tag_t component, tag_t* feature) {
    if (!feature) return HM_ERR_NULL_POINTER;
    *feature = 0;
    if (!work_part_data()) return HM_ERR_NO_PART;
    Object* s = find(source);
    if (!s) return HM_ERR_INVALID_TAG;
    const bool face = find_face(source) != nullptr;
    const bool curve = !s->curve.IsNull() && s->type != HM_solid_type;
    if (!face && !curve) return HM_ERR_WRONG_TYPE;
    gp_Trsf placement;
    if (component != 0) {
        Object* c = find(component, HM_component_type);
        const ComponentData* d = c ? std::any_cast<ComponentData>(&c->data) : nullptr;
        if (!find(component)) return HM_ERR_INVALID_TAG;
        if (!d) return HM_ERR_WRONG_TYPE;
        // Only an object of the component's part is placed by it.
        if (s->part != HM_PART_ask_part_tag(d->part_name.c_str())) return HM_ERR_BAD_ARGUMENT;
        placement = placement_of(*d);
    }
    try {
        if (face) {
            const TopoDS_Shape placed = BRepBuilderAPI_Transform(operand_shape(source), placement, true).Shape();
            tag_t made = 0;
            const tag_t body = make_body(placed, kLinkedFace, &made);
            const std::vector<tag_t> faces = body_faces(body);
            Object* f = find(made);
            auto& data = std::any_cast<FeatureData&>(f->data);
            data.link_source = source;
            data.objects = faces;
            *feature = made;
        } else {
            const Handle(Geom_Curve) placed = Handle(Geom_Curve)::DownCast(s->curve->Transformed(placement));
            const tag_t copy = store_curve(placed).tag;
            Object& f = create_feature(kLinkedCurve, 0, {copy});
            std::any_cast<FeatureData&>(f.data).link_source = source;
            *feature = f.tag;
        }
    } catch (const Standard_Failure&) {
        return HM_ERR_GEOMETRY;
    }
    return 0;
}

int HM_LINK_create_linked_face(tag_t face, tag_t component, tag_t* feature) {
    if (!feature) return HM_ERR_NULL_POINTER;
    *feature = 0;
    if (!host::find(face)) return HM_ERR_INVALID_TAG;
    if (!host::find_face(face)) return HM_ERR_WRONG_TYPE;
    return host::link_object(face, component, feature);
}

int HM_LINK_ask_linked_feature_geom(tag_t feature, tag_t* geometry) {
    if (!geometry) return HM_ERR_NULL_POINTER;
    *geometry = 0;
    int r = 0;
    const host::FeatureData* d = link_data(feature, &r);
    if (!d) return r;
    for (tag_t t : d->objects)
        if (host::find(t)) {
            *geometry = t;
            break;
        }
    return 0;
}

int HM_LINK_ask_link_source(tag_t feature, int follow, tag_t* source) {
    if (!source) return HM_ERR_NULL_POINTER;
    *source = 0;
    int r = 0;
    const host::FeatureData* d = link_data(feature, &r);
    if (!d) return r;
    tag_t at = d->link_source;
    // Links of links are followed to the first object that is no copy; a
    // visited set guards against a cycle.
    std::set<tag_t> seen{feature};
    while (follow && host::find(at)) {
        const tag_t link = link_of_copy(at);
        if (link == 0 || !seen.insert(link).second) break;
        at = std::any_cast<host::FeatureData&>(host::find(link)->data).link_source;
    }
    *source = host::find(at) ? at : 0;
    return 0;
}
