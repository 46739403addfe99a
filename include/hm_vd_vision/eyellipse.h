// The eyellipse record: the statistical spread of the driver's eye points as
// three ellipsoids (left, cyclops, right eye) sharing axes, read once from
// the eyellipse's rule-language instance.
#ifndef CARVELL_HM_VD_VISION_EYELLIPSE_H
#define CARVELL_HM_VD_VISION_EYELLIPSE_H

#include "carvell_export.h"

// Caller-owned; the library never allocates or frees it.
typedef struct vd_eyellipse_s {
    char name[272];              // the caller's; never read or written here
    double centroid[3][3];       // [length] ellipsoid centres, absolute; row = eye type + 1 (-1, 0, 1)
    double axis_dir[3][3];       // [-] the ellipsoids' axis directions, as stored (not unitised)
    double axis_length[3];       // [length] full axis lengths of the chosen percentile, one per axis
} vd_eyellipse_t;

// Fills the record's centroids, axis lengths and axis directions from the
// instance whose rule-language prefix is given ("root:EYE:": the prefix
// followed by "Centroid_coords:", "Axis_Length:" (percentile -1),
// "Axis_Length_95:" (percentile 0), "Axis_Length_99:" (any other
// percentile), "Axis_dir:"); the first three entries of each list are used.
// Returns 0; -1 for a null prefix or record (nothing read or written); 1 when
// an attribute is missing, holds fewer than three entries or a value that is
// not finite or lies beyond the host's model space, 1e12 part units (the
// numeric fields then stay as they were; what the host handed out is freed).
CARVELL_C_EXPORT int HM_VD_initialize_eyellipse(const char* prefix, int percentile, vd_eyellipse_t* record);

#endif
