// The texts of the envelope offsets as this release shows them.
#include "envelope_internal.h"

namespace carvell::envelope {

const char* far_offset_neighbour_text() { return "and the nearest specified section is greater than 90 deg away."; }

}  // namespace carvell::envelope
