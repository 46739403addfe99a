// Test fixtures of the stand-in host: files a user would export by hand.
// Included by host_testing.h.
#ifndef CARVELL_HOST_TESTING_FILES_H
#define CARVELL_HOST_TESTING_FILES_H

#include "../host_types.h"

namespace host_testing {

// Writes the visible (not blanked) bodies, sheets, curves and points of a
// part (0: the work part), each under its name, into one STEP file (AP214,
// millimetres) that any CAD viewer opens. Answers the number of objects
// written; 0, writing no file, when the part shows none of them; -1 when
// there is no such part or the file cannot be written.
HOST_API int write_step(const char* path, tag_t part = 0);

// Locks a file's protection (CFI_modify_file_protection then fails), as a
// file of another user would be; tests may run as root, who may change any.
HOST_API void lock_path(const char* path, bool locked = true);
// Text files that the host's line reader (hc4504) holds open.
HOST_API int open_text_files();

// Runs the host under its data-management system or not
// (RTENV_ask_kwmanager_active); reset() ends it.
HOST_API void set_kwmanager_active(bool active);
// The next call of the named function of the scenario module (vornesk.h,
// "SFMOD_add_scenario" for example) raises a host exception with the code,
// once; reset() disarms it.
HOST_API void fail_scenario_call(const char* function, int code);

}  // namespace host_testing

#endif
