// HM_VD_MC_init_data and HM_VD_MC_release_data: the working record of a
// mirror certification made ready from the dialog's input record, and freed.
#include "mirror_record.h"

#include "hm_vd_mc.h"
#include "omvra.h"
#include "quillon.h"
#include "rostval.h"
#include "toolbox/detail/owners.h"

#include <cstring>

namespace carvell::mirror {
namespace {

void copy3(double out[3], const double in[3]) { std::memcpy(out, in, 3 * sizeof(double)); }

// 0 farthest sample, 2 nearest (input 1), 1 midway (any other input).
int stored_selection_mode(int input) { return input == 0 ? 0 : input == 1 ? 2 : 1; }

void copy_inputs(const mc_input_data_t& in, mc_data_s* data) {
    data->eyellipse_rule_name = in.eyellipse_rule_name;
    data->eyellipse_size = in.eyellipse_size;
    data->eye_selection_mode = stored_selection_mode(in.eye_selection_mode);
    copy3(data->eye_reference_point, in.eye_reference_point);
    data->ocular_back_angle_index = in.ocular_back_angle_index;
    data->ocular_adjustment_index = in.ocular_adjustment_index;
    data->head_rotation = in.head_rotation;
    data->mirror = in.mirror;
    data->positioning = in.positioning;
    copy3(data->mirror_reference_point, in.mirror_reference_point);
    copy3(data->prime_point, in.prime_point);
    data->skip_area_test = in.skip_area_test;
    data->opposite_mirror = in.opposite_mirror;

    data->bezels = detail::list_of_tags(in.bezel_count, in.bezels);
    data->has_bezel = data->bezels != nullptr;
    copy3(data->first_target_point, in.first_target_point);
    copy3(data->second_target_point, in.second_target_point);
    copy3(data->ground_point, in.ground_point);
    data->backlite_faces = detail::list_of_tags(in.backlite_count, in.backlite_faces);
    data->backlite_sheet = data->backlite_faces ? in.backlite_faces[0] : NULL_TAG;

    data->mirror_shape = in.mirror_shape;
    data->user_radius = in.user_radius;
    data->lower_legal_radius = in.lower_legal_radius;
    data->upper_legal_radius = in.upper_legal_radius;
}

void copy_user_values(const mc_input_data_t& in, mc_data_s* data) {
    data->user_override = in.user_override;
    if (data->user_override) {
        data->user_distance[0] = in.user_distance;
        data->user_width[0] = in.user_value;
        if (data->mirror_kind == 0 && (data->standard_row == 0 || data->standard_row == 3))
            data->user_angle[0] = in.user_value;
    }
    data->loading = in.loading;
    if (data->loading) std::memcpy(data->loading_points, in.loading_points, sizeof data->loading_points);

    data->eye_mirror_restrictions = detail::list_of_tags(in.eye_mirror_restriction_count, in.eye_mirror_restrictions);
    data->has_eye_mirror_restrictions = data->eye_mirror_restrictions != nullptr;
    data->mirror_target_restrictions = detail::list_of_tags(in.mirror_target_restriction_count, in.mirror_target_restrictions);
    data->has_mirror_target_restrictions = data->mirror_target_restrictions != nullptr;

    // The dialog lists colours 5 and 6 the other way round.
    const int order[7] = {0, 1, 2, 3, 5, 4, 6};
    for (int i = 0; i < 7; ++i) data->colours[order[i]] = in.colours[i];
    data->caller_message_count = in.caller_messages ? in.caller_message_count : 0;
    data->caller_messages = in.caller_messages;

    data->standard_distance[0] = in.standard_distance;
    data->standard_width[0] = in.standard_value;
    data->standard_angle[0] = in.standard_value;
    data->standard_width[1] = second_target_width(data->mirror_kind, data->standard_row, data->units);
}

void ask_units_and_tolerances(mc_data_s* data) {
    int units = 1;
    if (HM_PART_ask_units(HM_ASSEM_ask_work_part(), &units) == 0) data->units = units - 1;
    double tolerance = 0.0;
    if (HM_MODL_ask_distance_tolerance(&tolerance) == 0) data->distance_tolerance = tolerance;
    // A tenth of the modelling angle tolerance, in degrees.
    data->angle_tolerance = TOLER_ask_angular_tol() * kDegreesPerRadian / 10.0;
}

void allocate_result_record(mc_data_s* data) {
    if (data->mirror_kind == 0) {
        data->inside = detail::zeroed_block<mc_inside_result_s>();
        if (!data->inside) return;
        data->inside->upper = detail::zeroed_block<mc_inside_target_s>();
        data->inside->lower = detail::zeroed_block<mc_inside_target_s>();
        (void)HM_MODL_create_list(&data->inside->result_objects);
        return;
    }
    data->outside = detail::zeroed_block<mc_outside_result_s>();
    if (!data->outside) return;
    data->outside->surface = detail::zeroed_block<mc_mirror_surface_record>();
    if (data->outside->surface) data->outside->surface->normal[0] = 1.0;
    data->outside->first = detail::zeroed_block<mc_outside_target_s>();
    data->outside->second = detail::zeroed_block<mc_outside_target_s>();
    (void)HM_MODL_create_list(&data->outside->result_objects);
}

void release_result_record(mc_data_s* data) {
    if (mc_outside_result_s* outside = data->outside) {
        detail::delete_list(&outside->result_objects);
        detail::free_block(&outside->first);
        detail::free_block(&outside->second);
        detail::free_block(&outside->surface);
        detail::free_block(&data->outside);
    }
    if (mc_inside_result_s* inside = data->inside) {
        detail::delete_list(&inside->result_objects);
        detail::free_block(&inside->upper);
        detail::free_block(&inside->lower);
        detail::free_block(&data->inside);
    }
}

// The eye-point method's eye data: with the eyellipse, its two plan-view
// conics and its reference point in place of the eye reference point. An
// eyellipse that cannot be read (or conics that cannot be made) leaves
// zeroed eye data and no conics, so that the run's eye-point stage fails
// instead of working from undefined values.
void set_up_eyes(mc_data_s* data) {
    if (data->eye_method == 0) {
        data->head_rotation = true;
        data->eyellipse_conics[0] = NULL_TAG;
        data->eyellipse_conics[1] = NULL_TAG;
        data->eyellipse_rule_name_used = data->eyellipse_rule_name;
        EyellipseLookup lookup{};
        if (eyellipse_lookup(data->eyellipse_rule_name, data->eyellipse_size, &lookup) != 0) return;
        if (eyellipse_conics(lookup, data->eyellipse_conics) != 0) return;
        copy3(data->eye_reference_point, lookup.reference);
        return;
    }
    copy3(data->saved_eye_reference_point, data->eye_reference_point);
}

// What an initialisation leaves and a release nulls: the message array, the
// warning table and the result record of the record's kind.
bool holds_initialisation(const mc_data_s& data) {
    const bool result_record = data.mirror_kind == 0 ? data.inside && !data.outside : data.outside && !data.inside;
    return data.messages && data.warnings && result_record;
}

}  // namespace
}  // namespace carvell::mirror

