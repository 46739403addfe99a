// Trim features: a curve cut between two bounds (planes or points), keeping
// the part between them or the part outside them, as new curves owned by a
// "TRIM" feature. The trimmed curve itself is left as it was.
#include "core/kernel_guard.h"
#include "geometry/curves_internal.h"
#include "omvra.h"

#include <GeomAPI_IntCS.hxx>
#include <Geom_Circle.hxx>
#include <Geom_Ellipse.hxx>
#include <Geom_Line.hxx>
#include <Geom_Plane.hxx>
#include <Geom_TrimmedCurve.hxx>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace {

constexpr const char* kKind = "TRIM";
// Two kernel parameters closer than this (relative) are one.
constexpr double kSameParameter = 1e-9;

// The curve with its natural extension: a bounded line becomes its whole
// line, an arc or elliptic arc its whole closed conic; any other curve
// stays as it is.
Handle(Geom_Curve) naturally_extended(const Handle(Geom_Curve)& curve) {
    Handle(Geom_TrimmedCurve) trimmed = Handle(Geom_TrimmedCurve)::DownCast(curve);
    if (trimmed.IsNull()) return curve;
    Handle(Geom_Curve) basis = trimmed->BasisCurve();
    if (basis->IsKind(STANDARD_TYPE(Geom_Line)) || basis->IsKind(STANDARD_TYPE(Geom_Circle)) ||
        basis->IsKind(STANDARD_TYPE(Geom_Ellipse)))
        return basis;
    return curve;
}

// The kernel parameter where the curve meets the bound, the meeting nearest
// to the help point for a plane that the curve crosses more than once; a
// point bound gives its nearest curve point. False when the bound is not met
// (a plane the curve misses or lies in).
bool bound_parameter(const Handle(Geom_Curve)& curve, const host::Object& bound, const gp_Pnt& help,
                     double tolerance, double& u) {
    if (bound.type == HM_point_type) {
        gp_Pnt foot;
        return host::nearest_on_curve(curve, gp_Pnt(bound.point[0], bound.point[1], bound.point[2]), u, foot);
    }
    Handle(Geom_Plane) plane = Handle(Geom_Plane)::DownCast(bound.surface);
    GeomAPI_IntCS crossing(curve, plane);
    if (!crossing.IsDone() || crossing.NbSegments() > 0) return false;
    double best = 1e300;
    bool found = false;
    for (int i = 1; i <= crossing.NbPoints(); ++i) {
        double pu = 0, pv = 0, w = 0;
        crossing.Parameters(i, pu, pv, w);
        const double d = crossing.Point(i).Distance(help);
        if (d < best) {
            best = d;
            u = w;
            found = true;
        }
    }
    // A curve touching the plane only at its end is met there too.
    if (!found && std::isfinite(curve->FirstParameter()) && std::isfinite(curve->LastParameter())) {
        for (double w : {curve->FirstParameter(), curve->LastParameter()}) {
            const double d = plane->Pln().Distance(curve->Value(w));
            if (d <= tolerance && curve->Value(w).Distance(help) < best) {
                best = curve->Value(w).Distance(help);
                u = w;
                found = true;
            }
        }
    }
    return found;
}

bool is_bound(const host::Object& o) {
    if (o.type == HM_point_type) return true;
    if (o.type != HM_plane_type && o.type != HM_datum_type) return false;
    return !Handle(Geom_Plane)::DownCast(o.surface).IsNull();
}

}  // namespace

