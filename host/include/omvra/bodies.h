// omvra: bodies. Included by omvra.h; not included on its own.
//
// Bodies are objects of type 70 subtype 0 (solid, sheet or wire bodies);
// their faces (70/2) and edges (70/3) get tags on first request, stable for
// the life of the body, always in the same order. Face parameters are
// normalised: (0, 0) to (1, 1) spans the face's parameter box.
#ifndef CARVELL_HOST_OMVRA_BODIES_H
#define CARVELL_HOST_OMVRA_BODIES_H

#include "../host_types.h"

#include <stdbool.h>

/* ---- topology ---- */
// New lists (delete with HM_MODL_delete_list) of the body's faces, the body's
// edges, a face's edges and an edge's faces, in the host's fixed order.
HOST_C_API int HM_MODL_ask_body_faces(tag_t body, hm_list_p_t* faces);
// A new sheet body (with its feature) holding a copy of the face; the mode
// (the host's associativity option) makes no difference here. 0,
// HM_ERR_NULL_POINTER, HM_ERR_NO_PART, HM_ERR_INVALID_TAG (not a face) or
// HM_ERR_GEOMETRY; *sheet is 0 on failure.
HOST_C_API int HM_MODL_extract_face(tag_t face, int mode, tag_t* sheet);
HOST_C_API int HM_MODL_ask_body_edges(tag_t body, hm_list_p_t* edges);
HOST_C_API int HM_MODL_ask_face_edges(tag_t face, hm_list_p_t* edges);
HOST_C_API int HM_MODL_ask_edge_faces(tag_t edge, hm_list_p_t* faces);
HOST_C_API int HM_MODL_ask_face_body(tag_t face, tag_t* body);
// End points of an edge; a closed edge has one vertex (both points the same).
HOST_C_API int HM_MODL_ask_edge_verts(tag_t edge, double point1[3], double point2[3], int* vertex_count);

/* ---- faces ---- */
// Point, first and second derivatives along u and v, unit normal (towards the
// face's outside) and the two principal radii of curvature at normalised
// parameters. A radius r is signed so that point + r * normal is the centre
// of curvature; 0 stands for a flat direction; radii[0] belongs to the more
// curved direction.
// HM_ERR_BAD_ARGUMENT for parameters that are not finite (nothing written).
HOST_C_API int HM_MODL_ask_face_props(tag_t face, const double parm[2], double point[3], double u1[3], double v1[3],
                                      double u2[3], double v2[3], double unit_normal[3], double radii[2]);
// Normalised parameters and point of the face (boundary included) nearest to a point.
HOST_C_API int HM_MODL_ask_face_parm(tag_t face, const double ref_point[3], double parm[2], double face_point[3]);

/* ---- boxes and distances ---- */
// Tight absolute box of an object (a feature stands for its body): minimum
// x, y, z then maximum x, y, z.
HOST_C_API int HM_MODL_ask_bounding_box(tag_t object, double box[6]);
// Box of an object aligned to a coordinate system (0: absolute): its minimum
// corner (absolute), the system's three axes and the extents along them. Tight
// unless expand is set (then widened by the geometry's tolerances).
HOST_C_API int HM_MODL_ask_bounding_box_aligned(tag_t object, tag_t csys, bool expand, double min_corner[3],
                                                double directions[3][3], double distances[3]);
// Minimum distance between two objects and the nearest points on each. An
// object 0 with its guess given stands for the guess point; otherwise a given
// guess picks, among equally near solutions, the one nearest to it.
HOST_C_API int HM_MODL_ask_minimum_dist(tag_t object1, tag_t object2, int guess1_given, const double guess1[3],
                                        int guess2_given, const double guess2[3], double* distance,
                                        double point1[3], double point2[3]);
// The same, each object followed by its guess, also answering the accuracy reached.
HOST_C_API int HM_MODL_ask_minimum_dist_2(tag_t object1, int guess1_given, const double guess1[3], tag_t object2,
                                          int guess2_given, const double guess2[3], double* distance,
                                          double point1[3], double point2[3], double* accuracy);

