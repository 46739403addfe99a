// Mirror certification: the working record, its initialisation and release,
// and the dialog's input checks.
//
// Lengths are in the work part's units (millimetres or inches), angles in
// degrees; points and vectors are three doubles, the vehicle orientation a
// 3x3 matrix with a separate origin. Decorated (C++) names.
//
// Ownership: the caller allocates mc_input_data_t and mc_data_s. Texts and
// tag arrays of the input record stay the caller's (borrowed). Between
// HM_VD_MC_init_data and HM_VD_MC_release_data the library owns every host
// list of the working record, the result record of the mirror kind with its
// blocks and result list, the run-message array and its texts, and the
// warning table; HM_VD_MC_release_data frees them (SM_free, HM_MODL_delete_list)
// and nulls the pointers it freed. Geometry is never owned by the record.
#ifndef CARVELL_HM_VD_MC_H
#define CARVELL_HM_VD_MC_H

#include "carvell_export.h"
#include "host_types.h"
// The input checks, and the most objects a caller array may hold.
#include "hm_vd_mc/checks.h"

/* ---- input record, filled by the caller ---- */
struct mc_input_data_t {
    double vehicle_orientation[9];
    double vehicle_origin[3];
    int mirror_kind;          // 0 inside, 1 driver-side outside, 2 passenger-side outside
    int standard_row;         // row of the standards table of that kind
    int eyellipse_size;       // -1, 0 or other: which pair of axis lengths
    const char* eyellipse_rule_name;  // borrowed
    int eye_selection_mode;   // 0 farthest, 1 nearest, other midway
    double eye_reference_point[3];
    int ocular_back_angle_index;      // whole degrees, 5 to 40
    int ocular_adjustment_index;      // 0 to 4, other
    bool head_rotation;
    double lower_legal_radius;
    double upper_legal_radius;
    double standard_distance;
    double standard_value;    // target width (outside) or angle (inside)
    tag_t mirror;             // face or sheet
    bool positioning;
    double mirror_reference_point[3];
    double prime_point[3];
    bool skip_area_test;
    tag_t opposite_mirror;
    int bezel_count;
    const tag_t* bezels;      // borrowed curves or edges
    double first_target_point[3];
    double second_target_point[3];
    double ground_point[3];   // its height is the ground level
    int backlite_count;
    const tag_t* backlite_faces;      // borrowed
    int mirror_shape;         // 1 convex (spherical), 0 flat
    double user_radius;
    bool user_override;
    double user_distance;
    double user_value;        // user width, for some rows also the user angle
    bool loading;
    double loading_points[3][3];
    int eye_mirror_restriction_count;
    const tag_t* eye_mirror_restrictions;     // borrowed
    int mirror_target_restriction_count;
    const tag_t* mirror_target_restrictions;  // borrowed
    int colours[7];           // colours 1, 2, 3, 4, 6, 5, 7 of the working record
    int caller_message_count;
    const char* const* caller_messages;      // borrowed
    int result_layer;
};

/* ---- the elements of a sheet or a closed outline ---- */
struct mc_geometry_set_s {
    tag_t source;             // sheet or body the set was made from; 0 from curves
    tag_t face;
    int edge_curve_count;
    tag_t* edge_curves;       // owned
    tag_t outline;            // the closed curve joined from the edge curves
    int point_count;
    double** points;          // owned array of owned double[3]
    int break_count;
    int* breaks;              // owned
};

/* ---- result records ---- */
struct mc_inside_target_s {
    double head_rotation;         // Head Turn Angle PV
    double outboard_view_angle;
    double plan_view_angle;       // Mirror Rotation Angle PV
    double side_view_angle;       // Mirror Rotation Angle LS
    double mirror_restrict_angle;
    double backlite_restrict_angle;   // Backlite Restriction PV
    double ambinocular_angle;
    double ambinocular_angle_checked; // Ambinocular Angle
    double field_width;
    double eye_to_mirror_angle;
    double ground_distance;
    double restriction_result;
    double closest_ground_point[3];
    double down_angle;            // Down Angle LS
    double up_angle;              // Up Angle LS
};

struct mc_inside_result_s {
    double left_eye[3];
    double mid_eye[3];
    double right_eye[3];
    double pivot[3];
    double further_point[3];
    double standard_ground_point[3];
    hm_list_p_t result_objects;
    int analysis_word;
    mc_inside_target_s* upper;
    mc_inside_target_s* lower;
    double analysis_point[3];
    double analysis_values[4];
};

struct mc_mirror_surface_record {
    double centre[3];
    double curvature;
    double radius;
    double vertex[3];
    double normal[3];
};

struct mc_outside_target_s {
    double point_a[3];
    double point_b[3];
    double inboard_deviation;
    double outboard_deviation;
    double visible_width_margin;
    double ground_reach_margin;
};

