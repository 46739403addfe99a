// The 2003 release's point-cloud envelope rule function: the points given,
// with the facet vertices of the objects and components given, gathered
// facet by facet into the host's dynamic arrays, placed at every position of
// a motion, offset in one pass and wrapped in one convex solid.
#include "r2003_envelope.h"

#include "envelope/eve_internal.h"

#include "elvosk.h"
#include "gostrel.h"
#include "omvra.h"
#include "quillon.h"
#include "tessik.h"
#include "yarrowin.h"
#include "toolbox/detail/finite.h"
#include "toolbox/detail/owners.h"

#include <vector>

namespace carvell::r2003 {
namespace {

using envelope::Hull;

// Side of the kernel block that stands for an envelope of no points.
constexpr double kNoPointsBlock = 0.001;

// A dynamic array of points (three doubles each), freed on every way out.
class PointArray {
public:
    PointArray() = default;
    ~PointArray() { CARR_free(array_); }
    PointArray(const PointArray&) = delete;
    PointArray& operator=(const PointArray&) = delete;
    int create() { return CARR_create(3 * sizeof(double), &array_); }
    int append(const double* points, int n) { return CARR_append(array_, points, n); }
    int count() const { return CARR_ask_count(array_); }
    double* data() const { return static_cast<double*>(CARR_ask_data(array_)); }

private:
    CARR_array_t array_ = nullptr;
};

bool is_kind(tag_t object, int type, int subtype) {
    int t = 0, s = 0;
    return HM_OBJ_ask_type_and_subtype(object, &t, &s) == 0 && t == type && s == subtype;
}

// The corners of every facet of the model (part units), three a facet.
int gather_model(tag_t model, PointArray& points) {
    int facet = -1;
    for (;;) {
        if (const int code = HM_FACET_cycle_facets(model, &facet)) return code;
        if (facet == -1) return 0;
        int n = 0;
        double corners[3][3];
        if (const int code = HM_FACET_ask_vertices_of_facet(model, facet, &n, corners)) return code;
        if (const int code = points.append(&corners[0][0], n)) return code;
    }
}

// A body's facets through its facetted models (one made now when it has
// none); a body that an envelope made is left out.
int gather_body(tag_t body, PointArray& points) {
    if (envelope::made_by_envelope(body)) return 0;
    std::vector<tag_t> models;
    bool made = false;
    if (const int code = envelope::models_of_body(body, &models, &made)) return code;
    for (tag_t model : models)
        if (const int code = gather_model(model, points)) return code;
    return 0;
}

// An object of the list: a feature stands for its body; facetted models and
// solid bodies are gathered, other objects passed over.
int gather_object(tag_t object, PointArray& points) {
    if (is_kind(object, HM_feature_type, 0) && HM_MODL_ask_feat_body(object, &object) != 0) return 0;
    if (is_kind(object, HM_facet_model_type, HM_facet_solid_subtype) ||
        is_kind(object, HM_facet_model_type, HM_facet_indexed_subtype))
        return gather_model(object, points);
    if (is_kind(object, HM_solid_type, HM_solid_body_subtype)) return gather_body(object, points);
    return 0;
}

// A component: the solid bodies of the work part that it places.
int gather_component(tag_t component, PointArray& points) {
    if (component == 0) return 0;
    const tag_t work = HM_ASSEM_ask_work_part();
    for (tag_t body = HM_OBJ_cycle_objs_in_part(work, HM_solid_type, 0); body != 0;
         body = HM_OBJ_cycle_objs_in_part(work, HM_solid_type, body)) {
        if (!is_kind(body, HM_solid_type, HM_solid_body_subtype) || !HM_ASSEM_is_occurrence(body) ||
            HM_ASSEM_ask_part_occurrence(body) != component)
            continue;
        if (const int code = gather_body(body, points)) return code;
    }
    return 0;
}

// The points given, then the facet vertices of the objects (slot 1) and the
// components (slot 2), in part units.
int gather(KBL_arg_slot_t* slots, int n_points, x_DList point_list, PointArray& points) {
    if (n_points > 0) {
        std::vector<double> given;
        if (const int code = envelope::pop_point_values(point_list, n_points, &given)) return code;
        if (const int code = points.append(given.data(), n_points)) return code;
    }
    std::vector<tag_t> objects, components;
    if (const int code = envelope::list_tags(slots[1].list, HM_RQ_ask_tag, &objects)) return code;
    if (const int code = envelope::list_tags(slots[2].list, VD_RQ_ask_object_tag, &components)) return code;
    for (tag_t object : objects)
        if (const int code = gather_object(object, points)) return code;
    for (tag_t component : components)
        if (const int code = gather_component(component, points)) return code;
    return 0;
}

// The gathered points at every frame, in kernel metres, offset when asked,
// and the solid of their hull.
int build_envelope(KBL_arg_slot_t* slots, PointArray& gathered, double factor, tag_t* body) {
    double reference[16];
    if (HM_RQ_ask_frame(slots[3].value, reference) != 0) return EVE_ERR_WRONG_VALUE;
    const int frames = KBL_list_length(slots[4].list);
    PointArray placed;
    if (const int code = placed.create()) return code;
    int count = 0;
    if (const int code = envelope::place_at_frames(
            gathered.count(), gathered.data(), reference, frames - 1, slots[4].list,
            [&placed](const double* p) { return placed.append(p, 1); }, &count))
        return code;
    if (!detail::all_modelled(placed.data(), 3LL * count)) return -1;
    detail::HmBlock<double> points;
    {
        void* block = nullptr;
        if (const int code = HM_allocate_memory(3 * sizeof(double) * static_cast<size_t>(count), &block))
            return code;
        points.reset(static_cast<double*>(block));
    }
    for (int i = 0; i < 3 * count; ++i) points[i] = placed.data()[i] * factor;
    const int per_position = frames >= 1 ? count / frames : count;
    if (KBL_list_length(slots[6].list) > 0) {
        double* block = points.release();
        const int code = offset_envelope_points(&block, &count, per_position, slots[6].list, slots[5].integer, factor);
        points.reset(block);
        if (code != 0) return code;
    }
    Hull hull;
    if (const int code = hull.make(points.get(), count)) return code;
    return GWRAP__create_bv_body(&hull.input(), &hull.output(), 0.0, body);
}

}  // namespace
}  // namespace carvell::r2003

using namespace carvell::r2003;

int gen_convex_envelope(KBL_arg_slot_t* slots, int n_points, x_DList point_list) {
    if (!slots) return -1;
    slots[0].tag = 0;
    const double factor = carvell::envelope::metres_per_part_unit();
    mtStatusArea("Generating envelope");
    HM_print_syslog("Generating envelope ...\n", false);
    carvell::envelope::RuleSession session;
    PointArray gathered;
    int status = gathered.create();
    if (status == 0) status = gather(slots, n_points, point_list, gathered);
    tag_t body = 0;
    if (status == 0) {
        if (gathered.count() == 0)
            status = GQ_BODY_create_solid_block(kNoPointsBlock, kNoPointsBlock, kNoPointsBlock, nullptr, &body);
        else
            status = build_envelope(slots, gathered, factor, &body);
    }
    if (body == 0 && status == 0) status = -1;
    slots[0].tag = status == 0 ? body : 0;
    return status;
}
