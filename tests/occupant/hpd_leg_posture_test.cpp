// Leg posture: leg angles and leg room recovered from postures built link by
// link, the heel validity codes, the four posture checks with their dialogs,
// the three locked-ankle adjustments and the leg-chain operations.
#include "hpd_leg_chain.h"
#include "hpd.h"

#include "host_fixture.h"
#include "occupant_fixtures.h"
#include "sarnweld.h"

#include <array>
#include <cmath>

using namespace carvell::occupant;

namespace {

using namespace occupant_test;

struct Posture {
    double shoe;    // shoe (pedal) angle
    double ankle;   // ankle angle
    double thigh;   // thigh angle
    double upper;   // millimetres
    double lower;   // millimetres
    double back;    // back angle
};

// Builds a leg from its angles with the heel at `heel` (side view, part
// units): the ankle at (-81, 107) mm turned by -shoe; the lower leg leaves
// the ankle at `ankle` degrees clockwise from the foot direction (-1, 0)
// turned by -shoe and then by +6.5; the thigh rises from the SgRP to the knee
// at `thigh` degrees above -L.
struct Leg {
    double heel[2], ankle[2], knee[2], sgrp[2];
};
Leg build(const Posture& p, const double heel[2], double scale) {
    Leg leg{};
    leg.heel[0] = heel[0], leg.heel[1] = heel[1];
    const SideOffset offset = ankle_offset_mm(p.shoe);
    leg.ankle[0] = heel[0] + offset.l / scale;
    leg.ankle[1] = heel[1] + offset.h / scale;
    double shank = (180.0 - p.shoe + 6.5 - p.ankle) * kDeg;
    leg.knee[0] = leg.ankle[0] + p.lower / scale * std::cos(shank);
    leg.knee[1] = leg.ankle[1] + p.lower / scale * std::sin(shank);
    leg.sgrp[0] = leg.knee[0] + p.upper / scale * std::cos(p.thigh * kDeg);
    leg.sgrp[1] = leg.knee[1] - p.upper / scale * std::sin(p.thigh * kDeg);
    return leg;
}

const Posture kPostures[] = {
    {30.0, 100.0, 15.0, 456.0, 459.0, 25.0},
    {60.0, 87.0, 10.0, 456.0, 459.0, 22.0},
    {10.0, 120.0, 25.0, 400.0, 500.0, 18.0},
    {45.0, 130.0, 5.0, 500.0, 420.0, 30.0},
};

void expect_recovered(const Posture& p, double scale) {
    const double heel[2] = {150.0 / scale, 250.0 / scale};
    Leg leg = build(p, heel, scale);
    double legs[2] = {p.upper / scale, p.lower / scale};
    double result[5] = {0, 0, 0, 0, 0};
    ASSERT_EQ(HM_VD_HPD_ask_leg_angles_legroom(leg.sgrp, leg.sgrp[0] - heel[0], leg.sgrp[1] - heel[1], p.shoe, legs,
                                               p.back, false, result),
              0);
    EXPECT_NEAR(result[0], p.ankle, 1e-7);
    EXPECT_NEAR(result[1], p.thigh, 1e-7);
    // The knee angle between shank and thigh: ankle - thigh + shoe - 6.5.
    EXPECT_NEAR(result[2], p.ankle - p.thigh + p.shoe - 6.5, 1e-7);
    EXPECT_NEAR(result[3], p.back + 90.0 - p.thigh, 1e-7);
    double room = std::hypot(leg.sgrp[0] - leg.ankle[0], leg.sgrp[1] - leg.ankle[1]) + 254.0 / scale;
    EXPECT_NEAR(result[4], room, 1e-9);
}

}  // namespace

// Leg angles and room, the posture checks, the ankle-angle locks and the heel
// of a seat height or a drop.
class LegPostureTest : public HostTest {};
class LegPostureInchTest : public InchHostTest {};

TEST_F(LegPostureTest, LegAnglesAreRecoveredFromBuiltPostures) {
    for (const Posture& p : kPostures) {
        SCOPED_TRACE(p.ankle);
        expect_recovered(p, 1.0);
    }
}

TEST_F(LegPostureInchTest, LegAnglesAreRecoveredFromBuiltPosturesInInches) {
    for (const Posture& p : kPostures) {
        SCOPED_TRACE(p.ankle);
        expect_recovered(p, kInch);
    }
}

