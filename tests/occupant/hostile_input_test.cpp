// Hostile input to the occupant exports: null outputs, numbers that are not
// finite or overflow (leg lengths, heights, offsets, angles), coincident
// geometry, tag 0 and deleted floors. Every case answers the function's
// failure, writes none of its outputs, builds nothing and leaves no block of
// the memory manager behind (the fixture's tear-down); the process survives.
#include "hm_vd_2dm.h"
#include "hpd.h"

#include "host_fixture.h"
#include "hostile_input.h"
#include "morvish.h"
#include "omvra.h"

#include <cmath>
#include <functional>
#include <limits>
#include <vector>

namespace {

using support::Hostile;
using support::kInf;
using support::kNaN;

class OccupantHostileInputTest : public HostTest {
protected:
    void ExpectAllRefused(const std::vector<Hostile>& cases) {
        support::expect_all_refused(cases);
        ExpectNoLeaks();
    }
};

// Every value of the array still what the caller put there.
bool unchanged(const double* v, int n, double sentinel) {
    for (int i = 0; i < n; ++i)
        if (v[i] != sentinel) return false;
    return true;
}

}  // namespace

TEST_F(OccupantHostileInputTest, LegPostureRefusesLengthsHeightsAndAnglesThatAreNotFinite) {
    double sgrp[3] = {1000.0, 0.0, 600.0};
    double legs[2] = {456.0, 459.0}, nan_legs[2] = {kNaN, 459.0}, inf_legs[2] = {456.0, kInf},
           huge_legs[2] = {1e300, 1e300};
    double result[5];
    auto angles = [&](double* s, double dl, double dh, double* l, bool room_only) {
        for (double& r : result) r = -7.0;
        const int rc = HM_VD_HPD_ask_leg_angles_legroom(s, dl, dh, 30.0, l, 25.0, room_only, result);
        EXPECT_TRUE(unchanged(result, 5, -7.0)) << "results written on failure";
        return rc;
    };
    double nan_sgrp[3] = {kNaN, 0.0, 600.0};
    double heel[3] = {700.0, 150.0, 300.0}, nan_heel[3] = {700.0, 150.0, kNaN};
    // A lock or turn answers -1 (or -3) with the heel and shoe angle untouched.
    auto lock = [&](int which, double* s, double* l, double pv, double ankle) {
        double h[3] = {heel[0], heel[1], heel[2]}, shoe = 30.0;
        int rc = 0;
        if (which == 0) rc = HM_VD_HPD_lock_pass_ankle_angle_by_coordinate_adjustment(s, pv, shoe, ankle, l, h);
        if (which == 1) rc = HM_VD_HPD_lock_pass_ankle_angle_by_shoe_angle_adjustment(s, pv, ankle, l, h, &shoe);
        if (which == 2) rc = HM_VD_HPD_lock_pass_ankle_angle_by_keep_bof_location(s, pv, ankle, l, h, &shoe);
        EXPECT_EQ(shoe, 30.0);
        EXPECT_TRUE(h[0] == heel[0] && h[1] == heel[1] && h[2] == heel[2]) << "heel moved on failure";
        return rc;
    };

    auto shoe_target = [&](int position, double* l, double h30) {
        double ahp[3] = {-7, -7, -7}, pedal = -7;
        const int rc = HM_VD_HPD_ask_right_shoe_target(position, sgrp, 20.0, l, h30, 0.0, ahp, &pedal, 0, 50);
        EXPECT_TRUE(unchanged(ahp, 3, -7.0) && pedal == -7) << "target written on failure";
        return rc;
    };

    const std::vector<Hostile> cases = {
        {"angles: NaN leg length", [&] { return angles(sgrp, 300.0, 300.0, nan_legs, false); }, -1},
        {"angles: infinite leg length", [&] { return angles(sgrp, 300.0, 300.0, inf_legs, false); }, -1},
        {"angles: overflowing leg lengths", [&] { return angles(sgrp, 300.0, 300.0, huge_legs, false); }, -1},
        {"angles: NaN height", [&] { return angles(sgrp, 300.0, kNaN, legs, false); }, -1},
        {"angles: infinite offset", [&] { return angles(sgrp, kInf, 300.0, legs, false); }, -1},
        {"angles: NaN SgRP", [&] { return angles(nan_sgrp, 300.0, 300.0, legs, false); }, -1},
        {"leg room: heel offset overflowing to an infinite heel",
         [&] { double far_sgrp[3] = {-1.7e308, 0.0, 600.0}; return angles(far_sgrp, 1.7e308, 300.0, legs, true); },
         -1},
        {"leg room: NaN height", [&] { return angles(sgrp, 300.0, kNaN, legs, true); }, -1},
        {"shoe position: NaN heel",
         [&] { return HM_VD_HPD_is_valid_shoe_position(0, nan_heel, sgrp, 456.0, 459.0, 30.0, 0.0); }, -1},
        {"shoe position: infinite leg",
         [&] { return HM_VD_HPD_is_valid_shoe_position(0, heel, sgrp, kInf, 459.0, 30.0, 0.0); }, -1},
        {"shoe position: NaN plan-view angle",
         [&] { return HM_VD_HPD_is_valid_shoe_position(1, heel, sgrp, 456.0, 459.0, 30.0, kNaN); }, -1},
        {"width check: NaN heel", [&] { return int(HM_VD_HPD_check_hpd_width(nan_heel, sgrp, 0.0, false)); }, 0},
        {"length check: NaN leg",
         [&] { return int(HM_VD_HPD_check_hpd_length(heel, sgrp, 0.0, nan_legs, 30.0, false)); }, 0},
        {"length check: infinite plan-view angle",
         [&] { return int(HM_VD_HPD_check_hpd_length(heel, sgrp, kInf, legs, 30.0, false)); }, 0},
        {"right shoe: NaN SgRP", [&] { return int(HM_VD_HPD_check_right_shoe(heel, nan_sgrp, 0.0, false)); }, 0},
        {"left shoe: NaN plan-view angle", [&] { return int(HM_VD_HPD_check_left_shoe(heel, sgrp, kNaN, false)); },
         0},
        {"right shoe target: NaN leg", [&] { return shoe_target(0, nan_legs, 300.0); }, -1},
        {"right shoe target: legs whose reach overflows",
         [&] { double l[2] = {1.7e308, 1.7e308}; return shoe_target(1, l, 300.0); }, -1},
        {"right shoe target: infinite seat height", [&] { return shoe_target(0, legs, kInf); }, -1},
        {"right shoe target: standard legs, NaN seat height", [&] { return shoe_target(0, legs, kNaN); }, -1},
        {"seat heights: NaN leg",
         [&] { double hi = -7, lo = -7; const int rc = HM_VD_HPD_ask_valid_h30_for_target_posture(1, kNaN, 459.0, 20.0, &hi, &lo, 0);
               EXPECT_TRUE(hi == -7 && lo == -7); return rc; }, -1},
        {"SgRP on the curve: NaN seat height",
         [&] { double ahp[3] = {500, 0, 100}, out[3] = {-7, -7, -7};
               HM_VD_HPD_ask_sgrp_on_curve(ahp, 30.0, kNaN, 0.0, out, 0.0, 0, 50); return int(unchanged(out, 3, -7.0)); },
         1},
        {"lock by coordinate: NaN leg", [&] { return lock(0, sgrp, nan_legs, 0.0, 100.0); }, -1},
        {"lock by coordinate: overflowing legs", [&] { return lock(0, sgrp, huge_legs, 0.0, 100.0); }, -1},
        {"lock by coordinate: NaN ankle angle", [&] { return lock(0, sgrp, legs, 0.0, kNaN); }, -1},
        {"lock by coordinate: NaN SgRP", [&] { return lock(0, nan_sgrp, legs, 0.0, 100.0); }, -1},
        {"lock by shoe angle: NaN plan-view angle", [&] { return lock(1, sgrp, legs, kNaN, 100.0); }, -1},
        {"lock by shoe angle: NaN leg", [&] { return lock(1, sgrp, nan_legs, 0.0, 100.0); }, -2},
        {"lock by ball of foot: NaN SgRP", [&] { return lock(2, nan_sgrp, legs, 0.0, 100.0); }, -1},
        {"lock by ball of foot: infinite ankle angle", [&] { return lock(2, sgrp, legs, 0.0, kInf); }, -1},
    };
    ExpectAllRefused(cases);
    EXPECT_TRUE(host_testing::dialogs().empty()) << "a refused check showed its dialog";
}

