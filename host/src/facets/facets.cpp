// Facetted models of solid bodies: the kernel's triangulation of a body,
// kept as the set of its vertices (metres), the models of a body, and the
// names of features as the user sees them.
#include "omvra.h"
#include "quillon.h"
#include "yarrowin.h"
#include "core/kernel_guard.h"
#include "core/model.h"
#include "geometry/bodies.h"
#include "host_testing.h"

#include <BRepMesh_IncrementalMesh.hxx>
#include <BRepTools.hxx>
#include <BRep_Tool.hxx>
#include <Poly_Triangulation.hxx>
#include <TopExp_Explorer.hxx>
#include <TopLoc_Location.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Face.hxx>

#include <array>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

// What a facetted model holds.
struct FacetModelData {
    tag_t solid = 0;                               // the body it was made from, 0 for none
    std::vector<std::array<double, 3>> vertices;   // metres, each once
};

host::Object* find_model(tag_t model) { return host::find(model, HM_facet_model_type); }

const FacetModelData* model_data(tag_t model) {
    host::Object* o = find_model(model);
    return o ? std::any_cast<FacetModelData>(&o->data) : nullptr;
}

double metres_per_part_unit(tag_t part) {
    const host::PartData* p = host::part_data(part);
    return p && p->inches ? 0.0254 : 0.001;
}

// The triangulation's nodes of every face of the shape, each position once,
// scaled by `scale`.
std::vector<std::array<double, 3>> mesh_vertices(const TopoDS_Shape& shape, double deflection, double angle,
                                                 double scale) {
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
    return out;
}

}  // namespace

bool FACET_is_zv_body(tag_t model) {
    host::Object* o = find_model(model);
    return o && o->subtype == HM_facet_indexed_subtype;
}

int FACET_ask_max_vertex_index(tag_t model) {
    const FacetModelData* d = model_data(model);
    return d ? static_cast<int>(d->vertices.size()) : -1;
}

int FACET_ask_vertex_of_index(tag_t model, int index, double vertex[3]) {
    if (!vertex) return HM_ERR_NULL_POINTER;
    const FacetModelData* d = model_data(model);
    if (!d) return HM_ERR_INVALID_TAG;
    if (index < 0 || index >= static_cast<int>(d->vertices.size())) return HM_ERR_BAD_ARGUMENT;
    for (int k = 0; k < 3; ++k) vertex[k] = d->vertices[index][k];
    return 0;
}

int FACET_ask_vertices_of_topology(tag_t model, double** vertices, bool unique) {
    (void)unique;
    if (vertices) *vertices = nullptr;
    const FacetModelData* d = model_data(model);
    if (!d || !vertices) return -1;
    const int n = static_cast<int>(d->vertices.size());
    if (n == 0) return 0;
    *vertices = static_cast<double*>(SM_alloc(3 * n * sizeof(double)));
    if (!*vertices) return -1;
    for (int i = 0; i < n; ++i)
        for (int k = 0; k < 3; ++k) (*vertices)[3 * i + k] = d->vertices[i][k];
    return n;
}

int HM_FACET_ask_models_of_solid(tag_t body, int* count, tag_t** models) {
    if (!count || !models) return HM_ERR_NULL_POINTER;
    *count = 0;
    *models = nullptr;
    if (!host::find_body(body)) return HM_ERR_INVALID_TAG;
    std::vector<tag_t> found;
    for (auto& [tag, o] : host::model().objects) {
        if (o.status != HM_OBJ_ALIVE || o.type != HM_facet_model_type) continue;
        const FacetModelData* d = std::any_cast<FacetModelData>(&o.data);
        if (d && d->solid == body) found.push_back(tag);
    }
    *count = static_cast<int>(found.size());
    *models = host::tag_array(found);
    return 0;
}

int HM_FACET_ask_default_parameters(HM_FACET_parameters_t* parameters) {
    if (!parameters) return HM_ERR_NULL_POINTER;
    parameters->chord_tolerance = 0.0002;   // 0.2 mm
    parameters->angle_tolerance = 0.2;      // about 11.5 degrees
    return 0;
}

int HM_FACET_facet_solid(tag_t body, const HM_FACET_parameters_t* parameters, tag_t* model) {
    if (!parameters || !model) return HM_ERR_NULL_POINTER;
    *model = 0;
    host::Object* b = host::find_body(body);
    if (!b) return HM_ERR_INVALID_TAG;
    if (!(parameters->chord_tolerance > 0.0) || !(parameters->angle_tolerance > 0.0)) return HM_ERR_BAD_ARGUMENT;
    return host::guarded("HM_FACET_facet_solid", [&]() -> int {
        const double metres = metres_per_part_unit(b->part);
        FacetModelData d;
        d.solid = body;
        d.vertices = mesh_vertices(b->shape, parameters->chord_tolerance / metres, parameters->angle_tolerance, metres);
        if (d.vertices.empty()) return HM_ERR_GEOMETRY;
        host::Object& m = host::create(HM_facet_model_type, HM_facet_solid_subtype, b->part);
        m.owner = body;   // deleted with its body
        m.data = d;
        *model = m.tag;
        return 0;
    });
}

int HM_FACET_ask_solid_of_model(tag_t model, tag_t* solid) {
    if (!solid) return HM_ERR_NULL_POINTER;
    const FacetModelData* d = model_data(model);
    if (!d) return HM_ERR_INVALID_TAG;
    *solid = host::find_body(d->solid) ? d->solid : 0;
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

namespace host_testing {

tag_t make_indexed_facet_model(const std::vector<std::array<double, 3>>& vertices_m) {
    if (!host::work_part_data()) return 0;
    host::Object& m = host::create(HM_facet_model_type, HM_facet_indexed_subtype);
    FacetModelData d;
    d.vertices = vertices_m;
    m.data = d;
    return m.tag;
}

}  // namespace host_testing
