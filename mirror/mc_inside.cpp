// The inside-mirror analysis through the backlite: the mirror plane and the
// centering plane across the backlite, the mirror optionally turned until
// the backlite's centre and the vision field's centre coincide in plan and
// side view, the eyes mirrored through the mirror plane (virtual eyes),
// mirror and backlite projected from them onto the centering plane, and the
// restrict angles, ambinocular field, closest visible ground point, horizon,
// up and down angles measured and drawn.
#include "mirror_flow.h"
#include "mirror_helpers.h"
#include "mirror_optics.h"
#include "mirror_record.h"

#include "hm_vd/objects.h"
#include "hm_vd/vectors.h"
#include "farquil.h"
#include "omvra.h"
#include "quillon.h"
#include "toolbox/detail/owners.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace carvell::mirror {

double inside_search_score(double plane_error, double side_distance, double side_error) {
    auto f = [](double x) { return x >= 1.0 ? x - 1.0 : 0.0; };
    // The side error is scored from three tolerances on, less one (not three).
    auto g = [](double y) { return y >= 3.0 ? y - 1.0 : 0.0; };
    return f(plane_error) + f(side_distance) + g(side_error);
}

namespace {

using detail::HostList;

constexpr double kDegrees = kDegreesPerRadian;
constexpr int kSearchIterations = 50;
constexpr int kCopyObjects = 2;
constexpr int kWorkLayer = 0;
constexpr int kNoTraceCurves = 2;
constexpr double kHalfTurn = 3.14159265358979323846;
// Colours of the working record, by what takes them.
enum Colour { kMirrorColour = 0, kLeftColour = 1, kRightColour = 2, kTriangleColour = 3, kLineColour = 4 };

enum InsideCode { kInsideDone = 0, kMirrorElements = 2, kBackliteElements = 3, kNoBestPlane = 4, kVisionFailed = 5 };
enum VisionCode { kSearchFailed = 1, kProjectionFailed = 2, kEnvelopeFailed = 3, kLowPointFailed = 4,
                  kGroundFailed = 5, kTriangleFailed = 6 };

const char* const kBacklitePlaneText =
    "The program failed to find the best plane through the input \nsheet of the backlite when attempting to create "
    "a centering plane.";
const char* const kMirrorPlaneText =
    "The program failed to find the best plane through the input \nsheet of the mirror when attempting to create a "
    "mirror plane.";
const char* const kSearchText =
    "The program failed to rotate the mirror plane object when \nattempting to find the rotation that will make the "
    "\ncenter of the backlite and of the vision field coincide. \nIt may be caused by improper initial mirror "
    "position.";
const char* const kVisionText = "The program failed to analyze the inside mirror data.";

void copy3(double out[3], const double in[3]) { std::memcpy(out, in, 3 * sizeof(double)); }
double plan_of(const double from[3], const double to[3]) { return std::atan2(to[1] - from[1], to[0] - from[0]); }
double side_of(const double from[3], const double to[3]) { return std::atan2(to[2] - from[2], to[0] - from[0]); }

tag_t make_line(const double from[3], const double to[3]) {
    HM_CURVE_line_t data;
    copy3(data.start_point, from);
    copy3(data.end_point, to);
    tag_t line = NULL_TAG;
    return HM_CURVE_create_line(&data, &line) == 0 ? line : NULL_TAG;
}

// Where the line through p along direction (or towards q) meets the plane.
bool meet(const double p[3], const double q[3], const double origin[3], const double normal[3], double out[3]) {
    const double direction[3] = {q[0] - p[0], q[1] - p[1], q[2] - p[2]};
    return HM_VD_ask_intersect_point_of_plane_and_line(p, direction, origin, normal, out) == 0;
}

bool extreme(tag_t sheet, const double directions[3][3], double point[3]) {
    tag_t sub = NULL_TAG, face = NULL_TAG;
    return mc_extreme_point(sheet, directions, &sub, &face, point) == 0;
}

// Elements of a sheet, released when the holder goes.
struct Elements {
    mc_geometry_set_s set{};
    ~Elements() { mc_free_geometry_set(&set); }
};

// The outline of the set seen from the eye on the plane, as a bounded plane
// (named and listed when a name is given); 0 on failure.
tag_t projected_sheet(const double eye[3], const mc_geometry_set_s& set, tag_t plane, double tolerance,
                      const char* name, int colour, hm_list_p_t list) {
    int count = 0;
    tag_t* curves = nullptr;
    if (mc_project_outline_to_plane(eye, &set, plane, tolerance, &count, &curves) != 0 || count < 1) {
        SM_free(curves);
        return NULL_TAG;
    }
    tag_t sheet = NULL_TAG;
    const int status = mc_bounded_plane(count, curves, name, colour, name ? list : nullptr, &sheet);
    for (int i = 0; i < count; ++i) detail::delete_if_alive(curves[i]);
    SM_free(curves);
    return status == 0 ? sheet : NULL_TAG;
}

// The lowest and highest ends of the curves where the vertical plane through
// the eye (normal along y) cuts the sheet. 1 the cut failed or (unless
// pieces are allowed, as for a backlite of several faces) is not one curve;
// 2 the cut is not a curve.
int vertical_cut(tag_t sheet, tag_t plane, double tolerance, double low[3], double high[3],
                 bool pieces_allowed = false) {
    int count = 0;
    HM_MODL_intersection_t** hits = nullptr;
    if (HM_MODL_intersect_objects(plane, sheet, tolerance, &count, &hits) != 0 || count < 1 ||
        (count != 1 && !pieces_allowed)) {
        detail::discard_intersection_entries(count, hits);
        return 1;
    }
    bool first = true;
    for (int h = 0; h < count; ++h) {
        if (hits[h]->kind != HM_INTERSECTION_CURVE) continue;
        for (double at : {0.0, 1.0}) {
            double p[3], tangent[3], normal[3], binormal[3], torsion = 0, radius = 0;
            if (HM_MODL_ask_curve_props(hits[h]->curve, at, p, tangent, normal, binormal, &torsion, &radius) != 0)
                continue;
            if (first || p[2] < low[2]) copy3(low, p);
            if (first || p[2] > high[2]) copy3(high, p);
            first = false;
        }
    }
    detail::discard_intersection_entries(count, hits);
    return first ? 2 : 0;
}

tag_t vertical_plane(const double through[3]) {
    const double normal[3] = {0, 1, 0};
    tag_t plane = NULL_TAG;
    return HM_MODL_create_plane(through, normal, &plane) == 0 ? plane : NULL_TAG;
}

/* ---- one placement of the mirror ---- */

struct Placement {
    tag_t sheet = NULL_TAG;   // the mirror sheet as placed
    tag_t plane = NULL_TAG;   // the mirror plane as placed
    double turned[3][3]{};
    double virtual_eyes[3][3]{};
    double head = 0.0;
    double outboard_view = 0.0;
    double plan = 0.0;
    double side = 0.0;
    void discard() {
        detail::delete_if_alive(sheet);
        detail::delete_if_alive(plane);
        sheet = plane = NULL_TAG;
    }
};

struct Inside {
    mc_data_s* d = nullptr;
    mc_inside_result_s* r = nullptr;
    Elements backlite;
    tag_t centering = NULL_TAG;
    tag_t mirror_plane = NULL_TAG;
    double centre[3]{};        // centering-plane origin
    double eyes[3][3]{};       // left, mid, right eye
    std::vector<tag_t> scratch;
    ~Inside() { delete_alive(scratch); }
};

// Turns eyes and head towards the placed mirror's outboard edge and mirrors
// the turned eyes through the placed plane. false when either fails.
bool eyes_for(Inside& in, Placement* p) {
    mc_data_s* d = in.d;
    const tag_t kept = d->mirror;
    d->mirror = p->sheet;
    const int turned = mc_ask_mirror_view_angles(d, in.eyes, in.r->pivot, p->turned, &p->outboard_view, &p->head);
    d->mirror = kept;
    if (turned != 0) return false;
    double reflection[12];
    if (hm5946(p->plane, reflection) != 0) return false;
    for (int i = 0; i < 3; ++i) {
        copy3(p->virtual_eyes[i], p->turned[i]);
        if (hm5941(p->virtual_eyes[i], reflection) != 0) return false;
    }
    return true;
}

bool copy_through(const double matrix[12], tag_t object, tag_t* copy) {
    int status = 0;
    return hm5947(matrix, &object, 1, kCopyObjects, kWorkLayer, kNoTraceCurves, copy, nullptr, &status) == 0 &&
           status == 0 && *copy != NULL_TAG;
}

int virtual_eyes(Inside& in, Placement* p) {
    const double identity[12] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0};
    if (!copy_through(identity, in.d->mirror, &p->sheet) || !copy_through(identity, in.mirror_plane, &p->plane) ||
        !eyes_for(in, p)) {
        p->discard();
        return -1;
    }
    return 0;
}

