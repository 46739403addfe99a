// The right shoe of the H-point design tool against the accelerator pedal and
// the floor, on real host geometry, in a millimetre and an inch part.
//
// The standard posture (millimetres; every length is scaled by 1/25.4 in the
// inch part), in the side plane W = 370:
// - straight pedal through the PRP (500, 370, 300) at a pedal angle of 60
//   degrees: the sole direction from the PRP to the heel is (cos 60, -sin 60),
//   the pedal runs from 40 in front of the PRP to 60 behind it;
// - with the heel held at PRP.H - 200 sin 60 = 126.7949 the shoe touches at
//   the PRP and the heel is at (600, 370, 126.7949);
// - heel floor H = 100: the sole line meets it 230.9401 behind the PRP, at
//   L = 615.4701; the shoe touches the pedal 200 in front of that, 30.9401
//   behind the PRP;
// - convex pedal: the arc of radius 150 about (400, 370, 250), at arc angles
//   psi (from +L towards +H) of 10 to 50 degrees; its sole angle is 90 - psi.
#include "hpd_contact.h"

#include "host_fixture.h"
#include "hpd.h"
#include "occupant_fixtures.h"
#include "morvish.h"
#include "omvra.h"

#include <cmath>
#include <string>
#include <vector>

using namespace carvell::occupant;

