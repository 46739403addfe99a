// Instrument-panel visibility: the steering wheel's outlines. The rim's
// highest section loop, the upper wheel outline (the band of the rim above
// a cut a little below the wheel centre, between its outer and inner
// contours), the split of the wheel's opening into hub and see-through
// loops, and the extraction that builds them all from the wheel's solids.
#include "hm_vd_vision.h"
#include "ipv_layer.h"
#include "vision_ipv.h"

#include "hm_vd.h"
#include "hm_vd_curve.h"
#include "toolbox/detail/finite.h"
#include "toolbox/detail/owners.h"
#include "toolbox/detail/vec3.h"

#include "belmorra.h"
#include "elvosk.h"
#include "morvish.h"
#include "omvra.h"
#include "quillon.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <vector>

namespace carvell::vision {
namespace {

constexpr const char* kKey = "VD_IPV";
// Start of the search for the highest loop, below any vehicle z.
constexpr double kLowestZ = -10000.0;
// Start of the nearest-loop search, beyond any vehicle length.
constexpr double kFarLength = 10000.0;
// The cut below the wheel centre: this part of the outer contour's width
// across the centre, else a fixed 20 mm (0.7874... inches, 20 mm exactly).
constexpr double kOffsetPart = 0.05;
constexpr double kOffsetMillimetres = 20.0;
constexpr double kOffsetInches = 0.7874015748031497;
// Points of the least-squares plane of a curve: parameters 0.00 .. 0.95.
constexpr int kPlanePoints = 20;
// Parameters within this of a curve's end split it at the end (the split by points).
constexpr double kSplitSnap = 0.001;
// Parameter of a curve's middle.
constexpr double kMiddle = 0.5;
// The extraction's contour parameters and its contour modes.
constexpr double kWheelParameters[3] = {3.0, 0.2, 3.0};
constexpr int kOuterContour = 0;
constexpr int kBothContours = 2;

using Pt = std::array<double, 3>;

void log(const char* text) { HM_print_syslog(text, true); }

double distance_tolerance() {
    double d = 0.0;
    HM_MODL_ask_distance_tolerance(&d);
    return d;
}

// The loops of the curves: closed loops first, each a row of curves.
struct Loops {
    int closed = 0;
    std::vector<std::vector<tag_t>> rows;
};
Loops loops_of(hm_list_p_t curves, double tolerance) {
    Loops out;
    int count = 0, closed = 0;
    int* per_loop = nullptr;
    tag_t** loops = nullptr;
    if (HM_VD_CURVE_make_loop_curve(curves, tolerance, &count, &closed, &per_loop, &loops) != 0) return out;
    out.closed = closed;
    for (int i = 0; i < count; ++i) {
        out.rows.emplace_back(loops[i], loops[i] + per_loop[i]);
        SM_free(loops[i]);
    }
    SM_free(loops);
    SM_free(per_loop);
    return out;
}

// One curve of a contour: a copy of a single curve, or the curves joined
// and re-made as a spline through its poles.
int one_curve(hm_list_p_t contour, tag_t* curve) {
    *curve = NULL_TAG;
    const std::vector<tag_t> items = detail::list_items(contour);
    if (items.empty()) return -1;
    if (items.size() == 1) return HM_VD_copy_object(0, 1, items.data(), curve);
    int n = 0;
    detail::SmBlock<tag_t> joined;
    if (int r = HM_CURVE_auto_join_curves(items.data(), static_cast<int>(items.size()), 2, &n, joined.out())) return r;
    if (n < 1) return -1;
    for (int i = 1; i < n; ++i) HM_VD_delete_object(joined[i]);
    *curve = joined[0];
    return ipv_respline(curve);
}

// Unit normal of the least-squares plane of 20 points of the curve.
int curve_plane_normal(tag_t curve, double normal[3]) {
    if (!HM_VD_is_curve(curve)) return -1;
    std::vector<Pt> pts(kPlanePoints);
    std::vector<const double*> rows;
    for (int i = 0; i < kPlanePoints; ++i) {
        if (int r = HM_VD_CURVE_ask_point_on_curve(curve, i / static_cast<double>(kPlanePoints), pts[i].data()))
            return r;
        rows.push_back(pts[i].data());
    }
    double origin[3];
    return HM_VD_ask_leastsq_plane(kPlanePoints, rows.data(), origin, normal);
}

// Crossing points of the object with the plane.
std::vector<Pt> crossings(tag_t object, tag_t plane, int* result) {
    std::vector<Pt> out;
    int n = 0;
    HM_MODL_intersection_t** entries = nullptr;
    *result = HM_MODL_intersect_objects(object, plane, distance_tolerance(), &n, &entries);
    for (int i = 0; i < n; ++i)
        if (entries[i]->kind == 0) out.push_back({entries[i]->point[0], entries[i]->point[1], entries[i]->point[2]});
    detail::discard_intersection_entries(n, entries);
    return out;
}

// The cut below the wheel centre: 5 % of the outer contour's width across
// the centre in the rim section's plane, else the fixed length.
double cut_offset(tag_t outer, const double centre[3], const double rim_normal[3]) {
    tag_t plane = NULL_TAG;
    double offset = PART_ask_units(CONTEXT_ask_work_part()) == 1 ? kOffsetInches : kOffsetMillimetres;
    if (HM_MODL_create_plane(centre, rim_normal, &plane) == 0) {
        int r = 0;
        const std::vector<Pt> pts = crossings(outer, plane, &r);
        if (r == 0 && pts.size() == 2) offset = kOffsetPart * detail::distance3(pts[0].data(), pts[1].data());
        HM_OBJ_delete_object(plane);
    }
    trace(kKey, "\n+++ offset = %f", offset);
    return offset;
}

// The contour curve cut by the plane, the part on the help point's side kept.
int cut_contour(tag_t curve, tag_t plane, const double help[3], bool inner, tag_t* piece) {
    *piece = NULL_TAG;
    int r = 0;
    const std::vector<Pt> pts = crossings(curve, plane, &r);
    if (r != 0) return r;
    if (pts.size() < 2) return -1;
    if (inner)
        trace(kKey, "\n+++trim inner rim by point(%f, %f, %f), point(%f, %f, %f)", pts[0][0], pts[0][1], pts[0][2],
              pts[1][0], pts[1][1], pts[1][2]);
    detail::Temporaries bounds;
    tag_t p1 = NULL_TAG, p2 = NULL_TAG;
    if ((r = HM_CURVE_create_point(pts[0].data(), &p1)) != 0) return r;
    bounds.add(p1);
    if ((r = HM_CURVE_create_point(pts[1].data(), &p2)) != 0) return r;
    bounds.add(p2);
    return ipv_trim_curve_by_two_points(curve, p1, p2, help, piece);
}

int end_points(tag_t curve, double start[3], double end[3]) {
    if (int r = HM_VD_CURVE_ask_point_on_curve(curve, 0.0, start)) return r;
    return HM_VD_CURVE_ask_point_on_curve(curve, 1.0, end);
}

// The two pieces closed by two lines into one loop (a list), or null.
int close_band(tag_t outer, tag_t inner, hm_list_p_t* outline, detail::Temporaries& made) {
    double a0[3], a1[3], b0[3], b1[3];
    if (int r = end_points(outer, a0, a1)) return r;
    if (int r = end_points(inner, b0, b1)) return r;
    const bool crossed = detail::distance3(a0, b1) <= detail::distance3(a0, b0);
    HM_CURVE_line_t l1{}, l2{};
    detail::copy3(a0, l1.start_point);
    detail::copy3(crossed ? b1 : b0, l1.end_point);
    detail::copy3(a1, l2.start_point);
    detail::copy3(crossed ? b0 : b1, l2.end_point);
    tag_t line1 = NULL_TAG, line2 = NULL_TAG;
    if (int r = HM_CURVE_create_line(&l1, &line1)) return r;
    made.add(line1);
    if (int r = HM_CURVE_create_line(&l2, &line2)) return r;
    made.add(line2);
    const std::vector<tag_t> four = {outer, line1, inner, line2};
    detail::HostList all(detail::new_list(four));
    const Loops loops = loops_of(all.get(), distance_tolerance());
    if (loops.rows.size() != 1 || loops.closed != 1) return -1;
    for (tag_t c : four) made.release(c);
    *outline = detail::new_list(loops.rows[0]);
    return 0;
}

// Rim and hub pieces sorted: dropped ones (a rim piece inside the hub, a hub
// piece outside the rim) go to deletion; every examined piece is named.
std::vector<tag_t> keep_pieces(hm_list_p_t pieces, tag_t other_sheet, bool keep_on_sheet, double tol,
                               std::vector<tag_t>& deletion) {
    std::vector<tag_t> kept;
    const std::vector<tag_t> items = detail::list_items(pieces);
    for (size_t i = 0; i < items.size(); ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "curve_%d", static_cast<int>(i));
        HM_OBJ_set_name(items[i], name);
        double mid[3];
        const bool on = HM_VD_CURVE_ask_point_on_curve(items[i], kMiddle, mid) == 0 &&
                        ipv_point_near_object(mid, other_sheet, tol);
        if (on == keep_on_sheet)
            kept.push_back(items[i]);
        else
            deletion.push_back(items[i]);
    }
    return kept;
}

// How far apart the ends of rim and hub pieces that meet at one crossing
// may lie: a crossing within 0.001 of a curve's parameter range of its end
// splits that curve at the end itself, up to 0.001 of its length away.
double piece_join_tolerance(hm_list_p_t rim, hm_list_p_t hub, double tolerance) {
    double longest = 0.0;
    for (hm_list_p_t list : {rim, hub})
        for (tag_t c : detail::list_items(list)) {
            double length = 0.0;
            if (HM_CURVE_ask_arc_length(c, 0.0, 1.0, &length) == 0) longest = std::max(longest, length);
        }
    return std::max(tolerance, kSplitSnap * longest);
}

// Every crossing point of a rim curve with a hub curve, in order.
std::vector<Pt> all_crossings(const std::vector<tag_t>& rim, const std::vector<tag_t>& hub, double tol) {
    std::vector<Pt> out;
    for (tag_t r : rim)
        for (tag_t h : hub) {
            int n = 0;
            double** pts = nullptr;
            if (HM_VD_ipv_ask_all_intersect_points(r, h, tol, &n, &pts) != 0) continue;
            for (int i = 0; i < n; ++i) out.push_back({pts[i][0], pts[i][1], pts[i][2]});
            HM_VD_ipv_free_points(n, &pts);
        }
    return out;
}

// The curves of the list split at the points, in a new list.
int split_at(hm_list_p_t curves, std::vector<Pt>& points, hm_list_p_t* pieces) {
    std::vector<double*> rows;
    for (Pt& p : points) rows.push_back(p.data());
    return ipv_split_curves_by_points(curves, static_cast<int>(rows.size()), rows.data(), pieces);
}

void delete_contour(hm_list_p_t* list) {
    if (!list || !*list) return;
    for (tag_t c : detail::list_items(*list)) detail::delete_if_alive(c);
    HM_MODL_delete_list(list);
    *list = nullptr;
}

}  // namespace
}  // namespace carvell::vision

