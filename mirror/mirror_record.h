// Internals of mirror certification shared by its sources: the zero-fill of
// the working record, the warning table and run messages, the regional
// standards and the eye points.
#ifndef CARVELL_MIRROR_MIRROR_RECORD_H
#define CARVELL_MIRROR_MIRROR_RECORD_H

#include "hm_vd_mc.h"

namespace carvell::mirror {

// Defaults of a cleared working record.
inline constexpr double kDefaultTolerance = 0.01;
inline constexpr double kDefaultLowerLegalRadius = 100.0;
inline constexpr double kDefaultUpperLegalRadius = 999999.0;
inline constexpr int kDefaultColour = 2;

inline constexpr double kDegreesPerRadian = 180.0 / 3.14159265358979323846;

// Millimetres to inches.
inline constexpr double kInchPerMm = 0.03937007874015748;

// Clears the record to its defaults: everything 0, empty texts, null lists
// and pointers, but the three tolerances 0.01, the legal radii 100 and
// 999999, the positioning, skip-area-test and certifies flags 1 and the seven
// colours 2.
void zero_fill(mc_data_s* data);

// The input record as the library can take it: each object count 0 to
// HM_VD_MC_MAX_OBJECTS with its array when not 0 (the caller messages: a
// null array is none), and every coordinate, radius, distance and value it
// reads finite (the loading points only with loading, the user's distance
// and value only with the override).
bool input_is_sound(const mc_input_data_t& input);
// Every point, tolerance and value of the working record that a run computes
// with is finite.
bool record_is_finite(const mc_data_s& data);
// Centre, curvature, radius, vertex and normal are finite.
bool surface_is_finite(const mc_mirror_surface_record& surface);
// The eye points and head pivot of the outside record are finite.
bool outside_eyes_finite(const mc_outside_result_s& outside);

/* ---- warnings and run messages ---- */
enum Warning {
    kWarnStdAngle = 0,
    kWarnStdWidth = 1,
    kWarnInboardDeviation = 2,
    kWarnOutboardDeviation = 3,
    kWarnForStudy = 4,
    kWarnHeadRotation = 5,
    kWarnPrimePerimeter = 6,
    kSkipOppositeTest = 7,
    kWarnBadRadius = 8,
    kWarnDiffRadii = 9,
    kWarnOutOfRange = 10,
    kSplitRestrictions = 11,
    kTriangleOutOfRange = 12,
    kNoRestrictions = 14,
    kWarnDeviatesFromStandard = 15,
    kWarnUserAngle = 16,
    kWarnUserWidth = 17,
    kWarnMirrorTargetRestrictions = 18,
    kMessageLimit = 19,
    kWarnNoMidEyeIntersect = 20,
    kWarnNoEyeInfo = 21,
    kWarnFailRestrict = 22,
};

// The 23-slot warning table, each slot (but the empty 13) a copy of the
// defaults file's text where its switch is on, else of the default text.
// Allocated with SM_alloc; freed by free_warning_table.
char** build_warning_table();
void free_warning_table(char*** table);

// Appends a copy of the text to the run messages; a full list (10) has its
// tenth message replaced by the limit warning, later ones are lost. A null
// text or a record without a message array adds nothing.
void add_message(mc_data_s* data, const char* text);
// The same with warning slot `warning` of the record's table.
void add_warning(mc_data_s* data, Warning warning);

/* ---- regional standards and eye points ---- */

// Region and standard names of the kind's row; empty outside the table.
void name_region_and_standard(int kind, int row, char region[MC_NAME_SIZE], char standard[MC_NAME_SIZE]);
// 0 when the row takes its eye points from the eyellipse, 1 ocular.
int eye_method(int kind, int row);
// true when the row corrects its ocular points by the back-angle table.
bool uses_back_angle_table(int kind, int row);
// The second-target width of the Japanese rows (300 mm), else 0.
double second_target_width(int kind, int row, int units);

// Ocular offset in millimetres by back-angle index (dx, dz); (0, 0) outside 5..40.
void ocular_offset(int back_angle_index, double* dx, double* dz);
// Second adjustment in millimetres along X by adjustment index.
double ocular_adjustment(int adjustment_index);

struct EyePoints {
    double left[3];
    double mid[3];
    double right[3];
    double pivot[3];
};
// Ocular points corrected by the back-angle table around reference point R.
EyePoints ocular_points_by_back_angle(const double reference[3], int back_angle_index, int adjustment_index,
                                      int units);
// Plain ocular points: 635 mm above R, 32.5 mm to each side.
EyePoints plain_ocular_points(const double reference[3], int units);

// Eye-point stage of the ocular rows: writes the eye block and pivot of the
// record's result record and the record's mid-eye point. 0 ok; -1 for a null
// record, no result record, or an eyellipse row (its stage needs the conics).
int ocular_eye_point_stage(mc_data_s* data);

// The eyellipse as the certification uses it: the ellipsoid centres of eye
// types -1 (first) and 1 (second), the full axis lengths along the first two
// axis directions from the set the size selector picks (-1 "Axis_Length:",
// 0 "Axis_Length_95:", any other "Axis_Length_99:"), the first two axis
// directions, and the reference point: the centre of eye type 0 mapped from
// the vehicle frame to absolute coordinates.
struct EyellipseLookup {
    double centres[2][3];
    double lengths[2];
    double first_direction[3];
    double second_direction[3];
    double reference[3];
};
// Reads the eyellipse instance of the rule name. 0; -1 for a null argument
// or a rule that is no eyellipse (the lookup then holds zeros).
int eyellipse_lookup(const char* rule_name, int size_selector, EyellipseLookup* lookup);
// The two plan-view eyellipse conics of the lookup (semi-axes half its
// lengths, full turns). 0; -1 when a conic cannot be made (none is left).
int eyellipse_conics(const EyellipseLookup& lookup, tag_t conics[2]);

// The eye-point stage of a run: the ocular points, or for the eyellipse rows
// the eyes on the plan-view eyellipse conic on the mirror's side (the one of
// the first centre when the mirror reference point lies at larger Y than the
// eye reference point, of the second when at smaller Y). Writes the eye block
// and pivot of the result record and the record's mid-eye point. 0 ok; 1 the
// conic could not be sampled (none chosen: equal Y, or no conics); 2 a conic
// structure or the minimum distance could not be read; 3 the helper plane
// failed; -1 null record or no result record.
int eye_point_stage(mc_data_s* data);

/* ---- summary report ---- */

// Writes the summary report of the record to the listing window, opening it
// when closed. 0 written; 1 the window could not be opened (nothing
// written); -1 null record.
int write_report(const mc_data_s* data);

}  // namespace carvell::mirror

#endif
