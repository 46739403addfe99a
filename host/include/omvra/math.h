// omvra: math. Included by omvra.h; not included on its own.
#ifndef CARVELL_HOST_OMVRA_MATH_H
#define CARVELL_HOST_OMVRA_MATH_H

#include "../host_types.h"

#include <stdbool.h>

#endif
