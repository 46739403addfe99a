// Shapes of geometric objects, for the kernel operations that work on shapes.
#include "geometry/geometry.h"

#include <BRepBuilderAPI_MakeEdge.hxx>
#include <BRepBuilderAPI_MakeFace.hxx>
#include <BRepBuilderAPI_MakeVertex.hxx>
#include <BRep_Tool.hxx>
#include <Geom_TrimmedCurve.hxx>
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

bool is_curve(const Object& o) {
    switch (o.type) {
    case HM_line_type:
    case HM_circle_type:
    case HM_conic_type:
    case HM_spline_type:
        return !o.curve.IsNull();
    case HM_solid_type:
        return o.subtype == HM_solid_edge_subtype && !o.shape.IsNull() && o.shape.ShapeType() == TopAbs_EDGE;
    default:
        return false;
    }
}

Handle(Geom_Curve) curve_of(const Object& o) {
    if (!is_curve(o)) return nullptr;
    if (o.type != HM_solid_type) return o.curve;
    try {
        double first = 0.0, last = 0.0;
        Handle(Geom_Curve) c = BRep_Tool::Curve(TopoDS::Edge(o.shape), first, last);
        if (c.IsNull() || !(last > first)) return nullptr;
        if (c->FirstParameter() == first && c->LastParameter() == last) return c;
        return new Geom_TrimmedCurve(c, first, last);
    } catch (const Standard_Failure&) {
        return nullptr;
    }
}

double kernel_parameter(const Handle(Geom_Curve)& c, double t) {
    const double u0 = c->FirstParameter(), u1 = c->LastParameter();
    return u0 + t * (u1 - u0);
}

double normalised_parameter(const Handle(Geom_Curve)& c, double u) {
    const double u0 = c->FirstParameter(), u1 = c->LastParameter();
    return u1 > u0 ? (u - u0) / (u1 - u0) : 0.0;
}

}  // namespace host
