// Reverse engineering of a seating layout: from the SgRP, two locked values of
// ankle angle A46, pedal angle A47 and seat height H30 (or H30 alone) and an
// optional deviate variable, the accelerator heel point and the unlocked
// quantities. Everything is solved in the occupant's side view (the steps are
// in hpd_reverse_solve.cpp); the heel is turned into the reference frame by
// the plan-view angle at the end. This export sits alone in its file: an
// older release brings its own form of it.
#include "hpd_reverse.h"
#include "hpd.h"
#include "hpd_primitives.h"

#include <cmath>

using namespace carvell::occupant;

int HM_VD_HPD_reverse_engineering(int option, double sgrp[3], double pv_angle, double leg_lengths[2],
                                  double locked[2], double heel[3], int use_variable, int variable_type,
                                  double deviate_value, double* a47_out, double back_angle, int vehicle_class,
                                  double* h30_out, int male_female_ratio) {
    const ReverseLock lock = reverse_lock_of(option);
    if (!sgrp || !locked || !heel || !a47_out || !h30_out || !hpd_legs_ok(leg_lengths) ||
        !carvell::detail::all_finite(sgrp, 3) || !std::isfinite(pv_angle) || !std::isfinite(back_angle) ||
        !carvell::detail::all_finite(locked, lock == kHeightOnly ? 1 : 2) || (use_variable == 1 && !std::isfinite(deviate_value)))
        return -1;

    const ReverseProblem p{sgrp, leg_lengths, back_angle, vehicle_class, male_female_ratio, lock, h30_out};
    ReverseSolution s;
    switch (lock) {
        case kAnkleAndHeight: s.a46 = locked[0], s.h30 = locked[1]; break;
        case kPedalAndHeight: s.a47 = locked[0], s.h30 = locked[1]; break;
        case kAnkleAndPedal: s.a46 = locked[0], s.a47 = locked[1]; break;
        case kHeightOnly:
            s.h30 = locked[0];
            s.a47 = hpd_standard_pedal_angle(s.h30);
            break;
    }

    int rc;
    if (use_variable == 1) {
        switch (variable_type) {
            case 0: rc = reverse_solve_free_quantity(p, deviate_value, s); break;
            case 1: rc = reverse_solve_heel_distance(p, deviate_value, s); break;
            case 2: rc = reverse_solve_thigh_given(p, 90.0 - deviate_value + back_angle, s); break;
            case 3: rc = reverse_solve_thigh_given(p, deviate_value, s); break;
            default: rc = reverse_solve_knee_given(p, deviate_value, s); break;
        }
    } else {
        rc = reverse_solve_on_seat_curve(p, s);
    }

    // The locked values and whatever was found; nothing unknown is written.
    if (std::isfinite(s.a47)) *a47_out = s.a47;
    if (std::isfinite(s.h30)) *h30_out = s.h30;
    if (std::isfinite(s.heel_l) && std::isfinite(s.heel_h)) {
        heel[0] = s.heel_l;
        heel[1] = sgrp[1] + hpd_mm(kHeelLateralMm);
        heel[2] = s.heel_h;
        HPD_transform_point_to_pv(heel, sgrp, pv_angle, heel);
    }
    return rc;
}
