// The outside-mirror analysis: the area comparison of a passenger mirror,
// the mirror made a plane or a sphere, then the aimed mirror's outline and
// bezel reflected from both eyes onto the target plane, the standard's
// vision triangle (and the dual target's cylinder), the mirror triangle, the
// deviations, field angles and margins, and the restriction curves.
#include "mirror_flow.h"
#include "mirror_helpers.h"
#include "mirror_optics.h"
#include "mirror_record.h"
#include "toolbox/detail/finite.h"
#include "mirror_restrictions.h"

#include "hm_vd/objects.h"
#include "hm_vd/vectors.h"
#include "omvra.h"
#include "quillon.h"
#include "toolbox/detail/owners.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace carvell::mirror {
namespace {

using detail::HostList;

constexpr double kDegrees = kDegreesPerRadian;
constexpr double kAreaFloor = 1e-10;
constexpr int kDualTargetRow = 4;
// Colours of the working record, by what takes them.
enum Colour { kMirrorColour = 0, kInboardColour = 1, kOutboardColour = 2, kTriangleColour = 3, kLineColour = 4 };

const char* const kConstructText =
    "The program failed to construct a plane/sphere mirror through the \ninput sheet of the outside mirror.";
const char* const kAreaText = "The program failed to calculate the sheet area when \nattempting to run area comparison.";
const char* const kLinesText =
    "The program failed to create some link lines when attempting \nto process the outside mirror analysis.";
const char* const kElementsText = "The program failed to fill a sheet element structure.";
const char* const kExtremeText = "The program failed to find an extreme point on the given sheet.";
const char* const kTriangleText =
    "The program failed to create a standard vision triangle when \nattempting to process outside mirror analysis.";
const char* const kCylinderText =
    "The program failed to compute a standard cylinder for the dual target when attempting to process the outside "
    "mirror analysis.";
const char* const kDeviationText =
    "The program failed to determine inboard and outboard deviation \nwhen attempting to process the outside mirror "
    "analysis.";
const char* const kPierceText =
    "The program failed to find a pierce point on the mirror so \nthat a ray leaving the eye and bouncing off the "
    "mirror \nat the found point will pass through the target point.";

enum AnalysisCode {
    kAnalysed = 0,
    kPositionFailed = 1,
    kElementsFailed = 2,
    kExtremeFailed = 3,
    kLinesFailed = 4,
    kReflectFailed = 5,
    kTriangleFailed = 6,
    kCylinderFailed = 7,
    kPierceFailed = 8,
    kDeviationFailed = 9,
    kMarginFailed = 10,
    kRestrictionFailed = 11,
};

enum ProcessOutsideCode { kNotOneFace = 1, kAreaFailed = 2, kConstructionFailed = 3, kAnalysisFailed = 4 };

void copy3(double out[3], const double in[3]) { std::memcpy(out, in, 3 * sizeof(double)); }
double plan_angle(const double from[3], const double to[3]) { return std::atan2(to[1] - from[1], to[0] - from[0]); }

// The mirror on the +y side of the eye (the eye reference point at most as
// far right as the pivot): the "at most" side, equal included.
// A line object between two points; 0 on failure.
tag_t make_line(const double from[3], const double to[3]) {
    HM_CURVE_line_t data;
    std::memcpy(data.start_point, from, sizeof data.start_point);
    std::memcpy(data.end_point, to, sizeof data.end_point);
    tag_t line = NULL_TAG;
    return HM_CURVE_create_line(&data, &line) == 0 ? line : NULL_TAG;
}

bool mirror_on_right(const mc_data_s* d) { return d->eye_reference_point[1] <= d->mirror_reference_point[1]; }

/* ---- the construction of the mirror ---- */

// The record's mirror replaced by a sheet the construction made (the old
// one deleted unless it is the caller's), its elements taken again.
int replace_mirror(mc_data_s* d, tag_t sheet, const char* failure) {
    if (d->mirror != d->initial_mirror) (void)HM_VD_delete_object(d->mirror);
    d->mirror = sheet;
    mc_free_geometry_set(&d->mirror_elements);
    if (mc_sheet_elements(d->mirror, nullptr, 0, d->third_tolerance, &d->mirror_elements) != 0)
        return stage_failure(d, failure, kConstructText, kConstructionFailed);
    return 0;
}

int compare_areas(mc_data_s* d) {
    if (d->mirror_kind != 2 || d->eye_method != 0) return 0;
    trace("+++ Area comparsion\n");
    mc_outside_result_s* o = d->outside;
    if (d->opposite_mirror == d->mirror || d->opposite_mirror == d->initial_mirror || d->skip_area_test) {
        d->skip_area_test = true;
        o->driver_mirror_area_percentage = 0.0;
        add_warning(d, kSkipOppositeTest);
        return 0;
    }
    d->skip_area_test = false;
    double opposite = 0.0, own = 0.0;
    if (mc_mirror_area(d->opposite_mirror, d->third_tolerance, &opposite) != 0 || !(opposite > kAreaFloor))
        return stage_failure(d, "Fail to find the area of opposite mirror.\n", kAreaText, kAreaFailed);
    if (mc_mirror_area(d->mirror, d->third_tolerance, &own) != 0)
        return stage_failure(d, "Fail to find the area of original mirror.\n", kAreaText, kAreaFailed);
    o->driver_mirror_area_percentage = own / opposite * 100.0;
    return 0;
}

// The spherical face's own sphere at the pivot: centre, radius, vertex, normal.
int surface_from_sphere_face(mc_data_s* d, tag_t face, mc_mirror_surface_record* s) {
    double parm[2], point[3], u1[3], v1[3], u2[3], v2[3], n[3], radii[2];
    if (HM_MODL_ask_face_parm(face, d->mirror_reference_point, parm, point) != 0 ||
        HM_MODL_ask_face_props(face, parm, point, u1, v1, u2, v2, n, radii) != 0)
        return stage_failure(d, "Fail to ask face props.\n", kConstructText, kConstructionFailed);
    // The face normal points to the viewing side; the centre lies behind the glass.
    const double r = std::fabs(radii[0]);
    if (!(r > 0.0)) return stage_failure(d, "Fail to ask face props.\n", kConstructText, kConstructionFailed);
    for (int i = 0; i < 3; ++i) s->centre[i] = point[i] - r * n[i];
    s->curvature = 1.0 / r;
    s->radius = r;
    copy3(s->vertex, d->mirror_reference_point);
    copy3(s->normal, n);
    d->user_radius = r;
    return 0;
}

int make_sphere_mirror(mc_data_s* d, tag_t face, int face_type, mc_mirror_surface_record* s) {
    if (d->mirror_kind == 1 && d->eye_method == 0) {
        add_warning(d, kWarnForStudy);
        d->certifies = false;
    }
    if (face_type == HM_FACE_SPHERICAL)
        if (int status = surface_from_sphere_face(d, face, s)) return status;
    mc_free_geometry_set(&d->mirror_elements);
    if (mc_sheet_elements(d->mirror, nullptr, 0, d->third_tolerance, &d->mirror_elements) != 0)
        return stage_failure(d, "Fail to find the sheet element for the mirror.\n", kConstructText,
                             kConstructionFailed);
    tag_t sheet = NULL_TAG;
    double centre[3], axis[3];
    if (mc_spherical_fit(&d->mirror_elements, d, &sheet, centre, axis) != 0 || sheet == NULL_TAG)
        return stage_failure(d, "Fail to make sphere for the mirror elements.\n", kConstructText,
                             kConstructionFailed);
    if (face_type != HM_FACE_SPHERICAL) {
        // The fitted sphere of the user's radius, its vertex nearest the pivot.
        const double r = d->user_radius;
        double towards[3], magnitude = 0.0, unit[3];
        for (int i = 0; i < 3; ++i) towards[i] = d->mirror_reference_point[i] - centre[i];
        if (!(r > 0.0) || HM_VEC3_unitize(towards, d->distance_tolerance, &magnitude, unit) != 0) {
            (void)HM_VD_delete_object(sheet);
            return stage_failure(d, "Fail to make sphere for the mirror elements.\n", kConstructText,
                                 kConstructionFailed);
        }
        copy3(s->centre, centre);
        s->radius = r;
        s->curvature = 1.0 / r;
        for (int i = 0; i < 3; ++i) s->vertex[i] = centre[i] + r * unit[i];
        copy3(s->normal, unit);
    }
    if (int status = replace_mirror(d, sheet, "Fail to update the mirror elements.\n")) return status;
    if (d->user_radius < d->lower_legal_radius || d->user_radius > d->upper_legal_radius) {
        add_warning(d, kWarnOutOfRange);
        d->certifies = false;
    }
    return 0;
}

int make_plane_mirror(mc_data_s* d, int face_type, mc_mirror_surface_record* s) {
    mc_free_geometry_set(&d->mirror_elements);
    if (mc_sheet_elements(d->mirror, nullptr, 0, d->third_tolerance, &d->mirror_elements) != 0)
        return stage_failure(d, "Fail to find the sheet element for the mirror.\n", kConstructText,
                             kConstructionFailed);
    double origin[3], normal[3];
    if (HM_VD_ask_leastsq_plane(d->mirror_elements.point_count, d->mirror_elements.points, origin, normal) != 0)
        return stage_failure(d, "Fail to determine least square plane.\n", kConstructText, kConstructionFailed);
    if (normal[0] < 0.0)
        for (double& v : normal) v = -v;
    tag_t sheet = NULL_TAG;
    if (face_type == HM_FACE_PLANAR) {
        if (HM_VD_copy_object(HM_VD_KEEP_LAYER, 1, &d->mirror, &sheet) != 0 || sheet == NULL_TAG)
            return stage_failure(d, "Fail to create a bounded plane.\n", kConstructText, kConstructionFailed);
    } else if (mc_outline_on_plane(d->mirror, d->third_tolerance, &sheet) != 0 || sheet == NULL_TAG) {
        return stage_failure(d, "Fail to project the mirror curves on the plane.\n", kConstructText,
                             kConstructionFailed);
    }
    if (int status = replace_mirror(d, sheet, "Fail to update the mirror structure.\n")) return status;
    copy3(s->centre, origin);
    copy3(s->vertex, origin);
    copy3(s->normal, normal);
    s->curvature = 0.0;
    s->radius = 0.0;
    d->user_radius = 0.0;
    return 0;
}

int construct_mirror(mc_data_s* d, mc_mirror_surface_record* s) {
    trace("+++ Construction of mirror sheet\n");
    HostList faces;
    if (HM_MODL_ask_body_faces(d->mirror, faces.out()) != 0)
        return stage_failure(d, "Fail to ask body faces.\n", kConstructText, kNotOneFace);
    const std::vector<tag_t> items = faces.items();
    if (items.size() != 1) return stage_failure(d, "Fail to ask list count.\n", kConstructText, kNotOneFace);
    int face_type = 0;
    if (HM_MODL_ask_face_type(items[0], &face_type) != 0)
        return stage_failure(d, "Fail to ask face type.\n", kConstructText, kConstructionFailed);
    return d->mirror_shape == 1 ? make_sphere_mirror(d, items[0], face_type, s) : make_plane_mirror(d, face_type, s);
}

/* ---- the analysis ---- */

struct Targets {
    int count = 1;
    mc_outside_target_s* t[2] = {nullptr, nullptr};
};

struct Analysis {
    mc_data_s* d;
    mc_outside_result_s* o;
    mc_mirror_surface_record* s;
    hm_list_p_t results;
    double tolerances[2];
    double turned[3][3];           // turned left, mid, right eye
    const double* inboard_eye;
    const double* outboard_eye;
    double outermost[3];
    double widest[3];
    double lowest[2][3];           // lowest reflected point of the left and right eye
    Targets targets;
    double inboard_point[3];       // where the outboard eye sees A (first target)
    double outboard_point[3];      // where the inboard eye sees B
    double corner[3];              // the prime-point corner of the mirror triangle
    tag_t vision[2] = {NULL_TAG, NULL_TAG};   // the left and right eye's sheets on target A
    tag_t vision_triangle = NULL_TAG;
    std::vector<tag_t> scratch;    // deleted at the end
    ~Analysis() { delete_alive(scratch); }
};

int named_line(Analysis& a, const double from[3], const double to[3], const char* name, int colour) {
    tag_t line = NULL_TAG;
    if (mc_create_named_line(from, to, name, a.d->colours[colour], a.results, &line) != 0)
        return stage_failure(a.d, "Fail to create a line. \n", kLinesText, kLinesFailed);
    return 0;
}

void set_targets(Analysis& a) {
    mc_data_s* d = a.d;
    const double distance = d->user_override ? d->user_distance[0] : d->standard_distance[0];
    const double width = d->user_override ? d->user_width[0] : d->standard_width[0];
    const double side = mirror_on_right(d) ? 1.0 : -1.0;
    const double eye_x = a.turned[1][0];
    mc_outside_target_s* first = a.o->first;
    first->point_a[0] = eye_x + distance;
    first->point_a[1] = d->first_target_point[1];
    first->point_a[2] = d->first_target_point[2];
    copy3(first->point_b, first->point_a);
    first->point_b[1] += side * width;
    a.targets.t[0] = first;
    if (d->mirror_kind == 2 && d->standard_row == kDualTargetRow) {
        mc_outside_target_s* second = a.o->second;
        second->point_a[0] = d->second_target_point[0];
        second->point_a[1] = d->first_target_point[1];
        second->point_a[2] = d->first_target_point[2];
        copy3(second->point_b, second->point_a);
        second->point_b[1] += side * d->standard_width[1];
        a.targets.t[1] = second;
        a.targets.count = 2;
    }
}

int aim_and_orient(Analysis& a) {
    mc_data_s* d = a.d;
    trace("+++ position the mirror \n");
    double matrix[12], prime[3];
    tag_t rotated = NULL_TAG;
    if (HM_VD_MC_pro_position_outside_mirror(d, a.o, a.s, matrix, &rotated, prime, a.turned) != 0)
        return log_failure("Fail to position outside mirror. \n", kPositionFailed);
    d->mirror = rotated;
    mc_free_geometry_set(&d->mirror_elements);
    if (mc_sheet_elements(d->mirror, nullptr, 0, d->third_tolerance, &d->mirror_elements) != 0)
        return stage_failure(d, "Fail to retrieve the sheet element structure. \n", kElementsText, kElementsFailed);
    const double out = mirror_on_right(d) ? 1.0 : -1.0;
    const double directions[3][3] = {{0, out, 0}, {0, 0, 1}, {1, 0, 0}};
    tag_t sub = NULL_TAG, face = NULL_TAG;
    if (mc_extreme_point(d->mirror, directions, &sub, &face, a.outermost) != 0)
        return stage_failure(d, "Fail to calculate the outside most point on the rotated mirror. \n", kExtremeText,
                             kExtremeFailed);
    trace("+++ set the left and right eyes \n");
    a.inboard_eye = mirror_on_right(d) ? a.turned[0] : a.turned[2];
    a.outboard_eye = mirror_on_right(d) ? a.turned[2] : a.turned[0];
    set_targets(a);
    a.o->values_b[0] = a.turned[1][0];
    d->outside_value = a.turned[1][0];
    a.o->values_b[1] = std::fabs(plan_angle(a.s->vertex, a.turned[1])) * kDegrees;
    return 0;
}

int link_lines(Analysis& a, const double eyes[3][3]) {
    const double* pivot = a.o->pivot;
    const struct {
        const double* from;
        const double* to;
        const char* name;
    } lines[] = {
        {a.turned[1], a.s->vertex, "ANGLE_VIEW"}, {eyes[0], eyes[2], "EYES"},
        {eyes[1], pivot, "HEADPIVOT"},           {a.turned[0], a.turned[2], "ROTEYES"},
        {a.turned[1], pivot, "ROTHEAD_PVT"},
    };
    for (const auto& l : lines)
        if (named_line(a, l.from, l.to, l.name, kLineColour) != 0)
            return stage_failure(a.d, "Fail to create a line. \n", kLinesText, kLinesFailed);
    if (mc_set_object_attributes(a.d->mirror, "ROTMIRROR", a.d->colours[kMirrorColour], 0, a.results) != 0)
        return stage_failure(a.d, "Fail to create a line. \n", kLinesText, kLinesFailed);
    return 0;
}

// The extreme point of a sheet along the first direction, ties by the others.
bool extreme(tag_t sheet, const double directions[3][3], double point[3]) {
    tag_t sub = NULL_TAG, face = NULL_TAG;
    return mc_extreme_point(sheet, directions, &sub, &face, point) == 0;
}

// Reflects an outline from the eye onto the target plane; the reflected
// sheet named, the mirror sheet kept (named) or discarded (no name).
int reflect(Analysis& a, const mc_geometry_set_s* outline, int mode, const double* eye, const double* plane_point,
            const char* mirror_name, const char* reflected_name, int colour, tag_t* reflected) {
    tag_t on_mirror = NULL_TAG;
    *reflected = NULL_TAG;
    const int status = mc_reflect_mirror_outline(outline, mode, eye, a.s, a.tolerances, plane_point, NULL_TAG,
                                                 &on_mirror, reflected);
    if (status != 0 && status != 2 && status != 3) return 1;
    if (mirror_name) {
        (void)mc_set_object_attributes(on_mirror, mirror_name, colour, 0, a.results);
    } else {
        (void)HM_OBJ_set_layer(on_mirror, kScratchLayer);
        (void)HM_VD_delete_object(on_mirror);
    }
    (void)mc_set_object_attributes(*reflected, reflected_name, colour, 0, a.results);
    return 0;
}

int reflect_bezel(Analysis& a, const double* eye, const char eye_letter, const char target_letter,
                  const double* plane_point, int colour) {
    mc_data_s* d = a.d;
    const std::vector<tag_t> curves = detail::list_items(d->bezels);
    if (!d->has_bezel || curves.empty()) return 0;
    mc_geometry_set_s bezel{};
    if (mc_sheet_elements(NULL_TAG, curves.data(), static_cast<int>(curves.size()), d->third_tolerance, &bezel) !=
        0) {
        mc_free_geometry_set(&bezel);
        return 1;
    }
    char mirror_name[32], target_name[32];
    tag_t reflected = NULL_TAG;
    std::snprintf(mirror_name, sizeof mirror_name, "%c_MIR_PRJ_BZL", eye_letter);
    std::snprintf(target_name, sizeof target_name, "%c_VIS_PRJ_BZL_%c", eye_letter, target_letter);
    int status = reflect(a, &bezel, 0, eye, plane_point, mirror_name, target_name, colour, &reflected);
    std::snprintf(mirror_name, sizeof mirror_name, "%c_MIR_RFL_BZL", eye_letter);
    std::snprintf(target_name, sizeof target_name, "%c_VIS_RFL_BZL_%c", eye_letter, target_letter);
    if (status == 0) status = reflect(a, &bezel, 1, eye, plane_point, mirror_name, target_name, colour, &reflected);
    mc_free_geometry_set(&bezel);
    return status;
}

int project_and_reflect(Analysis& a) {
    mc_data_s* d = a.d;
    trace("+++ project and reflect the rotated mirror and the bezel \n");
    const char* const failure = "Fail to project and reflect the rotated mirror and the bezel.\n";
    const char eye_letters[2] = {'L', 'R'};
    const double* eyes[2] = {a.turned[0], a.turned[2]};
    const int colours[2] = {d->colours[mirror_on_right(d) ? kInboardColour : kOutboardColour],
                            d->colours[mirror_on_right(d) ? kOutboardColour : kInboardColour]};
    for (int t = 0; t < a.targets.count; ++t) {
        const char target_letter = t == 0 ? 'A' : 'B';
        for (int e = 0; e < 2; ++e) {
            char name[32];
            std::snprintf(name, sizeof name, "%c_VISION_%c", eye_letters[e], target_letter);
            tag_t reflected = NULL_TAG;
            if (reflect(a, &d->mirror_elements, 0, eyes[e], a.targets.t[t]->point_a, nullptr, name, colours[e],
                        &reflected) != 0)
                return stage_failure(d, failure, kElementsText, kReflectFailed);
            if (t == 0) a.vision[e] = reflected;
            if (t == 0) {
                const double lowest[3][3] = {{0, 0, -1}, {0, 1, 0}, {1, 0, 0}};
                if (!extreme(reflected, lowest, a.lowest[e]))
                    return stage_failure(d, failure, kExtremeText, kReflectFailed);
                // The widest point: the left eye's sheet in +y for a mirror
                // on the right, the right eye's in -y otherwise.
                const bool widest_eye = mirror_on_right(d) ? e == 0 : e == 1;
                if (widest_eye) {
                    const double out = mirror_on_right(d) ? 1.0 : -1.0;
                    const double widest[3][3] = {{0, out, 0}, {0, 0, 1}, {1, 0, 0}};
                    if (!extreme(reflected, widest, a.widest))
                        return stage_failure(d, failure, kExtremeText, kReflectFailed);
                }
            }
            if (reflect_bezel(a, eyes[e], eye_letters[e], target_letter, a.targets.t[t]->point_a, colours[e]) != 0)
                return stage_failure(d, failure, kElementsText, kReflectFailed);
        }
    }
    if (named_line(a, a.widest, a.outermost, "MIR_WIDE", kLineColour) != 0) return kLinesFailed;
    return 0;
}

// A bounded plane through the corners (lines between them deleted after).
int polygon_sheet(Analysis& a, const double (*corners)[3], int n, const char* name, int colour, tag_t* sheet) {
    std::vector<tag_t> lines;
    for (int i = 0; i < n; ++i) {
        const tag_t line = make_line(corners[i], corners[(i + 1) % n]);
        if (line == NULL_TAG) {
            delete_alive(lines);
            return 1;
        }
        lines.push_back(line);
    }
    const int status = mc_bounded_plane(n, lines.data(), name, colour, a.results, sheet);
    for (tag_t line : lines) (void)HM_OBJ_set_layer(line, kScratchLayer);
    delete_alive(lines);
    return status;
}

int standard_figures(Analysis& a) {
    mc_data_s* d = a.d;
    trace("+++ compute standard triangle \n");
    const mc_outside_target_s* first = a.targets.t[0];
    const double p0[3] = {first->point_a[0], d->prime_point[1], d->prime_point[2]};
    const double triangle[3][3] = {{p0[0], p0[1], p0[2]},
                                   {first->point_a[0], first->point_a[1], first->point_a[2]},
                                   {first->point_b[0], first->point_b[1], first->point_b[2]}};
    tag_t sheet = NULL_TAG;
    if (polygon_sheet(a, triangle, 3, "VIS_TRNGL_A", d->colours[kTriangleColour], &sheet) != 0)
        return stage_failure(d, "Fail to create a bounded plane. \n", kTriangleText, kTriangleFailed);
    a.vision_triangle = sheet;
    if (a.targets.count < 2) return 0;

    trace("+++ compute standard cylinder \n");
    const mc_outside_target_s* second = a.targets.t[1];
    const double base[3] = {second->point_a[0], 0.5 * (second->point_a[1] + second->point_b[1]),
                            second->point_a[2]};
    const double up[3] = {0, 0, 1};
    char height[64], diameter[64];
    std::snprintf(height, sizeof height, "%f", d->units == 0 ? 1000.0 : 39.37007874015748);
    std::snprintf(diameter, sizeof diameter, "%f", std::fabs(second->point_b[1] - second->point_a[1]));
    tag_t feature = NULL_TAG, body = NULL_TAG;
    if (HM_MODL_create_cyl1(HM_NULLSIGN, base, height, diameter, up, &feature) != 0)
        return stage_failure(d, "Fail to create the cylinder(solid) in the target plane.\n", kCylinderText,
                             kCylinderFailed);
    if (HM_MODL_ask_feat_body(feature, &body) != 0 || body == NULL_TAG)
        return stage_failure(d, "Fail to retrieve the body tag of the cylinder feature.\n", kCylinderText,
                             kCylinderFailed);
    (void)mc_set_object_attributes(body, "VIS_TRNGL_B", d->colours[kTriangleColour], 1, a.results);
    return 0;
}

int pierce(Analysis& a, const double* eye, const double* target, double out[3]) {
    if (HM_VD_MC_pierce(a.tolerances, a.s, eye, target, out) != 0)
        return stage_failure(a.d, "Fail to determine the point on the mirror MC_PIERCE.\n", kPierceText,
                             kPierceFailed);
    return 0;
}

int mirror_figures(Analysis& a) {
    mc_data_s* d = a.d;
    trace("+++ compute the mirror triangle \n");
    for (int t = 0; t < a.targets.count; ++t) {
        const mc_outside_target_s* target = a.targets.t[t];
        double outboard[3], inboard[3];
        if (int status = pierce(a, a.inboard_eye, target->point_b, outboard)) return status;
        if (int status = pierce(a, a.outboard_eye, target->point_a, inboard)) return status;
        tag_t sheet = NULL_TAG;
        if (t == 0) {
            copy3(a.inboard_point, inboard);
            copy3(a.outboard_point, outboard);
            copy3(a.corner, d->prime_point);
            const double triangle[3][3] = {{d->prime_point[0], d->prime_point[1], d->prime_point[2]},
                                           {inboard[0], inboard[1], inboard[2]},
                                           {outboard[0], outboard[1], outboard[2]}};
            if (polygon_sheet(a, triangle, 3, "MIR_ROT_TRNGL_A", d->colours[kTriangleColour], &sheet) != 0)
                return stage_failure(d, "Fail to create a bounded plane. \n", kTriangleText, kTriangleFailed);
            continue;
        }
        // The dual target: the cylinder's top above A and B seen in the mirror.
        const double rise = d->units == 0 ? 1000.0 : 39.37007874015748;
        const double top_a[3] = {target->point_a[0], target->point_a[1], target->point_a[2] + rise};
        const double top_b[3] = {target->point_b[0], target->point_b[1], target->point_b[2] + rise};
        double seen_a[3], seen_b[3];
        if (int status = pierce(a, a.outboard_eye, top_a, seen_a)) return status;
        if (int status = pierce(a, a.inboard_eye, top_b, seen_b)) return status;
        const double quad[4][3] = {{seen_a[0], seen_a[1], seen_a[2]},
                                   {inboard[0], inboard[1], inboard[2]},
                                   {outboard[0], outboard[1], outboard[2]},
                                   {seen_b[0], seen_b[1], seen_b[2]}};
        int status = 0;
        if (a.s->radius <= 0.0) {
            status = polygon_sheet(a, quad, 4, "MIR_ROT_TRNGL_B", d->colours[kTriangleColour], &sheet);
        } else {
            std::vector<tag_t> lines;
            for (int i = 0; i < 4; ++i) {
                const tag_t line = make_line(quad[i], quad[(i + 1) % 4]);
                if (line != NULL_TAG) lines.push_back(line);
            }
            mc_sphere_s sphere{};
            copy3(sphere.centre, a.s->centre);
            sphere.radius = a.s->radius;
            copy3(sphere.axis, a.s->normal);
            status = lines.size() == 4 ? mc_spherical_patch(lines.data(), 4, &sheet, &sphere) : 1;
            if (status == 0)
                status = mc_set_object_attributes(sheet, "MIR_ROT_TRNGL_B", d->colours[kTriangleColour], 0, a.results);
            delete_alive(lines);
        }
        if (status != 0)
            return stage_failure(d, "Fail to create a bounded plane. \n", kTriangleText, kTriangleFailed);
    }
    return 0;
}

// The deviation of a mirror point: its distance from the glass's outline,
// negative when the point lies off the glass.
int deviation(Analysis& a, const double point[3], Warning off_glass, double* out) {
    mc_data_s* d = a.d;
    tag_t marker = NULL_TAG;
    if (HM_CURVE_create_point(point, &marker) != 0)
        return stage_failure(d, "Fail to ask the minimum distance.\n", kDeviationText, kDeviationFailed);
    (void)mc_set_object_attributes(marker, nullptr, 0, 0, a.results);
    double distance = 0.0, p1[3], p2[3];
    if (HM_MODL_ask_minimum_dist(d->mirror_elements.outline, marker, 0, nullptr, 0, nullptr, &distance, p1, p2) != 0)
        return stage_failure(d, "Fail to ask the minimum distance.\n", kDeviationText, kDeviationFailed);
    const double half = 0.5 * d->standard_distance[0];
    const double from[3] = {point[0] - half, point[1], point[2]}, to[3] = {point[0] + half, point[1], point[2]};
    const tag_t probe = make_line(from, to);
    int count = 0;
    HM_MODL_intersection_t** hits = nullptr;
    if (probe != NULL_TAG) {
        (void)HM_MODL_intersect_objects(probe, d->mirror_elements.face != NULL_TAG ? d->mirror_elements.face
                                                                                    : d->mirror,
                                        d->distance_tolerance, &count, &hits);
        detail::discard_intersection_entries(count, hits);
        (void)HM_OBJ_set_layer(probe, kScratchLayer);
        (void)HM_VD_delete_object(probe);
    }
    if (count == 0) {
        distance = -distance;
        add_warning(d, off_glass);
    }
    *out = distance;
    return 0;
}

int sight_lines(Analysis& a) {
    trace("+++  create sight lines connecting the inboard eye (rotated) with outboard triangle point \n");
    for (int t = 0; t < a.targets.count; ++t) {
        const mc_outside_target_s* target = a.targets.t[t];
        const char letter = t == 0 ? 'A' : 'B';
        const double p0[3] = {target->point_a[0], a.d->prime_point[1], a.d->prime_point[2]};
        const struct {
            const double* from;
            const double* to;
            const char* stem;
        } lines[] = {
            {a.inboard_eye, a.outboard_point, "EYE_MIR_OUTBRD_"}, {a.outboard_eye, a.inboard_point, "EYE_MIR_INBRD_"},
            {a.outboard_eye, a.corner, "EYE_MIR_HORZ_"},         {a.corner, p0, "HORIZON_"},
            {a.inboard_point, target->point_a, "INBOARD_"},      {a.outboard_point, target->point_b, "OUTBOARD_"},
        };
        for (const auto& l : lines) {
            const std::string name = std::string(l.stem) + letter;
            if (int status = named_line(a, l.from, l.to, name.c_str(), kLineColour)) return status;
        }
    }
    return named_line(a, a.inboard_eye, a.outermost, "EYE_MIR_WIDE", kLineColour);
}

void field_angles(Analysis& a) {
    mc_data_s* d = a.d;
    mc_outside_target_s* first = a.targets.t[0];
    const double inboard_ray = plan_angle(a.inboard_point, first->point_a);
    a.o->max_ambinocular_angle_pv = std::fabs(plan_angle(a.outermost, a.widest) - inboard_ray) * kDegrees;
    first->visible_width_margin = std::fabs(a.widest[1]) - std::fabs(first->point_a[1]);
    if (d->user_override) {
        if (first->visible_width_margin < d->user_width[0]) add_warning(d, kWarnUserWidth);
    } else if (first->visible_width_margin < d->standard_width[0]) {
        add_warning(d, kWarnStdWidth);
    }
    a.o->ambinocular_angle_at_ground_pv =
        std::fabs(plan_angle(a.outboard_point, first->point_b) - inboard_ray) * kDegrees;
}

// How far behind the eyes the lower sight line reaches the target's height.
int ground_reach(Analysis& a) {
    mc_data_s* d = a.d;
    const double* low = a.lowest[0][2] <= a.lowest[1][2] ? a.lowest[0] : a.lowest[1];
    double x[3], pierce_point[3], r[3];
    if (int status = pierce(a, a.turned[1], low, x)) return status;
    if (HM_VD_MC_reflex(a.s, a.turned[1], x, a.tolerances, pierce_point, r) != 0)
        return stage_failure(d, "Fail to determine the point on the mirror MC_REFLEX.\n", kPierceText,
                             kPierceFailed);
    if (std::fabs(r[2]) < 1e-12)
        return stage_failure(d, "Fail to determine the point on the mirror MC_REFLEX.\n", kPierceText,
                             kMarginFailed);
    const double margin =
        (a.targets.t[0]->point_a[2] - low[2]) / r[2] * r[0] - (a.turned[1][0] - low[0]);
    for (int t = 0; t < a.targets.count; ++t) a.targets.t[t]->ground_reach_margin = margin;
    if (a.targets.count < 2) a.o->second->ground_reach_margin = margin;
    return 0;
}

// The restriction curves of the vision triangle against the restriction
// bodies of the record, seen by the two turned eyes. Statuses 0 and 100 (the
// triangle kept, warning 12) go on, 4 adds warning 22 and goes on, others
// fail the analysis.
int restrict_vision_triangle(Analysis& a) {
    mc_data_s* d = a.d;
    const int colour0 = d->colours[mirror_on_right(d) ? kInboardColour : kOutboardColour];
    const int colour2 = d->colours[mirror_on_right(d) ? kOutboardColour : kInboardColour];
    double lost = 0.0;
    tag_t restricted = NULL_TAG;
    const int status = mc_restrict_vision_sheet(a.vision_triangle, a.vision[0], a.vision[1], NULL_TAG, NULL_TAG,
                                                colour0, colour2, a.s, d, a.turned, a.targets.t[0]->point_a,
                                                NULL_TAG, a.results, &lost, &restricted);
    if (restricted != NULL_TAG)
        (void)mc_set_object_attributes(restricted, "RES_VIS_TRNGL_A", d->colours[kTriangleColour], 0, a.results);
    a.o->values_b[2] = lost;
    if (status == kRestrictDone || status == kRestrictBoolean) return 0;
    if (status == kRestrictReflect) {
        add_warning(d, kWarnFailRestrict);
        return 0;
    }
    return stage_failure(d, "Fail to calculate the vision restriction curves.\n", kElementsText, kRestrictionFailed);
}

int analyse(mc_data_s* d, mc_mirror_surface_record* s, const double eyes[3][3]) {
    Analysis a{};
    a.d = d;
    a.o = d->outside;
    a.s = s;
    a.results = d->outside->result_objects;
    a.tolerances[0] = d->distance_tolerance;
    a.tolerances[1] = d->angle_tolerance;
    if (int status = aim_and_orient(a)) return status;
    if (int status = link_lines(a, eyes)) return status;
    if (int status = project_and_reflect(a)) return status;
    if (int status = standard_figures(a)) return status;
    if (int status = mirror_figures(a)) return status;
    trace("+++ determine inboard and outboard deviation \n");
    trace("+++ compute the inboard and outboard deviations \n");
    if (int status = deviation(a, a.inboard_point, kWarnInboardDeviation, &a.targets.t[0]->inboard_deviation))
        return status;
    if (int status = deviation(a, a.outboard_point, kWarnOutboardDeviation, &a.targets.t[0]->outboard_deviation))
        return status;
    if (int status = sight_lines(a)) return status;
    field_angles(a);
    if (int status = ground_reach(a)) return status;
    return restrict_vision_triangle(a);
}

}  // namespace
}  // namespace carvell::mirror