TEST_F(LegPostureTest, LegAnglesGiveTheirCodesAndTheRoomAlone) {
    double sgrp[2] = {1000.0, 600.0}, legs[2] = {456.0, 459.0};
    double result[5] = {-1, -1, -1, -1, -1};
    EXPECT_EQ(HM_VD_HPD_ask_leg_angles_legroom(sgrp, -0.1, 300.0, 30.0, legs, 25.0, false, result), 24);
    EXPECT_EQ(HM_VD_HPD_ask_leg_angles_legroom(sgrp, 800.0, -0.1, 30.0, legs, 25.0, false, result), 25);
    // Heel 2000 in front: the ankle is out of reach of the two links.
    EXPECT_EQ(HM_VD_HPD_ask_leg_angles_legroom(sgrp, 2000.0, 300.0, 30.0, legs, 25.0, false, result), 23);
    EXPECT_EQ(result[0], -1);
    // Leg room alone works at any distance: ankle angle 130, the rest 0.
    ASSERT_EQ(HM_VD_HPD_ask_leg_angles_legroom(sgrp, 2000.0, 300.0, 0.0, legs, 25.0, true, result), 0);
    EXPECT_EQ(result[0], 130.0);
    EXPECT_EQ(result[1], 0.0);
    EXPECT_EQ(result[2], 0.0);
    EXPECT_EQ(result[3], 0.0);
    // Heel (-1000, 300), level shoe: ankle (-1081, 407), 2081 in front of and
    // 193 below the SgRP.
    EXPECT_NEAR(result[4], std::hypot(2000.0 + 81.0, 300.0 - 107.0) + 254.0, 1e-9);
    EXPECT_EQ(HM_VD_HPD_ask_leg_angles_legroom(nullptr, 1.0, 1.0, 0.0, legs, 0.0, false, result), -1);
}

TEST_F(LegPostureTest, ShoePositionIsCheckedAgainstTheSgrp) {
    double sgrp[3] = {1000.0, 0.0, 600.0};
    const double up = 456.0, low = 459.0;
    const struct {
        const char* name;
        int leg;
        double heel[3];
        double pv;
        int code;
    } cases[] = {
        {"right leg, fine", 0, {700.0, 150.0, 300.0}, 0.0, 0},
        {"at L + 1e-4", 0, {1000.0 + 1e-4, 150.0, 300.0}, 0.0, 24},
        {"at L + 0.5e-4", 0, {1000.0 + 0.5e-4, 150.0, 300.0}, 0.0, 0},
        {"at H + 1e-4", 0, {700.0, 150.0, 600.0 + 1e-4}, 0.0, 25},
        {"right heel left of centre", 0, {700.0, -150.0, 300.0}, 0.0, 26},
        {"left heel right of centre", 1, {700.0, 150.0, 300.0}, 0.0, 27},
        {"left leg, fine", 1, {700.0, -150.0, 300.0}, 0.0, 0},
        {"second right leg, wrong side", 2, {700.0, -150.0, 300.0}, 0.0, 26},
        {"right leg out of reach", 0, {-500.0, 150.0, 300.0}, 0.0, 23},
        {"left leg out of reach", 1, {-500.0, -150.0, 300.0}, 0.0, 23},
        {"second right leg never out of reach", 2, {-500.0, 150.0, 300.0}, 0.0, 0},
        // Turned 60 degrees the heel lies behind the SgRP in the occupant's frame.
        {"turned behind", 0, {900.0, 200.0, 300.0}, 60.0, 24},
        {"turned back in front", 0, {900.0, 200.0, 300.0}, -10.0, 0},
    };
    for (const auto& c : cases) {
        double heel[3] = {c.heel[0], c.heel[1], c.heel[2]};
        EXPECT_EQ(HM_VD_HPD_is_valid_shoe_position(c.leg, heel, sgrp, up, low, 30.0, c.pv), c.code) << c.name;
    }
    EXPECT_TRUE(host_testing::dialogs().empty());
}

