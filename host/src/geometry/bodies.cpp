// Bodies, their faces and edges: tags of the topology, topology queries,
// face properties, kernel entities and kernel types.
#include "core/checks.h"
#include "core/kernel_guard.h"
#include "geometry/bodies.h"
#include "geometry/face_projection.h"

#include "ambrith.h"
#include "geometry/geometry.h"
#include "nethrow.h"
#include "omvra.h"
#include "quillon.h"

#include <BRepAdaptor_Surface.hxx>
#include <BRepBuilderAPI_MakeVertex.hxx>
#include <BRepExtrema_DistShapeShape.hxx>
#include <BRepLProp_SLProps.hxx>
#include <BRep_Tool.hxx>
#include <ShapeAnalysis_Surface.hxx>
#include <Standard_Failure.hxx>
#include <TopExp.hxx>
#include <TopTools_IndexedDataMapOfShapeListOfShape.hxx>
#include <TopTools_IndexedMapOfShape.hxx>
#include <TopTools_ListOfShape.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Edge.hxx>
#include <TopoDS_Face.hxx>
#include <TopoDS_Vertex.hxx>
#include <gp_Pnt.hxx>

#include <algorithm>
#include <cmath>

namespace host {

tag_t make_body(const TopoDS_Shape& shape, const char* feature_kind, tag_t* feature) {
    Object& body = create(HM_solid_type, HM_solid_body_subtype);
    body.shape = shape;
    tag_t tag = body.tag;
    tag_t f = create_feature(feature_kind, tag).tag;
    if (feature) *feature = f;
    return tag;
}

void replace_body_shape(tag_t tag, const TopoDS_Shape& shape) {
    Object* body = find_body(tag);
    if (!body) return;
    std::vector<tag_t> old = body->subtags;
    body->subtags.clear();
    body->subtags_made = false;
    body->shape = shape;
    for (tag_t t : old) erase(t);
}

static Object* find_solid(tag_t tag, int subtype) {
    Object* o = find(tag, HM_solid_type);
    return (o && o->subtype == subtype) ? o : nullptr;
}

Object* find_body(tag_t tag) { return find_solid(tag, HM_solid_body_subtype); }
Object* find_face(tag_t tag) { return find_solid(tag, HM_solid_face_subtype); }
Object* find_edge(tag_t tag) { return find_solid(tag, HM_solid_edge_subtype); }

void tag_topology(Object& body) {
    if (body.subtags_made) return;
    TopTools_IndexedMapOfShape faces, edges;
    TopExp::MapShapes(body.shape, TopAbs_FACE, faces);
    TopExp::MapShapes(body.shape, TopAbs_EDGE, edges);
    const tag_t body_tag = body.tag;
    const tag_t part = body.part;
    std::vector<tag_t> tags;
    auto add = [&](const TopoDS_Shape& s, int subtype) {
        Object& o = create(HM_solid_type, subtype, part);
        o.shape = s;
        o.owner = body_tag;
        tags.push_back(o.tag);
    };
    for (int i = 1; i <= faces.Extent(); ++i) add(faces(i), HM_solid_face_subtype);
    for (int i = 1; i <= edges.Extent(); ++i) add(edges(i), HM_solid_edge_subtype);
    // create() may not move existing objects (std::map), so `body` is still valid.
    body.subtags = tags;
    body.subtags_made = true;
}

static std::vector<tag_t> topology_of(tag_t tag, int subtype) {
    std::vector<tag_t> out;
    Object* body = find_body(tag);
    if (!body) return out;
    tag_topology(*body);
    for (tag_t t : body->subtags) {
        Object* o = find(t);
        if (o && o->subtype == subtype) out.push_back(t);
    }
    return out;
}

std::vector<tag_t> body_faces(tag_t body) { return topology_of(body, HM_solid_face_subtype); }
std::vector<tag_t> body_edges(tag_t body) { return topology_of(body, HM_solid_edge_subtype); }

tag_t tag_of_subshape(tag_t tag, const TopoDS_Shape& shape) {
    Object* body = find_body(tag);
    if (!body || shape.IsNull()) return 0;
    tag_topology(*body);
    for (tag_t t : body->subtags) {
        Object* o = find(t);
        if (o && o->shape.IsSame(shape)) return t;
    }
    return 0;
}

int body_kernel_type(const TopoDS_Shape& shape) {
    TopTools_IndexedMapOfShape faces, vertices;
    TopExp::MapShapes(shape, TopAbs_FACE, faces);
    TopExp::MapShapes(shape, TopAbs_VERTEX, vertices);
    TopTools_IndexedDataMapOfShapeListOfShape edge_faces, vertex_edges;
    TopExp::MapShapesAndAncestors(shape, TopAbs_EDGE, TopAbs_FACE, edge_faces);
    TopExp::MapShapesAndAncestors(shape, TopAbs_VERTEX, TopAbs_EDGE, vertex_edges);
    bool loose_edges = false;
    for (int i = 1; i <= edge_faces.Extent(); ++i)
        if (edge_faces(i).IsEmpty()) loose_edges = true;
    bool loose_vertices = false;
    for (int i = 1; i <= vertices.Extent(); ++i)
        if (!vertex_edges.Contains(vertices(i)) || vertex_edges.FindFromKey(vertices(i)).IsEmpty())
            loose_vertices = true;
    if (faces.Extent() > 0) return (loose_edges || loose_vertices) ? kBodyTypeGeneral : kBodyTypeManifold;
    if (edge_faces.Extent() > 0) return loose_vertices ? kBodyTypeGeneral : kBodyTypeWire;
    return vertices.Extent() > 0 ? kBodyTypeMinimum : kBodyTypeGeneral;
}

TopoDS_Shape operand_shape(tag_t tag) {
    Object* o = find(tag);
    if (!o) return TopoDS_Shape();
    if (o->type == HM_feature_type) {
        const FeatureData* f = std::any_cast<FeatureData>(&o->data);
        Object* body = f ? find(f->body) : nullptr;
        return body ? shape_of(*body) : TopoDS_Shape();
    }
    return shape_of(*o);
}

}  // namespace host

