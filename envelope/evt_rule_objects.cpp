// The tire-envelope tool's inputs as list rules of the part's root: one
// record per input (a value or a list of values of one kind), written as one
// list rule and read back.
#include "vd_evt.h"

#include "carvell_session.h"
#include "istrane.h"
#include "omvra.h"
#include "quillon.h"
#include "tessik.h"
#include "toolbox/detail/finite.h"
#include "toolbox/detail/owners.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace carvell::envelope {
namespace {

// A new 133-byte string holding at most 132 characters of the text.
char* evt_string(const char* text) {
    auto* s = static_cast<char*>(SM_calloc(VD_EVT_STRING_SIZE, 1));
    if (s && text) std::snprintf(s, VD_EVT_STRING_SIZE, "%s", text);
    return s;
}

// The text of item i of a record (i = 0 for a single value); false when it
// has none (an object without a reference text).
bool item_text(const VD_EVT_object_t& r, int type, int i, std::string* text) {
    char buffer[64];
    switch (type) {
        case VD_EVT_TYPE_STRING: {
            // At most the 132 characters a record's buffer holds: a buffer
            // without its terminator is not read past its end.
            const char* s = r.type == VD_EVT_TYPE_STRING ? r.value.string : r.value.strings[i];
            *text += "\"" + (s ? std::string(s, strnlen(s, VD_EVT_STRING_SIZE - 1)) : std::string()) + "\"";
            return true;
        }
        case VD_EVT_TYPE_INTEGER:
            std::snprintf(buffer, sizeof buffer, "%d", r.type == type ? r.value.integer : r.value.integers[i]);
            break;
        case VD_EVT_TYPE_NUMBER:
            std::snprintf(buffer, sizeof buffer, "%f", r.type == type ? r.value.number : r.value.numbers[i]);
            break;
        case VD_EVT_TYPE_BOOLEAN:
            std::snprintf(buffer, sizeof buffer, "%s",
                          (r.type == type ? r.value.boolean : r.value.booleans[i]) ? "TRUE" : "FALSE");
            break;
        case VD_EVT_TYPE_OBJECT: {
            char reference[VD_REFERENCE_SIZE];
            if (VD_reference_object(r.type == type ? r.value.tag : r.value.tags[i], reference) != 0) return false;
            *text += reference;
            return true;
        }
        default: return true;   // unknown kinds add no text
    }
    *text += buffer;
    return true;
}

// A boolean's byte as the caller stored it (read as a byte: a bool holding
// anything but 0 or 1 cannot be read as a bool).
unsigned char boolean_byte(const void* at) {
    unsigned char b = 0;
    std::memcpy(&b, at, 1);
    return b;
}

// Whether a record can be written: its list within one block, its numbers
// finite and inside the model space, its booleans 0 or 1.
bool record_usable(const VD_EVT_object_t& r) {
    const bool list = r.type == 1 || r.type == 3 || r.type == 5 || r.type == 7 || r.type == 9;
    if (list && !detail::count_fits(r.count, sizeof(double))) return false;
    if (list && (r.count < 1 || r.value.raw == 0)) return true;   // refused as a list without items
    switch (r.type) {
        case VD_EVT_TYPE_NUMBER: return detail::all_modelled(&r.value.number, 1);
        case VD_EVT_TYPE_NUMBER_LIST: return detail::all_modelled(r.value.numbers, r.count);
        case VD_EVT_TYPE_BOOLEAN: return boolean_byte(&r.value) <= 1;
        case VD_EVT_TYPE_BOOLEAN_LIST:
            for (int i = 0; i < r.count; ++i)
                if (boolean_byte(r.value.booleans + i) > 1) return false;
            return true;
        default: return true;
    }
}

// The element text of one record; -1 for a list without items or an
// object without a reference.
int element_text(const VD_EVT_object_t& r, std::string* text) {
    const bool list = r.type == 1 || r.type == 3 || r.type == 5 || r.type == 7 || r.type == 9;
    if (!list) return item_text(r, r.type, 0, text) ? 0 : -1;
    if (r.count < 1 || r.value.raw == 0) return -1;
    *text += "{ ";
    for (int i = 0; i < r.count; ++i) {
        if (i > 0) *text += ", ";
        if (!item_text(r, r.type - 1, i, text)) return -1;
    }
    *text += " }";
    return 0;
}

// One single value into a record (count 1); the host query's code.
int evt_read_rule_value(HM_RQ_value_t value, VD_EVT_object_t* record) {
    record->count = 1;
    int kind = KBL_KIND_NONE;
    if (const int code = HM_RQ_ask_value_kind(value, &kind)) return code;
    switch (kind) {
        case KBL_KIND_BOOLEAN: record->type = VD_EVT_TYPE_BOOLEAN; return HM_RQ_ask_boolean(value, &record->value.boolean);
        case KBL_KIND_OBJECT: record->type = VD_EVT_TYPE_OBJECT; return HM_RQ_ask_value_tag(value, &record->value.tag);
        case KBL_KIND_INTEGER: record->type = VD_EVT_TYPE_INTEGER; return HM_RQ_ask_integer(value, &record->value.integer);
        case KBL_KIND_NUMBER: record->type = VD_EVT_TYPE_NUMBER; return HM_RQ_ask_number(value, &record->value.number);
        case KBL_KIND_STRING: {
            record->type = VD_EVT_TYPE_STRING;
            detail::SmBlock<char> text;
            const int code = HM_RQ_ask_string(value, text.out());
            if (code == 0) record->value.string = evt_string(text.get());
            return code;
        }
        default: return 0;   // other kinds: count 1 and no value
    }
}

// A list value of m items into a record of the first item's kind.
int read_list_record(HM_RQ_value_t list, int m, VD_EVT_object_t* record) {
    record->count = m;
    int status = 0;
    for (int i = 0; i < m; ++i) {
        HM_RQ_value_t item = 0;
        if ((status = HM_RQ_list_pop(list, &item)) != 0) return status;
        VD_EVT_object_t scratch{};
        status = evt_read_rule_value(item, &scratch);
        if (i == 0) {
            record->type = scratch.type + 1;
            const size_t size = scratch.type == VD_EVT_TYPE_BOOLEAN  ? sizeof(bool)
                                : scratch.type == VD_EVT_TYPE_OBJECT ? sizeof(tag_t)
                                : scratch.type == VD_EVT_TYPE_INTEGER ? sizeof(int)
                                : scratch.type == VD_EVT_TYPE_NUMBER  ? sizeof(double)
                                                                      : sizeof(char*);
            record->value.raw = 0;
            record->value.numbers = static_cast<double*>(SM_calloc(m, size));
        }
        switch (record->type) {
            case VD_EVT_TYPE_BOOLEAN_LIST: record->value.booleans[i] = scratch.value.boolean; break;
            case VD_EVT_TYPE_OBJECT_LIST: record->value.tags[i] = scratch.value.tag; break;
            case VD_EVT_TYPE_INTEGER_LIST: record->value.integers[i] = scratch.value.integer; break;
            case VD_EVT_TYPE_NUMBER_LIST: record->value.numbers[i] = scratch.value.number; break;
            case VD_EVT_TYPE_STRING_LIST:
                record->value.strings[i] = evt_string(scratch.type == VD_EVT_TYPE_STRING ? scratch.value.string : "");
                break;
            default: break;
        }
        if (scratch.type == VD_EVT_TYPE_STRING) SM_free(scratch.value.string);
    }
    return status;
}

// The session bracket of the reading, left on every way out.
struct Bracket {
    Bracket() { VD_enter_omvra(); }
    ~Bracket() { VD_exit_omvra(); }
};

}  // namespace
}  // namespace carvell::envelope

