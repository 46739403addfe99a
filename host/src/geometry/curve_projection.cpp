// Projection of curves onto faces, bodies and planes: along a direction (the
// section of the surface swept by the curve along the direction) or along
// the targets' normals. The results are new curve objects in a tag set.
// Also the removal of coincident curves from a projection's output.
#include "core/checks.h"
#include "geometry/bodies.h"
#include "geometry/curves_internal.h"

#include "kestrin.h"
#include "quillon.h"
#include "zelvadt.h"

#include <BRepAlgo_NormalProjection.hxx>
#include <BRepBuilderAPI_MakeEdge.hxx>
#include <BRepLib.hxx>
#include <BRepProj_Projection.hxx>
#include <BRep_Builder.hxx>
#include <BRep_Tool.hxx>
#include <Geom_TrimmedCurve.hxx>
#include <ElCLib.hxx>
#include <IntCurvesFace_ShapeIntersector.hxx>
#include <Precision.hxx>
#include <Standard_Failure.hxx>
#include <TopoDS_Wire.hxx>
#include <gp_Lin.hxx>
#include <TopExp.hxx>
#include <TopExp_Explorer.hxx>
#include <TopTools_IndexedDataMapOfShapeListOfShape.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Compound.hxx>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {
constexpr int kLatestVersion = 1;
// Projection types of the request record.
constexpr int kAlongDirection = 0;
constexpr int kAlongNormals = 1;
constexpr int kTowardsPoint = 2;
constexpr int kLeaningToPoint = 4;
constexpr int kTowardsLine = 5;
constexpr int kBetweenDirections = 6;
// Points sampled along a curve projected towards a line, one ray each.
constexpr int kLineSamples = 33;

// The targets' shapes in one compound; false when one is not a target.
bool target_compound(int n, const tag_t* targets, TopoDS_Compound& compound, int& status) {
    BRep_Builder builder;
    builder.MakeCompound(compound);
    for (int i = 0; i < n; ++i) {
        const host::Object* o = host::find(targets[i]);
        if (!o) {
            status = HM_ERR_INVALID_TAG;
            return false;
        }
        const bool surface = o->type == HM_plane_type || o->type == HM_datum_type ||
                             (o->type == HM_solid_type && o->subtype != HM_solid_edge_subtype);
        const TopoDS_Shape shape = surface ? host::operand_shape(targets[i]) : TopoDS_Shape();
        if (shape.IsNull()) {
            status = HM_ERR_WRONG_TYPE;
            return false;
        }
        builder.Add(compound, shape);
    }
    return true;
}
// A usable direction: finite, in the model space and not zero.
bool usable_direction(const double v[3]) {
    return host::finite3(v) && gp_Vec(v[0], v[1], v[2]).Magnitude() > gp::Resolution();
}

// The request's numbers checked for its type: 0 or HM_ERR_BAD_ARGUMENT.
int checked_request(const CPROJ_data_t& d) {
    switch (d.projection_type) {
        case kAlongNormals: return 0;
        case kAlongDirection: return usable_direction(d.direction) ? 0 : HM_ERR_BAD_ARGUMENT;
        case kTowardsPoint: return host::finite3(d.point) ? 0 : HM_ERR_BAD_ARGUMENT;
        case kLeaningToPoint:
            return usable_direction(d.direction) && host::finite3(d.point) && std::isfinite(d.angle) &&
                           std::fabs(d.angle) < M_PI / 2.0
                       ? 0
                       : HM_ERR_BAD_ARGUMENT;
        case kTowardsLine: return host::finite3(d.point) && usable_direction(d.direction2) ? 0 : HM_ERR_BAD_ARGUMENT;
        case kBetweenDirections:
            return usable_direction(d.direction) && usable_direction(d.direction2) && host::finite3(d.point) &&
                           std::isfinite(d.value)
                       ? 0
                       : HM_ERR_BAD_ARGUMENT;
        default: return HM_ERR_BAD_ARGUMENT;
    }
}

gp_Vec unit_of(const double v[3]) { return gp_Vec(v[0], v[1], v[2]).Normalized(); }

// The curve's middle point.
gp_Pnt middle_of(const Handle(Geom_Curve)& c) { return c->Value(0.5 * (c->FirstParameter() + c->LastParameter())); }

