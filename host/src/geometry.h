// Shared geometry helpers of the stand-in: the OCCT shape of any geometric
// object, and normalised curve parameters. Internal to the stand-in.
#ifndef CARVELL_HOST_GEOMETRY_H
#define CARVELL_HOST_GEOMETRY_H

#include "model.h"

#include <TopoDS_Shape.hxx>

namespace host {

// Half-size of the face that stands for an unbounded plane in shape
// operations (sections, distances), in part units.
constexpr double kPlaneHalfSize = 1.0e5;

// The object's geometry as a shape: a point is a vertex, a curve an edge over
// its whole range, a plane or datum a large square face, a body, face or edge
// its own shape. A null shape for objects without geometry.
TopoDS_Shape shape_of(const Object& object);

}  // namespace host

#endif
