// Curve helpers that the toolbox's sources share: waking freshly made curves
// and freeing the loop arrays of HM_VD_CURVE_make_loop_curve. Internal to the
// toolbox (not exported).
#ifndef CARVELL_TOOLBOX_TOOLBOX_CURVE_UTILS_H
#define CARVELL_TOOLBOX_TOOLBOX_CURVE_UTILS_H

#include "host_types.h"

namespace carvell::toolbox {

// Wakes a freshly made curve object when it is not yet active.
void wake_curve(tag_t curve);

// Frees what HM_VD_CURVE_make_loop_curve hands back.
void free_loops(int loop_count, int* curves_per_loop, tag_t** loops);

}  // namespace carvell::toolbox

#endif