TEST_F(LegPostureTest, PostureChecksShowTheirDialogs) {
    double sgrp[3] = {1000.0, 0.0, 600.0};
    double heel_ok[3] = {500.0, 196.5, 300.0}, heel_wide[3] = {500.0, 196.6, 300.0};
    EXPECT_TRUE(HM_VD_HPD_check_hpd_width(heel_ok, sgrp, 0.0, true));
    EXPECT_FALSE(HM_VD_HPD_check_hpd_width(heel_wide, sgrp, 0.0, false));
    EXPECT_TRUE(host_testing::dialogs().empty());
    EXPECT_FALSE(HM_VD_HPD_check_hpd_width(heel_wide, sgrp, 0.0, true));
    ASSERT_EQ(host_testing::dialogs().size(), 1u);
    EXPECT_EQ(host_testing::dialogs()[0].title, "Update Model Failed");
    EXPECT_EQ(host_testing::dialogs()[0].kind, UI_MESSAGE_ERROR);
    ASSERT_EQ(host_testing::dialogs()[0].lines.size(), 1u);
    EXPECT_EQ(host_testing::dialogs()[0].lines[0], "The distance between SgRP W and Heel Point W exceed range.");

    // The SgRP 300 behind the heel, turned about it by -pv: W = 300 sin(-pv).
    double heel[3] = {0.0, 0.0, 0.0}, behind[3] = {300.0, 0.0, 600.0};
    EXPECT_TRUE(HM_VD_HPD_check_hpd_width(heel, behind, -30.0, false));   // |W| = 150
    EXPECT_FALSE(HM_VD_HPD_check_hpd_width(heel, behind, -60.0, false));  // |W| = 259.8
    EXPECT_TRUE(HM_VD_HPD_check_right_shoe(heel, behind, 10.0, false));
    EXPECT_FALSE(HM_VD_HPD_check_left_shoe(heel, behind, 10.0, false));
    EXPECT_FALSE(HM_VD_HPD_check_right_shoe(heel, behind, -10.0, false));
    EXPECT_TRUE(HM_VD_HPD_check_left_shoe(heel, behind, -10.0, false));

    host_testing::clear_sinks();
    EXPECT_FALSE(HM_VD_HPD_check_right_shoe(heel, behind, -10.0, true));
    EXPECT_FALSE(HM_VD_HPD_check_left_shoe(heel, behind, 10.0, true));
    ASSERT_EQ(host_testing::dialogs().size(), 2u);
    EXPECT_EQ(host_testing::dialogs()[0].lines[0],
              "Right shoe heel point must be on the right side of HPD centeral plane. \nSolution: Adjust the heel "
              "point or the SgRP.");
    EXPECT_EQ(host_testing::dialogs()[1].lines[0],
              "Left shoe heel point must be on the left side of HPD centeral plane. \nSolution: Adjust the heel point "
              "or the SgRP.");
}

TEST_F(LegPostureTest, LengthCheckTakesBothLegs) {
    // Level shoe: the ankle is at (-81, 107) from the heel; legs reach 915.
    double heel[3] = {0.0, 50.0, 0.0}, legs[2] = {456.0, 459.0};
    double at_reach[3] = {-81.0 + 915.0 * std::cos(0.3), 50.0, 107.0 + 915.0 * std::sin(0.3)};
    double beyond[3] = {-81.0 + 915.001 * std::cos(0.3), 50.0, 107.0 + 915.001 * std::sin(0.3)};
    EXPECT_TRUE(HM_VD_HPD_check_hpd_length(heel, at_reach, 0.0, legs, 0.0, true));
    EXPECT_TRUE(host_testing::dialogs().empty());
    EXPECT_FALSE(HM_VD_HPD_check_hpd_length(heel, beyond, 0.0, legs, 0.0, true));
    ASSERT_EQ(host_testing::dialogs().size(), 1u);
    EXPECT_EQ(host_testing::dialogs()[0].lines[0],
              "Shoe position would exceed current leg lengths. \nSolution: Adjust the angle or position of the shoe "
              "profile or re-select\nthe accelerator or floor geometry.");
}

namespace {

// Ankle angle of the posture given by a heel (3-D) and shoe angle.
double ankle_angle_of(double* sgrp3, double* heel3, double pv, double shoe, double* legs) {
    double turned[3];
    HPD_transform_point_to_pv(heel3, sgrp3, -pv, turned);
    double sgrp[2] = {sgrp3[0], sgrp3[2]}, result[5] = {0, 0, 0, 0, 0};
    EXPECT_EQ(HM_VD_HPD_ask_leg_angles_legroom(sgrp, sgrp3[0] - turned[0], sgrp3[2] - turned[2], shoe, legs, 25.0,
                                               false, result),
              0);
    return result[0];
}

}  // namespace

