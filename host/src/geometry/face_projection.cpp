// The foot of a point on a face through a projector kept per face. The
// projectors of the faces asked last are kept (a face is known by its
// shape, which each entry holds, so an entry never outlives its face's
// geometry); the oldest goes when a new face comes.
#include "geometry/face_projection.h"

#include <BRepTools.hxx>
#include <BRepTopAdaptor_FClass2d.hxx>
#include <BRep_Tool.hxx>
#include <GeomAPI_ProjectPointOnSurf.hxx>
#include <Geom_Surface.hxx>
#include <Precision.hxx>
#include <gp_Pnt2d.hxx>

#include <list>
#include <memory>

namespace host {
namespace {

// Faces whose projectors are kept: enough for the faces of the bodies that
// one analysis asks in turn.
constexpr size_t kKeptFaces = 32;

struct FaceProjector {
    TopoDS_Face face;
    double umin = 0.0, umax = 0.0, vmin = 0.0, vmax = 0.0;
    bool surface = false;   // false: the face has no surface to project on
    GeomAPI_ProjectPointOnSurf projector;
    std::unique_ptr<BRepTopAdaptor_FClass2d> classifier;
};

std::list<FaceProjector>& kept() {
    static std::list<FaceProjector> faces;
    return faces;
}

// The face's projector, set up on first request and moved to the front.
FaceProjector& projector_of(const TopoDS_Face& face) {
    std::list<FaceProjector>& faces = kept();
    for (auto it = faces.begin(); it != faces.end(); ++it)
        if (it->face.IsEqual(face)) {
            faces.splice(faces.begin(), faces, it);
            return faces.front();
        }
    if (faces.size() >= kKeptFaces) faces.pop_back();
    faces.emplace_front();
    FaceProjector& p = faces.front();
    p.face = face;
    BRepTools::UVBounds(face, p.umin, p.umax, p.vmin, p.vmax);
    const Handle(Geom_Surface) surface = BRep_Tool::Surface(face);
    if (!surface.IsNull()) {
        p.projector.Init(surface, p.umin, p.umax, p.vmin, p.vmax, Precision::Confusion());
        p.classifier = std::make_unique<BRepTopAdaptor_FClass2d>(face, Precision::PConfusion());
        p.surface = true;
    }
    return p;
}

}  // namespace

bool foot_inside_face(const TopoDS_Face& face, const gp_Pnt& point, double& u, double& v, gp_Pnt& foot) {
    FaceProjector& p = projector_of(face);
    if (!p.surface) return false;
    p.projector.Perform(point);
    if (!p.projector.IsDone() || p.projector.NbPoints() < 1) return false;
    p.projector.LowerDistanceParameters(u, v);
    if (p.classifier->Perform(gp_Pnt2d(u, v)) != TopAbs_IN) return false;
    foot = p.projector.NearestPoint();
    return true;
}

void face_parameter_box(const TopoDS_Face& face, double& umin, double& umax, double& vmin, double& vmax) {
    const FaceProjector& p = projector_of(face);
    umin = p.umin;
    umax = p.umax;
    vmin = p.vmin;
    vmax = p.vmax;
}

}  // namespace host
