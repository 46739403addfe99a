// The spline model of the tire envelope: the tire profile prepared from the
// caller's points, the radial section angles, the profile spline with the
// wheel, tire and spindle lines, a circle for every spindle position and
// profile point, and for each radial section the outermost crossings of
// those circles with the section's half-plane, which become its spline.
#include "envelope_internal.h"

#include "belmorra.h"
#include "elvosk.h"
#include "omvra.h"

#include <cmath>
#include <cstdio>
#include <new>
#include <utility>
#include <vector>

namespace carvell::envelope {
namespace {

constexpr double kDegToRad = 0.017453292519943295;
constexpr double kSectionStep = 15.0;   // degrees between regular radial sections
constexpr int kLastLayer = 255;

// Appends an angle; false (after the dialog) when the list is full.
bool push_angle(tire_envelope_params_s* p, double a) {
    if (p->num_sections >= TIRE_ENVELOPE_MAX_SECTIONS) {
        warn("Number of Radial Sections", {"Number of radial sections exceeded program limits"});
        return false;
    }
    p->section_angles[p->num_sections++] = a;
    return true;
}

void to_absolute(const tire_envelope_params_s* p, bool identity, double point[3]) {
    if (!identity) VD_map_point_csys2abs(point, p->csys_origin, p->csys_matrix, point);
}

int create_line(const double m[12], const double a[3], const double b[3], const tire_envelope_params_s* p,
                bool identity, tag_t* line) {
    HM_CURVE_line_t coords;
    mtx34_transform_point(m, a, coords.start_point);
    mtx34_transform_point(m, b, coords.end_point);
    to_absolute(p, identity, coords.start_point);
    to_absolute(p, identity, coords.end_point);
    return ENVELOPE_CHECK("create_profile_spline", HM_CURVE_create_line(&coords, line));
}

double distance2d(const double* a, const double* b) { return std::hypot(a[0] - b[0], a[1] - b[1]); }

// For positions n-2 down to 0, the point among 0..i nearest to the point at
// i+1 is swapped into position i: the half runs from the centerline outward.
void order_half_from_centerline(std::vector<std::pair<double, double>>& pts) {
    const int n = static_cast<int>(pts.size());
    for (int i = n - 2; i >= 0; --i) {
        int nearest = i;
        double best = 1e300;
        for (int k = 0; k <= i; ++k) {
            const double d = std::hypot(pts[k].first - pts[i + 1].first, pts[k].second - pts[i + 1].second);
            if (d < best) {
                best = d;
                nearest = k;
            }
        }
        std::swap(pts[i], pts[nearest]);
    }
}

int prepare_half_profile(std::vector<std::pair<double, double>>& pts) {
    const int n = static_cast<int>(pts.size());
    for (int i = 0; i < n - 1; ++i)
        if (pts[i].first == 0.0) {
            std::swap(pts[i], pts[n - 1]);
            break;
        }
    if (pts[n - 1].first != 0.0) {
        warn("Tire Profile Point", {"ERROR: No tire profile point on the tire centerline"});
        return kFailed;
    }
    order_half_from_centerline(pts);
    for (int i = n - 2; i >= 0; --i) pts.emplace_back(-pts[i].first, pts[i].second);
    return 0;
}

// Inserts the spline point between every two consecutive points farther
// apart than the average spacing.
int densify_profile(std::vector<std::pair<double, double>>& pts) {
    const int n = static_cast<int>(pts.size());
    double sum = 0.0;
    for (int i = 0; i + 1 < n; ++i)
        sum += std::hypot(pts[i + 1].first - pts[i].first, pts[i + 1].second - pts[i].second);
    const double average = sum / n;
    std::vector<double> xyz;
    for (auto& q : pts) xyz.insert(xyz.end(), {q.first, q.second, 0.0});
    (void)HM_DISP_set_display(0);
    tag_t spline = 0;
    const int made = create_spline_thru_pts(n, xyz.data(), &spline);
    (void)HM_DISP_set_display(1);
    if (made != 0) {
        warn("2D Profile Spline", {"ERROR creating 2D profile spline."});
        return kFailed;
    }
    std::vector<double> t(n);
    for (int i = 0; i < n; ++i) {
        double nearest[3];
        (void)eval_spline_pt(spline, &xyz[3 * i], &t[i], nearest);
    }
    for (int i = 0; i + 1 < n; ++i) {
        if (std::hypot(pts[i + 1].first - pts[i].first, pts[i + 1].second - pts[i].second) <= average) continue;
        double point[3], tangent[3];
        if (eval_spline(spline, 0.5 * (t[i] + t[i + 1]), point, tangent) == 0) pts.emplace_back(point[0], point[1]);
    }
    (void)HM_OBJ_delete_object(spline);
    // Nearest-neighbour order from the first point.
    for (size_t i = 0; i + 1 < pts.size(); ++i) {
        size_t nearest = i + 1;
        double best = 1e300;
        for (size_t k = i + 1; k < pts.size(); ++k) {
            const double d = std::hypot(pts[k].first - pts[i].first, pts[k].second - pts[i].second);
            if (d < best) {
                best = d;
                nearest = k;
            }
        }
        std::swap(pts[i + 1], pts[nearest]);
    }
    return 0;
}

bool profile_fits(size_t count) {
    if (count <= TIRE_ENVELOPE_MAX_PROFILE_PTS) return true;
    warn("Tire Profile Point", {"ERROR: The prepared tire profile has more than 100 points"});
    return false;
}

void create_section_points(tire_envelope_params_s* p, bool identity, const std::vector<double>& points) {
    for (size_t i = 0; i + 2 < points.size(); i += 3) {
        double q[3] = {points[i], points[i + 1], points[i + 2]};
        to_absolute(p, identity, q);
        tag_t point = 0;
        if (ENVELOPE_CHECK("gen_spline_model", HM_CURVE_create_point(q, &point)) == 0 && p->thegroup)
            (void)HM_GROUP_add_member_to_group(point, p->thegroup);
    }
}

}  // namespace

int set_radial_section_angles(tire_envelope_params_s* p) {
    p->num_sections = 0;
    if (p->radial_start > p->radial_end) return 0;
    for (int k = 0;; ++k) {
        const double a = p->radial_start + k * kSectionStep;
        if (a > p->radial_end) break;
        if (p->num_sections > 0) {
            if (std::fabs(a - 75.0) < 0.1 && !push_angle(p, 67.5)) return kFailed;
            if (std::fabs(a - 90.0) < 0.1 && (!push_angle(p, 80.0) || !push_angle(p, 85.0))) return kFailed;
            if (std::fabs(a - 105.0) < 0.1 && (!push_angle(p, 95.0) || !push_angle(p, 100.0))) return kFailed;
            if (std::fabs(a - 120.0) < 0.1 && !push_angle(p, 112.5)) return kFailed;
        }
        if (!push_angle(p, a)) return kFailed;
    }
    return 0;
}

int read_tire_file(tire_envelope_params_s* p) {
    const int n = p->num_profile_pts;
    if (n < 2 || n > TIRE_ENVELOPE_MAX_PROFILE_PTS) {
        warn("Tire Profile Point", {"ERROR: The tire profile needs 2 to 100 points"});
        return kFailed;
    }
    std::vector<std::pair<double, double>> pts;
    for (int i = 0; i < n; ++i) pts.emplace_back(p->profile_pts[i][0], p->profile_pts[i][1]);
    for (int i = 0; i < n; ++i)
        for (int k = i + 1; k < n; ++k)
            if (std::fabs(pts[i].first - pts[k].first) < 1e-9 && std::fabs(pts[i].second - pts[k].second) < 1e-9) {
                warn("Coincident Points", {"Tire profile file has coincident points!"});
                return kFailed;
            }
    if (p->half_profile && prepare_half_profile(pts) != 0) return kFailed;
    if (!profile_fits(pts.size())) return kFailed;
    for (auto& q : pts) q.second += 0.5 * p->rim_diameter;
    if (densify_profile(pts) != 0) return kFailed;
    if (!profile_fits(pts.size())) return kFailed;
    double largest = 0.0;
    for (size_t i = 0; i < pts.size(); ++i) {
        p->profile_pts[i][0] = pts[i].first;
        p->profile_pts[i][1] = pts[i].second;
        if (i > 0) largest = std::max(largest, distance2d(p->profile_pts[i], p->profile_pts[i - 1]));
    }
    p->num_profile_pts = static_cast<int>(pts.size());
    p->concavity_base = largest;
    return 0;
}

int create_spline_thru_pts(int count, const double* points, tag_t* spline) {
    *spline = 0;
    std::vector<HM_CURVE_thru_point_t> thru(static_cast<size_t>(count > 0 ? count : 0));
    for (int i = 0; i < count; ++i) {
        HM_CURVE_thru_point_t& t = thru[i];
        t = HM_CURVE_thru_point_t{};
        for (int k = 0; k < 3; ++k) t.point[k] = points[3 * i + k];
        t.slope_type = (i == 0 || i == count - 1) ? 0 : -1;
        t.crvatr_type = -1;
    }
    const int code = ENVELOPE_CHECK("create_spline_thru_pts",
                                    HM_CURVE_create_spline_thru_pts(3, 0, count, thru.data(), nullptr, 1, spline));
    if (code != 0) {
        for (int i = 0; i < count; ++i)
            std::printf("pt %d   %.2f  %.2f  %.2f\n", i, points[3 * i], points[3 * i + 1], points[3 * i + 2]);
        return kFailed;
    }
    if (*spline == 0) {
        warn("2D Spline", {"Error creating 2D spline!"});
        return kFailed;
    }
    return 0;
}

int create_profile_spline(tire_envelope_params_s* p, const double d[3], tag_t* profile_spline, tag_t* wheel_line,
                          tag_t* tire_line, tag_t* spindle_line) {
    const double v0[3] = {-p->side, 0.0, 0.0};
    double w[3], v[3];
    vec3_cross(d, v0, w);
    if (vec3_unitize_or_zero(w, w) == 0.0) {
        warn("Spindle", {"ERROR 62: Design position spindle is parallel to XZ plane"});
        return kFailed;
    }
    vec3_cross(w, d, v);
    if (vec3_unitize_or_zero(v, v) == 0.0) {
        warn("Spindle", {"ERROR 63: Design position spindle is nearly vertical"});
        return kFailed;
    }
    double m[12];
    mtx34_from_axes(v, w, d, p->design_point, m);
    const bool identity = VD_csys_is_identity(p->csys_origin, p->csys_matrix);
    std::vector<double> pts;
    for (int i = 0; i < p->num_profile_pts; ++i) {
        const double local[3] = {0.0, p->profile_pts[i][1], -p->profile_pts[i][0]};
        double q[3];
        mtx34_transform_point(m, local, q);
        to_absolute(p, identity, q);
        pts.insert(pts.end(), {q[0], q[1], q[2]});
    }
    (void)HM_LAYER_set_status(p->profile_layer, HM_LAYER_WORK_LAYER);
    if (create_spline_thru_pts(p->num_profile_pts, pts.data(), profile_spline) != 0) return kFailed;
    (void)HM_OBJ_set_color(*profile_spline, 3);
    (void)HM_LAYER_set_status(p->spindle_line_layer, HM_LAYER_WORK_LAYER);
    const double o[3] = {0, 0, 0}, far[3] = {0, 400, 0};
    const double c = p->centerline_shift;
    const double tire0[3] = {0, 0, c}, tire1[3] = {0, 400, c};
    if (create_line(m, o, far, p, identity, wheel_line) != 0) return kFailed;
    (void)HM_OBJ_set_color(*wheel_line, 5);
    p->part_members[p->num_part_members++] = *wheel_line;
    if (create_line(m, tire0, tire1, p, identity, tire_line) != 0) return kFailed;
    (void)HM_OBJ_set_color(*tire_line, 3);
    p->part_members[p->num_part_members++] = *tire_line;
    const double identity_m[12] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0};
    double end[3];
    vec3_scale(d, -100.0, end);
    vec3_add(p->design_point, end, end);
    if (create_line(identity_m, p->design_point, end, p, identity, spindle_line) != 0) return kFailed;
    (void)HM_OBJ_set_color(*spindle_line, 5);
    p->part_members[p->num_part_members++] = *spindle_line;
    const tag_t members[4] = {*profile_spline, *wheel_line, *tire_line, *spindle_line};
    if (ENVELOPE_CHECK("create_profile_spline", HM_GROUP_create_group(members, 4, &p->thegroup)) != 0) return kFailed;
    return 0;
}

