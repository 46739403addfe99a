// A rear solid axle on five links (a passenger car's: 265/70R17 tires,
// loaded radius 380 mm, track 1600 mm); left hard points in millimetres, x
// rearward, mirrored through y = 0.
#ifndef CARVELL_TESTS_SUSPENSION_FLA_FIXTURES_H
#define CARVELL_TESTS_SUSPENSION_FLA_FIXTURES_H

#include "hm_vd_fla_susp.h"

#include <cstring>

namespace fla_fixtures {

inline void set(double* p, double x, double y, double z) {
    p[0] = x;
    p[1] = y;
    p[2] = z;
}

// A record from initial with the left hard points filled in; the build mirrors them.
inline sFiveLinkAxle_Suspension rear_axle() {
    sFiveLinkAxle_Suspension s;
    std::memset(&s, 0, sizeof s);
    HM_VD_FLA_SUSP_initial(&s);
    set(s.points[FLA_WHEEL_CENTER], 3000, 800, 380);
    set(s.points[FLA_LCA_FRONT_BUSHING], 2420, 500, 330);
    set(s.points[FLA_LCA_REAR_BUSHING], 3000, 560, 240);
    set(s.points[FLA_UCA_FRONT_BUSHING], 2500, 380, 520);
    set(s.points[FLA_UCA_REAR_BUSHING], 3050, 180, 560);
    set(s.points[FLA_LOWER_SHOCK_CENTER], 3080, 640, 280);
    set(s.points[FLA_UPPER_SHOCK_CENTER], 3130, 590, 700);
    set(s.points[FLA_LOWER_BUMP_CENTER], 2960, 680, 440);
    set(s.points[FLA_UPPER_BUMP_CENTER], 2960, 680, 540);
    set(s.points[FLA_TRACK_INNER], 3100, 560, 400);
    s.mirror_bump_stops = true;
    s.mirror_opposite_track = true;
    return s;
}

}  // namespace fla_fixtures

#endif
