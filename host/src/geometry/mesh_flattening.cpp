// A sheet flattened through a triangle mesh of it: the faces triangulated by
// the kernel's mesher and welded into one surface mesh, the mesh laid into
// the plane as rigidly as possible, and points carried across by their
// barycentric coordinates in the nearest triangle.
//
// The parameterization's headers come before the kernel's: the kernel
// defines a macro named Handle that they would otherwise meet.
#include <CGAL/AABB_face_graph_triangle_primitive.h>
#include <CGAL/AABB_traits.h>
#include <CGAL/AABB_tree.h>
#include <CGAL/Polygon_mesh_processing/border.h>
#include <CGAL/Polygon_mesh_processing/connected_components.h>
#include <CGAL/Polygon_mesh_processing/locate.h>
#include <CGAL/Polygon_mesh_processing/measure.h>
#include <CGAL/Simple_cartesian.h>
#include <CGAL/Surface_mesh.h>
#include <CGAL/Surface_mesh_parameterization/ARAP_parameterizer_3.h>
#include <CGAL/Surface_mesh_parameterization/parameterize.h>

#include "geometry/mesh_flattening.h"

#include <BRepBuilderAPI_Copy.hxx>
#include <BRepMesh_IncrementalMesh.hxx>
#include <BRep_Tool.hxx>
#include <Poly_Triangulation.hxx>
#include <Standard_Failure.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Face.hxx>

#include <algorithm>
#include <array>
#include <cmath>
#include <exception>
#include <map>
#include <tuple>
#include <vector>

