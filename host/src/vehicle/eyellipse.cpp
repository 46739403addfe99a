// The vehicle-design core's eyellipse: the instance's data as one record,
// the check that an instance can serve an application, and the record mapped
// into a vehicle coordinate system.
#include "belmorra.h"
#include "core/model.h"
#include "quillon.h"
#include "rules/rule_store.h"
#include "tessik.h"

#include <cstring>
#include <string>

using host::RuleValue;
namespace rules = host::rules;

namespace {

struct Instance {
    const host::RuleInstance* instance = nullptr;
    const RuleValue* rule(const char* name) const {
        auto it = instance->rules.find(name);
        return it == instance->rules.end() ? nullptr : &it->second.value;
    }
};

int find_eyellipse(const char* rule_string, Instance* out) {
    if (!rule_string) return HM_ERR_NULL_POINTER;
    if (!host::work_part_data()) return HM_ERR_NO_PART;
    rules::Resolved r;
    if (rules::resolve(host::model().work_part, rule_string, &r) || r.rule || !r.instance ||
        r.instance->class_name != VD_EYELLIPSE_CLASS)
        return HM_ERR_NOT_FOUND;
    out->instance = r.instance;
    return 0;
}

// The first n members of a list rule of the kind, into rows of three.
bool read_triples(const Instance& e, const char* name, RuleValue::Kind kind, size_t n, double (*rows)[3]) {
    const RuleValue* v = e.rule(name);
    if (!v || v->kind != RuleValue::List || v->list.size() < n) return false;
    for (size_t i = 0; i < n; ++i) {
        if (v->list[i].kind != kind) return false;
        if (rows) std::memcpy(rows[i], v->list[i].xyz.data(), sizeof rows[i]);
    }
    return true;
}

bool read_numbers(const Instance& e, const char* name, double out[3]) {
    const RuleValue* v = e.rule(name);
    if (!v || v->kind != RuleValue::List || v->list.size() < 3) return false;
    for (size_t i = 0; i < 3; ++i) {
        const RuleValue& m = v->list[i];
        if (m.kind == RuleValue::Number) out[i] = m.number;
        else if (m.kind == RuleValue::Integer) out[i] = m.integer;
        else return false;
    }
    return true;
}

double read_number(const Instance& e, const char* name) {
    const RuleValue* v = e.rule(name);
    if (!v) return 0.0;
    if (v->kind == RuleValue::Number) return v->number;
    if (v->kind == RuleValue::Integer) return v->integer;
    return 0.0;
}

const char* const kLengthNames[3] = {"Axis_Length", "Axis_Length_95", "Axis_Length_99"};
const char* const kPivotNames[2] = {"Pivot_points_1", "Pivot_points_2"};

bool read_record(const Instance& e, VD_eyellipse_param_t* d) {
    if (!read_triples(e, "Centroid_coords", RuleValue::Point, 3, d->centre)) return false;
    if (!read_triples(e, "Axis_dir", RuleValue::Vector, 3, d->axis_dir)) return false;
    for (int i = 0; i < 3; ++i)
        if (!read_numbers(e, kLengthNames[i], d->axis_length[i])) return false;
    d->side_value = read_number(e, "Side_value");
    d->drive_side = read_number(e, "Drive_side") != 0.0 ? 1 : 0;
    for (int s = 0; s < 2; ++s) {
        double points[2][3] = {};
        VD_eyellipse_pivot_set_t& set = d->pivot[s];
        set.present = read_triples(e, kPivotNames[s], RuleValue::Point, 2, points) ? 1 : 0;
        std::memcpy(set.first, points[0], sizeof set.first);
        std::memcpy(set.second, points[1], sizeof set.second);
    }
    return true;
}

}  // namespace

bool VD_is_eyellipse_satisfied(const char* rule_string, int requirement, int rule_set, int eye_point_mode) {
    Instance e;
    if (requirement != VD_EYELLIPSE_REQ_EYE_POINT || find_eyellipse(rule_string, &e)) return false;
    VD_eyellipse_param_t d{};
    if (!read_record(e, &d)) return false;
    if (eye_point_mode == 0) return d.pivot[rule_set == 0 ? 0 : 1].present != 0;
    return true;
}

int VD_ask_eyellipse_data(const char* rule_string, VD_eyellipse_param_t* data) {
    if (!data) return HM_ERR_NULL_POINTER;
    Instance e;
    int result = find_eyellipse(rule_string, &e);
    if (result) return result;
    VD_eyellipse_param_t d{};
    if (!read_record(e, &d)) return HM_ERR_WRONG_TYPE;
    *data = d;
    return 0;
}

int VD_eyllipse_apply_vehicle_csys(VD_eyellipse_param_t* d, const double origin[3], const double matrix[9]) {
    if (!d || !origin || !matrix) return HM_ERR_NULL_POINTER;
    double out[3];
    auto point = [&](double p[3]) {
        VD_map_point_abs2csys(p, origin, matrix, out);
        std::memcpy(p, out, sizeof out);
    };
    for (auto& c : d->centre) point(c);
    for (auto& a : d->axis_dir) {
        VD_map_vector_abs2csys(a, matrix, out);
        std::memcpy(a, out, sizeof out);
    }
    for (auto& set : d->pivot) {
        point(set.first);
        point(set.second);
    }
    return 0;
}
