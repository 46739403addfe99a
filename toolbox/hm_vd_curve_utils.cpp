// Curve utilities: the curve-type test, loops and chain status, joining,
// sampling, trimming, splitting at corners and closed corner-preserving
// splines.
#include "hm_vd/curve_utils.h"
#include "hm_vd/objects.h"
#include "hm_vd_curve.h"
#include "toolbox_curve_utils.h"
#include "toolbox_point_thinning.h"

#include "toolbox/detail/curve_samples.h"
#include "toolbox/detail/finite.h"
#include "toolbox/detail/object_kinds.h"
#include "toolbox/detail/owners.h"
#include "toolbox/detail/vec3.h"

#include "gostrel.h"
#include "hathmor.h"
#include "morvish.h"
#include "omvra.h"
#include "quillon.h"
#include "rostval.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace {

constexpr double kParameterEpsilon = 1e-10;

using carvell::detail::list_items;
using carvell::toolbox::free_loops;

// Fills the entries of a chain of loop nodes, from `first` on.
void take_loops(CRV_LST_loop_p_t chain, int count, int first, int* curves_per_loop, tag_t** loops) {
    for (int i = 0; i < count && chain != nullptr; ++i, chain = chain->next) {
        int n = 0;
        tag_t* curves = nullptr;
        if (CRV_LST_get_eids_in_loop(chain, &n, &curves) != 0) n = 0;
        curves_per_loop[first + i] = n;
        loops[first + i] = curves;
    }
}

// The break parameters of the curve at its C0 corners, with the ends of its
// range always included.
std::vector<double> c0_breaks(EVC_p_t evaluator) {
    double range[2] = {0.0, 1.0};
    (void)evcrvp(evaluator, range);
    int m = 0;
    double* parameters = nullptr;
    EVC_p_t* pieces = nullptr;
    std::vector<double> breaks;
    if (ev_bk_cv_at_c0(evaluator, &m, &parameters, &pieces) == 0 && parameters != nullptr)
        breaks.assign(parameters, parameters + m);
    if (pieces != nullptr)
        for (int i = 0; i + 1 < m; ++i) (void)EVC_free(pieces[i]);
    SM_free(pieces);
    SM_free(parameters);

    if (breaks.empty()) return {range[0], range[1]};
    if (breaks.front() - range[0] > kParameterEpsilon || breaks.front() - range[0] < -kParameterEpsilon)
        breaks.insert(breaks.begin(), range[0]);
    if (breaks.back() - range[1] > kParameterEpsilon || breaks.back() - range[1] < -kParameterEpsilon)
        breaks.push_back(range[1]);
    if (breaks.size() < 2) breaks = {range[0], range[1]};
    return breaks;
}

}  // namespace

bool HM_VD_is_curve(tag_t object) {
    int type = 0, subtype = 0;
    if (HM_OBJ_ask_type_and_subtype(object, &type, &subtype) != 0) return false;
    return carvell::detail::is_curve_or_edge(type, subtype);
}

int HM_VD_CURVE_make_loop_curve(hm_list_p_t list, double tolerance, int* loop_count, int* closed_count,
                                int** curves_per_loop, tag_t*** loops) {
    if (!loop_count || !closed_count || !curves_per_loop || !loops) return HM_ERR_NULL_POINTER;
    const std::vector<tag_t> curves = list_items(list);

    int n_closed = 0, n_open = 0;
    CRV_LST_loop_p_t closed_chain = nullptr, open_chain = nullptr;
    if (!curves.empty() && CRV_LST_make_loops(0, static_cast<int>(curves.size()), curves.data(), tolerance,
                                              &n_closed, &closed_chain, &n_open, &open_chain) != 0) {
        n_closed = n_open = 0;
    }

    const int total = n_closed + n_open;
    int* counts = nullptr;
    tag_t** arrays = nullptr;
    if (total > 0) {
        counts = static_cast<int*>(SM_calloc(total, sizeof(int)));
        arrays = static_cast<tag_t**>(SM_calloc(total, sizeof(tag_t*)));
        take_loops(closed_chain, n_closed, 0, counts, arrays);
        take_loops(open_chain, n_open, n_closed, counts, arrays);
    }
    (void)CRV_LST_free_curve_list(closed_chain);
    (void)CRV_LST_free_curve_list(open_chain);

    *loop_count = total;
    *closed_count = n_closed;
    *curves_per_loop = counts;
    *loops = arrays;
    return 0;
}