// Errors of one placement against its target.
struct Errors {
    double plane = 0.0;       // degrees
    double side_distance = 0.0;
    double side = 0.0;        // degrees
};

int measure(Inside& in, const Placement& p, const double weights[2], const double horizon[3],
            const double target[3], Errors* e) {
    mc_data_s* d = in.d;
    const double* eye = p.virtual_eyes[1];
    Elements mirror;
    if (mc_sheet_elements(p.sheet, nullptr, 0, d->third_tolerance, &mirror.set) != 0)
        return log_failure("Fail to project the mirror on to the centering plane. \n", 6);
    std::vector<tag_t> temporaries;
    struct Cleanup {
        std::vector<tag_t>& t;
        ~Cleanup() { delete_alive(t); }
    } cleanup{temporaries};
    const tag_t seen_mirror = projected_sheet(eye, mirror.set, in.centering, d->distance_tolerance, nullptr, 0, nullptr);
    if (seen_mirror == NULL_TAG) return log_failure("Fail to project the mirror on to the centering plane. \n", 6);
    temporaries.push_back(seen_mirror);
    const tag_t seen_backlite =
        projected_sheet(eye, in.backlite.set, in.centering, d->distance_tolerance, nullptr, 0, nullptr);
    if (seen_backlite == NULL_TAG)
        return log_failure("Fail to project the backlite curves to the centering plane. \n", 7);
    temporaries.push_back(seen_backlite);

    const double right[3][3] = {{0, 1, 0}, {1, 0, 0}, {0, 0, 1}};
    const double left[3][3] = {{0, -1, 0}, {-1, 0, 0}, {0, 0, -1}};
    double centres[2][3];
    const tag_t sheets[2] = {seen_mirror, seen_backlite};
    for (int i = 0; i < 2; ++i) {
        double a[3], b[3];
        if (!extreme(sheets[i], right, a) || !extreme(sheets[i], left, b))
            return log_failure("Fail to find the maximum point for projected mirror. \n", 8);
        for (int k = 0; k < 3; ++k) centres[i][k] = 0.5 * (a[k] + b[k]);
    }
    e->plane = (plan_of(eye, centres[1]) - plan_of(eye, centres[0])) * kDegrees;
    e->side_distance = (centres[0][1] - eye[1]) - (centres[1][1] - eye[1]);

    const tag_t cut = vertical_plane(eye);
    if (cut == NULL_TAG) return log_failure("Fail to create a mid eye plane. \n", 9);
    temporaries.push_back(cut);
    double mirror_low[3], mirror_high[3], back_low[3], back_high[3];
    const int cut_mirror = vertical_cut(seen_mirror, cut, d->distance_tolerance, mirror_low, mirror_high);
    if (cut_mirror == 1) {
        add_warning(d, kWarnNoMidEyeIntersect);
        return log_failure("Fail to get the intersection of mid eye plane and the projected mirror. \n", 9);
    }
    if (cut_mirror != 0) return log_failure("intersection is not the expected line. \n", 9);
    if (vertical_cut(seen_backlite, cut, d->distance_tolerance, back_low, back_high) != 0)
        return log_failure("intersection is not the expected curve. \n", 9);
    // The visible segment: the overlap of the two.
    const double* top = mirror_high[2] <= back_high[2] ? mirror_high : back_high;
    const double* bottom = mirror_low[2] >= back_low[2] ? mirror_low : back_low;
    const double origin[3] = {0, 0, 0};
    const double aim = weights[0] * side_of(origin, horizon) + weights[1] * side_of(eye, target);
    const double seen = weights[0] * side_of(eye, top) + weights[1] * side_of(eye, bottom);
    e->side = (aim - seen) * kDegrees;
    return 0;
}

