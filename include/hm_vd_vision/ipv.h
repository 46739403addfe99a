// Instrument-panel visibility (C++ linkage): point arrays, curve sampling,
// splines from poles, curve splitting, the re-parametrised point chains of
// outline curves, the profile walk round a point cloud, and the eye points,
// tangent planes and panel planes asked of the eyellipse.
//
// Point arrays (double**) are n pointers to double[3], each block and the
// array SM_alloc'd: made by HM_VD_ipv_alloc_points and released with
// HM_VD_ipv_free_points and the count they were handed out with. Curve
// parameters are normalised. The tool keeps the vehicle coordinate system of
// the last analysis for its local-coordinate decisions (not reentrant).
//
// Hostile input: a point, vector, matrix, eyellipse number or length that an
// export reads and that is not finite or lies beyond the host's model space
// (1e12 part units) is refused with the export's failure answer before
// anything is made (-1 unless its contract says otherwise); no export hands
// out such a number with success.
#ifndef CARVELL_HM_VD_VISION_IPV_H
#define CARVELL_HM_VD_VISION_IPV_H

#include "carvell_export.h"
#include "host_types.h"
#include "hm_vd_vision/eyellipse.h"

// The most points one point array holds, whether the tool makes it or is
// handed it: a request or a row beyond it is refused at once (-1, nothing
// made). Coordinates are refused when they are not finite or lie beyond the
// host's model space (1e12 part units).
#define HM_VD_IPV_MAX_POINTS 1000000

// n points of three zeroed doubles; n below 1 allocates nothing (*points
// null). 0; -1 for a null output, n above HM_VD_IPV_MAX_POINTS or when
// memory runs out (nothing left).
CARVELL_CPP_EXPORT int HM_VD_ipv_alloc_points(int n, double*** points);
// Frees the n points and the array and nulls the pointer; a null array: nothing.
CARVELL_CPP_EXPORT void HM_VD_ipv_free_points(int n, double*** points);
// The tolerance record: 0 distance and 1 angle tolerance of the part, 2-3
// 1.0, 4 the chord tolerance (1.0 in a part, 0.0254 without a work part),
// 5-6 0.0001, 7 0.0, 8-9 1.0, 10 0.01.
CARVELL_CPP_EXPORT void HM_VD_ipv_ask_tolerance(double tolerance[11]);

// n points at parameters i / (n - 1) of an open curve (both ends) or i / n of
// a closed one (the start not repeated). 0; -1 (null output) for tag 0, n <= 2,
// n above HM_VD_IPV_MAX_POINTS or an object that is no curve; a host
// failure's code.
CARVELL_CPP_EXPORT int HM_VD_ipv_disperse_curve(tag_t curve, int n, double*** points);
// Method 0: 100 dispersed points; other: chord points (tolerance record's
// chord, angle and step). Order -1 reverses them. 0; -1 for tag 0.
CARVELL_CPP_EXPORT int HM_VD_ipv_ask_curve_points(tag_t curve, int method, int order, int* count, double*** points);
// Lines, arcs and conics are planar; a spline when its 100 dispersed points
// lie within the distance tolerance of their least-squares plane. 0; -1
// (false) for tag 0; a host failure's code (false).
CARVELL_CPP_EXPORT int HM_VD_ipv_is_planar_curve(tag_t curve, bool* planar);
// New curves between the curve's parameters at the k points (a parameter
// within 0.001 of an end snaps to it), in a new list. 0; -1 for tag 0, a
// negative k, k above HM_VD_IPV_MAX_POINTS, a null entry or a coordinate not
// finite or beyond the model space; the code of a point whose parameter
// cannot be found (nothing made).
CARVELL_CPP_EXPORT int HM_VD_ipv_split_curve(tag_t curve, int k, double** points, hm_list_p_t* pieces);
// Cubic B-spline with the n points as poles on clamped uniform knots; closed
// (closed = 1) repeats the first point three more times. 0; -1 for fewer
// than 4 points (2 closed), more than HM_VD_IPV_MAX_POINTS, a null point or
// a coordinate not finite or beyond the model space; the host's code.
CARVELL_CPP_EXPORT int HM_VD_ipv_create_spline(int n, double** points, int closed, tag_t* spline);

