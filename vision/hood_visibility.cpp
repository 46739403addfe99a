// Hood visibility: for a fan of vertical planes through the eye, the point
// of the hood at which a sight line from the eye just grazes it, gathered
// into one polyline from the left across the front to the right.
#include "hm_vd_vision/hood.h"
#include "vision_hood.h"

#include "belmorra.h"
#include "elvosk.h"
#include "hm_vd.h"
#include "omvra.h"
#include "quillon.h"
#include "rostval.h"
#include "toolbox/detail/constants.h"
#include "toolbox/detail/finite.h"
#include "toolbox/detail/owners.h"

#include <cmath>
#include <cstring>

namespace carvell::vision {

namespace {

constexpr double kTiny = 1.0e-10;
constexpr double kQuarterTurnDeg = 90.0;
// The grazing search: the far plane's offset from the sight line, the
// distance it starts from and the iteration that ends it.
constexpr double kFarPlaneOffset = 1000.0;
constexpr double kStartDistance = 10000.0;
constexpr int kLastIteration = 100;

enum HoodStatus { kHoodOk = 0, kHoodNoPoint = 1, kHoodNoConvergence = 2, kHoodNoSection = 3 };

using Point = std::array<double, 3>;

double length(const double v[3]) { return std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]); }

// The curve point nearest to the plane: the first curve sets it, a later one
// replaces it only when strictly nearer.
bool nearest_to_plane(const std::vector<tag_t>& curves, tag_t plane, double point[3], double* distance) {
    bool any = false;
    for (tag_t curve : curves) {
        double d, on_plane[3], on_curve[3];
        if (HM_MODL_ask_minimum_dist(plane, curve, 0, nullptr, 0, nullptr, &d, on_plane, on_curve)) continue;
        if (!any || d < *distance) {
            *distance = d;
            std::memcpy(point, on_curve, sizeof on_curve);
            any = true;
        }
    }
    return any;
}

// The grazing points of one side of the sweep, in the order of the angles.
std::vector<Point> side_sweep(const hv_input_t& in, int side, double tolerance) {
    std::vector<Point> points;
    double eye_local[3];
    VD_map_point_abs2csys(in.eye_point, in.csys_origin, in.csys_matrix, eye_local);
    for (const auto& local_normal : hood_plane_normals(in.pitch_step, side)) {
        double normal[3];
        VD_map_vector_csys2abs(local_normal.data(), in.csys_matrix, normal);
        detail::Temporaries temporaries;
        tag_t plane = 0;
        if (HM_MODL_create_datum_plane(in.eye_point, normal, &plane)) continue;
        temporaries.add(plane);
        hm_list_p_t section = nullptr;
        HM_MODL_create_list(&section);
        for (int i = 0; i < in.face_count; ++i) {
            hm_list_p_t cut = nullptr;
            (void)HM_VD_ask_intersection_curves(in.faces[i], plane, tolerance, &cut);
            for (tag_t c : detail::list_items(cut)) HM_MODL_put_list_item(section, c);
            if (cut) HM_MODL_delete_list(&cut);
        }
        int count = 0;
        HM_MODL_ask_list_count(section, &count);
        double point[3];
        if (count > 0 && HM_VD_HV_TangentGeoFromEyePoint(in.eye_point, normal, side, section, point) == kHoodOk) {
            double local[3];
            VD_map_point_abs2csys(point, in.csys_origin, in.csys_matrix, local);
            if (local[0] <= eye_local[0] - kTiny) points.push_back({point[0], point[1], point[2]});
        }
        for (tag_t c : detail::list_items(section)) detail::delete_if_alive(c);
        HM_MODL_delete_list(&section);
    }
    return points;
}

// The one check of the caller's record: faces present and a count whose
// array can exist, the eye and the csys finite and inside the model space,
// and a step of at least HM_VD_HV_LEAST_PITCH_STEP degrees.
bool input_usable(const hv_input_t& in) {
    return in.face_count >= 1 && in.faces && detail::count_fits(in.face_count, sizeof(tag_t)) &&
           detail::model_point(in.eye_point) && detail::model_point(in.csys_origin) &&
           detail::in_model_space(in.csys_matrix, 9) && std::isfinite(in.pitch_step) &&
           in.pitch_step >= HM_VD_HV_LEAST_PITCH_STEP;
}

}  // namespace

std::vector<std::array<double, 3>> hood_plane_normals(double step, int side) {
    std::vector<std::array<double, 3>> normals;
    if (!(step > 0.0)) return normals;
    const double q = kQuarterTurnDeg / step;
    const bool divides = std::fabs(std::fmod(kQuarterTurnDeg, step)) <= kTiny;
    const int n = divides ? static_cast<int>(std::lround(q)) : static_cast<int>(std::ceil(q));
    const double start[3] = {0.0, side == 0 ? -1.0 : 1.0, 0.0};
    const double axis[3] = {0.0, 0.0, side == 0 ? 1.0 : -1.0};
    for (int i = 0; i <= n; ++i) {
        const double angle = i * step;
        std::array<double, 3> v;
        if (i == n && !divides && angle - kQuarterTurnDeg < step - kTiny) v = {-1.0, 0.0, 0.0};
        else HM_VD_vec3_rotate(start, axis, angle, v.data());
        normals.push_back(v);
    }
    return normals;
}

}  // namespace carvell::vision

