// Internal operations of the H-point design tool, shared by the occupant
// sources: units, angle wrapping, plane geometry of the foot and leg, the
// leg-chain operations of the reverse engineering and the back linkage.
// Not exported from the library.
//
// Side-view points are pairs (L, H) (the x and z of a vehicle point), plan-view
// points (L, W). Angles are in degrees unless a function says radians. Leg
// lengths are pairs (upper leg, lower leg) in part units.
#ifndef CARVELL_OCCUPANT_HPD_INTERNAL_H
#define CARVELL_OCCUPANT_HPD_INTERNAL_H

#include "equation_solver.h"
#include "host_types.h"

/* ---- units ---- */

// A length given in millimetres, in the units of the work part.
double hpd_mm(double millimetres);

/* ---- angles ---- */

// Adds or subtracts 2*pi until *angle (radians) lies in [-pi, pi]. Answers 0.
int hpd_wrap_angle_rad(double* angle);
// Wraps degrees into about (-180.0001, 180.0001); 180 stays 180.
double hpd_wrap_angle_deg(double angle);
// Angle in degrees, in [0, 360), from the 2-D vector `from` to `to`,
// counter-clockwise about +Z.
void hpd_angle_2d(const double from[2], const double to[2], double* angle);

/* ---- circles ---- */

// Intersection points of two circles, one of them picked: the first point,
// replaced by a later one with a greater L (rule 0), a smaller L (rule 1), a
// greater H (rule 2) or a smaller H (any other rule). 0, or -1 when the
// circles do not meet (point not written).
int hpd_pick_circle_intersection(const double c1[2], double r1, const double c2[2], double r2, int rule,
                                 double point[2]);
// The knee: the circle of radius `lower` about the ankle met with the circle of
// radius `upper` about the SgRP, the point with the greater H. 0 or -1.
int hpd_ask_knee_point(const double ankle[2], double lower, const double sgrp[2], double upper, double knee[2]);
// The point of the circle (centre c, radius r) at height h on the side of
// greater L: (c.L + sqrt(r^2 - (h - c.H)^2), h). -1 when |h - c.H| > r (or r
// negative); out is then not written.
int hpd_ask_circle_point_at_height(const double c[2], double r, double h, double out[2]);

/* ---- foot and leg geometry ---- */

// The ankle at (-81 mm, 107 mm) from the heel, turned by -shoe_angle.
void hpd_ask_ankle_from_heel(const double heel[2], double shoe_angle, double ankle[2]);
// The inverse: the heel from the ankle for the same shoe angle.
void hpd_ask_heel_from_ankle(const double ankle[2], double shoe_angle, double heel[2]);
// The direction (-1, 0) turned by -a, then by +6.5 degrees, then by -b (a unit vector).
void hpd_ask_shank_direction(double a, double b, double dir[2]);
// Closure residual of the two-link chain (l1 at angle a, l2 at a + b; radians)
// against the circle of radius r about p:
// (l1 cos a - l2 cos(a+b) - p.L)^2 + (l2 sin(a+b) - p.H)^2 - r^2.
double hpd_leg_closure(double l1, double l2, double r, double a, double b, const double p[2]);
// d/da of hpd_leg_closure.
double hpd_leg_closure_derivative(double l1, double l2, double a, double b, const double p[2]);
// One Newton step on a: a - closure / derivative.
double hpd_leg_newton_step(double l1, double l2, double r, double a, double b, const double p[2]);

// The foot laid flat with the ball of foot at the origin and the heel at
// (200 mm, 0), the lower leg (length `lower`) set at `ankle_angle`: *angle is
// the angle at the heel from the knee to the ball of foot (degrees), *length
// the heel-to-knee distance.
void hpd_ask_foot_leg_angle(double ankle_angle, double lower, double* angle, double* length);

/* ---- host geometry ---- */

// Unit normal of a face (type 70, subtype 2) at a point on it. 0, or 19 when
// the object is no face or has no parameters at the point.
int hpd_ask_face_normal(tag_t face, const double point[3], double normal[3]);
// Unit tangent of a curve (types 3, 5, 6, 7, 9) or an edge (70/3) at the curve
// point closest to `point`. 0, or 19 for another kind of object or a failed
// evaluation.
int hpd_ask_curve_tangent(tag_t curve, const double point[3], double tangent[3]);
// A copy of `object` turned about the vertical (+Z) through `centre` by
// `angle` degrees, on the object's layer. Object 0: *copy = 0 and 0. Answers 0
// or the host's code (then *copy = 0).
int hpd_rotate_copy_about_vertical(tag_t object, const double centre[3], double angle, tag_t* copy);

/* ---- leg-chain operations of the reverse engineering ---- */

// The leg chain from the pedal angle: heel at (200 mm * cos(angles[0]), 0)
// with the ball of foot at the origin, ankle, knee along the shank direction
// (angles[0], angles[1]) at the lower leg length, and the hip on the class A
// seat curve at the upper leg length from the knee. 0 with *out_dl = p[0] -
// |hip L| and *out_h = |hip H|; 32 when the knee would bend beyond 180
// degrees; -1 when the hip cannot be placed.
int hpd_ask_leg_chain_point(const double* p, const double leg_lengths[2], const double angles[2], double* out_dl,
                            double* out_h);
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

/* ---- back linkage ---- */

// The two pivots of the back linkage for the length p. 0, or -1 when p lies
// outside the first arm's reach (|57 mm - p| > first arm).
int hpd_ask_back_pivot_points(double p, double p1[2], double p2[2]);
// The link points C and D of the linkage at ALPHA = alpha degrees. 0 or -1
// when the links cannot close (c and d then undefined).
int hpd_ask_back_linkage_points(double alpha, const double p1[2], const double p2[2], double c[2], double d[2]);
// The end point E of the end arm from D, turned from D->C.
void hpd_ask_back_line_end(const double c[2], const double d[2], double e[2]);
// ALPHA (degrees) for the length p: the angle in [-90, 90] at which the end
// point comes to the height of the origin (within 1e-5). Angles at which the
// links do not close bound the search. 0; -1 when no pivots exist for p or
// the links close at no angle the search tries (*alpha not written), or when
// the search ends without meeting the height (*alpha = the last angle at
// which the links closed).
int ask_alpha_angle(double p, double* alpha);

#endif
