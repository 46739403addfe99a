// Facetted models of solid bodies: the kernel's triangulation of a body,
// kept as the set of its vertices (metres) and as its facets with unit
// vertex normals, the models of a body, and the names of features as the
// user sees them.
#include "omvra.h"
#include "quillon.h"
#include "rostval.h"
#include "yarrowin.h"
#include "core/kernel_guard.h"
#include "core/model.h"
#include "geometry/bodies.h"
#include "parts/assembly_data.h"
#include "host_testing.h"

#include <BRepGProp_Face.hxx>
#include <BRepMesh_IncrementalMesh.hxx>
#include <BRepTools.hxx>
#include <BRep_Tool.hxx>
#include <Poly_Triangulation.hxx>
#include <TopExp_Explorer.hxx>
#include <TopLoc_Location.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Face.hxx>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

using Vec3 = std::array<double, 3>;

// One triangle of a model: its corners (metres) in the order that turns
// about the outward normal, and the unit surface normal at each corner.
struct Facet {
    std::array<Vec3, 3> corners;
    std::array<Vec3, 3> normals;
};

// What a facetted model holds. A model never changes once made, so its
// vertices and facets are shared by every snapshot of the model (an undo
// mark copies the pointers, never the facets).
struct FacetModelData {
    tag_t solid = 0;                                                  // the body it was made from, 0 for none
    std::shared_ptr<const std::vector<std::array<double, 3>>> vertices;   // metres, each once
    std::shared_ptr<const std::vector<Facet>> facets;                 // models of solids only
    size_t vertex_count() const { return vertices ? vertices->size() : 0; }
    size_t facet_count() const { return facets ? facets->size() : 0; }
};

host::Object* find_model(tag_t model) { return host::find(model, HM_facet_model_type); }

const FacetModelData* model_data(tag_t model) {
    host::Object* o = find_model(model);
    return o ? std::any_cast<FacetModelData>(&o->data) : nullptr;
}

// A facetted model as the facet queries see it: its own vertices, or for an
// occurrence in an assembly its prototype's placed by the component (the
// placement's translation taken to the kernel's metres).
struct ModelView {
    const FacetModelData* data = nullptr;
    bool placed = false;
    gp_Trsf placement;
    Vec3 point(const Vec3& v) const {
        if (!placed) return v;
        const gp_Pnt p = gp_Pnt(v[0], v[1], v[2]).Transformed(placement);
        return {p.X(), p.Y(), p.Z()};
    }
    Vec3 direction(const Vec3& v) const {
        if (!placed) return v;
        const gp_Vec d = gp_Vec(v[0], v[1], v[2]).Transformed(placement);
        return {d.X(), d.Y(), d.Z()};
    }
};

// False for anything but a live facetted model (or an occurrence of one
// whose prototype is still there).
bool view_of(tag_t model, ModelView* view) {
    if (!find_model(model)) return false;
    if (const FacetModelData* own = model_data(model)) {
        *view = ModelView{own, false, gp_Trsf()};
        return true;
    }
    const host::OccurrenceData* occ = host::occurrence_record(model);
    const host::ComponentData* component = occ ? host::component_record(occ->component) : nullptr;
    const FacetModelData* prototype = occ ? model_data(occ->prototype) : nullptr;
    if (!component || !prototype) return false;
    gp_Trsf placement = host::placement_of(*component);
    placement.SetTranslationPart(placement.TranslationPart() * pxsfac[0]);
    *view = ModelView{prototype, true, placement};
    return true;
}


