// Reverse engineering of a seating layout: postures built forward link by
// link (and measured with the leg-posture operations) are reverse-engineered
// from every lock option and deviate variable, and from the seat curves of
// both vehicle classes, in millimetre and inch parts; impossible locks and bad
// input give failure codes without writing made-up values.
#include "hpd_reverse.h"
#include "hpd.h"

#include "host_fixture.h"
#include "occupant_fixtures.h"

#include <cmath>
#include <limits>
#include <string>
#include <vector>

using namespace carvell::occupant;

namespace {

using namespace occupant_test;

constexpr double kUnset = -12345.0;

// A seated leg in the side view, everything in part units except angles.
struct Posture {
    double sgrp[3];
    double legs[2];  // upper, lower
    double back;
    double heel[2];  // L, H
    double a46, a47, h30, l53, a42, a57, a44;
};

// Angles and leg room of the posture measured by the leg-posture operation.
void measure(Posture& p) {
    double s[2] = {p.sgrp[0], p.sgrp[2]}, result[5];
    ASSERT_EQ(HM_VD_HPD_ask_leg_angles_legroom(s, p.sgrp[0] - p.heel[0], p.sgrp[2] - p.heel[1], p.a47, p.legs,
                                               p.back, false, result),
              0);
    p.a46 = result[0];
    p.a57 = result[1];
    p.a44 = result[2];
    p.a42 = result[3];
    p.h30 = p.sgrp[2] - p.heel[1];
    p.l53 = p.sgrp[0] - p.heel[0];
}

// Builds the leg from the SgRP down: the thigh at `thigh` degrees above -L,
// the lower leg leaving the knee back towards the ankle at 180 - A46 - A47 +
// 6.5 degrees, the heel at (81, -107) mm from the ankle turned by -A47. The
// pedal angle follows the seat height as for a standard driver (77 - 0.08 per
// mm), so that every lock option describes the same posture.
Posture build_leg(double thigh, double ankle_angle, double upper_mm, double lower_mm, double scale) {
    Posture p{};
    p.sgrp[0] = 2500.0 / scale, p.sgrp[1] = 370.0 / scale, p.sgrp[2] = 650.0 / scale;
    p.legs[0] = upper_mm / scale, p.legs[1] = lower_mm / scale;
    p.back = 24.0;
    double knee[2] = {p.sgrp[0] - p.legs[0] * std::cos(thigh * kDeg), p.sgrp[2] + p.legs[0] * std::sin(thigh * kDeg)};
    double a47 = 50.0;
    for (int i = 0; i < 200; ++i) {
        double phi = (180.0 - ankle_angle - a47 + 6.5) * kDeg;
        double ankle[2] = {knee[0] - p.legs[1] * std::cos(phi), knee[1] - p.legs[1] * std::sin(phi)};
        const SideOffset offset = ankle_offset_mm(a47);
        p.heel[0] = ankle[0] - offset.l / scale;
        p.heel[1] = ankle[1] - offset.h / scale;
        a47 = 77.0 - 0.08 * (p.sgrp[2] - p.heel[1]) * scale;
    }
    p.a47 = 77.0 - 0.08 * (p.sgrp[2] - p.heel[1]) * scale;
    measure(p);
    EXPECT_NEAR(p.a46, ankle_angle, 1e-6);
    EXPECT_NEAR(p.a57, thigh, 1e-6);
    return p;
}

// The heel on the seat curve of the class for a seat height and pedal angle.
Posture build_on_curve(int vehicle_class, int ratio, double h30_mm, double a47, double scale) {
    Posture p{};
    p.sgrp[0] = 2500.0 / scale, p.sgrp[1] = -370.0 / scale, p.sgrp[2] = 650.0 / scale;
    p.legs[0] = 456.0 / scale, p.legs[1] = 459.0 / scale;
    p.back = 22.0;
    p.a47 = a47;
    double heel_l_mm = vehicle_class == 0 ? -sgrp_class_a_mm(h30_mm) + 200.0 * std::cos(a47 * kDeg)
                                          : -sgrp_class_b_mm(h30_mm, ratio);
    p.heel[0] = p.sgrp[0] + heel_l_mm / scale;
    p.heel[1] = p.sgrp[2] - h30_mm / scale;
    measure(p);
    return p;
}

// The AHP the reverse engineering should give: the side-view heel, 148.5 mm
// beside the SgRP, turned about the SgRP's vertical by the plan-view angle.
void expected_heel(const Posture& p, double pv, double scale, double out[3]) {
    const double side_heel[3] = {p.heel[0], p.sgrp[1] + 148.5 / scale, p.heel[1]};
    turned_about_vertical(side_heel, p.sgrp, pv, out);
}

void locked_values(const Posture& p, int option, double locked[2]) {
    switch (option) {
        case 0: locked[0] = p.a46, locked[1] = p.h30; break;
        case 1: locked[0] = p.a47, locked[1] = p.h30; break;
        case 3: locked[0] = p.h30, locked[1] = kUnset; break;
        default: locked[0] = p.a46, locked[1] = p.a47; break;
    }
}

double deviate_value(const Posture& p, int option, int type) {
    switch (type) {
        case 0: return option == 0 ? p.a47 : option == 2 ? p.h30 : p.a46;
        case 1: return p.l53;
        case 2: return p.a42;
        case 3: return p.a57;
        default: return p.a44;
    }
}

struct Outcome {
    int rc;
    double heel[3], a47, h30;
};

Outcome reverse(const Posture& posture, int option, double pv, int use_variable, int type, double value,
                int vehicle_class = 0, int ratio = 0) {
    Posture p = posture;
    Outcome o{};
    double locked[2];
    locked_values(p, option, locked);
    o.heel[0] = o.heel[1] = o.heel[2] = kUnset;
    o.a47 = o.h30 = kUnset;
    o.rc = HM_VD_HPD_reverse_engineering(option, p.sgrp, pv, p.legs, locked, o.heel, use_variable, type, value,
                                         &o.a47, p.back, vehicle_class, &o.h30, ratio);
    return o;
}

void expect_posture(const Outcome& o, const Posture& p, double pv, double scale) {
    ASSERT_EQ(o.rc, 0);
    double want[3];
    expected_heel(p, pv, scale, want);
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(o.heel[i], want[i], 1e-3 / scale) << "heel " << i;
    EXPECT_NEAR(o.a47, p.a47, 1e-4);
    EXPECT_NEAR(o.h30, p.h30, 1e-3 / scale);
}

const char* kTypeNames[] = {"free value", "L53", "A42", "A57", "A44"};

void check_every_lock_and_variable(const Posture& p, double pv, double scale) {
    for (int option : {0, 1, 2, 3}) {
        for (int type = 0; type <= 4; ++type) {
            SCOPED_TRACE(std::string("option ") + std::to_string(option) + ", " + kTypeNames[type]);
            Outcome o = reverse(p, option, pv, 1, type, deviate_value(p, option, type));
            expect_posture(o, p, pv, scale);
        }
    }
}

}  // namespace

