// Derivatives of the curve evaluator with respect to the normalised
// parameter, on circles and arcs where they are known in closed form: for
// an arc of radius R from angle a0 sweeping L radians, the angle at the
// normalised parameter t is a0 + L t, so the k-th derivative is L^k R times
// the k-th derivative of (cos, sin) at that angle.
#include "host_fixture.h"
#include "omvra.h"

#include <cmath>
#include <string>
#include <vector>

namespace {

class CurveDerivativeTest : public HostTest {};

TEST_F(CurveDerivativeTest, CircleDerivativesScaleWithTheSweep) {
    struct Case {
        const char* what;
        double radius, start, end;
    };
    const std::vector<Case> cases = {
        {"full circle of radius 3", 3.0, 0.0, 2 * M_PI},
        {"arc of radius 40 from 0.5 to 2.0 rad", 40.0, 0.5, 2.0},
        {"quarter arc of radius 0.25", 0.25, M_PI / 2, M_PI},
    };
    const double parms[] = {0.0, 0.13, 0.5, 0.87, 1.0};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        HM_CURVE_arc_t arc = {0, c.start, c.end, {0, 0, 0}, c.radius};
        tag_t curve = 0;
        ASSERT_EQ(HM_CURVE_create_arc(&arc, &curve), 0);
        HM_EVAL_p_t eval = nullptr;
        ASSERT_EQ(HM_EVAL_initialize(curve, &eval), 0);
        const double L = c.end - c.start;
        for (double t : parms) {
            SCOPED_TRACE("t = " + std::to_string(t));
            double point[3], d[9];
            ASSERT_EQ(HM_EVAL_evaluate(eval, 3, t, point, d), 0);
            const double a = c.start + L * t, R = c.radius;
            const double cs = std::cos(a), sn = std::sin(a);
            const double expected[4][3] = {
                {R * cs, R * sn, 0},
                {-L * R * sn, L * R * cs, 0},
                {-L * L * R * cs, -L * L * R * sn, 0},
                {L * L * L * R * sn, -L * L * L * R * cs, 0},
            };
            for (int k = 0; k < 3; ++k) EXPECT_NEAR(point[k], expected[0][k], 1e-9 * R) << "point " << k;
            for (int order = 1; order <= 3; ++order) {
                const double scale = std::pow(L, order) * R;
                for (int k = 0; k < 3; ++k)
                    EXPECT_NEAR(d[3 * (order - 1) + k], expected[order][k], 1e-9 * scale)
                        << "derivative " << order << " component " << k;
            }
        }
        EXPECT_EQ(HM_EVAL_free(eval), 0);
    }
}

}  // namespace
