// Composite curve operations: curves split at a plane and sorted by side,
// the face edges that form the closed boundary of a set of faces,
// intersection curves of two objects and the projection of a curve onto a
// target as seen from an eye point.
#include "hm_vd/trim_intersect.h"

#include "hm_vd/bodies.h"
#include "hm_vd/curve_utils.h"
#include "hm_vd/objects.h"
#include "hm_vd/vectors.h"
#include "hm_vd_curve.h"

#include "elvosk.h"
#include "farquil.h"
#include "morvish.h"
#include "omvra.h"
#include "quillon.h"
#include "rostval.h"

#include "toolbox_curve_utils.h"
#include "toolbox/detail/finite.h"
#include "toolbox/detail/object_kinds.h"
#include "toolbox/detail/owners.h"
#include "toolbox/detail/undo_scope.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

const char* const kSource = "hm_vd";

// Pieces of a curve between crossings closer than this (in normalised
// parameter) are no pieces at all: a crossing at an end of the curve.
constexpr double kParameterEpsilon = 1e-9;

// The cone from the eye is scaled to reach this many times beyond the
// farther of itself and the target.
constexpr double kConeReach = 5.0;
// Below this the cone's extent from the eye counts as none.
constexpr double kNoExtent = 1e-6;

// Alignment of the sight cone's rulings: points of equal parameter.
constexpr int kRuledAlignment = 1;

using carvell::detail::discard_intersection_entries;
using carvell::detail::free_intersection_entries;
using carvell::detail::HostList;
using carvell::detail::list_items;
using carvell::detail::SmBlock;

// A curve crosses the plane when their intersection gives any entry.
bool crosses(tag_t plane, tag_t curve, double tolerance) {
    int count = 0;
    HM_MODL_intersection_t** entries = nullptr;
    HM_MODL_intersect_objects(plane, curve, tolerance, &count, &entries);
    discard_intersection_entries(count, entries);
    return count > 0;
}

// Puts the curve into the list of the side of its mid point; false (nothing
// put) when the mid point cannot be found.
bool sort_by_side(tag_t curve, const double point[3], const double normal[3], hm_list_p_t away,
                  hm_list_p_t toward) {
    double mid[3];
    if (HM_VD_CURVE_ask_point_on_curve(curve, 0.5, mid) != 0) return false;
    HM_MODL_put_list_item(HM_VD_judge_point_in_plane_side(mid, point, normal) ? toward : away, curve);
    return true;
}

// Normalised parameters of the points where the curve crosses the plane, in
// ascending order.
std::vector<double> crossing_parameters(tag_t curve, const double point[3], const double normal[3]) {
    int k = 0;
    double** points = nullptr;
    HM_VD_ask_intersect_point_curve_plane(&curve, 1, point, normal, &k, &points);
    std::vector<double> parameters;
    for (int j = 0; j < k; ++j) {
        double parm = 0.0, on_curve[3];
        if (HM_MODL_ask_curve_parm(curve, points[j], &parm, on_curve) == 0) parameters.push_back(parm);
        SM_free(points[j]);
    }
    SM_free(points);
    return parameters;
}

// Cuts the crossing curve into its pieces between crossings and sorts them
// by side. Each piece is trimmed from a copy of the curve, and the copy is
// deleted at once. Answers 2 when a piece's mid point cannot be found (that
// piece is dropped), else 0.
int cut_at_crossings(tag_t curve, const double point[3], const double normal[3], hm_list_p_t away,
                     hm_list_p_t toward) {
    std::vector<double> ends = crossing_parameters(curve, point, normal);
    ends.push_back(1.0);
    int result = 0;
    double start = 0.0;
    for (double end : ends) {
        if (end - start < kParameterEpsilon) continue;
        tag_t copy = 0, piece = 0;
        if (HM_VD_copy_object(HM_VD_KEEP_LAYER, 1, &curve, &copy) == 0 && copy) {
            const double parms[2] = {start, end};
            HM_VD_CURVE_trim_curve_by_parms(copy, parms, &piece);
            HM_OBJ_delete_object(copy);
        }
        start = end;
        if (!piece) continue;
        if (!sort_by_side(piece, point, normal, away, toward)) {
            HM_OBJ_delete_object(piece);
            result = 2;
        }
    }
    return result;
}

}  // namespace

