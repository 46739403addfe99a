// vornesk: the host's simulation-scenario module (SFMOD_). A scenario is a
// part of its own, derived from a master part; its part file lies in the
// master's scenario folder, a folder named after the master's part file
// (without extension) in the same directory. The module's functions raise
// host exceptions (Korvath::Error::Exception) when they fail; callers run
// them under an undo mark and roll back.
#ifndef CARVELL_HOST_VORNESK_H
#define CARVELL_HOST_VORNESK_H

#include "host_types.h"

#include <stdbool.h>

// The scenario session of the root part: the master the scenarios derive
// from and the scenario part made in this session (0 until the caller
// records it).
typedef struct SFMOD_session_s {
    tag_t master;
    tag_t scenario;
} SFMOD_session_t;

// Whether the part is a scenario part (false for 0 and unknown tags).
HOST_C_API bool SFMOD_is_scenario_part(tag_t part);

#ifdef __cplusplus
// Enters the scenario environment of the root part and answers its session
// data, owned by the host and valid until the next enter. Raises without a
// root part.
HOST_API SFMOD_session_t* SFMOD_enter_scenario();
// A new scenario part of the session's master under the name (its part file
// <scenario folder>/<name>.prt, not yet written), with the master's units
// and tolerances; the work part does not change. Raises without a session,
// for an empty name or one with a directory delimiter, and when a part of
// that file is loaded.
HOST_API tag_t SFMOD_create_scen_from_root(const char* name);
// Records the session's scenario part as the master's scenario of that name
// (`active`: the scenario the master opens with). Raises when the session
// has no scenario part.
HOST_API void SFMOD_add_scenario(const char* name, bool active);
// Writes the scenario part's file, making the scenario folder when needed.
// Raises for a part that is not a scenario or a file that cannot be written
// (a folder made for it is removed again).
HOST_API void SFMOD__save_scenario(tag_t scenario);
#endif

// The master part's scenario folder as a new SM_alloc'd text (free with
// SM_free); null for no part, a part without a file name, or when the
// folder does not exist.
HOST_C_API char* SFMOD__ask_scen_dir_fm_master(tag_t master);

#endif
