// Extruded features: faces swept into a solid slab, curves into a sheet,
// between two limits along a direction; the expressions of a feature, and
// free expressions of the work part.
#include "core/checks.h"
#include "core/kernel_guard.h"
#include "geometry/bodies.h"
#include "geometry/geometry.h"
#include "omvra.h"
#include "quillon.h"

#include <BRepAlgoAPI_Fuse.hxx>
#include <BRepBuilderAPI_Transform.hxx>
#include <BRepPrimAPI_MakePrism.hxx>
#include <BRep_Builder.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS_Compound.hxx>
#include <gp_Trsf.hxx>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// The expressions of a feature: its parameters as text, erased with it.
struct ExpressionData {
    std::string text;
};

bool number(const char* text, double& value) {
    if (!text) return false;
    char* end = nullptr;
    value = std::strtod(text, &end);
    if (end == text) return false;
    while (*end == ' ' || *end == '\t') ++end;
    return *end == '\0' && std::isfinite(value);
}

tag_t new_expression(tag_t feature, const std::string& text) {
    host::Object& e = host::create(HM_expression_type, 0);
    e.name = text;
    e.data = ExpressionData{text};
    e.owner = feature;   // erased with its feature
    return e.tag;
}

}  // namespace

int HM_MODL_create_extruded(hm_list_p_t objects, const char* taper_angle, const char* limits[2],
                            const double point[3], const double direction[3], int sign, hm_list_p_t* features) {
    return host::guarded(__func__, [&]() -> int {
        if (!taper_angle || !limits || !limits[0] || !limits[1] || !point || !direction || !features)
            return HM_ERR_NULL_POINTER;
        *features = nullptr;
        if (!host::model().work_part) return HM_ERR_NO_PART;
        double taper = 0.0, start = 0.0, end = 0.0;
        if (!number(taper_angle, taper) || !number(limits[0], start) || !number(limits[1], end))
            return HM_ERR_BAD_ARGUMENT;
        // The stand-in sweeps straight: no taper.
        if (taper != 0.0 || sign != HM_NULLSIGN || !(end > start)) return HM_ERR_BAD_ARGUMENT;
        gp_Vec along(direction[0], direction[1], direction[2]);
        if (!(along.Magnitude() > 1e-12) || !std::isfinite(along.Magnitude())) return HM_ERR_BAD_ARGUMENT;
        along.Normalize();
        const std::vector<tag_t> items = host::list_items(objects);
        if (items.empty()) return HM_ERR_BAD_ARGUMENT;
        // All faces (a slab) or all curves (a sheet).
        bool faces = false, curves = false;
        BRep_Builder builder;
        TopoDS_Compound profile;
        builder.MakeCompound(profile);
        for (tag_t t : items) {
            const host::Object* o = host::find(t);
            if (!o) return HM_ERR_INVALID_TAG;
            if (o->type == HM_solid_type && o->subtype == HM_solid_face_subtype) {
                faces = true;
            } else if (host::is_curve(*o)) {
                curves = true;
            } else {
                return HM_ERR_WRONG_TYPE;
            }
            builder.Add(profile, host::shape_of(*o));
        }
        if (faces && curves) return HM_ERR_BAD_ARGUMENT;
        gp_Trsf to_start;
        to_start.SetTranslation(along * start);
        const TopoDS_Shape moved = BRepBuilderAPI_Transform(profile, to_start, true).Shape();
        BRepPrimAPI_MakePrism prism(moved, along * (end - start), true);
        if (!prism.IsDone()) return HM_ERR_GEOMETRY;
        TopoDS_Shape swept = prism.Shape();
        if (faces) {
            // One solid of the face slabs.
            std::vector<TopoDS_Shape> solids;
            for (TopExp_Explorer ex(swept, TopAbs_SOLID); ex.More(); ex.Next()) solids.push_back(ex.Current());
            if (solids.size() > 1) {
                TopoDS_Shape fused = solids[0];
                for (size_t i = 1; i < solids.size(); ++i) {
                    BRepAlgoAPI_Fuse fuse(fused, solids[i]);
                    if (!fuse.IsDone() || fuse.HasErrors()) return HM_ERR_GEOMETRY;
                    fused = fuse.Shape();
                }
                swept = fused;
            }
        }
        tag_t feature = NULL_TAG;
        (void)host::make_body(swept, "EXTRUDED", &feature);
        host::Object* f = host::find(feature);
        if (auto* d = std::any_cast<host::FeatureData>(&f->data)) {
            for (const std::string& text : {std::string(taper_angle), std::string(limits[0]), std::string(limits[1])})
                d->objects.push_back(new_expression(feature, text));
        }
        return host::new_list({feature}, features);
    });
}

int HM_MODL_create_exp_tag(const char* text, tag_t* expression) {
    if (!text || !expression) return HM_ERR_NULL_POINTER;
    if (!host::model().work_part) return HM_ERR_NO_PART;
    if (!*text) return HM_ERR_BAD_ARGUMENT;
    *expression = new_expression(0, text);
    return 0;
}

int HM_MODL_ask_exps_of_feature(tag_t feature, tag_t** expressions, int* count) {
    if (!expressions || !count) return HM_ERR_NULL_POINTER;
    *expressions = nullptr;
    *count = 0;
    const host::Object* f = host::find(feature, HM_feature_type);
    if (!f) return host::find(feature) ? HM_ERR_WRONG_TYPE : HM_ERR_INVALID_TAG;
    std::vector<tag_t> found;
    if (const auto* d = std::any_cast<host::FeatureData>(&f->data))
        for (tag_t t : d->objects) {
            const host::Object* o = host::find(t);
            if (o && o->type == HM_expression_type) found.push_back(t);
        }
    *count = static_cast<int>(found.size());
    *expressions = host::tag_array(found);
    return 0;
}
