// Named builders: a point, a line, the mechanism or a link found again by
// its name, so that building twice edits or replaces instead of adding; and
// the mirror image of a point through a plane.
#include "suspension_motion.h"
#include "toolbox/detail/finite.h"

#include "hm_vd_motion.h"
#include "morvish.h"
#include "omvra.h"
#include "quillon.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace sus = carvell::suspension;

namespace {

constexpr int kMechanismNameLength = 159;

// The first motion link of the work part whose name's last component is
// the name in any case; 0 when none.
tag_t link_named(const char* name) {
    tag_t object = 0;
    int type = HM_motion_link_type;
    char found[HM_MOTION_NAME_SIZE];
    while (HM_VD_MOTION_cycle_obj(&object, &type) == 0 && object != 0) {
        if (HM_OBJ_ask_name(object, found, sizeof found) == 0 && STR_compare_leaf_i(found, name) == 0) return object;
    }
    return 0;
}

}  // namespace

int HM_VD_mirror_point_through_plane(const double point[3], const double plane_point[3], const double plane_normal[3],
                                     double mirror[3]) {
    if (!point || !plane_point || !plane_normal || !mirror) return sus::kBadInput;
    // The normal scaled to a largest component of 1, so that a normal of
    // any finite length gives the same plane without overflow.
    double largest = 0.0;
    for (int i = 0; i < 3; ++i) largest = std::fmax(largest, std::fabs(plane_normal[i]));
    // A zero normal names no plane: the mirror is left as it was.
    if (!(largest > 0.0) || !std::isfinite(largest)) return sus::kBadInput;
    double n[3], offset = 0.0, length2 = 0.0;
    for (int i = 0; i < 3; ++i) {
        n[i] = plane_normal[i] / largest;
        offset += (point[i] - plane_point[i]) * n[i];
        length2 += n[i] * n[i];
    }
    const double t = -offset / length2;
    double result[3];
    for (int i = 0; i < 3; ++i) result[i] = 2.0 * (point[i] + t * n[i]) - point[i];
    // A NaN or infinite input, or a mirror point beyond the doubles, gives
    // no point: the mirror is left as it was.
    if (!carvell::detail::finite3(result)) return sus::kBadInput;
    for (int i = 0; i < 3; ++i) mirror[i] = result[i];
    return sus::kOk;
}

int HM_VD_build_point(const char* name, const double coords[3]) {
    if (!name || !coords) return sus::kBadInput;
    const tag_t part = CONTEXT_ask_work_part();
    if (!part) return sus::kBadInput;
    if (tag_t found = HM_OBJ_cycle_by_name_and_type(part, name, HM_point_type, 0))
        return HM_CURVE_edit_point_data(found, coords);
    tag_t point = 0;
    const int status = HM_CURVE_create_point(coords, &point);
    // Named only when made (naming nothing would answer the host's refusal
    // of tag 0 and hide the creation's code).
    if (status == 0 && point) (void)HM_OBJ_set_name(point, name);
    return status;
}

int HM_VD_build_line(const char* name, const double start[3], const double end[3]) {
    if (!name || !start || !end) return sus::kBadInput;
    const tag_t part = CONTEXT_ask_work_part();
    if (!part) return sus::kBadInput;
    HM_CURVE_line_t data;
    for (int i = 0; i < 3; ++i) {
        data.start_point[i] = start[i];
        data.end_point[i] = end[i];
    }
    if (tag_t found = HM_OBJ_cycle_by_name_and_type(part, name, HM_line_type, 0))
        return HM_CURVE_edit_line_data(found, &data);
    tag_t line = 0;
    const int status = HM_CURVE_create_line(&data, &line);
    if (status == 0 && line) (void)HM_OBJ_set_name(line, name);
    return status;
}

int HM_VD_build_mechanism(const char* name, tag_t* mechanism) {
    if (!name || !mechanism) return sus::kBadInput;
    sus::HostSession session;
    char copy[kMechanismNameLength + 1];
    std::snprintf(copy, sizeof copy, "%s", name);
    return HM_VD_MOTION_create_mech(copy, mechanism);
}

int HM_VD_build_link(const char* name, tag_t* geometry, int count, tag_t* link) {
    if (!name || !link) return sus::kBadInput;
    sus::HostSession session;
    // The link of the name is replaced only once its successor is made: a
    // refused link leaves the one there was.
    const tag_t old = link_named(name);
    tag_t made = 0;
    const int status = HM_VD_MOTION_create_simple_link(name, geometry, count, &made);
    if (status == 0 && old) (void)HM_OBJ_delete_object(old);
    *link = status == 0 ? made : 0;
    return status;
}