int build_circle_frames(const tire_envelope_params_s* p, const double* points, const double* directions,
                        int record_count, std::vector<double>* frames, std::vector<double>* radii) {
    frames->clear();
    radii->clear();
    const double x_axis[3] = {1, 0, 0};
    int skipped = 0;
    for (int i = 0; i < record_count; ++i) {
        const double* d = directions + 3 * i;
        double w[3], u[3], origin[3];
        vec3_cross(d, x_axis, w);
        if (vec3_unitize_or_zero(w, w) == 0.0) {
            ++skipped;
            continue;
        }
        vec3_cross(w, d, u);
        if (vec3_unitize_or_zero(u, u) == 0.0) {
            ++skipped;
            continue;
        }
        vec3_sub(points + 3 * i, p->design_point, origin);
        double frame[12], inverse[12];
        mtx34_from_axes(u, w, d, origin, frame);
        mtx34_invert_rigid(frame, inverse);
        for (int j = 0; j < p->num_profile_pts; ++j) {
            inverse[11] += p->profile_pts[j][0];
            frames->insert(frames->end(), inverse, inverse + 12);
            inverse[11] -= p->profile_pts[j][0];
            radii->push_back(p->profile_pts[j][1]);
        }
    }
    if (skipped) warn("Spindle Points File", {"Spindle points file has spindles parallel to XZ plane"});
    return 0;
}

