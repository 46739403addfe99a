// Hard points of the left corner of a mid-size passenger car's five-link
// rear axle (vehicle frame, mm): wheel centre at x 3000, half-track 800,
// 380 mm above ground. The example, its tests and its benchmark share them.
#ifndef CARVELL_EXAMPLES_FIVE_LINK_AXLE_POINTS_H
#define CARVELL_EXAMPLES_FIVE_LINK_AXLE_POINTS_H

#include "hm_vd_fla_susp.h"

namespace five_link_axle {

inline void set(double* p, double x, double y, double z) {
    p[0] = x;
    p[1] = y;
    p[2] = z;
}

// Fills the left hard points; the build mirrors them, the bump stops and the
// opposite track rod to the right.
inline void fill_points(sFiveLinkAxle_Suspension& s) {
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
}

}  // namespace five_link_axle

#endif
