// The side and neck pivot of an A-pillar analysis, the section of its
// targets in front of the eyes, and the validity checks of a limit point and
// of limit geometry that the dialog asks while the user picks.
#include "vision_apo.h"
#include "vision_closest_eye.h"
#include "vision_eye.h"

#include "hm_vd.h"
#include "omvra.h"
#include "toolbox/detail/finite.h"
#include "toolbox/detail/object_kinds.h"
#include "toolbox/detail/owners.h"
#include "toolbox/detail/undo_scope.h"

#include <cmath>
#include <cstring>

namespace carvell::vision {

namespace {

bool object_box(tag_t object, double box[6]) {
    int type = 0, subtype = 0;
    if (HM_OBJ_ask_type_and_subtype(object, &type, &subtype)) return false;
    if (type == HM_point_type) {
        double p[3];
        if (HM_CURVE_ask_point_data(object, p)) return false;
        for (int i = 0; i < 3; ++i) box[i] = box[i + 3] = p[i];
        return true;
    }
    return HM_MODL_ask_bounding_box(object, box) == 0;
}

// Eye-point mode 2: the eye of the side's eye type closest to the target,
// and the pivot behind it (the closest-eye search's forward offset).
int pivot_behind_closest_eye(const PivotInput& in, int side, double pivot[3]) {
    const int eye_type = side == 1 ? -1 : 1;
    double eye[3];
    const int found = in.target_point
                          ? closest_eye_to_point(in.data, eye_type, in.percentile, in.target_point, eye)
                          : closest_eye_to_targets(in.data, eye_type, in.percentile, in.targets, eye);
    if (found) return APO_NO_CLOSEST_EYE;
    const EyeOffsets o = eye_offsets(0, true);
    pivot[0] = eye[0] + o.d;
    pivot[1] = side == 1 ? eye[1] + o.s : eye[1] - o.s;
    pivot[2] = eye[2];
    return APO_OK;
}

double reference_eye_y(const PivotInput& in) {
    return in.eye_point_mode == 1 ? in.user_eye_point[1] : in.data->centre[1][1];
}

}  // namespace

int find_side(const PivotInput& in, int limit_source, hm_list_p_t targets, const double limit_point[3], int* side) {
    if (in.eye_point_mode == 1 ? !in.user_eye_point : !in.data) return APO_INVALID_DATA;
    const double eye_y = reference_eye_y(in);
    double y = limit_point ? limit_point[1] : eye_y;
    if (limit_source == 1) {
        const std::vector<tag_t> items = detail::list_items(targets);
        if (items.empty()) return APO_NO_LIMIT_GEOMETRY;
        double low = 0.0, high = 0.0;
        bool any = false;
        for (tag_t item : items) {
            double box[6];
            if (!object_box(item, box)) continue;
            if (!any || box[1] < low) low = box[1];
            if (!any || box[4] > high) high = box[4];
            any = true;
        }
        if (!any) return APO_NO_LIMIT_GEOMETRY;
        // The bound farther from the eye; the maximum on a tie.
        y = std::fabs(low - eye_y) > std::fabs(high - eye_y) ? low : high;
    }
    *side = y > eye_y + kTiny ? 0 : 1;
    return APO_OK;
}

namespace {

int pivot_of(const PivotInput& in, int side, double pivot[3]) {
    if (in.eye_point_mode == 1) {
        if (!in.user_eye_point) return APO_INVALID_DATA;
        std::memcpy(pivot, in.user_eye_point, 3 * sizeof(double));
        return APO_OK;
    }
    if (!in.data) return APO_INVALID_EYELLIPSE;
    if (in.eye_point_mode != 0) return pivot_behind_closest_eye(in, side, pivot);
    const VD_eyellipse_param_t& d = *in.data;
    const int drive_side = d.side_value < -kTiny ? 1 : d.side_value > kTiny ? 0 : d.drive_side;
    const VD_eyellipse_pivot_set_t& set = d.pivot[in.rule_set == 0 ? 0 : 1];
    if (!set.present) return APO_INVALID_EYELLIPSE;
    std::memcpy(pivot, side != drive_side ? set.second : set.first, 3 * sizeof(double));
    return APO_OK;
}

}  // namespace

int find_pivot(const PivotInput& in, int side, double pivot[3]) {
    // The points a pivot is found from, and the pivot, finite and inside
    // the model space: the one check of the pivot the analysis and its
    // validity checks stand on. The caller's pivot is written only then.
    if (in.eye_point_mode == 1 && in.user_eye_point && !detail::model_point(in.user_eye_point)) return APO_INVALID_DATA;
    if (in.target_point && !detail::model_point(in.target_point)) return APO_INVALID_LIMIT_POINT;
    double found[3];
    if (int status = pivot_of(in, side, found)) return status;
    if (!detail::model_point(found)) return APO_INVALID_DATA;
    std::memcpy(pivot, found, sizeof found);
    return APO_OK;
}

int section_in_front(hm_list_p_t targets, const double point[3], const double normal[3], const double pivot[3],
                     double tolerance, hm_list_p_t* section) {
    *section = nullptr;
    const std::vector<tag_t> items = detail::list_items(targets);
    if (items.empty()) return APO_INVALID_DATA;
    detail::Temporaries temporaries;
    tag_t plane = 0;
    if (HM_MODL_create_datum_plane(point, normal, &plane)) return APO_INVALID_DATA;
    temporaries.add(plane);
    std::vector<tag_t> points, cut_curves;
    for (tag_t item : items) {
        int type = 0, subtype = 0;
        if (HM_OBJ_ask_type_and_subtype(item, &type, &subtype)) continue;
        if (detail::is_curve_or_edge(type, subtype)) {
            int count = 0;
            HM_MODL_intersection_t** entries = nullptr;
            if (HM_MODL_intersect_objects(item, plane, tolerance, &count, &entries)) continue;
            for (int i = 0; i < count; ++i) {
                if (entries[i]->kind != 0 || !(entries[i]->point[0] < pivot[0])) continue;
                tag_t p = 0;
                if (!HM_CURVE_create_point(entries[i]->point, &p)) points.push_back(p);
            }
            detail::discard_intersection_entries(count, entries);
        } else if (type == HM_solid_type && (subtype == HM_solid_body_subtype || subtype == HM_solid_face_subtype)) {
            hm_list_p_t cut = nullptr;
            (void)HM_VD_ask_intersection_curves(item, plane, tolerance, &cut);
            for (tag_t c : detail::list_items(cut)) cut_curves.push_back(c);
            if (cut) HM_MODL_delete_list(&cut);
        }
    }
    std::vector<tag_t> kept;
    if (!cut_curves.empty()) {
        detail::HostList cut(detail::new_list(cut_curves));
        const double across[3] = {1.0, 0.0, 0.0};
        detail::HostList behind, front;
        if (HM_VD_trim_curves_by_plane(cut.get(), pivot, across, front.out(), behind.out()) < 0) {
            for (tag_t c : cut_curves) detail::delete_if_alive(c);
            return APO_NO_SECTION_IN_FRONT;
        }
        for (tag_t c : behind.items()) detail::delete_if_alive(c);
        kept = front.items();
    }
    if (points.empty() && kept.empty()) return APO_OK;
    HM_MODL_create_list(section);
    for (tag_t p : points) HM_MODL_put_list_item(*section, p);
    for (tag_t c : kept) HM_MODL_put_list_item(*section, c);
    return APO_OK;
}

}  // namespace carvell::vision