namespace {

using namespace occupant_test;

// Lengths of the posture and the tolerances of the solved points, in the
// units of the work part.
struct Posture {
    double s = 1.0;                  // part units per millimetre
    double mm(double v) const { return v * s; }
    Point3 p(double l, double w, double h) const { return {l * s, w * s, h * s}; }
    double tol() const { return 0.02 * s; }   // solved along the curve to 1e-4 of its parameter
};

// A planar sheet of 100 by 100 at the origin, in the plane H = 0: neither
// pedal curve nor floor curve.
tag_t small_sheet() {
    const double corner[3] = {0, 0, 0}, a[3] = {100, 0, 0}, b[3] = {0, 100, 0};
    return host_testing::make_planar_sheet(corner, a, b);
}

// The straight pedal (optionally drawn the other way) and the floor line H =
// floor_h from L = 300 to 800, both turned by pv degrees about `centre`.
tag_t straight_pedal(const Posture& u, bool downwards = true, double pv = 0.0, Point3 centre = {0, 0, 0}) {
    const double c = std::cos(60 * kDeg), s = std::sin(60 * kDeg);
    Point3 top = u.p(500 - 40 * c, 370, 300 + 40 * s), bottom = u.p(500 + 60 * c, 370, 300 - 60 * s);
    top = turned_about_vertical(top, centre, pv);
    bottom = turned_about_vertical(bottom, centre, pv);
    return downwards ? host_testing::make_line(top, bottom) : host_testing::make_line(bottom, top);
}
tag_t floor_line(const Posture& u, double floor_h, double pv = 0.0, Point3 centre = {0, 0, 0}, double from = 300,
                 double to = 800) {
    return host_testing::make_line(turned_about_vertical(u.p(from, 370, floor_h), centre, pv),
                                   turned_about_vertical(u.p(to, 370, floor_h), centre, pv));
}
// The convex pedal as an arc (arc angle growing: drawn forward and up) or as
// a spline through nine of its points drawn rearward and down.
tag_t arc_pedal(const Posture& u) {
    return host_testing::make_arc(u.p(400, 370, 250), u.mm(150), 10 * kDeg, 50 * kDeg, {1, 0, 0}, {0, 0, 1});
}
tag_t spline_pedal(const Posture& u) {
    std::vector<Point3> points;
    for (int i = 0; i <= 8; ++i) {
        const double psi = (50.0 - 5.0 * i) * kDeg;
        points.push_back(u.p(400 + 150 * std::cos(psi), 370, 250 + 150 * std::sin(psi)));
    }
    return host_testing::make_spline(points, 3);
}
// Contact on the convex pedal at arc angle psi: the pedal point and the heel
// 200 behind it along the sole at 90 - psi degrees.
void arc_contact(const Posture& u, double psi_deg, Point3* prp, Point3* heel) {
    const double psi = psi_deg * kDeg, a = (90.0 - psi_deg) * kDeg;
    *prp = u.p(400 + 150 * std::cos(psi), 370, 250 + 150 * std::sin(psi));
    *heel = {(*prp)[0] + u.mm(200) * std::cos(a), (*prp)[1], (*prp)[2] - u.mm(200) * std::sin(a)};
}

// Every object made while solving is gone after the host's next update.
class ObjectCount {
public:
    ObjectCount() : start_(host_testing::count_objects()) {}
    void ExpectUnchangedAfterUpdate() const {
        ASSERT_EQ(HM_MODL_update(), 0);
        EXPECT_EQ(host_testing::count_objects(), start_) << "temporary geometry left in the part";
    }

private:
    int start_;
};

// The standard posture solved on the pedal and the floor.
void ExpectStandardPosture(const Posture& u) {
    const double tol = u.tol();
    const double heel_h = 300 - 200 * std::sin(60 * kDeg);
    tag_t pedal_down = straight_pedal(u, true), pedal_up = straight_pedal(u, false);
    tag_t floor = floor_line(u, 100);
    tag_t arc = arc_pedal(u), spline = spline_pedal(u);
    ObjectCount objects;

    // Heel height held: the shoe touches at the PRP, whichever way the pedal is drawn.
    for (tag_t pedal : {pedal_down, pedal_up}) {
        double heel[3] = {0, 0, u.mm(heel_h)}, angle = 0;
        ASSERT_EQ(hpd_solve_shoe_on_pedal(0, pedal, heel, &angle, NULL_TAG, 0.0), 0);
        expect_point(heel, u.p(600, 370, heel_h), tol, "heel at held height");
        EXPECT_EQ(heel[2], u.mm(heel_h)) << "a height found within 0.025 keeps the given one";
        EXPECT_NEAR(angle, 60.0, 1e-9);
    }

    // Heel on the floor: the sole line meets the floor 230.9401 behind the PRP.
    const double heel_l = 500 + (300 - 100) / std::tan(60 * kDeg);
    for (tag_t pedal : {pedal_down, pedal_up}) {
        double heel[3] = {0, 0, u.mm(500)}, angle = 10;
        ASSERT_EQ(hpd_solve_shoe_on_pedal(2, pedal, heel, &angle, floor, 0.0), 0);
        expect_point(heel, u.p(heel_l, 370, 100), tol, "heel on floor");
        EXPECT_NEAR(angle, 60.0, 1e-9);
    }

    // Convex pedal (arc, drawn forward; spline, drawn rearward) with the heel
    // held at the height of the contact at psi = 30: the sole angle is 60.
    Point3 prp, want;
    arc_contact(u, 30, &prp, &want);
    for (tag_t pedal : {arc, spline}) {
        double heel[3] = {0, 0, want[2]}, angle = 0;
        ASSERT_EQ(hpd_solve_shoe_on_pedal(0, pedal, heel, &angle, NULL_TAG, 0.0), 0);
        expect_point(heel, want, tol, "heel on convex pedal");
        EXPECT_NEAR(angle, 60.0, 0.01);
    }

    // Pedal angle held at 45 on the convex pedal: contact at psi = 45.
    arc_contact(u, 45, &prp, &want);
    for (tag_t pedal : {arc, spline}) {
        double heel[3] = {0, 0, 0}, angle = 45.0;
        ASSERT_EQ(hpd_solve_shoe_on_pedal(1, pedal, heel, &angle, NULL_TAG, 0.0), 0);
        expect_point(heel, want, tol, "heel at held pedal angle");
        EXPECT_EQ(angle, 45.0) << "an angle found within 0.01 degrees keeps the given one";
    }
    objects.ExpectUnchangedAfterUpdate();
}

// The ball of foot on a floor 40 above the heel at (600, 370, 100): 195.9592
// in front of it, floor angle asin(40 / 200) = 11.5370 degrees.
void ExpectBallOfFoot(const Posture& u) {
    const double angle_want = std::asin(0.2) / kDeg;
    const double heel[3] = {u.mm(600), u.mm(370), u.mm(100)};
    // Floor drawn forward to rear, and rear to forward: the same contact.
    for (bool rearward : {true, false}) {
        tag_t floor =
            rearward ? floor_line(u, 140, 0, {0, 0, 0}, 300, 700) : floor_line(u, 140, 0, {0, 0, 0}, 700, 300);
        double angle = -99;
        ASSERT_EQ(hpd_solve_shoe_on_floor(floor, heel, &angle), 0);
        EXPECT_NEAR(angle, angle_want, 0.01);
    }
    // A rising floor wholly in front of the heel: the ball lies where the
    // circle of 200 about the heel meets H = 100 + (600 - L) tan 10 + 5.
    tag_t ramp = host_testing::make_line(u.p(300, 370, 105 + 300 * std::tan(10 * kDeg)),
                                         u.p(550, 370, 105 + 50 * std::tan(10 * kDeg)));
    double angle = 0;
    ASSERT_EQ(hpd_solve_shoe_on_floor(ramp, heel, &angle), 0);
    // Ball at (600 - d, 105 + d tan 10) with d^2 + (5 + d tan 10)^2 = 200^2.
    const double k = std::tan(10 * kDeg);
    const double d = (-5 * k + std::sqrt(25 * k * k - (1 + k * k) * (25 - 40000))) / (1 + k * k);
    EXPECT_NEAR(angle, std::atan2(5 + d * k, d) / kDeg, 0.01);
}

}  // namespace

