// Stone impingement: where stones thrown off a rotating tire strike the body
// faces behind it, and at what angle.
//
// Conventions. Lengths are in the work part's units, angles in degrees,
// points and vectors three doubles in the vehicle frame (x rearward, y to the
// right, z up). The caller allocates an si_data_s, clears it with
// HM_VD_SI_initialize_data (which allocates the face tags, the wheel centre
// and the face-results array), fills it and runs HM_VD_SI_main as often as
// it likes; HM_VD_SI_delete_geometry removes the analysis objects from the
// part and HM_VD_SI_free_data frees everything the record holds (the colour
// table too, which the caller allocates with SM_alloc). Point arrays that an
// export hands back are arrays of SM_alloc'd double[3] pointers: the caller
// frees each element, then the array, with SM_free. Host lists handed back
// are deleted by the caller with HM_MODL_delete_list.
//
// The run keeps its work arrays in statics: no stone-impingement export may
// run while HM_VD_SI_main runs.
#ifndef CARVELL_HM_VD_SI_H
#define CARVELL_HM_VD_SI_H

#include "carvell_export.h"
#include "host_types.h"

#include <stdbool.h>

#define SI_SECTION_COUNT 85      /* radial sections of the tire model */
#define SI_STONE_COUNT 50        /* stones across the tread in a section */
#define SI_MAX_BLOCKING 10000    /* blocking objects of a record */
#define SI_MAX_ERRORS 50         /* entries of the error log */
#define SI_MAX_CONTOUR_ANGLES 90 /* contour angles of a run */
#define SI_MAX_FACES 100000      /* faces of a record */

/* Option bytes of si_data_s::options, by index. */
enum si_option {
    SI_OPT_STOP_AT_X_LIMIT = 0,
    SI_OPT_STONE_PATHS = 1,
    SI_OPT_BLOCKING_SHADOWS = 2,
    SI_OPT_THRESHOLD_CURVES = 3,
    SI_OPT_LEFT_SIDE = 4,
    SI_OPT_COLOUR_TABLE = 5,
    SI_OPT_BAND_GRIDS = 6,
    SI_OPT_OUTLINE_IN_BAND_MODE = 7
};

/* Codes the run writes into the error log itself. */
enum si_run_code {
    SI_FACE_PROPS_FAILED = 1,     /* face properties at (0.5, 0.5) not found; the run ends */
    SI_FACE_BOX_FAILED = 2,       /* face bounding box not found; the run ends */
    SI_OUTLINE_FAILED = -3,       /* mid-plane not intersected with the face; the run goes on */
    SI_NOTHING_HIT = -4,          /* no stone landed on any face */
    SI_LOG_FULL = 5               /* the error log filled up */
};

/* Per-face results: filled by HM_VD_SI_main (SM_alloc), freed by HM_VD_SI_free_data. */
typedef struct si_face_result_s {
    int area_count;             /* areas (mode 0 with the colour-table option), else 0 */
    int* area_sizes;            /* [area_count]: consecutive items of the area list per area */
    double* area_angles;        /* [area_count]: mid-angle of each area's contour interval, degrees */
    hm_list_p_t area_list;      /* the areas' curves, in area order, on layer 99 */
    hm_list_p_t stone_path_list;/* stone path curves (option 2) */
    hm_list_p_t contour_list;   /* contour lines on the face */
    hm_list_p_t band_list;      /* band sheets (mode non-zero) */
    hm_list_p_t blocking_lists[SI_MAX_BLOCKING]; /* threshold curves per blocking object (option 4) */
    hm_list_p_t outline_list;   /* "OUTER": the tire mid-plane on the face */
    hm_list_p_t label_list;     /* labels of named curves */
    unsigned char single_line;  /* 1: no contour angle gave two contour lines */
    unsigned char face_hit;     /* 1: at least one stone landed */
} si_face_result_s;

