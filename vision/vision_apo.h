// Shared steps of the A-pillar obstruction analysis: the set-up it works in
// (after any vehicle csys is applied), the side and neck pivot, and the
// section of the target geometry in front of the eyes.
#ifndef CARVELL_VISION_VISION_APO_H
#define CARVELL_VISION_VISION_APO_H

#include "hm_vd_vision/apillar.h"
#include "tessik.h"

#include <vector>

namespace carvell::vision {

// The analysis's working record: the mode and side, the neck pivot P, the
// reference point R, the eye and head rotations, and the tolerances. It
// starts zeroed.
struct ApoWork {
    int mode = 0;
    int side = 0;
    double P[3] = {};
    double R[3] = {};
    double rot[4] = {};   // eye side 1, eye side 0, head side 1, head side 0
    double tol = 0.0;
    double half_tol = 0.0;
};
// What the analysis does to its zeroed working record before it starts;
// defined once per release (apo_work.cpp in this one).
void apo_prepare_work(ApoWork& w);

// What the pivot search needs of the input.
struct PivotInput {
    int rule_set = 0;
    int eye_point_mode = 0;
    const VD_eyellipse_param_t* data = nullptr;
    const double* user_eye_point = nullptr;
    // Eye-point mode 2: the percentile of the eyellipse, and what its eye
    // must be closest to: the target point when set, else the target list.
    int percentile = 0;
    const double* target_point = nullptr;
    hm_list_p_t targets = nullptr;
};

// The side: 0 when the target's lateral coordinate exceeds the reference
// eye's by more than 1e-10, else 1. Limit source 1 takes the target list's
// box (the bound farther from the eye); 0 the limit point. 0, or
// APO_NO_LIMIT_GEOMETRY for an empty list, APO_INVALID_DATA without data.
int find_side(const PivotInput& in, int limit_source, hm_list_p_t targets, const double limit_point[3], int* side);

// The neck pivot for the side. Eye-point mode 2 finds it from the eyellipse
// eye closest to the target (eye type -1 for side 1, 1 for side 0): the
// pivot lies 98 mm behind that eye and half the eye separation inboard.
// 0, APO_INVALID_EYELLIPSE (no data or pivot set), APO_NO_CLOSEST_EYE.
int find_pivot(const PivotInput& in, int side, double pivot[3]);

// Section of the targets by the plane (point, normal) in front of P (x below
// P.x): intersection points of curves as point objects, then the cut curves
// of faces and bodies trimmed at x = P.x. The objects go into *section (a new
// list, null when empty); temporary planes and pieces behind are deleted.
// 0, APO_INVALID_DATA for an empty target list, APO_NO_SECTION_IN_FRONT.
int section_in_front(hm_list_p_t targets, const double point[3], const double normal[3], const double pivot[3],
                     double tolerance, hm_list_p_t* section);

}  // namespace carvell::vision

#endif
