// 2D manikin reach checks (plain names): whether a limb of two links can
// span from a point set by a base point, an angle and fixed body dimensions to
// a target point. Points are two coordinates in the manikin's plane, in the
// work part's units; angles in degrees. A null pointer or a value that is
// not finite (NaN, infinite) answers false and changes nothing.
#ifndef CARVELL_HM_VD_2DM_H
#define CARVELL_HM_VD_2DM_H

#include "carvell_export.h"

#include <stdbool.h>

// Leg: the knee end lies at (-81 mm, 107 mm) from the base turned by -angle;
// true when the links len[0] and len[1] can reach the target from there.
CARVELL_C_EXPORT bool hm_vd_2dm_check_leg_positions(double* base, double* target, double angle, double* len);

// Arm: the shoulder lies `distance` from the base along (sin angle, cos angle);
// len[2] is replaced by 205 mm minus len[2], which with len[1] encloses 170
// degrees; true when len[0] and that span can reach the target.
CARVELL_C_EXPORT bool hm_vd_2dm_check_arm_positions(double* base, double* target, double angle, double* len,
                                                    double distance);

#endif
