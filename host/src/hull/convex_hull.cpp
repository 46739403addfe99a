// Convex hulls of point sets (over the reentrant Qhull library) and the
// closed polyhedral solids the kernel makes from hull facets.
#include "jorvale.h"
#include "quillon.h"
#include "rostval.h"
#include "core/kernel_guard.h"
#include "core/model.h"
#include "geometry/bodies.h"

#include <BRepBuilderAPI_MakeEdge.hxx>
#include <BRepBuilderAPI_MakeVertex.hxx>
#include <BRepCheck_Analyzer.hxx>
#include <BRepLib.hxx>
#include <BRep_Builder.hxx>
#include <Geom_Plane.hxx>
#include <Precision.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Edge.hxx>
#include <TopoDS_Face.hxx>
#include <TopoDS_Shell.hxx>
#include <TopoDS_Solid.hxx>
#include <TopoDS_Vertex.hxx>
#include <TopoDS_Wire.hxx>
#include <gp_Dir.hxx>
#include <gp_Pln.hxx>
#include <gp_Pnt.hxx>

extern "C" {
#include <libqhull_r/qhull_ra.h>
}

#include <cmath>
#include <cstdio>
#include <map>
#include <set>
#include <utility>
#include <vector>

namespace {

// Vertex blocks made by a hull, so that freeing a request never frees the
// caller's own points. Not model state: hulls are not undone.
std::set<const void*>& hull_blocks() {
    static std::set<const void*> blocks;
    return blocks;
}

// Qhull reports its refusals on a stream; the host keeps them quiet.
std::FILE* quiet_stream() {
    static std::FILE* stream = std::fopen("/dev/null", "w");
    return stream;
}

struct Hull {
    std::vector<double> vertices;   // x, y, z per hull vertex
    std::vector<CHULL_facet_t> facets;
};

double dot(const double a[3], const double b[3]) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

// Reads the triangulated hull out of Qhull: vertices numbered in Qhull's
// vertex order, each triangle turned to agree with its outward normal.
void read_hull(qhT* qh, Hull* hull) {
    std::map<unsigned, int> index_of;   // Qhull vertex id -> hull vertex index
    vertexT* vertex;
    FORALLvertices {
        index_of[vertex->id] = static_cast<int>(index_of.size());
        hull->vertices.insert(hull->vertices.end(), vertex->point, vertex->point + 3);
    }
    facetT* facet;
    FORALLfacets {
        if (facet->upperdelaunay || qh_setsize(qh, facet->vertices) != 3) continue;
        CHULL_facet_t f{};
        int k = 0;
        vertexT** vertexp;
        FOREACHvertex_(facet->vertices) f.verts[k++] = index_of[vertex->id];
        for (int i = 0; i < 3; ++i) f.normal[i] = facet->normal[i];
        const double* a = &hull->vertices[3 * f.verts[0]];
        const double* b = &hull->vertices[3 * f.verts[1]];
        const double* c = &hull->vertices[3 * f.verts[2]];
        const double u[3] = {b[0] - a[0], b[1] - a[1], b[2] - a[2]};
        const double v[3] = {c[0] - a[0], c[1] - a[1], c[2] - a[2]};
        const double n[3] = {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]};
        if (dot(n, f.normal) < 0.0) std::swap(f.verts[1], f.verts[2]);
        hull->facets.push_back(f);
    }
}

// 0, or HM_ERR_GEOMETRY when Qhull refuses the points (flat input).
int run_qhull(int count, double (*points)[3], Hull* hull) {
    qhT qh_storage;
    qhT* qh = &qh_storage;
    qh_zero(qh, quiet_stream());
    char options[] = "qhull Qt";
    const int code = qh_new_qhull(qh, 3, count, &points[0][0], False, options, nullptr, quiet_stream());
    if (code == 0) read_hull(qh, hull);
    qh_freeqhull(qh, !qh_ALL);
    int long_left = 0;
    int long_total = 0;
    qh_memfreeshort(qh, &long_left, &long_total);
    if (code != 0 || hull->facets.size() < 4) return HM_ERR_GEOMETRY;
    return 0;
}

// The smallest extent of the points along any facet normal of their hull
// (the hull's width), at most the number of facets times hull vertices
// work; only run when the tolerance asks for it.
double hull_width(const Hull& hull) {
    double width = HUGE_VAL;
    const size_t n = hull.vertices.size() / 3;
    for (const CHULL_facet_t& f : hull.facets) {
        const double* a = &hull.vertices[3 * f.verts[0]];
        double deepest = 0.0;
        for (size_t i = 0; i < n; ++i) {
            const double* p = &hull.vertices[3 * i];
            const double d[3] = {a[0] - p[0], a[1] - p[1], a[2] - p[2]};
            deepest = std::fmax(deepest, dot(d, f.normal));
        }
        width = std::fmin(width, deepest);
    }
    return width;
}

bool finite_points(int count, const double (*points)[3]) {
    for (int i = 0; i < count; ++i)
        for (int k = 0; k < 3; ++k)
            if (!std::isfinite(points[i][k])) return false;
    return true;
}

// Hulls of up to this many vertices are checked against the tolerance
// facet by facet; larger ones are wide by construction of their sample.
constexpr size_t kWidthCheckLimit = 2000000;

}  // namespace