using host::Object;

namespace {

void put(const gp_XYZ& v, double out[3]) {
    out[0] = v.X();
    out[1] = v.Y();
    out[2] = v.Z();
}

double normalise(double value, double lo, double hi) { return hi > lo ? (value - lo) / (hi - lo) : 0.0; }

}  // namespace

/* ---- topology ---- */

int HM_MODL_ask_body_faces(tag_t body, hm_list_p_t* faces) {
    return host::guarded(__func__, [&]() -> int {
        if (!faces) return HM_ERR_NULL_POINTER;
        Object* o = host::find(body);
        if (!o) return HM_ERR_INVALID_TAG;
        if (!host::find_body(body)) return HM_ERR_WRONG_TYPE;
        return host::new_list(host::body_faces(body), faces);
    });
}

int HM_MODL_ask_body_edges(tag_t body, hm_list_p_t* edges) {
    return host::guarded(__func__, [&]() -> int {
        if (!edges) return HM_ERR_NULL_POINTER;
        Object* o = host::find(body);
        if (!o) return HM_ERR_INVALID_TAG;
        if (!host::find_body(body)) return HM_ERR_WRONG_TYPE;
        return host::new_list(host::body_edges(body), edges);
    });
}

int HM_MODL_ask_face_edges(tag_t face, hm_list_p_t* edges) {
    return host::guarded(__func__, [&]() -> int {
        if (!edges) return HM_ERR_NULL_POINTER;
        if (!host::find(face)) return HM_ERR_INVALID_TAG;
        Object* f = host::find_face(face);
        if (!f) return HM_ERR_WRONG_TYPE;
        TopTools_IndexedMapOfShape map;
        TopExp::MapShapes(f->shape, TopAbs_EDGE, map);
        const tag_t body = f->owner;
        std::vector<tag_t> tags;
        for (int i = 1; i <= map.Extent(); ++i)
            if (tag_t t = host::tag_of_subshape(body, map(i))) tags.push_back(t);
        return host::new_list(tags, edges);
    });
}

