// The 2003 release's wiped area: the circles of the blade's inner and outer
// ends about each pivot on the glass above pivot 1, and the outline of the
// band (one wiper) or of the two bands (two wipers) as point lists.
#include "r2003_windshield.h"
#include "release2003/windshield.h"
#include "windshield/ws_internal.h"

#include "hm_vd.h"
#include "hm_vd_curve.h"
#include "toolbox/detail/owners.h"
#include "toolbox/detail/vec3.h"
#include "toolbox/detail/undo_scope.h"

#include "elvosk.h"
#include "omvra.h"
#include "quillon.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace {

using namespace carvell;
using r2003::Points;

enum WiperMode { kTandem = 0, kOpposed = 1, kOneWiper = 2 };
// Two circles touch when they come this close (part units).
constexpr double kTouchDistance = 0.001;
constexpr int kFarther = 1, kNearer = 0;

struct Point {
    double p[3] = {0, 0, 0};
};

// The glass each circle lies on: each face copied as a sheet and cut by the
// horizontal plane through pivot 1, keeping the glass above it. The copies go
// with the owner.
struct GlassAbovePivot {
    detail::Temporaries copies;
    std::vector<tag_t> faces;

    GlassAbovePivot(int face_count, const tag_t* given, const double pivot1[3]) {
        const double down[3] = {0.0, 0.0, -1.0};
        tag_t plane = 0;
        if (HM_MODL_create_plane(pivot1, down, &plane) || copies.add(plane) == 0) return;
        // One unit against the plane's normal: the side the wipers sweep.
        double keep[3];
        HM_VD_create_point_by_distance(pivot1, down, -1.0, keep);
        double tolerance = 0.0;
        (void)HM_MODL_ask_distance_tolerance(&tolerance);
        for (int i = 0; i < face_count; ++i) {
            tag_t copy = 0;
            if (HM_MODL_extract_face(given[i], 0, &copy) || copies.add(copy) == 0) continue;
            if (r2003::ws_old_plane_crosses_edges(copy, plane)) {
                const HM_MODL_trim_object_t bound = {plane, 1};
                const HM_MODL_proj_method_t projection{};
                int gap_count = 0;
                detail::SmBlock<double> gaps;
                (void)HM_VD_WS_trim_sheet(copy, 1, &bound, &projection, 1, 1, keep, tolerance, &gap_count,
                                          gaps.out());
            }
            detail::HostList copy_faces;
            if (HM_MODL_ask_body_faces(copy, copy_faces.out()) == 0 && !copy_faces.items().empty())
                faces.push_back(copy_faces.items().front());
        }
    }
};

// The circles of both blade ends about a pivot (0 where there is none).
struct Band {
    tag_t outer = 0, inner = 0;
};

Band band_about(const std::vector<tag_t>& faces, const double pivot[3], double arm, double blade,
                detail::Temporaries& made) {
    Band band;
    band.outer = made.add(r2003::ws_old_sphere_section(int(faces.size()), faces.data(), pivot, 2.0 * arm + blade));
    band.inner = made.add(r2003::ws_old_sphere_section(int(faces.size()), faces.data(), pivot, 2.0 * arm - blade));
    return band;
}

// Builds the outline curve by curve into the outputs; the first failure
// leaves the outline empty.
class Outline {
public:
    Outline(int face_count, const tag_t* faces, int n) : face_count_(face_count), faces_(faces), n_(n) {}
    ~Outline() { windshield::group_free(count_, point_counts_, points_); }