// The one loop of curves dispersed into a ring (method 0: 100 points per
// curve, other: chord points; each curve's last point dropped), turned to
// run forward about the direction and to start at the point nearest the
// lateral maximum (vehicle system). Split 0: one chain; 1: two halves
// meeting at the point nearest the lateral minimum (*split_index 1); 2:
// chains between the curves' start points and that point (*split_index the
// position of that point's chain). The caller frees each chain with
// HM_VD_ipv_free_points and its count, then both arrays with SM_free. 0; -1
// (null outputs) for an empty list, curves that form no or several loops,
// or a zero direction.
CARVELL_CPP_EXPORT int HM_VD_ipv_disperse_curve_chain(hm_list_p_t curves, const double dir[3], int method, int split,
                                                      int* split_index, int* chain_count, int** counts,
                                                      double**** chains);
// Splines through the dispersed chain: mode 0 one periodic spline (one
// list); 1 an open spline per half (two lists); 2 open splines up to the
// split chain and after it (two lists); other modes an open spline per chain
// (one list). lists[1] is null for one list. 0; -1 for a null list; the
// dispersal's or a spline's failure (nothing left behind).
CARVELL_CPP_EXPORT int ipv_reparam_curves(hm_list_p_t curves, const double dir[3], int mode, int* count,
                                          hm_list_p_t lists[2]);
// Walks the outer (mode 0, from the point farthest from the origin) or
// inner (mode 1, from the nearest) boundary of the points about the plane
// normal, stepping to points between search[0] and search[1] away and
// closing on the start (also early, within search[1] and a turn below
// search[2] radians). The chosen points and their indices, start first (and
// last). 0; -1 when the walk cannot step on or close, or the start is the
// origin; -1 also for a null entry among the points, more than
// HM_VD_IPV_MAX_POINTS points, or a number not finite or beyond the model
// space. The caller frees the indices (SM_free) and the points.
CARVELL_CPP_EXPORT int HM_VD_ipv_ask_profile_points(int n, double** points, const double origin[3],
                                                    const double normal[3], const double search[3], int mode,
                                                    int* count, int** indices, double*** out);

// ---- eyellipse tangency and eye points ----
// The eyellipse's semi-axes are half its stored axis lengths; eye types -1,
// 0, 1 pick its left, middle and right centroid. Messages go to the system
// log (HM_print_syslog) with the texts the tool has always written.

// The section tangent points: in a header of their own, which a release
// that holds them in another form replaces.
#include "hm_vd_vision/ipv_section_tangents.h"
// The ellipsoid's point whose outward normal is the direction (unitised in
// place). 0; -1 for a bad eye type, an axis length 0 or a zero direction.
CARVELL_CPP_EXPORT int HM_VD_ipv_ask_eyellipse_tangent_point1(vd_eyellipse_t* eyellipse, int type,
                                                              double direction[3], double point[3]);
// The polar plane of an outside point (the plane of all points of tangency
// seen from it): a point of it and its unit normal. 0; -1 for a bad type, an
// axis length 0 or a point inside the ellipsoid.
CARVELL_CPP_EXPORT int HM_VD_ipv_ask_eyellipse_tangent_point2(vd_eyellipse_t* eyellipse, int type,
                                                              const double point[3], double plane_point[3],
                                                              double normal[3]);
// A plane tangent to the eyellipse at T and with the section curve's
// principal normal N at a curve point P, found by scanning the curve (steps
// 0.1, refined three times): plane, T and N out, the line T-P left in the
// part. 0; -1 for curve 0 or no parameter within the tolerance (plane 0);
// a failing host result.
CARVELL_CPP_EXPORT int HM_VD_ipv_create_common_tangent_plane(vd_eyellipse_t* eyellipse, int type, tag_t curve,
                                                             double tolerance, double tangent_point[3],
                                                             double normal[3], tag_t* plane);
