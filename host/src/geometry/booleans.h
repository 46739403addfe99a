// Booleans of the stand-in shared by its body operations: the pieces of a
// Boolean result (connected sets of faces, or solids) and the Boolean itself.
// Internal to the stand-in.
#ifndef CARVELL_HOST_BOOLEANS_H
#define CARVELL_HOST_BOOLEANS_H

#include "host_types.h"

#include <TopoDS_Shape.hxx>

#include <vector>

namespace host {

enum class BooleanKind { unite, subtract, intersect };

// The Boolean of two shapes; a null shape when the kernel fails.
TopoDS_Shape boolean_of(const TopoDS_Shape& target, const TopoDS_Shape& tool, BooleanKind kind);

// The pieces of a shape: each solid, then each set of faces joined through
// shared edges (a sheet of one piece), then each set of loose edges joined
// at vertices (a wire). A shape without faces or edges has none.
std::vector<TopoDS_Shape> pieces_of(const TopoDS_Shape& shape);

// True when the shape has a solid.
bool has_solid(const TopoDS_Shape& shape);
// True when the shape has a face.
bool has_face(const TopoDS_Shape& shape);

// Intersects the tool into the target body in place (HM_MODL_operations 3):
// the target keeps the common region (a sheet's part inside a solid, or the
// overlap of sheets on one surface) and the tool is consumed. 0, or
// HM_ERR_GEOMETRY with nothing changed when nothing is in common.
int intersect_in_place(tag_t target, tag_t tool);

// Subtracts the tool from the target body in place: the target keeps every
// piece left (one body), the tool is consumed, and *piece_count is the
// number of connected pieces. 0, or HM_ERR_GEOMETRY with nothing changed
// when the kernel fails or nothing of the target is left.
int subtract_in_place(tag_t target, tag_t tool, int* piece_count);

}  // namespace host

#endif
