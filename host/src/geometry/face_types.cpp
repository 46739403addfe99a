// Face types: the kind of surface under a face, as the modelling interface
// names it (a sphere 18, a plane 22, ...).
#include "core/kernel_guard.h"
#include "geometry/bodies.h"
#include "omvra.h"

#include <BRepAdaptor_Surface.hxx>
#include <TopoDS.hxx>

namespace {

int face_type_of(const TopoDS_Shape& shape) {
    BRepAdaptor_Surface surface(TopoDS::Face(shape), true);
    switch (surface.GetType()) {
    case GeomAbs_Plane: return HM_FACE_PLANAR;
    case GeomAbs_Cylinder: return HM_FACE_CYLINDRICAL;
    case GeomAbs_Cone: return HM_FACE_CONICAL;
    case GeomAbs_Sphere: return HM_FACE_SPHERICAL;
    case GeomAbs_Torus: return HM_FACE_TOROIDAL;
    case GeomAbs_SurfaceOfRevolution: return HM_FACE_REVOLVED;
    case GeomAbs_SurfaceOfExtrusion: return HM_FACE_EXTRUDED;
    case GeomAbs_BSplineSurface:
    case GeomAbs_BezierSurface: return HM_FACE_PARAMETRIC;
    default: return HM_FACE_SWEPT;
    }
}

}  // namespace

int HM_MODL_ask_face_type(tag_t face, int* type) {
    return host::guarded(__func__, [&]() -> int {
        if (!type) return HM_ERR_NULL_POINTER;
        *type = 0;
        if (!host::find(face)) return HM_ERR_INVALID_TAG;
        tag_t target = face;
        if (host::find_body(face)) {
            const std::vector<tag_t> faces = host::body_faces(face);
            if (faces.size() != 1) return HM_ERR_WRONG_TYPE;
            target = faces[0];
        }
        host::Object* f = host::find_face(target);
        if (!f || f->shape.IsNull()) return HM_ERR_WRONG_TYPE;
        *type = face_type_of(f->shape);
        return 0;
    });
}
