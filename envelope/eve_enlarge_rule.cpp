// The hull enlargement's corner rule as this release has it: a vertex's
// direction and a facet normal combine with the side test of
// combine_offset_directions, and the offsets trace under the debug key
// "envelope_offset_points" at checking level 1 or more.
#include "eve_internal.h"

#include "quillon.h"

namespace carvell::envelope {

void enlarge_corner_direction(const double direction[3], const double normal[3], double out[3]) {
    combine_offset_directions(direction, normal, out);
}

bool enlarge_traces() { return MACH__checking_level >= 1 && RDEBUG_ask_flag("envelope_offset_points", true) == 1; }

}  // namespace carvell::envelope
