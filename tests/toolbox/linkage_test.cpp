// Each family of exports keeps its kind of name in the library's dynamic
// symbol table: plain C names, or decorated C++ names that encode the
// argument types.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <sstream>
#include <string>

namespace {

enum class Kind { Plain, Decorated };

struct Export {
    const char* name;
    Kind kind;
};

// One row per export checked. Families add their rows here.
const Export kExports[] = {
    // Session bracket and framework services: decorated.
    {"VD_enter_omvra", Kind::Decorated},
    {"VD_exit_omvra", Kind::Decorated},
    {"VD_export_all_objs", Kind::Decorated},
    {"VD_ask_all_component_name", Kind::Decorated},
    {"VD_ask_minimum_distance", Kind::Decorated},
    {"VD_ask_tag_handle", Kind::Decorated},
    {"VD_ask_handle_tag", Kind::Decorated},
    {"VD_create_validation_app_object", Kind::Decorated},
    {"VD_find_validation_app_tag", Kind::Decorated},
    {"VD_find_validation_app_object", Kind::Decorated},
    // Object, feature and list utilities of the toolbox: plain.
    {"HM_VD_copy_object", Kind::Plain},
    {"HM_VD_delete_obj_list", Kind::Plain},
    {"HM_VD_delete_object", Kind::Plain},
    {"HM_VD_delete_object_feature", Kind::Plain},
    {"HM_VD_set_obj_array_layer", Kind::Plain},
    {"HM_VD_add_list_item", Kind::Plain},
    {"HM_VD_ipv_change_list_to_array", Kind::Plain},
    {"HM_VD_ipv_change_array_to_list", Kind::Plain},
    {"HM_VD_change_feat_to_obj", Kind::Plain},
    {"HM_VD_feat_to_datum_type", Kind::Plain},
    {"HM_VD_ask_body_feats", Kind::Plain},
    {"HM_VD_find_body_feats", Kind::Plain},
    {"VD_convert_to_brep_feature", Kind::Plain},
    {"HM_VD_ask_face_suppress", Kind::Plain},
    {"HM_VD_delete_rule_objects", Kind::Plain},
    {"HM_VD_adopt_feature", Kind::Plain},
    // Curve utilities of the toolbox: plain.
    {"HM_VD_is_curve", Kind::Plain},
    {"HM_VD_CURVE_make_loop_curve", Kind::Plain},
    {"HM_VD_CURVE_make_loop_curve_from_array", Kind::Plain},
    {"HM_VD_CURVE_ask_curve_chain_status", Kind::Plain},
    {"HM_VD_CURVE_is_coinside_point", Kind::Plain},
    {"HM_VD_CURVE_join_curves", Kind::Plain},
    {"HM_VD_curve_disperse_param_points", Kind::Plain},
    {"HM_VD_simple_curve_points", Kind::Plain},
    {"HM_VD_create_closed_spline_c0", Kind::Plain},
    {"HM_VD_CURVE_trim_curve_by_parms", Kind::Plain},
    {"HM_VD_CURVE_divide_curve_by_c0_knots", Kind::Plain},
    {"HM_VD_curve_create_ellipse", Kind::Plain},
    {"HM_VD_ellipse_tangents_2d", Kind::Plain},
    {"HM_VD_ask_curve_array_length", Kind::Plain},
    {"HM_VD_create_curves_by_boundary_edges", Kind::Plain},
    {"VD_create_curve_from_edge", Kind::Plain},
    {"HM_VD_convert_edge_to_curve", Kind::Plain},
    // Vector, plane, fit and body utilities of the toolbox: plain.
    {"HM_VD_create_vector_by_two_points", Kind::Plain},
    {"HM_VD_judge_point_in_plane_side", Kind::Plain},
    {"HM_VD_create_point_in_two_points", Kind::Plain},
    {"HM_VD_create_point_by_distance", Kind::Plain},
    {"HM_VD_ask_two_line_intersect_point", Kind::Plain},
    {"HM_VD_ask_intersect_point_of_plane_and_line", Kind::Plain},
    {"HM_VD_vec3_rotate", Kind::Plain},
    {"HM_VD_vec3_rotate_point", Kind::Plain},
    {"HM_VD_vec3_rotate_vector", Kind::Plain},
    {"HM_VD_ask_leastsq_plane", Kind::Plain},
    {"HM_VD_ask_leastsq_sphere", Kind::Plain},
    {"HM_VD_ask_bounding_box_local", Kind::Plain},
    {"VD_map_geom_csys2abs_list", Kind::Plain},
    {"VD_map_geom_abs2csys_list", Kind::Plain},
    {"HM_VD_ask_datum_plane_parms", Kind::Plain},
    {"HM_VD_ask_component_csys", Kind::Plain},
    {"HM_VD_create_bplane", Kind::Plain},
    {"HM_VD_create_ruled", Kind::Plain},
    {"HM_VD_create_ellipsoid", Kind::Plain},
    {"HM_VD_scale_object", Kind::Plain},
    // Plane trimming, loop edges, intersections and eye-point projection: plain.
    {"HM_VD_trim_curves_by_plane", Kind::Plain},
    {"HM_VD_get_loop_edges", Kind::Plain},
    {"HM_VD_ask_intersection_curves", Kind::Plain},
    {"HM_VD_eyepoint_project_curve", Kind::Plain},
    // H-point design tool: decorated.
    {"AskAssociatedSheetName", Kind::Decorated},
    {"HM_HPD_ask_combine_reverse_engineering_option", Kind::Decorated},
    {"HM_HPD_parse_reverse_option", Kind::Decorated},
    {"HM_VD_HPD_AskAnglesRoom", Kind::Decorated},
    {"HM_VD_HPD_DisplayResultInWindow", Kind::Decorated},
    {"HM_VD_HPD_OutputReport", Kind::Decorated},
    {"HM_VD_HPD_adjust_plane_base_pt", Kind::Decorated},
    {"HM_VD_HPD_ask_ahp_by_prp_no_offset", Kind::Decorated},
    {"HM_VD_HPD_ask_ahp_y_no_offset", Kind::Decorated},
    {"HM_VD_HPD_ask_back_pivot_relative_locations", Kind::Decorated},
    {"HM_VD_HPD_ask_error_message", Kind::Decorated},
    {"HM_VD_HPD_ask_init_prp", Kind::Decorated},
    {"HM_VD_HPD_ask_leg_angles_legroom", Kind::Decorated},
    {"HM_VD_HPD_ask_occ_target", Kind::Decorated},
    {"HM_VD_HPD_ask_offset_point_by_pv_angle", Kind::Decorated},
    {"HM_VD_HPD_ask_prp_by_ahp_no_offset", Kind::Decorated},
    {"HM_VD_HPD_ask_pv_angle", Kind::Decorated},
    {"HM_VD_HPD_ask_result", Kind::Decorated},
    {"HM_VD_HPD_ask_right_shoe_target", Kind::Decorated},
    {"HM_VD_HPD_ask_sgrp_curve", Kind::Decorated},
    {"HM_VD_HPD_ask_sgrp_on_curve", Kind::Decorated},
    {"HM_VD_HPD_ask_shoe_target", Kind::Decorated},
    {"HM_VD_HPD_ask_valid_h30_for_target_posture", Kind::Decorated},
    {"HM_VD_HPD_check_hpd_length", Kind::Decorated},
    {"HM_VD_HPD_check_hpd_width", Kind::Decorated},
    {"HM_VD_HPD_check_left_shoe", Kind::Decorated},
    {"HM_VD_HPD_check_right_shoe", Kind::Decorated},
    {"HM_VD_HPD_combine_curves", Kind::Decorated},
    {"HM_VD_HPD_define_foot_position_by_locking_ankle_angle", Kind::Decorated},
    {"HM_VD_HPD_define_foot_position_by_locking_both", Kind::Decorated},
    {"HM_VD_HPD_define_foot_position_by_locking_pedal_angle", Kind::Decorated},
    {"HM_VD_HPD_display_failmessage", Kind::Decorated},
    {"HM_VD_HPD_is_valid_shoe_position", Kind::Decorated},
    {"HM_VD_HPD_lock_pass_ankle_angle_by_coordinate_adjustment", Kind::Decorated},
    {"HM_VD_HPD_lock_pass_ankle_angle_by_keep_bof_location", Kind::Decorated},
    {"HM_VD_HPD_lock_pass_ankle_angle_by_shoe_angle_adjustment", Kind::Decorated},
    {"HM_VD_HPD_reverse_engineering", Kind::Decorated},
    {"HM_VD_HPD_validate_file_name", Kind::Decorated},
    {"HM_VD_HPD_write_spreadsheet_value", Kind::Decorated},
    {"HPD_transform_point_to_pv", Kind::Decorated},
    {"VD_HPDWIZ_SGRPX_B", Kind::Decorated},
    {"VD_HPD_update_sgrp_curve_A", Kind::Decorated},
    {"VD_HPD_update_sgrp_curve_B", Kind::Decorated},
    // H-point planar helpers and the 2D manikin checks: plain.
    {"HM_VD_ask_circle_intersect_point", Kind::Plain},
    {"change_list_to_array", Kind::Plain},
    {"change_array_to_list", Kind::Plain},
    {"hm_vd_2dm_check_leg_positions", Kind::Plain},
    {"hm_vd_2dm_check_arm_positions", Kind::Plain},
};

// The names the shared library defines in its dynamic symbol table.
std::set<std::string> defined_symbols(const char* library) {
    std::set<std::string> symbols;
    const std::string command = std::string("nm -D --defined-only '") + library + "' 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return symbols;
    char line[4096];
    while (std::fgets(line, sizeof line, pipe)) {
        // "<address> <type> <name>"
        std::istringstream fields(line);
        std::string address, type, name;
        if (fields >> address >> type >> name) symbols.insert(name);
    }
    pclose(pipe);
    return symbols;
}

// A decorated name holds the plain one prefixed by its length ("13VD_enter_omvra").
bool has_decorated(const std::set<std::string>& symbols, const std::string& name) {
    const std::string encoded = std::to_string(name.size()) + name;
    for (const std::string& s : symbols)
        if (s.compare(0, 2, "_Z") == 0 && s.find(encoded) != std::string::npos) return true;
    return false;
}

TEST(LinkageTest, EachFamilyKeepsItsKindOfName) {
    const std::set<std::string> symbols = defined_symbols(CARVELL_LIBRARY_PATH);
    ASSERT_FALSE(symbols.empty()) << "cannot read the symbol table of " << CARVELL_LIBRARY_PATH;
    for (const Export& e : kExports) {
        const bool plain = symbols.count(e.name) > 0;
        const bool decorated = has_decorated(symbols, e.name);
        if (e.kind == Kind::Plain) {
            EXPECT_TRUE(plain) << e.name << " is not exported under its plain name";
            EXPECT_FALSE(decorated) << e.name << " is exported with a decorated name";
        } else {
            EXPECT_TRUE(decorated) << e.name << " is not exported under a decorated name";
            EXPECT_FALSE(plain) << e.name << " is exported under its plain name";
        }
    }
}

// The curve and spline functions come from the host's automotive helper
// library in this release, with plain names.
TEST(LinkageTest, CurveAndSplineFunctionsArePlainInTheHostLibrary) {
    const std::set<std::string> symbols = defined_symbols(CARVELL_HOST_LIBRARY_PATH);
    ASSERT_FALSE(symbols.empty()) << "cannot read the symbol table of " << CARVELL_HOST_LIBRARY_PATH;
    for (const char* name : {"HM_VD_CURVE_ask_point_on_curve", "HM_VD_CURVE_project_point_along_vector",
                             "HM_VD_create_spline_thru_points_by_degree", "HM_VD_create_spline_thru_points",
                             "HM_VD_ask_intersect_point_curve_plane"}) {
        EXPECT_EQ(symbols.count(name), 1u) << name << " is not exported under its plain name";
        EXPECT_FALSE(has_decorated(symbols, name)) << name << " is exported with a decorated name";
    }
    const std::set<std::string> library = defined_symbols(CARVELL_LIBRARY_PATH);
    EXPECT_EQ(library.count("HM_VD_create_spline_thru_points"), 0u)
        << "the current release takes the curve and spline functions from the host";
}

}  // namespace
