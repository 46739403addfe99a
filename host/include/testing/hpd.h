// Test fixtures of the stand-in host: H-point design instances. Not included
// by host_testing.h; tests of the H-point design tool include it directly.
#ifndef CARVELL_HOST_TESTING_HPD_H
#define CARVELL_HOST_TESTING_HPD_H

#include "../host_types.h"

namespace host_testing {

// Makes a feature of the work part named `feature_name` and records it as
// made by the rule instance "root:INSTANCE:", as the host does for a design
// feature. Answers the feature's tag; 0 when there is no such instance.
HOST_API tag_t make_hpd_feature(const char* instance_name, const char* feature_name);

}  // namespace host_testing

#endif
