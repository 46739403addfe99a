// The zero-fill of the mirror-certification working record (the defaults
// every run starts from), and the checks that a caller's input record,
// working record and mirror surface hold only finite numbers and counts the
// library can take.
#include "mirror_record.h"

#include "toolbox/detail/finite.h"

#include <cstring>

namespace carvell::mirror {

void zero_fill(mc_data_s* data) {
    std::memset(static_cast<void*>(data), 0, sizeof *data);
    data->distance_tolerance = kDefaultTolerance;
    data->angle_tolerance = kDefaultTolerance;
    data->third_tolerance = kDefaultTolerance;
    data->lower_legal_radius = kDefaultLowerLegalRadius;
    data->upper_legal_radius = kDefaultUpperLegalRadius;
    data->positioning = true;
    data->skip_area_test = true;
    for (int& colour : data->colours) colour = kDefaultColour;
    data->certifies = true;
}

namespace {

using detail::all_finite;
using detail::finite3;

// A caller's count of objects: 0 (none) to HM_VD_MC_MAX_OBJECTS, with an
// array when it is not 0.
bool object_count(int count, const void* array) {
    return count >= 0 && count <= HM_VD_MC_MAX_OBJECTS && (count == 0 || array);
}

}  // namespace

bool input_is_sound(const mc_input_data_t& in) {
    if (!object_count(in.bezel_count, in.bezels) || !object_count(in.backlite_count, in.backlite_faces) ||
        !object_count(in.eye_mirror_restriction_count, in.eye_mirror_restrictions) ||
        !object_count(in.mirror_target_restriction_count, in.mirror_target_restrictions))
        return false;
    // Caller messages: a null array stands for none, whatever the count.
    if (in.caller_messages && (in.caller_message_count < 0 || in.caller_message_count > HM_VD_MC_MAX_OBJECTS))
        return false;
    // The loading points and the user's values are read only when their flag is set.
    if (in.loading && !all_finite(&in.loading_points[0][0], 9)) return false;
    if (in.user_override && !all_finite({in.user_distance, in.user_value})) return false;
    return all_finite(in.vehicle_orientation, 9) && finite3(in.vehicle_origin) && finite3(in.eye_reference_point) &&
           finite3(in.mirror_reference_point) && finite3(in.prime_point) && finite3(in.first_target_point) &&
           finite3(in.second_target_point) && finite3(in.ground_point) &&
           all_finite({in.lower_legal_radius, in.upper_legal_radius, in.standard_distance, in.standard_value,
                       in.user_radius});
}

bool surface_is_finite(const mc_mirror_surface_record& s) {
    return finite3(s.centre) && finite3(s.vertex) && finite3(s.normal) && all_finite({s.curvature, s.radius});
}

bool outside_eyes_finite(const mc_outside_result_s& o) {
    return finite3(o.left_eye) && finite3(o.mid_eye) && finite3(o.right_eye) && finite3(o.pivot);
}

bool record_is_finite(const mc_data_s& d) {
    return all_finite(d.vehicle_orientation, 9) && finite3(d.vehicle_origin) && finite3(d.eye_reference_point) &&
           finite3(d.mirror_reference_point) && finite3(d.prime_point) && finite3(d.first_target_point) &&
           finite3(d.second_target_point) && finite3(d.ground_point) && finite3(d.mid_eye_point) &&
           all_finite(&d.loading_points[0][0], 9) &&
           all_finite({d.distance_tolerance, d.angle_tolerance, d.third_tolerance, d.user_radius,
                       d.lower_legal_radius, d.upper_legal_radius, d.user_distance[0], d.user_width[0],
                       d.user_angle[0], d.standard_distance[0], d.standard_width[0], d.standard_width[1],
                       d.standard_angle[0]});
}

}  // namespace carvell::mirror