// Unit normal of the face (towards its outside) at the triangulation's node.
// Where the surface has none (a pole), the normal a hair's breadth towards
// the facet's middle in the parameters; the facet's own normal when even
// that fails.
Vec3 node_normal(BRepGProp_Face& surface, const Handle(Poly_Triangulation)& triangulation, int node,
                 const gp_Pnt2d& facet_middle, const gp_Vec& fallback) {
    constexpr double kTowardsMiddle = 1e-7;
    gp_Vec n = fallback;
    if (triangulation->HasUVNodes()) {
        const gp_Pnt2d uv = triangulation->UVNode(node);
        gp_Pnt p;
        gp_Vec d;
        surface.Normal(uv.X(), uv.Y(), p, d);
        if (d.Magnitude() <= 1e-12) {
            surface.Normal(uv.X() + kTowardsMiddle * (facet_middle.X() - uv.X()),
                           uv.Y() + kTowardsMiddle * (facet_middle.Y() - uv.Y()), p, d);
        }
        if (d.Magnitude() > 1e-12) n = d;
    }
    if (n.Magnitude() > 1e-12) n.Normalize();
    return {n.X(), n.Y(), n.Z()};
}

Vec3 unit(const Vec3& v) {
    const double len = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    return len > 1e-12 ? Vec3{v[0] / len, v[1] / len, v[2] / len} : v;
}

double edge_length(const Vec3& a, const Vec3& b) {
    return std::sqrt((a[0] - b[0]) * (a[0] - b[0]) + (a[1] - b[1]) * (a[1] - b[1]) + (a[2] - b[2]) * (a[2] - b[2]));
}

// The corner the facet is halved at: the middle of its longest edge, when
// that edge is above the size bound (metres, 0: none) and the depth limit,
// which stops the halving of degenerate facets, is not reached; -1 when the
// facet is kept whole.
constexpr int kMaxHalvingDepth = 24;

int halving_edge(const Facet& f, double max_size, int depth) {
    int longest = 0;
    double length = 0.0;
    for (int i = 0; i < 3; ++i) {
        const double l = edge_length(f.corners[i], f.corners[(i + 1) % 3]);
        if (l > length) {
            length = l;
            longest = i;
        }
    }
    return !(max_size > 0.0) || length <= max_size || depth >= kMaxHalvingDepth ? -1 : longest;
}

// The two halves of the facet across the edge from corner a; the new
// corner's normal is the mean of the edge's two, unitised.
std::array<Facet, 2> halves(const Facet& f, int a) {
    const int b = (a + 1) % 3;
    Vec3 mid, normal;
    for (int k = 0; k < 3; ++k) {
        mid[k] = 0.5 * (f.corners[a][k] + f.corners[b][k]);
        normal[k] = 0.5 * (f.normals[a][k] + f.normals[b][k]);
    }
    normal = unit(normal);
    std::array<Facet, 2> out{f, f};
    out[0].corners[b] = mid;   // a, mid, c
    out[0].normals[b] = normal;
    out[1].corners[a] = mid;   // mid, b, c
    out[1].normals[a] = normal;
    return out;
}

// How many facets the halving below makes of the facet.
size_t bounded_count(const Facet& f, double max_size, int depth = 0) {
    const int a = halving_edge(f, max_size, depth);
    if (a < 0) return 1;
    const std::array<Facet, 2> h = halves(f, a);
    return bounded_count(h[0], max_size, depth + 1) + bounded_count(h[1], max_size, depth + 1);
}

// The facet halved across its longest edge until no edge is above the size
// bound, the pieces appended in place (the caller has reserved room for them).
void add_bounded(const Facet& f, double max_size, std::vector<Facet>& out, int depth = 0) {
    const int a = halving_edge(f, max_size, depth);
    if (a < 0) {
        out.push_back(f);
        return;
    }
    const std::array<Facet, 2> h = halves(f, a);
    add_bounded(h[0], max_size, out, depth + 1);
    add_bounded(h[1], max_size, out, depth + 1);
}

