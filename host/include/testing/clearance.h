// Test fixtures of the stand-in host: clearance data sets. Included by
// host_testing.h.
#ifndef CARVELL_HOST_TESTING_CLEARANCE_H
#define CARVELL_HOST_TESTING_CLEARANCE_H

#include "../host_types.h"

#include <vector>

namespace host_testing {

// A clearance data set of the part (0: the work part) with the name as given
// (case kept), empty lists and no configuration; 0 without such a part or
// for a null name.
HOST_API tag_t make_clearance_dataset(const char* name, tag_t part = 0);
// The objects of list 1 or 2 of a data set (none for anything else).
HOST_API std::vector<tag_t> clearance_list(tag_t dataset, int list);
// The clearance zone of an object in a data set (0: none).
HOST_API tag_t clearance_zone(tag_t dataset, tag_t object);

}  // namespace host_testing

#endif
