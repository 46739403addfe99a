// omvra: curves. Included by omvra.h; not included on its own.
//
// Points, lines, arcs, conics and splines through points; planes and datum
// planes; curve evaluation; intersection of objects; joining of curves; the
// application of a transformation to objects and the copy of an object.
//
// Curve parameters are normalised everywhere: 0 is the start of a curve, 1 its
// end, 0.5 the middle of its parameter range, whatever the kernel's own range.
// Every curve enquiry also accepts an edge (type 70, subtype 3).
#ifndef CARVELL_HOST_OMVRA_CURVES_H
#define CARVELL_HOST_OMVRA_CURVES_H

#include "../host_types.h"

#include <stdbool.h>

/* ---- records ---- */

// A line from its start to its end point.
typedef struct HM_CURVE_line_s {
    double start_point[3];
    double end_point[3];
} HM_CURVE_line_t;

// A circular arc in the plane of a matrix object (its x and y rows; the arc
// turns counter-clockwise about x cross y), angles in radians from the x row.
// matrix_tag 0 is the absolute XY plane. The centre is given in the matrix's
// coordinates (components along its rows).
typedef struct HM_CURVE_arc_s {
    tag_t matrix_tag;
    double start_angle;
    double end_angle;
    double arc_center[3];
    double radius;
} HM_CURVE_arc_t;

// Conic kinds; a conic object's subtype is its kind.
enum HM_CURVE_conic_kind {
    HM_CONIC_ellipse = 2,    // C + k1 cos(t) X + k2 sin(t) Y, t in radians
    HM_CONIC_parabola = 3,   // C + (t*t / k1) X + t Y, t a length along Y
    HM_CONIC_hyperbola = 4   // C + k1 cosh(t) X + k2 sinh(t) Y
};

// A conic in the plane of a matrix object. X and Y are the matrix's x and y
// rows turned by rotation_angle (radians) about their normal; the centre (the
// vertex of a parabola) is given in the matrix's coordinates; the curve runs
// from start_param to end_param in the parameter of its kind.
typedef struct HM_CURVE_conic_s {
    tag_t matrix_tag;
    int conic_type;
    double rotation_angle;
    double start_param;
    double end_param;
    double center[3];
    double k1;
    double k2;
} HM_CURVE_conic_t;

// One point of a spline through points. Slope and curvature types -1 mean
// none; the stand-in imposes neither slopes nor curvatures (88 bytes).
typedef struct HM_CURVE_thru_point_s {
    double point[3];
    int slope_type;
    double slope[3];
    int crvatr_type;
    double crvatr[3];
} HM_CURVE_thru_point_t;

// One result of HM_MODL_intersect_objects: kind 0, a point (coordinates in
// `point`), or kind 2, a curve (a new curve object in `curve`).
typedef struct HM_MODL_intersection_s {
    int kind;
    double point[3];
    tag_t curve;
} HM_MODL_intersection_t;

// A curve evaluator (see HM_EVAL_initialize); the gostrel evaluators are the same.
typedef struct HM_EVAL_s* HM_EVAL_p_t;

