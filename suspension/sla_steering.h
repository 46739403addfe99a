// The short-long-arm record's option for a suspension without steering,
// which not every release's record has; defined once per release
// (sla_steering.cpp in this one).
#ifndef CARVELL_SUSPENSION_SLA_STEERING_H
#define CARVELL_SUSPENSION_SLA_STEERING_H

#include "hm_vd_sla_susp.h"

namespace carvell::suspension {

// Whether the record asks for a suspension without steering.
bool sla_no_steering(const sla_suspension_s& s);
// Sets the record to a suspension with steering.
void sla_clear_no_steering(sla_suspension_s& s);

}  // namespace carvell::suspension

#endif
