// In-memory sinks of what the user of the host would see: dialogs, the
// status area, the listing window, the system log, trace and error output.
// Internal to the stand-in; tests read them through host_testing.h.
#ifndef CARVELL_HOST_SINKS_H
#define CARVELL_HOST_SINKS_H

#include "testing/core.h"

#include <cstdarg>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace host {

struct Sinks {
    std::vector<host_testing::Dialog> dialogs;
    std::vector<std::string> status;       // every text set, in order
    std::string listing;                   // the listing window's whole text
    bool listing_open = false;
    std::vector<std::string> syslog;
    std::string trace;                     // trace and debug output
    std::vector<std::string> errors;       // ERROR_lprintf and ERROR_severe lines
    std::vector<const void*> om_logged;    // object records given to OM__log, in order
    std::vector<std::string> internal_errors;  // messages of the internal errors raised
    bool echo = false;                     // also print to the terminal
};
Sinks& sinks();

struct Settings {
    std::map<std::string, bool> debug_keys;
    std::map<std::string, std::string> environment;
    std::map<std::string, std::string> defaults;
    std::set<std::string> locked_paths;    // files whose protection cannot be changed
    bool listing_window_fails = false;   // the listing window cannot be opened
    bool kwmanager_active = false;       // runs under the data-management system
    std::string failing_scenario_call;   // the scenario-module function that raises next
    int failing_scenario_code = 0;       // and the code it raises
    bool next_undo_mark_fails = false;   // the next UNDO_KW_set_mark gives no mark
};
Settings& settings();

size_t live_blocks();
size_t bad_frees();

// Empties the sinks and restores the settings, the checking level, the
// run-time environment and the display to those of a new session.
void reset_messages();

// The printf-style text of the format and its arguments, whatever its length.
std::string vformat(const char* format, va_list arguments);

}  // namespace host

#endif
