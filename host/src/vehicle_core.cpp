// The vehicle-design core's unit conversion and defaults-file values.
#include "quillon.h"
#include "sinks.h"
#include "tessik.h"

#include <strings.h>

#include <cstdio>
#include <cstring>

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
