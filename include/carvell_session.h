// Host-API session bracket and framework services (decorated names).
#ifndef CARVELL_SESSION_H
#define CARVELL_SESSION_H

#include "carvell_export.h"
#include "host_types.h"

// Opens the library's host-API session unless the bracket already holds one.
CARVELL_CPP_EXPORT void VD_enter_omvra();
// Closes the bracket's session when it holds one. The bracket is a flag, not
// a count: the first exit after any number of enters closes it.
CARVELL_CPP_EXPORT void VD_exit_omvra();

#endif
