// Instrument-panel visibility: a closed chain of outline curves dispersed
// into one ring of points that starts at its lateral extreme and runs in a
// given sense, split into chains; the re-parametrised splines that make the
// vision faces line up; and the profile walk round a projected point cloud.
#include "hm_vd_vision.h"
#include "ipv_layer.h"
#include "vision_ipv.h"

#include "hm_vd.h"
#include "hm_vd_curve.h"
#include "toolbox/detail/finite.h"
#include "toolbox/detail/owners.h"
#include "toolbox/detail/vec3.h"

#include "belmorra.h"
#include "morvish.h"
#include "omvra.h"
#include "quillon.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <vector>

namespace carvell::vision {
namespace {

using Pt = std::array<double, 3>;

constexpr int kSamplesPerCurve = 100;
// Breaks this close (in ring positions) to the start or to the lateral
// minimum merge into them.
constexpr int kBreakSnap = 5;
constexpr double kFarStart = 10000.0;

// The points of a cloud by cell of a uniform grid whose cells are as wide
// as the reach of a step, so that the points within reach of any point lie
// in its cell and the 26 round it.
class CloudGrid {
public:
    CloudGrid(int n, double** points, double reach) : n_(n) {
        if (!(reach > 0.0) || !std::isfinite(reach)) return;
        // A cell's index must fit its integer: a reach too small for the
        // cloud's coordinates gives no grid (and no point within reach).
        double largest = 0.0;
        for (int i = 0; i < n; ++i)
            for (int k = 0; k < 3; ++k) largest = std::max(largest, std::fabs(points[i][k]));
        if (largest / reach > kMostCellsAlong) return;
        cell_ = reach;
        for (int i = 0; i < n; ++i) cells_[key(points[i])].push_back(i);
    }
    // Indices of the points that may lie within reach of p, ascending: all
    // points when the reach gave no grid.
    std::vector<int> near(const double* p) const {
        std::vector<int> out;
        if (!(cell_ > 0.0)) {
            out.resize(n_);
            for (int i = 0; i < n_; ++i) out[i] = i;
            return out;
        }
        const Key k = key(p);
        for (long long dx = -1; dx <= 1; ++dx)
            for (long long dy = -1; dy <= 1; ++dy)
                for (long long dz = -1; dz <= 1; ++dz) {
                    const auto it = cells_.find({k[0] + dx, k[1] + dy, k[2] + dz});
                    if (it != cells_.end()) out.insert(out.end(), it->second.begin(), it->second.end());
                }
        std::sort(out.begin(), out.end());
        return out;
    }

private:
    // Cells along an axis from the origin: well inside a long long.
    static constexpr double kMostCellsAlong = 1.0e15;
    using Key = std::array<long long, 3>;
    Key key(const double* p) const {
        return {static_cast<long long>(std::floor(p[0] / cell_)), static_cast<long long>(std::floor(p[1] / cell_)),
                static_cast<long long>(std::floor(p[2] / cell_))};
    }
    int n_;
    double cell_ = 0.0;
    std::map<Key, std::vector<int>> cells_;
};

// The curve points nearest to the planes normal to the vehicle's lateral
// axis through the curves' greatest and least lateral values.
void lateral_extremes(const std::vector<tag_t>& curves, double lmax[3], double lmin[3]) {
    double ymin = 1e300, ymax = -1e300;
    for (tag_t c : curves) {
        double box[6];
        if (HM_VD_ask_bounding_box_local(c, ipv_vehicle_origin, ipv_vehicle_matrix, box) != 0) continue;
        ymin = std::min(ymin, box[1]);
        ymax = std::max(ymax, box[4]);
    }
    const double lateral[3] = {0.0, 1.0, 0.0};
    double normal[3];
    if (ipv_layer_vector_from_frame(lateral, ipv_vehicle_origin, ipv_vehicle_matrix, normal) != 0) return;
    detail::Temporaries planes(detail::Temporaries::Disposal::log_for_update);
    double* targets[2] = {lmax, lmin};
    const double ys[2] = {ymax, ymin};
    for (int s = 0; s < 2; ++s) {
        const double local[3] = {0.0, ys[s], 0.0};
        double origin[3];
        if (ipv_layer_point_from_frame(local, ipv_vehicle_origin, ipv_vehicle_matrix, origin) != 0) continue;
        tag_t plane = NULL_TAG;
        if (HM_MODL_create_plane(origin, normal, &plane) != 0) continue;
        planes.add(plane);
        double best = kFarStart;
        for (tag_t c : curves) {
            double d = 0.0, on_curve[3], on_plane[3];
            if (HM_MODL_ask_minimum_dist(c, plane, 0, nullptr, 0, nullptr, &d, on_curve, on_plane) != 0) continue;
            if (d < best) {
                best = d;
                detail::copy3(on_curve, targets[s]);
            }
        }
    }
}

// One run of points per curve, each run turned to follow on from the last.
bool point_runs(const std::vector<tag_t>& curves, int method, double tol, std::vector<std::vector<Pt>>& runs,
                std::vector<Pt>& starts) {
    for (size_t i = 0; i < curves.size(); ++i) {
        int n = 0;
        double** pts = nullptr;
        const int r = method == 0 ? HM_VD_ipv_disperse_curve(curves[i], kSamplesPerCurve, &pts)
                                  : ipv_ask_chord_points(curves[i], &n, &pts);
        if (method == 0) n = kSamplesPerCurve;
        if (r != 0) return false;
        std::vector<Pt> run(n);
        for (int k = 0; k < n; ++k) run[k] = {pts[k][0], pts[k][1], pts[k][2]};
        HM_VD_ipv_free_points(n, &pts);
        bool reverse = false;
        if (i == 0 && curves.size() > 1) {
            double s[3], e[3];
            HM_VD_CURVE_ask_point_on_curve(curves[1], 0.0, s);
            HM_VD_CURVE_ask_point_on_curve(curves[1], 1.0, e);
            reverse = detail::distance3(run.front().data(), s) <= tol || detail::distance3(run.front().data(), e) <= tol;
        } else if (i > 0) {
            reverse = detail::distance3(run.front().data(), runs.back().back().data()) > tol;
        }
        if (reverse) std::reverse(run.begin(), run.end());
        starts.push_back(run.front());
        runs.push_back(std::move(run));
    }
    return true;
}

// Whether the ring runs forward: the turn at its point farthest from the
// ring's best-plane origin, against the direction.
bool runs_forward(const std::vector<Pt>& ring, const double dir[3]) {
    const int m = static_cast<int>(ring.size());
    std::vector<const double*> rows(m);
    for (int i = 0; i < m; ++i) rows[i] = ring[i].data();
    double origin[3], normal[3];
    if (HM_VD_ask_leastsq_plane(m, rows.data(), origin, normal) != 0) return true;
    int far = 0;
    double best = -1.0;
    for (int i = 0; i < m; ++i)
        if (detail::distance3(ring[i].data(), origin) > best) {
            best = detail::distance3(ring[i].data(), origin);
            far = i;
        }
    const int mid = far == 0 ? 1 : (far == m - 1 ? m - 2 : far);
    const double* q0 = ring[mid - 1].data();
    const double* q1 = ring[mid].data();
    const double* q2 = ring[mid + 1].data();
    const double a[3] = {q0[0] - q1[0], q0[1] - q1[1], q0[2] - q1[2]};
    const double b[3] = {q2[0] - q1[0], q2[1] - q1[1], q2[2] - q1[2]};
    double n[3];
    HM_VEC3_cross(a, b, n);
    return n[0] * dir[0] + n[1] * dir[1] + n[2] * dir[2] > 0.0;
}

int nearest_index(const std::vector<Pt>& ring, const double p[3]) {
    int best = 0;
    double d = 1e300;
    for (size_t i = 0; i < ring.size(); ++i)
        if (detail::distance3(ring[i].data(), p) < d) {
            d = detail::distance3(ring[i].data(), p);
            best = static_cast<int>(i);
        }
    return best;
}

// Chains of the ring by the split mode.
std::vector<std::vector<Pt>> split_ring(const std::vector<Pt>& ring, int b, int split, const std::vector<Pt>& starts,
                                        double tol, int* split_index) {
    const int m = static_cast<int>(ring.size());
    std::vector<std::vector<Pt>> chains;
    *split_index = 0;
    if (split == 0) {
        chains.push_back(ring);
    } else if (split == 1) {
        chains.emplace_back(ring.begin(), ring.begin() + b + 1);
        std::vector<Pt> second(ring.begin() + b, ring.end());
        second.push_back(ring.front());
        chains.push_back(std::move(second));
        *split_index = 1;
    } else {
        std::vector<int> breaks;
        for (const Pt& s : starts)
            for (int i = 0; i < m; ++i)
                if (detail::distance3(ring[i].data(), s.data()) <= tol) {
                    int at = i;
                    if (at < kBreakSnap || m - at < kBreakSnap) at = 0;
                    if (std::abs(at - b) < kBreakSnap) at = b;
                    breaks.push_back(at);
                    break;
                }
        breaks.push_back(0);
        breaks.push_back(b);
        ipv_sort_integers(static_cast<int>(breaks.size()), breaks.data());
        breaks.erase(std::unique(breaks.begin(), breaks.end()), breaks.end());
        for (size_t i = 0; i < breaks.size(); ++i) {
            const int from = breaks[i], to = i + 1 < breaks.size() ? breaks[i + 1] : m - 1;
            if (breaks[i] == b) *split_index = static_cast<int>(i);
            chains.emplace_back(ring.begin() + from, ring.begin() + to + 1);
        }
    }
    return chains;
}

// Hands the chains out as SM_alloc'd counts and point arrays.
int hand_out(const std::vector<std::vector<Pt>>& chains, int* chain_count, int** counts, double**** out) {
    const int n = static_cast<int>(chains.size());
    auto* sizes = static_cast<int*>(SM_calloc(n, sizeof(int)));
    auto* arrays = static_cast<double***>(SM_calloc(n, sizeof(double**)));
    if (!sizes || !arrays) {
        SM_free(sizes);
        SM_free(arrays);
        return -1;
    }
    for (int c = 0; c < n; ++c) {
        sizes[c] = static_cast<int>(chains[c].size());
        HM_VD_ipv_alloc_points(sizes[c], &arrays[c]);
        for (int i = 0; i < sizes[c]; ++i) detail::copy3(chains[c][i].data(), arrays[c][i]);
    }
    *chain_count = n;
    *counts = sizes;
    *out = arrays;
    return 0;
}

void free_chains(int n, int* counts, double*** chains) {
    for (int c = 0; c < n && chains; ++c) HM_VD_ipv_free_points(counts[c], &chains[c]);
    SM_free(chains);
    SM_free(counts);
}

// Splines through the chains [from, to) into the list.
int splines_into(int from, int to, const int* counts, double*** chains, int periodic, hm_list_p_t list) {
    for (int c = from; c < to; ++c) {
        tag_t spline = NULL_TAG;
        if (int r = ipv_layer_spline(counts[c], chains[c], periodic, 0, &spline)) return r;
        HM_MODL_put_list_item(list, spline);
    }
    return 0;
}

}  // namespace

std::vector<tag_t> ipv_single_loop(hm_list_p_t curves, double tolerance) {
    int loops = 0, closed = 0;
    int* sizes = nullptr;
    tag_t** members = nullptr;
    std::vector<tag_t> out;
    if (HM_VD_CURVE_make_loop_curve(curves, tolerance, &loops, &closed, &sizes, &members) != 0) return out;
    if (loops == 1) out.assign(members[0], members[0] + sizes[0]);
    for (int i = 0; i < loops; ++i) SM_free(members[i]);
    SM_free(members);
    SM_free(sizes);
    return out;
}

}  // namespace carvell::vision

