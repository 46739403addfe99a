// Internals of the vision restrictions: the vision sheet cut down by what
// blocks the mirror and what stands between the mirror and the target.
#ifndef CARVELL_MIRROR_MIRROR_RESTRICTIONS_H
#define CARVELL_MIRROR_MIRROR_RESTRICTIONS_H

#include "hm_vd_mc.h"

namespace carvell::mirror {

// Statuses of mc_restrict_vision_sheet.
enum RestrictionStatus {
    kRestrictDone = 0,
    kRestrictArea = 1,            // the vision sheet cannot be measured, or has no area
    kRestrictCopy = 3,
    kRestrictReflect = 4,         // an outline cannot be carried through the mirror
    kRestrictAttributes = 5,
    kRestrictUnion = 6,           // the eye sheets do not unite
    kRestrictSplitList = 7,
    kRestrictList = 10,           // + 10 for the second pair of eye sheets
    kRestrictFaces = 11,
    kRestrictExtrude = 13,
    kRestrictFeature = 14,
    kRestrictFeatureBody = 15,
    kRestrictResultFaces = 30,
    kRestrictResultFaceCount = 31,
    kRestrictBoolean = 100,       // a Boolean of the restriction failed (warning 12)
};

// How a shadow came off a sheet.
enum class ShadowCut {
    kApart,     // farther apart than the tolerance: nothing taken off
    kCut,       // *sheet is the sheet less the shadow
    kCovered,   // wholly shadowed: *sheet deleted and 0
    kSplit,     // it would split the sheet: the part is as it was
};

// The shadow subtracted from the sheet with one Boolean (rolled back to the
// named undo mark when it splits the sheet); the shadow stays. 0; -1 null
// argument; kRestrictBoolean when the distance or the Boolean fails (the
// part as it was).
int mc_subtract_shadow(tag_t* sheet, tag_t shadow, double tolerance, const char* mark, ShadowCut* outcome);

// Cuts the vision sheet (a planar sheet on the target plane) down to what
// the two outer eyes see past the record's restrictions:
// - the eye field: the vision sheet within the union of the eye-0 and eye-2
//   sheets (and, when both are given, of the second pair);
// - each face of the eye-mirror restriction bodies (lying on the mirror) is
//   carried through the mirror from each eye; the shadow neither eye sees
//   is subtracted from the field, unless it would split the field in two
//   (then the restriction's reflected sheets are drawn dotted, warning 11);
// - each face of the mirror-target restriction bodies (seen in the mirror)
//   is subtracted from each eye's sheet likewise; the field keeps what the
//   eyes still see, or, when that would split it, keeps its area as the
//   overlap and draws the restriction sheets dotted (warning 11).
// *lost_share is the percentage of the vision sheet's area lost; with no
// restriction applied or splitting and at most 0.1 % lost, warning 14. The
// sheets made for the restrictions are shown with their eye's colour and
// put in `result_list` (may be null); *result_sheet is a new sheet, the last
// good field (also after a failure). The vision and eye sheets stay as they
// are. Status per RestrictionStatus (100 also adds warning 12); -1 null
// argument (nothing built).
int mc_restrict_vision_sheet(tag_t vision_sheet, tag_t eye0_sheet, tag_t eye2_sheet, tag_t second_eye0_sheet,
                             tag_t second_eye2_sheet, int colour0, int colour2,
                             const mc_mirror_surface_record* mirror, mc_data_s* data, const double eyes[3][3],
                             const double target_point[3], tag_t projection_object, hm_list_p_t result_list,
                             double* lost_share, tag_t* result_sheet);

}  // namespace carvell::mirror

#endif