int HM_MODL_ask_edge_faces(tag_t edge, hm_list_p_t* faces) {
    return host::guarded(__func__, [&]() -> int {
        if (!faces) return HM_ERR_NULL_POINTER;
        if (!host::find(edge)) return HM_ERR_INVALID_TAG;
        Object* e = host::find_edge(edge);
        if (!e) return HM_ERR_WRONG_TYPE;
        const TopoDS_Shape edge_shape = e->shape;
        std::vector<tag_t> tags;
        for (tag_t f : host::body_faces(e->owner)) {
            TopTools_IndexedMapOfShape map;
            TopExp::MapShapes(host::find(f)->shape, TopAbs_EDGE, map);
            if (map.Contains(edge_shape)) tags.push_back(f);
        }
        return host::new_list(tags, faces);
    });
}

int HM_MODL_ask_face_body(tag_t face, tag_t* body) {
    return host::guarded(__func__, [&]() -> int {
        if (!body) return HM_ERR_NULL_POINTER;
        if (!host::find(face)) return HM_ERR_INVALID_TAG;
        Object* f = host::find_face(face);
        if (!f) return HM_ERR_WRONG_TYPE;
        *body = f->owner;
        return 0;
    });
}

int HM_MODL_ask_edge_verts(tag_t edge, double point1[3], double point2[3], int* vertex_count) {
    return host::guarded(__func__, [&]() -> int {
        if (!point1 || !point2 || !vertex_count) return HM_ERR_NULL_POINTER;
        if (!host::find(edge)) return HM_ERR_INVALID_TAG;
        Object* e = host::find_edge(edge);
        if (!e) return HM_ERR_WRONG_TYPE;
        TopoDS_Vertex v1, v2;
        TopExp::Vertices(TopoDS::Edge(e->shape), v1, v2);
        if (v1.IsNull() || v2.IsNull()) return HM_ERR_GEOMETRY;
        put(BRep_Tool::Pnt(v1).XYZ(), point1);
        put(BRep_Tool::Pnt(v2).XYZ(), point2);
        *vertex_count = v1.IsSame(v2) ? 1 : 2;
        return 0;
    });
}

/* ---- faces ---- */

int HM_MODL_ask_face_props(tag_t face, const double parm[2], double point[3], double u1[3], double v1[3],
                           double u2[3], double v2[3], double unit_normal[3], double radii[2]) {
    return host::guarded(__func__, [&]() -> int {
        if (!parm || !point || !u1 || !v1 || !u2 || !v2 || !unit_normal || !radii) return HM_ERR_NULL_POINTER;
        if (!host::finite_values(parm, 2)) return HM_ERR_BAD_ARGUMENT;
        if (!host::find(face)) return HM_ERR_INVALID_TAG;
        Object* f = host::find_face(face);
        if (!f) return HM_ERR_WRONG_TYPE;
        const TopoDS_Face shape = TopoDS::Face(f->shape);
        double umin, umax, vmin, vmax;
        host::face_parameter_box(shape, umin, umax, vmin, vmax);
        const double du = umax - umin, dv = vmax - vmin;
        const double u = umin + parm[0] * du, v = vmin + parm[1] * dv;
        const BRepAdaptor_Surface& surface = host::face_surface(shape);
        gp_Pnt p;
        gp_Vec d1u, d1v, d2u, d2v, d2uv;
        surface.D2(u, v, p, d1u, d1v, d2u, d2v, d2uv);
        BRepLProp_SLProps props(surface, u, v, 2, 1.0e-9);
        if (!props.IsNormalDefined()) return HM_ERR_GEOMETRY;
        const double sense = shape.Orientation() == TopAbs_REVERSED ? -1.0 : 1.0;
        put(p.XYZ(), point);
        put(d1u.XYZ() * du, u1);
        put(d1v.XYZ() * dv, v1);
        put(d2u.XYZ() * du * du, u2);
        put(d2v.XYZ() * dv * dv, v2);
        put(props.Normal().XYZ() * sense, unit_normal);
        double k1 = 0.0, k2 = 0.0;
        if (props.IsCurvatureDefined()) {
            k1 = props.MaxCurvature() * sense;
            k2 = props.MinCurvature() * sense;
        }
        if (std::fabs(k2) > std::fabs(k1)) std::swap(k1, k2);
        radii[0] = std::fabs(k1) > 1.0e-12 ? 1.0 / k1 : 0.0;
        radii[1] = std::fabs(k2) > 1.0e-12 ? 1.0 / k2 : 0.0;
        return 0;
    });
}

