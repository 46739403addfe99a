// Instrument-panel visibility: planes placed through curves and faces (the
// centroid of a curve chain, its least-squares plane, a plane behind it
// seen from the eye, the instrument-panel plane) and the curve-on-face test.
#include "hm_vd_vision.h"
#include "vision_ipv.h"

#include "hm_vd.h"
#include "hm_vd_curve.h"
#include "toolbox/detail/finite.h"
#include "toolbox/detail/owners.h"
#include "toolbox/detail/vec3.h"

#include "omvra.h"

#include <array>
#include <cmath>
#include <vector>

namespace carvell::vision {
namespace {

using Pt = std::array<double, 3>;

// Chord points of the centroid: the chord and step of a regular polygon of
// 16 sides on a unit circle (2 sin(pi/16)^2 and 2 sin(pi/8)), no angle bound.
constexpr double kCentroidChord = 0.07612046748871;
constexpr double kCentroidStep = 0.76536686473018;
// Samples of the least-squares plane and of the panel plane's edges.
constexpr int kPlaneSamples = 10;
// Samples of the curve-on-face test (parameters 0.00 .. 0.99).
constexpr int kOnFaceSamples = 100;
// Colour of the panel plane's sample points.
constexpr int kSampleColour = 5;

// The end points of a chain's curves already pooled: a closed curve's end
// meets its own start and each joint of a chain is the end of two curves,
// yet each such point is one point of the chain and counts once.
class ChainEnds {
public:
    ChainEnds() { HM_MODL_ask_distance_tolerance(&tolerance_); }
    // True the first time a point within the distance tolerance comes.
    bool first_time(const Pt& p) {
        for (const Pt& q : seen_)
            if (detail::distance3(p.data(), q.data()) <= tolerance_) return false;
        seen_.push_back(p);
        return true;
    }

private:
    double tolerance_ = 0.0;
    std::vector<Pt> seen_;
};

int fit(const std::vector<Pt>& pts, double origin[3], double normal[3]) {
    if (pts.size() < 3) return -1;
    std::vector<const double*> rows;
    for (const Pt& p : pts) rows.push_back(p.data());
    return HM_VD_ask_leastsq_plane(static_cast<int>(rows.size()), rows.data(), origin, normal);
}

// Ten points of each non-null curve at parameters 0.0 .. 0.9.
std::vector<Pt> curve_samples(hm_list_p_t curves) {
    std::vector<Pt> pts;
    for (tag_t c : detail::list_items(curves)) {
        if (c == NULL_TAG) continue;
        for (int i = 0; i < kPlaneSamples; ++i) {
            Pt p{};
            if (HM_VD_CURVE_ask_point_on_curve(c, 0.1 * i, p.data()) == 0) pts.push_back(p);
        }
    }
    return pts;
}

// Ten points on every edge of every face, each also left in the part as a
// point object of the sample colour.
std::vector<Pt> edge_samples(const std::vector<tag_t>& faces) {
    std::vector<Pt> pts;
    for (tag_t face : faces) {
        detail::HostList edges;
        if (HM_MODL_ask_face_edges(face, edges.out()) != 0) continue;
        for (tag_t edge : edges.items()) {
            HM_EVAL_p_t evaluator = nullptr;
            if (HM_EVAL_initialize(edge, &evaluator) != 0) continue;
            double limits[2] = {0.0, 1.0};
            HM_EVAL_ask_limits(evaluator, limits);
            for (int i = 0; i < kPlaneSamples; ++i) {
                Pt p{};
                const double t = limits[0] + i * (limits[1] - limits[0]) * 0.1;
                if (HM_EVAL_evaluate(evaluator, 0, t, p.data(), nullptr) != 0) continue;
                pts.push_back(p);
                tag_t point = NULL_TAG;
                if (HM_CURVE_create_point(p.data(), &point) == 0) HM_OBJ_set_color(point, kSampleColour);
            }
            HM_EVAL_free(evaluator);
        }
    }
    return pts;
}

}  // namespace
}  // namespace carvell::vision

using namespace carvell::vision;
namespace detail = carvell::detail;

int HM_VD_ipv_ask_centroid_of_curve_chain(hm_list_p_t curves, double centroid[3]) {
    if (!curves || !centroid) return -1;
    std::vector<Pt> pts;
    ChainEnds ends;
    for (tag_t c : detail::list_items(curves)) {
        int n = 0;
        detail::HmBlock<double> flat;
        if (int r = HM_MODL_ask_curve_points(c, kCentroidChord, 0.0, kCentroidStep, &n, flat.out())) return r;
        for (int i = 0; i < n; ++i) {
            const Pt p{flat[3 * i], flat[3 * i + 1], flat[3 * i + 2]};
            if ((i == 0 || i == n - 1) && !ends.first_time(p)) continue;
            pts.push_back(p);
        }
    }
    if (pts.empty()) return -1;
    double normal[3];
    return fit(pts, centroid, normal);
}