int HM_VD_CURVE_make_loop_curve_from_array(const tag_t* curves, int n, double tolerance, int* loop_count,
                                           int* closed_count, int** curves_per_loop, tag_t*** loops) {
    if (n > 0 && !curves) return HM_ERR_NULL_POINTER;
    hm_list_p_t list = nullptr;
    (void)HM_MODL_create_list(&list);
    for (int i = 0; i < n; ++i) (void)HM_MODL_put_list_item(list, curves[i]);
    const int result = HM_VD_CURVE_make_loop_curve(list, tolerance, loop_count, closed_count, curves_per_loop, loops);
    (void)HM_MODL_delete_list(&list);
    return result;
}

int HM_VD_CURVE_ask_curve_chain_status(hm_list_p_t list, double tolerance, int* status) {
    if (!status) return -1;
    const std::vector<tag_t> items = list_items(list);
    if (items.empty()) return -1;
    for (tag_t item : items) {
        if (!HM_VD_is_curve(item)) {
            *status = -1;
            return -1;
        }
    }

    int total = 0, closed = 0;
    int* counts = nullptr;
    tag_t** loops = nullptr;
    const int result = HM_VD_CURVE_make_loop_curve(list, tolerance, &total, &closed, &counts, &loops);
    free_loops(total, counts, loops);
    // Curves that form no loop at all cannot be classified.
    if (total < 1) return -1;
    if (total == 1)
        *status = closed == 1 ? 0 : 1;
    else
        *status = closed == total ? 2 : 3;
    return result;
}

int HM_VD_CURVE_is_coinside_point(const double p1[3], const double p2[3], double tolerance) {
    using carvell::detail::finite3;
    if (!finite3(p1) || !finite3(p2) || !std::isfinite(tolerance)) return 0;
    int equal = 0;
    if (HM_VEC3_is_equal(p1, p2, tolerance, &equal) != 0) return 0;
    return equal != 0 ? 1 : 0;
}

int HM_VD_CURVE_join_curves(hm_list_p_t* list, double tolerance) {
    if (!list) return HM_ERR_NULL_POINTER;
    int count = 0;
    const int count_result = HM_MODL_ask_list_count(*list, &count);
    if (count < 2) return count_result;

    double saved_tolerance = 0.0;
    (void)HM_MODL_ask_distance_tolerance(&saved_tolerance);
    (void)HM_MODL_set_distance_tolerance(tolerance);

    int total = 0, closed = 0;
    int* counts = nullptr;
    tag_t** loops = nullptr;
    (void)HM_VD_CURVE_make_loop_curve(*list, tolerance, &total, &closed, &counts, &loops);
    (void)HM_MODL_delete_list(list);
    (void)HM_MODL_create_list(list);

    for (int i = 0; i < total; ++i) {
        if (counts[i] == 1) {
            (void)HM_MODL_put_list_item(*list, loops[i][0]);
            continue;
        }
        hm_list_p_t pieces = nullptr;
        (void)HM_MODL_create_list(&pieces);
        for (int j = 0; j < counts[i]; ++j) (void)HM_MODL_put_list_item(pieces, loops[i][j]);
        tag_t joined = 0;
        (void)HM_CURVE_create_joined_curve(pieces, 2, &joined);
        (void)HM_MODL_set_distance_tolerance(tolerance);
        if (joined != 0) {
            (void)HM_MODL_put_list_item(*list, joined);
        } else {
            for (int j = 0; j < counts[i]; ++j) (void)HM_MODL_put_list_item(*list, loops[i][j]);
        }
        (void)HM_MODL_delete_list(&pieces);
    }

    free_loops(total, counts, loops);
    return HM_MODL_set_distance_tolerance(saved_tolerance);
}

