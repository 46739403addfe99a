// The point-cloud envelope's rule-language functions: sampling the facet
// vertices of bodies and components down to their hull's vertices, and
// wrapping a point set placed at every position of a motion, optionally
// offset, in one convex solid.
#include "eve_internal.h"

#include "elvosk.h"
#include "gostrel.h"
#include "morvish.h"
#include "omvra.h"
#include "quillon.h"
#include "tessik.h"
#include "toolbox/detail/finite.h"
#include "toolbox/detail/owners.h"

#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace carvell::envelope {
namespace {

// Writes the facet vertices of the objects and components; *count lines.
int sample_into(int file, const std::vector<tag_t>& objects, const std::vector<tag_t>& components, int* count) {
    *count = 0;
    int written = 0;
    if (const int code = ask_obj_facet_vertices(static_cast<int>(objects.size()), objects.data(), &written, file))
        return code;
    *count += written;
    for (tag_t component : components) {
        if (component == 0) continue;
        written = 0;
        const int code = ask_assembly_facet_vertices(component, &written, file);
        *count += written;
        if (code != 0) return code;
    }
    return 0;
}

// The hull vertices of the points in a new block of the memory manager.
int hull_vertices(const std::vector<double>& points, int* out_count, double** out_points) {
    Hull hull;
    if (hull.make(points.data(), static_cast<int>(points.size() / 3)) != 0 || hull.vertex_count() < 1) return -1;
    auto* block = static_cast<double*>(SM_alloc(3 * sizeof(double) * hull.vertex_count()));
    if (!block) return -1;
    std::memcpy(block, hull.vertex(0), 3 * sizeof(double) * hull.vertex_count());
    *out_count = hull.vertex_count();
    *out_points = block;
    return 0;
}

}  // namespace

int list_tags(x_DList list, int (*ask)(const Value*, tag_t*), std::vector<tag_t>* tags) {
    const int n = KBL_list_length(list);
    for (int i = 0; i < n; ++i) {
        const Value value = KBL_list_pop(list);
        tag_t tag = 0;
        if (ask(&value, &tag) != 0) return EVE_ERR_WRONG_VALUE;
        tags->push_back(tag);
    }
    return 0;
}

int pop_point_values(x_DList list, int n, std::vector<double>* points) {
    for (int i = 0; i < n; ++i) {
        const Value value = KBL_list_pop(list);
        if (value.kind != KBL_KIND_POINT || !value.data) return EVE_ERR_WRONG_VALUE;
        const auto* p = static_cast<const double*>(value.data);
        if (!detail::all_modelled(p, 3)) return -1;
        points->insert(points->end(), p, p + 3);
    }
    return 0;
}

int place_at_frames(int n, double* points, const double reference[16], int k, x_DList frames,
                    const std::function<int(const double*)>& emit, int* out_count) {
    *out_count = 0;
    double first[16];
    if (k >= 0) {
        const Value f0 = KBL_list_pop(frames);
        if (HM_RQ_ask_frame(&f0, first) != 0) return EVE_ERR_WRONG_VALUE;
        double t[16];
        if (const int code = compute_transform(reference, first, t)) return code;
        for (int i = 0; i < n; ++i) {
            double moved[3];
            HM_MTX4_vec3_multiply(points + 3 * i, t, moved);
            std::memcpy(points + 3 * i, moved, sizeof moved);
        }
    }
    for (int i = 0; i < n; ++i)
        if (const int code = emit(points + 3 * i)) return code;
    *out_count = n;
    for (int f = 1; f <= k; ++f) {
        const Value fi = KBL_list_pop(frames);
        double frame[16], t[16];
        if (HM_RQ_ask_frame(&fi, frame) != 0) return EVE_ERR_WRONG_VALUE;
        if (const int code = compute_transform(first, frame, t)) return code;
        for (int i = 0; i < n; ++i) {
            double moved[3];
            HM_MTX4_vec3_multiply(points + 3 * i, t, moved);
            if (const int code = emit(moved)) return code;
        }
        *out_count += n;
    }
    return 0;
}

int write_framed_points(int n, double* points, const double reference[16], int k, x_DList frames, int* out_count,
                        int file) {
    return place_at_frames(n, points, reference, k, frames, [file](const double* p) { return write_point(file, p); },
                           out_count);
}

int read_points_in_chunks(int file, int total, int chunk, std::vector<double>* points) {
    if (total <= chunk) return read_points(file, total, 1.0, points);
    for (int start = 0; start < total; start += chunk) {
        std::vector<double> part;
        if (const int code = read_points(file, std::min(chunk, total - start), 1.0, &part)) return code;
        Hull hull;
        if (hull.make(part.data(), static_cast<int>(part.size() / 3)) == 0)
            points->insert(points->end(), hull.vertex(0), hull.vertex(0) + 3 * hull.vertex_count());
        else   // too few or flat for a hull: the chunk's points stand for themselves
            points->insert(points->end(), part.begin(), part.end());
    }
    return 0;
}

}  // namespace carvell::envelope

using namespace carvell::envelope;

int compute_transform(const double from[16], const double to[16], double out[16]) {
    if (!from || !to || !out || !carvell::detail::all_modelled(from, 16) || !carvell::detail::all_modelled(to, 16)) return -1;
    double axes[2][3][3];   // [frame][origin, x, y]
    const double* frames[2] = {from, to};
    for (int f = 0; f < 2; ++f) {
        double rotation[9], transposed[9];
        HM_MTX4_ask_translation(frames[f], axes[f][0]);
        HM_MTX4_ask_rotation(frames[f], rotation);
        HM_MTX3_transpose(rotation, transposed);
        HM_MTX3_x_vec(transposed, axes[f][1]);
        HM_MTX3_y_vec(transposed, axes[f][2]);
    }
    return HM_MTX4_csys_to_csys(axes[0][0], axes[0][1], axes[0][2], axes[1][0], axes[1][1], axes[1][2], out);
}

int hm_vd_eve_sample_points(KBL_arg_slot_t* slots, int* out_count, double** out_points) {
    if (out_count) *out_count = 0;
    if (out_points) *out_points = nullptr;
    if (!slots || !out_count || !out_points) return -1;
    std::string path;
    if (!scratch_path(&path)) return -1;
    RuleSession session;
    if (KBL_list_length(slots[1].list) == 0 && KBL_list_length(slots[2].list) == 0) return -1;
    std::vector<tag_t> objects, components;
    if (const int code = list_tags(slots[1].list, HM_RQ_ask_tag, &objects)) return code;
    if (const int code = list_tags(slots[2].list, VD_RQ_ask_object_tag, &components)) return code;
    ScratchFile scratch(path);
    if (const int code = scratch.open(CFI_OPEN_WRITE)) return code;
    int total = 0;
    if (const int code = sample_into(scratch.number(), objects, components, &total)) return code;
    scratch.close();
    if (const int code = scratch.open(CFI_OPEN_READ)) return code;
    std::vector<double> points;
    if (const int code = read_points_in_chunks(scratch.number(), total, kSampleChunk, &points)) return code;
    scratch.close();
    return hull_vertices(points, out_count, out_points);
}
