// Projected-curve features: curves laid onto planes along each plane's
// normal. The feature owns the curves it made, so deleting the feature
// deletes them; the curves stay ordinary curve objects of the part.
#include "core/kernel_guard.h"
#include "geometry/curves_internal.h"
#include "omvra.h"
#include "quillon.h"

#include <Bnd_Box.hxx>
#include <BndLib_Add3dCurve.hxx>
#include <GeomAdaptor_Curve.hxx>
#include <GeomProjLib.hxx>
#include <Geom_Plane.hxx>

#include <vector>

namespace {

constexpr const char* kKind = "PROJECTED_CURVE";

// A target's plane: a plane (46) or datum plane (197); null otherwise.
Handle(Geom_Plane) target_plane(const host::Object& o) {
    if (o.type != HM_plane_type && o.type != HM_datum_type) return nullptr;
    return Handle(Geom_Plane)::DownCast(o.surface);
}

// Whether the projected curve is longer than a point: a curve that runs
// along the normal projects onto a point and makes no curve.
bool has_extent(const Handle(Geom_Curve)& c, double tolerance) {
    Bnd_Box box;
    BndLib_Add3dCurve::Add(GeomAdaptor_Curve(c), 0.0, box);
    if (box.IsVoid()) return false;
    double x0, y0, z0, x1, y1, z1;
    box.Get(x0, y0, z0, x1, y1, z1);
    return x1 - x0 > tolerance || y1 - y0 > tolerance || z1 - z0 > tolerance;
}

host::FeatureData* projection_feature(tag_t feature, int* result) {
    host::Object* o = host::find(feature);
    if (!o) {
        *result = HM_ERR_INVALID_TAG;
        return nullptr;
    }
    host::FeatureData* d = o->type == HM_feature_type ? std::any_cast<host::FeatureData>(&o->data) : nullptr;
    *result = d && d->kind == kKind ? 0 : HM_ERR_WRONG_TYPE;
    return *result ? nullptr : d;
}

}  // namespace

int HM_MODL_create_proj_curves(hm_list_p_t curves, hm_list_p_t targets, tag_t* feature) {
    if (!feature) return HM_ERR_NULL_POINTER;
    *feature = 0;
    return host::guarded(__func__, [&]() -> int {
        if (!host::work_part_data()) return HM_ERR_NO_PART;
        const std::vector<tag_t> curve_tags = host::list_items(curves);
        const std::vector<tag_t> target_tags = host::list_items(targets);
        if (curve_tags.empty() || target_tags.empty()) return HM_ERR_BAD_ARGUMENT;
        // Every input is checked before anything is made.
        std::vector<Handle(Geom_Curve)> sources;
        for (tag_t t : curve_tags) {
            const host::Object* o = host::find(t);
            if (!o) return HM_ERR_INVALID_TAG;
            Handle(Geom_Curve) c = host::curve_of(*o);
            if (c.IsNull()) return HM_ERR_WRONG_TYPE;
            sources.push_back(c);
        }
        std::vector<Handle(Geom_Plane)> planes;
        for (tag_t t : target_tags) {
            const host::Object* o = host::find(t);
            if (!o) return HM_ERR_INVALID_TAG;
            Handle(Geom_Plane) p = target_plane(*o);
            if (p.IsNull()) return HM_ERR_WRONG_TYPE;
            planes.push_back(p);
        }
        // Curve by curve, each onto every target in the list's order.
        const double tolerance = host::distance_tolerance();
        std::vector<Handle(Geom_Curve)> made;
        for (const auto& c : sources)
            for (const auto& p : planes) {
                Handle(Geom_Curve) projected = GeomProjLib::ProjectOnPlane(c, p, p->Axis().Direction(), true);
                if (!projected.IsNull() && has_extent(projected, tolerance)) made.push_back(projected);
            }
        if (made.empty()) return HM_ERR_GEOMETRY;
        std::vector<tag_t> made_tags;
        for (const auto& c : made) made_tags.push_back(host::store_curve(c).tag);
        host::Object& f = host::create_feature(kKind, 0, made_tags);
        f.subtags = made_tags;   // owned: erased with the feature
        *feature = f.tag;
        return 0;
    });
}

int HM_MODL_ask_proj_curves(tag_t feature, int* count, tag_t** curves) {
    if (!count || !curves) return HM_ERR_NULL_POINTER;
    *count = 0;
    *curves = nullptr;
    int result = 0;
    const host::FeatureData* d = projection_feature(feature, &result);
    if (!d) return result;
    std::vector<tag_t> alive;
    for (tag_t t : d->objects)
        if (host::find(t)) alive.push_back(t);
    *count = static_cast<int>(alive.size());
    *curves = host::tag_array(alive);
    return 0;
}
