// Exported geometry primitives of the H-point design tool: the plan-view
// turn, circle intersection, list and array conversion and the W adjustment
// of a section plane's base point.
#include "hpd.h"
#include "hpd_constants.h"
#include "hpd_vec2.h"
#include "omvra.h"
#include "quillon.h"
#include "toolbox/detail/finite.h"

#include <algorithm>
#include <cmath>

using namespace carvell::occupant;

using vec2::V;

void HPD_transform_point_to_pv(double* point, double* centre, double angle, double* out) {
    if (!point || !centre || !out) return;
    const double p[3] = {point[0], point[1], point[2]};
    V offset = V{p[0], p[1]} - V{centre[0], centre[1]};
    double d = vec2::length(offset);
    V dir;
    if (std::fabs(angle) <= 1e-10 || d <= 1e-10 ||
        !vec2::unit(vec2::turn(offset, angle * kRadiansPerDegreeAsUsed), 1e-4, &dir)) {
        out[0] = p[0], out[1] = p[1], out[2] = p[2];
        return;
    }
    out[0] = centre[0] + d * dir.l;
    out[1] = centre[1] + d * dir.h;
    out[2] = p[2];
}

int HM_VD_ask_circle_intersect_point(double* c1, double r1, double* c2, double r2, int* count,
                                     double points[2][2]) {
    if (!count) return -1;
    *count = 0;
    if (!c1 || !c2 || !points) return -1;
    const double touch = 1e-6;
    V a = vec2::of(c1), b = vec2::of(c2);
    if (!std::isfinite(a.l) || !std::isfinite(a.h) || !std::isfinite(b.l) || !std::isfinite(b.h) ||
        !std::isfinite(r1) || !std::isfinite(r2) || r1 < 0.0 || r2 < 0.0)
        return -1;
    double d = vec2::distance(a, b);
    V u;
    bool has_direction = vec2::unit(b - a, touch, &u);

    if (d > r1 + r2) return -1;                       // apart
    if (std::fabs(d - (r1 + r2)) < touch) {           // touching from outside
        if (!has_direction) return -1;
        vec2::put(a + r1 * u, points[0]);
        *count = 1;
        return 0;
    }
    double inner = std::fabs(r1 - r2);
    if (d < inner - touch) return -1;                 // one inside the other
    if (std::fabs(d - inner) < touch) {               // touching from inside
        if (r1 == r2 || !has_direction) return -1;
        vec2::put(r1 > r2 ? a + r1 * u : a - r1 * u, points[0]);
        *count = 1;
        return 0;
    }
    double c = (d * d + r1 * r1 - r2 * r2) / (2.0 * d * r1);
    // Radii and distances so large that the squares overflow give NaN here,
    // which the clamp lets through: no points then.
    if (!std::isfinite(c)) return -1;
    double alpha = std::acos(std::clamp(c, -1.0, 1.0));
    const V first = a + r1 * vec2::turn(u, alpha), second = a + r1 * vec2::turn(u, -alpha);
    if (!carvell::detail::all_finite({first.l, first.h, second.l, second.h})) return -1;
    vec2::put(first, points[0]);
    vec2::put(second, points[1]);
    *count = 2;
    return 0;
}

void change_list_to_array(hm_list_s* list, int* count, tag_t** array) {
    if (array) *array = nullptr;
    if (!count) return;
    *count = 0;
    int n = 0;
    if (HM_MODL_ask_list_count(list, &n) != 0 || n < 1) return;
    *count = n;
    if (!array) return;
    tag_t* items = static_cast<tag_t*>(SM_alloc(sizeof(tag_t) * static_cast<size_t>(n)));
    if (!items) {
        *count = 0;
        return;
    }
    for (int i = 0; i < n; ++i) {
        if (HM_MODL_ask_list_item(list, i, &items[i]) != 0) items[i] = NULL_TAG;
    }
    *array = items;
}

void change_array_to_list(int count, tag_t* array, hm_list_s** list) {
    if (!list) return;
    *list = nullptr;
    if (HM_MODL_create_list(list) != 0) return;
    for (int i = 0; array && i < count; ++i) HM_MODL_put_list_item(*list, array[i]);
}

int HM_VD_HPD_adjust_plane_base_pt(int count, tag_t* objects, double* base, bool use_boxes, double* out) {
    if (!base || !out) return -1;
    const double b[3] = {base[0], base[1], base[2]};
    out[0] = b[0], out[1] = b[1], out[2] = b[2];
    if (count < 1 || !objects) return 0;

    if (use_boxes) {
        // The range starts from the first box that was found: an object
        // without a box must not pull W towards 0.
        bool found = false;
        double wmin = 0.0, wmax = 0.0;
        for (int i = 0; i < count; ++i) {
            double box[6];
            if (HM_MODL_ask_bounding_box(objects[i], box) != 0) continue;
            if (!found) {
                wmin = box[1], wmax = box[4], found = true;
            } else {
                wmin = std::min(wmin, box[1]);
                wmax = std::max(wmax, box[4]);
            }
        }
        if (found) out[1] = (wmin + wmax) / 2.0;
        return 0;
    }

    double wmin = 0.0, wmax = 0.0;
    for (int i = 0; i < count; ++i) {
        double distance = 0.0, near[3], other[3];
        if (HM_MODL_ask_minimum_dist(objects[i], NULL_TAG, 0, nullptr, 1, b, &distance, near, other) != 0)
            return i == 0 ? 10 : 20;
        if (i == 0) {
            wmin = wmax = near[1];
        } else {
            wmin = std::min(wmin, near[1]);
            wmax = std::max(wmax, near[1]);
        }
    }
    if (b[1] < wmin || b[1] > wmax) out[1] = (wmin + wmax) / 2.0;
    return 0;
}
