// Windshield data (plain names): the windshield record and its driver, sheet
// trimming, the dark-band check and the wiped region as sheets.
//
// Conventions:
// - Lengths are in the work part's units, areas in those units squared,
//   angles in degrees; points are absolute coordinates.
// - The vehicle frame is a 4x4 transform (MTX4_s): its origin and its axes
//   (x rearward, y lateral, z up). The eye point is projected onto the glass
//   along the frame's negated x axis everywhere in this family.
// - The caller owns ws_data_s. `faces` is allocated by the caller with the
//   host's memory manager (SM_alloc) and freed by
//   HM_VD_WS_release_windshield_data; `dark_band_curves` stays the caller's.
//   Every result group's arrays and points are SM_alloc'd by the library and
//   freed by the release, which sets the group back to empty (a second
//   release does nothing). Geometry that the tool builds stays in the part.
// - Each result group's `status` is 0 on success; the codes are listed with
//   HM_VD_WS_create_windshield_data.
// - Wiper angles are measured about the glass normal (turned to point
//   forward, against the vehicle x axis) from the vehicle's -y direction
//   moved onto the glass: 90 points up the glass, 180 towards +y; a sweep
//   runs from its first angle towards smaller angles.
// - The eye point's projection onto the clear-vision area must lie in every
//   vision zone: it is the point each zone's test area is kept around.
// - Numbers the tool reads (the frame, distances, points, plane origins and
//   normals, wiper lengths and angles, tolerances) must be finite and within
//   the model space (1e12 part units); a step given anything else fails with
//   its code before it builds anything.
#ifndef CARVELL_HM_VD_WS_H
#define CARVELL_HM_VD_WS_H

#include "carvell_export.h"
#include "host_types.h"
#include "omvra.h"
#include "tessik.h"

#include <stdbool.h>

// Most points of one sampled curve (points_per_curve), and most steps of
// one wiper's sweep (sweep_angle / angle_step).
#define HM_VD_WS_MAX_POINTS_PER_CURVE 10000
#define HM_VD_WS_MAX_SWEEP_STEPS 100000

// Curves sampled into point lists: `count` curves, curve i with
// point_counts[i] points, points[i][j] three doubles (x, y, z).
typedef struct ws_point_group_s {
    int status;
    int count;
    int* point_counts;
    double*** points;
} ws_point_group_t;

// The wiped-area group: as ws_point_group_s, with the number of curves that
// belong to wiper 1 (they come first) between the count and the arrays.
typedef struct ws_wiped_group_s {
    int status;
    int count;
    int first_wiper_curve_count;
    int* point_counts;
    double*** points;
} ws_wiped_group_t;

// The four planes that bound one vision zone: their origins, then their
// normals (pointing away from the zone).
typedef struct ws_zone_planes_s {
    double zone_origins[4][3];
    double zone_normals[4][3];
} ws_zone_planes_t;

typedef struct ws_data_s {
    MTX4_t* vehicle_frame;           // vehicle coordinate system
    bool want_zone1;
    bool want_zone2;
    bool want_zone3;
    bool want_wiped_area;            // also the percentages when the wiped area succeeds
    bool want_reserved;              // read by no operation
    bool want_flat_pattern;
    int face_count;
    tag_t* faces;                    // SM_alloc'd by the caller; freed by the release
    int dark_band_count;             // 0: none, the sheet's own boundary is offset
    tag_t* dark_band_curves;         // the caller's
    double offset_distance;          // clear-vision boundary inside the sheet, part units
    ws_zone_planes_t zone_planes[3]; // zones 1, 2, 3, each its origins then its normals
    int wiper_mode;                  // 0 or 1: two wipers; 2: one wiper
    double arm_length[2];
    double blade_length[2];
    double arm_angle[2];             // degrees
    double sweep_angle[2];           // degrees
    double blade_angle[2];           // degrees, blade to arm
    double pivot[2][3];
    bool arm_angle_at_start;
    double angle_step;               // degrees
    int points_per_curve;            // points of each sampled curve, 2..HM_VD_WS_MAX_POINTS_PER_CURVE
    double eye_point[3];             // absolute coordinates
    int zone_selector;               // 2 or 4: zone 3 is not computed
    ws_point_group_t offset_result;  // its status also reports the sheet preparation
    ws_point_group_t zone_result[3];
    ws_wiped_group_t wiped_result;
    ws_point_group_t flat_result;
    int percent_status;
    double percentages[3];           // wiped share of zones 1, 2, 3 in percent
} ws_data_t;

// Clears the record: no requests, counts 0, null pointers, doubles 0,
// wiper_mode 0, arm_angle_at_start true, angle_step 1.0, points_per_curve 30,
// zone_selector 0, every status 0, percentages 0. A null record: nothing.
CARVELL_C_EXPORT void HM_VD_WS_init_windshield_data(ws_data_t* data);