// The pieces of a projection whose middle lies from the source curve along
// `sense` (within the tolerance of the curve itself); all when sense is zero.
std::vector<Handle(Geom_Curve)> on_side(const std::vector<Handle(Geom_Curve)>& pieces, const Handle(Geom_Curve)& source,
                                        const gp_Vec& sense, double tolerance) {
    if (sense.Magnitude() <= gp::Resolution()) return pieces;
    std::vector<Handle(Geom_Curve)> kept;
    for (const auto& piece : pieces) {
        const gp_Pnt m = middle_of(piece);
        double u = 0.0;
        gp_Pnt foot;
        if (!host::nearest_on_curve(source, m, u, foot)) continue;
        if (gp_Vec(foot, m).Dot(sense.Normalized()) >= -tolerance) kept.push_back(piece);
    }
    return kept;
}

// The curve projected along a direction onto the target: the section of the
// target with the surface swept by the curve along both senses of it.
std::vector<Handle(Geom_Curve)> along(const TopoDS_Edge& edge, const TopoDS_Shape& target, const gp_Vec& direction) {
    BRepProj_Projection projection(edge, target, gp_Dir(direction));
    return host::edge_curves(projection.IsDone() ? projection.Shape() : TopoDS_Shape());
}

// The first hit of the ray from p along d on the target, if any.
bool ray_hit(const TopoDS_Shape& target, const gp_Pnt& p, const gp_Vec& d, double tolerance, gp_Pnt& hit) {
    IntCurvesFace_ShapeIntersector intersector;
    intersector.Load(target, tolerance);
    intersector.PerformNearest(gp_Lin(p, gp_Dir(d)), 0.0, RealLast());
    if (!intersector.IsDone() || intersector.NbPnt() < 1) return false;
    hit = intersector.Pnt(1);
    return true;
}

// The curve projected towards a line: each sample along the perpendicular to
// the line, the runs of samples that land as splines through their hits.
std::vector<Handle(Geom_Curve)> towards_line(const Handle(Geom_Curve)& c, const TopoDS_Shape& target,
                                             const gp_Lin& line, double tolerance) {
    std::vector<Handle(Geom_Curve)> pieces;
    std::vector<gp_Pnt> run;
    auto close_run = [&] {
        if (run.size() >= 2) {
            Handle(Geom_Curve) s = host::interpolate(run, run.size() > 3 ? 3 : int(run.size()) - 1, false);
            if (!s.IsNull()) pieces.push_back(s);
        }
        run.clear();
    };
    for (int i = 0; i < kLineSamples; ++i) {
        const gp_Pnt p = c->Value(host::kernel_parameter(c, double(i) / (kLineSamples - 1)));
        const gp_Vec to_line(p, ElCLib::Value(ElCLib::Parameter(line, p), line));
        gp_Pnt hit;
        if (to_line.Magnitude() > tolerance && ray_hit(target, p, to_line, tolerance, hit)) {
            if (run.empty() || hit.Distance(run.back()) > tolerance) run.push_back(hit);
        } else {
            close_run();
        }
    }
    close_run();
    return pieces;
}

