// Leg-chain operations of the reverse engineering: the chain from the pedal
// angle to the seat curve, the heel from a seat height, and the foot-angle
// bisections that meet a heel drop below the SgRP.
//
// Side-view points are pairs (L, H) (the x and z of a vehicle point), plan-view
// points (L, W). Angles are in degrees unless a function says radians. Leg
// lengths are pairs (upper leg, lower leg) in part units.
#ifndef CARVELL_OCCUPANT_HPD_LEG_CHAIN_H
#define CARVELL_OCCUPANT_HPD_LEG_CHAIN_H

namespace carvell::occupant {

// The leg chain from the pedal angle: heel at (200 mm * cos(angles[0]), 0)
// with the ball of foot at the origin, ankle, knee along the shank direction
// (angles[0], angles[1]) at the lower leg length, and the hip on the class A
// seat curve at the upper leg length from the knee. 0 with *out_dl = p[0] -
// |hip L| and *out_h = |hip H|; 32 when the knee would bend beyond 180
// degrees; -1 when the hip cannot be placed.
int hpd_ask_leg_chain_point(const double* p, const double leg_lengths[2], const double angles[2], double* out_dl,
                            double* out_h);
// The same chain with the hip on the class B seat line of the male-female
// ratio drawn from the heel.
int hpd_ask_leg_chain_point_on_line(const double* p, const double leg_lengths[2], const double angles[2],
                                    int male_female_ratio, double* out_dl, double* out_h);
// Bisection of the foot angle f on (0, 77) so that the heel lies `drop` below
// the SgRP, the thigh at 90 - hip_angle + back_angle above the horizontal and
// the lower leg at 180 - ankle_angle - f + 6.5. 0 with out = (heel L, SgRP W +
// 148.5 mm, heel H) and *foot_angle = f; -1 when not converged.
int hpd_ask_heel_by_foot_angle(double out[3], const double sgrp[3], double back_angle, const double leg_lengths[2],
                               double ankle_angle, double hip_angle, double drop, double* foot_angle);
// The same bisection with the hip-to-ankle chord of the knee angle in place of
// the two links. 0 or -1 (also when the chord cannot be formed).
int hpd_ask_heel_by_foot_angle_cosine(double out[3], const double sgrp[3], double knee_angle,
                                      const double leg_lengths[2], double ankle_angle, double drop,
                                      double* foot_angle);
// The heel for a seat height: heel H = SgRP H - h30 and heel L such that the
// thigh reaches the SgRP from the knee set by the shoe angle (angles[0]) and
// ankle angle (angles[1]). sgrp is (x, y, z); heel receives (L, H). 0, or -1
// when the thigh cannot reach the SgRP's height (heel not written).
int hpd_ask_heel_x_for_height(const double sgrp[3], const double leg_lengths[2], const double angles[2], double h30,
                              double heel[2]);

}  // namespace carvell::occupant

#endif