// Cut-off eye points of the hub check: from the objects' point nearest the
// plane through A normal to A - B, the lower (vehicle z) u-w section tangent
// point of the left (eye 1) and right (eye 2) ellipsoid. 0 or -1 (also for
// a number of the eyellipse, the system, the points or the tolerances not
// finite or beyond the model space).
CARVELL_CPP_EXPORT int HM_VD_ipv_ask_eyepoint_of_hub_analysis(const double origin[3], const double matrix[9],
                                                              const double a[3], const double b[3],
                                                              hm_list_p_t objects, vd_eyellipse_t* eyellipse,
                                                              const double tolerances[2], double eye1[3],
                                                              double eye2[3]);
// Eye points of the see-through check: u-w section tangent points of the left
// (eye 1) and right (eye 2) ellipsoid from the objects' points nearest the
// planes through B and B + 2.5 (A - B), normal to A - B; each pair the larger
// vehicle y first. 0, -1 (also for numbers refused as for the hub check),
// or a host result; the planes never stay.
CARVELL_CPP_EXPORT int HM_VD_ipv_ask_eyepoint_of_see_thru_analysis(const double origin[3], const double matrix[9],
                                                                   const double a[3], const double b[3],
                                                                   hm_list_p_t objects, vd_eyellipse_t* eyellipse,
                                                                   const double tolerances[2], double eye1[4][3],
                                                                   double eye2[4][3]);
// The four planes of the visual indicator through support points of the
// eyellipse, turned by angles 0, 1 and 3 (degrees; angle 2 is not used).
// 0 or the failing result (planes 0, none left in the part); -1 for a null
// argument or a used angle not finite or beyond the model space.
CARVELL_CPP_EXPORT int HM_VD_ipv_ask_visual_indicator_boundary_plane(vd_eyellipse_t* eyellipse,
                                                                     const double angles[4], tag_t planes[4]);
// The visual indicator's boundary: where each plane cuts the target, trimmed
// between the two planes across it (planes 2 and 3 for planes 0 and 1, planes
// 0 and 1 for planes 2 and 3) at the crossings nearest the help point,
// keeping the part between them; a plane target's cuts run on to their
// bounds, a face's or body's do not. The third argument is not read. The
// curves in a new list (the caller's). 0; -1 for target 0 or a null
// argument; the first failing intersection's or trim's code (list null,
// nothing left in the part).
CARVELL_CPP_EXPORT int HM_VD_ipv_create_visual_indicator_boundary(const tag_t planes[4], tag_t target,
                                                                  double unused, const double help_point[3],
                                                                  hm_list_p_t* boundary);

// ---- planes through curves and faces ----
// Centroid of the chord points of the curves (their least-squares plane's
// origin), a point where curve ends meet (a joint of the chain, a closed
// curve's end) counted once. 0; -1 for a null list or no points; a host result.
CARVELL_CPP_EXPORT int HM_VD_ipv_ask_centroid_of_curve_chain(hm_list_p_t curves, double centroid[3]);
// Least-squares plane of ten points (parameters 0.0 .. 0.9) of each curve, as
// a plane object. 0; -1 (plane 0) for no points; the fit's result.
CARVELL_CPP_EXPORT int HM_VD_ipv_create_leastsq_plane(hm_list_p_t curves, tag_t* plane);
// The least-squares plane of the curves moved the distance away from the
// eye. 0 or -1 (also for an eye or distance not finite or beyond the model
// space).
CARVELL_CPP_EXPORT int HM_VD_ipv_create_plane_behind_curve_chain(hm_list_p_t curves, const double eye[3],
                                                                 double distance, tag_t* plane);
// Mode 0: a copy of the first object (a plane) or a plane of its datum's
// origin and normal. Other modes: the least-squares plane of ten points on
// every edge of the faces (left in the part as points of colour 5), moved
// to the faces' box corner farthest from the eye. 0; -1 (also for an eye
// not finite or beyond the model space, nothing made); a host result.
CARVELL_CPP_EXPORT int HM_VD_ipv_create_panel_plane(int mode, hm_list_p_t objects, const double eye[3],
                                                    tag_t* plane);