int CHULL_convex_hull(CHULL_input_t* input, CHULL_output_t* output) {
    if (!input || !output || !input->points) return HM_ERR_NULL_POINTER;
    if (input->count < 4 || !std::isfinite(input->tolerance) || input->tolerance < 0.0) return HM_ERR_BAD_ARGUMENT;
    if (!finite_points(input->count, input->points)) return HM_ERR_BAD_ARGUMENT;
    Hull hull;
    if (int code = run_qhull(input->count, input->points, &hull)) return code;
    if (input->tolerance > 0.0 && hull.facets.size() * (hull.vertices.size() / 3) <= kWidthCheckLimit &&
        hull_width(hull) <= input->tolerance)
        return HM_ERR_GEOMETRY;
    const int n_vertices = static_cast<int>(hull.vertices.size() / 3);
    auto* vertices = static_cast<double(*)[3]>(SM_alloc(hull.vertices.size() * sizeof(double)));
    auto* facets = static_cast<CHULL_facet_t*>(SM_alloc(hull.facets.size() * sizeof(CHULL_facet_t)));
    if (!vertices || !facets) {
        SM_free(vertices);
        SM_free(facets);
        return HM_ERR_GEOMETRY;   // no room for the hull
    }
    std::copy(hull.vertices.begin(), hull.vertices.end(), &vertices[0][0]);
    std::copy(hull.facets.begin(), hull.facets.end(), facets);
    hull_blocks().insert(vertices);
    input->count = n_vertices;
    input->points = vertices;
    output->n_facets = static_cast<int>(hull.facets.size());
    output->facets = facets;
    return 0;
}

void CHULL_free_hull(CHULL_input_t* input, CHULL_output_t* output) {
    if (input && input->points && hull_blocks().erase(input->points)) {
        SM_free(input->points);
        input->points = nullptr;
        input->count = 0;
    }
    if (output) {
        SM_free(output->facets);
        output->facets = nullptr;
        output->n_facets = 0;
    }
}

int GWRAP__create_bv_body(const CHULL_input_t* input, const CHULL_output_t* output, double tolerance,
                          tag_t* body) {
    (void)tolerance;
    if (!body) return HM_ERR_NULL_POINTER;
    *body = 0;
    if (!input || !output || !input->points || !output->facets) return HM_ERR_NULL_POINTER;
    if (!host::work_part_data()) return HM_ERR_NO_PART;
    if (output->n_facets < 4) return HM_ERR_BAD_ARGUMENT;
    for (int i = 0; i < output->n_facets; ++i)
        for (int k = 0; k < 3; ++k)
            if (output->facets[i].verts[k] < 0 || output->facets[i].verts[k] >= input->count)
                return HM_ERR_BAD_ARGUMENT;
    return host::guarded("GWRAP__create_bv_body", [&]() -> int {
        const double scale = pxsfac[1];   // kernel metres to part units
        std::vector<TopoDS_Vertex> vertices(input->count);
        std::map<std::pair<int, int>, TopoDS_Edge> edges;
        auto vertex = [&](int i) -> const TopoDS_Vertex& {
            if (vertices[i].IsNull()) {
                const double* p = input->points[i];
                vertices[i] = BRepBuilderAPI_MakeVertex(gp_Pnt(p[0] * scale, p[1] * scale, p[2] * scale));
            }
            return vertices[i];
        };
        // One edge for each pair of vertices; the second facet on it uses it reversed.
        auto edge = [&](int a, int b) {
            const auto key = std::make_pair(std::min(a, b), std::max(a, b));
            auto it = edges.find(key);
            if (it == edges.end()) {
                BRepBuilderAPI_MakeEdge make(vertex(key.first), vertex(key.second));
                if (!make.IsDone()) throw Standard_Failure("degenerate hull edge");
                it = edges.emplace(key, make.Edge()).first;
            }
            return a == key.first ? it->second : TopoDS::Edge(it->second.Reversed());
        };
        BRep_Builder builder;
        TopoDS_Shell shell;
        builder.MakeShell(shell);
        std::map<std::pair<int, int>, int> uses;
        for (int i = 0; i < output->n_facets; ++i) {
            const CHULL_facet_t& f = output->facets[i];
            const int* v = f.verts;
            for (int k = 0; k < 3; ++k) ++uses[std::make_pair(std::min(v[k], v[(k + 1) % 3]), std::max(v[k], v[(k + 1) % 3]))];
            // The facet built directly on its own plane: the outward normal
            // orients the face, and the wire, its three edges end to end in
            // the facet's order, already runs counter-clockwise about it.
            TopoDS_Wire wire;
            builder.MakeWire(wire);
            builder.Add(wire, edge(v[0], v[1]));
            builder.Add(wire, edge(v[1], v[2]));
            builder.Add(wire, edge(v[2], v[0]));
            wire.Closed(true);
            const double* p = input->points[v[0]];
            const gp_Pln plane(gp_Pnt(p[0] * scale, p[1] * scale, p[2] * scale), gp_Dir(f.normal[0], f.normal[1], f.normal[2]));
            TopoDS_Face face;
            builder.MakeFace(face, new Geom_Plane(plane), Precision::Confusion());
            builder.Add(face, wire);
            builder.Add(shell, face);
        }
        // Closed: every edge between exactly two facets.
        for (const auto& [key, count] : uses)
            if (count != 2) return HM_ERR_GEOMETRY;
        shell.Closed(true);
        TopoDS_Solid solid;
        builder.MakeSolid(solid);
        builder.Add(solid, shell);
        *body = host::make_body(solid, "BREP");
        return 0;
    });
}