/* ---- string lists of curves ---- */
// Strings of curves for bounded planes and ruled sheets: string i holds
// curve_counts[i] curves, taken as given (direction 1) or reversed (-1); the
// curves of all strings follow each other in `curves`. A point object may
// stand as a string of its own (the apex of a ruled cone).
typedef struct HM_STRING_LIST_s {
    int string_count;
    int* curve_counts;
    int* directions;
    tag_t* curves;
} HM_STRING_LIST_t, *HM_STRING_LIST_p_t;
HOST_C_API int HM_MODL_init_string_list(HM_STRING_LIST_p_t list);   // no strings, null arrays
// Allocates the arrays for the strings and the total number of curves.
// HM_ERR_BAD_ARGUMENT, the list unchanged, for a negative count or one whose
// arrays the memory manager refuses (above 1 GiB).
HOST_C_API int HM_MODL_create_string_list(int string_count, int curve_total, HM_STRING_LIST_p_t list);
HOST_C_API int HM_MODL_free_string_list(HM_STRING_LIST_p_t list);   // frees the arrays; back to no strings

/* ---- features that make bodies ---- */
// Boolean sign of a new feature; the stand-in makes new bodies only.
enum HM_FEATURE_SIGN { HM_NULLSIGN = 0 };
// Sphere from a diameter text at a centre; answers its feature ("SPHERE").
HOST_C_API int HM_MODL_create_sphere(int sign, const double centre[3], const char* diameter, tag_t* feature);
HOST_C_API int HM_MODL_create_sphere1(int sign, const double centre[3], const char* diameter, tag_t* feature);
// Cylinder from height and diameter texts, base centre and axis direction; answers its feature ("CYLINDER").
HOST_C_API int HM_MODL_create_cyl1(int sign, const double origin[3], const char* height, const char* diameter,
                                   const double direction[3], tag_t* feature);
// Planar sheet body ("BOUNDED_PLANE") bounded by the closed loop of the
// strings' curves, joined within tolerances[0] (distance; tolerances[1] is
// the angle tolerance in degrees; further values are not read).
HOST_C_API int HM_MODL_create_bplane(const HM_STRING_LIST_t* boundary, const double tolerances[], tag_t* body);
// Sheet body ("SPHERE_PATCH") on the sphere about the centre: the region
// inside the closed row of n points (three doubles each), every point brought
// onto the sphere along the ray from the centre. The row runs in pieces
// between the break indices (ascending from 0 to n - 1), each piece a line
// between two points or else a smooth curve through its points, both in the
// sphere's latitude and longitude; a last point away from the first closes
// the row with one more line. `axis` points from the centre towards the
// region, which must lie within a quarter turn of it. HM_ERR_BAD_ARGUMENT for
// fewer than 3 points, breaks out of order, a value that is not finite, a
// radius not above 0 or a point on the centre; HM_ERR_GEOMETRY when the
// points enclose no region.
HOST_C_API int HM_MODL_create_sphere_patch(const double centre[3], double radius, const double axis[3], int n,
                                           const double* points, int break_count, const int* breaks, tag_t* sheet);
// Ruled sheet body ("RULED") between the two section strings (string 1 may
// be a single point: a cone). Alignment 1 joins points of equal parameter,
// 2 of equal arc-length fraction. The spine must hold no strings. The
// parameters marked unused are the host's options that the stand-in does not
// offer; tolerances (distance, angle) of 0 take the part's.
HOST_C_API int HM_MODL_create_ruled1(const HM_STRING_LIST_t* sections, const HM_STRING_LIST_t* spine, int alignment,
                                     double alignment_values[6] /* unused */, int unused1, int unused2, int unused3,
                                     int unused4, const double tolerances[3], tag_t* sheet);
// Scales bodies in place (faces and edges keep their tags) about a coordinate
// system's origin (csys 0: absolute). Type 1 uniform by factors[0]; type 2
// general by factors[0..2] along the system's axes; factors are positive
// numbers as text. Answers one feature ("SCALE") per body, in a new array
// (free with HM_free).
HOST_C_API int HM_MODL_create_scale(int scale_type, int body_count, const tag_t* bodies, tag_t csys,
                                    const char* factors[3], int* feature_count, tag_t** features);
// Sews the tools onto the one target sheet within the tolerance (option 0,
// body type 0). The target becomes the sewn sheet (its faces and edges get
// new tags) and the tools are consumed; sewn pieces not joined to the target
// come back as new bodies in a new list `disjoint` (empty when none). Answers
// the feature ("SEW") of the sewn sheet; on failure nothing changes.
HOST_C_API int HM_MODL_create_sew(int option, int target_count, const tag_t* targets, int tool_count,
                                  const tag_t* tools, double tolerance, int body_type, hm_list_p_t* disjoint,
                                  tag_t* feature);
