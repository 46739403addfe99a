// Internals of the mirror optics: the head turn of the eye points.
#ifndef CARVELL_MIRROR_MIRROR_OPTICS_H
#define CARVELL_MIRROR_MIRROR_OPTICS_H

#include "hm_vd_mc.h"

namespace carvell::mirror {

// The eye triple in plan view turned about the head pivot when the outer eye
// (by side: entry 2 when the eye reference point's Y is at least the mirror
// reference point's, else entry 0) would look more than 30 degrees sideways
// at the target. Writes the turned triple, the angle to the target in
// degrees and whether the head turned. Always 0; -1 for null arguments.
int mc_apply_head_rotation(const mc_data_s* data, const double eyes[3][3], const double pivot[3],
                           const double target[3], double out_eyes[3][3], double* angle, bool* rotated);

}  // namespace carvell::mirror

#endif
