// Reflection and refraction data: the picked surface objects grouped into
// faces that join smoothly, and each source object's error number from the
// points at which its light paths were found.
#include "hm_vd_vision.h"
#include "vision_rd.h"

#include "hm_vd.h"
#include "hm_vd_curve.h"
#include "toolbox/detail/finite.h"
#include "toolbox/detail/object_kinds.h"
#include "toolbox/detail/owners.h"

#include "elvosk.h"
#include "morvish.h"
#include "omvra.h"
#include "quillon.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace carvell::vision {
namespace {

constexpr double kTouching = 1e-6;
constexpr double kParameterGap = 0.0001;

double continuity_tolerance() {
    int units = 1;
    const tag_t part = HM_ASSEM_ask_work_part();
    if (part != NULL_TAG) HM_PART_ask_units(part, &units);
    return units == 1 ? 0.1 : 0.004;
}

bool near(const double* a, const double* b, double tol) {
    return std::hypot(std::hypot(a[0] - b[0], a[1] - b[1]), a[2] - b[2]) <= tol;
}

struct EdgeData {
    double v1[3], v2[3], mid[3];
    bool ok;
};

EdgeData edge_data(tag_t edge) {
    EdgeData d{};
    int n = 0;
    d.ok = HM_MODL_ask_edge_verts(edge, d.v1, d.v2, &n) == 0 && HM_VD_CURVE_ask_point_on_curve(edge, 0.5, d.mid) == 0;
    return d;
}

bool normal_at(tag_t face, const double point[3], double normal[3]) {
    double uv[2], foot[3], p[3], u1[3], v1[3], u2[3], v2[3], radii[2];
    return HM_MODL_ask_face_parm(face, point, uv, foot) == 0 &&
           HM_MODL_ask_face_props(face, uv, p, u1, v1, u2, v2, normal, radii) == 0;
}

// Whether the faces share an edge along which their normals agree.
bool rd_faces_are_continuous(tag_t a, tag_t b, double tol) {
    detail::HostList ea, eb;
    if (HM_MODL_ask_face_edges(a, ea.out()) != 0 || HM_MODL_ask_face_edges(b, eb.out()) != 0) return false;
    double distance_tol = 0.0;
    HM_MODL_ask_distance_tolerance(&distance_tol);
    for (tag_t e : ea.items()) {
        const EdgeData de = edge_data(e);
        if (!de.ok) continue;
        for (tag_t f : eb.items()) {
            const EdgeData df = edge_data(f);
            if (!df.ok || !near(de.mid, df.mid, tol)) continue;
            const bool same = (near(de.v1, df.v1, tol) && near(de.v2, df.v2, tol)) ||
                              (near(de.v1, df.v2, tol) && near(de.v2, df.v1, tol));
            if (!same) continue;
            double na[3], nb[3];
            if (!normal_at(a, de.mid, na) || !normal_at(b, df.mid, nb)) continue;
            int parallel = 0;
            HM_VEC3_is_parallel(na, nb, distance_tol, &parallel);
            if (parallel == 1) return true;
        }
    }
    return false;
}

bool rd_list_contains(tag_t tag, const std::vector<tag_t>& list) {
    return std::find(list.begin(), list.end(), tag) != list.end();
}

// The tag's position in the list; the last position when it is absent.
int rd_list_index(tag_t tag, const std::vector<tag_t>& list) {
    const auto at = std::find(list.begin(), list.end(), tag);
    return static_cast<int>(at != list.end() ? at - list.begin() : static_cast<long>(list.size()) - 1);
}

// The error number of a curve from the points that lie on it.
int curve_error(tag_t curve, int n_points, double** points) {
    double tol = 0.0;
    HM_MODL_ask_distance_tolerance(&tol);
    std::vector<double> kept;
    for (int i = 0; i < n_points; ++i) {
        if (!points || !points[i]) continue;
        double t = 0.0, foot[3];
        if (HM_MODL_ask_curve_parm(curve, points[i], &t, foot) != 0) continue;
        int equal = 0;
        HM_VEC3_is_equal(foot, points[i], tol, &equal);
        if (equal != 1 || t < 0.0 || t > 1.0) continue;
        if (std::any_of(kept.begin(), kept.end(), [&](double k) { return std::fabs(k - t) <= kParameterGap; }))
            continue;
        kept.push_back(t);
    }
    if (kept.empty()) return 2;
    rd_sort_reals(static_cast<int>(kept.size()), kept.data());
    double s = 0.0;
    for (size_t i = 1; i < kept.size(); ++i) s = std::max(s, kept[i] - kept[i - 1]);
    const double e = s + kParameterGap;
    return (e <= kept.front() || e <= 1.0 - kept.back()) ? 1 : 0;
}

bool touches_a_surface(tag_t curve, int n_surfaces, const tag_t* surfaces) {
    for (int i = 0; i < n_surfaces; ++i) {
        int type = 0, subtype = 0;
        if (HM_OBJ_ask_type_and_subtype(surfaces[i], &type, &subtype) != 0 || type == HM_feature_type) continue;
        double d = 0.0, p1[3], p2[3];
        if (HM_MODL_ask_minimum_dist(surfaces[i], curve, 0, nullptr, 0, nullptr, &d, p1, p2) == 0 && d <= kTouching)
            return true;
    }
    return false;
}

}  // namespace
}  // namespace carvell::vision

