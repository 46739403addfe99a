// The short-long-arm record's option for a suspension without steering, as
// this release's record holds it.
#include "sla_steering.h"

namespace carvell::suspension {

bool sla_no_steering(const sla_suspension_s& s) { return s.no_steering; }

void sla_clear_no_steering(sla_suspension_s& s) { s.no_steering = false; }

}  // namespace carvell::suspension
