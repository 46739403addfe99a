// The envelope wizard's reference orientation and child-part enquiry in the
// forms this release exports: axis points as the host's C++ points, and the
// subtree appended to an array that grows with it.
#include "eve_internal.h"
#include "vd_eve.h"

#include "quillon.h"

#include <algorithm>
#include <vector>

using namespace carvell::envelope;

int VD_EVEWIZ_create_reference_csys(Korvath::Math::Point3 axes[3], double matrix[9]) {
    return eve_reference_orientation(axes, matrix);
}

int VD_EVEWIZ_ask_child_part_tags(tag_t component, int* count, tag_t** array) {
    if (!count || !array || *count < 0 || (*count > 0 && !*array)) return -1;
    std::vector<tag_t> added;
    if (!eve_child_part_tags(component, *count == 0, &added)) return -1;
    if (added.empty()) return 0;
    auto* grown = static_cast<tag_t*>(SM_realloc(*array, (*count + added.size()) * sizeof(tag_t)));
    if (!grown) return -1;
    std::copy(added.begin(), added.end(), grown + *count);
    *array = grown;
    *count += static_cast<int>(added.size());
    return 0;
}
