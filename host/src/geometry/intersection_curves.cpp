// Intersection curves of bodies and faces (sheets in one plane: the outline
// of their common region), and the automatic joining of curves into chains
// at given tolerances.
#include "core/kernel_guard.h"
#include "geometry/bodies.h"
#include "geometry/booleans.h"
#include "geometry/curves_internal.h"
#include "geometry/geometry.h"

#include "kestrin.h"
#include "quillon.h"

#include <BRepAlgoAPI_Section.hxx>
#include <BRepLib.hxx>
#include <BRepLib_FindSurface.hxx>
#include <BRep_Tool.hxx>
#include <Geom_Plane.hxx>
#include <Geom_TrimmedCurve.hxx>
#include <gp_Pln.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS.hxx>

#include <vector>

namespace {

// Largest angle (radians) between the normals of two planes taken as one.
constexpr double kParallelAngle = 1.0e-9;

// The tags in a new SM_alloc'd array (null for none).
tag_t* new_tag_array(const std::vector<tag_t>& tags) {
    if (tags.empty()) return nullptr;
    auto* block = static_cast<tag_t*>(SM_alloc(tags.size() * sizeof(tag_t)));
    for (size_t i = 0; i < tags.size(); ++i) block[i] = tags[i];
    return block;
}

// True when both shapes are flat and lie in one plane within the tolerance.
bool in_one_plane(const TopoDS_Shape& a, const TopoDS_Shape& b, double tolerance) {
    BRepLib_FindSurface fa(a, tolerance, Standard_True), fb(b, tolerance, Standard_True);
    if (!fa.Found() || !fb.Found()) return false;
    Handle(Geom_Plane) pa = Handle(Geom_Plane)::DownCast(fa.Surface()), pb = Handle(Geom_Plane)::DownCast(fb.Surface());
    if (pa.IsNull() || pb.IsNull()) return false;
    const gp_Pln la = pa->Pln().Transformed(fa.Location().Transformation());
    const gp_Pln lb = pb->Pln().Transformed(fb.Location().Transformation());
    return la.Axis().IsParallel(lb.Axis(), kParallelAngle) && la.Distance(lb.Location()) <= tolerance;
}

}  // namespace

int ICURVES_create_icurves(const ICURVES_update_data_t* data, int* count, tag_t** curves) {
    if (!data || !count || !curves) return HM_ERR_NULL_POINTER;
    *count = 0;
    *curves = nullptr;
    if (!(data->tolerance > 0.0)) return HM_ERR_BAD_ARGUMENT;
    std::vector<TopoDS_Shape> sides[2];
    for (int k = 0; k < 2; ++k) {
        const ICURVES_entity_set_t& set = data->sets[k];
        if (set.count < 1) return HM_ERR_BAD_ARGUMENT;
        if (!set.entities) return HM_ERR_NULL_POINTER;
        for (int i = 0; i < set.count; ++i) {
            const host::Object* o = host::find_body(set.entities[i]);
            if (!o) o = host::find_face(set.entities[i]);
            if (!o) return host::find(set.entities[i]) ? HM_ERR_WRONG_TYPE : HM_ERR_INVALID_TAG;
            sides[k].push_back(o->shape);
        }
    }
    const double tolerance = data->tolerance;
    return host::guarded(__func__, [&]() -> int {
        std::vector<Handle(Geom_Curve)> made;
        for (const TopoDS_Shape& first : sides[0])
            for (const TopoDS_Shape& second : sides[1]) {
                TopoDS_Shape meeting;
                if (in_one_plane(first, second, tolerance)) {
                    meeting = host::boolean_of(first, second, host::BooleanKind::intersect);
                } else {
                    BRepAlgoAPI_Section section(first, second, Standard_False);
                    section.SetFuzzyValue(tolerance);
                    section.ComputePCurveOn1(Standard_True);
                    section.Approximation(Standard_True);
                    section.Build();
                    if (!section.IsDone()) return HM_ERR_GEOMETRY;
                    meeting = section.Shape();
                }
                for (const auto& piece : host::edge_curves(meeting)) made.push_back(piece);
            }
        std::vector<tag_t> tags;
        for (const auto& c : made) tags.push_back(host::store_curve(c).tag);
        *count = static_cast<int>(tags.size());
        *curves = new_tag_array(tags);
        return 0;
    });
}

int CRV_JOIN_auto_join_curves(int n_curves, const tag_t* curves, double distance_tolerance, double angle_tolerance,
                              int* n_joined, tag_t** joined) {
    (void)angle_tolerance;
    if (!n_joined || !joined || (n_curves > 0 && !curves)) return HM_ERR_NULL_POINTER;
    *n_joined = 0;
    *joined = nullptr;
    if (n_curves < 1 || !(distance_tolerance > 0.0)) return HM_ERR_BAD_ARGUMENT;
    std::vector<Handle(Geom_Curve)> geometry;
    for (int i = 0; i < n_curves; ++i) {
        const host::Object* o = host::find(curves[i]);
        if (!o) return HM_ERR_INVALID_TAG;
        Handle(Geom_Curve) c = host::curve_of(*o);
        if (c.IsNull()) return HM_ERR_WRONG_TYPE;
        geometry.push_back(c);
    }
    return host::guarded(__func__, [&]() -> int {
        std::vector<host::Chain> chains;
        if (!host::make_chains(geometry, distance_tolerance, chains)) return HM_ERR_GEOMETRY;
        std::vector<tag_t> made;
        for (const host::Chain& chain : chains) {
            Handle(Geom_Curve) c = geometry[chain.links.front().index];
            if (chain.links.size() > 1) c = host::join_chain(geometry, chain, distance_tolerance);
            if (c.IsNull()) {
                for (tag_t t : made) host::erase(t);
                return HM_ERR_GEOMETRY;
            }
            made.push_back(host::store_curve(c).tag);
        }
        *n_joined = static_cast<int>(made.size());
        *joined = new_tag_array(made);
        return 0;
    });
}
