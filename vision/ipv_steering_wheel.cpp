// Instrument-panel visibility: see-through solids and their measures. The
// grouping of see-through solids into touching groups, the centre of mass
// and the representative plane of solids, the facet centroids of a facetted
// model, the crossing points of two objects, the curves along the edges of
// bodies, and the small list and distance queries the steering-wheel steps share.
#include "hm_vd_vision.h"
#include "vision_ipv.h"

#include "hm_vd.h"
#include "hm_vd_curve.h"
#include "toolbox/detail/owners.h"
#include "toolbox/detail/vec3.h"

#include "ambrith.h"
#include "morvish.h"
#include "omvra.h"
#include "quillon.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>
#include <vector>

namespace carvell::vision {
namespace {

// Start value of the shortest facet edge and of the nearest distances: larger
// than any length of a vehicle model.
constexpr double kFarLength = 10000.0;
// Density and accuracy of the centre-of-mass measure (the density only
// scales the mass, not the centre).
constexpr double kUnitDensity = 1.0;
constexpr double kMassAccuracy = 0.99;
// Analysis types of the host's mass properties: solids by volume, sheets by area.
constexpr int kMassOfSolids = 1;
constexpr int kMassOfSheets = 2;
// Centimetres per millimetre, the measure's length unit in a metric part.
constexpr double kMillimetresPerCentimetre = 10.0;

using Pt = std::array<double, 3>;

// Hands a row of points out as a point array; -1 when memory runs out.
int hand_out_points(const std::vector<Pt>& pts, int* count, double*** out) {
    *count = 0;
    *out = nullptr;
    if (pts.empty()) return 0;
    const int n = static_cast<int>(pts.size());
    if (HM_VD_ipv_alloc_points(n, out) != 0) return -1;
    for (int i = 0; i < n; ++i) detail::copy3(pts[i].data(), (*out)[i]);
    *count = n;
    return 0;
}

// Group number of each solid: a solid joins the groups of all earlier
// solids it touches, and groups it touches together become one. Numbers
// follow the first solid of each group in list order.
std::vector<int> touching_groups(const std::vector<tag_t>& solids) {
    const size_t n = solids.size();
    std::vector<size_t> root(n);
    std::iota(root.begin(), root.end(), size_t{0});
    auto find = [&](size_t i) {
        while (root[i] != i) i = root[i] = root[root[i]];
        return i;
    };
    for (size_t i = 1; i < n; ++i) {
        for (size_t j = 0; j < i; ++j) {
            int result = HM_INTERFERENCE_YES;
            tag_t tool = solids[i];
            // A failed check counts as touching.
            if (HM_MODL_check_interference(solids[j], 1, &tool, &result) != 0) result = HM_INTERFERENCE_YES;
            if (result == HM_INTERFERENCE_NO) continue;
            const size_t a = find(i), b = find(j);
            if (a != b) root[std::max(a, b)] = std::min(a, b);
        }
    }
    std::vector<int> group(n, -1), number_of_root(n, -1);
    int next = 0;
    for (size_t i = 0; i < n; ++i) {
        const size_t r = find(i);
        if (number_of_root[r] < 0) number_of_root[r] = next++;
        group[i] = number_of_root[r];
    }
    return group;
}

// True when every object is a body of one kernel type (answered in *kind).
bool bodies_of_one_kind(const std::vector<tag_t>& objects, int* kind) {
    *kind = 0;
    for (size_t i = 0; i < objects.size(); ++i) {
        int type = 0, subtype = 0, k = 0;
        if (HM_OBJ_ask_type_and_subtype(objects[i], &type, &subtype) != 0) return false;
        if (type != HM_solid_type || subtype != HM_solid_body_subtype) return false;
        if (GQ_BODY_ask_type(objects[i], &k) != 0) return false;
        if (i == 0) *kind = k;
        if (k != *kind) return false;
    }
    return !objects.empty();
}

}  // namespace

// ---- small list and distance queries ----

int ipv_remove_from_list(hm_list_p_t* list, tag_t object) {
    if (!list || !*list) return -1;
    const std::vector<tag_t> items = detail::list_items(*list);
    detail::HostList rebuilt;
    if (int r = HM_MODL_create_list(rebuilt.out())) return r;
    for (tag_t t : items)
        if (t != object) HM_MODL_put_list_item(rebuilt.get(), t);
    HM_MODL_delete_list(list);
    *list = rebuilt.release();
    return 0;
}

bool ipv_list_contains(hm_list_p_t list, tag_t object) {
    const std::vector<tag_t> items = detail::list_items(list);
    return std::find(items.begin(), items.end(), object) != items.end();
}

bool ipv_point_near_object(const double point[3], tag_t object, double tolerance) {
    double d = 0.0, p1[3], p2[3];
    if (HM_MODL_ask_minimum_dist(NULL_TAG, object, 1, point, 0, nullptr, &d, p1, p2) != 0) return false;
    return d < tolerance;
}

int ipv_nearest_distance_of_list(hm_list_p_t list, tag_t object, double* distance, double point1[3],
                                 double point2[3]) {
    const std::vector<tag_t> items = detail::list_items(list);
    if (items.empty() || !distance) return -1;
    *distance = kFarLength;
    for (tag_t t : items) {
        double d = 0.0, p1[3], p2[3];
        if (int r = HM_MODL_ask_minimum_dist(t, object, 0, nullptr, 0, nullptr, &d, p1, p2)) return r;
        if (d < *distance) {
            *distance = d;
            if (point1) detail::copy3(p1, point1);
            if (point2) detail::copy3(p2, point2);
        }
    }
    return 0;
}

}  // namespace carvell::vision