// The pieces of one curve projected onto the target as the request asks;
// status HM_ERR_BAD_ARGUMENT when the request has no direction for this curve.
std::vector<Handle(Geom_Curve)> projected_pieces(const CPROJ_data_t& d, const Handle(Geom_Curve)& c,
                                                 const TopoDS_Shape& target, int& status) {
    status = 0;
    const double tolerance = std::max(d.distance_tolerance, Precision::Confusion());
    const TopoDS_Edge edge = BRepBuilderAPI_MakeEdge(c, c->FirstParameter(), c->LastParameter());
    const gp_Pnt mid = middle_of(c);
    switch (d.projection_type) {
        case kAlongNormals: {
            BRepAlgo_NormalProjection projection(target);
            projection.Add(edge);
            projection.Build();
            return host::edge_curves(projection.IsDone() ? projection.Projection() : TopoDS_Shape());
        }
        case kAlongDirection: {
            const gp_Vec dir = unit_of(d.direction);
            return on_side(along(edge, target, dir), c, d.both_sides ? gp_Vec() : dir, tolerance);
        }
        case kTowardsPoint: {
            const gp_Pnt apex(d.point[0], d.point[1], d.point[2]);
            TopoDS_Wire wire;
            BRep_Builder builder;
            builder.MakeWire(wire);
            builder.Add(wire, edge);
            BRepProj_Projection projection(wire, target, apex);
            const auto pieces = host::edge_curves(projection.IsDone() ? projection.Shape() : TopoDS_Shape());
            return on_side(pieces, c, gp_Vec(mid, apex), tolerance);
        }
        case kLeaningToPoint: {
            gp_Vec dir = unit_of(d.direction);
            const gp_Vec axis = dir.Crossed(gp_Vec(mid, gp_Pnt(d.point[0], d.point[1], d.point[2])));
            if (axis.Magnitude() > gp::Resolution()) dir.Rotate(gp_Ax1(mid, gp_Dir(axis)), d.angle);
            return on_side(along(edge, target, dir), c, dir, tolerance);
        }
        case kTowardsLine: {
            const gp_Lin line(gp_Pnt(d.point[0], d.point[1], d.point[2]), gp_Dir(unit_of(d.direction2)));
            return towards_line(c, target, line, tolerance);
        }
        case kBetweenDirections: {
            gp_Vec dir = unit_of(d.direction) * (1.0 - d.value) + unit_of(d.direction2) * d.value;
            if (dir.Magnitude() <= gp::Resolution()) {
                status = HM_ERR_BAD_ARGUMENT;
                return {};
            }
            // From the point's side of the curve.
            if (dir.Dot(gp_Vec(gp_Pnt(d.point[0], d.point[1], d.point[2]), mid)) < 0.0) dir.Reverse();
            return on_side(along(edge, target, dir), c, d.both_sides ? gp_Vec() : dir, tolerance);
        }
        default: status = HM_ERR_BAD_ARGUMENT; return {};
    }
}


// Points sampled along a curve to compare it with another.
constexpr int kCoincidenceSamples = 9;

// Test hook: pieces on an edge two faces share reported once more.
bool g_repeat_on_shared_edges = false;

// The edges of a target face that another face of its body shares.
std::vector<Handle(Geom_Curve)> shared_edge_curves(int n, const tag_t* targets) {
    std::vector<Handle(Geom_Curve)> shared;
    for (int i = 0; i < n; ++i) {
        const host::Object* face = host::find_face(targets[i]);
        const host::Object* body = face ? host::find_body(face->owner) : nullptr;
        if (!body) continue;
        TopTools_IndexedDataMapOfShapeListOfShape faces_of_edge;
        TopExp::MapShapesAndAncestors(body->shape, TopAbs_EDGE, TopAbs_FACE, faces_of_edge);
        for (TopExp_Explorer e(face->shape, TopAbs_EDGE); e.More(); e.Next()) {
            const int index = faces_of_edge.FindIndex(e.Current());
            if (index == 0 || faces_of_edge.FindFromIndex(index).Extent() < 2) continue;
            for (const auto& c : host::edge_curves(e.Current())) shared.push_back(c);
        }
    }
    return shared;
}

// Whether every sampled point of a lies within the tolerance of b.
bool lies_on(const Handle(Geom_Curve)& a, const Handle(Geom_Curve)& b, double tolerance) {
    const double u0 = a->FirstParameter(), u1 = a->LastParameter();
    for (int k = 0; k < kCoincidenceSamples; ++k) {
        const gp_Pnt p = a->Value(u0 + (u1 - u0) * k / (kCoincidenceSamples - 1));
        double u = 0.0;
        gp_Pnt foot;
        if (!host::nearest_on_curve(b, p, u, foot) || p.Distance(foot) > tolerance) return false;
    }
    return true;
}

// Whether the piece runs along the edge (every sampled point on it).
bool runs_along(const Handle(Geom_Curve)& piece, const Handle(Geom_Curve)& edge, double tolerance) {
    try {
        return lies_on(piece, edge, tolerance);
    } catch (const Standard_Failure&) {
        return false;
    }
}
}  // namespace

