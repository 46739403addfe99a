// The nearest point of a face: one point-to-surface projector per face,
// set up once on the face's surface over its parameter box (the set-up
// samples the surface on a grid, the costly part) and asked again for every
// later point of that face, with the face's edges and their curves on the
// surface for the points whose nearest lies on the boundary, its line
// intersector and its surface adaptor. Internal to the stand-in.
#ifndef CARVELL_HOST_FACE_PROJECTION_H
#define CARVELL_HOST_FACE_PROJECTION_H

#include <TopoDS_Face.hxx>
#include <gp_Pnt.hxx>

class BRepAdaptor_Surface;
class IntCurvesFace_Intersector;

namespace host {

// The nearest point of the face to the point, with its surface parameters:
// the surface's foot when it lies inside the face, otherwise the nearest of
// the surface's other extrema inside the face and of the points of the
// face's edges (their ends included). False when the face has neither a
// surface foot inside it nor an edge to measure to.
bool nearest_on_face(const TopoDS_Face& face, const gp_Pnt& point, double& u, double& v, gp_Pnt& nearest);

// The face's line intersector (tolerance Precision::Confusion()), kept
// with its projector: set up once, performed for every line shot at the face.
IntCurvesFace_Intersector& face_intersector(const TopoDS_Face& face);

// The face's surface as the kernel evaluates it (bounded by the face's
// parameter box), kept with its projector.
const BRepAdaptor_Surface& face_surface(const TopoDS_Face& face);

// The face's parameter box (the box of its boundary in the surface's
// parameters), kept with the face's projector.
void face_parameter_box(const TopoDS_Face& face, double& umin, double& umax, double& vmin, double& vmax);

}  // namespace host

#endif
