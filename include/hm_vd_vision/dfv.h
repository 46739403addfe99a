// Direct field of view: three inclined vision planes from a viewing point
// (forward, outboard, inboard) as point polygons, and three sight lines with
// their mirror images across the centre plane, cut where they meet faces.
#ifndef CARVELL_HM_VD_VISION_DFV_H
#define CARVELL_HM_VD_VISION_DFV_H

#include "carvell_export.h"
#include "host_types.h"

// Input (caller-owned; points absolute, lengths in part units).
typedef struct dfv_input_s {
    double point_a[3];       // [length] start of sight lines 1 and 2
    double point_b[3];       // [length] apex of the vision planes, start of sight line 3
    double angle1;           // [deg] inclination of the forward plane and of sight line 1
    double angle2;           // [deg] inclination of the outboard plane and of sight line 3
    double angle3;           // [deg] inclination of the inboard plane; lateral angle of sight line 2
    double width;            // [length] full width of the forward plane; length of the sight lines
    double depth;            // [length] forward extent of the planes
    int face_count;          // [-] entries of faces
    tag_t* faces;            // faces the sight lines are cut against (never changed here)
    int full_length;         // [-] 0: cut the sight lines on the faces; other: full length
    double csys_origin[3];   // [length] vehicle csys origin
    double csys_matrix[9];   // [-] vehicle csys orientation (rows are the axes)
} dfv_input_t;

// Six segments (start, end), absolute: sight lines 1, 2, 3, then their
// mirror images 1, 2, 3.
typedef struct dfv_sightline_s {
    double segment[6][2][3];   // [length]
} dfv_sightline_t;

// Outlines of the outboard, inboard and forward vision planes: *counts an
// SM_alloc'd int[3] (3 or 4, 3 or 4, 3 to 5 points), *polygons an SM_alloc'd
// array of three SM_alloc'd arrays of that many SM_alloc'd points; the
// caller frees all with SM_free. Returns 0; 1 for an angle outside [0, 90],
// a null argument or an input the two exports refuse alike (outputs
// untouched): a number that is not finite or lies beyond the host's model
// space (1e12 part units), a negative face count or faces missing; the modeller's code of a failed
// plane or intersection, or 2 when two planes meet in no curve (outputs
// null). No geometry is left in the part.
CARVELL_C_EXPORT int HM_VD_DFV_vision_plane_process(const dfv_input_t* input, int** counts, double**** polygons);

// Fills the record with the three sight lines and their mirror images; with
// full_length 0 each line ends where it first meets a face (faces tried in
// order). Returns 0; 1 when a sight line meets no face or there is none (the
// record is still filled, unmet lines at full length), or a null argument
// or refused input as above (nothing written). No geometry is left in the part.
CARVELL_C_EXPORT int HM_VD_DFV_sightline_points_process(const dfv_input_t* input, dfv_sightline_t* lines);

#endif