/* ---- points, lines, arcs, conics ---- */
HOST_C_API int HM_CURVE_create_point(const double point[3], tag_t* point_obj);
HOST_C_API int HM_CURVE_ask_point_data(tag_t point, double coords[3]);
// Moves a point object to the coordinates; the identifier stays.
HOST_C_API int HM_CURVE_edit_point_data(tag_t point, const double coords[3]);
// A line between the two points; coincident ends make a line of length 0
// (it answers its ends and can be edited like any other).
HOST_C_API int HM_CURVE_create_line(const HM_CURVE_line_t* line, tag_t* line_obj);
HOST_C_API int HM_CURVE_ask_line_data(tag_t line, HM_CURVE_line_t* line_data);
// Gives the line new end points; the identifier stays.
HOST_C_API int HM_CURVE_edit_line_data(tag_t line, const HM_CURVE_line_t* line_data);
// An arc (type 5); end_angle - start_angle in (0, 2 pi], 2 pi a full circle.
HOST_C_API int HM_CURVE_create_arc(const HM_CURVE_arc_t* arc, tag_t* arc_obj);
// A conic (type 6, subtype the kind); positive k1 (and k2 but for a parabola),
// end_param above start_param (at most 2 pi apart for an ellipse), both ends
// inside the model space (else HM_ERR_BAD_ARGUMENT: a parabola of k1 = 1e-300
// reaches 1e300 at t = 1).
HOST_C_API int HM_CURVE_create_conic(const HM_CURVE_conic_t* conic, tag_t* conic_obj);
// The conic's record as created; for a conic made otherwise (trimmed, copied,
// transformed) a record read from its geometry, with a new matrix object.
HOST_C_API int HM_CURVE_ask_conic_data(tag_t conic, HM_CURVE_conic_t* conic_data);
// Gives the conic new data; the identifier stays.
HOST_C_API int HM_CURVE_edit_conic_data(tag_t conic, const HM_CURVE_conic_t* conic_data);

/* ---- splines through points ---- */
// Interpolating B-spline (type 9) of degree 1, 2 or 3 through the points in
// order (at least 2; 3 for a periodic one), at chord-length parameters unless
// parameters (n strictly ascending values, open splines only) are given. A
// periodic spline closes smoothly through the first point, which a last point
// equal to it (within 1e-9) only repeats; a degree above n - 1 is lowered.
// The keep-definition flag has no effect here. *spline is 0 on failure.
HOST_C_API int HM_CURVE_create_spline_thru_pts(int degree, int periodic, int n_points,
                                               const HM_CURVE_thru_point_t* points, const double* parameters,
                                               int save_def_data, tag_t* spline);
// The defining points of a spline made by HM_CURVE_create_spline_thru_pts (no
// slopes or curvatures) and their chord-length parameters, in two new arrays
// the caller frees with HM_free: 0, HM_ERR_INVALID_TAG, HM_ERR_NULL_POINTER,
// HM_ERR_WRONG_TYPE (not a curve) or HM_ERR_NOT_FOUND (a curve not made
// through points; *n_points 0, null arrays).
HOST_C_API int HM_CURVE_ask_spline_thru_pts(tag_t spline, int* n_points, HM_CURVE_thru_point_t** points,
                                            double** parameters);

/* ---- joining ---- */
// One new curve (type 9) from the list's curves, which must form one end-to-end
// chain at the part's distance tolerance (any order and direction); corners
// stay C0 breaks. Join modes 0 to 3 are accepted and all join exactly.
// *joined is 0 when the curves do not form one chain (HM_ERR_GEOMETRY).
HOST_C_API int HM_CURVE_create_joined_curve(hm_list_p_t curves, int join_mode, tag_t* joined);
// One new curve per end-to-end chain of the curves (a copy for a chain of
// one curve), chains in the order of their first curves; *joined is an
// SM_alloc'd array (null when none) the caller frees.
HOST_C_API int HM_CURVE_auto_join_curves(const tag_t* curves, int n_curves, int join_type, int* n_joined,
                                         tag_t** joined);
// Length of the curve between two normalised parameters (either order).
HOST_C_API int HM_CURVE_ask_arc_length(tag_t curve, double start, double end, double* length);
// A new curve object along an edge (type 70, subtype 3).
HOST_C_API int HM_MODL_create_curve_from_edge(tag_t edge, tag_t* curve);

/* ---- planes ---- */
// An unbounded plane object (type 46) through the origin with the normal.
HOST_C_API int HM_MODL_create_plane(const double origin[3], const double normal[3], tag_t* plane);
// Origin and unit normal of a plane object.
HOST_C_API int HM_MODL_ask_plane(tag_t plane, double origin[3], double normal[3]);
// Origin and unit normal of a datum plane (type 197).
HOST_C_API int HM_MODL_ask_datum_plane(tag_t datum, double origin[3], double normal[3]);

// A datum plane (type 197) through the origin with the normal.
HOST_C_API int HM_MODL_create_datum_plane(const double origin[3], const double normal[3], tag_t* datum);

