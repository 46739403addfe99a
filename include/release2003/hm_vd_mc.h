// Mirror certification as the 2003 release holds it: its own, older working
// record and result records, the engine's exports under the current names
// with the 2003 arguments, and the dialog's input checks (the current code).
//
// Everything is in absolute coordinates (x along the vehicle, y across, z
// up); lengths in the work part's units, angles in degrees. Every name is
// plain (C).
//
// Ownership: the caller allocates mc_input_data_2003_t and mc_data_2003_s.
// Texts and tag arrays of the input record stay the caller's (borrowed).
// Between HM_VD_MC_init_data and HM_VD_MC_release_data the library owns every
// host list of the working record, the result record of the mirror kind with
// the records it points to and its result list, and the ten message slots;
// HM_VD_MC_release_data frees them and nulls the pointers it freed. Geometry
// is never owned by the record.
#ifndef CARVELL_HM_VD_MC_H
#define CARVELL_HM_VD_MC_H

#include "carvell_export.h"
#include "host_types.h"

#include <stdbool.h>

// The input checks (the current code), and the most objects a caller array
// may hold.
#include "hm_vd_mc/checks.h"

enum { MC_NAME_SIZE = 200, MC_MAX_MESSAGES = 10, MC_OUTLINE_POINTS = 129 };

/* ---- input record, filled by the caller: the values the initialisation
   copies, in the order it copies them ---- */
struct mc_input_data_2003_t {
    int mirror_kind;          // 0 inside, 1 driver outside, 2 passenger outside
    int standard;             // row of the 2003 standards table of that kind
    int result_layer;
    const char* eyellipse_name;       // "root:<instance>:", borrowed
    int eye_type;             // 0 farthest, 1 nearest, other middle eye sample
    double eye_reference_point[3];
    bool head_rotation;
    tag_t mirror_sheet;
    double pivot_point[3];
    double prime_point[3];
    int bezel_count;
    const tag_t* bezel_curves;        // borrowed
    tag_t opposite_mirror_sheet;
    int further_value;
    bool skip_area_test;
    double caller_points[3][3];       // the first and third give the ground level
    tag_t backlite_sheet;
    double mirror_radius[3];          // 0 in the second or third: 100.0, 999999.0
    int mirror_shape;                 // 0 flat, otherwise spherical (convex)
    bool user_override;
    double user_distance;
    double user_width;
    double user_angle;
    double standard_distance;
    double standard_width;
    double standard_angle;
    bool loading;
    double loading_vectors[3][3];
    int em_restriction_count;
    const tag_t* em_restrictions;     // eye-to-mirror restrictions, borrowed
    int mt_restriction_count;
    const tag_t* mt_restrictions;     // mirror-to-target restrictions, borrowed
    int colours[9];                   // 0: the default colour 2
};

/* ---- the outline of one sheet or curve loop ---- */
struct mc_geometry_set_s {
    tag_t sheet;              // 0 when built from curves
    tag_t face;               // the sheet's single face; 0 from curves
    int curve_count;
    tag_t* curves;            // owned copies or edge curves
    tag_t outline;            // the closed curve joined from them
    int point_count;          // MC_OUTLINE_POINTS once sampled
    double** points;          // owned array of owned double[3]
};

/* ---- the mirror surface: s(P) = 2 n.(P - V) + c |P - V|^2 = 0 ---- */
struct mc_mirror_surface_s {
    double centre[3];         // sphere centre (a plane: any of its points)
    double curvature;         // 1 / radius; 0 or less: a plane
    double radius;
    double vertex[3];         // where the mirror axis meets the surface
    double normal[3];         // unit normal, the mirror axis
};

/* ---- result records ---- */
struct mc_target_result_s {
    double inboard_point[3];
    double outboard_point[3];
    double inboard_deviation;         // "Inboard Deviation" of the first target
    double outboard_deviation;        // "Outboard Deviation" of the first target
    double achieved_width;
    double ground_distance;
};