// The placement by the plan and side angles: rotated copies of the mirror
// sheet and plane, the eyes turned and mirrored.
int place(Inside& in, double plan, double side, Placement* p) {
    const double* pivot = in.d->mirror_reference_point;
    const double y[3] = {0, 1, 0}, z[3] = {0, 0, 1};
    double ry[12], rz[12], m[12];
    if (hm5945(pivot, y, side, ry) != 0)
        return stage_failure(in.d, "Fail to determine the side view rotation matrix. \n", kSearchText, 1);
    if (hm5945(pivot, z, plan, rz) != 0)
        return stage_failure(in.d, "Fail to determine the plan view rotation matrix. \n", kSearchText, 2);
    (void)hm5942(ry, rz, m);
    p->plan = plan;
    p->side = side;
    if (!copy_through(m, in.d->mirror, &p->sheet) || !copy_through(m, in.mirror_plane, &p->plane)) {
        p->discard();
        return stage_failure(in.d, "Fail to rotate the mirror plane object. \n", kSearchText, 3);
    }
    if (!eyes_for(in, p)) {
        p->discard();
        return stage_failure(in.d, "Fail to turn eyes to see outboard edge of mirror. \n", kSearchText, 4);
    }
    return 0;
}

int rotation_search(Inside& in, double* plan, double* side, const double weights[2], const double horizon[3],
                    const double target[3], Placement* result) {
    mc_data_s* d = in.d;
    trace("+++find the rotation that will make the center of the backlite and of the vision field coincide. \n");
    Placement best;
    double min_score = 0.0, previous_head = 0.0;
    int best_iteration = 0;
    Errors e;
    for (int i = 0; i < kSearchIterations; ++i) {
        *side -= 0.5 * e.side;
        *plan += 0.5 * e.plane;
        trace("\n +++iteration %d, plan_vw_angle =%f, side_vw_angle = %f\n", i, *plan, *side);
        Placement p;
        if (int status = place(in, *plan, *side, &p)) {
            best.discard();
            return status;
        }
        const double head_error = previous_head - p.head;
        previous_head = p.head;
        if (int status = measure(in, p, weights, horizon, target, &e)) {
            p.discard();
            best.discard();
            std::snprintf(d->error_text, sizeof d->error_text, "%s", kSearchText);
            return status;
        }
        trace("\n +++iteration %d, plane error =%f, side_dist = %f, side_er = %f, head_err = %f", i, e.plane,
              e.side_distance, e.side, head_error);
        const double atol = d->angle_tolerance, dtol = d->distance_tolerance;
        if (std::fabs(e.plane) < atol && std::fabs(e.side_distance) < dtol && std::fabs(e.side) < atol &&
            std::fabs(head_error) < atol) {
            best.discard();
            *result = p;
            return 0;
        }
        const double score = inside_search_score(std::fabs(e.plane) / atol, std::fabs(e.side_distance) / dtol,
                                                 std::fabs(e.side) / atol);
        trace("\n +++iteration %d, factor_sum =%f, min_factor_sum = %f", i, score, min_score);
        if (i == 0 || score < min_score) {
            best.discard();
            best = p;
            min_score = score;
            best_iteration = i;
        } else {
            p.discard();
        }
    }
    trace("\n +++max iteration %d executed, take the result of No.%d iteration", kSearchIterations, best_iteration);
    *result = best;
    return 0;
}