// True when 100 points of the curve (parameters 0.00 .. 0.99; the end is not
// tested) lie within the distance tolerance of the face. 0; a host result (false).
CARVELL_CPP_EXPORT int HM_VD_ipv_is_curve_on_face(tag_t curve, tag_t face, bool* on_face);

// ---- the moa, mustache and hotdog outlines on a plane ----
// A plane is a plane object (type 46) or a datum plane. Outline lists and
// their curves are the caller's.

// The moa: the ellipse on the plane that the eyellipse's middle ellipsoid
// casts through the target, and a point object at the sight point (the eye
// projected along eye - target onto the plane; handed out as soon as made).
// 0; -1 for a null eyellipse or sections without two tangent points.
CARVELL_CPP_EXPORT int HM_VD_ipv_create_moa_on_plane(vd_eyellipse_t* eyellipse, const double target[3], tag_t plane,
                                                     tag_t* point, tag_t* moa);
// The mustache: copies of the curves when all lie in the plane; otherwise the
// longest closed loop of the region common to their projections from both
// eyes. 0; -1 for a null list or plane 0; a failing step's result ("fail to
// eye projection", "fail to create bplane"). The sheets made on the way never
// stay. May raise the host's error (670946 no intersection, 3770903 no loop).
CARVELL_CPP_EXPORT int HM_VD_ipv_create_mustache_curve_on_plane(const double eye1[3], const double eye2[3],
                                                                hm_list_p_t curves, tag_t plane,
                                                                hm_list_p_t* mustache);
// The hotdog: the mustache swept by the moa (an ellipse): carried from the
// sight point to the moa's centre (when at least the threshold away) and
// stretched so that the moa is a circle, offset outward by its radius, then
// carried back. A moa with both semi-axes below the distance tolerance gives
// a list of the mustache's own curves; with one of them, the mustache offset
// by the other. 0; -1 for missing input, a moa that is no ellipse or a
// failed transformation ("fail to scale curves"); the work coordinate system
// is restored.
CARVELL_CPP_EXPORT int HM_VD_ipv_create_hotdog_curve_on_plane(tag_t moa, hm_list_p_t mustache, tag_t point,
                                                              const double* threshold, hm_list_p_t* hotdog);

// ---- the analysis ----
// Result of HM_VD_ipv_sw_ss_analysis: SM_alloc'd by the analysis, freed by
// the caller with SM_free; the caller owns the lists and objects it names
// (null: nothing of that kind).
typedef struct moa_hotdog_output_s {
    tag_t ip_point;                  // sight point on the instrument-panel plane
    hm_list_p_t ip_moa;
    hm_list_p_t ip_mustache;
    hm_list_p_t ip_hotdog;
    tag_t sw_point;                  // sight point on the steering-wheel plane
    hm_list_p_t sw_moa;
    hm_list_p_t sw_mustache;
    hm_list_p_t sw_hotdog;
    hm_list_p_t reserved_list;       // always null
    hm_list_p_t objects_1_curves;    // curves where the first objects meet the vision faces
    hm_list_p_t objects_2_curves;
    hm_list_p_t objects_1_points;    // where the sight line meets the first objects
    hm_list_p_t objects_2_points;
} moa_hotdog_output_t;

// Zeroes every field.
CARVELL_CPP_EXPORT void ipv_initialize_moa_hogdog_output_data(moa_hotdog_output_t* output);
// The three outlines on one plane; the sight point's coordinates. 0; -1 for
// a null eyellipse or list or plane 0 (lists null); 1001 no moa, 1002 no
// mustache (a raised host error included), 1003 no hotdog, with the lists
// made so far.
CARVELL_CPP_EXPORT int HM_VD_ipv_create_hotdog_process(vd_eyellipse_t* eyellipse, hm_list_p_t outline_curves,
                                                       const double target[3], tag_t plane, double sight_point[3],
                                                       hm_list_p_t* moa, hm_list_p_t* mustache,
                                                       hm_list_p_t* hotdog);
