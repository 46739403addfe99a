// 2D manikin reach checks in millimetre and inch parts.
#include "hm_vd_2dm.h"

#include "host_fixture.h"
#include "occupant_fixtures.h"

#include <cmath>

namespace {

using occupant_test::kInch;

// A target at `distance` from p in the direction (cos t, sin t).
void target_at(const double p[2], double distance, double t, double out[2]) {
    out[0] = p[0] + distance * std::cos(t);
    out[1] = p[1] + distance * std::sin(t);
}

struct ReachCase {
    double distance;  // from the knee point, millimetres
    bool reachable;
};

// Links 300 and 400 mm: reachable between 100 and 700 mm, the bounds
// included within 1e-10.
const ReachCase kLegCases[] = {
    {500.0, true}, {700.0, true}, {700.1, false}, {100.0, true}, {99.99, false}, {50.0, false},
};

void check_leg_cases(double scale) {
    double base[2] = {10.0 / scale, 20.0 / scale};
    // With angle 0 the knee point lies at (-81, 107) mm from the base.
    const double knee[2] = {base[0] - 81.0 / scale, base[1] + 107.0 / scale};
    for (const ReachCase& c : kLegCases) {
        for (double t : {0.0, 1.0, 2.5}) {
            double target[2], len[2] = {300.0 / scale, 400.0 / scale};
            target_at(knee, c.distance / scale, t, target);
            EXPECT_EQ(hm_vd_2dm_check_leg_positions(base, target, 0.0, len), c.reachable)
                << "distance " << c.distance << " direction " << t;
        }
    }
}

}  // namespace

// Reach checks of the 2D manikin.
class Manikin2dTest : public HostTest {};
class Manikin2dInchTest : public InchHostTest {};

TEST_F(Manikin2dTest, LegReachIsCheckedInMillimetres) { check_leg_cases(1.0); }

TEST_F(Manikin2dInchTest, LegReachIsCheckedInInches) { check_leg_cases(kInch); }

TEST_F(Manikin2dTest, LegKneeTurnsWithMinusTheAngle) {
    // At 90 degrees the offset (-81, 107) turns clockwise to (107, 81).
    double base[2] = {0.0, 0.0};
    const double knee[2] = {107.0, 81.0};
    double len[2] = {300.0, 400.0};
    double near_edge[2], beyond[2];
    target_at(knee, 699.0, 0.0, near_edge);
    target_at(knee, 701.0, 0.0, beyond);
    EXPECT_TRUE(hm_vd_2dm_check_leg_positions(base, near_edge, 90.0, len));
    EXPECT_FALSE(hm_vd_2dm_check_leg_positions(base, beyond, 90.0, len));
    // The same target is far out of reach from the unturned knee point.
    EXPECT_FALSE(hm_vd_2dm_check_leg_positions(base, near_edge, 0.0, len));
}

TEST_F(Manikin2dTest, ArmReachIsCheckedAndItsSpanRewritten) {
    // Shoulder 100 from the base along (sin 0, cos 0) = (0, 1). With len[2] = 5
    // the span is 200 mm, which with len[1] = 200 at 170 degrees gives
    // e = 400 cos 5 deg = 398.4778; reach 98.4778 .. 698.4778 with len[0] = 300.
    double base[2] = {0.0, 0.0};
    const double shoulder[2] = {0.0, 100.0};
    const double e = 400.0 * std::cos(5.0 * M_PI / 180.0);
    double inside[2], outside[2], too_near[2];
    target_at(shoulder, 300.0 + e - 0.01, 0.3, inside);
    target_at(shoulder, 300.0 + e + 0.01, 0.3, outside);
    target_at(shoulder, e - 300.0 - 0.01, 0.3, too_near);

    double len[3] = {300.0, 200.0, 5.0};
    EXPECT_TRUE(hm_vd_2dm_check_arm_positions(base, inside, 0.0, len, 100.0));
    EXPECT_DOUBLE_EQ(len[2], 200.0);
    // Called again with the same array the span is 205 - 200 = 5 mm:
    // e' = sqrt(200^2 + 5^2 - 2 cos 170 * 200 * 5) = 204.93, out of reach.
    EXPECT_FALSE(hm_vd_2dm_check_arm_positions(base, inside, 0.0, len, 100.0));
    EXPECT_DOUBLE_EQ(len[2], 5.0);

    double fresh[3] = {300.0, 200.0, 5.0};
    EXPECT_FALSE(hm_vd_2dm_check_arm_positions(base, outside, 0.0, fresh, 100.0));
    fresh[2] = 5.0;
    EXPECT_FALSE(hm_vd_2dm_check_arm_positions(base, too_near, 0.0, fresh, 100.0));
}

TEST_F(Manikin2dTest, ArmShoulderDirectionFollowsTheAngle) {
    // At 90 degrees the shoulder lies along (1, 0) from the base.
    double base[2] = {5.0, 5.0};
    const double shoulder[2] = {105.0, 5.0};
    const double e = 400.0 * std::cos(5.0 * M_PI / 180.0);
    double target[2];
    target_at(shoulder, 300.0 + e - 0.01, 0.0, target);
    double len[3] = {300.0, 200.0, 5.0};
    EXPECT_TRUE(hm_vd_2dm_check_arm_positions(base, target, 90.0, len, 100.0));
    len[2] = 5.0;
    EXPECT_FALSE(hm_vd_2dm_check_arm_positions(base, target, 0.0, len, 100.0));
}

TEST_F(Manikin2dInchTest, ArmSpanIsConvertedToInches) {
    // 205 mm becomes 205 / 25.4 inches; with len[2] = 5 / 25.4 the span is 200 mm.
    double base[2] = {0.0, 0.0};
    const double shoulder[2] = {0.0, 100.0 / kInch};
    const double e = 400.0 * std::cos(5.0 * M_PI / 180.0) / kInch;
    double len[3] = {300.0 / kInch, 200.0 / kInch, 5.0 / kInch};
    double inside[2], outside[2];
    target_at(shoulder, 300.0 / kInch + e - 0.001, 1.0, inside);
    target_at(shoulder, 300.0 / kInch + e + 0.001, 1.0, outside);
    EXPECT_TRUE(hm_vd_2dm_check_arm_positions(base, inside, 0.0, len, 100.0 / kInch));
    EXPECT_NEAR(len[2], 200.0 / kInch, 1e-12);
    len[2] = 5.0 / kInch;
    EXPECT_FALSE(hm_vd_2dm_check_arm_positions(base, outside, 0.0, len, 100.0 / kInch));
}

TEST_F(Manikin2dTest, ChecksRefuseNullArguments) {
    double p[2] = {0.0, 0.0}, len[3] = {300.0, 400.0, 5.0};
    EXPECT_FALSE(hm_vd_2dm_check_leg_positions(nullptr, p, 0.0, len));
    EXPECT_FALSE(hm_vd_2dm_check_leg_positions(p, nullptr, 0.0, len));
    EXPECT_FALSE(hm_vd_2dm_check_leg_positions(p, p, 0.0, nullptr));
    EXPECT_FALSE(hm_vd_2dm_check_arm_positions(p, p, 0.0, nullptr, 1.0));
    EXPECT_DOUBLE_EQ(len[2], 5.0);
}