using namespace carvell;
using namespace carvell::vision;

int HM_VD_ipv_cagetory_ss_solids(hm_list_p_t solids, int* group_count, hm_list_p_t** groups) {
    if (!group_count || !groups) return -1;
    *group_count = 0;
    *groups = nullptr;
    const std::vector<tag_t> items = detail::list_items(solids);
    if (items.empty()) return 0;
    const std::vector<int> group = touching_groups(items);
    const int count = *std::max_element(group.begin(), group.end()) + 1;
    auto* lists = static_cast<hm_list_p_t*>(SM_alloc(count * sizeof(hm_list_p_t)));
    if (!lists) return -1;
    for (int g = 0; g < count; ++g) {
        lists[g] = nullptr;
        HM_MODL_create_list(&lists[g]);
    }
    for (size_t i = 0; i < items.size(); ++i) HM_MODL_put_list_item(lists[group[i]], items[i]);
    *group_count = count;
    *groups = lists;
    return 0;
}

int HM_VD_ipv_ask_body_centroid(hm_list_p_t solids, double centroid[3]) {
    if (!centroid) return -1;
    const std::vector<tag_t> items = detail::list_items(solids);
    int kind = 0;
    if (!bodies_of_one_kind(items, &kind) || HM_ASSEM_ask_work_part() == NULL_TAG) return -1;
    // Solids are measured by their volume; the centre comes in the part's own
    // length unit (centimetres scaled back to millimetres in a metric part).
    const int type = kind == GQ_BODY_type_solid ? kMassOfSolids : kMassOfSheets;
    const bool inches = PART_ask_units(CONTEXT_ask_work_part()) == 1;
    const int units = inches ? HM_MASS_UNITS_INCH : HM_MASS_UNITS_CM;
    const double accuracy[11] = {kMassAccuracy, kMassAccuracy, kMassAccuracy, kMassAccuracy, kMassAccuracy,
                                 kMassAccuracy, kMassAccuracy, kMassAccuracy, kMassAccuracy, kMassAccuracy,
                                 kMassAccuracy};
    double props[47] = {}, stats[13] = {};
    if (int r = HM_MODL_ask_mass_props_3d(static_cast<int>(items.size()), items.data(), type, units, kUnitDensity, 1,
                                          accuracy, props, stats)) {
        HM_print_syslog(HM_get_fail_message(r), true);
        return r;
    }
    const double scale = inches ? 1.0 : kMillimetresPerCentimetre;
    for (int k = 0; k < 3; ++k) centroid[k] = props[3 + k] * scale;
    return 0;
}

