// The defining points of splines that the host made through points.
#include "geometry/curves_internal.h"

#include "quillon.h"

#include <cmath>

int HM_CURVE_ask_spline_thru_pts(tag_t spline, int* n_points, HM_CURVE_thru_point_t** points,
                                 double** parameters) {
    if (!n_points || !points || !parameters) return HM_ERR_NULL_POINTER;
    *n_points = 0;
    *points = nullptr;
    *parameters = nullptr;
    const host::Object* o = host::find(spline);
    if (!o) return HM_ERR_INVALID_TAG;
    if (!host::is_curve(*o)) return HM_ERR_WRONG_TYPE;
    const auto* kept = std::any_cast<host::SplineThroughPoints>(&o->data);
    if (!kept || kept->points.empty()) return HM_ERR_NOT_FOUND;
    const size_t n = kept->points.size();
    auto* pts = static_cast<HM_CURVE_thru_point_t*>(SM_calloc(n, sizeof(HM_CURVE_thru_point_t)));
    auto* u = static_cast<double*>(SM_calloc(n, sizeof(double)));
    double run = 0.0;
    for (size_t i = 0; i < n; ++i) {
        for (int k = 0; k < 3; ++k) pts[i].point[k] = kept->points[i][k];
        pts[i].slope_type = -1;
        pts[i].crvatr_type = -1;
        if (i > 0) {
            const auto& a = kept->points[i - 1];
            const auto& b = kept->points[i];
            run += std::sqrt((b[0] - a[0]) * (b[0] - a[0]) + (b[1] - a[1]) * (b[1] - a[1]) + (b[2] - a[2]) * (b[2] - a[2]));
        }
        u[i] = run;
    }
    if (run > 0.0)
        for (size_t i = 0; i < n; ++i) u[i] /= run;
    *n_points = static_cast<int>(n);
    *points = pts;
    *parameters = u;
    return 0;
}