TEST_F(OccupantHostileInputTest, PlanarHelpersAndManikinChecksRefuseWhatIsNotFinite) {
    double c1[2] = {0.0, 0.0}, c2[2] = {10.0, 0.0}, nan2[2] = {kNaN, 0.0};
    double points[2][2] = {{-7, -7}, {-7, -7}};
    int count = -5;
    auto circles = [&](double* a, double r1, double* b, double r2) {
        const int rc = HM_VD_ask_circle_intersect_point(a, r1, b, r2, &count, points);
        EXPECT_EQ(count, 0);
        EXPECT_TRUE(unchanged(&points[0][0], 4, -7.0));
        return rc;
    };
    double base[2] = {0.0, 0.0}, target[2] = {300.0, 400.0}, len[3] = {300.0, 300.0, 50.0},
           nan_len[3] = {300.0, kNaN, 50.0};
    auto arm = [&](double* l, double angle, double distance) {
        const double before = l[2];
        const bool ok = hm_vd_2dm_check_arm_positions(base, target, angle, l, distance);
        EXPECT_EQ(l[2], before) << "the span replaced the caller's length on failure";
        return int(ok);
    };

    const std::vector<Hostile> cases = {
        {"circles: NaN centre", [&] { return circles(nan2, 5.0, c2, 6.0); }, -1},
        {"circles: infinite radius", [&] { return circles(c1, kInf, c2, 6.0); }, -1},
        {"circles: overflowing radii", [&] { return circles(c1, 1e300, c2, 1e300); }, -1},
        {"circles: coincident and equal", [&] { return circles(c1, 5.0, c1, 5.0); }, -1},
        {"leg reach: NaN target",
         [&] { return int(hm_vd_2dm_check_leg_positions(base, nan2, 30.0, len)); }, 0},
        {"leg reach: infinite links",
         [&] { double l[2] = {kInf, kInf}; return int(hm_vd_2dm_check_leg_positions(base, target, 30.0, l)); }, 0},
        {"arm reach: NaN length", [&] { return arm(nan_len, 30.0, 100.0); }, 0},
        {"arm reach: NaN angle", [&] { return arm(len, kNaN, 100.0); }, 0},
        {"arm reach: infinite distance", [&] { return arm(len, 30.0, kInf); }, 0},
    };
    ExpectAllRefused(cases);
}