using namespace carvell;
using namespace carvell::vision;

int HM_VD_ipv_ask_rim_upper_section_curves(const double origin[3], const double matrix[9], hm_list_p_t wheel,
                                           const double wheel_centre[3], const double view_point[3],
                                           const double tolerances[2], double rim_top_point[3],
                                           hm_list_p_t* section) {
    (void)view_point;
    if (section) *section = nullptr;
    if (!origin || !matrix || !wheel_centre || !tolerances || !rim_top_point || !section) return -1;
    const double lateral_local[3] = {0.0, 1.0, 0.0};
    double lateral[3];
    if (int r = ipv_layer_vector_from_frame(lateral_local, origin, matrix, lateral)) return r;
    detail::Temporaries made;
    tag_t plane = NULL_TAG;
    if (int r = HM_MODL_create_plane(wheel_centre, lateral, &plane)) return r;
    made.add(plane);
    detail::HostList pool;
    HM_MODL_create_list(pool.out());
    for (tag_t solid : detail::list_items(wheel)) {
        detail::HostList curves;
        if (HM_VD_ask_intersection_curves(solid, plane, tolerances[1], curves.out()) != 0) continue;
        for (tag_t c : curves.items()) HM_MODL_put_list_item(pool.get(), made.add(c));
    }
    const Loops loops = loops_of(pool.get(), tolerances[0]);
    double best = kLowestZ;
    int winner = -1;
    for (int i = 0; i < loops.closed; ++i) {
        detail::HostList loop(detail::new_list(loops.rows[i]));
        double centroid[3];
        if (HM_VD_ipv_ask_centroid_of_curve_chain(loop.get(), centroid) != 0) continue;
        const double z = VD_LOCAL_Z(centroid, origin, matrix);
        if (z > best) {
            best = z;
            winner = i;
            detail::copy3(centroid, rim_top_point);
        }
    }
    if (winner < 0) return -1;
    const std::vector<tag_t>& row = loops.rows[winner];
    std::vector<tag_t> copies(row.size(), NULL_TAG);
    if (int r = HM_VD_copy_object(HM_VD_KEEP_LAYER, static_cast<int>(row.size()), row.data(), copies.data())) {
        for (tag_t c : copies) detail::delete_if_alive(c);
        return r;
    }
    *section = detail::new_list(copies);
    return 0;
}

