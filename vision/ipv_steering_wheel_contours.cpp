// Instrument-panel visibility: silhouette contours of solids. The solids'
// silhouettes seen from the view point, found on their facets, and their
// edges make a cloud of points, carried along the sight lines onto a plane;
// the walk round the cloud's outer or inner boundary becomes the contour
// curves. Also the see-through contour built from them.
#include "hm_vd_vision.h"
#include "ipv_layer.h"
#include "vision_ipv.h"

#include "hm_vd.h"
#include "hm_vd_curve.h"
#include "toolbox/detail/finite.h"
#include "toolbox/detail/owners.h"
#include "toolbox/detail/vec3.h"

#include "morvish.h"
#include "omvra.h"
#include "quillon.h"
#include "rostval.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace carvell::vision {
namespace {

using Pt = std::array<double, 3>;

// Facetting of the silhouette: chord tolerance (part units) and angle
// tolerance (radians), both 0.1.
constexpr double kSilhouetteChord = 0.1;
constexpr double kSilhouetteAngle = 0.1;
// Factors of the profile search values: the least step and the margin on
// the reach.
constexpr double kLeastStepFactor = 0.2;
constexpr double kReachMargin = 1.01;
// Largest turn (radians) of the early closing of the profile walk.
constexpr double kClosingTurn = 2.0;
// Shortest distance from the view point, as a part of the facet-size scale,
// of a point whose magnification counts.
constexpr double kNearViewFactor = 0.99;
// Points of one run of a long contour; runs overlap by one point.
constexpr int kRunPoints = 100;
// The parameters of the see-through contour: facet size 3, edge-on limit
// 0.2 (the silhouette is found where the surface turns away, without it),
// search scale 3.
constexpr double kSeeThroughParameters[3] = {3.0, 0.2, 3.0};

// The facet size, the spacing of the silhouette points, is at least this
// fraction of a solid's largest box extent: finer spacing adds nothing a
// contour shows.
constexpr double kMostFacetsAlong = 500.0;

// True when the facet size is finite and no finer than the solids allow.
bool facet_size_usable(const std::vector<tag_t>& solids, double size) {
    if (!detail::in_model_space({size})) return false;
    for (tag_t solid : solids) {
        double box[6];
        if (HM_MODL_ask_bounding_box(solid, box) != 0) continue;
        for (int k = 0; k < 3; ++k)
            if (size * kMostFacetsAlong < box[k + 3] - box[k]) return false;
    }
    return true;
}

// The silhouette cloud on the plane and the largest magnification of a
// point carried from its place to the plane along its sight line.
struct Cloud {
    std::vector<Pt> points;
    double magnification = 0.0;
};

// Carries the point along the line from the view point onto the plane.
void add_projected(const double view[3], const double point[3], const double origin[3], const double normal[3],
                   double near_limit, Cloud& cloud) {
    const double dir[3] = {point[0] - view[0], point[1] - view[1], point[2] - view[2]};
    Pt on{};
    if (ipv_layer_line_plane_point(view, dir, origin, normal, on.data()) != 0) return;
    cloud.points.push_back(on);
    const double d = detail::distance3(view, point);
    if (d >= near_limit) cloud.magnification = std::max(cloud.magnification, detail::distance3(view, on.data()) / d);
}

// The zero of f along the edge from a to b, where f (fa at a, fb at b)
// changes sign: fa and fb differ, so the division is safe.
Pt edge_zero(const double a[3], double fa, const double b[3], double fb) {
    const double t = fa / (fa - fb);
    return {a[0] + t * (b[0] - a[0]), a[1] + t * (b[1] - a[1]), a[2] + t * (b[2] - a[2])};
}

// Points of the solid's silhouette seen from the view point, found on its
// chord-bounded facets: where n . (v - view), taken at the corners with the
// surface normals there, changes sign along a facet edge, its zero is
// interpolated on the edge. A facet so crossed holds a piece of the
// silhouette between two such zeros; its points lie at most half the
// facet size p[0] apart, so that neighbours on the plane stay well within the
// walk's reach. Sharp edges, where the sign changes between faces, come
// from the edge curves.
int silhouette_points(tag_t solid, const double view[3], const double p[3], std::vector<Pt>& out) {
    HM_FACET_parameters_t parameters;
    HM_FACET_ask_default_parameters(&parameters);
    parameters.chord_tolerance = kSilhouetteChord * pxsfac[0];   // part units to kernel metres
    parameters.angle_tolerance = kSilhouetteAngle;
    parameters.max_facet_size = 0.0;
    tag_t model = NULL_TAG;
    if (int r = HM_FACET_facet_solid(solid, &parameters, &model)) return r;
    const double spacing = 0.5 * p[0];
    int facet = -1;
    int result = 0;
    for (;;) {
        if ((result = HM_FACET_cycle_facets(model, &facet)) != 0 || facet == -1) break;
        int n = 0, m = 0;
        double v[3][3], nv[3][3];
        if ((result = HM_FACET_ask_vertices_of_facet(model, facet, &n, v)) != 0) break;
        if ((result = HM_FACET_ask_normals_of_facet(model, facet, &m, nv)) != 0) break;
        if (n != 3 || m != 3) continue;
        double f[3];
        for (int k = 0; k < 3; ++k)
            f[k] = (v[k][0] - view[0]) * nv[k][0] + (v[k][1] - view[1]) * nv[k][1] + (v[k][2] - view[2]) * nv[k][2];
        Pt ends[2];
        int crossings = 0;
        for (int k = 0; k < 3 && crossings < 2; ++k) {
            const int j = (k + 1) % 3;
            if ((f[k] > 0.0) != (f[j] > 0.0)) ends[crossings++] = edge_zero(v[k], f[k], v[j], f[j]);
        }
        if (crossings < 2) continue;
        const double length = detail::distance3(ends[0].data(), ends[1].data());
        const int pieces = std::max(1, static_cast<int>(std::ceil(length / spacing)));
        for (int i = 0; i <= pieces; ++i) {
            const double t = static_cast<double>(i) / pieces;
            out.push_back({ends[0][0] + t * (ends[1][0] - ends[0][0]), ends[0][1] + t * (ends[1][1] - ends[0][1]),
                           ends[0][2] + t * (ends[1][2] - ends[0][2])});
        }
    }
    HM_OBJ_delete_object(model);
    return result;
}

// The silhouette cloud of the solids on the plane (silhouette points of the
// facets and chord points of every edge).
int silhouette_cloud(const std::vector<tag_t>& solids, hm_list_p_t solid_list, const double view[3],
                     const double p[3], const double origin[3], const double normal[3], Cloud& cloud) {
    double tolerance = 0.0;
    HM_MODL_ask_distance_tolerance(&tolerance);
    const double near_limit = std::max(kNearViewFactor * p[2], tolerance);
    for (tag_t solid : solids) {
        std::vector<Pt> points;
        if (int r = silhouette_points(solid, view, p, points)) return r;
        for (const Pt& c : points) add_projected(view, c.data(), origin, normal, near_limit, cloud);
    }
    hm_list_p_t edges = nullptr;
    if (int r = HM_VD_ipv_ask_edge_curves_of_bodies(solid_list, &edges)) return r;
    detail::HostList edge_list(edges);
    detail::Temporaries edge_curves;
    for (tag_t curve : edge_list.items()) {
        edge_curves.add(curve);
        int n = 0;
        double** pts = nullptr;
        if (ipv_ask_chord_points(curve, &n, &pts) != 0) continue;
        for (int i = 0; i < n; ++i) add_projected(view, pts[i], origin, normal, near_limit, cloud);
        HM_VD_ipv_free_points(n, &pts);
    }
    return 0;
}

// Degree-1 splines through the profile: one periodic spline below 100
// points, else open runs of 100 points, each starting at the previous run's
// last point, the last run closing on the first point.
int profile_curves(int count, double** points, hm_list_p_t* out) {
    // The walk ends on its start point again; the ring holds it once.
    int m = count;
    if (m > 1 && detail::distance3(points[0], points[m - 1]) < 1e-10) --m;
    if (m <= 2) return 0;
    detail::Temporaries made;
    detail::HostList list;
    if (int r = HM_MODL_create_list(list.out())) return r;
    if (m < kRunPoints) {
        tag_t spline = NULL_TAG;
        if (int r = ipv_layer_spline(m, points, 1, 1, &spline)) return r;
        HM_MODL_put_list_item(list.get(), made.add(spline));
    } else {
        for (int s = 0; s < m - 1; s += kRunPoints - 1) {
            const int end = std::min(s + kRunPoints - 1, m - 1);
            std::vector<double*> run(points + s, points + end + 1);
            if (end == m - 1) run.push_back(points[0]);
            tag_t spline = NULL_TAG;
            if (int r = ipv_layer_spline(static_cast<int>(run.size()), run.data(), 0, 1, &spline)) return r;
            HM_MODL_put_list_item(list.get(), made.add(spline));
        }
    }
    const std::vector<tag_t> kept = made.objects();
    for (tag_t c : kept) made.release(c);
    *out = list.release();
    return 0;
}

// One profile walk (mode 0 outer, 1 inner) round the cloud into contour curves.
int walk_contour(Cloud& cloud, const double origin[3], const double normal[3], const double search[3], int mode,
                 hm_list_p_t* contour) {
    std::vector<double*> rows;
    for (Pt& p : cloud.points) rows.push_back(p.data());
    int count = 0;
    int* indices = nullptr;
    double** profile = nullptr;
    int r = HM_VD_ipv_ask_profile_points(static_cast<int>(rows.size()), rows.data(), origin, normal, search, mode,
                                         &count, &indices, &profile);
    if (r == 0 && count > 2) r = profile_curves(count, profile, contour);
    SM_free(indices);
    HM_VD_ipv_free_points(count, &profile);
    return r;
}

}  // namespace
}  // namespace carvell::vision

