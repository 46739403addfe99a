// Test fixtures of the stand-in host: assemblies. Included by host_testing.h.
#ifndef CARVELL_HOST_TESTING_ASSEMBLIES_H
#define CARVELL_HOST_TESTING_ASSEMBLIES_H

#include "../host_types.h"

namespace host_testing {

}  // namespace host_testing

#endif
