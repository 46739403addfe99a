// Reflection and refraction data: the source objects sampled into rows of
// input points (points, curve segments between corners, chained smooth
// curves and edges), each point's light path searched, and the rows handed
// out as arrays of the host's memory manager.
#include "hm_vd_vision.h"
#include "vision_ipv.h"
#include "vision_rd.h"

#include "hm_vd.h"
#include "hm_vd_curve.h"
#include "toolbox/detail/object_kinds.h"
#include "toolbox/detail/owners.h"
#include "toolbox/detail/vec3.h"

#include "elvosk.h"
#include "gostrel.h"
#include "hathmor.h"
#include "morvish.h"
#include "omvra.h"
#include "quillon.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace carvell::vision {
namespace {

constexpr const char* kKey = "VD_RD";
constexpr int kMinSegmentPoints = 3;

using Pt = std::array<double, 3>;

struct Row {
    std::vector<Pt> points;
    bool closed = false;
    std::vector<RdPath> paths;
};

struct Sampling {
    std::vector<Row> rows;
    std::vector<int> groups;
    std::vector<tag_t> edge_curves;   // made from edges; deleted at the end
};

// Points of the curve at normalised parameters.
Row row_at(tag_t curve, const std::vector<double>& parms, bool closed) {
    Row row;
    row.closed = closed;
    for (double t : parms) {
        Pt p{};
        double tangent[3], pn[3], bn[3], torsion = 0.0, radius = 0.0;
        if (HM_MODL_ask_curve_props(curve, t, p.data(), tangent, pn, bn, &torsion, &radius) == 0 ||
            HM_VD_CURVE_ask_point_on_curve(curve, t, p.data()) == 0)
            row.points.push_back(p);
    }
    return row;
}

// The C0 break parameters of the curve, both ends included (normalised).
std::vector<double> breaks_of(tag_t curve, bool* periodic) {
    std::vector<double> u;
    EVC_p_t evaluator = nullptr;
    *periodic = false;
    if (EVC_initialize(curve, &evaluator) != 0) return u;
    int n = 0;
    double* values = nullptr;
    EVC_p_t* pieces = nullptr;
    if (ev_bk_cv_at_c0(evaluator, &n, &values, &pieces) == 0) {
        u.assign(values, values + n);
        for (int i = 0; i + 1 < n; ++i) EVC_free(pieces[i]);
        SM_free(values);
        SM_free(pieces);
    }
    *periodic = em05(evaluator) == 0;
    EVC_free(evaluator);
    return u;
}

// One row per segment between corners, sized by the segment's share.
void sample_segments(tag_t curve, const std::vector<double>& u, bool periodic, int n_points, Sampling& s) {
    const int k = static_cast<int>(u.size());
    const double span = u[k - 1] - u[0];
    const double weight = (periodic ? k - 1 : k - 2) + n_points;
    for (int seg = 0; seg + 1 < k; ++seg) {
        const int size = std::max(kMinSegmentPoints,
                                  static_cast<int>(std::floor((u[seg + 1] - u[seg]) / span * weight + 0.5)));
        std::vector<double> parms;
        for (int i = 0; i < size; ++i) parms.push_back(u[seg] + i * (u[seg + 1] - u[seg]) / (size - 1));
        s.rows.push_back(row_at(curve, parms, false));
    }
    s.groups.push_back(k - 1);
}

// Loops of the smooth curves and edge curves: a lone curve is one row of N
// points, a chain gives a row per curve sized by its share of the length.
void sample_chains(const std::vector<tag_t>& curves, int n_points, Sampling& s) {
    if (curves.empty()) return;
    double tol = 0.0;
    HM_MODL_ask_distance_tolerance(&tol);
    detail::HostList list;
    HM_VD_ipv_change_array_to_list(static_cast<int>(curves.size()), curves.data(), list.out());
    int loops = 0, n_closed = 0;
    detail::SmBlock<int> sizes;
    tag_t** members = nullptr;
    if (HM_VD_CURVE_make_loop_curve(list.get(), tol, &loops, &n_closed, sizes.out(), &members) != 0) return;
    for (int l = 0; l < loops; ++l) {
        const bool closed = l < n_closed;
        const int c = sizes[l];
        if (c == 1) {
            // At least 2 points on an open curve, 1 on a closed one.
            const int n = closed ? std::max(1, n_points) : std::max(2, n_points);
            std::vector<double> parms;
            for (int i = 0; i < n; ++i) parms.push_back(closed ? static_cast<double>(i) / n : static_cast<double>(i) / (n - 1));
            s.rows.push_back(row_at(members[l][0], parms, closed));
            s.groups.push_back(1);
        } else {
            std::vector<double> lengths(c, 0.0);
            double total = 0.0;
            for (int i = 0; i < c; ++i) {
                HM_CURVE_ask_arc_length(members[l][i], 0.0, 1.0, &lengths[i]);
                total += lengths[i];
            }
            const double weight = (closed ? c : c - 1) + n_points;
            for (int i = 0; i < c; ++i) {
                const int size = std::max(kMinSegmentPoints,
                                          static_cast<int>(std::floor(weight * lengths[i] / total + 0.5)));
                std::vector<double> parms;
                for (int j = 0; j < size; ++j) parms.push_back(static_cast<double>(j) / (size - 1));
                s.rows.push_back(row_at(members[l][i], parms, false));
                s.groups.push_back(1);
            }
        }
        SM_free(members[l]);
    }
    SM_free(members);
}

Sampling sample_sources(int n_sources, const tag_t* sources, int n_points) {
    Sampling s;
    std::vector<tag_t> smooth;
    for (int i = 0; i < n_sources; ++i) {
        int type = 0, subtype = 0;
        if (HM_OBJ_ask_type_and_subtype(sources[i], &type, &subtype) != 0) continue;
        if (type == HM_point_type) {
            Row row;
            Pt p{};
            if (HM_CURVE_ask_point_data(sources[i], p.data()) != 0) continue;
            row.points.push_back(p);
            s.rows.push_back(row);
            s.groups.push_back(1);
        } else if (detail::is_curve_type(type)) {
            bool periodic = false;
            const std::vector<double> u = breaks_of(sources[i], &periodic);
            if (u.size() > 2)
                sample_segments(sources[i], u, periodic, n_points, s);
            else
                smooth.push_back(sources[i]);
        } else if (type == HM_solid_type && subtype == HM_solid_edge_subtype) {
            tag_t curve = NULL_TAG;
            if (HM_MODL_create_curve_from_edge(sources[i], &curve) != 0) continue;
            s.edge_curves.push_back(curve);
            smooth.push_back(curve);
        }
    }
    sample_chains(smooth, n_points, s);
    return s;
}

// The caller's per-row arrays, grown one row at a time. Reflection fills
// the surface (result) and input points; refraction also the entry and exit
// points.
struct RowArrays {
    int** points_per_row;
    double**** surface;
    double**** input;
    double**** entry;   // null for reflection
    double**** exit;    // null for reflection
    bool*** found;
    bool** closed;
};

// Grows the array to `count` entries, the new ones zeroed; false when the
// memory manager refuses (the array is then left as it was).
template <typename T>
bool grow(T** array, int count) {
    void* grown = SM_realloc(*array, static_cast<size_t>(count) * sizeof(T));
    if (!grown) return false;
    *array = static_cast<T*>(grown);
    (*array)[count - 1] = T{};
    return true;
}

// A row's point pointers, each to a zeroed double[3].
double** new_point_row(int size) {
    auto** row = static_cast<double**>(SM_calloc(static_cast<size_t>(std::max(size, 1)), sizeof(double*)));
    for (int i = 0; row && i < size; ++i) row[i] = static_cast<double*>(SM_calloc(3, sizeof(double)));
    return row;
}

bool add_row(const RowArrays& a, int index, int size) {
    const int count = index + 1;
    if (!grow(a.points_per_row, count) || !grow(a.surface, count) || !grow(a.input, count) ||
        !grow(a.found, count) || !grow(a.closed, count))
        return false;
    if (a.entry && (!grow(a.entry, count) || !grow(a.exit, count))) return false;
    (*a.points_per_row)[index] = size;
    (*a.surface)[index] = new_point_row(size);
    (*a.input)[index] = new_point_row(size);
    (*a.found)[index] = static_cast<bool*>(SM_calloc(static_cast<size_t>(std::max(size, 1)), sizeof(bool)));
    if (a.entry) {
        (*a.entry)[index] = new_point_row(size);
        (*a.exit)[index] = new_point_row(size);
    }
    return true;
}

// Appends row `index` of `size` points to the five arrays of reflection
// data (points per row, result and input points, found and closed flags).
bool rd_add_reflect_row(const RowArrays& a, int index, int size) {
    return add_row({a.points_per_row, a.surface, a.input, nullptr, nullptr, a.found, a.closed}, index, size);
}

// The same for the seven arrays of refraction data.
bool rd_add_refract_row(const RowArrays& a, int index, int size) {
    return a.entry && a.exit && add_row(a, index, size);
}

// Rotates the row left by k: entry i takes entry i + k, the first k move to
// the end. Points are copied by value into the row's own storage.
void rd_rotate_points(int k, int n, double** points) {
    if (n < 1 || k % n == 0) return;
    std::vector<Pt> copy(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) detail::copy3(points[(i + k) % n], copy[i].data());
    for (int i = 0; i < n; ++i) detail::copy3(copy[i].data(), points[i]);
}

void rd_rotate_flags(int k, int n, bool* flags) {
    if (n < 1 || k % n == 0) return;
    std::rotate(flags, flags + k % n, flags + n);
}

void rd_zero_point(double point[3]) { point[0] = point[1] = point[2] = 0.0; }

// Hands out the searched rows: each row appended, its paths copied in, a
// point not found given zero result points, and a closed row whose first
// point was found rotated to begin at its first point not found (every
// array of the row by the same count), so that no found run wraps over the
// row's end.
int hand_out_rows(const Sampling& s, const RowArrays& a, bool refraction) {
    int handed = 0;
    for (size_t r = 0; r < s.rows.size(); ++r, handed = static_cast<int>(r)) {
        const std::vector<RdPath>& paths = s.rows[r].paths;
        const int n = static_cast<int>(paths.size());
        const int index = static_cast<int>(r);
        if (!(refraction ? rd_add_refract_row(a, index, n) : rd_add_reflect_row(a, index, n))) return handed;
        (*a.closed)[r] = s.rows[r].closed;
        for (int i = 0; i < n; ++i) {
            const RdPath& p = paths[static_cast<size_t>(i)];
            (*a.found)[r][i] = p.found;
            detail::copy3(p.input, (*a.input)[r][i]);
            detail::copy3(p.surface, (*a.surface)[r][i]);
            if (refraction) {
                detail::copy3(p.entry, (*a.entry)[r][i]);
                detail::copy3(p.exit, (*a.exit)[r][i]);
            }
            if (!p.found) {
                rd_zero_point((*a.surface)[r][i]);
                if (refraction) {
                    rd_zero_point((*a.entry)[r][i]);
                    rd_zero_point((*a.exit)[r][i]);
                }
            }
        }
        if (!s.rows[r].closed || n == 0 || !paths.front().found) continue;
        int k = 0;
        while (k < n && paths[static_cast<size_t>(k)].found) ++k;
        if (k == n) continue;
        for (double**** rows : {a.surface, a.input, a.entry, a.exit})
            if (rows) rd_rotate_points(k, n, (*rows)[r]);
        rd_rotate_flags(k, n, (*a.found)[r]);
    }
    return static_cast<int>(s.rows.size());
}

void hand_out_groups(const Sampling& s, int* group_count, int** group_sizes) {
    *group_count = static_cast<int>(s.groups.size());
    *group_sizes = s.groups.empty() ? nullptr : static_cast<int*>(SM_calloc(s.groups.size(), sizeof(int)));
    for (size_t g = 0; g < s.groups.size() && *group_sizes; ++g) (*group_sizes)[g] = s.groups[g];
}

// The frame of both exports: status text, display off, the search for
// every point, the rows rotated, the temporary curves gone, display on.
template <typename Search>
Sampling run(const char* status, const char* begin, bool reflection, int n_surfaces, const tag_t* surfaces,
             int n_sources, const tag_t* sources, int n_points, RdContext& ctx, Search search) {
    mtStatusArea(status);
    HM_DISP_set_display(0);
    if (MACH__checking_level >= 1) HM_DISP_set_display(1);
    trace(kKey, "%s", begin);
    Sampling s = sample_sources(n_sources, sources, n_points);
    rd_prepare_context(n_surfaces, surfaces, ctx);
    trace(kKey, "\n+++ reflect_data_count =%d", static_cast<int>(s.rows.size()));
    for (size_t r = 0; r < s.rows.size(); ++r) {
        Row& row = s.rows[r];
        trace(kKey, "\n+++ point_count = %d", static_cast<int>(row.points.size()));
        for (size_t i = 0; i < row.points.size(); ++i) {
            RdPath path;
            detail::copy3(row.points[i].data(), path.input);
            if (reflection)
                trace(kKey, "\n+++ HM_VD_RD_create_reflect_point, (*input_point)[%d][%d] = (%f, %f, %f)",
                      static_cast<int>(r), static_cast<int>(i), path.input[0], path.input[1], path.input[2]);
            search(path);
            row.paths.push_back(path);
        }
    }
    for (tag_t c : s.edge_curves) UPDATE_log_entity_to_delete(c);
    if (reflection) trace(kKey, "\n+++ HM_VD_RD_create_reflect_data end");
    HM_DISP_set_display(1);
    mtClearStatusArea();
    return s;
}

}  // namespace
}  // namespace carvell::vision

