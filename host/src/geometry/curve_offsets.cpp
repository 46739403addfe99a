// Offset curves in a sheet: sections of edges, face containers, the offset
// data and the offset-curve feature. The stand-in offsets a closed section
// within planar faces (the kernel's wire offset, sharp corners kept); curved
// faces are not offered.
#include "geometry/bodies.h"
#include "geometry/curves_internal.h"
#include "geometry/geometry.h"
#include "omvra.h"
#include "quillon.h"

#include <BRepAdaptor_Curve.hxx>
#include <BRepBuilderAPI_MakeFace.hxx>
#include <BRepBuilderAPI_MakeVertex.hxx>
#include <BRepClass_FaceClassifier.hxx>
#include <BRepExtrema_DistShapeShape.hxx>
#include <BRepLib_FindSurface.hxx>
#include <BRepOffsetAPI_MakeOffset.hxx>
#include <BRep_Builder.hxx>
#include <BRep_Tool.hxx>
#include <Geom_Plane.hxx>
#include <Geom_TrimmedCurve.hxx>
#include <ShapeAnalysis_FreeBounds.hxx>
#include <Standard_Failure.hxx>
#include <TopExp_Explorer.hxx>
#include <TopTools_HSequenceOfShape.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Compound.hxx>
#include <gp_Pln.hxx>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

struct HM_CURVE_ocf_data_s {
    double tolerances[3];
    std::vector<tag_t> containers;
    struct String {
        tag_t section;
        int direction;
        double distance;
    };
    std::vector<String> strings;
};

namespace {

constexpr int kFacesOfBodies = 17;

host::FeatureData* feature_of_kind(tag_t tag, const char* kind) {
    host::Object* o = host::find(tag, HM_feature_type);
    if (!o) return nullptr;
    host::FeatureData* d = std::any_cast<host::FeatureData>(&o->data);
    return d && d->kind == kind ? d : nullptr;
}

// The plane of all faces of the container's bodies; false when they are not
// planar or not on one plane.
bool container_plane(const host::FeatureData& container, gp_Pln& plane, TopoDS_Compound& faces) {
    BRep_Builder builder;
    builder.MakeCompound(faces);
    int count = 0;
    for (tag_t body : container.objects) {
        host::Object* b = host::find_body(body);
        if (!b) return false;
        for (TopExp_Explorer ex(b->shape, TopAbs_FACE); ex.More(); ex.Next()) {
            builder.Add(faces, ex.Current());
            ++count;
        }
    }
    if (count == 0) return false;
    BRepLib_FindSurface find(faces, 1e-6, true);
    if (!find.Found()) return false;
    Handle(Geom_Plane) p = Handle(Geom_Plane)::DownCast(find.Surface());
    if (p.IsNull()) return false;
    plane = p->Pln();
    return true;
}

// The section's edges as shapes.
std::vector<TopoDS_Edge> section_edges(const host::FeatureData& section) {
    std::vector<TopoDS_Edge> edges;
    for (tag_t t : section.objects) {
        host::Object* o = host::find(t);
        if (!o) continue;
        const TopoDS_Shape s = host::shape_of(*o);
        for (TopExp_Explorer ex(s, TopAbs_EDGE); ex.More(); ex.Next()) edges.push_back(TopoDS::Edge(ex.Current()));
    }
    return edges;
}

}  // namespace

int OCF_create_section(int count, const tag_t* edges, double distance_tolerance, double chain_tolerance,
                       double angle_tolerance, tag_t* section) {
    if (!edges || !section) return HM_ERR_NULL_POINTER;
    if (count < 1 || !(distance_tolerance > 0.0) || !(chain_tolerance > 0.0) || !(angle_tolerance > 0.0))
        return HM_ERR_BAD_ARGUMENT;
    std::vector<tag_t> members;
    for (int i = 0; i < count; ++i) {
        host::Object* o = host::find(edges[i]);
        if (!o) return HM_ERR_INVALID_TAG;
        if (!host::is_curve(*o)) return HM_ERR_WRONG_TYPE;
        members.push_back(edges[i]);
    }
    *section = host::create_feature("SECTION", 0, members).tag;
    return 0;
}

