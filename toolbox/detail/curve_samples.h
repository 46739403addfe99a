// Samples of a curve fine enough for its bends: what the families sample a
// curve by when the points stand for the curve (not for a fixed count).
#ifndef CARVELL_TOOLBOX_DETAIL_CURVE_SAMPLES_H
#define CARVELL_TOOLBOX_DETAIL_CURVE_SAMPLES_H

#include "host_types.h"

namespace carvell::detail {

// Samples the curve piece by piece (its C0 corners always among the points)
// so that no chord between neighbouring points strays further than the
// chord tolerance from the curve: a straight piece gives its two ends, a bent
// one as many points as its bend needs, halving the steps up to 2^16 a
// piece. Row and breaks as HM_VD_simple_curve_points gives them (the caller
// frees each point, the row and the break array); a tolerance that is not
// positive and finite, a row past HM_VD_MAX_SAMPLED_POINTS or a failed
// evaluation gives counts 0 and null arrays.
void chord_curve_points(tag_t curve, double chord_tolerance, int* point_count, double*** points, int* break_count,
                        int** breaks);

}  // namespace carvell::detail

#endif