using namespace carvell::vision;
namespace detail = carvell::detail;

void HM_VD_RD_create_reflect_data(int n_surfaces, const tag_t* surfaces, bool rear, int n_sources,
                                  const tag_t* sources, const double eye[3], int n_points, double offset,
                                  double angle_tolerance, int* group_count, int** group_sizes, int* row_count,
                                  int** points_per_row, double**** result_points, double**** input_points,
                                  bool*** found, bool** closed) {
    if (!group_count || !group_sizes || !row_count || !points_per_row || !result_points || !input_points || !found ||
        !closed)
        return;
    *group_count = *row_count = 0;
    *group_sizes = *points_per_row = nullptr;
    *result_points = *input_points = nullptr;
    *found = nullptr;
    *closed = nullptr;
    if (!rd_input_usable(n_surfaces, surfaces, n_sources, sources, eye, n_points, {offset, angle_tolerance})) return;
    RdContext ctx;
    detail::copy3(eye, ctx.eye);
    ctx.rear = rear;
    ctx.thickness = offset;
    ctx.eps1 = angle_tolerance;
    const Sampling s = run("calculating reflection data", "\n+++ HM_VD_RD_create_reflect_data begin", true,
                           n_surfaces, surfaces, n_sources, sources, n_points, ctx, [&](RdPath& path) {
                               path.found = HM_VD_RD_create_reflect_point(ctx, path.input, path.surface);
                           });
    hand_out_groups(s, group_count, group_sizes);
    *row_count = hand_out_rows(s, {points_per_row, result_points, input_points, nullptr, nullptr, found, closed}, false);
}

