// Contact of the right shoe with the accelerator pedal and the floor: the
// codes of the solvers and heel targets, the contact records the residuals
// share, the residuals and solvers, and the pedal point and start heel.
// Angles in degrees unless a record says radians.
#ifndef CARVELL_OCCUPANT_HPD_CONTACT_H
#define CARVELL_OCCUPANT_HPD_CONTACT_H

#include "equation_solver.h"
#include "host_types.h"

struct HM_MODL_intersection_s;  // the host's intersection entry (omvra.h)

namespace carvell::occupant {

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

}  // namespace carvell::occupant

#endif
