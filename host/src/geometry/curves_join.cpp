// Chains and loops of curves whose ends meet, and joining a chain into one
// B-spline whose corners stay C0 knots.
#include "core/kernel_guard.h"
#include "geometry/curves_internal.h"
#include "hathmor.h"
#include "kestrin.h"
#include "quillon.h"

#include <GeomConvert_CompCurveToBSplineCurve.hxx>
#include <Standard_Failure.hxx>

#include <algorithm>

namespace host {

bool make_chains(const std::vector<Handle(Geom_Curve)>& curves, double tolerance, std::vector<Chain>& chains) {
    const size_t n = curves.size();
    std::vector<gp_Pnt> start(n), end(n);
    std::vector<bool> used(n, false), closed(n, false);
    try {
        for (size_t i = 0; i < n; ++i) {
            if (curves[i].IsNull()) {
                used[i] = true;
                continue;
            }
            start[i] = curves[i]->Value(curves[i]->FirstParameter());
            end[i] = curves[i]->Value(curves[i]->LastParameter());
            closed[i] = start[i].Distance(end[i]) <= tolerance;
        }
    } catch (const Standard_Failure&) {
        return false;
    }
    // The first unused open curve with an end at p: its index and whether
    // that end is its own end (so that it continues from its end backwards).
    auto find_at = [&](const gp_Pnt& p, size_t& index, bool& at_end) {
        for (size_t j = 0; j < n; ++j) {
            if (used[j] || closed[j]) continue;
            if (start[j].Distance(p) <= tolerance) {
                index = j;
                at_end = false;
                return true;
            }
            if (end[j].Distance(p) <= tolerance) {
                index = j;
                at_end = true;
                return true;
            }
        }
        return false;
    };

    chains.clear();
    for (size_t i = 0; i < n; ++i) {
        if (used[i]) continue;
        used[i] = true;
        Chain chain;
        chain.links.push_back({i, false});
        if (closed[i]) {
            chain.closed = true;
            chains.push_back(chain);
            continue;
        }
        gp_Pnt head = start[i], tail = end[i];
        size_t j = 0;
        bool at_end = false;
        // Forward from the tail, then backward from the head.
        while (!chain.closed && find_at(tail, j, at_end)) {
            used[j] = true;
            chain.links.push_back({j, at_end});
            tail = at_end ? start[j] : end[j];
            chain.closed = tail.Distance(head) <= tolerance;
        }
        while (!chain.closed && find_at(head, j, at_end)) {
            used[j] = true;
            // Joining the head with its end runs forward into it.
            chain.links.insert(chain.links.begin(), {j, !at_end});
            head = at_end ? start[j] : end[j];
            chain.closed = tail.Distance(head) <= tolerance;
        }
        chains.push_back(chain);
    }
    return true;
}

Handle(Geom_BSplineCurve) join_chain(const std::vector<Handle(Geom_Curve)>& curves, const Chain& chain,
                                     double tolerance) {
    try {
        GeomConvert_CompCurveToBSplineCurve joiner;
        bool first = true;
        for (const ChainLink& link : chain.links) {
            Handle(Geom_BSplineCurve) piece = to_bspline(curves[link.index]);
            if (piece.IsNull()) return nullptr;
            if (link.reversed) piece->Reverse();
            if (first) {
                joiner = GeomConvert_CompCurveToBSplineCurve(piece);
                first = false;
                continue;
            }
            // A minimal multiplicity above any degree keeps every junction
            // knot as it is: corners stay corners and smooth joins stay exact.
            if (!joiner.Add(piece, std::max(tolerance, 1.0e-7), true, false, 1000)) return nullptr;
        }
        return first ? nullptr : joiner.BSplineCurve();
    } catch (const Standard_Failure&) {
        return nullptr;
    }
}

int join_objects(const std::vector<tag_t>& tags, double tolerance, tag_t* joined) {
    *joined = 0;
    if (tags.empty()) return HM_ERR_BAD_ARGUMENT;
    std::vector<Handle(Geom_Curve)> curves;
    for (tag_t t : tags) {
        Object* o = find(t);
        if (!o) return HM_ERR_INVALID_TAG;
        Handle(Geom_Curve) c = curve_of(*o);
        if (c.IsNull()) return HM_ERR_WRONG_TYPE;
        curves.push_back(c);
    }
    if (!work_part_data()) return HM_ERR_NO_PART;
    std::vector<Chain> chains;
    if (!make_chains(curves, tolerance, chains) || chains.size() != 1) return HM_ERR_GEOMETRY;
    Handle(Geom_BSplineCurve) curve = join_chain(curves, chains.front(), tolerance);
    if (curve.IsNull()) return HM_ERR_GEOMETRY;
    Object& o = create(HM_spline_type, 0);
    o.curve = curve;
    *joined = o.tag;
    return 0;
}

}  // namespace host

using host::find;

namespace {

// The curves of the tags (curve objects or edges), with the usual codes.
int curves_of(int n, const tag_t* tags, std::vector<Handle(Geom_Curve)>& curves) {
    if (n > 0 && !tags) return HM_ERR_NULL_POINTER;
    if (n < 0) return HM_ERR_BAD_ARGUMENT;
    for (int i = 0; i < n; ++i) {
        host::Object* o = find(tags[i]);
        if (!o) return HM_ERR_INVALID_TAG;
        Handle(Geom_Curve) c = host::curve_of(*o);
        if (c.IsNull()) return HM_ERR_WRONG_TYPE;
        curves.push_back(c);
    }
    return 0;
}

}  // namespace