int HM_VD_curve_disperse_param_points(tag_t curve, int n, int* count, double** points) {
    if (!count || (n > 0 && !points)) return HM_ERR_NULL_POINTER;
    if (n < 0) {
        *count = 0;
        return 0;
    }
    // No parameter step for zero intervals.
    if (n == 0) {
        *count = 0;
        return -1;
    }
    // The caller's row of n + 1 points: no more than the sampling limit. Each
    // entry is looked at only when its turn comes, so a row that a failing
    // curve never reaches is not read past its first entry.
    if (n >= HM_VD_MAX_SAMPLED_POINTS) {
        *count = 0;
        return -1;
    }
    for (int i = 0; i <= n; ++i) {
        if (!points[i]) return HM_ERR_NULL_POINTER;
        double tangent[3], p_norm[3], b_norm[3], torsion = 0.0, radius = 0.0;
        const int result = HM_MODL_ask_curve_props(curve, static_cast<double>(i) / n, points[i], tangent, p_norm,
                                                   b_norm, &torsion, &radius);
        if (result != 0) return result;
    }
    *count = n + 1;
    return 0;
}

namespace {

// Parameters of the samples of one piece [t0, t1], t0 left out: k equal steps.
std::vector<double> equal_steps(double t0, double t1, int k) {
    std::vector<double> out;
    for (int i = 1; i <= k; ++i) out.push_back(t0 + (t1 - t0) * i / k);
    return out;
}

bool curve_point(tag_t curve, double t, double point[3]) {
    double tangent[3], p_norm[3], b_norm[3], torsion = 0.0, radius = 0.0;
    return HM_MODL_ask_curve_props(curve, t, point, tangent, p_norm, b_norm, &torsion, &radius) == 0;
}

// Deepest halving of one piece: 2^16 chords.
constexpr int kDeepestHalving = 16;

// Parameters of the samples of one piece [t0, t1], t0 left out: the chord
// between two samples is kept when the curve at a quarter, half and three
// quarters of its step lies within the tolerance of it, else the step is
// halved. Empty when an evaluation fails.
std::vector<double> chord_steps(tag_t curve, double t0, double t1, double tolerance) {
    struct Step {
        double t0, t1;
        std::array<double, 3> p0, p1;
        int depth;
    };
    Step first{t0, t1, {}, {}, 0};
    if (!curve_point(curve, t0, first.p0.data()) || !curve_point(curve, t1, first.p1.data())) return {};
    std::vector<double> out;
    std::vector<Step> stack{first};
    while (!stack.empty()) {
        const Step step = stack.back();
        stack.pop_back();
        std::array<std::array<double, 3>, 3> inner;
        bool within = true;
        for (int q = 0; q < 3; ++q) {
            if (!curve_point(curve, step.t0 + (step.t1 - step.t0) * (q + 1) / 4.0, inner[q].data())) return {};
            within = within &&
                     carvell::detail::distance_to_segment3(step.p0.data(), step.p1.data(), inner[q].data()) <= tolerance;
        }
        if (within || step.depth >= kDeepestHalving) {
            out.push_back(step.t1);
            continue;
        }
        const double mid = 0.5 * (step.t0 + step.t1);
        // The later half goes first onto the stack, so that the earlier is done first.
        stack.push_back({mid, step.t1, inner[1], step.p1, step.depth + 1});
        stack.push_back({step.t0, mid, step.p0, inner[1], step.depth + 1});
    }
    return out;
}

// The row of samples of the curve with the parameters of each piece from
// `steps`; what HM_VD_simple_curve_points and chord_curve_points hand back.
template <class Steps>
void sample_pieces(tag_t curve, Steps steps, int* point_count, double*** points, int* break_count, int** breaks) {
    if (!point_count || !points || !break_count || !breaks) return;
    *point_count = 0;
    *points = nullptr;
    *break_count = 0;
    *breaks = nullptr;

    EVC_p_t evaluator = nullptr;
    if (evcrvu(curve, &evaluator) != 0) return;
    const std::vector<double> parameters = c0_breaks(evaluator);
    (void)evcrvf(evaluator);
    const int m = static_cast<int>(parameters.size());
    if (m < 2) return;

    std::vector<double> row_parameters{parameters[0]};
    std::vector<int> break_indices{0};
    for (int j = 0; j + 1 < m; ++j) {
        const std::vector<double> piece = steps(parameters[j], parameters[j + 1]);
        if (piece.empty()) return;
        row_parameters.insert(row_parameters.end(), piece.begin(), piece.end());
        if (row_parameters.size() > static_cast<size_t>(HM_VD_MAX_SAMPLED_POINTS)) return;
        break_indices.push_back(static_cast<int>(row_parameters.size()) - 1);
    }
    const int n = static_cast<int>(row_parameters.size());
    double** row = static_cast<double**>(SM_calloc(n, sizeof(double*)));
    bool failed = false;
    for (int i = 0; i < n && !failed; ++i) {
        row[i] = static_cast<double*>(SM_alloc(3 * sizeof(double)));
        failed = !curve_point(curve, row_parameters[i], row[i]);
    }
    if (failed) {
        for (int i = 0; i < n; ++i) SM_free(row[i]);
        SM_free(row);
        return;
    }

    // A closed curve ends exactly where it starts.
    double distance = 0.0;
    (void)HM_VEC3_distance(row[0], row[n - 1], &distance);
    if (distance < TOLER_ask_distance_tol() + 1e-10)
        for (int c = 0; c < 3; ++c) row[n - 1][c] = row[0][c];

    int* break_row = static_cast<int*>(SM_alloc(m * sizeof(int)));
    std::copy(break_indices.begin(), break_indices.end(), break_row);
    *point_count = n;
    *points = row;
    *break_count = m;
    *breaks = break_row;
}

}  // namespace