/* The stone-impingement record; the caller allocates it. */
typedef struct si_data_s {
    char caller_block[96];          /* the caller's own; cleared by initialise */
    int mode;                       /* 0 areas, non-zero bands */
    int error_count;                /* entries of error_log, 0..50 */
    int error_log[SI_MAX_ERRORS];   /* status of each failed step, in order */
    int face_count;                 /* faces to analyse, >= 1 */
    int blocking_count;             /* blocking objects, 0..10000 */
    int colour_count;               /* entries of colour_table; 0 = none */
    int* colour_table;              /* host colours, used cyclically (SM_alloc; freed by free_data) */
    double tire_diameter;           /* D, length */
    double launch_offset;           /* h, length: launch point sqrt((D/2)^2 - h^2) ahead of the centre in +x */
    double lateral_base;            /* A, length: wheel centre y = (A + W) / 2 */
    double tread_width;             /* W, length */
    double launch_height;           /* z of the launch point before it is put on the tire, length */
    double x_limit;                 /* option 1, length */
    double angle_threshold;         /* option 4, degrees */
    double contour_angle_input[3];  /* first, last, step of the contour angles, degrees */
    double tolerances[6];           /* distance tol, 0.01, angle tol, 0.01, 0.0001, 0.001 */
    unsigned char options[8];       /* see si_option */
    tag_t* face_tags;               /* [face_count] (allocated by initialise) */
    tag_t blocking_tags[SI_MAX_BLOCKING];
    double* wheel_centre;           /* double[3] (allocated by initialise); x and z are used */
    si_face_result_s** face_results;/* [face_count]; null for a face outside the tread range */
} si_data_s;

/* A contour line's working curve with its angle and radial-section range (24 bytes). */
typedef struct si_contour_record {
    tag_t curve;
    double angle;
    int first_section;
    int last_section;
} si_contour_record;

/* Clears the record; then -1 for face_count < 1 or above SI_MAX_FACES or
   blocking_count < 0, -2 for blocking_count > 10000, else allocates the face
   tags, face results and wheel centre, sets the tolerances and answers 0. A
   null record: -1. */
CARVELL_C_EXPORT int HM_VD_SI_initialize_data(si_data_s* rec, int face_count, int blocking_count);

/* The run: 0, the status of the last failing step, 5 (log full), -4 (nothing
   hit), 110 (tire diameter or width not positive and finite), 103 (launch
   offset beyond the tire's radius), -1 (null or uninitialised record, or
   counts that do not fit what it holds: a face count beyond what
   initialise allocated for, a negative colour count or one beyond the
   colour table, a NaN or infinite x limit, angle threshold or contour-angle
   input; nothing run). */
CARVELL_C_EXPORT int HM_VD_SI_main(si_data_s* rec);

/* Deletes the stone paths, contours, threshold curves, outlines and bands of
   every face result; the lists stay. -1 for a null record, else 0. */
CARVELL_C_EXPORT int HM_VD_SI_delete_geometry(si_data_s* rec);

/* Frees everything the record holds and leaves it cleared; -1 for a null
   record, else 0. Safe to call twice. */
CARVELL_C_EXPORT int HM_VD_SI_free_data(si_data_s* rec);

/* *left = 1 when the object's box centre y in the frame is <= 0: the status of
   the bounding box; -1 (left 0) for a null object or null output. */
CARVELL_C_EXPORT int HM_VD_SI_is_data_on_left(tag_t object, const double origin[3], const double matrix[9],
                                              bool* left);

/* The tire model: wheel centre, 85 unit throw directions, tread step W/49, the
   85 x 50 stone start points and the tire's mid-plane (a plane object). 0, or
   101 matrix, 102 arc, 103 launch point, 104/105 direction not unitised, 109
   mid-plane, 110 bad diameter or width; -1 for null arguments. */
CARVELL_C_EXPORT int HM_VD_SI_gen_tire_data(si_data_s* rec, double centre[3], double directions[][3], double* step,
                                            double points[][SI_STONE_COUNT][3], tag_t* plane);

