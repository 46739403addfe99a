// Tubes swept along curves and edges.
#include "core/checks.h"
#include "core/kernel_guard.h"
#include "geometry/bodies.h"
#include "geometry/geometry.h"

#include "omvra.h"

#include <BRepBuilderAPI_MakeEdge.hxx>
#include <BRepBuilderAPI_MakeFace.hxx>
#include <BRepBuilderAPI_MakeWire.hxx>
#include <BRepOffsetAPI_MakePipe.hxx>
#include <Geom_Curve.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Face.hxx>
#include <TopoDS_Wire.hxx>
#include <gp_Pln.hxx>
#include <gp_Ax2.hxx>
#include <gp_Circ.hxx>
#include <gp_Pln.hxx>

#include <cstdlib>

namespace {

// A diameter written as text: true with a finite value >= 0 when the whole
// text is one number.
bool diameter_of(const char* text, double& value) {
    if (!text) return false;
    char* end = nullptr;
    value = std::strtod(text, &end);
    if (end == text) return false;
    while (*end == ' ' || *end == '\t') ++end;
    return *end == '\0' && host::finite_value(value) && value >= 0.0;
}

}  // namespace

int HM_MODL_create_tube(tag_t path, const char* outer_diameter, const char* inner_diameter, tag_t* feature) {
    return host::guarded(__func__, [&]() -> int {
        if (!outer_diameter || !inner_diameter || !feature) return HM_ERR_NULL_POINTER;
        *feature = 0;
        const host::Object* o = host::find(path);
        if (!o) return HM_ERR_INVALID_TAG;
        if (!host::is_curve(*o)) return HM_ERR_WRONG_TYPE;
        double outer = 0.0, inner = 0.0;
        if (!diameter_of(outer_diameter, outer) || !diameter_of(inner_diameter, inner) || !(outer > 0.0) ||
            inner >= outer)
            return HM_ERR_BAD_ARGUMENT;
        Handle(Geom_Curve) spine = host::curve_of(*o);
        if (spine.IsNull()) return HM_ERR_WRONG_TYPE;
        const double u0 = spine->FirstParameter(), u1 = spine->LastParameter();
        gp_Pnt start;
        gp_Vec tangent;
        spine->D1(u0, start, tangent);
        if (tangent.Magnitude() <= gp::Resolution()) return HM_ERR_GEOMETRY;
        const TopoDS_Wire spine_wire = BRepBuilderAPI_MakeWire(BRepBuilderAPI_MakeEdge(spine, u0, u1));
        const gp_Ax2 axis(start, gp_Dir(tangent));
        BRepBuilderAPI_MakeFace profile(
            gp_Pln(axis), BRepBuilderAPI_MakeWire(BRepBuilderAPI_MakeEdge(gp_Circ(axis, outer / 2.0))).Wire());
        if (inner > 0.0) {
            TopoDS_Wire hole = BRepBuilderAPI_MakeWire(BRepBuilderAPI_MakeEdge(gp_Circ(axis, inner / 2.0)));
            hole.Reverse();
            profile.Add(hole);
        }
        if (!profile.IsDone()) return HM_ERR_GEOMETRY;
        BRepOffsetAPI_MakePipe pipe(spine_wire, profile.Face());
        pipe.Build();
        if (!pipe.IsDone() || pipe.Shape().IsNull()) return HM_ERR_GEOMETRY;
        host::make_body(pipe.Shape(), "TUBE", feature);
        return 0;
    });
}