// The triangles of one meshed face with their corner normals, metres.
void face_facets(const TopoDS_Face& face, double scale, std::vector<Facet>& out) {
    TopLoc_Location location;
    Handle(Poly_Triangulation) triangulation = BRep_Tool::Triangulation(face, location);
    if (triangulation.IsNull()) return;
    const gp_Trsf& trsf = location.Transformation();
    const bool reversed = face.Orientation() == TopAbs_REVERSED;
    BRepGProp_Face surface(face);
    for (int t = 1; t <= triangulation->NbTriangles(); ++t) {
        int n[3];
        triangulation->Triangle(t).Get(n[0], n[1], n[2]);
        if (reversed) std::swap(n[1], n[2]);
        gp_Pnt p[3];
        for (int k = 0; k < 3; ++k) p[k] = triangulation->Node(n[k]).Transformed(trsf);
        const gp_Vec own = gp_Vec(p[0], p[1]).Crossed(gp_Vec(p[0], p[2]));
        gp_Pnt2d middle(0.0, 0.0);
        if (triangulation->HasUVNodes()) {
            for (int k = 0; k < 3; ++k) {
                const gp_Pnt2d uv = triangulation->UVNode(n[k]);
                middle.SetCoord(middle.X() + uv.X() / 3.0, middle.Y() + uv.Y() / 3.0);
            }
        }
        Facet& f = out.emplace_back();
        for (int k = 0; k < 3; ++k) {
            f.corners[k] = {p[k].X() * scale, p[k].Y() * scale, p[k].Z() * scale};
            gp_Vec nv;
            const Vec3 local = node_normal(surface, triangulation, n[k], middle, own);
            nv.SetCoord(local[0], local[1], local[2]);
            nv.Transform(trsf);
            f.normals[k] = {nv.X(), nv.Y(), nv.Z()};
        }
    }
}

// The facets of the meshed shape, each halved to the size bound (metres, 0:
// none). The triangles are counted and the halves too before anything is
// stored, so that each facet is written once into room reserved for all.
std::vector<Facet> shape_facets(const TopoDS_Shape& shape, double scale, double max_size) {
    size_t triangles = 0;
    for (TopExp_Explorer it(shape, TopAbs_FACE); it.More(); it.Next()) {
        TopLoc_Location location;
        Handle(Poly_Triangulation) triangulation = BRep_Tool::Triangulation(TopoDS::Face(it.Current()), location);
        if (!triangulation.IsNull()) triangles += static_cast<size_t>(triangulation->NbTriangles());
    }
    std::vector<Facet> meshed;
    meshed.reserve(triangles);
    for (TopExp_Explorer it(shape, TopAbs_FACE); it.More(); it.Next())
        face_facets(TopoDS::Face(it.Current()), scale, meshed);
    if (!(max_size > 0.0)) return meshed;
    size_t total = 0;
    for (const Facet& f : meshed) total += bounded_count(f, max_size);
    if (total == meshed.size()) return meshed;
    std::vector<Facet> bounded;
    bounded.reserve(total);
    for (const Facet& f : meshed) add_bounded(f, max_size, bounded);
    return bounded;
}

// The triangulation's nodes of every face of the shape, each position once,
// scaled by `scale`; the facets with their normals when asked.
std::vector<std::array<double, 3>> mesh_vertices(const TopoDS_Shape& shape, double deflection, double angle,
                                                 double scale, std::vector<Facet>* facets = nullptr,
                                                 double max_size = 0.0) {
    TopoDS_Shape copy = shape;
    BRepTools::Clean(copy);
    BRepMesh_IncrementalMesh mesh(copy, deflection, false, angle, true);
    std::map<std::array<double, 3>, bool> seen;
    std::vector<std::array<double, 3>> out;
    for (TopExp_Explorer it(copy, TopAbs_FACE); it.More(); it.Next()) {
        TopLoc_Location location;
        Handle(Poly_Triangulation) triangulation = BRep_Tool::Triangulation(TopoDS::Face(it.Current()), location);
        if (triangulation.IsNull()) continue;
        for (int i = 1; i <= triangulation->NbNodes(); ++i) {
            const gp_Pnt p = triangulation->Node(i).Transformed(location.Transformation());
            const std::array<double, 3> v{p.X() * scale, p.Y() * scale, p.Z() * scale};
            if (seen.emplace(v, true).second) out.push_back(v);
        }
    }
    if (facets) *facets = shape_facets(copy, scale, max_size);
    return out;
}

}  // namespace

bool FACET_is_zv_body(tag_t model) {
    host::Object* o = find_model(model);
    return o && o->subtype == HM_facet_indexed_subtype;
}

