// The MacPherson template's internals that its sources share: the name
// table (200 slots, empty ones ""), the names of its hard points, and the
// foot of the perpendicular that places the knuckle's steering arm.
#ifndef CARVELL_SUSPENSION_MAC_TEMPLATE_H
#define CARVELL_SUSPENSION_MAC_TEMPLATE_H

#include "hm_vd_mac_susp.h"

namespace carvell::suspension {

extern const char* const kMacNames[MAC_SUSP_NAME_SLOTS];

// The name of a hard point of the record (mac_susp_point); "" out of range.
const char* mac_point_name(int point);

// The foot of the perpendicular from c to the line through a and b: a when
// a and b coincide (|b - a|^2 <= 1e-20), c when b - a and c - a are parallel
// (sine 1e-10; c on a included), else a + t (b - a).
void mac_perpendicular_foot(const double a[3], const double b[3], const double c[3], double foot[3]);

}  // namespace carvell::suspension

#endif
