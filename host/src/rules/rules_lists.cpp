// Whole list rules read in one query (points, vectors, numbers, strings) and
// the rule string that names an instance.
#include "core/model.h"
#include "quillon.h"
#include "rules/rule_store.h"
#include "tessik.h"

#include <strings.h>

#include <cstring>
#include <string>
#include <vector>

using host::RuleValue;
namespace rules = host::rules;

namespace {

tag_t work_part() { return host::work_part_data() ? host::model().work_part : 0; }

// The list rule at a path.
int list_at(const TEXT_t* path, const RuleValue** list) {
    if (!path || !path->text) return HM_ERR_NULL_POINTER;
    tag_t part = work_part();
    if (!part) return HM_ERR_NO_PART;
    rules::Resolved r;
    int result = rules::resolve(part, path->text, &r);
    if (result) return result;
    if (!r.rule || r.rule->value.kind != RuleValue::List) return HM_ERR_WRONG_TYPE;
    *list = &r.rule->value;
    return 0;
}

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

int triple_list(const TEXT_t* path, RuleValue::Kind kind, int* count, double*** out) {
    if (!count || !out) return HM_ERR_NULL_POINTER;
    *count = 0;
    *out = nullptr;
    const RuleValue* list;
    int result = list_at(path, &list);
    if (result) return result;
    for (const RuleValue& v : list->list)
        if (v.kind != kind) return HM_ERR_WRONG_TYPE;
    const size_t n = list->list.size();
    if (n == 0) return 0;
    double** array = static_cast<double**>(SM_alloc(n * sizeof(double*)));
    for (size_t i = 0; i < n; ++i) {
        array[i] = static_cast<double*>(SM_alloc(3 * sizeof(double)));
        std::memcpy(array[i], list->list[i].xyz.data(), 3 * sizeof(double));
    }
    *count = static_cast<int>(n);
    *out = array;
    return 0;
}

}  // namespace

int VD_RQ_ask_point_list(const TEXT_t* path, int* count, double*** points) {
    return triple_list(path, RuleValue::Point, count, points);
}

int VD_RQ_ask_vector_list(const TEXT_t* path, int* count, double*** vectors) {
    return triple_list(path, RuleValue::Vector, count, vectors);
}

int VD_RQ_ask_number_list(const TEXT_t* path, int* count, double** numbers) {
    if (!count || !numbers) return HM_ERR_NULL_POINTER;
    *count = 0;
    *numbers = nullptr;
    const RuleValue* list;
    int result = list_at(path, &list);
    if (result) return result;
    std::vector<double> values;
    for (const RuleValue& v : list->list) {
        if (v.kind == RuleValue::Number) values.push_back(v.number);
        else if (v.kind == RuleValue::Integer) values.push_back(v.integer);
        else return HM_ERR_WRONG_TYPE;
    }
    if (values.empty()) return 0;
    double* array = static_cast<double*>(SM_alloc(values.size() * sizeof(double)));
    std::memcpy(array, values.data(), values.size() * sizeof(double));
    *count = static_cast<int>(values.size());
    *numbers = array;
    return 0;
}

int VD_RQ_ask_string_list(const TEXT_t* path, int* count, char*** strings) {
    if (!path || !path->text || !count || !strings) return HM_ERR_NULL_POINTER;
    // A path without the root ("NAME:rule:") is read from the root.
    std::string full = path->text;
    if (strncasecmp(full.c_str(), "root:", 5) != 0) full = "root:" + full;
    const TEXT_t rooted = {full.data()};
    const RuleValue* list;
    int result = list_at(&rooted, &list);
    if (result) return result;
    const auto& items = list->list;
    for (const auto& item : items)
        if (item.kind != RuleValue::String) return HM_ERR_WRONG_TYPE;
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

int VD_ask_rule_string(const char* name, char** rule_string) {
    if (!name || !rule_string) return HM_ERR_NULL_POINTER;
    *rule_string = nullptr;
    tag_t part = work_part();
    if (!part) return HM_ERR_NO_PART;
    if (!*name) return HM_ERR_BAD_ARGUMENT;
    std::string chain = name;
    const bool rooted = chain.size() >= 5 && (chain.compare(0, 5, "root:") == 0 || chain.compare(0, 5, "Root:") == 0);
    if (!rooted) chain = "root:" + chain;
    if (chain.back() != ':') chain += ':';
    rules::Resolved r;
    if (rules::resolve(part, chain.c_str(), &r) || r.rule || !r.instance) return HM_ERR_NOT_FOUND;
    *rule_string = SM_string_copy(chain.c_str());
    return 0;
}
