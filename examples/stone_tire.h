// The stone-impingement examples' front tire, 225/45 R17 (diameter D =
// 634.3 mm, tread width W = 190 mm) on a 1,580 mm track (lateral base A =
// 1,390 mm: the wheel centre lies at y = (A + W)/2 = 790 mm, z = D/2), with
// stones leaving the tread 30 degrees past the tire's bottom, and the faces
// behind the wheel: the underbody floor (horizontal, 200 mm above the
// ground, 0.4 to 2.5 m behind the wheel centre, to y = 650 mm) and the
// rocker's rounded lower face (radius 150 mm, along x). The current
// release's example and the 2006 one share them.
#ifndef CARVELL_EXAMPLES_STONE_TIRE_H
#define CARVELL_EXAMPLES_STONE_TIRE_H

#include "hm_vd_si.h"
#include "host_testing.h"
#include "omvra.h"

#include <cmath>

namespace stone_tire {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDeg = kPi / 180.0;
constexpr double kDiameter = 634.3;
constexpr double kRadius = kDiameter / 2.0;
constexpr double kTread = 190.0;
constexpr double kLateralBase = 1390.0;
constexpr double kLaunchPastBottom = 30.0;

// The tire's values, launch point and wheel centre in an initialised record.
inline void fill_tire(si_data_s& rec) {
    rec.tire_diameter = kDiameter;
    rec.tread_width = kTread;
    rec.lateral_base = kLateralBase;
    rec.launch_offset = kRadius * std::cos(kLaunchPastBottom * kDeg);
    rec.launch_height = kRadius - kRadius * std::cos(kLaunchPastBottom * kDeg);
    rec.wheel_centre[0] = 0.0;
    rec.wheel_centre[2] = kRadius;
}

// The first face of a sheet body.
inline tag_t first_face(tag_t body) {
    hm_list_p_t faces = nullptr;
    HM_MODL_ask_body_faces(body, &faces);
    tag_t face = 0;
    HM_MODL_ask_list_item(faces, 0, &face);
    HM_MODL_delete_list(&faces);
    return face;
}

/* ---- the faces behind the wheel ---- */

constexpr double kFloorZ = 200.0;
constexpr double kRockerRadius = 150.0;
constexpr double kRockerInner = 650.0;   // y where the rocker's rounded face starts, below the floor's edge

tag_t floor_face() {
    const double corner[3] = {400, 0, kFloorZ}, u[3] = {2100, 0, 0}, v[3] = {0, kRockerInner, 0};
    return first_face(host_testing::make_planar_sheet(corner, u, v));
}

// The rocker's lower face: a quadratic sheet through the quarter circle's
// ends with its corner pole, from the bottom (y = 650, z = 200) round to
// the outboard side (y = 800, z = 350), along x from 0.4 to 2.5 m.
tag_t rocker_face() {
    const double y0 = kRockerInner, y1 = kRockerInner + kRockerRadius;
    const double z0 = kFloorZ, z1 = kFloorZ + kRockerRadius;
    const double poles[] = {400, y0, z0, 400, y1, z0, 400, y1, z1, 2500, y0, z0, 2500, y1, z0, 2500, y1, z1};
    return first_face(host_testing::make_bspline_sheet(2, 3, poles, 1, 2));
}

}  // namespace stone_tire

#endif