/* ---- the vision analysis of one placement ---- */

struct Target {
    const char* prefix;   // "U_" or "D_"
    int blank;
    bool upper;
};

std::string named(const Target& t, const char* name) { return std::string(t.prefix) + name; }

int line(Inside& in, const Target& t, const double a[3], const double b[3], const char* name, int colour) {
    tag_t made = NULL_TAG;
    if (mc_create_named_line(a, b, named(t, name).c_str(), in.d->colours[colour], in.r->result_objects, &made) != 0)
        return 1;
    if (t.blank) (void)HM_OBJ_set_blank_status(made, true);
    return 0;
}

int polyline(Inside& in, const Target& t, const double (*points)[3], int n, const char* name, int colour) {
    tag_t curve = NULL_TAG;
    if (mc_create_joined_polyline(points, n, &curve) != 0) return 1;
    return mc_set_object_attributes(curve, named(t, name).c_str(), in.d->colours[colour], t.blank,
                                    in.r->result_objects) == 0
               ? 0
               : 1;
}

// The extreme point of the common region of two sheets, the part left as it was.
bool common_extreme(tag_t a, tag_t b, const double directions[3][3], double point[3]) {
    int mark = 0;
    if (HM_UNDO_set_mark(UNDO_invisible, "ambinocular", &mark) != 0) return false;
    const bool found = HM_MODL_operations(a, b, 3) == 0 && extreme(a, directions, point);
    (void)HM_UNDO_undo_to_last_mark();
    return found;
}

struct Views {
    tag_t mirror[3] = {NULL_TAG, NULL_TAG, NULL_TAG};     // by virtual eye: left, mid, right
    tag_t backlite[3] = {NULL_TAG, NULL_TAG, NULL_TAG};
};

int project_views(Inside& in, const Target& t, const Placement& p, Views* v) {
    mc_data_s* d = in.d;
    Elements mirror;
    if (mc_sheet_elements(p.sheet, nullptr, 0, d->third_tolerance, &mirror.set) != 0) return kProjectionFailed;
    const char* const mirror_names[3] = {"LFT_MIR_PLN", nullptr, "RHT_MIR_PLN"};
    const char* const backlite_names[3] = {"LFT_BCK_PLN", nullptr, "RHT_BCK_PLN"};
    const int colours[3] = {d->colours[kLeftColour], 0, d->colours[kRightColour]};
    for (int e = 0; e < 3; ++e) {
        const std::string mn = mirror_names[e] ? named(t, mirror_names[e]) : "";
        const std::string bn = backlite_names[e] ? named(t, backlite_names[e]) : "";
        v->mirror[e] = projected_sheet(p.virtual_eyes[e], mirror.set, in.centering, d->distance_tolerance,
                                       mirror_names[e] ? mn.c_str() : nullptr, colours[e], in.r->result_objects);
        v->backlite[e] = projected_sheet(p.virtual_eyes[e], in.backlite.set, in.centering, d->distance_tolerance,
                                         backlite_names[e] ? bn.c_str() : nullptr, colours[e], in.r->result_objects);
        if (v->mirror[e] == NULL_TAG || v->backlite[e] == NULL_TAG) return kProjectionFailed;
        if (e == 1) {
            in.scratch.push_back(v->mirror[e]);
            in.scratch.push_back(v->backlite[e]);
        } else if (t.blank) {
            (void)HM_OBJ_set_blank_status(v->mirror[e], true);
            (void)HM_OBJ_set_blank_status(v->backlite[e], true);
        }
    }
    return 0;
}

