// A sheet flattened through a triangle mesh of it: the kernel's mesher
// triangulates the sheet, the mesh is laid into the plane as rigidly as
// possible (as-rigid-as-possible parameterization), and any point of the
// sheet is carried by its barycentric coordinates in the triangle that holds
// it. Internal to the stand-in.
#ifndef CARVELL_HOST_GEOMETRY_MESH_FLATTENING_H
#define CARVELL_HOST_GEOMETRY_MESH_FLATTENING_H

#include <TopoDS_Shape.hxx>
#include <gp_Pnt.hxx>
#include <gp_Pnt2d.hxx>

#include <memory>

namespace host {

class MeshFlattening {
public:
    MeshFlattening();
    ~MeshFlattening();
    MeshFlattening(const MeshFlattening&) = delete;
    MeshFlattening& operator=(const MeshFlattening&) = delete;

    // Meshes a copy of the sheet (chord height `deflection`, angle between
    // neighbouring facets at most `angle` radians) and flattens the mesh.
    // False when the mesh is not one piece with one boundary, or when the
    // solver fails.
    bool build(const TopoDS_Shape& sheet, double deflection, double angle);
    // The flat position of a point lying within `reach` of the mesh.
    bool flat(const gp_Pnt& p, double reach, gp_Pnt2d& uv) const;
    // The largest relative change of a mesh edge's length in the plane.
    double max_stretch() const;
    // Triangles of the mesh.
    int triangle_count() const;

private:
    struct Data;
    std::unique_ptr<Data> data_;
};

}  // namespace host

#endif
