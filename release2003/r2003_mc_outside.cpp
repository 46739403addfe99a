// The 2003 outside-mirror analysis: the mirror turned about its pivot until
// the prime point is seen, its outline and bezel carried from both eyes
// through the mirror onto the target plane, the standard's target triangle
// (and the far-side cylinder of a dual target), the mirror triangle, the
// deviations of the seen target corners from the glass's edge, the field
// angles, the reach to the ground and the vision-triangle obstruction. Every
// object it keeps is named, coloured and listed in the outside result.
#include "r2003_mirror.h"

#include "hm_vd/objects.h"
#include "hm_vd_mc.h"
#include "omvra.h"
#include "quillon.h"
#include "toolbox/detail/constants.h"
#include "toolbox/detail/finite.h"
#include "toolbox/detail/owners.h"
#include "toolbox/detail/vec3.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace carvell::r2003 {
namespace {

constexpr int kScratchLayer = 256;
// Height of the dual target's cylinder: 1000 mm, or its inch value.
constexpr double kCylinderHeightMillimetres = 1000.0;
constexpr double kCylinderHeightInches = 39.37007874015748;
// The passenger table's "Japan" row has a second, far-side target.
constexpr int kPassengerKind = 2;
constexpr int kDualTargetStandard = 4;
// A reflected ray whose z component is below this never reaches the ground.
constexpr double kLevelRay = 1e-10;

// The first three colour slots of the record: common objects, the first
// eye's (L) and the third eye's (R).
enum ColourSlot { kCommonSlot = 0, kLeftSlot = 1, kRightSlot = 2 };

enum AnalysisCode {
    kAnalysed = 0,
    kBadArgument = -1,
    // The reflected ray of the lowest seen point runs level: no ground reach.
    kGroundNotReached = 101,
};

// Plan-view direction from one point to another, in radians.
double plan_direction(const double from[3], const double to[3]) {
    return std::atan2(to[1] - from[1], to[0] - from[0]);
}

// Puts each line still alive on the scratch layer and deletes it.
void discard_lines(const std::vector<tag_t>& lines) {
    for (tag_t line : lines) {
        if (line == NULL_TAG || HM_OBJ_ask_status(line) != HM_OBJ_ALIVE) continue;
        (void)HM_OBJ_set_layer(line, kScratchLayer);
        (void)HM_VD_delete_object(line);
    }
}

// The lines of the closed polygon through the corners, in order: 0 or the
// host's code (no line left then).
int polygon_lines(const double (*corners)[3], int n, std::vector<tag_t>* lines) {
    for (int i = 0; i < n; ++i) {
        HM_CURVE_line_t ends{};
        detail::copy3(corners[i], ends.start_point);
        detail::copy3(corners[(i + 1) % n], ends.end_point);
        tag_t line = NULL_TAG;
        if (const int status = HM_CURVE_create_line(&ends, &line)) {
            discard_lines(*lines);
            lines->clear();
            return status;
        }
        lines->push_back(line);
    }
    return 0;
}

struct Target {
    mc_target_result_s* record = nullptr;
    char letter = 'A';
    bool blanked = false;
    double top_a[3] = {0, 0, 0};   // A', B': the cylinder's top (target 2)
    double top_b[3] = {0, 0, 0};
    double pierce_a[3] = {0, 0, 0};       // pA, pB, pA', pB' on the mirror
    double pierce_b[3] = {0, 0, 0};
    double pierce_top_a[3] = {0, 0, 0};
    double pierce_top_b[3] = {0, 0, 0};
};

struct Analysis {
    mc_data_2003_s* d = nullptr;
    mc_outside_result_s* o = nullptr;
    mc_mirror_surface_s s{};          // the mirror surface, turned with the mirror
    hm_list_p_t results = nullptr;
    double tolerances[2] = {0, 0};
    double plane_tolerances[3] = {0, 0, 0};
    double eyes[3][3] = {};           // the turned eyes: L, middle, R
    double prime[3] = {0, 0, 0};      // H, the prime point on the turned mirror
    double outermost[3] = {0, 0, 0};  // O
    double outboard[3] = {0, 0, 0};   // +y or -y
    int outboard_eye = 0;             // index into eyes
    int inboard_eye = 2;
    int colours[3] = {0, 0, 0};       // by ColourSlot
    int outboard_colour = 0;
    int inboard_colour = 0;
    Target targets[2];
    int target_count = 1;
    double widest[3] = {0, 0, 0};     // W
    double lowest[2][3] = {};         // lowest seen point of L and R
    tag_t vision[2] = {NULL_TAG, NULL_TAG};        // L_VISION_A, R_VISION_A
    tag_t bezel_views[2] = {NULL_TAG, NULL_TAG};   // L_VIS_RFL_BZL_A, R_VIS_RFL_BZL_A
    tag_t triangle = NULL_TAG;                     // VIS_TRNGL_A
    mc_geometry_set_s mirror_set{};
    mc_geometry_set_s bezel_set{};