struct Lateral {
    double centre_left[3], centre_right[3];   // triangle's lateral vertices on the centering plane
    double mirror_left[3], mirror_right[3];   // and on the placed mirror plane
};

int envelopes(Inside& in, const Target& t, const Placement& p, const Views& v, mc_inside_target_s* out,
              Lateral* lat) {
    const double minus_y[3][3] = {{0, -1, 0}, {1, 0, 0}, {0, 0, 1}};
    const double plus_y[3][3] = {{0, 1, 0}, {1, 0, 0}, {0, 0, 1}};
    const double* left_eye = p.virtual_eyes[0];
    const double* right_eye = p.virtual_eyes[2];
    double a[3], b[3];
    // Mirror and backlite envelope lines.
    const tag_t* pairs[2] = {v.mirror, v.backlite};
    const char* const names[2][2] = {{"LFT_MIRR", "RHT_MIRR"}, {"LFT_BACK", "RHT_BACK"}};
    double angles[2];
    for (int k = 0; k < 2; ++k) {
        if (!extreme(pairs[k][2], minus_y, a) || !extreme(pairs[k][0], plus_y, b)) return kEnvelopeFailed;
        if (line(in, t, right_eye, a, names[k][0], kLineColour) || line(in, t, left_eye, b, names[k][1], kLineColour))
            return kEnvelopeFailed;
        angles[k] = (plan_of(left_eye, b) - plan_of(right_eye, a)) * kDegrees;
    }
    out->mirror_restrict_angle = angles[0];
    out->backlite_restrict_angle = angles[1];
    // The ambinocular rays: what each outer eye sees through mirror and backlite both.
    if (!common_extreme(v.mirror[2], v.backlite[2], minus_y, a) ||
        !common_extreme(v.mirror[0], v.backlite[0], plus_y, b))
        return kEnvelopeFailed;
    if (line(in, t, right_eye, a, "LFT_AMB", kLineColour) || line(in, t, left_eye, b, "RHT_AMB", kLineColour))
        return kEnvelopeFailed;
    out->ambinocular_angle = (plan_of(left_eye, b) - plan_of(right_eye, a)) * kDegrees;
    out->ambinocular_angle_checked = out->ambinocular_angle;
    const double reach = in.r->standard_ground_point[0] - in.d->mid_eye_point[0];
    out->field_width = 2.0 * std::tan(0.5 * out->ambinocular_angle / kDegrees) * reach;
    copy3(lat->centre_right, a);
    copy3(lat->centre_left, b);
    double o[3], n[3];
    if (HM_MODL_ask_plane(p.plane, o, n) != 0 || !meet(right_eye, a, o, n, lat->mirror_right) ||
        !meet(left_eye, b, o, n, lat->mirror_left))
        return kEnvelopeFailed;
    return 0;
}

void check_field(Inside& in, const mc_inside_target_s& out) {
    mc_data_s* d = in.d;
    trace("+++check the viewable range against the desired value \n");
    const bool ellipse = d->eye_method == 0;
    if (d->user_override) {
        if (ellipse && out.ambinocular_angle_checked < d->user_angle[0]) add_warning(d, kWarnUserAngle);
        if (!ellipse && out.field_width < d->user_width[0]) add_warning(d, kWarnUserWidth);
        return;
    }
    if (ellipse && out.ambinocular_angle_checked < d->standard_angle[0]) add_warning(d, kWarnStdAngle);
    if (!ellipse && out.field_width < d->standard_width[0]) add_warning(d, kWarnStdWidth);
}

struct Sight {
    double horizon_point[3];    // at the backlite
    double horizon_pierce[3];   // on the mirror
};

