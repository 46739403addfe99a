// Fixtures of the motion area for tests: the part's density and the
// current mechanism. The articulation is in articulation.cpp.
#include "core/model.h"
#include "host_testing.h"
#include "motion/motion_records.h"

namespace host_testing {

void set_part_density(tag_t part, double kilograms_per_cubic_metre) {
    if (host::PartData* p = host::part_data(part)) p->density = kilograms_per_cubic_metre;
}

tag_t current_mechanism() { return host::motion::current_mechanism(); }

}  // namespace host_testing