using namespace carvell;
using namespace carvell::vision;

int HM_VD_ipv_create_contour(hm_list_p_t solids, const double view_point[3], const double parameters[3], int mode,
                             tag_t plane, hm_list_p_t* outer_contour, hm_list_p_t* inner_contour) {
    if (outer_contour) *outer_contour = nullptr;
    if (inner_contour) *inner_contour = nullptr;
    if (!outer_contour || !inner_contour || !view_point || !parameters || mode < 0 || mode > 2) return -1;
    if (!(parameters[0] > 0.0) || !(parameters[2] > 0.0)) return -1;
    if (!detail::model_point(view_point) || !detail::in_model_space(parameters, 3)) return -1;
    const std::vector<tag_t> items = detail::list_items(solids);
    if (items.empty() || !facet_size_usable(items, parameters[0])) return -1;
    double origin[3], normal[3];
    if (int r = HM_MODL_ask_plane(plane, origin, normal)) return r;
    Cloud cloud;
    if (int r = silhouette_cloud(items, solids, view_point, parameters, origin, normal, cloud)) return r;
    const double to_view[3] = {view_point[0] - origin[0], view_point[1] - origin[1], view_point[2] - origin[2]};
    double theta = 0.0, larger = 0.0;
    if (int r = HM_MODL_ask_vector_angle(to_view, normal, &theta, &larger)) return r;
    const double c = std::fabs(std::cos(theta));
    // A view point in the plane sees every point on one line: no contour.
    if (std::fabs(c) < 1e-9 || cloud.points.empty()) return -1;
    const double search[3] = {kLeastStepFactor * parameters[2],
                              (1.0 / c) * parameters[2] * cloud.magnification * kReachMargin, kClosingTurn};
    int result = 0;
    if (mode == 0 || mode == 2) result = walk_contour(cloud, origin, normal, search, 0, outer_contour);
    if (mode == 1 || mode == 2) {
        const int r = walk_contour(cloud, origin, normal, search, 1, inner_contour);
        if (result == 0) result = r;
    }
    return result;
}

int HM_VD_ipv_extract_ss_curve(const double view_point[3], hm_list_p_t solids, double centroid[3], tag_t* plane,
                               hm_list_p_t* contour) {
    if (plane) *plane = NULL_TAG;
    if (contour) *contour = nullptr;
    if (!detail::model_point(view_point) || !centroid || !plane || !contour) return -1;
    if (int r = HM_VD_ipv_ask_body_centroid(solids, centroid)) return r;
    if (int r = HM_VD_ipv_ask_body_represent_plane(true, view_point, solids, plane)) return r;
    hm_list_p_t inner = nullptr;
    return HM_VD_ipv_create_contour(solids, view_point, kSeeThroughParameters, 0, *plane, contour, &inner);
}