/* ---- evaluation ---- */
// Point, unit tangent, principal normal, binormal, torsion and radius of
// curvature at the normalised parameter (0 to 1; a periodic curve wraps).
// Where the curve is straight the normals are zero and the radius is 0.
HOST_C_API int HM_MODL_ask_curve_props(tag_t curve, double parm, double point[3], double tangent[3],
                                       double p_norm[3], double b_norm[3], double* torsion, double* rad_of_cur);
// The curve point nearest to the reference point and its normalised parameter.
HOST_C_API int HM_MODL_ask_curve_parm(tag_t curve, const double ref_point[3], double* parm, double curve_point[3]);

// Evaluator of a curve or edge over normalised parameters; free with HM_EVAL_free.
HOST_C_API int HM_EVAL_initialize(tag_t curve, HM_EVAL_p_t* evaluator);
HOST_C_API int HM_EVAL_free(HM_EVAL_p_t evaluator);   // null: nothing
HOST_C_API int HM_EVAL_ask_limits(HM_EVAL_p_t evaluator, double limits[2]);   // always 0 and 1
// Point and the first n_derivatives derivatives (0 to 3; 3 doubles each, with
// respect to the normalised parameter) at parm; derivatives may be null for 0.
HOST_C_API int HM_EVAL_evaluate(HM_EVAL_p_t evaluator, int n_derivatives, double parm, double point[3],
                                double derivatives[]);
// Point, unit tangent, principal normal and binormal at parm (normals zero where straight).
HOST_C_API int HM_EVAL_evaluate_unit_vectors(HM_EVAL_p_t evaluator, double parm, double point[3],
                                             double tangent[3], double normal[3], double binormal[3]);
// Parameter and point of the curve point nearest to the given point.
HOST_C_API int HM_EVAL_evaluate_closest_point(HM_EVAL_p_t evaluator, const double point[3], double* parm,
                                              double closest[3]);
// The curve's point (and first n_derivatives derivatives, as HM_EVAL_evaluate)
// at a normalised parameter, without an evaluator of the caller's.
HOST_C_API int HM_MODL_evaluate_curve(tag_t curve, double parm, int n_derivatives, double point[3],
                                      double derivatives[]);
// *closed 1 when the curve's ends meet within the part's distance tolerance.
HOST_C_API int HM_MODL_ask_curve_closed(tag_t curve, int* closed);

// The curve's parameter range (always 0 to 1 here, parameters being
// normalised) and *periodic 1 for a closed curve.
HOST_C_API int HM_CURVE_ask_parameterization(tag_t curve, double range[2], int* periodic);
// The curve's point at parm, followed by its first n_derivatives derivatives
// (three doubles each) in `results`.
HOST_C_API int HM_CURVE_evaluate_curve(tag_t curve, double parm, int n_derivatives, double results[]);

/* ---- intersection ---- */
// Intersection of two objects among points, curves, edges, planes, datum
// planes, faces and bodies (sheets or solids), at the tolerance: *count
// entries in an SM_alloc'd array of SM_alloc'd entries (null when none); the
// caller frees each entry and the array with HM_free. Curve results are new
// curve objects. A curve's crossing points come in ascending curve parameter.
HOST_C_API int HM_MODL_intersect_objects(tag_t object1, tag_t object2, double tolerance, int* count,
                                         HM_MODL_intersection_t*** entries);

/* ---- transformation and copies of objects ---- */
// Applies the twelve-value transformation (r00 r01 r02 tx, r10 r11 r12 ty,
// r20 r21 r22 tz; non-uniform scaling included) to n objects (points, curves,
// edges, planes, datum planes, faces, bodies). move_or_copy 1 moves the
// objects themselves (copies[i] = objects[i]), 2 transforms copies of them
// (a face or edge copies into a sheet or a curve). dest_layer: 0 the work
// layer, -1 each object's own, 1..256 that layer. trace_curves: 2 none; no
// trace curves are made, *trace_group is 0 (may be null). *status (also the
// result) is 0, or the code of the first object that failed (its copies[i] 0).
HOST_C_API int hm5947(const double matrix[12], const tag_t* objects, int n_objects, int move_or_copy, int dest_layer,
                      int trace_curves, tag_t* copies, tag_t* trace_group, int* status);