// Ruled faces between the re-parametrised strings of the two planes (mode as
// ipv_reparam_curves); both lists are replaced by their splines (the old
// curves deleted unless the debug key is on). 0 or the failing result; -1
// for a null argument, or one list given twice or a curve in both lists
// (nothing made, nothing deleted).
CARVELL_CPP_EXPORT int ipv_create_vision_faces(hm_list_p_t* ip_curves, hm_list_p_t* sw_curves,
                                               const double orient_dir[3], int mode, hm_list_p_t* faces);
// The analysis on the panel and wheel planes in the vehicle system (origin,
// matrix), looking from the eyellipse's middle centroid through the target.
// The record is handed out on success and failure alike. 0; -1 (a missing
// plane or input; the other plane's half kept), 1001-1003 (an outline),
// 1004-1006 (the vision faces of the moa, mustache, hotdog). The vision faces
// never stay.
CARVELL_CPP_EXPORT int HM_VD_ipv_sw_ss_analysis(const double origin[3], const double matrix[9],
                                                vd_eyellipse_t* eyellipse, hm_list_p_t outline_curves,
                                                const double target_point[3], const double orient_dir[3],
                                                tag_t ip_plane, tag_t sw_plane, hm_list_p_t objects_1,
                                                hm_list_p_t objects_2, int closed_flag,
                                                moa_hotdog_output_t** output);

// ---- the steering wheel and see-through solids ----
// Solids are bodies (70/0); their outline curves are made on a plane seen
// from a view point. Contour parameters: facet size limit, the |cos| below
// which a facet counts as seen edge-on, and the scale of the profile search
// radii ({3.0, 0.2, 3.0} in the extraction exports). Lists handed out and
// their curves are the caller's.

// What the wheel extraction hands to the upper outline.
typedef struct ipv_steering_wheel_s {
    void* sw_reserved;                // neither written nor read by the library
    double rim_top_point[3];          // centroid of the highest rim section loop
    double wheel_centre[3];           // centre of mass of the wheel solids
    hm_list_p_t outer_contour;        // outer silhouette contour of the wheel
    hm_list_p_t inner_contour;        // inner silhouette contour of the wheel
    hm_list_p_t rim_upper_section;    // copies of the highest rim section loop's curves
} ipv_steering_wheel_t;

// The solids in groups that touch (interfere or meet): a solid touching two
// groups joins them into one. Groups in the order of their first solids,
// each a new list in list order, in an SM_alloc'd array the caller frees
// (lists with HM_MODL_delete_list, then the array with SM_free). 0 (count 0,
// null groups for an empty list); -1 for a null output.
CARVELL_CPP_EXPORT int HM_VD_ipv_cagetory_ss_solids(hm_list_p_t solids, int* group_count, hm_list_p_t** groups);
// The outer contour of see-through solids seen from the view point on their
// representative plane turned towards it; their centre of mass. The plane
// and the contour (null after a failure) are handed out in every case.
// 0 or the failing step's result.
CARVELL_CPP_EXPORT int HM_VD_ipv_extract_ss_curve(const double view_point[3], hm_list_p_t solids, double centroid[3],
                                                  tag_t* plane, hm_list_p_t* contour);
// The wheel's outlines seen from the view point on its representative
// plane: the upper wheel outline (the rim's upper band between the outer and
// inner contours, closed by two lines below the wheel centre), the hub
// loops and the see-through loops of the wheel's opening; the wheel centre
// and the rim's top point. The plane and whatever lists exist are handed
// out in every case; the contours and rim section made on the way never
// stay. 0 or the failing step's result.
CARVELL_CPP_EXPORT int HM_VD_ipv_extract_sw_curve(const double origin[3], const double matrix[9],
                                                  const double view_point[3], hm_list_p_t wheel, hm_list_p_t hub,
                                                  double wheel_centre[3], double rim_top_point[3], tag_t* plane,
                                                  hm_list_p_t* upper_outline, hm_list_p_t* hubs,
                                                  hm_list_p_t* see_throughs);
