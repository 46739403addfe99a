// The reverse engineering's foot position with the ankle angle A46 and the
// pedal angle A47 locked and the SgRP on the seat curve, as this release
// solves it: the leg chain placed from both angles, which gives the seat
// height H30.
#include "hpd_reverse.h"

#include "hpd.h"

namespace carvell::occupant {

int reverse_foot_by_locking_both(const ReverseProblem& p, ReverseSolution& s, double* bof) {
    double angles[2] = {s.a47, s.a46}, h30 = ReverseSolution::kUnknown;
    const int rc = HM_VD_HPD_define_foot_position_by_locking_both(p.sgrp, p.leg_lengths, angles, bof, &h30,
                                                                  p.vehicle_class, p.male_female_ratio);
    s.h30 = h30;
    return rc;
}

}  // namespace carvell::occupant
