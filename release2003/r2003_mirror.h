// Internals of the 2003 mirror-certification engine: the operations its
// stages share, on the 2003 working record (hm_vd_mc.h of the release).
#ifndef CARVELL_RELEASE2003_R2003_MIRROR_H
#define CARVELL_RELEASE2003_R2003_MIRROR_H

#include "hm_vd_mc.h"

namespace carvell::r2003 {

// Writes the region and standard names of the 2003 standards table for the
// record's mirror kind and standard (kinds 0 and 1: the inside and driver
// table, standards 0 to 4; any other kind: the passenger table, 0 to 7). A
// standard outside its table writes nothing.
void mc_set_standard_names_2003(mc_data_2003_s* data);

// Appends the text (cut to 199 characters) to the record's message slots;
// with all ten in use the last slot reads "WARNINGS EXCEEDED MESSAGE LIMIT"
// and the count stays 10.
void mc_add_message(mc_data_2003_s* data, const char* text);

// The rotation that aims a mirror (point, unit normal) about the pivot so
// that the eye sees the target (target kind 0 a point, otherwise a unit
// direction): the host's twelve-value transformation. 0; 1 a rotation matrix
// or unit vector failed; 2 the eye, 3 the target point closer to the mirror
// point than the distance tolerance; 4 eye and target directions opposite;
// 5 no solution in 50 iterations; -1 a null or not finite argument.
int mc_ask_mirror_aim_rotation(const double tolerances[2], const double pivot[3], const double mirror_point[3],
                               const double mirror_normal[3], int target_kind, const double eye[3],
                               const double target[3], double matrix[12]);

// Copies the eyes (left, middle, right) to the output; when the plan-view
// angle from the outer eye to the target exceeds 30 degrees (the right eye
// when the eye reference's y is at least the pivot's, else the left), turns
// them in plan about the head pivot back to that limit and sets *rotated.
// Writes the angle (degrees). 0; -1 a null argument.
int mc_apply_head_rotation(const mc_data_2003_s* data, const double eyes[3][3], const double pivot[3],
                           const double target[3], double out_eyes[3][3], double* angle, unsigned char* rotated);

}  // namespace carvell::r2003

#endif
