// Utilities around a stone-impingement run: points of a curve, the defining
// points of result splines, and the sublists and points of the areas.
#include "si_internal.h"

#include "hm_vd.h"
#include "hm_vd_curve.h"
#include "toolbox/detail/owners.h"

#include "omvra.h"
#include "quillon.h"

#include <cmath>

namespace detail = carvell::detail;

namespace {

double** new_point_array(int n) {
    auto** pts = static_cast<double**>(SM_calloc(n, sizeof(double*)));
    for (int i = 0; i < n; ++i) pts[i] = static_cast<double*>(SM_calloc(3, sizeof(double)));
    return pts;
}


// Whether the curve closes on itself (its ends within the distance tolerance).
bool is_closed(tag_t curve) {
    double a[3], b[3], tol = 0.0;
    HM_MODL_ask_distance_tolerance(&tol);
    if (HM_VD_CURVE_ask_point_on_curve(curve, 0.0, a) != 0 || HM_VD_CURVE_ask_point_on_curve(curve, 1.0, b) != 0)
        return false;
    return HM_VD_CURVE_is_coinside_point(a, b, tol) == 1;
}

}  // namespace

int HM_VD_SI_disperse_curve(tag_t curve, bool reverse, int n, double*** points) {
    if (!points) return -1;
    *points = nullptr;
    if (!curve || n < 3 || !HM_VD_is_curve(curve)) return -1;
    const double s = is_closed(curve) ? 1.0 / n : 1.0 / (n - 1);
    double** pts = new_point_array(n);
    for (int i = 0; i < n; ++i) HM_VD_CURVE_ask_point_on_curve(curve, reverse ? 1.0 - i * s : i * s, pts[i]);
    *points = pts;
    return 0;
}

int HM_VD_SI_ask_spline_thru_point_data(tag_t curve, int* n, double*** points) {
    if (n) *n = 0;
    if (points) *points = nullptr;
    if (!curve || !n || !points) return -1;
    int count = 0;
    HM_CURVE_thru_point_t* thru = nullptr;
    double* knots = nullptr;
    const int status = HM_CURVE_ask_spline_thru_pts(curve, &count, &thru, &knots);
    detail::HmBlock<HM_CURVE_thru_point_t> owned_thru(thru);
    detail::HmBlock<double> owned_knots(knots);
    if (status != 0) {
        (void)HM_get_fail_message(status);
        return status;
    }
    double** pts = new_point_array(count);
    for (int i = 0; i < count; ++i)
        for (int k = 0; k < 3; ++k) pts[i][k] = thru[i].point[k];
    *n = count;
    *points = pts;
    return 0;
}

void HM_VD_SI_ask_sublist(hm_list_p_t list, int group_count, const int sizes[], int index, hm_list_p_t* sublist) {
    if (!sublist) return;
    *sublist = nullptr;
    if (!sizes || index < 0 || index >= group_count) return;
    const std::vector<tag_t> items = detail::list_items(list);
    long start = 0;
    for (int g = 0; g < index; ++g) {
        if (sizes[g] < 0) return;
        start += sizes[g];
    }
    if (sizes[index] < 0 || start >= static_cast<long>(items.size()) ||
        start + sizes[index] > static_cast<long>(items.size()))
        return;
    HM_MODL_create_list(sublist);
    for (long i = start; i < start + sizes[index]; ++i) HM_MODL_put_list_item(*sublist, items[i]);
}

int HM_VD_SI_ask_points_of_interval_area(hm_list_p_t list, int* n, int** counts, double**** points) {
    if (!n || !counts || !points) return -1;
    const std::vector<tag_t> items = detail::list_items(list);
    const int m = static_cast<int>(items.size());
    *n = m;
    *counts = static_cast<int*>(SM_calloc(m > 0 ? m : 1, sizeof(int)));
    *points = static_cast<double***>(SM_calloc(m > 0 ? m : 1, sizeof(double**)));
    for (int i = 0; i < m; ++i) HM_VD_SI_ask_spline_thru_point_data(items[i], &(*counts)[i], &(*points)[i]);
    return 0;
}
