// Display refresh and the regeneration of one object's display. The stand-in
// shows nothing; a refresh is a no-op that checks what it is given.
#include "core/model.h"

#include "elvosk.h"

int DSS_REFRSH_refresh_display(void) { return 0; }

int DSS_REGEN_regen_object(tag_t object) { return host::find(object) ? 0 : HM_ERR_INVALID_TAG; }