int ground_and_horizon(Inside& in, const Target& t, const Placement& p, const Views& v, mc_inside_target_s* out,
                       Sight* s) {
    mc_data_s* d = in.d;
    const double* eye = p.virtual_eyes[1];
    const tag_t cut = vertical_plane(eye);
    if (cut == NULL_TAG) return kLowPointFailed;
    in.scratch.push_back(cut);
    // The lowest visible point: the common region of the mid eye's views cut.
    double low[3], high[3];
    int mark = 0;
    if (HM_UNDO_set_mark(UNDO_invisible, "low_vision", &mark) != 0) return kLowPointFailed;
    bool found = false;
    if (HM_MODL_operations(v.mirror[1], v.backlite[1], 3) == 0) {
        HostList faces;
        found = HM_MODL_ask_body_faces(v.mirror[1], faces.out()) == 0 && faces.items().size() == 1 &&
                vertical_cut(v.mirror[1], cut, d->distance_tolerance, low, high) == 0;
    }
    (void)HM_UNDO_undo_to_last_mark();
    if (!found) return log_failure("Fail to find the lowest visible point. \n", kLowPointFailed);
    double back_low[3], back_high[3];
    if (vertical_cut(d->backlite_sheet, cut, d->distance_tolerance, back_low, back_high, true) != 0)
        return log_failure("Fail to cut the backlite at the mid eye. \n", kLowPointFailed);

    const double ground_z = d->ground_point[2];
    // A sight line that does not descend never meets the ground.
    if (!(low[2] < eye[2]) || !(ground_z < eye[2]))
        return log_failure("The lowest sight line does not reach the ground. \n", kGroundFailed);
    const double k = (ground_z - eye[2]) / (low[2] - eye[2]);
    double* g = out->closest_ground_point;
    for (int i = 0; i < 3; ++i) g[i] = eye[i] + k * (low[i] - eye[i]);
    out->ground_distance = g[0] - d->mid_eye_point[0];
    if (line(in, t, eye, g, "GROUND", kLineColour)) return kGroundFailed;

    double o[3], n[3];
    if (HM_MODL_ask_plane(p.plane, o, n) != 0) return kGroundFailed;
    const double horizon_point[3] = {in.centre[0], eye[1], eye[2]};
    double pierce[3];
    if (!meet(eye, horizon_point, o, n, pierce)) return kGroundFailed;
    const double horizon[3][3] = {{eye[0], eye[1], eye[2]}, {pierce[0], pierce[1], pierce[2]},
                                  {horizon_point[0], horizon_point[1], horizon_point[2]}};
    if (polyline(in, t, horizon, 3, "HORIZON", kLineColour)) return kGroundFailed;
    out->up_angle = side_of(pierce, back_high) * kDegrees;
    if (line(in, t, pierce, back_high, "UP_LINE", kLineColour)) return kGroundFailed;
    copy3(s->horizon_point, horizon_point);
    copy3(s->horizon_pierce, pierce);

    const double ground_target[3] = {in.r->standard_ground_point[0], eye[1], ground_z};
    double ground_pierce[3];
    if (!meet(eye, ground_target, o, n, ground_pierce)) return kGroundFailed;
    const double ground[3][3] = {{eye[0], eye[1], eye[2]},
                                 {ground_pierce[0], ground_pierce[1], ground_pierce[2]},
                                 {ground_target[0], ground_target[1], ground_target[2]}};
    if (polyline(in, t, ground, 3, "GRND_INT", kLineColour)) return kGroundFailed;
    out->down_angle = (side_of(eye, g) - side_of(ground_pierce, back_low)) * kDegrees;
    if (line(in, t, ground_pierce, back_low, "DWN_LINE", kLineColour)) return kGroundFailed;
    return 0;
}

int triangle(Inside& in, const double (*corners)[3], const char* name) {
    std::vector<tag_t> lines;
    for (int i = 0; i < 3; ++i) {
        const tag_t l = make_line(corners[i], corners[(i + 1) % 3]);
        if (l == NULL_TAG) {
            delete_alive(lines);
            return kTriangleFailed;
        }
        lines.push_back(l);
    }
    tag_t sheet = NULL_TAG;
    const int status = mc_bounded_plane(3, lines.data(), name, in.d->colours[kTriangleColour], in.r->result_objects,
                                        &sheet);
    delete_alive(lines);
    return status == 0 ? 0 : kTriangleFailed;
}

int vision_triangles(Inside& in, const Placement& p, const Sight& s, Lateral lat) {
    mc_data_s* d = in.d;
    if (d->eye_method == 1) {
        trace("+++revise vision triangle vertices for ocular method \n");
        const double half = 0.5 * (d->user_override ? d->user_width[0] : d->standard_width[0]);
        const double* eye = p.virtual_eyes[1];
        double co[3], cn[3], mo[3], mn[3];
        if (HM_MODL_ask_plane(in.centering, co, cn) != 0 || HM_MODL_ask_plane(p.plane, mo, mn) != 0)
            return kTriangleFailed;
        const double* g = in.r->standard_ground_point;
        const double left[3] = {g[0], g[1] - half, d->ground_point[2]};
        const double right[3] = {g[0], g[1] + half, d->ground_point[2]};
        if (!meet(eye, left, co, cn, lat.centre_left) || !meet(eye, right, co, cn, lat.centre_right) ||
            !meet(eye, left, mo, mn, lat.mirror_left) || !meet(eye, right, mo, mn, lat.mirror_right))
            return kTriangleFailed;
    }
    const double centre[3][3] = {{s.horizon_point[0], s.horizon_point[1], s.horizon_point[2]},
                                 {lat.centre_left[0], lat.centre_left[1], lat.centre_left[2]},
                                 {lat.centre_right[0], lat.centre_right[1], lat.centre_right[2]}};
    const double mirror[3][3] = {{s.horizon_pierce[0], s.horizon_pierce[1], s.horizon_pierce[2]},
                                 {lat.mirror_left[0], lat.mirror_left[1], lat.mirror_left[2]},
                                 {lat.mirror_right[0], lat.mirror_right[1], lat.mirror_right[2]}};
    if (int status = triangle(in, centre, "U_CTR_TRNGL")) return status;
    return triangle(in, mirror, "U_MIR_TRNGL");
}