int HM_VD_ipv_create_upper_steering_wheel(const double origin[3], const double matrix[9], ipv_steering_wheel_t* wheel,
                                          hm_list_p_t* outline) {
    trace(kKey, "\n+++HM_VD_ipv_create_upper_steering_wheel");
    if (outline) *outline = nullptr;
    if (!origin || !matrix || !wheel || !outline || !wheel->outer_contour || !wheel->inner_contour ||
        !wheel->rim_upper_section)
        return -1;
    const std::vector<tag_t> rim = detail::list_items(wheel->rim_upper_section);
    if (rim.empty()) return -1;
    UI_set_status("calculating upper steering wheel curves");
    double p0[3];
    if (int r = HM_VD_CURVE_ask_point_on_curve(rim[0], 0.0, p0)) return r;
    detail::Temporaries made;
    tag_t outer = NULL_TAG, inner = NULL_TAG;
    if (int r = one_curve(wheel->outer_contour, &outer)) return r;
    made.add(outer);
    if (int r = one_curve(wheel->inner_contour, &inner)) return r;
    made.add(inner);
    double nc[3], nr[3], x[3];
    if (int r = curve_plane_normal(outer, nc)) return r;
    if (int r = curve_plane_normal(rim[0], nr)) return r;
    HM_VEC3_cross(nc, nr, x);
    const double offset = cut_offset(outer, wheel->wheel_centre, nr);
    // The cut's direction points down in the vehicle.
    const double zero[3] = {0.0, 0.0, 0.0};
    double d[3], magnitude = 0.0;
    const double sense = VD_LOCAL_Z(x, zero, matrix) > 0.0 ? -1.0 : 1.0;
    for (int k = 0; k < 3; ++k) x[k] *= sense;
    if (HM_VEC3_unitize(x, 1e-10, &magnitude, d) != 0 || magnitude == 0.0) return -1;
    double shifted[3];
    for (int k = 0; k < 3; ++k) shifted[k] = wheel->wheel_centre[k] + offset * d[k];
    trace(kKey, "\n+++ center_point (%f, %f, %f), offset_center_point (%f, %f, %f)", wheel->wheel_centre[0],
          wheel->wheel_centre[1], wheel->wheel_centre[2], shifted[0], shifted[1], shifted[2]);
    tag_t cut = NULL_TAG;
    if (int r = HM_MODL_create_plane(shifted, d, &cut)) return r;
    made.add(cut);
    tag_t outer_piece = NULL_TAG, inner_piece = NULL_TAG;
    if (int r = cut_contour(outer, cut, p0, false, &outer_piece)) return r;
    made.add(outer_piece);
    if (int r = cut_contour(inner, cut, p0, true, &inner_piece)) return r;
    made.add(inner_piece);
    return close_band(outer_piece, inner_piece, outline, made);
}