using namespace carvell::vision;
namespace detail = carvell::detail;

int HM_VD_ipv_disperse_curve_chain(hm_list_p_t curves, const double dir[3], int method, int split, int* split_index,
                                   int* chain_count, int** counts, double**** chains) {
    if (!split_index || !chain_count || !counts || !chains) return -1;
    *split_index = 0;
    *chain_count = 0;
    *counts = nullptr;
    *chains = nullptr;
    // The direction gives the ring its sense: it must have one.
    if (!detail::model_point(dir) || (dir[0] == 0.0 && dir[1] == 0.0 && dir[2] == 0.0)) return -1;
    double tol[kIpvToleranceCount];
    HM_VD_ipv_ask_tolerance(tol);
    int n = 0;
    HM_MODL_ask_list_count(curves, &n);
    if (n < 1) return -1;
    const std::vector<tag_t> loop = ipv_layer_single_loop(curves, tol[kIpvDistance]);
    if (loop.empty()) return -1;
    double lmax[3] = {0, 0, 0}, lmin[3] = {0, 0, 0};
    lateral_extremes(loop, lmax, lmin);
    std::vector<std::vector<Pt>> runs;
    std::vector<Pt> starts;
    if (!point_runs(loop, method, tol[kIpvDistance], runs, starts)) return -1;
    std::vector<Pt> pooled;
    for (const auto& run : runs) pooled.insert(pooled.end(), run.begin(), run.end() - 1);
    const int m = static_cast<int>(pooled.size());
    if (m < 3) return -1;
    const bool forward = runs_forward(pooled, dir);
    const int a = nearest_index(pooled, lmax);
    int b = nearest_index(pooled, lmin);
    std::vector<Pt> ring(m);
    for (int i = 0; i < m; ++i) ring[i] = pooled[forward ? (a + i) % m : (a - i + m) % m];
    b = forward ? (b - a + m) % m : (a - b + m) % m;
    const auto pieces = split_ring(ring, b, split, starts, tol[kIpvDistance], split_index);
    return hand_out(pieces, chain_count, counts, chains);
}

