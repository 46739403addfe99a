// H-point design tool, the design record: one H-point design instance of the
// work part read back into a flat record, the posture of each leg, the SgRP
// curve, the reverse-engineering lock option and the associated spreadsheets
// (decorated names).
//
// The caller allocates the record; nothing in it is allocated by the library.
// Points are in the tool's reference frame.
#ifndef CARVELL_HPD_RECORD_H
#define CARVELL_HPD_RECORD_H

#include "carvell_export.h"
#include "host_types.h"

// One leg: written whole by HM_VD_HPD_AskAnglesRoom or not at all.
typedef struct HPD_apf_shoe_values_s {
    double ankle_angle;    // A46
    double hip_angle;      // A42
    double knee_angle;     // A44
    double pedal_angle;    // A47 for the driver's right leg, floor plane angle A48 otherwise
    double thigh_angle;    // A57
    double leg_room;       // SgRP to ankle plus 254 mm, in part units
    double heel_point[3];  // AHP for the driver's right leg, FRP otherwise
} HPD_apf_shoe_values_t;

typedef struct HPD_apf_values_s {
    int algorithm_version;        // above 1 the lock option is stored whole
    double lower_leg_length;
    double seat_height;           // H30: SgRP height minus the right heel's height
    double sgrp_curve_distance;   // SgRP to the SgRP curve; 0 without a curve
    double upper_leg_length;
    double prp[3];                // pedal reference point (L1, W1, H1)
    double sgrp[3];               // seating reference point (L31, W20, H70)
    int leg_length_type;          // 0 SgRP, 1 mid-size male, 2 customised
    HPD_apf_shoe_values_t right_shoe;
    HPD_apf_shoe_values_t left_shoe;
    HPD_apf_shoe_values_t second_right_shoe;
    int seating_position;         // 0 driver, 1 passenger
    double back_angle;            // A40
    double cushion_angle;         // A27
    double lumbar_support;        // L81
    double pv_angle;              // plan-view angle of the occupant
    double lateral_offset;        // AHP to PRP lateral offset PW14
    bool position_left_shoe;
    bool add_2nd_right_leg;
    int occ_position_method;      // 0 by pedal, 1 by SgRP
    int clear_interference;       // 1 clear interference in W
    int part_unit;                // 0 millimetres, 1 inches
    int vehicle_class;            // 0 class A, 1 class B
    int male_female_ratio;        // 0 50:50, 1 75:25, 2 90:10 or 95:5
    int move_along_sgrp_curve;    // 1 the SgRP moves along the SgRP curve
    int copy_right_shoe_orientation;
    int use_variable;             // reverse engineering uses a deviate variable
    int variable_type;            // which variable deviates
    int reverse_option;           // packed lock option
    double adjust_variable;       // value of the deviate variable
} HPD_apf_values_t;

// Fills `values` from the H-point design (or occupant-packaging) instance
// `name` under the part's root. Answers 0; -1 for a null argument or when
// `name` is no instance of either class (record untouched); the instance's
// nonzero "rcode" (record untouched); or the right leg's posture code (record
// partly filled). An attribute that is not set gives 0, false or the zero
// point (the reference frame: the absolute one).
CARVELL_CPP_EXPORT int HM_VD_HPD_ask_result(const char* name, HPD_apf_values_t* values);

// Completes one leg from the SgRP and heel (reference frame), the plan-view
// and back angles, the leg lengths (upper, lower) and the angle of the plane
// under the shoe; `room_only` asks for the leg room alone. Answers 0 or the
// posture code, leaving `shoe` as it was on a nonzero code.
CARVELL_CPP_EXPORT int HM_VD_HPD_AskAnglesRoom(double sgrp[3], double pv_angle, double back_angle,
                                               double leg_lengths[2], double heel[3], double pedal_angle,
                                               bool room_only, HPD_apf_shoe_values_t* shoe);

// The SgRP curve of instance `name`, or 0 when it has none.
CARVELL_CPP_EXPORT void HM_VD_HPD_ask_sgrp_curve(const char* name, tag_t* curve);

// Packs a lock type (0, 1, 2) and the use-ALPHA flag into the lock option.
CARVELL_CPP_EXPORT int HM_HPD_ask_combine_reverse_engineering_option(int lock_type, bool use_alpha);
// Unpacks a lock option into lock type and use-ALPHA flag.
CARVELL_CPP_EXPORT void HM_HPD_parse_reverse_option(int option, int* lock_type, bool* use_alpha);

// Name of the spreadsheet associated with instance `name` (import when
// `import` is nonzero, else export); free with SM_free. Null when none.
CARVELL_CPP_EXPORT char* AskAssociatedSheetName(const char* name, int import);

#endif