int FACET_ask_max_vertex_index(tag_t model) {
    ModelView view;
    return view_of(model, &view) ? static_cast<int>(view.data->vertex_count()) : -1;
}

int FACET_ask_vertex_of_index(tag_t model, int index, double vertex[3]) {
    if (!vertex) return HM_ERR_NULL_POINTER;
    ModelView view;
    if (!view_of(model, &view)) return HM_ERR_INVALID_TAG;
    if (index < 0 || index >= static_cast<int>(view.data->vertex_count())) return HM_ERR_BAD_ARGUMENT;
    const Vec3 v = view.point((*view.data->vertices)[index]);
    for (int k = 0; k < 3; ++k) vertex[k] = v[k];
    return 0;
}

int FACET_ask_vertices_of_topology(tag_t model, double** vertices, bool unique) {
    (void)unique;
    if (vertices) *vertices = nullptr;
    ModelView view;
    if (!vertices || !view_of(model, &view)) return -1;
    const int n = static_cast<int>(view.data->vertex_count());
    if (n == 0) return 0;
    *vertices = static_cast<double*>(SM_alloc(3 * n * sizeof(double)));
    if (!*vertices) return -1;
    for (int i = 0; i < n; ++i) {
        const Vec3 v = view.point((*view.data->vertices)[i]);
        for (int k = 0; k < 3; ++k) (*vertices)[3 * i + k] = v[k];
    }
    return n;
}

int HM_FACET_ask_models_of_solid(tag_t body, int* count, tag_t** models) {
    if (!count || !models) return HM_ERR_NULL_POINTER;
    *count = 0;
    *models = nullptr;
    if (!host::find_body(body)) return HM_ERR_INVALID_TAG;
    // An occurrence of a body has the occurrences, in its component, of its
    // prototype's models.
    const host::OccurrenceData* body_occ = host::occurrence_record(body);
    std::vector<tag_t> found;
    for (auto& [tag, o] : host::model().objects) {
        if (o.status != HM_OBJ_ALIVE || o.type != HM_facet_model_type) continue;
        const FacetModelData* d = std::any_cast<FacetModelData>(&o.data);
        const host::OccurrenceData* occ = std::any_cast<host::OccurrenceData>(&o.data);
        const FacetModelData* prototype = occ && body_occ && occ->component == body_occ->component
                                              ? model_data(occ->prototype)
                                              : nullptr;
        if ((d && d->solid == body) || (prototype && prototype->solid == body_occ->prototype)) found.push_back(tag);
    }
    *count = static_cast<int>(found.size());
    *models = host::tag_array(found);
    return 0;
}

int HM_FACET_ask_default_parameters(HM_FACET_parameters_t* parameters) {
    if (!parameters) return HM_ERR_NULL_POINTER;
    parameters->chord_tolerance = 0.0002;   // 0.2 mm
    parameters->angle_tolerance = 0.2;      // about 11.5 degrees
    parameters->max_facet_size = 0.0;       // no bound
    return 0;
}

int HM_FACET_facet_solid(tag_t body, const HM_FACET_parameters_t* parameters, tag_t* model) {
    if (!parameters || !model) return HM_ERR_NULL_POINTER;
    *model = 0;
    host::Object* b = host::find_body(body);
    if (!b) return HM_ERR_INVALID_TAG;
    if (!(parameters->chord_tolerance > 0.0) || !(parameters->angle_tolerance > 0.0) ||
        !(parameters->max_facet_size >= 0.0))
        return HM_ERR_BAD_ARGUMENT;
    return host::guarded("HM_FACET_facet_solid", [&]() -> int {
        const double metres = pxsfac[0];   // part units to kernel metres
        FacetModelData d;
        d.solid = body;
        const double max_size = parameters->max_facet_size > 0.0 ? parameters->max_facet_size * metres : 0.0;
        std::vector<Facet> facets;
        std::vector<std::array<double, 3>> vertices = mesh_vertices(
            b->shape, parameters->chord_tolerance / metres, parameters->angle_tolerance, metres, &facets, max_size);
        if (vertices.empty()) return HM_ERR_GEOMETRY;
        d.vertices = std::make_shared<const std::vector<std::array<double, 3>>>(std::move(vertices));
        d.facets = std::make_shared<const std::vector<Facet>>(std::move(facets));
        host::Object& m = host::create(HM_facet_model_type, HM_facet_solid_subtype, b->part);
        m.owner = body;   // deleted with its body
        m.data = std::move(d);
        *model = m.tag;
        return 0;
    });
}

