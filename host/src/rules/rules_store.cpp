// The rule-language store: paths, instances, rules, the objects instances
// made. The typed queries and the public interface build on these.
#include "core/model.h"
#include "rules/rule_store.h"

#include <strings.h>

#include <cstring>

namespace host {
namespace rules {

bool split_path(const char* path, std::vector<std::string>* names) {
    if (!path || !names) return false;
    std::vector<std::string> parts;
    const char* p = path;
    for (;;) {
        const char* colon = std::strchr(p, ':');
        if (!colon) {
            if (*p) parts.emplace_back(p);   // tolerated missing final colon
            break;
        }
        parts.emplace_back(p, colon);
        p = colon + 1;
        if (*p == '\0') break;
    }
    if (parts.empty() || strcasecmp(parts[0].c_str(), "root") != 0) return false;
    for (size_t i = 1; i < parts.size(); ++i)
        if (parts[i].empty()) return false;
    names->assign(parts.begin() + 1, parts.end());
    return true;
}

std::string chain_of(const std::vector<std::string>& names, size_t n) {
    std::string chain = "root:";
    for (size_t i = 0; i < n && i < names.size(); ++i) chain += names[i] + ":";
    return chain;
}

bool child_chain(const char* parent, const char* name, std::string* chain) {
    std::vector<std::string> names;
    if (!name || !*name || std::strchr(name, ':') || !split_path(parent, &names)) return false;
    names.emplace_back(name);
    *chain = chain_of(names, names.size());
    return true;
}

std::map<std::string, RuleInstance>& instances_of(tag_t part) {
    auto& instances = model().rules.parts[part];
    if (instances.find("root:") == instances.end()) {
        RuleInstance root;
        root.tag = next_tag();
        root.chain = "root:";
        instances.emplace(root.chain, std::move(root));
    }
    return instances;
}

RuleInstance* find_instance(tag_t part, const std::string& chain) {
    auto& instances = instances_of(part);
    auto it = instances.find(chain);
    return it == instances.end() ? nullptr : &it->second;
}

RuleInstance* find_instance_by_tag(tag_t tag, tag_t* part) {
    if (tag == 0) return nullptr;
    for (auto& [p, instances] : model().rules.parts)
        for (auto& [chain, instance] : instances)
            if (instance.tag == tag) {
                if (part) *part = p;
                return &instance;
            }
    return nullptr;
}

int resolve(tag_t part, const char* path, Resolved* out) {
    if (!path || !out) return HM_ERR_NULL_POINTER;
    std::vector<std::string> names;
    if (!split_path(path, &names)) return HM_ERR_BAD_ARGUMENT;
    if (RuleInstance* instance = find_instance(part, chain_of(names, names.size()))) {
        *out = Resolved{instance, nullptr};
        return 0;
    }
    if (names.empty()) return HM_ERR_NOT_FOUND;
    RuleInstance* owner = find_instance(part, chain_of(names, names.size() - 1));
    if (!owner) return HM_ERR_NOT_FOUND;
    auto it = owner->rules.find(names.back());
    if (it == owner->rules.end()) return HM_ERR_NOT_FOUND;
    *out = Resolved{owner, &it->second};
    return 0;
}

int define_instance(tag_t part, const char* parent, const char* name, const char* class_name,
                    RuleInstance** out) {
    if (!parent || !name || !class_name) return HM_ERR_NULL_POINTER;
    std::string chain;
    if (!*class_name || !child_chain(parent, name, &chain)) return HM_ERR_BAD_ARGUMENT;
    std::vector<std::string> names;
    split_path(parent, &names);
    RuleInstance* owner = find_instance(part, chain_of(names, names.size()));
    if (!owner) return HM_ERR_NOT_FOUND;
    owner->rules.erase(name);

    auto& instances = instances_of(part);
    auto it = instances.find(chain);
    if (it == instances.end()) {
        RuleInstance instance;
        instance.tag = next_tag();
        instance.chain = chain;
        it = instances.emplace(chain, std::move(instance)).first;
    }
    it->second.class_name = class_name;
    it->second.rules.clear();
    if (out) *out = &it->second;
    return 0;
}

namespace {
int store_rule(tag_t part, const char* owner, const char* name, const RuleValue& value, std::string text) {
    if (!owner || !name) return HM_ERR_NULL_POINTER;
    std::string chain;
    if (!child_chain(owner, name, &chain)) return HM_ERR_BAD_ARGUMENT;
    std::vector<std::string> names;
    split_path(owner, &names);
    RuleInstance* instance = find_instance(part, chain_of(names, names.size()));
    if (!instance) return HM_ERR_NOT_FOUND;
    if (find_instance(part, chain)) return HM_ERR_WRONG_TYPE;
    Rule& rule = instance->rules[name];
    rule.name = name;
    rule.text = std::move(text);
    rule.value = value;
    return 0;
}
}  // namespace

int set_rule(tag_t part, const char* owner, const char* name, const RuleValue& value) {
    return store_rule(part, owner, name, value, format_rule_value(value));
}

int set_rule_text(tag_t part, const char* owner, const char* name, const char* text) {
    if (!text) return HM_ERR_NULL_POINTER;
    RuleValue value;
    if (!parse_rule_text(text, &value)) return HM_ERR_BAD_ARGUMENT;
    return store_rule(part, owner, name, value, text);
}

int delete_instance(tag_t part, const char* parent, const char* name) {
    if (!parent || !name) return HM_ERR_NULL_POINTER;
    std::string chain;
    if (!child_chain(parent, name, &chain)) return HM_ERR_BAD_ARGUMENT;
    auto& instances = instances_of(part);
    auto it = instances.find(chain);
    if (it == instances.end()) {
        Resolved r;
        return (resolve(part, chain.c_str(), &r) == 0 && r.rule) ? HM_ERR_WRONG_TYPE : HM_ERR_NOT_FOUND;
    }
    // The instance and everything whose chain continues it: they sort
    // together, right after it.
    while (it != instances.end() && it->first.compare(0, chain.size(), chain) == 0) it = instances.erase(it);
    return 0;
}

std::vector<tag_t> objects_below(tag_t part, const RuleInstance& instance) {
    std::vector<tag_t> result;
    auto add_alive = [&result](const RuleInstance& i) {
        for (tag_t t : i.objects)
            if (find(t)) result.push_back(t);
    };
    add_alive(instance);
    auto& instances = instances_of(part);
    for (auto it = instances.upper_bound(instance.chain);
         it != instances.end() && it->first.compare(0, instance.chain.size(), instance.chain) == 0; ++it)
        add_alive(it->second);
    return result;
}

}  // namespace rules
}  // namespace host
