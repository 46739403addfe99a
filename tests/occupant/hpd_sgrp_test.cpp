// Seating reference point: the class formulas against values worked out by
// hand from the tool's constants (millimetre and inch parts), the class A
// parabola and class B line on their stated loci, arcs about the knee meeting
// them, the valid seat heights, the joined accelerator curve and the initial
// pedal reference point.
#include "hpd_leg_chain.h"
#include "hpd_sgrp.h"
#include "hpd.h"

#include "host_fixture.h"
#include "occupant_fixtures.h"
#include "omvra.h"
#include "test_helpers.h"

#include <cmath>
#include <vector>

using namespace carvell::occupant;

namespace {

using namespace occupant_test;

// A vehicle frame turned a quarter turn about Z, away from the origin.
const double kFrameOrigin[3] = {500.0, 100.0, 50.0};
const double kFrameMatrix[9] = {0, 1, 0, -1, 0, 0, 0, 0, 1};
// Frame coordinates to absolute: origin + M^T p.
void frame_to_abs(const double p[3], double out[3]) {
    for (int i = 0; i < 3; ++i)
        out[i] = kFrameOrigin[i] + kFrameMatrix[i] * p[0] + kFrameMatrix[3 + i] * p[1] + kFrameMatrix[6 + i] * p[2];
}

// Standard driver legs, class A and B: the formulas with unit = mm per part unit.
void check_standard_driver(double unit) {
    const double sgrp[3] = {2000 / unit, 370 / unit, 600 / unit};
    const double legs[2] = {456 / unit, 459 / unit};
    double ahp[3], pedal = 0;

    // Class A, H30 300 mm: pedal 77 - 24 = 53; AHP L = 2000 - X_A(300) + 200 cos 53.
    ASSERT_EQ(HM_VD_HPD_ask_right_shoe_target(0, const_cast<double*>(sgrp), 0.0, const_cast<double*>(legs),
                                              300 / unit, 0.0, ahp, &pedal, 0, 2),
              0);
    EXPECT_NEAR(pedal, 53.0, 1e-12);
    expect_point(ahp, 1180.9452046304095 / unit, 518.5 / unit, 300 / unit, 1e-9, "class A");

    // Class B, ratio 75:25, H30 450 mm: pedal 41; AHP L = 2000 - (928.86 - 0.519 * 450).
    ASSERT_EQ(HM_VD_HPD_ask_right_shoe_target(0, const_cast<double*>(sgrp), 0.0, const_cast<double*>(legs),
                                              450 / unit, 0.0, ahp, &pedal, 1, 1),
              0);
    EXPECT_NEAR(pedal, 41.0, 1e-12);
    expect_point(ahp, (2000 - 695.31) / unit, 518.5 / unit, 150 / unit, 1e-9, "class B");
}

}  // namespace

// SgRP formulas, targets, seat heights, seat curves and the initial PRP.
class SgrpTest : public HostTest {};
class SgrpInchTest : public InchHostTest {};

/* ---- formulas ---- */

TEST_F(SgrpTest, ClassBFormulaFollowsTheMaleFemaleRatio) {
    struct Case {
        int ratio;
        double h;
        double expected;
    } cases[] = {
        {0, 405, 900.23 - 0.471 * 405},   // 50:50
        {1, 450, 928.86 - 0.519 * 450},   // 75:25
        {2, 500, 922.49 - 0.494 * 500},   // 90:10 or 95:5
        {7, 500, 922.49 - 0.494 * 500},
    };
    for (const Case& c : cases) EXPECT_NEAR(VD_HPDWIZ_SGRPX_B(c.h, c.ratio), c.expected, 1e-10) << c.ratio;
}

TEST_F(SgrpInchTest, ClassBFormulaIsConvertedToInches) {
    EXPECT_NEAR(VD_HPDWIZ_SGRPX_B(405 / kInch, 0), 709.475 / kInch, 1e-10);
    EXPECT_NEAR(VD_HPDWIZ_SGRPX_B(500 / kInch, 1), (928.86 - 0.519 * 500) / kInch, 1e-10);
}

TEST_F(SgrpTest, ClassAFormulaPlacesTheSgrpFromTheAhp) {
    // With the pedal upright the ball of foot is over the AHP: the SgRP lies X_A(h) behind it.
    double ahp[3] = {100, 200, 50}, sgrp[3];
    HM_VD_HPD_ask_sgrp_on_curve(ahp, 90.0, 0.0, 0.0, sgrp, 148.5, 0, 0);
    expect_point(sgrp, 100 + 913.7, 200, 50, 1e-9, "X_A(0)");
    HM_VD_HPD_ask_sgrp_on_curve(ahp, 90.0, 300.0, 0.0, sgrp, 0.0, 0, 0);
    expect_point(sgrp, 100 + 939.4178, 200 - 148.5, 350, 1e-9, "X_A(300)");
    HM_VD_HPD_ask_sgrp_on_curve(ahp, 60.0, 450.0, 0.0, sgrp, 148.5, 1, 1);
    expect_point(sgrp, 100 + 695.31, 200, 500, 1e-9, "class B");
}