// Runs the windshield steps in order and reports each in its group's status.
// Results of an earlier run still in the record are freed first.
// offset_result.status: 0 success; 1 the faces do not sew into exactly one
// sheet (also a null frame or one that is not finite, a null face array, a
// face count below 1 or one whose array could not be allocated); 2 the
// dark-band curves do not form one loop (also a negative dark-band count, one
// whose array could not be allocated, or a null array with a positive count);
// 3 they do not project onto the sheet; 4 the dark-band region cannot be
// trimmed out; 5 the offset cannot be made (also points_per_curve outside
// 2..HM_VD_WS_MAX_POINTS_PER_CURVE or an offset distance that is not a
// usable number); 6 the eye point does not project onto the sheet (also one
// that is not a usable point) or the clear-vision area cannot be trimmed.
// The record's counts and numbers are checked before anything is built: a
// run refused so builds nothing. The steps after a nonzero offset status are
// not run. A host exception raised while offsetting leaves
// this function after the part is rolled back to the offset's start. A null
// record: nothing.
// zone_result[i].status: 0; 1 no sheet; 2 a plane cannot be made (also an
// origin or normal that is not a usable number: nothing is built); 3 the eye
// point does not project onto the glass or lands beyond the eye in x.
// wiped_result.status: 0; 4 (two wipers: the glass normal cannot be found or
// a sweep fails) or 5 (one wiper: the sweep fails); a sweep fails for an
// angle_step that is not a positive number, more than
// HM_VD_WS_MAX_SWEEP_STEPS steps, a pivot, length or angle that is
// not a usable number (then nothing is built), fewer than two steps that
// reach the glass or a missing blade line. percent_status (only after a wiped
// area): 0; 2 the wiped sheets cannot be made; 4 the eye point does not
// project onto the glass; 5 a zone's share cannot be measured (its and later
// zones' percentages stay 0). flat_result.status: 0; -1 no reference point on
// the centre section; otherwise the host's code (the part is then as before
// the flat pattern). The flat pattern carries the offset, zone and wiped
// curves and its group "TMP_WINDSHIELD_CURVE_FLATTEN" stays in the part with
// the undo step "Create flat pattern curves".
CARVELL_C_EXPORT void HM_VD_WS_create_windshield_data(ws_data_t* data);

// Frees `faces` and every point and array of the six result groups, and sets
// them back to empty; the part's geometry stays. Safe to repeat; null: nothing.
CARVELL_C_EXPORT void HM_VD_WS_release_windshield_data(ws_data_t* data);

// The host's sheet trim (HM_MODL_trim_sheet) with one retry: when it fails
// with gaps, the largest gap (pairs (2k, 2k+1) of the gap points, at least
// `tolerance`) times 1.2 becomes the tolerance of a second and last trim,
// provided that stays below ten times `tolerance`. Answers the last trim's
// code (0 success) with its gaps, which the caller frees with SM_free. A host
// exception thrown by the trim answers its own code, with no retry and no
// gaps. A null projection projects along the sheet's normals. Null bounds,
// points or outputs: HM_ERR_NULL_POINTER; sheet 0: HM_ERR_INVALID_TAG; a
// bound count below 1 or one whose array could not be allocated, a keep or
// point count other than 1, a point, tolerance or projection direction that
// is not a usable number (a tolerance not above 0): HM_ERR_BAD_ARGUMENT,
// checked before the host is called.
CARVELL_C_EXPORT int HM_VD_WS_trim_sheet(tag_t sheet, int bound_count, const HM_MODL_trim_object_t* bounds,
                                         const HM_MODL_proj_method_t* projection, int keep_count, int point_count,
                                         const double* points, double tolerance, int* gap_count,
                                         double** gap_points);

// Validates the faces and dark-band curves as a trial of the offset step and
// undoes it: nothing that the check builds stays in the part. 0 success; 1
// the curves do not form one loop (also a negative count, or a null array
// with a positive count, or a count whose array could not be allocated); 2
// the faces do not sew into exactly one sheet (also no faces, or a count
// whose array could not be allocated); 3 the curves do not project onto the
// sheet; 4 the dark-band region cannot be trimmed out; 5 the offset cannot be
// made (also an offset distance that is not a usable number), or a host
// exception during the check.
CARVELL_C_EXPORT int HM_VD_WS_check_serigrafia_status(int face_count, const tag_t* faces, int curve_count,
                                                      const tag_t* curves, double offset_distance);


// The wiped region as sheets: copies of the clear-vision sheet trimmed to
// each wiper's outline (`curves`, wiper 1's first_wiper_count first; null
// tags, outlines of one point, are passed over) around its mid-sweep arm
// tip. wiper_mode 2 (one wiper): one copy on layer 200, trimmed by all
// curves around mid_tip1. Two wipers: when the two copies touch (within the
// distance tolerance) they are united into *wiped1 (*wiped2 0, *connected
// true, *list1 the union's boundary edges); otherwise *connected is false,
// *wiped1 and *wiped2 are the two copies and *list1, *list2 each wiper's
// curves. The lists are new host lists the caller deletes
// (HM_MODL_delete_list); the sheets stay in the part. 0; 1 a trim failed
// (two wipers: the second trim's own code); 2 the union failed;
// HM_ERR_NULL_POINTER; HM_ERR_BAD_ARGUMENT (sheet 0, no curves, a count
// whose array could not be allocated, a first count outside
// 0..curve_count, a mid tip that is not a usable point). Nothing stays in
// the part on failure.
CARVELL_C_EXPORT int HM_VD_WS_ask_combined_wiped_area(tag_t sheet, int wiper_mode, int curve_count,
                                                      int first_wiper_count, const tag_t* curves,
                                                      const double mid_tip1[3], const double mid_tip2[3],
                                                      bool* connected, hm_list_p_t* list1, hm_list_p_t* list2,
                                                      tag_t* wiped1, tag_t* wiped2);

#endif