    Analysis() = default;
    Analysis(const Analysis&) = delete;
    Analysis& operator=(const Analysis&) = delete;
    ~Analysis() {
        mc_free_geometry_set(&mirror_set);
        mc_free_geometry_set(&bezel_set);
    }

    const double* eye(int index) const { return eyes[index]; }
    int eye_colour(int index) const { return colours[index == 0 ? kLeftSlot : kRightSlot]; }
};

/* ---- side, targets and the turned mirror ---- */

// The outboard side is +y when the eye reference point lies at most as far
// right as the pivot; the first eye (L) then looks from outboard.
void set_side(Analysis& a) {
    const bool plus_y = a.d->eye_reference[1] <= a.d->pivot[1];
    a.outboard[1] = plus_y ? 1.0 : -1.0;
    a.outboard_eye = plus_y ? 0 : 2;
    a.inboard_eye = plus_y ? 2 : 0;
    for (int slot = 0; slot < 3; ++slot) a.colours[slot] = a.d->colours[slot];
    a.outboard_colour = a.eye_colour(a.outboard_eye);
    a.inboard_colour = a.eye_colour(a.inboard_eye);
}

void set_targets(Analysis& a, const double rear_eye[3]) {
    mc_data_2003_s* d = a.d;
    const double distance = d->user_override == 1 ? d->user_distance : d->standard_distance;
    const double width = d->user_override == 1 ? d->user_width : d->standard_width;
    a.target_count = d->mirror_kind == kPassengerKind && d->standard == kDualTargetStandard ? 2 : 1;
    a.o->rear_eye_x = rear_eye[0];
    for (int k = 0; k < a.target_count; ++k) {
        Target& t = a.targets[k];
        t.record = k == 0 ? a.o->first : a.o->second;
        t.letter = k == 0 ? 'A' : 'B';
        t.blanked = k == 1;
        double* A = t.record->inboard_point;
        A[0] = k == 0 ? rear_eye[0] + distance : d->caller_points[1][0];
        A[1] = d->caller_points[0][1];
        A[2] = d->caller_points[0][2];
        double* B = t.record->outboard_point;
        detail::copy3(A, B);
        B[1] += a.outboard[1] * (k == 0 ? width : d->far_side_value);
    }
}

// Steps 1 to 3: the mirror positioned (the record's mirror sheet becomes the
// turned one), its outline and its outermost point.
int turn_mirror(Analysis& a) {
    double matrix[12];
    tag_t rotated = NULL_TAG;
    if (const int status = HM_VD_MC_pro_position_outside_mirror(a.d, &a.s, a.o, matrix, &rotated, a.prime, a.eyes))
        return status;
    a.d->mirror_sheet = rotated;
    if (const int status = mc_build_geometry_set(rotated, nullptr, 0, &a.mirror_set)) return status;
    const double up[3] = {0, 0, 1}, forward[3] = {1, 0, 0};
    tag_t sub = NULL_TAG, face = NULL_TAG;
    return mc_ask_sheet_extreme_point(rotated, a.outboard, up, forward, &sub, &face, a.outermost);
}

// Steps 5 and 6: the view angle, the eye and head lines and the turned mirror named.
int link_lines(Analysis& a) {
    const double* M = a.eyes[1];
    a.o->angle_view_angle = std::fabs(plan_direction(a.s.vertex, M)) * detail::kDegreesPerRadian;
    const struct {
        const double* from;
        const double* to;
        const char* name;
    } lines[] = {
        {M, a.s.vertex, "ANGLE_VIEW"},
        {a.o->left_eye, a.o->right_eye, "EYES"},
        {a.o->mid_eye, a.o->head_pivot, "HEADPIVOT"},
        {a.eyes[0], a.eyes[2], "ROTEYES"},
        {M, a.o->head_pivot, "ROTHEAD_PVT"},
    };
    for (const auto& l : lines) {
        tag_t line = NULL_TAG;
        if (const int status = mc_create_named_line(l.from, l.to, l.name, a.colours[kCommonSlot], false, a.results,
                                                    &line))
            return status;
    }
    return mc_set_object_display(a.d->mirror_sheet, "ROTMIRROR", a.colours[kCommonSlot], false, a.results);
}

/* ---- what each eye sees of a target plane ---- */

// An outline carried through the mirror from the eye onto the target plane
// x = A.x. A failed projection leaves nothing of its own behind.
int carry_outline(Analysis& a, const mc_geometry_set_s& set, int mode, int eye, const Target& t,
                  tag_t* on_mirror, tag_t* on_target) {
    const int status = mc_project_outline_through_mirror(&set, mode, a.eye(eye), &a.s, a.tolerances,
                                                         &t.record->inboard_point[0], NULL_TAG, on_mirror, on_target);
    if (status != 0) {
        detail::delete_if_alive(*on_mirror);
        detail::delete_if_alive(*on_target);
        *on_mirror = *on_target = NULL_TAG;
    }
    return status;
}

std::string eye_name(int eye, const char* stem, const Target* t = nullptr) {
    std::string name(1, eye == 0 ? 'L' : 'R');
    name += stem;
    if (t) name += t->letter;
    return name;
}

// Target 1: the widest point W that the outboard eye sees and each eye's
// lowest seen point. With the eye reference straight behind the pivot the
// side is taken as +y, but no "MIR_WIDE" line is drawn.
int first_target_extremes(Analysis& a, int eye, tag_t vision) {
    const double up[3] = {0, 0, 1}, forward[3] = {1, 0, 0}, down[3] = {0, 0, -1}, right[3] = {0, 1, 0};
    tag_t sub = NULL_TAG, face = NULL_TAG;
    if (eye == a.outboard_eye) {
        if (const int status = mc_ask_sheet_extreme_point(vision, a.outboard, up, forward, &sub, &face, a.widest))
            return status;
        if (a.d->eye_reference[1] != a.d->pivot[1]) {
            tag_t line = NULL_TAG;
            if (const int status = mc_create_named_line(a.widest, a.outermost, "MIR_WIDE", a.outboard_colour, false,
                                                        a.results, &line))
                return status;
        }
    }
    return mc_ask_sheet_extreme_point(vision, down, right, forward, &sub, &face, a.lowest[eye == 0 ? 0 : 1]);
}

// The bezel carried through the mirror (mode 0: its points on the mirror,
// mode 1: its points seen in the mirror). Target 1 keeps the mirror-side
// sheets; target 2 deletes them.
int carry_bezel(Analysis& a, int eye, const Target& t, int target_index) {
    const std::vector<tag_t> curves = detail::list_items(a.d->bezel_curves);
    if (a.d->bezel_present != 1 || curves.empty()) return 0;
    if (const int status =
            mc_build_geometry_set(NULL_TAG, curves.data(), static_cast<int>(curves.size()), &a.bezel_set))
        return status;
    const int colour = a.eye_colour(eye);
    for (int mode = 0; mode < 2; ++mode) {
        tag_t on_mirror = NULL_TAG, on_target = NULL_TAG;
        if (const int status = carry_outline(a, a.bezel_set, mode, eye, t, &on_mirror, &on_target)) return status;
        const char* stem = mode == 0 ? "_VIS_PRJ_BZL_" : "_VIS_RFL_BZL_";
        if (const int status =
                mc_set_object_display(on_target, eye_name(eye, stem, &t).c_str(), colour, t.blanked, a.results))
            return status;
        if (target_index == 0) {
            if (mode == 1) a.bezel_views[eye == 0 ? 0 : 1] = on_target;
            const char* mirror_stem = mode == 0 ? "_MIR_PRJ_BZL" : "_MIR_RFL_BZL";
            if (const int status =
                    mc_set_object_display(on_mirror, eye_name(eye, mirror_stem).c_str(), colour, false, a.results))
                return status;
        } else {
            if (mode == 1) (void)HM_OBJ_set_layer(on_mirror, kScratchLayer);
            (void)HM_VD_delete_object(on_mirror);
        }
    }
    return 0;
}

// Step 7 for one eye: what it sees of the target plane in the mirror.
int eye_views(Analysis& a, int eye, int target_index) {
    const Target& t = a.targets[target_index];
    tag_t on_mirror = NULL_TAG, vision = NULL_TAG;
    if (const int status = carry_outline(a, a.mirror_set, 0, eye, t, &on_mirror, &vision)) return status;
    (void)HM_OBJ_set_layer(on_mirror, kScratchLayer);
    (void)HM_VD_delete_object(on_mirror);
    if (const int status =
            mc_set_object_display(vision, eye_name(eye, "_VISION_", &t).c_str(), a.eye_colour(eye), t.blanked,
                                  a.results))
        return status;
    if (target_index == 0) {
        a.vision[eye == 0 ? 0 : 1] = vision;
        if (const int status = first_target_extremes(a, eye, vision)) return status;
    }
    return carry_bezel(a, eye, t, target_index);
}

/* ---- target and mirror figures ---- */

// Step 9: the triangle of target 1 from the prime point's height and side,
// or the far-side cylinder of target 2 and its top corners.
int target_figure(Analysis& a, Target& t, int target_index) {
    const double* A = t.record->inboard_point;
    const double* B = t.record->outboard_point;
    if (target_index == 0) {
        const double corners[3][3] = {{A[0], a.prime[1], a.prime[2]}, {A[0], A[1], A[2]}, {B[0], B[1], B[2]}};
        std::vector<tag_t> lines;
        if (const int status = polygon_lines(corners, 3, &lines)) return status;
        const int status = mc_create_bounded_plane(3, lines.data(), true, "VIS_TRNGL_A", a.colours[kCommonSlot],
                                                   false, a.results, a.plane_tolerances, &a.triangle);
        discard_lines(lines);
        return status;
    }
    const double height = a.d->units == 1 ? kCylinderHeightInches : kCylinderHeightMillimetres;
    char height_text[64], diameter_text[64];
    std::snprintf(height_text, sizeof height_text, "%f", height);
    std::snprintf(diameter_text, sizeof diameter_text, "%f", std::fabs(B[1] - A[1]));
    const double base[3] = {A[0], 0.5 * (A[1] + B[1]), A[2]}, up[3] = {0, 0, 1};
    tag_t feature = NULL_TAG, body = NULL_TAG;
    if (const int status = HM_MODL_create_cyl1(HM_NULLSIGN, base, height_text, diameter_text, up, &feature))
        return status;
    if (const int status = HM_MODL_ask_feat_body(feature, &body)) return status;
    detail::copy3(A, t.top_a);
    detail::copy3(B, t.top_b);
    t.top_a[2] += height;
    t.top_b[2] += height;
    return mc_set_object_display(body, "VIS_TRNGL_B", a.colours[kCommonSlot], true, a.results);
}

// Step 10: where the eyes see the target's corners in the mirror. A pierce
// that finds no point ends the analysis: its point would be meaningless.
int pierce_points(Analysis& a, Target& t, int target_index) {
    const double* A = t.record->inboard_point;
    const double* B = t.record->outboard_point;
    if (const int status = HM_VD_MC_pierce(a.tolerances, &a.s, a.eye(a.outboard_eye), B, t.pierce_b)) return status;
    if (const int status = HM_VD_MC_pierce(a.tolerances, &a.s, a.eye(a.inboard_eye), A, t.pierce_a)) return status;
    if (target_index == 0) {
        detail::copy3(a.prime, t.pierce_top_a);
        detail::copy3(a.prime, t.pierce_top_b);
        return 0;
    }
    if (const int status = HM_VD_MC_pierce(a.tolerances, &a.s, a.eye(a.inboard_eye), t.top_a, t.pierce_top_a))
        return status;
    return HM_VD_MC_pierce(a.tolerances, &a.s, a.eye(a.outboard_eye), t.top_b, t.pierce_top_b);
}

// Step 11: the part of the mirror that shows the target: a triangle from
// the prime point for target 1, the four seen corners of the cylinder's
// face for target 2 (on the sphere of a convex mirror).
int mirror_figure(Analysis& a, const Target& t, int target_index) {
    const int colour = a.colours[kCommonSlot];
    std::vector<tag_t> lines;
    tag_t sheet = NULL_TAG;
    if (target_index == 0) {
        const double corners[3][3] = {{t.pierce_top_a[0], t.pierce_top_a[1], t.pierce_top_a[2]},
                                      {t.pierce_a[0], t.pierce_a[1], t.pierce_a[2]},
                                      {t.pierce_b[0], t.pierce_b[1], t.pierce_b[2]}};
        if (const int status = polygon_lines(corners, 3, &lines)) return status;
        const int status = mc_create_bounded_plane(3, lines.data(), true, "MIR_ROT_TRNGL_A", colour, false,
                                                   a.results, a.plane_tolerances, &sheet);
        discard_lines(lines);
        return status;
    }
    const double corners[4][3] = {{t.pierce_top_a[0], t.pierce_top_a[1], t.pierce_top_a[2]},
                                  {t.pierce_a[0], t.pierce_a[1], t.pierce_a[2]},
                                  {t.pierce_b[0], t.pierce_b[1], t.pierce_b[2]},
                                  {t.pierce_top_b[0], t.pierce_top_b[1], t.pierce_top_b[2]}};
    if (const int status = polygon_lines(corners, 4, &lines)) return status;
    int status = 0;
    if (a.s.curvature <= 0.0) {
        status = mc_create_bounded_plane(4, lines.data(), false, nullptr, 0, false, nullptr, a.plane_tolerances,
                                         &sheet);
    } else {
        // The trim writes the cap's vertex and curvature: a copy of the surface takes them.
        mc_mirror_surface_s cap = a.s;
        status = mc_trim_sphere_to_outline(lines.data(), 4, a.d->distance_tolerance, &sheet, &cap);
    }
    discard_lines(lines);
    if (status != 0) return status;
    return mc_set_object_display(sheet, "MIR_ROT_TRNGL_B", colour, true, a.results);
}

// Step 12: how far inside the glass's edge the seen corner lies; negative,
// with the message, when the corner is off the glass (a probe along x
// through it misses the turned mirror's face).
int deviation(Analysis& a, const double point[3], const char* message, double* out) {
    tag_t marker = NULL_TAG;
    if (const int status = HM_CURVE_create_point(point, &marker)) return status;
    if (const int status = mc_set_object_display(marker, nullptr, 0, false, a.results)) return status;
    double distance = 0.0, on_outline[3], on_marker[3];
    if (const int status = HM_MODL_ask_minimum_dist(a.mirror_set.outline, marker, 0, nullptr, 0, nullptr, &distance,
                                                    on_outline, on_marker))
        return status;
    const double half = 0.5 * a.d->standard_distance;
    HM_CURVE_line_t ends{};
    detail::copy3(point, ends.start_point);
    detail::copy3(point, ends.end_point);
    ends.start_point[0] -= half;
    ends.end_point[0] += half;
    tag_t probe = NULL_TAG;
    if (const int status = HM_CURVE_create_line(&ends, &probe)) return status;
    int count = 0;
    HM_MODL_intersection_t** hits = nullptr;
    const int crossed = HM_MODL_intersect_objects(probe, a.mirror_set.face, a.d->distance_tolerance, &count, &hits);
    detail::discard_intersection_entries(count, hits);
    discard_lines({probe});
    if (crossed != 0) return crossed;
    if (count == 0) {
        distance = -distance;
        mc_add_message(a.d, message);
    }
    *out = distance;
    return 0;
}

// Step 13: the sight lines of the target, then the outboard eye's line to
// the outermost point of the mirror.
int sight_lines(Analysis& a, const Target& t) {
    const double* A = t.record->inboard_point;
    const double* B = t.record->outboard_point;
    const double p0[3] = {A[0], a.prime[1], a.prime[2]};
    const struct {
        const double* from;
        const double* to;
        const char* stem;
        int colour;
    } lines[] = {
        {a.eye(a.outboard_eye), t.pierce_b, "EYE_MIR_OUTBRD_", a.outboard_colour},
        {a.eye(a.inboard_eye), t.pierce_a, "EYE_MIR_INBRD_", a.inboard_colour},
        {a.eye(a.inboard_eye), t.pierce_top_a, "EYE_MIR_HORZ_", a.inboard_colour},
        {t.pierce_top_a, p0, "HORIZON_", a.inboard_colour},
        {t.pierce_a, A, "INBOARD_", a.inboard_colour},
        {t.pierce_b, B, "OUTBOARD_", a.outboard_colour},
    };
    tag_t line = NULL_TAG;
    for (const auto& l : lines) {
        const std::string name = std::string(l.stem) + t.letter;
        if (const int status = mc_create_named_line(l.from, l.to, name.c_str(), l.colour, t.blanked, a.results, &line))
            return status;
    }
    return mc_create_named_line(a.eye(a.outboard_eye), a.outermost, "EYE_MIR_WIDE", a.outboard_colour, false,
                                a.results, &line);
}

// Steps 7 to 13 for one target.
int analyse_target(Analysis& a, int k) {
    Target& t = a.targets[k];
    for (int eye : {0, 2})
        if (const int status = eye_views(a, eye, k)) return status;
    if (const int status = target_figure(a, t, k)) return status;
    if (const int status = pierce_points(a, t, k)) return status;
    if (const int status = mirror_figure(a, t, k)) return status;
    if (k == 0) {
        if (const int status = deviation(a, t.pierce_a, "\n*DOES NOT CERTIFY* Negative Inboard Deviation found",
                                         &t.record->inboard_deviation))
            return status;
        if (const int status = deviation(a, t.pierce_b, "\n*DOES NOT CERTIFY* Negative Outboard Deviation found",
                                         &t.record->outboard_deviation))
            return status;
    }
    return sight_lines(a, t);
}

/* ---- field angles, width, ground reach and obstruction ---- */

// Steps 14 to 16, from the last target analysed and target 1's width.
void field_angles(Analysis& a) {
    mc_data_2003_s* d = a.d;
    const Target& last = a.targets[a.target_count - 1];
    const double inboard_ray = plan_direction(last.pierce_a, last.record->inboard_point);
    a.o->max_ambinocular_angle = std::fabs(plan_direction(a.outermost, a.widest) - inboard_ray) * detail::kDegreesPerRadian;
    mc_target_result_s* first = a.targets[0].record;
    first->achieved_width = std::fabs(a.widest[1]) - std::fabs(first->inboard_point[1]);
    if (d->user_override == 1) {
        if (first->achieved_width < d->user_width)
            mc_add_message(d, "\nTarget Width less than User-Defined Width ");
    } else if (d->user_override == 0 && first->achieved_width < d->standard_width) {
        mc_add_message(d, "\n*DOES NOT CERTIFY* Target Width less than Standard Width ");
    }
    a.o->ambinocular_angle_at_ground =
        std::fabs(plan_direction(last.pierce_b, last.record->outboard_point) - inboard_ray) * detail::kDegreesPerRadian;
}

// Step 17: how far behind the middle eye its sight over the lowest seen
// point reaches the ground level, for both target records.
int ground_distance(Analysis& a) {
    const double* L0 = a.lowest[0][2] < a.lowest[1][2] ? a.lowest[0] : a.lowest[1];
    const double* M = a.eyes[1];
    double x[3], hit[3], direction[3];
    if (const int status = HM_VD_MC_pierce(a.tolerances, &a.s, M, L0, x)) return status;
    if (const int status = HM_VD_MC_reflex(&a.s, M, x, a.tolerances, hit, direction)) return status;
    if (std::fabs(direction[2]) < kLevelRay) return kGroundNotReached;
    const double t = (a.d->caller_points[0][2] - L0[2]) / direction[2];
    const double reach = (L0[0] + t * direction[0]) - M[0];
    a.o->first->ground_distance = reach;
    a.o->second->ground_distance = reach;
    return 0;
}

// Step 18: the share of target 1's triangle that the eyes do not see.
int obstruction(Analysis& a) {
    tag_t remaining = NULL_TAG;
    const int status = mc_judge_vision_triangle(
        a.triangle, a.vision[0], a.vision[1], a.bezel_views[0], a.bezel_views[1], a.colours[kLeftSlot],
        a.colours[kRightSlot], &a.s, a.d, a.eyes, &a.targets[0].record->inboard_point[0], NULL_TAG, a.results,
        &a.o->vision_triangle_obstruction, &remaining);
    if (remaining != NULL_TAG) {
        if (const int named =
                mc_set_object_display(remaining, "RES_VIS_TRNGL_A", a.colours[kCommonSlot], false, a.results))
            return status != 0 ? status : named;
    }
    return status;
}

int analyse(Analysis& a, const double rear_eye[3]) {
    set_side(a);
    if (const int status = turn_mirror(a)) return status;
    set_targets(a, rear_eye);
    if (const int status = link_lines(a)) return status;
    for (int k = 0; k < a.target_count; ++k)
        if (const int status = analyse_target(a, k)) return status;
    field_angles(a);
    if (const int status = ground_distance(a)) return status;
    return obstruction(a);
}

bool surface_is_finite(const mc_mirror_surface_s& s) {
    return detail::finite3(s.centre) && std::isfinite(s.curvature) && std::isfinite(s.radius) &&
           detail::finite3(s.vertex) && detail::finite3(s.normal);
}

}  // namespace
}  // namespace carvell::r2003

using namespace carvell::r2003;

int HM_VD_MC_pro_outside_analysis(mc_data_2003_s* data, mc_mirror_surface_s* surface, double rear_eye[3]) {
    if (!data || !surface || !rear_eye || !data->outside || !data->outside->first || !data->outside->second)
        return kBadArgument;
    if (!surface_is_finite(*surface) || !carvell::detail::finite3(rear_eye)) return kBadArgument;
    Analysis a;
    a.d = data;
    a.o = data->outside;
    a.s = *surface;
    a.results = data->outside->result_objects;
    a.tolerances[0] = data->distance_tolerance;
    a.tolerances[1] = data->angle_tolerance;
    a.plane_tolerances[0] = data->distance_tolerance;
    a.plane_tolerances[1] = data->angle_tolerance;
    return analyse(a, rear_eye);
}
