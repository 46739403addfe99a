// The object table: tags, types, names, layers, colours, blank status,
// attributes, object state, deletion; parts and their settings; deferred
// deletion.
#include "core/model.h"
#include "core/sinks.h"
#include "farquil.h"
#include "morvish.h"
#include "omvra.h"
#include "quillon.h"
#include "rostval.h"

#include <algorithm>
#include <cmath>
#include <cstring>

double srfc1 = 0.0254;
double acom[HM_ACOM_SIZE] = {0.0087266462599716477};   // [0]: half a degree; [147]: below
double pxsfac[2] = {0.001, 1000.0};

namespace {
// acom[147]: the square of the distance (part units) within which two curve
// ends count as one point, 1e-4.
const bool g_acom_set = (acom[147] = 1.0e-8, true);
}  // namespace

namespace host {
namespace {
Model g_model;
tag_t g_last_tag = 0;
}  // namespace

Model& model() { return g_model; }

tag_t next_tag() { return ++g_last_tag; }

Object* find(tag_t tag) {
    if (tag == 0) return nullptr;
    auto it = g_model.objects.find(tag);
    if (it == g_model.objects.end() || it->second.status != HM_OBJ_ALIVE) return nullptr;
    return &it->second;
}

Object* find(tag_t tag, int type) {
    Object* o = find(tag);
    return (o && o->type == type) ? o : nullptr;
}

Object& create(int type, int subtype, tag_t part) {
    tag_t tag = next_tag();
    Object& o = g_model.objects[tag];
    o.tag = tag;
    o.type = type;
    o.subtype = subtype;
    o.part = part ? part : g_model.work_part;
    if (const PartData* owner = part_data(o.part)) o.layer = owner->work_layer;
    return o;
}

void erase(tag_t tag) {
    auto it = g_model.objects.find(tag);
    if (it == g_model.objects.end()) return;
    std::vector<tag_t> owned = it->second.subtags;
    g_model.objects.erase(it);
    for (tag_t t : owned) erase(t);
    // Objects that name this one as owner (features of a body, for example)
    // go with it.
    std::vector<tag_t> dependants;
    for (auto& [t, o] : g_model.objects)
        if (o.owner == tag) dependants.push_back(t);
    for (tag_t t : dependants) erase(t);
}

PartData* part_data(tag_t part) {
    Object* o = find(part, HM_part_type);
    return o ? std::any_cast<PartData>(&o->data) : nullptr;
}

PartData* work_part_data() { return part_data(g_model.work_part); }

void set_work_part(tag_t part) {
    g_model.work_part = part;
    const PartData* p = part_data(part);
    const double metres = p && p->inches ? 0.0254 : 0.001;
    pxsfac[0] = metres;
    pxsfac[1] = 1.0 / metres;
}

double mm_to_part(double mm) {
    PartData* p = work_part_data();
    return (p && p->inches) ? mm / 25.4 : mm;
}

double distance_tolerance() {
    PartData* p = work_part_data();
    return p ? p->distance_tolerance : 0.01;
}

Object& create_feature(const char* kind, tag_t body, const std::vector<tag_t>& objects) {
    Object* b = find(body);
    Object& f = create(HM_feature_type, 0, b ? b->part : 0);
    FeatureData d;
    d.kind = kind ? kind : "";
    d.body = body;
    d.objects = objects;
    f.data = d;
    f.owner = body;   // erased with its body
    return f;
}

void reset_objects() {
    g_model = Model{};
    set_work_part(0);
    // Tags are never reused within a process, so a stale tag from an earlier
    // test can never name a new object.
}

}  // namespace host

using host::find;
using host::model;

/* ---- objects ---- */

int HM_OBJ_ask_type_and_subtype(tag_t object, int* type, int* subtype) {
    if (!type || !subtype) return HM_ERR_NULL_POINTER;
    host::Object* o = find(object);
    if (!o) return HM_ERR_INVALID_TAG;
    *type = o->type;
    *subtype = o->subtype;
    return 0;
}

int RM_ask_entity_type_and_subtype(tag_t object, int* type, int* subtype) {
    return HM_OBJ_ask_type_and_subtype(object, type, subtype);
}