// Reverse engineering of a seating layout and its foot positions.
class ReverseTest : public HostTest {};
class ReverseInchTest : public InchHostTest {};

TEST_F(ReverseTest, EveryLockAndDeviateVariableGivesBackTheBuiltPosture) {
    // Standard legs, and unequal legs that tell the thigh from the lower leg.
    Posture standard = build_leg(14.0, 98.0, 456.0, 459.0, 1.0);
    Posture unequal = build_leg(18.0, 95.0, 410.0, 495.0, 1.0);
    {
        SCOPED_TRACE("standard legs");
        check_every_lock_and_variable(standard, 0.0, 1.0);
    }
    {
        SCOPED_TRACE("unequal legs, turned in plan");
        check_every_lock_and_variable(unequal, 12.0, 1.0);
    }
    ExpectNoLeaks();
}

TEST_F(ReverseInchTest, EveryLockAndDeviateVariableGivesBackTheBuiltPostureInInches) {
    Posture p = build_leg(16.0, 100.0, 430.0, 470.0, kInch);
    check_every_lock_and_variable(p, -15.0, kInch);
    ExpectNoLeaks();
}

TEST_F(ReverseTest, HipAndThighAnglesOfOnePostureGiveTheSameHeel) {
    Posture p = build_leg(12.0, 100.0, 456.0, 459.0, 1.0);
    for (int option : {0, 1, 2, 3}) {
        SCOPED_TRACE(option);
        Outcome by_hip = reverse(p, option, 5.0, 1, 2, 90.0 - p.a57 + p.back);
        Outcome by_thigh = reverse(p, option, 5.0, 1, 3, p.a57);
        ASSERT_EQ(by_hip.rc, 0);
        ASSERT_EQ(by_thigh.rc, 0);
        for (int i = 0; i < 3; ++i) EXPECT_NEAR(by_hip.heel[i], by_thigh.heel[i], 1e-9);
    }
}