namespace host {
namespace {

using Kernel = CGAL::Simple_cartesian<double>;
using Point3 = Kernel::Point_3;
using Point2 = Kernel::Point_2;
using Mesh = CGAL::Surface_mesh<Point3>;
using Vertex = Mesh::Vertex_index;
using Primitive = CGAL::AABB_face_graph_triangle_primitive<Mesh>;
using Tree = CGAL::AABB_tree<CGAL::AABB_traits<Kernel, Primitive>>;
namespace PMP = CGAL::Polygon_mesh_processing;
namespace SMP = CGAL::Surface_mesh_parameterization;

// A weight so large against the mesh's own energies that the solver takes
// its pure as-rigid-as-possible step (rotations fitted in closed form).
constexpr double kRigidWeight = 1e30;
// Nodes closer than this share of the chord height share a vertex.
constexpr double kWeldShare = 1e-3;

// Mesh vertices welded by position: the nodes of neighbouring faces that
// lie on their common edge become one vertex.
class Welder {
public:
    Welder(Mesh& mesh, double tolerance) : mesh_(mesh), cell_(tolerance) {}
    Vertex vertex(const gp_Pnt& p) {
        const Key k = key(p);
        for (int dx = -1; dx <= 1; ++dx)
            for (int dy = -1; dy <= 1; ++dy)
                for (int dz = -1; dz <= 1; ++dz) {
                    auto it = cells_.find(Key{std::get<0>(k) + dx, std::get<1>(k) + dy, std::get<2>(k) + dz});
                    if (it == cells_.end()) continue;
                    for (Vertex v : it->second) {
                        const Point3& q = mesh_.point(v);
                        if (gp_Pnt(q.x(), q.y(), q.z()).Distance(p) <= cell_) return v;
                    }
                }
        const Vertex v = mesh_.add_vertex(Point3(p.X(), p.Y(), p.Z()));
        cells_[k].push_back(v);
        return v;
    }

private:
    using Key = std::tuple<long long, long long, long long>;
    Key key(const gp_Pnt& p) const {
        return Key{static_cast<long long>(std::floor(p.X() / cell_)), static_cast<long long>(std::floor(p.Y() / cell_)),
                   static_cast<long long>(std::floor(p.Z() / cell_))};
    }
    Mesh& mesh_;
    double cell_;
    std::map<Key, std::vector<Vertex>> cells_;
};

// The faces' triangulations as one mesh, each triangle turned the way its
// face is; false when a triangle cannot join the mesh (a sheet that folds
// onto itself or meets itself along an edge more than twice).
bool mesh_of(const TopoDS_Shape& sheet, double weld, Mesh& mesh) {
    Welder welder(mesh, weld);
    for (TopExp_Explorer ex(sheet, TopAbs_FACE); ex.More(); ex.Next()) {
        const TopoDS_Face& face = TopoDS::Face(ex.Current());
        TopLoc_Location location;
        const Handle(Poly_Triangulation) triangles = BRep_Tool::Triangulation(face, location);
        if (triangles.IsNull()) return false;
        std::vector<Vertex> nodes(triangles->NbNodes() + 1);
        for (int i = 1; i <= triangles->NbNodes(); ++i)
            nodes[i] = welder.vertex(triangles->Node(i).Transformed(location.Transformation()));
        const bool reversed = face.Orientation() == TopAbs_REVERSED;
        for (int i = 1; i <= triangles->NbTriangles(); ++i) {
            int a = 0, b = 0, c = 0;
            triangles->Triangle(i).Get(a, b, c);
            if (reversed) std::swap(b, c);
            if (nodes[a] == nodes[b] || nodes[b] == nodes[c] || nodes[a] == nodes[c]) continue;   // no area
            if (mesh.add_face(nodes[a], nodes[b], nodes[c]) == Mesh::null_face()) return false;
        }
    }
    return mesh.number_of_faces() > 0;
}

}  // namespace

struct MeshFlattening::Data {
    Mesh mesh;
    Mesh::Property_map<Vertex, Point2> uv;
    Tree tree;
    double stretch = 0.0;
};

MeshFlattening::MeshFlattening() : data_(std::make_unique<Data>()) {}
MeshFlattening::~MeshFlattening() = default;

bool MeshFlattening::build(const TopoDS_Shape& sheet, double deflection, double angle) {
    try {
        const TopoDS_Shape copy = BRepBuilderAPI_Copy(sheet).Shape();
        BRepMesh_IncrementalMesh mesher(copy, deflection, false, angle, false);
        if (!mesher.IsDone()) return false;
        Mesh& mesh = data_->mesh;
        if (!mesh_of(copy, std::max(kWeldShare * deflection, 1e-9), mesh)) return false;
        // One piece with one boundary: a disc the solver can lay flat.
        std::vector<Mesh::Halfedge_index> borders;
        PMP::extract_boundary_cycles(mesh, std::back_inserter(borders));
        if (borders.size() != 1) return false;
        const auto components = mesh.add_property_map<Mesh::Face_index, std::size_t>("f:component", 0).first;
        if (PMP::connected_components(mesh, components) != 1) return false;
        data_->uv = mesh.add_property_map<Vertex, Point2>("v:uv", Point2(0, 0)).first;
        const Mesh::Halfedge_index border = PMP::longest_border(mesh).first;
        SMP::ARAP_parameterizer_3<Mesh> rigid(kRigidWeight);
        if (SMP::parameterize(mesh, rigid, border, data_->uv) != SMP::OK) return false;
        for (Mesh::Edge_index e : mesh.edges()) {
            const Vertex a = mesh.vertex(e, 0), b = mesh.vertex(e, 1);
            const double length = std::sqrt(CGAL::squared_distance(mesh.point(a), mesh.point(b)));
            const double flat = std::sqrt(CGAL::squared_distance(data_->uv[a], data_->uv[b]));
            if (!std::isfinite(flat)) return false;
            if (length > 0.0) data_->stretch = std::max(data_->stretch, std::fabs(flat / length - 1.0));
        }
        PMP::build_AABB_tree(mesh, data_->tree);
        return true;
    } catch (const Standard_Failure&) {
        return false;
    } catch (const std::exception&) {
        // The parameterization refuses a degenerate mesh by throwing.
        return false;
    }
}

bool MeshFlattening::flat(const gp_Pnt& p, double reach, gp_Pnt2d& uv) const {
    const Mesh& mesh = data_->mesh;
    const Point3 query(p.X(), p.Y(), p.Z());
    const auto location = PMP::locate_with_AABB_tree(query, data_->tree, mesh);
    if (CGAL::squared_distance(PMP::construct_point(location, mesh), query) > reach * reach) return false;
    const Mesh::Halfedge_index h = mesh.halfedge(location.first);
    const std::array<Vertex, 3> corners = {mesh.source(h), mesh.target(h), mesh.target(mesh.next(h))};
    double u = 0.0, v = 0.0;
    for (int i = 0; i < 3; ++i) {
        u += location.second[i] * data_->uv[corners[i]].x();
        v += location.second[i] * data_->uv[corners[i]].y();
    }
    uv.SetCoord(u, v);
    return true;
}

double MeshFlattening::max_stretch() const { return data_->stretch; }

int MeshFlattening::triangle_count() const { return static_cast<int>(data_->mesh.number_of_faces()); }

}  // namespace host
