// H-point design tool, seating reference point: the SgRP formulas and seat
// curves of the two vehicle classes, the right shoe's target, the valid seat
// heights, and the accelerator's curve with the initial PRP on it (decorated
// names).
#ifndef CARVELL_HPD_SGRP_H
#define CARVELL_HPD_SGRP_H

#include "carvell_export.h"
#include "host_types.h"

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
// the SgRP by pv_angle. 0; -1 for a null argument, a value that is not
// finite, or results that would not be (outputs then not written).
CARVELL_CPP_EXPORT int HM_VD_HPD_ask_right_shoe_target(int seating_position, double* sgrp, double thigh_angle,
                                                       double* leg_lengths, double h30, double pv_angle,
                                                       double* ahp, double* pedal_angle, int vehicle_class,
                                                       int male_female_ratio);
// The SgRP on the class's seat curve for the AHP, pedal angle and seat height,
// moved laterally by `lateral` - 148.5 mm and turned about the AHP by pv_angle.
// Nothing is written for a value that is not finite or a result that is not.
CARVELL_CPP_EXPORT void HM_VD_HPD_ask_sgrp_on_curve(double* ahp, double pedal_angle, double h30, double pv_angle,
                                                    double* sgrp, double lateral, int vehicle_class,
                                                    int male_female_ratio);
// The range of seat heights for the target posture. 0; -1 when the leg cannot
// reach (max = 107 mm + both legs, min = 0 when the leg falls short, outputs
// not written when the SgRP lies beyond any reach, for a null argument or a
// value that is not finite).
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

#endif
