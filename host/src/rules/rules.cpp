// The rule language seen from outside: the vehicle-design core's typed
// queries on paths, and the public interface's rule values, child-rule
// creation, instance deletion and the adoption of existing objects.
#include "core/kernel_guard.h"
#include "core/model.h"
#include "omvra.h"
#include "quillon.h"
#include "rules/rule_store.h"
#include "vehicle/eyellipse_class.h"
#include "istrane.h"
#include "tessik.h"

#include <BRepAdaptor_Surface.hxx>
#include <Standard_Failure.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Face.hxx>
#include <gp_Sphere.hxx>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

using host::RuleValue;
namespace rules = host::rules;

namespace {

// The work part, 0 when there is none.
tag_t work_part() { return host::work_part_data() ? host::model().work_part : 0; }

/* ---- reading typed values ---- */

int as_number(const RuleValue& v, double* out) {
    if (v.kind == RuleValue::Number) *out = v.number;
    else if (v.kind == RuleValue::Integer) *out = v.integer;
    else return HM_ERR_WRONG_TYPE;
    return 0;
}

int as_integer(const RuleValue& v, int* out) {
    if (v.kind == RuleValue::Integer) {
        *out = v.integer;
        return 0;
    }
    // A whole number in the int range reads as that integer; anything else
    // would be a silent truncation.
    if (v.kind == RuleValue::Number && v.number == std::floor(v.number) && v.number >= -2147483648.0 &&
        v.number <= 2147483647.0) {
        *out = static_cast<int>(v.number);
        return 0;
    }
    return HM_ERR_WRONG_TYPE;
}

int as_triple(const RuleValue& v, RuleValue::Kind kind, double* out) {
    if (v.kind != kind) return HM_ERR_WRONG_TYPE;
    std::copy(v.xyz.begin(), v.xyz.end(), out);
    return 0;
}

void collect_objects(const RuleValue& v, std::vector<tag_t>* out) {
    if (v.kind == RuleValue::Object && host::find(v.object)) out->push_back(v.object);
    for (const RuleValue& item : v.list) collect_objects(item, out);
}

/* ---- paths of the typed queries ---- */

int lookup(const TEXT_t* path, rules::Resolved* r) {
    if (!path || !path->text) return HM_ERR_NULL_POINTER;
    tag_t part = work_part();
    if (!part) return HM_ERR_NO_PART;
    return rules::resolve(part, path->text, r);
}

// The value of the rule at a path (an instance is the wrong kind).
int rule_at(const TEXT_t* path, const RuleValue** value) {
    rules::Resolved r;
    int result = lookup(path, &r);
    if (result) return result;
    if (!r.rule) return HM_ERR_WRONG_TYPE;
    *value = &r.rule->value;
    return 0;
}

// Member `member` (1-based) of the list rule at a path.
int member_at(const TEXT_t* path, int member, const RuleValue** value) {
    const RuleValue* list;
    int result = rule_at(path, &list);
    if (result) return result;
    if (list->kind != RuleValue::List) return HM_ERR_WRONG_TYPE;
    if (member < 1 || static_cast<size_t>(member) > list->list.size()) return HM_ERR_BAD_ARGUMENT;
    *value = &list->list[member - 1];
    return 0;
}

/* ---- rule values handed out by HM_RQ_evaluate_rule ---- */

std::deque<RuleValue>& value_pool() {
    static std::deque<RuleValue> pool;
    return pool;
}

const RuleValue* value_of(HM_RQ_value_t value) {
    auto& pool = value_pool();
    if (value == 0 || value > pool.size()) return nullptr;
    return &pool[value - 1];
}

/* ---- adoption ---- */

std::string lower_word(const std::string& text) {
    std::string s;
    for (char c : text)
        s += std::isalnum(static_cast<unsigned char>(c)) ? static_cast<char>(std::tolower(static_cast<unsigned char>(c)))
                                                          : '_';
    return s;
}

// Centre and radius of the first spherical face of a shape.
bool sphere_of(const TopoDS_Shape& shape, double centre[3], double* radius) {
    if (shape.IsNull()) return false;
    try {
        for (TopExp_Explorer e(shape, TopAbs_FACE); e.More(); e.Next()) {
            BRepAdaptor_Surface surface(TopoDS::Face(e.Current()));
            if (surface.GetType() != GeomAbs_Sphere) continue;
            gp_Sphere s = surface.Sphere();
            centre[0] = s.Location().X();
            centre[1] = s.Location().Y();
            centre[2] = s.Location().Z();
            *radius = s.Radius();
            return true;
        }
    } catch (const Standard_Failure&) {
    }
    return false;
}

// What adopting an object makes: the class, the objects the instance owns
// and the rules it answers from the geometry.
struct Adoption {
    tag_t part = 0;
    std::string class_name;
    std::vector<tag_t> objects;
    std::vector<std::pair<std::string, RuleValue>> rules;
};

int plan_adoption(tag_t object, Adoption* a) {
    const host::Object* o = host::find(object);
    if (!o) return HM_ERR_INVALID_TAG;
    a->part = o->part;
    a->objects = {object};
    std::string kind;   // feature kind, when the class comes from one
    tag_t body = 0;
    switch (o->type) {
    case HM_point_type: a->class_name = "kw_point"; break;
    case HM_line_type: a->class_name = "kw_line"; break;
    case HM_circle_type: a->class_name = "kw_arc"; break;
    case HM_conic_type: a->class_name = "kw_conic"; break;
    case HM_spline_type: a->class_name = "kw_spline"; break;
    case HM_coordinate_system_type: a->class_name = "kw_csys"; break;
    case HM_plane_type: a->class_name = "kw_plane"; break;
    case HM_datum_type: a->class_name = "kw_datum"; break;
    case HM_component_type: a->class_name = "kw_component"; break;
    case HM_solid_type:
        if (o->subtype == HM_solid_face_subtype) a->class_name = "kw_face";
        else if (o->subtype == HM_solid_edge_subtype) a->class_name = "kw_edge";
        else if (o->subtype == HM_solid_body_subtype) {
            // A body made by one feature is that feature's kind; a body that
            // later features changed is a plain body.
            const std::vector<tag_t> features = host::features_of_body(object);
            const host::Object* feature = features.size() == 1 ? host::find(features[0]) : nullptr;
            if (feature) kind = std::any_cast<const host::FeatureData&>(feature->data).kind;
            else a->class_name = "kw_body";
            body = object;
        } else return HM_ERR_WRONG_TYPE;
        break;
    case HM_feature_type: {
        const auto* f = std::any_cast<host::FeatureData>(&o->data);
        kind = (f && !f->kind.empty()) ? f->kind : "feature";
        // The instance owns the geometry the feature made.
        if (f && host::find(f->body)) {
            body = f->body;
            a->objects = {body};
        } else if (f) {
            std::vector<tag_t> made;
            for (tag_t t : f->objects)
                if (host::find(t)) made.push_back(t);
            if (!made.empty()) a->objects = made;
        }
        break;
    }
    default:
        return HM_ERR_WRONG_TYPE;
    }
    if (!kind.empty()) a->class_name = "kw_" + lower_word(kind);
    if (a->class_name == "kw_sphere") {
        const host::Object* b = host::find(body);
        double centre[3], radius;
        if (!b || !sphere_of(b->shape, centre, &radius)) return HM_ERR_GEOMETRY;
        RuleValue diameter;
        diameter.kind = RuleValue::Number;
        diameter.number = 2.0 * radius;
        RuleValue point;
        point.kind = RuleValue::Point;
        point.xyz = {centre[0], centre[1], centre[2]};
        a->rules = {{"Diameter", diameter}, {"Center", point}};
    }
    return 0;
}

// A name "<kind>_<n>" free under the root of the part.
std::string free_root_name(tag_t part, const std::string& class_name) {
    std::string base = class_name.compare(0, 3, "kw_") == 0 ? class_name.substr(3) : class_name;
    host::RuleInstance* root = rules::find_instance(part, "root:");
    for (int n = 1;; ++n) {
        std::string name = base + "_" + std::to_string(n);
        if (!rules::find_instance(part, "root:" + name + ":") && !root->rules.count(name)) return name;
    }
}

}  // namespace