struct mc_outside_result_s {
    double ambinocular_angle_at_ground;   // "Ambinocular Angle @ Ground PV"
    double left_eye[3];
    double mid_eye[3];
    double right_eye[3];
    double head_pivot[3];
    double mirror_rotation_angle_ls;      // "Mirror Rotation Angle LS"
    double mirror_rotation_angle_pv;      // "Mirror Rotation Angle PV"
    double head_turn_angle;               // "Head Turn Angle PV"
    double max_ambinocular_angle;         // "Max Ambinocular Angle PV"
    double rear_eye_x;
    double angle_view_angle;
    double vision_triangle_obstruction;   // percent
    double area_percentage;               // "Driver Mirror", "%.4f%%"
    mc_mirror_surface_s* surface;
    hm_list_p_t result_objects;
    mc_target_result_s* first;
    mc_target_result_s* second;
};

// One pass of the inside analysis ("U_" first, then "D_").
struct mc_inside_pass_s {
    double search_values[2];          // the second is the head turn
    double plan_angle;                // "Mirror Rotation Angle PV"
    double side_angle;                // "Mirror Rotation Angle LS"
    double mirror_view_angle;
    double backlite_view_angle;
    double ambinocular_angle[2];      // held twice; "Ambinocular Angle"
    double ground_width;
    double mirror_plan_view_angle;
    double ground_distance;
    double restriction_result;        // "Backlite Restriction PV"
    double ground_target[3];
    double up_angle;                  // "Up Angle LS"
    double down_angle;                // "Down Angle LS"
};

struct mc_inside_result_2003_s {
    double left_eye[3];
    double mid_eye[3];
    double right_eye[3];
    double head_pivot[3];
    hm_list_p_t result_objects;
    double ground_point[3];
    mc_inside_pass_s* up;
    mc_inside_pass_s* down;
};

/* ---- working record ---- */
struct mc_data_2003_s {
    int units;                        // 0 millimetres, 1 inches
    int mirror_kind;
    int standard;
    int user_eye_flag;                // 0 eyes from the eyellipse, 1 from the reference point
    const char* eyellipse_name;       // borrowed
    const char* eye_step_eyellipse_name;  // set only with user eye flag 0
    tag_t first_ellipse;
    tag_t second_ellipse;
    int eye_type;                     // 0 farthest, 1 middle, 2 nearest
    double eye_reference[3];
    double eye_reference_copy[3];
    unsigned char head_rotation;
    char region_name[MC_NAME_SIZE];
    char standard_name[MC_NAME_SIZE];
    double distance_tolerance;
    double angle_tolerance;
    double third_tolerance;
    tag_t mirror_sheet;               // in use; the outside analysis swaps in copies
    char mirror_name[MC_NAME_SIZE];
    tag_t caller_mirror_sheet;
    mc_geometry_set_s mirror_set;
    double pivot[3];
    double start_pivot[3];
    double prime[3];
    double start_prime[3];
    unsigned char bezel_present;
    hm_list_p_t bezel_curves;
    hm_list_p_t bezel_copy;
    char bezel_name[MC_NAME_SIZE];
    tag_t opposite_mirror_sheet;
    int further_value;
    unsigned char skip_area_test;
    double caller_points[3][3];
    tag_t backlite_sheet;
    char backlite_name[MC_NAME_SIZE];
    tag_t backlite_copy;
    double rear_eye[3];
    double measured_radius;           // of a convex mirror, by the outside preparation; 0 flat
    double mirror_radius[3];
    int mirror_shape;
    int reserved_values[2];
    unsigned char user_override;
    double user_distance, user_distance_reserved;
    double user_width, user_width_reserved;
    double user_angle, user_angle_reserved;
    double standard_distance, standard_reserved;
    double standard_width, far_side_value;
    double standard_angle, standard_angle_reserved;
    unsigned char loading;
    double loading_vectors[3][3];
    unsigned char em_present;
    unsigned char mt_present;
    hm_list_p_t em_restrictions;
    hm_list_p_t mt_restrictions;
    hm_list_p_t em_copy;
    hm_list_p_t mt_copy;
    int colours[9];
    int message_count;
    char** messages;                  // MC_MAX_MESSAGES slots of MC_NAME_SIZE
    mc_outside_result_s* outside;
    mc_inside_result_2003_s* inside;
    int result_layer;
};

