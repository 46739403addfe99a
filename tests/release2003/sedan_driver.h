// The mirror sedan's driver as the 2003 eyellipse class takes it: seating
// reference point (1250, -370, 520), heel at x 880 and z 250 (seat height
// 270), pedal reference point at x 297 and 641 from it to the
// steering-wheel centre, automatic, 95th percentile. Its eyes are at
// x = 297 + 664 + 0.587 * 641 - 0.176 * 270 = 1289.747, y = -370 -/+ 32.5,
// z = heel z + 638 + 270 = 1158; the axes 206.4 and 60.3 long.
#ifndef CARVELL_TESTS_RELEASE2003_SEDAN_DRIVER_H
#define CARVELL_TESTS_RELEASE2003_SEDAN_DRIVER_H

#include "r2003_mirror.h"
#include "tessik.h"

#include <cstdio>

namespace sedan_driver {

inline carvell::r2003::mc_eyellipse_params_s params(const char* name) {
    carvell::r2003::mc_eyellipse_params_s p{};
    std::snprintf(p.name, sizeof p.name, "%s", name);
    p.population_percentile = 95;
    p.transmission_type = VD_EYELLIPSE_AUTOMATIC;
    p.hip_point_x = 1250.0;
    p.hip_point_y = -370.0;
    p.hip_point_z = 520.0;
    p.heel_point_x = 880.0;
    p.heel_point_z = 250.0;
    p.prp_x = 297.0;
    p.chair_height = 270.0;
    p.prp_swc_length = 641.0;
    return p;
}

constexpr double kEyeX = 1289.747;
constexpr double kEyeAboveHeel = 638.0 + 270.0;

}  // namespace sedan_driver

#endif