/* ---- tessik: typed queries ---- */

bool VD_is_instance_of_class(const char* parent, const char* name, const char* class_name) {
    std::string chain;
    tag_t part = work_part();
    if (!class_name || !part || !rules::child_chain(parent, name, &chain)) return false;
    const host::RuleInstance* instance = rules::find_instance(part, chain);
    return instance && instance->class_name == class_name;
}

bool VD_RQ_ask_rule_exist(const char* parent, const char* name) {
    std::string chain;
    tag_t part = work_part();
    if (!part || !rules::child_chain(parent, name, &chain)) return false;
    rules::Resolved r;
    return rules::resolve(part, chain.c_str(), &r) == 0;
}

int VD_RQ_ask_integer(const TEXT_t* path, int* value) {
    if (!value) return HM_ERR_NULL_POINTER;
    const RuleValue* v;
    int result = rule_at(path, &v);
    return result ? result : as_integer(*v, value);
}

int VD_RQ_ask_number(const TEXT_t* path, double* value) {
    if (!value) return HM_ERR_NULL_POINTER;
    const RuleValue* v;
    int result = rule_at(path, &v);
    return result ? result : as_number(*v, value);
}

int VD_RQ_ask_boolean(const TEXT_t* path, bool* value) {
    if (!value) return HM_ERR_NULL_POINTER;
    const RuleValue* v;
    int result = rule_at(path, &v);
    if (result) return result;
    if (v->kind != RuleValue::Boolean) return HM_ERR_WRONG_TYPE;
    *value = v->boolean;
    return 0;
}

