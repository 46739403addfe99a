// The stone-impingement examples' front tire, 225/45 R17 (diameter D =
// 634.3 mm, tread width W = 190 mm) on a 1,580 mm track (lateral base A =
// 1,390 mm: the wheel centre lies at y = (A + W)/2 = 790 mm, z = D/2), with
// stones leaving the tread 30 degrees past the tire's bottom, and the first
// face of a sheet. The current release's example and the 2006 one share them.
#ifndef CARVELL_EXAMPLES_STONE_TIRE_H
#define CARVELL_EXAMPLES_STONE_TIRE_H

#include "hm_vd_si.h"
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

}  // namespace stone_tire

#endif
