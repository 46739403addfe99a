// The texts of the simulation scenarios that name the data-management
// system, as this release has them.
#include "suspension_motion.h"

namespace carvell::suspension {

const char* undecodable_part_name_message() { return "Failed to decode a Ledgerhold part name."; }

}  // namespace carvell::suspension