int HM_VD_ipv_ask_hubs_and_seethrus(hm_list_p_t inner_rim, hm_list_p_t hub_outer, const double p[3],
                                    const double c[3], const double* tolerances, hm_list_p_t* hubs,
                                    hm_list_p_t* see_throughs) {
    if (hubs) *hubs = nullptr;
    if (see_throughs) *see_throughs = nullptr;
    if (!p || !c || !tolerances || !hubs || !see_throughs) return -1;
    int status = -1;
    if (HM_VD_CURVE_ask_curve_chain_status(inner_rim, tolerances[0], &status) != 0 || status != 0) {
        log("The inner rim is not closed");
        return -1;
    }
    if (HM_VD_CURVE_ask_curve_chain_status(hub_outer, tolerances[0], &status) != 0 || status != 0) {
        log("The hub outer is not closed");
        return -1;
    }
    detail::Temporaries made;
    const double normal[3] = {p[0] - c[0], p[1] - c[1], p[2] - c[2]};
    tag_t s = NULL_TAG;
    if (HM_MODL_create_plane(p, normal, &s) != 0) return -1;
    made.add(s);
    std::vector<Pt> points = all_crossings(detail::list_items(inner_rim), detail::list_items(hub_outer), tolerances[1]);
    if (points.empty()) return -1;
    hm_list_p_t rim_split = nullptr, hub_split = nullptr;
    split_at(inner_rim, points, &rim_split);
    split_at(hub_outer, points, &hub_split);
    detail::HostList rim_pieces(rim_split), hub_pieces(hub_split);
    std::vector<tag_t> deletion;
    tag_t rim_sheet = NULL_TAG, hub_sheet = NULL_TAG;
    HM_VD_create_bplane(inner_rim, &rim_sheet);
    made.add(rim_sheet);
    HM_VD_create_bplane(hub_outer, &hub_sheet);
    made.add(hub_sheet);
    const std::vector<tag_t> rim_kept = keep_pieces(rim_pieces.get(), hub_sheet, false, tolerances[0], deletion);
    const std::vector<tag_t> hub_kept = keep_pieces(hub_pieces.get(), rim_sheet, true, tolerances[0], deletion);
    std::vector<tag_t> remaining = rim_kept;
    remaining.insert(remaining.end(), hub_kept.begin(), hub_kept.end());
    detail::HostList remaining_list(detail::new_list(remaining));
    const Loops loops = loops_of(remaining_list.get(), piece_join_tolerance(inner_rim, hub_outer, tolerances[0]));
    for (size_t i = loops.closed; i < loops.rows.size(); ++i)
        deletion.insert(deletion.end(), loops.rows[i].begin(), loops.rows[i].end());
    double nearest = kFarLength;
    int hub_loop = -1;
    for (int i = 0; i < loops.closed; ++i) {
        detail::HostList loop(detail::new_list(loops.rows[i]));
        double d = 0.0;
        if (ipv_nearest_distance_of_list(loop.get(), s, &d, nullptr, nullptr) != 0) continue;
        if (std::fabs(d) < nearest) {
            nearest = std::fabs(d);
            hub_loop = i;
        }
    }
    std::vector<tag_t> hub_curves, see_curves;
    for (int i = 0; i < loops.closed; ++i)
        for (tag_t curve : loops.rows[i]) {
            if (i != hub_loop)
                see_curves.push_back(curve);
            else if (ipv_list_contains(hub_pieces.get(), curve))
                hub_curves.push_back(curve);
            else
                deletion.push_back(curve);
        }
    hm_list_p_t doomed = detail::new_list(deletion);
    HM_VD_delete_obj_list(&doomed);
    *hubs = detail::new_list(hub_curves);
    *see_throughs = detail::new_list(see_curves);
    return 0;
}