int HM_OBJ_ask_status(tag_t object) { return find(object) ? HM_OBJ_ALIVE : HM_OBJ_DELETED; }

int HM_OBJ_delete_object(tag_t object) {
    host::Object* o = find(object);
    if (!o) return HM_ERR_INVALID_TAG;
    if (o->type == HM_part_type) return HM_ERR_WRONG_TYPE;
    host::erase(object);
    return 0;
}

// All or nothing: a tag 0, a deleted or unknown tag, or a part anywhere in
// the array is refused before any object is deleted.
int HM_OBJ_delete_array_of_objects(int count, const tag_t* objects) {
    if (count < 0) return HM_ERR_BAD_ARGUMENT;
    if (count > 0 && !objects) return HM_ERR_NULL_POINTER;
    for (int i = 0; i < count; ++i) {
        host::Object* o = find(objects[i]);
        if (!o) return HM_ERR_INVALID_TAG;
        if (o->type == HM_part_type) return HM_ERR_WRONG_TYPE;
    }
    // A repeated tag, or an object that went with one deleted before it (a
    // face with its body), is already gone.
    for (int i = 0; i < count; ++i)
        if (find(objects[i])) host::erase(objects[i]);
    return 0;
}

int HM_OBJ_ask_name(tag_t object, char* name, size_t size) {
    if (!name || size == 0) return HM_ERR_NULL_POINTER;
    host::Object* o = find(object);
    if (!o) return HM_ERR_INVALID_TAG;
    std::snprintf(name, size, "%s", o->name.c_str());
    return 0;
}

int HM_OBJ_set_name(tag_t object, const char* name) {
    if (!name) return HM_ERR_NULL_POINTER;
    host::Object* o = find(object);
    if (!o) return HM_ERR_INVALID_TAG;
    o->name = name;
    return 0;
}

int HM_OBJ_ask_layer(tag_t object, int* layer) {
    if (!layer) return HM_ERR_NULL_POINTER;
    host::Object* o = find(object);
    if (!o) return HM_ERR_INVALID_TAG;
    *layer = o->layer;
    return 0;
}

int HM_OBJ_set_layer(tag_t object, int layer) {
    host::Object* o = find(object);
    if (!o) return HM_ERR_INVALID_TAG;
    if (layer < 1 || layer > 256) return HM_ERR_BAD_ARGUMENT;
    o->layer = layer;
    return 0;
}

int HM_OBJ_ask_color(tag_t object, int* colour) {
    if (!colour) return HM_ERR_NULL_POINTER;
    host::Object* o = find(object);
    if (!o) return HM_ERR_INVALID_TAG;
    *colour = o->colour;
    return 0;
}

int HM_OBJ_set_color(tag_t object, int colour) {
    host::Object* o = find(object);
    if (!o) return HM_ERR_INVALID_TAG;
    o->colour = colour;
    return 0;
}

int HM_OBJ_ask_blank_status(tag_t object, bool* blanked) {
    if (!blanked) return HM_ERR_NULL_POINTER;
    host::Object* o = find(object);
    if (!o) return HM_ERR_INVALID_TAG;
    *blanked = o->blanked;
    return 0;
}

int HM_OBJ_set_blank_status(tag_t object, bool blanked) {
    host::Object* o = find(object);
    if (!o) return HM_ERR_INVALID_TAG;
    o->blanked = blanked;
    return 0;
}

int HM_OBJ_ask_owning_part(tag_t object, tag_t* part) {
    if (!part) return HM_ERR_NULL_POINTER;
    host::Object* o = find(object);
    if (!o) return HM_ERR_INVALID_TAG;
    *part = o->part;
    return 0;
}

tag_t PART_ask_part_of_object(tag_t object) {
    host::Object* o = find(object);
    return o ? o->part : 0;
}

tag_t HM_OBJ_cycle_objs_in_part(tag_t part, int type, tag_t current) {
    auto& objects = model().objects;
    for (auto it = objects.upper_bound(current); it != objects.end(); ++it) {
        const host::Object& o = it->second;
        if (o.status == HM_OBJ_ALIVE && o.part == part && o.type == type && o.tag != part) return o.tag;
    }
    return 0;
}

