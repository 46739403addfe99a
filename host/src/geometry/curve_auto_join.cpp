// Joining of curves by chains at given tolerances (the section-curve join of
// the host's curve library), and the test of a curve lying in a plane.
#include "core/kernel_guard.h"
#include "geometry/curves_internal.h"
#include "kestrin.h"
#include "nethrow.h"

#include <GeomAPI_ProjectPointOnCurve.hxx>

#include <cmath>
#include <vector>

int CRV_JOIN_auto_join_curves(int n_curves, const tag_t* curves, int option, double distance_tolerance,
                              double angle_tolerance, int* n_joined, tag_t** joined, int* status) {
    return host::guarded(__func__, [&]() -> int {
        if (!n_joined || !joined || !status || (n_curves > 0 && !curves)) return HM_ERR_NULL_POINTER;
        *n_joined = 0;
        *joined = nullptr;
        *status = 1;
        if (n_curves < 1 || option < 0 || option > 3 || !host::finite_value(distance_tolerance) ||
            distance_tolerance <= 0.0 || !host::finite_value(angle_tolerance))
            return HM_ERR_BAD_ARGUMENT;
        std::vector<Handle(Geom_Curve)> geometry;
        for (int i = 0; i < n_curves; ++i) {
            host::Object* o = host::find(curves[i]);
            if (!o) return HM_ERR_INVALID_TAG;
            Handle(Geom_Curve) c = host::curve_of(*o);
            if (c.IsNull()) return HM_ERR_WRONG_TYPE;
            geometry.push_back(c);
        }
        std::vector<host::Chain> chains;
        if (!host::make_chains(geometry, distance_tolerance, chains)) return HM_ERR_GEOMETRY;
        std::vector<tag_t> made;
        for (const host::Chain& chain : chains) {
            Handle(Geom_Curve) c = geometry[chain.links.front().index];
            if (chain.links.size() > 1) c = host::join_chain(geometry, chain, distance_tolerance);
            if (c.IsNull()) {
                for (tag_t t : made) host::erase(t);
                return HM_ERR_GEOMETRY;
            }
            made.push_back(host::store_curve(c).tag);
        }
        *n_joined = static_cast<int>(made.size());
        *joined = host::tag_array(made);
        *status = 0;
        return 0;
    });
}

int CRV_ask_curve_on_plane(tag_t curve, const double origin[3], const double normal[3], double tolerance) {
    return host::guarded_value(__func__, 0, [&]() -> int {
        if (!origin || !normal || !host::finite3(origin) || !host::finite3(normal)) return 0;
        host::Object* o = host::find(curve);
        if (!o) return 0;
        Handle(Geom_Curve) c = host::curve_of(*o);
        if (c.IsNull()) return 0;
        const gp_Vec n = host::vec_of(normal);
        if (n.Magnitude() < 1e-12) return 0;
        const gp_Dir d(n);
        const gp_Pnt o3 = host::point_of(origin);
        // Enough samples that no bulge of a spline between them escapes.
        constexpr int kSamples = 64;
        for (int i = 0; i <= kSamples; ++i) {
            const gp_Pnt p = c->Value(host::kernel_parameter(c, static_cast<double>(i) / kSamples));
            if (std::fabs(gp_Vec(o3, p).Dot(gp_Vec(d))) > tolerance) return 0;
        }
        return 1;
    });
}