TEST_F(SgrpTest, StandardDriverTargetIsMetInMillimetres) { check_standard_driver(1.0); }
TEST_F(SgrpInchTest, StandardDriverTargetIsMetInInches) { check_standard_driver(kInch); }

TEST_F(SgrpTest, OtherLegsTakeTheLegChainTarget) {
    double sgrp[3] = {2000, 370, 600}, ahp[3], pedal = 0;
    double legs[2] = {430, 440};
    struct Case {
        int position;
        double thigh;
        double pedal;
        double ahp_l;
    } cases[] = {
        // Passenger: foot angle |92.5 - 130 + 90 - 90 + 20| = 17.5, ankle arm behind the heel.
        {1, 20, 17.5, 2000 - 509.4810145987607},
        // Driver: 45.5 degrees, arm in front.
        {0, 10, 45.5, 2000 - 725.8376307918579},
        // Driver: 85.5 degrees is reported as 77, and the reach uses 77.
        {0, 50, 77.0, 1204.2499502930132},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(HM_VD_HPD_ask_right_shoe_target(c.position, sgrp, c.thigh, legs, 300, 0.0, ahp, &pedal, 0, 0), 0);
        EXPECT_NEAR(pedal, c.pedal, 1e-12);
        expect_point(ahp, c.ahp_l, 370 + 127, 300, 1e-9, "leg chain");
    }
    // A leg 1e-7 mm off the standard length still takes the standard formulas.
    double nearly[2] = {456.0000001, 459};
    ASSERT_EQ(HM_VD_HPD_ask_right_shoe_target(0, sgrp, 10, nearly, 300, 0.0, ahp, &pedal, 0, 0), 0);
    EXPECT_NEAR(pedal, 53.0, 1e-12);
    EXPECT_NEAR(ahp[0], 1180.9452046304095, 1e-9);

    EXPECT_EQ(HM_VD_HPD_ask_right_shoe_target(0, nullptr, 10, legs, 300, 0.0, ahp, &pedal, 0, 0), -1);
    EXPECT_EQ(HM_VD_HPD_ask_right_shoe_target(0, sgrp, 10, legs, 300, 0.0, ahp, nullptr, 0, 0), -1);
}

TEST_F(SgrpTest, TargetAndSeatCurveAreInverse) {
    // The AHP is turned about the SgRP, the SgRP back about the AHP: any plan-view angle returns the start.
    double sgrp[3] = {2100, -370, 640}, legs[2] = {456, 459}, ahp[3], back[3], pedal = 0;
    for (int vehicle_class : {0, 1}) {
        for (double pv : {0.0, 12.0, -35.0}) {
            ASSERT_EQ(HM_VD_HPD_ask_right_shoe_target(0, sgrp, 0, legs, 320, pv, ahp, &pedal, vehicle_class, 2), 0);
            HM_VD_HPD_ask_sgrp_on_curve(ahp, pedal, 320, pv, back, 0.0, vehicle_class, 2);
            expect_point(back, sgrp[0], sgrp[1], sgrp[2], 1e-9, "round trip");
        }
    }
    // The turn itself: a quarter turn carries the AHP offset (dL, dW) to (-dW, dL).
    ASSERT_EQ(HM_VD_HPD_ask_right_shoe_target(0, sgrp, 0, legs, 320, 90.0, ahp, &pedal, 1, 0), 0);
    const double dl = -(900.23 - 0.471 * 320), dw = 148.5;
    expect_point(ahp, sgrp[0] - dw, sgrp[1] + dl, sgrp[2] - 320, 1e-9, "quarter turn");
}

/* ---- valid seat heights ---- */

TEST_F(SgrpTest, ValidSeatHeightsFollowTheClassAndTheLegs) {
    double high = -1, low = -1;
    // Standard driver: the class ranges.
    ASSERT_EQ(HM_VD_HPD_ask_valid_h30_for_target_posture(0, 456, 459, 10, &high, &low, 0), 0);
    EXPECT_DOUBLE_EQ(high, 405);
    EXPECT_DOUBLE_EQ(low, 127);
    ASSERT_EQ(HM_VD_HPD_ask_valid_h30_for_target_posture(0, 456, 459, 10, &high, &low, 1), 0);
    EXPECT_DOUBLE_EQ(high, 530);
    EXPECT_DOUBLE_EQ(low, 405);

    struct Case {
        int position;
        double upper, lower, thigh;
        double high, low;
    } cases[] = {
        // Passenger: the lowest seat is where the thigh from the low knee meets the reach.
        {1, 430, 440, 20, 796.7533107484142, 29.5465865433589},
        // Driver with other legs: the lowest seat falls below the heel and becomes 0.
        {0, 430, 440, 10, 640.7563212342154, 0.0},
        // 1e-7 mm off the standard length is no longer standard here.
        {0, 456.0000001, 459, 10, 665.2394979307398, 0.0},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(HM_VD_HPD_ask_valid_h30_for_target_posture(c.position, c.upper, c.lower, c.thigh, &high, &low, 0),
                  0);
        EXPECT_NEAR(high, c.high, 1e-6);
        EXPECT_NEAR(low, c.low, 1e-6);
    }
    EXPECT_EQ(HM_VD_HPD_ask_valid_h30_for_target_posture(0, 430, 440, 10, nullptr, &low, 0), -1);
}

