// The 2006 release's foot-position solver of the H-point tool: with the
// ankle angle locked and the SgRP on the class A seat curve, the pedal angle
// by a Newton iteration on the leg chain, its residuals and slopes, and the
// circle pick of that release's leg-angle code.
//
// Side view: the ball of foot at the origin, the heel on the floor at
// L1 cos a, the knee L2 from the heel at the angle a + b, where a is the
// pedal angle and b the foot-leg angle (radians). Lengths in the work part's
// units.
#ifndef CARVELL_RELEASE2006_R2006_FOOT_POSITION_H
#define CARVELL_RELEASE2006_R2006_FOOT_POSITION_H

namespace carvell::r2006 {

// F(a) = (w - H)^2 + (u - X)^2 - r^2 of the chain's end (u, w) = (L1 cos a -
// L2 cos(a + b), L2 sin(a + b)) against the seat curve: H(a) = (77 - a in
// degrees) / 0.08 per millimetre, X = 913.7 mm + 0.672316 H - 0.0019553 per
// millimetre H^2, all in part units.
double hpd_seat_curve_residual(double l1, double l2, double r, double a, double b);
// dF/da.
double hpd_seat_curve_slope(double l1, double l2, double a, double b);
// a - F / (dF/da).
double hpd_seat_curve_newton_step(double l1, double l2, double r, double a, double b);

// G(a) = (w - p[1])^2 + (u - p[0])^2 - r^2 against the fixed point p.
double hpd_point_residual(const double p[2], double l1, double l2, double r, double a, double b);
// dG/da.
double hpd_point_slope(const double p[2], double l1, double l2, double a, double b);
// a - G / (dG/da).
double hpd_point_newton_step(const double p[2], double l1, double l2, double r, double a, double b);

// The intersection of the two circles with the greatest second coordinate
// (the earlier one on a tie) into out. 0; -1 (out untouched) when the
// circles do not meet.
int hpd_circle_pick_upper(const double c1[2], double r1, const double c2[2], double r2, double out[2]);

// A pedal angle (degrees) beyond a full turn reduced by the tool's full turn
// (360.00000000000017); 360 itself stays.
double hpd_reduce_pedal_degrees(double degrees);

// The pedal angle angles[0] (degrees) for the ankle angle angles[1] with the
// SgRP on the class A seat curve, by at most 26 Newton steps from the
// standard driver's pedal angle at the seat height *h; then the leg chain is
// placed (sgrp, leg lengths, angles, *bof_length and *h written by it). 0 or
// the chain's code; -1 (angles[0] untouched, no chain) for bad arguments, a
// non-finite *h, a flat or non-finite step, or no convergence. Trace lines
// under the debug key "VD_HPD" at checking level 1 or more.
int HM_VD_HPD_define_foot_position_by_locking_both2(double* sgrp, double* leg_lengths, double* angles,
                                                    double* bof_length, double* h);

}  // namespace carvell::r2006

#endif
