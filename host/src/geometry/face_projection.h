// The foot of a point on a face: one point-to-surface projector per face,
// set up once on the face's surface over its parameter box (the set-up
// samples the surface on a grid, the costly part) and asked again for every
// later point of that face. Internal to the stand-in.
#ifndef CARVELL_HOST_FACE_PROJECTION_H
#define CARVELL_HOST_FACE_PROJECTION_H

#include <TopoDS_Face.hxx>
#include <gp_Pnt.hxx>

namespace host {

// The nearest point of the face's surface to the point, with its surface
// parameters, when that point lies inside the face (its boundary left out).
// False otherwise: the nearest point of the face is then on its boundary or
// the surface has no foot for the point, and the caller asks the full
// minimum distance.
bool foot_inside_face(const TopoDS_Face& face, const gp_Pnt& point, double& u, double& v, gp_Pnt& foot);

// The face's parameter box (the box of its boundary in the surface's
// parameters), kept with the face's projector.
void face_parameter_box(const TopoDS_Face& face, double& umin, double& umax, double& vmin, double& vmax);

}  // namespace host

#endif
