// Direction objects: a unit direction at a point, kept as a smart object of
// the work part.
#include "core/checks.h"
#include "core/model.h"

#include "omvra.h"

#include <array>
#include <cmath>

namespace {
struct DirectionData {
    std::array<double, 3> origin;
    std::array<double, 3> direction;
};
}  // namespace

int HM_SO_create_dirr_doubles(tag_t owner, int update_option, const double origin[3], const double direction[3],
                              tag_t* dirr) {
    (void)owner;
    (void)update_option;
    if (!origin || !direction || !dirr) return HM_ERR_NULL_POINTER;
    *dirr = 0;
    if (!host::model().work_part) return HM_ERR_NO_PART;
    if (!host::finite3(origin) || !host::finite3(direction)) return HM_ERR_BAD_ARGUMENT;
    const double length = std::sqrt(direction[0] * direction[0] + direction[1] * direction[1] +
                                    direction[2] * direction[2]);
    if (!(length > 1e-12)) return HM_ERR_BAD_ARGUMENT;
    host::Object& o = host::create(HM_direction_type, 0);
    o.data = DirectionData{{origin[0], origin[1], origin[2]},
                           {direction[0] / length, direction[1] / length, direction[2] / length}};
    *dirr = o.tag;
    return 0;
}

int HM_SO_ask_dirr_doubles(tag_t dirr, double origin[3], double direction[3]) {
    if (!origin || !direction) return HM_ERR_NULL_POINTER;
    host::Object* o = host::find(dirr, HM_direction_type);
    if (!o) return HM_ERR_INVALID_TAG;
    const auto* d = std::any_cast<DirectionData>(&o->data);
    for (int i = 0; i < 3; ++i) {
        origin[i] = d->origin[i];
        direction[i] = d->direction[i];
    }
    return 0;
}
