// The 2003 inside-mirror analysis: the mirror plane and the centering plane
// across the backlite, the mirror turned twice by the turning search (pass
// "U_": the common view's upper edge to the horizon; pass "D_": its lower
// edge onto the ground point), and per pass the views of mirror and backlite
// from the virtual eyes, the angles of view, the ambinocular angle and the
// width it covers at the ground distance, the lowest sight line to the
// ground, the horizon and the up and down sight angles; then pass "U_"'s
// vision triangles and their restriction test.
#include "r2003_mc_inside.h"
#include "r2003_mirror.h"

#include "hm_vd.h"
#include "hm_vd/vectors.h"
#include "hm_vd_mc.h"
#include "omvra.h"
#include "quillon.h"
#include "toolbox/detail/constants.h"
#include "toolbox/detail/owners.h"
#include "toolbox/detail/undo_scope.h"
#include "toolbox/detail/vec3.h"

#include <cmath>
#include <cstring>
#include <string>

namespace carvell::r2003 {
namespace {

using detail::copy3;

// The record's nine colours, by slot (the dialog counts them from 1): the
// common objects take the first; each pass draws the views of its left,
// middle and right eye and the lines from them in its own three.
constexpr int kCommonColour = 0;
constexpr int kLeft = 0, kMiddle = 1, kRight = 2;

struct PassStyle {
    const char* prefix;
    double weights[2];    // of the search's horizon and ground terms
    int eye_colours[3];   // colour slots of the left, middle, right eye
    bool upper;           // the pass that checks the warnings and keeps its geometry
};
constexpr PassStyle kPasses[2] = {{"U_", {1.0, 0.0}, {3, 0, 4}, true}, {"D_", {0.0, 1.0}, {5, 0, 6}, false}};
// The search's horizon: the side direction of the x axis.
constexpr double kReferenceAxis[3] = {1.0, 0.0, 0.0};
// A mirror that does not face straight rearward starts the search turned 20
// degrees towards the driver's side and tipped 5 degrees down.
constexpr double kStartPlanDegrees = 20.0;
constexpr double kStartSideDegrees = 5.0;
// mc_judge_vision_triangle: the triangle out of the mirror's viewing range
// is a result (its message says so), not a failure.
constexpr int kTriangleOutOfRange = 100;

const char* const kUserAngleText = "\nTarget Angle less than User-Defined Angle ";
const char* const kUserWidthText = "\nTarget Width less than User-Defined Width ";
const char* const kStandardAngleText = "\n*DOES NOT CERTIFY* Target Angle less than Standard Angle ";
const char* const kStandardWidthText = "\n*DOES NOT CERTIFY* Target Width less than Standard Width ";

enum AnalysisCode {
    kAnalysisDone = 0,
    kMirrorFailed = 2,
    kBackliteFailed = 3,
    kNoLeastSquaresPlane = 4,
    kAnalysisFailed = 5,
    kAnalysisBadArgument = -1
};

enum ViewCode {
    kViewDone = 0,
    kBackliteSheetFailed = 1,
    kEyeLinesFailed = 2,
    kSearchFailed = 3,
    kTurnedMirrorFailed = 4,
    kViewsFailed = 5,
    kFieldAnglesFailed = 6,
    kAmbinocularFailed = 7,
    kLowVisionFailed = 8,
    kGroundFailed = 9,
    kSightLinesFailed = 10,
    kTrianglesFailed = 11,
    kRestrictionFailed = 12,
    kViewBadArgument = -1
};

// Extreme-point directions: the outer edge that the right eye sees towards
// -y, the left eye towards +y; ties by +x, then +z.
constexpr double kTowardsMinusY[3][3] = {{0, -1, 0}, {1, 0, 0}, {0, 0, 1}};
constexpr double kTowardsPlusY[3][3] = {{0, 1, 0}, {1, 0, 0}, {0, 0, 1}};

// What the stages share.
struct Inside {
    Inside(mc_data_2003_s* data, const mc_geometry_set_s* backlite_set, tag_t centering_plane, tag_t mirror,
           const double* origin, const double* ground_point)
        : d(data), r(data->inside), backlite(backlite_set), centering(centering_plane), mirror_plane(mirror),
          backlite_origin(origin), ground(ground_point),
          tolerances{data->distance_tolerance, data->angle_tolerance, 0.0} {}

