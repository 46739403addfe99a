// Curve functions: points on curves and the crossings of curves with a
// plane. The spline functions are in hm_vd_spline.cpp, apart, because an
// older release replaces them.
#include "curves_finite.h"
#include "hm_vd_curve.h"

#include "morvish.h"
#include "omvra.h"
#include "quillon.h"

#include <cmath>
#include <utility>

int HM_VD_CURVE_ask_point_on_curve(tag_t curve, double t, double point[3]) {
    if (!point) return HM_ERR_NULL_POINTER;
    if (!std::isfinite(t)) return HM_ERR_BAD_ARGUMENT;
    double on_curve[3], tangent[3], p_norm[3], b_norm[3], torsion = 0.0, radius = 0.0;
    const int result = HM_MODL_ask_curve_props(curve, t, on_curve, tangent, p_norm, b_norm, &torsion, &radius);
    if (result != 0) return result;
    if (!carvell::curves::finite3(on_curve)) return HM_ERR_GEOMETRY;
    for (int k = 0; k < 3; ++k) point[k] = on_curve[k];
    return 0;
}

int HM_VD_ask_intersect_point_curve_plane(const tag_t* curves, int n, const double point[3], const double normal[3],
                                          int* count, double*** points) {
    if (!count || !points) return HM_ERR_NULL_POINTER;
    *count = 0;
    *points = nullptr;
    if (n >= 1 && !curves) return HM_ERR_NULL_POINTER;
    if (n >= 1 && (!point || !normal)) return HM_ERR_NULL_POINTER;
    if (n >= 1 && (!carvell::curves::finite3(point) || !carvell::curves::finite3(normal))) return HM_ERR_BAD_ARGUMENT;
    int total = 0;
    double** found = nullptr;
    int result = 0;
    if (n >= 1 && curves) {
        tag_t plane = 0;
        result = HM_MODL_create_plane(point, normal, &plane);
        double tolerance = 0.0;
        HM_MODL_ask_distance_tolerance(&tolerance);
        for (int c = 0; plane && c < n; ++c) {
            int entry_count = 0;
            HM_MODL_intersection_t** entries = nullptr;
            result = HM_MODL_intersect_objects(plane, curves[c], tolerance, &entry_count, &entries);
            if (entry_count > 0 && entries) {
                int k = 0;
                for (int e = 0; e < entry_count; ++e)
                    if (entries[e]->kind == HM_INTERSECTION_POINT) ++k;
                if (k > 0) {
                    found = static_cast<double**>(SM_realloc(found, (total + k) * sizeof(double*)));
                    auto* parms = static_cast<double*>(SM_alloc(k * sizeof(double)));
                    const int first = total;
                    for (int e = 0; e < entry_count; ++e) {
                        if (entries[e]->kind != HM_INTERSECTION_POINT) continue;
                        double parm = 0.0, on_curve[3] = {entries[e]->point[0], entries[e]->point[1],
                                                          entries[e]->point[2]};
                        HM_MODL_ask_curve_parm(curves[c], entries[e]->point, &parm, on_curve);
                        auto* p = static_cast<double*>(SM_alloc(3 * sizeof(double)));
                        p[0] = on_curve[0];
                        p[1] = on_curve[1];
                        p[2] = on_curve[2];
                        parms[total - first] = parm;
                        found[total++] = p;
                    }
                    // This curve's points in ascending parameter (selection sort:
                    // among equal parameters the earliest comes first).
                    for (int i = 0; i < k; ++i) {
                        int smallest = i;
                        for (int j = i + 1; j < k; ++j)
                            if (parms[j] < parms[smallest]) smallest = j;
                        if (smallest != i) {
                            std::swap(parms[i], parms[smallest]);
                            std::swap(found[first + i], found[first + smallest]);
                        }
                    }
                    SM_free(parms);
                }
                // The entries are the caller's to free; curve entries are new
                // objects of the intersection, which a plane cuts into points
                // only unless the curve lies in it.
                for (int e = 0; e < entry_count; ++e) {
                    if (entries[e]->kind == HM_INTERSECTION_CURVE) UPDATE_log_entity_to_delete(entries[e]->curve);
                    HM_free(entries[e]);
                }
            }
            HM_free(entries);
        }
        if (plane) UPDATE_log_entity_to_delete(plane);
    }
    *count = total;
    *points = found;
    return result;
}
