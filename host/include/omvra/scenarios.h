// omvra: simulation scenarios. Included by omvra.h; not included on its own.
// The scenario part files of the work part (see vornesk.h for the layout)
// and the existence of a file.
#ifndef CARVELL_HOST_OMVRA_SCENARIOS_H
#define CARVELL_HOST_OMVRA_SCENARIOS_H

#include "../host_types.h"

// The scenario part files of the work part's master (the work part itself,
// or the master of a scenario work part), every entry of its scenario folder
// named "*.prt" that is not a folder: their paths, sorted, in a new
// array of SM_alloc'd texts (free with HM_free_string_array); count 0 and a
// null array when there is none. HM_ERR_NO_PART without a work part.
HOST_C_API int HM_SF_locate_scenarios(int* count, char*** files);
// Frees each text of the array and the array; a null array: nothing.
HOST_C_API void HM_free_string_array(int count, char** strings);
// *status 0 when the file or folder exists, 1 when it does not; the call
// answers 0, HM_ERR_NULL_POINTER, or HM_ERR_FILE when it cannot be asked.
HOST_C_API int HM_CFI_ask_file_exist(const char* name, int* status);

// Only the 2003 host has this. A scenario part of the name derived from the
// root part, added to the master's scenarios and saved; the master's motion
// part is cleaned up. *scenario is the new part; the work part stays. 0, or
// HM_ERR_NULL_POINTER, or the code of the scenario module's failure (the
// model is then as it was and *scenario 0). A root part that is a scenario
// part already gives HM_ERR_BAD_ARGUMENT.
HOST_C_API int HM_SF_create_scenario(const char* name, tag_t* scenario);

#endif