void HM_VD_RD_create_refract_data(int n_surfaces, const tag_t* surfaces, bool rear, int n_sources,
                                  const tag_t* sources, const double eye[3], int n_points, double index,
                                  double thickness, double angle_tolerance, int* group_count, int** group_sizes,
                                  int* row_count, int** points_per_row, double**** mirror_points,
                                  double**** input_points, double**** entry_points, double**** exit_points,
                                  bool*** found, bool** closed) {
    if (!group_count || !group_sizes || !row_count || !points_per_row || !mirror_points || !input_points ||
        !entry_points || !exit_points || !found || !closed)
        return;
    *group_count = *row_count = 0;
    *group_sizes = *points_per_row = nullptr;
    *mirror_points = *input_points = *entry_points = *exit_points = nullptr;
    *found = nullptr;
    *closed = nullptr;
    if (!rd_input_usable(n_surfaces, surfaces, n_sources, sources, eye, n_points, {index, thickness, angle_tolerance}))
        return;
    RdContext ctx;
    detail::copy3(eye, ctx.eye);
    ctx.rear = rear;
    ctx.index = index;
    ctx.thickness = thickness;
    ctx.eps1 = angle_tolerance;
    const Sampling s = run("calculating refraction data", "\n+++ HM_VD_RD_create_refract_data begin", false,
                           n_surfaces, surfaces, n_sources, sources, n_points, ctx, [&](RdPath& path) {
                               path.found = rd_create_refract_point(ctx, path.input, path.surface, path.entry,
                                                                    path.exit);
                           });
    hand_out_groups(s, group_count, group_sizes);
    *row_count = hand_out_rows(s, {points_per_row, mirror_points, input_points, entry_points, exit_points, found, closed}, true);
}