// Shoe and pedal contact: the AHP-PRP relations, the contact solvers and
// residuals, the heel targets and the plan-view angle. The checks that run in
// both units take the unit's scale.
class ContactTest : public HostTest {
protected:
    void CheckRelations(double scale);
    void CheckShoeTarget(const Posture& u);
    void CheckOccTarget(const Posture& u);
};
class ContactInchTest : public ContactTest {
protected:
    ContactInchTest() { inches_ = true; }
};

/* ---- the pure heel and pedal relations ---- */

struct RelationCase {
    double pedal_angle, pv_angle;
    double dl, dw;   // AHP - PRP in the plan view, millimetres
    double dh;
};

void ContactTest::CheckRelations(double scale) {
    const RelationCase cases[] = {
        {60, 0, 100, 0, -173.20508075688772},
        {60, 30, 86.602540378443865, 50, -173.20508075688772},
        {30, -45, 122.47448713915890, -122.47448713915890, -100},
        {0, 90, 0, 200, 0},
    };
    for (const RelationCase& c : cases) {
        SCOPED_TRACE("pedal " + std::to_string(c.pedal_angle) + " pv " + std::to_string(c.pv_angle));
        double prp[3] = {500 * scale, 370 * scale, 300 * scale}, ahp[3], back[3];
        HM_VD_HPD_ask_ahp_by_prp_no_offset(prp, c.pedal_angle, c.pv_angle, ahp);
        expect_point(ahp, {(500 + c.dl) * scale, (370 + c.dw) * scale, (300 + c.dh) * scale}, 1e-9, "ahp");
        HM_VD_HPD_ask_prp_by_ahp_no_offset(ahp, c.pedal_angle, c.pv_angle, back);
        expect_point(back, {prp[0], prp[1], prp[2]}, 1e-9, "prp back");
        double w = 0;
        HM_VD_HPD_ask_ahp_y_no_offset(prp[1], c.pedal_angle, c.pv_angle, &w);
        EXPECT_NEAR(w, ahp[1], 1e-9);
        // The same array as input and output.
        HM_VD_HPD_ask_prp_by_ahp_no_offset(ahp, c.pedal_angle, c.pv_angle, ahp);
        expect_point(ahp, {prp[0], prp[1], prp[2]}, 1e-9, "in place");
    }
}

TEST_F(ContactTest, AhpAndPrpOfA200MillimetreShoeGiveEachOther) { CheckRelations(1.0); }

TEST_F(ContactInchTest, AhpAndPrpOfA200MillimetreShoeGiveEachOtherInInches) { CheckRelations(1.0 / 25.4); }

TEST_F(ContactTest, OffsetPointLiesAcrossThePlanViewDirection) {
    struct {
        double pv, dx, dy;
    } cases[] = {{0, 0, -10}, {90, 10, 0}, {30, 5, -8.6602540378443865}, {-60, -8.6602540378443865, -5}};
    for (const auto& c : cases) {
        double point[3] = {1, 2, 3}, out[3];
        HM_VD_HPD_ask_offset_point_by_pv_angle(point, c.pv, 10.0, out);
        expect_point(out, {1 + c.dx, 2 + c.dy, 3}, 1e-9, "offset point");
    }
    // Nothing is written through null pointers (and nothing crashes).
    double out[3] = {7, 7, 7};
    HM_VD_HPD_ask_offset_point_by_pv_angle(nullptr, 0, 10.0, out);
    HM_VD_HPD_ask_ahp_by_prp_no_offset(nullptr, 60, 0, out);
    HM_VD_HPD_ask_prp_by_ahp_no_offset(nullptr, 60, 0, out);
    EXPECT_EQ(out[0], 7);
    HM_VD_HPD_ask_ahp_y_no_offset(0, 60, 0, nullptr);
}