int HM_MODL_create_smart_face_container(int type, int count, const tag_t* bodies, tag_t* container) {
    if (!bodies || !container) return HM_ERR_NULL_POINTER;
    if (type != kFacesOfBodies || count < 1) return HM_ERR_BAD_ARGUMENT;
    for (int i = 0; i < count; ++i) {
        if (!host::find(bodies[i])) return HM_ERR_INVALID_TAG;
        if (!host::find_body(bodies[i])) return HM_ERR_WRONG_TYPE;
    }
    *container = host::create_feature("FACE_CONTAINER", 0, std::vector<tag_t>(bodies, bodies + count)).tag;
    return 0;
}

int HM_CURVE_init_ocf_data(const double tolerances[3], HM_CURVE_ocf_data_p_t* data) {
    if (!tolerances || !data) return HM_ERR_NULL_POINTER;
    for (int i = 0; i < 3; ++i)
        if (!(tolerances[i] > 0.0)) return HM_ERR_BAD_ARGUMENT;
    *data = new HM_CURVE_ocf_data_s{{tolerances[0], tolerances[1], tolerances[2]}, {}, {}};
    return 0;
}

int HM_CURVE_add_faces_ocf_data(HM_CURVE_ocf_data_p_t data, tag_t container) {
    if (!data) return HM_ERR_NULL_POINTER;
    if (!feature_of_kind(container, "FACE_CONTAINER")) return HM_ERR_WRONG_TYPE;
    data->containers.push_back(container);
    return 0;
}

int HM_CURVE_add_string_to_ocf_data(HM_CURVE_ocf_data_p_t data, tag_t section, int direction, const char* distance) {
    if (!data || !distance) return HM_ERR_NULL_POINTER;
    if (!feature_of_kind(section, "SECTION")) return HM_ERR_WRONG_TYPE;
    char* end = nullptr;
    const double value = std::strtod(distance, &end);
    if (end == distance || !std::isfinite(value) || (direction != 1 && direction != -1)) return HM_ERR_BAD_ARGUMENT;
    data->strings.push_back({section, direction, value});
    return 0;
}

int HM_CURVE_free_ocf_data(HM_CURVE_ocf_data_p_t* data) {
    if (!data) return HM_ERR_NULL_POINTER;
    delete *data;
    *data = nullptr;
    return 0;
}

int HM_CURVE_ocf_offset_pt_direction(tag_t section, tag_t container, double point[3], double direction[3]) {
    if (!point || !direction) return HM_ERR_NULL_POINTER;
    host::FeatureData* s = feature_of_kind(section, "SECTION");
    host::FeatureData* c = feature_of_kind(container, "FACE_CONTAINER");
    if (!s || !c) return HM_ERR_WRONG_TYPE;
    try {
        gp_Pln plane;
        TopoDS_Compound faces;
        if (!container_plane(*c, plane, faces)) return HM_ERR_GEOMETRY;
        const std::vector<TopoDS_Edge> edges = section_edges(*s);
        if (edges.empty()) return HM_ERR_GEOMETRY;
        BRepAdaptor_Curve curve(edges[0]);
        const double u = 0.5 * (curve.FirstParameter() + curve.LastParameter());
        gp_Pnt p;
        gp_Vec tangent;
        curve.D1(u, p, tangent);
        gp_Vec across = gp_Vec(plane.Axis().Direction()).Crossed(tangent);
        if (across.Magnitude() < 1e-12) return HM_ERR_GEOMETRY;
        across.Normalize();
        // Towards the faces: a small step that side stays on them.
        const double step = 1e-3;
        BRepExtrema_DistShapeShape d(BRepBuilderAPI_MakeVertex(p.Translated(across * step)).Vertex(), faces);
        if (!d.IsDone() || d.Value() > 1e-6) across.Reverse();
        host::put(p, point);
        host::put(across, direction);
        return 0;
    } catch (const Standard_Failure&) {
        return HM_ERR_GEOMETRY;
    }
}