int HM_VD_ipv_create_leastsq_plane(hm_list_p_t curves, tag_t* plane) {
    if (!plane) return -1;
    *plane = NULL_TAG;
    const std::vector<Pt> pts = curve_samples(curves);
    if (pts.empty()) return -1;
    double origin[3], normal[3];
    if (int r = fit(pts, origin, normal)) return r;
    return HM_MODL_create_plane(origin, normal, plane);
}

int HM_VD_ipv_create_plane_behind_curve_chain(hm_list_p_t curves, const double eye[3], double distance,
                                              tag_t* plane) {
    if (!plane) return -1;
    *plane = NULL_TAG;
    if (!detail::model_point(eye) || !detail::in_model_space({distance})) return -1;
    double origin[3], normal[3], m = 0.0;
    if (fit(curve_samples(curves), origin, normal) != 0) return -1;
    if (HM_VEC3_unitize(normal, 0.0001, &m, normal) != 0) return -1;
    const double to_eye[3] = {eye[0] - origin[0], eye[1] - origin[1], eye[2] - origin[2]};
    if (normal[0] * to_eye[0] + normal[1] * to_eye[1] + normal[2] * to_eye[2] <= 0.0)
        for (double& c : normal) c = -c;
    double behind[3];
    HM_VEC3_affine_comb(origin, -distance, normal, behind);
    return HM_MODL_create_plane(behind, normal, plane) == 0 ? 0 : -1;
}

int HM_VD_ipv_create_panel_plane(int mode, hm_list_p_t objects, const double eye[3], tag_t* plane) {
    if (!plane) return -1;
    *plane = NULL_TAG;
    if (!detail::model_point(eye)) return -1;
    const std::vector<tag_t> items = detail::list_items(objects);
    if (items.empty()) return -1;
    if (mode == 0) {
        int type = 0, subtype = 0;
        if (int r = HM_OBJ_ask_type_and_subtype(items[0], &type, &subtype)) return r;
        if (type == HM_plane_type) return HM_VD_copy_object(0, 1, &items[0], plane);
        double origin[3], normal[3];
        if (int r = HM_VD_ask_datum_plane_parms(items[0], origin, normal)) return r;
        return HM_MODL_create_plane(origin, normal, plane);
    }
    const std::vector<Pt> pts = edge_samples(items);
    double origin[3], normal[3];
    if (int r = fit(pts, origin, normal)) return r;
    double box[6] = {1e300, 1e300, 1e300, -1e300, -1e300, -1e300};
    for (tag_t face : items) {
        double b[6];
        if (int r = HM_MODL_ask_bounding_box(face, b)) return r;
        for (int k = 0; k < 3; ++k) {
            box[k] = std::min(box[k], b[k]);
            box[k + 3] = std::max(box[k + 3], b[k + 3]);
        }
    }
    // The box corner farthest from the eye; the plane moves back to it.
    double far[3] = {box[0], box[1], box[2]}, best = -1.0;
    for (int c = 0; c < 8; ++c) {
        const double corner[3] = {box[(c & 1) ? 3 : 0], box[(c & 2) ? 4 : 1], box[(c & 4) ? 5 : 2]};
        double d = 0.0;
        HM_VEC3_distance(corner, eye, &d);
        if (d > best + 1e-5) {
            best = d;
            detail::copy3(corner, far);
        }
    }
    double offset = 0.0;
    if (int r = HM_VEC3_distance_to_plane(far, origin, normal, 1e-10, &offset)) return r;
    if (std::fabs(offset) > 0.001) HM_VEC3_affine_comb(origin, offset, normal, origin);
    return HM_MODL_create_plane(origin, normal, plane);
}

int HM_VD_ipv_is_curve_on_face(tag_t curve, tag_t face, bool* on_face) {
    if (!on_face) return -1;
    *on_face = false;
    double tol = 0.0;
    HM_MODL_ask_distance_tolerance(&tol);
    for (int i = 0; i < kOnFaceSamples; ++i) {
        double p[3], d = 0.0, p1[3], p2[3];
        if (int r = HM_VD_CURVE_ask_point_on_curve(curve, 0.01 * i, p)) return r;
        if (int r = HM_MODL_ask_minimum_dist(0, face, 1, p, 0, nullptr, &d, p1, p2)) return r;
        if (d > tol) return 0;
    }
    *on_face = true;
    return 0;
}
