// Point-row helpers of the vector utilities. Internal to the toolbox (not
// exported).
#ifndef CARVELL_TOOLBOX_TOOLBOX_VECTORS_H
#define CARVELL_TOOLBOX_TOOLBOX_VECTORS_H

namespace carvell::toolbox {

// Reverses the order of the n points of the row in place by swapping
// coordinates (the pointers stay). A null row: nothing.
void reverse_point_array(int n, double** points);

}  // namespace carvell::toolbox

#endif
