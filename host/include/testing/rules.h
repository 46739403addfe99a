// Test fixtures of the stand-in host: rules. Included by host_testing.h.
// Paths and chains are those of the rule language ("root:NAME:attr:", "Root:"
// alike), always in the work part; rule texts are read as the host reads the
// texts that tools write ("100.0", "3", "\"text\"", "TRUE", "Point(1,2,3)",
// "Vector(0,0,1)", "Frame(ox,oy,oz, 9 matrix values row by row)",
// "Object(tag)", "Instance(tag)", "{ a, { b, c } }").
#ifndef CARVELL_HOST_TESTING_RULES_H
#define CARVELL_HOST_TESTING_RULES_H

#include "../host_types.h"

#include <string>
#include <utility>
#include <vector>

// Run-time values of the rule language (istrane.h).
struct x_DList_s;
struct Value_s;

namespace host_testing {

using RuleTexts = std::vector<std::pair<std::string, std::string>>;

// Makes (or redefines) the instance `name` of a class under the chain
// `parent`, with its rules given as (rule name, rule text) pairs. Answers the
// instance's tag; 0 when the parent does not exist or a text does not parse.
HOST_API tag_t make_rule_instance(const char* parent, const char* name, const char* class_name,
                                  const RuleTexts& rules = {});
// Creates or replaces the rule at a path "root:NAME:attr:" from a rule text;
// 0 or a host error code (HM_ERR_BAD_ARGUMENT for a text that does not parse).
HOST_API int set_rule(const char* path, const char* text);
// The canonical text of the rule at a path; "" when there is no such rule.
HOST_API std::string rule_text(const char* path);
// Records an object as made by the instance at a chain (0 or an error code).
HOST_API int add_instance_object(const char* chain, tag_t object);
// The objects recorded for the instance at a chain, deleted ones included.
HOST_API std::vector<tag_t> instance_objects(const char* chain);
// Makes a feature of the work part named `feature_name` and records it as
// made by the rule instance "root:INSTANCE:", as the host does for the
// feature of an application's design instance. Answers the feature's tag; 0
// when there is no such instance.
HOST_API tag_t make_instance_feature(const char* instance_name, const char* feature_name);
// Number of rule instances of the work part, its root not counted.
HOST_API int count_rule_instances();


// Run-time values of the rule language (istrane.h) as a rule-language call
// hands them to a library function in its argument slots.
struct ArgValue {
    int kind = 0;
    int integer_value = 0;
    double number_value = 0.0;
    std::vector<double> doubles;
    tag_t tag_value = 0;
    std::string text_value;
    static ArgValue integer(int v);
    static ArgValue number(double v);
    static ArgValue point(double x, double y, double z);
    static ArgValue object(tag_t t);
    // A frame with origin and x and y axes (unit, orthogonal); z = x cross y.
    static ArgValue frame(const double origin[3], const double x_axis[3], const double y_axis[3]);
    static ArgValue text(const char* t);
};
// A list of values (x_DList), valid until the host is reset.
HOST_API x_DList_s* make_value_list(const std::vector<ArgValue>& values);
// One value, valid until the host is reset.
HOST_API const Value_s* make_value(const ArgValue& value);
// The rule text at a path exactly as its creator wrote it; "" when there is
// no such rule.
HOST_API std::string stored_rule_text(const char* path);
// Drops every list and value the fixtures made (the host's reset does).
HOST_API void drop_value_lists();

}  // namespace host_testing

#endif