/* ---- the engine ---- */

// Clears the record and fills it from the caller's input; 0, -1 for a null
// argument or unreadable input (nothing built, the record as it was).
CARVELL_C_EXPORT int HM_VD_MC_init_data(mc_input_data_2003_t* input, mc_data_2003_s* data);
// Runs the certification: 0; 1 the loading failed; 2 the eye points; 3 the
// inside analysis; 4 the outside analysis; -1 for a null record or one that
// HM_VD_MC_init_data has not filled. A finished run puts its results on the
// result layer and writes the summary report into the listing window.
CARVELL_C_EXPORT int HM_VD_MC_process(mc_data_2003_s* data);
// Frees what the initialisation and the run put in the record and nulls it;
// the part's geometry stays. Twice is safe; a null record: nothing.
CARVELL_C_EXPORT void HM_VD_MC_release_data(mc_data_2003_s* data);

// The point X of the mirror through which the eye E sees the target T:
// 0; 1 eye not on the viewing side; 3 a normal not made a unit vector; 4 eye
// and target coincide within the angle tolerance; 5 the eye-target segment
// crosses the mirror; 6 both within the distance tolerance of the mirror;
// 7 no solution in 25 iterations; -1 a null argument or a negative radius.
CARVELL_C_EXPORT int HM_VD_MC_pierce(const double tolerances[2], const mc_mirror_surface_s* surface,
                                     const double eye[3], const double target[3], double point[3]);
// The reflection at the mirror of the ray from E through Q: the mirror point
// X and the reflected direction r. 0; 1 a direction not made a unit vector;
// 2 eye not on the viewing side; 3 the ray misses; 4 the ray points away
// (or runs along a plane mirror); -1 a null argument.
CARVELL_C_EXPORT int HM_VD_MC_reflex(const mc_mirror_surface_s* surface, const double eye[3], const double q[3],
                                     const double tolerances[2], double point[3], double direction[3]);

// Turns an outside mirror about its pivot until the prime point is seen at
// the right place. 0; 1 the outboard view step failed; 2 a host or
// modelling step failed; 3 the aim rotation failed; 5 a reflection failed;
// 6 the bounded surfaces failed; -1 a null or not finite argument or a
// tolerance that is not positive.
CARVELL_C_EXPORT int HM_VD_MC_pro_position_outside_mirror(mc_data_2003_s* data, mc_mirror_surface_s* surface,
                                                          mc_outside_result_s* result, double matrix[12],
                                                          tag_t* rotated_sheet, double prime_on_mirror[3],
                                                          double eyes[3][3]);
// The outside-mirror analysis of the prepared mirror from the rear eye point:
// the mirror turned (the record's mirror sheet becomes the turned one), the
// sight geometry to the targets named, coloured and listed in the outside
// result, its angles, deviations, widths and ground distance, and the
// analysis's messages. 0; otherwise the first failing step's code: the
// positioning's, a geometry operation's, the pierce's or reflection's, the
// vision-triangle test's (100: the triangle is out of viewing range), a
// host code, or 101 (the sight over the lowest seen point runs level and
// never reaches the ground); -1 a null argument or a surface or rear eye
// point that is not finite.
CARVELL_C_EXPORT int HM_VD_MC_pro_outside_analysis(mc_data_2003_s* data, mc_mirror_surface_s* surface,
                                                   double rear_eye[3]);
// The outside-mirror preparation and analysis as the process runs them: a
// passenger mirror's area against the opposite one (eyellipse eye points),
// the mirror sheet made a sphere cap (convex) or a bounded plane (flat) with
// its surface in the outside result, then the analysis. 0; 1 the mirror
// sheet has more than one face; 2 the opposite mirror has no area;
// otherwise the first failing step's code (a host code, a geometry
// operation's, or the analysis's); -1 a null record or outside result.
CARVELL_C_EXPORT int HM_VD_MC_apf_process_outside(mc_data_2003_s* data);

#endif
