// lurvane: the host's assembly occurrences and instance transforms.
#ifndef CARVELL_HOST_LURVANE_H
#define CARVELL_HOST_LURVANE_H

#include "host_types.h"

#include <stdbool.h>

// Whether the object is an occurrence in an assembly (a component, or an
// object that stands for its prototype in a component's part).
HOST_C_API bool OCC_is_occurrence(tag_t object);

#endif