TEST_F(SgrpInchTest, ValidSeatHeightsAreConvertedToInches) {
    double high = -1, low = -1;
    ASSERT_EQ(HM_VD_HPD_ask_valid_h30_for_target_posture(0, 456 / kInch, 459 / kInch, 0, &high, &low, 0), 0);
    EXPECT_NEAR(high, 405 / kInch, 1e-12);
    EXPECT_NEAR(low, 127 / kInch, 1e-12);
    ASSERT_EQ(HM_VD_HPD_ask_valid_h30_for_target_posture(1, 430 / kInch, 440 / kInch, 20, &high, &low, 0), 0);
    EXPECT_NEAR(high, 796.7533107484142 / kInch, 1e-7);
    EXPECT_NEAR(low, 29.5465865433589 / kInch, 1e-7);
}

TEST_F(SgrpTest, SeatHeightRangeFailuresAreReported) {
    double high = -1, low = -1;
    // The straightened leg falls short of the reach: the widest range, and -1.
    EXPECT_EQ(hpd_ask_valid_h30_range(0, 430, 440, 20, 2000, &high, &low), -1);
    EXPECT_DOUBLE_EQ(high, 107 + 430 + 440);
    EXPECT_DOUBLE_EQ(low, 0);

    // The SgRP lies farther in front of the ankle than any leg angle spans:
    // -1, nothing written (no NaN range passed off as valid).
    high = low = -1;
    EXPECT_EQ(hpd_ask_valid_h30_range(0, 430, 440, 20, -2000, &high, &low), -1);
    EXPECT_EQ(high, -1);
    EXPECT_EQ(low, -1);

    // Just within the full leg in front of the ankle, but the thigh from the
    // driver's low knee cannot span it: -1 as well. Ankle L at foot angle 20:
    // -81 cos 20 + 107 sin 20.
    const double ankle_l = ankle_offset_mm(20).l;
    EXPECT_EQ(hpd_ask_valid_h30_range(0, 430, 440, 20, ankle_l - 870 + 1.0, &high, &low), -1);
    EXPECT_EQ(high, -1);
    EXPECT_EQ(low, -1);

    // Bad leg lengths.
    EXPECT_EQ(hpd_ask_valid_h30_range(0, 0, 440, 20, 500, &high, &low), -1);
}

/* ---- class A parabola and class B line ---- */

namespace {

// Points of the class A locus for the unit (mm per part unit): (dx + X_A(h), w, dz + h).
void check_parabola_locus(tag_t curve, double dx, double w, double dz, double unit) {
    for (double h : {127.0, 171.9214442796502, 250.0, 333.3, 405.0}) {
        const Point3 p = {dx + sgrp_class_a_mm(h) / unit, w, dz + h / unit};
        EXPECT_LT(support::distance_to_curve(curve, p), 1e-7) << "h = " << h;
    }
    // Its ends are the heights 127 and 405 mm, and the vertex lies 971.49 mm ahead at 171.92 mm.
    const Point3 start = support::curve_point(curve, 0.0), end = support::curve_point(curve, 1.0);
    expect_point(start.data(), dx + sgrp_class_a_mm(127) / unit, w, dz + 127 / unit, 1e-7, "start");
    expect_point(end.data(), dx + sgrp_class_a_mm(405) / unit, w, dz + 405 / unit, 1e-7, "end");
    EXPECT_NEAR(sgrp_class_a_mm(171.9214442796502), 971.4927688661587, 1e-9);
}

void check_parabola_in_part(double unit) {
    double origin[3] = {0, 0, 0}, matrix[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1}, centre[3] = {0, 0, 0};
    tag_t curve = NULL_TAG;
    VD_HPD_update_sgrp_curve_A(100 / unit, 370 / unit, 50 / unit, 0.0, &curve, origin, matrix, centre);
    ASSERT_NE(curve, NULL_TAG);
    int type = 0, subtype = 0;
    HM_OBJ_ask_type_and_subtype(curve, &type, &subtype);
    EXPECT_EQ(type, HM_conic_type);
    check_parabola_locus(curve, 100 / unit, 370 / unit, 50 / unit, unit);

    // Edited in place: same identifier, new locus.
    const tag_t first = curve;
    const int conics = host_testing::count_objects(0, HM_conic_type);
    VD_HPD_update_sgrp_curve_A(-40 / unit, 0.0, 220 / unit, 0.0, &curve, origin, matrix, centre);
    EXPECT_EQ(curve, first);
    EXPECT_EQ(host_testing::count_objects(0, HM_conic_type), conics);
    check_parabola_locus(curve, -40 / unit, 0.0, 220 / unit, unit);
}

}  // namespace

TEST_F(SgrpTest, ClassAParabolaFollowsItsLocus) { check_parabola_in_part(1.0); }
TEST_F(SgrpInchTest, ClassAParabolaFollowsItsLocusInInches) { check_parabola_in_part(kInch); }