using namespace carvell::envelope;

int VD_EVTWIZ_build_EVT_Object(VD_EVT_object_t* objects, int n, const char* rule_name) {
    if (!objects || n < 1 || !rule_name || !carvell::detail::count_fits(n, sizeof(VD_EVT_object_t))) return -1;
    for (int i = 0; i < n; ++i)
        if (!record_usable(objects[i])) return -1;
    std::string text = "{ ";
    for (int i = 0; i < n; ++i) {
        if (element_text(objects[i], &text) != 0) return -1;
        if (i + 1 < n) text += ", ";
    }
    text += " }";
    return VD_RQ_create_rule("Root:", rule_name, "List Parameter Modifiable", text.c_str(), nullptr);
}

int VD_EVTWIZ_ask_EVT_Object(const char* rule_name, int* n, VD_EVT_object_t** objects) {
    if (n) *n = 0;
    if (objects) *objects = nullptr;
    if (!rule_name || !n || !objects) return -1;
    Bracket bracket;
    const std::string path = std::string("Root:") + rule_name + ":";
    HM_RQ_value_t value = 0, list = 0;
    int kind = KBL_KIND_NONE, count = 0;
    if (HM_RQ_evaluate_rule(path.c_str(), &value) != 0 || HM_RQ_ask_value_kind(value, &kind) != 0 ||
        kind != KBL_KIND_LIST)
        return -1;
    int status = HM_RQ_ask_list(value, &list);
    if (status == 0) status = HM_RQ_ask_list_count(list, &count);
    if (status != 0 || count < 1) return status;
    auto* records = static_cast<VD_EVT_object_t*>(SM_calloc(count, sizeof(VD_EVT_object_t)));
    for (int i = 0; i < count; ++i) {
        HM_RQ_value_t item = 0, inner = 0;
        int item_kind = KBL_KIND_NONE, m = 0;
        if ((status = HM_RQ_list_pop(list, &item)) != 0) break;
        HM_RQ_ask_value_kind(item, &item_kind);
        if (item_kind != KBL_KIND_LIST) {
            status = evt_read_rule_value(item, &records[i]);
            continue;
        }
        status = HM_RQ_ask_list(item, &inner);
        if (status == 0) status = HM_RQ_ask_list_count(inner, &m);
        if (status == 0 && m > 0) status = read_list_record(inner, m, &records[i]);
    }
    *n = count;
    *objects = records;
    return status;
}