int intersect_section_circles(int circle_count, const double A[3], const double B[3], const double* frames,
                              const double* radii, const double design_point[3], std::vector<double>* points) {
    points->clear();
    double far[3];
    vec3_scale(A, 10000.0, far);
    const double minus_x[3] = {-1, 0, 0};
    const bool reverse = vec3_dot(minus_x, B) > 0.9999;
    for (int k = 0; k < circle_count; ++k) {
        const double* T = frames + 12 * k;
        const double r = radii[k];
        double n[3], o[3];
        const double zero[3] = {0, 0, 0};
        mtx34_rotate_vector(T, B, n);
        mtx34_transform_point(T, zero, o);
        double c = vec3_dot(n, o);
        if (reverse) c = -c;
        const double h = std::hypot(n[0], n[1]);
        if (h == 0.0) {
            char text[128];
            syslog("\nZero length plane vector or circle matrix:\n");
            std::snprintf(text, sizeof text, "aplane_z:\n   %8.3f %8.3f %8.3f\n", B[0], B[1], B[2]);
            syslog(text);
            std::snprintf(text, sizeof text, "mata2l[%d]", k);
            print_matrix_to_syslog(text, T);
            warn("Syslog", {"Report error in syslog"});
            return kFailed;
        }
        c /= h;
        const double ex = n[0] / h, ey = n[1] / h;
        double X[2], Y[2];
        if (std::fabs(ey) > 0.0001) {
            const double D = ex * ex * c * c - c * c + r * r * ey * ey;
            if (D < 0.0) continue;
            X[0] = ex * c + std::sqrt(D);
            X[1] = ex * c - std::sqrt(D);
            Y[0] = (c - X[0] * ex) / ey;
            Y[1] = (c - X[1] * ex) / ey;
        } else {
            const double D = r * r - c * c;
            if (D < 0.0) continue;
            X[0] = X[1] = c;
            Y[0] = std::sqrt(D);
            Y[1] = -std::sqrt(D);
        }
        double back[12], q[2][3];
        mtx34_invert_rigid(T, back);
        for (int s = 0; s < 2; ++s) {
            const double local[3] = {X[s], Y[s], 0.0};
            mtx34_transform_point(back, local, q[s]);
        }
        const int pick = vec3_distance(q[1], far) < vec3_distance(q[0], far) ? 1 : 0;
        if (vec3_dot(q[pick], far) > 0.0)
            points->insert(points->end(),
                           {q[pick][0] + design_point[0], q[pick][1] + design_point[1], q[pick][2] + design_point[2]});
    }
    return 0;
}

