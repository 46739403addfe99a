// Internals of the mirror optics: the head turn of the eye points, the aim of
// a plane mirror, the view angle to the mirror's edge and the reflection of
// outlines through the mirror.
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
// 0 aimed; 1 a vector without direction (the eye or target on the mirror
// point, eye and target directions exactly opposite; its message names the
// eye vector, target vector or bisector) or the rotation matrix failed; 2
// eye closer than the distance tolerance; 3 target closer than it; 4 eye
// and target directions nearly opposite (bisector shorter than the sine of
// the angle tolerance); 5 no convergence; -1 null argument.
int mc_aim_plane_mirror(const double tolerances[2], const double pivot[3], const double mirror_point[3],
                        const double mirror_normal[3], int target_kind, const double eye[3], const double target[3],
                        double matrix[12]);

// The plan-view angle from the outer eye (chosen by side as above) to the
// outermost point of the record's mirror sheet (farthest along -Y for entry
// 2, +Y for entry 0; ties by +X, then +Z): 180 - |atan2(dy, dx)| in
// degrees. With the record's head-rotation flag the eyes turn towards that
// point (mc_apply_head_rotation); when they did, the view angle is taken
// from the turned eye and *head_turn is |atan2(e2.x - e0.x, e2.y - e0.y)|
// of the turned eyes, else 0. Writes the (turned) triple. 0; 1 no extreme
// point; 2 the head turn failed; -1 null argument.
int mc_ask_mirror_view_angles(const mc_data_s* data, const double eyes[3][3], const double pivot[3],
                              double out_eyes[3][3], double* view_angle, double* head_turn);

// Carries a closed outline (the set's points and corners) through the mirror
// as seen from the eye: mode 1 takes the points as targets seen in the
// mirror (their reflection points found), any other mode as points on the
// mirror. Each point's sight ray is reflected onto the target plane
// x = target_point[0]. Makes the sheet on the mirror (bounded plane for a
// plane mirror, a spherical patch otherwise) and the reflected sheet on the
// target plane, or, with a projection object, on that object (the reflected
// edge projected along its normals). Statuses: 0 done; 1 a reflection point
// or reflected ray failed, or a reflected ray runs parallel to the target
// plane; 2 the projection's group could not be read; 3 the projection
// failed (the sheets are still made from the unprojected edge; a later
// failure replaces the status); 5, 6 the edge on the mirror, on the target
// plane failed; 7 the reflected sheet, 8 the spherical mirror sheet, 9 the
// plane mirror sheet failed; -1 null argument or no points. Only the two
// sheets are left in the part, and only with status 0, 2 or 3; otherwise
// both outputs are 0.
int mc_reflect_mirror_outline(const mc_geometry_set_s* outline, int mode, const double eye[3],
                              const mc_mirror_surface_record* mirror, const double tolerances[2],
                              const double target_point[3], tag_t projection_object, tag_t* mirror_sheet,
                              tag_t* reflected_sheet);

}  // namespace carvell::mirror

#endif