TEST_F(LegPostureTest, LockedAnkleAngleIsMetByMovingTheHeel) {
    double legs[2] = {456.0, 459.0};
    for (double pv : {0.0, 15.0}) {
        for (double ankle : {87.0, 100.0, 115.0}) {
            double sgrp[3] = {1000.0, -370.0, 600.0};
            double heel[3] = {200.0, 0.0, 300.0};
            HPD_transform_point_to_pv(heel, sgrp, pv, heel);
            double before_h = heel[2];
            ASSERT_EQ(HM_VD_HPD_lock_pass_ankle_angle_by_coordinate_adjustment(sgrp, pv, 40.0, ankle, legs, heel), 0);
            EXPECT_EQ(heel[2], before_h);
            EXPECT_NEAR(ankle_angle_of(sgrp, heel, pv, 40.0, legs), ankle, 1e-7) << "pv " << pv;
            // The heel stays on the occupant's side plane through its start.
            double turned[3];
            HPD_transform_point_to_pv(heel, sgrp, -pv, turned);
            EXPECT_NEAR(turned[1], 0.0, 1e-9);
        }
    }
}

TEST_F(LegPostureTest, LockByMovingTheHeelFailsWhereTheThighCannotReach) {
    double legs[2] = {456.0, 459.0};
    double sgrp[3] = {1000.0, 0.0, 600.0};
    // SgRP far above the knee: sqrt of a negative length must not pass as success.
    double high[3] = {200.0, 0.0, -900.0};
    double before[3] = {high[0], high[1], high[2]};
    EXPECT_EQ(HM_VD_HPD_lock_pass_ankle_angle_by_coordinate_adjustment(sgrp, 0.0, 40.0, 100.0, legs, high), -1);
    EXPECT_EQ(high[0], before[0]);
    EXPECT_EQ(high[2], before[2]);
    // Heel-to-knee line turned past the vertical plane: phi = 180 - gamma - shoe < 0.
    double heel[3] = {200.0, 0.0, 300.0};
    EXPECT_EQ(HM_VD_HPD_lock_pass_ankle_angle_by_coordinate_adjustment(sgrp, 0.0, 170.0, 100.0, legs, heel), -1);
}

TEST_F(LegPostureTest, LockedAnkleAngleIsMetByTurningTheShoe) {
    double legs[2] = {456.0, 459.0};
    double sgrp[3] = {1000.0, 0.0, 600.0};
    for (double ankle : {90.0, 100.0, 110.0}) {
        double heel[3] = {250.0, 100.0, 250.0};
        double shoe = -1.0;
        ASSERT_EQ(HM_VD_HPD_lock_pass_ankle_angle_by_shoe_angle_adjustment(sgrp, 0.0, ankle, legs, heel, &shoe), 0);
        EXPECT_EQ(heel[0], 250.0);  // the heel stays
        EXPECT_GT(shoe, 0.0);
        EXPECT_LT(shoe, 90.0);
        EXPECT_NEAR(ankle_angle_of(sgrp, heel, 0.0, shoe, legs), ankle, 1e-7);
    }
}

TEST_F(LegPostureTest, LockedAnkleAngleIsMetKeepingTheBallOfFoot) {
    double legs[2] = {456.0, 459.0};
    double sgrp[3] = {1000.0, 0.0, 600.0};
    for (double ankle : {90.0, 100.0, 110.0}) {
        double heel[3] = {250.0, 100.0, 250.0};
        double shoe = 35.0;
        const double ball[2] = {250.0 - 200.0 * std::cos(35.0 * kDeg), 250.0 + 200.0 * std::sin(35.0 * kDeg)};
        ASSERT_EQ(HM_VD_HPD_lock_pass_ankle_angle_by_keep_bof_location(sgrp, 0.0, ankle, legs, heel, &shoe), 0);
        EXPECT_NEAR(heel[0] - 200.0 * std::cos(shoe * kDeg), ball[0], 1e-9);
        EXPECT_NEAR(heel[2] + 200.0 * std::sin(shoe * kDeg), ball[1], 1e-9);
        EXPECT_EQ(heel[1], 100.0);
        EXPECT_NEAR(ankle_angle_of(sgrp, heel, 0.0, shoe, legs), ankle, 1e-7);
    }
}