using namespace carvell::mirror;
namespace detail = carvell::detail;

int HM_VD_MC_init_data(mc_input_data_t* input, mc_data_s* data) {
    if (!input || !data || !input_is_sound(*input)) return -1;
    const mc_input_data_t& in = *input;
    if (holds_initialisation(*data)) HM_VD_MC_release_data(data);
    zero_fill(data);
    std::memcpy(data->vehicle_origin, in.vehicle_origin, sizeof data->vehicle_origin);
    std::memcpy(data->vehicle_orientation, in.vehicle_orientation, sizeof data->vehicle_orientation);
    data->mirror_kind = in.mirror_kind;
    data->standard_row = in.standard_row;
    data->result_layer = in.result_layer;
    name_region_and_standard(data->mirror_kind, data->standard_row, data->region_name, data->standard_name);
    data->eye_method = eye_method(data->mirror_kind, data->standard_row);
    ask_units_and_tolerances(data);
    copy_inputs(in, data);
    copy_user_values(in, data);
    allocate_result_record(data);
    set_up_eyes(data);

    data->initial_mirror = data->mirror;
    copy3(data->saved_mirror_reference_point, data->mirror_reference_point);
    copy3(data->saved_prime_point, data->prime_point);
    data->initial_bezels = detail::copy_of_list(data->bezels);
    data->initial_backlite_sheet = data->backlite_sheet;
    data->initial_eye_mirror_restrictions = detail::copy_of_list(data->eye_mirror_restrictions);
    data->initial_mirror_target_restrictions = detail::copy_of_list(data->mirror_target_restrictions);

    data->message_count = 0;
    data->messages = static_cast<char**>(SM_calloc(MC_MAX_MESSAGES, sizeof(char*)));
    data->error_text[0] = '\0';
    data->warnings = build_warning_table();
    return 0;
}

void HM_VD_MC_release_data(mc_data_s* data) {
    if (!data) return;
    detail::delete_list(&data->bezels);
    detail::delete_list(&data->eye_mirror_restrictions);
    detail::delete_list(&data->mirror_target_restrictions);
    release_result_record(data);
    detail::delete_list(&data->backlite_faces);
    detail::delete_list(&data->initial_bezels);
    detail::delete_list(&data->initial_eye_mirror_restrictions);
    detail::delete_list(&data->initial_mirror_target_restrictions);
    if (data->messages) {
        for (int i = 0; i < MC_MAX_MESSAGES; ++i) SM_free(data->messages[i]);
        SM_free(data->messages);
        data->messages = nullptr;
    }
    data->message_count = 0;
    free_warning_table(&data->warnings);
}
