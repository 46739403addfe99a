// Run-time values of the rule language: the lists and values a rule-language
// function receives in its argument slots, the typed reads of a value, and
// rules created from a type text and a rule text.
#include "istrane.h"
#include "omvra.h"
#include "quillon.h"
#include "tessik.h"
#include "core/model.h"
#include "rules/rule_store.h"
#include "testing/rules.h"

#include <array>
#include <cstring>
#include <deque>
#include <memory>
#include <string>
#include <vector>

// A list of the rule language: its values' storage and the next one to pop.
struct x_DList_s {
    struct Item {
        int kind = KBL_KIND_NONE;
        int integer = 0;
        double number = 0.0;
        std::array<double, 16> doubles{};
        tag_t tag = 0;
        std::string text;
        x_DList list = nullptr;
        Value value{};
    };
    std::deque<Item> items;
    size_t next = 0;
};

namespace {

// Lists made by the fixtures; dropped when the host is reset. Not model
// state: the rule language's run-time values are not undone.
std::vector<std::unique_ptr<x_DList_s>>& list_pool() {
    static std::vector<std::unique_ptr<x_DList_s>> pool;
    return pool;
}

void* data_of(x_DList_s::Item& item) {
    switch (item.kind) {
        case KBL_KIND_BOOLEAN:
        case KBL_KIND_INTEGER: return &item.integer;
        case KBL_KIND_NUMBER: return &item.number;
        case KBL_KIND_STRING: return &item.text[0];
        case KBL_KIND_POINT:
        case KBL_KIND_VECTOR:
        case KBL_KIND_FRAME: return item.doubles.data();
        case KBL_KIND_OBJECT: return &item.tag;
        case KBL_KIND_LIST: return &item.list;
        default: return nullptr;
    }
}

// Rule kinds by the type texts of rule creation.
struct RuleType {
    const char* text;
    host::RuleValue::Kind kind;
};
constexpr RuleType kRuleTypes[] = {
    {"list parameter modifiable", host::RuleValue::List},
    {"integer parameter modifiable", host::RuleValue::Integer},
    {"number parameter modifiable", host::RuleValue::Number},
    {"string parameter modifiable", host::RuleValue::String},
    {"boolean parameter modifiable", host::RuleValue::Boolean},
    {"point parameter modifiable", host::RuleValue::Point},
    {"frame parameter modifiable", host::RuleValue::Frame},
};

int create_rule(const char* owner, const char* name, const char* type, const char* text) {
    if (!owner || !name || !type || !text) return HM_ERR_NULL_POINTER;
    if (!host::work_part_data()) return HM_ERR_NO_PART;
    const RuleType* rule_type = nullptr;
    for (const RuleType& t : kRuleTypes)
        if (STR_compare_i(t.text, type) == 0) rule_type = &t;
    if (!rule_type) return HM_ERR_BAD_ARGUMENT;
    host::RuleValue value;
    if (!host::rules::parse_rule_text(text, &value)) return HM_ERR_BAD_ARGUMENT;
    const bool whole_number = rule_type->kind == host::RuleValue::Number && value.kind == host::RuleValue::Integer;
    if (value.kind != rule_type->kind && !whole_number) return HM_ERR_WRONG_TYPE;
    return host::rules::set_rule_text(host::model().work_part, owner, name, text);
}

}  // namespace

int KBL_list_length(x_DList list) { return list ? static_cast<int>(list->items.size() - list->next) : 0; }

Value KBL_list_pop(x_DList list) {
    if (!list || list->next >= list->items.size()) return Value{KBL_KIND_NONE, nullptr};
    return list->items[list->next++].value;
}

int KBL_ask_value_kind(const Value* value) { return value ? value->kind : KBL_KIND_NONE; }

