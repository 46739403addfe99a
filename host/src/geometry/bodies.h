// Bodies of the stand-in: body objects over OCCT shapes, the tags of their
// faces and edges, and helpers shared by the body operations. Internal to
// the stand-in.
#ifndef CARVELL_HOST_BODIES_H
#define CARVELL_HOST_BODIES_H

#include "core/model.h"

#include <TopoDS_Shape.hxx>

#include <vector>

namespace host {

// Kernel types of bodies (GQ_BODY_ask_type).
constexpr int kBodyTypeMinimum = 5601;   // vertices only
constexpr int kBodyTypeManifold = 5602;  // solid or sheet: faces and nothing loose
constexpr int kBodyTypeWire = 5603;      // edges without faces
constexpr int kBodyTypeGeneral = 5604;   // faces together with loose edges or vertices

// A new body (type 70/0) of the work part holding the shape, with a feature
// of the given kind. Answers the body's tag (and the feature's, when asked).
tag_t make_body(const TopoDS_Shape& shape, const char* feature_kind, tag_t* feature = nullptr);

// Replaces a body's shape; the tags of its old faces and edges are deleted
// (they name topology that no longer exists).
void replace_body_shape(tag_t body, const TopoDS_Shape& shape);

// Null unless the tag names an alive body (70/0), face (70/2) or edge (70/3).
Object* find_body(tag_t tag);
Object* find_face(tag_t tag);
Object* find_edge(tag_t tag);

// Tags the faces and then the edges of a body on first request, in the
// order of TopExp::MapShapes; later requests answer the same tags.
void tag_topology(Object& body);
std::vector<tag_t> body_faces(tag_t body);
std::vector<tag_t> body_edges(tag_t body);
// The tag of a face or edge of the body (IsSame comparison); 0 when the
// shape is not part of it.
tag_t tag_of_subshape(tag_t body, const TopoDS_Shape& shape);

// Kernel type of a body shape (kBodyType...).
int body_kernel_type(const TopoDS_Shape& shape);

// The shape a body operation works on: a feature stands for its body, a
// point, curve, plane, datum, body, face or edge for its own shape. Null
// for other objects.
TopoDS_Shape operand_shape(tag_t object);

}  // namespace host

#endif
