// The joint as this release's host makes it: a joint record of the
// library's code as a host type, a direction object on each link, the
// origin as a point of three scalar objects; the frames made before serve
// only the orientation's check.
#include "suspension_motion.h"

#include "omvra.h"

#include <cstdio>

namespace carvell::suspension {
namespace {

// The host's update option of the joints' parameter objects: kept up to date with the part.
constexpr int kUpdateWithPart = 2;

// The origin as a point of three scalar objects of the work part; each
// object made is handed to `made`.
int origin_point(const double origin[3], carvell::detail::Temporaries& made, tag_t* point) {
    tag_t scalars[3];
    for (int i = 0; i < 3; ++i) {
        if (int status = HM_SO_create_scalar_double(0, kUpdateWithPart, origin[i], &scalars[i])) return status;
        made.add(scalars[i]);
    }
    if (int status = HM_SO_create_point_3_scalars(0, kUpdateWithPart, scalars, point)) return status;
    made.add(*point);
    return 0;
}

}  // namespace

int create_host_joint(const char* name, int code, tag_t first_link, tag_t second_link, double value, tag_t,
                      tag_t, const double first_direction[3], const double second_direction[3],
                      const double origin[3], carvell::detail::Temporaries& made, tag_t* joint) {
    HM_MOTION_joint_t record;
    (void)HM_MOTION_init_joint_struct(&record);
    std::snprintf(record.name, sizeof record.name, "%s", name);
    record.type = joint_type_of_code(code);
    record.first_link = first_link;
    record.second_link = second_link;
    if (int status = HM_SO_create_dirr_doubles(0, kUpdateWithPart, origin, first_direction, &record.first_direction))
        return status;
    made.add(record.first_direction);
    if (second_link != 0) {
        if (int status =
                HM_SO_create_dirr_doubles(0, kUpdateWithPart, origin, second_direction, &record.second_direction))
            return status;
        made.add(record.second_direction);
    }
    tag_t point = 0;
    if (int status = origin_point(origin, made, &point)) return status;
    record.first_origin = point;
    record.second_origin = point;
    record.value = value;
    return HM_MOTION_create_joint(&record, joint);
}


}  // namespace carvell::suspension
