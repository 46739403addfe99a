// Vision zones: the part of the clear-vision sheet between four planes, in
// front of the driver's eye, as boundary curves in the part and point lists.
#include "ws_internal.h"

#include "hm_vd.h"
#include "hm_vd_curve.h"
#include "toolbox/detail/finite.h"
#include "toolbox/detail/owners.h"

#include "elvosk.h"
#include "morvish.h"

#include <vector>

namespace carvell::windshield {
namespace {

enum ZoneCode { kZoneOk = 0, kNoSheet = 1, kNoPlane = 2, kEyeNotProjected = 3 };
// Joining the cut curves: ten times the modelling distance tolerance.
constexpr double kJoinFactor = 10.0;
constexpr double kEyeSlack = 1e-10;
// Planes 0 and 1 are bounded by planes 2 and 3, planes 2 and 3 by 1 and 0.
constexpr int kBounding[4][2] = {{2, 3}, {2, 3}, {1, 0}, {1, 0}};

struct ZoneOutput {
    int count = 0;
    int* point_counts = nullptr;
    double*** points = nullptr;
    ~ZoneOutput() { group_free(count, point_counts, points); }
};

// The cut curves of plane k within its bounding planes, joined.
std::vector<tag_t> zone_side(int k, tag_t sheet_faces_owner, const std::vector<tag_t>& faces, const tag_t planes[4],
                             const double origins[4][3], const double normals[4][3], double tolerance) {
    (void)sheet_faces_owner;
    detail::HostList side;
    (void)HM_MODL_create_list(side.out());
    for (tag_t face : faces) {
        int count = 0;
        HM_MODL_intersection_t** entries = nullptr;
        if (HM_MODL_intersect_objects(planes[k], face, tolerance, &count, &entries)) continue;
        for (int i = 0; i < count; ++i) {
            if (entries[i]->kind != HM_INTERSECTION_CURVE) continue;
            const tag_t curve = entries[i]->curve;
            if (ws_bound_cut_curve(curve, planes, origins, normals, k))
                (void)HM_MODL_put_list_item(side.get(), curve);
            else
                (void)UPDATE_log_entity_to_delete(curve);
        }
        detail::free_intersection_entries(count, entries);
    }
    if (side.items().empty()) return {};
    hm_list_p_t joined = side.release();
    (void)HM_VD_CURVE_join_curves(&joined, kJoinFactor * tolerance);
    detail::HostList owner(joined);
    return owner.items();
}

// The zone closed around the projected eye point: the sheet's whole boundary
// when nothing was cut; the trimmed copy's boundary when the cut curves do
// not close one loop and the trim succeeds; else the cut curves as they are.
void close_zone(tag_t sheet, const double eye_on_sheet[3], int n, double tolerance, std::vector<tag_t>& result,
                ZoneOutput& out) {
    if (result.empty()) {
        detail::HostList boundary;
        if (HM_VD_create_curves_by_boundary_edges(sheet, true, boundary.out()) == 0) result = boundary.items();
        (void)ws_sample_curve_list(result, n, out.count, out.point_counts, out.points);
        return;
    }
    int loops = 0, closed = 0;
    detail::SmBlock<int> per_loop;
    tag_t** arrays = nullptr;
    if (HM_VD_CURVE_make_loop_curve_from_array(result.data(), int(result.size()), tolerance, &loops, &closed,
                                               per_loop.out(), &arrays))
        return;
    for (int i = 0; i < loops; ++i) SM_free(arrays[i]);
    SM_free(arrays);
    if (loops == 1 && closed == 1) return;
    tag_t copy = 0;
    if (HM_VD_copy_object(HM_VD_KEEP_LAYER, 1, &sheet, &copy) || copy == 0) return;
    if (trim_to_single_wiped_area(copy, int(result.size()), result.data(), true, eye_on_sheet) == 0) {
        detail::HostList boundary;
        if (HM_VD_create_curves_by_boundary_edges(copy, true, boundary.out()) == 0) {
            group_free(out.count, out.point_counts, out.points);
            result = boundary.items();
            (void)ws_sample_curve_list(result, n, out.count, out.point_counts, out.points);
        }
    }
    (void)UPDATE_log_entity_to_delete(copy);
}

}  // namespace

bool ws_bound_cut_curve(tag_t curve, const tag_t planes[4], const double origins[4][3], const double normals[4][3],
                        int k) {
    const int* bounding = kBounding[k];
    bool both = false;
    for (int b = 0; b < 2; ++b) {
        const int j = bounding[b];
        double p0[3], p1[3];
        if (HM_VD_CURVE_ask_point_on_curve(curve, 0.0, p0) || HM_VD_CURVE_ask_point_on_curve(curve, 1.0, p1))
            return false;
        const bool a_side = HM_VD_judge_point_in_plane_side(p0, origins[j], normals[j]);
        const bool b_side = HM_VD_judge_point_in_plane_side(p1, origins[j], normals[j]);
        both = a_side && b_side;
        if (both) break;
        if (b_side) (void)HM_CURVE_edit_trim_curve(curve, planes[j], p1, p1);
        else if (a_side) (void)HM_CURVE_edit_trim_curve(curve, planes[j], p0, p0);
    }
    return !both;
}

int ws_create_vision_zone(const Frame& frame, tag_t sheet, const double origins[4][3], const double normals[4][3],
                          const double eye_point[3], int points_per_curve, ws_point_group_t& group,
                          std::vector<tag_t>& curves) {
    (void)UI_set_status("creating windshield vision zones");
    curves.clear();
    group_free(group);
    if (sheet == 0) return kNoSheet;
    if (points_per_curve < 2) return kNoSheet;
    // Planes that cannot be made fail the zone before any is made.
    if (!detail::in_model_space(&origins[0][0], 12) || !detail::in_model_space(&normals[0][0], 12)) return kNoPlane;
    for (int k = 0; k < 4; ++k)
        if (normals[k][0] == 0.0 && normals[k][1] == 0.0 && normals[k][2] == 0.0) return kNoPlane;
    detail::HostList face_list;
    if (HM_MODL_ask_body_faces(sheet, face_list.out())) return kNoSheet;
    const std::vector<tag_t> faces = face_list.items();
    double tolerance = 0.0;
    (void)HM_MODL_ask_distance_tolerance(&tolerance);
    detail::Temporaries planes_made(detail::Temporaries::Disposal::log_for_update);
    tag_t planes[4] = {0, 0, 0, 0};
    for (int k = 0; k < 4; ++k)
        if (HM_MODL_create_plane(origins[k], normals[k], &planes[k]) || planes_made.add(planes[k]) == 0)
            return kNoPlane;
    ZoneOutput out;
    std::vector<tag_t> result;
    for (int k = 0; k < 4; ++k) {
        const std::vector<tag_t> side = zone_side(k, sheet, faces, planes, origins, normals, tolerance);
        (void)ws_sample_curve_list(side, points_per_curve, out.count, out.point_counts, out.points);
        result.insert(result.end(), side.begin(), side.end());
    }
    double direction[3], eye_on_sheet[3];
    ws_ask_default_projection_vector(frame, direction);
    if (HM_VD_CURVE_project_point_along_vector(eye_point, direction, sheet, eye_on_sheet) != 0 ||
        eye_on_sheet[0] > eye_point[0] + kEyeSlack)
        return kEyeNotProjected;
    ws_trace("\n+++ project eye point(%f, %f, %f) to get ref point(%f, %f, %f)", eye_point[0], eye_point[1],
             eye_point[2], eye_on_sheet[0], eye_on_sheet[1], eye_on_sheet[2]);
    close_zone(sheet, eye_on_sheet, points_per_curve, tolerance, result, out);
    curves = result;
    group.count = out.count;
    group.point_counts = out.point_counts;
    group.points = out.points;
    out.count = 0;
    out.point_counts = nullptr;
    out.points = nullptr;
    return kZoneOk;
}

}  // namespace carvell::windshield