TEST_F(OccupantHostileInputTest, HeelTargetsRefuseBadPointsAndFloorsWithNothingLeftBehind) {
    const tag_t floor = host_testing::make_line({0, -500, 100}, {2000, -500, 100});
    const tag_t gone = host_testing::make_line({0, 0, 0}, {1, 0, 0});
    HM_OBJ_delete_object(gone);
    double centre[3] = {0.0, 0.0, 0.0}, nan3[3] = {kNaN, 0.0, 0.0};
    auto shoe_target = [&](tag_t heel_floor, const double* start, double* pv_centre, double pv) {
        double heel[3] = {start[0], start[1], start[2]};
        const int rc = HM_VD_HPD_ask_shoe_target(false, NULL_TAG, nullptr, 0, heel_floor, heel, pv, pv_centre);
        EXPECT_TRUE(std::isnan(start[0]) ? std::isnan(heel[0]) : heel[0] == start[0]) << "heel written on failure";
        return rc;
    };
    auto occ_target = [&](const double* start, double pv, double offset) {
        double heel[3] = {start[0], start[1], start[2]}, angle = 10.0;
        const int rc = HM_VD_HPD_ask_occ_target(false, NULL_TAG, &angle, 0, floor, heel, pv, centre, offset);
        EXPECT_EQ(angle, 10.0);
        return rc;
    };
    const double heel[3] = {600.0, 370.0, 300.0}, nan_heel[3] = {kNaN, 370.0, 300.0},
                 inf_heel[3] = {600.0, kInf, 300.0};

    const std::vector<Hostile> cases = {
        {"shoe target: NaN heel", [&] { return shoe_target(floor, nan_heel, centre, 0.0); }, 40},
        {"shoe target: infinite heel", [&] { return shoe_target(floor, inf_heel, centre, 0.0); }, 40},
        {"shoe target: NaN centre", [&] { return shoe_target(floor, heel, nan3, 10.0); }, 50},
        {"shoe target: infinite plan-view angle", [&] { return shoe_target(floor, heel, centre, kInf); }, 50},
        {"shoe target: deleted floor", [&] { return shoe_target(gone, heel, centre, 0.0); }, 50},
        {"occupant target: NaN heel", [&] { return occ_target(nan_heel, 0.0, 0.0); }, 40},
        {"occupant target: NaN offset", [&] { return occ_target(heel, 0.0, kNaN); }, 50},
        {"occupant target: NaN plan-view angle", [&] { return occ_target(heel, kNaN, 0.0); }, 50},
    };
    ExpectAllRefused(cases);
}