using namespace carvell::mirror;

int HM_VD_MC_pro_outside_analysis(mc_data_s* data, mc_mirror_surface_record* surface, const double eyes[3][3]) {
    if (!data || !data->outside || !surface || !eyes) return -1;
    if (!record_is_finite(*data) || !surface_is_finite(*surface) || !carvell::detail::all_finite(&eyes[0][0], 9))
        return -1;
    const int status = analyse(data, surface, eyes);
    mc_free_geometry_set(&data->mirror_elements);
    return status;
}

int HM_VD_MC_apf_process_outside(mc_data_s* data) {
    if (!data || !data->outside || !data->outside->surface) return -1;
    if (!record_is_finite(*data) || !outside_eyes_finite(*data->outside)) return -1;
    trace("+++ INITIALIZATION in HM_VD_MC_apf_process_outside\n");
    mc_outside_result_s* o = data->outside;
    int status = compare_areas(data);
    if (status == 0) status = construct_mirror(data, o->surface);
    if (status == 0) {
        trace("+++ Call HM_VD_MC_pro_outside_analysis to analyze the data\n");
        const double eyes[3][3] = {{o->left_eye[0], o->left_eye[1], o->left_eye[2]},
                                   {o->mid_eye[0], o->mid_eye[1], o->mid_eye[2]},
                                   {o->right_eye[0], o->right_eye[1], o->right_eye[2]}};
        if (HM_VD_MC_pro_outside_analysis(data, o->surface, eyes) != 0)
            status = log_failure("Fail to analysis outside mirror.\n", kAnalysisFailed);
    }
    trace("+++ Cleanup in HM_VD_MC_apf_process_outside\n");
    mc_free_geometry_set(&data->mirror_elements);
    return status;
}
