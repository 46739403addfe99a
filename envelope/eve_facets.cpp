// Facet vertices of the bodies and components a point-cloud envelope wraps:
// facetted models written as they are, solid bodies through their models
// (facetted now when they have none), components through the models and
// bodies of the work part that belong to them. Bodies that an envelope made
// are never sampled, so one envelope does not feed the next.
#include "eve_internal.h"

#include "omvra.h"
#include "quillon.h"
#include "rostval.h"
#include "yarrowin.h"
#include "toolbox/detail/finite.h"
#include "toolbox/detail/owners.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace carvell::envelope {
namespace {

// Marker in the feature names of bodies an envelope made.
constexpr const char* kEnvelopeMarker = "Envelope";

int write_vertex(int file, const double v[3], double scale) {
    char line[VD_EVE_PATH_SIZE];
    std::snprintf(line, sizeof line, "%f %f %f", v[0] * scale, v[1] * scale, v[2] * scale);
    return CFI_write_line(file, line);
}

int write_body(tag_t body, int file, int* count) {
    if (made_by_envelope(body)) return 0;
    std::vector<tag_t> models;
    bool made = false;
    if (const int code = models_of_body(body, &models, &made)) return code;
    for (tag_t model : models) {
        int written = 0;
        if (const int code = write_facet_model_vertices(model, file, &written)) return code;
        *count += written;
    }
    return 0;
}

bool is_kind(tag_t object, int type, int subtype) {
    int t = 0, s = 0;
    return HM_OBJ_ask_type_and_subtype(object, &t, &s) == 0 && t == type && s == subtype;
}

// The part a component places, loaded when it is not; 0 on failure.
int component_part(tag_t component, tag_t* part) {
    *part = HM_ASSEM_ask_prototype_of_occ(component);
    if (*part != 0) return 0;
    char name[HM_MAX_FSPEC_BUFSIZE] = "";
    if (HM_ASSEM_ask_component_data(component, name, nullptr, nullptr, nullptr, nullptr, nullptr) != 0 || !*name)
        return -1;
    const tag_t work = HM_ASSEM_ask_work_part();
    const tag_t display = HM_PART_ask_display_part();
    HM_PART_load_status_t status{};
    const int code = HM_PART_open_quiet(name, part, &status);
    for (int i = 0; i < status.n_parts; ++i) SM_free(status.file_names[i]);
    SM_free(status.file_names);
    SM_free(status.statuses);
    // Loading a part for its facets does not change what the user works in.
    HM_PART_set_display_part(display);
    HM_ASSEM_set_work_part(work);
    if (code != 0 || status.failed || *part == 0) return EVE_ERR_WRONG_VALUE;
    return 0;
}

// Whether a facetted model or body of the work part stands for the
// component (*counts). An occurrence's part is loaded first when it is not
// (EVE_ERR_WRONG_VALUE when it cannot be). A model made from a solid counts
// by that solid located in the model's part occurrence, else by itself; what
// counts is an occurrence whose part occurrence is the component. *solid is
// the body the object stands for (0 for a model of none).
int stands_for(tag_t object, tag_t component, bool* counts, tag_t* solid) {
    *counts = false;
    const tag_t part_occ = HM_ASSEM_ask_part_occurrence(object);
    if (HM_ASSEM_is_occurrence(object)) {
        tag_t part = 0;
        if (part_occ == 0 || component_part(part_occ, &part) != 0) return EVE_ERR_WRONG_VALUE;
    }
    tag_t candidate = object;
    *solid = 0;
    if (is_kind(object, HM_facet_model_type, HM_facet_solid_subtype) ||
        is_kind(object, HM_facet_model_type, HM_facet_indexed_subtype)) {
        tag_t made_from = 0;
        (void)HM_FACET_ask_solid_of_model(object, &made_from);
        const tag_t located = made_from != 0 && part_occ != 0 ? HM_ASSEM_find_occurrence(part_occ, made_from) : 0;
        if (located != 0) candidate = located;
        *solid = located != 0 ? located : made_from;
    } else {
        *solid = object;
    }
    *counts = HM_ASSEM_is_occurrence(candidate) && HM_ASSEM_ask_part_occurrence(candidate) == component;
    return 0;
}

}  // namespace

bool made_by_envelope(tag_t body) {
    hm_list_p_t list = nullptr;
    if (HM_MODL_ask_body_feats(body, &list) != 0) return false;
    detail::HostList features(list);
    for (tag_t feature : features.items()) {
        detail::SmBlock<char> name;
        if (HM_MODL_ask_feat_name(feature, name.out()) == 0 && name && std::strstr(name.get(), kEnvelopeMarker))
            return true;
    }
    return false;
}

