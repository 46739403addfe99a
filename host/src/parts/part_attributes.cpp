// Attributes of a part as a whole: the holder of the part's own attributes
// (the part object), typed assignment and the count of a type.
#include "omvra.h"
#include "core/model.h"

int HM_ATTR_ask_part_attribute(tag_t* holder) {
    if (!holder) return HM_ERR_NULL_POINTER;
    if (!host::work_part_data()) return HM_ERR_NO_PART;
    *holder = host::model().work_part;
    return 0;
}

int HM_ATTR_assign(tag_t object, const char* title, const HM_ATTR_value_t* value) {
    if (!title || !value) return HM_ERR_NULL_POINTER;
    if (!*title) return HM_ERR_BAD_ARGUMENT;
    host::Object* o = host::find(object);
    if (!o) return HM_ERR_INVALID_TAG;
    host::Attribute a;
    switch (value->type) {
        case HM_ATTR_integer: a.kind = host::Attribute::Integer; a.integer = value->value.integer; break;
        case HM_ATTR_real: a.kind = host::Attribute::Real; a.real = value->value.real; break;
        case HM_ATTR_string:
            if (!value->value.string) return HM_ERR_NULL_POINTER;
            a.kind = host::Attribute::String;
            a.text = value->value.string;
            break;
        default: return HM_ERR_BAD_ARGUMENT;
    }
    o->attributes[title] = a;
    return 0;
}

int HM_ATTR_count_attributes(tag_t object, int type, int* count) {
    if (!count) return HM_ERR_NULL_POINTER;
    host::Object* o = host::find(object);
    if (!o) return HM_ERR_INVALID_TAG;
    int n = 0;
    for (const auto& [title, a] : o->attributes)
        if ((type == HM_ATTR_string && a.kind == host::Attribute::String) ||
            (type == HM_ATTR_integer && a.kind == host::Attribute::Integer) ||
            (type == HM_ATTR_real && a.kind == host::Attribute::Real) || type == HM_ATTR_any)
            ++n;
    *count = n;
    return 0;
}
