// The vehicle-design core's eyellipse made from a record: the instance that
// VD_ask_eyellipse_data reads back.
#include "core/model.h"
#include "omvra.h"
#include "rules/rule_store.h"
#include "tessik.h"

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string number(double v) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.17g", v);
    return buffer;
}

std::string triple(const char* kind, const double p[3]) {
    return std::string(kind) + "(" + number(p[0]) + "," + number(p[1]) + "," + number(p[2]) + ")";
}

std::string triples(const char* kind, const double (*rows)[3], int n) {
    std::string text = "{ ";
    for (int i = 0; i < n; ++i) text += (i ? ", " : "") + triple(kind, rows[i]);
    return text + " }";
}

std::string numbers(const double v[3]) { return "{ " + number(v[0]) + ", " + number(v[1]) + ", " + number(v[2]) + " }"; }

bool finite_record(const VD_eyellipse_param_t& d) {
    auto all = [](const double* v, int n) {
        for (int i = 0; i < n; ++i)
            if (!std::isfinite(v[i])) return false;
        return true;
    };
    if (!all(&d.centre[0][0], 9) || !all(&d.axis_length[0][0], 9) || !all(&d.axis_dir[0][0], 9)) return false;
    if (!std::isfinite(d.side_value)) return false;
    for (const auto& set : d.pivot)
        if (set.present && (!all(set.first, 3) || !all(set.second, 3))) return false;
    return true;
}

}  // namespace

int VD_ELL_create_eyellipse(const char* name, const VD_eyellipse_param_t* data, tag_t* instance) {
    if (!name || !data) return HM_ERR_NULL_POINTER;
    if (instance) *instance = 0;
    if (!*name || !finite_record(*data)) return HM_ERR_BAD_ARGUMENT;
    if (!host::work_part_data()) return HM_ERR_NO_PART;
    const VD_eyellipse_param_t& d = *data;
    std::vector<std::pair<std::string, std::string>> rules = {
        {"Centroid_coords", triples("Point", d.centre, 3)},
        {"Axis_dir", triples("Vector", d.axis_dir, 3)},
        {"Axis_Length", numbers(d.axis_length[0])},
        {"Axis_Length_95", numbers(d.axis_length[1])},
        {"Axis_Length_99", numbers(d.axis_length[2])},
        {"Side_value", number(d.side_value)},
        {"Drive_side", d.drive_side ? "1" : "0"},
    };
    const char* const pivot_names[2] = {"Pivot_points_1", "Pivot_points_2"};
    for (int s = 0; s < 2; ++s) {
        if (!d.pivot[s].present) continue;
        const double points[2][3] = {{d.pivot[s].first[0], d.pivot[s].first[1], d.pivot[s].first[2]},
                                     {d.pivot[s].second[0], d.pivot[s].second[1], d.pivot[s].second[2]}};
        rules.push_back({pivot_names[s], triples("Point", points, 2)});
    }
    std::vector<const char*> names, values;
    for (const auto& [n, v] : rules) {
        names.push_back(n.c_str());
        values.push_back(v.c_str());
    }
    const tag_t part = host::model().work_part;
    int result = HM_RQ_create_child_rule(part, "root:", name, VD_EYELLIPSE_CLASS, static_cast<int>(rules.size()),
                                         names.data(), values.data());
    if (result) return result;
    if (instance) {
        std::string chain;
        if (host::rules::child_chain("root:", name, &chain))
            if (const host::RuleInstance* made = host::rules::find_instance(part, chain)) *instance = made->tag;
    }
    return 0;
}
