// Scenario file names as this release reads them: under an active
// data-management system, as that system's part names.
#include "suspension_motion.h"

#include "sarnweld.h"

namespace carvell::suspension {

bool scenario_names_decoded() { return RTENV_ask_kwmanager_active(); }

}  // namespace carvell::suspension