    // The circle between the two points, running from `from` to `to`.
    void arc(tag_t circle, const Point& from, const Point& to) {
        Points points;
        if (failed_ || windshield::ws_curve_points_between(circle, from.p, to.p, n_, points)) {
            failed_ = true;
            return;
        }
        if (detail::distance3(points.front().data(), from.p) > detail::distance3(points.back().data(), from.p))
            std::reverse(points.begin(), points.end());
        append(points);
    }
    // Along the glass from one point to the other.
    void connector(const Point& from, const Point& to) {
        if (failed_) return;
        append(r2003::ws_old_points_on_faces_between(face_count_, faces_, from.p, to.p, n_));
    }
    // The outline to the caller (nothing when a step failed).
    void hand_over(int* count, int** point_counts, double**** points) {
        if (failed_) return;
        *count = std::exchange(count_, 0);
        *point_counts = std::exchange(point_counts_, nullptr);
        *points = std::exchange(points_, nullptr);
    }
    void fail() { failed_ = true; }

private:
    void append(const Points& points) {
        if (int(points.size()) != n_) {
            failed_ = true;
            return;
        }
        windshield::group_append(count_, point_counts_, points_, points);
    }
    int face_count_;
    const tag_t* faces_;
    int n_;
    bool failed_ = false;
    int count_ = 0;
    int* point_counts_ = nullptr;
    double*** points_ = nullptr;
};

bool curve_end(tag_t circle, const double p1[3], const double p2[3], int which, Point& out) {
    return r2003::ws_old_curve_end(circle, p1, p2, which, out.p) == 0;
}

// Whether the curves come within the touching distance; the point on a.
bool touch(tag_t a, tag_t b, Point& at) {
    double d = 0.0, on_b[3];
    return HM_MODL_ask_minimum_dist(a, b, 0, nullptr, 0, nullptr, &d, at.p, on_b) == 0 && d <= kTouchDistance;
}

// The point of the curve nearest the straight line from a to b.
bool nearest_to_line(tag_t curve, const double a[3], const double b[3], Point& out) {
    HM_CURVE_line_t data;
    std::copy(a, a + 3, data.start_point);
    std::copy(b, b + 3, data.end_point);
    tag_t line = 0;
    if (HM_CURVE_create_line(&data, &line) || line == 0) return false;
    double d = 0.0, on_line[3];
    const int r = HM_MODL_ask_minimum_dist(curve, line, 0, nullptr, 0, nullptr, &d, out.p, on_line);
    (void)HM_OBJ_delete_object(line);
    return r == 0;
}

void one_wiper(const Band& band, Outline& outline) {
    Point outer_start, outer_end, inner_a, inner_b;
    if (HM_VD_CURVE_ask_point_on_curve(band.outer, 0.0, outer_start.p) ||
        HM_VD_CURVE_ask_point_on_curve(band.outer, 1.0, outer_end.p) ||
        HM_VD_CURVE_ask_point_on_curve(band.inner, 0.0, inner_a.p) ||
        HM_VD_CURVE_ask_point_on_curve(band.inner, 1.0, inner_b.p))
        return outline.fail();
    // The inner circle's end nearer the outer circle's end starts its way back.
    if (detail::distance3(inner_b.p, outer_end.p) < detail::distance3(inner_a.p, outer_end.p))
        std::swap(inner_a, inner_b);
    outline.arc(band.outer, outer_start, outer_end);
    outline.connector(outer_end, inner_a);
    outline.arc(band.inner, inner_a, inner_b);
    outline.connector(inner_b, outer_start);
}