int HM_MODL_ask_face_parm(tag_t face, const double ref_point[3], double parm[2], double face_point[3]) {
    return host::guarded(__func__, [&]() -> int {
        if (!ref_point || !parm || !face_point) return HM_ERR_NULL_POINTER;
        if (!host::find(face)) return HM_ERR_INVALID_TAG;
        Object* f = host::find_face(face);
        if (!f) return HM_ERR_WRONG_TYPE;
        const TopoDS_Face shape = TopoDS::Face(f->shape);
        const gp_Pnt ref(ref_point[0], ref_point[1], ref_point[2]);
        double u = 0.0, v = 0.0;
        gp_Pnt p;
        if (!host::nearest_on_face(shape, ref, u, v, p)) {
            // No surface foot and no edge to measure to: the kernel's own
            // minimum distance.
            BRepExtrema_DistShapeShape dist(BRepBuilderAPI_MakeVertex(ref).Vertex(), shape);
            if (!dist.IsDone() || dist.NbSolution() < 1) return HM_ERR_GEOMETRY;
            p = dist.PointOnShape2(1);
            if (dist.SupportTypeShape2(1) == BRepExtrema_IsInFace) {
                dist.ParOnFaceS2(1, u, v);
            } else {
                ShapeAnalysis_Surface analysis(BRep_Tool::Surface(shape));
                gp_Pnt2d uv = analysis.ValueOfUV(p, 1.0e-9);
                u = uv.X();
                v = uv.Y();
            }
        }
        double umin, umax, vmin, vmax;
        host::face_parameter_box(shape, umin, umax, vmin, vmax);
        parm[0] = normalise(u, umin, umax);
        parm[1] = normalise(v, vmin, vmax);
        put(p.XYZ(), face_point);
        return 0;
    });
}

/* ---- kernel entities ---- */

tag_t es7010_occ(tag_t body) { return host::find_body(body) ? body : 0; }

tag_t PX_ask_ptag_of_kw_eid(tag_t object) {
    return host::guarded_value<tag_t>(__func__, 0, [&]() -> tag_t {
        return (host::find_face(object) || host::find_edge(object)) ? object : 0;
    });
}

int GQ_BODY_ask_type(tag_t body, int* type) {
    return host::guarded(__func__, [&]() -> int {
        if (!type) return HM_ERR_NULL_POINTER;
        if (!host::find(body)) return HM_ERR_INVALID_TAG;
        Object* b = host::find_body(body);
        if (!b) return HM_ERR_WRONG_TYPE;
        if (b->shape.IsNull()) return HM_ERR_GEOMETRY;
        *type = host::body_kernel_type(b->shape);
        return 0;
    });
}

int GQ_BODY_ask_faces(tag_t body, int* count, tag_t** faces) {
    return host::guarded(__func__, [&]() -> int {
        if (!count || !faces) return HM_ERR_NULL_POINTER;
        if (!host::find(body)) return HM_ERR_INVALID_TAG;
        if (!host::find_body(body)) return HM_ERR_WRONG_TYPE;
        const std::vector<tag_t> tags = host::body_faces(body);
        *count = static_cast<int>(tags.size());
        *faces = host::tag_array(tags);
        return 0;
    });
}
