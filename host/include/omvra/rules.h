// omvra: rules. Included by omvra.h; not included on its own.
#ifndef CARVELL_HOST_OMVRA_RULES_H
#define CARVELL_HOST_OMVRA_RULES_H

#include "../host_types.h"

#include <stdbool.h>

#endif
