// H-point design tool: geometry primitives, leg posture and leg room, the
// posture checks, the locked-ankle adjustments, the back pivots and the error
// texts. Decorated names, except the circle intersection and the list and
// array conversions, which keep plain names.
//
// Lengths are in the work part's units, angles in degrees. Side-view points
// are (L, H) pairs (the x and z of a vehicle point), plan-view points (L, W).
// Leg lengths are pairs (upper leg, lower leg).
#ifndef CARVELL_HPD_H
#define CARVELL_HPD_H

#include "carvell_export.h"
#include "host_types.h"
#include "hpd_record.h"   // the design record, its reader, spreadsheet and report

/* ---- geometry primitives ---- */

// Turns `point` about the vertical through `centre` by `angle` degrees
// (counter-clockwise seen from above); the height is kept. An angle of at most
// 1e-10 or a point on the vertical leaves it unchanged. point and out may be
// the same array.
CARVELL_CPP_EXPORT void HPD_transform_point_to_pv(double* point, double* centre, double angle, double* out);

// Intersection of the circles (c1, r1) and (c2, r2): *count 1 for touching
// circles (within 1e-6), else 2, with the points in points[0..count-1] (for two
// points: c1 + r1 * (unit(c2 - c1) turned by +a, then by -a)). Answers 0, or -1
// when the circles are apart, nested or equal and concentric (count 0).
CARVELL_C_EXPORT int HM_VD_ask_circle_intersect_point(double* c1, double r1, double* c2, double r2, int* count,
                                                      double points[2][2]);

// The items of a host list in a new array (free with SM_free); *count the
// number of items. A null count leaves *array null.
CARVELL_C_EXPORT void change_list_to_array(hm_list_s* list, int* count, tag_t** array);
// A new host list (delete with HM_MODL_delete_list) holding the identifiers in order.
CARVELL_C_EXPORT void change_array_to_list(int count, tag_t* array, hm_list_s** list);

// The base point of a section plane moved in W into the W range of the
// objects: with use_boxes the middle of their boxes' W range; otherwise the
// middle of the W range of their points nearest to the base, when the base
// lies outside it. Answers 0, 10 when the distance query fails for the first
// object, 20 for a later one.
CARVELL_CPP_EXPORT int HM_VD_HPD_adjust_plane_base_pt(int count, tag_t* objects, double* base, bool use_boxes,
                                                      double* out);

/* ---- leg posture, leg room and posture checks ---- */

// Leg angles and leg room for the SgRP (L, H) and a heel heel_dl in front of
// and heel_dh below it. result: ankle, thigh, knee and hip angles and the leg
// room. Answers 0; 23 when the SgRP is out of reach; 24 (25) for a negative
// horizontal (vertical) offset; -1 when no knee is found.
CARVELL_CPP_EXPORT int HM_VD_HPD_ask_leg_angles_legroom(double* sgrp, double heel_dl, double heel_dh,
                                                        double shoe_angle, double* leg_lengths, double back_angle,
                                                        bool room_only, double* result);
// Checks a heel (3-D) of leg 0 (right), 1 (left) or 2 (second right) against
// the SgRP: 0, 23 (out of reach), 24, 25, 26 or 27 (wrong side).
CARVELL_CPP_EXPORT int HM_VD_HPD_is_valid_shoe_position(int leg, double* heel, double* sgrp, double upper_leg,
                                                        double lower_leg, double shoe_angle, double pv_angle);
// The posture checks; with `show` a failure is shown in the H-point dialog.
CARVELL_CPP_EXPORT bool HM_VD_HPD_check_hpd_width(double* heel, double* sgrp, double pv_angle, bool show);
CARVELL_CPP_EXPORT bool HM_VD_HPD_check_hpd_length(double* heel, double* sgrp, double pv_angle, double* leg_lengths,
                                                   double shoe_angle, bool show);
CARVELL_CPP_EXPORT bool HM_VD_HPD_check_right_shoe(double* heel, double* sgrp, double pv_angle, bool show);
CARVELL_CPP_EXPORT bool HM_VD_HPD_check_left_shoe(double* heel, double* sgrp, double pv_angle, bool show);

// Moves the heel in L so that the ankle angle is met. 0, or -1 when it cannot
// be met (heel unchanged).
CARVELL_CPP_EXPORT int HM_VD_HPD_lock_pass_ankle_angle_by_coordinate_adjustment(double* sgrp, double pv_angle,
                                                                                double shoe_angle,
                                                                                double ankle_angle,
                                                                                double* leg_lengths, double* heel);
// Turns the shoe about the heel so that the ankle angle is met. 0; -1 ankle
// angle outside [0, 180]; -2 a leg length outside [250, 550] mm; -3 no knee.
CARVELL_CPP_EXPORT int HM_VD_HPD_lock_pass_ankle_angle_by_shoe_angle_adjustment(double* sgrp, double pv_angle,
                                                                                double ankle_angle,
                                                                                double* leg_lengths, double* heel,
                                                                                double* shoe_angle);
