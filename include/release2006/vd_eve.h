// The point-cloud envelope wizard's two functions whose form the 2006
// release has its own of: the reference orientation from the host's older C
// points, and the child-part enquiry into an array that the caller sizes.
// Decorated (C++) exports; the other wizard functions are those of vd_eve.h.
#ifndef CARVELL_RELEASE2006_VD_EVE_H
#define CARVELL_RELEASE2006_VD_EVE_H

#include "carvell_export.h"
#include "host_types.h"

// The three axis points, in order, as the rows of the orientation matrix.
// 0; -1 for a null argument.
CARVELL_CPP_EXPORT int VD_EVEWIZ_create_reference_csys(PNT3_s* axes, double* matrix);
// Writes the component's subtree into array from index *count on: the
// component itself when *count is 0, then its part-occurrence children in
// order, each followed by its own subtree; *count grows by the number
// written. The caller sizes the array for all of them. 0; -1 (nothing
// written) for null arguments, a negative count or a tag that is no
// component.
CARVELL_CPP_EXPORT int VD_EVEWIZ_ask_child_part_tags(unsigned component, int* count, unsigned* array);

#endif
