// The reverse engineering's foot position with both angles locked and the
// SgRP on the seat curve, as the 2006 release solves it: for class A the
// pedal angle A47 by that release's Newton iteration, started from the
// caller's seat height H30, and the H30 of the leg chain it places; class B
// as in the current release.
#include "r2006_foot_position.h"

#include "hpd.h"
#include "occupant/hpd_reverse.h"

#include <cmath>

namespace carvell::occupant {

int reverse_foot_by_locking_both(const ReverseProblem& p, ReverseSolution& s, double* bof) {
    double angles[2] = {s.a47, s.a46};
    double h30 = p.h30_given ? *p.h30_given : ReverseSolution::kUnknown;
    if (p.vehicle_class != 0) {
        h30 = ReverseSolution::kUnknown;
        const int rc = HM_VD_HPD_define_foot_position_by_locking_both(p.sgrp, p.leg_lengths, angles, bof, &h30,
                                                                      p.vehicle_class, p.male_female_ratio);
        s.h30 = h30;
        return rc;
    }
    const int rc = r2006::HM_VD_HPD_define_foot_position_by_locking_both2(p.sgrp, p.leg_lengths, angles, bof, &h30);
    s.a47 = angles[0];
    s.h30 = rc == 0 ? h30 : ReverseSolution::kUnknown;
    return rc;
}

}  // namespace carvell::occupant
