// One full H-point design read and solve, as the tool runs it for a driver,
// beside the bare rule-store read of the same design instance.
//
// The part: a class A car in millimetres, driver on the centreline W = -370,
// the floor (heel pan) at H = 0, and the accelerator pedal's face in the side
// view (W = -345, the pedal 25 mm inboard of the heel) inclined at the
// standard 55.4 degrees for H30 = 270 mm (77 - 0.08 per mm of H30), 120 mm
// long about the pedal reference point. The design instance "DRIVER" holds
// the tool's standard leg lengths (456 mm thigh, 459 mm lower leg), back
// angle 25 degrees, and a first guess of the heels and seating reference
// point as a user leaves them before solving.
//
//   hpoint_design/read_and_solve  HM_VD_HPD_ask_result (the instance read
//       into its record, each leg's posture solved), then the shoe placed on
//       the pedal and the floor by the contact solver, the SgRP put on the
//       class A seat curve for H30 = 270 mm above the solved heel, the right
//       leg's posture and leg room at that SgRP, and the host update that
//       deletes the solver's construction geometry;
//   hpoint_design/record_read     HM_VD_HPD_ask_result alone;
//   hpoint_design/rule_store_read (the baseline) the same 30 attribute
//       queries of the same instance made straight to the host's rule store,
//       with no library code: what any reading of the design costs.
// Baseline: the same attribute queries of the same instance made straight to the rule store.
#include "host_testing.h"
#include "hpd.h"
#include "morvish.h"
#include "quillon.h"
#include "ratio_report.h"
#include "tessik.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using host_testing::Point3;

constexpr double kDegToRad = 3.14159265358979323846 / 180.0;
const char* const kDesignClass = "%kw_vd_H_point_design_tool";
const char* const kDesign = "DRIVER";

/* ---- the car, in millimetres in the vehicle frame (x rearward, z up) ---- */

constexpr double kH30Mm = 270.0;
constexpr double kPedalAngleDeg = 77.0 - 0.08 * kH30Mm;   // 55.4
constexpr double kDriverW = -370.0;
constexpr double kLateralOffsetMm = 25.0;   // AHP to PRP across the car
constexpr double kPedalW = kDriverW + kLateralOffsetMm;
// SgRP lateral argument that keeps the SgRP straight behind the AHP: the
// tool moves it by this value less 148.5 mm.
constexpr double kSgrpLateralMm = 148.5;
// The pedal reference point: 200 mm up the sole from a heel at L = 600 on the floor.
const double kPrpL = 600.0 - 200.0 * std::cos(kPedalAngleDeg * kDegToRad);
const double kPrpH = 200.0 * std::sin(kPedalAngleDeg * kDegToRad);

std::string rule_point(double x, double y, double z) {
    char text[128];
    std::snprintf(text, sizeof text, "Point(%.10g,%.10g,%.10g)", x, y, z);
    return text;
}

// The driver's design before solving: the heel a little off the floor and
// behind the pedal, the SgRP a rough 780 mm behind and 260 mm above it, the
// left shoe flat on the floor on the foot rest side.
host_testing::RuleTexts driver_design() {
    const std::string right_heel = rule_point(640, kDriverW, 20), left_heel = rule_point(520, kDriverW - 200, 0);
    return {
        {"rcode", "0"},
        {"Algorithm_version", "2"},
        {"referenceFrame", "Frame(0,0,0, 1,0,0, 0,1,0, 0,0,1)"},   // the vehicle frame
        {"pv_angle_internal", "0.0"},
        {"rt_clear_interference?", "FALSE"},
        {"rt_lateral_offset_internal", "25.0"},
        {"seating_position", "0"},
        {"vehicle_class", "0"},
        {"Male_Female_Ratio", "2"},
        {"UI_leg_length_type", "0"},
        {"upper_leg_length_internal", "456.0"},
        {"lower_leg_length_internal", "459.0"},
        {"target_back_angle_internal", "25.0"},
        {"target_cushion_angle_internal", "14.5"},
        {"target_lumbar_support_internal", "10.0"},
        {"position_left_shoe?", "TRUE"},
        {"UI_move_along_SgRP_curve?", "TRUE"},
        {"is_copy_right_shoe_orientation", "0"},
        {"use_variable_toggle", "0"},
        {"variable_type", "0"},
        {"adjust_variable", "0.0"},
        {"UpdateSgrpPt", rule_point(1420, kDriverW, 280)},
        {"occ_position_method", "0"},
        {"Result_AHPs", "{ " + right_heel + ", " + left_heel + " }"},
        {"AHPs", "{ " + right_heel + " }"},
        {"A47s", "{ 50.0, 0.0 }"},
        {"add_2nd_right_leg?", "FALSE"},
        {"rt_lock_type", "0"},
        {"rt_use_ALPHA?", "FALSE"},
    };
}

