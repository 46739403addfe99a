// Free rule-instance names for applications that make instances of their own.
#include "core/model.h"
#include "pelvane.h"
#include "quillon.h"
#include "rules/rule_store.h"

#include <string>

namespace rules = host::rules;

int CK_RQ_auto_get_next_rule_name(const char* base, char** name) {
    if (!base || !name) return HM_ERR_NULL_POINTER;
    *name = nullptr;
    if (!*base) return HM_ERR_BAD_ARGUMENT;
    if (!host::work_part_data()) return HM_ERR_NO_PART;
    const tag_t part = host::model().work_part;
    for (long n = 1;; ++n) {
        const std::string candidate = std::string(base) + "_" + std::to_string(n);
        std::string chain;
        if (!rules::child_chain("root:", candidate.c_str(), &chain)) return HM_ERR_BAD_ARGUMENT;
        if (rules::find_instance(part, chain)) continue;
        *name = SM_string_copy(candidate.c_str());
        return *name ? 0 : HM_ERR_BAD_ARGUMENT;
    }
}
