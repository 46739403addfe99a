// Planar primitives of the H-point design tool, shared by the occupant
// sources: lengths in part units, argument checks, angle wrapping, circle
// picks, the fixed foot geometry and the two-link closure of the leg. The
// tool's fixed dimensions are in hpd_constants.h.
//
// Side-view points are pairs (L, H) (the x and z of a vehicle point), plan-view
// points (L, W). Angles are in degrees unless a function says radians. Leg
// lengths are pairs (upper leg, lower leg) in part units.
#ifndef CARVELL_OCCUPANT_HPD_PRIMITIVES_H
#define CARVELL_OCCUPANT_HPD_PRIMITIVES_H

#include "hpd_constants.h"
#include "toolbox/detail/finite.h"

namespace carvell::occupant {

/* ---- units and argument checks ---- */

// A length given in millimetres, in the units of the work part.
double hpd_mm(double millimetres);

// Finiteness of the arguments: detail::all_finite of the shared layer.
// True for a pair of finite, positive leg lengths (false for null).
bool hpd_legs_ok(const double* leg_lengths);

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
// The foot's reference direction for the shoe angle: (-1, 0) turned by
// -shoe_angle, then by +6.5 degrees (a unit vector).
void hpd_ask_foot_direction(double shoe_angle, double dir[2]);
// The foot direction of a, turned further by -b (a unit vector).
void hpd_ask_shank_direction(double a, double b, double dir[2]);
// The same direction as an angle above +L in degrees, for the ankle angle
// and the pedal angle: 180 - ankle_angle - pedal_angle + 6.5.
double hpd_shank_angle(double ankle_angle, double pedal_angle);
// The knee: the lower leg's length from the ankle along the shank direction
// of (a, b).
void hpd_ask_knee_from_ankle(const double ankle[2], double a, double b, double lower, double knee[2]);
// The shoe's length along L at the pedal angle: 200 mm * cos(pedal_angle),
// in part units.
double hpd_sole_run(double pedal_angle);
// The standard driver's pedal angle for the seat height (part units): 77
// degrees less 0.08 degree per millimetre.
double hpd_standard_pedal_angle(double h30);
// The hip-to-ankle chord of the thigh-lower leg triangle with the knee angle
// (degrees) between them; 0 when the legs fold flat onto each other.
double hpd_knee_chord(double knee_angle, double upper, double lower);
// The chord's angle (radians) against the lower leg at the ankle of that
// triangle. chord must be positive.
double hpd_chord_angle_at_ankle(double knee_angle, double upper, double lower, double chord);
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

}  // namespace carvell::occupant

#endif