struct Car {
    tag_t pedal = 0;
    tag_t floor = 0;
};

Car make_car() {
    host_testing::reset();
    host_testing::make_part("bench_hpoint_design");
    Car car;
    const double c = std::cos(kPedalAngleDeg * kDegToRad), s = std::sin(kPedalAngleDeg * kDegToRad);
    // The pedal face drawn downwards, from 60 mm above the PRP to 60 mm below.
    car.pedal = host_testing::make_line({kPrpL - 60 * c, kPedalW, kPrpH + 60 * s},
                                        {kPrpL + 60 * c, kPedalW, kPrpH - 60 * s});
    car.floor = host_testing::make_line({200, kPedalW, 0}, {1700, kPedalW, 0});
    if (!car.pedal || !car.floor || !host_testing::make_rule_instance("root:", kDesign, kDesignClass, driver_design())) {
        std::fprintf(stderr, "the car could not be made\n");
        std::exit(1);
    }
    return car;
}

/* ---- the read and solve ---- */

struct Solved {
    HPD_apf_values_t design;
    double heel[3];          // AHP on the floor
    double pedal_angle;      // A47 of the shoe on the pedal
    double sgrp[3];
    HPD_apf_shoe_values_t right_shoe;
};

// 0, or the first nonzero code of a step.
int read_and_solve(const Car& car, Solved& out) {
    HPD_apf_values_t& v = out.design;
    v = HPD_apf_values_t{};
    if (int code = HM_VD_HPD_ask_result(kDesign, &v)) return code;

    // The shoe from the record's heel, in the pedal's side-view plane.
    out.heel[0] = v.right_shoe.heel_point[0];
    out.heel[1] = v.prp[1];
    out.heel[2] = v.right_shoe.heel_point[2];
    out.pedal_angle = v.right_shoe.pedal_angle;
    if (int code = HM_VD_HPD_ask_occ_target(true, car.pedal, &out.pedal_angle, 0, car.floor, out.heel, v.pv_angle,
                                            v.sgrp, v.lateral_offset))
        return code;

    HM_VD_HPD_ask_sgrp_on_curve(out.heel, out.pedal_angle, kH30Mm, v.pv_angle, out.sgrp, kSgrpLateralMm,
                                v.vehicle_class, v.male_female_ratio);
    double legs[2] = {v.upper_leg_length, v.lower_leg_length};
    const int code = HM_VD_HPD_AskAnglesRoom(out.sgrp, v.pv_angle, v.back_angle, legs, out.heel, out.pedal_angle,
                                             false, &out.right_shoe);
    UPDATE_do_update();
    return code;
}

/* ---- the baseline: the same queries straight to the rule store ---- */

enum class Kind { Integer, Number, Boolean, Point, Frame, PointMember, NumberMember };
struct Query {
    Kind kind;
    const char* attribute;
    int member;
};

// The attributes the record reader asks of a driver design without a second
// right leg, in its order.
const std::vector<Query> kRecordQueries = {
    {Kind::Integer, "rcode", 0},
    {Kind::Integer, "Algorithm_version", 0},
    {Kind::Frame, "referenceFrame", 0},
    {Kind::Number, "pv_angle_internal", 0},
    {Kind::Boolean, "rt_clear_interference?", 0},
    {Kind::Number, "rt_lateral_offset_internal", 0},
    {Kind::Integer, "seating_position", 0},
    {Kind::Integer, "vehicle_class", 0},
    {Kind::Integer, "Male_Female_Ratio", 0},
    {Kind::Integer, "UI_leg_length_type", 0},
    {Kind::Number, "upper_leg_length_internal", 0},
    {Kind::Number, "lower_leg_length_internal", 0},
    {Kind::Number, "target_back_angle_internal", 0},
    {Kind::Number, "target_cushion_angle_internal", 0},
    {Kind::Number, "target_lumbar_support_internal", 0},
    {Kind::Boolean, "position_left_shoe?", 0},
    {Kind::Boolean, "UI_move_along_SgRP_curve?", 0},
    {Kind::Integer, "is_copy_right_shoe_orientation", 0},
    {Kind::Integer, "use_variable_toggle", 0},
    {Kind::Integer, "variable_type", 0},
    {Kind::Number, "adjust_variable", 0},
    {Kind::Point, "UpdateSgrpPt", 0},
    {Kind::Integer, "occ_position_method", 0},
    {Kind::PointMember, "Result_AHPs", 1},
    {Kind::NumberMember, "A47s", 1},
    {Kind::PointMember, "AHPs", 1},
    {Kind::PointMember, "Result_AHPs", 2},
    {Kind::NumberMember, "A47s", 2},
    {Kind::Boolean, "add_2nd_right_leg?", 0},
    {Kind::Integer, "rt_lock_type", 0},
};