tag_t HM_OBJ_cycle_all(tag_t part, tag_t current) {
    auto& objects = model().objects;
    for (auto it = objects.upper_bound(current); it != objects.end(); ++it) {
        const host::Object& o = it->second;
        if (o.status == HM_OBJ_ALIVE && o.part == part && o.tag != part) return o.tag;
    }
    return 0;
}

tag_t HM_OBJ_cycle_by_name_and_type(tag_t part, const char* name, int type, tag_t current) {
    if (!name) return 0;
    auto& objects = model().objects;
    for (auto it = objects.upper_bound(current); it != objects.end(); ++it) {
        const host::Object& o = it->second;
        if (o.status == HM_OBJ_ALIVE && o.part == part && o.name == name && (type <= 0 || o.type == type))
            return o.tag;
    }
    return 0;
}

int HM_OBJ_cycle_by_name(const char* name, tag_t* object) {
    if (!name || !object) return HM_ERR_NULL_POINTER;
    if (!host::work_part_data()) return HM_ERR_NO_PART;
    *object = HM_OBJ_cycle_by_name_and_type(model().work_part, name, 0, *object);
    return 0;
}

/* ---- attributes ---- */

namespace {
int set_attribute(tag_t object, const char* title, host::Attribute a) {
    if (!title) return HM_ERR_NULL_POINTER;
    host::Object* o = find(object);
    if (!o) return HM_ERR_INVALID_TAG;
    o->attributes[title] = std::move(a);
    return 0;
}

const host::Attribute* attribute(tag_t object, const char* title, int* result) {
    *result = 0;
    host::Object* o = find(object);
    if (!o) {
        *result = HM_ERR_INVALID_TAG;
        return nullptr;
    }
    auto it = o->attributes.find(title);
    if (it == o->attributes.end()) {
        *result = HM_ERR_NOT_FOUND;
        return nullptr;
    }
    return &it->second;
}
}  // namespace

int HM_ATTR_set_string(tag_t object, const char* title, const char* value) {
    if (!value) return HM_ERR_NULL_POINTER;
    host::Attribute a;
    a.kind = host::Attribute::String;
    a.text = value;
    return set_attribute(object, title, a);
}

int HM_ATTR_set_integer(tag_t object, const char* title, int value) {
    host::Attribute a;
    a.kind = host::Attribute::Integer;
    a.integer = value;
    return set_attribute(object, title, a);
}

int HM_ATTR_set_real(tag_t object, const char* title, double value) {
    host::Attribute a;
    a.kind = host::Attribute::Real;
    a.real = value;
    return set_attribute(object, title, a);
}

int HM_ATTR_ask_string(tag_t object, const char* title, char** value) {
    if (!title || !value) return HM_ERR_NULL_POINTER;
    int r;
    const host::Attribute* a = attribute(object, title, &r);
    if (!a) return r;
    if (a->kind != host::Attribute::String) return HM_ERR_WRONG_TYPE;
    *value = SM_string_copy(a->text.c_str());
    return 0;
}

int HM_ATTR_ask_integer(tag_t object, const char* title, int* value) {
    if (!title || !value) return HM_ERR_NULL_POINTER;
    int r;
    const host::Attribute* a = attribute(object, title, &r);
    if (!a) return r;
    if (a->kind != host::Attribute::Integer) return HM_ERR_WRONG_TYPE;
    *value = a->integer;
    return 0;
}

int HM_ATTR_ask_real(tag_t object, const char* title, double* value) {
    if (!title || !value) return HM_ERR_NULL_POINTER;
    int r;
    const host::Attribute* a = attribute(object, title, &r);
    if (!a) return r;
    if (a->kind != host::Attribute::Real) return HM_ERR_WRONG_TYPE;
    *value = a->real;
    return 0;
}

int HM_ATTR_delete(tag_t object, int type, const char* title) {
    if (!title) return HM_ERR_NULL_POINTER;
    host::Object* o = find(object);
    if (!o) return HM_ERR_INVALID_TAG;
    auto it = o->attributes.find(title);
    if (it == o->attributes.end()) return 0;   // nothing of that title: nothing to delete
    const host::Attribute::Kind kinds[] = {host::Attribute::Integer, host::Attribute::Real, host::Attribute::String};
    if (type != HM_ATTR_any && (type < HM_ATTR_integer || type > HM_ATTR_string || it->second.kind != kinds[type - 1]))
        return 0;   // an attribute of another type is not the one asked for
    o->attributes.erase(it);
    return 0;
}

