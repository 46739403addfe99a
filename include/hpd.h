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
/* ---- seating reference point formula and curves ---- */
// Vehicle class 0 is class A, any other class B. Male-female ratio 0 is
// "50:50", 1 "75:25", any other "90:10 or 95:5". Seating position 0 is the
// driver, any other a passenger. Vehicle frames are an origin and a matrix.

// Class B fore-aft distance of the SgRP for the seat height: c - k * h30 (part units).
CARVELL_CPP_EXPORT double VD_HPDWIZ_SGRPX_B(double h30, int male_female_ratio);
// The class A SgRP parabola: heights 127 to 405 mm above dz at X_A(h) from
// dx, in the plane W = w, vertex turned about the vertical through pv_centre
// by pv_angle, all mapped from the vehicle frame. Creates the conic when
// *curve is 0 (writing its identifier), else edits that conic.
CARVELL_CPP_EXPORT void VD_HPD_update_sgrp_curve_A(double dx, double w, double dz, double pv_angle, tag_t* curve,
                                                   double* csys_origin, double* csys_matrix, double* pv_centre);
// The class B SgRP line from H30 530 mm to 405 mm above base, mapped from the
// vehicle frame and then turned about the vertical through base. Creates the
// line when *curve is 0, else edits it.
CARVELL_CPP_EXPORT void VD_HPD_update_sgrp_curve_B(double w, double pv_angle, int male_female_ratio, tag_t* curve,
                                                   double* csys_origin, double* csys_matrix, double* base);
// The AHP and the pedal angle for the SgRP and seat height (standard driver
// formulas for legs 456/459 mm, a leg-chain estimate otherwise), turned about
// the SgRP by pv_angle. 0; -1 for a null argument.
CARVELL_CPP_EXPORT int HM_VD_HPD_ask_right_shoe_target(int seating_position, double* sgrp, double thigh_angle,
                                                       double* leg_lengths, double h30, double pv_angle,
                                                       double* ahp, double* pedal_angle, int vehicle_class,
                                                       int male_female_ratio);
// The SgRP on the class's seat curve for the AHP, pedal angle and seat height,
// moved laterally by `lateral` - 148.5 mm and turned about the AHP by pv_angle.
CARVELL_CPP_EXPORT void HM_VD_HPD_ask_sgrp_on_curve(double* ahp, double pedal_angle, double h30, double pv_angle,
                                                    double* sgrp, double lateral, int vehicle_class,
                                                    int male_female_ratio);
// The range of seat heights for the target posture. 0; -1 when the leg cannot
// reach (max = 107 mm + both legs, min = 0 when the leg falls short, outputs
// not written when the SgRP lies beyond any reach or for a null argument).
CARVELL_CPP_EXPORT int HM_VD_HPD_ask_valid_h30_for_target_posture(int seating_position, double upper_leg,
                                                                  double lower_leg, double thigh_angle,
                                                                  double* h30_max, double* h30_min,
                                                                  int vehicle_class);
// The initial PRP and pedal angle in the vehicle frame from the accelerator's
// faces, edges or curves; leaves the part and the caller's array unchanged.
// 0; -1 no objects, a dead object or a null argument; -2 no pedal curve.
CARVELL_CPP_EXPORT int HM_VD_HPD_ask_init_prp(double* csys_matrix, double* csys_origin, int count,
                                              tag_t* accelerator, double* prp, double* pedal_angle,
                                              double unused);
// One curve from the objects: faces cut by the vertical plane through point
// (normal +Y turned by pv_angle), edges and curves copied; pieces joined. The
// new curves stay in the part. 0; -1 empty input; -10 faces mixed with other
// objects; -20 no curve; -30 the curves do not join into one.
CARVELL_CPP_EXPORT int HM_VD_HPD_combine_curves(hm_list_s* objects, double* point, double pv_angle, tag_t* curve);

/* ---- shoe and pedal contact ---- */

// The right heel against the accelerator pedal. Pedal and floor are turned
// back by pv_angle about the vertical through pv_centre. With use_pedal and a
// pedal, the shoe is solved on the pedal: in mode 2 or without a floor the
// heel keeps its height, otherwise the heel goes onto the floor; pedal_angle
// receives the sole angle (degrees). Without the pedal, the heel goes onto
// the floor below it (modes 0 and 1). The heel is turned forward again and,
// with use_pedal, moved sideways by the lateral offset. Answers 0; 40 when
// the probe plane cannot be made; 50 when the contact, a nearest-point query
// or a turned copy fails; -1 for null pointers. Nothing is written on failure.
CARVELL_CPP_EXPORT int HM_VD_HPD_ask_occ_target(bool use_pedal, tag_t pedal, double* pedal_angle, int mode,
                                                tag_t floor, double* heel, double pv_angle, double* pv_centre,
                                                double lateral_offset);
// The heel on the heel floor (modes 0 and 1) and, with find_floor_angle, the
// floor plane angle (degrees) of the ball of foot on its floor. Both floors
// are turned back by pv_angle about the vertical through pv_centre; the heel
// is taken and answered in that turned-back frame. Answers 0; -2 when the
// heel lies beyond the heel floor's ends (it takes the L and H of the floor
// point nearest to it); 40 probe plane; 50 floor contact, nearest-point query
// or turned copy failed; -1 for null pointers. Nothing is written on failure.
CARVELL_CPP_EXPORT int HM_VD_HPD_ask_shoe_target(bool find_floor_angle, tag_t bof_floor, double* floor_angle,
                                                 int mode, tag_t heel_floor, double* heel, double pv_angle,
                                                 double* pv_centre);
// AHP of a 200 mm shoe from the PRP: (PRP.L + 200 cos A, PRP.W, PRP.H - 200
// sin A) turned about the PRP's vertical by pv_angle (A = pedal angle).
CARVELL_CPP_EXPORT void HM_VD_HPD_ask_ahp_by_prp_no_offset(double* prp, double pedal_angle, double pv_angle,
                                                           double* ahp);
// PRP from the AHP: (AHP.L - 200 cos A, AHP.W, AHP.H + 200 sin A) turned
// about the AHP's vertical by pv_angle.
CARVELL_CPP_EXPORT void HM_VD_HPD_ask_prp_by_ahp_no_offset(double* ahp, double pedal_angle, double pv_angle,
                                                           double* prp);
// AHP W from the PRP W: prp_w + 200 cos(pedal_angle) sin(pv_angle).
CARVELL_CPP_EXPORT void HM_VD_HPD_ask_ahp_y_no_offset(double prp_w, double pedal_angle, double pv_angle,
                                                      double* ahp_w);
// out = point + distance * (-W turned about +H by pv_angle), that is
// point + distance * (sin pv, -cos pv, 0).
CARVELL_CPP_EXPORT void HM_VD_HPD_ask_offset_point_by_pv_angle(double* point, double pv_angle, double distance,
                                                               double* out);
// Plan-view angle (degrees, in [-90, 90]) of the object nearest to the point:
// of its face normal, or of its curve tangent, there. 0; 19 when there is no
// object or the nearest is neither face nor curve; -1 for null pointers.
CARVELL_CPP_EXPORT int HM_VD_HPD_ask_pv_angle(int count, tag_t* objects, double* point, double* pv_angle);

#endif
