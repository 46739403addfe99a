// The turning search of the 2003 inside-mirror analysis: the mirror turned
// about its pivot in side and plan view until the driver, from the middle
// virtual eye, sees the backlite centred in the mirror and the common view's
// upper or lower edge where the pass wants it; and the sight-geometry steps
// that the search and the analysis share.
#include "r2003_mc_inside.h"
#include "r2003_mirror.h"

#include "hm_vd_mc.h"
#include "omvra.h"
#include "quillon.h"
#include "toolbox/detail/constants.h"
#include "toolbox/detail/owners.h"
#include "toolbox/detail/vec3.h"

#include <cmath>
#include <cstring>

namespace carvell::r2003 {
namespace {

using detail::copy3;

constexpr int kSearchIterations = 50;
// hm5947: transform copies, each on its own layer, no trace curves.
constexpr int kCopyObjects = 2;
constexpr int kOwnLayers = -1;
constexpr int kNoTraceCurves = 2;

const char* const kBadPositionText = "\nWARNING - Possible bad initial mirror position";
// The temporary views carry a blank name.
const char* const kViewName = " ";

enum SearchCode {
    kSearchDone = 0,
    kRotationFailed = 1,
    kCopyFailed = 2,
    kEyesFailed = 3,
    kMirrorImageFailed = 4,
    kViewFailed = 5,
    kExtremeFailed = 6,
    kMirrorViewNotCut = 7,
    kBackliteViewNotCut = 8,
    kNoConvergence = 9,
    kBadArgument = -1
};

// What the search works on, as its caller gave it.
struct Search {
    mc_data_2003_s* data;
    const mc_geometry_set_s* backlite;
    tag_t centering;
    tag_t mirror_plane;
    tag_t mirror_sheet;
    double weights[2];
    const double* reference_axis;
    const double* ground_point;
};

// One turned placement of the mirror: the copies and the eyes.
struct Placement {
    tag_t mirror = NULL_TAG;
    tag_t plane = NULL_TAG;
    double turned_eyes[3][3]{};
    double virtual_eyes[3][3]{};
    double values[2]{};   // the outboard view angle and the head turn
    void discard() {
        detail::delete_if_alive(mirror);
        detail::delete_if_alive(plane);
        mirror = plane = NULL_TAG;
    }
};

// How far one placement is from the aim.
struct Corrections {
    double plan = 0.0;         // degrees: backlite view's centre less mirror view's centre
    double side = 0.0;         // degrees: weighted aim less common view's edge
    double offset_gap = 0.0;   // lateral offset of the mirror view less that of the backlite view
};

// The next angles from the last corrections. A reflected view turns twice as
// far as the mirror, hence half the correction. The steps are taken on the
// angles' size: a side angle tips the mirror down while it is positive, a
// plan angle turns it towards the driver's side while it keeps the sign of
// that side (positive with the pivot at or left of the eye reference,
// negative with it to the right).
void next_angles(const mc_data_2003_s& data, const Corrections& last, double* plan, double* side) {
    *side += (*side <= 0.0 ? 0.5 : -0.5) * last.side;
    const bool pivot_left = data.pivot[1] <= data.eye_reference[1];
    const bool adds = pivot_left ? *plan >= 0.0 : *plan <= 0.0;
    *plan += (adds ? 0.5 : -0.5) * last.plan;
}

bool copy_by(const double matrix[12], tag_t object, tag_t* copy) {
    int status = 0;
    return hm5947(matrix, &object, 1, kCopyObjects, kOwnLayers, kNoTraceCurves, copy, nullptr, &status) == 0 &&
           status == 0 && *copy != NULL_TAG;
}

// The mirror and its plane turned by the side angle about +y and then the
// plan angle about +z through the pivot; the eyes turned towards the
// mirror's outboard edge and mirrored in the turned plane.
int place(const Search& s, double plan, double side, Placement* p) {
    const mc_data_2003_s& d = *s.data;
    const double y_axis[3] = {0, 1, 0}, z_axis[3] = {0, 0, 1};
    double side_turn[12], plan_turn[12], turn[12];
    if (hm5945(d.pivot, y_axis, side, side_turn) != 0 || hm5945(d.pivot, z_axis, plan, plan_turn) != 0 ||
        hm5942(side_turn, plan_turn, turn) != 0)
        return kRotationFailed;
    if (!copy_by(turn, s.mirror_sheet, &p->mirror) || !copy_by(turn, s.mirror_plane, &p->plane)) return kCopyFailed;
    const mc_inside_result_2003_s& r = *d.inside;
    const double eyes[3][3] = {{r.left_eye[0], r.left_eye[1], r.left_eye[2]},
                               {r.mid_eye[0], r.mid_eye[1], r.mid_eye[2]},
                               {r.right_eye[0], r.right_eye[1], r.right_eye[2]}};
    if (mc_ask_outboard_view_angle(&d, eyes, r.head_pivot, p->turned_eyes, &p->values[0], &p->values[1]) != 0)
        return kEyesFailed;
    double image[12];
    if (hm5946(p->plane, image) != 0) return kMirrorImageFailed;
    for (int i = 0; i < 3; ++i) {
        copy3(p->turned_eyes[i], p->virtual_eyes[i]);
        if (hm5941(p->virtual_eyes[i], image) != 0) return kMirrorImageFailed;
    }
    return kSearchDone;
}

// The midpoint of the view's extreme points towards +y (then +x, +z) and
// towards -y (then -x, -z).
bool view_centre(tag_t view, double centre[3]) {
    const double plus[3][3] = {{0, 1, 0}, {1, 0, 0}, {0, 0, 1}};
    const double minus[3][3] = {{0, -1, 0}, {-1, 0, 0}, {0, 0, -1}};
    tag_t subentity = NULL_TAG, face = NULL_TAG;
    double a[3], b[3];
    if (mc_ask_sheet_extreme_point(view, plus[0], plus[1], plus[2], &subentity, &face, a) != 0 ||
        mc_ask_sheet_extreme_point(view, minus[0], minus[1], minus[2], &subentity, &face, b) != 0)
        return false;
    for (int k = 0; k < 3; ++k) centre[k] = 0.5 * (a[k] + b[k]);
    return true;
}

// The placed mirror's view and the backlite's view from the middle virtual
// eye on the centering plane, and how far they are from the aim.
int measure(const Search& s, const Placement& p, Corrections* c) {
    mc_data_2003_s* d = s.data;
    const double* eye = p.virtual_eyes[1];
    const double tolerances[3] = {d->distance_tolerance, d->angle_tolerance, 0.0};
    McScopedSet turned;
    detail::Temporaries temporaries;
    if (mc_build_geometry_set(p.mirror, nullptr, 0, &turned.set) != 0) return kViewFailed;
    const mc_geometry_set_s* outlines[2] = {&turned.set, s.backlite};
    tag_t views[2] = {NULL_TAG, NULL_TAG};   // mirror, backlite
    double centres[2][3];
    for (int v = 0; v < 2; ++v) {
        const int made = mc_inside_outline_sheet(eye, outlines[v], s.centering, nullptr, 0, nullptr, tolerances,
                                                 &views[v]);
        temporaries.add(views[v]);
        if (made != 0 || views[v] == NULL_TAG) return kViewFailed;
        (void)HM_OBJ_set_name(views[v], kViewName);
        if (!view_centre(views[v], centres[v])) return kExtremeFailed;
    }
    c->plan = mc_plan_direction(eye, centres[1]) - mc_plan_direction(eye, centres[0]);
    c->offset_gap = (centres[0][1] - eye[1]) - (centres[1][1] - eye[1]);

    const tag_t cut = temporaries.add(mc_inside_eye_plane(eye));
    if (cut == NULL_TAG) return kViewFailed;
    double lower[3], upper[3], back_lower[3], back_upper[3];
    if (mc_inside_cut_ends(cut, views[0], d->distance_tolerance, lower, upper) != 0) {
        mc_add_message(d, kBadPositionText);
        return kMirrorViewNotCut;
    }
    if (mc_inside_cut_ends(cut, views[1], d->distance_tolerance, back_lower, back_upper) != 0)
        return kBackliteViewNotCut;
    // What both show: the higher lower end and the lower upper end.
    if (back_lower[2] > lower[2]) copy3(back_lower, lower);
    if (back_upper[2] < upper[2]) copy3(back_upper, upper);
    const double origin[3] = {0, 0, 0};
    c->side = s.weights[0] * (mc_side_direction(origin, s.reference_axis) - mc_side_direction(eye, upper)) +
              s.weights[1] * (mc_side_direction(eye, s.ground_point) - mc_side_direction(eye, lower));
    return kSearchDone;
}

bool converged(const mc_data_2003_s& d, const Corrections& c, double head_change) {
    const double angle = d.angle_tolerance;
    return std::fabs(c.plan) < angle && std::fabs(c.side) < angle && std::fabs(head_change) < angle &&
           std::fabs(c.offset_gap) < d.distance_tolerance;
}

}  // namespace

double mc_plan_direction(const double from[3], const double to[3]) {
    return std::atan2(to[1] - from[1], to[0] - from[0]) * detail::kDegreesPerRadian;
}

double mc_side_direction(const double from[3], const double to[3]) {
    return std::atan2(to[2] - from[2], to[0] - from[0]) * detail::kDegreesPerRadian;
}

int mc_inside_outline_sheet(const double eye[3], const mc_geometry_set_s* set, tag_t plane, const char* name,
                            int colour, hm_list_p_t list, const double tolerances[3], tag_t* sheet) {
    if (!sheet) return 1;
    *sheet = NULL_TAG;
    int count = 0;
    tag_t* curves = nullptr;
    const int projected = mc_project_outline_to_plane(eye, set, plane, &count, &curves);
    detail::SmBlock<tag_t> owned(curves);
    if (projected != 0 || count < 1 || !curves) {
        for (int i = 0; curves && i < count; ++i) detail::delete_if_alive(curves[i]);
        return 1;
    }
    const int status =
        mc_create_bounded_plane(count, curves, list != nullptr, name, colour, false, list, tolerances, sheet);
    for (int i = 0; i < count; ++i) detail::delete_if_alive(curves[i]);
    return status;
}

int mc_inside_cut_ends(tag_t plane, tag_t object, double tolerance, double lower[3], double upper[3]) {
    int count = 0;
    HM_MODL_intersection_t** cut = nullptr;
    const int status = HM_MODL_intersect_objects(plane, object, tolerance, &count, &cut);
    bool found = status == 0 && count == 1 && cut && cut[0]->kind == HM_INTERSECTION_CURVE;
    if (found) {
        double ends[2][3], tangent[3], normal[3], binormal[3], torsion = 0.0, radius = 0.0;
        for (int e = 0; e < 2 && found; ++e)
            found = HM_MODL_ask_curve_props(cut[0]->curve, e, ends[e], tangent, normal, binormal, &torsion,
                                            &radius) == 0;
        if (found) {
            const int low = ends[0][2] <= ends[1][2] ? 0 : 1;
            copy3(ends[low], lower);
            copy3(ends[1 - low], upper);
        }
    }
    detail::discard_intersection_entries(count, cut);
    return found ? 0 : 1;
}

tag_t mc_inside_eye_plane(const double through[3]) {
    const double across[3] = {0, 1, 0};
    tag_t plane = NULL_TAG;
    return HM_MODL_create_plane(through, across, &plane) == 0 ? plane : NULL_TAG;
}

int mc_search_inside_rotation_2003(double start_plan, double start_side, double first_weight,
                                   const double reference_axis[3], double second_weight, const double ground_point[3],
                                   const mc_geometry_set_s* backlite, tag_t centering_plane, tag_t mirror_plane,
                                   tag_t mirror_sheet, mc_data_2003_s* data, double virtual_eyes[3][3],
                                   double turned_eyes[3][3], double values[2], double* plan, double* side,
                                   tag_t* turned_plane, tag_t* turned_mirror) {
    if (!reference_axis || !ground_point || !backlite || !data || !data->inside || !virtual_eyes || !turned_eyes ||
        !values || !plan || !side || !turned_plane || !turned_mirror)
        return kBadArgument;
    const Search s{data,           backlite,       centering_plane, mirror_plane, mirror_sheet,
                   {first_weight, second_weight}, reference_axis,  ground_point};
    double plan_angle = start_plan, side_angle = start_side, last_head_turn = 0.0;
    Corrections last;   // no correction before the first placement
    for (int iteration = 0; iteration < kSearchIterations; ++iteration) {
        next_angles(*data, last, &plan_angle, &side_angle);
        Placement p;
        int status = place(s, plan_angle, side_angle, &p);
        if (status == kSearchDone) status = measure(s, p, &last);
        if (status != kSearchDone) {
            p.discard();
            return status;
        }
        const double head_change = p.values[1] - last_head_turn;
        last_head_turn = p.values[1];
        if (converged(*data, last, head_change)) {
            std::memcpy(virtual_eyes, p.virtual_eyes, sizeof p.virtual_eyes);
            std::memcpy(turned_eyes, p.turned_eyes, sizeof p.turned_eyes);
            values[0] = p.values[0];
            values[1] = p.values[1];
            *plan = plan_angle;
            *side = side_angle;
            *turned_plane = p.plane;
            *turned_mirror = p.mirror;
            return kSearchDone;
        }
        p.discard();
    }
    return kNoConvergence;
}

}  // namespace carvell::r2003