int HM_ATTR_count(tag_t object, int* count) {
    if (!count) return HM_ERR_NULL_POINTER;
    host::Object* o = find(object);
    if (!o) return HM_ERR_INVALID_TAG;
    *count = static_cast<int>(o->attributes.size());
    return 0;
}

/* ---- parts ---- */

tag_t HM_PART_ask_display_part(void) { return find(model().display_part) ? model().display_part : 0; }

int HM_PART_set_display_part(tag_t part) {
    if (!host::part_data(part)) return HM_ERR_INVALID_TAG;
    model().display_part = part;
    return 0;
}

int HM_PART_ask_units(tag_t part, int* units) {
    if (!units) return HM_ERR_NULL_POINTER;
    host::PartData* p = host::part_data(part);
    if (!p) return HM_ERR_INVALID_TAG;
    *units = p->inches ? 2 : 1;
    return 0;
}

int PART_ask_units(tag_t part) {
    host::PartData* p = host::part_data(part);
    return p ? (p->inches ? 1 : 0) : -1;
}

int HM_PART_ask_part_name(tag_t part, char* file_name, size_t size) {
    if (!file_name || size == 0) return HM_ERR_NULL_POINTER;
    host::PartData* p = host::part_data(part);
    if (!p) return HM_ERR_INVALID_TAG;
    std::snprintf(file_name, size, "%s", p->file_name.c_str());
    return 0;
}

tag_t HM_PART_ask_part_tag(const char* file_name) {
    if (!file_name) return 0;
    for (auto& [tag, o] : model().objects) {
        if (o.type != HM_part_type || o.status != HM_OBJ_ALIVE) continue;
        const host::PartData* p = std::any_cast<host::PartData>(&o.data);
        if (p && p->file_name == file_name) return tag;
    }
    return 0;
}

int HM_PART_is_loaded(const char* file_name) { return HM_PART_ask_part_tag(file_name) ? 1 : 0; }

tag_t HM_ASSEM_ask_work_part(void) { return find(model().work_part) ? model().work_part : 0; }
tag_t CONTEXT_ask_work_part(void) { return HM_ASSEM_ask_work_part(); }
bool CONTEXT_ask_in_context(void) { return model().work_part != model().display_part; }
tag_t CONTEXT_ask_root_part(void) { return host::part_data(model().display_part) ? model().display_part : 0; }

int HM_ASSEM_set_work_part(tag_t part) {
    if (!host::part_data(part)) return HM_ERR_INVALID_TAG;
    host::set_work_part(part);
    return 0;
}

int HM_MODL_ask_distance_tolerance(double* tolerance) {
    if (!tolerance) return HM_ERR_NULL_POINTER;
    host::PartData* p = host::work_part_data();
    if (!p) return HM_ERR_NO_PART;
    *tolerance = p->distance_tolerance;
    return 0;
}

int HM_MODL_set_distance_tolerance(double tolerance) {
    host::PartData* p = host::work_part_data();
    if (!p) return HM_ERR_NO_PART;
    if (!(tolerance > 0.0) || !std::isfinite(tolerance)) return HM_ERR_BAD_ARGUMENT;
    p->distance_tolerance = tolerance;
    return 0;
}

int HM_MODL_ask_angle_tolerance(double* degrees) {
    if (!degrees) return HM_ERR_NULL_POINTER;
    host::PartData* p = host::work_part_data();
    if (!p) return HM_ERR_NO_PART;
    *degrees = p->angle_tolerance;
    return 0;
}

int HM_MODL_set_angle_tolerance(double degrees) {
    host::PartData* p = host::work_part_data();
    if (!p) return HM_ERR_NO_PART;
    if (!(degrees > 0.0) || !std::isfinite(degrees)) return HM_ERR_BAD_ARGUMENT;
    p->angle_tolerance = degrees;
    return 0;
}

double TOLER_ask_distance_tol(void) { return host::distance_tolerance(); }

