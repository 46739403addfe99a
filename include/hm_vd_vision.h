// Driver vision from the eyellipse (first half): the eyellipse record, the
// A-pillar obstruction analysis, the direct field of view, the glazing
// checks and the hood visibility limit points.
//
// Conventions of the whole family:
// - Frames: the vehicle coordinate system has x rearward (forward is -x), y
//   lateral with the centre plane at y = 0, z up. A tool given a vehicle
//   coordinate system (an origin and nine values, rows are the axes) works
//   in it and exchanges points in absolute coordinates.
// - Units: lengths in the work part's units; angles in degrees unless said.
//   Fixed lengths of the tools are millimetres, multiplied by
//   0.03937007874015748 in inch parts.
// - Memory: records are the caller's. Point arrays handed back (arrays of
//   pointers to double[3]) are SM_alloc'd blocks: the caller frees every
//   point, then the array, with SM_free. Texts handed back are freed with
//   SM_free. Lists held by the A-pillar input record are deleted by
//   HM_VD_APO_free_global.
// - Linkage: plain (C) names but for the glazing exports, which keep C++
//   linkage.
#ifndef CARVELL_HM_VD_VISION_H
#define CARVELL_HM_VD_VISION_H

#include "hm_vd_vision/apillar.h"
#include "hm_vd_vision/dfv.h"
#include "hm_vd_vision/eyellipse.h"
#include "hm_vd_vision/glazing.h"
#include "hm_vd_vision/hood.h"
#include "hm_vd_vision/ipv.h"
#include "hm_vd_vision/rd.h"

#endif