/* ---- the contact solvers ---- */

TEST_F(ContactTest, StandardPostureStandsOnPedalAndFloor) {
    ExpectStandardPosture(Posture{});
    ExpectNoLeaks();
}

TEST_F(ContactInchTest, StandardPostureStandsOnPedalAndFloorInInches) {
    ExpectStandardPosture(Posture{1.0 / 25.4});
    ExpectNoLeaks();
}

TEST_F(ContactTest, BallOfFootIsSolvedOnTheFloor) {
    ExpectBallOfFoot(Posture{});
    ExpectNoLeaks();
}

TEST_F(ContactInchTest, BallOfFootIsSolvedOnTheFloorInInches) {
    ExpectBallOfFoot(Posture{1.0 / 25.4});
    ExpectNoLeaks();
}

TEST_F(ContactTest, PedalSolverFailuresGiveTheirCodes) {
    const Posture u;
    tag_t pedal = straight_pedal(u);
    tag_t floor = floor_line(u, 100);
    tag_t sheet = small_sheet();
    const double floor_corner[3] = {0, 0, 100}, floor_a[3] = {1000, 0, 0}, floor_b[3] = {0, 1000, 0};
    tag_t floor_sheet = host_testing::make_planar_sheet(floor_corner, floor_a, floor_b);
    ObjectCount objects;

    struct Case {
        const char* what;
        int mode;
        tag_t pedal, floor;
        double heel_h, angle;
        int code;
        const char* printed;
    } cases[] = {
        {"mode below 0", -1, pedal, floor, 100, 60, 19, ""},
        {"mode above 2", 3, pedal, floor, 100, 60, 19, ""},
        {"no pedal", 0, NULL_TAG, floor, 100, 60, 19, ""},
        {"no floor in mode 2", 2, pedal, NULL_TAG, 100, 60, 19, ""},
        {"pedal is a sheet", 0, sheet, NULL_TAG, 100, 60, 22, "Error from HM_EVAL_initialize = "},
        {"heel height out of the pedal's reach", 0, pedal, NULL_TAG, 1000, 60, 21, ""},
        {"straight pedal at another angle", 1, pedal, NULL_TAG, 100, 45, 21, ""},
        {"floor sheet meets the sole plane in a line", 2, pedal, floor_sheet, 100, 60, 21, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        double heel[3] = {1, 2, c.heel_h}, angle = c.angle;
        testing::internal::CaptureStdout();
        EXPECT_EQ(hpd_solve_shoe_on_pedal(c.mode, c.pedal, heel, &angle, c.floor, 0.0), c.code);
        const std::string printed = testing::internal::GetCapturedStdout();
        EXPECT_EQ(printed.rfind(c.printed, 0), 0u) << printed;
        expect_point(heel, {1, 2, c.heel_h}, 0, "heel unchanged");
        EXPECT_EQ(angle, c.angle);
    }
    double angle = 0;
    EXPECT_EQ(hpd_solve_shoe_on_pedal(0, pedal, nullptr, &angle, NULL_TAG, 0.0), 19);
    objects.ExpectUnchangedAfterUpdate();
    ExpectNoLeaks();
}

TEST_F(ContactTest, FloorSolverFailuresGiveTheirCodes) {
    const Posture u;
    const double heel[3] = {600, 370, 100};
    tag_t behind = floor_line(u, 100, 0, {0, 0, 0}, 650, 800);
    double angle = 5;
    testing::internal::CaptureStdout();
    EXPECT_EQ(hpd_solve_shoe_on_floor(behind, heel, &angle), 21);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Floor curve is behind heel point\n");
    // A floor too short to reach 200 in front of the heel.
    tag_t short_floor = floor_line(u, 100, 0, {0, 0, 0}, 500, 700);
    EXPECT_EQ(hpd_solve_shoe_on_floor(short_floor, heel, &angle), 21);
    EXPECT_EQ(hpd_solve_shoe_on_floor(NULL_TAG, heel, &angle), 19);
    EXPECT_EQ(hpd_solve_shoe_on_floor(behind, nullptr, &angle), 19);
    tag_t sheet = small_sheet();
    testing::internal::CaptureStdout();
    EXPECT_EQ(hpd_solve_shoe_on_floor(sheet, heel, &angle), 22);
    EXPECT_EQ(testing::internal::GetCapturedStdout().rfind("Error from HM_EVAL_initialize = ", 0), 0u);
    EXPECT_EQ(angle, 5);
    ExpectNoLeaks();
}

TEST_F(ContactTest, ResidualsAnswerTheirCodes) {
    const Posture u;
    tag_t pedal = straight_pedal(u);
    const double c = std::cos(60 * kDeg), s = std::sin(60 * kDeg);
    // A floor above the pedal point (met in front of it), one parallel to the
    // sole (never met) and a floor sheet (met in a line).
    tag_t above = floor_line(u, 350);
    tag_t parallel = host_testing::make_line(u.p(400, 370, 100), u.p(400 + 300 * c, 370, 100 - 300 * s));
    const double corner[3] = {0, 0, 100}, a[3] = {1000, 0, 0}, b[3] = {0, 1000, 0};
    tag_t sheet = host_testing::make_planar_sheet(corner, a, b);
    ObjectCount objects;

    struct Case {
        const char* what;
        tag_t pedal, floor;
        double t;
        int code;
    } cases[] = {
        {"floor in front", pedal, above, 0.5, 65},
        {"floor parallel to the sole", pedal, parallel, 0.5, 70},
        {"floor sheet", pedal, sheet, 0.5, 60},
        {"no evaluator", 987654, above, 0.5, 1},
        {"parameter off the curve", pedal, above, 5.0, 2},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        hpd_pedal_contact_s record{};
        record.shoe_length = 200;
        record.pedal = k.pedal;
        record.floor = k.floor;
        double f = 0;
        EXPECT_EQ(hpd_shoe_residual_by_floor(k.t, &record, &f), k.code);
    }
    // At the PRP (t = 0.4) the heel by height lies 200 along the sole.
    hpd_pedal_contact_s record{};
    record.target = 120;
    record.shoe_length = 200;
    record.pedal = pedal;
    double f = 0;
    ASSERT_EQ(hpd_shoe_residual_by_height(0.4, &record, &f), 0);
    expect_point(record.heel, {600, 370, 300 - 200 * s}, 1e-9, "heel by height");
    EXPECT_NEAR(f, 120 - (300 - 200 * s), 1e-9);
    EXPECT_NEAR(record.sole_angle, 60 * kDeg, 1e-12);

    hpd_floor_contact_s floor_record{200, 200, NULL_TAG, {600, 370, 100}, 0};
    EXPECT_EQ(hpd_floor_residual(0.5, &floor_record, &f), 10);
    floor_record.floor_curve = above;
    EXPECT_EQ(hpd_floor_residual(-3.0, &floor_record, &f), 20);
    objects.ExpectUnchangedAfterUpdate();
    ExpectNoLeaks();
}

/* ---- pedal point and angle ---- */

TEST_F(ContactTest, PedalPointAndAngleAreFoundWhicheverWayThePedalIsDrawn) {
    const Posture u;
    const double c = std::cos(60 * kDeg), s = std::sin(60 * kDeg);
    for (bool downwards : {true, false}) {
        double point[3], angle = 0;
        ASSERT_EQ(hpd_ask_pedal_point_angle(straight_pedal(u, downwards), point, &angle), 0);
        // The middle of the pedal, 10 behind the PRP along the sole.
        expect_point(point, {500 + 10 * c, 370, 300 - 10 * s}, 1e-6, "pedal point");
        EXPECT_NEAR(angle, 60.0, 1e-9);
    }
    double point[3] = {7, 7, 7}, angle = 7;
    EXPECT_EQ(hpd_ask_pedal_point_angle(small_sheet(), point, &angle), 19);
    EXPECT_EQ(hpd_ask_pedal_point_angle(NULL_TAG, point, &angle), 19);
    EXPECT_EQ(point[0], 7);
    EXPECT_EQ(angle, 7);
    ExpectNoLeaks();
}

/* ---- heel targets ---- */

void ContactTest::CheckShoeTarget(const Posture& u) {
    const double tol = u.tol();
    const double pv = 20.0;
    const Point3 centre = u.p(900, 370, 400);
    // Floors drawn turned by the plan-view angle; the heel is given and
    // answered in the turned-back side view.
    tag_t heel_floor = floor_line(u, 100, pv, centre);
    tag_t bof_floor = floor_line(u, 140, pv, centre, 300, 700);
    double c[3] = {centre[0], centre[1], centre[2]};
    const double corner[3] = {u.mm(300), u.mm(200), u.mm(100)}, along[3] = {u.mm(500), 0, 0},
                 across[3] = {0, u.mm(300), 0};
    tag_t sheet = host_testing::make_planar_sheet(corner, along, across);
    ObjectCount objects;

    // Heel above the floor: it keeps its L and takes the floor's H.
    double heel[3] = {u.mm(600), u.mm(370), u.mm(130)}, angle = -1;
    ASSERT_EQ(HM_VD_HPD_ask_shoe_target(true, bof_floor, &angle, 0, heel_floor, heel, pv, c), 0);
    expect_point(heel, u.p(600, 370, 100), tol, "heel on floor");
    EXPECT_NEAR(angle, std::asin(0.2) / kDeg, 0.01);

    // Heel behind the floor's rear end: the end's L and H, with the warning.
    double beyond[3] = {u.mm(850), u.mm(370), u.mm(130)};
    EXPECT_EQ(HM_VD_HPD_ask_shoe_target(false, bof_floor, nullptr, 1, heel_floor, beyond, pv, c), -2);
    expect_point(beyond, u.p(800, 370, 100), tol, "heel at the floor's end");

    // Mode 2 leaves the heel where it is.
    double kept[3] = {u.mm(600), u.mm(370), u.mm(130)};
    EXPECT_EQ(HM_VD_HPD_ask_shoe_target(false, NULL_TAG, nullptr, 2, heel_floor, kept, pv, c), 0);
    expect_point(kept, u.p(600, 370, 130), 0, "heel kept");

    // A floor sheet is cut in a line: the heel takes the sheet's nearest
    // point and the warning, as for a heel beyond the floor's ends.
    double over_sheet[3] = {u.mm(600), u.mm(370), u.mm(130)};
    EXPECT_EQ(HM_VD_HPD_ask_shoe_target(false, NULL_TAG, nullptr, 0, sheet, over_sheet, 0.0, c), -2);
    expect_point(over_sheet, u.p(600, 370, 100), tol, "heel over a sheet");
    objects.ExpectUnchangedAfterUpdate();
    ExpectNoLeaks();
}

TEST_F(ContactTest, ShoeTargetPutsTheHeelOnTheFloorAndGivesTheFloorPlaneAngle) { CheckShoeTarget(Posture{}); }

TEST_F(ContactInchTest, ShoeTargetPutsTheHeelOnTheFloorAndGivesTheFloorPlaneAngleInInches) {
    CheckShoeTarget(Posture{1.0 / 25.4});
}

TEST_F(ContactTest, ShoeTargetFailuresGiveTheirCodes) {
    const Posture u;
    tag_t floor = floor_line(u, 100);
    tag_t bof_behind = floor_line(u, 100, 0, {0, 0, 0}, 650, 800);
    double centre[3] = {0, 0, 0};
    ObjectCount objects;

    double heel[3] = {600, 370, 130}, angle = 3;
    EXPECT_EQ(HM_VD_HPD_ask_shoe_target(true, bof_behind, &angle, 0, floor, heel, 0, centre), 50);
    expect_point(heel, {600, 370, 130}, 0, "heel unchanged on failure");
    EXPECT_EQ(angle, 3);

    double bad_heel[3] = {NAN, 370, 130};
    EXPECT_EQ(HM_VD_HPD_ask_shoe_target(false, NULL_TAG, nullptr, 0, floor, bad_heel, 0, centre), 40);
    EXPECT_EQ(HM_VD_HPD_ask_shoe_target(false, NULL_TAG, nullptr, 0, 987654, heel, 0, centre), 50);
    EXPECT_EQ(HM_VD_HPD_ask_shoe_target(false, NULL_TAG, nullptr, 0, floor, nullptr, 0, centre), -1);
    EXPECT_EQ(HM_VD_HPD_ask_shoe_target(false, NULL_TAG, nullptr, 0, floor, heel, 0, nullptr), -1);
    EXPECT_EQ(HM_VD_HPD_ask_shoe_target(true, floor, nullptr, 0, floor, heel, 0, centre), -1);
    objects.ExpectUnchangedAfterUpdate();
    ExpectNoLeaks();
}

void ContactTest::CheckOccTarget(const Posture& u) {
    const double tol = u.tol();
    const double heel_h = 300 - 200 * std::sin(60 * kDeg);
    const double heel_l = 500 + 200 / std::tan(60 * kDeg);   // sole line meets H = 100
    double centre[3] = {u.mm(900), u.mm(370), u.mm(400)};
    const Point3 c = {centre[0], centre[1], centre[2]};

    struct Case {
        const char* what;
        double pv, offset;
        int mode;
        bool with_floor;
        double start_h;
        Point3 side_heel;   // solved heel in the turned-back side view (mm)
    } cases[] = {
        {"heel on floor", 0, 0, 0, true, 500, {heel_l, 370, 100}},
        {"heel on floor from the floor's height", 0, 0, 1, true, 500, {heel_l, 370, 100}},
        {"heel height held", 0, 0, 2, true, heel_h, {600, 370, heel_h}},
        {"no floor: height held", 0, 0, 0, false, heel_h, {600, 370, heel_h}},
        {"turned with lateral offset", 15, 50, 0, true, 500, {heel_l, 370, 100}},
        {"turned the other way, height held", -25, 30, 2, true, heel_h, {600, 370, heel_h}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        tag_t pedal = straight_pedal(u, true, k.pv, c);
        tag_t floor = k.with_floor ? floor_line(u, 100, k.pv, c) : NULL_TAG;
        ObjectCount objects;
        double heel[3] = {u.mm(650), u.mm(370), u.mm(k.start_h)}, angle = 10;
        ASSERT_EQ(HM_VD_HPD_ask_occ_target(true, pedal, &angle, k.mode, floor, heel, k.pv, centre,
                                           u.mm(k.offset)),
                  0);
        Point3 want = turned_about_vertical(u.p(k.side_heel[0], k.side_heel[1], k.side_heel[2]), c, k.pv);
        want[0] += std::sin(k.pv * kDeg) * u.mm(k.offset);
        want[1] -= std::cos(k.pv * kDeg) * u.mm(k.offset);
        expect_point(heel, want, tol, "heel");
        EXPECT_NEAR(angle, 60.0, 1e-6);
        objects.ExpectUnchangedAfterUpdate();
    }

    // Without the pedal the heel goes onto the floor below it.
    tag_t floor = floor_line(u, 100);
    ObjectCount objects;
    double heel[3] = {u.mm(600), u.mm(370), u.mm(130)}, angle = 10;
    ASSERT_EQ(HM_VD_HPD_ask_occ_target(false, NULL_TAG, &angle, 0, floor, heel, 0.0, centre, u.mm(50)), 0);
    expect_point(heel, u.p(600, 370, 100), tol, "heel on floor without pedal");
    EXPECT_EQ(angle, 10);
    objects.ExpectUnchangedAfterUpdate();
    ExpectNoLeaks();
}

TEST_F(ContactTest, OccupantTargetPutsTheRightHeelAgainstThePedal) { CheckOccTarget(Posture{}); }

TEST_F(ContactInchTest, OccupantTargetPutsTheRightHeelAgainstThePedalInInches) { CheckOccTarget(Posture{1.0 / 25.4}); }

TEST_F(ContactTest, OccupantTargetFailuresGiveTheirCodes) {
    const Posture u;
    tag_t pedal = straight_pedal(u);
    tag_t floor = floor_line(u, 100);
    tag_t sheet = small_sheet();
    double centre[3] = {0, 0, 0};
    ObjectCount objects;

    struct Case {
        const char* what;
        bool use_pedal;
        tag_t pedal, floor;
        int mode;
        double heel_l;
        int code;
    } cases[] = {
        {"heel height out of the pedal's reach", true, pedal, floor, 2, 600, 50},
        {"pedal is a sheet", true, sheet, NULL_TAG, 0, 600, 50},
        {"pedal that no longer exists", true, 987654, floor, 0, 600, 50},
        {"probe plane through an undefined heel", false, NULL_TAG, floor, 0, NAN, 40},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        double heel[3] = {k.heel_l, 370, 1000}, angle = 10;
        testing::internal::CaptureStdout();
        EXPECT_EQ(HM_VD_HPD_ask_occ_target(k.use_pedal, k.pedal, &angle, k.mode, k.floor, heel, 0, centre, 0), k.code);
        testing::internal::GetCapturedStdout();
        EXPECT_EQ(heel[1], 370);
        EXPECT_EQ(heel[2], 1000);
        EXPECT_EQ(angle, 10);
    }
    double heel[3] = {600, 370, 100}, angle = 0;
    EXPECT_EQ(HM_VD_HPD_ask_occ_target(true, pedal, nullptr, 0, floor, heel, 0, centre, 0), -1);
    EXPECT_EQ(HM_VD_HPD_ask_occ_target(true, pedal, &angle, 0, floor, nullptr, 0, centre, 0), -1);
    EXPECT_EQ(HM_VD_HPD_ask_occ_target(true, pedal, &angle, 0, floor, heel, 0, nullptr, 0), -1);
    objects.ExpectUnchangedAfterUpdate();
    ExpectNoLeaks();
}

/* ---- plan-view angle ---- */

TEST_F(ContactTest, PlanViewAngleIsThatOfTheNearestPedalGeometry) {
    const Posture u;
    const Point3 centre = {900, 370, 400};
    const double s60 = std::sin(60 * kDeg), c60 = std::cos(60 * kDeg);
    for (double pv : {0.0, 25.0, -30.0}) {
        SCOPED_TRACE("pv " + std::to_string(pv));
        // A pedal curve drawn either way, and a pedal plate whose normal lies
        // in the turned side plane.
        tag_t down = straight_pedal(u, true, pv, centre), up = straight_pedal(u, false, pv, centre);
        const Point3 o = turned_about_vertical({480, 330, 300 + 40 * s60}, centre, pv);
        const double cp = std::cos(pv * kDeg), sp = std::sin(pv * kDeg);
        const double corner[3] = {o[0], o[1], o[2]};
        const double along[3] = {100 * c60 * cp, 100 * c60 * sp, -100 * s60};
        const double across[3] = {-80 * sp, 80 * cp, 0};
        tag_t plate = host_testing::make_planar_sheet(corner, along, across);
        hm_list_p_t faces = nullptr;
        ASSERT_EQ(HM_MODL_ask_body_faces(plate, &faces), 0);
        tag_t face = NULL_TAG;
        ASSERT_EQ(HM_MODL_ask_list_item(faces, 0, &face), 0);
        HM_MODL_delete_list(&faces);

        const Point3 near = turned_about_vertical({510, 372, 290}, centre, pv);
        double point[3] = {near[0], near[1], near[2]};
        for (tag_t object : {down, up, face}) {
            double angle = 99;
            ASSERT_EQ(HM_VD_HPD_ask_pv_angle(1, &object, point, &angle), 0);
            EXPECT_NEAR(angle, pv, 1e-6);
        }
        // The nearest object wins: a far line at 45 degrees is passed over.
        tag_t far_line = host_testing::make_line({0, 0, 0}, {100, 100, 0});
        tag_t objects[2] = {far_line, down};
        double angle = 99;
        ASSERT_EQ(HM_VD_HPD_ask_pv_angle(2, objects, point, &angle), 0);
        EXPECT_NEAR(angle, pv, 1e-6);
    }

    // No objects, or a nearest object that is neither face nor curve.
    double point[3] = {0, 0, 0}, angle = 7;
    tag_t one = straight_pedal(u);
    EXPECT_EQ(HM_VD_HPD_ask_pv_angle(0, &one, point, &angle), 19);
    EXPECT_EQ(HM_VD_HPD_ask_pv_angle(1, nullptr, point, &angle), 19);
    const double corner[3] = {-5, -5, -5}, size[3] = {10, 10, 10};
    tag_t box = host_testing::make_box(corner, size);
    tag_t nearest_box[2] = {one, box};
    EXPECT_EQ(HM_VD_HPD_ask_pv_angle(2, nearest_box, point, &angle), 19);
    tag_t gone = 987654;
    EXPECT_EQ(HM_VD_HPD_ask_pv_angle(1, &gone, point, &angle), 19);
    EXPECT_EQ(angle, 7);
    EXPECT_EQ(HM_VD_HPD_ask_pv_angle(1, &one, nullptr, &angle), -1);
    ExpectNoLeaks();
}