// Asks every query of the instance; the number of answers read.
int rule_store_read() {
    int read = VD_is_instance_of_class("root:", kDesign, kDesignClass) ? 1 : 0;
    char path[128];
    double values[12];
    for (const Query& q : kRecordQueries) {
        std::snprintf(path, sizeof path, "root:%s:%s:", kDesign, q.attribute);
        TEXT_t text;
        TEXT_init_string(&text, path);
        int code = 0, integer = 0;
        bool boolean = false;
        switch (q.kind) {
        case Kind::Integer: code = VD_RQ_ask_integer(&text, &integer); break;
        case Kind::Number: code = VD_RQ_ask_number(&text, values); break;
        case Kind::Boolean: code = VD_RQ_ask_boolean(&text, &boolean); break;
        case Kind::Point: code = VD_RQ_ask_point(&text, values); break;
        case Kind::Frame: code = VD_RQ_ask_frame(&text, values, values + 3); break;
        case Kind::PointMember: code = VD_RQ_ask_point_list_member(&text, q.member, values); break;
        case Kind::NumberMember: code = VD_RQ_ask_number_list_member(&text, q.member, values); break;
        }
        TEXT_free(&text);
        benchmark::DoNotOptimize(values);
        if (code == 0) ++read;
    }
    return read;
}

void print_solution(const Solved& s) {
    const HPD_apf_shoe_values_t& r = s.right_shoe;
    std::printf("Solved driver (class A, H30 %.0f mm, legs %.0f/%.0f mm, back angle %.0f deg):\n", kH30Mm,
                s.design.upper_leg_length, s.design.lower_leg_length, s.design.back_angle);
    std::printf("  AHP (%.1f, %.1f, %.1f)  A47 %.2f deg  SgRP (%.1f, %.1f, %.1f)\n", s.heel[0], s.heel[1], s.heel[2],
                s.pedal_angle, s.sgrp[0], s.sgrp[1], s.sgrp[2]);
    std::printf("  ankle %.2f  knee %.2f  hip %.2f  thigh %.2f deg  leg room %.1f mm\n", r.ankle_angle, r.knee_angle,
                r.hip_angle, r.thigh_angle, r.leg_room);
}

}  // namespace

int main(int argc, char** argv) {
    const Car car = make_car();

    // Every step must succeed once before anything is timed.
    Solved solved{};
    if (int code = read_and_solve(car, solved)) {
        std::fprintf(stderr, "the design does not solve: code %d\n", code);
        return 1;
    }
    const int answers = rule_store_read();
    if (answers != static_cast<int>(kRecordQueries.size()) + 1) {
        std::fprintf(stderr, "the rule store answered %d of %zu queries\n", answers, kRecordQueries.size() + 1);
        return 1;
    }
    print_solution(solved);
    const int objects = host_testing::count_objects();

    benchmark::RegisterBenchmark("hpoint_design/read_and_solve", [&car](benchmark::State& state) {
        Solved s{};
        for (auto _ : state) {
            if (read_and_solve(car, s) != 0) {
                state.SkipWithError("the design did not solve");
                break;
            }
            benchmark::DoNotOptimize(s);
        }
    })->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("hpoint_design/record_read", [](benchmark::State& state) {
        HPD_apf_values_t v{};
        for (auto _ : state) {
            HM_VD_HPD_ask_result(kDesign, &v);
            benchmark::DoNotOptimize(v);
        }
    })->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("hpoint_design/rule_store_read", [](benchmark::State& state) {
        for (auto _ : state) benchmark::DoNotOptimize(rule_store_read());
    })->Unit(benchmark::kMicrosecond);

    const int code = carvell_bench::run_with_ratios(
        argc, argv,
        {{"read and solve/rule-store read", "hpoint_design/read_and_solve", "hpoint_design/rule_store_read"},
         {"record read/rule-store read", "hpoint_design/record_read", "hpoint_design/rule_store_read"},
         {"read and solve/record read", "hpoint_design/read_and_solve", "hpoint_design/record_read"}});
    // The solve leaves nothing behind in the part, however often it ran.
    if (host_testing::count_objects() != objects)
        std::fprintf(stderr, "the part holds %d objects after the run, %d before\n", host_testing::count_objects(),
                     objects);
    host_testing::reset();
    return code;
}
