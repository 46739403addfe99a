// Areas of a face between neighbouring contour angles: for each interval,
// the runs of radial sections whose stones land inside it (each section's
// stretch of stones as a polyline, closed at the run's ends by the pieces
// of the two contour lines between the sections), then the contour lines
// that touch a run linked to it by short connectors. Each run and each
// connector pair is one area, listed with the interval's mid-angle.
#include "si_internal.h"

#include "hm_vd.h"
#include "hm_vd_curve.h"
#include "toolbox/detail/owners.h"

#include "omvra.h"
#include "quillon.h"

#include <algorithm>
#include <cmath>

using namespace carvell::stone;
namespace detail = carvell::detail;

namespace {

double distance(const Point& a, const Point& b) {
    return std::sqrt((a[0] - b[0]) * (a[0] - b[0]) + (a[1] - b[1]) * (a[1] - b[1]) + (a[2] - b[2]) * (a[2] - b[2]));
}

// Consecutive points closer than this are one point.
constexpr double kSamePoint = 1.0e-10;

double distance_tolerance() {
    double tol = 0.0;
    HM_MODL_ask_distance_tolerance(&tol);
    return tol;
}

// The curves of one area, or of one run of sections.
using Group = std::vector<tag_t>;

struct Interval {
    const FaceStones& stones;
    double lo, hi;
    const std::vector<tag_t>& contours;
    double tolerance;
};

tag_t interval_polyline(const Interval& in, int r) {
    const Points pts = interval_polyline_points(in.stones.counts[r], in.stones.points[r], in.stones.angles[r], in.lo,
                                                in.hi);
    if (pts.size() < 2 || distance(pts.front(), pts.back()) < kShortestPolylineTolerances * in.tolerance) return 0;
    return plain_curve(pts);
}

// The index of the defining point that lies where section r's stones reach
// the angle; -1 when none does.
int cut_index(const Points& pts, double angle, int r, const FaceStones& s, double tolerance) {
    for (size_t i = 0; i < pts.size(); ++i)
        if (polyline_crosses_at_point(pts[i], angle, s.counts[r], s.points[r], s.angles[r], tolerance))
            return static_cast<int>(i);
    return -1;
}

// x of the stone of section r nearest to the point; false when r has none.
bool section_x_near(int r, const Point& p, const FaceStones& s, double* x) {
    if (r < 0 || r >= kSections || s.counts[r] < 1) return false;
    *x = s.points[r][nearest_point_in_array(p, s.counts[r], s.points[r])][0];
    return true;
}

// The stretch of a contour line (x descending) between sections r - 1 and r:
// between the points where it meets both sections; from the one where it
// meets one of them on towards the other (none when the other section holds
// no stone); the whole line when it meets neither but starts between them.
Points cut_contour_piece(const Points& pts, double angle, int r, const FaceStones& s, double tolerance) {
    const int at_r = cut_index(pts, angle, r, s, tolerance);
    const int at_prev = cut_index(pts, angle, r - 1, s, tolerance);
    Points stretch;
    if (at_r >= 0 && at_prev >= 0) {
        const int a = std::min(at_r, at_prev), b = std::max(at_r, at_prev);
        stretch.assign(pts.begin() + a, pts.begin() + b + 1);
    } else if (at_r >= 0 || at_prev >= 0) {
        const int i = at_r >= 0 ? at_r : at_prev;
        double other_x = 0.0;
        if (!section_x_near(at_r >= 0 ? r - 1 : r, pts[i], s, &other_x)) return {};
        if (other_x > pts[i][0]) stretch.assign(pts.begin(), pts.begin() + i + 1);   // towards larger x
        else stretch.assign(pts.begin() + i, pts.end());
    } else if (!pts.empty() && section_ends_between(r - 1, r, pts.front(), s.counts, s.points)) {
        stretch = pts;
    }
    return stretch.size() >= 2 ? stretch : Points();
}

// The piece of the contour lines of an angle between sections r - 1 and r.
tag_t contour_piece(const Interval& in, double angle, int r) {
    for (tag_t curve : curves_by_angle(in.contours, angle)) {
        Points pts = thru_points(curve);
        if (pts.size() < 2) continue;
        if (pts.back()[0] > pts.front()[0]) std::reverse(pts.begin(), pts.end());
        const Points piece = cut_contour_piece(pts, angle, r, in.stones, in.tolerance);
        if (piece.size() >= 2) return plain_curve(piece);
    }
    return 0;
}

void add_pieces(const Interval& in, int r, Group& run) {
    if (r < 1) return;
    for (double angle : {in.lo, in.hi})
        if (const tag_t piece = contour_piece(in, angle, r)) run.push_back(piece);
}

// A run of more than one curve becomes an area; a shorter one is deleted.
void close_run(Group& run, std::vector<Group>& groups) {
    if (run.size() > 1) groups.push_back(run);
    else
        for (tag_t t : run) detail::delete_if_alive(t);
    run.clear();
}

std::vector<Group> interval_areas(const Interval& in) {
    std::vector<Group> groups;
    Group run;
    bool in_run = false;
    for (int r = 0; r < kSections; ++r) {
        const tag_t polyline = interval_polyline(in, r);
        if (polyline) {
            if (!in_run) add_pieces(in, r, run);
            in_run = true;
            run.push_back(polyline);
        } else if (in_run) {
            add_pieces(in, r, run);
            close_run(run, groups);
            in_run = false;
        }
    }
    if (in_run) close_run(run, groups);
    return groups;
}

tag_t two_point_curve(const Point& a, const Point& b) { return plain_curve({a, b}); }

// A connector from one end of contour line c to the area G, and the curve
// that carries it on along G. Both 0 when there is nothing to link.
struct Link {
    tag_t connector = 0;
    tag_t remainder = 0;
};

Link link_contour_ends(tag_t c, int side, const Group& g, double tolerance) {
    Link link;
    if (!c || g.empty()) return link;
    for (tag_t t : g)
        if (splines_have_same_ends(t, c, tolerance)) return link;
    Points p = thru_points(c);
    if (p.size() < 2) return link;
    std::reverse(p.begin(), p.end());
    if (side == 1) std::reverse(p.begin(), p.end());   // from the last point backwards
    int m = -1, index = -1;
    for (size_t i = 0; i < p.size() && m < 0; ++i)
        if ((index = curve_ends_on_list(g, p[i], tolerance)) >= 0) m = static_cast<int>(i);
    if (m < 0) return link;
    link.connector = two_point_curve(p[0], p[m == 0 ? 1 : m]);
    const int edge = side == 0 ? 0 : static_cast<int>(g.size()) - 1;
    if (index == edge) {
        Points along = thru_points(g[edge]);
        if (!along.empty() && same_point(along.front(), p[m == 0 ? 1 : m], tolerance))
            std::reverse(along.begin(), along.end());
        link.remainder = plain_curve(along);
    } else {
        const int next = side == 0 ? index - 1 : index + 1;
        const Points at = thru_points(g[index]), to = thru_points(g[next]);
        if (!at.empty() && !to.empty())
            link.remainder = two_point_curve(p[m], same_point(p[m], at.front(), tolerance) ? to.front() : to.back());
    }
    return link;
}

// End point of a connector on the contour's side (its first point).
Point connector_start(tag_t connector) {
    const Points p = thru_points(connector);
    return p.empty() ? Point{0, 0, 0} : p.front();
}

// The connector pairs that close the area G onto the contour lines touching it.
std::vector<Group> close_area_loops(const Group& g, const std::vector<tag_t>& contours, double tolerance) {
    std::vector<Group> pairs;
    const std::vector<tag_t> touching = touching_curves(g, contours, tolerance);
    const tag_t c0 = touching.size() > 0 ? touching[0] : 0, c1 = touching.size() > 1 ? touching[1] : 0;
    for (int side = 0; side < 2; ++side) {
        const Link l0 = link_contour_ends(c0, side, g, tolerance), l1 = link_contour_ends(c1, side, g, tolerance);
        if (l0.connector && l1.connector && splines_have_same_ends(l0.remainder, l1.remainder, tolerance)) {
            const tag_t across = two_point_curve(connector_start(l0.connector), connector_start(l1.connector));
            for (tag_t t : {l0.connector, l1.connector, l1.remainder}) detail::delete_if_alive(t);
            if (across) pairs.push_back({across, l0.remainder});
            else detail::delete_if_alive(l0.remainder);
            continue;
        }
        for (const Link& l : {l0, l1}) {
            if (l.connector && l.remainder) pairs.push_back({l.connector, l.remainder});
            else
                for (tag_t t : {l.connector, l.remainder}) detail::delete_if_alive(t);
        }
    }
    return pairs;
}

void append(Areas* areas, const std::vector<Group>& groups, double mid, std::vector<int>& sizes,
            std::vector<double>& mids) {
    for (const Group& g : groups) {
        sizes.push_back(static_cast<int>(g.size()));
        mids.push_back(mid);
        if (!areas->list) HM_MODL_create_list(&areas->list);
        for (tag_t t : g) HM_MODL_put_list_item(areas->list, t);
    }
}

}  // namespace

