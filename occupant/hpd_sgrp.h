// The SgRP of the H-point design tool inside the family: the class A
// parabola X_A(h) = c0 + b h + a h^2 and the class B line X_B(h) = c - k h
// (millimetre constants, answered in the work part's units), the seat
// heights a posture allows, and the seat curves of the reverse engineering in
// the part. The classes' seat-height ranges are in hpd_constants.h.
#ifndef CARVELL_OCCUPANT_HPD_SGRP_H
#define CARVELL_OCCUPANT_HPD_SGRP_H

#include "host_types.h"

namespace carvell::occupant {

/* ---- SgRP formulas ---- */

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

/* ---- seat curves of the reverse engineering ---- */

// Seat heights the foot angle and the heel-to-SgRP reach allow (heel at the
// origin). 0; -1 when the leg falls short (max = 107 mm + both legs, min = 0)
// or the SgRP lies beyond any reach, or for bad leg lengths (outputs not written).
int hpd_ask_valid_h30_range(int seating_position, double upper_leg, double lower_leg, double foot_angle,
                            double reach, double* h30_max, double* h30_min);
// The class A parabola in absolute coordinates (vertex not turned, the curve's
// plane turned about Z by pv_angle); created when *curve is 0, else edited.
// 0 or the host's code.
int hpd_create_sgrp_parabola(double dx, double w, double dz, double pv_angle, tag_t* curve);
// Where the circle of the radius about centre (L, H) meets the class A
// parabola at the origin (the hip of a knee): the first point, replaced by a
// later one of greater L than the centre and greater H. point = (L, H). 0, or
// -1 when they do not meet. Leaves nothing in the part.
int hpd_ask_arc_on_sgrp_parabola(const double centre[2], double radius, double point[2]);
// The same with the class B line above base (W 0, no turn, no frame); a later
// point of greater L than the centre and smaller H replaces the current one.
int hpd_ask_arc_on_sgrp_line(const double centre[2], double radius, double point[2], int male_female_ratio,
                             const double base[3]);

}  // namespace carvell::occupant

#endif