int HM_CURVE_create_trim(const HM_CURVE_trim_t* trim, tag_t* feature) {
    if (feature) *feature = 0;
    if (!trim || !feature) return HM_ERR_NULL_POINTER;
    return host::guarded(__func__, [&]() -> int {
        if (!host::work_part_data()) return HM_ERR_NO_PART;
        const host::Object* string = host::find(trim->string_to_trim);
        const host::Object* first = host::find(trim->first_bound);
        const host::Object* second = host::find(trim->second_bound);
        if (!string || !first || !second) return HM_ERR_INVALID_TAG;
        const Handle(Geom_Curve) curve = host::curve_of(*string);
        if (curve.IsNull() || !is_bound(*first) || !is_bound(*second)) return HM_ERR_WRONG_TYPE;
        if (trim->extend_option != HM_TRIM_EXTEND_NATURAL && trim->extend_option != HM_TRIM_EXTEND_NONE)
            return HM_ERR_BAD_ARGUMENT;
        if (trim->trim_option != HM_TRIM_KEEP_INSIDE && trim->trim_option != HM_TRIM_KEEP_OUTSIDE)
            return HM_ERR_BAD_ARGUMENT;
        if (!host::finite3(trim->first_help_point) || !host::finite3(trim->second_help_point))
            return HM_ERR_BAD_ARGUMENT;
        const double dt = trim->distance_tolerance, at = trim->angle_tolerance;
        if (!(dt >= 0.0) || !host::finite_value(dt) || !(at >= 0.0) || !host::finite_value(at))
            return HM_ERR_BAD_ARGUMENT;
        const double tolerance = dt > 0.0 ? dt : host::distance_tolerance();

        const Handle(Geom_Curve) extended =
            trim->extend_option == HM_TRIM_EXTEND_NATURAL ? naturally_extended(curve) : curve;
        double u1 = 0.0, u2 = 0.0;
        if (!bound_parameter(extended, *first, host::point_of(trim->first_help_point), tolerance, u1) ||
            !bound_parameter(extended, *second, host::point_of(trim->second_help_point), tolerance, u2))
            return HM_ERR_GEOMETRY;
        const double lo = std::min(u1, u2), hi = std::max(u1, u2);
        if (hi - lo <= kSameParameter * std::max(1.0, std::fabs(hi)))
            return HM_ERR_GEOMETRY;   // both bounds at one point: nothing between them

        // The stretch of the curve the trim works on: a closed periodic curve
        // whole; an open one its own range, grown to the bounds where the
        // extension reaches beyond it.
        std::vector<std::pair<double, double>> kept;
        const bool periodic = host::is_periodic(extended);
        if (trim->trim_option == HM_TRIM_KEEP_INSIDE) {
            kept.emplace_back(lo, hi);
        } else if (periodic) {
            kept.emplace_back(hi, lo + extended->Period());
        } else {
            const double a = std::min(curve->FirstParameter(), lo), b = std::max(curve->LastParameter(), hi);
            kept.emplace_back(a, lo);
            kept.emplace_back(hi, b);
        }
        std::vector<Handle(Geom_Curve)> pieces;
        for (const auto& [s, e] : kept) {
            // A bound at the curve's end leaves nothing outside there.
            if (e - s <= kSameParameter * std::max(1.0, std::fabs(e))) continue;
            Handle(Geom_Curve) piece = host::part_of_curve(extended, s, e);
            if (piece.IsNull()) return HM_ERR_GEOMETRY;
            pieces.push_back(piece);
        }
        if (pieces.empty()) return HM_ERR_GEOMETRY;
        // The outside of a closed curve that is not periodic runs through
        // the meeting of its ends: its two pieces are one curve.
        if (pieces.size() == 2 && extended->Value(extended->FirstParameter())
                                          .Distance(extended->Value(extended->LastParameter())) <= tolerance) {
            const std::vector<Handle(Geom_Curve)> around = {pieces[1], pieces[0]};
            std::vector<host::Chain> chains;
            if (!host::make_chains(around, tolerance, chains) || chains.size() != 1) return HM_ERR_GEOMETRY;
            Handle(Geom_Curve) joined = host::join_chain(around, chains[0], tolerance);
            if (joined.IsNull()) return HM_ERR_GEOMETRY;
            pieces = {joined};
        }
        std::vector<tag_t> made;
        for (const auto& piece : pieces) made.push_back(host::store_curve(piece).tag);
        host::Object& f = host::create_feature(kKind, 0, made);
        f.subtags = made;   // owned: erased with the feature
        *feature = f.tag;
        return 0;
    });
}
