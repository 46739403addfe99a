// Test fixtures of the vehicle-design core: an eyellipse instance.
#include "host_testing.h"
#include "tessik.h"

#include <cstdio>
#include <string>

namespace host_testing {

namespace {

std::string number(double v) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.17g", v);
    return buffer;
}

std::string triple(const char* kind, const std::array<double, 3>& p) {
    return std::string(kind) + "(" + number(p[0]) + "," + number(p[1]) + "," + number(p[2]) + ")";
}

template <size_t N>
std::string triples(const char* kind, const std::array<std::array<double, 3>, N>& rows) {
    std::string text = "{ ";
    for (size_t i = 0; i < N; ++i) text += (i ? ", " : "") + triple(kind, rows[i]);
    return text + " }";
}

std::string numbers(const std::array<double, 3>& v) {
    return "{ " + number(v[0]) + ", " + number(v[1]) + ", " + number(v[2]) + " }";
}

}  // namespace

tag_t make_eyellipse(const char* name, const EyellipseSpec& s) {
    RuleTexts rules = {
        {"Centroid_coords", triples("Point", s.centroids)},
        {"Axis_dir", triples("Vector", s.axis_dirs)},
        {"Axis_Length", numbers(s.lengths)},
        {"Axis_Length_95", numbers(s.lengths_95)},
        {"Axis_Length_99", numbers(s.lengths_99)},
        {"Side_value", number(s.side_value)},
        {"Drive_side", std::to_string(s.drive_side)},
    };
    if (s.pivot_set_1) rules.push_back({"Pivot_points_1", triples("Point", s.pivots_1)});
    if (s.pivot_set_2) rules.push_back({"Pivot_points_2", triples("Point", s.pivots_2)});
    return make_rule_instance("root:", name, VD_EYELLIPSE_CLASS, rules);
}

}  // namespace host_testing
