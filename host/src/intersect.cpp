// Intersection of two objects: exact crossings of a curve with a plane, of
// two curves, of a point with anything; sections of surfaces and bodies.
#include "curves_internal.h"
#include "quillon.h"

#include <BRepAlgoAPI_Section.hxx>
#include <BRepBuilderAPI_MakeVertex.hxx>
#include <BRepExtrema_DistShapeShape.hxx>
#include <BRep_Tool.hxx>
#include <GeomAPI_ExtremaCurveCurve.hxx>
#include <GeomAPI_IntCS.hxx>
#include <Geom_Plane.hxx>
#include <Precision.hxx>
#include <Standard_Failure.hxx>
#include <TopExp.hxx>
#include <TopExp_Explorer.hxx>
#include <TopTools_IndexedDataMapOfShapeListOfShape.hxx>
#include <TopoDS.hxx>
#include <gp_Pln.hxx>

#include <algorithm>
#include <cmath>

using host::find;

namespace {

struct Entry {
    int kind = 0;            // 0 point, 2 curve
    gp_Pnt point;
    Handle(Geom_Curve) curve;
    double key = 0.0;        // curve parameter of a point, for ordering
};

Handle(Geom_Plane) plane_of(const host::Object& o) {
    if (o.type != HM_plane_type && o.type != HM_datum_type) return nullptr;
    return Handle(Geom_Plane)::DownCast(o.surface);
}

// Adds a point unless one within the tolerance is there already.
void add_point(std::vector<Entry>& out, const gp_Pnt& p, double key, double tolerance) {
    for (const Entry& e : out)
        if (e.kind == 0 && e.point.Distance(p) <= tolerance) return;
    Entry e;
    e.point = p;
    e.key = key;
    out.push_back(e);
}

void sort_points(std::vector<Entry>& out) {
    std::stable_sort(out.begin(), out.end(), [](const Entry& a, const Entry& b) {
        if (a.kind != b.kind) return a.kind < b.kind;
        return a.kind == 0 && a.key < b.key;
    });
}

// Crossings of a curve with an unbounded plane, in ascending curve
// parameter; a curve lying in the plane is itself the result.
void curve_plane(const Handle(Geom_Curve)& c, const Handle(Geom_Plane)& plane, double tolerance,
                 std::vector<Entry>& out) {
    const gp_Pln pln = plane->Pln();
    const double u0 = c->FirstParameter(), u1 = c->LastParameter();
    bool in_plane = true;
    for (int i = 0; i <= 16 && in_plane; ++i)
        in_plane = pln.Distance(c->Value(u0 + (u1 - u0) * i / 16.0)) <= tolerance;
    if (in_plane) {
        Entry e;
        e.kind = 2;
        e.curve = c;
        out.push_back(e);
        return;
    }
    GeomAPI_IntCS inter(c, plane);
    if (!inter.IsDone()) throw Standard_Failure("curve-plane intersection failed");
    for (int i = 1; i <= inter.NbPoints(); ++i) {
        double u = 0, v = 0, w = 0;
        inter.Parameters(i, u, v, w);
        if (w < u0 - Precision::PConfusion() || w > u1 + Precision::PConfusion()) continue;
        add_point(out, inter.Point(i), w, tolerance);
    }
    for (int i = 1; i <= inter.NbSegments(); ++i) {
        Entry e;
        e.kind = 2;
        e.curve = inter.Segment(i);
        if (!e.curve.IsNull()) out.push_back(e);
    }
    // Ends touching the plane within the tolerance.
    for (double u : {u0, u1}) {
        const gp_Pnt p = c->Value(u);
        if (pln.Distance(p) <= tolerance) add_point(out, p, u, tolerance);
    }
    sort_points(out);
}

// Points where two curves meet within the tolerance, in ascending parameter
// of the first.
void curve_curve(const Handle(Geom_Curve)& c1, const Handle(Geom_Curve)& c2, double tolerance,
                 std::vector<Entry>& out) {
    GeomAPI_ExtremaCurveCurve ext(c1, c2, c1->FirstParameter(), c1->LastParameter(), c2->FirstParameter(),
                                  c2->LastParameter());
    if (!ext.Extrema().IsParallel()) {
        for (int i = 1; i <= ext.NbExtrema(); ++i) {
            if (ext.Distance(i) > tolerance) continue;
            gp_Pnt p1, p2;
            ext.Points(i, p1, p2);
            double w1 = 0, w2 = 0;
            ext.Parameters(i, w1, w2);
            add_point(out, p1, w1, tolerance);
        }
    }
    // Ends of either curve lying on the other.
    double u = 0;
    gp_Pnt nearest;
    for (double w : {c1->FirstParameter(), c1->LastParameter()}) {
        const gp_Pnt p = c1->Value(w);
        if (host::nearest_on_curve(c2, p, u, nearest) && p.Distance(nearest) <= tolerance)
            add_point(out, p, w, tolerance);
    }
    for (double w : {c2->FirstParameter(), c2->LastParameter()}) {
        const gp_Pnt p = c2->Value(w);
        double w1 = 0;
        if (host::nearest_on_curve(c1, p, w1, nearest) && p.Distance(nearest) <= tolerance)
            add_point(out, nearest, w1, tolerance);
    }
    sort_points(out);
}

// A point against anything: the point itself when it lies within the tolerance.
void point_object(const gp_Pnt& p, const host::Object& other, double tolerance, std::vector<Entry>& out) {
    double d = 0.0;
    if (other.type == HM_point_type) {
        d = p.Distance(gp_Pnt(other.point[0], other.point[1], other.point[2]));
    } else if (Handle(Geom_Plane) plane = plane_of(other)) {
        d = plane->Pln().Distance(p);
    } else {
        TopoDS_Shape s = host::shape_of(other);
        if (s.IsNull()) throw Standard_Failure("no shape");
        BRepExtrema_DistShapeShape dist(BRepBuilderAPI_MakeVertex(p).Vertex(), s);
        if (!dist.IsDone()) throw Standard_Failure("distance failed");
        d = dist.Value();
    }
    if (d <= tolerance) add_point(out, p, 0.0, tolerance);
}

// Section of two shapes: its edges become curves, its vertices on no edge points.
void section(const TopoDS_Shape& a, const TopoDS_Shape& b, double tolerance, const Handle(Geom_Curve)& along,
             std::vector<Entry>& out) {
    BRepAlgoAPI_Section sec(a, b, false);
    if (tolerance > Precision::Confusion()) sec.SetFuzzyValue(tolerance);
    sec.Build();
    if (!sec.IsDone()) throw Standard_Failure("section failed");
    const TopoDS_Shape& result = sec.Shape();
    for (TopExp_Explorer e(result, TopAbs_EDGE); e.More(); e.Next()) {
        double f = 0, l = 0;
        Handle(Geom_Curve) c = BRep_Tool::Curve(TopoDS::Edge(e.Current()), f, l);
        if (c.IsNull() || !(l > f)) continue;
        Entry entry;
        entry.kind = 2;
        entry.curve = host::part_of_curve(c, f, l);
        if (!entry.curve.IsNull()) out.push_back(entry);
    }
    TopTools_IndexedDataMapOfShapeListOfShape vertex_edges;
    TopExp::MapShapesAndAncestors(result, TopAbs_VERTEX, TopAbs_EDGE, vertex_edges);
    for (int i = 1; i <= vertex_edges.Extent(); ++i) {
        if (!vertex_edges(i).IsEmpty()) continue;
        const gp_Pnt p = BRep_Tool::Pnt(TopoDS::Vertex(vertex_edges.FindKey(i)));
        double key = 0.0;
        gp_Pnt nearest;
        if (!along.IsNull()) host::nearest_on_curve(along, p, key, nearest);
        add_point(out, p, key, tolerance);
    }
    if (!along.IsNull()) sort_points(out);
}

void intersect(const host::Object& a, const host::Object& b, double tolerance, std::vector<Entry>& out) {
    if (a.type == HM_point_type) return point_object(gp_Pnt(a.point[0], a.point[1], a.point[2]), b, tolerance, out);
    if (b.type == HM_point_type) return point_object(gp_Pnt(b.point[0], b.point[1], b.point[2]), a, tolerance, out);
    Handle(Geom_Curve) ca = host::curve_of(a), cb = host::curve_of(b);
    Handle(Geom_Plane) pa = plane_of(a), pb = plane_of(b);
    if (!ca.IsNull() && !pb.IsNull()) return curve_plane(ca, pb, tolerance, out);
    if (!cb.IsNull() && !pa.IsNull()) return curve_plane(cb, pa, tolerance, out);
    if (!ca.IsNull() && !cb.IsNull()) return curve_curve(ca, cb, tolerance, out);
    TopoDS_Shape sa = host::shape_of(a), sb = host::shape_of(b);
    if (!pa.IsNull() && cb.IsNull()) return section(sb, sa, tolerance, nullptr, out);
    if (!cb.IsNull()) return section(sb, sa, tolerance, cb, out);
    return section(sa, sb, tolerance, ca, out);
}

bool intersectable(const host::Object& o) {
    switch (o.type) {
    case HM_point_type:
    case HM_plane_type:
    case HM_datum_type:
        return true;
    case HM_solid_type:
        return !o.shape.IsNull();
    default:
        return host::is_curve(o);
    }
}

}  // namespace

