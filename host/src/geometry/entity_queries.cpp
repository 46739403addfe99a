// Basic entities and enquiries of the modelling internals: points and lines
// made in the work part, the minimum distance of two objects, the type and
// parameter box of a face, and the kernel body of a sheet or solid.
#include "core/checks.h"
#include "core/kernel_guard.h"
#include "geometry/bodies.h"
#include "hathmor.h"
#include "nethrow.h"
#include "omvra.h"
#include "ostrade.h"

#include <BRepAdaptor_Surface.hxx>
#include <TopoDS.hxx>

int ES_create_point(const double coords[3], tag_t* point) { return HM_CURVE_create_point(coords, point); }

int ES_create_line_in_part(const double start[3], const double end[3], tag_t* line) {
    if (!start || !end || !line) return HM_ERR_NULL_POINTER;
    HM_CURVE_line_t data = {{start[0], start[1], start[2]}, {end[0], end[1], end[2]}};
    return HM_CURVE_create_line(&data, line);
}

int MIN_object_object(tag_t object1, tag_t object2, double, double* distance, double point1[3], double point2[3]) {
    if (!distance || !point1 || !point2) return HM_ERR_NULL_POINTER;
    return HM_MODL_ask_minimum_dist(object1, object2, 0, nullptr, 0, nullptr, distance, point1, point2);
}

int HM_MODL_ask_face_uv_minmax(tag_t face, double uv_min_max[4]) {
    if (!uv_min_max) return HM_ERR_NULL_POINTER;
    if (!host::find(face)) return HM_ERR_INVALID_TAG;
    if (!host::find_face(face)) return HM_ERR_WRONG_TYPE;
    uv_min_max[0] = 0.0;
    uv_min_max[1] = 1.0;
    uv_min_max[2] = 0.0;
    uv_min_max[3] = 1.0;
    return 0;
}

int pxpben(tag_t face, double ranges[4]) { return HM_MODL_ask_face_uv_minmax(face, ranges); }

int HM_MODL_ask_face_type(tag_t face, int* type) {
    return host::guarded(__func__, [&]() -> int {
        if (!type) return HM_ERR_NULL_POINTER;
        if (!host::find(face)) return HM_ERR_INVALID_TAG;
        host::Object* f = host::find_face(face);
        if (!f) return HM_ERR_WRONG_TYPE;
        BRepAdaptor_Surface surface(TopoDS::Face(f->shape));
        switch (surface.GetType()) {
        case GeomAbs_Plane: *type = HM_FACE_planar; break;
        case GeomAbs_Cylinder: *type = HM_FACE_cylindrical; break;
        case GeomAbs_Cone: *type = HM_FACE_conical; break;
        case GeomAbs_Sphere: *type = HM_FACE_spherical; break;
        case GeomAbs_Torus: *type = HM_FACE_toroidal; break;
        default: *type = HM_FACE_parametric; break;
        }
        return 0;
    });
}

tag_t ES_solid_ask_brelvic_tag(tag_t body) { return host::find_body(body) ? body : 0; }
