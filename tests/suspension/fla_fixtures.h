// A rear solid axle on five links (a passenger car's: 265/70R17 tires,
// loaded radius 380 mm, track 1600 mm); left hard points in millimetres, x
// rearward, mirrored through y = 0.
#ifndef CARVELL_TESTS_SUSPENSION_FLA_FIXTURES_H
#define CARVELL_TESTS_SUSPENSION_FLA_FIXTURES_H

#include "../../examples/five_link_axle_points.h"
#include "hm_vd_fla_susp.h"

#include <cstring>

namespace fla_fixtures {

// A record from initial with the left hard points filled in; the build mirrors them.
inline sFiveLinkAxle_Suspension rear_axle() {
    sFiveLinkAxle_Suspension s;
    std::memset(&s, 0, sizeof s);
    HM_VD_FLA_SUSP_initial(&s);
    five_link_axle::fill_points(s);
    return s;
}

}  // namespace fla_fixtures

#endif
