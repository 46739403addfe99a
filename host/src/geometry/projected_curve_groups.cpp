// Projected curves in a group: curves carried onto planes and faces along a
// plane's normal, a vector or the targets' normals, one curve per input
// curve where its pieces chain; points carried along a vector.
#include "core/kernel_guard.h"
#include "geometry/bodies.h"
#include "geometry/curves_internal.h"

#include "kestrin.h"
#include "omvra.h"
#include "quillon.h"

#include <BRepAlgo_NormalProjection.hxx>
#include <BRepBuilderAPI_MakeEdge.hxx>
#include <BRepLib.hxx>
#include <BRepProj_Projection.hxx>
#include <BRep_Builder.hxx>
#include <BRep_Tool.hxx>
#include <GeomProjLib.hxx>
#include <IntCurvesFace_ShapeIntersector.hxx>
#include <Precision.hxx>
#include <Geom_Plane.hxx>
#include <Geom_TrimmedCurve.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Compound.hxx>
#include <gp_Lin.hxx>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace {

// Reach of the line through a projected point, both ways: beyond any model.
constexpr double kFar = 1.0e10;

// The plane of a plane or datum object; null for other objects.
Handle(Geom_Plane) plane_of(const host::Object& o) {
    if (o.type != HM_plane_type && o.type != HM_datum_type) return nullptr;
    return Handle(Geom_Plane)::DownCast(o.surface);
}

// Where the line through the point along the direction meets the target (a
// plane, or a face or body through its faces), nearest to the point first; a
// hit found twice (on an edge two faces share) counts once.
std::vector<gp_Pnt> point_hits(const gp_Pnt& point, const gp_Dir& direction, const host::Object& target) {
    std::vector<std::pair<double, gp_Pnt>> hits;
    if (const Handle(Geom_Plane) plane = plane_of(target)) {
        const gp_Dir normal = plane->Axis().Direction();
        const double along = direction.Dot(normal);
        if (std::fabs(along) > 1e-12) {
            const double s = gp_Vec(point, plane->Location()).Dot(gp_Vec(normal)) / along;
            hits.emplace_back(std::fabs(s), point.Translated(gp_Vec(direction) * s));
        }
    } else {
        IntCurvesFace_ShapeIntersector intersector;
        intersector.Load(host::operand_shape(target.tag), Precision::Confusion());
        intersector.Perform(gp_Lin(point, direction), -kFar, kFar);
        for (int i = 1; intersector.IsDone() && i <= intersector.NbPnt(); ++i) {
            const TopAbs_State state = intersector.State(i);
            if (state == TopAbs_IN || state == TopAbs_ON)
                hits.emplace_back(std::fabs(intersector.WParameter(i)), intersector.Pnt(i));
        }
    }
    std::sort(hits.begin(), hits.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<gp_Pnt> points;
    for (const auto& hit : hits)
        if (points.empty() || hit.second.Distance(points.back()) > Precision::Confusion()) points.push_back(hit.second);
    return points;
}

// One curve or point object to project.
struct Source {
    Handle(Geom_Curve) curve;   // null for a point
    gp_Pnt point;
};

}  // namespace

int HM_CURVE_init_proj_curves_data(HM_CURVE_proj_curves_data_t* data) {
    if (!data) return HM_ERR_NULL_POINTER;
    *data = HM_CURVE_proj_curves_data_t{};
    data->join = 0;
    data->proj_dir_method = HM_PROJ_ALONG_PLANE_NORMAL;
    data->proj_vec[2] = 1.0;
    return 0;
}