int HM_VD_trim_curves_by_plane(hm_list_p_t curves, const double point[3], const double normal[3],
                               hm_list_p_t* away, hm_list_p_t* toward) {
    double distance_tolerance = 0.0, angle_tolerance = 0.0;
    HM_MODL_ask_distance_tolerance(&distance_tolerance);
    HM_MODL_ask_angle_tolerance(&angle_tolerance);
    const std::vector<tag_t> items = list_items(curves);
    if (items.empty()) return -1;
    if (!point || !normal || !away || !toward) return HM_ERR_NULL_POINTER;
    if (!carvell::detail::finite3(point) || !carvell::detail::finite3(normal)) return HM_ERR_BAD_ARGUMENT;
    // Only curves are cut: anything else alive (a body, a plane, an edge)
    // would be logged for deletion with the crossing curves and lost to its
    // owner at the next update. A dead item is left out below (result 2).
    for (tag_t item : items) {
        int type = 0, subtype = 0;
        if (carvell::detail::is_alive(item) &&
            (HM_OBJ_ask_type_and_subtype(item, &type, &subtype) != 0 || !carvell::detail::is_curve_type(type)))
            return HM_ERR_WRONG_OBJECT;
    }

    hm_list_p_t away_list = nullptr, toward_list = nullptr;
    HM_MODL_create_list(&away_list);
    HM_MODL_create_list(&toward_list);
    tag_t plane = 0;
    int result = HM_MODL_create_plane(point, normal, &plane);
    if (result != 0) {
        *away = away_list;
        *toward = toward_list;
        return result;
    }

    std::vector<tag_t> crossing, apart;
    for (tag_t curve : items) (crosses(plane, curve, distance_tolerance) ? crossing : apart).push_back(curve);

    for (tag_t curve : crossing) {
        if (cut_at_crossings(curve, point, normal, away_list, toward_list) != 0) result = 2;
        UPDATE_log_entity_to_delete(curve);
    }
    for (tag_t curve : apart)
        if (!sort_by_side(curve, point, normal, away_list, toward_list)) result = 2;

    *away = away_list;
    *toward = toward_list;
    UPDATE_log_entity_to_delete(plane);
    return result;
}

/* ---- the closed boundary of a set of faces ---- */

namespace {

// Points of a curve or edge at the normalised parameters 0, 0.5 and 1.
bool three_points(tag_t curve, double points[3][3]) {
    const double parms[3] = {0.0, 0.5, 1.0};
    for (int i = 0; i < 3; ++i) {
        double tangent[3], normal[3], binormal[3], torsion = 0.0, radius = 0.0;
        if (HM_MODL_ask_curve_props(curve, parms[i], points[i], tangent, normal, binormal, &torsion, &radius) != 0)
            return false;
    }
    return true;
}

bool near(const double a[3], const double b[3], double tolerance) {
    double d = 0.0;
    HM_VEC3_distance(a, b, &d);
    return d < tolerance;
}

// Two curves or edges are the same when their start, mid and end points
// coincide, in the same or in reverse order.
bool same_edge(tag_t a, tag_t b, double tolerance) {
    double pa[3][3], pb[3][3];
    if (!three_points(a, pa) || !three_points(b, pb)) return false;
    if (near(pa[0], pb[0], tolerance) && near(pa[1], pb[1], tolerance) && near(pa[2], pb[2], tolerance))
        return true;
    return near(pa[0], pb[2], tolerance) && near(pa[1], pb[1], tolerance) && near(pa[2], pb[0], tolerance);
}

// What HM_VD_get_loop_edges holds while it works; freed on every way out.
struct LoopWork {
    HostList face_edges;
    HostList boundary;
    int sheet_count = 0;
    SmBlock<tag_t> sheets;
    int loop_count = 0;
    int closed_count = 0;
    int* curves_per_loop = nullptr;
    tag_t** loops = nullptr;
    SmBlock<tag_t> found;