namespace carvell::stone {

Points interval_polyline_points(int n, const double points[][3], const double angles[], double lo, double hi) {
    Points out;
    if (n < 2) return out;
    std::vector<int> inside;
    for (int j = 0; j < n; ++j)
        if (lo < angles[j] && angles[j] < hi) inside.push_back(j);
    // The crossing of the interval's edge between stones j and j + 1, one
    // of them outside the interval (the 0.01 rule: stone j).
    auto edge_point = [&](int j, int outside) {
        const double edge = angles[outside] < lo ? lo : hi;
        return reach_angle(edge, points[j], angles[j], points[j + 1], angles[j + 1]);
    };
    if (!inside.empty()) {
        if (inside.front() > 0) out.push_back(edge_point(inside.front() - 1, inside.front() - 1));
        for (int j : inside) out.push_back({points[j][0], points[j][1], points[j][2]});
        if (inside.back() < n - 1) out.push_back(edge_point(inside.back(), inside.back() + 1));
        return out;
    }
    for (int j = 0; j + 1 < n; ++j)
        for (double edge : {lo, hi})
            if (angles[j] < edge && edge < angles[j + 1])
                out.push_back(reach_angle(edge, points[j], angles[j], points[j + 1], angles[j + 1]));
    return out;
}

tag_t plain_curve(const Points& points) {
    // A crossing taken at a stone (the 0.01 rule) repeats that stone's
    // point: a spline cannot pass twice through one point in a row.
    Points distinct;
    for (const Point& p : points)
        if (distinct.empty() || distance(distinct.back(), p) > kSamePoint) distinct.push_back(p);
    if (distinct.empty()) return 0;
    tag_t curve = 0;
    make_result_curve(0, static_cast<int>(distinct.size()), reinterpret_cast<const double(*)[3]>(distinct.data()), 0,
                      kAreaCurveColour, kNoName, &curve, nullptr);
    return curve;
}

int build_areas(const FaceStones& stones, const double contour_angles[], int angle_count,
                const std::vector<tag_t>& contours, Areas* areas) {
    *areas = Areas{};
    const double tolerance = distance_tolerance();
    std::vector<int> sizes;
    std::vector<double> mids;
    for (int k = 0; k + 1 < angle_count; ++k) {
        const double mid = (contour_angles[k] + contour_angles[k + 1]) / 2.0;
        const Interval in{stones, contour_angles[k], contour_angles[k + 1], contours, tolerance};
        const std::vector<Group> runs = interval_areas(in);
        std::vector<Group> loops;
        for (const Group& g : runs)
            for (Group& pair : close_area_loops(g, contours, tolerance)) loops.push_back(pair);
        detail::HostList loop_list;
        for (const Group& pair : loops)
            for (tag_t t : pair) {
                if (!loop_list.get()) HM_MODL_create_list(loop_list.out());
                HM_MODL_put_list_item(loop_list.get(), t);
            }
        HM_VD_set_obj_array_layer(loop_list.get(), kAreaLoopLayer);
        append(areas, runs, mid, sizes, mids);
        append(areas, loops, mid, sizes, mids);
    }
    if (sizes.empty()) return 0;
    areas->count = static_cast<int>(sizes.size());
    areas->sizes = static_cast<int*>(SM_alloc(sizes.size() * sizeof(int)));
    areas->mid_angles = static_cast<double*>(SM_alloc(mids.size() * sizeof(double)));
    std::copy(sizes.begin(), sizes.end(), areas->sizes);
    std::copy(mids.begin(), mids.end(), areas->mid_angles);
    return 0;
}

}  // namespace carvell::stone
