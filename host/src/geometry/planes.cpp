// Planes and datum planes, their data, and the projection of a point along a
// direction onto a plane.
#include "core/kernel_guard.h"
#include "geometry/curves_internal.h"
#include "hathmor.h"
#include "kestrin.h"

#include <Geom_Plane.hxx>
#include <Standard_Failure.hxx>

#include <cmath>

using host::find;

namespace {

// Origin and unit normal of a plane or datum object of one of the types.
int plane_data(tag_t plane, bool plane_ok, bool datum_ok, double origin[3], double normal[3]) {
    if (!origin || !normal) return HM_ERR_NULL_POINTER;
    host::Object* o = find(plane);
    if (!o) return HM_ERR_INVALID_TAG;
    const bool kind_ok = (plane_ok && o->type == HM_plane_type) || (datum_ok && o->type == HM_datum_type);
    Handle(Geom_Plane) p = Handle(Geom_Plane)::DownCast(o->surface);
    if (!kind_ok || p.IsNull()) return HM_ERR_WRONG_TYPE;
    host::put(p->Location(), origin);
    host::put(gp_Vec(p->Axis().Direction()), normal);
    return 0;
}

}  // namespace

int HM_MODL_create_plane(const double origin[3], const double normal[3], tag_t* plane) {
    return host::guarded(__func__, [&]() -> int {
        if (!origin || !normal || !plane) return HM_ERR_NULL_POINTER;
        *plane = 0;
        if (!host::work_part_data()) return HM_ERR_NO_PART;
        const gp_Vec n = host::vec_of(normal);
        if (!host::finite3(origin) || !host::finite3(normal) || !(n.Magnitude() > 1.0e-12)) return HM_ERR_BAD_ARGUMENT;
        host::Object& o = host::create(HM_plane_type, 0);
        o.surface = new Geom_Plane(host::point_of(origin), gp_Dir(n));
        *plane = o.tag;
        return 0;
    });
}

int HM_MODL_ask_plane(tag_t plane, double origin[3], double normal[3]) {
    return host::guarded(__func__, [&]() -> int {
        return plane_data(plane, true, false, origin, normal);
    });
}

int HM_MODL_ask_datum_plane(tag_t datum, double origin[3], double normal[3]) {
    return host::guarded(__func__, [&]() -> int {
        return plane_data(datum, false, true, origin, normal);
    });
}

int ES_ask_plane_data(tag_t plane, double origin[3], double normal[3]) {
    return host::guarded(__func__, [&]() -> int {
        return plane_data(plane, true, true, origin, normal);
    });
}

int CPROJ_point_vec_plane(const double point[3], const double plane_origin[3], const double plane_normal[3],
                          const double direction[3], int mode, double projected[3], int* count) {
    return host::guarded(__func__, [&]() -> int {
        if (!point || !plane_origin || !plane_normal || !direction || !projected || !count) return HM_ERR_NULL_POINTER;
        if (mode != 1 && mode != 2) return HM_ERR_BAD_ARGUMENT;
        if (!host::finite3(point) || !host::finite3(plane_origin) || !host::finite3(plane_normal) ||
            !host::finite3(direction))
            return HM_ERR_BAD_ARGUMENT;
        const gp_Vec d = host::vec_of(direction), n = host::vec_of(plane_normal);
        if (!(d.Magnitude() > 1.0e-12) || !(n.Magnitude() > 1.0e-12)) return HM_ERR_BAD_ARGUMENT;
        *count = 0;
        const double along = d.Dot(n);
        if (std::fabs(along) <= 1.0e-12 * d.Magnitude() * n.Magnitude()) return 0;   // parallel
        const gp_Vec to_plane(host::point_of(point), host::point_of(plane_origin));
        const double s = to_plane.Dot(n) / along;
        if (mode == 1 && s < 0.0) return 0;
        host::put(host::point_of(point).Translated(d * s), projected);
        *count = 1;
        return 0;
    });
}