    LoopWork() = default;
    LoopWork(const LoopWork&) = delete;
    LoopWork& operator=(const LoopWork&) = delete;
    ~LoopWork() { carvell::toolbox::free_loops(loop_count, curves_per_loop, loops); }
};

// Steps that may raise host errors. Answers the loop edges' count; the
// array is left in work.found.
int find_loop_edges(int n, const tag_t* faces, bool return_edges, LoopWork& work) {
    HM_MODL_create_list(work.face_edges.out());
    for (int i = 0; faces && i < n; ++i) {
        hm_list_p_t edges = nullptr;
        HM_MODL_ask_face_edges(faces[i], &edges);
        for (tag_t edge : list_items(edges)) HM_MODL_put_list_item(work.face_edges.get(), edge);
        HM_MODL_delete_list(&edges);
    }

    extract_and_sew_faces_with_disjoint(n, faces, &work.sheet_count, work.sheets.out());
    if (work.sheet_count != 1 || !work.sheets)
        ERROR_raise(kSource, __LINE__, HM_VD_ERR_SEW_SHEETS, "Failed to sew sheets");

    const double tolerance = TOLER_ask_distance_tol();
    HM_VD_create_curves_by_boundary_edges(work.sheets[0], false, work.boundary.out());
    if (HM_VD_CURVE_make_loop_curve(work.boundary.get(), tolerance, &work.loop_count, &work.closed_count,
                                    &work.curves_per_loop, &work.loops) != 0 ||
        work.loop_count != 1 || work.closed_count != 1)
        ERROR_raise(kSource, __LINE__, HM_VD_ERR_OPEN_BOUNDARY, "boundary curves is not a closed loop");

    if (!return_edges) return 0;
    const int count = work.curves_per_loop[0];
    const std::vector<tag_t> candidates = work.face_edges.items();
    work.found.reset(static_cast<tag_t*>(SM_calloc(count > 0 ? count : 1, sizeof(tag_t))));
    for (int i = 0; i < count; ++i) {
        auto match = std::find_if(candidates.begin(), candidates.end(),
                                  [&](tag_t edge) { return same_edge(work.loops[0][i], edge, tolerance); });
        if (match == candidates.end())
            ERROR_raise(kSource, __LINE__, HM_VD_ERR_NO_ORIGINAL, "no original edge found");
        work.found[i] = *match;
    }
    return count;
}

}  // namespace

int HM_VD_get_loop_edges(int n, const tag_t* faces, bool return_edges, int* count, tag_t** edges) {
    if (!count || !edges) return HM_ERR_NULL_POINTER;
    *count = 0;
    *edges = nullptr;
    if (n > 0 && !faces) return HM_ERR_NULL_POINTER;
    carvell::detail::UndoScope scope(UNDO_visible, "Get Edges");
    LoopWork work;
    int found = 0;
    const int result = carvell::detail::run_step(scope, kSource, __LINE__, [&] {
        found = find_loop_edges(n, faces, return_edges, work);
        return 0;
    });
    // The sewn sheet and everything else made since the mark go.
    scope.roll_back();
    if (result != 0) return result;
    if (found > 0) {
        *count = found;
        *edges = work.found.release();
    }
    return 0;
}

/* ---- intersection curves ---- */

namespace {

// A feature stands for the first object it made (0 when none).
tag_t feature_object(tag_t object) {
    if (!carvell::detail::is_of_kind(object, HM_feature_type)) return object;
    int count = 0;
    tag_t* made = nullptr;
    HM_MODL_ask_feat_object(object, &count, &made);
    const tag_t first = (count > 0 && made) ? made[0] : 0;
    SM_free(made);
    return first;
}

// Section curves of two bodies: a curve from each edge of each section body;
// the section bodies are deleted.
int intersect_bodies(tag_t body1, tag_t body2, hm_list_p_t* list) {
    int count = 0;
    tag_t* sections = nullptr;
    const int result = HM_MODL_intersect_bodies(body1, body2, &count, &sections);
    if (result != 0) {
        (void)HM_get_fail_message(result);
        return result;
    }
    if (count > 0) HM_MODL_create_list(list);
    for (int i = 0; i < count; ++i) {
        hm_list_p_t edges = nullptr;
        HM_MODL_ask_body_edges(sections[i], &edges);
        for (tag_t edge : list_items(edges)) {
            tag_t curve = 0;
            if (VD_create_curve_from_edge(edge, &curve) == 0 && curve) HM_MODL_put_list_item(*list, curve);
        }
        HM_MODL_delete_list(&edges);
        HM_OBJ_delete_object(sections[i]);
    }
    HM_free(sections);
    return 0;
}

}  // namespace

