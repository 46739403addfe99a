// What the windshield steps share: the vehicle frame, result groups that
// grow by sampled curves, the sheet trims and measures, and trace lines under
// the debug key "VD_WS".
#ifndef CARVELL_WINDSHIELD_WS_INTERNAL_H
#define CARVELL_WINDSHIELD_WS_INTERNAL_H

#include "hm_vd_ws.h"

#include <vector>

namespace carvell::windshield {

// Source name stamped on converted host exceptions.
constexpr const char* kSource = "hm_vd_ws";
// Points of an offset curve when the curve evaluator gives no pole count.
constexpr int kDefaultCurvePoints = 30;
// Below this an offset distance counts as none (part units).
constexpr double kNoOffset = 1e-10;

// Origin and orientation (rows are the axes) of the vehicle frame.
struct Frame {
    double origin[3];
    double matrix[9];
    const double* x_axis() const { return matrix; }
    const double* y_axis() const { return matrix + 3; }
    const double* z_axis() const { return matrix + 6; }
};
Frame frame_of(const MTX4_t* mtx);
// The direction along which the eye point is projected onto the glass: the
// frame's negated x axis.
void ws_ask_default_projection_vector(const Frame& frame, double direction[3]);

// Whether trace lines are written (checking level 1 and key "VD_WS"), and a
// trace line to standard output and the system log.
bool ws_tracing();
void ws_trace(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Result groups. Appends one curve of n points (n >= 2; SM_alloc'd). Frees
// every point and array of a group and sets it back to empty.
void group_append(int& count, int*& point_counts, double***& points, const std::vector<std::vector<double>>& curve);
void group_free(int& count, int*& point_counts, double***& points);
void group_free(ws_point_group_t& group);

// Appends each curve sampled at n points (parameters i / (n - 1)). 0, -1
// for n below 2 (nothing appended), or the first failing host code (the
// curves sampled before it stay appended).
int ws_sample_curve_list(const std::vector<tag_t>& curves, int n, int& count, int*& point_counts,
                         double***& points);
// n points of the curve between the parameters of the two points, low to
// high. 0; -1 for n below 2; or the host's code.
int ws_curve_points_between(tag_t curve, const double p1[3], const double p2[3], int n,
                            std::vector<std::vector<double>>& points);

// Trims the sheet in place by the curves, keeping the region around the
// point (use_point) or around the chain mid point of the curves. The trim's code.
int trim_to_single_wiped_area(tag_t sheet, int curve_count, const tag_t* curves, bool use_point,
                              const double point[3]);
// The point at 0.5 of the first curve, then each later curve's point at 0.5
// averaged in: later curves weigh more. 0 or the host's code (-1 for none).
int ws_ask_chain_mid_point(const std::vector<tag_t>& curves, double point[3]);
// The mid point and the lower end of the sheet's section with the vehicle
// centre plane. 0, or -1 when no section is found.
int ws_ask_center_section_points(tag_t sheet, const Frame& frame, double mid_point[3], double low_point[3]);
// Area of the sheets (0.0 for none or when the host cannot measure).
double ws_ask_sheet_area(int count, const tag_t* sheets);
// The area the two sheets have in common; a becomes their union. 0 with the
// area, 0 with area 0 when they are apart (no union), or the failing host code.
int ws_ask_overlap_area(tag_t a, tag_t b, double& overlap);

// The offset curves of the clear-vision boundary (curves in the part) and
// their point lists in the group: 0, 2 not one dark-band loop, 3 not
// projected, 4 the region cannot be trimmed out, 5 the offset cannot be made.
int ws_create_offset_curves(const Frame& frame, tag_t sheet, int dark_band_count, const tag_t* dark_band_curves,
                            double offset_distance, std::vector<tag_t>& curves, ws_point_group_t& group);
// The boundary of the dark-band region (or of the whole sheet) moved inside
// the sheet: 0, 1 no undo mark, 2 not projected, 3 no region, 4 no offset.
int offset_boundary_in_sheet_body(const Frame& frame, tag_t sheet, int curve_count, const tag_t* curves,
                                  double distance, std::vector<tag_t>& result);

// The vision zone between the four planes on the sheet: its boundary curves
// (in the part) and their point lists. 0, 1 no sheet (or fewer than two
// points per curve), 2 a plane cannot be made, 3 the eye point does not
// project onto the sheet or lands beyond the eye in x. The cut curves stay in
// the part on code 3.
int ws_create_vision_zone(const Frame& frame, tag_t sheet, const double origins[4][3], const double normals[4][3],
                          const double eye_point[3], int points_per_curve, ws_point_group_t& group,
                          std::vector<tag_t>& curves);

}  // namespace carvell::windshield

#endif