struct mc_outside_result_s {
    double ambinocular_angle_at_ground_pv;
    double left_eye[3];
    double mid_eye[3];
    double right_eye[3];
    double pivot[3];
    double further_point[3];
    double mirror_rotation_angle_ls;
    double mirror_rotation_angle_pv;
    double value_a;
    double head_turn_angle_pv;
    double max_ambinocular_angle_pv;
    double values_b[4];
    double driver_mirror_area_percentage;
    mc_mirror_surface_record* surface;
    hm_list_p_t result_objects;
    double values_c[2];
    mc_outside_target_s* first;
    mc_outside_target_s* second;
    double points[2][3];
    double values_d[4];
};

/* ---- working record ---- */
enum { MC_NAME_SIZE = 200, MC_ERROR_TEXT_SIZE = 5000, MC_MAX_MESSAGES = 10, MC_WARNING_COUNT = 23 };

struct mc_data_s {
    double vehicle_orientation[9];
    double vehicle_origin[3];
    int units;                // 0 millimetres, 1 inches
    int mirror_kind;
    int standard_row;
    int eye_method;           // 0 eyellipse, 1 ocular
    const char* eyellipse_rule_name;        // borrowed
    const char* eyellipse_rule_name_used;   // set only when the eyellipse is used
    int eyellipse_size;
    tag_t eyellipse_conics[2];
    int eye_selection_mode;   // 0 farthest sample, 2 nearest, 1 midway
    double eye_reference_point[3];
    double saved_eye_reference_point[3];
    int ocular_back_angle_index;
    int ocular_adjustment_index;
    bool head_rotation;
    char region_name[MC_NAME_SIZE];
    char standard_name[MC_NAME_SIZE];
    double distance_tolerance;
    double angle_tolerance;
    double third_tolerance;
    tag_t mirror;
    bool positioning;
    char mirror_name[MC_NAME_SIZE];
    tag_t initial_mirror;
    mc_geometry_set_s mirror_elements;
    double mirror_reference_point[3];
    double saved_mirror_reference_point[3];
    double prime_point[3];
    double saved_prime_point[3];
    bool has_bezel;
    hm_list_p_t bezels;
    hm_list_p_t initial_bezels;
    char bezel_name[MC_NAME_SIZE];
    tag_t opposite_mirror;
    tag_t initial_opposite_mirror;
    bool skip_area_test;
    double first_target_point[3];
    double second_target_point[3];
    double ground_point[3];
    hm_list_p_t backlite_faces;
    tag_t backlite_sheet;
    char backlite_name[MC_NAME_SIZE];
    tag_t initial_backlite_sheet;
    double mid_eye_point[3];
    double outside_value;
    double user_radius;
    double lower_legal_radius;
    double upper_legal_radius;
    int mirror_shape;
    bool user_override;
    double user_distance[2];
    double user_width[2];
    double user_angle[2];
    double standard_distance[2];
    double standard_width[2];  // [1]: second-target width (the 300 mm rule)
    double standard_angle[2];
    bool loading;
    double loading_points[3][3];
    bool has_eye_mirror_restrictions;
    bool has_mirror_target_restrictions;
    hm_list_p_t eye_mirror_restrictions;
    hm_list_p_t mirror_target_restrictions;
    hm_list_p_t initial_eye_mirror_restrictions;
    hm_list_p_t initial_mirror_target_restrictions;
    int colours[7];
    int caller_message_count;
    const char* const* caller_messages;      // borrowed
    int message_count;
    char** messages;          // MC_MAX_MESSAGES owned texts
    char error_text[MC_ERROR_TEXT_SIZE];
    mc_outside_result_s* outside;
    mc_inside_result_s* inside;
    char** warnings;          // MC_WARNING_COUNT owned texts (slot 13 empty)
    int result_layer;
    bool certifies;
};

/* ---- initialisation and release ---- */

// Clears the working record and fills it from the input: names of region and
// standard, the part's units and tolerances, host lists of the caller's tags,
// the result record of the mirror kind, the warning table and an empty
// message list; with the eyellipse method, the eyellipse's two conics and
// reference point. Needs an open session with a work part.
// Returns 0; -1 for a null input or record, an object count below 0 or above
// HM_VD_MC_MAX_OBJECTS (or not 0 with a null array), or a coordinate,
// radius, distance or value that it reads and is not finite: nothing built,
// the record as it was. An eyellipse that cannot be read leaves zeroed eye data and no
// conics (the run then fails at its eye-point stage).
// A record that still holds an earlier initialisation (its message array,
// warning table and the result record of its kind set) is released first,
// so initialising twice without a release loses nothing; its result
// geometry stays in the part. Any other record is cleared as it stands.
CARVELL_CPP_EXPORT int HM_VD_MC_init_data(mc_input_data_t* input, mc_data_s* data);

// Frees every list, block and text that the initialisation and the run put
// in the record and nulls each pointer freed; no geometry is deleted. A null
// record: nothing.
CARVELL_CPP_EXPORT void HM_VD_MC_release_data(mc_data_s* data);

/* ---- mirror optics (absolute coordinates of the work part) ---- */
// The mirror surface: curvature c = 1/radius (0 for a plane), the vertex on
// the surface and the unit normal n there towards the viewing side; a sphere
// is convex towards n (its centre at vertex - n / c). `tolerances` is the
// pair {distance tolerance, angle tolerance in degrees}.

