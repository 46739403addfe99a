// Internal operations of the H-point design tool, shared by the occupant
// sources: units, tracing, angle wrapping, plane geometry of the foot and
// leg, the leg-chain operations of the reverse engineering, the back linkage,
// the shoe contact and the seat curves. The tool's fixed dimensions are in
// hpd_constants.h. Not exported from the library.
//
// Side-view points are pairs (L, H) (the x and z of a vehicle point), plan-view
// points (L, W). Angles are in degrees unless a function says radians. Leg
// lengths are pairs (upper leg, lower leg) in part units.
#ifndef CARVELL_OCCUPANT_HPD_INTERNAL_H
#define CARVELL_OCCUPANT_HPD_INTERNAL_H

#include "equation_solver.h"
#include "host_types.h"
#include "hpd_constants.h"

/* ---- units and argument checks ---- */

// A length given in millimetres, in the units of the work part.
double hpd_mm(double millimetres);

// True when the `count` values are all finite.
bool hpd_all_finite(const double* values, int count);
// True for a pair of finite, positive leg lengths (false for null).
bool hpd_legs_ok(const double* leg_lengths);

/* ---- tracing under the debug key "VD_HPD" ---- */

// True when the host's checking level is at least 1 and the debug key
// "VD_HPD" is set.
bool hpd_tracing();
// Prints one trace line to standard output and to the host's log.
void hpd_trace(const char* format, ...) __attribute__((format(printf, 1, 2)));

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

/* ---- shoe and pedal contact ---- */

// Codes of the contact solvers and the heel targets.
enum hpd_contact_code {
    HPD_TARGET_FLOOR_LIMIT = -2,   // heel beyond the heel floor's ends; its nearest point was used
    HPD_CONTACT_BAD_INPUT = 19,    // missing curve or object, bad mode, nearest object neither face nor curve
    HPD_CONTACT_NO_ROOT = 21,      // no sign change on the curve; floor curve behind the heel
    HPD_CONTACT_FAILED = 22,       // evaluator or solver failure (text printed)
    HPD_CONTACT_NO_START = 30,     // the pedal's start point cannot be evaluated
    HPD_CONTACT_NO_END = 40,       // the pedal's end point cannot be evaluated
    HPD_TARGET_NO_PLANE = 40,      // the probe plane cannot be made
    HPD_TARGET_FAILED = 50         // a solver, a nearest-point query or a turned copy failed
};
// Codes of the residual functions (the solver sees them as a failed evaluation).
enum hpd_residual_code {
    HPD_RESIDUAL_NO_EVALUATOR = 1,
    HPD_RESIDUAL_NO_POINT = 2,          // evaluation failed, or the tangent has no side-view direction
    HPD_RESIDUAL_FLOOR_NO_EVALUATOR = 10,
    HPD_RESIDUAL_FLOOR_NO_POINT = 20,
    HPD_RESIDUAL_NO_PLANE = 50,         // the sole plane cannot be made
    HPD_RESIDUAL_HIT_NOT_POINT = 60,    // the sole plane meets the floor in a curve
    HPD_RESIDUAL_HIT_IN_FRONT = 65,     // the floor point is not behind the pedal point
    HPD_RESIDUAL_NOT_ONE_HIT = 70       // the sole plane does not meet the floor exactly once
};

// The shoe against the pedal, shared by the pedal residuals (built on the
// solver's stack). Angles in radians.
struct hpd_pedal_contact_s {
    double target;        // heel height (by height) or sole angle (by angle); unused by floor
    double shoe_length;   // 200 mm in part units
    tag_t pedal;          // pedal curve
    double heel[3];       // heel of the last evaluation
    double sole_angle;    // sole angle of the last evaluation
    double pv_angle;      // plan-view angle, carried for the caller
    bool reversed;        // the pedal curve runs forward (end x <= start x)
    tag_t floor;          // floor object (by floor)
};
// The ball of foot on the floor, shared with the floor residual.
struct hpd_floor_contact_s {
    double shoe_length;
    double shoe_length_again;  // not read
    tag_t floor_curve;
    double heel[3];            // heel L and H, W of the floor point nearest to the heel
    double floor_angle;        // angle of the heel-to-ball line of the last evaluation
};

// Residuals at pedal parameter t (data: hpd_pedal_contact_s). Each writes the
// heel and sole angle of t into the record. By height: f = target - heel H;
// by angle: f = target - sole angle; by floor: the sole line cut with the
// floor gives the heel, f = shoe length - |heel - pedal point| (side view).
// 0 or an hpd_residual_code.
int hpd_shoe_residual_by_height(double t, void* data, double* f);
int hpd_shoe_residual_by_angle(double t, void* data, double* f);
int hpd_shoe_residual_by_floor(double t, void* data, double* f);
// Residual at floor parameter t (data: hpd_floor_contact_s): f = shoe length
// - |floor point - heel| (side view); writes the floor angle. 0, 10 or 20.
int hpd_floor_residual(double t, void* data, double* f);

// The shoe on the pedal curve, by bisection along it. Mode 0 keeps the heel's
// height (pedal_angle receives the sole angle), mode 1 keeps the pedal angle
// (degrees), mode 2 puts the heel on the floor (both answered). heel receives
// the contact's heel. 0, 19, 21, 22, 30 or 40; heel and angle are unchanged
// on failure.
int hpd_solve_shoe_on_pedal(int mode, tag_t pedal, double* heel, double* pedal_angle, tag_t floor, double pv_angle);
// The ball of foot on the floor curve in front of the heel: *floor_angle
// receives the angle of the heel-to-ball line (degrees). 0, 19, 21 or 22.
int hpd_solve_shoe_on_floor(tag_t floor_curve, const double* heel, double* floor_angle);
// The pedal point nearest to the middle of the curve's box and the pedal
// angle there: 90 degrees minus the angle between +Z and the upward tangent.
// 0, or 19 when the object is no curve or a query fails (nothing written).
int hpd_ask_pedal_point_angle(tag_t pedal_curve, double* point, double* pedal_angle);
// The start heel of the pedal contact: with use_pedal, the heel's L and W
// from the pedal point and angle; in mode 1, the heel's H from the floor
// point nearest to it. A failed query leaves its part of the heel.
void hpd_ask_start_heel(bool use_pedal, tag_t pedal, int mode, tag_t floor, double* heel, double pv_angle);
// Frees an intersection's entries (HM_MODL_intersect_objects) and deletes the
// curves it made.
void hpd_free_intersection(int count, struct HM_MODL_intersection_s** entries);

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

/* ---- reverse engineering: the two bisections ---- */

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

#endif