int HM_CURVE_create_proj_curves(int curve_count, const tag_t* curves, int target_count, const tag_t* targets,
                                int option, const HM_CURVE_proj_curves_data_t* data, tag_t* group) {
    return host::guarded(__func__, [&]() -> int {
        if (!data || !group || (curve_count > 0 && !curves) || (target_count > 0 && !targets))
            return HM_ERR_NULL_POINTER;
        *group = NULL_TAG;
        if (curve_count < 1 || target_count < 1 || (option != 1 && option != 2)) return HM_ERR_BAD_ARGUMENT;
        const int method = data->proj_dir_method;
        if (method != HM_PROJ_ALONG_PLANE_NORMAL && method != HM_PROJ_ALONG_VECTOR &&
            method != HM_PROJ_ALONG_TARGET_NORMALS)
            return HM_ERR_BAD_ARGUMENT;
        gp_Vec vector(data->proj_vec[0], data->proj_vec[1], data->proj_vec[2]);
        if (method == HM_PROJ_ALONG_VECTOR && (!(vector.Magnitude() > 1e-12) || !std::isfinite(vector.Magnitude())))
            return HM_ERR_BAD_ARGUMENT;
        std::vector<const host::Object*> target_objects;
        for (int i = 0; i < target_count; ++i) {
            const host::Object* o = host::find(targets[i]);
            if (!o) return HM_ERR_INVALID_TAG;
            const bool surface = plane_of(*o) || (o->type == HM_solid_type && o->subtype != HM_solid_edge_subtype);
            if (!surface) return HM_ERR_WRONG_TYPE;
            target_objects.push_back(o);
        }
        std::vector<Source> sources;
        for (int i = 0; i < curve_count; ++i) {
            const host::Object* o = host::find(curves[i]);
            if (!o) return HM_ERR_INVALID_TAG;
            Source source;
            if (o->type == HM_point_type) {
                // A point has a place to go only along a vector.
                if (method != HM_PROJ_ALONG_VECTOR) return HM_ERR_WRONG_TYPE;
                source.point = gp_Pnt(o->point[0], o->point[1], o->point[2]);
            } else {
                source.curve = host::curve_of(*o);
                if (source.curve.IsNull()) return HM_ERR_WRONG_TYPE;
            }
            sources.push_back(source);
        }
        const double tolerance = data->tolerance > 0.0 ? data->tolerance : host::distance_tolerance();
        std::vector<tag_t> made;
        for (const Source& source : sources) {
            const Handle(Geom_Curve)& c = source.curve;
            for (const host::Object* target : target_objects) {
                if (c.IsNull()) {
                    for (const gp_Pnt& hit : point_hits(source.point, gp_Dir(vector), *target)) {
                        host::Object& p = host::create(HM_point_type, 0);
                        p.point = {hit.X(), hit.Y(), hit.Z()};
                        made.push_back(p.tag);
                    }
                    continue;
                }
                std::vector<Handle(Geom_Curve)> pieces;
                const Handle(Geom_Plane) plane = plane_of(*target);
                if (plane && method != HM_PROJ_ALONG_VECTOR) {
                    // Exactly onto the plane along its normal: one curve.
                    pieces.push_back(GeomProjLib::ProjectOnPlane(c, plane, plane->Axis().Direction(), true));
                } else if (plane) {
                    pieces.push_back(GeomProjLib::ProjectOnPlane(c, plane, gp_Dir(vector), true));
                } else {
                    const TopoDS_Edge edge = BRepBuilderAPI_MakeEdge(c, c->FirstParameter(), c->LastParameter());
                    const TopoDS_Shape shape = host::operand_shape(target->tag);
                    TopoDS_Shape result;
                    if (method == HM_PROJ_ALONG_VECTOR) {
                        BRepProj_Projection projection(edge, shape, gp_Dir(vector));
                        if (projection.IsDone()) result = projection.Shape();
                    } else {
                        BRepAlgo_NormalProjection projection(shape);
                        projection.Add(edge);
                        projection.Build();
                        if (projection.IsDone()) result = projection.Projection();
                    }
                    pieces = host::edge_curves(result);
                }
                std::vector<tag_t> stored;
                for (const auto& p : pieces)
                    if (!p.IsNull()) stored.push_back(host::store_curve(p).tag);
                if (stored.size() > 1 && data->join == 1) {
                    // One curve where the pieces chain.
                    tag_t joined = NULL_TAG;
                    if (CRV_JOIN_create_joined_curve(static_cast<int>(stored.size()), stored.data(), tolerance,
                                                     0.01, &joined) == 0 &&
                        joined != NULL_TAG) {
                        for (tag_t t : stored) host::erase(t);
                        stored = {joined};
                    }
                }
                made.insert(made.end(), stored.begin(), stored.end());
            }
        }
        if (made.empty()) return HM_ERR_GEOMETRY;
        return HM_GROUP_create_group(made.data(), static_cast<int>(made.size()), group);
    });
}