// The reflection point: where on the mirror the eye sees the target.
// 0 found (*point written); 1 eye on the wrong side of a sphere; 3 a
// direction cannot be made a unit vector; 4 eye and target coincide and the
// tolerance is too coarse; 5 the eye-target segment crosses the mirror; 6 eye
// and target both within the tolerance of the mirror (plane or sphere); 7 no
// convergence; -1 a negative radius, a null argument, a number that is not
// finite, or an answer that overflows (nothing written).
CARVELL_CPP_EXPORT int HM_VD_MC_pierce(const double tolerances[2], const mc_mirror_surface_record* mirror,
                                       const double eye[3], const double target[3], double point[3]);

// The sight ray from the eye through `through`: where it meets the mirror and
// its unit direction after reflection. *pierce is (0, 0, 0) unless found.
// 0 found; 1 a unit vector failed; 2 eye on the wrong side; 3 the ray misses
// the mirror; 4 the ray points away from the mirror; -1 a null argument, a
// number that is not finite (nothing written), or an answer that overflows
// (the pierce point left zeroed).
CARVELL_CPP_EXPORT int HM_VD_MC_reflex(const mc_mirror_surface_record* mirror, const double eye[3],
                                       const double through[3], const double tolerances[2], double pierce[3],
                                       double direction[3]);

/* ---- the certification run ---- */
// A run works on the record as HM_VD_MC_init_data left it and leaves its
// result geometry (named, on the result layer, in absolute coordinates) in
// the result list of the record's result record; the error text tells what
// failed. Readings of the outside record: "Max Ambinocular Angle PV" holds
// the widest-sight angle, "Ambinocular Angle @ Ground PV" the outboard field
// angle; value_a the outboard view angle, values_b[0] the eye x, values_b[1]
// the eye-to-vertex plan angle, values_b[2] the restriction result (lost
// share, percent). Any kind other than 0 is an outside mirror under the
// passenger rules unless it is 1.

// One certification: faces into sheets, the vehicle loading, the vehicle
// frame, the eye points, the inside (kind 0) or outside analysis, the
// results mapped back and the summary report in the listing window.
// 0 done; 1 the backlite faces do not sew into one sheet, or the loading
// failed (also a pitch whose two points stand one above the other); 2 no
// eye points; 3 the inside analysis failed; 4 the outside analysis failed;
// -1 a null record, one without its result record, or one holding a point,
// tolerance or value that is not finite (nothing built). A
// failing stage leaves nothing it made in the part but the result list.
CARVELL_CPP_EXPORT int HM_VD_MC_process(mc_data_s* data);

// Aims an outside mirror (the record's mirror sheet and the surface record)
// about the pivot until the ray from the eye on the mirror's side that
// meets the prime point leaves along +x, with the head turned and the prime
// point on the glass the bezel leaves visible. Writes the matrix of the
// final position (identity without positioning), the rotated sheet (the
// record's mirror sheet, replaced by it), the final prime point (also into
// the record), the turned eyes, and the angles into the outside record.
// 0 done, also after 50 unsettled iterations; 1 eyes and head cannot be
// turned; 2 bezel sampling, rotation or sheet processing failed; 3 no aiming
// matrix; 5 a reflection point failed; 6 the usable-mirror sheets failed;
// -1 a null argument, or a record, surface or eye point holding a number
// that is not finite (nothing written or built).
CARVELL_CPP_EXPORT int HM_VD_MC_pro_position_outside_mirror(mc_data_s* data, mc_outside_result_s* outside,
                                                            mc_mirror_surface_record* surface, double matrix[12],
                                                            tag_t* rotated, double prime[3],
                                                            double turned_eyes[3][3]);

// The outside analysis of the record: the area comparison of a passenger
// mirror, the mirror made a plane or sphere with its surface record, then
// HM_VD_MC_pro_outside_analysis. 0; 1 the mirror sheet has not one face;
// 2 the area comparison failed; 3 the plane or sphere could not be made;
// 4 the analysis failed; -1 a null record, no outside record, or a record
// or eye point holding a number that is not finite (nothing built).
CARVELL_CPP_EXPORT int HM_VD_MC_apf_process_outside(mc_data_s* data);

// Aims the mirror, reflects its outline (and the bezel) from both turned
// eyes onto the target plane, builds the standard's vision triangle (and
// cylinder for the dual target), the mirror triangle, the deviations, field
// angles, margins, warnings and the restriction curves. The eyes are the
// left, mid and right eye points. 0; 1 positioning, 2 elements, 3 extreme
// point, 4 lines, 5 reflection, 6 triangle, 7 cylinder, 8 pierce point or
// reflected ray, 9 deviation, 10 ground-reach margin, 11 restriction
// failed; -1 a null argument, or a record, surface or eye point that is not
// finite (nothing built).
CARVELL_CPP_EXPORT int HM_VD_MC_pro_outside_analysis(mc_data_s* data, mc_mirror_surface_record* surface,
                                                     const double eyes[3][3]);

#endif
