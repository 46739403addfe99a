// The steps of the reverse engineering of a seating layout: the lock option
// decoded, the problem and what a solve finds, one solve per deviate
// variable and one for the SgRP on the seat curve, and the two bisections of
// a heel distance L53. Everything is in the occupant's side view: points are
// (L, H) pairs, angles in degrees.
#ifndef CARVELL_OCCUPANT_HPD_REVERSE_H
#define CARVELL_OCCUPANT_HPD_REVERSE_H

#include <limits>

namespace carvell::occupant {

/* ---- the problem and its solution ---- */

// Which pair of A46, A47 and H30 is locked.
enum ReverseLock { kAnkleAndHeight, kPedalAndHeight, kAnkleAndPedal, kHeightOnly };

// The lock of an option: 0 (A46, H30), 1 (A47, H30), 3 (H30 only), any other (A46, A47).
ReverseLock reverse_lock_of(int option);

struct ReverseProblem {
    double* sgrp;         // L, W, H in the occupant's side-view frame
    double* leg_lengths;  // upper, lower
    double back_angle;
    int vehicle_class;
    int male_female_ratio;
    ReverseLock lock;
    const double* h30_given = nullptr;  // the caller's seat height as it came in
};

// What one call finds: the three quantities (NaN while unknown) and the
// heel in the side view.
struct ReverseSolution {
    static constexpr double kUnknown = std::numeric_limits<double>::quiet_NaN();
    double a46 = kUnknown, a47 = kUnknown, h30 = kUnknown;
    double heel_l = kUnknown, heel_h = kUnknown;
};

/* ---- one solve per deviate variable ---- */

// Each completes `s` from the locked values already in it and answers 0 or
// the code of the step that failed; what it could not find stays NaN.
// Variable 0: the free quantity is `value`; the heel follows in closed form.
int reverse_solve_free_quantity(const ReverseProblem& p, double value, ReverseSolution& s);
// Variable 1: the horizontal distance L53 from the heel to the SgRP.
int reverse_solve_heel_distance(const ReverseProblem& p, double l53, ReverseSolution& s);
// Variables 2 and 3: the thigh angle A57 puts the knee at the upper leg's
// length from the SgRP.
int reverse_solve_thigh_given(const ReverseProblem& p, double thigh_angle, ReverseSolution& s);
// Variable 4: the knee angle A44 fixes the SgRP-to-ankle distance.
int reverse_solve_knee_given(const ReverseProblem& p, double knee_angle, ReverseSolution& s);
// No deviate variable: the SgRP lies on the seat curve of the vehicle class.
int reverse_solve_on_seat_curve(const ReverseProblem& p, ReverseSolution& s);
// Its case with both angles locked: the ball of foot's length *bof and what
// the lock leaves free. Defined once per release (hpd_reverse_both.cpp in
// this one).
int reverse_foot_by_locking_both(const ReverseProblem& p, ReverseSolution& s, double* bof);

/* ---- the two bisections ---- */

// The pedal angle A47 in (0, 77) at which the heel L53 in front of and h30
// below the SgRP gives the ankle angle (bisection). 0; -1 bad arguments, no
// convergence or a leg that cannot be placed (*pedal_angle = last angle).
int hpd_ask_pedal_angle_by_ankle_angle(double* sgrp, double* leg_lengths, double back_angle, double l53, double h30,
                                       double ankle_angle, double* pedal_angle);
// The seat height H30 in the class range (A 127 to 405 mm, B 405 to 530 mm)
// at which the heel L53 in front of the SgRP with the pedal angle gives the
// ankle angle (bisection). Codes as above (*h30 = last height).
int hpd_ask_seat_height_by_ankle_angle(double* sgrp, double* leg_lengths, double back_angle, double l53,
                                       double pedal_angle, double ankle_angle, int vehicle_class, double* h30);

}  // namespace carvell::occupant

#endif