    mc_data_2003_s* d;
    mc_inside_result_2003_s* r;
    const mc_geometry_set_s* backlite;
    tag_t centering;
    tag_t mirror_plane;
    const double* backlite_origin;
    const double* ground;
    double tolerances[3];   // of the bounded planes: distance, angle, 0
    // Turned planes, cutting planes and construction lines.
    detail::Temporaries temporaries;

    int colour(int slot) const { return d->colours[slot]; }
};

// One pass's placement and what the later stages read of it.
struct Pass {
    const PassStyle* style = nullptr;
    mc_inside_pass_s* out = nullptr;
    double virtual_eyes[3][3]{};
    double turned_eyes[3][3]{};
    tag_t plane = NULL_TAG;    // turned mirror plane (temporary)
    tag_t mirror = NULL_TAG;   // turned mirror copy ("ROTMIRR")
    double origin[3]{}, normal[3]{};
    tag_t mirror_views[3] = {NULL_TAG, NULL_TAG, NULL_TAG};     // by eye: left, middle, right
    tag_t backlite_views[3] = {NULL_TAG, NULL_TAG, NULL_TAG};
    double back_lower[3]{}, back_upper[3]{};   // the backlite cut through the middle virtual eye
    double ambinocular_ends[2][3]{};    // far ends of "RHT_AMB" (+y) and "LFT_AMB" (-y)
    double ambinocular_cross[2][3]{};   // where they cross the turned mirror plane
    double horizon[3]{}, horizon_cross[3]{};   // H and M
};

std::string named(const Pass& p, const char* name) { return std::string(p.style->prefix) + name; }

int named_line(Inside& in, const Pass& p, const double from[3], const double to[3], const char* name, int slot,
               tag_t* made = nullptr) {
    tag_t line = NULL_TAG;
    const int status = mc_create_named_line(from, to, named(p, name).c_str(), in.colour(slot), false,
                                            in.r->result_objects, &line);
    if (made) *made = line;
    return status;
}

int named_polyline(Inside& in, const Pass& p, const double (*points)[3], int n, const char* name, int slot) {
    tag_t curve = NULL_TAG;
    if (mc_create_joined_polyline(points, n, &curve) != 0) return 1;
    if (mc_set_object_display(curve, named(p, name).c_str(), in.colour(slot), false, in.r->result_objects) == 0)
        return 0;
    return 1;
}

tag_t temporary_line(Inside& in, const double from[3], const double to[3]) {
    HM_CURVE_line_t ends{};
    copy3(from, ends.start_point);
    copy3(to, ends.end_point);
    tag_t line = NULL_TAG;
    if (HM_CURVE_create_line(&ends, &line) != 0) return NULL_TAG;
    return in.temporaries.add(line);
}

// The single point where the curve crosses the object.
bool single_crossing(tag_t curve, tag_t object, double tolerance, double point[3]) {
    int count = 0;
    HM_MODL_intersection_t** hits = nullptr;
    const bool found = HM_MODL_intersect_objects(curve, object, tolerance, &count, &hits) == 0 && count == 1 &&
                       hits && hits[0]->kind == HM_INTERSECTION_POINT;
    if (found) copy3(hits[0]->point, point);
    detail::discard_intersection_entries(count, hits);
    return found;
}

// Where the line from one point to another crosses the object.
bool crossing(Inside& in, const double from[3], const double to[3], tag_t object, double point[3]) {
    const tag_t line = temporary_line(in, from, to);
    const bool found = line != NULL_TAG && single_crossing(line, object, in.d->distance_tolerance, point);
    detail::delete_if_alive(line);
    return found;
}

bool extreme(tag_t sheet, const double (&directions)[3][3], double point[3]) {
    tag_t subentity = NULL_TAG, face = NULL_TAG;
    return mc_ask_sheet_extreme_point(sheet, directions[0], directions[1], directions[2], &subentity, &face,
                                      point) == 0;
}

/* ---- the common objects ---- */

// The backlite outline laid along x onto the centering plane: "BACKLITE".
int backlite_sheet(Inside& in) {
    detail::HostList curves, targets;
    if (HM_MODL_create_list(curves.out()) != 0 || HM_MODL_create_list(targets.out()) != 0) return 1;
    for (int i = 0; i < in.backlite->curve_count; ++i)
        if (HM_MODL_put_list_item(curves.get(), in.backlite->curves[i]) != 0) return 1;
    if (HM_MODL_put_list_item(targets.get(), in.centering) != 0) return 1;
    tag_t feature = NULL_TAG;
    if (HM_MODL_create_proj_curves(curves.get(), targets.get(), &feature) != 0) return 1;
    int count = 0;
    tag_t* projected = nullptr;
    int status = HM_MODL_ask_proj_curves(feature, &count, &projected);
    detail::SmBlock<tag_t> owned(projected);
    tag_t sheet = NULL_TAG;
    if (status == 0)
        status = count > 0 ? mc_create_bounded_plane(count, projected, true, "BACKLITE", in.colour(kCommonColour),
                                                     false, in.r->result_objects, in.tolerances, &sheet)
                           : 1;
    // The feature takes its curves with it.
    detail::delete_if_alive(feature);
    return status;
}

int eye_lines(Inside& in) {
    const mc_inside_result_2003_s& r = *in.r;
    tag_t line = NULL_TAG;
    if (mc_create_named_line(r.left_eye, r.right_eye, "EYES", in.colour(kCommonColour), false, r.result_objects,
                             &line) != 0 ||
        mc_create_named_line(r.mid_eye, r.head_pivot, "HEADPVT", in.colour(kCommonColour), false,
                             r.result_objects, &line) != 0)
        return 1;
    return 0;
}

// Start angles from the mirror plane's normal: turned towards the driver's
// side and tipped down.
bool start_angles(const Inside& in, double* plan, double* side) {
    double origin[3], normal[3];
    if (hm5375(in.mirror_plane, origin, normal) != 0) return false;
    const double towards = in.d->pivot[1] <= in.d->eye_reference[1] ? kStartPlanDegrees : -kStartPlanDegrees;
    *side = kStartSideDegrees - std::asin(std::fmax(-1.0, std::fmin(1.0, normal[2]))) * detail::kDegreesPerRadian;
    *plan = towards - std::asin(std::fmax(-1.0, std::fmin(1.0, normal[1]))) * detail::kDegreesPerRadian;
    return true;
}

/* ---- one pass ---- */

int turned_mirror(Inside& in, Pass& p) {
    const mc_inside_result_2003_s& r = *in.r;
    if (HM_MODL_ask_plane(p.plane, p.origin, p.normal) != 0) return 1;
    p.out->mirror_plan_view_angle = mc_plan_direction(p.origin, r.mid_eye);
    if (mc_set_object_display(p.mirror, named(p, "ROTMIRR").c_str(), in.colour(kCommonColour), false,
                              r.result_objects) != 0)
        return 1;
    // Named and listed, the turned copy is a result now.
    in.temporaries.release(p.mirror);
    if (named_line(in, p, p.turned_eyes[kLeft], p.turned_eyes[kRight], "ROT_EYES", kCommonColour) != 0 ||
        named_line(in, p, p.turned_eyes[kMiddle], r.head_pivot, "ROT_HEAD_PVT", kCommonColour) != 0 ||
        named_line(in, p, p.turned_eyes[kMiddle], p.origin, "ANGLE_VIEW", kCommonColour) != 0 ||
        named_polyline(in, p, p.virtual_eyes, 3, "VRT_EYES", kCommonColour) != 0)
        return 1;
    return 0;
}

// Each virtual eye's view of the turned mirror and of the backlite on the
// centering plane: "LFT_MIR_PLN", "LFT_BCK_PLN", "MID_...", "RHT_...".
int eye_views(Inside& in, Pass& p, const mc_geometry_set_s& mirror) {
    const char* const eyes[3] = {"LFT_", "MID_", "RHT_"};
    for (int e = 0; e < 3; ++e) {
        const int colour = in.colour(p.style->eye_colours[e]);
        const std::string mirror_name = named(p, eyes[e]) + "MIR_PLN";
        const std::string backlite_name = named(p, eyes[e]) + "BCK_PLN";
        if (mc_inside_outline_sheet(p.virtual_eyes[e], &mirror, in.centering, mirror_name.c_str(), colour,
                                    in.r->result_objects, in.tolerances, &p.mirror_views[e]) != 0 ||
            mc_inside_outline_sheet(p.virtual_eyes[e], in.backlite, in.centering, backlite_name.c_str(), colour,
                                    in.r->result_objects, in.tolerances, &p.backlite_views[e]) != 0)
            return 1;
    }
    return 0;
}

// The angle between the edges that the outer eyes see of a pair of views:
// the right eye's line to the -y edge ("LFT_..."), the left eye's to the +y
// edge ("RHT_..."); degrees.
int field_angle(Inside& in, Pass& p, const tag_t views[3], const char* left_name, const char* right_name,
                double* angle) {
    double minus_y[3], plus_y[3];
    if (!extreme(views[kRight], kTowardsMinusY, minus_y) || !extreme(views[kLeft], kTowardsPlusY, plus_y)) return 1;
    if (named_line(in, p, p.virtual_eyes[kRight], minus_y, left_name, p.style->eye_colours[kRight]) != 0 ||
        named_line(in, p, p.virtual_eyes[kLeft], plus_y, right_name, p.style->eye_colours[kLeft]) != 0)
        return 1;
    *angle = mc_plan_direction(p.virtual_eyes[kLeft], plus_y) - mc_plan_direction(p.virtual_eyes[kRight], minus_y);
    return 0;
}

// The extreme point of what an eye sees through mirror and backlite both:
// the mirror view cut to the backlite view, the part rolled back afterwards
// on every path.
bool common_extreme(tag_t mirror_view, tag_t backlite_view, const double (&directions)[3][3], double point[3]) {
    detail::UndoScope mark(UNDO_invisible, "ambinocular");
    if (!mark.is_set()) return false;
    const bool found = HM_MODL_operations(mirror_view, backlite_view, HM_MODL_INTERSECT) == 0 &&
                       extreme(mirror_view, directions, point);
    mark.roll_back();
    return found;
}

int ambinocular(Inside& in, Pass& p) {
    double* right_end = p.ambinocular_ends[1];   // "LFT_AMB", seen by the right eye
    double* left_end = p.ambinocular_ends[0];    // "RHT_AMB", seen by the left eye
    if (!common_extreme(p.mirror_views[kRight], p.backlite_views[kRight], kTowardsMinusY, right_end) ||
        !common_extreme(p.mirror_views[kLeft], p.backlite_views[kLeft], kTowardsPlusY, left_end))
        return 1;
    tag_t lines[2] = {NULL_TAG, NULL_TAG};
    if (named_line(in, p, p.virtual_eyes[kRight], right_end, "LFT_AMB", p.style->eye_colours[kRight], &lines[1]) !=
            0 ||
        named_line(in, p, p.virtual_eyes[kLeft], left_end, "RHT_AMB", p.style->eye_colours[kLeft], &lines[0]) != 0)
        return 1;
    const double angle =
        mc_plan_direction(p.virtual_eyes[kLeft], left_end) - mc_plan_direction(p.virtual_eyes[kRight], right_end);
    p.out->ambinocular_angle[0] = p.out->ambinocular_angle[1] = angle;
    p.out->ground_width =
        2.0 * (in.ground[0] - in.d->rear_eye[0]) * std::tan(0.5 * angle * detail::kRadiansPerDegree);
    // With eyes from the eyellipse the vision triangles stand on these lines.
    if (p.style->upper && in.d->user_eye_flag == 0)
        for (int k = 0; k < 2; ++k)
            if (!single_crossing(lines[k], p.plane, in.d->distance_tolerance, p.ambinocular_cross[k])) return 1;
    return 0;
}

// The field against the user's values (with the override) or the
// standard's: the angle with eyes from the eyellipse, the width with the
// user's eye points. Only a smaller value warns.
void check_field(Inside& in, const mc_inside_pass_s& out) {
    mc_data_2003_s* d = in.d;
    const bool ellipse = d->user_eye_flag == 0;
    const double angle = out.ambinocular_angle[0], width = out.ground_width;
    if (d->user_override == 1) {
        if (ellipse && angle < d->user_angle) mc_add_message(d, kUserAngleText);
        if (!ellipse && width < d->user_width) mc_add_message(d, kUserWidthText);
        return;
    }
    if (ellipse && angle < d->standard_angle) mc_add_message(d, kStandardAngleText);
    if (!ellipse && width < d->standard_width) mc_add_message(d, kStandardWidthText);
}

// The lowest point that the middle virtual eye sees through mirror and
// backlite both, in the vertical plane through that eye; and the backlite's
// own lower and upper points in that plane.
int low_vision(Inside& in, Pass& p, double lowest[3]) {
    const double* eye = p.virtual_eyes[kMiddle];
    const tag_t plane = in.temporaries.add(mc_inside_eye_plane(eye));
    if (plane == NULL_TAG) return 1;
    bool found = false;
    {
        detail::UndoScope mark(UNDO_invisible, "low_vision");
        if (mark.is_set() &&
            HM_MODL_operations(p.mirror_views[kMiddle], p.backlite_views[kMiddle], HM_MODL_INTERSECT) == 0) {
            detail::HostList faces;
            int count = 0;
            double upper[3];
            found = HM_MODL_ask_body_faces(p.mirror_views[kMiddle], faces.out()) == 0 &&
                    HM_MODL_ask_list_count(faces.get(), &count) == 0 && count == 1 &&
                    mc_inside_cut_ends(plane, p.mirror_views[kMiddle], in.d->distance_tolerance, lowest, upper) == 0;
        }
        mark.roll_back();
    }
    found = found && in.backlite->face != NULL_TAG &&
            mc_inside_cut_ends(plane, in.backlite->face, in.d->distance_tolerance, p.back_lower, p.back_upper) == 0;
    detail::delete_if_alive(plane);
    return found ? 0 : 1;
}

// The lowest sight line carried on to the ground level: "GROUND". A sight
// line that does not descend never meets the ground.
int ground_target(Inside& in, Pass& p, const double lowest[3]) {
    const double* eye = p.virtual_eyes[kMiddle];
    const double drop = lowest[2] - eye[2];
    const double t = (in.ground[2] - eye[2]) / drop;
    if (!(drop < 0.0) || !(t > 0.0) || !std::isfinite(t)) return 1;
    double* target = p.out->ground_target;
    for (int k = 0; k < 3; ++k) target[k] = eye[k] + t * (lowest[k] - eye[k]);
    p.out->ground_distance = target[0] - in.d->rear_eye[0];
    return named_line(in, p, eye, target, "GROUND", kCommonColour);
}

// The horizon through the mirror ("HORIZON", "UP_LINE") and the sight line
// to the ground point ("GRND_INT", "DWN_LINE"), with the up and down angles.
int sight_lines(Inside& in, Pass& p) {
    const double* eye = p.virtual_eyes[kMiddle];
    double* h = p.horizon;
    double* m = p.horizon_cross;
    h[0] = in.backlite_origin[0];
    h[1] = eye[1];
    h[2] = eye[2];
    if (!crossing(in, eye, in.backlite_origin, p.plane, m)) return 1;
    const double horizon[3][3] = {{eye[0], eye[1], eye[2]}, {m[0], m[1], m[2]}, {h[0], h[1], h[2]}};
    if (named_polyline(in, p, horizon, 3, "HORIZON", kCommonColour) != 0) return 1;
    const double level[3] = {1.0, 0.0, 0.0}, origin[3] = {0.0, 0.0, 0.0};
    p.out->up_angle = mc_side_direction(m, p.back_upper) - mc_side_direction(origin, level);
    if (named_line(in, p, m, p.back_upper, "UP_LINE", kCommonColour) != 0) return 1;

    const double g[3] = {in.ground[0], eye[1], in.ground[2]};
    double n[3];
    if (!crossing(in, eye, g, p.plane, n)) return 1;
    const double ground[3][3] = {{eye[0], eye[1], eye[2]}, {n[0], n[1], n[2]}, {g[0], g[1], g[2]}};
    if (named_polyline(in, p, ground, 3, "GRND_INT", kCommonColour) != 0) return 1;
    p.out->down_angle = mc_side_direction(eye, g) - mc_side_direction(n, p.back_lower);
    return named_line(in, p, n, p.back_lower, "DWN_LINE", kCommonColour);
}

int run_pass(Inside& in, Pass& p, double* plan, double* side) {
    mc_inside_pass_s* out = p.out;
    const PassStyle& style = *p.style;
    if (mc_search_inside_rotation_2003(*plan, *side, style.weights[0], kReferenceAxis, style.weights[1], in.ground,
                                       in.backlite, in.centering, in.mirror_plane, in.d->mirror_sheet, in.d,
                                       p.virtual_eyes, p.turned_eyes, out->search_values, plan, side, &p.plane,
                                       &p.mirror) != 0)
        return kSearchFailed;
    in.temporaries.add(p.plane);
    in.temporaries.add(p.mirror);
    out->plan_angle = *plan;
    out->side_angle = *side;
    McScopedSet turned;
    if (mc_build_geometry_set(p.mirror, nullptr, 0, &turned.set) != 0 || turned_mirror(in, p) != 0)
        return kTurnedMirrorFailed;
    if (eye_views(in, p, turned.set) != 0) return kViewsFailed;
    if (field_angle(in, p, p.mirror_views, "LFT_MIRR", "RHT_MIRR", &out->mirror_view_angle) != 0 ||
        field_angle(in, p, p.backlite_views, "LFT_BACK", "RHT_BACK", &out->backlite_view_angle) != 0)
        return kFieldAnglesFailed;
    if (ambinocular(in, p) != 0) return kAmbinocularFailed;
    if (style.upper) check_field(in, *out);
    double lowest[3];
    if (low_vision(in, p, lowest) != 0) return kLowVisionFailed;
    if (ground_target(in, p, lowest) != 0) return kGroundFailed;
    if (sight_lines(in, p) != 0) return kSightLinesFailed;
    return kViewDone;
}

/* ---- the vision triangles of pass "U_" ---- */

// With the user's eye points the triangles stand on the sight lines from
// the middle virtual eye to the ground point moved half the width to each
// side: their crossings with the centering plane and the turned mirror
// plane replace the ambinocular ends and crossings.
int user_triangle_corners(Inside& in, Pass& u) {
    const mc_data_2003_s& d = *in.d;
    const double half = 0.5 * (d.user_override == 1 ? d.user_width : d.standard_width);
    const double* eye = u.virtual_eyes[kMiddle];
    const double sides[2] = {half, -half};
    for (int k = 0; k < 2; ++k) {
        const double target[3] = {in.ground[0], in.ground[1] + sides[k], in.ground[2]};
        if (!crossing(in, eye, target, in.centering, u.ambinocular_ends[k]) ||
            !crossing(in, eye, target, u.plane, u.ambinocular_cross[k]))
            return 1;
    }
    return 0;
}

int triangle(Inside& in, const double* a, const double* b, const double* c, const char* name, tag_t* sheet) {
    const double* corners[3] = {a, b, c};
    tag_t lines[3];
    for (int k = 0; k < 3; ++k)
        if ((lines[k] = temporary_line(in, corners[k], corners[(k + 1) % 3])) == NULL_TAG) return 1;
    const int status = mc_create_bounded_plane(3, lines, true, name, in.colour(kCommonColour), false,
                                               in.r->result_objects, in.tolerances, sheet);
    for (tag_t line : lines) detail::delete_if_alive(line);
    return status;
}

int vision_triangles(Inside& in, Pass& u) {
    if (in.d->user_eye_flag == 1 && user_triangle_corners(in, u) != 0) return kTrianglesFailed;
    tag_t centre_triangle = NULL_TAG, mirror_triangle = NULL_TAG;
    if (triangle(in, u.horizon, u.ambinocular_ends[0], u.ambinocular_ends[1], "U_CTR_TRNGL", &centre_triangle) != 0 ||
        triangle(in, u.horizon_cross, u.ambinocular_cross[0], u.ambinocular_cross[1], "U_MIR_TRNGL",
                 &mirror_triangle) != 0)
        return kTrianglesFailed;

    // The turned plane as a plane mirror; the centering plane as the target.
    mc_mirror_surface_s surface{};
    copy3(u.origin, surface.centre);
    copy3(u.origin, surface.vertex);
    copy3(u.normal, surface.normal);
    const double target_x = in.backlite_origin[0];
    tag_t remaining = NULL_TAG;
    const int status = mc_judge_vision_triangle(
        centre_triangle, u.mirror_views[kLeft], u.mirror_views[kRight], u.backlite_views[kLeft],
        u.backlite_views[kRight], in.colour(u.style->eye_colours[kLeft]), in.colour(u.style->eye_colours[kRight]),
        &surface, in.d, u.turned_eyes, &target_x, in.centering, in.r->result_objects, &u.out->restriction_result,
        &remaining);
    if (remaining != NULL_TAG &&
        mc_set_object_display(remaining, "RES_U_CTR_TRNGL", in.colour(kCommonColour), false, in.r->result_objects) !=
            0)
        return kRestrictionFailed;
    return status == 0 || status == kTriangleOutOfRange ? kViewDone : kRestrictionFailed;
}

/* ---- the analysis ---- */

// The least-squares plane of the set's points as a plane object; for the
// centering plane with the normal (1, 0, 0) instead of the fitted one.
// kAnalysisDone, kNoLeastSquaresPlane or the given code when no plane was made.
int plane_through(const mc_geometry_set_s& set, bool across_car, int no_plane_code, double origin[3], tag_t* plane) {
    double normal[3];
    if (HM_VD_ask_leastsq_plane(set.point_count, set.points, origin, normal) != 0) return kNoLeastSquaresPlane;
    if (across_car) normal[0] = 1.0, normal[1] = normal[2] = 0.0;
    if (HM_MODL_create_plane(origin, normal, plane) != 0 || *plane == NULL_TAG) return no_plane_code;
    return kAnalysisDone;
}

int analyse(mc_data_2003_s* d, mc_geometry_set_s* backlite, tag_t* mirror_plane, tag_t* centering) {
    double mirror_origin[3], backlite_origin[3];
    if (mc_build_geometry_set(d->mirror_sheet, nullptr, 0, &d->mirror_set) != 0) return kMirrorFailed;
    if (int status = plane_through(d->mirror_set, false, kMirrorFailed, mirror_origin, mirror_plane)) return status;
    if (mc_build_geometry_set(d->backlite_sheet, nullptr, 0, backlite) != 0) return kBackliteFailed;
    if (int status = plane_through(*backlite, true, kAnalysisFailed, backlite_origin, centering)) return status;
    double* ground = d->inside->ground_point;
    ground[0] = (d->user_override == 1 ? d->user_distance : d->standard_distance) + d->rear_eye[0];
    ground[1] = 0.0;
    ground[2] = d->caller_points[2][2];
    if (mc_inside_view_2003(backlite, *centering, *mirror_plane, backlite_origin, ground, d) != 0)
        return kAnalysisFailed;
    return kAnalysisDone;
}

bool has_inside_result(const mc_data_2003_s* d) {
    return d && d->inside && d->inside->up && d->inside->down && d->inside->result_objects;
}

}  // namespace

int mc_inside_view_2003(const mc_geometry_set_s* backlite, tag_t centering_plane, tag_t mirror_plane,
                        const double backlite_origin[3], const double ground_point[3], mc_data_2003_s* data) {
    if (!backlite || !backlite_origin || !ground_point || !has_inside_result(data)) return kViewBadArgument;
    Inside in(data, backlite, centering_plane, mirror_plane, backlite_origin, ground_point);
    if (backlite_sheet(in) != 0) return kBackliteSheetFailed;
    if (eye_lines(in) != 0) return kEyeLinesFailed;
    double plan = 0.0, side = 0.0;
    if (!start_angles(in, &plan, &side)) return kSearchFailed;
    Pass passes[2];
    for (int k = 0; k < 2; ++k) {
        passes[k].style = &kPasses[k];
        passes[k].out = k == 0 ? data->inside->up : data->inside->down;
        // The second pass starts from the angles the first one found.
        if (int status = run_pass(in, passes[k], &plan, &side)) return status;
    }
    return vision_triangles(in, passes[0]);
}

int mc_analyze_inside_mirror_2003(mc_data_2003_s* data) {
    if (!has_inside_result(data)) return kAnalysisBadArgument;
    mc_geometry_set_s backlite{};
    tag_t mirror_plane = NULL_TAG, centering = NULL_TAG;
    const int status = analyse(data, &backlite, &mirror_plane, &centering);
    mc_free_geometry_set(&data->mirror_set);
    mc_free_geometry_set(&backlite);
    detail::delete_if_alive(centering);
    detail::delete_if_alive(mirror_plane);
    return status;
}

}  // namespace carvell::r2003
