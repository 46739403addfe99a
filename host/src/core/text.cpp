// Texts and strings: formatted strings, host texts and comparisons.
#include "quillon.h"
#include "tessik.h"

#include <strings.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>

int STR_snprintf(char* buffer, size_t size, const char* format, ...) {
    if (!format) return -1;
    va_list ap;
    va_start(ap, format);
    int n = std::vsnprintf(buffer, buffer ? size : 0, format, ap);
    va_end(ap);
    return n;
}

void TEXT_init_string(TEXT_t* text, const char* value) {
    if (!text) return;
    text->text = SM_string_copy(value ? value : "");
}

void TEXT_free(TEXT_t* text) {
    if (!text) return;
    SM_free(text->text);
    text->text = nullptr;
}

const char* TEXT_ask_string(const TEXT_t* text) { return text && text->text ? text->text : ""; }

bool TEXT_compare_ascii(const char* a, const char* b) {
    if (!a || !b) return a == b;
    return std::strcmp(a, b) == 0;
}

namespace {
const char* leaf_of(const char* name) {
    if (!name) return "";
    const char* leaf = name;
    for (const char* c = name; *c; ++c)
        if (*c == '/' || *c == '\\' || *c == ':') leaf = c + 1;
    return leaf;
}
}  // namespace

int STR_compare_leaf_i(const char* a, const char* b) { return STR_compare_i(leaf_of(a), leaf_of(b)); }

int STR_compare_i(const char* a, const char* b) {
    if (!a || !b) return (a == b) ? 0 : (a ? 1 : -1);
    return strcasecmp(a, b);
}

int VD_convert_char_toupper(char* text) {
    if (!text) return HM_ERR_NULL_POINTER;
    for (char* c = text; *c; ++c)
        if (*c >= 'a' && *c <= 'z') *c = static_cast<char>(*c - 'a' + 'A');
    return 0;
}
