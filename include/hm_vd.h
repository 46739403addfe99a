// The toolbox of carvell: every family of plain-named HM_VD_ exports.
#ifndef CARVELL_HM_VD_H
#define CARVELL_HM_VD_H

#include "hm_vd/bodies.h"
#include "hm_vd/curve_utils.h"
#include "hm_vd/objects.h"
#include "hm_vd/trim_intersect.h"
#include "hm_vd/vectors.h"

#endif
