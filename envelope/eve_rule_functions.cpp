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
#include <string>
#include <vector>

namespace carvell::envelope {
namespace {

// The host-API session of one rule function, closed on every way out.
class Session {
public:
    Session() { HM_initialize(); }
    ~Session() { HM_terminate(); }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;
};

// A scratch file open under its number, closed when it goes out of scope.
class ScratchFile {
public:
    explicit ScratchFile(std::string path) : path_(std::move(path)) {}
    ~ScratchFile() {
        close();
        if (remove_) CFI_delete_file(path_.c_str(), kScratchFileType);
    }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;
    int open(int access) {
        close();
        const int code = CFI_open_file(path_.c_str(), access, kScratchFileType, 2, &file_);
        if (code == 0) {
            open_ = true;
            remove_ = true;
        }
        return code;
    }
    void close() {
        if (open_) CFI_close_file(file_);
        open_ = false;
    }
    int number() const { return file_; }
    const char* path() const { return path_.c_str(); }

private:
    std::string path_;
    int file_ = 0;
    bool open_ = false;
    bool remove_ = false;
};

int write_point(int file, const double p[3]) {
    char line[VD_EVE_PATH_SIZE];
    std::snprintf(line, sizeof line, "%f %f %f", p[0], p[1], p[2]);
    return CFI_write_line(file, line);
}

// Reads up to n points ("%f %f %f", single precision) scaled by `scale`.
int read_points(int file, int n, double scale, std::vector<double>* points) {
    char line[VD_EVE_PATH_SIZE];
    for (int i = 0; i < n; ++i) {
        float x = 0.0f, y = 0.0f, z = 0.0f;
        if (CFI_read_line(file, line, sizeof line) != 0 || std::sscanf(line, "%f %f %f", &x, &y, &z) != 3)
            return -2;
        points->insert(points->end(), {x * scale, y * scale, z * scale});
    }
    return 0;
}

// Tags of the values of a list read with `ask`; EVE_ERR_WRONG_VALUE for a
// value of another kind.
template <typename Ask>
int list_tags(x_DList list, Ask ask, std::vector<tag_t>* tags) {
    const int n = KBL_list_length(list);
    for (int i = 0; i < n; ++i) {
        const Value value = KBL_list_pop(list);
        tag_t tag = 0;
        if (ask(&value, &tag) != 0) return EVE_ERR_WRONG_VALUE;
        tags->push_back(tag);
    }
    return 0;
}

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

// The point values of a list; EVE_ERR_WRONG_VALUE for another kind, -1 for
// a point not finite or beyond the model space.
int pop_points(x_DList list, int n, std::vector<double>* points) {
    for (int i = 0; i < n; ++i) {
        const Value value = KBL_list_pop(list);
        if (value.kind != KBL_KIND_POINT || !value.data) return EVE_ERR_WRONG_VALUE;
        const auto* p = static_cast<const double*>(value.data);
        if (!detail::all_modelled(p, 3)) return -1;
        points->insert(points->end(), p, p + 3);
    }
    return 0;
}

// The placed points written to the scratch file, read back in metres,
// offset when asked; the solid made of them. *body 0 when none was made.
int build_envelope(KBL_arg_slot_t* slots, std::vector<double>& points, ScratchFile& scratch, double factor,
                   tag_t* body) {
    const int n = static_cast<int>(points.size() / 3);
    double reference[16];
    const Value* reference_value = slots[3].value;
    if (HM_RQ_ask_frame(reference_value, reference) != 0) return EVE_ERR_WRONG_VALUE;
    const int frames = KBL_list_length(slots[4].list);
    int count = 0;
    if (const int code = scratch.open(CFI_OPEN_WRITE)) return code;
    if (const int code = write_framed_points(n, points.data(), reference, frames - 1, slots[4].list, &count,
                                             scratch.number()))
        return code;
    scratch.close();
    points.clear();
    if (const int code = scratch.open(CFI_OPEN_READ)) return code;
    detail::SmBlock<double> placed;
    {
        std::vector<double> read;
        if (const int code = read_points(scratch.number(), count, factor, &read)) return code;
        scratch.close();
        placed.reset(static_cast<double*>(SM_alloc(std::max<size_t>(read.size(), 3) * sizeof(double))));
        if (!placed) return -1;
        std::copy(read.begin(), read.end(), placed.get());
    }
    const int per_position = frames >= 1 ? count / frames : count;
    if (KBL_list_length(slots[6].list) > 0) {
        double* block = placed.release();
        const int code = apply_envelope_offsets(&block, &count, per_position, slots[6].list, slots[5].integer, factor);
        placed.reset(block);
        if (code != 0) return code;
    }
    if (const int code = scratch.open(CFI_OPEN_WRITE)) return code;
    for (int i = 0; i < count; ++i)
        if (const int code = write_point(scratch.number(), placed.get() + 3 * i)) return code;
    scratch.close();
    return VD_EVE_create_bv_body_from_points(scratch.path(), count, body);
}

}  // namespace

int write_framed_points(int n, double* points, const double reference[16], int k, x_DList frames, int* out_count,
                        int file) {
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
        if (const int code = write_point(file, points + 3 * i)) return code;
    *out_count = n;
    for (int f = 1; f <= k; ++f) {
        const Value fi = KBL_list_pop(frames);
        double frame[16], t[16];
        if (HM_RQ_ask_frame(&fi, frame) != 0) return EVE_ERR_WRONG_VALUE;
        if (const int code = compute_transform(first, frame, t)) return code;
        for (int i = 0; i < n; ++i) {
            double moved[3];
            HM_MTX4_vec3_multiply(points + 3 * i, t, moved);
            if (const int code = write_point(file, moved)) return code;
        }
        *out_count += n;
    }
    return 0;
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
    Session session;
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

int gen_convex_envelope(KBL_arg_slot_t* slots, int n_points, x_DList point_list) {
    if (!slots) return -1;
    slots[0].tag = 0;
    std::string path;
    if (!scratch_path(&path)) return -1;
    const double factor = metres_per_part_unit();
    mtStatusArea("Generating envelope");
    HM_print_syslog("Generating envelope ...\n", false);
    Session session;
    tag_t body = 0;
    int status = 0;
    if (n_points <= 0) {
        status = GQ_BODY_create_solid_block(0.001, 0.001, 0.001, nullptr, &body);
    } else {
        std::vector<double> points;
        status = pop_points(point_list, n_points, &points);
        ScratchFile scratch(path);
        if (status == 0) status = build_envelope(slots, points, scratch, factor, &body);
    }
    if (body == 0 && status == 0) status = -1;
    slots[0].tag = status == 0 ? body : 0;
    return status;
}
