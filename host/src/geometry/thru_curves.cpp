// Sheets through curves: a sheet body through ordered section strings (the
// kernel's loft), ruled for v-degree 1 and otherwise of that maximum degree
// across the sections, and the kernel's solid block.
#include "omvra.h"
#include "gostrel.h"
#include "rostval.h"
#include "core/model.h"
#include "geometry/bodies.h"

#include <BRepBuilderAPI_MakeEdge.hxx>
#include <BRepBuilderAPI_MakeWire.hxx>
#include <BRepOffsetAPI_ThruSections.hxx>
#include <BRepPrimAPI_MakeBox.hxx>
#include <Standard_Failure.hxx>

#include <vector>

int HM_MODL_create_thru_curves(const HM_STRING_LIST_t* sections, const HM_STRING_LIST_t* spine, int patch_type,
                               int alignment, double alignment_values[6], int v_degree, int v_periodic,
                               int body_type, int boolean_op, const double tolerances[3], const tag_t face_tags[2],
                               const int face_flags[2], tag_t* feature) {
    (void)alignment_values, (void)patch_type, (void)face_tags, (void)face_flags;
    if (!sections || !tolerances || !feature) return HM_ERR_NULL_POINTER;
    *feature = 0;
    if (spine && spine->string_count != 0) return HM_ERR_BAD_ARGUMENT;
    if (sections->string_count < 2 || !sections->curve_counts || !sections->curves) return HM_ERR_BAD_ARGUMENT;
    if (v_degree < 1 || v_degree > 3 || v_periodic != 0 || body_type != 0 || boolean_op != 0 || alignment != 1)
        return HM_ERR_BAD_ARGUMENT;
    if (!host::work_part_data()) return HM_ERR_NO_PART;
    const double tolerance = tolerances[0] > 0.0 ? tolerances[0] : host::distance_tolerance();
    try {
        BRepOffsetAPI_ThruSections loft(false, v_degree == 1, tolerance);
        loft.CheckCompatibility(false);
        if (v_degree > 1) loft.SetMaxDegree(v_degree);
        int next = 0;
        for (int s = 0; s < sections->string_count; ++s) {
            BRepBuilderAPI_MakeWire wire;
            for (int k = 0; k < sections->curve_counts[s]; ++k) {
                const host::Object* curve = host::find(sections->curves[next++]);
                if (!curve || curve->curve.IsNull()) return HM_ERR_INVALID_TAG;
                wire.Add(BRepBuilderAPI_MakeEdge(curve->curve).Edge());
            }
            if (!wire.IsDone()) return HM_ERR_GEOMETRY;
            loft.AddWire(wire.Wire());
        }
        loft.Build();
        if (!loft.IsDone() || loft.Shape().IsNull()) return HM_ERR_GEOMETRY;
        host::make_body(loft.Shape(), "THRU_CURVES", feature);
        return 0;
    } catch (const Standard_Failure&) {
        return HM_ERR_GEOMETRY;
    }
}

int GQ_BODY_create_solid_block(double x, double y, double z, const double* basis, tag_t* body) {
    (void)basis;   // no basis: the block stands at the origin along the axes
    if (!body) return HM_ERR_NULL_POINTER;
    if (!(x > 0.0 && y > 0.0 && z > 0.0)) return HM_ERR_BAD_ARGUMENT;
    if (!host::work_part_data()) return HM_ERR_NO_PART;
    try {
        const double scale = pxsfac[1];   // kernel to part lengths
        *body = host::make_body(BRepPrimAPI_MakeBox(x * scale, y * scale, z * scale).Shape(), "BLOCK");
        return 0;
    } catch (const Standard_Failure&) {
        return HM_ERR_GEOMETRY;
    }
}