int VD_RQ_ask_point(const TEXT_t* path, double point[3]) {
    if (!point) return HM_ERR_NULL_POINTER;
    const RuleValue* v;
    int result = rule_at(path, &v);
    return result ? result : as_triple(*v, RuleValue::Point, point);
}

int VD_RQ_ask_frame(const TEXT_t* path, double origin[3], double matrix[9]) {
    if (!origin || !matrix) return HM_ERR_NULL_POINTER;
    const RuleValue* v;
    int result = rule_at(path, &v);
    if (result) return result;
    if (v->kind != RuleValue::Frame) return HM_ERR_WRONG_TYPE;
    std::copy(v->frame.begin(), v->frame.begin() + 3, origin);
    std::copy(v->frame.begin() + 3, v->frame.end(), matrix);
    return 0;
}

int VD_RQ_ask_point_list_member(const TEXT_t* path, int member, double point[3]) {
    if (!point) return HM_ERR_NULL_POINTER;
    const RuleValue* v;
    int result = member_at(path, member, &v);
    return result ? result : as_triple(*v, RuleValue::Point, point);
}

int VD_RQ_ask_number_list_member(const TEXT_t* path, int member, double* value) {
    if (!value) return HM_ERR_NULL_POINTER;
    const RuleValue* v;
    int result = member_at(path, member, &v);
    return result ? result : as_number(*v, value);
}

int VD_RQ_ask_string(const TEXT_t* path, char** value) {
    if (!value) return HM_ERR_NULL_POINTER;
    const RuleValue* v;
    int result = rule_at(path, &v);
    if (result) return result;
    if (v->kind != RuleValue::String) return HM_ERR_WRONG_TYPE;
    *value = SM_string_copy(v->text.c_str());
    return 0;
}

int VD_RQ_ask_object(const TEXT_t* path, tag_t* object) {
    if (!object) return HM_ERR_NULL_POINTER;
    rules::Resolved r;
    int result = lookup(path, &r);
    if (result) return result;
    if (!r.rule) {
        std::vector<tag_t> made = rules::objects_below(work_part(), *r.instance);
        if (made.empty()) return HM_ERR_NOT_FOUND;
        *object = made.front();
        return 0;
    }
    if (r.rule->value.kind != RuleValue::Object) return HM_ERR_WRONG_TYPE;
    if (!host::find(r.rule->value.object)) return HM_ERR_INVALID_TAG;
    *object = r.rule->value.object;
    return 0;
}

int VD_RQ_ask_objs_list(const TEXT_t* path, int* count, tag_t** objects) {
    if (!count || !objects) return HM_ERR_NULL_POINTER;
    rules::Resolved r;
    int result = lookup(path, &r);
    if (result) return result;
    std::vector<tag_t> found;
    if (!r.rule) found = rules::objects_below(work_part(), *r.instance);
    else if (r.rule->value.kind == RuleValue::Object || r.rule->value.kind == RuleValue::List)
        collect_objects(r.rule->value, &found);
    else return HM_ERR_WRONG_TYPE;
    *count = static_cast<int>(found.size());
    *objects = host::tag_array(found);
    return 0;
}

/* ---- omvra: rule values, child rules, instances ---- */