TEST_F(LegPostureTest, ShoeLocksGiveTheirCodes) {
    double sgrp[3] = {1000.0, 0.0, 600.0};
    const struct {
        const char* name;
        double ankle, upper, lower;
        double heel_l;
        int code;
    } cases[] = {
        {"ankle below 0", -0.1, 456, 459, 250, -1},   {"ankle above 180", 180.1, 456, 459, 250, -1},
        {"upper 249.9", 100, 249.9, 459, 250, -2},    {"lower 550.1", 100, 456, 550.1, 250, -2},
        {"SgRP out of reach", 100, 456, 459, -1500, -3},
    };
    for (const auto& c : cases) {
        double legs[2] = {c.upper, c.lower};
        double heel[3] = {c.heel_l, 0.0, 250.0};
        double shoe = 12.0;
        EXPECT_EQ(HM_VD_HPD_lock_pass_ankle_angle_by_shoe_angle_adjustment(sgrp, 0.0, c.ankle, legs, heel, &shoe),
                  c.code)
            << c.name;
        EXPECT_EQ(HM_VD_HPD_lock_pass_ankle_angle_by_keep_bof_location(sgrp, 0.0, c.ankle, legs, heel, &shoe), c.code)
            << c.name;
        EXPECT_EQ(shoe, 12.0) << c.name;
        EXPECT_EQ(heel[0], c.heel_l) << c.name;
    }
}

TEST_F(LegPostureInchTest, ShoeLockLegRangeIsConvertedToInches) {
    double sgrp[3] = {1000.0 / kInch, 0.0, 600.0 / kInch};
    double heel[3] = {250.0 / kInch, 0.0, 250.0 / kInch};
    double shoe = 12.0;
    double short_legs[2] = {249.9 / kInch, 459.0 / kInch};
    EXPECT_EQ(HM_VD_HPD_lock_pass_ankle_angle_by_shoe_angle_adjustment(sgrp, 0.0, 100.0, short_legs, heel, &shoe), -2);
    double legs[2] = {456.0 / kInch, 459.0 / kInch};
    ASSERT_EQ(HM_VD_HPD_lock_pass_ankle_angle_by_shoe_angle_adjustment(sgrp, 0.0, 100.0, legs, heel, &shoe), 0);
    EXPECT_NEAR(ankle_angle_of(sgrp, heel, 0.0, shoe, legs), 100.0, 1e-7);
}

TEST_F(LegPostureTest, HeelIsPlacedForASeatHeight) {
    // Build a leg with the heel at L = 0, then ask for the heel of its height.
    Posture p{30.0, 100.0, 15.0, 456.0, 459.0, 25.0};
    const double origin[2] = {0.0, 0.0};
    Leg leg = build(p, origin, 1.0);
    double sgrp[3] = {leg.sgrp[0] + 700.0, 50.0, leg.sgrp[1]};  // the SgRP moved 700 rearward
    double legs[2] = {456.0, 459.0}, angles[2] = {30.0, 100.0}, heel[2] = {-1, -1};
    ASSERT_EQ(hpd_ask_heel_x_for_height(sgrp, legs, angles, leg.sgrp[1], heel), 0);
    EXPECT_NEAR(heel[0], 700.0, 1e-9);
    EXPECT_NEAR(heel[1], 0.0, 1e-9);
    // A thigh shorter than the height between knee and SgRP: no heel.
    double short_legs[2] = {100.0, 459.0};
    heel[0] = heel[1] = -1;
    EXPECT_EQ(hpd_ask_heel_x_for_height(sgrp, short_legs, angles, leg.sgrp[1] + 300.0, heel), -1);
    EXPECT_EQ(heel[0], -1);
}

