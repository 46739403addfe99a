// Intersection curves of faces with a body, and the automatic joining of
// curves into chains at given tolerances.
#include "core/kernel_guard.h"
#include "geometry/bodies.h"
#include "geometry/curves_internal.h"
#include "geometry/geometry.h"

#include "kestrin.h"
#include "quillon.h"

#include <BRepAlgoAPI_Section.hxx>
#include <BRepLib.hxx>
#include <BRep_Tool.hxx>
#include <Geom_TrimmedCurve.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS.hxx>

#include <vector>

namespace {

// The tags in a new SM_alloc'd array (null for none).
tag_t* new_tag_array(const std::vector<tag_t>& tags) {
    if (tags.empty()) return nullptr;
    auto* block = static_cast<tag_t*>(SM_alloc(tags.size() * sizeof(tag_t)));
    for (size_t i = 0; i < tags.size(); ++i) block[i] = tags[i];
    return block;
}

}  // namespace

int ICURVES_create_icurves(int n_faces, const tag_t* faces, tag_t body, double tolerance, int* count,
                           tag_t** curves) {
    if (!count || !curves || (n_faces > 0 && !faces)) return HM_ERR_NULL_POINTER;
    *count = 0;
    *curves = nullptr;
    if (n_faces < 1 || !(tolerance > 0.0)) return HM_ERR_BAD_ARGUMENT;
    host::Object* target = host::find_body(body);
    if (!target) return host::find(body) ? HM_ERR_WRONG_TYPE : HM_ERR_INVALID_TAG;
    std::vector<TopoDS_Shape> tools;
    for (int i = 0; i < n_faces; ++i) {
        host::Object* f = host::find_face(faces[i]);
        if (!f) return host::find(faces[i]) ? HM_ERR_WRONG_TYPE : HM_ERR_INVALID_TAG;
        tools.push_back(f->shape);
    }
    const TopoDS_Shape target_shape = target->shape;
    return host::guarded(__func__, [&]() -> int {
        std::vector<Handle(Geom_Curve)> made;
        for (const TopoDS_Shape& tool : tools) {
            BRepAlgoAPI_Section section(tool, target_shape, Standard_False);
            section.SetFuzzyValue(tolerance);
            section.ComputePCurveOn1(Standard_True);
            section.Approximation(Standard_True);
            section.Build();
            if (!section.IsDone()) return HM_ERR_GEOMETRY;
            for (const auto& piece : host::edge_curves(section.Shape())) made.push_back(piece);
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
