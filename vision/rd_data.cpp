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

// Rotates a closed row whose first point was found to begin at its first
// point not found, so that no found run wraps over the row's end.
void rotate_closed_row(Row& row) {
    if (!row.closed || row.paths.empty() || !row.paths.front().found) return;
    size_t k = 0;
    while (k < row.paths.size() && row.paths[k].found) ++k;
    if (k == row.paths.size()) return;
    std::rotate(row.paths.begin(), row.paths.begin() + static_cast<long>(k), row.paths.end());
}

template <typename T>
T* block(size_t n) {
    return static_cast<T*>(SM_calloc(n > 0 ? n : 1, sizeof(T)));
}

// One per-row array of points (pointers to double[3]) from the paths.
template <typename Field>
double*** point_rows(const std::vector<Row>& rows, Field field) {
    auto** out = block<double**>(rows.size());
    for (size_t r = 0; r < rows.size(); ++r) {
        out[r] = block<double*>(rows[r].paths.size());
        for (size_t i = 0; i < rows[r].paths.size(); ++i) {
            out[r][i] = block<double>(3);
            detail::copy3(field(rows[r].paths[i]), out[r][i]);
        }
    }
    return out;
}

struct Outputs {
    int* group_count;
    int** group_sizes;
    int* row_count;
    int** points_per_row;
    bool*** found;
    bool** closed;
};

void hand_out_common(const Sampling& s, const Outputs& o) {
    *o.group_count = static_cast<int>(s.groups.size());
    *o.group_sizes = block<int>(s.groups.size());
    for (size_t g = 0; g < s.groups.size(); ++g) (*o.group_sizes)[g] = s.groups[g];
    *o.row_count = static_cast<int>(s.rows.size());
    *o.points_per_row = block<int>(s.rows.size());
    *o.found = block<bool*>(s.rows.size());
    *o.closed = block<bool>(s.rows.size());
    for (size_t r = 0; r < s.rows.size(); ++r) {
        (*o.points_per_row)[r] = static_cast<int>(s.rows[r].paths.size());
        (*o.closed)[r] = s.rows[r].closed;
        (*o.found)[r] = block<bool>(s.rows[r].paths.size());
        for (size_t i = 0; i < s.rows[r].paths.size(); ++i) (*o.found)[r][i] = s.rows[r].paths[i].found;
    }
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
        rotate_closed_row(row);
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
    if (!eye || (n_surfaces > 0 && !surfaces) || (n_sources > 0 && !sources)) return;
    RdContext ctx;
    detail::copy3(eye, ctx.eye);
    ctx.rear = rear;
    ctx.thickness = offset;
    ctx.eps1 = angle_tolerance;
    const Sampling s = run("calculating reflection data", "\n+++ HM_VD_RD_create_reflect_data begin", true,
                           n_surfaces, surfaces, n_sources, sources, n_points, ctx, [&](RdPath& path) {
                               path.found = HM_VD_RD_create_reflect_point(ctx, path.input, path.surface);
                           });
    hand_out_common(s, {group_count, group_sizes, row_count, points_per_row, found, closed});
    *result_points = point_rows(s.rows, [](const RdPath& p) { return p.surface; });
    *input_points = point_rows(s.rows, [](const RdPath& p) { return p.input; });
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
    if (!eye || (n_surfaces > 0 && !surfaces) || (n_sources > 0 && !sources)) return;
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
    hand_out_common(s, {group_count, group_sizes, row_count, points_per_row, found, closed});
    *mirror_points = point_rows(s.rows, [](const RdPath& p) { return p.surface; });
    *input_points = point_rows(s.rows, [](const RdPath& p) { return p.input; });
    *entry_points = point_rows(s.rows, [](const RdPath& p) { return p.entry; });
    *exit_points = point_rows(s.rows, [](const RdPath& p) { return p.exit; });
}
