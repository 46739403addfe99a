// Object state enquiries used when new curves are made: the state of an
// object and its sleep state. Objects of this host are created awake.
#include "model.h"
#include "morvish.h"

int es0022(tag_t object) { return host::find(object) != nullptr ? HM_OBJ_ALIVE : HM_OBJ_DELETED; }

int RM_set_sleep_state(tag_t object, bool sleep) {
    (void)sleep;
    return host::find(object) != nullptr ? 0 : HM_ERR_INVALID_TAG;
}
