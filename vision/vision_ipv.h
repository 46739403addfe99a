// Shared internals of the instrument-panel visibility tool: the vehicle
// coordinate system and debug flag kept for the length of one analysis, the
// tolerance record's indices, the sorts, the trace gate and the points of
// curves that its steps share.
#ifndef CARVELL_VISION_VISION_IPV_H
#define CARVELL_VISION_VISION_IPV_H

#include "host_types.h"
#include "hm_vd_vision/eyellipse.h"

#include <vector>

namespace carvell::vision {

// The tool's statics (one instance for the library): the vehicle coordinate
// system the analysis driver copies in, read by the local-coordinate
// queries of the other steps, and the debug flag. They keep their last
// values between calls; the tool is not reentrant.
extern double ipv_vehicle_origin[3];
extern double ipv_vehicle_matrix[9];
extern unsigned char ipv_debug_flag;

// Indices of the tolerance record (HM_VD_ipv_ask_tolerance).
enum IpvTolerance {
    kIpvDistance = 0,   // modelling distance tolerance
    kIpvAngle = 1,      // modelling angle tolerance (degrees)
    kIpvStep = 3,       // step of the chord points
    kIpvChord = 4,      // chord tolerance: the unit factor
    kIpvToleranceCount = 11
};

// Whether every number of the eyellipse record (centroids, axis directions,
// axis lengths) is finite and inside the model space; false for null. The
// one check of a caller's eyellipse before the tool computes with it.
bool ipv_eyellipse_usable(const vd_eyellipse_t* eyellipse);
// The same with the vehicle system, the two points and the tolerances of the
// cut-off eye-point exports.
bool ipv_eye_point_input_usable(const vd_eyellipse_t* eyellipse, const double origin[3], const double matrix[9],
                                const double a[3], const double b[3], const double tolerances[2]);

// Whether the trace lines of the tool are on: the host's checking level is
// at least 1 and the debug key is set.
bool trace_on(const char* key);
// Prints the line (printf-style) to stdout and the host log when the key's trace is on.
void trace(const char* key, const char* format, ...) __attribute__((format(printf, 2, 3)));

// Points of the eyellipse section of the eye type whose tangents pass
// through the point (the section's semi-axes, point drops and frame
// mappings from the tool's layer). 0 with one or two points; -1 with none,
// also for a bad eye type or a number not finite or beyond the model space.
int ipv_eyellipse_section_tangents(vd_eyellipse_t* eyellipse, int type, const double tolerances[2],
                                   const double point[3], int section, int* count, double points[2][3]);

// The curves of the one loop that the list forms at the tolerance, in loop
// order; empty when it forms none or several.
std::vector<tag_t> ipv_single_loop(hm_list_p_t curves, double tolerance);

// A coordinate of a point by which the moa orders its tangent points.
using IpvCoordinate = double (*)(const double point[3]);
// The moa on the plane (a plane object or a datum plane): the point object
// where the middle centroid projects along centroid - point (handed out as
// soon as made), the tangent points of sections 0 and 1 seen from the point,
// the larger lateral (then vertical) one first, projected from the point
// onto the plane, and the ellipse through them. 0; -1 for a null eyellipse
// or sections without two tangent points.
int ipv_moa_ellipse(vd_eyellipse_t* eyellipse, const double point[3], tag_t plane, IpvCoordinate lateral,
                    IpvCoordinate vertical, tag_t* point_object, tag_t* ellipse);

// Bidirectional bubble sorts, ascending and in place: each pass stops at
// the position of the previous pass's last exchange.
void ipv_sort_integers(int n, int* values);
void ipv_sort_reals(int n, double* values);

// n points of the curve at normalised parameters i / (n - 1) (open) or i / n
// (closed), read backwards (1 - t) when `reverse` is set. -1 (null output)
// for tag 0, n <= 2 or an object that is no curve.
int ipv_disperse_curve_reversed(tag_t curve, bool reverse, int n, double*** points);
// Chord points of the curve with the given chord, angle and step values; -1 for tag 0.
int ipv_ask_chord_points_with(tag_t curve, const double tolerances[3], int* count, double*** points);
// Chord points with the tolerance record's chord (index 4), angle (1) and step (3).
int ipv_ask_chord_points(tag_t curve, int* count, double*** points);
// Each curve of the list split at those of the points that lie on it; a curve
// on which none lies is copied (keeping its layer). A new list.
int ipv_split_curves_by_points(hm_list_p_t curves, int k, double** points, hm_list_p_t* out);
// A closed curve stays; otherwise the curve's poles make a new closed spline
// that replaces it (the old curve deleted).
int ipv_respline(tag_t* curve);

// ---- shared by the steering-wheel steps ----
// Rebuilds the list without every occurrence of the object. 0; -1 for a null list.
int ipv_remove_from_list(hm_list_p_t* list, tag_t object);
// True when the object occurs in the list.
bool ipv_list_contains(hm_list_p_t list, tag_t object);
// True when the point lies nearer than the tolerance to the object.
bool ipv_point_near_object(const double point[3], tag_t object, double tolerance);
// Smallest minimum distance of the list's objects to the object (start
// 10000.0, a strictly nearer one wins) and the two nearest points. 0; -1
// for a null or empty list; the host's code.
int ipv_nearest_distance_of_list(hm_list_p_t list, tag_t object, double* distance, double point1[3],
                                 double point2[3]);
// The curve trimmed between two point objects into one new curve (a copy,
// or the pieces joined); the part kept holds the help point when one is
// given. The trim feature never stays. 0; -1; the host's code.
int ipv_trim_curve_by_two_points(tag_t curve, tag_t point1, tag_t point2, const double* help_point, tag_t* result);

}  // namespace carvell::vision

#endif
