// The A-pillar obstruction analysis: the pair of sight lines from the two E
// points that graze the pillar's section (or aim at a limit or given
// angles), the eye and head rotations for each, and the angle between them.
#include "vision_apo.h"
#include "vision_eye.h"

#include "belmorra.h"
#include "elvosk.h"
#include "hm_vd.h"
#include "omvra.h"
#include "quillon.h"
#include "toolbox/detail/constants.h"
#include "toolbox/detail/finite.h"
#include "toolbox/detail/object_kinds.h"
#include "toolbox/detail/owners.h"

#include <array>
#include <cmath>
#include <cstring>
#include <vector>

namespace carvell::vision {

namespace {

constexpr double kUp[3] = {0.0, 0.0, 1.0};
// Lateral offsets (mm) of the reference point R from the pivot along the
// direction (28, 67, 0): outboard of the left eye, inboard of the right.
constexpr double kReferenceOffsetSide1Mm = 20.0;
constexpr double kReferenceOffsetSide0Mm = -47.0;
constexpr double kReferenceDirection[3] = {28.0, 67.0, 0.0};
// Tilts (degrees, about the lateral axis) of the lower and upper section planes.
constexpr double kLowerTiltDeg = -5.0;
constexpr double kUpperTiltDeg = 2.0;
constexpr double kDefaultSightLineMm = 700.0;
// Tangent search: further out than the box by this much (part units, as
// the tool has always used it), and at most this many iterations.
constexpr double kSearchMargin = 10.0;
constexpr int kSearchIterations = 25;

using Work = ApoWork;

void store_angles(Work& w, int side, double a, double b) {
    w.rot[side == 0 ? 1 : 0] = b;
    w.rot[side == 0 ? 3 : 2] = a;
}

double dist3(const double p[3], const double q[3]) {
    return std::sqrt((p[0] - q[0]) * (p[0] - q[0]) + (p[1] - q[1]) * (p[1] - q[1]) + (p[2] - q[2]) * (p[2] - q[2]));
}

bool point_of(tag_t object, double p[3]) {
    int type = 0, subtype = 0;
    return !HM_OBJ_ask_type_and_subtype(object, &type, &subtype) && type == HM_point_type &&
           !HM_CURVE_ask_point_data(object, p);
}

bool box_of(const std::vector<tag_t>& items, double box[6]) {
    bool any = false;
    for (tag_t item : items) {
        double b[6], p[3];
        if (point_of(item, p)) {
            for (int i = 0; i < 3; ++i) b[i] = b[i + 3] = p[i];
        } else if (HM_MODL_ask_bounding_box(item, b)) {
            return false;
        }
        for (int i = 0; i < 3; ++i) {
            if (!any || b[i] < box[i]) box[i] = b[i];
            if (!any || b[i + 3] > box[i + 3]) box[i + 3] = b[i + 3];
        }
        any = true;
    }
    return any;
}

// The section point nearest to the plane: the first object sets it, a later
// one replaces it only when strictly nearer.
int nearest_to_plane(const std::vector<tag_t>& items, tag_t plane, double q[3]) {
    bool any = false;
    double best = 0.0;
    for (tag_t item : items) {
        double d, p1[3], p2[3];
        if (HM_MODL_ask_minimum_dist(plane, item, 0, nullptr, 0, nullptr, &d, p1, p2)) return APO_NO_MINIMUM_DISTANCE;
        if (!any || d < best) {
            best = d;
            std::memcpy(q, p2, sizeof p2);
            any = true;
        }
    }
    return any ? APO_OK : APO_INVALID_DATA;
}

// Iterates the grazing point Q on the section for the side's eye.
int tangent_search(const Work& w, int side, bool head_turn, const std::vector<tag_t>& section, double* a, double* b,
                   double Q[3]) {
    double box[6];
    if (section.empty() || !box_of(section, box)) return APO_INVALID_DATA;
    detail::Temporaries planes;
    const double* corner = side == 1 ? box : box + 3;
    const double start_normal[3] = {0.0, side == 1 ? -1.0 : 1.0, 0.0};
    tag_t plane = 0;
    if (HM_MODL_create_datum_plane(corner, start_normal, &plane)) return APO_INVALID_DATA;
    planes.add(plane);
    int code = nearest_to_plane(section, plane, Q);
    if (code) return code;
    int last = APO_OK;
    for (int n = 1;; ++n) {
        last = sight_angles(w.mode, w.P, Q, side, head_turn, a, b);
        const EyePose eye = e_point(w.mode, w.P, side, *a, *b);
        const double reach = dist3(eye.e, corner) + kSearchMargin;
        const double through[3] = {eye.e[0] + reach * eye.lateral[0], eye.e[1] + reach * eye.lateral[1],
                                   eye.e[2] + reach * eye.lateral[2]};
        if (HM_MODL_create_datum_plane(through, eye.lateral, &plane)) return APO_INVALID_DATA;
        planes.add(plane);
        double next[3];
        code = nearest_to_plane(section, plane, next);
        if (code) return code;
        const bool converged = dist3(Q, next) < w.tol;
        if (n >= kSearchIterations) return APO_NO_OUTBOARD_POINT;
        if (converged) return last;
        std::memcpy(Q, next, sizeof next);
    }
}

tag_t make_line(const double start[3], const double end[3]) {
    HM_CURVE_line_t line{};
    std::memcpy(line.start_point, start, 3 * sizeof(double));
    std::memcpy(line.end_point, end, 3 * sizeof(double));
    tag_t tag = 0;
    (void)HM_CURVE_create_line(&line, &tag);
    return tag;
}

// Obstruction angle between the forward directions; negative (and not valid)
// when the side-1 sight line meets the side-0 one in front of the pivot.
void obstruction(const Work& w, const EyePose eyes[2], const double q1[3], apo_result_t* result) {
    double smaller = 0.0, larger = 0.0;
    HM_MODL_ask_vector_angle(eyes[1].forward, eyes[0].forward, &smaller, &larger);
    result->obstruction_angle = smaller * detail::kDegreesPerRadianAsUsed;
    int parallel = 0;
    HM_VEC3_is_parallel(eyes[1].forward, eyes[0].forward, kTiny, &parallel);
    if (parallel) {
        result->angle_valid = 0;
        return;
    }
    result->angle_valid = 1;
    double meet[3];
    if (HM_VD_ask_two_line_intersect_point(eyes[1].e, q1, eyes[0].e, eyes[0].forward, meet) && meet[0] < w.P[0]) {
        result->obstruction_angle = -result->obstruction_angle;
        result->angle_valid = 0;
    }
}

// Analysis mode 0: both sight lines graze the pillar's horizontal section.
int pillar_horizontal(Work& w, hm_list_p_t targets, apo_result_t* result) {
    if (detail::list_items(targets).empty()) return APO_INVALID_DATA;
    hm_list_p_t section_list = nullptr;
    int code = section_in_front(targets, w.P, kUp, w.P, w.half_tol, &section_list);
    if (code) return code;
    const std::vector<tag_t> section = detail::list_items(section_list);
    if (section.empty()) return APO_NO_INTERSECTION;
    std::vector<std::array<double, 3>> points;
    hm_list_p_t curves = nullptr;
    HM_MODL_create_list(&curves);
    for (tag_t item : section) {
        std::array<double, 3> p;
        if (point_of(item, p.data())) points.push_back(p);
        else HM_MODL_put_list_item(curves, item);
    }
    HM_MODL_delete_list(&section_list);
    result->section_curves = curves;
    if (!points.empty()) {
        result->section_points = static_cast<double**>(SM_alloc(points.size() * sizeof(double*)));
        for (size_t i = 0; i < points.size(); ++i) {
            result->section_points[i] = static_cast<double*>(SM_alloc(3 * sizeof(double)));
            std::memcpy(result->section_points[i], points[i].data(), 3 * sizeof(double));
        }
        result->section_point_count = static_cast<int>(points.size());
    }
    result->curves_present = section.size() > points.size() ? 1 : 0;
    EyePose eyes[2];
    double q[2][3];
    double a = 0.0, b = 0.0;
    for (int pass = 0; pass < 2; ++pass) {
        const int side = pass == 0 ? w.side : 1 - w.side;
        code = tangent_search(w, side, pass == 0, section, &a, &b, q[side]);
        if (code >= APO_EYE_ROTATION_RANGE) code = APO_OK;
        if (code) return code;
        store_angles(w, side, a, b);
        eyes[side] = e_point(w.mode, w.P, side, a, b);
    }
    obstruction(w, eyes, q[1], result);
    result->sight_lines[0] = make_line(eyes[1].e, q[1]);
    result->sight_lines[1] = make_line(eyes[0].e, q[0]);
    return APO_OK;
}

// The section points (point objects) of a section as SM_alloc'd blocks
// appended to the result's.
void append_section_points(const std::vector<tag_t>& section, apo_result_t* result) {
    std::vector<std::array<double, 3>> points;
    for (tag_t item : section) {
        std::array<double, 3> p;
        if (point_of(item, p.data())) points.push_back(p);
    }
    if (points.empty()) return;
    const int old = result->section_point_count;
    const size_t total = old + points.size();
    double** block = static_cast<double**>(SM_alloc(total * sizeof(double*)));
    for (int i = 0; i < old; ++i) block[i] = result->section_points[i];
    for (size_t i = 0; i < points.size(); ++i) {
        block[old + i] = static_cast<double*>(SM_alloc(3 * sizeof(double)));
        std::memcpy(block[old + i], points[i].data(), 3 * sizeof(double));
    }
    SM_free(result->section_points);
    result->section_points = block;
    result->section_point_count = static_cast<int>(total);
}

// Analysis modes 1 and 2: each side's sight line grazes the pillar at the
// height of its foremost point in a section tilted about R (down 5 degrees
// for the working side, up 2 for the other).
int pillar_tilted(Work& w, const apo_input_t& in, apo_result_t* result) {
    if (detail::list_items(in.apillar_geometry).empty()) return APO_INVALID_DATA;
    tag_t lines[2] = {};
    int line_side[2] = {};
    for (int pass = 0; pass < 2; ++pass) {
        const int side = pass == 0 ? w.side : 1 - w.side;
        double normal[3];
        const double lateral[3] = {0.0, 1.0, 0.0};
        HM_VD_vec3_rotate(kUp, lateral, pass == 0 ? kLowerTiltDeg : kUpperTiltDeg, normal);
        hm_list_p_t tilted = nullptr;
        int code = section_in_front(in.apillar_geometry, w.R, normal, w.P, w.half_tol, &tilted);
        if (code) return code;
        const std::vector<tag_t> tilted_items = detail::list_items(tilted);
        if (tilted) HM_MODL_delete_list(&tilted);
        if (tilted_items.empty()) return APO_NO_INTERSECTION;
        // The foremost point: nearest to the plane across x at the box's front.
        double box[6], front[3];
        if (!box_of(tilted_items, box)) return -1;
        const double across[3] = {1.0, 0.0, 0.0};
        tag_t plane = 0;
        if (HM_MODL_create_datum_plane(box, across, &plane)) return -1;
        code = nearest_to_plane(tilted_items, plane, front);
        carvell::detail::delete_if_alive(plane);
        if (code) return code;
        // The horizontal section there, the additional geometry included.
        carvell::detail::HostList targets;
        HM_MODL_create_list(targets.out());
        for (tag_t t : detail::list_items(in.apillar_geometry)) HM_MODL_put_list_item(targets.get(), t);
        for (tag_t t : detail::list_items(in.additional_geometry)) HM_MODL_put_list_item(targets.get(), t);
        hm_list_p_t level = nullptr;
        code = section_in_front(targets.get(), front, kUp, w.P, w.half_tol, &level);
        if (code) return code;
        const std::vector<tag_t> section = detail::list_items(level);
        if (level) HM_MODL_delete_list(&level);
        if (section.empty()) return APO_NO_INTERSECTION;
        append_section_points(section, result);
        int points = 0;
        double p[3];
        for (tag_t item : section) points += point_of(item, p) ? 1 : 0;
        const unsigned char present = section.size() > static_cast<size_t>(points) ? 1 : 0;
        (pass == 0 ? result->curves_present : result->curves_present_second) = present;
        double a = pass == 0 ? 0.0 : (side == 0 ? w.rot[2] : w.rot[3]), b = 0.0, q[3];
        code = tangent_search(w, side, pass == 0, section, &a, &b, q);
        if (code >= 1 && code <= 21) return code;
        store_angles(w, side, a, b);
        const EyePose eye = e_point(1, w.P, side, a, b);
        lines[pass] = make_line(eye.e, q);
        line_side[pass] = side;
        result->sight_lines[pass] = lines[pass];
    }
    // From the side-1 line's direction to the side-0 line's, in plan: the
    // lines climb and fall with their tilted sections, and that slope is no
    // part of the horizontal field the pillar hides.
    const int one = line_side[0] == 1 ? 0 : 1;
    HM_CURVE_line_t l1{}, l0{};
    HM_CURVE_ask_line_data(lines[one], &l1);
    HM_CURVE_ask_line_data(lines[1 - one], &l0);
    const double s1[3] = {l1.start_point[0], l1.start_point[1], 0.0};
    const double e1[3] = {l1.end_point[0], l1.end_point[1], 0.0};
    const double s0[3] = {l0.start_point[0], l0.start_point[1], 0.0};
    const double d1[3] = {e1[0] - s1[0], e1[1] - s1[1], 0.0};
    const double d0[3] = {l0.end_point[0] - s0[0], l0.end_point[1] - s0[1], 0.0};
    int parallel = 0;
    HM_VEC3_is_parallel(d1, d0, kTiny, &parallel);
    if (parallel) return APO_OK;
    double smaller = 0.0, larger = 0.0;
    HM_MODL_ask_vector_angle(d1, d0, &smaller, &larger);
    result->obstruction_angle = smaller * detail::kDegreesPerRadianAsUsed;
    result->angle_valid = 1;
    double meet[3];
    if (HM_VD_ask_two_line_intersect_point(s1, e1, s0, d0, meet) && meet[0] < w.P[0])
        result->obstruction_angle = -result->obstruction_angle;
    return APO_OK;
}

// Lines from both E points along their forward directions, first side 1.
void forward_lines(Work& w, double a, const double b[2], double length, apo_result_t* result) {
    for (int side = 1, slot = 0; slot < 2; --side, ++slot) {
        const EyePose eye = e_point(w.mode, w.P, side, a, b[side]);
        const double end[3] = {eye.e[0] + length * eye.forward[0], eye.e[1] + length * eye.forward[1],
                               eye.e[2] + length * eye.forward[2]};
        result->sight_lines[slot] = make_line(eye.e, end);
        store_angles(w, side, a, b[side]);
    }
}

// Analysis kind 1, limit source 0 or 1: aim at the limit point or the one
// point where the limit geometry crosses the section plane.
int limit_target(Work& w, const apo_input_t& in, apo_result_t* result) {
    result->angle_valid = 1;
    result->obstruction_angle = in.limit_angle;
    double normal[3] = {0.0, 0.0, 1.0};
    const double* through = w.P;
    if (w.mode != 0) {
        const double lateral[3] = {0.0, 1.0, 0.0};
        HM_VD_vec3_rotate(kUp, lateral, in.limit_angle <= kTiny ? kUpperTiltDeg : kLowerTiltDeg, normal);
        through = w.R;
    }
    double target[3];
    std::memcpy(target, in.limit_point, sizeof target);
    if (!detail::list_items(in.limit_geometry).empty()) {
        hm_list_p_t section = nullptr;
        int code = section_in_front(in.limit_geometry, through, normal, w.P, w.half_tol, &section);
        if (code) return code;
        const std::vector<tag_t> items = detail::list_items(section);
        HM_MODL_delete_list(&section);
        if (items.empty()) return APO_NO_INTERSECTION;
        if (items.size() > 1) return APO_MULTIPLE_LIMITS;
        if (!point_of(items[0], target)) return APO_MULTIPLE_LIMITS;
    }
    double a = 0.0, b = 0.0;
    int code = sight_angles(w.mode, w.P, target, w.side, true, &a, &b);
    if (code == APO_TOO_CLOSE) return code;
    spread_by_limit(w.mode, w.P, w.side, in.limit_angle, target, &a, &b);
    double rotations[2];
    rotations[w.side] = b;
    rotations[1 - w.side] = w.side == 0 ? b + std::fabs(in.limit_angle) : b - std::fabs(in.limit_angle);
    forward_lines(w, a, rotations, dist3(w.P, target), result);
    return code;
}

// Limit source 2: the given head and eye rotations.
int given_angles(Work& w, const apo_input_t& in, apo_result_t* result) {
    double rotations[2];
    rotations[w.side] = in.eye_rotation;
    rotations[1 - w.side] =
        w.side == 0 ? in.eye_rotation + std::fabs(in.limit_angle) : in.eye_rotation - std::fabs(in.limit_angle);
    const double length =
        in.sight_line_length > kTiny ? in.sight_line_length : kDefaultSightLineMm * length_factor();
    forward_lines(w, in.head_rotation, rotations, length, result);
    return APO_OK;
}

}  // namespace

}  // namespace carvell::vision