int VD_EVTWIZ_free_EVT_Object(int n, VD_EVT_object_t* objects) {
    if (!objects) return 0;
    if (!carvell::detail::count_fits(n, sizeof(VD_EVT_object_t)) && n > 0) return -1;
    for (int i = 0; i < n; ++i) {
        VD_EVT_object_t& r = objects[i];
        if (r.type == VD_EVT_TYPE_STRING_LIST && r.value.strings)
            for (int k = 0; k < r.count; ++k) SM_free(r.value.strings[k]);
        const bool owns = r.type == 0 || r.type == 1 || r.type == 3 || r.type == 5 || r.type == 7 || r.type == 9;
        if (owns && r.value.raw != 0) SM_free(r.value.string);
    }
    SM_free(objects);
    return 0;
}

int VD_EVTWIZ_init_EVT_Object(VD_EVT_object_t* object) {
    if (object) *object = VD_EVT_object_t{};
    return 0;
}

bool VD_EVTWIZ_is_EVT_Object_null(VD_EVT_object_t* object) {
    return !object || (object->value.raw == 0 && object->count == 0 && object->type == 0);
}

bool VD_EVTWIZ_is_group_available(const char* name) {
    if (!name) return false;
    int count = 0;
    char** names = nullptr;
    if (VD_RQ_ask_rules("Root:", &count, &names) != 0) return false;
    bool found = false;
    for (int i = 0; i < count && !found; ++i) found = std::strcmp(names[i], name) == 0;
    VD_free_string_array(count, names);
    return found;
}
