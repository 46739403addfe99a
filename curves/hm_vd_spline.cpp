// Spline functions: splines through rows of points, with the degree chosen
// from the count or given. Kept in a file of their own because an older
// release replaces them.
#include "curves_spline_rows.h"
#include "hm_vd_curve.h"

int HM_VD_create_spline_thru_points_by_degree(int n, double** points, int periodic, int degree, int flag,
                                              tag_t* spline) {
    return carvell::curves::spline_through_rows(n, points, periodic, degree, flag, spline);
}

int HM_VD_create_spline_thru_points(int n, double** points, int periodic, tag_t* spline) {
    return HM_VD_create_spline_thru_points_by_degree(n, points, periodic, 0, 0, spline);
}