TEST_F(SgrpTest, ClassAParabolaIsTurnedAndMapped) {
    // The locus is turned about the vertical through pv_centre, then mapped
    // from the vehicle frame.
    double origin[3] = {kFrameOrigin[0], kFrameOrigin[1], kFrameOrigin[2]};
    double matrix[9];
    for (int i = 0; i < 9; ++i) matrix[i] = kFrameMatrix[i];
    double centre[3] = {300, 370, 0};
    const double dx = 100, w = 370, dz = 50, pv = 15;
    tag_t curve = NULL_TAG;
    VD_HPD_update_sgrp_curve_A(dx, w, dz, pv, &curve, origin, matrix, centre);
    ASSERT_NE(curve, NULL_TAG);
    for (double h : {127.0, 200.0, 300.0, 405.0}) {
        const double on_locus[3] = {dx + sgrp_class_a_mm(h), w, dz + h};
        double turned[3], abs_point[3];
        turned_about_vertical(on_locus, centre, pv, turned);
        frame_to_abs(turned, abs_point);
        EXPECT_LT(support::distance_to_curve(curve, {abs_point[0], abs_point[1], abs_point[2]}), 1e-7) << "h = " << h;
    }
}

TEST_F(SgrpTest, ReverseEngineeringParabolaIsNotMapped) {
    tag_t curve = NULL_TAG;
    ASSERT_EQ(hpd_create_sgrp_parabola(0.0, 0.0, 0.0, 0.0, &curve), 0);
    check_parabola_locus(curve, 0, 0, 0, 1.0);
    // The plane turned by 30 degrees, the vertex where it was: the locus
    // turns about the vertical through the vertex.
    tag_t turned = NULL_TAG;
    ASSERT_EQ(hpd_create_sgrp_parabola(10.0, 5.0, 0.0, 30.0, &turned), 0);
    const Point3 vertex = {10 + 971.4927688661587, 5, 171.9214442796502};
    for (double h : {127.0, 300.0, 405.0}) {
        const Point3 q = turned_about_vertical({10 + sgrp_class_a_mm(h), 5, h}, vertex, 30.0);
        EXPECT_LT(support::distance_to_curve(turned, q), 1e-7) << "h = " << h;
    }
    EXPECT_EQ(hpd_create_sgrp_parabola(0, 0, 0, 0, nullptr), -1);
}

TEST_F(SgrpTest, ClassBLineIsBuiltAboveItsBase) {
    double origin[3] = {0, 0, 0}, matrix[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1}, base[3] = {100, 0, 50};
    tag_t line = NULL_TAG;
    VD_HPD_update_sgrp_curve_B(370, 0.0, 0, &line, origin, matrix, base);
    ASSERT_NE(line, NULL_TAG);
    HM_CURVE_line_t data{};
    ASSERT_EQ(HM_CURVE_ask_line_data(line, &data), 0);
    expect_point(data.start_point, 100 + 900.23 - 0.471 * 530, 370, 580, 1e-9, "H30 530");
    expect_point(data.end_point, 100 + 900.23 - 0.471 * 405, 370, 455, 1e-9, "H30 405");

    // Edited in place: mapped from the frame first, then turned about the vertical through base.
    const tag_t first = line;
    double frame_origin[3] = {kFrameOrigin[0], kFrameOrigin[1], kFrameOrigin[2]}, frame[9];
    for (int i = 0; i < 9; ++i) frame[i] = kFrameMatrix[i];
    VD_HPD_update_sgrp_curve_B(20, 25.0, 1, &line, frame_origin, frame, base);
    EXPECT_EQ(line, first);
    ASSERT_EQ(HM_CURVE_ask_line_data(line, &data), 0);
    const double top[3] = {100 + 928.86 - 0.519 * 530, 20, 580};
    double mapped[3], expected[3];
    frame_to_abs(top, mapped);
    turned_about_vertical(mapped, base, 25.0, expected);
    expect_point(data.start_point, expected[0], expected[1], expected[2], 1e-9, "mapped, turned");
}