// Intersection of two bodies' faces, as new bodies in a new array (free with
// HM_free): for two sheets whose faces overlap in area (on one surface), one
// sheet body per connected shared region; otherwise the section, one wire
// body per connected set of section curves. Count 0 when they do not meet.
HOST_C_API int HM_MODL_intersect_bodies(tag_t body1, tag_t body2, int* count, tag_t** bodies);

/* ---- sheets through curves ---- */
// Sheet body ("THRU_CURVES") through the ordered section strings (at least
// two; a string's curves are chained), within tolerances[0] (0: the part's
// distance tolerance): ruled between sections for v_degree 1, else of at
// most that degree (2 or 3) across them. The spine must hold no strings;
// alignment 1, v_periodic, body_type and boolean_op 0; patch type, alignment
// values, face tags and flags are the host's options the stand-in does not
// offer. Answers the feature.
HOST_C_API int HM_MODL_create_thru_curves(const HM_STRING_LIST_t* sections, const HM_STRING_LIST_t* spine,
                                          int patch_type, int alignment, double alignment_values[6], int v_degree,
                                          int v_periodic, int body_type, int boolean_op, const double tolerances[3],
                                          const tag_t face_tags[2], const int face_flags[2], tag_t* feature);
/* ---- trimming, uniting and measuring sheets ---- */
// One bounding object of a sheet trim: a curve or edge lying on (or near) the
// sheet, or a plane or datum plane that cuts it where they meet; the sense
// value is not read by the stand-in.
typedef struct HM_MODL_trim_object_s {
    tag_t object_tag;
    int object_sense;
} HM_MODL_trim_object_t;
// How the bounding curves reach the sheet. Type 0 (a cleared record) or 1:
// along the sheet's normals; 2: along `direction`.
typedef struct HM_MODL_proj_method_s {
    int proj_type;
    double direction[3];
} HM_MODL_proj_method_t;
// Trims the sheet in place by the bounding curves, projected onto it by the
// method, around one region point (point_count 1: the only form offered):
// point key 1 keeps the region that holds the point, point key 0 keeps the
// rest of the sheet, on the other side of the curves. Curves may reach past
// the sheet's edges; `tolerance` closes gaps up to it. When the curves do not
// cut the point's region off the rest (or miss the sheet), nothing changes and the code is
// HM_ERR_TRIM_GAPS with the open ends of the curves as pairs of points
// (2k, 2k+1: the two ends that face each other across gap k) in a new array
// of *gap_count points (three doubles each; free with SM_free; null when none).
// May throw the host's exception when the kernel fails.
HOST_C_API int HM_MODL_trim_sheet(tag_t sheet, int bound_count, const HM_MODL_trim_object_t* bounds,
                                  const HM_MODL_proj_method_t* projection, int point_key, int point_count,
                                  const double* points, double tolerance, int* gap_count, double** gap_points);
// Boolean operations of two bodies; operation 1 unites the tool into the
// target (sheets: faces on the same surface merge, the overlap counts once);
// operation 3 intersects: the target keeps the region in common (the overlap
// of sheets on one surface, or a sheet's part inside a solid), and an empty
// result fails. The target becomes the result (new face and edge tags) and
// the tool is consumed; on failure nothing changes.
enum HM_MODL_boolean_operation { HM_MODL_UNITE = 1, HM_MODL_INTERSECT = 3 };
HOST_C_API int HM_MODL_operations(tag_t target, tag_t tool, int operation);
// Mass properties of bodies. Type 1 measures solids (their volume in
// mass_props[0] and the centre of that volume in mass_props[3..5]; a body
// without a solid is HM_ERR_WRONG_TYPE); type 2 measures sheets (their area, in
// mass_props[0], and the centre of that area in mass_props[3..5]); unit
// system 1 answers in square inches and inches, 3 in square centimetres and
// centimetres, whatever the part's units; density and accuracy are read for
// range only (density > 0). statistics may be null.
enum HM_MODL_mass_units { HM_MASS_UNITS_INCH = 1, HM_MASS_UNITS_CM = 3 };
HOST_C_API int HM_MODL_ask_mass_props_3d(int count, const tag_t* bodies, int type, int unit_system, double density,
                                         int accuracy_option, const double accuracy[], double mass_props[47],
                                         double statistics[13]);

