// A-pillar obstruction: how much of the driver's horizontal view an A-pillar
// (or a limit point, edge or curve, or given angles) hides from the two eyes.
//
// The host's dialog calls HM_VD_APO_init_global on the input record, fills
// it, may ask the validity checks, calls HM_VD_APO_init_result_struct and
// HM_VD_APO_main, asks or shows the failure message of a non-zero status and
// finally calls HM_VD_APO_free_global.
//
// Eyes: E points sit d forward (98.0 mm; sqrt(9759.75) mm in analysis modes
// 1 and 2) and 32.5 mm to either side of the neck pivot point; side 1 is the
// eye at smaller y. Angles: head rotation turns the head about the vertical
// through the pivot, eye rotation the eye about the vertical through its E
// point, in degrees, counter-clockwise seen from above (positive turns the
// forward direction, -x, toward -y).
#ifndef CARVELL_HM_VD_VISION_APILLAR_H
#define CARVELL_HM_VD_VISION_APILLAR_H

#include "carvell_export.h"
#include "host_types.h"

#include <stdbool.h>

struct VD_eyellipse_param_s;

// Status codes of the analysis (HM_VD_APO_get_failmessage gives their texts).
enum apo_status_e {
    APO_OK = 0,
    APO_COMPONENT_MISSING = 1,
    APO_INVALID_EYELLIPSE = 2,
    APO_NO_PIVOT_POINTS = 3,
    APO_NO_APILLAR = 4,
    APO_NO_LIMIT_GEOMETRY = 5,
    APO_NO_CLOSEST_EYE = 6,
    APO_INVALID_APILLAR = 7,
    APO_INVALID_LIMIT_POINT = 8,
    APO_NO_AREA = 9,
    APO_NO_LIMIT_POINT = 11,
    APO_INVALID_DATA = 12,
    APO_TOO_CLOSE = 13,
    APO_NO_OUTBOARD_POINT = 14,
    APO_EYELLIPSE_DATA = 15,
    APO_EYELLIPSE_BODY = 16,
    APO_NO_MINIMUM_DISTANCE = 17,
    APO_NO_INTERSECTION = 18,
    APO_MULTIPLE_LIMITS = 19,
    APO_NO_WORK_PART = 20,
    APO_EYE_ROTATION_RANGE = 22,
    APO_NO_SECTION_IN_FRONT = 23
};

// Input (caller-allocated; lengths in part units, points absolute).
typedef struct apo_input_s {
    double csys_origin[3];       // [length] vehicle csys origin
    double csys_matrix[9];       // [-] vehicle csys orientation (rows are the axes)
    int rule_set;                // 0, 1: analysis mode 0; 2: mode 1; other: mode 2; 0 first pivot set, other second
    int eye_point_mode;          // 0 neck pivots of the eyellipse; 1 user eye point; 2 closest eye point
    char* eyellipse_name;        // rule-language name of the eyellipse; SM_alloc'd, freed by free_global
    int percentile;              // axis-length set: -1 first, 0 second, other third
    struct VD_eyellipse_param_s* eyellipse_data;   // filled by HM_VD_APO_main, freed by free_global
    double user_eye_point[3];    // [length] eye point of eye-point mode 1
    int analysis_kind;           // 0 obstruction by A-pillar geometry; 1 angle to a limit
    double limit_angle;          // [deg] widens the sight-line pair for a limit (absolute value used)
    hm_list_p_t apillar_geometry;    // objects of the A-pillar (kind 0)
    int limit_source;            // 0 limit point; 1 limit edges or curves; 2 given angles (kind 1)
    double limit_point[3];       // [length] limit point (source 0)
    double head_rotation;        // [deg] given head rotation (source 2)
    double eye_rotation;         // [deg] given eye rotation of the working side (source 2)
    double sight_line_length;    // [length] drawn sight lines (source 2); 700 mm when not above 1e-10
    unsigned char side;          // [-] driver side given for source 2: 0 or 1
    hm_list_p_t limit_geometry;      // limit edges or curves (source 1)
    hm_list_p_t additional_geometry; // cut with the A-pillar in the second section (modes 1, 2)
} apo_input_t;

