// The test of a curve lying in a plane.
#include "core/kernel_guard.h"
#include "geometry/curves_internal.h"
#include "kestrin.h"
#include "nethrow.h"

#include <GeomAPI_ProjectPointOnCurve.hxx>

#include <cmath>
#include <vector>

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