using carvell::vision::PivotInput;

bool HM_VD_APO_is_valid_limit_point(int rule_set, int eye_point_mode, VD_eyellipse_param_s* data, int percentile,
                                    const double user_eye_point[3], const double limit_point[3]) {
    if (!limit_point) return false;
    PivotInput in{rule_set, eye_point_mode, data, user_eye_point};
    in.percentile = percentile;
    in.target_point = limit_point;
    int side = 0;
    double pivot[3];
    if (carvell::vision::find_side(in, 0, nullptr, limit_point, &side) || carvell::vision::find_pivot(in, side, pivot))
        return false;
    double tolerance = 0.0;
    HM_MODL_ask_distance_tolerance(&tolerance);
    return std::fabs(pivot[2] - limit_point[2]) <= tolerance / 2.0;
}

bool HM_VD_APO_is_valid_limit_geometry(int rule_set, int eye_point_mode, VD_eyellipse_param_s* data, int percentile,
                                       const double user_eye_point[3], hm_list_p_t geometry) {
    PivotInput in{rule_set, eye_point_mode, data, user_eye_point};
    in.percentile = percentile;
    in.targets = geometry;
    int side = 0;
    double pivot[3];
    if (carvell::vision::find_side(in, 1, geometry, nullptr, &side) || carvell::vision::find_pivot(in, side, pivot))
        return false;
    double tolerance = 0.0;
    HM_MODL_ask_distance_tolerance(&tolerance);
    carvell::detail::UndoScope scope(UNDO_visible, "check_geometry");
    const double up[3] = {0.0, 0.0, 1.0};
    tag_t plane = 0;
    if (HM_MODL_create_datum_plane(pivot, up, &plane)) return false;
    // What the analysis can aim at: the cut curves of faces and bodies, and
    // the points where edges and curves cross the plane (a limit edge runs
    // up through the eyes' plane and is cut in a point). Other objects are
    // not targets, as the analysis's own sections pass them over.
    int pieces = 0;
    for (tag_t item : carvell::detail::list_items(geometry)) {
        int type = 0, subtype = 0;
        if (HM_OBJ_ask_type_and_subtype(item, &type, &subtype)) continue;
        const bool edge = carvell::detail::is_curve_or_edge(type, subtype);
        const bool solid =
            type == HM_solid_type && (subtype == HM_solid_body_subtype || subtype == HM_solid_face_subtype);
        if (!edge && !solid) continue;
        hm_list_p_t cut = nullptr;
        (void)HM_VD_ask_intersection_curves(item, plane, tolerance / 2.0, &cut);
        for (tag_t c : carvell::detail::list_items(cut)) {
            if (HM_OBJ_ask_type_and_subtype(c, &type, &subtype)) continue;
            if (carvell::detail::is_curve_type(type) || (edge && type == HM_point_type)) ++pieces;
        }
        if (cut) HM_MODL_delete_list(&cut);
    }
    return pieces > 0;
}
