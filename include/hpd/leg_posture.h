// H-point design tool, leg posture: leg angles and leg room, the validity of
// a heel position, the four posture checks and the three ways of meeting a
// locked ankle angle (decorated names).
#ifndef CARVELL_HPD_LEG_POSTURE_H
#define CARVELL_HPD_LEG_POSTURE_H

#include "carvell_export.h"
#include "host_types.h"

// Every function here refuses a point, length or angle that is not finite
// (NaN, infinite) with its -1 (false for the checks), and answers a failure
// (-1, or -3 for the shoe turns) when a result would come out not finite:
// outputs are then not written.

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

#endif