int HM_RQ_ask_instance_class(const char* chain, char** class_name) {
    if (!chain || !class_name) return HM_ERR_NULL_POINTER;
    tag_t part = work_part();
    if (!part) return HM_ERR_NO_PART;
    rules::Resolved r;
    int result = rules::resolve(part, chain, &r);
    if (result) return result;
    if (r.rule) return HM_ERR_WRONG_TYPE;
    *class_name = SM_string_copy(r.instance->class_name.c_str());
    return 0;
}

int HM_RQ_evaluate_rule(const char* rule, HM_RQ_value_t* value) {
    if (!rule || !value) return HM_ERR_NULL_POINTER;
    tag_t part = work_part();
    if (!part) return HM_ERR_NO_PART;
    rules::Resolved r;
    int result = rules::resolve(part, rule, &r);
    if (result) return result;
    if (!r.rule) return HM_ERR_WRONG_TYPE;
    value_pool().push_back(r.rule->value);
    *value = static_cast<HM_RQ_value_t>(value_pool().size());
    return 0;
}

int HM_RQ_ask_number(HM_RQ_value_t value, double* number) {
    if (!number) return HM_ERR_NULL_POINTER;
    const RuleValue* v = value_of(value);
    if (!v) return HM_ERR_BAD_ARGUMENT;
    return as_number(*v, number);
}

int HM_RQ_ask_point(HM_RQ_value_t value, double point[3]) {
    if (!point) return HM_ERR_NULL_POINTER;
    const RuleValue* v = value_of(value);
    if (!v) return HM_ERR_BAD_ARGUMENT;
    return as_triple(*v, RuleValue::Point, point);
}

int HM_RQ_create_child_rule(tag_t part, const char* parent, const char* name, const char* class_name, int count,
                            const char* const* names, const char* const* values) {
    if (!parent || !name || !class_name) return HM_ERR_NULL_POINTER;
    if (!host::part_data(part)) return HM_ERR_INVALID_TAG;
    if (count < 0) return HM_ERR_BAD_ARGUMENT;
    if (count > 0 && (!names || !values)) return HM_ERR_NULL_POINTER;
    std::string chain;
    if (!*class_name || !rules::child_chain(parent, name, &chain)) return HM_ERR_BAD_ARGUMENT;

    // Everything is checked before the instance is touched.
    // Grown one parsed text at a time: the count is the caller's, never a
    // size to allocate up front.
    std::vector<RuleValue> parsed;
    for (int i = 0; i < count; ++i) {
        parsed.emplace_back();
        if (!names[i] || !values[i]) return HM_ERR_NULL_POINTER;
        std::string rule_chain;
        if (!rules::child_chain(chain.c_str(), names[i], &rule_chain)) return HM_ERR_BAD_ARGUMENT;
        if (rules::find_instance(part, rule_chain)) return HM_ERR_WRONG_TYPE;
        if (!rules::parse_rule_text(values[i], &parsed[i])) return HM_ERR_BAD_ARGUMENT;
    }
    // What the class works out from the given rules, after them.
    host::vehicle::NamedValues made;
    if (std::strcmp(class_name, VD_EYELLIPSE_CLASS) == 0) {
        host::vehicle::NamedValues given;
        for (int i = 0; i < count; ++i) given.emplace_back(names[i], parsed[i]);
        if (int r = host::vehicle::eyellipse_class_rules(given, &made)) return r;
        for (const auto& [rule, value] : made)
            if (rules::find_instance(part, chain + rule + ":")) return HM_ERR_WRONG_TYPE;
    }
    int result = rules::define_instance(part, parent, name, class_name);
    if (result) return result;
    for (int i = 0; i < count; ++i) {
        result = rules::set_rule_text(part, chain.c_str(), names[i], values[i]);
        if (result) return result;   // not reached: checked above
    }
    for (const auto& [rule, value] : made) {
        result = rules::set_rule(part, chain.c_str(), rule.c_str(), value);
        if (result) return result;   // not reached: checked above
    }
    return 0;
}

int HM_RQ_delete_instance_rule(const char* parent, const char* name) {
    if (!parent || !name) return HM_ERR_NULL_POINTER;
    tag_t part = work_part();
    if (!part) return HM_ERR_NO_PART;
    return rules::delete_instance(part, parent, name);
}

