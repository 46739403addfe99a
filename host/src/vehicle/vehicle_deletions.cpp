// Temporary bodies of the vehicle-design tools, logged for deletion at the
// next update.
#include "morvish.h"
#include "tessik.h"

int VD_log_body_to_delete(tag_t body) { return UPDATE_log_entity_to_delete(body); }