TEST_F(SgrpTest, SeatCurvesBuildNothingForABadFrame) {
    double origin[3] = {0, 0, 0}, skewed[9] = {1, 0, 0, 1, 1, 0, 0, 0, 1}, centre[3] = {0, 0, 0};
    const int before = host_testing::count_objects();
    tag_t curve = NULL_TAG;
    VD_HPD_update_sgrp_curve_A(0, 0, 0, 0.0, &curve, origin, skewed, centre);
    EXPECT_EQ(curve, NULL_TAG);
    VD_HPD_update_sgrp_curve_B(0, 0.0, 0, &curve, origin, skewed, centre);
    EXPECT_EQ(curve, NULL_TAG);
    EXPECT_EQ(host_testing::count_objects(), before);
    // A line already made keeps its data.
    double identity[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    VD_HPD_update_sgrp_curve_B(0, 0.0, 0, &curve, origin, identity, centre);
    ASSERT_NE(curve, NULL_TAG);
    VD_HPD_update_sgrp_curve_B(50, 0.0, 1, &curve, origin, skewed, centre);
    HM_CURVE_line_t data{};
    ASSERT_EQ(HM_CURVE_ask_line_data(curve, &data), 0);
    expect_point(data.start_point, 900.23 - 0.471 * 530, 0, 530, 1e-9, "unchanged");
    VD_HPD_update_sgrp_curve_A(0, 0, 0, 0.0, nullptr, origin, identity, centre);
    VD_HPD_update_sgrp_curve_B(0, 0.0, 0, nullptr, origin, identity, centre);
}

TEST_F(SgrpInchTest, ClassBLineIsBuiltAboveItsBaseInInches) {
    double origin[3] = {0, 0, 0}, matrix[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1}, base[3] = {0, 0, 0};
    tag_t line = NULL_TAG;
    VD_HPD_update_sgrp_curve_B(0, 0.0, 2, &line, origin, matrix, base);
    HM_CURVE_line_t data{};
    ASSERT_EQ(HM_CURVE_ask_line_data(line, &data), 0);
    expect_point(data.start_point, (922.49 - 0.494 * 530) / kInch, 0, 530 / kInch, 1e-9, "top");
    expect_point(data.end_point, (922.49 - 0.494 * 405) / kInch, 0, 405 / kInch, 1e-9, "bottom");
}

/* ---- arcs about the knee ---- */

namespace {

struct Counts {
    int objects, marks;
};
Counts counts() { return {host_testing::count_objects(), host_testing::undo_mark_count()}; }
void expect_same(const Counts& before) {
    EXPECT_EQ(host_testing::count_objects(), before.objects) << "objects left in the part";
    EXPECT_EQ(host_testing::undo_mark_count(), before.marks) << "undo marks left";
}

// The class A point at height h: (X_A(h), h).
void on_parabola(double h, double p[2]) {
    p[0] = sgrp_class_a_mm(h);
    p[1] = h;
}

}  // namespace

TEST_F(SgrpTest, ArcAboutTheKneeMeetsTheParabola) {
    const Counts before = counts();
    double hip[2];

    // Circle of 300 about a point 300 in front of the parabola at h 250: one crossing there.
    double q[2], centre[2];
    on_parabola(250, q);
    centre[0] = q[0] - 300, centre[1] = 250;
    ASSERT_EQ(hpd_ask_arc_on_sgrp_parabola(centre, 300, hip), 0);
    EXPECT_NEAR(hip[0], q[0], 1e-4);
    EXPECT_NEAR(hip[1], q[1], 1e-4);

    // Circles through two points of the parabola, both behind the centre
    // (greater L): the higher point is taken. Centre on the chord's bisector,
    // `offset` in front of the chord.
    struct TwoCrossings {
        double low_h, high_h, offset;
    } crossings[] = {{200, 350, 1000}, {130, 400, 600}, {150, 300, 2000}, {180, 260, 1500}};
    for (const TwoCrossings& c : crossings) {
        double p1[2], p2[2];
        on_parabola(c.low_h, p1);
        on_parabola(c.high_h, p2);
        const double mid[2] = {(p1[0] + p2[0]) / 2, (p1[1] + p2[1]) / 2};
        const double n[2] = {p2[1] - p1[1], -(p2[0] - p1[0])};
        const double len = std::hypot(n[0], n[1]);
        centre[0] = mid[0] - c.offset * n[0] / len, centre[1] = mid[1] - c.offset * n[1] / len;
        const double radius = std::hypot(p1[0] - centre[0], p1[1] - centre[1]);
        ASSERT_LT(centre[0], p2[0]);
        ASSERT_EQ(hpd_ask_arc_on_sgrp_parabola(centre, radius, hip), 0);
        EXPECT_NEAR(hip[0], p2[0], 1e-4) << c.low_h << " " << c.high_h;
        EXPECT_NEAR(hip[1], p2[1], 1e-4) << c.low_h << " " << c.high_h;
    }

    // A tighter circle through the points at h 180 and 260 crosses the
    // parabola a third time, higher up (h 327.84, found by bisection along
    // the parabola): the highest crossing is taken.
    {
        double p1[2], p2[2];
        on_parabola(180, p1);
        on_parabola(260, p2);
        const double mid[2] = {(p1[0] + p2[0]) / 2, (p1[1] + p2[1]) / 2};
        const double n[2] = {p2[1] - p1[1], -(p2[0] - p1[0])};
        const double len = std::hypot(n[0], n[1]);
        centre[0] = mid[0] - 300 * n[0] / len, centre[1] = mid[1] - 300 * n[1] / len;
        const double radius = std::hypot(p1[0] - centre[0], p1[1] - centre[1]);
        ASSERT_EQ(hpd_ask_arc_on_sgrp_parabola(centre, radius, hip), 0);
        EXPECT_NEAR(hip[1], 327.84, 0.01);
        EXPECT_NEAR(hip[0], 923.96, 0.01);
    }

    // Too small to reach it.
    hip[0] = hip[1] = -7;
    const double far[2] = {0, 0};
    EXPECT_EQ(hpd_ask_arc_on_sgrp_parabola(far, 100, hip), -1);
    EXPECT_EQ(hip[0], -7);
    EXPECT_EQ(hpd_ask_arc_on_sgrp_parabola(far, 0, hip), -1);
    EXPECT_EQ(hpd_ask_arc_on_sgrp_parabola(nullptr, 100, hip), -1);
    expect_same(before);
    ExpectNoLeaks();
}

TEST_F(SgrpInchTest, ArcAboutTheKneeMeetsTheParabolaInInches) {
    double q[2], hip[2];
    on_parabola(250, q);
    const double centre[2] = {(q[0] - 300) / kInch, 250 / kInch};
    ASSERT_EQ(hpd_ask_arc_on_sgrp_parabola(centre, 300 / kInch, hip), 0);
    EXPECT_NEAR(hip[0], q[0] / kInch, 1e-5);
    EXPECT_NEAR(hip[1], q[1] / kInch, 1e-5);
}

TEST_F(SgrpTest, ArcAboutTheKneeMeetsTheClassBLine) {
    const Counts before = counts();
    // The 50:50 line above base (100, 0, 50): L = 100 + 900.23 - 0.471 h, H = 50 + h, h in [405, 530].
    const double base[3] = {100, 0, 50};
    auto line_point = [](double h, double p[2]) {
        p[0] = 100 + 900.23 - 0.471 * h;
        p[1] = 50 + h;
    };
    // Circle about a point in front of the line through the points at h 420 and 510:
    // both lie behind the centre, the lower one is taken.
    double a[2], b[2];
    line_point(420, a);
    line_point(510, b);
    const double mid[2] = {(a[0] + b[0]) / 2, (a[1] + b[1]) / 2};
    double n[2] = {b[1] - a[1], -(b[0] - a[0])};
    const double len = std::hypot(n[0], n[1]);
    const double centre[2] = {mid[0] - 200 * n[0] / len, mid[1] - 200 * n[1] / len};
    const double radius = std::hypot(a[0] - centre[0], a[1] - centre[1]);
    double hip[2];
    ASSERT_EQ(hpd_ask_arc_on_sgrp_line(centre, radius, hip, 0, base), 0);
    EXPECT_NEAR(hip[0], a[0], 1e-6);
    EXPECT_NEAR(hip[1], a[1], 1e-6);

    // Tangent to nothing: the circle stops short of the line.
    EXPECT_EQ(hpd_ask_arc_on_sgrp_line(centre, 100, hip, 0, base), -1);
    EXPECT_EQ(hpd_ask_arc_on_sgrp_line(centre, radius, hip, 0, nullptr), -1);
    expect_same(before);
    ExpectNoLeaks();
}

TEST_F(SgrpTest, LegChainFindsTheHipOnTheParabola) {
    const Counts before = counts();
    const double legs[2] = {456, 459};
    // Pedal angle 45, ankle angle 90: heel (200 cos 45, 0), ankle (-81, 107)
    // turned by -45 from it, knee 459 along the shank: (-1, 0) turned by
    // -45 + 6.5 - 90 degrees, rising rearward at 180 - 45 + 6.5 - 90 = 51.5.
    const double angles[2] = {45, 90};
    double heel[2] = {200 * std::cos(45 * kDeg), 0};
    const SideOffset offset = ankle_offset_mm(45);
    double ankle[2] = {heel[0] + offset.l, offset.h};
    const double shank = (180 - 45 + 6.5 - 90) * kDeg;
    const double knee[2] = {ankle[0] + 459 * std::cos(shank), ankle[1] + 459 * std::sin(shank)};
    // The hip: the parabola point 456 from the knee (bisection on h over the segment).
    auto gap = [&](double h) { return std::hypot(sgrp_class_a_mm(h) - knee[0], h - knee[1]) - 456; };
    double lo = 127, hi = 405;
    ASSERT_LT(gap(lo) * gap(hi), 0);
    for (int i = 0; i < 200; ++i) {
        const double m = (lo + hi) / 2;
        (gap(lo) * gap(m) <= 0 ? hi : lo) = m;
    }
    const double hip_h = (lo + hi) / 2;

    const double p[2] = {1500, 600};
    double dl = 0, h = 0;
    ASSERT_EQ(hpd_ask_leg_chain_point(p, legs, angles, &dl, &h), 0);
    EXPECT_NEAR(dl, 1500 - sgrp_class_a_mm(hip_h), 1e-4);
    EXPECT_NEAR(h, hip_h, 1e-4);

    // A knee from which the thigh cannot reach the parabola.
    const double short_legs[2] = {300, 459};
    EXPECT_EQ(hpd_ask_leg_chain_point(p, short_legs, angles, &dl, &h), -1);
    expect_same(before);
    ExpectNoLeaks();
}

/* ---- combined curves and the initial PRP ---- */

namespace {

hm_list_s* list_of(std::vector<tag_t> items) {
    hm_list_s* list = nullptr;
    change_array_to_list(static_cast<int>(items.size()), items.data(), &list);
    return list;
}

tag_t first_face(tag_t body) {
    const std::vector<tag_t> faces = support::faces_of(body);
    return faces.empty() ? NULL_TAG : faces.front();
}

// A pedal face: the plane strip from (0, -20, 0) to (-30, 20, 80), leaning forward.
tag_t pedal_face() {
    const double corner[3] = {0, -20, 0}, u[3] = {0, 40, 0}, v[3] = {-30, 0, 80};
    return first_face(host_testing::make_planar_sheet(corner, u, v));
}

}  // namespace

TEST_F(SgrpTest, CombineCurvesJoinsCopies) {
    const tag_t a = support::new_line(0, 0, 0, 10, 0, 0), b = support::new_line(10, 0, 0, 10, 0, 20);
    double point[3] = {0, 0, 0};
    hm_list_s* list = list_of({b, a});
    tag_t curve = NULL_TAG;
    ASSERT_EQ(HM_VD_HPD_combine_curves(list, point, 0.0, &curve), 0);
    ASSERT_NE(curve, NULL_TAG);
    EXPECT_NE(curve, a);
    EXPECT_NEAR(support::curve_length(curve), 30, 1e-6);
    HM_MODL_delete_list(&list);

    // One curve: a copy of it.
    list = list_of({a});
    ASSERT_EQ(HM_VD_HPD_combine_curves(list, point, 0.0, &curve), 0);
    EXPECT_NE(curve, a);
    EXPECT_NEAR(support::curve_length(curve), 10, 1e-9);
    HM_MODL_delete_list(&list);

    // Edges become curves: the four edges of a box's face join into its 60 mm loop.
    const double corner[3] = {0, 0, 0}, size[3] = {10, 20, 30};
    tag_t box = host_testing::make_box(corner, size);
    hm_list_p_t edges = nullptr;
    ASSERT_EQ(HM_MODL_ask_face_edges(first_face(box), &edges), 0);
    double edge_length = 0;
    for (tag_t e : support::list_items(edges)) edge_length += support::curve_length(e);
    ASSERT_EQ(HM_VD_HPD_combine_curves(edges, point, 0.0, &curve), 0);
    EXPECT_NEAR(support::curve_length(curve), edge_length, 1e-6);
    HM_MODL_delete_list(&edges);
    ExpectNoLeaks();
}

TEST_F(SgrpTest, CombineCurvesSectionsFaces) {
    const tag_t face = pedal_face();
    tag_t curve = NULL_TAG;
    // Section plane normal +Y through y = 5: the line from (0, 5, 0) to (-30, 5, 80).
    double point[3] = {-10, 5, 30};
    hm_list_s* list = list_of({face});
    ASSERT_EQ(HM_VD_HPD_combine_curves(list, point, 0.0, &curve), 0);
    EXPECT_NEAR(support::curve_length(curve), std::hypot(30.0, 80.0), 1e-6);
    EXPECT_NEAR(support::curve_point(curve, 0.0)[1], 5, 1e-9);
    EXPECT_EQ(host_testing::count_objects(0, HM_plane_type), 0) << "section plane left";

    // Turned a quarter turn the plane's normal is -X: through x = -15 it cuts
    // the face across, 40 long at z = 40.
    double across[3] = {-15, 0, 0};
    ASSERT_EQ(HM_VD_HPD_combine_curves(list, across, 90.0, &curve), 0);
    EXPECT_NEAR(support::curve_length(curve), 40, 1e-6);
    expect_point(support::curve_point(curve, 0.5).data(), -15, 0, 40, 1e-6, "across");

    // A plane that misses the face gives no curve.
    double away[3] = {0, 500, 0};
    EXPECT_EQ(HM_VD_HPD_combine_curves(list, away, 0.0, &curve), -20);
    EXPECT_EQ(curve, NULL_TAG);
    HM_MODL_delete_list(&list);
    ExpectNoLeaks();
}

TEST_F(SgrpTest, CombineCurvesFailuresGiveTheirCodes) {
    const tag_t face = pedal_face();
    const tag_t a = support::new_line(0, 0, 0, 10, 0, 0), apart = support::new_line(50, 0, 0, 60, 0, 0);
    double point[3] = {0, 0, 0};
    tag_t curve = 99;
    struct Case {
        std::vector<tag_t> items;
        int expected;
    } cases[] = {
        {{}, -1},
        {{face, a}, -10},
        {{a, face}, -10},
        {{a, apart}, -30},
    };
    for (const Case& c : cases) {
        hm_list_s* list = c.items.empty() ? nullptr : list_of(c.items);
        curve = 99;
        EXPECT_EQ(HM_VD_HPD_combine_curves(list, point, 0.0, &curve), c.expected) << c.items.size();
        EXPECT_EQ(curve, NULL_TAG);
        HM_MODL_delete_list(&list);
    }
    hm_list_s* list = list_of({a});
    EXPECT_EQ(HM_VD_HPD_combine_curves(list, point, 0.0, nullptr), -1);
    HM_MODL_delete_list(&list);
    ExpectNoLeaks();
}

TEST_F(SgrpTest, InitialPrpLiesOnAPedalFace) {
    tag_t accelerator[1] = {pedal_face()};
    const Counts before = counts();
    double identity[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1}, origin[3] = {0, 0, 0};
    double prp[3], pedal = 0;
    // Section through the box centre (-15, 0, 40): the line (0, 0, 0)-(-30, 0, 80);
    // its middle, at 90 - atan(30 / 80) from the horizontal.
    ASSERT_EQ(HM_VD_HPD_ask_init_prp(identity, origin, 1, accelerator, prp, &pedal, 0.0), 0);
    expect_point(prp, -15, 0, 40, 1e-6, "prp");
    EXPECT_NEAR(pedal, 90 - std::atan2(30.0, 80.0) / kDeg, 1e-6);
    expect_same(before);
    ExpectNoLeaks();
}

TEST_F(SgrpTest, InitialPrpIsAnsweredInTheVehicleFrame) {
    // The accelerator given in absolute coordinates: a pedal line whose frame
    // coordinates run from (0, 0, 0) to (30, 0, 80) (leaning rearward).
    const double p0[3] = {0, 0, 0}, p1[3] = {30, 0, 80};
    double a0[3], a1[3];
    frame_to_abs(p0, a0);
    frame_to_abs(p1, a1);
    const tag_t pedal_line = support::new_line(a0[0], a0[1], a0[2], a1[0], a1[1], a1[2]);
    tag_t accelerator[1] = {pedal_line};
    const Counts before = counts();
    double origin[3] = {kFrameOrigin[0], kFrameOrigin[1], kFrameOrigin[2]}, matrix[9];
    for (int i = 0; i < 9; ++i) matrix[i] = kFrameMatrix[i];
    double prp[3], pedal = 0;
    ASSERT_EQ(HM_VD_HPD_ask_init_prp(matrix, origin, 1, accelerator, prp, &pedal, 0.0), 0);
    expect_point(prp, 15, 0, 40, 1e-6, "prp in the frame");
    EXPECT_NEAR(pedal, 90 - std::atan2(30.0, 80.0) / kDeg, 1e-6);

    // The caller's array still names its own accelerator, alive and unchanged;
    // the mapped copies and the joined curve are gone with the undo.
    EXPECT_EQ(accelerator[0], pedal_line);
    EXPECT_EQ(HM_OBJ_ask_status(pedal_line), 3);
    HM_CURVE_line_t data{};
    ASSERT_EQ(HM_CURVE_ask_line_data(pedal_line, &data), 0);
    expect_point(data.start_point, a0[0], a0[1], a0[2], 1e-12, "accelerator start");
    expect_point(data.end_point, a1[0], a1[1], a1[2], 1e-12, "accelerator end");
    expect_same(before);

    // Called again with the same array: the same answer.
    double again[3];
    ASSERT_EQ(HM_VD_HPD_ask_init_prp(matrix, origin, 1, accelerator, again, &pedal, 0.0), 0);
    expect_point(again, 15, 0, 40, 1e-6, "second call");
    expect_same(before);
    ExpectNoLeaks();
}

TEST_F(SgrpTest, InitialPrpFailuresGiveTheirCodes) {
    const tag_t face = pedal_face();
    const tag_t a = support::new_line(0, 0, 0, -10, 0, 30);
    double identity[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1}, origin[3] = {0, 0, 0};
    double prp[3] = {7, 7, 7}, pedal = 7;
    const Counts before = counts();
    tag_t mixed[2] = {face, a};
    tag_t dead[1] = {a + 1000};
    EXPECT_EQ(HM_VD_HPD_ask_init_prp(identity, origin, 0, mixed, prp, &pedal, 0.0), -1);
    EXPECT_EQ(HM_VD_HPD_ask_init_prp(identity, origin, 1, dead, prp, &pedal, 0.0), -1);
    EXPECT_EQ(HM_VD_HPD_ask_init_prp(identity, origin, 1, mixed, nullptr, &pedal, 0.0), -1);
    // Faces with curves make no pedal curve: -2, the part rolled back.
    EXPECT_EQ(HM_VD_HPD_ask_init_prp(identity, origin, 2, mixed, prp, &pedal, 0.0), -2);
    EXPECT_EQ(prp[0], 7);
    EXPECT_EQ(pedal, 7);
    EXPECT_EQ(mixed[0], face);
    EXPECT_EQ(mixed[1], a);
    expect_same(before);
    ExpectNoLeaks();
}

TEST_F(SgrpTest, ArcOnParabolaTakesTheHigherOfTwoCrossings) {
    // A knee circle meeting the parabola at H 200 (L 969.9512) and H 350
    // (L 909.48635), both behind its centre: the higher one is the hip.
    const double centre[2] = {383.22942026820283, 50.67969759696746};
    double hip[2] = {0, 0};
    ASSERT_EQ(hpd_ask_arc_on_sgrp_parabola(centre, 605.4246439660187, hip), 0);
    EXPECT_NEAR(hip[0], 909.48635, 1e-6);
    EXPECT_NEAR(hip[1], 350.0, 1e-6);
    ExpectNoLeaks();
}
