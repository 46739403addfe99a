// Parameter ("smart") objects: scalars and points of three scalars that,
// with the direction objects, carry the origins and axes of joints and the centres of
// gravity of links.
#include "motion/motion_records.h"

#include "core/checks.h"
#include "omvra.h"

#include <cmath>

using namespace host::motion;

namespace {

// The part of a new parameter object: the given part or the work part.
int part_for(tag_t part, tag_t* owner) {
    *owner = part ? part : host::model().work_part;
    return host::part_data(*owner) ? 0 : (part ? HM_ERR_INVALID_TAG : HM_ERR_NO_PART);
}

}  // namespace

namespace host::motion {

tag_t new_parameter_point(tag_t part, const double coords[3]) {
    PointData point;
    for (int i = 0; i < 3; ++i) {
        Object& s = create(HM_smart_scalar_type, 0, part);
        s.data = ScalarData{coords[i]};
        point.scalars[i] = s.tag;
    }
    Object& p = create(HM_smart_point_type, 0, part);
    p.data = point;
    return p.tag;
}

bool point_coordinates(tag_t point, double coords[3]) {
    const PointData* p = record<PointData>(point, HM_smart_point_type);
    if (!p) return false;
    for (int i = 0; i < 3; ++i) {
        const ScalarData* s = record<ScalarData>(p->scalars[i], HM_smart_scalar_type);
        if (!s) return false;
        coords[i] = s->value;
    }
    return true;
}

bool direction_vector(tag_t direction, double vector[3]) {
    double origin[3];
    return HM_SO_ask_dirr_doubles(direction, origin, vector) == 0;
}

}  // namespace host::motion

int HM_SO_create_scalar_double(tag_t part, int /*update_option*/, double value, tag_t* scalar) {
    if (!scalar) return HM_ERR_NULL_POINTER;
    if (!host::finite_value(value)) return HM_ERR_BAD_ARGUMENT;
    tag_t owner = 0;
    if (int r = part_for(part, &owner)) return r;
    host::Object& s = host::create(HM_smart_scalar_type, 0, owner);
    s.data = ScalarData{value};
    *scalar = s.tag;
    return 0;
}

int HM_SO_create_point_3_scalars(tag_t part, int /*update_option*/, const tag_t scalars[3], tag_t* point) {
    if (!scalars || !point) return HM_ERR_NULL_POINTER;
    tag_t owner = 0;
    if (int r = part_for(part, &owner)) return r;
    for (int i = 0; i < 3; ++i)
        if (!record<ScalarData>(scalars[i], HM_smart_scalar_type))
            return host::find(scalars[i]) ? HM_ERR_WRONG_TYPE : HM_ERR_INVALID_TAG;
    host::Object& p = host::create(HM_smart_point_type, 0, owner);
    p.data = PointData{{scalars[0], scalars[1], scalars[2]}};
    *point = p.tag;
    return 0;
}

int HM_SO_ask_3_scalars_of_point(tag_t point, tag_t scalars[3]) {
    if (!scalars) return HM_ERR_NULL_POINTER;
    const PointData* p = record<PointData>(point, HM_smart_point_type);
    if (!p) return host::find(point) ? HM_ERR_WRONG_TYPE : HM_ERR_INVALID_TAG;
    for (int i = 0; i < 3; ++i) scalars[i] = p->scalars[i];
    return 0;
}

int HM_SO_set_double_of_scalar(tag_t scalar, double value) {
    ScalarData* s = record<ScalarData>(scalar, HM_smart_scalar_type);
    if (!s) return host::find(scalar) ? HM_ERR_WRONG_TYPE : HM_ERR_INVALID_TAG;
    if (!host::finite_value(value)) return HM_ERR_BAD_ARGUMENT;
    s->value = value;
    return 0;
}

int HM_SO_ask_double_of_scalar(tag_t scalar, double* value) {
    if (!value) return HM_ERR_NULL_POINTER;
    const ScalarData* s = record<ScalarData>(scalar, HM_smart_scalar_type);
    if (!s) return host::find(scalar) ? HM_ERR_WRONG_TYPE : HM_ERR_INVALID_TAG;
    *value = s->value;
    return 0;
}

int HM_SO_ask_point_coordinates(tag_t point, double coords[3]) {
    if (!coords) return HM_ERR_NULL_POINTER;
    double c[3];
    if (!point_coordinates(point, c)) return host::find(point) ? HM_ERR_WRONG_TYPE : HM_ERR_INVALID_TAG;
    for (int i = 0; i < 3; ++i) coords[i] = c[i];
    return 0;
}