int ipv_reparam_curves(hm_list_p_t curves, const double dir[3], int mode, int* count, hm_list_p_t lists[2]) {
    if (!count || !lists) return -1;
    *count = 0;
    lists[0] = lists[1] = nullptr;
    if (!curves) return -1;
    const int split = mode == 0 ? 0 : (mode == 1 ? 1 : 2);
    int k = 0, n = 0;
    int* counts = nullptr;
    double*** chains = nullptr;
    if (int r = HM_VD_ipv_disperse_curve_chain(curves, dir, 0, split, &k, &n, &counts, &chains)) return r;
    detail::HostList first, second;
    HM_MODL_create_list(first.out());
    int r = 0;
    if (mode == 0) {
        r = splines_into(0, 1, counts, chains, 1, first.get());
        *count = 1;
    } else if (mode == 1 || mode == 2) {
        HM_MODL_create_list(second.out());
        const int cut = mode == 1 ? 1 : k + 1;
        r = splines_into(0, cut, counts, chains, 0, first.get());
        if (r == 0) r = splines_into(cut, n, counts, chains, 0, second.get());
        *count = 2;
    } else {
        r = splines_into(0, n, counts, chains, 0, first.get());
        *count = 1;
    }
    free_chains(n, counts, chains);
    if (r != 0) {
        // Splines already made do not outlive a failed re-parametrisation.
        for (tag_t t : first.items()) HM_VD_delete_object(t);
        for (tag_t t : second.items()) HM_VD_delete_object(t);
        *count = 0;
        return r;
    }
    lists[0] = first.release();
    lists[1] = second.release();
    return 0;
}