int HM_FACET_ask_solid_of_model(tag_t model, tag_t* solid) {
    if (!solid) return HM_ERR_NULL_POINTER;
    ModelView view;
    if (!view_of(model, &view)) return HM_ERR_INVALID_TAG;
    // An occurrence answers its prototype's solid, in the component's part.
    *solid = host::find_body(view.data->solid) ? view.data->solid : 0;
    return 0;
}

int HM_MODL_ask_feat_name(tag_t feature, char** name) {
    if (!name) return HM_ERR_NULL_POINTER;
    *name = nullptr;
    host::Object* f = host::find(feature, HM_feature_type);
    if (!f) return HM_ERR_INVALID_TAG;
    const host::FeatureData* d = std::any_cast<host::FeatureData>(&f->data);
    const std::string text = !f->name.empty() ? f->name
                                              : (d ? d->kind : std::string("FEATURE")) + "(" + std::to_string(feature) + ")";
    *name = SM_string_copy(text.c_str());
    return 0;
}

int HM_FACET_cycle_facets(tag_t model, int* facet_id) {
    if (!facet_id) return HM_ERR_NULL_POINTER;
    ModelView view;
    if (!view_of(model, &view)) return HM_ERR_INVALID_TAG;
    const int next = *facet_id < 0 ? 0 : *facet_id + 1;
    *facet_id = next < static_cast<int>(view.data->facet_count()) ? next : -1;
    return 0;
}

namespace {

// The facet of a model as placed (metres), false (with the code) when the
// model or id is wrong.
bool facet_of(tag_t model, int facet_id, int* code, Facet* facet) {
    ModelView view;
    if (!view_of(model, &view)) {
        *code = HM_ERR_INVALID_TAG;
        return false;
    }
    if (facet_id < 0 || facet_id >= static_cast<int>(view.data->facet_count())) {
        *code = HM_ERR_BAD_ARGUMENT;
        return false;
    }
    const Facet& f = (*view.data->facets)[facet_id];
    for (int k = 0; k < 3; ++k) {
        facet->corners[k] = view.point(f.corners[k]);
        facet->normals[k] = view.direction(f.normals[k]);
    }
    *code = 0;
    return true;
}

}  // namespace

int HM_FACET_ask_vertices_of_facet(tag_t model, int facet_id, int* count, double vertices[][3]) {
    if (!count || !vertices) return HM_ERR_NULL_POINTER;
    *count = 0;
    int code = 0;
    Facet f;
    if (!facet_of(model, facet_id, &code, &f)) return code;
    for (int k = 0; k < 3; ++k)
        for (int c = 0; c < 3; ++c) vertices[k][c] = f.corners[k][c] * pxsfac[1];   // kernel metres to part units
    *count = 3;
    return 0;
}

int HM_FACET_ask_normals_of_facet(tag_t model, int facet_id, int* count, double normals[][3]) {
    if (!count || !normals) return HM_ERR_NULL_POINTER;
    *count = 0;
    int code = 0;
    Facet f;
    if (!facet_of(model, facet_id, &code, &f)) return code;
    for (int k = 0; k < 3; ++k)
        for (int c = 0; c < 3; ++c) normals[k][c] = f.normals[k][c];
    *count = 3;
    return 0;
}

namespace host_testing {

tag_t make_indexed_facet_model(const std::vector<std::array<double, 3>>& vertices_m) {
    if (!host::work_part_data()) return 0;
    host::Object& m = host::create(HM_facet_model_type, HM_facet_indexed_subtype);
    FacetModelData d;
    d.vertices = std::make_shared<const std::vector<std::array<double, 3>>>(vertices_m);
    m.data = std::move(d);
    return m.tag;
}

}  // namespace host_testing