/* Lands one radial section's stones on the face: *count stones with their
   points and impact angles (degrees). 0, or the status of the last stone
   (-401, -402); -1 for null arguments, a NaN or infinite start point or
   direction, or a face tag that names no live face. Option 4 appends threshold points per
   blocking object; option 3 drops blocked stones. */
CARVELL_C_EXPORT int HM_VD_SI_gen_stone_paths(si_data_s* rec, double centre_y, double step, int lo, int hi,
                                              double points[][3], const double direction[3], tag_t face,
                                              int face_sign, int* count, double out_points[][3],
                                              double out_angles[], int* state, int blocking_counts[],
                                              double blocking_points[][SI_SECTION_COUNT][3]);

/* The nearest point where the ray from the point along the direction meets
   the target (face, body, plane, datum plane): 0, -1 no hit or null
   arguments, 875033 for another kind of target. */
CARVELL_C_EXPORT int HM_VD_SI_project_point_along_vector(const double point[3], const double direction[3],
                                                         tag_t target, double out[3]);

/* Contour lines of equal impact angle on the face: the contour list is made
   here (the caller deletes it), labels go to the caller's label list, the
   records array is SM_alloc'd (SM_free). 0; -1 for null outputs, a section
   count below 0 or above 50, a NaN or infinite stone point, stone angle or
   contour angle (no list made, nothing built). */
CARVELL_C_EXPORT int HM_VD_SI_gen_contours(tag_t face, bool use_colour_table, int colour_count, const int* colours,
                                           const int counts[], double points[][SI_STONE_COUNT][3],
                                           double angles[][SI_STONE_COUNT], const double contour_angles[],
                                           int angle_count, int face_colour, hm_list_p_t* contour_list,
                                           hm_list_p_t* label_list, bool* single_line,
                                           si_contour_record** records, int* record_count);

/* A degree-1 spline through the n points, in the colour: the host's status;
   *curve is 0 when nothing was made (-1 for null arguments, n < 2 or n above
   HM_VD_MAX_SAMPLED_POINTS). */
CARVELL_C_EXPORT int VD_CURVE_create_linear(double points[][3], int n, int colour, tag_t* curve);

/* The contour's angle from its name (its leading integer; a name without
   one, such as "OUTER", reads as 0), accepted within [floor(min), ceil(max)]
   of the range: 0, or -1 (null curve or output, unnamed, outside, a NaN or
   infinite range). */
CARVELL_C_EXPORT int HM_VD_SI_ask_angle_of_contour_line(tag_t curve, const double range[2], int* angle);

/* Display grid counts (u, v) on a face, or on every face of a body (the
   prototype's, for an occurrence): 0, -1 (no object), -2 (neither face nor
   body), or the host's code; on failure the part is left as it was. */
CARVELL_C_EXPORT int HM_VD_SI_set_grid(tag_t object, int u_count, int v_count);

/* Points at normalised parameters i/(n-1) (open) or i/n (closed), reversed
   on request, in a new point array: 0, or -1 (null curve or output, n < 3
   or above HM_VD_MAX_SAMPLED_POINTS, not a curve; *points null). */
CARVELL_C_EXPORT int HM_VD_SI_disperse_curve(tag_t curve, bool reverse, int n, double*** points);

/* The defining points of a spline the host made through points: the host's
   status (-1 for a null curve or output); on failure *n 0 and null. */
CARVELL_C_EXPORT int HM_VD_SI_ask_spline_thru_point_data(tag_t curve, int* n, double*** points);

/* A new list with group `index`'s items; *sublist null for a bad index or
   group, or when the groups run past the list. */
CARVELL_C_EXPORT void HM_VD_SI_ask_sublist(hm_list_p_t list, int group_count, const int sizes[], int index,
                                           hm_list_p_t* sublist);

/* For each curve of the list, its defining-point count and points, in two
   SM_alloc'd arrays of *n entries (the caller frees each point array as
   above, then both arrays). 0; -1 for null outputs. */
CARVELL_C_EXPORT int HM_VD_SI_ask_points_of_interval_area(hm_list_p_t list, int* n, int** counts,
                                                          double**** points);

#endif
