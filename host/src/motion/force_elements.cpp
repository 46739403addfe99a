// Force elements of a mechanism: springs, dampers and forces of a
// magnitude function, and the function objects that carry such texts.
#include "motion/motion_records.h"

#include "core/checks.h"
#include "omvra.h"
#include "quillon.h"
#include "tolvric.h"

#include <cstring>
#include <string>

using namespace host::motion;

namespace {

int mechanism_check(tag_t mechanism) {
    if (host::find(mechanism, HM_motion_mechanism_type)) return 0;
    return host::find(mechanism) ? HM_ERR_WRONG_TYPE : HM_ERR_INVALID_TAG;
}

// Attached objects: 0 (ground) or alive objects.
bool attachable(const tag_t objects[2]) {
    for (int i = 0; i < 2; ++i)
        if (objects[i] != 0 && !host::find(objects[i])) return false;
    return true;
}

host::Object& new_element(int type, tag_t mechanism) {
    const host::Object* m = host::find(mechanism);
    return host::create(type, 0, m->part);
}

}  // namespace

int KMC_init_spring(KMC_spring_t* spring) {
    if (!spring) return HM_ERR_NULL_POINTER;
    *spring = KMC_spring_t{};
    return 0;
}

int KMC_init_damper(KMC_damper_t* damper) {
    if (!damper) return HM_ERR_NULL_POINTER;
    *damper = KMC_damper_t{};
    return 0;
}

int KMC_init_force(KMC_force_t* force) {
    if (!force) return HM_ERR_NULL_POINTER;
    *force = KMC_force_t{};
    force->label = SM_string_copy("");
    return 0;
}

void KMC_free_force(KMC_force_t* force) {
    if (!force) return;
    SM_free(force->label);
    force->label = nullptr;
}

int KMC_create_spring(tag_t mechanism, const KMC_spring_t* spring, tag_t* spring_obj) {
    if (!spring || !spring_obj) return HM_ERR_NULL_POINTER;
    if (int r = mechanism_check(mechanism)) return r;
    if (!attachable(spring->objects)) return HM_ERR_WRONG_TYPE;
    if (!host::finite_value(spring->stiffness) || !host::finite_value(spring->preload) ||
        !host::finite_values(spring->first_point, 3) || !host::finite_values(spring->second_point, 3))
        return HM_ERR_BAD_ARGUMENT;
    host::Object& o = new_element(HM_motion_spring_type, mechanism);
    o.data = SpringData{mechanism, *spring};
    *spring_obj = o.tag;
    return 0;
}

int KMC_create_damper(tag_t mechanism, const KMC_damper_t* damper, tag_t* damper_obj) {
    if (!damper || !damper_obj) return HM_ERR_NULL_POINTER;
    if (int r = mechanism_check(mechanism)) return r;
    if (!attachable(damper->objects)) return HM_ERR_WRONG_TYPE;
    if (!host::finite_value(damper->coefficient) || !host::finite_values(damper->first_point, 3) ||
        !host::finite_values(damper->second_point, 3))
        return HM_ERR_BAD_ARGUMENT;
    host::Object& o = new_element(HM_motion_damper_type, mechanism);
    o.data = DamperData{mechanism, *damper};
    *damper_obj = o.tag;
    return 0;
}

int KMC_create_force(tag_t mechanism, const KMC_force_t* force, tag_t* force_obj) {
    if (!force || !force_obj) return HM_ERR_NULL_POINTER;
    if (int r = mechanism_check(mechanism)) return r;
    if (!host::find(force->magnitude, HM_motion_function_type) || !attachable(force->objects))
        return HM_ERR_WRONG_TYPE;
    if (!host::finite_values(force->origin, 3) || !host::finite_values(force->direction, 3))
        return HM_ERR_BAD_ARGUMENT;
    ForceData d{mechanism, *force};
    d.record.label = nullptr;   // the caller's, freed with KMC_free_force
    host::Object& o = new_element(HM_motion_force_type, mechanism);
    o.data = d;
    *force_obj = o.tag;
    return 0;
}

int KMC_ask_spring(tag_t spring, KMC_spring_t* out) {
    if (!out) return HM_ERR_NULL_POINTER;
    const SpringData* d = record<SpringData>(spring, HM_motion_spring_type);
    if (!d) return host::find(spring) ? HM_ERR_WRONG_TYPE : HM_ERR_INVALID_TAG;
    *out = d->record;
    return 0;
}

int KMC_ask_damper(tag_t damper, KMC_damper_t* out) {
    if (!out) return HM_ERR_NULL_POINTER;
    const DamperData* d = record<DamperData>(damper, HM_motion_damper_type);
    if (!d) return host::find(damper) ? HM_ERR_WRONG_TYPE : HM_ERR_INVALID_TAG;
    *out = d->record;
    return 0;
}

int KMC_ask_force(tag_t force, KMC_force_t* out) {
    if (!out) return HM_ERR_NULL_POINTER;
    const ForceData* d = record<ForceData>(force, HM_motion_force_type);
    if (!d) return host::find(force) ? HM_ERR_WRONG_TYPE : HM_ERR_INVALID_TAG;
    *out = d->record;
    return 0;
}

/* ---- function objects ---- */

int KMC_init_function_data(KMC_function_data_t* data) {
    if (!data) return HM_ERR_NULL_POINTER;
    *data = KMC_function_data_t{};
    return 0;
}

int KMC_create_function_object(const KMC_function_data_t* data, tag_t* function) {
    if (!data || !function) return HM_ERR_NULL_POINTER;
    if (data->num_lines <= 0 || !data->lines) return HM_ERR_BAD_ARGUMENT;
    FunctionData f;
    for (int i = 0; i < data->num_lines; ++i) {
        if (!data->lines[i]) return HM_ERR_BAD_ARGUMENT;
        f.lines.emplace_back(data->lines[i]);
    }
    if (!host::work_part_data()) return HM_ERR_NO_PART;
    host::Object& o = host::create(HM_motion_function_type, 0);
    o.data = f;
    *function = o.tag;
    return 0;
}

int KMC_ask_function_text(tag_t function, char** text) {
    if (!text) return HM_ERR_NULL_POINTER;
    const FunctionData* f = record<FunctionData>(function, HM_motion_function_type);
    if (!f) return host::find(function) ? HM_ERR_WRONG_TYPE : HM_ERR_INVALID_TAG;
    std::string joined;
    for (size_t i = 0; i < f->lines.size(); ++i) joined += (i ? "\n" : "") + f->lines[i];
    *text = SM_string_copy(joined.c_str());
    return 0;
}
