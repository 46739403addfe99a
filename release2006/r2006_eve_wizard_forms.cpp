// The envelope wizard's reference orientation and child-part enquiry in the
// forms the 2006 release exports: axis points as the host's older C points,
// and the subtree written into an array that the caller sizes, as the
// tire-envelope tool's child-part enquiry does.
#include "release2006/vd_eve.h"

#include "envelope/eve_internal.h"

#include <algorithm>
#include <vector>

int VD_EVEWIZ_create_reference_csys(PNT3_s* axes, double* matrix) {
    return carvell::envelope::eve_reference_orientation(axes, matrix);
}

int VD_EVEWIZ_ask_child_part_tags(unsigned component, int* count, unsigned* array) {
    if (!count || !array || *count < 0) return -1;
    std::vector<tag_t> added;
    if (!carvell::envelope::eve_child_part_tags(component, *count == 0, &added)) return -1;
    std::copy(added.begin(), added.end(), array + *count);
    *count += static_cast<int>(added.size());
    return 0;
}