/* ---- loops ---- */

int CRV_LST_make_loops(int option, int n_curves, const tag_t* curves, double tolerance, int* n_closed,
                       CRV_LST_loop_p_t* closed_loops, int* n_open, CRV_LST_loop_p_t* open_loops) {
    return host::guarded(__func__, [&]() -> int {
        (void)option;
        if (!n_closed || !closed_loops || !n_open || !open_loops) return HM_ERR_NULL_POINTER;
        if (!(tolerance >= 0.0)) return HM_ERR_BAD_ARGUMENT;
        std::vector<Handle(Geom_Curve)> geometry;
        if (int r = curves_of(n_curves, curves, geometry)) return r;
        std::vector<host::Chain> chains;
        if (!host::make_chains(geometry, tolerance, chains)) return HM_ERR_GEOMETRY;

        CRV_LST_loop_p_t heads[2] = {nullptr, nullptr};
        CRV_LST_loop_p_t* tails[2] = {&heads[0], &heads[1]};
        int counts[2] = {0, 0};
        for (const host::Chain& chain : chains) {
            const int kind = chain.closed ? 0 : 1;
            auto* node = static_cast<CRV_LST_loop_p_t>(SM_calloc(1, sizeof(CRV_LST_loop_t)));
            node->n_curves = static_cast<int>(chain.links.size());
            node->curves = static_cast<tag_t*>(SM_alloc(chain.links.size() * sizeof(tag_t)));
            for (size_t i = 0; i < chain.links.size(); ++i) node->curves[i] = curves[chain.links[i].index];
            *tails[kind] = node;
            tails[kind] = &node->next;
            ++counts[kind];
        }
        *n_closed = counts[0];
        *closed_loops = heads[0];
        *n_open = counts[1];
        *open_loops = heads[1];
        return 0;
    });
}

int CRV_LST_get_eids_in_loop(CRV_LST_loop_p_t loop, int* n_curves, tag_t** curves) {
    return host::guarded(__func__, [&]() -> int {
        if (!loop || !n_curves || !curves) return HM_ERR_NULL_POINTER;
        *n_curves = loop->n_curves;
        *curves = nullptr;
        if (loop->n_curves > 0) {
            *curves = static_cast<tag_t*>(SM_alloc(loop->n_curves * sizeof(tag_t)));
            std::copy(loop->curves, loop->curves + loop->n_curves, *curves);
        }
        return 0;
    });
}

// Reaches no kernel, so no kernel fault strikes it: a free never fails.
int CRV_LST_free_curve_list(CRV_LST_loop_p_t loops) {
    while (loops) {
        CRV_LST_loop_p_t next = loops->next;
        SM_free(loops->curves);
        SM_free(loops);
        loops = next;
    }
    return 0;
}

/* ---- joining ---- */

int HM_CURVE_create_joined_curve(hm_list_p_t curves, int join_mode, tag_t* joined) {
    return host::guarded(__func__, [&]() -> int {
        if (!joined) return HM_ERR_NULL_POINTER;
        *joined = 0;
        if (join_mode < 0 || join_mode > 3) return HM_ERR_BAD_ARGUMENT;
        return host::join_objects(host::list_items(curves), host::distance_tolerance(), joined);
    });
}

int CRV_JOIN_create_joined_curve(int n_curves, const tag_t* curves, double distance_tolerance,
                                 double angle_tolerance, tag_t* joined) {
    return host::guarded(__func__, [&]() -> int {
        (void)angle_tolerance;
        if (!joined) return HM_ERR_NULL_POINTER;
        *joined = 0;
        if (n_curves > 0 && !curves) return HM_ERR_NULL_POINTER;
        if (n_curves < 1 || !(distance_tolerance >= 0.0)) return HM_ERR_BAD_ARGUMENT;
        return host::join_objects(std::vector<tag_t>(curves, curves + n_curves), distance_tolerance, joined);
    });
}

int HM_CURVE_auto_join_curves(const tag_t* curves, int n_curves, int join_type, int* n_joined, tag_t** joined) {
    return host::guarded(__func__, [&]() -> int {
        if (!n_joined || !joined) return HM_ERR_NULL_POINTER;
        if (join_type < 0 || join_type > 3) return HM_ERR_BAD_ARGUMENT;
        std::vector<Handle(Geom_Curve)> geometry;
        if (int r = curves_of(n_curves, curves, geometry)) return r;
        if (!host::work_part_data()) return HM_ERR_NO_PART;
        const double tolerance = host::distance_tolerance();
        std::vector<host::Chain> chains;
        if (!host::make_chains(geometry, tolerance, chains)) return HM_ERR_GEOMETRY;
        std::vector<tag_t> made;
        for (const host::Chain& chain : chains) {
            Handle(Geom_Curve) c = geometry[chain.links.front().index];
            if (chain.links.size() > 1) c = host::join_chain(geometry, chain, tolerance);
            if (c.IsNull()) {
                for (tag_t t : made) host::erase(t);
                return HM_ERR_GEOMETRY;
            }
            made.push_back(host::store_curve(c).tag);
        }
        *n_joined = static_cast<int>(made.size());
        *joined = host::tag_array(made);
        return 0;
    });
}
