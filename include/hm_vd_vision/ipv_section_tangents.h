// Instrument-panel visibility: the tangent points of an eyellipse section
// seen from a point. Included by hm_vd_vision/ipv.h.
#ifndef CARVELL_HM_VD_VISION_IPV_SECTION_TANGENTS_H
#define CARVELL_HM_VD_VISION_IPV_SECTION_TANGENTS_H

#include "carvell_export.h"
#include "hm_vd_vision/eyellipse.h"

// Points of the eyellipse section (0: u-v plane, 1: u-w, other: w-v) whose
// tangents pass through P dropped onto the section plane; tolerances:
// distance, angle. 0 with one or two points; -1 when none exists.
CARVELL_CPP_EXPORT int ipv_ask_section_tangent_points(vd_eyellipse_t* eyellipse, const double point[3],
                                                      const double tolerances[2], int type, int section, int* count,
                                                      double points[2][3]);

#endif