namespace {

using namespace carvell::vision;
using carvell::detail::list_items;

// The input as the analysis sees it: a copy of the caller's record with,
// under a vehicle csys, its points, eyellipse data and lists mapped into it.
struct Setup {
    apo_input_t in{};
    VD_eyellipse_param_t data{};
    bool has_data = false;
    bool mapped = false;
    hm_list_p_t copies = nullptr;   // the mapped copies, deleted at the end

    ~Setup() {
        for (hm_list_p_t* list : {&in.apillar_geometry, &in.limit_geometry, &in.additional_geometry})
            if (mapped && *list) HM_MODL_delete_list(list);
        if (copies) HM_VD_delete_obj_list(&copies);
    }
};

// Step 2: the eyellipse's data, allocated into the caller's record (an
// earlier call's block is freed first).
int read_eyellipse(apo_input_t* input, Setup& s) {
    if (input->eye_point_mode == 1) return APO_OK;
    if (HM_VD_APO_is_valid_eyellipse(input->eyellipse_name, input->rule_set, input->eye_point_mode))
        return APO_INVALID_EYELLIPSE;
    char* rule_string = nullptr;
    if (VD_ask_rule_string(input->eyellipse_name, &rule_string)) return APO_INVALID_EYELLIPSE;
    SM_free(input->eyellipse_data);
    input->eyellipse_data = static_cast<VD_eyellipse_param_t*>(SM_alloc(sizeof(VD_eyellipse_param_t)));
    s.in.eyellipse_data = input->eyellipse_data;
    const int code = VD_ask_eyellipse_data(rule_string, input->eyellipse_data);
    SM_free(rule_string);
    if (code) return APO_EYELLIPSE_DATA;
    s.data = *input->eyellipse_data;
    s.has_data = true;
    return APO_OK;
}

// Step 3: the vehicle csys applied to local copies; the caller's record
// keeps its own points and lists.
void apply_csys(Setup& s) {
    const apo_input_t& in = s.in;
    if (VD_csys_is_identity(in.csys_origin, in.csys_matrix)) return;
    s.mapped = true;
    if (s.has_data) VD_eyllipse_apply_vehicle_csys(&s.data, in.csys_origin, in.csys_matrix);
    double p[3];
    VD_map_point_abs2csys(in.user_eye_point, in.csys_origin, in.csys_matrix, p);
    std::memcpy(s.in.user_eye_point, p, sizeof p);
    VD_map_point_abs2csys(in.limit_point, in.csys_origin, in.csys_matrix, p);
    std::memcpy(s.in.limit_point, p, sizeof p);
    HM_MODL_create_list(&s.copies);
    for (hm_list_p_t* list : {&s.in.apillar_geometry, &s.in.limit_geometry, &s.in.additional_geometry}) {
        if (!*list) continue;
        hm_list_p_t copy = nullptr;
        VD_map_geom_abs2csys_list(*list, in.csys_origin, in.csys_matrix, &copy);
        if (!copy) HM_MODL_create_list(&copy);
        for (tag_t t : list_items(copy)) HM_MODL_put_list_item(s.copies, t);
        *list = copy;
    }
}

// Step 4: the input check, first failure wins.
int check_input(const Setup& s) {
    const apo_input_t& in = s.in;
    const VD_eyellipse_param_t* data = s.has_data ? &s.data : nullptr;
    if (in.analysis_kind == 1 && in.limit_source == 1 && !in.limit_geometry) return APO_NO_LIMIT_GEOMETRY;
    if (in.analysis_kind == 1 && in.limit_source == 0 && in.eye_point_mode == 2 &&
        !HM_VD_APO_is_valid_limit_point(in.rule_set, 2, const_cast<VD_eyellipse_param_t*>(data), in.percentile,
                                        in.user_eye_point, in.limit_point))
        return APO_INVALID_LIMIT_POINT;
    if (in.analysis_kind == 0 && !in.apillar_geometry) return APO_NO_APILLAR;
    if (in.analysis_kind == 0 &&
        !HM_VD_APO_is_valid_limit_geometry(in.rule_set, in.eye_point_mode, const_cast<VD_eyellipse_param_t*>(data),
                                           in.percentile, in.user_eye_point, in.apillar_geometry))
        return APO_INVALID_APILLAR;
    return APO_OK;
}

// Before anything is read or built: the numbers of the input that the
// chosen analysis reads, each finite and inside the model space: the
// vehicle csys, the user's eye point (eye-point mode 1), the limit angle
// (kind 1), the limit point (source 0) and the given angles and sight-line
// length (source 2).
int check_numbers(const apo_input_t& in) {
    using carvell::detail::in_model_space;
    using carvell::detail::model_point;
    if (!model_point(in.csys_origin) || !in_model_space(in.csys_matrix, 9)) return APO_INVALID_DATA;
    if (in.eye_point_mode == 1 && !model_point(in.user_eye_point)) return APO_INVALID_DATA;
    if (in.analysis_kind != 1) return APO_OK;
    if (!in_model_space({in.limit_angle})) return APO_INVALID_DATA;
    if (in.limit_source == 0 && !model_point(in.limit_point)) return APO_INVALID_LIMIT_POINT;
    if (in.limit_source == 2 && !in_model_space({in.head_rotation, in.eye_rotation, in.sight_line_length}))
        return APO_INVALID_DATA;
    return APO_OK;
}

// Step 9: R beside the pivot along (28, 67, 0).
bool reference_point(const Work& w, double R[3]) {
    if (!HM_ASSEM_ask_work_part()) return false;
    const double offset = (w.side == 1 ? kReferenceOffsetSide1Mm : kReferenceOffsetSide0Mm) * length_factor();
    const double t = offset / kReferenceDirection[1];
    R[0] = w.P[0] + t * kReferenceDirection[0];
    R[1] = w.P[1] + offset;
    R[2] = w.P[2];
    return true;
}

void write_normals(apo_result_t* result) {
    const double lateral[3] = {0.0, 1.0, 0.0};
    HM_VD_vec3_rotate(kUp, lateral, kLowerTiltDeg, result->lower_normal);
    HM_VD_vec3_rotate(kUp, lateral, kUpperTiltDeg, result->upper_normal);
}

int run_routine(Work& w, const Setup& s, apo_result_t* result) {
    const apo_input_t& in = s.in;
    if (in.analysis_kind == 0) {
        if (w.mode != 0) return pillar_tilted(w, in, result);
        return pillar_horizontal(w, in.apillar_geometry, result);
    }
    if (in.limit_source == 2) return given_angles(w, in, result);
    return limit_target(w, in, result);
}

// Step 13: the result's geometry and points back into absolute terms; the
// lines and sections made in the csys give way to their mapped copies.
void map_back(const Setup& s, apo_result_t* result) {
    const double* o = s.in.csys_origin;
    const double* m = s.in.csys_matrix;
    double p[3];
    for (double* point : {result->pivot_point, result->reference_point}) {
        VD_map_point_csys2abs(point, o, m, p);
        std::memcpy(point, p, sizeof p);
    }
    for (int i = 0; i < result->section_point_count; ++i) {
        VD_map_point_csys2abs(result->section_points[i], o, m, p);
        std::memcpy(result->section_points[i], p, sizeof p);
    }
    for (double* normal : {result->lower_normal, result->upper_normal}) {
        VD_map_vector_csys2abs(normal, m, p);
        std::memcpy(normal, p, sizeof p);
    }
    for (tag_t& line : result->sight_lines) {
        if (!line) continue;
        tag_t mapped = 0;
        VD_map_geom_csys2abs(line, o, m, &mapped);
        carvell::detail::delete_if_alive(line);
        line = mapped;
    }
    if (result->section_curves) {
        hm_list_p_t mapped = nullptr;
        VD_map_geom_csys2abs_list(result->section_curves, o, m, &mapped);
        for (tag_t t : list_items(result->section_curves)) carvell::detail::delete_if_alive(t);
        HM_MODL_delete_list(&result->section_curves);
        result->section_curves = mapped;
    }
}

}  // namespace

