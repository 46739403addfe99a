// Shared geometry helpers of the stand-in: the OCCT shape of any geometric
// object, and normalised curve parameters. Internal to the stand-in.
#ifndef CARVELL_HOST_GEOMETRY_H
#define CARVELL_HOST_GEOMETRY_H

#include "core/model.h"

#include <Geom_Curve.hxx>
#include <TopoDS_Shape.hxx>

namespace host {

// Half-size of the face that stands for an unbounded plane in shape
// operations (sections, distances), in part units.
constexpr double kPlaneHalfSize = 1.0e5;

// The object's geometry as a shape: a point is a vertex, a curve an edge over
// its whole range, a plane or datum a large square face, a body, face or edge
// its own shape. A null shape for objects without geometry.
TopoDS_Shape shape_of(const Object& object);

// True for curve objects (types 3, 5, 6, 9) and edges (type 70, subtype 3).
bool is_curve(const Object& object);

// The bounded curve of a curve object, or of an edge its 3D curve trimmed to
// the edge's range (located, in the curve's own direction). Null otherwise.
Handle(Geom_Curve) curve_of(const Object& object);

// Normalised parameters: t in [0, 1] maps linearly onto the curve's
// [FirstParameter, LastParameter].
double kernel_parameter(const Handle(Geom_Curve)& curve, double t);
double normalised_parameter(const Handle(Geom_Curve)& curve, double u);

}  // namespace host

#endif