int HM_VD_HV_GetVisiLimitPoints(const hv_input_t* input, int* count, double*** points) {
    using carvell::vision::Point;
    if (!input || !count || !points) return carvell::vision::kHoodNoPoint;
    if (!carvell::vision::input_usable(*input)) return carvell::vision::kHoodNoPoint;
    (void)mtStatusArea("Calculating Tangent Point of each pitch angle on Hood Face.");
    const double tolerance = TOLER_ask_distance_tol();
    const std::vector<Point> side1 = carvell::vision::side_sweep(*input, 1, tolerance);
    const std::vector<Point> side0 = carvell::vision::side_sweep(*input, 0, tolerance);
    // Side 1 from its outermost plane in, without its forward plane's point
    // (side 0 has that plane too), then side 0 outward.
    std::vector<Point> all;
    for (size_t k = side1.size(); k-- > 1;) all.push_back(side1[k]);
    all.insert(all.end(), side0.begin(), side0.end());
    if (all.empty()) return carvell::vision::kHoodNoPoint;
    double** out = static_cast<double**>(SM_alloc(all.size() * sizeof(double*)));
    for (size_t i = 0; i < all.size(); ++i) {
        out[i] = static_cast<double*>(SM_alloc(3 * sizeof(double)));
        std::memcpy(out[i], all[i].data(), 3 * sizeof(double));
    }
    *count = static_cast<int>(all.size());
    *points = out;
    return carvell::vision::kHoodOk;
}

int HM_VD_HV_TangentGeoFromEyePoint(const double eye[3], const double normal[3], int side, hm_list_p_t curves,
                                    double point[3]) {
    using namespace carvell::vision;
    if (!eye || !normal || !point || !carvell::detail::model_point(eye) || !carvell::detail::model_point(normal))
        return kHoodNoPoint;
    const std::vector<tag_t> items = carvell::detail::list_items(curves);
    if (items.empty()) return kHoodNoSection;
    double frame[9];
    if (MTX3_init_z(normal, frame)) return kHoodNoSection;
    // Box of the curves in the frame at the eye.
    double box[6] = {};
    for (size_t i = 0; i < items.size(); ++i) {
        double b[6];
        if (HM_VD_ask_bounding_box_local(items[i], eye, frame, b)) return kHoodNoSection;
        for (int k = 0; k < 3; ++k) {
            if (i == 0 || b[k] < box[k]) box[k] = b[k];
            if (i == 0 || b[k + 3] > box[k + 3]) box[k + 3] = b[k + 3];
        }
    }
    // Start at the corner on the side's edge of the view.
    const double z_axis[3] = {0.0, 0.0, 1.0};
    double u1[3], u2[3];
    const double l1 = length(box + 3), l2 = length(box);
    for (int k = 0; k < 3; ++k) {
        u1[k] = l1 > kTiny ? box[k + 3] / l1 : 0.0;
        u2[k] = l2 > kTiny ? box[k] / l2 : 0.0;
    }
    double alpha = 0.0;
    VEC3_angle_between(u1, u2, z_axis, &alpha);
    const bool min_corner = (alpha >= carvell::detail::kPi) == (side == 0);
    double s[3];
    std::memcpy(s, min_corner ? box : box + 3, sizeof s);
    carvell::detail::Temporaries planes;
    const double eye_local[3] = {0.0, 0.0, 0.0};
    const double axis[3] = {0.0, 0.0, side == 0 ? 1.0 : -1.0};
    double previous = kStartDistance;
    for (int iteration = 1;; ++iteration) {
        double turned[3];
        HM_VD_vec3_rotate_point(s, axis, eye_local, kQuarterTurnDeg, turned);
        double d[3] = {turned[0] - s[0], turned[1] - s[1], turned[2] - s[2]};
        const double dl = length(d);
        if (dl < kTiny) return kHoodNoConvergence;
        for (double& c : d) c /= dl;
        const double far_local[3] = {s[0] + kFarPlaneOffset * d[0], s[1] + kFarPlaneOffset * d[1],
                                     s[2] + kFarPlaneOffset * d[2]};
        double far_abs[3], d_abs[3];
        VD_map_point_csys2abs(far_local, eye, frame, far_abs);
        VD_map_vector_csys2abs(d, frame, d_abs);
        tag_t plane = 0;
        if (HM_MODL_create_datum_plane(far_abs, d_abs, &plane)) return kHoodNoConvergence;
        planes.add(plane);
        double next_abs[3], distance = 0.0;
        if (!nearest_to_plane(items, plane, next_abs, &distance)) return kHoodNoSection;
        double next[3];
        VD_map_point_abs2csys(next_abs, eye, frame, next);
        const bool converged = std::fabs(distance - kFarPlaneOffset) <= kTiny ||
                               std::fabs(distance - previous) < kTiny ||
                               std::hypot(next[0] - s[0], next[1] - s[1]) <= kTiny;
        if (iteration > kLastIteration) return kHoodNoConvergence;
        std::memcpy(s, next, sizeof s);
        previous = distance;
        if (converged) break;
    }
    double grazing[3];
    VD_map_point_csys2abs(s, eye, frame, grazing);
    if (!carvell::detail::model_point(grazing)) return kHoodNoConvergence;
    std::memcpy(point, grazing, sizeof grazing);
    return kHoodOk;
}
