// The hull enlargement's corner rule as the 2006 release has it: a vertex's
// direction and a facet normal combine with that release's corner helper
// (no side test), and the offsets write no trace lines.
#include "r2006_offset_corner.h"

#include "envelope/eve_internal.h"

namespace carvell::envelope {

void enlarge_corner_direction(const double direction[3], const double normal[3], double out[3]) {
    r2006::combine_offset_directions(direction, normal, out);
}

bool enlarge_traces() { return false; }

}  // namespace carvell::envelope
