// The host's vector and matrix mathematics under hostile numbers: NaN and
// infinite inputs, and results that overflow, answer HM_ERR_BAD_ARGUMENT
// with zeroed outputs, never success with NaN.
#include "host_fixture.h"
#include "omvra.h"

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

namespace {

class MathHostileInputTest : public HostTest {};

TEST_F(MathHostileInputTest, NonFiniteInputsAndOverflowingResultsFail) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const double good[3] = {1, 2, 3}, x[3] = {1, 0, 0};
    const double nan3[3] = {0, nan, 0}, inf3[3] = {inf, 0, 0}, huge3[3] = {1e308, 1e308, 0};
    double out[16], value = 0.0;
    int flag = 0;
    double m16[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    double nan16[16] = {1, 0, 0, nan, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    struct Case {
        const char* what;
        std::function<int()> call;
        double* out;
        int n;
    };
    const std::vector<Case> cases = {
        {"add NaN", [&] { return HM_VEC3_add(good, nan3, out); }, out, 3},
        {"sub inf", [&] { return HM_VEC3_sub(good, inf3, out); }, out, 3},
        {"add overflowing", [&] { return HM_VEC3_add(huge3, huge3, out); }, out, 3},
        {"scale by NaN", [&] { return HM_VEC3_scale(nan, good, out); }, out, 3},
        {"scale overflowing", [&] { return HM_VEC3_scale(1e300, huge3, out); }, out, 3},
        {"affine combination with inf", [&] { return HM_VEC3_affine_comb(good, inf, x, out); }, out, 3},
        {"dot of NaN", [&] { return HM_VEC3_dot(good, nan3, &value); }, &value, 1},
        {"dot overflowing", [&] { return HM_VEC3_dot(huge3, huge3, &value); }, &value, 1},
        {"cross overflowing", [&] { return HM_VEC3_cross(huge3, good, out); }, out, 0},
        {"magnitude of inf", [&] { return HM_VEC3_mag(inf3, &value); }, &value, 1},
        {"magnitude overflowing", [&] { return HM_VEC3_mag(huge3, &value); }, &value, 1},
        {"distance to NaN", [&] { return HM_VEC3_distance(good, nan3, &value); }, &value, 1},
        {"angle with NaN", [&] { return HM_VEC3_angle_between(good, nan3, x, &value); }, &value, 1},
        {"distance to a NaN plane", [&] { return HM_VEC3_distance_to_plane(good, nan3, x, 1e-9, &value); }, &value, 1},
        {"is zero of NaN", [&] { return HM_VEC3_is_zero(nan3, 1e-9, &flag); }, nullptr, 0},
        {"is equal to inf", [&] { return HM_VEC3_is_equal(good, inf3, 1e-9, &flag); }, nullptr, 0},
        {"is parallel to NaN", [&] { return HM_VEC3_is_parallel(good, nan3, 1e-9, &flag); }, nullptr, 0},
        {"is perpendicular at a NaN tolerance", [&] { return HM_VEC3_is_perpendicular(good, x, nan, &flag); }, nullptr, 0},
        {"2-D rotation by inf", [&] { return HM_VEC2_rotate(good, inf, out); }, out, 2},
        {"2-D distance to NaN", [&] { return HM_VEC2_distance(good, nan3 + 1, &value); }, &value, 1},
        {"matrix times NaN", [&] { return HM_MTX4_vec3_multiply(nan3, m16, out); }, out, 3},
        {"NaN matrix product", [&] { return HM_MTX4_multiply(m16, nan16, out); }, out, 16},
        {"translation of a NaN matrix", [&] { return HM_MTX4_ask_translation(nan16, out); }, out, 3},
        {"frame of a NaN axis", [&] { return HM_MTX3_initialize(nan3, x, out); }, out, 0},
        {"rotation about a NaN axis", [&] { return HM_MTX4_rotation(good, nan3, 30.0, out); }, out, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (double& v : out) v = 7.0;
        value = 7.0;
        EXPECT_EQ(c.call(), HM_ERR_BAD_ARGUMENT);
        for (int i = 0; i < c.n; ++i) EXPECT_EQ(c.out[i], 0.0) << "no NaN or infinity is handed back: " << i;
    }
    // The same calls with finite numbers still answer.
    EXPECT_EQ(HM_VEC3_add(good, x, out), 0);
    EXPECT_EQ(out[0], 2.0);
    EXPECT_EQ(HM_VEC3_dot(good, good, &value), 0);
    EXPECT_EQ(value, 14.0);
}

}  // namespace