// The twelve-value transformation (for hm5947) of an orientation (rows x, y,
// z): it carries absolute geometry into the orientation's axes (absolute x
// onto row x, ...), with no translation.
HOST_C_API int hm5940(const double orientation[9], double matrix[12]);
// A copy of the object on its layer (a face copies into a sheet body, an edge
// into a curve); 0 when the object cannot be copied.
HOST_C_API tag_t VD_copy_object(tag_t object);

/* ---- curve structures ---- */
// A curve's evaluated structure, freed with HM_CURVE_free_curve_struct.
typedef struct HM_CURVE_struct_s* HM_CURVE_struct_p_t;
enum { HM_CURVE_STRUCT_CONIC = 6, HM_CURVE_STRUCT_DATA_SIZE = 17 };
// The structure of a conic (type 6); HM_ERR_WRONG_TYPE for other curves.
HOST_C_API int HM_CURVE_ask_curve_struct(tag_t curve, HM_CURVE_struct_p_t* curve_struct);
// Its type and an SM_alloc'd array of HM_CURVE_STRUCT_DATA_SIZE values (free
// with HM_free), absolute coordinates: centre 0-2, start and end parameter
// 3-4, first and second semi-axis 5-6, plane normal 7-9, 0 at 10, first-axis
// direction 11-13, second-axis direction 14-16.
HOST_C_API int HM_CURVE_ask_curve_struct_data(HM_CURVE_struct_p_t curve_struct, int* type, double** data);
HOST_C_API void HM_CURVE_free_curve_struct(HM_CURVE_struct_p_t curve_struct);
/* ---- offset curves in a sheet ---- */
// A section: an ordered chain of edges or curves, made into one object (a
// feature of kind "SECTION"); the tolerances are read for range only.
HOST_C_API int OCF_create_section(int count, const tag_t* edges, double distance_tolerance, double chain_tolerance,
                                  double angle_tolerance, tag_t* section);
// A container of the faces of bodies (a feature of kind "FACE_CONTAINER");
// type 17 (the faces of the bodies) is the only type offered.
HOST_C_API int HM_MODL_create_smart_face_container(int type, int count, const tag_t* bodies, tag_t* container);
// Offset-curve data: made with the three tolerances (distance, angle,
// distance), filled with the faces of a container and with strings (a
// section, a direction +1 or -1, the distance as text), then turned into an
// offset-curve feature; freed with HM_CURVE_free_ocf_data.
typedef struct HM_CURVE_ocf_data_s* HM_CURVE_ocf_data_p_t;
HOST_C_API int HM_CURVE_init_ocf_data(const double tolerances[3], HM_CURVE_ocf_data_p_t* data);
HOST_C_API int HM_CURVE_add_faces_ocf_data(HM_CURVE_ocf_data_p_t data, tag_t container);
HOST_C_API int HM_CURVE_add_string_to_ocf_data(HM_CURVE_ocf_data_p_t data, tag_t section, int direction,
                                               const char* distance);
HOST_C_API int HM_CURVE_free_ocf_data(HM_CURVE_ocf_data_p_t* data);   // null: nothing; sets *data null
// The feature ("OFFSET_CURVE") of the data's first string: the closed chain
// of the section moved by the distance within the faces, towards the
// default direction for +1 (see below), away for -1. The faces must lie on
// one plane: curved faces answer HM_ERR_GEOMETRY (nothing made).
HOST_C_API int HM_CURVE_create_ocf_feature(HM_CURVE_ocf_data_p_t data, tag_t* feature);
// The offset feature's curves in a new array (free with SM_free).
HOST_C_API int HM_CURVE_ocf_ask_curves(tag_t feature, int* count, tag_t** curves);
// The default offset point and direction of a section in a container: the
// mid point of its first edge and the unit direction in the faces' plane
// across that edge, pointing to the side of the edge where the faces lie
// (HM_ERR_GEOMETRY for curved faces).
HOST_C_API int HM_CURVE_ocf_offset_pt_direction(tag_t section, tag_t container, double point[3], double direction[3]);

