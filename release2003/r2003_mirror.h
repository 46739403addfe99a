// Internals of the 2003 mirror-certification engine: the operations its
// stages share, on the 2003 working record (hm_vd_mc.h of the release).
#ifndef CARVELL_RELEASE2003_R2003_MIRROR_H
#define CARVELL_RELEASE2003_R2003_MIRROR_H

#include "hm_vd_mc.h"

namespace carvell::r2003 {

// Writes the region and standard names of the 2003 standards table for the
// record's mirror kind and standard (kinds 0 and 1: the inside and driver
// table, standards 0 to 4; any other kind: the passenger table, 0 to 7). A
// standard outside its table writes nothing.
void mc_set_standard_names_2003(mc_data_2003_s* data);

// Appends the text (cut to 199 characters) to the record's message slots;
// with all ten in use the last slot reads "WARNINGS EXCEEDED MESSAGE LIMIT"
// and the count stays 10.
void mc_add_message(mc_data_2003_s* data, const char* text);

// The rotation that aims a mirror (point, unit normal) about the pivot so
// that the eye sees the target (target kind 0 a point, otherwise a unit
// direction): the host's twelve-value transformation. 0; 1 a rotation matrix
// or unit vector failed; 2 the eye, 3 the target point closer to the mirror
// point than the distance tolerance; 4 eye and target directions opposite;
// 5 no solution in 50 iterations; -1 a null or not finite argument.
int mc_ask_mirror_aim_rotation(const double tolerances[2], const double pivot[3], const double mirror_point[3],
                               const double mirror_normal[3], int target_kind, const double eye[3],
                               const double target[3], double matrix[12]);

// Copies the eyes (left, middle, right) to the output; when the plan-view
// angle from the outer eye to the target exceeds 30 degrees (the right eye
// when the eye reference's y is at least the pivot's, else the left), turns
// them in plan about the head pivot back to that limit and sets *rotated.
// Writes the angle (degrees). 0; -1 a null argument.
int mc_apply_head_rotation(const mc_data_2003_s* data, const double eyes[3][3], const double pivot[3],
                           const double target[3], double out_eyes[3][3], double* angle, unsigned char* rotated);

// The outermost point of the record's mirror face as the outboard eye sees
// it (the right eye looking along -y when the pivot's y is at most the eye
// reference's, else the left eye along +y; ties by +z, then +x): the view
// angle 180 - |atan2(dy, dx)| in degrees. With the record's head-rotation
// flag the eyes turn towards that point; when they did, the view angle is
// taken from the turned eye and the head turn is |atan2(R.x - L.x, R.y -
// L.y)| of the turned eyes, else 0. Writes the (turned) eyes. 0; 1 the
// extreme point was not found; 2 the head turn failed; -1 a null argument.
int mc_ask_outboard_view_angle(const mc_data_2003_s* data, const double eyes[3][3], const double pivot[3],
                               double out_eyes[3][3], double* view_angle, double* head_turn);

// Releases a geometry set: with curves, deletes each curve and the outline
// that are still alive; frees the curve array, each point and the point
// array; zeroes all seven fields in every case. Always 0.
int mc_free_geometry_set(mc_geometry_set_s* set);

// Builds the set, releasing what it held first: from the sheet's single face
// (its edges made curves) or, with no sheet, from copies of the curves; the
// curves joined into one outline (one curve is itself the outline) sampled
// at 129 points. 0; 1 a host step failed; 2 the sheet has more than one
// face; 3 the curves do not join into one curve; otherwise the sampling's
// code. What was made stays in the set for mc_free_geometry_set.
int mc_build_geometry_set(tag_t sheet, const tag_t* curves, int curve_count, mc_geometry_set_s* set);

// Names the object (when a name is given), colours it (colour above 0),
// appends it to the list and sets its blank status: 0; 1 name; 2 colour;
// 3 list insertion; 4 blank status failed.
int mc_set_object_display(tag_t object, const char* name, int colour, bool blanked, hm_list_p_t list);

// A line from start to end, displayed as mc_set_object_display does: 0; 1
// the line was not made (*line 0); 2 its display failed (the line stays in
// the part, *line 0).
int mc_create_named_line(const double start[3], const double end[3], const char* name, int colour, bool blanked,
                         hm_list_p_t list, tag_t* line);

// A copy of the union of copies of the two sheets: 0; 1 a copy failed; 2 the
// union failed. No other copy is left in the part.
int mc_unite_sheet_copies(tag_t a, tag_t b, tag_t* united);

// The extreme point of the sheet's single face in the three ranked
// directions, with the face and the sub-entity the host names (without
// one, the face's edge farthest along the first direction). 0; 1 faces not
// read; 2 count not read or no edges; 3 not exactly one face; 4 list item
// not read; 5 extreme not found; 6 edges not read.
int mc_ask_sheet_extreme_point(tag_t sheet, const double d1[3], const double d2[3], const double d3[3],
                               tag_t* subentity, tag_t* face, double point[3]);

// A bounded plane of the n curves taken as one string, its features made
// boundary-representation features; decorated (mc_set_object_display) when
// asked. tolerances: distance, angle, 0. 0; 1 the plane or its conversion
// failed (nothing left); 2 the decoration failed (the sheet stays in the
// part, *sheet 0).
int mc_create_bounded_plane(int n, const tag_t* curves, bool decorate, const char* name, int colour, bool blanked,
                            hm_list_p_t list, const double tolerances[3], tag_t* sheet);

// The sheet's outline projected along the normal of its points' least-
// squares plane onto that plane, bounding a new planar sheet (tolerances:
// distance, angle, third): 0 with *planar written; the geometry set's, the
// projection's or the bounded plane's code; 1 when no plane or no projected
// curve was made. Nothing else is left in the part.
int mc_project_sheet_to_plane(tag_t sheet, tag_t* planar, const double tolerances[3]);

// The area of the sheet's faces as a thin shell of density 1 (the host's
// mass properties in the unit system: 1 square inches, 3 square
// centimetres). 0 with *area written, or the host's code; 1 a null output.
int mc_ask_shell_area(tag_t sheet, int unit_system, double* area);

// The area of the sheet as a thin shell (the host's mass properties in unit
// system 1): a planar sheet measured directly, any other on its plane
// (mc_project_sheet_to_plane) under the undo mark "planar_mark", undone on
// every path. 0 with *area written, or the failing step's code.
int mc_ask_sheet_area(tag_t sheet, const double tolerances[3], double* area);

// A cap of the mirror's sphere (centre, radius, normal of the surface) cut to
// the trimming curves: the half towards the axis, then the side of the
// curves that holds the vertex (the other side when that keeps more than
// half of the half sphere), along -normal and, when that fails, +normal.
// The surface's vertex and curvature are written. 0; 1 any step failed.
// Only the cap is left in the part.
int mc_trim_sphere_to_outline(const tag_t* curves, int count, double tolerance, tag_t* sheet,
                              mc_mirror_surface_s* surface);

// Carries the set's closed outline through the mirror as the eye sees it
// (mode 1: the points seen in the mirror; otherwise points on it) onto the
// target plane x = *target_x, optionally projected onto a target object:
// the sheet on the mirror and the sheet on the target. 0; 1 a pierce or
// reflection failed, or a reflected ray runs along the target plane; 2 the
// projection's group was not read; 3 the projection failed (both sheets
// still made); 5, 6 the spline on the mirror, on the target failed; 7 the
// target sheet; 8 the spherical, 9 the plane mirror sheet failed.
int mc_project_outline_through_mirror(const mc_geometry_set_s* set, int mode, const double eye[3],
                                      const mc_mirror_surface_s* surface, const double tolerances[2],
                                      const double* target_x, tag_t projection_target, tag_t* mirror_sheet,
                                      tag_t* target_sheet);

// Checks the mirror outline against the user's radius (the record's first
// mirror radius) by the least-squares sphere of its points: a fitted radius
// off by more than the distance tolerance adds "Calculated radius differs
// from user specified"; a circle wider than the radius adds "Invalid radius
// for given mirror geometry" and gives 3. Otherwise the mirror sheet is made
// again as the cap of the user's sphere through the outline's circle and the
// set is built from it. 0; 1 rebuilding failed; 3 radius invalid; 99 no
// sphere fit, or its centre within the tolerance of the outline's plane.
int mc_check_mirror_radius(mc_geometry_set_s* set, mc_data_2003_s* data, tag_t* sheet,
                           mc_mirror_surface_s* surface);

// The eyes (left, middle, right), the head pivot and the rear eye point.
// With the user's eye reference: the middle eye 635 mm (25 in) above it, the
// others 32.5 mm (half the spacing) to each side, the head pivot 98.54 mm to
// the rear of the middle eye, which is also the rear eye point. With the
// eyellipse: the plan-view ellipse on the mirror's side sampled at 357
// points, the sample farthest from the pivot (eye type 0), nearest (2) or
// midway, the other eye the ellipses' separation away, and the rear eye the
// ellipse's point farthest to the rear. 0; 1 no ellipse on a side (the
// pivot straight ahead) or its sampling failed; 2 the ellipses' data or the
// minimum distance failed; 3 the probing plane was not made.
int mc_find_eye_points_2003(const mc_data_2003_s* data, double eyes[3][3], double pivot[3], double rear_eye[3]);

// The design parameters of an eyellipse rule instance, in the order of its
// class's parameters (rule attribute in brackets).
constexpr int MC_EYELLIPSE_ENTITIES = 14;
constexpr int MC_EYELLIPSE_NAME_SIZE = 32;   // the name, at most 31 characters
struct mc_eyellipse_params_s {
    char name[MC_EYELLIPSE_NAME_SIZE];     // [Name]
    int standard;                          // [Standard]
    int unit;                              // [Unit]
    int vehicle_class;                     // [Vehicle_Class]
    int population_percentile;             // [Population_Percentile]
    int male_female_ratio;                 // [Male_Female_Ratio]
    double back_angle;                     // [Back_Angle]
    int seat_track_travel;                 // [Seat_Track_Travel]
    double hip_point_x;                    // [Hip_Point_X]
    double hip_point_y;                    // [Hip_Point_Y]
    double hip_point_z;                    // [Hip_Point_Z]
    double heel_point_x;                   // [Heel_Point_X]
    double heel_point_z;                   // [Heel_Point_Z]
    unsigned char left_side;               // [Left_Side]
    int seat_position;                     // [Seat_Position]
    double prp_x;                          // [PRP_X]
    double chair_height;                   // [Chair_Height]
    double prp_swc_length;                 // [PRP_SWC_Length]: pedal reference point to steering-wheel centre
    int transmission_type;                 // [Transmission_Type]
    unsigned char use_lean;                // [Use_Lean]
    double shoulder_room;                  // [Shoulder_Room]
    double steering_center_y;              // [Steering_Center_Y]
    unsigned char use_head_movement;       // [Use_Head_Movement]
    int head_movement_dir;                 // [Head_Movement_Dir]
    double angle;                          // [Angle]
    double distance;                       // [Distance]
    unsigned char entity_visible[MC_EYELLIPSE_ENTITIES];   // [entity_visible]
    int entity_color[MC_EYELLIPSE_ENTITIES];               // [entity_color]
    int entity_layer[MC_EYELLIPSE_ENTITIES];               // [entity_layer]
};

// Reads the parameters of the eyellipse instance (prefix "root:NAME:"): each
// attribute evaluated and read with the reader of its field, the three
// entity lists item by item; the name cut to 31 characters. 0, or the code
// of the first query that failed (a missing attribute, another kind, an
// entity list of fewer than 14 items); -1 a null argument or a rule name
// longer than 132 characters. *params is written only on success.
int mc_read_eyellipse_params(const char* prefix, mc_eyellipse_params_s* params);

// Creates the eyellipse instance named by the text between the first and
// second colon of `rule_name` ("root:NAME:") under the root of the work part,
// class "%kw_vd_eyellipse", from the parameters written as rule texts (the
// name quoted, numbers "%f", booleans True/False, entity lists in braces).
// The host's code of the creation; -1 a null argument, a name with fewer
// than two colons, or a number that is not finite or too long for its text.
int mc_create_eyellipse_rule(const char* rule_name, const mc_eyellipse_params_s* params);

// The eye geometry of the eyellipse instance (prefix "root:NAME:"): the left
// and right eye centroids (first and third of "Centroid_coords"), the first
// two axis lengths and axis directions, and the hip point. 0, or the code of
// the first query that failed; -1 a null argument or a rule name longer
// than 132 characters. Nothing is written unless every query succeeded.
int mc_read_eyellipse_eye_geometry(const char* prefix, double centroids[2][3], double axis_lengths[2],
                                   double first_dir[3], double second_dir[3], double hip_point[3]);

// One curve joined from the lines between consecutive points (the lines are
// deleted). 0; 1 fewer than two points; 2 two consecutive points coincide
// or a line failed; 3 a line not listed; 4 the join failed; -1 null argument.
int mc_create_joined_polyline(const double (*points)[3], int n, tag_t* curve);

// An ellipse about the centre in the plane of the two directions with
// semi-axes a and b, from the start to the end angle (radians). 0; -1 an end
// angle below the start, or no conic made.
int mc_create_ellipse_conic(const double centre[3], double a, const double a_direction[3], double b,
                            const double b_direction[3], double start, double end, tag_t* conic);

// The set's outline seen from the eye on a plane object: its points
// projected centrally from the eye onto the plane, one closed spline through
// them. *count 1 and *curves an SM_alloc'd array of it (freed with SM_free).
// 0, the spline's code, or -1: a null argument, an unreadable plane, or an
// outline point as far from the plane as the eye; nothing built then.
int mc_project_outline_to_plane(const double eye[3], const mc_geometry_set_s* set, tag_t plane, int* count,
                                tag_t** curves);

// How much of the vision triangle on the target plane x = *target_x the two
// eyes (eyes[0], eyes[2]) see in the mirror: the triangle cut to the union of
// the first views (and of the second views when both are given), less what
// the record's restrictions hide (mt: seen in the mirror, per eye; em: between
// eyes and mirror, what both eyes lose). Restriction images are coloured
// (colour_eye0, colour_eye2) and listed; images that would split an area are
// not subtracted but drawn dotted. *obstruction in percent, *triangle the
// remaining triangle. 0; 1 the triangle's area (not read or not positive) or
// the remaining area not read; 3 a copy; 4 a geometry set or projection; 5 an
// image's display; 6 the union of two views; 7 the dotted list; 10-15, 20-25
// the first, second views' cut; 30, 31 the result's faces; 100 the triangle
// is out of viewing range; -1 a null argument (nothing built).
int mc_judge_vision_triangle(tag_t triangle, tag_t first_view_eye0, tag_t first_view_eye2, tag_t second_view_eye0,
                             tag_t second_view_eye2, int colour_eye0, int colour_eye2,
                             const mc_mirror_surface_s* surface, mc_data_2003_s* data, const double eyes[3][3],
                             const double* target_x, tag_t projection_target, hm_list_p_t result_list,
                             double* obstruction, tag_t* out_triangle);

// The inside-mirror analysis: mirror and backlite outlines, the two passes of
// the turning search ("U_" then "D_") and their sight geometry, into the
// record's inside result. 0; 2 the mirror outline or plane; 3 the backlite
// outline; 4 a least-squares plane; 5 the centering plane or the analysis;
// -1 a null record or one without its inside result.
int mc_analyze_inside_mirror_2003(mc_data_2003_s* data);

// The loading of the vehicle: pitch about G1 and drop from G0, applied to the
// record's points, sheets and lists (moved copies), and, with the eyellipse,
// the two plan-view ellipses of a loaded copy of it. 0, or the host's code of
// the transformation that failed.
//
// The pitch and the loaded eyellipse are worked out before anything moves: a
// failure there (-1 a null record, a point that is not a number, or a pitch
// needed while G1 and G2 stand one above the other; the code of a query or
// of the copy instance's creation; the ellipses' code) leaves the record and
// the part as they were. A failed copy returns the host's code: the mirror
// sheet's after the ellipses are replaced; a list's with the copies made of
// it deleted and the list as it was, the lists after it untouched.
int mc_apply_loading_2003(mc_data_2003_s* data);

// The two plan-view eye ellipses of an eyellipse (its first and third
// centroids, axis lengths and first two axis directions, as
// mc_read_eyellipse_eye_geometry reads them): about each centroid, semi-axes
// half the first and half the second axis length along the first and second
// axis direction, a whole turn. 0 with both written; otherwise the conic's
// code (-1 for a null argument) and neither is left in the part.
int mc_create_eye_ellipses_2003(const double centroids[2][3], const double axis_lengths[2],
                                const double first_dir[3], const double second_dir[3], tag_t ellipses[2]);

// Writes the summary report of the run into the host's listing window, as
// the current engine does: the inside result's passes "(Up)" and "(Down)",
// the outside result's angles, deviations and area, and the ten message
// slots. 0; 1 the window cannot be opened; -1 a null record.
int mc_write_report_2003(const mc_data_2003_s* data);

}  // namespace carvell::r2003

#endif
