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

// The loops of the dark-band curves: 0 with the curves of the first loop,
// or -1 when the curves cannot be grouped or form two or more loops.
int ws_dark_band_loop(int count, const tag_t* curves, std::vector<tag_t>& loop);
// The offset curves of the clear-vision boundary (curves in the part) and
// their point lists in the group: 0, 2 not one dark-band loop, 3 not
// projected, 4 the region cannot be trimmed out, 5 the offset cannot be made.
int ws_create_offset_curves(const Frame& frame, tag_t sheet, int dark_band_count, const tag_t* dark_band_curves,
                            double offset_distance, std::vector<tag_t>& curves, ws_point_group_t& group);
// The boundary of the dark-band region (or of the whole sheet) moved inside
// the sheet: 0, 1 no undo mark, 2 not projected, 3 no region, 4 no offset.
int offset_boundary_in_sheet_body(const Frame& frame, tag_t sheet, int curve_count, const tag_t* curves,
                                  double distance, std::vector<tag_t>& result);

// A curve cut by plane k (0 to 3) of a zone, bounded by that plane's two
// bounding planes (2 and 3 for planes 0 and 1, 1 and 0 for planes 2 and 3;
// their normals point away from the zone): an end on a bounding plane's
// normal side is trimmed off there. False when the curve lies wholly on the
// normal side of the last plane examined (then it is no part of the zone).
bool ws_bound_cut_curve(tag_t curve, const tag_t planes[4], const double origins[4][3], const double normals[4][3],
                        int k);
// The vision zone between the four planes on the sheet: its boundary curves
// (in the part) and their point lists. 0, 1 no sheet (or fewer than two
// points per curve), 2 a plane cannot be made, 3 the eye point does not
// project onto the sheet or lands beyond the eye in x. The cut curves stay in
// the part on code 3.
int ws_create_vision_zone(const Frame& frame, tag_t sheet, const double origins[4][3], const double normals[4][3],
                          const double eye_point[3], int points_per_curve, ws_point_group_t& group,
                          std::vector<tag_t>& curves);


// The projected-curve input: the projection type (1 along the targets'
// normals, 2 towards a point, 3 along a direction, 4 at an angle to a
// direction about a point, 5 towards a line, 6 along two directions) and
// the type's data.
struct ProjectionRecord {
    int type = 1;
    tag_t object = 0;               // point (types 2, 6) or line (type 5)
    double direction[3] = {0, 0, 0};
    double direction2[3] = {0, 0, 0};
    double value = 0.0;
    int flag = 0;                   // type 3: 2 projects to both sides
    double angle = 0.0;             // degrees (type 4)
    double point[3] = {0, 0, 0};
};
// 0 or the host's code for bad projection input (no curve or target, a type
// outside 1..6, an angle not strictly within +-90 degrees, dead or unfit
// objects, a direction that cannot be unitised).
int ws_validate_projection_input(int curve_count, const tag_t* curves, int target_count, const tag_t* targets,
                                 const ProjectionRecord& record);
// The curves projected onto the targets (new curves in the part). Mode 2
// replaces the input curves. 0, the validation's code, a host code,
// HM_ERR_PROJ_NO_CURVES (nothing made, or a host exception while projecting)
// or HM_ERR_PROJ_SETUP (the request could not be set up).
int ws_create_projected_curves(int curve_count, const tag_t* curves, int target_count, const tag_t* targets,
                               int mode, const ProjectionRecord& record, std::vector<tag_t>& result);
// The sheet's boundary moved inside by the distance with tubes about its
// edges: 0; 2 no copy; 3 a tube failed; 4 no centre section or the region
// cannot be trimmed; 6 the trimmed boundary is not one loop.
int ws_offset_boundary_by_tubes(const Frame& frame, tag_t sheet, double distance, std::vector<tag_t>& result);

// The unit normal of the glass at the middle of its centre section: 0, or -1
// when the faces do not sew or no section or face is found.
int ws_ask_windshield_normal(int face_count, const tag_t* faces, const Frame& frame, double normal[3]);
// The wiped-area outline of one or two wipers into the group, wiper 1's
// curves first, and each wiper's mid-sweep arm tip: 0, 4 (two wipers) or 5
// (one wiper). On failure the group is empty.
int ws_create_wiped_area(const Frame& frame, int face_count, const tag_t* faces, tag_t sheet, const ws_data_t& data,
                         ws_wiped_group_t& group, double mid_tip1[3], double mid_tip2[3]);

// The wiped share (percent) of each built zone's test area (a zone of the
// clear-vision sheet; the wiped sheets are cut from the sewn glass): 0; 2 the wiped
// sheets cannot be made; 4 the eye point does not project onto the sheet; 5
// a zone's share cannot be measured (that zone and later ones keep 0).
int ws_calculate_percentages(const Frame& frame, tag_t sheet, tag_t sewn, int wiper_mode, int wiped_count, int first_count,
                             const tag_t* splines, const double mid_tip1[3], const double mid_tip2[3],
                             const double eye_point[3], const bool zone_made[3], const std::vector<tag_t> zones[3],
                             double percentages[3]);
// One zone's wiped share: 0 or 1.
int ws_ask_zone_percentage(tag_t sheet, const std::vector<tag_t>& zone, const double reference[3], bool connected,
                           tag_t wiped1, tag_t wiped2, double& percentage);

// The flat pattern of the sheet carrying the curves, sampled into the group:
// 0, -1 when no reference point or face is found, or the host's code (the
// part is then rolled back to the step's start).
int ws_create_flat_pattern(const Frame& frame, tag_t sheet, int points_per_curve, int layout_type,
                           const std::vector<tag_t>& curves, ws_point_group_t& group);

}  // namespace carvell::windshield

#endif