namespace host {

bool curves_coincide(const Handle(Geom_Curve)& a, const Handle(Geom_Curve)& b, double tolerance) {
    if (a.IsNull() || b.IsNull()) return false;
    try {
        return lies_on(a, b, tolerance) && lies_on(b, a, tolerance);
    } catch (const Standard_Failure&) {
        return false;
    }
}

void repeat_pieces_on_shared_edges(bool on) { g_repeat_on_shared_edges = on; }

std::vector<Handle(Geom_Curve)> edge_curves(const TopoDS_Shape& result) {
    std::vector<Handle(Geom_Curve)> curves;
    if (result.IsNull()) return curves;
    TopoDS_Shape shape = result;
    BRepLib::BuildCurves3d(shape);
    for (TopExp_Explorer e(shape, TopAbs_EDGE); e.More(); e.Next()) {
        const TopoDS_Edge& edge = TopoDS::Edge(e.Current());
        double first = 0.0, last = 0.0;
        TopLoc_Location location;
        Handle(Geom_Curve) c = BRep_Tool::Curve(edge, location, first, last);
        if (c.IsNull() || !(last > first)) continue;
        Handle(Geom_Curve) placed = Handle(Geom_Curve)::DownCast(c->Transformed(location.Transformation()));
        curves.push_back(new Geom_TrimmedCurve(placed, first, last));
    }
    return curves;
}

}  // namespace host

int CPROJ_latest_version(void) { return kLatestVersion; }

int CPROJ_init_data(int version, CPROJ_data_t* data) {
    if (!data) return HM_ERR_NULL_POINTER;
    if (version < 1 || version > kLatestVersion) return HM_ERR_BAD_ARGUMENT;
    *data = CPROJ_data_t{};
    data->version = version;
    data->projection_type = kAlongDirection;
    data->direction[2] = 1.0;
    data->both_sides = 1;
    data->distance_tolerance = host::distance_tolerance();
    const host::PartData* part = host::work_part_data();
    data->angle_tolerance = (part ? part->angle_tolerance : 0.5) * M_PI / 180.0;
    return 0;
}

int CPROJ_create_curves(const CPROJ_data_t* data, int n_curves, const tag_t* curves, int n_targets,
                        const tag_t* targets, tag_t set, int* count) {
    if (!data || !count || (n_curves > 0 && !curves) || (n_targets > 0 && !targets)) return HM_ERR_NULL_POINTER;
    *count = 0;
    if (!host::find(set)) return HM_ERR_INVALID_TAG;
    if (n_curves < 0 || n_targets < 1) return HM_ERR_BAD_ARGUMENT;
    if (int r = checked_request(*data)) return r;
    TopoDS_Compound target;
    int status = 0;
    if (!target_compound(n_targets, targets, target, status)) return status;
    std::vector<Handle(Geom_Curve)> made;
    for (int i = 0; i < n_curves; ++i) {
        const host::Object* o = host::find(curves[i]);
        if (!o) return HM_ERR_INVALID_TAG;
        Handle(Geom_Curve) c = host::curve_of(*o);
        if (c.IsNull()) return HM_ERR_WRONG_TYPE;
        try {
            int r = 0;
            for (const auto& piece : projected_pieces(*data, c, target, r)) {
                made.push_back(piece);
                if (!g_repeat_on_shared_edges) continue;
                for (const auto& edge : shared_edge_curves(n_targets, targets))
                    if (runs_along(piece, edge, data->distance_tolerance)) {
                        made.push_back(Handle(Geom_Curve)::DownCast(piece->Copy()));
                        break;
                    }
            }
            if (r) return r;
        } catch (const Standard_Failure&) {
            return HM_ERR_GEOMETRY;
        }
    }
    for (const auto& c : made) OM_add_to_tag_set(set, host::store_curve(c).tag);
    *count = static_cast<int>(made.size());
    return 0;
}

int SMDF_remove_coincident_curves(int* count, tag_t* curves) {
    if (!count) return HM_ERR_NULL_POINTER;
    if (*count < 0) return HM_ERR_BAD_ARGUMENT;
    if (*count > 0 && !curves) return HM_ERR_NULL_POINTER;
    std::vector<Handle(Geom_Curve)> geometry;
    for (int i = 0; i < *count; ++i) {
        const host::Object* o = host::find(curves[i]);
        if (!o) return HM_ERR_INVALID_TAG;
        geometry.push_back(host::curve_of(*o));
    }
    const double tolerance = host::distance_tolerance();
    std::vector<Handle(Geom_Curve)> kept;
    int n = 0;
    for (int i = 0; i < *count; ++i) {
        bool repeat = false;
        for (size_t k = 0; k < kept.size() && !repeat; ++k)
            repeat = host::curves_coincide(geometry[i], kept[k], tolerance);
        if (repeat) {
            HM_OBJ_delete_object(curves[i]);
            continue;
        }
        if (!geometry[i].IsNull()) kept.push_back(geometry[i]);
        curves[n++] = curves[i];
    }
    *count = n;
    return 0;
}