int HM_RQ_ask_tag(const Value* value, tag_t* tag) {
    if (!value || !tag || !value->data) return HM_ERR_NULL_POINTER;
    if (value->kind != KBL_KIND_OBJECT) return HM_ERR_WRONG_TYPE;
    *tag = *static_cast<const tag_t*>(value->data);
    return 0;
}

int HM_RQ_ask_frame(const Value* value, double mtx[16]) {
    if (!value || !mtx || !value->data) return HM_ERR_NULL_POINTER;
    if (value->kind != KBL_KIND_FRAME) return HM_ERR_WRONG_TYPE;
    std::memcpy(mtx, value->data, 16 * sizeof(double));
    return 0;
}

int VD_RQ_ask_object_tag(const Value* value, tag_t* tag) { return HM_RQ_ask_tag(value, tag); }

int VD_RQ_create_rule(const char* owner, const char* name, const char* type, const char* text, void* data) {
    (void)data;
    return create_rule(owner, name, type, text);
}

int VD_RQ_create_rule_no_update(const char* owner, const char* name, const char* type, const char* text,
                                void* data) {
    (void)data;
    return create_rule(owner, name, type, text);
}

namespace host_testing {

ArgValue ArgValue::integer(int v) { ArgValue a; a.kind = KBL_KIND_INTEGER; a.integer_value = v; return a; }
ArgValue ArgValue::number(double v) { ArgValue a; a.kind = KBL_KIND_NUMBER; a.number_value = v; return a; }
ArgValue ArgValue::point(double x, double y, double z) {
    ArgValue a;
    a.kind = KBL_KIND_POINT;
    a.doubles = {x, y, z};
    return a;
}
ArgValue ArgValue::object(tag_t t) { ArgValue a; a.kind = KBL_KIND_OBJECT; a.tag_value = t; return a; }
ArgValue ArgValue::frame(const double origin[3], const double x_axis[3], const double y_axis[3]) {
    ArgValue a;
    a.kind = KBL_KIND_FRAME;
    const double z[3] = {x_axis[1] * y_axis[2] - x_axis[2] * y_axis[1], x_axis[2] * y_axis[0] - x_axis[0] * y_axis[2],
                         x_axis[0] * y_axis[1] - x_axis[1] * y_axis[0]};
    a.doubles.assign(16, 0.0);
    for (int r = 0; r < 3; ++r) {
        a.doubles[4 * r + 0] = x_axis[r];
        a.doubles[4 * r + 1] = y_axis[r];
        a.doubles[4 * r + 2] = z[r];
        a.doubles[4 * r + 3] = origin[r];
    }
    a.doubles[15] = 1.0;
    return a;
}
ArgValue ArgValue::text(const char* t) { ArgValue a; a.kind = KBL_KIND_STRING; a.text_value = t ? t : ""; return a; }

x_DList make_value_list(const std::vector<ArgValue>& values) {
    auto list = std::make_unique<x_DList_s>();
    for (const ArgValue& v : values) {
        x_DList_s::Item item;
        item.kind = v.kind;
        item.integer = v.integer_value;
        item.number = v.number_value;
        for (size_t i = 0; i < v.doubles.size() && i < item.doubles.size(); ++i) item.doubles[i] = v.doubles[i];
        item.tag = v.tag_value;
        item.text = v.text_value;
        list->items.push_back(std::move(item));
    }
    for (x_DList_s::Item& item : list->items) item.value = Value{item.kind, data_of(item)};
    list_pool().push_back(std::move(list));
    return list_pool().back().get();
}

const Value* make_value(const ArgValue& value) {
    x_DList list = make_value_list({value});
    return &list->items.front().value;
}

void drop_value_lists() { list_pool().clear(); }

}  // namespace host_testing

namespace host_testing {

std::string stored_rule_text(const char* path) {
    if (!host::work_part_data()) return "";
    host::rules::Resolved r;
    if (host::rules::resolve(host::model().work_part, path, &r) || !r.rule) return "";
    return r.rule->text;
}

}  // namespace host_testing