namespace {

// The section loop of the spline model, from the first section on.
int build_sections(tire_envelope_params_s* p, const std::vector<double>& frames, const std::vector<double>& radii,
                   int* num_splines, tag_t* spline_tags) {
    const bool identity = VD_csys_is_identity(p->csys_origin, p->csys_matrix);
    const int circles = static_cast<int>(radii.size());
    int result = 0;
    int layer = p->sec1_layer;
    std::vector<double> points;
    for (int s = 0; s < p->num_sections; ++s) {
        const double a = p->section_angles[s];
        char text[64];
        std::snprintf(text, sizeof text, "Section %.1f", a);
        (void)UI_set_status(text);
        if (p->offset_from_file) {
            p->cur_offset_section = -1;
            for (int r = 0; r < p->num_offset_sections; ++r)
                if (std::fabs(p->offset_angles[r] - a) <= 0.1) p->cur_offset_section = r;
            if (p->cur_offset_section < 0) {
                std::snprintf(text, sizeof text, "ERROR: Section %6.1f has no offset values", a);
                warn("Offset", {text});
                return kFailed;
            }
        }
        (void)HM_LAYER_set_status(layer, HM_LAYER_WORK_LAYER);
        if (p->single_layer != 1 && layer < kLastLayer) ++layer;
        const double A[3] = {-std::cos(a * kDegToRad), 0.0, std::sin(a * kDegToRad)};
        const double B[3] = {std::sin(a * kDegToRad), 0.0, std::cos(a * kDegToRad)};
        result = intersect_section_circles(circles, A, B, frames.data(), radii.data(), p->design_point, &points);
        if (result != 0) return result;
        tag_t spline = 0;
        const int made = develop_radial_spline(p, A, B, points, &spline);
        if (made == kOutOfMemory) return kFailed;
        result = made == 0 ? 0 : kFailed;
        if (made == 0) {
            spline_tags[(*num_splines)++] = spline;
            if (p->thegroup) (void)HM_GROUP_add_member_to_group(spline, p->thegroup);
        }
        if (p->point_cloud) {
            std::snprintf(text, sizeof text, "Section %.1f  Creating points", a);
            (void)UI_set_status(text);
            create_section_points(p, identity, points);
        }
    }
    return result;
}

}  // namespace

