// Test fixtures of the rule language: instances made from rule texts, rules
// set and read back as texts, the objects an instance made and its feature.
#include "core/model.h"
#include "host_testing.h"
#include "omvra.h"
#include "rules/rule_store.h"

namespace rules = host::rules;

namespace host_testing {

namespace {
// Feature kind of the feature that stands for a rule instance in the part.
constexpr const char* kInstanceFeatureKind = "RULE_INSTANCE";

tag_t current_part() { return host::work_part_data() ? host::model().work_part : 0; }
}  // namespace

tag_t make_rule_instance(const char* parent, const char* name, const char* class_name, const RuleTexts& texts) {
    tag_t part = current_part();
    std::vector<const char*> names, values;
    for (const auto& [n, v] : texts) {
        names.push_back(n.c_str());
        values.push_back(v.c_str());
    }
    if (HM_RQ_create_child_rule(part, parent, name, class_name, static_cast<int>(texts.size()), names.data(),
                                values.data()))
        return 0;
    std::string chain;
    rules::child_chain(parent, name, &chain);
    return rules::find_instance(part, chain)->tag;
}

int set_rule(const char* path, const char* text) {
    tag_t part = current_part();
    if (!part) return HM_ERR_NO_PART;
    std::vector<std::string> names;
    if (!path || !rules::split_path(path, &names) || names.empty()) return HM_ERR_BAD_ARGUMENT;
    std::string owner = rules::chain_of(names, names.size() - 1);
    return rules::set_rule_text(part, owner.c_str(), names.back().c_str(), text);
}

std::string rule_text(const char* path) {
    tag_t part = current_part();
    rules::Resolved r;
    if (!part || rules::resolve(part, path, &r) || !r.rule) return "";
    return rules::format_rule_value(r.rule->value);
}

int add_instance_object(const char* chain, tag_t object) {
    tag_t part = current_part();
    if (!part) return HM_ERR_NO_PART;
    rules::Resolved r;
    int result = rules::resolve(part, chain, &r);
    if (result) return result;
    if (r.rule) return HM_ERR_WRONG_TYPE;
    if (!host::find(object)) return HM_ERR_INVALID_TAG;
    r.instance->objects.push_back(object);
    return 0;
}

std::vector<tag_t> instance_objects(const char* chain) {
    tag_t part = current_part();
    rules::Resolved r;
    if (!part || rules::resolve(part, chain, &r) || r.rule) return {};
    return r.instance->objects;
}

tag_t make_instance_feature(const char* instance_name, const char* feature_name) {
    if (!instance_name || !feature_name) return 0;
    const std::string chain = std::string("root:") + instance_name + ":";
    host::Object& feature = host::create_feature(kInstanceFeatureKind, 0);
    feature.name = feature_name;
    const tag_t tag = feature.tag;
    if (add_instance_object(chain.c_str(), tag) != 0) {
        host::erase(tag);
        return 0;
    }
    return tag;
}

int count_rule_instances() {
    tag_t part = current_part();
    if (!part) return 0;
    return static_cast<int>(rules::instances_of(part).size()) - 1;
}

}  // namespace host_testing