int analyse_target(Inside& in, const Target& t, const Placement& p, mc_inside_target_s* out) {
    mc_data_s* d = in.d;
    out->head_rotation = p.head;
    out->outboard_view_angle = p.outboard_view;
    out->plan_view_angle = p.plan;
    out->side_view_angle = p.side;
    double o[3], n[3];
    if (HM_MODL_ask_plane(p.plane, o, n) != 0) return kProjectionFailed;
    out->eye_to_mirror_angle = plan_of(o, in.eyes[1]) * kDegrees;
    if (mc_set_object_attributes(p.sheet, named(t, "ROTMIRR").c_str(), d->colours[kMirrorColour], 0,
                                 in.r->result_objects) != 0 ||
        line(in, t, p.turned[0], p.turned[2], "ROT_EYES", kLineColour) ||
        line(in, t, p.turned[1], in.r->pivot, "ROT_HEAD_PVT", kLineColour) ||
        line(in, t, p.turned[1], o, "ANGLE_VIEW", kLineColour) ||
        polyline(in, t, p.virtual_eyes, 3, "VRT_EYES", kLineColour))
        return kProjectionFailed;
    Views v;
    if (int status = project_views(in, t, p, &v)) return status;
    Lateral lat{};
    if (int status = envelopes(in, t, p, v, out, &lat)) return status;
    if (t.upper) check_field(in, *out);
    Sight s{};
    if (int status = ground_and_horizon(in, t, p, v, out, &s)) return status;
    delete_alive({v.mirror[1], v.backlite[1]});
    if (!t.upper) return 0;
    return vision_triangles(in, p, s, lat);
}

void initial_angles(const Inside& in, double* plan, double* side) {
    const double* pivot = in.d->mirror_reference_point;
    const double v[3] = {in.eyes[1][0] - pivot[0], in.eyes[1][1] - pivot[1], in.eyes[1][2] - pivot[2]};
    const double x[3] = {1, 0, 0}, z[3] = {0, 0, 1}, y[3] = {0, 1, 0};
    const double plan_v[3] = {v[0], v[1], 0}, side_v[3] = {v[0], 0, v[2]};
    double a = 0.0, b = 0.0;
    (void)HM_VEC3_angle_between(x, plan_v, z, &a);
    (void)HM_VEC3_angle_between(x, side_v, y, &b);
    *plan = a * 90.0 / kHalfTurn;
    if (*plan > 90.0) *plan -= 180.0;
    *side = b * 90.0 / kHalfTurn;
    if (*side > 90.0) *side -= 180.0;
    double o[3], n[3];
    if (HM_MODL_ask_plane(in.mirror_plane, o, n) == 0) {
        *side += std::asin(std::fmax(-1.0, std::fmin(1.0, n[2]))) * kDegrees;
        *plan -= std::asin(std::fmax(-1.0, std::fmin(1.0, n[1]))) * kDegrees;
    }
    trace("+++set the intial plan_vw_angle %f, side_vw_angle %f \n", *plan, *side);
}

int backlite_outline_sheet(Inside& in) {
    HM_CURVE_proj_curves_data_t data;
    (void)HM_CURVE_init_proj_curves_data(&data);
    data.join = 1;
    tag_t group = NULL_TAG;
    if (HM_CURVE_create_proj_curves(1, &in.backlite.set.outline, 1, &in.centering, 1, &data, &group) != 0)
        return kProjectionFailed;
    tag_t* members = nullptr;
    int count = 0;
    const int asked = HM_GROUP_ask_group_data(group, &members, &count);
    detail::SmBlock<tag_t> owned(members);
    (void)HM_GROUP_ungroup_top(group);
    tag_t sheet = NULL_TAG;
    const int status = asked == 0 && count > 0
                           ? mc_bounded_plane(count, members, "BACKLITE", in.d->colours[kMirrorColour],
                                              in.r->result_objects, &sheet)
                           : 1;
    for (int i = 0; i < count; ++i) detail::delete_if_alive(members[i]);
    return status == 0 ? 0 : kProjectionFailed;
}