void HM_VD_simple_curve_points(tag_t curve, int k, int* point_count, double*** points, int* break_count,
                               int** breaks) {
    // No step count, or one that alone passes the sampling limit: no row.
    const bool usable = k >= 1 && k < HM_VD_MAX_SAMPLED_POINTS;
    sample_pieces(
        curve, [&](double t0, double t1) { return usable ? equal_steps(t0, t1, k) : std::vector<double>{}; },
        point_count, points, break_count, breaks);
}

void carvell::detail::chord_curve_points(tag_t curve, double chord_tolerance, int* point_count, double*** points,
                                         int* break_count, int** breaks) {
    const bool usable = chord_tolerance > 0.0 && std::isfinite(chord_tolerance);
    sample_pieces(
        curve,
        [&](double t0, double t1) {
            return usable ? chord_steps(curve, t0, t1, chord_tolerance) : std::vector<double>{};
        },
        point_count, points, break_count, breaks);
}

int HM_VD_create_closed_spline_c0(int n, const double* points, int break_count, const int* breaks, tag_t* curve) {
    if (!curve) return HM_ERR_NULL_POINTER;
    *curve = 0;
    // A row too long for one block of points, or one holding a number that is
    // not finite, gives no spline.
    if (n < 0 || !carvell::detail::count_fits(n, 3 * sizeof(double)) ||
        (points && !carvell::detail::all_finite(points, 3 * n)))
        return -1;
    double tolerance = 0.0;
    (void)HM_MODL_ask_distance_tolerance(&tolerance);
    carvell::toolbox::ThinnedRow thinned;
    if (!carvell::toolbox::thin_point_row(n, points, break_count, breaks, tolerance, &thinned)) return -1;

    std::vector<double*> row;
    const int thinned_count = static_cast<int>(thinned.points.size() / 3);
    for (int i = 0; i < thinned_count; ++i) row.push_back(&thinned.points[3 * i]);

    if (thinned.breaks.size() == 2)
        return HM_VD_create_spline_thru_points(thinned_count, row.data(), 1, curve);

    int result = 0;
    std::vector<tag_t> pieces;
    for (size_t i = 0; i + 1 < thinned.breaks.size(); ++i) {
        const int first = thinned.breaks[i];
        const int count = thinned.breaks[i + 1] - first + 1;
        tag_t piece = 0;
        result = HM_VD_create_spline_thru_points(count, row.data() + first, 0, &piece);
        if (result != 0 || piece == 0) {
            if (result == 0) result = -1;
            break;
        }
        pieces.push_back(piece);
    }

    if (result == 0) {
        hm_list_p_t list = nullptr;
        (void)HM_MODL_create_list(&list);
        for (tag_t piece : pieces) (void)HM_MODL_put_list_item(list, piece);
        result = HM_CURVE_create_joined_curve(list, 2, curve);
        (void)HM_MODL_delete_list(&list);
    }
    for (tag_t piece : pieces) (void)HM_OBJ_delete_object(piece);
    return result;
}

