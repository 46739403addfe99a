// Rule instances by their class: the class of a named instance and the
// names of the instances of a class.
#include "core/model.h"
#include "istrane.h"
#include "quillon.h"
#include "rules/rule_store.h"
#include "tessik.h"

#include <string>
#include <vector>

namespace rules = host::rules;

namespace {

tag_t work_part() { return host::work_part_data() ? host::model().work_part : 0; }

// The canonical chain of a bare name or a chain from the root.
std::string chain_of_name(const char* name) {
    std::string chain = name;
    const bool rooted = chain.size() >= 5 && (chain.compare(0, 5, "root:") == 0 || chain.compare(0, 5, "Root:") == 0);
    if (rooted) chain.replace(0, 5, "root:");
    else chain = "root:" + chain;
    if (chain.back() != ':') chain += ':';
    return chain;
}

}  // namespace

int KBL_ask_instance_class(const char* instance, char** class_name) {
    if (!instance || !class_name) return HM_ERR_NULL_POINTER;
    *class_name = nullptr;
    const tag_t part = work_part();
    if (!part) return HM_ERR_NO_PART;
    if (!*instance) return HM_ERR_NOT_FOUND;
    const host::RuleInstance* found = rules::find_instance(part, chain_of_name(instance));
    if (!found || found->chain == "root:") return HM_ERR_NOT_FOUND;
    *class_name = SM_string_copy(found->class_name.c_str());
    return 0;
}

int VD_get_all_rules_by_class(const char* class_name, int* count, char*** names) {
    if (!class_name || !count || !names) return HM_ERR_NULL_POINTER;
    *count = 0;
    *names = nullptr;
    const tag_t part = work_part();
    if (!part) return HM_ERR_NO_PART;
    std::vector<std::string> found;
    for (const auto& [chain, instance] : rules::instances_of(part)) {
        if (instance.class_name != class_name) continue;
        std::vector<std::string> parts;
        if (!rules::split_path(chain.c_str(), &parts) || parts.size() != 1) continue;
        found.push_back(parts[0]);
    }
    if (found.empty()) return 0;
    auto** out = static_cast<char**>(SM_alloc(found.size() * sizeof(char*)));
    for (size_t i = 0; i < found.size(); ++i) out[i] = SM_string_copy(found[i].c_str());
    *count = static_cast<int>(found.size());
    *names = out;
    return 0;
}
