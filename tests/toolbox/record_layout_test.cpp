// The records that a host dialog fills or reads, field by field in their
// documented order: the stone-impingement record and its per-face results,
// the mirror-certification input, working and result records, the A-pillar,
// field-of-view, eyellipse, glazing, hood and instrument-panel records, the
// reflection display settings, the H-point design record, the tire envelope
// parameter block, the tire-envelope tool's value, the three suspension
// records and the link mass information. (The windshield record has its own
// test with its family.)
#include "hm_vd_fla_susp.h"
#include "hm_vd_mac_susp.h"
#include "hm_vd_mc.h"
#include "hm_vd_motion.h"
#include "hm_vd_si.h"
#include "hm_vd_sla_susp.h"
#include "hm_vd_vision.h"
#include "hpd/record.h"
#include "tire_envelope.h"
#include "vd_evt.h"

#include "record_layout.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdio>
#include <vector>

namespace {

using support::LaidField;

struct Record {
    const char* name;
    std::size_t size;
    std::vector<LaidField> fields;
};

std::vector<Record> stone_records() {
    return {
        {"si_data_s", sizeof(si_data_s),
         {CARVELL_FIELD(si_data_s, caller_block, char, 96), CARVELL_FIELD(si_data_s, mode, int),
          CARVELL_FIELD(si_data_s, error_count, int), CARVELL_FIELD(si_data_s, error_log, int, 50),
          CARVELL_FIELD(si_data_s, face_count, int), CARVELL_FIELD(si_data_s, blocking_count, int),
          CARVELL_FIELD(si_data_s, colour_count, int), CARVELL_FIELD(si_data_s, colour_table, int*),
          CARVELL_FIELD(si_data_s, tire_diameter, double), CARVELL_FIELD(si_data_s, launch_offset, double),
          CARVELL_FIELD(si_data_s, lateral_base, double), CARVELL_FIELD(si_data_s, tread_width, double),
          CARVELL_FIELD(si_data_s, launch_height, double), CARVELL_FIELD(si_data_s, x_limit, double),
          CARVELL_FIELD(si_data_s, angle_threshold, double),
          CARVELL_FIELD(si_data_s, contour_angle_input, double, 3),
          CARVELL_FIELD(si_data_s, tolerances, double, 6), CARVELL_FIELD(si_data_s, options, unsigned char, 8),
          CARVELL_FIELD(si_data_s, face_tags, tag_t*), CARVELL_FIELD(si_data_s, blocking_tags, tag_t, 10000),
          CARVELL_FIELD(si_data_s, wheel_centre, double*),
          CARVELL_FIELD(si_data_s, face_results, si_face_result_s**)}},
        {"si_face_result_s", sizeof(si_face_result_s),
         {CARVELL_FIELD(si_face_result_s, area_count, int), CARVELL_FIELD(si_face_result_s, area_sizes, int*),
          CARVELL_FIELD(si_face_result_s, area_angles, double*),
          CARVELL_FIELD(si_face_result_s, area_list, hm_list_p_t),
          CARVELL_FIELD(si_face_result_s, stone_path_list, hm_list_p_t),
          CARVELL_FIELD(si_face_result_s, contour_list, hm_list_p_t),
          CARVELL_FIELD(si_face_result_s, band_list, hm_list_p_t),
          CARVELL_FIELD(si_face_result_s, blocking_lists, hm_list_p_t, 10000),
          CARVELL_FIELD(si_face_result_s, outline_list, hm_list_p_t),
          CARVELL_FIELD(si_face_result_s, label_list, hm_list_p_t),
          CARVELL_FIELD(si_face_result_s, single_line, unsigned char),
          CARVELL_FIELD(si_face_result_s, face_hit, unsigned char)}},
        {"si_contour_record", sizeof(si_contour_record),
         {CARVELL_FIELD(si_contour_record, curve, tag_t), CARVELL_FIELD(si_contour_record, angle, double),
          CARVELL_FIELD(si_contour_record, first_section, int),
          CARVELL_FIELD(si_contour_record, last_section, int)}},
    };
}

// The input record holds further fields the library does not read between
// those it reads; only the order of the read ones is documented.
std::vector<Record> mirror_records() {
    using In = mc_input_data_t;
    using D = mc_data_s;
    return {
        {"mc_input_data_t", sizeof(In),
         {CARVELL_FIELD(In, vehicle_orientation, double, 9), CARVELL_FIELD(In, vehicle_origin, double, 3),
          CARVELL_FIELD(In, mirror_kind, int), CARVELL_FIELD(In, standard_row, int),
          CARVELL_FIELD(In, eyellipse_size, int), CARVELL_FIELD(In, eyellipse_rule_name, const char*),
          CARVELL_FIELD(In, eye_selection_mode, int), CARVELL_FIELD(In, eye_reference_point, double, 3),
          CARVELL_FIELD(In, ocular_back_angle_index, int), CARVELL_FIELD(In, ocular_adjustment_index, int),
          CARVELL_FIELD(In, head_rotation, bool), CARVELL_FIELD(In, lower_legal_radius, double),
          CARVELL_FIELD(In, upper_legal_radius, double), CARVELL_FIELD(In, standard_distance, double),
          CARVELL_FIELD(In, standard_value, double), CARVELL_FIELD(In, mirror, tag_t),
          CARVELL_FIELD(In, positioning, bool), CARVELL_FIELD(In, mirror_reference_point, double, 3),
          CARVELL_FIELD(In, prime_point, double, 3), CARVELL_FIELD(In, skip_area_test, bool),
          CARVELL_FIELD(In, opposite_mirror, tag_t), CARVELL_FIELD(In, bezel_count, int),
          CARVELL_FIELD(In, bezels, const tag_t*), CARVELL_FIELD(In, first_target_point, double, 3),
          CARVELL_FIELD(In, second_target_point, double, 3), CARVELL_FIELD(In, ground_point, double, 3),
          CARVELL_FIELD(In, backlite_count, int), CARVELL_FIELD(In, backlite_faces, const tag_t*),
          CARVELL_FIELD(In, mirror_shape, int), CARVELL_FIELD(In, user_radius, double),
          CARVELL_FIELD(In, user_override, bool), CARVELL_FIELD(In, user_distance, double),
          CARVELL_FIELD(In, user_value, double), CARVELL_FIELD(In, loading, bool),
          CARVELL_FIELD(In, loading_points, double, 9), CARVELL_FIELD(In, eye_mirror_restriction_count, int),
          CARVELL_FIELD(In, eye_mirror_restrictions, const tag_t*),
          CARVELL_FIELD(In, mirror_target_restriction_count, int),
          CARVELL_FIELD(In, mirror_target_restrictions, const tag_t*), CARVELL_FIELD(In, colours, int, 7),
          CARVELL_FIELD(In, caller_message_count, int), CARVELL_FIELD(In, caller_messages, const char* const*),
          CARVELL_FIELD(In, result_layer, int)}},
        {"mc_data_s", sizeof(D),
         {CARVELL_FIELD(D, vehicle_orientation, double, 9), CARVELL_FIELD(D, vehicle_origin, double, 3),
          CARVELL_FIELD(D, units, int), CARVELL_FIELD(D, mirror_kind, int), CARVELL_FIELD(D, standard_row, int),
          CARVELL_FIELD(D, eye_method, int), CARVELL_FIELD(D, eyellipse_rule_name, const char*),
          CARVELL_FIELD(D, eyellipse_rule_name_used, const char*), CARVELL_FIELD(D, eyellipse_size, int),
          CARVELL_FIELD(D, eyellipse_conics, tag_t, 2), CARVELL_FIELD(D, eye_selection_mode, int),
          CARVELL_FIELD(D, eye_reference_point, double, 3), CARVELL_FIELD(D, saved_eye_reference_point, double, 3),
          CARVELL_FIELD(D, ocular_back_angle_index, int), CARVELL_FIELD(D, ocular_adjustment_index, int),
          CARVELL_FIELD(D, head_rotation, bool), CARVELL_FIELD(D, region_name, char, 200),
          CARVELL_FIELD(D, standard_name, char, 200), CARVELL_FIELD(D, distance_tolerance, double),
          CARVELL_FIELD(D, angle_tolerance, double), CARVELL_FIELD(D, third_tolerance, double),
          CARVELL_FIELD(D, mirror, tag_t), CARVELL_FIELD(D, positioning, bool),
          CARVELL_FIELD(D, mirror_name, char, 200), CARVELL_FIELD(D, initial_mirror, tag_t),
          CARVELL_FIELD(D, mirror_elements, mc_geometry_set_s), CARVELL_FIELD(D, mirror_reference_point, double, 3),
          CARVELL_FIELD(D, saved_mirror_reference_point, double, 3), CARVELL_FIELD(D, prime_point, double, 3),
          CARVELL_FIELD(D, saved_prime_point, double, 3), CARVELL_FIELD(D, has_bezel, bool),
          CARVELL_FIELD(D, bezels, hm_list_p_t), CARVELL_FIELD(D, initial_bezels, hm_list_p_t),
          CARVELL_FIELD(D, bezel_name, char, 200), CARVELL_FIELD(D, opposite_mirror, tag_t),
          CARVELL_FIELD(D, initial_opposite_mirror, tag_t), CARVELL_FIELD(D, skip_area_test, bool),
          CARVELL_FIELD(D, first_target_point, double, 3), CARVELL_FIELD(D, second_target_point, double, 3),
          CARVELL_FIELD(D, ground_point, double, 3), CARVELL_FIELD(D, backlite_faces, hm_list_p_t),
          CARVELL_FIELD(D, backlite_sheet, tag_t), CARVELL_FIELD(D, backlite_name, char, 200),
          CARVELL_FIELD(D, initial_backlite_sheet, tag_t), CARVELL_FIELD(D, mid_eye_point, double, 3),
          CARVELL_FIELD(D, outside_value, double), CARVELL_FIELD(D, user_radius, double),
          CARVELL_FIELD(D, lower_legal_radius, double), CARVELL_FIELD(D, upper_legal_radius, double),
          CARVELL_FIELD(D, mirror_shape, int), CARVELL_FIELD(D, user_override, bool),
          CARVELL_FIELD(D, user_distance, double, 2), CARVELL_FIELD(D, user_width, double, 2),
          CARVELL_FIELD(D, user_angle, double, 2), CARVELL_FIELD(D, standard_distance, double, 2),
          CARVELL_FIELD(D, standard_width, double, 2), CARVELL_FIELD(D, standard_angle, double, 2),
          CARVELL_FIELD(D, loading, bool), CARVELL_FIELD(D, loading_points, double, 9),
          CARVELL_FIELD(D, has_eye_mirror_restrictions, bool), CARVELL_FIELD(D, has_mirror_target_restrictions, bool),
          CARVELL_FIELD(D, eye_mirror_restrictions, hm_list_p_t),
          CARVELL_FIELD(D, mirror_target_restrictions, hm_list_p_t),
          CARVELL_FIELD(D, initial_eye_mirror_restrictions, hm_list_p_t),
          CARVELL_FIELD(D, initial_mirror_target_restrictions, hm_list_p_t), CARVELL_FIELD(D, colours, int, 7),
          CARVELL_FIELD(D, caller_message_count, int), CARVELL_FIELD(D, caller_messages, const char* const*),
          CARVELL_FIELD(D, message_count, int), CARVELL_FIELD(D, messages, char**),
          CARVELL_FIELD(D, error_text, char, 5000), CARVELL_FIELD(D, outside, mc_outside_result_s*),
          CARVELL_FIELD(D, inside, mc_inside_result_s*), CARVELL_FIELD(D, warnings, char**),
          CARVELL_FIELD(D, result_layer, int), CARVELL_FIELD(D, certifies, bool)}},
        {"mc_geometry_set_s", sizeof(mc_geometry_set_s),
         {CARVELL_FIELD(mc_geometry_set_s, source, tag_t), CARVELL_FIELD(mc_geometry_set_s, face, tag_t),
          CARVELL_FIELD(mc_geometry_set_s, edge_curve_count, int),
          CARVELL_FIELD(mc_geometry_set_s, edge_curves, tag_t*), CARVELL_FIELD(mc_geometry_set_s, outline, tag_t),
          CARVELL_FIELD(mc_geometry_set_s, point_count, int), CARVELL_FIELD(mc_geometry_set_s, points, double**),
          CARVELL_FIELD(mc_geometry_set_s, break_count, int), CARVELL_FIELD(mc_geometry_set_s, breaks, int*)}},
        {"mc_inside_target_s", sizeof(mc_inside_target_s),
         {CARVELL_FIELD(mc_inside_target_s, head_rotation, double, 12),
          CARVELL_FIELD(mc_inside_target_s, closest_ground_point, double, 3),
          CARVELL_FIELD(mc_inside_target_s, down_angle, double), CARVELL_FIELD(mc_inside_target_s, up_angle, double)}},
        {"mc_inside_result_s", sizeof(mc_inside_result_s),
         {CARVELL_FIELD(mc_inside_result_s, left_eye, double, 3), CARVELL_FIELD(mc_inside_result_s, mid_eye, double, 3),
          CARVELL_FIELD(mc_inside_result_s, right_eye, double, 3), CARVELL_FIELD(mc_inside_result_s, pivot, double, 3),
          CARVELL_FIELD(mc_inside_result_s, further_point, double, 3),
          CARVELL_FIELD(mc_inside_result_s, standard_ground_point, double, 3),
          CARVELL_FIELD(mc_inside_result_s, result_objects, hm_list_p_t),
          CARVELL_FIELD(mc_inside_result_s, analysis_word, int),
          CARVELL_FIELD(mc_inside_result_s, upper, mc_inside_target_s*),
          CARVELL_FIELD(mc_inside_result_s, lower, mc_inside_target_s*),
          CARVELL_FIELD(mc_inside_result_s, analysis_point, double, 3),
          CARVELL_FIELD(mc_inside_result_s, analysis_values, double, 4)}},
        {"mc_mirror_surface_record", sizeof(mc_mirror_surface_record),
         {CARVELL_FIELD(mc_mirror_surface_record, centre, double, 3),
          CARVELL_FIELD(mc_mirror_surface_record, curvature, double),
          CARVELL_FIELD(mc_mirror_surface_record, radius, double),
          CARVELL_FIELD(mc_mirror_surface_record, vertex, double, 3),
          CARVELL_FIELD(mc_mirror_surface_record, normal, double, 3)}},
        {"mc_outside_target_s", sizeof(mc_outside_target_s),
         {CARVELL_FIELD(mc_outside_target_s, point_a, double, 3), CARVELL_FIELD(mc_outside_target_s, point_b, double, 3),
          CARVELL_FIELD(mc_outside_target_s, inboard_deviation, double),
          CARVELL_FIELD(mc_outside_target_s, outboard_deviation, double),
          CARVELL_FIELD(mc_outside_target_s, visible_width_margin, double),
          CARVELL_FIELD(mc_outside_target_s, ground_reach_margin, double)}},
        {"mc_outside_result_s", sizeof(mc_outside_result_s),
         {CARVELL_FIELD(mc_outside_result_s, ambinocular_angle_at_ground_pv, double),
          CARVELL_FIELD(mc_outside_result_s, left_eye, double, 3), CARVELL_FIELD(mc_outside_result_s, mid_eye, double, 3),
          CARVELL_FIELD(mc_outside_result_s, right_eye, double, 3), CARVELL_FIELD(mc_outside_result_s, pivot, double, 3),
          CARVELL_FIELD(mc_outside_result_s, further_point, double, 3),
          CARVELL_FIELD(mc_outside_result_s, mirror_rotation_angle_ls, double),
          CARVELL_FIELD(mc_outside_result_s, mirror_rotation_angle_pv, double),
          CARVELL_FIELD(mc_outside_result_s, value_a, double),
          CARVELL_FIELD(mc_outside_result_s, head_turn_angle_pv, double),
          CARVELL_FIELD(mc_outside_result_s, max_ambinocular_angle_pv, double),
          CARVELL_FIELD(mc_outside_result_s, values_b, double, 4),
          CARVELL_FIELD(mc_outside_result_s, driver_mirror_area_percentage, double),
          CARVELL_FIELD(mc_outside_result_s, surface, mc_mirror_surface_record*),
          CARVELL_FIELD(mc_outside_result_s, result_objects, hm_list_p_t),
          CARVELL_FIELD(mc_outside_result_s, values_c, double, 2),
          CARVELL_FIELD(mc_outside_result_s, first, mc_outside_target_s*),
          CARVELL_FIELD(mc_outside_result_s, second, mc_outside_target_s*),
          CARVELL_FIELD(mc_outside_result_s, points, double, 6),
          CARVELL_FIELD(mc_outside_result_s, values_d, double, 4)}},
    };
}

std::vector<Record> vision_records() {
    return {
        {"apo_input_s", sizeof(apo_input_t),
         {CARVELL_FIELD(apo_input_t, csys_origin, double, 3), CARVELL_FIELD(apo_input_t, csys_matrix, double, 9),
          CARVELL_FIELD(apo_input_t, rule_set, int), CARVELL_FIELD(apo_input_t, eye_point_mode, int),
          CARVELL_FIELD(apo_input_t, eyellipse_name, char*), CARVELL_FIELD(apo_input_t, percentile, int),
          CARVELL_FIELD(apo_input_t, eyellipse_data, void*), CARVELL_FIELD(apo_input_t, user_eye_point, double, 3),
          CARVELL_FIELD(apo_input_t, analysis_kind, int), CARVELL_FIELD(apo_input_t, limit_angle, double),
          CARVELL_FIELD(apo_input_t, apillar_geometry, hm_list_p_t), CARVELL_FIELD(apo_input_t, limit_source, int),
          CARVELL_FIELD(apo_input_t, limit_point, double, 3), CARVELL_FIELD(apo_input_t, head_rotation, double),
          CARVELL_FIELD(apo_input_t, eye_rotation, double), CARVELL_FIELD(apo_input_t, sight_line_length, double),
          CARVELL_FIELD(apo_input_t, side, unsigned char), CARVELL_FIELD(apo_input_t, limit_geometry, hm_list_p_t),
          CARVELL_FIELD(apo_input_t, additional_geometry, hm_list_p_t)}},
        {"apo_result_s", sizeof(apo_result_t),
         {CARVELL_FIELD(apo_result_t, status, int), CARVELL_FIELD(apo_result_t, pivot_point, double, 3),
          CARVELL_FIELD(apo_result_t, rotation, double, 4), CARVELL_FIELD(apo_result_t, side, unsigned char),
          CARVELL_FIELD(apo_result_t, angle_valid, unsigned char),
          CARVELL_FIELD(apo_result_t, obstruction_angle, double), CARVELL_FIELD(apo_result_t, sight_lines, tag_t, 2),
          CARVELL_FIELD(apo_result_t, section_curves, hm_list_p_t),
          CARVELL_FIELD(apo_result_t, reference_point, double, 3),
          CARVELL_FIELD(apo_result_t, lower_normal, double, 3), CARVELL_FIELD(apo_result_t, upper_normal, double, 3),
          CARVELL_FIELD(apo_result_t, section_points, double**), CARVELL_FIELD(apo_result_t, section_point_count, int),
          CARVELL_FIELD(apo_result_t, curves_present, unsigned char),
          CARVELL_FIELD(apo_result_t, curves_present_second, unsigned char)}},
        {"dfv_input_s", sizeof(dfv_input_t),
         {CARVELL_FIELD(dfv_input_t, point_a, double, 3), CARVELL_FIELD(dfv_input_t, point_b, double, 3),
          CARVELL_FIELD(dfv_input_t, angle1, double), CARVELL_FIELD(dfv_input_t, angle2, double),
          CARVELL_FIELD(dfv_input_t, angle3, double), CARVELL_FIELD(dfv_input_t, width, double),
          CARVELL_FIELD(dfv_input_t, depth, double), CARVELL_FIELD(dfv_input_t, face_count, int),
          CARVELL_FIELD(dfv_input_t, faces, tag_t*), CARVELL_FIELD(dfv_input_t, full_length, int),
          CARVELL_FIELD(dfv_input_t, csys_origin, double, 3), CARVELL_FIELD(dfv_input_t, csys_matrix, double, 9)}},
        {"vd_eyellipse_s", sizeof(vd_eyellipse_t),
         {CARVELL_FIELD(vd_eyellipse_t, name, char, 272), CARVELL_FIELD(vd_eyellipse_t, centroid, double, 9),
          CARVELL_FIELD(vd_eyellipse_t, axis_dir, double, 9), CARVELL_FIELD(vd_eyellipse_t, axis_length, double, 3)}},
        {"output_s", sizeof(output_t), {CARVELL_FIELD(output_t, slot, double, 51)}},
        {"hood visibility input", sizeof(hv_input_t),
         {CARVELL_FIELD(hv_input_t, eye_point, double, 3), CARVELL_FIELD(hv_input_t, face_count, int),
          CARVELL_FIELD(hv_input_t, faces, tag_t*), CARVELL_FIELD(hv_input_t, pitch_step, double),
          CARVELL_FIELD(hv_input_t, csys_origin, double, 3), CARVELL_FIELD(hv_input_t, csys_matrix, double, 9)}},
        {"moa_hotdog_output_s", sizeof(moa_hotdog_output_t),
         {CARVELL_FIELD(moa_hotdog_output_t, ip_point, tag_t), CARVELL_FIELD(moa_hotdog_output_t, ip_moa, hm_list_p_t),
          CARVELL_FIELD(moa_hotdog_output_t, ip_mustache, hm_list_p_t),
          CARVELL_FIELD(moa_hotdog_output_t, ip_hotdog, hm_list_p_t), CARVELL_FIELD(moa_hotdog_output_t, sw_point, tag_t),
          CARVELL_FIELD(moa_hotdog_output_t, sw_moa, hm_list_p_t),
          CARVELL_FIELD(moa_hotdog_output_t, sw_mustache, hm_list_p_t),
          CARVELL_FIELD(moa_hotdog_output_t, sw_hotdog, hm_list_p_t),
          CARVELL_FIELD(moa_hotdog_output_t, reserved_list, hm_list_p_t),
          CARVELL_FIELD(moa_hotdog_output_t, objects_1_curves, hm_list_p_t),
          CARVELL_FIELD(moa_hotdog_output_t, objects_2_curves, hm_list_p_t),
          CARVELL_FIELD(moa_hotdog_output_t, objects_1_points, hm_list_p_t),
          CARVELL_FIELD(moa_hotdog_output_t, objects_2_points, hm_list_p_t)}},
        {"ipv_steering_wheel_s", sizeof(ipv_steering_wheel_t),
         {CARVELL_FIELD(ipv_steering_wheel_t, sw_reserved, void*),
          CARVELL_FIELD(ipv_steering_wheel_t, rim_top_point, double, 3),
          CARVELL_FIELD(ipv_steering_wheel_t, wheel_centre, double, 3),
          CARVELL_FIELD(ipv_steering_wheel_t, outer_contour, hm_list_p_t),
          CARVELL_FIELD(ipv_steering_wheel_t, inner_contour, hm_list_p_t),
          CARVELL_FIELD(ipv_steering_wheel_t, rim_upper_section, hm_list_p_t)}},
        {"refl_output_s", sizeof(refl_output_s),
         {CARVELL_FIELD(refl_output_s, display[0].flag, unsigned char),
          CARVELL_FIELD(refl_output_s, display[0].colour, unsigned int),
          CARVELL_FIELD(refl_output_s, display[0].layer, unsigned int),
          CARVELL_FIELD(refl_output_s, display[1].flag, unsigned char),
          CARVELL_FIELD(refl_output_s, display[1].colour, unsigned int),
          CARVELL_FIELD(refl_output_s, display[1].layer, unsigned int),
          CARVELL_FIELD(refl_output_s, display[2].flag, unsigned char),
          CARVELL_FIELD(refl_output_s, display[2].colour, unsigned int),
          CARVELL_FIELD(refl_output_s, display[2].layer, unsigned int),
          CARVELL_FIELD(refl_output_s, display[3].flag, unsigned char),
          CARVELL_FIELD(refl_output_s, display[3].colour, unsigned int),
          CARVELL_FIELD(refl_output_s, display[3].layer, unsigned int)}},
    };
}

std::vector<Record> occupant_and_envelope_records() {
    using H = HPD_apf_values_t;
    using S = HPD_apf_shoe_values_t;
    using T = tire_envelope_params_s;
    return {
        {"HPD_apf_shoe_values_s", sizeof(S),
         {CARVELL_FIELD(S, ankle_angle, double), CARVELL_FIELD(S, hip_angle, double),
          CARVELL_FIELD(S, knee_angle, double), CARVELL_FIELD(S, pedal_angle, double),
          CARVELL_FIELD(S, thigh_angle, double), CARVELL_FIELD(S, leg_room, double),
          CARVELL_FIELD(S, heel_point, double, 3)}},
        {"HPD_apf_values_s", sizeof(H),
         {CARVELL_FIELD(H, algorithm_version, int), CARVELL_FIELD(H, lower_leg_length, double),
          CARVELL_FIELD(H, seat_height, double), CARVELL_FIELD(H, sgrp_curve_distance, double),
          CARVELL_FIELD(H, upper_leg_length, double), CARVELL_FIELD(H, prp, double, 3),
          CARVELL_FIELD(H, sgrp, double, 3), CARVELL_FIELD(H, leg_length_type, int), CARVELL_FIELD(H, right_shoe, S),
          CARVELL_FIELD(H, left_shoe, S), CARVELL_FIELD(H, second_right_shoe, S),
          CARVELL_FIELD(H, seating_position, int), CARVELL_FIELD(H, back_angle, double),
          CARVELL_FIELD(H, cushion_angle, double), CARVELL_FIELD(H, lumbar_support, double),
          CARVELL_FIELD(H, pv_angle, double), CARVELL_FIELD(H, lateral_offset, double),
          CARVELL_FIELD(H, position_left_shoe, bool), CARVELL_FIELD(H, add_2nd_right_leg, bool),
          CARVELL_FIELD(H, occ_position_method, int), CARVELL_FIELD(H, clear_interference, int),
          CARVELL_FIELD(H, part_unit, int), CARVELL_FIELD(H, vehicle_class, int),
          CARVELL_FIELD(H, male_female_ratio, int), CARVELL_FIELD(H, move_along_sgrp_curve, int),
          CARVELL_FIELD(H, copy_right_shoe_orientation, int), CARVELL_FIELD(H, use_variable, int),
          CARVELL_FIELD(H, variable_type, int), CARVELL_FIELD(H, reverse_option, int),
          CARVELL_FIELD(H, adjust_variable, double)}},
        {"tire_envelope_params_s", sizeof(T),
         {CARVELL_FIELD(T, sheet_body, tag_t), CARVELL_FIELD(T, instance_name, char, 260),
          CARVELL_FIELD(T, csys_origin, double, 3), CARVELL_FIELD(T, csys_matrix, double, 9),
          CARVELL_FIELD(T, profile_file, char, 256), CARVELL_FIELD(T, rim_diameter, double),
          CARVELL_FIELD(T, rim_size, char, 12), CARVELL_FIELD(T, profile_type, int),
          CARVELL_FIELD(T, num_profile_pts, int), CARVELL_FIELD(T, concavity_base, double),
          CARVELL_FIELD(T, half_profile, char), CARVELL_FIELD(T, profile_pts, double, 200),
          CARVELL_FIELD(T, spindle_file, char, TIRE_ENVELOPE_TEXT_SIZE),
          CARVELL_FIELD(T, vehicle_program, char, TIRE_ENVELOPE_TEXT_SIZE),
          CARVELL_FIELD(T, suspension, char, TIRE_ENVELOPE_TEXT_SIZE), CARVELL_FIELD(T, design_point, double, 3),
          CARVELL_FIELD(T, side, double), CARVELL_FIELD(T, log_path, char, TIRE_ENVELOPE_TEXT_SIZE),
          CARVELL_FIELD(T, centerline_shift, double), CARVELL_FIELD(T, point_cloud, int),
          CARVELL_FIELD(T, update_part, int), CARVELL_FIELD(T, create_sheet, int),
          CARVELL_FIELD(T, surface_tol, double), CARVELL_FIELD(T, trim_dist, double),
          CARVELL_FIELD(T, log_file, FILE*), CARVELL_FIELD(T, date_time, char, 32),
          CARVELL_FIELD(T, concavity, double), CARVELL_FIELD(T, single_layer, int),
          CARVELL_FIELD(T, sec1_layer, int), CARVELL_FIELD(T, surface_layer, int),
          CARVELL_FIELD(T, profile_layer, int), CARVELL_FIELD(T, spindle_line_layer, int),
          CARVELL_FIELD(T, thegroup, tag_t), CARVELL_FIELD(T, part_members, tag_t, 10),
          CARVELL_FIELD(T, num_part_members, int), CARVELL_FIELD(T, radial_start, double),
          CARVELL_FIELD(T, radial_end, double), CARVELL_FIELD(T, num_sections, int),
          CARVELL_FIELD(T, section_angles, double, 36), CARVELL_FIELD(T, offset_file, char, 256),
          CARVELL_FIELD(T, offset_from_file, char), CARVELL_FIELD(T, offset_method, int),
          CARVELL_FIELD(T, offsets, double, 36 * 80), CARVELL_FIELD(T, num_offsets, int, 36),
          CARVELL_FIELD(T, offset_angles, double, 36), CARVELL_FIELD(T, num_offset_sections, int),
          CARVELL_FIELD(T, cur_offset_section, int), CARVELL_FIELD(T, notes, char, TIRE_ENVELOPE_TEXT_SIZE)}},
        {"VD_EVT_object_t", sizeof(VD_EVT_object_t),
         {CARVELL_FIELD(VD_EVT_object_t, value, unsigned long long), CARVELL_FIELD(VD_EVT_object_t, count, int),
          CARVELL_FIELD(VD_EVT_object_t, type, int)}},
    };
}

std::vector<Record> suspension_records() {
    using F = sFiveLinkAxle_Suspension;
    using M = sMacpherson_Suspension;
    using L = sla_suspension_s;
    using K = mot_link_mass_info_s;
    return {
        {"sFiveLinkAxle_Suspension", sizeof(F),
         {CARVELL_FIELD(F, points, double, 20 * 3), CARVELL_FIELD(F, mirror_opposite_track, bool),
          CARVELL_FIELD(F, mirror_bump_stops, bool), CARVELL_FIELD(F, plane_origin, double, 3),
          CARVELL_FIELD(F, plane_normal, double, 3), CARVELL_FIELD(F, mechanism, tag_t),
          CARVELL_FIELD(F, links, tag_t, 15), CARVELL_FIELD(F, joints, tag_t, 23)}},
        {"sMacpherson_Suspension", sizeof(M),
         {CARVELL_FIELD(M, points, double, 26 * 3), CARVELL_FIELD(M, has_stabilizer, bool),
          CARVELL_FIELD(M, mirror_inner_joint, bool), CARVELL_FIELD(M, mirror_stabilizer_bushing, bool),
          CARVELL_FIELD(M, plane_origin, double, 3), CARVELL_FIELD(M, plane_normal, double, 3),
          CARVELL_FIELD(M, mechanism, tag_t), CARVELL_FIELD(M, links, tag_t, 17), CARVELL_FIELD(M, joints, tag_t, 25),
          CARVELL_FIELD(M, stab_components, tag_t*), CARVELL_FIELD(M, stab_components_count, int),
          CARVELL_FIELD(M, stab_components_mirror, tag_t*), CARVELL_FIELD(M, stab_components_mirror_count, int)}},
        {"sla_suspension_s", sizeof(L),
         {CARVELL_FIELD(L, points, double, 32 * 3), CARVELL_FIELD(L, has_stabilizer, bool),
          CARVELL_FIELD(L, mirror_inner_joint, bool), CARVELL_FIELD(L, mirror_stabilizer_bushing, bool),
          CARVELL_FIELD(L, plane_origin, double, 3), CARVELL_FIELD(L, plane_normal, double, 3),
          CARVELL_FIELD(L, jack_point, double, 3), CARVELL_FIELD(L, jack_point_mirror, double, 3),
          CARVELL_FIELD(L, stab_components, tag_t*), CARVELL_FIELD(L, stab_component_count, int),
          CARVELL_FIELD(L, mechanism, tag_t), CARVELL_FIELD(L, links, tag_t, 13), CARVELL_FIELD(L, joints, tag_t, 19),
          CARVELL_FIELD(L, no_steering, bool)}},
        {"mot_link_mass_info_s", sizeof(K),
         {CARVELL_FIELD(K, link, unsigned int), CARVELL_FIELD(K, has_mass, int), CARVELL_FIELD(K, mass, double),
          CARVELL_FIELD(K, has_inertias, int), CARVELL_FIELD(K, inertias, double, 6), CARVELL_FIELD(K, cog, double, 3),
          CARVELL_FIELD(K, marker, tag_t), CARVELL_FIELD(K, has_velocity, int), CARVELL_FIELD(K, velocity, double, 3),
          CARVELL_FIELD(K, result, int)}},
    };
}

TEST(RecordLayout, EveryRecordAHostFillsIsLaidOutInItsDocumentedOrder) {
    for (auto family : {stone_records, mirror_records, vision_records, occupant_and_envelope_records,
                        suspension_records})
        for (const Record& r : family()) support::expect_laid_out(r.name, r.size, r.fields);
}

TEST(RecordLayout, FixedSizesOfTheDocumentedRecordsHold) {
    // Sizes stated outright: the contour record is 24 bytes, the caller's
    // block of the stone record 96 and the eyellipse's name area 272.
    EXPECT_EQ(sizeof(si_contour_record), 24u);
    EXPECT_EQ(offsetof(si_data_s, mode), 96u);
    EXPECT_EQ(offsetof(vd_eyellipse_t, centroid), 272u);
}

}  // namespace
