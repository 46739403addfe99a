// The driver's eyes and head: the horizontal angle, the sight angles with
// their limits (a target at exactly rho, the eyes' 30 degrees, the head-turn
// flag off) and the spread of a sight-line pair by the limit angle.
#include "vision_eye.h"
#include "vision_fixtures.h"

#include "toolbox/detail/constants.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>

namespace {

using carvell::vision::e_point;
using carvell::vision::EyePose;
using carvell::vision::horizontal_angle;
using carvell::vision::sight_angles;
using carvell::vision::spread_by_limit;
using V3 = std::array<double, 3>;

constexpr double kPi = 3.14159265358979323846;
constexpr double kDeg = kPi / 180.0;
const double kD0 = 98.0, kD1 = std::sqrt(9759.75), kS = 32.5;

class ApoEyeTest : public HostTest {};

// Plan distance from the target to the sight line of the pose.
double miss(const EyePose& eye, const V3& target) {
    const double vx = target[0] - eye.e[0], vy = target[1] - eye.e[1];
    return std::fabs(eye.forward[0] * vy - eye.forward[1] * vx);
}

// Whether the target lies ahead on the sight line (not behind the eye).
bool ahead(const EyePose& eye, const V3& target) {
    return eye.forward[0] * (target[0] - eye.e[0]) + eye.forward[1] * (target[1] - eye.e[1]) > 0.0;
}

TEST_F(ApoEyeTest, HorizontalAngleIsCounterClockwiseInPlanFromZeroToTwoPi) {
    struct Case {
        const char* what;
        V3 u, v;
        double radians;
    };
    const Case cases[] = {
        {"quarter turn", {1, 0, 0}, {0, 1, 0}, kPi / 2},
        {"three quarters", {1, 0, 0}, {0, -1, 0}, 3 * kPi / 2},
        {"half turn", {-1, 0, 0}, {1, 0, 0}, kPi},
        {"same direction, heights differ", {1, 0, 0}, {2, 0, 5}, 0.0},
        {"heights dropped", {1, 0, 3}, {1, 1, -7}, kPi / 4},
        {"vertical vector", {0, 0, 1}, {1, 0, 0}, 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_NEAR(horizontal_angle(c.u.data(), c.v.data()), c.radians, 1e-12);
    }
}

TEST_F(ApoEyeTest, TargetAtExactlyRhoIsAcceptedAndANearerOneRefused) {
    // Modes 1 and 2: rho = sqrt(32.5^2 + 9759.75) = 104 exactly.
    const double pivot[3] = {0, 0, 0};
    const double at_rho[3] = {-104.0, 0, 0}, nearer[3] = {-103.999, 0, 0};
    double a = 7.0, b = 8.0;
    EXPECT_EQ(sight_angles(1, pivot, at_rho, 1, true, &a, &b), 0);
    a = 7.0, b = 8.0;
    EXPECT_EQ(sight_angles(1, pivot, nearer, 1, true, &a, &b), 13);
    EXPECT_EQ(a, 7.0);
    EXPECT_EQ(b, 8.0);
    // Mode 0: rho = sqrt(32.5^2 + 98^2); the other eye's place is that far.
    const double other_eye[3] = {-kD0, kS, 0}, inside[3] = {-kD0 + 0.001, kS, 0};
    EXPECT_EQ(sight_angles(0, pivot, other_eye, 1, true, &a, &b), 0);
    EXPECT_EQ(sight_angles(0, pivot, inside, 1, true, &a, &b), 13);
}

TEST_F(ApoEyeTest, EyesAloneReachThirtyDegreesAndTheHeadTurnsBeyond) {
    // Side 1's eye at (-98, -32.5) before any turn; targets 1 m away at a
    // bearing from straight ahead (-x) turned toward -y.
    const double pivot[3] = {0, 0, 0};
    const EyePose eye = e_point(0, pivot, 1, 0.0, 0.0);
    auto target_at = [&](double degrees) {
        return V3{eye.e[0] - 1000.0 * std::cos(degrees * kDeg), eye.e[1] - 1000.0 * std::sin(degrees * kDeg), 0.0};
    };
    // The target at 30 degrees: a hair under it, since the measure of a
    // bearing built at exactly 30 degrees rounds to 30 + 4e-15.
    const V3 t30 = target_at(30.0 - 1e-12);
    const double forward[3] = {-1, 0, 0};
    const double to30[3] = {t30[0] - eye.e[0], t30[1] - eye.e[1], 0};
    ASSERT_LE(horizontal_angle(forward, to30) * carvell::detail::kDegreesPerRadianAsUsed, 30.0)
        << "the construction must give 30 degrees or a hair less";
    ASSERT_GE(horizontal_angle(forward, to30) * carvell::detail::kDegreesPerRadianAsUsed, 30.0 - 1e-9);
    double a = 5.0, b = 0.0;
    ASSERT_EQ(sight_angles(0, pivot, t30.data(), 1, true, &a, &b), 0);
    EXPECT_EQ(a, 0.0) << "no head rotation at 30 degrees";
    EXPECT_NEAR(b, 30.0, 1e-9);
    // 30.000001 degrees: the head turns, the eye stays at its 30-degree limit,
    // and the turned eye's sight line runs through the target.
    const V3 beyond = target_at(30.000001);
    ASSERT_EQ(sight_angles(0, pivot, beyond.data(), 1, true, &a, &b), 0);
    EXPECT_EQ(b, 30.0);
    EXPECT_GT(a, 0.0);
    EXPECT_LT(a, 1e-3);
    const EyePose turned = e_point(0, pivot, 1, a, b);
    EXPECT_NEAR(miss(turned, beyond), 0.0, 1e-6);
    EXPECT_TRUE(ahead(turned, beyond));
    // The head may not turn: 22, the eye's raw angle kept.
    a = 0.0;
    EXPECT_EQ(sight_angles(0, pivot, beyond.data(), 1, false, &a, &b), 22);
    EXPECT_NEAR(b, 30.000001, 1e-9);
    EXPECT_EQ(a, 0.0);
}

TEST_F(ApoEyeTest, HeadAloneAimsTheEyeInModesOneAndTwo) {
    const double pivot[3] = {1000, -400, 1000};
    const V3 targets[] = {{400, -900, 1000}, {300, -200, 1000}, {600, -1400, 1000}};
    for (int mode : {1, 2}) {
        for (int side : {0, 1}) {
            for (const V3& t : targets) {
                SCOPED_TRACE("mode " + std::to_string(mode) + ", side " + std::to_string(side) + ", target y " +
                             std::to_string(t[1]));
                double a = 99.0, b = 99.0;
                ASSERT_EQ(sight_angles(mode, pivot, t.data(), side, true, &a, &b), 0);
                EXPECT_EQ(b, 0.0);
                const EyePose eye = e_point(mode, pivot, side, a, b);
                // E lies 104 mm from P: the mode's d and s.
                EXPECT_NEAR(std::hypot(eye.e[0] - pivot[0], eye.e[1] - pivot[1]), std::hypot(kD1, kS), 1e-9);
                EXPECT_NEAR(miss(eye, t), 0.0, 1e-6);
                EXPECT_TRUE(ahead(eye, t));
            }
        }
    }
}

// The other side's sight line for the spread, worked apart from the code:
// the ray from that eye (head not turned, eye turned by e) meets the circle
// of radius D about P where |E + t f - P| = D, a quadratic in t.
double expected_spread_head(int mode, const double pivot[3], int other_side, double e, const double target[3]) {
    const EyePose eye = e_point(mode, pivot, other_side, 0.0, e);
    const double D = std::hypot(target[0] - pivot[0], target[1] - pivot[1]);
    const double px = eye.e[0] - pivot[0], py = eye.e[1] - pivot[1];
    const double bq = 2.0 * (px * eye.forward[0] + py * eye.forward[1]);
    const double cq = px * px + py * py - D * D;
    const double t = (-bq + std::sqrt(bq * bq - 4.0 * cq)) / 2.0;
    const double xx = px + t * eye.forward[0], xy = py + t * eye.forward[1];
    double deg = (std::atan2(target[1] - pivot[1], target[0] - pivot[0]) - std::atan2(xy, xx)) / kDeg;
    while (deg > 180.0) deg -= 360.0;
    while (deg <= -180.0) deg += 360.0;
    return deg;
}

TEST_F(ApoEyeTest, SpreadByTheLimitAngle) {
    const double pivot[3] = {1000, -400, 1000};
    const double target[3] = {400, -900, 1000};
    struct Case {
        const char* what;
        int mode, side;
        double limit, b;
        double delta;        // the change of the working eye's rotation
        double other_eye;    // the other side's eye rotation
    };
    const Case cases[] = {
        // Mode 0, |r - |b|| = 20 is beyond |limit|: delta = -limit (side 1).
        {"limit 0, side 1", 0, 1, 0.0, 10.0, 0.0, 10.0},
        {"limit -2, side 1", 0, 1, -2.0, 10.0, 2.0, 10.0},
        {"limit -2, side 0", 0, 0, -2.0, 10.0, -2.0, 10.0},
        // |r - |b|| = 1 within |limit| = 3: the eye goes to its limit.
        {"limit -3 near the eyes' limit, side 1", 0, 1, -3.0, 29.0, 1.0, 27.0},
        // Mode 0 with the eye already beyond 30 degrees: no change.
        {"eye beyond its limit", 0, 1, -2.0, -31.0, 0.0, -33.0},
        // Modes 1 and 2: r = 0, |b| = 0 within any limit: delta 0.
        {"mode 1, limit -4, side 1", 1, 1, -4.0, 0.0, 0.0, -4.0},
        {"mode 2, limit -4, side 0", 2, 0, -4.0, 0.0, 0.0, 4.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        double a = 3.0, b = c.b;
        spread_by_limit(c.mode, pivot, c.side, c.limit, target, &a, &b);
        EXPECT_NEAR(b, c.b + c.delta, 1e-12);
        EXPECT_NEAR(a, expected_spread_head(c.mode, pivot, 1 - c.side, c.other_eye, target), 1e-9);
    }
    // A limit above 1e-10 leaves both angles as they were; 0 is spread.
    double a = 3.0, b = 10.0;
    spread_by_limit(0, pivot, 1, 0.5, target, &a, &b);
    EXPECT_EQ(a, 3.0);
    EXPECT_EQ(b, 10.0);
    spread_by_limit(0, pivot, 1, 1e-10, target, &a, &b);
    EXPECT_NE(a, 3.0) << "1e-10 is not above 1e-10: spread";
}

}  // namespace