TEST_F(LegPostureTest, HeelByFootAngleMeetsTheDrop) {
    // The posture sets foot angle 30, ankle angle 100 and thigh 15 (hip angle
    // 25 + 90 - 15 = 100); the bisection finds the foot angle from the drop.
    Posture p{30.0, 100.0, 15.0, 456.0, 459.0, 25.0};
    const double origin[2] = {0.0, 0.0};
    Leg leg = build(p, origin, 1.0);
    double sgrp[3] = {leg.sgrp[0], 10.0, leg.sgrp[1]};
    double legs[2] = {456.0, 459.0};
    double drop = leg.sgrp[1];
    double out[3] = {0, 0, 0}, foot = -1.0;
    ASSERT_EQ(hpd_ask_heel_by_foot_angle(out, sgrp, 25.0, legs, 100.0, 100.0, drop, &foot), 0);
    EXPECT_NEAR(foot, 30.0, 1e-4);
    EXPECT_NEAR(out[0], 0.0, 1e-2);
    EXPECT_NEAR(out[1], 10.0 + 148.5, 1e-12);
    EXPECT_NEAR(out[2], 0.0, 1e-5);

    // The chord of the knee angle (ankle - thigh + foot - 6.5 = 108.5) gives
    // the same heel.
    double chord_out[3] = {0, 0, 0}, chord_foot = -1.0;
    ASSERT_EQ(hpd_ask_heel_by_foot_angle_cosine(chord_out, sgrp, 108.5, legs, 100.0, drop, &chord_foot), 0);
    EXPECT_NEAR(chord_foot, 30.0, 1e-4);
    EXPECT_NEAR(chord_out[0], 0.0, 1e-2);
    EXPECT_NEAR(chord_out[2], 0.0, 1e-5);

    // A drop that no foot angle on (0, 77) meets: -1.
    EXPECT_EQ(hpd_ask_heel_by_foot_angle(out, sgrp, 25.0, legs, 100.0, 100.0, drop + 2000.0, &foot), -1);
    EXPECT_EQ(hpd_ask_heel_by_foot_angle_cosine(out, sgrp, 108.5, legs, 100.0, drop + 2000.0, &foot), -1);
}

TEST_F(LegPostureTest, LegReachIsDecidedByTheSideViewDistanceIncludingHeight) {
    // Legs 456 + 459 = 915 mm. The heel lies beside the SgRP (W 150) and far
    // below it: its L offset alone (300) is well within reach, the side-view
    // distance from the ankle to the SgRP is not.
    const double up = 456.0, low = 459.0, shoe = 30.0;
    const SideOffset a = ankle_offset_mm(shoe);   // heel to ankle, side view
    double sgrp[3] = {1000.0, 0.0, 600.0};

    // SgRP (1000, 0, 600), heel (700, 150, -450): ankle (683.35, -316.84),
    // 970.0 mm from the SgRP.
    double low_heel[3] = {700.0, 150.0, -450.0};
    const double reach = std::hypot(sgrp[0] - (low_heel[0] + a.l), sgrp[2] - (low_heel[2] + a.h));
    ASSERT_NEAR(reach, 970.0, 0.5);
    EXPECT_EQ(HM_VD_HPD_is_valid_shoe_position(0, low_heel, sgrp, up, low, shoe, 0.0), 23);
    EXPECT_FALSE(HM_VD_HPD_check_hpd_length(low_heel, sgrp, 0.0, std::array<double, 2>{up, low}.data(), shoe, false));

    // The SgRP placed steeply above the ankle (70 degrees above -L seen from
    // the SgRP) just inside and just outside the legs' reach.
    const struct {
        const char* name;
        double distance;
        int code;
    } cases[] = {
        {"0.01 mm inside the reach", 915.0 - 0.01, 0},
        {"0.01 mm beyond the reach", 915.0 + 0.01, 23},
        {"far below, 100 mm beyond", 1015.0, 23},
    };
    const double theta = 70.0 * kDeg;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        double heel[3] = {700.0, 150.0, 0.0};
        double seat[3] = {heel[0] + a.l + c.distance * std::cos(theta), 0.0,
                          heel[2] + a.h + c.distance * std::sin(theta)};
        EXPECT_EQ(HM_VD_HPD_is_valid_shoe_position(0, heel, seat, up, low, shoe, 0.0), c.code);
        EXPECT_EQ(HM_VD_HPD_is_valid_shoe_position(1, heel, seat, up, low, shoe, 0.0), c.code == 0 ? 27 : 23)
            << "the left leg is checked for reach first, then for its side";
    }
}
