// The 2003 release's projection of a point along a vector: a temporary point
// object carried onto the target by the host's projected-curve feature, the
// projected point read from the feature's group, and everything the
// projection made taken out of the part again.
#include "hm_vd_curve.h"
#include "toolbox/detail/finite.h"
#include "toolbox/detail/owners.h"

#include "omvra.h"

namespace {

namespace detail = carvell::detail;

// The projection gave no point.
constexpr int kNothing = -1;
// The host's option for the projected curves (their associativity).
constexpr int kProjectionOption = 1;
// Shortest direction that still points somewhere.
constexpr double kShortestDirection = 1e-12;

// The projected point of the group: its first member. The group is dissolved
// and its members deleted.
int take_projected_point(tag_t group, double out[3]) {
    detail::SmBlock<tag_t> members;
    int count = 0;
    int status = HM_GROUP_ask_group_data(group, members.out(), &count);
    (void)HM_GROUP_ungroup_top(group);
    detail::Temporaries made;
    for (int i = 0; i < count; ++i) made.add(members[i]);
    if (status != 0) return status;
    if (count < 1) return kNothing;
    double point[3];
    status = HM_CURVE_ask_point_data(members[0], point);
    if (status != 0) return status;
    if (!detail::finite3(point)) return HM_ERR_GEOMETRY;
    for (int k = 0; k < 3; ++k) out[k] = point[k];
    return 0;
}

}  // namespace

int HM_VD_CURVE_project_point_along_vector(const double point[3], const double direction[3], tag_t target,
                                           double out[3]) {
    if (!point || !direction || !out) return HM_ERR_NULL_POINTER;
    if (!detail::finite3(point) || !detail::finite3(direction)) return HM_ERR_BAD_ARGUMENT;
    double length = 0.0;
    if (HM_VEC3_mag(direction, &length) != 0 || !(length > kShortestDirection)) return HM_ERR_BAD_ARGUMENT;
    detail::Temporaries temporary;
    tag_t start = NULL_TAG;
    if (int status = HM_CURVE_create_point(point, &start)) return status;
    temporary.add(start);
    HM_CURVE_proj_curves_data_t data{};
    (void)HM_CURVE_init_proj_curves_data(&data);
    data.proj_dir_method = HM_PROJ_ALONG_VECTOR;
    for (int k = 0; k < 3; ++k) data.proj_vec[k] = direction[k];
    tag_t group = NULL_TAG;
    const int status = HM_CURVE_create_proj_curves(1, &start, 1, &target, kProjectionOption, &data, &group);
    if (status == HM_ERR_GEOMETRY) return kNothing;
    if (status != 0) return status;
    return take_projected_point(group, out);
}