// Turns the shoe about the ball of foot so that the ankle angle is met; heel
// and shoe angle are updated. Codes as above.
CARVELL_CPP_EXPORT int HM_VD_HPD_lock_pass_ankle_angle_by_keep_bof_location(double* sgrp, double pv_angle,
                                                                            double ankle_angle,
                                                                            double* leg_lengths, double* heel,
                                                                            double* shoe_angle);

/* ---- back pivots ---- */

// The five points P1, P2, C, D and E of the back linkage for the length p,
// relative to the reference point, at the ALPHA angle that brings E to the
// reference height. Answers 0; -1 when the linkage cannot be solved for p
// (points not written).
CARVELL_CPP_EXPORT int HM_VD_HPD_ask_back_pivot_relative_locations(double p, double (*points)[2]);

/* ---- error codes and messages ---- */

// The text of an H-point code, in a new string (free with SM_free).
CARVELL_CPP_EXPORT char* HM_VD_HPD_ask_error_message(int code);
// Shows the dialog of a code that has one: an error for codes above 0, a
// warning for 0 and below.
CARVELL_CPP_EXPORT void HM_VD_HPD_display_failmessage(int code);

/* ---- reverse engineering of a seating layout ---- */

// The accelerator heel point of a seating layout from the SgRP (occupant's
// side-view frame), the leg lengths (upper, lower) and locked values. option
// (locked[0], locked[1]): 0 (A46, H30), 1 (A47, H30), 3 (H30 only; A47 =
// 77 - 0.08 per mm of H30), any other (A46, A47). With use_variable 1 the
// quantity variable_type names takes deviate_value: 0 the free one of A46,
// A47, H30; 1 L53; 2 A42; 3 A57; any other A44. Otherwise the SgRP lies on
// the seat curve of vehicle_class (male_female_ratio for class B). heel
// receives the AHP turned about the SgRP by pv_angle, *a47_out A47 and
// *h30_out H30, each when known. Answers 0; -1 for bad arguments, no
// convergence or a posture the legs cannot reach; or the code of the
// posture step that failed (32: the knee would bend beyond 180 degrees).
CARVELL_CPP_EXPORT int HM_VD_HPD_reverse_engineering(int option, double sgrp[3], double pv_angle,
                                                     double leg_lengths[2], double locked[2], double heel[3],
                                                     int use_variable, int variable_type, double deviate_value,
                                                     double* a47_out, double back_angle, int vehicle_class,
                                                     double* h30_out, int male_female_ratio);
// SgRP on the seat curve, H30 and A46 locked: the L of the ball of foot and
// A47. 0; -1 bad arguments or no convergence (outputs hold the last root);
// the knee's code for class B.
CARVELL_CPP_EXPORT int HM_VD_HPD_define_foot_position_by_locking_ankle_angle(double* sgrp, double* leg_lengths,
                                                                            double h30, double ankle_angle,
                                                                            double* bof_length,
                                                                            double* pedal_angle,
                                                                            int vehicle_class,
                                                                            int male_female_ratio);
// SgRP on the seat curve, H30 and A47 locked: the L of the ball of foot and
// A46. 0; -1 bad arguments or no knee (the ball of foot is still written).
CARVELL_CPP_EXPORT int HM_VD_HPD_define_foot_position_by_locking_pedal_angle(double* sgrp, double* leg_lengths,
                                                                            double h30, double pedal_angle,
                                                                            double* bof_length,
                                                                            double* ankle_angle,
                                                                            int vehicle_class,
                                                                            int male_female_ratio);
// SgRP on the seat curve, angles = (A47, A46) locked: the L of the ball of
// foot and H30. 0; -1 bad arguments or the thigh misses the seat curve; 32
// when the knee would bend beyond 180 degrees.
CARVELL_CPP_EXPORT int HM_VD_HPD_define_foot_position_by_locking_both(double* sgrp, double* leg_lengths,
                                                                     double* angles, double* bof_length,
                                                                     double* h30, int vehicle_class,
                                                                     int male_female_ratio);
// The pedal angle A47 in (0, 77) at which the heel L53 in front of and h30
// below the SgRP gives the ankle angle (bisection). 0; -1 bad arguments, no
// convergence or a leg that cannot be placed (*pedal_angle = last angle).
CARVELL_CPP_EXPORT int HM_VD_HPD_ask_pedal_angle_by_ankle_angle(double* sgrp, double* leg_lengths,
                                                                double back_angle, double l53, double h30,
                                                                double ankle_angle, double* pedal_angle);
// The seat height H30 in the class range (A 127 to 405 mm, B 405 to 530 mm)
// at which the heel L53 in front of the SgRP with the pedal angle gives the
// ankle angle (bisection). Codes as above (*h30 = last height).
CARVELL_CPP_EXPORT int HM_VD_HPD_ask_seat_height_by_ankle_angle(double* sgrp, double* leg_lengths,
                                                                double back_angle, double l53, double pedal_angle,
                                                                double ankle_angle, int vehicle_class, double* h30);

#endif
