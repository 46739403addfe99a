// What a user of the real host does by hand, for tests and examples: make
// parts and geometry, set debug keys and environment, read what the host
// showed, count live allocations and reset the host between tests. One
// header of fixtures per host area.
#ifndef CARVELL_HOST_TESTING_H
#define CARVELL_HOST_TESTING_H

#include "testing/core.h"
#include "testing/geometry.h"
#include "testing/parts.h"
#include "testing/rules.h"
#include "testing/files.h"
#include "testing/vehicle.h"
#include "testing/facets.h"
#include "testing/motion.h"
#include "testing/clearance.h"

#endif