// The ring round both bands, from wiper 1's outer circle.
void two_wipers(int mode, const Band& b1, const Band& b2, const double p1[3], const double p2[3], Outline& outline) {
    Point o1_far, o1_near, o2_far, o2_near, i1_far, i1_near, i2_far, i2_near;
    if (!curve_end(b1.outer, p1, p2, kFarther, o1_far) || !curve_end(b1.outer, p1, p2, kNearer, o1_near) ||
        !curve_end(b2.outer, p1, p2, kFarther, o2_far) || !curve_end(b2.outer, p1, p2, kNearer, o2_near) ||
        !curve_end(b1.inner, p1, p2, kFarther, i1_far) || !curve_end(b1.inner, p1, p2, kNearer, i1_near) ||
        !curve_end(b2.inner, p1, p2, kFarther, i2_far) || !curve_end(b2.inner, p1, p2, kNearer, i2_near))
        return outline.fail();
    Point outers_meet;
    const bool outers_touch = touch(b1.outer, b2.outer, outers_meet);
    // 1 and 2: over both outer circles.
    outline.arc(b1.outer, o1_far, outers_touch ? outers_meet : o1_near);
    const Point& outer2_from = outers_touch ? outers_meet : o2_near;
    outline.arc(b2.outer, outer2_from, o2_far);
    // 3: down to inner circle 2.
    Point inner2_from = i2_far;
    if (mode == kOpposed && !nearest_to_line(b2.inner, o2_far.p, p2, inner2_from)) return outline.fail();
    outline.connector(o2_far, inner2_from);
    // 4 and 5: along inner circle 2, and on to where the ring stands next.
    Point inner2_meets_outer1;
    const bool crossing = mode == kTandem && touch(b2.inner, b1.outer, inner2_meets_outer1);
    outline.arc(b2.inner, inner2_from, crossing ? inner2_meets_outer1 : i2_near);
    Point last = i2_near;
    bool wiper2_closed = false;
    if (crossing) {
        outline.arc(b1.outer, inner2_meets_outer1, o1_near);
        last = o1_near;
    } else if (mode == kTandem || !outers_touch) {
        outline.connector(i2_near, o2_near);
        last = o2_near;
        // Wiper 2's outline closed on itself: wiper 1's goes on from curve 1's end.
        wiper2_closed = !outers_touch;
    }
    const Point& inner1_to = wiper2_closed ? o1_near : last;
    // 6 to 8: down to inner circle 1, along it and back to the start.
    outline.connector(inner1_to, i1_near);
    Point inner1_end;
    if (!nearest_to_line(b1.inner, i1_far.p, p1, inner1_end)) return outline.fail();
    outline.arc(b1.inner, i1_near, inner1_end);
    outline.connector(inner1_end, o1_far);
}

bool wiped_input_usable(int face_count, const tag_t* faces, int mode, double arm, double blade, const double p1[3],
                        const double p2[3], int n) {
    return r2003::faces_usable(face_count, faces) && mode >= kTandem && mode <= kOneWiper &&
           r2003::numbers_usable(&arm, 1) && r2003::numbers_usable(&blade, 1) && arm > 0.0 && blade > 0.0 &&
           r2003::numbers_usable(p1, 3) && r2003::numbers_usable(p2, 3) && r2003::point_count_usable(n);
}

void build_outline(int face_count, const tag_t* faces, int mode, double arm_length, double blade_length,
                   const double pivot1[3], const double pivot2[3], int points_per_curve, int* count,
                   int** point_counts, double**** points) {
    detail::Temporaries circles(detail::Temporaries::Disposal::log_for_update);
    Band band1, band2;
    {
        GlassAbovePivot glass(face_count, faces, pivot1);
        band1 = band_about(glass.faces, pivot1, arm_length, blade_length, circles);
        if (mode != kOneWiper) band2 = band_about(glass.faces, pivot2, arm_length, blade_length, circles);
    }
    Outline outline(face_count, faces, points_per_curve);
    if (mode == kOneWiper) {
        if (band1.outer == 0 || band1.inner == 0) return;
        one_wiper(band1, outline);
    } else {
        if (band1.outer == 0 || band1.inner == 0 || band2.outer == 0 || band2.inner == 0) return;
        two_wipers(mode, band1, band2, pivot1, pivot2, outline);
    }
    outline.hand_over(count, point_counts, points);
}

}  // namespace

void HM_VD_WS_create_wiped_area(int face_count, const tag_t* faces, int mode, double arm_length,
                                double blade_length, const double pivot1[3], const double pivot2[3],
                                int points_per_curve, int* count, int** point_counts, double**** points) {
    if (!count || !point_counts || !points) return;
    *count = 0;
    *point_counts = nullptr;
    *points = nullptr;
    if (!wiped_input_usable(face_count, faces, mode, arm_length, blade_length, pivot1, pivot2, points_per_curve))
        return;
    (void)UI_set_status("creating windshield wiped area");
    r2003::DisplayOff display;
    try {
        build_outline(face_count, faces, mode, arm_length, blade_length, pivot1, pivot2, points_per_curve, count,
                      point_counts, points);
    } catch (...) {
        // A host failure leaves no outline.
        (void)detail::caught_code(windshield::kSource, __LINE__);
    }
}