int HM_VD_CURVE_trim_curve_by_parms(tag_t curve, const double parms[2], tag_t* new_curve) {
    if (!new_curve) return HM_ERR_NULL_POINTER;
    *new_curve = 0;
    if (!parms) return HM_ERR_NULL_POINTER;
    if (!carvell::detail::all_finite(parms, 2)) return HM_ERR_BAD_ARGUMENT;
    EVC_p_t evaluator = nullptr;
    int result = EVC_initialize(curve, &evaluator);
    if (result != 0) return result;

    EVC_p_t partial = nullptr;
    tag_t made = 0;
    result = kpart_cv(evaluator, parms[0], parms[1], &partial);
    if (result == 0) result = kcrvev(partial, &made);
    (void)EVC_free(partial);
    (void)EVC_free(evaluator);
    if (result != 0) return result;

    carvell::toolbox::wake_curve(made);
    *new_curve = made;
    return 0;
}

void HM_VD_CURVE_divide_curve_by_c0_knots(tag_t curve, int* count, tag_t** pieces) {
    if (!count || !pieces) return;
    *count = 0;
    *pieces = nullptr;
    EVC_p_t evaluator = nullptr;
    if (evcrvu(curve, &evaluator) != 0) return;
    const std::vector<double> breaks = c0_breaks(evaluator);
    (void)evcrvf(evaluator);

    const int piece_count = static_cast<int>(breaks.size()) - 1;
    if (piece_count < 2) {
        tag_t copy = 0;
        if (HM_VD_copy_object(HM_VD_KEEP_LAYER, 1, &curve, &copy) != 0 || copy == 0) return;
        *pieces = static_cast<tag_t*>(SM_alloc(sizeof(tag_t)));
        (*pieces)[0] = copy;
        *count = 1;
        return;
    }

    tag_t* made = static_cast<tag_t*>(SM_alloc(piece_count * sizeof(tag_t)));
    int made_count = 0;
    for (int i = 0; i < piece_count; ++i) {
        const double parms[2] = {breaks[i], breaks[i + 1]};
        tag_t piece = 0;
        if (HM_VD_CURVE_trim_curve_by_parms(curve, parms, &piece) == 0 && piece != 0) made[made_count++] = piece;
    }
    if (made_count == 0) {
        SM_free(made);
        return;
    }
    *count = made_count;
    *pieces = made;
}

namespace carvell::toolbox {

void wake_curve(tag_t curve) {
    if (es0022(curve) != HM_OBJ_ALIVE) (void)RM_set_sleep_state(curve, false);
}

void free_loops(int loop_count, int* curves_per_loop, tag_t** loops) {
    for (int i = 0; loops && i < loop_count; ++i) SM_free(loops[i]);
    SM_free(loops);
    SM_free(curves_per_loop);
}

}  // namespace carvell::toolbox