// Silhouette contours of the solids seen from the view point, projected
// onto the plane: mode 0 the outer, 1 the inner, 2 both (curves in new
// lists; null when not asked or not found). 0; -1 for missing input, a
// mode outside 0-2, a number not finite or beyond the model space, or a
// facet size below 1/500 of a solid's largest box extent; the plane's,
// facetting's or profile walk's result.
CARVELL_CPP_EXPORT int HM_VD_ipv_create_contour(hm_list_p_t solids, const double view_point[3],
                                                const double parameters[3], int mode, tag_t plane,
                                                hm_list_p_t* outer_contour, hm_list_p_t* inner_contour);
// Centre of mass of solid bodies of one kernel type, in part units. 0; -1
// for an empty list, an object that is no body, mixed kinds or no work
// part; the host's code (its message in the system log).
CARVELL_CPP_EXPORT int HM_VD_ipv_ask_body_centroid(hm_list_p_t solids, double centroid[3]);
// The least-squares plane of the solids' facet centroids, its normal turned
// towards the point when the flag is set. 0 (plane 0 when there are no
// three points); -1 for a null output; the facetting's or plane's code.
CARVELL_CPP_EXPORT int HM_VD_ipv_ask_body_represent_plane(bool towards_point, const double point[3],
                                                          hm_list_p_t solids, tag_t* plane);
// The centroid of every facet of a facetted model (a point array) and its
// longest and shortest facet edge (10000.0 without facets). 0; -1 for a
// null output; the host's code.
CARVELL_CPP_EXPORT int HM_VD_ipv_ask_facet_model_points(tag_t model, int* count, double*** points, double* longest,
                                                        double* shortest);
// The highest loop (vehicle z of its centroid, in the origin and matrix
// system) of the wheel solids' section by the plane through the wheel
// centre normal to the vehicle's lateral axis: copies of its curves and its
// centroid as the rim top point. Tolerances: loop, section. 0; -1 for
// missing input or no closed loop.
CARVELL_CPP_EXPORT int HM_VD_ipv_ask_rim_upper_section_curves(const double origin[3], const double matrix[9],
                                                              hm_list_p_t wheel, const double wheel_centre[3],
                                                              const double view_point[3],
                                                              const double tolerances[2], double rim_top_point[3],
                                                              hm_list_p_t* section);
// The upper wheel outline: the outer and inner contours each cut at a plane
// a little below the wheel centre, their upper parts (the rim section's
// side) closed by two lines into one loop. 0; -1 for a null record or list;
// the host's result when a contour does not cross the cutting plane twice
// (outline null).
CARVELL_CPP_EXPORT int HM_VD_ipv_create_upper_steering_wheel(const double origin[3], const double matrix[9],
                                                             ipv_steering_wheel_t* wheel, hm_list_p_t* outline);
// The wheel's opening split at the hub: the inner rim and hub outlines cut
// where they cross; of the closed loops of their remaining pieces, the one
// nearest the plane through P normal to P - C is the hub (its hub pieces),
// the others are see-throughs. Tolerances: distance, crossing. 0; -1 when an
// outline is not one closed loop or they do not cross.
CARVELL_CPP_EXPORT int HM_VD_ipv_ask_hubs_and_seethrus(hm_list_p_t inner_rim, hm_list_p_t hub_outer,
                                                       const double p[3], const double c[3],
                                                       const double* tolerances, hm_list_p_t* hubs,
                                                       hm_list_p_t* see_throughs);
// The points where two objects cross (curves where they overlap are not
// kept), as a point array. 0 (count 0 when they do not meet); -1 for a tag
// 0 or a null output; the host's code.
CARVELL_CPP_EXPORT int HM_VD_ipv_ask_all_intersect_points(tag_t object1, tag_t object2, double tolerance,
                                                          int* count, double*** points);
// New curves along every edge of the bodies, in a new list. 0; -1 for a
// null output; the host's code (nothing made).
CARVELL_CPP_EXPORT int HM_VD_ipv_ask_edge_curves_of_bodies(hm_list_p_t bodies, hm_list_p_t* curves);

#endif
