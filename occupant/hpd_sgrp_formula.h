// The SgRP formulas shared by the seat-curve sources of the H-point design
// tool: the class A parabola X_A(h) = c0 + b h + a h^2 and the class B line
// X_B(h) = c - k h (millimetre constants), in the work part's units. The
// classes' seat-height ranges are in hpd_constants.h.
#ifndef CARVELL_OCCUPANT_HPD_SGRP_FORMULA_H
#define CARVELL_OCCUPANT_HPD_SGRP_FORMULA_H

struct SgrpParabolaConstants {
    double c0_mm;      // X_A(0)
    double b;          // per unit of height (no unit)
    double a_per_mm;   // per millimetre
};
constexpr SgrpParabolaConstants kSgrpClassA{913.7, 0.672316, -0.0019553};

struct SgrpLineCoefficients {
    double c_mm;
    double k;   // no unit
};

// X_A(h30) in part units: the fore-aft distance of the SgRP from the ball of foot.
double hpd_sgrp_class_a_x(double h30);
// The coefficient a of X_A per part unit (negative).
double hpd_sgrp_class_a_coefficient();
// c and k of the class B line for the male-female ratio (0 "50:50",
// 1 "75:25", other "90:10 or 95:5").
SgrpLineCoefficients hpd_sgrp_class_b_coefficients(int male_female_ratio);

#endif
