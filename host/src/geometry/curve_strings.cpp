// Planar offsets of closed strings of curves, and the kernel's session precision.
#include "ambrith.h"
#include "core/kernel_guard.h"
#include "geometry/bodies.h"
#include "geometry/curves_internal.h"
#include "geometry/geometry.h"
#include "kestrin.h"
#include "omvra.h"
#include "quillon.h"

#include <BRepAdaptor_Curve.hxx>
#include <BRepAdaptor_Surface.hxx>
#include <BRepBuilderAPI_MakePolygon.hxx>
#include <BRepTools_WireExplorer.hxx>
#include <BRepAlgoAPI_Common.hxx>
#include <BRepAlgoAPI_Section.hxx>
#include <BRepBuilderAPI_MakeEdge.hxx>
#include <BRepBuilderAPI_MakeFace.hxx>
#include <BRepOffsetAPI_MakeOffset.hxx>
#include <BRepLib_FindSurface.hxx>
#include <BRep_Tool.hxx>
#include <GProp_GProps.hxx>
#include <BRepGProp.hxx>
#include <GeomProjLib.hxx>
#include <Geom_Plane.hxx>
#include <Geom_TrimmedCurve.hxx>
#include <Precision.hxx>
#include <ShapeAnalysis_FreeBounds.hxx>
#include <TopExp_Explorer.hxx>
#include <TopTools_HSequenceOfShape.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Edge.hxx>
#include <TopoDS_Face.hxx>
#include <TopoDS_Wire.hxx>

#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

// New curve objects for the edges of a shape.
std::vector<tag_t> store_edges(const TopoDS_Shape& shape) {
    std::vector<tag_t> tags;
    for (TopExp_Explorer ex(shape, TopAbs_EDGE); ex.More(); ex.Next()) {
        double first = 0, last = 0;
        Handle(Geom_Curve) c = BRep_Tool::Curve(TopoDS::Edge(ex.Current()), first, last);
        if (c.IsNull() || last - first <= 0.0) continue;
        tags.push_back(host::store_curve(new Geom_TrimmedCurve(c, first, last)).tag);
    }
    return tags;
}

// The edges' curves joined into one curve object where they form one chain
// at the tolerance; otherwise one curve object per edge.
std::vector<tag_t> store_joined(const TopoDS_Shape& shape, double tolerance) {
    std::vector<Handle(Geom_Curve)> pieces;
    for (TopExp_Explorer ex(shape, TopAbs_EDGE); ex.More(); ex.Next()) {
        double first = 0, last = 0;
        Handle(Geom_Curve) c = BRep_Tool::Curve(TopoDS::Edge(ex.Current()), first, last);
        if (!c.IsNull() && last - first > 0.0) pieces.push_back(new Geom_TrimmedCurve(c, first, last));
    }
    std::vector<host::Chain> chains;
    if (pieces.size() > 1 && host::make_chains(pieces, tolerance, chains) && chains.size() == 1) {
        Handle(Geom_Curve) joined = host::join_chain(pieces, chains[0], tolerance);
        if (!joined.IsNull()) return {host::store_curve(joined).tag};
    }
    return store_edges(shape);
}

// The face in the plane bounded by a polygon through points along the wire
// (in wire order, kPolygonPoints per edge); null on failure.
TopoDS_Face polygon_face(const TopoDS_Wire& wire, const Handle(Geom_Surface)& plane) {
    constexpr int kPolygonPoints = 48;
    BRepBuilderAPI_MakePolygon polygon;
    for (BRepTools_WireExplorer ex(wire); ex.More(); ex.Next()) {
        BRepAdaptor_Curve c(ex.Current());
        const bool reversed = ex.Current().Orientation() == TopAbs_REVERSED;
        const double a = c.FirstParameter(), b = c.LastParameter();
        for (int i = 0; i < kPolygonPoints; ++i) {
            const double t = static_cast<double>(i) / kPolygonPoints;
            polygon.Add(c.Value(reversed ? b - t * (b - a) : a + t * (b - a)));
        }
    }
    polygon.Close();
    if (!polygon.IsDone()) return TopoDS_Face();
    BRepBuilderAPI_MakeFace face(Handle(Geom_Plane)::DownCast(plane), polygon.Wire(), true);
    return face.IsDone() ? face.Face() : TopoDS_Face();
}

}  // namespace