int vision_analysis(Inside& in) {
    mc_data_s* d = in.d;
    mc_inside_result_s* r = in.r;
    if (backlite_outline_sheet(in) != 0) return kProjectionFailed;
    tag_t made = NULL_TAG;
    if (mc_create_named_line(r->left_eye, r->right_eye, "EYES", d->colours[kLineColour], r->result_objects,
                             &made) != 0 ||
        mc_create_named_line(r->mid_eye, r->pivot, "HEADPVT", d->colours[kLineColour], r->result_objects, &made) != 0)
        return kProjectionFailed;

    const double horizon[3] = {1, 0, 0};
    double plan = 0.0, side = 0.0;
    initial_angles(in, &plan, &side);
    const int targets = d->positioning ? 2 : 1;
    for (int k = 0; k < targets; ++k) {
        const Target t = k == 0 ? Target{"U_", 0, true} : Target{"D_", 1, false};
        const double weights[2] = {k == 0 ? 1.0 : 0.0, k == 0 ? 0.0 : 1.0};
        Placement p;
        const int status = d->positioning
                               ? rotation_search(in, &plan, &side, weights, horizon, r->standard_ground_point, &p)
                               : virtual_eyes(in, &p);
        if (status != 0 || p.sheet == NULL_TAG) {
            log_failure(k == 0 ? "Fail to center the inside mirror in both the plan and left side views, uch that "
                                 "the driver sees the horizon through the upper edge of the mirror.\n"
                               : "Fail to center the inside mirror in both the plan and left side views, such that "
                                 "the driver sees the target point through the lower edge of the mirror.\n",
                        kSearchFailed);
            return kSearchFailed;
        }
        plan = p.plan;
        side = p.side;
        mc_inside_target_s* out = k == 0 ? r->upper : r->lower;
        const int analysed = analyse_target(in, t, p, out);
        detail::delete_if_alive(p.plane);
        if (analysed != 0) return analysed;
    }
    return 0;
}

int inside_process(Inside& in) {
    mc_data_s* d = in.d;
    trace("+++ Create a mirror plane through the input sheet of the mirror \n");
    mc_free_geometry_set(&d->mirror_elements);
    double origin[3], normal[3];
    if (mc_sheet_elements(d->mirror, nullptr, 0, d->third_tolerance, &d->mirror_elements) != 0)
        return stage_failure(d, "Fail to get the elements of the mirror sheet. \n", kMirrorPlaneText,
                             kMirrorElements);
    if (HM_VD_ask_leastsq_plane(d->mirror_elements.point_count, d->mirror_elements.points, origin, normal) != 0)
        return stage_failure(d, "Fail to find best plane through the input sheet of the mirror. \n",
                             kMirrorPlaneText, kNoBestPlane);
    if (HM_MODL_create_plane(origin, normal, &in.mirror_plane) != 0)
        return stage_failure(d, "Fail to create the mirror plane. \n", kMirrorPlaneText, kMirrorElements);

    trace("+++Create an centering plane through the input sheet of baklite \n");
    if (mc_sheet_elements(d->backlite_sheet, nullptr, 0, d->third_tolerance, &in.backlite.set) != 0)
        return stage_failure(d, "Fail to get the elements of the backlite sheet. \n", kBacklitePlaneText,
                             kBackliteElements);
    if (HM_VD_ask_leastsq_plane(in.backlite.set.point_count, in.backlite.set.points, origin, normal) != 0)
        return stage_failure(d, "Fail to find the best centering plane. \n", kBacklitePlaneText, kNoBestPlane);
    trace("+++the the base point and normal of the backlite mid plane:  point(%f, %f, %f), vector(%f, %f, %f) \n",
          origin[0], origin[1], origin[2], normal[0], normal[1], normal[2]);
    const double across[3] = {1, 0, 0};
    copy3(in.centre, origin);
    if (HM_MODL_create_plane(origin, across, &in.centering) != 0)
        return stage_failure(d, "Fail to create the centering plane. \n", kBacklitePlaneText, kVisionFailed);

    double* g = in.r->standard_ground_point;
    g[0] = d->mid_eye_point[0] + (d->user_override ? d->user_distance[0] : d->standard_distance[0]);
    g[1] = 0.0;
    g[2] = d->ground_point[2];
    if (vision_analysis(in) != 0)
        return stage_failure(d, "Fail to analyze the inside mirror data. \n", kVisionText, kVisionFailed);
    return kInsideDone;
}

}  // namespace

int mc_inside_process(mc_data_s* data) {
    if (!data || !data->inside || !data->inside->upper || !data->inside->lower) return kVisionFailed;
    Inside in;
    in.d = data;
    in.r = data->inside;
    copy3(in.eyes[0], data->inside->left_eye);
    copy3(in.eyes[1], data->inside->mid_eye);
    copy3(in.eyes[2], data->inside->right_eye);
    const int status = inside_process(in);
    mc_free_geometry_set(&data->mirror_elements);
    detail::delete_if_alive(in.centering);
    detail::delete_if_alive(in.mirror_plane);
    return status;
}

}  // namespace carvell::mirror
