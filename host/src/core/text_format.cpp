// Host texts made from a format: the rule paths that applications build from
// an instance prefix and an attribute name.
#include "core/sinks.h"
#include "quillon.h"

#include <cstdarg>
#include <string>

void TEXT_format_string(TEXT_t* text, const char* format, ...) {
    if (!text) return;
    std::string formatted;
    if (format) {
        va_list arguments;
        va_start(arguments, format);
        formatted = host::vformat(format, arguments);
        va_end(arguments);
    }
    TEXT_init_string(text, formatted.c_str());
}
