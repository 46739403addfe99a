// morvish: the host's part and entity internals: work part and its units,
// entity types, the update log of objects to delete.
#ifndef CARVELL_HOST_MORVISH_H
#define CARVELL_HOST_MORVISH_H

#include "host_types.h"

#include <stdbool.h>

HOST_C_API tag_t CONTEXT_ask_work_part(void);
HOST_C_API bool CONTEXT_ask_in_context(void);   // true inside an assembly context
HOST_C_API int PART_ask_units(tag_t part);      // 0 millimetres, 1 inches; -1 for no part
HOST_C_API tag_t PART_ask_part_of_object(tag_t object);
HOST_C_API int RM_ask_entity_type_and_subtype(tag_t object, int* type, int* subtype);

// Deferred deletion: logged objects are deleted at the next update.
HOST_C_API int UPDATE_log_entity_to_delete(tag_t object);
HOST_C_API bool UPDATE_is_object_logged(tag_t object);
HOST_C_API int UPDATE_do_update(void);

#endif