using namespace carvell::vision;
namespace detail = carvell::detail;

void HM_VD_RD_judge_face_continuity(int n_objects, const tag_t* objects, int* group_count, int** group_sizes,
                                    tag_t*** groups) {
    if (!group_count || !group_sizes || !groups) return;
    *group_count = 0;
    *group_sizes = nullptr;
    *groups = nullptr;
    if (n_objects < 1 || !objects || !detail::count_fits(n_objects, sizeof(tag_t))) return;
    mtStatusArea("judging face continuity");
    HM_DISP_set_display(0);
    if (MACH__checking_level >= 1) HM_DISP_set_display(1);
    const double tol = continuity_tolerance();
    std::vector<tag_t> list;
    size_t handed = 0;
    std::vector<std::vector<tag_t>> found;
    for (int i = 0; i < n_objects; ++i) {
        const tag_t object = objects[i];
        if (rd_list_contains(object, list)) continue;
        list.push_back(object);
        int type = 0, subtype = 0;
        HM_OBJ_ask_type_and_subtype(object, &type, &subtype);
        const bool plane = type == HM_plane_type || type == HM_datum_type;
        const bool face = type == HM_solid_type && subtype == HM_solid_face_subtype;
        if (!plane && !face) {
            handed = list.size();
            continue;
        }
        if (face) {
            // Breadth first over the faces that join smoothly.
            tag_t c = object;
            while (true) {
                for (int j = 0; j < n_objects; ++j) {
                    const tag_t other = objects[j];
                    if (rd_list_contains(other, list)) continue;
                    int t = 0, st = 0;
                    HM_OBJ_ask_type_and_subtype(other, &t, &st);
                    if (t != HM_solid_type || st != HM_solid_face_subtype) continue;
                    if (rd_faces_are_continuous(c, other, tol)) list.push_back(other);
                }
                // The next face of the region in list order, until c is the last.
                const size_t at = static_cast<size_t>(rd_list_index(c, list));
                if (at + 1 >= list.size()) break;
                c = list[at + 1];
            }
        }
        found.emplace_back(list.begin() + static_cast<long>(handed), list.end());
        handed = list.size();
    }
    const size_t n = found.size();
    *group_count = static_cast<int>(n);
    *group_sizes = static_cast<int*>(SM_calloc(n > 0 ? n : 1, sizeof(int)));
    *groups = static_cast<tag_t**>(SM_calloc(n > 0 ? n : 1, sizeof(tag_t*)));
    for (size_t g = 0; g < n; ++g) {
        (*group_sizes)[g] = static_cast<int>(found[g].size());
        (*groups)[g] = static_cast<tag_t*>(SM_calloc(found[g].size(), sizeof(tag_t)));
        std::copy(found[g].begin(), found[g].end(), (*groups)[g]);
    }
    HM_DISP_set_display(1);
    mtClearStatusArea();
}

void HM_VD_RD_ask_error_no(int n_surfaces, const tag_t* surfaces, int n_sources, const tag_t* sources, int n_points,
                           double** points, int** error_numbers) {
    if (!error_numbers) return;
    *error_numbers = nullptr;
    if (n_sources < 1 || !detail::count_fits(n_points, sizeof(double*)) || (n_points > 0 && !points)) return;
    if (!rd_objects_usable(n_surfaces, surfaces, n_sources, sources)) return;
    mtStatusArea("checking error number");
    HM_DISP_set_display(0);
    // Zeroed, and every entry written: 2 (no point on it) for any other kind.
    int* numbers = static_cast<int*>(SM_calloc(static_cast<size_t>(n_sources), sizeof(int)));
    double tol = 0.0;
    HM_MODL_ask_distance_tolerance(&tol);
    for (int i = 0; i < n_sources && numbers; ++i) {
        int type = 0, subtype = 0;
        numbers[i] = 2;
        if (HM_OBJ_ask_type_and_subtype(sources[i], &type, &subtype) != 0) continue;
        if (type == HM_point_type) {
            double p[3];
            if (HM_CURVE_ask_point_data(sources[i], p) != 0) continue;
            for (int k = 0; k < n_points && points; ++k) {
                int equal = 0;
                if (points[k]) HM_VEC3_is_equal(p, points[k], tol, &equal);
                if (equal == 1) numbers[i] = 0;
            }
            continue;
        }
        tag_t curve = sources[i];
        if (type == HM_solid_type && subtype == HM_solid_edge_subtype) {
            if (HM_MODL_create_curve_from_edge(sources[i], &curve) != 0) continue;
            UPDATE_log_entity_to_delete(curve);
        } else if (!carvell::detail::is_curve_type(type)) {
            continue;
        }
        numbers[i] = touches_a_surface(curve, n_surfaces, surfaces) ? 3 : curve_error(curve, n_points, points);
    }
    *error_numbers = numbers;
    HM_DISP_set_display(1);
    mtClearStatusArea();
}