int HM_VD_ask_intersection_curves(tag_t object1, tag_t object2, double tolerance, hm_list_p_t* list) {
    if (!list) return HM_ERR_NULL_POINTER;
    *list = nullptr;
    if (!std::isfinite(tolerance)) return HM_ERR_BAD_ARGUMENT;
    object1 = feature_object(object1);
    object2 = feature_object(object2);
    using carvell::detail::is_solid;
    if (is_solid(object1, HM_solid_body_subtype) && is_solid(object2, HM_solid_body_subtype))
        return intersect_bodies(object1, object2, list);

    int count = 0;
    HM_MODL_intersection_t** entries = nullptr;
    const int result = HM_MODL_intersect_objects(object1, object2, tolerance, &count, &entries);
    if (count > 0 && entries) HM_MODL_create_list(list);
    for (int i = 0; i < count && entries; ++i) {
        const HM_MODL_intersection_t& entry = *entries[i];
        if (entry.kind == HM_INTERSECTION_POINT) {
            tag_t point = 0;
            if (HM_CURVE_create_point(entry.point, &point) == 0 && point) HM_MODL_put_list_item(*list, point);
        } else if (entry.kind == HM_INTERSECTION_CURVE && entry.curve) {
            HM_MODL_put_list_item(*list, entry.curve);
        }
    }
    free_intersection_entries(count, entries);
    return result;
}

/* ---- projection from an eye point ---- */

namespace {

// Greatest distance from the eye to a corner of the object's box; 0 when
// the box cannot be asked.
double farthest_corner(const double eye[3], tag_t object) {
    double box[6];
    if (HM_MODL_ask_bounding_box(object, box) != 0) return 0.0;
    double farthest = 0.0;
    for (int corner = 0; corner < 8; ++corner) {
        const double p[3] = {box[(corner & 1) ? 3 : 0], box[(corner & 2) ? 4 : 1], box[(corner & 4) ? 5 : 2]};
        double d = 0.0;
        HM_VEC3_distance(eye, p, &d);
        farthest = std::max(farthest, d);
    }
    return farthest;
}

// Factor that makes the sight cone reach well beyond both itself and the
// target, as seen from the eye.
double reach_factor(const double eye[3], tag_t sheet, tag_t target) {
    if (!sheet || !target) return 1.0;
    const double d1 = farthest_corner(eye, sheet), d2 = farthest_corner(eye, target);
    const double d_min = std::min(d1, d2), d_max = std::max(d1, d2);
    return std::fabs(d_min) > kNoExtent ? kConeReach * d_max / d_min : 1.0;
}

}  // namespace

int HM_VD_eyepoint_project_curve(const double eye[3], tag_t curve, double tolerance, tag_t target,
                                 hm_list_p_t* list) {
    if (curve == 0 || target == 0) return -1;
    if (!eye || !list) return HM_ERR_NULL_POINTER;
    if (!carvell::detail::finite3(eye) || !std::isfinite(tolerance)) return HM_ERR_BAD_ARGUMENT;
    HM_DISP_set_display(0);

    tag_t eye_point = 0;
    HM_CURVE_create_point(eye, &eye_point);
    hm_list_p_t apex = nullptr, section = nullptr, found = nullptr;
    HM_MODL_create_list(&apex);
    HM_MODL_put_list_item(apex, eye_point);
    HM_MODL_create_list(&section);
    HM_MODL_put_list_item(section, curve);
    HM_MODL_create_list(&found);

    tag_t sheet = 0;
    const int options[1] = {kRuledAlignment};
    int result = HM_VD_create_ruled(apex, section, 0, true, options, 1, &sheet);

    const tag_t object = HM_VD_change_feat_to_obj(target);
    const double factor = reach_factor(eye, sheet, object);

    tag_t scaled = 0;
    if (sheet) {
        HM_VD_scale_object(sheet, eye, factor, &scaled);
        if (scaled) {
            // The intersection answers its own new list (null when the cone
            // misses); its items go into the list made above, so that the
            // caller always gets a list.
            hm_list_p_t cut = nullptr;
            result = HM_VD_ask_intersection_curves(scaled, object, tolerance, &cut);
            HM_VD_add_list_item(&found, cut);
            if (cut) HM_MODL_delete_list(&cut);
        }
    }

    carvell::detail::delete_if_alive(sheet);
    carvell::detail::delete_if_alive(scaled);
    HM_MODL_delete_list(&apex);
    HM_MODL_delete_list(&section);
    carvell::detail::delete_if_alive(eye_point);
    *list = found;
    HM_DISP_set_display(1);
    return result;
}