int HM_CURVE_create_offset_curve(const HM_CURVE_offset_data_t* data, int* n_curves, tag_t** curves) {
    return host::guarded(__func__, [&]() -> int {
        if (!data || !n_curves || !curves || !data->string) return HM_ERR_NULL_POINTER;
        *n_curves = 0;
        *curves = nullptr;
        char* end = nullptr;
        const double distance = std::strtod(data->distance, &end);
        if (end == data->distance || !host::finite_value(distance)) return HM_ERR_BAD_ARGUMENT;
        const HM_STRING_LIST_t& s = *data->string;
        int total = 0;
        for (int i = 0; i < s.string_count; ++i) total += s.curve_counts[i];
        if (total < 1) return HM_ERR_BAD_ARGUMENT;
        const double tolerance = data->tolerances[0] > 0.0 ? data->tolerances[0] : host::distance_tolerance();
        Handle(TopTools_HSequenceOfShape) edges = new TopTools_HSequenceOfShape;
        for (int i = 0; i < total; ++i) {
            host::Object* o = host::find(s.curves[i]);
            if (!o) return HM_ERR_INVALID_TAG;
            Handle(Geom_Curve) c = host::curve_of(*o);
            if (c.IsNull()) return HM_ERR_WRONG_TYPE;
            const TopoDS_Edge edge = BRepBuilderAPI_MakeEdge(c, c->FirstParameter(), c->LastParameter()).Edge();
            edges->Append(edge);
        }
        Handle(TopTools_HSequenceOfShape) wires;
        ShapeAnalysis_FreeBounds::ConnectEdgesToWires(edges, tolerance, false, wires);
        if (wires.IsNull() || wires->Length() != 1) return HM_ERR_GEOMETRY;
        const TopoDS_Wire wire = TopoDS::Wire(wires->Value(1));
        // The plane of the string (found within the tolerance: curves made
        // by a transformation are planar only to the kernel's accuracy).
        BRepLib_FindSurface plane(wire, tolerance, true);
        if (!plane.Found()) return HM_ERR_GEOMETRY;
        BRepBuilderAPI_MakeFace region(Handle(Geom_Plane)::DownCast(plane.Surface()), wire, true);
        if (!region.IsDone()) return HM_ERR_GEOMETRY;
        // Positive distances move the string outward, away from the region it
        // bounds; corners are rounded, or, failing that, extended to meet.
        TopoDS_Shape result;
        for (GeomAbs_JoinType join : {GeomAbs_Arc, GeomAbs_Intersection}) {
            BRepOffsetAPI_MakeOffset offset(region.Face(), join);
            offset.Perform(distance);
            if (offset.IsDone() && !offset.Shape().IsNull()) {
                result = offset.Shape();
                break;
            }
        }
        if (result.IsNull()) {
            // Free-form strings the kernel cannot offset exactly (copies
            // stretched by a non-uniform scaling) are offset as a fine
            // polygon along them.
            const TopoDS_Face polygon = polygon_face(wire, plane.Surface());
            if (polygon.IsNull()) return HM_ERR_GEOMETRY;
            BRepOffsetAPI_MakeOffset offset(polygon, GeomAbs_Arc);
            offset.Perform(distance);
            if (!offset.IsDone() || offset.Shape().IsNull()) return HM_ERR_GEOMETRY;
            // The offset polygon's hundreds of lines and corner arcs stand
            // for one free-form offset: they are handed out as one curve.
            const std::vector<tag_t> joined = store_joined(offset.Shape(), tolerance);
            if (joined.empty()) return HM_ERR_GEOMETRY;
            *n_curves = static_cast<int>(joined.size());
            *curves = host::tag_array(joined);
            return 0;
        }
        const std::vector<tag_t> made = store_edges(result);
        if (made.empty()) return HM_ERR_GEOMETRY;
        *n_curves = static_cast<int>(made.size());
        *curves = host::tag_array(made);
        return 0;
    });
}

int GQ_SESSION_ask_precision(double* precision) {
    if (!precision) return HM_ERR_NULL_POINTER;
    *precision = Precision::Confusion();
    return 0;
}
