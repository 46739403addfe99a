// Projection of curves onto faces, bodies and planes: along a direction (the
// section of the surface swept by the curve along the direction) or along
// the targets' normals. The results are new curve objects in a tag set.
#include "geometry/bodies.h"
#include "geometry/curves_internal.h"

#include "kestrin.h"
#include "quillon.h"

#include <BRepAlgo_NormalProjection.hxx>
#include <BRepBuilderAPI_MakeEdge.hxx>
#include <BRepLib.hxx>
#include <BRepProj_Projection.hxx>
#include <BRep_Builder.hxx>
#include <BRep_Tool.hxx>
#include <Geom_TrimmedCurve.hxx>
#include <Standard_Failure.hxx>
#include <TopExp_Explorer.hxx>
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
}  // namespace

namespace host {

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
            for (const auto& piece : host::edge_curves(result)) made.push_back(piece);
        } catch (const Standard_Failure&) {
            return HM_ERR_GEOMETRY;
        }
    }
    for (const auto& c : made) OM_add_to_tag_set(set, host::store_curve(c).tag);
    *count = static_cast<int>(made.size());
    return 0;
}
