// The instrument-panel tool's lower layer in the current release: the shared
// curve functions.
#include "ipv_layer.h"

#include "hm_vd_curve.h"

namespace carvell::vision {

int ipv_layer_spline(int n, double** points, int periodic, int degree, tag_t* spline) {
    return HM_VD_create_spline_thru_points_by_degree(n, points, periodic, degree, 0, spline);
}

}  // namespace carvell::vision
