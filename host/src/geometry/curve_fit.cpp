// Curve-fit settings of the work part and the pole count of a curve's
// B-spline form.
#include "geometry/curves_internal.h"
#include "geometry/geometry.h"

#include "gostrel.h"
#include "omvra.h"

#include <Geom_BSplineCurve.hxx>

int HM_MODL_ask_curve_fit_data(HM_MODL_curve_fit_data_t* data) {
    if (!data) return HM_ERR_NULL_POINTER;
    const host::PartData* part = host::work_part_data();
    if (!part) return HM_ERR_NO_PART;
    data->distance_tolerance = part->distance_tolerance;
    data->angle_tolerance = part->angle_tolerance;
    data->degree = 3;
    data->method = 0;
    return 0;
}

int EVC_ask_pole_count(EVC_p_t evaluator, int* count) {
    if (!evaluator || !count) return HM_ERR_NULL_POINTER;
    *count = 0;
    if (evaluator->curve.IsNull()) return HM_ERR_WRONG_TYPE;
    Handle(Geom_BSplineCurve) spline = host::to_bspline(evaluator->curve);
    if (spline.IsNull()) return HM_ERR_GEOMETRY;
    *count = spline->NbPoles();
    return 0;
}
