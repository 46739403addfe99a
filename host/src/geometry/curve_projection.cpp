// Projection of curves onto faces, bodies and planes: along a direction (the
// section of the surface swept by the curve along the direction) or along
// the targets' normals. The results are new curve objects in a tag set.
// Also the removal of coincident curves from a projection's output.
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
#include <Standard_Failure.hxx>
#include <TopExp.hxx>
#include <TopExp_Explorer.hxx>
#include <TopTools_IndexedDataMapOfShapeListOfShape.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Compound.hxx>

#include <cmath>
#include <vector>

namespace {
constexpr int kLatestVersion = 1;
constexpr int kAlongDirection = 0;
constexpr int kAlongNormals = 1;

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
    if (data->projection_type != kAlongDirection && data->projection_type != kAlongNormals)
        return HM_ERR_BAD_ARGUMENT;
    const double length = std::sqrt(data->direction[0] * data->direction[0] + data->direction[1] * data->direction[1] +
                                    data->direction[2] * data->direction[2]);
    if (data->projection_type == kAlongDirection && (!(length > 0.0) || !std::isfinite(length)))
        return HM_ERR_BAD_ARGUMENT;
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
            const TopoDS_Edge edge = BRepBuilderAPI_MakeEdge(c, c->FirstParameter(), c->LastParameter());
            TopoDS_Shape result;
            if (data->projection_type == kAlongDirection) {
                BRepProj_Projection projection(
                    edge, target, gp_Dir(data->direction[0], data->direction[1], data->direction[2]));
                if (projection.IsDone()) result = projection.Shape();
            } else {
                BRepAlgo_NormalProjection projection(target);
                projection.Add(edge);
                projection.Build();
                if (projection.IsDone()) result = projection.Projection();
            }
            for (const auto& piece : host::edge_curves(result)) {
                made.push_back(piece);
                if (!g_repeat_on_shared_edges) continue;
                for (const auto& edge : shared_edge_curves(n_targets, targets))
                    if (runs_along(piece, edge, data->distance_tolerance)) {
                        made.push_back(Handle(Geom_Curve)::DownCast(piece->Copy()));
                        break;
                    }
            }
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