int HM_RQ_adopt_kw_objects(int count, const tag_t* objects, tag_t** instances) {
    return host::guarded(__func__, [&]() -> int {
        if (!objects || !instances) return HM_ERR_NULL_POINTER;
        if (count < 1) return HM_ERR_BAD_ARGUMENT;
        std::vector<Adoption> plans(count);
        for (int i = 0; i < count; ++i) {
            int result = plan_adoption(objects[i], &plans[i]);
            if (result) return result;
        }
        tag_t* tags = static_cast<tag_t*>(SM_alloc(count * sizeof(tag_t)));
        for (int i = 0; i < count; ++i) {
            const Adoption& a = plans[i];
            std::string name = free_root_name(a.part, a.class_name);
            host::RuleInstance* instance = nullptr;
            rules::define_instance(a.part, "root:", name.c_str(), a.class_name.c_str(), &instance);
            instance->objects = a.objects;
            for (const auto& [rule, value] : a.rules) rules::set_rule(a.part, instance->chain.c_str(), rule.c_str(), value);
            tags[i] = rules::find_instance(a.part, "root:" + name + ":")->tag;
        }
        *instances = tags;
        return 0;
    });
}

int HM_RQ_ask_name_chain_of_instance(tag_t instance, char** chain) {
    if (!chain) return HM_ERR_NULL_POINTER;
    const host::RuleInstance* i = rules::find_instance_by_tag(instance);
    if (!i) return HM_ERR_INVALID_TAG;
    *chain = SM_string_copy(i->chain.c_str());
    return 0;
}

/* ---- omvra: kinds, lists and single values of evaluated rules ---- */

namespace {

int kind_of(const RuleValue& v) {
    switch (v.kind) {
        case RuleValue::Boolean: return KBL_KIND_BOOLEAN;
        case RuleValue::Integer: return KBL_KIND_INTEGER;
        case RuleValue::Number: return KBL_KIND_NUMBER;
        case RuleValue::String: return KBL_KIND_STRING;
        case RuleValue::Point: return KBL_KIND_POINT;
        case RuleValue::Vector: return KBL_KIND_VECTOR;
        case RuleValue::Frame: return KBL_KIND_FRAME;
        case RuleValue::Object: return KBL_KIND_OBJECT;
        case RuleValue::List: return KBL_KIND_LIST;
        // The rule language's kinds do not number instances.
        default: return KBL_KIND_NONE;
    }
}

HM_RQ_value_t pooled(const RuleValue& v) {
    value_pool().push_back(v);
    return static_cast<HM_RQ_value_t>(value_pool().size());
}

}  // namespace

int HM_RQ_ask_value_kind(HM_RQ_value_t value, int* kind) {
    if (!kind) return HM_ERR_NULL_POINTER;
    const RuleValue* v = value_of(value);
    if (!v) return HM_ERR_BAD_ARGUMENT;
    *kind = kind_of(*v);
    return 0;
}

int HM_RQ_ask_list(HM_RQ_value_t value, HM_RQ_value_t* list) {
    if (!list) return HM_ERR_NULL_POINTER;
    const RuleValue* v = value_of(value);
    if (!v) return HM_ERR_BAD_ARGUMENT;
    if (v->kind != RuleValue::List) return HM_ERR_WRONG_TYPE;
    *list = pooled(*v);
    return 0;
}

int HM_RQ_ask_list_count(HM_RQ_value_t list, int* count) {
    if (!count) return HM_ERR_NULL_POINTER;
    const RuleValue* v = value_of(list);
    if (!v) return HM_ERR_BAD_ARGUMENT;
    if (v->kind != RuleValue::List) return HM_ERR_WRONG_TYPE;
    *count = static_cast<int>(v->list.size());
    return 0;
}

int HM_RQ_list_pop(HM_RQ_value_t list, HM_RQ_value_t* item) {
    if (!item) return HM_ERR_NULL_POINTER;
    if (list == 0 || list > value_pool().size()) return HM_ERR_BAD_ARGUMENT;
    RuleValue& v = value_pool()[list - 1];
    if (v.kind != RuleValue::List) return HM_ERR_WRONG_TYPE;
    if (v.list.empty()) return HM_ERR_NOT_FOUND;
    const RuleValue first = v.list.front();
    value_pool()[list - 1].list.erase(value_pool()[list - 1].list.begin());
    *item = pooled(first);
    return 0;
}

int HM_RQ_ask_boolean(HM_RQ_value_t value, bool* boolean) {
    if (!boolean) return HM_ERR_NULL_POINTER;
    const RuleValue* v = value_of(value);
    if (!v) return HM_ERR_BAD_ARGUMENT;
    if (v->kind != RuleValue::Boolean) return HM_ERR_WRONG_TYPE;
    *boolean = v->boolean;
    return 0;
}