/* ---- facetted models of solids (yarrowin.h) ---- */
// Facetting settings: largest distance of a facet from the surface
// (metres), largest angle between neighbouring facet normals (radians).
// The largest facet size (part units) bounds the edges of the facets the
// facet walk gives (HM_FACET_cycle_facets); 0 sets no bound.
typedef struct HM_FACET_parameters_s {
    double chord_tolerance;
    double angle_tolerance;
    double max_facet_size;
} HM_FACET_parameters_t;
// The facetted models made from a solid body, oldest first, in a new
// SM_alloc'd array (null for none): 0, HM_ERR_NULL_POINTER or
// HM_ERR_INVALID_TAG (no body).
HOST_C_API int HM_FACET_ask_models_of_solid(tag_t body, int* count, tag_t** models);
// The host's default facetting settings.
HOST_C_API int HM_FACET_ask_default_parameters(HM_FACET_parameters_t* parameters);
// A new facetted model (139/0) of the body in the body's part: 0,
// HM_ERR_NULL_POINTER, HM_ERR_INVALID_TAG, HM_ERR_BAD_ARGUMENT (tolerances not
// positive, a negative size bound) or HM_ERR_GEOMETRY (the kernel made no facets).
HOST_C_API int HM_FACET_facet_solid(tag_t body, const HM_FACET_parameters_t* parameters, tag_t* model);
// The solid body a model was made from (0 for a model of no solid): 0,
// HM_ERR_NULL_POINTER or HM_ERR_INVALID_TAG.
HOST_C_API int HM_FACET_ask_solid_of_model(tag_t model, tag_t* solid);
// Walks the facets of a model of a solid: start with *facet_id -1; each call
// answers the next facet's id, and -1 after the last. 0,
// HM_ERR_NULL_POINTER or HM_ERR_INVALID_TAG (no facetted model).
HOST_C_API int HM_FACET_cycle_facets(tag_t model, int* facet_id);
// The corners of a facet (part units; *count 3, turning about the outward
// normal) and the unit normals of the solid's surface at them (outward).
// 0, HM_ERR_NULL_POINTER, HM_ERR_INVALID_TAG or HM_ERR_BAD_ARGUMENT (no such facet).
HOST_C_API int HM_FACET_ask_vertices_of_facet(tag_t model, int facet_id, int* count, double vertices[][3]);
HOST_C_API int HM_FACET_ask_normals_of_facet(tag_t model, int facet_id, int* count, double normals[][3]);
// Name of a feature as the user sees it, an SM_alloc'd text (free with
// SM_free): its own name when it was given one, else its kind and number
// ("BLOCK(12)"). 0, HM_ERR_NULL_POINTER or HM_ERR_INVALID_TAG.
HOST_C_API int HM_MODL_ask_feat_name(tag_t feature, char** name);
/* ---- offset strings of curves ---- */
// Offset of a closed planar string: the string's curves (all strings of the
// list, in order) joined within tolerances[0] (0: the part's), moved in their
// plane by the distance given as text ("%f"): positive outward, negative
// inward. New curves in an SM_alloc'd array (free with SM_free). A string
// the kernel cannot offset exactly (free-form copies stretched unevenly) is
// offset as a fine polygon along it, handed out as one joined curve.
typedef struct HM_CURVE_offset_data_s {
    const HM_STRING_LIST_t* string;
    double tolerances[2];   // distance, approximation
    char distance[134];
} HM_CURVE_offset_data_t;
HOST_C_API int HM_CURVE_create_offset_curve(const HM_CURVE_offset_data_t* data, int* n_curves, tag_t** curves);

/* ---- tubes ---- */
// Solid tube ("TUBE") swept along a curve or edge: a circle of the outer
// diameter (text, > 0) normal to the path at its start, hollow when the inner
// diameter (text, >= 0) is above 0; its ends are planar caps. Answers the feature.
HOST_C_API int HM_MODL_create_tube(tag_t path, const char* outer_diameter, const char* inner_diameter,
                                   tag_t* feature);

