// The eye point of an eyellipse closest to a target. The eyellipse's
// ellipsoid is modelled, cut by a horizontal plane, and the point of the cut
// nearest to the target (or to the target's cut by the same plane) is the
// eye. All modelling is rolled back to the search's undo mark.
#include "vision_closest_eye.h"

#include "hm_vd.h"
#include "omvra.h"
#include "toolbox/detail/constants.h"
#include "toolbox/detail/owners.h"
#include "toolbox/detail/undo_scope.h"

#include <cmath>
#include <cstring>
#include <vector>

namespace carvell::vision {

namespace {

constexpr double kUp[3] = {0.0, 0.0, 1.0};
constexpr double kTiny = 1.0e-10;

// What the search needs of the eyellipse: the eye type's centre, the
// percentile's semi-axes and the unit first and second axis directions.
struct Ellipsoid {
    double centre[3];
    double semi[3];
    double x_dir[3];
    double y_dir[3];
};

int length_set(int percentile) { return percentile == -1 ? 0 : percentile == 0 ? 1 : 2; }
int centre_index(int eye_type) { return eye_type < 0 ? 0 : eye_type == 0 ? 1 : 2; }

bool unit(const double v[3], double u[3]) {
    const double n = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (!(n > kTiny) || !std::isfinite(n)) return false;
    for (int i = 0; i < 3; ++i) u[i] = v[i] / n;
    return true;
}

bool ellipsoid_of(const VD_eyellipse_param_t& data, int eye_type, int percentile, Ellipsoid& e) {
    std::memcpy(e.centre, data.centre[centre_index(eye_type)], sizeof e.centre);
    const double* lengths = data.axis_length[length_set(percentile)];
    for (int i = 0; i < 3; ++i) {
        e.semi[i] = lengths[i] / 2.0;
        if (!(e.semi[i] > kTiny)) return false;
    }
    return unit(data.axis_dir[0], e.x_dir) && unit(data.axis_dir[1], e.y_dir);
}

// The ellipsoid's cut by the horizontal plane at the height of the point;
// empty when the plane misses it or a step fails.
std::vector<tag_t> ellipsoid_cut(const Ellipsoid& e, tag_t plane, double tolerance) {
    double axes[6];
    std::memcpy(axes, e.x_dir, sizeof e.x_dir);
    std::memcpy(axes + 3, e.y_dir, sizeof e.y_dir);
    tag_t body = 0;
    if (HM_VD_create_ellipsoid(e.centre, e.semi, axes, &body) || !body) return {};
    detail::HostList cut;
    if (HM_VD_ask_intersection_curves(body, plane, tolerance, cut.out())) return {};
    return cut.items();
}

// The targets' cut by the plane, all targets together; false when a cut fails.
bool targets_cut(const std::vector<tag_t>& targets, tag_t plane, double tolerance, std::vector<tag_t>& cut) {
    for (tag_t target : targets) {
        detail::HostList pieces;
        if (HM_VD_ask_intersection_curves(target, plane, tolerance, pieces.out())) return false;
        for (tag_t piece : pieces.items()) cut.push_back(piece);
    }
    return true;
}

// The point of the first objects nearest to the second objects, over all
// pairs: the first pair sets it, a later pair replaces it only when
// strictly nearer.
int nearest_point(const std::vector<tag_t>& from, const std::vector<tag_t>& to, double point[3]) {
    if (from.empty() || to.empty()) return kClosestEyeNoData;
    bool found = false;
    double best = 0.0, nearest[3] = {};
    for (tag_t a : from)
        for (tag_t b : to) {
            double d = 0.0, pa[3], pb[3];
            if (HM_MODL_ask_minimum_dist(a, b, 0, nullptr, 0, nullptr, &d, pa, pb)) return kClosestEyeNoDistance;
            if (found && !(d < best)) continue;
            found = true;
            best = d;
            std::memcpy(nearest, pa, sizeof nearest);
        }
    std::memcpy(point, nearest, sizeof nearest);
    return kClosestEyeOk;
}

int horizontal_plane(const double through[3], tag_t* plane) {
    return HM_MODL_create_plane(through, kUp, plane) || !*plane ? kClosestEyeNoData : kClosestEyeOk;
}

// B: the point of the mid-plane ellipse, laid onto plane 1 along the
// vertical, nearest to the targets' cut by plane 1.
int point_b(const Ellipsoid& e, tag_t plane1, const std::vector<tag_t>& cut1, double b_point[3]) {
    const double range[2] = {0.0, 2.0 * detail::kPi};
    tag_t ellipse = 0;
    if (HM_VD_curve_create_ellipse(e.centre, e.semi[0], e.x_dir, e.semi[1], e.y_dir, range, &ellipse) || !ellipse)
        return kClosestEyeNoData;
    detail::HostList curves, planes;
    HM_MODL_create_list(curves.out());
    HM_MODL_create_list(planes.out());
    HM_MODL_put_list_item(curves.get(), ellipse);
    HM_MODL_put_list_item(planes.get(), plane1);
    tag_t feature = 0;
    if (HM_MODL_create_proj_curves(curves.get(), planes.get(), &feature)) return kClosestEyeNoData;
    int count = 0;
    tag_t* projected = nullptr;
    if (HM_MODL_ask_proj_curves(feature, &count, &projected)) return kClosestEyeNoData;
    const std::vector<tag_t> laid(projected, projected + count);
    SM_free(projected);
    return nearest_point(laid, cut1, b_point);
}

int search_targets(const Ellipsoid& e, const std::vector<tag_t>& targets, double tolerance, double eye[3]) {
    // M: one full axis length ahead of the centre along the forward-turned
    // first axis; plane 1 is horizontal through it.
    double forward[3];
    std::memcpy(forward, e.x_dir, sizeof forward);
    if (forward[0] > 0.0)
        for (double& f : forward) f = -f;
    double m[3];
    for (int i = 0; i < 3; ++i) m[i] = e.centre[i] + 2.0 * e.semi[0] * forward[i];
    tag_t plane1 = 0;
    if (int r = horizontal_plane(m, &plane1)) return r;
    std::vector<tag_t> cut1;
    if (!targets_cut(targets, plane1, tolerance, cut1)) return kClosestEyeNoData;
    double b[3];
    if (int r = point_b(e, plane1, cut1, b)) return r;
    // P2: the first axis line through the centre at B's height (a
    // horizontal axis lies in that plane: the centre will do); plane 2 is
    // horizontal through it.
    double p2[3];
    std::memcpy(p2, e.centre, sizeof p2);
    if (std::fabs(e.x_dir[2]) > kTiny) {
        const double t = (b[2] - e.centre[2]) / e.x_dir[2];
        for (int i = 0; i < 3; ++i) p2[i] = e.centre[i] + t * e.x_dir[i];
    }
    tag_t plane2 = 0;
    if (int r = horizontal_plane(p2, &plane2)) return r;
    std::vector<tag_t> cut2;
    if (!targets_cut(targets, plane2, tolerance, cut2)) return kClosestEyeNoData;
    return nearest_point(ellipsoid_cut(e, plane2, tolerance), cut2, eye);
}

int search_point(const Ellipsoid& e, const double target[3], double tolerance, double eye[3]) {
    tag_t plane = 0;
    if (int r = horizontal_plane(target, &plane)) return r;
    tag_t point = 0;
    if (HM_CURVE_create_point(target, &point) || !point) return kClosestEyeNoData;
    return nearest_point(ellipsoid_cut(e, plane, tolerance), {point}, eye);
}

double distance_tolerance() {
    double tolerance = 0.0;
    HM_MODL_ask_distance_tolerance(&tolerance);
    return tolerance;
}

}  // namespace

int closest_eye_to_targets(const VD_eyellipse_param_t* data, int eye_type, int percentile, hm_list_p_t targets,
                           double eye[3]) {
    detail::UndoScope scope(UNDO_visible, "ask_closest_eye");
    return detail::run_step(scope, __FILE__, __LINE__, [&]() -> int {
        const std::vector<tag_t> items = detail::list_items(targets);
        Ellipsoid e{};
        if (!data || items.empty() || !ellipsoid_of(*data, eye_type, percentile, e)) return kClosestEyeNoData;
        return search_targets(e, items, distance_tolerance(), eye);
    });
}

int closest_eye_to_point(const VD_eyellipse_param_t* data, int eye_type, int percentile, const double target[3],
                         double eye[3]) {
    detail::UndoScope scope(UNDO_visible, "ask_eye_by_point");
    return detail::run_step(scope, __FILE__, __LINE__, [&]() -> int {
        Ellipsoid e{};
        if (!data || !target || !ellipsoid_of(*data, eye_type, percentile, e)) return kClosestEyeNoData;
        return search_point(e, target, distance_tolerance(), eye);
    });
}

}  // namespace carvell::vision