// Result (caller-allocated).
typedef struct apo_result_s {
    int status;                  // 0 or an apo_status_e code
    double pivot_point[3];       // [length] neck pivot point, absolute
    double rotation[4];          // [deg] eye rotation side 1, side 0; head rotation side 1, side 0
    unsigned char side;          // [-] 0 when the target lies at greater y than the reference eye, else 1
    unsigned char angle_valid;   // [-] 1 when the obstruction angle is meaningful
    double obstruction_angle;    // [deg] between the sight lines; negative when they meet in front of the pivot
    tag_t sight_lines[2];        // lines from the eye points: side 1, side 0
    hm_list_p_t section_curves;  // section of the A-pillar through the pivot (mode 0)
    double reference_point[3];   // [length] R beside the pivot point
    double lower_normal[3];      // [-] the vertical turned -5 deg about the lateral axis
    double upper_normal[3];      // [-] the vertical turned 2 deg about the lateral axis
    double** section_points;     // [length] section points, SM_alloc'd; the caller frees
    int section_point_count;     // entries of section_points
    unsigned char curves_present;        // 1 when the section holds more objects than points
    unsigned char curves_present_second; // the same for the second pass (modes 1, 2)
} apo_result_t;

// Clears the record and sets the csys matrix to the identity; null: nothing.
CARVELL_C_EXPORT void HM_VD_APO_init_global(apo_input_t* input);
// Frees the eyellipse name and data (SM_free) and deletes the three lists
// (the lists, not their objects); all are cleared. Null: nothing.
CARVELL_C_EXPORT void HM_VD_APO_free_global(apo_input_t* input);
// Clears the record and sets both curves-present flags to 1; null: nothing.
CARVELL_C_EXPORT void HM_VD_APO_init_result_struct(apo_result_t* result);
// 0 when the named eyellipse can serve the eye-point mode with the rule
// set's pivot set; 2 (APO_INVALID_EYELLIPSE) otherwise, a null name too.
CARVELL_C_EXPORT int HM_VD_APO_is_valid_eyellipse(const char* name, int rule_set, int eye_point_mode);
// True when the pivot point can be found with a limit point and its height
// differs from the limit point's by at most half the distance tolerance.
// In eye-point mode 2 the pivot lies behind the eyellipse eye (axis lengths
// of the percentile) closest to the limit point, at the limit point's height:
// false when the horizontal plane through the limit point misses the
// eyellipse. The part is left as it was.
CARVELL_C_EXPORT bool HM_VD_APO_is_valid_limit_point(int rule_set, int eye_point_mode,
                                                     struct VD_eyellipse_param_s* data, int percentile,
                                                     const double user_eye_point[3], const double limit_point[3]);
// True when the pivot point can be found with limit geometry and the
// horizontal plane through it cuts the geometry: a face or body in at least
// one curve, or an edge or curve in a point or a curve (objects of other
// kinds are passed over). In
// eye-point mode 2 the pivot lies behind the eyellipse eye (axis lengths of
// the percentile) closest to the geometry. The part is left as it was.
CARVELL_C_EXPORT bool HM_VD_APO_is_valid_limit_geometry(int rule_set, int eye_point_mode,
                                                        struct VD_eyellipse_param_s* data, int percentile,
                                                        const double user_eye_point[3], hm_list_p_t geometry);
// The E point of the side (0 or 1) for the pivot point, the head turned by
// `head_rotation` degrees and the eye not turned. Null arguments, or a pivot
// or rotation not finite or beyond the model space: nothing written.
CARVELL_C_EXPORT void HM_VD_apo_calculate_E_point(int analysis_mode, const double pivot[3], unsigned char side,
                                                  double head_rotation, double e_point[3]);
// A fresh copy of the message of a code 1 to 23 (free with SM_free); null
// for 0, 10, 21 and any other code.
CARVELL_C_EXPORT char* HM_VD_APO_get_failmessage(int code);
// Shows the message of the code in a dialog: "Warning" for codes 22 and 23,
// "Error" for the others; nothing for a code without a message.
CARVELL_C_EXPORT void HM_VD_APO_display_failmessage(int code);
// Runs the analysis of the input into the result (see the records). Returns
// the status, also stored in the result: 0 or an apo_status_e code; -1 for a
// null record. A number the analysis would read that is not finite or lies
// beyond the host's model space (1e12 part units) is refused before anything
// is read or built: APO_INVALID_LIMIT_POINT for the limit point,
// APO_INVALID_DATA for the others.
CARVELL_C_EXPORT int HM_VD_APO_main(apo_input_t* input, apo_result_t* result);

#endif