int HM_MODL_intersect_objects(tag_t object1, tag_t object2, double tolerance, int* count,
                              HM_MODL_intersection_t*** entries) {
    if (!count || !entries) return HM_ERR_NULL_POINTER;
    host::Object* a = find(object1);
    host::Object* b = find(object2);
    if (!a || !b) return HM_ERR_INVALID_TAG;
    if (!intersectable(*a) || !intersectable(*b)) return HM_ERR_WRONG_TYPE;
    if (!(tolerance >= 0.0) || !std::isfinite(tolerance)) return HM_ERR_BAD_ARGUMENT;
    if (!host::work_part_data()) return HM_ERR_NO_PART;
    std::vector<Entry> found;
    try {
        intersect(*a, *b, std::max(tolerance, Precision::Confusion()), found);
    } catch (const Standard_Failure&) {
        return HM_ERR_GEOMETRY;
    }
    *count = static_cast<int>(found.size());
    *entries = nullptr;
    if (found.empty()) return 0;
    auto** array = static_cast<HM_MODL_intersection_t**>(SM_alloc(found.size() * sizeof(HM_MODL_intersection_t*)));
    for (size_t i = 0; i < found.size(); ++i) {
        auto* e = static_cast<HM_MODL_intersection_t*>(SM_calloc(1, sizeof(HM_MODL_intersection_t)));
        e->kind = found[i].kind;
        if (found[i].kind == 0) {
            host::put(found[i].point, e->point);
        } else {
            host::Object& c = host::store_curve(found[i].curve);
            e->curve = c.tag;
        }
        array[i] = e;
    }
    *entries = array;
    return 0;
}
