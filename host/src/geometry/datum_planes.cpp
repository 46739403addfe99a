// Datum planes made by applications: through a point with a normal.
#include "geometry/curves_internal.h"

#include <Geom_Plane.hxx>

int HM_MODL_create_datum_plane(const double origin[3], const double normal[3], tag_t* datum) {
    if (!origin || !normal || !datum) return HM_ERR_NULL_POINTER;
    *datum = 0;
    if (!host::work_part_data()) return HM_ERR_NO_PART;
    const gp_Vec n = host::vec_of(normal);
    if (!host::finite3(origin) || !host::finite3(normal) || !(n.Magnitude() > 1.0e-12)) return HM_ERR_BAD_ARGUMENT;
    host::Object& o = host::create(HM_datum_type, 0);
    o.surface = new Geom_Plane(host::point_of(origin), gp_Dir(n));
    *datum = o.tag;
    return 0;
}