TEST_F(ReverseTest, HeightLockSetsThePedalAngleFromTheSeatHeight) {
    // 300 mm of seat height: 77 - 0.08 * 300 = 53 degrees; the heel lies L53
    // in front of and H30 below the SgRP without any solver.
    double sgrp[3] = {2000.0, 0.0, 600.0}, legs[2] = {456.0, 459.0}, locked[2] = {300.0, kUnset};
    double heel[3], a47 = kUnset, h30 = kUnset;
    ASSERT_EQ(HM_VD_HPD_reverse_engineering(3, sgrp, 0.0, legs, locked, heel, 1, 1, 800.0, &a47, 24.0, 0, &h30, 0),
              0);
    EXPECT_NEAR(a47, 53.0, 1e-12);
    EXPECT_NEAR(h30, 300.0, 1e-12);
    EXPECT_NEAR(heel[0], 1200.0, 1e-9);
    EXPECT_NEAR(heel[1], 148.5, 1e-9);
    EXPECT_NEAR(heel[2], 300.0, 1e-9);
}

TEST_F(ReverseInchTest, HeightLockConvertsThePedalAngleCoefficient) {
    double sgrp[3] = {80.0, 0.0, 25.0}, legs[2] = {456.0 / kInch, 459.0 / kInch}, locked[2] = {300.0 / kInch, 0.0};
    double heel[3], a47 = kUnset, h30 = kUnset;
    ASSERT_EQ(HM_VD_HPD_reverse_engineering(3, sgrp, 0.0, legs, locked, heel, 1, 1, 30.0, &a47, 24.0, 0, &h30, 0),
              0);
    EXPECT_NEAR(a47, 53.0, 1e-9);
    EXPECT_NEAR(heel[1], 148.5 / kInch, 1e-9);
}

TEST_F(ReverseTest, OtherOptionValuesLockAnkleAndPedalAngles) {
    Posture p = build_leg(14.0, 98.0, 456.0, 459.0, 1.0);
    for (int option : {4, 7, -1}) {
        SCOPED_TRACE(option);
        Outcome o = reverse(p, option, 0.0, 1, 1, p.l53);
        expect_posture(o, p, 0.0, 1.0);
    }
}

namespace {

struct CurveCase {
    const char* name;
    int vehicle_class, ratio;
    double h30_mm;
};

// Standard-driver pedal angles keep the height-only lock on the same posture.
const CurveCase kCurveCases[] = {
    {"class A, low seat", 0, 0, 180.0},
    {"class A, high seat", 0, 0, 320.0},
    {"class B, 50:50", 1, 0, 430.0},
    {"class B, 90:10", 1, 2, 500.0},
};

void check_seat_curve_locks(double scale) {
    for (const CurveCase& c : kCurveCases) {
        SCOPED_TRACE(c.name);
        Posture p = build_on_curve(c.vehicle_class, c.ratio, c.h30_mm, 77.0 - 0.08 * c.h30_mm, scale);
        for (int option : {0, 1, 2, 3}) {
            SCOPED_TRACE(option);
            Outcome o = reverse(p, option, 20.0, 0, 0, 0.0, c.vehicle_class, c.ratio);
            expect_posture(o, p, 20.0, scale);
        }
        double legs[2] = {p.legs[0], p.legs[1]}, bof = kUnset, a46 = kUnset;
        ASSERT_EQ(HM_VD_HPD_define_foot_position_by_locking_pedal_angle(p.sgrp, legs, p.h30, p.a47, &bof, &a46,
                                                                       c.vehicle_class, c.ratio),
                  0);
        EXPECT_NEAR(a46, p.a46, 1e-9);
        EXPECT_NEAR(bof, p.heel[0] - 200.0 / scale * std::cos(p.a47 * kDeg), 1e-9);
    }
}

}  // namespace

TEST_F(ReverseTest, SeatCurveLocksGiveBackThePostureOnTheCurve) {
    check_seat_curve_locks(1.0);
    ExpectNoLeaks();
}

TEST_F(ReverseInchTest, SeatCurveLocksGiveBackThePostureOnTheCurveInInches) {
    check_seat_curve_locks(kInch);
    ExpectNoLeaks();
}