int HM_RQ_ask_integer(HM_RQ_value_t value, int* integer) {
    if (!integer) return HM_ERR_NULL_POINTER;
    const RuleValue* v = value_of(value);
    if (!v) return HM_ERR_BAD_ARGUMENT;
    return as_integer(*v, integer);
}

int HM_RQ_ask_string(HM_RQ_value_t value, char** text) {
    if (!text) return HM_ERR_NULL_POINTER;
    const RuleValue* v = value_of(value);
    if (!v) return HM_ERR_BAD_ARGUMENT;
    if (v->kind != RuleValue::String) return HM_ERR_WRONG_TYPE;
    *text = SM_string_copy(v->text.c_str());
    return 0;
}

int HM_RQ_ask_value_tag(HM_RQ_value_t value, tag_t* tag) {
    if (!tag) return HM_ERR_NULL_POINTER;
    const RuleValue* v = value_of(value);
    if (!v) return HM_ERR_BAD_ARGUMENT;
    if (v->kind != RuleValue::Object) return HM_ERR_WRONG_TYPE;
    *tag = v->object;
    return 0;
}

int HM_RQ_ask_vector(HM_RQ_value_t value, double vector[3]) {
    if (!vector) return HM_ERR_NULL_POINTER;
    const RuleValue* v = value_of(value);
    if (!v) return HM_ERR_BAD_ARGUMENT;
    return as_triple(*v, RuleValue::Vector, vector);
}

int HM_RQ_ask_type(HM_RQ_value_t value, int* type) {
    if (!type) return HM_ERR_NULL_POINTER;
    const RuleValue* v = value_of(value);
    if (!v) return HM_ERR_BAD_ARGUMENT;
    switch (v->kind) {
        case RuleValue::Object: *type = HM_RQ_TYPE_TAG; break;
        case RuleValue::List: *type = HM_RQ_TYPE_LIST; break;
        case RuleValue::Instance: *type = HM_RQ_TYPE_INSTANCE; break;
        default: *type = HM_RQ_TYPE_OTHER; break;
    }
    return 0;
}

int HM_RQ_ask_instance(HM_RQ_value_t value, tag_t* instance) {
    if (!instance) return HM_ERR_NULL_POINTER;
    const RuleValue* v = value_of(value);
    if (!v) return HM_ERR_BAD_ARGUMENT;
    if (v->kind != RuleValue::Instance) return HM_ERR_WRONG_TYPE;
    *instance = v->instance;
    return 0;
}

int HM_RQ_ask_kw_object(tag_t instance, tag_t* object) {
    if (!object) return HM_ERR_NULL_POINTER;
    const host::RuleInstance* i = rules::find_instance_by_tag(instance);
    if (!i) return HM_ERR_INVALID_TAG;
    *object = NULL_TAG;
    for (tag_t o : i->objects) {
        if (host::find(o)) {
            *object = o;
            break;
        }
    }
    return 0;
}

/* ---- tessik: the rules of an instance, reference texts ---- */

int VD_RQ_ask_rules(const char* owner, int* count, char*** names) {
    if (!owner || !count || !names) return HM_ERR_NULL_POINTER;
    *count = 0;
    *names = nullptr;
    tag_t part = work_part();
    if (!part) return HM_ERR_NO_PART;
    rules::Resolved r;
    if (int result = rules::resolve(part, owner, &r)) return result;
    if (r.rule) return HM_ERR_WRONG_TYPE;
    const auto& all = r.instance->rules;
    if (all.empty()) return 0;
    *names = static_cast<char**>(SM_calloc(all.size(), sizeof(char*)));
    for (const auto& [name, rule] : all) (*names)[(*count)++] = SM_string_copy(name.c_str());
    return 0;
}

void VD_free_string_array(int count, char** strings) {
    if (!strings) return;
    for (int i = 0; i < count; ++i) SM_free(strings[i]);
    SM_free(strings);
}

int VD_reference_object(tag_t object, char* buffer) {
    if (!buffer) return HM_ERR_NULL_POINTER;
    buffer[0] = '\0';
    if (!host::find(object)) return HM_ERR_INVALID_TAG;
    std::snprintf(buffer, VD_REFERENCE_SIZE, "Object(%u)", object);
    return 0;
}