int gen_spline_model(tire_envelope_params_s* p, int* num_splines, tag_t* spline_tags, tag_t* profile_spline,
                     tag_t* wheel_line, tag_t* tire_line, tag_t* spindle_line) {
    *num_splines = 0;
    if (read_tire_file(p) != 0) return kFailed;
    if (p->offset_from_file && prepare_section_offsets(p) != 0) return kFailed;
    if (generate_spindle_copy(p) != 0) return kFailed;
    SpindleCount count;
    if (count_spindle_records(p, &count) != 0) return kFailed;
    if (count.capacity == 0) {
        warn("Spindle Points", {"Zero spindle points in spindle points file"});
        return kFailed;
    }
    char text[64];
    std::snprintf(text, sizeof text, "\n%d points in spindle file\n", count.capacity);
    syslog(text);
    std::vector<double> points, directions, frames, radii;
    int records = 0;
    try {
        const int result = read_spindle_points(p, count.has_header, count.capacity, &points, &directions, &records);
        if (result != 0) return result;
        for (int i = 0; i < p->num_profile_pts; ++i) p->profile_pts[i][0] -= p->centerline_shift;
        if (create_profile_spline(p, directions.data(), profile_spline, wheel_line, tire_line, spindle_line) != 0)
            return kFailed;
        build_circle_frames(p, points.data(), directions.data(), records, &frames, &radii);
    } catch (const std::bad_alloc&) {
        warn("Memory", {"Error allocating memory.  Check kernel parameters."});
        return kFailed;
    }
    return build_sections(p, frames, radii, num_splines, spline_tags);
}

}  // namespace carvell::envelope
