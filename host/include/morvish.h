// morvish: the host's part and entity internals: work part and its units,
// entity types, the update log of objects to delete.
#ifndef CARVELL_HOST_MORVISH_H
#define CARVELL_HOST_MORVISH_H

#include "host_types.h"

#include <stdbool.h>

HOST_C_API tag_t CONTEXT_ask_work_part(void);
HOST_C_API bool CONTEXT_ask_in_context(void);   // true inside an assembly context
// The root part of the session: the displayed part (0 without one).
HOST_C_API tag_t CONTEXT_ask_root_part(void);
HOST_C_API int PART_ask_units(tag_t part);      // 0 millimetres, 1 inches; -1 for no part
HOST_C_API tag_t PART_ask_part_of_object(tag_t object);
HOST_C_API int RM_ask_entity_type_and_subtype(tag_t object, int* type, int* subtype);
// State of an object: 3 (HM_OBJ_ALIVE) for a live, active object, 0 for a deleted or unknown tag.
HOST_C_API int es0022(tag_t object);
// Puts a live object to sleep or wakes it (objects of this host are always awake).
HOST_C_API int RM_set_sleep_state(tag_t object, bool sleep);
// Display form of a part file name as an SM_alloc'd text (free with SM_free):
// mode 6 is the bare name (no directory, no extension); other modes answer
// the name as given. Null for a null name.
HOST_C_API char* PART_name_for_display(const char* part_name, int mode);
// Whether the part's cached model data are loaded (every part this host
// holds is loaded fully); false for 0 and for tags that are no part.
HOST_C_API bool PART_is_cmod_data_loaded(tag_t part);

// Deferred deletion: logged objects are deleted at the next update.
HOST_C_API int UPDATE_log_entity_to_delete(tag_t object);
HOST_C_API bool UPDATE_is_object_logged(tag_t object);
HOST_C_API int UPDATE_do_update(void);

// Colour, layer (1..256) and name of an object set by value; the name is the
// first `length` characters of the text (up to a terminator).
HOST_C_API int ES_set_object_color(tag_t object, unsigned int colour);
HOST_C_API int ES_set_object_layer(tag_t object, unsigned int layer);
HOST_C_API int ES_add_entity_name(tag_t object, const char* name, int length);

// Loading of parts and components. A load status is the HM_PART_load_status_t
// of omvra.h; PART_free_load_status frees its names and codes and clears it.
typedef struct HM_PART_load_status_s PART_load_status_t;
// Loads the part a component places (opening its file when it is not in the
// session) and shows its bodies and facetted models in the assembly; the work
// and display parts stay. A file that cannot be read: HM_ERR_FILE, with a
// failed status naming it.
HOST_C_API int PART_load_component(tag_t component, PART_load_status_t* status);
HOST_C_API void PART_free_load_status(PART_load_status_t* status);
// Makes sure the data of the occurrences of a part (or of a component's
// part) are loaded: this host keeps them loaded, so it only checks the tag.
HOST_C_API int PART_ensure_occ_data_loaded(tag_t part_or_component);
// A part's file name as an SM_alloc'd text the caller frees.
HOST_C_API int PART_ask_filename_of_part(tag_t part, char** file_name);

// Views and other entities of a part by type: *entity 0 starts the walk, the
// next entity is answered in *entity, 0 at the end.
HOST_C_API int ES_cycle_entities_by_type(tag_t part, int type, tag_t* entity);
// An entity's name into a buffer of `size` bytes (cut to size-1 characters).
HOST_C_API int ES_read_entity_name(tag_t entity, char* name, size_t size);

#endif
