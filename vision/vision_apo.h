// Shared steps of the A-pillar obstruction analysis: the set-up it works in
// (after any vehicle csys is applied), the side and neck pivot, and the
// section of the target geometry in front of the eyes.
#ifndef CARVELL_VISION_VISION_APO_H
#define CARVELL_VISION_VISION_APO_H

#include "hm_vd_vision/apillar.h"
#include "tessik.h"

#include <vector>

namespace carvell::vision {

// What the pivot search needs of the input.
struct PivotInput {
    int rule_set = 0;
    int eye_point_mode = 0;
    const VD_eyellipse_param_t* data = nullptr;
    const double* user_eye_point = nullptr;
};

// The side: 0 when the target's lateral coordinate exceeds the reference
// eye's by more than 1e-10, else 1. Limit source 1 takes the target list's
// box (the bound farther from the eye); 0 the limit point. 0, or
// APO_NO_LIMIT_GEOMETRY for an empty list, APO_INVALID_DATA without data.
int find_side(const PivotInput& in, int limit_source, hm_list_p_t targets, const double limit_point[3], int* side);

// The neck pivot for the side. 0, APO_INVALID_EYELLIPSE (no data or pivot
// set), APO_NO_CLOSEST_EYE (eye-point mode 2: the closest eye is not searched
// here).
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