int HM_CURVE_create_ocf_feature(HM_CURVE_ocf_data_p_t data, tag_t* feature) {
    if (!data || !feature) return HM_ERR_NULL_POINTER;
    *feature = 0;
    if (data->strings.empty() || data->containers.empty()) return HM_ERR_BAD_ARGUMENT;
    host::FeatureData* container = feature_of_kind(data->containers[0], "FACE_CONTAINER");
    host::FeatureData* section = feature_of_kind(data->strings[0].section, "SECTION");
    if (!container || !section) return HM_ERR_WRONG_TYPE;
    try {
        gp_Pln plane;
        TopoDS_Compound faces;
        if (!container_plane(*container, plane, faces)) return HM_ERR_GEOMETRY;
        double point[3], direction[3];
        if (int r = HM_CURVE_ocf_offset_pt_direction(data->strings[0].section, data->containers[0], point, direction))
            return r;
        // The section as one closed wire, then as a face in the plane.
        Handle(TopTools_HSequenceOfShape) edges = new TopTools_HSequenceOfShape;
        for (const TopoDS_Edge& e : section_edges(*section)) edges->Append(e);
        Handle(TopTools_HSequenceOfShape) wires;
        ShapeAnalysis_FreeBounds::ConnectEdgesToWires(edges, data->tolerances[2], false, wires);
        if (wires.IsNull() || wires->Length() != 1 || !BRep_Tool::IsClosed(wires->Value(1))) return HM_ERR_GEOMETRY;
        BRepBuilderAPI_MakeFace region(plane, TopoDS::Wire(wires->Value(1)), true);
        if (!region.IsDone()) return HM_ERR_GEOMETRY;
        // Which way the default direction points: into the region or out of it.
        const gp_Pnt probe = gp_Pnt(point[0], point[1], point[2]).Translated(gp_Vec(direction[0], direction[1], direction[2]) * 1e-3);
        BRepClass_FaceClassifier classify(region.Face(), probe, 1e-7);
        const double inward = classify.State() == TopAbs_IN ? 1.0 : -1.0;
        const double signed_distance = data->strings[0].direction * data->strings[0].distance * inward;
        BRepOffsetAPI_MakeOffset offset(region.Face(), GeomAbs_Intersection);
        offset.Perform(-signed_distance);
        if (!offset.IsDone() || offset.Shape().IsNull()) return HM_ERR_GEOMETRY;
        std::vector<tag_t> curves;
        for (TopExp_Explorer ex(offset.Shape(), TopAbs_EDGE); ex.More(); ex.Next()) {
            double first = 0, last = 0;
            Handle(Geom_Curve) c = BRep_Tool::Curve(TopoDS::Edge(ex.Current()), first, last);
            if (c.IsNull()) continue;
            Handle(Geom_Curve) bounded = new Geom_TrimmedCurve(c, first, last);
            curves.push_back(host::store_curve(bounded).tag);
        }
        if (curves.empty()) return HM_ERR_GEOMETRY;
        *feature = host::create_feature("OFFSET_CURVE", 0, curves).tag;
        return 0;
    } catch (const Standard_Failure&) {
        return HM_ERR_GEOMETRY;
    }
}

int HM_CURVE_ocf_ask_curves(tag_t feature, int* count, tag_t** curves) {
    if (!count || !curves) return HM_ERR_NULL_POINTER;
    host::FeatureData* f = feature_of_kind(feature, "OFFSET_CURVE");
    if (!f) return HM_ERR_WRONG_TYPE;
    *count = static_cast<int>(f->objects.size());
    *curves = host::tag_array(f->objects);
    return 0;
}