/* ---- trimming curves ---- */
// Trims the curve in place at its crossing with the bounding plane nearest to
// the first reference point, cutting off the piece that holds that point
// (the second reference point is not read by the stand-in).
HOST_C_API int HM_CURVE_edit_trim_curve(tag_t curve, tag_t bound, const double ref_point1[3], const double ref_point2[3]);
// Shortens the curve in place by the arc length -change at its start (end 1)
// or its end (end 2); change 0 leaves it as it is. HM_ERR_BAD_ARGUMENT for
// another end, a change that is not finite or positive (the stand-in does not
// lengthen curves); HM_ERR_GEOMETRY when the change takes the whole curve.
HOST_C_API int HM_CURVE_edit_length(tag_t curve, double change, int end);

// A trim between two bounds, each a plane, a datum plane or a point object.
// A plane bound cuts the curve where it crosses it, at the crossing nearest
// to that bound's help point when there are several; a point bound cuts it
// at the curve point nearest to the point.
enum HM_CURVE_trim_extend {
    HM_TRIM_EXTEND_NATURAL = 0,   // a line runs on along its line, an arc or elliptic arc round its conic
    HM_TRIM_EXTEND_NONE = 3       // the bounds must meet the curve as it is
};
enum HM_CURVE_trim_keep {
    HM_TRIM_KEEP_INSIDE = 8,    // the part between the bounds
    HM_TRIM_KEEP_OUTSIDE = 9    // the parts beyond them
};
typedef struct HM_CURVE_trim_s {
    tag_t string_to_trim;          // a curve or an edge
    tag_t first_bound;
    tag_t second_bound;
    double first_help_point[3];
    double second_help_point[3];
    int extend_option;             // HM_CURVE_trim_extend (natural extension of splines: none)
    int trim_option;               // HM_CURVE_trim_keep
    double distance_tolerance;     // 0: the part's
    double angle_tolerance;        // degrees; read for range only
} HM_CURVE_trim_t;
// A trim feature (kind "TRIM") owning the kept curves (HM_MODL_ask_feat_object);
// deleting it deletes them; the string itself is not changed. "Inside" is the
// curve between the two bound parameters in the curve's own direction; the
// outside of a closed curve is one curve through the meeting of its ends,
// that of an open curve the pieces before and after the bounds (a bound at
// an end leaves no piece there). 0, HM_ERR_NULL_POINTER, HM_ERR_NO_PART,
// HM_ERR_INVALID_TAG, HM_ERR_WRONG_TYPE (not a curve, not a bound),
// HM_ERR_BAD_ARGUMENT (an option, a help point or a tolerance) or
// HM_ERR_GEOMETRY (a bound the curve does not meet, both bounds at one
// point); on failure nothing is made and *feature is 0.
HOST_C_API int HM_CURVE_create_trim(const HM_CURVE_trim_t* trim, tag_t* feature);

/* ---- curve enquiries, splines from poles ---- */
// Points along the curve, ends included, no chord farther than the chord
// tolerance from the curve, no turn above the angle tolerance (degrees; 0:
// the chord alone) and no step longer than max_step (0: no bound): *n_points
// points, three doubles each, in an SM_alloc'd array (free with HM_free).
HOST_C_API int HM_MODL_ask_curve_points(tag_t curve, double chord_tolerance, double angle_tolerance,
                                        double max_step, int* n_points, double** points);
// Whether the evaluator's curve is a spline (B-spline) rather than a line, arc or conic.
HOST_C_API int HM_EVAL_is_spline(HM_EVAL_p_t evaluator, bool* is_spline);
// B-spline (type 9) of the order (degree + 1, 2..9) from n poles, four
// doubles each (x w, y w, z w, w: weighted; weight 1 gives a plain spline)
// and the flat knot vector of n + order values. A knot vector the kernel
// cannot take (descending, an end knot more than `order` times or an
// interior one more than order - 1 times, an empty range) answers
// HM_ERR_BAD_ARGUMENT and makes nothing.
HOST_C_API int HM_CURVE_create_spline(int n_poles, int order, const double* knots, const double* poles,
                                      tag_t* spline);
