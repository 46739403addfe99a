// Shapes of geometric objects, for the kernel operations that work on shapes.
#include "geometry.h"

#include <BRepBuilderAPI_MakeEdge.hxx>
#include <BRepBuilderAPI_MakeFace.hxx>
#include <BRepBuilderAPI_MakeVertex.hxx>
#include <Geom_Plane.hxx>
#include <Standard_Failure.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Edge.hxx>
#include <TopoDS_Face.hxx>
#include <TopoDS_Vertex.hxx>
#include <gp_Pnt.hxx>

namespace host {

TopoDS_Shape shape_of(const Object& o) {
    try {
        if (!o.shape.IsNull()) return o.shape;
        if (!o.curve.IsNull()) return BRepBuilderAPI_MakeEdge(o.curve).Edge();
        if (!o.surface.IsNull()) {
            if (o.surface->IsKind(STANDARD_TYPE(Geom_Plane)))
                return BRepBuilderAPI_MakeFace(o.surface, -kPlaneHalfSize, kPlaneHalfSize, -kPlaneHalfSize,
                                               kPlaneHalfSize, 1.0e-7)
                    .Face();
            return BRepBuilderAPI_MakeFace(o.surface, 1.0e-7).Face();
        }
        if (o.type == HM_point_type)
            return BRepBuilderAPI_MakeVertex(gp_Pnt(o.point[0], o.point[1], o.point[2])).Vertex();
    } catch (const Standard_Failure&) {
    }
    return TopoDS_Shape();
}

}  // namespace host
