// Texts, strings, the file system and the environment.
#include "quillon.h"
#include "sinks.h"

#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
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

int STR_compare_i(const char* a, const char* b) {
    if (!a || !b) return (a == b) ? 0 : (a ? 1 : -1);
    return strcasecmp(a, b);
}

char* OS_ask_env(const char* name) {
    if (!name) return nullptr;
    auto& env = host::settings().environment;
    auto it = env.find(name);
    if (it != env.end()) return SM_string_copy(it->second.c_str());
    const char* value = std::getenv(name);
    return value ? SM_string_copy(value) : nullptr;
}

bool OS_file_exists(const char* path) {
    struct stat st;
    return path && ::stat(path, &st) == 0 && S_ISREG(st.st_mode);
}

bool OS_dir_exists(const char* path) {
    struct stat st;
    return path && ::stat(path, &st) == 0 && S_ISDIR(st.st_mode);
}

bool OS_dir_writable(const char* path) { return OS_dir_exists(path) && ::access(path, W_OK) == 0; }