// The B-spline data of a spline (a periodic one unfolded): pole count,
// order, n + order knots and the poles as for HM_CURVE_create_spline, in two
// SM_alloc'd arrays (free with HM_free); HM_ERR_WRONG_TYPE for other curves.
HOST_C_API int HM_CURVE_ask_spline_data(tag_t spline, int* n_poles, int* order, double** knots, double** poles);

/* ---- projected curves ---- */
// A projected-curve feature (kind "PROJECTED_CURVE"): each curve or edge of
// the first list laid onto each plane or datum plane of the second along
// that plane's normal, curve by curve in the lists' order; a piece that
// projects onto a point makes no curve. The feature owns its curves:
// deleting it deletes them. 0, HM_ERR_NULL_POINTER, HM_ERR_NO_PART,
// HM_ERR_BAD_ARGUMENT (an empty list), HM_ERR_INVALID_TAG, HM_ERR_WRONG_TYPE
// (not a curve, not a plane) or HM_ERR_GEOMETRY (no curve at all); on
// failure nothing is made and *feature is 0.
HOST_C_API int HM_MODL_create_proj_curves(hm_list_p_t curves, hm_list_p_t targets, tag_t* feature);
// The projected-curve feature's curves that are still alive, in a new array
// (free with SM_free; null when none). HM_ERR_WRONG_TYPE for other objects.
HOST_C_API int HM_MODL_ask_proj_curves(tag_t feature, int* count, tag_t** curves);

// How HM_CURVE_create_proj_curves carries curves onto its targets.
enum HM_CURVE_proj_method {
    HM_PROJ_ALONG_PLANE_NORMAL = 0,   // along a plane target's normal (other targets: their normals)
    HM_PROJ_ALONG_VECTOR = 1,         // along proj_vec
    HM_PROJ_ALONG_TARGET_NORMALS = 2  // along the targets' normals
};
typedef struct HM_CURVE_proj_curves_data_s {
    int join;              // 1: the pieces of one projection joined into one curve where they chain; 0: kept apart
    int proj_dir_method;   // HM_CURVE_proj_method
    double proj_vec[3];
    double tolerance;      // 0: the part's distance tolerance
} HM_CURVE_proj_curves_data_t;
// The defaults: pieces kept apart, along the plane's normal, vector (0, 0, 1), the part's tolerance.
HOST_C_API int HM_CURVE_init_proj_curves_data(HM_CURVE_proj_curves_data_t* data);
// Projects every curve (or edge) onto every target (plane, datum plane,
// face or sheet or solid body): new curves in a new group (*group). Option 1
// or 2 (the host's associativity; the curves are plain curves either way).
// A point object is carried along the vector only (HM_ERR_WRONG_TYPE with
// another method): a new point object wherever the line through it meets
// the target, either way along the vector, nearest to the point first.
// HM_ERR_GEOMETRY (no group) when nothing lands on the targets.
HOST_C_API int HM_CURVE_create_proj_curves(int curve_count, const tag_t* curves, int target_count,
                                           const tag_t* targets, int option, const HM_CURVE_proj_curves_data_t* data,
                                           tag_t* group);

#ifdef __cplusplus
static_assert(sizeof(HM_CURVE_thru_point_t) == 88, "through-point records are 88 bytes");
#endif


// The work part's curve-fit settings, as curve projection and fitting take them.
typedef struct HM_MODL_curve_fit_data_s {
    double distance_tolerance;   // part units
    double angle_tolerance;      // degrees
    int degree;
    int method;
} HM_MODL_curve_fit_data_t;
HOST_C_API int HM_MODL_ask_curve_fit_data(HM_MODL_curve_fit_data_t* data);

#endif
