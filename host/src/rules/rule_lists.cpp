// String lists of the rule language: a list rule of quoted strings handed
// out as memory-manager strings, as the tools store text files line by line.
#include "quillon.h"
#include "tessik.h"
#include "core/model.h"
#include "rules/rule_store.h"

#include <strings.h>

#include <cstring>
#include <string>

namespace {

// A stored line keeps the line end it was read with; one final line end of
// the literal is dropped, so that writing each string with its own line end
// gives the file back line for line.
std::string without_final_line_end(const std::string& text) {
    if (!text.empty() && text.back() == '\n') {
        std::string out = text.substr(0, text.size() - 1);
        if (!out.empty() && out.back() == '\r') out.pop_back();
        return out;
    }
    return text;
}

}  // namespace

int VD_RQ_ask_string_list(const TEXT_t* path, int* count, char*** strings) {
    if (!path || !path->text || !count || !strings) return HM_ERR_NULL_POINTER;
    const tag_t part = host::model().work_part;
    if (!part) return HM_ERR_NO_PART;
    // A path without the root ("NAME:rule:") is read from the root.
    std::string full = path->text;
    if (strncasecmp(full.c_str(), "root:", 5) != 0) full = "root:" + full;
    host::rules::Resolved r;
    int result = host::rules::resolve(part, full.c_str(), &r);
    if (result) return result;
    if (!r.rule || r.rule->value.kind != host::RuleValue::List) return HM_ERR_WRONG_TYPE;
    const auto& items = r.rule->value.list;
    for (const auto& item : items)
        if (item.kind != host::RuleValue::String) return HM_ERR_WRONG_TYPE;
    char** out = nullptr;
    if (!items.empty()) {
        out = static_cast<char**>(SM_calloc(items.size(), sizeof(char*)));
        if (!out) return HM_ERR_BAD_ARGUMENT;
        for (size_t i = 0; i < items.size(); ++i) out[i] = SM_string_copy(without_final_line_end(items[i].text).c_str());
    }
    *count = static_cast<int>(items.size());
    *strings = out;
    return 0;
}