int HM_VD_ipv_ask_profile_points(int n, double** points, const double origin[3], const double normal[3],
                                 const double search[3], int mode, int* count, int** indices, double*** out) {
    if (!count || !indices || !out) return -1;
    *count = 0;
    *indices = nullptr;
    *out = nullptr;
    if (n < 1 || n > HM_VD_IPV_MAX_POINTS || !detail::model_point_row(n, points) || !detail::model_point(origin) ||
        !detail::model_point(normal) || !detail::in_model_space(search, 3))
        return -1;
    constexpr double kStartAtOrigin = 0.001;
    constexpr double kTwoPi = 6.283185307179586;
    constexpr double kLeastSweep = kTwoPi / 8.0;
    int start = 0;
    for (int i = 1; i < n; ++i) {
        const double di = detail::distance3(points[i], origin), ds = detail::distance3(points[start], origin);
        if (mode == 0 ? di > ds : di < ds) start = i;
    }
    if (detail::distance3(points[start], origin) <= kStartAtOrigin) return -1;
    const double r[3] = {points[start][0] - origin[0], points[start][1] - origin[1], points[start][2] - origin[2]};
    double ref[3];
    if (mode == 0)
        HM_VEC3_cross(normal, r, ref);
    else
        HM_VEC3_cross(r, normal, ref);
    const CloudGrid grid(n, points, search[1]);
    std::vector<int> walk{start};
    int current = start;
    bool closed = false;
    for (int steps = 0; steps <= n && !closed; ++steps) {
        // Closing early: the start lies within reach and the turn to it is small.
        if (walk.size() > 2) {
            const double d = detail::distance3(points[current], points[start]);
            if (d < search[1]) {
                const double to[3] = {points[start][0] - points[current][0], points[start][1] - points[current][1],
                                      points[start][2] - points[current][2]};
                double turn = 0.0;
                HM_VEC3_angle_between(ref, to, normal, &turn);
                if (turn < search[2] || turn > kTwoPi - search[2]) {
                    walk.push_back(start);
                    closed = true;
                    break;
                }
            }
        }
        int next = -1;
        double best = kTwoPi;
        for (int i : grid.near(points[current])) {
            const double d = detail::distance3(points[i], points[current]);
            if (!(d > search[0] && d < search[1])) continue;
            const double to[3] = {points[i][0] - points[current][0], points[i][1] - points[current][1],
                                  points[i][2] - points[current][2]};
            // The boundary is walked with the cloud on the left and the
            // outside (mode 0) or the opening (mode 1) on the right: the next
            // point is the first one met sweeping from the way back through
            // the right side, which hugs the edge round convex and concave
            // corners alike and never cuts through the cloud. Points less
            // than kLeastSweep off the way back are steps backwards along the
            // edge's uneven points, not turns.
            const double back[3] = {-ref[0], -ref[1], -ref[2]};
            double turn = 0.0;
            HM_VEC3_angle_between(back, to, normal, &turn);
            if (turn < kLeastSweep) continue;
            if (turn < best) {
                best = turn;
                next = i;
            }
        }
        if (next < 0) return -1;
        for (int k = 0; k < 3; ++k) ref[k] = points[next][k] - points[current][k];
        current = next;
        walk.push_back(next);
        if (next == start) closed = true;
    }
    if (!closed) return -1;
    const int m = static_cast<int>(walk.size());
    auto* idx = static_cast<int*>(SM_calloc(m, sizeof(int)));
    double** pts = nullptr;
    if (!idx || HM_VD_ipv_alloc_points(m, &pts) != 0) {
        SM_free(idx);
        return -1;
    }
    for (int i = 0; i < m; ++i) {
        idx[i] = walk[i];
        detail::copy3(points[walk[i]], pts[i]);
    }
    *count = m;
    *indices = idx;
    *out = pts;
    return 0;
}