int HM_VD_APO_main(apo_input_t* input, apo_result_t* result) {
    if (!input || !result) return -1;
    (void)mtStatusArea("Calculating Pillar Obstruction Angle...");
    Setup s;
    s.in = *input;
    Work w;
    apo_prepare_work(w);
    w.mode = analysis_mode(input->rule_set);
    HM_MODL_ask_distance_tolerance(&w.tol);
    w.half_tol = w.tol / 2.0;
    int status = check_numbers(*input);
    if (!status) status = read_eyellipse(input, s);
    if (status) {
        result->status = status;
        return status;
    }
    apply_csys(s);
    apo_input_t& in = s.in;
    PivotInput pivot_in{in.rule_set, in.eye_point_mode, s.has_data ? &s.data : nullptr, in.user_eye_point};
    status = check_input(s);
    if (!status) {
        if (in.analysis_kind == 0) in.limit_source = 1;
        hm_list_p_t targets = in.analysis_kind == 0 ? in.apillar_geometry : in.limit_geometry;
        pivot_in.percentile = in.percentile;
        pivot_in.targets = targets;
        pivot_in.target_point = in.limit_source == 0 ? in.limit_point : nullptr;
        if (in.limit_source == 2) w.side = in.side ? 1 : 0;
        else status = find_side(pivot_in, in.limit_source, targets, in.limit_point, &w.side);
        result->side = static_cast<unsigned char>(w.side);
        if (!status) status = find_pivot(pivot_in, w.side, w.P);
        if (!status) {
            std::memcpy(result->pivot_point, w.P, sizeof w.P);
            if (in.eye_point_mode != 2) in.limit_point[2] = w.P[2];
            const bool has_r = reference_point(w, w.R);
            status = run_routine(w, s, result);
            if (status >= 0) {
                std::memcpy(result->rotation, w.rot, sizeof w.rot);
                if (has_r) std::memcpy(result->reference_point, w.R, sizeof w.R);
                write_normals(result);
            }
        }
    }
    result->status = status;
    if (in.analysis_kind == 1) {
        result->angle_valid = 1;
        result->obstruction_angle = std::fabs(in.limit_angle);
    }
    if (s.mapped) map_back(s, result);
    return status;
}