double TOLER_ask_angular_tol(void) {
    host::PartData* p = host::work_part_data();
    return (p ? p->angle_tolerance : 0.5) * M_PI / 180.0;
}

/* ---- deferred deletion ---- */

// A part is never deleted by an update: refused when logged, and passed
// over should one be in the log all the same.
int UPDATE_log_entity_to_delete(tag_t object) {
    host::Object* o = find(object);
    if (!o) return HM_ERR_INVALID_TAG;
    if (o->type == HM_part_type) return HM_ERR_WRONG_TYPE;
    auto& log = model().logged_for_deletion;
    if (std::find(log.begin(), log.end(), object) == log.end()) log.push_back(object);
    return 0;
}

bool UPDATE_is_object_logged(tag_t object) {
    auto& log = model().logged_for_deletion;
    return std::find(log.begin(), log.end(), object) != log.end();
}

int UPDATE_do_update(void) {
    std::vector<tag_t> log;
    log.swap(model().logged_for_deletion);
    for (tag_t t : log) {
        host::Object* o = find(t);
        if (!o || o->type == HM_part_type) continue;
        // A feature removed by the update takes the body it made along; the
        // body's other features go with the body.
        tag_t body = 0;
        if (o->type == HM_feature_type)
            if (auto* f = std::any_cast<host::FeatureData>(&o->data)) body = f->body;
        host::erase(t);
        if (body && find(body)) host::erase(body);
    }
    return 0;
}

int HM_MODL_update(void) { return UPDATE_do_update(); }

/* ---- persistent handles ---- */

char* TAG_ask_handle_of_tag(tag_t tag) {
    if (!find(tag)) return nullptr;
    char text[TAG_HANDLE_MAX_LENGTH + 1];
    std::snprintf(text, sizeof text, "HANDLE-%08X", tag);
    return SM_string_copy(text);
}

tag_t TAG_ask_tag_of_handle_tol(const char* handle) {
    if (!handle) return 0;
    while (*handle == ' ' || *handle == '\t') ++handle;
    unsigned value = 0;
    char tail[4] = "";
    if (std::sscanf(handle, "HANDLE-%8X%3s", &value, tail) < 1) return 0;
    if (tail[0] != '\0') return 0;
    return find(value) ? value : 0;
}

/* ---- object manager sets ---- */

using host::kTagSetType;

tag_t OM_create_tag_set(void) {
    host::Object& o = host::create(kTagSetType, 0);
    o.data = std::vector<tag_t>{};
    return o.tag;
}

int OM_add_to_tag_set(tag_t set, tag_t object) {
    host::Object* o = find(set, kTagSetType);
    if (!o) return HM_ERR_INVALID_TAG;
    std::any_cast<std::vector<tag_t>&>(o->data).push_back(object);
    return 0;
}

int OM_flatten_tag_set(tag_t set, int* count, tag_t** members) {
    if (!count || !members) return HM_ERR_NULL_POINTER;
    host::Object* o = find(set, kTagSetType);
    if (!o) return HM_ERR_INVALID_TAG;
    const auto& v = std::any_cast<const std::vector<tag_t>&>(o->data);
    *count = static_cast<int>(v.size());
    *members = host::tag_array(v);
    return 0;
}

int OM_delete_object(tag_t object) {
    host::Object* o = find(object);
    if (!o) return HM_ERR_INVALID_TAG;
    if (o->type == HM_part_type) return HM_ERR_WRONG_TYPE;   // would orphan the part's objects
    host::erase(object);
    return 0;
}

void* TAG_ask_pointer_of_tag(tag_t tag) {
    host::Object* o = find(tag);
    return o;   // the internal record; stable while the object lives
}

void OM__log(void* object) {
    if (object) host::sinks().om_logged.push_back(object);
}

// Object state enquiries used when new curves are made: the state of an
// object and its sleep state. Objects of this host are created awake.
int es0022(tag_t object) { return host::find(object) != nullptr ? HM_OBJ_ALIVE : HM_OBJ_DELETED; }

int RM_set_sleep_state(tag_t object, bool sleep) {
    (void)sleep;
    return host::find(object) != nullptr ? 0 : HM_ERR_INVALID_TAG;
}
