// H-point design tool, reverse engineering of a seating layout: the
// accelerator heel point from the SgRP and locked values, and the foot
// position with the SgRP on the seat curve (decorated names).
#ifndef CARVELL_HPD_REVERSE_H
#define CARVELL_HPD_REVERSE_H

#include "carvell_export.h"

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

#endif
