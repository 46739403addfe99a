// Test fixtures of the stand-in host: the core. Included by host_testing.h.
// Parts, live allocations, what the host showed (the sinks), the settings a
// user makes (checking level, debug keys, environment, defaults), counts of
// objects, undo marks and sessions, and the reset between tests.
#ifndef CARVELL_HOST_TESTING_CORE_H
#define CARVELL_HOST_TESTING_CORE_H

#include "../host_types.h"

#include <cstddef>
#include <string>
#include <vector>

namespace host_testing {

// Clears the model, undo marks, sessions, sinks and settings. Live
// allocations are not freed (a test that leaks still shows it).
HOST_API void reset();

// A new part in millimetres or inches; it becomes the work and display part.
HOST_API tag_t make_part(const char* file_name, bool inches = false);

// Memory manager blocks not yet freed, and frees of unknown blocks.
HOST_API size_t live_allocations();
HOST_API size_t bad_frees();

struct Dialog {
    std::string title;
    int kind = 0;
    std::vector<std::string> lines;
};
HOST_API const std::vector<Dialog>& dialogs();
HOST_API const std::vector<std::string>& status_texts();
HOST_API const std::string& listing_window();
HOST_API const std::vector<std::string>& syslog();
HOST_API const std::string& trace_output();
HOST_API const std::vector<std::string>& error_lines();
HOST_API void clear_sinks();
// Echo everything the host shows to standard output as well (examples).
HOST_API void echo_to_terminal(bool on);

HOST_API void set_checking_level(int level);
HOST_API void set_debug_key(const char* key, bool on);
HOST_API void set_env(const char* name, const char* value);   // null value unsets
HOST_API void set_default(const char* key, const char* value); // defaults-file value
// A closed listing window cannot be opened (HM_UI_open_listing_window fails).
HOST_API void set_listing_window_fails(bool fails);

// Number of objects alive in a part (0: the work part), of a type (0: all
// types but the part itself).
HOST_API int count_objects(tag_t part = 0, int type = 0);
// Number of open undo marks.
HOST_API int undo_mark_count();
// Session nesting depth.
HOST_API int session_depth();

// Fault injection: the host's guarded kernel calls (entry points that reach
// the geometry kernel) are counted; after n more of them succeed, the next
// one fails as a kernel exception would (its failure code, nothing built),
// once. clear_kernel_fault() disarms it (reset() does too).
HOST_API void fail_kernel_call_after(int n);
HOST_API void clear_kernel_fault();
// Guarded kernel calls made since the host was loaded.
HOST_API long kernel_calls_made();

// Fault injection: the next UNDO_KW_set_mark gives no mark (0), once.
HOST_API void fail_next_undo_mark();

// The messages of the host's internal errors raised (ERROR_internal), in order.
HOST_API const std::vector<std::string>& internal_errors();

// The object records given to the object manager's OM__log, in order.
HOST_API const std::vector<const void*>& om_logged_objects();

// Leaves the session without a work part (the parts stay).
HOST_API void clear_work_part();

}  // namespace host_testing

#endif
