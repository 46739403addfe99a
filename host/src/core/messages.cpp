// What the user sees: dialogs, the status area, the listing window, the
// system log and trace output; the checking level, debug keys and the
// run-time environment.
#include "core/model.h"
#include "core/sinks.h"
#include "elvosk.h"
#include "omvra.h"
#include "quillon.h"
#include "sarnweld.h"

#include <cstdio>

int MACH__checking_level = 0;

namespace host {
Sinks& sinks() {
    static Sinks s;
    return s;
}
Settings& settings() {
    static Settings s;
    return s;
}
std::string vformat(const char* format, va_list arguments) {
    va_list copy;
    va_copy(copy, arguments);
    const int n = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (n <= 0) return std::string();
    std::string text(static_cast<size_t>(n) + 1, '\0');
    std::vsnprintf(text.data(), text.size(), format, arguments);
    text.resize(static_cast<size_t>(n));
    return text;
}
namespace {
RTENV_ENV_t current_environment = RTENV_interactive;
bool display_on = true;
}  // namespace
}  // namespace host

using host::sinks;

int HM_UI_open_listing_window(void) {
    if (host::settings().listing_window_fails) return HM_ERR_FILE;
    sinks().listing_open = true;
    return 0;
}

bool HM_UI_is_listing_window_open(void) { return sinks().listing_open; }

int HM_UI_write_listing_window(const char* text) {
    if (!text) return HM_ERR_NULL_POINTER;
    if (!sinks().listing_open) return HM_ERR_BAD_ARGUMENT;
    sinks().listing += text;
    if (sinks().echo) std::fputs(text, stdout);
    return 0;
}

int HM_print_syslog(const char* text, bool) {
    if (!text) return HM_ERR_NULL_POINTER;
    sinks().syslog.push_back(text);
    return 0;
}

int UI_message_dialog(const char* title, int kind, const char** lines, int count) {
    host_testing::Dialog d;
    d.title = title ? title : "";
    d.kind = kind;
    for (int i = 0; lines && i < count; ++i) d.lines.push_back(lines[i] ? lines[i] : "");
    if (sinks().echo) {
        std::printf("[dialog] %s\n", d.title.c_str());
        for (auto& l : d.lines) std::printf("  %s\n", l.c_str());
    }
    sinks().dialogs.push_back(std::move(d));
    return 1;
}

int mtErrorDialog(const char* title, const char** lines, int count, bool, const char**, int) {
    return UI_message_dialog(title, UI_MESSAGE_ERROR, lines, count);
}

int mtWarningDialog(const char* title, const char** lines, int count, bool, const char**, int) {
    return UI_message_dialog(title, UI_MESSAGE_WARNING, lines, count);
}

int UI_set_status(const char* text) {
    sinks().status.push_back(text ? text : "");
    return 0;
}

int HM_DISP_set_display(int on) {
    host::display_on = on != 0;
    return 0;
}
bool HM_DISP_ask_display(void) { return host::display_on; }
int HM_DISP_regenerate_display(void) { return 0; }

bool DEBUG_ask_key(const char* key) {
    if (!key) return false;
    auto& keys = host::settings().debug_keys;
    auto it = keys.find(key);
    return it != keys.end() && it->second;
}

void TRACE_printf(const char* format, ...) {
    if (!format) return;
    va_list ap;
    va_start(ap, format);
    const std::string line = host::vformat(format, ap);
    va_end(ap);
    sinks().trace += line;
    if (sinks().echo) std::fputs(line.c_str(), stdout);
}

RTENV_ENV_t RTENV_set_kwopen_env(void) {
    RTENV_ENV_t previous = host::current_environment;
    host::current_environment = RTENV_kwopen;
    return previous;
}
int RTENV_set_env(RTENV_ENV_t environment) {
    // Only the host's own environments: anything else would leave a value
    // outside the enumeration for every later RTENV_ask_env.
    const int value = static_cast<int>(environment);
    if (value != RTENV_interactive && value != RTENV_kwopen && value != RTENV_batch) return HM_ERR_BAD_ARGUMENT;
    host::current_environment = environment;
    return 0;
}
RTENV_ENV_t RTENV_ask_env(void) { return host::current_environment; }

const char* HM_get_fail_message(int code) {
    switch (code) {
        case HM_ERR_OK: return "No error";
        case HM_ERR_INVALID_TAG: return "Invalid object identifier";
        case HM_ERR_WRONG_TYPE: return "Object is of the wrong type";
        case HM_ERR_NULL_POINTER: return "Null pointer argument";
        case HM_ERR_BAD_ARGUMENT: return "Invalid argument";
        case HM_ERR_NOT_FOUND: return "Not found";
        case HM_ERR_NO_SESSION: return "No host-API session";
        case HM_ERR_NO_PART: return "No work part";
        case HM_ERR_GEOMETRY: return "Geometry operation failed";
        case HM_ERR_FILE: return "File error";
        case HM_ERR_UNDO_MARK: return "Invalid undo mark";
        default: return "Unknown error";
    }
}

namespace host {
void reset_messages() {
    sinks() = Sinks{};
    settings() = Settings{};
    MACH__checking_level = 0;
    current_environment = RTENV_interactive;
    display_on = true;
}
}  // namespace host
