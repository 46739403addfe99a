// How the 2006 release draws the results of stone impingement: every run
// builds areas, whatever its mode, and result curves come from the older
// maker, unprojected and without labels.
#include "r2006_stone.h"

#include "stone/si_internal.h"

namespace carvell::stone {

bool si_builds_bands(const si_data_s*) { return false; }

int make_result_curve(tag_t, int n, const double (*points)[3], tag_t curve, int colour, int name, tag_t* out_curve,
                      tag_t* out_label) {
    if (out_label) *out_label = 0;
    return r2006::si_make_plain_result_curve(curve, points, n, colour, name, out_curve);
}

}  // namespace carvell::stone
