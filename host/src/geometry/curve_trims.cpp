// Curves trimmed in place: at a bounding plane, or by an arc length at one end.
#include "geometry/curves_internal.h"
#include "geometry/geometry.h"
#include "omvra.h"

#include <GCPnts_AbscissaPoint.hxx>
#include <GeomAPI_IntCS.hxx>
#include <GeomAdaptor_Curve.hxx>
#include <Geom_Plane.hxx>
#include <Geom_TrimmedCurve.hxx>
#include <Standard_Failure.hxx>

#include <cmath>

namespace {

// The curve object keeps its curve between the kernel parameters lo < hi.
int keep_between(host::Object& c, double lo, double hi) {
    if (hi - lo < 1e-12) return HM_ERR_GEOMETRY;
    c.curve = new Geom_TrimmedCurve(c.curve, lo, hi);
    c.data.reset();
    return 0;
}

}  // namespace

int HM_CURVE_edit_trim_curve(tag_t curve, tag_t bound, const double ref_point1[3], const double ref_point2[3]) {
    if (!ref_point1 || !ref_point2) return HM_ERR_NULL_POINTER;
    host::Object* c = host::find(curve);
    host::Object* b = host::find(bound);
    if (!c || !b) return HM_ERR_INVALID_TAG;
    if (c->type == HM_solid_type || !host::is_curve(*c) || c->curve.IsNull()) return HM_ERR_WRONG_TYPE;
    Handle(Geom_Plane) plane = Handle(Geom_Plane)::DownCast(b->surface);
    if (b->type != HM_plane_type || plane.IsNull()) return HM_ERR_WRONG_TYPE;
    try {
        const Handle(Geom_Curve) geometry = c->curve;
        GeomAPI_IntCS crossing(geometry, plane);
        if (!crossing.IsDone() || crossing.NbPoints() == 0) return HM_ERR_GEOMETRY;
        // The reference point's side of the crossing nearest to it is cut off.
        double ref_u = 0.0;
        gp_Pnt foot;
        if (!host::nearest_on_curve(geometry, host::point_of(ref_point1), ref_u, foot)) return HM_ERR_GEOMETRY;
        double cut = 0.0, best = 1e300;
        for (int i = 1; i <= crossing.NbPoints(); ++i) {
            double u = 0, v = 0, w = 0;
            crossing.Parameters(i, u, v, w);
            if (std::fabs(w - ref_u) < best) {
                best = std::fabs(w - ref_u);
                cut = w;
            }
        }
        const double first = geometry->FirstParameter(), last = geometry->LastParameter();
        return keep_between(*c, ref_u > cut ? first : cut, ref_u > cut ? cut : last);
    } catch (const Standard_Failure&) {
        return HM_ERR_GEOMETRY;
    }
}

int HM_CURVE_edit_length(tag_t curve, double change, int end) {
    host::Object* c = host::find(curve);
    if (!c) return HM_ERR_INVALID_TAG;
    if (c->type == HM_solid_type || !host::is_curve(*c) || c->curve.IsNull()) return HM_ERR_WRONG_TYPE;
    if ((end != 1 && end != 2) || !std::isfinite(change) || change > 0.0) return HM_ERR_BAD_ARGUMENT;
    if (change == 0.0) return 0;
    try {
        const Handle(Geom_Curve) geometry = c->curve;
        const double first = geometry->FirstParameter(), last = geometry->LastParameter();
        GeomAdaptor_Curve adaptor(geometry);
        constexpr double kLengthTolerance = 1.0e-10;
        if (-change >= GCPnts_AbscissaPoint::Length(adaptor, first, last, kLengthTolerance)) return HM_ERR_GEOMETRY;
        // The parameter at the arc length -change from the end that is cut.
        const double from = end == 1 ? first : last;
        GCPnts_AbscissaPoint at(kLengthTolerance, adaptor, end == 1 ? -change : change, from);
        if (!at.IsDone()) return HM_ERR_GEOMETRY;
        return keep_between(*c, end == 1 ? at.Parameter() : first, end == 1 ? last : at.Parameter());
    } catch (const Standard_Failure&) {
        return HM_ERR_GEOMETRY;
    }
}
