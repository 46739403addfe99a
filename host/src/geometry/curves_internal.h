// Curves of the stand-in: storing OCCT curves as curve objects, normalised
// parameters, corners, parts of curves, interpolation and chains of curves.
// Internal to the stand-in.
#ifndef CARVELL_HOST_CURVES_INTERNAL_H
#define CARVELL_HOST_CURVES_INTERNAL_H

#include "core/checks.h"
#include "core/model.h"
#include "geometry/geometry.h"
#include "omvra.h"

#include <Geom_BSplineCurve.hxx>
#include <Geom_Curve.hxx>
#include <TopoDS_Shape.hxx>
#include <gp_Dir.hxx>
#include <gp_Pnt.hxx>
#include <gp_Vec.hxx>

#include <array>
#include <vector>

// An evaluator: the bounded curve it evaluates over normalised parameters.
// Allocated with SM_alloc (so the memory manager counts open evaluators).
struct HM_EVAL_s {
    Handle(Geom_Curve) curve;
};

namespace host {

// Two parameters closer than this (normalised) are the same parameter.
constexpr double kParameterResolution = 1.0e-9;
// A tangent turning by more than this (radians) at a knot is a corner.
constexpr double kCornerAngle = 1.0e-6;

// Type and subtype for a curve's geometry: line 3, arc 5, conic 6 (subtype
// the conic kind), anything else spline 9.
void classify_curve(const Handle(Geom_Curve)& curve, int& type, int& subtype);

// The defining points of a spline made through points, kept in its object's
// data for HM_CURVE_ask_spline_thru_pts.
struct SplineThroughPoints {
    std::vector<std::array<double, 3>> points;
};

// A new curve object of the work part holding the curve.
Object& store_curve(const Handle(Geom_Curve)& curve);

// A new matrix object of the work part whose rows are the three axes.
tag_t new_matrix(const gp_Dir& x, const gp_Dir& y, const gp_Dir& z);

// A new evaluator of the curve (SM_alloc'd); null when the curve is null.
HM_EVAL_s* new_evaluator(const Handle(Geom_Curve)& curve);
void free_evaluator(HM_EVAL_s* evaluator);

// Periodic for normalised parameters: a periodic kernel curve that is not
// trimmed to less than a full period (a full circle; not an arc).
bool is_periodic(const Handle(Geom_Curve)& curve);

// The kernel parameter for a normalised one: values within the resolution
// outside [0, 1] are clamped, a periodic curve wraps; false otherwise.
bool checked_kernel_parameter(const Handle(Geom_Curve)& curve, double t, double& u);

// Point, derivatives and the Frenet frame at a kernel parameter.
struct CurveProps {
    gp_Pnt point;
    gp_Vec tangent;     // unit
    gp_Vec normal;      // unit principal normal; zero where straight
    gp_Vec binormal;    // tangent x normal; zero where straight
    double torsion = 0.0;
    double radius = 0.0;   // radius of curvature; 0 where straight
};
bool curve_props(const Handle(Geom_Curve)& curve, double u, CurveProps& props);

// The curve point nearest to p: kernel parameter and point.
bool nearest_on_curve(const Handle(Geom_Curve)& curve, const gp_Pnt& p, double& u, gp_Pnt& nearest);

// The part of the curve between two kernel parameters u0 < u1 (for a periodic
// curve u1 may exceed the last parameter, running through the seam).
Handle(Geom_Curve) part_of_curve(const Handle(Geom_Curve)& curve, double u0, double u1);

// Kernel parameters of the corners inside the curve (ascending, ends excluded).
std::vector<double> corner_parameters(const Handle(Geom_Curve)& curve);

// The curve as a B-spline (exact; rational for conics).
Handle(Geom_BSplineCurve) to_bspline(const Handle(Geom_Curve)& curve);

// Interpolating B-spline of degree 1, 2 or 3 through distinct points, open or
// periodic (periodic: the first point is not repeated at the end). Open
// splines take the given parameters when not null. Null on failure.
Handle(Geom_BSplineCurve) interpolate(const std::vector<gp_Pnt>& points, int degree, bool periodic,
                                      const std::vector<double>* parameters = nullptr);

// An open polyline B-spline (degree 1) without the poles that lie within the
// tolerance of the straight line through the poles kept on either side; the
// kept poles keep their parameters. Other curves come back as they are. A
// section walked across flat facets comes out as thousands of points on a
// few hundred straight pieces; this gives back the pieces.
Handle(Geom_BSplineCurve) without_straight_poles(const Handle(Geom_BSplineCurve)& curve, double tolerance);

// Chains of curves whose ends meet within the tolerance.
struct ChainLink {
    size_t index;     // into the curves given
    bool reversed;    // runs from its end to its start in the chain
};
struct Chain {
    std::vector<ChainLink> links;
    bool closed = false;
};
// Chains in the order of their first curves; a closed curve is a closed
// chain of its own; null curves are left out. False when the ends of a
// curve cannot be evaluated.
bool make_chains(const std::vector<Handle(Geom_Curve)>& curves, double tolerance, std::vector<Chain>& chains);
// One B-spline along the chain; corners stay C0 knots. Null on failure.
Handle(Geom_BSplineCurve) join_chain(const std::vector<Handle(Geom_Curve)>& curves, const Chain& chain,
                                     double tolerance);
// Joins the curve objects into one new curve object when they form exactly
// one chain at the tolerance: 0 and *joined, or a host code.
int join_objects(const std::vector<tag_t>& curves, double tolerance, tag_t* joined);

// The bounded 3-D curves of a shape's edges (a section, a projection), in
// the order the edges are found; empty for a null shape.
std::vector<Handle(Geom_Curve)> edge_curves(const TopoDS_Shape& shape);

// Whether every point of curve a lies within the tolerance of curve b and
// every point of b within it of a (sampled), in either sense.
bool curves_coincide(const Handle(Geom_Curve)& a, const Handle(Geom_Curve)& b, double tolerance);

// Test hook of the curve projection (host_testing::repeat_pieces_on_shared_edges).
void repeat_pieces_on_shared_edges(bool on);

inline void put(const gp_Pnt& p, double out[3]) {
    out[0] = p.X();
    out[1] = p.Y();
    out[2] = p.Z();
}
inline void put(const gp_Vec& v, double out[3]) {
    out[0] = v.X();
    out[1] = v.Y();
    out[2] = v.Z();
}
inline gp_Pnt point_of(const double p[3]) { return gp_Pnt(p[0], p[1], p[2]); }
inline gp_Vec vec_of(const double v[3]) { return gp_Vec(v[0], v[1], v[2]); }

}  // namespace host

#endif