int HM_VD_ipv_ask_facet_model_points(tag_t model, int* count, double*** points, double* longest,
                                     double* shortest) {
    if (!count || !points || !longest || !shortest) return -1;
    *count = 0;
    *points = nullptr;
    *longest = 0.0;
    *shortest = kFarLength;
    std::vector<Pt> centres;
    int facet = -1;
    for (;;) {
        if (int r = HM_FACET_cycle_facets(model, &facet)) return r;
        if (facet == -1) break;
        int n = 0;
        double v[3][3];
        if (int r = HM_FACET_ask_vertices_of_facet(model, facet, &n, v)) return r;
        if (n < 1) continue;
        Pt c{0.0, 0.0, 0.0};
        for (int i = 0; i < n; ++i) {
            for (int k = 0; k < 3; ++k) c[k] += v[i][k] / n;
            const double edge = detail::distance3(v[i], v[(i + 1) % n]);
            *longest = std::max(*longest, edge);
            *shortest = std::min(*shortest, edge);
        }
        centres.push_back(c);
    }
    return hand_out_points(centres, count, points);
}

int HM_VD_ipv_ask_body_represent_plane(bool towards_point, const double point[3], hm_list_p_t solids,
                                       tag_t* plane) {
    if (!plane) return -1;
    *plane = NULL_TAG;
    if (towards_point && !point) return -1;
    std::vector<Pt> all;
    for (tag_t solid : detail::list_items(solids)) {
        HM_FACET_parameters_t parameters;
        HM_FACET_ask_default_parameters(&parameters);
        tag_t model = NULL_TAG;
        if (int r = HM_FACET_facet_solid(solid, &parameters, &model)) return r;
        int n = 0;
        double** pts = nullptr;
        double longest = 0.0, shortest = 0.0;
        const int r = HM_VD_ipv_ask_facet_model_points(model, &n, &pts, &longest, &shortest);
        for (int i = 0; i < n; ++i) all.push_back({pts[i][0], pts[i][1], pts[i][2]});
        HM_VD_ipv_free_points(n, &pts);
        HM_OBJ_delete_object(model);
        if (r != 0) return r;
    }
    if (all.size() <= 2) return 0;
    std::vector<const double*> rows;
    for (const Pt& p : all) rows.push_back(p.data());
    double origin[3], normal[3];
    if (HM_VD_ask_leastsq_plane(static_cast<int>(rows.size()), rows.data(), origin, normal) != 0) return -1;
    if (towards_point)
        for (int k = 0; k < 3; ++k) normal[k] = point[k] - origin[k];
    return HM_MODL_create_plane(origin, normal, plane);
}

int HM_VD_ipv_ask_all_intersect_points(tag_t object1, tag_t object2, double tolerance, int* count,
                                       double*** points) {
    if (!count || !points) return -1;
    *count = 0;
    *points = nullptr;
    if (object1 == NULL_TAG || object2 == NULL_TAG) return -1;
    int n = 0;
    HM_MODL_intersection_t** entries = nullptr;
    if (int r = HM_MODL_intersect_objects(object1, object2, tolerance, &n, &entries)) return r;
    std::vector<Pt> pts;
    for (int i = 0; i < n; ++i)
        if (entries[i]->kind == 0) pts.push_back({entries[i]->point[0], entries[i]->point[1], entries[i]->point[2]});
    // Curves the host made where the objects overlap are no crossing points.
    detail::discard_intersection_entries(n, entries);
    return hand_out_points(pts, count, points);
}

int HM_VD_ipv_ask_edge_curves_of_bodies(hm_list_p_t bodies, hm_list_p_t* curves) {
    if (!curves) return -1;
    *curves = nullptr;
    detail::Temporaries made;
    detail::HostList out;
    if (int r = HM_MODL_create_list(out.out())) return r;
    for (tag_t body : detail::list_items(bodies)) {
        detail::HostList edges;
        if (int r = HM_MODL_ask_body_edges(body, edges.out())) return r;
        for (tag_t edge : edges.items()) {
            tag_t curve = NULL_TAG;
            if (int r = VD_create_curve_from_edge(edge, &curve)) return r;
            HM_MODL_put_list_item(out.get(), made.add(curve));
        }
    }
    const std::vector<tag_t> kept = made.objects();
    for (tag_t c : kept) made.release(c);
    *curves = out.release();
    return 0;
}
