// Back pivot locations of the H-point design tool: the five points of the
// back linkage at its ALPHA angle.
#include "hpd.h"
#include "hpd_back_linkage.h"

using namespace carvell::occupant;

int HM_VD_HPD_ask_back_pivot_relative_locations(double p, double (*points)[2]) {
    if (!points) return -1;
    double alpha = 0.0;
    if (ask_alpha_angle(p, &alpha) != 0) return -1;
    double p1[2], p2[2], c[2], d[2], e[2];
    if (hpd_ask_back_pivot_points(p, p1, p2) != 0) return -1;
    if (hpd_ask_back_linkage_points(alpha, p1, p2, c, d) != 0) return -1;
    hpd_ask_back_line_end(c, d, e);
    const double* all[5] = {p1, p2, c, d, e};
    for (int i = 0; i < 5; ++i) {
        points[i][0] = all[i][0];
        points[i][1] = all[i][1];
    }
    return 0;
}