TEST_F(ReverseTest, ImpossibleLocksFailWithoutMadeUpValues) {
    Posture p = build_leg(14.0, 98.0, 456.0, 459.0, 1.0);
    struct Case {
        const char* name;
        int option, type;
        double value;
    };
    const Case cases[] = {
        // the thigh raises the knee further above the ankle than the lower leg reaches
        {"A57 with A47 and H30", 1, 3, 80.0},
        {"A42 with H30 only", 3, 2, 90.0 - 80.0 + p.back},
        // a folded knee leaves a hip-to-ankle chord shorter than the seat height
        {"A44 with A47 and H30", 1, 4, 10.0},
        // equal legs folded flat: no triangle at the knee
        {"A44 folded flat with A46 and A47", 2, 4, 0.0},
        // the thigh cannot reach down from the SgRP to the knee
        {"free A46 with A47 and H30", 1, 0, 250.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Posture q = p;
        if (c.option == 2 && c.type == 4) q.legs[1] = q.legs[0];
        Outcome o = reverse(q, c.option, 0.0, 1, c.type, c.value);
        EXPECT_EQ(o.rc, -1);
        for (double v : o.heel) EXPECT_EQ(v, kUnset);
        EXPECT_TRUE(std::isfinite(o.a47));
        EXPECT_TRUE(std::isfinite(o.h30));
    }
}

TEST_F(ReverseTest, BothAnglesLockedOffTheSeatCurveGiveTheChainCode) {
    struct Case {
        const char* name;
        int vehicle_class;
        double a46, a47;
        int rc;
    };
    const Case cases[] = {
        {"class A, knee bent backwards", 0, 140.0, 70.0, 32},
        {"class B, knee bent backwards", 1, 180.0, 10.0, 32},
        {"class A, thigh misses the curve", 0, 20.0, 10.0, -1},
        {"class B, thigh misses the line", 1, 20.0, 10.0, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        double sgrp[3] = {2500.0, 0.0, 650.0}, legs[2] = {456.0, 459.0}, locked[2] = {c.a46, c.a47};
        double heel[3] = {kUnset, kUnset, kUnset}, a47 = kUnset, h30 = kUnset;
        EXPECT_EQ(HM_VD_HPD_reverse_engineering(2, sgrp, 0.0, legs, locked, heel, 0, 0, 0.0, &a47, 24.0,
                                                c.vehicle_class, &h30, 0),
                  c.rc);
        EXPECT_EQ(a47, c.a47);   // locked
        EXPECT_EQ(h30, kUnset);  // never found
        for (double v : heel) EXPECT_EQ(v, kUnset);
    }
    ExpectNoLeaks();
}

TEST_F(ReverseTest, BisectionsThatCannotMeetTheTargetStopWithTheLastIterate) {
    Posture p = build_leg(14.0, 98.0, 456.0, 459.0, 1.0);
    {
        SCOPED_TRACE("pedal angle for an ankle angle no pedal angle gives");
        Posture q = p;
        q.a46 = 170.0;
        Outcome o = reverse(q, 0, 0.0, 1, 1, q.l53);
        EXPECT_EQ(o.rc, -1);
        EXPECT_GE(o.a47, 0.0);
        EXPECT_LE(o.a47, 77.0);
        EXPECT_NEAR(o.heel[0], p.heel[0], 1e-9);  // the heel is still built
        EXPECT_NEAR(o.heel[2], p.heel[1], 1e-9);
    }
    {
        SCOPED_TRACE("seat height for an ankle angle outside the class range");
        Posture q = p;
        q.a46 = 170.0;
        Outcome o = reverse(q, 2, 0.0, 1, 1, q.l53);
        EXPECT_EQ(o.rc, -1);
        EXPECT_GE(o.h30, 127.0);
        EXPECT_LE(o.h30, 405.0);
        EXPECT_NEAR(o.heel[2], p.sgrp[2] - o.h30, 1e-9);
    }
    {
        SCOPED_TRACE("a heel out of the legs' reach");
        double pedal = kUnset, h30 = kUnset;
        EXPECT_EQ(hpd_ask_pedal_angle_by_ankle_angle(p.sgrp, p.legs, p.back, 1500.0, p.h30, p.a46, &pedal),
                  -1);
        EXPECT_EQ(hpd_ask_seat_height_by_ankle_angle(p.sgrp, p.legs, p.back, 1500.0, p.a47, p.a46, 0, &h30),
                  -1);
    }
}

TEST_F(ReverseTest, SeatCurveTargetOutOfReachEndsNewtonWithMinusOne) {
    // A seat height far beyond the legs: the thigh can reach the SgRP from no pedal angle.
    double sgrp[3] = {2500.0, 0.0, 650.0}, legs[2] = {456.0, 459.0}, bof = kUnset, a47 = kUnset;
    EXPECT_EQ(HM_VD_HPD_define_foot_position_by_locking_ankle_angle(sgrp, legs, 1400.0, 95.0, &bof, &a47, 0, 0), -1);
    EXPECT_NEAR(bof, 2500.0 - sgrp_class_a_mm(1400.0), 1e-9);
    EXPECT_TRUE(std::isfinite(a47));
}

TEST_F(ReverseTest, MissingOrNonFiniteInputIsRejected) {
    Posture p = build_leg(14.0, 98.0, 456.0, 459.0, 1.0);
    double locked[2] = {p.a46, p.h30}, heel[3] = {kUnset, kUnset, kUnset}, a47 = kUnset, h30 = kUnset;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(HM_VD_HPD_reverse_engineering(0, nullptr, 0.0, p.legs, locked, heel, 0, 0, 0.0, &a47, 24.0, 0, &h30, 0),
              -1);
    EXPECT_EQ(HM_VD_HPD_reverse_engineering(0, p.sgrp, 0.0, p.legs, locked, nullptr, 0, 0, 0.0, &a47, 24.0, 0, &h30,
                                            0),
              -1);
    EXPECT_EQ(HM_VD_HPD_reverse_engineering(0, p.sgrp, 0.0, p.legs, locked, heel, 0, 0, 0.0, nullptr, 24.0, 0, &h30,
                                            0),
              -1);
    double zero_legs[2] = {0.0, 459.0};
    EXPECT_EQ(HM_VD_HPD_reverse_engineering(0, p.sgrp, 0.0, zero_legs, locked, heel, 0, 0, 0.0, &a47, 24.0, 0, &h30,
                                            0),
              -1);
    double nan_locked[2] = {nan, p.h30};
    EXPECT_EQ(HM_VD_HPD_reverse_engineering(0, p.sgrp, 0.0, p.legs, nan_locked, heel, 0, 0, 0.0, &a47, 24.0, 0, &h30,
                                            0),
              -1);
    EXPECT_EQ(HM_VD_HPD_reverse_engineering(0, p.sgrp, 0.0, p.legs, locked, heel, 1, 1, nan, &a47, 24.0, 0, &h30, 0),
              -1);
    for (double v : heel) EXPECT_EQ(v, kUnset);
    EXPECT_EQ(a47, kUnset);
    EXPECT_EQ(h30, kUnset);
}

TEST_F(ReverseTest, SeatCurveNewtonIsTracedUnderTheDebugKey) {
    Posture p = build_on_curve(0, 0, 250.0, 57.0, 1.0);
    double bof = 0.0, a47 = 0.0;
    host_testing::set_checking_level(1);
    ASSERT_EQ(HM_VD_HPD_define_foot_position_by_locking_ankle_angle(p.sgrp, p.legs, p.h30, p.a46, &bof, &a47, 0, 0),
              0);
    EXPECT_TRUE(host_testing::error_lines().empty());
    host_testing::set_debug_key("VD_HPD", true);
    ASSERT_EQ(HM_VD_HPD_define_foot_position_by_locking_ankle_angle(p.sgrp, p.legs, p.h30, p.a46, &bof, &a47, 0, 0),
              0);
    const std::vector<std::string>& lines = host_testing::error_lines();
    ASSERT_GE(lines.size(), 6u);
    auto starts = [](const std::string& line, const char* head) { return line.rfind(head, 0) == 0; };
    EXPECT_EQ(lines.front(), "\n+++ HM_VD_HPD_define_foot_position_by_locking_ankle_angle:");
    EXPECT_TRUE(starts(lines[1], "\n+++ First Step: leg_length[0] = 456.000000,b_angle= "));
    EXPECT_TRUE(starts(lines[2], "\n+++ Initial Values of newton method: root =0.000000, formula ="));
    EXPECT_TRUE(starts(lines[3], "\n+++ times = 1, root = "));
    EXPECT_TRUE(starts(lines[lines.size() - 2], "\n+++ result pedal angles = 57.0000"));
    EXPECT_EQ(lines.back(), "\n+++ end of HM_VD_HPD_define_foot_position_by_locking_ankle_angle:");
}
