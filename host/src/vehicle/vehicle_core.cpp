// The vehicle-design core: unit conversion, defaults-file values, and the
// update state and feature of a design instance of the rule language.
#include "core/model.h"
#include "core/sinks.h"
#include "omvra.h"
#include "quillon.h"
#include "tessik.h"

#include <strings.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>

double vd_convert_unit(double value, int from, int to) {
    if (from == to) return value;
    if (from == VD_UNIT_MM && to == VD_UNIT_INCH) return value / 25.4;
    if (from == VD_UNIT_INCH && to == VD_UNIT_MM) return value * 25.4;
    return value;
}

int VD_DEFFILE_read_value(const char*, const char* key, int type, void* value) {
    if (!key || !value) return HM_ERR_NULL_POINTER;
    auto& defaults = host::settings().defaults;
    auto it = defaults.find(key);
    if (it == defaults.end()) return HM_ERR_NOT_FOUND;
    const char* text = it->second.c_str();
    if (type == VD_DEFFILE_SWITCH) {
        bool on = !strcasecmp(text, "1") || !strcasecmp(text, "ON") || !strcasecmp(text, "TRUE") ||
                  !strcasecmp(text, "YES");
        *static_cast<unsigned char*>(value) = on ? 1 : 0;
        return 0;
    }
    if (type == VD_DEFFILE_TEXT) {
        std::snprintf(static_cast<char*>(value), VD_DEFFILE_TEXT_SIZE, "%s", text);
        return 0;
    }
    return HM_ERR_BAD_ARGUMENT;
}

namespace {

// Rule query on "root:NAME:" + attribute (attribute may be empty).
struct InstancePath {
    InstancePath(const char* name, const char* attribute) {
        std::string path = std::string("root:") + name + ":";
        if (*attribute) path += std::string(attribute) + ":";
        TEXT_init_string(&text, path.c_str());
    }
    ~InstancePath() { TEXT_free(&text); }
    TEXT_t text;
};

}  // namespace

int VD_ask_hpd_data(const char* name, VD_hpd_param_t* data) {
    if (!name || !data) return HM_ERR_NULL_POINTER;
    if (!VD_is_instance_of_class("root:", name, "%kw_vd_H_point_design_tool") &&
        !VD_is_instance_of_class("root:", name, "%kw_vd_occupant_packaging"))
        return HM_ERR_NOT_FOUND;
    int code = 0;
    InstancePath rcode(name, "rcode");
    VD_RQ_ask_integer(&rcode.text, &code);
    data->update_success = code == 0;
    data->fail_code = code;
    return 0;
}

int VD_ask_feature_tag_and_name(const char* name, tag_t* feature, char** feature_name) {
    if (!name || !feature || !feature_name) return HM_ERR_NULL_POINTER;
    InstancePath instance(name, "");
    int count = 0;
    tag_t* objects = nullptr;
    int result = VD_RQ_ask_objs_list(&instance.text, &count, &objects);
    if (result != 0) return HM_ERR_NOT_FOUND;
    tag_t found = 0;
    for (int i = 0; i < count && !found; ++i) {
        const host::Object* o = host::find(objects[i], HM_feature_type);
        if (o) found = o->tag;
    }
    SM_free(objects);
    if (!found) return HM_ERR_NOT_FOUND;
    *feature = found;
    *feature_name = SM_string_copy(host::find(found)->name.c_str());
    return 0;
}

void VD_convert_char_toupper(char* text) {
    if (!text) return;
    for (char* c = text; *c; ++c) *c = static_cast<char>(std::toupper(static_cast<unsigned char>(*c)));
}
