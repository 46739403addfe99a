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

// How a plane mirror must turn about the pivot so that the eye sees the
// target (target kind 0: a point; otherwise a fixed unit direction): the
// twelve-value matrix of the single rotation that takes the mirror (point,
// unit normal) to its aimed position. tolerances: distance, angle (degrees).
// 0 aimed; 1 a unit vector or the rotation matrix failed; 2 eye too close
// or on the wrong side; 3 target too close or on the wrong side; 4 eye and
// target directions nearly opposite; 5 no convergence; -1 null argument.
int mc_aim_plane_mirror(const double tolerances[2], const double pivot[3], const double mirror_point[3],
                        const double mirror_normal[3], int target_kind, const double eye[3], const double target[3],
                        double matrix[12]);

}  // namespace carvell::mirror

#endif
