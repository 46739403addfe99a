// The 2003 release's offsets of a point-cloud envelope, read from the rule
// function's offset list and applied in one pass: extend sweeps the point
// set along vectors and keeps the hull of all of it; enlarge pushes the hull
// of each named position out across its faces. Points are in the kernel's
// metres.
#include "r2003_envelope.h"

#include "../release2006/r2006_offset_corner.h"
#include "envelope/eve_internal.h"

#include "omvra.h"
#include "toolbox/detail/finite.h"
#include "toolbox/detail/owners.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <unordered_map>
#include <vector>

namespace carvell::r2003 {
namespace {

using envelope::Hull;

// Distances below this skip their pair.
constexpr double kNoDistance = 1e-7;
// A vertex direction this short is still unset.
constexpr double kZeroDirection = 1e-5;

// The three doubles of a vector item (a point or a vector value).
bool vector_item(const Value& item, double out[3]) {
    if ((item.kind != KBL_KIND_POINT && item.kind != KBL_KIND_VECTOR) || !item.data) return false;
    std::memcpy(out, item.data, 3 * sizeof(double));
    return detail::all_modelled(out, 3);
}

// A distance: a number or an integer item.
bool distance_item(const Value& item, double* out) {
    if (item.kind == KBL_KIND_NUMBER && item.data)
        *out = *static_cast<const double*>(item.data);
    else if (item.kind == KBL_KIND_INTEGER && item.data)
        *out = *static_cast<const int*>(item.data);
    else
        return false;
    return detail::all_modelled(out, 1);
}

// A new block of the host's memory manager holding the values.
int new_block(const std::vector<double>& values, double** block) {
    void* made = nullptr;
    if (const int code = HM_allocate_memory(std::max<size_t>(values.size(), 3) * sizeof(double), &made)) return code;
    std::copy(values.begin(), values.end(), static_cast<double*>(made));
    *block = static_cast<double*>(made);
    return 0;
}

int extend(double** points, int* count, x_DList list, double factor) {
    const int n = *count;
    const std::vector<double> input(*points, *points + 3 * static_cast<size_t>(n));
    std::vector<double> current = input;
    const int pairs = KBL_list_length(list) / 2;
    for (int i = 0; i < pairs; ++i) {
        double vector[3], unit[3] = {0, 0, 0}, distance = 0.0, magnitude = 0.0;
        if (!vector_item(KBL_list_pop(list), vector)) return EVE_ERR_WRONG_VALUE;
        if (HM_VEC3_unitize(vector, 0.0, &magnitude, unit) != 0) unit[0] = unit[1] = unit[2] = 0.0;
        if (!distance_item(KBL_list_pop(list), &distance)) return EVE_ERR_WRONG_VALUE;
        if (std::fabs(distance) < kNoDistance) continue;
        distance *= factor;
        current.reserve(current.size() + input.size());
        for (int p = 0; p < n; ++p)
            for (int c = 0; c < 3; ++c) current.push_back(input[3 * p + c] + distance * unit[c]);
        Hull hull;
        if (const int code = hull.make(current.data(), static_cast<int>(current.size() / 3))) return code;
        current.clear();
        current.reserve(9 * static_cast<size_t>(hull.facet_count()) + input.size());
        for (int f = 0; f < hull.facet_count(); ++f)
            for (int v : hull.facet(f).verts) current.insert(current.end(), hull.vertex(v), hull.vertex(v) + 3);
    }
    double* block = nullptr;
    if (const int code = new_block(current, &block)) return code;
    HM_free(*points);
    *points = block;
    *count = static_cast<int>(current.size() / 3);
    return 0;
}

// Exact coordinates of a point, to find a hull vertex among the points it
// was made of.
struct Key {
    double x, y, z;
    bool operator==(const Key& o) const { return x == o.x && y == o.y && z == o.z; }
};
struct KeyHash {
    size_t operator()(const Key& k) const {
        const std::hash<double> h;
        return h(k.x) ^ (h(k.y) * 31u) ^ (h(k.z) * 1000003u);
    }
};

// The points of one position, each hull vertex pushed by distance along the
// direction its faces give it (points inside the hull stay), appended to out.
int enlarge_group(const double* group, int n, double distance, std::vector<double>* out) {
    Hull hull;
    if (const int code = hull.make(group, n)) return code;
    const int nv = hull.vertex_count();
    std::vector<double> directions(3 * static_cast<size_t>(nv), 0.0);
    for (int f = 0; f < hull.facet_count(); ++f) {
        const CHULL_facet_t& facet = hull.facet(f);
        for (int v : facet.verts) {
            double* d = &directions[3 * static_cast<size_t>(v)];
            int zero = 0;
            HM_VEC3_is_zero(d, kZeroDirection, &zero);
            if (zero) {
                std::memcpy(d, facet.normal, sizeof facet.normal);
            } else {
                double combined[3];
                r2006::combine_offset_directions(d, facet.normal, combined);
                std::memcpy(d, combined, sizeof combined);
            }
        }
    }
    std::unordered_map<Key, int, KeyHash> vertex_of;
    vertex_of.reserve(static_cast<size_t>(nv));
    for (int v = 0; v < nv; ++v) vertex_of.emplace(Key{hull.vertex(v)[0], hull.vertex(v)[1], hull.vertex(v)[2]}, v);
    for (int p = 0; p < n; ++p) {
        const double* q = group + 3 * p;
        const auto it = vertex_of.find(Key{q[0], q[1], q[2]});
        const double* d = it == vertex_of.end() ? nullptr : &directions[3 * static_cast<size_t>(it->second)];
        for (int c = 0; c < 3; ++c) out->push_back(q[c] + (d ? distance * d[c] : 0.0));
    }
    return 0;
}

int enlarge(double** points, int* count, int per_position, x_DList list, double factor) {
    const int n = *count;
    if (per_position < 1 || per_position > n) per_position = n;
    const int groups = n / per_position;
    std::vector<double> output;
    output.reserve(3 * static_cast<size_t>(n));
    const int pairs = KBL_list_length(list) / 2;
    // Each pair writes one whole position: no more pairs are applied than
    // positions fit in the caller's block.
    int written = 0;
    for (int i = 0; i < pairs && written < groups; ++i) {
        const Value index = KBL_list_pop(list);
        if (index.kind != KBL_KIND_INTEGER || !index.data) return EVE_ERR_WRONG_VALUE;
        const int k = *static_cast<const int*>(index.data);
        // The distance is read whether or not the position exists, so that
        // the next pair is read as a pair.
        double distance = 0.0;
        if (!distance_item(KBL_list_pop(list), &distance)) return EVE_ERR_WRONG_VALUE;
        if (k < 1 || k > groups) continue;
        const double* group = *points + 3 * static_cast<size_t>(k - 1) * per_position;
        if (const int code = enlarge_group(group, per_position, distance * factor, &output)) return code;
        ++written;
    }
    if (!detail::all_modelled(output.data(), static_cast<long long>(output.size()))) return -1;
    std::copy(output.begin(), output.end(), *points);
    *count = static_cast<int>(output.size() / 3);
    return 0;
}

}  // namespace

int offset_envelope_points(double** points, int* count, int per_position, x_DList list, int mode, double factor) {
    if (!points || !*points || !count || *count < 1 || !detail::count_fits(3LL * *count, sizeof(double)) ||
        !detail::all_modelled(&factor, 1))
        return -1;
    return mode == 0 ? extend(points, count, list, factor) : enlarge(points, count, per_position, list, factor);
}

}  // namespace carvell::r2003
