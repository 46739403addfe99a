// Instrument-panel visibility as the 2003 release holds it: the tangent
// points of an eyellipse section, with the eye type and tolerances before the
// point, and semi-axes that the 2003 eyellipse record already holds.
// Beside include/hm_vd_vision/ipv_section_tangents.h, which the 2003 build
// does not see: a call written for the current form does not compile here.
#ifndef CARVELL_HM_VD_VISION_IPV_SECTION_TANGENTS_H
#define CARVELL_HM_VD_VISION_IPV_SECTION_TANGENTS_H

#include "release2003/ipv.h"

#endif
