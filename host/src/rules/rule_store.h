// The rule-language store of the stand-in host: per part, instances with a
// class and a name chain ("root:NAME:", "root:NAME:CHILD:"), each holding
// typed rules and the objects it made. The part's root ("root:") is an
// instance too: it holds the root-level rules and is the parent of the
// top-level instances. Everything here is a copyable value inside
// host::Model, so undo marks restore it.
//
// Paths. A path is a chain of names, each followed by a colon, starting at
// the root: "root:", "root:DRIVER:", "root:DRIVER:Seat_Travel:". The root is
// written "root:" or "Root:" (any case); the other names are case-sensitive.
// A path names an instance when one has that chain, otherwise the rule of its
// last name in the instance named by the rest ("root:DRIVER:" + "rcode").
// A missing final colon is tolerated.
//
// Instances are identified by tags drawn from the host's tag counter (never
// reused); they are not entries of the object table, so object counts and
// object cycling do not see them.
//
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
    enum Kind { None, Number, Integer, String, Boolean, Point, Vector, Frame, List, Object, Instance };
    Kind kind = None;
    double number = 0.0;
    int integer = 0;
    std::string text;
    bool boolean = false;
    std::array<double, 3> xyz{};        // point or vector
    std::array<double, 12> frame{};     // origin then 3x3 matrix, row by row (rows are the axes)
    std::vector<RuleValue> list;
    tag_t object = 0;
    tag_t instance = 0;                 // an instance's tag (see above)
};

struct Rule {
    std::string name;        // as written, without the chain
    std::string text;        // the rule text as given (or formatted from a typed value)
    RuleValue value;         // the parsed value
};

struct RuleInstance {
    tag_t tag = 0;           // identifies the instance (see above)
    std::string chain;       // canonical name chain, "root:NAME:" (lower-case root)
    std::string class_name;  // e.g. "%kw_vd_H_point_design_tool"; "" for the root
    std::map<std::string, Rule> rules;   // keyed by rule name
    std::vector<tag_t> objects;          // geometry the instance made, in order
};

struct RuleStore {
    // By part, then by canonical chain. Each part that has been used holds
    // its root instance "root:".
    std::map<tag_t, std::map<std::string, RuleInstance>> parts;
};

namespace rules {

// Splits a path into its names after the root. False when the path does not
// start at the root or has an empty name ("root::x:").
bool split_path(const char* path, std::vector<std::string>* names);
// The canonical chain of the first n names: "root:" + "NAME:"...
std::string chain_of(const std::vector<std::string>& names, size_t n);
// Canonical chain of parent + name (parent a chain, name one name).
bool child_chain(const char* parent, const char* name, std::string* chain);

// The instances of a part (its root made on first use).
std::map<std::string, RuleInstance>& instances_of(tag_t part);
RuleInstance* find_instance(tag_t part, const std::string& chain);
// The instance with that tag in any part (and its part).
RuleInstance* find_instance_by_tag(tag_t tag, tag_t* part = nullptr);

// What a path names: an instance (rule null) or a rule of an instance.
struct Resolved {
    RuleInstance* instance = nullptr;
    Rule* rule = nullptr;
};
// 0, HM_ERR_NULL_POINTER, HM_ERR_BAD_ARGUMENT (malformed path) or
// HM_ERR_NOT_FOUND. Pointers stay valid until the store changes.
int resolve(tag_t part, const char* path, Resolved* out);

// Creates the instance `name` under the instance `parent` of a part, or
// redefines it when it exists (class replaced and its rules cleared; tag,
// objects and child instances kept). A rule of the parent with that name is
// replaced by the instance. 0, HM_ERR_NOT_FOUND (no parent) or
// HM_ERR_BAD_ARGUMENT (empty name, a name with a colon, no class).
int define_instance(tag_t part, const char* parent, const char* name, const char* class_name,
                    RuleInstance** out = nullptr);
// Creates or replaces the rule `name` of the instance `owner` (a chain),
// from a typed value or from a rule text. A child instance of that name
// cannot be overwritten by a rule (HM_ERR_WRONG_TYPE).
int set_rule(tag_t part, const char* owner, const char* name, const RuleValue& value);
int set_rule_text(tag_t part, const char* owner, const char* name, const char* text);
// Removes the instance parent+name and every instance below it; the objects
// they made are left alone. HM_ERR_NOT_FOUND when there is no such
// instance (HM_ERR_WRONG_TYPE when the name is a plain rule).
int delete_instance(tag_t part, const char* parent, const char* name);
// Alive objects made by the instance and, after them, by its child
// instances (depth first, in chain order).
std::vector<tag_t> objects_below(tag_t part, const RuleInstance& instance);

// Reads a rule text: numbers ("1.5", "-2e3"), integers ("3"), quoted strings
// (a tilde escapes a double quote or a tilde: "a~"b"), TRUE/FALSE in any
// case, Point(x,y,z), Vector(x,y,z), Frame(ox,oy,oz, xx,xy,xz, yx,yy,yz,
// zx,zy,zz), Object(tag), Instance(tag) and lists "{ a, b, { c } }" (empty "{ }").
// Whitespace between tokens is free. False (value untouched) on any error or
// trailing text.
bool parse_rule_text(const char* text, RuleValue* value);
// The canonical text of a value, which parse_rule_text reads back unchanged.
std::string format_rule_value(const RuleValue& value);

}  // namespace rules
}  // namespace host

#endif
