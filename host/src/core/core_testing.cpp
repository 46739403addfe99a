// Fixtures of the core for tests: the reset between tests, parts, live
// allocations, what the host showed, the settings a user makes, and counts of
// objects, undo marks and sessions.
#include "core/model.h"
#include "core/session.h"
#include "core/sinks.h"
#include "host_testing.h"
#include "quillon.h"

using host::model;
using host::sinks;

namespace host_testing {

void reset() {
    host::reset_sessions();
    host::reset_objects();
    host::reset_messages();
    clear_kernel_fault();
    drop_value_lists();
}

tag_t make_part(const char* file_name, bool inches) {
    host::Object& o = host::create(HM_part_type, 0, 0);
    o.part = o.tag;
    host::PartData p;
    p.file_name = file_name ? file_name : "";
    p.inches = inches;
    p.distance_tolerance = inches ? 0.001 : 0.01;
    o.name = p.file_name;
    o.data = p;
    host::set_work_part(o.tag);
    model().display_part = o.tag;
    return o.tag;
}

int count_objects(tag_t part, int type) {
    if (part == 0) part = model().work_part;
    int n = 0;
    for (auto& [tag, o] : model().objects)
        if (o.status == HM_OBJ_ALIVE && o.part == part && o.type != HM_part_type && o.type != host::kTagSetType &&
            (type == 0 || o.type == type))
            ++n;
    return n;
}

int undo_mark_count() { return host::undo_mark_count(); }
int session_depth() { return host::session_depth(); }

/* ---- sinks and settings ---- */

const std::vector<Dialog>& dialogs() { return sinks().dialogs; }
const std::vector<std::string>& status_texts() { return sinks().status; }
const std::string& listing_window() { return sinks().listing; }
const std::vector<std::string>& syslog() { return sinks().syslog; }
const std::string& trace_output() { return sinks().trace; }
const std::vector<std::string>& error_lines() { return sinks().errors; }
void clear_sinks() {
    bool echo = sinks().echo;
    sinks() = host::Sinks{};
    sinks().echo = echo;
}
void echo_to_terminal(bool on) { sinks().echo = on; }
void fail_next_undo_mark() { host::settings().next_undo_mark_fails = true; }
const std::vector<const void*>& om_logged_objects() { return sinks().om_logged; }
const std::vector<std::string>& internal_errors() { return sinks().internal_errors; }
void set_checking_level(int level) { MACH__checking_level = level; }
void set_debug_key(const char* key, bool on) {
    if (key) host::settings().debug_keys[key] = on;
}
void set_env(const char* name, const char* value) {
    if (!name) return;
    if (value)
        host::settings().environment[name] = value;
    else
        host::settings().environment.erase(name);
}
void set_default(const char* key, const char* value) {
    if (key) host::settings().defaults[key] = value ? value : "";
}
void set_listing_window_fails(bool fails) { host::settings().listing_window_fails = fails; }
size_t live_allocations() { return host::live_blocks(); }
size_t bad_frees() { return host::bad_frees(); }

void clear_work_part() { host::set_work_part(0); }

}  // namespace host_testing
