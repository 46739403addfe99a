// What the steps of the tire envelope engine share: the error reporter, the
// vector and rigid-matrix helpers, the spindle-points file, the spline model,
// the radial section spline, the offsets, the sheet and the log.
#ifndef CARVELL_ENVELOPE_INTERNAL_H
#define CARVELL_ENVELOPE_INTERNAL_H

#include "tire_envelope.h"

#include <cstddef>
#include <string>
#include <vector>

namespace carvell::envelope {

// Status of a step that showed its own dialog.
constexpr int kFailed = 1;
// A radial section whose working array could not be allocated: the run stops.
constexpr int kOutOfMemory = 911;

// ---- error report and helpers ----
// Prints where a host call failed and shows the host's message in a "Report"
// dialog; returns code unchanged (nothing else for code 0).
int report_host_error(const char* source, int line, const char* call_text, int code);
#define ENVELOPE_CHECK(source, call) \
    ::carvell::envelope::report_host_error((source), __LINE__, #call, (call))
void print_matrix_to_syslog(const char* title, const double m[12]);
void warn(const char* title, std::initializer_list<const char*> lines);
void syslog(const char* text);

double vec3_unitize_or_zero(const double v[3], double out[3]);
void vec3_sub(const double a[3], const double b[3], double out[3]);
void vec3_scale(const double v[3], double s, double out[3]);
void vec3_add(const double a[3], const double b[3], double out[3]);
void vec3_cross(const double a[3], const double b[3], double out[3]);
double vec3_dot(const double a[3], const double b[3]);
double vec3_distance(const double a[3], const double b[3]);
void mtx34_transform_point(const double m[12], const double p[3], double out[3]);
void mtx34_rotate_vector(const double m[12], const double v[3], double out[3]);
void mtx34_invert_rigid(const double m[12], double out[12]);
void mtx34_copy(const double m[12], double out[12]);
// The matrix with axes u, v, w (its columns) and origin o.
void mtx34_from_axes(const double u[3], const double v[3], const double w[3], const double o[3], double out[12]);

// ---- spindle-points file ----
struct SpindleCount {
    bool has_header = false;
    int records = 0;        // lines without '#' after the last header terminator
    int capacity = 0;       // lines after the first terminator: every record the reader may accept
};
int generate_spindle_copy(tire_envelope_params_s* p);
// Writes the copy of the instance's spindle file into the temporary
// directory and puts its path into the block's spindle_file; defined once
// per release (envelope_spindle_copy.cpp in this one). 0, or kFailed (with
// a report when the host refuses the copy's protection).
int write_spindle_copy(tire_envelope_params_s* p);
int count_spindle_records(const tire_envelope_params_s* p, SpindleCount* count);
int read_spindle_points(tire_envelope_params_s* p, bool has_header, int capacity, std::vector<double>* points,
                        std::vector<double>* directions, int* count);

// ---- spline model ----
int set_radial_section_angles(tire_envelope_params_s* p);
int read_tire_file(tire_envelope_params_s* p);
int create_spline_thru_pts(int count, const double* points, tag_t* spline);
int create_profile_spline(tire_envelope_params_s* p, const double design_direction[3], tag_t* profile_spline,
                          tag_t* wheel_line, tag_t* tire_line, tag_t* spindle_line);
// Circle frames (12 doubles each) and radii of every record x profile point.
int build_circle_frames(const tire_envelope_params_s* p, const double* points, const double* directions,
                        int record_count, std::vector<double>* frames, std::vector<double>* radii);
int intersect_section_circles(int circle_count, const double A[3], const double B[3], const double* frames,
                              const double* radii, const double design_point[3], std::vector<double>* points);
int gen_spline_model(tire_envelope_params_s* p, int* num_splines, tag_t* spline_tags, tag_t* profile_spline,
                     tag_t* wheel_line, tag_t* tire_line, tag_t* spindle_line);

// ---- radial section spline ----
// The walk's stop at a sharp turn near the end, defined once per release
// (envelope_walk_stop.cpp in this one): given the turn angle just taken
// (degrees), the outline's points with the new one, the new point's
// distance to the end point and the search radius, whether the walk takes
// the end point and ends. `turns` holds the release's record of the last
// turns, zeros at the start.
bool walk_turn_stop(double turns[3], double angle, size_t outline_points, double end_distance, double reach);
int develop_radial_spline(tire_envelope_params_s* p, const double A[3], const double B[3],
                          const std::vector<double>& section_points, tag_t* spline);
int eval_spline_pt(tag_t spline, const double point[3], double* t, double nearest[3]);
int find_new_end_pt(tag_t spline, double* t, double direction, double target);
// Point and first derivative of a curve at a normalised parameter.
int eval_spline(tag_t spline, double t, double point[3], double tangent[3]);

// ---- offsets ----
// The second line of the message of a section whose neighbouring offset
// rows are both more than 90 degrees away; defined once per release
// (envelope_offset_texts.cpp in this one).
const char* far_offset_neighbour_text();
int prepare_section_offsets(tire_envelope_params_s* p);
double offset_at_parameter(double u, const tire_envelope_params_s* p);
double offset_at_parameter_row(double u, const double* stored, int n);
int apply_offset(const tire_envelope_params_s* p, tag_t spline, double t_start, double t_end, int count,
                 double* points);

// ---- sheet ----
// What the through-curves sheet was asked with.
struct SheetSettings {
    int v_degree = 0;
    double distance_tolerance = 0.0;
    double angle_tolerance = 0.0;
};
int create_sheet_body(tire_envelope_params_s* p, int count, const tag_t* curves, SheetSettings* used = nullptr);

// ---- log, attributes, categories, reference set ----
void format_date_time(char* text, size_t size);
void write_tire_envelope_log(tire_envelope_params_s* p);
int copy_log_attributes(const tire_envelope_params_s* p);
int create_envelope_categories(const tire_envelope_params_s* p);
int add_part_reference_set(const char* name, const tag_t* members, int count);
int delete_dcs();
// Name of the category of a radial section at angle a.
std::string section_category_name(double a);

}  // namespace carvell::envelope

#endif
