// Hood visibility: for a fan of planes through the driver's eye point, the
// point of the hood at which a sight line from the eye just grazes it, as
// one ordered polyline.
#ifndef CARVELL_HM_VD_VISION_HOOD_H
#define CARVELL_HM_VD_VISION_HOOD_H

#include "carvell_export.h"
#include "host_types.h"

// The finest step of the plane fan, in degrees: 900 planes a side.
#define HM_VD_HV_LEAST_PITCH_STEP 0.1

// Input of the sweep (caller-owned).
typedef struct hv_input_s {
    double eye_point[3];     // [length] absolute
    int face_count;          // [-] entries of faces
    tag_t* faces;            // the hood faces
    double pitch_step;       // [deg] angular step of the plane fan
    double csys_origin[3];   // [length] vehicle csys origin
    double csys_matrix[9];   // [-] vehicle csys orientation (rows are the axes)
} hv_input_t;

// Sweeps vertical planes through the eye from the forward direction to the
// lateral one on each side (step `pitch_step`) and hands back the grazing
// points: side 1's points from the lateral plane toward (not including) the
// forward one, then side 0's from the forward plane out; each point lies in
// front of the eye. Returns 0; 1 for a null argument, a face count below 1
// or one whose array cannot exist, an eye or csys not finite or beyond the
// host's model space (1e12 part units), a step below
// HM_VD_HV_LEAST_PITCH_STEP (nothing built, outputs untouched) or no point
// found.
CARVELL_C_EXPORT int HM_VD_HV_GetVisiLimitPoints(const hv_input_t* input, int* count, double*** points);

// The point of the section curves, in the plane through the eye with the
// normal, at which the sight line from the eye grazes them on the side (0
// toward the normal turned -90 deg, 1 the other). Returns 0; 3 for an empty
// list or a failed bounding box; 2 when 100 iterations do not settle (the
// 101st ends the search even when it settled); 1 for a null argument or an
// eye or normal not finite or beyond the model space (point untouched).
CARVELL_C_EXPORT int HM_VD_HV_TangentGeoFromEyePoint(const double eye[3], const double normal[3], int side,
                                                      hm_list_p_t curves, double point[3]);

#endif
