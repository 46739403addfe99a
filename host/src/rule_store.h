// The rule-language store of the stand-in host: instances with a class and a
// name chain ("root:NAME:"), each holding typed rules and the objects it made.
// Internal to the stand-in.
#ifndef CARVELL_HOST_RULE_STORE_H
#define CARVELL_HOST_RULE_STORE_H

#include "host_types.h"

#include <array>
#include <map>
#include <string>
#include <vector>

namespace host {

struct RuleValue {
    enum Kind { None, Number, Integer, String, Boolean, Point, Vector, Frame, List, Object };
    Kind kind = None;
    double number = 0.0;
    int integer = 0;
    std::string text;
    bool boolean = false;
    std::array<double, 3> xyz{};        // point or vector
    std::array<double, 12> frame{};     // origin then 3x3 matrix, row by row
    std::vector<RuleValue> list;
    tag_t object = 0;
};

struct Rule {
    std::string name;        // as written, without the chain
    std::string text;        // the rule text as given
    RuleValue value;         // the parsed value
};

struct RuleInstance {
    std::string chain;       // canonical name chain, "root:NAME:" (lower-case root)
    std::string class_name;  // e.g. "%kw_vd_H_point_design_tool"
    tag_t part = 0;
    std::map<std::string, Rule> rules;   // keyed by rule name
    std::vector<tag_t> objects;          // geometry the instance made
};

struct RuleStore {
    std::map<std::string, RuleInstance> instances;   // keyed by canonical chain
};

}  // namespace host

#endif