// The kind of the face's underlying surface (host_face_kind): 18 a sphere,
// 22 a plane, 24 revolved, 25 extruded, ...; a B-spline or Bezier surface
// is 23 even when it happens to be flat. A body of exactly one face answers that face's type.
HOST_C_API int HM_MODL_ask_face_type(tag_t face, int* type);

/* ---- Booleans as new bodies ---- */
// The target minus the tool as new sheet or solid bodies, one per connected
// piece, in a new array (free with SM_free; null when none); target and tool
// stay as they are. Count 0 when nothing is left.
HOST_C_API int HM_MODL_subtract_bodies(tag_t target, tag_t tool, int* count, tag_t** bodies);

/* ---- extrusions ---- */
// Sweeps faces into one solid (a slab), or curves into a sheet, along the
// direction from limits[0] to limits[1] (numbers as text, the first below
// the second), taper "0.0" and sign HM_NULLSIGN (a new body) only; the point
// is not read. Answers a new list of the one feature ("EXTRUDED"), which
// holds three expressions (type HM_expression_type: taper, start, end).
HOST_C_API int HM_MODL_create_extruded(hm_list_p_t objects, const char* taper_angle, const char* limits[2],
                                       const double point[3], const double direction[3], int sign,
                                       hm_list_p_t* features);
// The expressions of a feature in an SM_alloc'd array (null when none).
HOST_C_API int HM_MODL_ask_exps_of_feature(tag_t feature, tag_t** expressions, int* count);
// A free expression of the work part (type HM_expression_type, no feature)
// holding the text as given (its name reads the text back): 0,
// HM_ERR_NULL_POINTER, HM_ERR_NO_PART, HM_ERR_BAD_ARGUMENT (empty text).
HOST_C_API int HM_MODL_create_exp_tag(const char* text, tag_t* expression);

/* ---- queries of faces and bodies ---- */
// The point of a face, edge, body or curve farthest along dir1, ties (within
// the part's tolerance / 100) broken by dir2, then dir3; exact on trimmed
// faces (their edges and corners count). *subentity is the face or edge of
// the body that holds the point (the object itself for a curve).
HOST_C_API int HM_MODL_ask_extreme(tag_t object, const double dir1[3], const double dir2[3], const double dir3[3],
                                   tag_t* subentity, double point[3]);
// How many dimensions an object spans: 0 a point; 2 faces that all lie on one
// plane within the part's tolerance (data: a point of it, its unit normal);
// 3 anything else with faces, and curves. The accuracy must be positive.
HOST_C_API int HM_MODL_ask_obj_dimensionality(tag_t object, double accuracy, int* dimensionality, double data[6]);
// Kind of a face (host_face_kind), a point (the plane's origin, the sphere's
// or cylinder's centre, else the face's middle), the unit normal at the
// middle of its parameter box (towards the face's outside), its box, its
// radius (sphere, cylinder; else 0), a second radius (0) and the sense of
// the normal against the surface's (1 or -1).
HOST_C_API int HM_MODL_ask_face_data(tag_t face, int* type, double point[3], double direction[3], double box[6],
                                     double* radius, double* radius_data, int* normal_direction);
// The face's parameter box in its surface's own parameters (not the
// normalised ones of the other face queries): u min, u max, v min, v max.
HOST_C_API int HM_MODL_ask_face_uv_minmax(tag_t face, double uv[4]);
// Reverses the normals of a sheet in place (its faces get new tags); answers
// the feature ("REVERSE_NORMAL"). A solid is refused (HM_ERR_WRONG_TYPE).
HOST_C_API int HM_MODL_create_reverse_normal(tag_t sheet, tag_t* feature);

/* ---- interference of bodies ---- */
// Per-tool answers of HM_MODL_check_interference.
enum HM_MODL_interference { HM_INTERFERENCE_YES = 1, HM_INTERFERENCE_NO = 2 };
// Whether each tool body meets the target body: results[i] 1 when they
// overlap, touch or lie within the part's distance tolerance of each other
// (a body inside the other's solid included), 2 when they are apart.
// 0, HM_ERR_NULL_POINTER, HM_ERR_BAD_ARGUMENT (no tool), HM_ERR_INVALID_TAG
// or HM_ERR_WRONG_TYPE (a target or tool that is no body).
HOST_C_API int HM_MODL_check_interference(tag_t target, int tool_count, const tag_t* tools, int* results);

#endif
