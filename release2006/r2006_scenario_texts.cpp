// The texts of the simulation scenarios that name the data-management
// system, as the 2006 release has them.
#include "suspension/suspension_motion.h"

namespace carvell::suspension {

const char* undecodable_part_name_message() { return "Failed to decode a Vorsa part name."; }

}  // namespace carvell::suspension
