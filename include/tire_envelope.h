// Tire envelope engine: the space a wheel sweeps over its suspension and
// steering travel, built from a tire profile and the spindle positions that
// the tire-envelope tool keeps in its rule-language instance. Plain
// (extern "C") exports.
//
// Lengths are in the work part's units exactly as the caller gives them; the
// engine converts nothing and its fixed distances apply in those units.
// Angles are in degrees. Points are in absolute coordinates unless a member
// says the vehicle coordinate system (csys_origin, csys_matrix: nine doubles,
// rows are the axes).
//
// The caller allocates and fills tire_envelope_params_s and frees it; the
// engine writes its results and scratch values into it and frees nothing of
// the caller's. Arrays of tags handed in are the caller's. Each export opens
// and closes its own host-API session.
#ifndef CARVELL_TIRE_ENVELOPE_H
#define CARVELL_TIRE_ENVELOPE_H

#include "carvell_export.h"
#include "host_types.h"

#include <stdio.h>

#define TIRE_ENVELOPE_MAX_PROFILE_PTS 100
#define TIRE_ENVELOPE_MAX_SECTIONS 36
#define TIRE_ENVELOPE_MAX_OFFSET_VALUES 80
#define TIRE_ENVELOPE_TEXT_SIZE 256

typedef struct tire_envelope_params_s {
    tag_t sheet_body;                 // out: sheet body of gen_tire_envelope; a 0.001 cube when the sheet fails
    char instance_name[260];          // in: tool instance under the root holding the spindle rules
    double csys_origin[3];            // in: vehicle coordinate system origin
    double csys_matrix[9];            // in: vehicle coordinate system orientation (rows are the axes)
    char profile_file[256];           // in: tire profile file name (log only)
    double rim_diameter;              // in: rim diameter; half of it is added to every profile height
    char rim_size[12];                // in: rim size (log only)
    int profile_type;                 // in: 0 "MAX GROWN", 1 "8 KPH CHAINS", 2 "72 KPH CHAINS"
    int num_profile_pts;              // in/out: profile points; replaced by the prepared count
    double concavity_base;            // work: largest profile spacing / smallest spindle |y|
    char half_profile;                // in: nonzero: the points are one half from the centerline outward
    double profile_pts[TIRE_ENVELOPE_MAX_PROFILE_PTS][2];  // in/out: (lateral offset, height above rim seat)
    char spindle_file[TIRE_ENVELOPE_TEXT_SIZE];   // in/out: spindle-points file; replaced by the generated copy
    char vehicle_program[TIRE_ENVELOPE_TEXT_SIZE];  // in: log only
    char suspension[TIRE_ENVELOPE_TEXT_SIZE];       // in: log only
    double design_point[3];           // out: design spindle point (vehicle coordinates)
    double side;                      // out: -1.0 left side modelled, +1.0 right
    char log_path[TIRE_ENVELOPE_TEXT_SIZE];         // work: KWII_TMP_DIR + "envelope.log"
    double centerline_shift;          // in: subtracted from every profile lateral offset
    int point_cloud;                  // in: 1: section points also as point objects
    int update_part;                  // in: nonzero: log header, deletion, reference set, categories, attributes
    int create_sheet;                 // in: nonzero: gen_tire_envelope builds the sheet
    double surface_tol;               // in: sheet distance tolerance; below 1e-10 the part's
    double trim_dist;                 // in: "Trim Rad from Spindle"
    FILE* log_file;                   // work: the open log
    char date_time[32];               // work: run date and time
    double concavity;                 // in: concavity sensitivity
    int single_layer;                 // in: 1: every section on sec1_layer, no categories
    int sec1_layer;                   // in: layer of the first section spline
    int surface_layer;                // in: layer of the sheet body
    int profile_layer;                // in: layer of the profile spline
    int spindle_line_layer;           // in: layer of the wheel, tire and spindle lines
    tag_t thegroup;                   // out: group of the profile spline, lines and section splines
    tag_t part_members[10];           // out: members of the reference set "PART"
    int num_part_members;             // out: count of part_members
    double radial_start;              // in: first radial section angle
    double radial_end;                // in: last radial section angle
    int num_sections;                 // out: number of radial sections (at most 36)
    double section_angles[TIRE_ENVELOPE_MAX_SECTIONS];  // out: ascending section angles
    char offset_file[256];            // in: offset file name (copied into the log)
    char offset_from_file;            // in: nonzero: apply the offset table
    int offset_method;                // in: 0 "BETWEEN TANGENTS", 1 "BETWEEN ENDS"
    double offsets[TIRE_ENVELOPE_MAX_SECTIONS][TIRE_ENVELOPE_MAX_OFFSET_VALUES];  // in/work: stored inboard first
    int num_offsets[TIRE_ENVELOPE_MAX_SECTIONS];        // in/work: values in each row
    double offset_angles[TIRE_ENVELOPE_MAX_SECTIONS];   // in/work: section angle of each row
    int num_offset_sections;          // in/work: rows in use (at most 36)
    int cur_offset_section;           // work: row of the section being built; -1 none
    char notes[TIRE_ENVELOPE_TEXT_SIZE];  // in: optional notes (log only)
} tire_envelope_params_s;

#ifdef __cplusplus
extern "C" {
#endif

// Builds the section splines, the profile spline and the wheel, tire and
// spindle lines from the profile and the spindle rules of the tool instance;
// with update_part also removes the previous run's output, writes the log,
// the reference set "PART", the layer categories and the DESLOG attributes.
// The six results: number of section splines, their tags (caller sizes the
// array for at least 36), profile spline, wheel, tire and spindle line.
// Returns 0 on success; 1 when a step failed (its dialog was shown), or the
// host's code of a failing removal; -1 for a null block or result pointer, a
// text field without its terminator, or a number the run reads (vehicle
// coordinate system, rim, shift, tolerances, angles, profile points, offset
// table rows in use) that is not finite or beyond 1e12 (nothing made, no
// session opened).
CARVELL_C_EXPORT int create_tire_envelope_curves(tire_envelope_params_s* params, int* num_splines,
                                                 tag_t* spline_tags, tag_t* profile_spline, tag_t* wheel_line,
                                                 tag_t* tire_line, tag_t* spindle_line);

// Builds the envelope sheet body through the section curves in order into
// params->sheet_body (nothing when create_sheet is 0 or fewer than two
// curves). The status area and the system log say "Done Processing" or
// "Done Processing - An ERROR occured". A null block, a null curve array
// with a positive count, or a block refused as create_tire_envelope_curves
// refuses it does nothing.
CARVELL_C_EXPORT void gen_tire_envelope(tire_envelope_params_s* params, int num_curves, const tag_t* curve_tags);

// Reads lines of an open spindle-points file until one holds a value and
// converts up to max_values numbers of it into values, the count in *count.
// Returns 0 when a line with values was read; -1 at end of file (count 0);
// -98 when the line holds more than max_values numbers; -99 when a number
// begins with a character other than a digit, '.', '-', '+', 'e' or 'E', or
// converts to nothing; -1 also for a null file or pointer.
CARVELL_C_EXPORT int readvalues(FILE* file, int max_values, double* values, int* count);

#ifdef __cplusplus
}
#endif

#endif