// The body's facetted models; one made now with the host's defaults when it
// has none (*made set).
int models_of_body(tag_t body, std::vector<tag_t>* models, bool* made) {
    *made = false;
    int n = 0;
    detail::SmBlock<tag_t> found;
    if (const int code = HM_FACET_ask_models_of_solid(body, &n, found.out())) return code;
    models->assign(found.get(), found.get() + n);
    if (n > 0) return 0;
    HM_FACET_parameters_t parameters{};
    if (const int code = HM_FACET_ask_default_parameters(&parameters)) return code;
    tag_t model = 0;
    if (const int code = HM_FACET_facet_solid(body, &parameters, &model)) return code;
    models->push_back(model);
    *made = true;
    return 0;
}

int write_facet_model_vertices(tag_t model, int file, int* count) {
    *count = 0;
    const double scale = pxsfac[1];   // kernel metres to part units
    if (FACET_is_zv_body(model)) {
        const int n = FACET_ask_max_vertex_index(model);
        for (int i = 0; i < n; ++i) {
            double v[3];
            if (const int code = FACET_ask_vertex_of_index(model, i, v)) return code;
            if (const int code = write_vertex(file, v, scale)) return code;
            ++*count;
        }
        return 0;
    }
    double* vertices = nullptr;
    const int n = FACET_ask_vertices_of_topology(model, &vertices, true);
    detail::SmBlock<double> owned(vertices);
    for (int i = 0; i < n; ++i) {
        if (const int code = write_vertex(file, vertices + 3 * i, scale)) return code;
        ++*count;
    }
    return 0;
}

}  // namespace carvell::envelope

using namespace carvell::envelope;

int ask_obj_facet_vertices(int n, const tag_t* tags, int* out_count, int file) {
    if (!out_count) return -1;
    *out_count = 0;
    if (n < 1) return 0;
    if (!tags || !carvell::detail::count_fits(n, sizeof(tag_t))) return -1;
    int status = 0;
    for (int i = 0; i < n; ++i) {
        tag_t object = tags[i];
        if (is_kind(object, HM_feature_type, 0) && HM_MODL_ask_feat_body(object, &object) != 0) continue;
        int written = 0;
        if (is_kind(object, HM_facet_model_type, HM_facet_solid_subtype) ||
            is_kind(object, HM_facet_model_type, HM_facet_indexed_subtype))
            status = write_facet_model_vertices(object, file, &written);
        else if (is_kind(object, HM_solid_type, HM_solid_body_subtype))
            status = write_body(object, file, &written);
        *out_count += written;
        if (status != 0) return status;
    }
    return status;
}

int ask_assembly_facet_vertices(tag_t component, int* out_count, int file) {
    if (!out_count) return -1;
    *out_count = 0;
    if (component == 0 || !is_kind(component, HM_component_type, 0)) return -1;
    tag_t part = 0;
    if (const int code = component_part(component, &part)) return code;
    const tag_t work = HM_ASSEM_ask_work_part();
    const bool own = part == work;
    // First pass: the facetted models of the work part that stand for the component.
    bool models_found = false;
    for (tag_t model = HM_OBJ_cycle_objs_in_part(work, HM_facet_model_type, 0); model != 0;
         model = HM_OBJ_cycle_objs_in_part(work, HM_facet_model_type, model)) {
        tag_t solid = 0;
        if (own) {
            (void)HM_FACET_ask_solid_of_model(model, &solid);
        } else {
            bool counts = false;
            if (const int code = stands_for(model, component, &counts, &solid)) return code;
            if (!counts) continue;
        }
        if (solid != 0 && made_by_envelope(solid)) continue;
        int written = 0;
        if (const int code = write_facet_model_vertices(model, file, &written)) return code;
        *out_count += written;
        models_found = true;
    }
    // Second pass: bodies; those with facetted models only when the first
    // pass found none (their facets are written already).
    std::vector<tag_t> bodies;
    for (tag_t body = HM_OBJ_cycle_objs_in_part(work, HM_solid_type, 0); body != 0;
         body = HM_OBJ_cycle_objs_in_part(work, HM_solid_type, body)) {
        if (!is_kind(body, HM_solid_type, HM_solid_body_subtype)) continue;
        bool counts = own;
        tag_t solid = 0;
        if (!own)
            if (const int code = stands_for(body, component, &counts, &solid)) return code;
        if (counts) bodies.push_back(body);
    }
    for (tag_t body : bodies) {
        int n = 0;
        carvell::detail::SmBlock<tag_t> models;
        if (const int code = HM_FACET_ask_models_of_solid(body, &n, models.out())) return code;
        if (n > 0 && models_found) continue;
        int written = 0;
        if (const int code = write_body(body, file, &written)) return code;
        *out_count += written;
    }
    return 0;
}
