// The 2003 release's older operations on the glass faces: points laid along
// the glass, sphere sections joined into one circle, the ends of a circle
// seen from the pivots, the band a wiper sweeps; and the settings its
// windshield exports hold while they work.
#include "r2003_windshield.h"

#include "hm_vd.h"
#include "hm_vd_curve.h"
#include "hm_vd_ws.h"
#include "toolbox/detail/finite.h"
#include "toolbox/detail/object_kinds.h"
#include "toolbox/detail/owners.h"
#include "toolbox/detail/vec3.h"

#include "elvosk.h"
#include "morvish.h"
#include "omvra.h"
#include "quillon.h"

#include <cmath>
#include <cstdio>

namespace carvell::r2003 {
namespace {

// A face farther than this from a point along the glass leaves it where it is.
constexpr double kFaceSearchStart = 10000.0;
// Sphere sections are made at this tolerance (part units).
constexpr double kSphereSectionTolerance = 0.001;
// Joining pieces of a section or side: a hundred times the distance tolerance.
constexpr double kJoinToleranceFactor = 100.0;
constexpr int kJoinLoopMode = 2;
// Steps along each edge when judging whether a plane crosses a sheet's edges.
constexpr int kEdgeSteps = 32;

}  // namespace

DisplayOff::DisplayOff() {
    (void)HM_DISP_set_display(0);
    if (MACH__checking_level >= 1) (void)HM_DISP_set_display(1);
}

DisplayOff::~DisplayOff() { (void)HM_DISP_set_display(1); }

RaisedTolerance::RaisedTolerance(double factor) {
    (void)HM_MODL_ask_distance_tolerance(&saved_);
    (void)HM_MODL_set_distance_tolerance(factor * saved_);
}

RaisedTolerance::~RaisedTolerance() { (void)HM_MODL_set_distance_tolerance(saved_); }

bool faces_usable(int face_count, const tag_t* faces) {
    if (face_count < 1 || !faces || !detail::count_fits(face_count, sizeof(tag_t))) return false;
    for (int i = 0; i < face_count; ++i)
        if (!detail::is_of_kind(faces[i], HM_solid_type, HM_solid_face_subtype)) return false;
    return true;
}

bool numbers_usable(const double* values, int n) { return detail::in_model_space(values, n); }

bool planes_usable(const double origins[4][3], const double normals[4][3]) {
    if (!origins || !normals || !numbers_usable(&origins[0][0], 12) || !numbers_usable(&normals[0][0], 12))
        return false;
    for (int k = 0; k < 4; ++k)
        if (normals[k][0] == 0.0 && normals[k][1] == 0.0 && normals[k][2] == 0.0) return false;
    return true;
}

bool point_count_usable(int points_per_curve) {
    return points_per_curve >= 2 && points_per_curve <= HM_VD_WS_MAX_POINTS_PER_CURVE;
}

tag_t join_first_loop(const std::vector<tag_t>& curves, int join_mode) {
    if (curves.empty()) return 0;
    if (curves.size() == 1) return curves[0];
    RaisedTolerance raised(kJoinToleranceFactor);
    double tolerance = 0.0;
    (void)HM_MODL_ask_distance_tolerance(&tolerance);
    int loops = 0, closed = 0;
    detail::SmBlock<int> per_loop;
    tag_t** arrays = nullptr;
    if (HM_VD_CURVE_make_loop_curve_from_array(curves.data(), int(curves.size()), tolerance, &loops, &closed,
                                               per_loop.out(), &arrays))
        return 0;
    std::vector<tag_t> first;
    if (loops > 0) first.assign(arrays[0], arrays[0] + per_loop[0]);
    for (int i = 0; i < loops; ++i) SM_free(arrays[i]);
    SM_free(arrays);
    if (first.size() == 1) return first[0];
    detail::HostList list(detail::new_list(first));
    tag_t joined = 0;
    if (HM_CURVE_create_joined_curve(list.get(), join_mode, &joined) != 0) joined = 0;
    return joined;
}

Points ws_old_points_on_faces_between(int face_count, const tag_t* faces, const double p1[3], const double p2[3],
                                      int n) {
    Points points;
    if (n < 2) return points;
    for (int i = 0; i < n; ++i) {
        std::vector<double> p(3);
        HM_VD_create_point_in_two_points(p1, p2, double(i) / (n - 1), p.data());
        double nearest = kFaceSearchStart, best[3] = {p[0], p[1], p[2]};
        for (int f = 0; f < face_count; ++f) {
            double parm[2], on_face[3];
            if (HM_MODL_ask_face_parm(faces[f], p.data(), parm, on_face)) continue;
            const double d = detail::distance3(p.data(), on_face);
            if (d < nearest) {
                nearest = d;
                for (int c = 0; c < 3; ++c) best[c] = on_face[c];
            }
        }
        points.push_back({best[0], best[1], best[2]});
    }
    return points;
}

bool ws_old_plane_crosses_edges(tag_t sheet, tag_t plane) {
    double origin[3], normal[3];
    if (hm5375(plane, origin, normal)) return false;
    detail::HostList edges;
    if (HM_MODL_ask_body_edges(sheet, edges.out())) return false;
    bool above = false, below = false;
    for (tag_t edge : edges.items()) {
        // Points along the edge as well as its ends: a plane may cross a
        // bowed edge twice and leave both its ends on one side.
        for (int i = 0; i <= kEdgeSteps; ++i) {
            double p[3];
            if (HM_VD_CURVE_ask_point_on_curve(edge, double(i) / kEdgeSteps, p)) break;
            const double d = (p[0] - origin[0]) * normal[0] + (p[1] - origin[1]) * normal[1] +
                             (p[2] - origin[2]) * normal[2];
            if (d > 0.0) above = true;
            if (d < 0.0) below = true;
        }
    }
    return above && below;
}

tag_t ws_old_sphere_section(int face_count, const tag_t* faces, const double centre[3], double diameter) {
    // A blade longer than twice the arm asks for a circle of negative size.
    if (!(diameter > 0.0)) return 0;
    char text[64];
    std::snprintf(text, sizeof text, "%f", diameter);
    tag_t feature = 0, sphere = 0;
    if (HM_MODL_create_sphere1(HM_NULLSIGN, centre, text, &feature) || HM_MODL_ask_feat_body(feature, &sphere) ||
        sphere == 0)
        return 0;
    std::vector<tag_t> pieces;
    for (int f = 0; f < face_count; ++f) {
        int count = 0;
        HM_MODL_intersection_t** entries = nullptr;
        if (HM_MODL_intersect_objects(sphere, faces[f], kSphereSectionTolerance, &count, &entries) == 0)
            for (int i = 0; i < count; ++i)
                if (entries[i]->kind == HM_INTERSECTION_CURVE) pieces.push_back(entries[i]->curve);
        detail::free_intersection_entries(count, entries);
    }
    (void)UPDATE_log_entity_to_delete(sphere);
    if (pieces.size() <= 1) return pieces.empty() ? 0 : pieces[0];
    const tag_t joined = join_first_loop(pieces, kJoinLoopMode);
    for (tag_t piece : pieces) detail::delete_if_alive(piece);
    return joined;
}

int ws_old_curve_end(tag_t curve, const double p1[3], const double p2[3], int which, double point[3]) {
    double start[3], end[3];
    if (int r = HM_VD_CURVE_ask_point_on_curve(curve, 0.0, start)) return r;
    if (int r = HM_VD_CURVE_ask_point_on_curve(curve, 1.0, end)) return r;
    const double s = detail::distance3(start, p1) + detail::distance3(start, p2);
    const double e = detail::distance3(end, p1) + detail::distance3(end, p2);
    const bool take_end = which == 1 ? e >= s : e <= s;
    const double* chosen = take_end ? end : start;
    for (int c = 0; c < 3; ++c) point[c] = chosen[c];
    return 0;
}

bool ws_old_point_in_wiped_band(double point[3], int curve_count, int pick_nearer, int use_first, double arm_length,
                                double blade_length, const double pivot1[3], const double pivot2[3]) {
    (void)HM_CSYS_map_point(HM_CSYS_WORK, point, HM_CSYS_WORK_PART, point);
    const double up[3] = {0.0, 0.0, 1.0};
    if (!HM_VD_judge_point_in_plane_side(point, pivot1, up)) return false;
    double d = detail::distance3(point, pivot1);
    if (is_ring(curve_count)) {
        const double d2 = detail::distance3(point, pivot2);
        if (pick_nearer == 1)
            d = std::fmin(d, d2);
        else if (use_first != 1)
            d = d2;
    }
    return arm_length - blade_length / 2.0 < d && d < arm_length + blade_length / 2.0;
}

}  // namespace carvell::r2003
