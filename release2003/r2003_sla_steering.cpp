// The 2003 release's short-long-arm record has no option for a suspension
// without steering: the template always builds the steering.
#include "suspension/sla_steering.h"

namespace carvell::suspension {

bool sla_no_steering(const sla_suspension_s&) { return false; }

void sla_clear_no_steering(sla_suspension_s&) {}

}  // namespace carvell::suspension