int HM_VD_ipv_extract_sw_curve(const double origin[3], const double matrix[9], const double view_point[3],
                               hm_list_p_t wheel, hm_list_p_t hub, double wheel_centre[3], double rim_top_point[3],
                               tag_t* plane, hm_list_p_t* upper_outline, hm_list_p_t* hubs,
                               hm_list_p_t* see_throughs) {
    if (plane) *plane = NULL_TAG;
    if (upper_outline) *upper_outline = nullptr;
    if (hubs) *hubs = nullptr;
    if (see_throughs) *see_throughs = nullptr;
    if (!detail::model_point(origin) || !detail::in_model_space(matrix, 9) || !detail::model_point(view_point) ||
        !wheel_centre || !rim_top_point || !plane || !upper_outline || !hubs || !see_throughs)
        return -1;
    if (int r = HM_VD_ipv_ask_body_centroid(wheel, wheel_centre)) return r;
    if (int r = HM_VD_ipv_ask_body_represent_plane(false, view_point, wheel, plane)) return r;
    ipv_steering_wheel_t record{};
    hm_list_p_t hub_outer = nullptr, hub_inner = nullptr;
    int result = HM_VD_ipv_create_contour(wheel, view_point, kWheelParameters, kBothContours, *plane,
                                          &record.outer_contour, &record.inner_contour);
    if (result == 0)
        result = HM_VD_ipv_create_contour(hub, view_point, kWheelParameters, kOuterContour, *plane, &hub_outer,
                                          &hub_inner);
    const double d = distance_tolerance();
    const double tolerances[2] = {d, d};
    if (result == 0)
        result = HM_VD_ipv_ask_rim_upper_section_curves(origin, matrix, wheel, wheel_centre, view_point, tolerances,
                                                        rim_top_point, &record.rim_upper_section);
    if (result == 0) {
        detail::copy3(rim_top_point, record.rim_top_point);
        detail::copy3(wheel_centre, record.wheel_centre);
        result = HM_VD_ipv_create_upper_steering_wheel(origin, matrix, &record, upper_outline);
    }
    if (result == 0)
        result = HM_VD_ipv_ask_hubs_and_seethrus(record.inner_contour, hub_outer, rim_top_point, wheel_centre,
                                                 tolerances, hubs, see_throughs);
    delete_contour(&hub_outer);
    delete_contour(&hub_inner);
    delete_contour(&record.rim_upper_section);
    delete_contour(&record.outer_contour);
    delete_contour(&record.inner_contour);
    return result;
}
