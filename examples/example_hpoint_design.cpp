// The H-point design tool as a packaging engineer runs it for the driver of
// a class A car (a passenger car: seat height H30 between 127 and 405 mm):
// the tool's standard driver sits at H30 = 270 mm with a 25 degree back
// angle. The tool puts the right shoe on the accelerator pad and the heel on
// the floor, places the seating reference point (SgRP) on the class A seat
// curve, and reads back the posture. Beside it the example prints the seat
// position that the published SAE J1517 / J4004 accommodation line gives
// for the same seat height, writes the CSV spreadsheet and the HTML report,
// shows the listing-window report, and writes the result geometry as a
// STEP file.
//
// Vehicle frame: x rearward, y lateral (+y to the driver's right, y = 0 the
// car's centre plane), z up; millimetres and degrees throughout. The heel
// floor is z = 0; x = 0 lies ahead of the toe board.
//
// Usage: example_hpoint_design [output-folder]   (default: hpoint-output)
#include "host_testing.h"
#include "hpd.h"
#include "omvra.h"
#include "quillon.h"

#include <sys/stat.h>

#include <cmath>
#include <cstdio>
#include <string>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDeg = kPi / 180.0;

/* ---- the design brief ---- */

const char* const kDesign = "DRIVER";
constexpr int kClassA = 0;
constexpr double kSeatHeight = 270.0;   // H30, SgRP above the accelerator heel point
constexpr double kBackAngle = 25.0;     // A40
// The tool's standard driver: thigh (H-point to knee) and lower leg (knee
// to ankle), the lengths for which its standard formulas hold.
constexpr double kThigh = 456.0;
constexpr double kLowerLeg = 459.0;
// The driver's seat centre line of a left-hand-drive car, and the right
// heel 148.5 mm to the right of it, where the tool's standard driver puts it.
constexpr double kSeatW = -370.0;
constexpr double kHeelW = kSeatW + 148.5;
constexpr double kShoeLength = 200.0;   // heel to ball of foot, the tool's shoe

/* ---- the pedal box ---- */

// The accelerator pad in the plane of the right heel: 120 mm long, slightly
// convex (300 mm radius), its middle 170 mm above the heel floor at x = 600
// and inclined 54 degrees to the floor there. That is close to the 55.4
// degrees that the standard pedal-angle relation (77 degrees less 0.08
// degree per mm of H30) asks at a 270 mm seat height; where the 200 mm shoe
// actually touches the pad is for the contact solver to find.
constexpr double kPadMiddleX = 600.0;
constexpr double kPadMiddleZ = 170.0;
constexpr double kPadMiddleAngle = 54.0;
constexpr double kPadRadius = 300.0;
constexpr double kPadLength = 120.0;
constexpr double kPadWidth = 80.0;
// The heel floor under the right foot, flat from the toe board rearward.
constexpr double kFloorFrontX = 550.0;
constexpr double kFloorRearX = 1200.0;

// X of the SgRP rearward of the ball of foot for a class A seat height z
// (mm), the SAE J1517 / J4004 accommodation line written out here on its
// own, so that the tool's answer is checked against the published one.
double sae_class_a_x(double z) { return 913.7 + 0.672316 * z - 0.0019553 * z * z; }

using host_testing::Point3;

tag_t named(tag_t object, const char* name) {
    if (object) HM_OBJ_set_name(object, name);
    return object;
}

std::string text_of(const Point3& p) {
    char text[128];
    std::snprintf(text, sizeof text, "Point(%.10g,%.10g,%.10g)", p[0], p[1], p[2]);
    return text;
}

std::string text_of(double v) {
    char text[64];
    std::snprintf(text, sizeof text, "%.10g", v);
    return text;
}

struct PedalBox {
    tag_t floor = 0;
    tag_t pad = 0;
};

// The heel floor line and the accelerator pad's face curve, both in the
// right heel's plane.
PedalBox build_pedal_box() {
    PedalBox box;
    box.floor = named(host_testing::make_line({kFloorFrontX, kHeelW, 0.0}, {kFloorRearX, kHeelW, 0.0}), "HEEL_FLOOR");
    // The pad's face normal points rearward and up, (sin a, cos a) in (x, z)
    // for the inclination a; the arc runs about its centre in the x-z plane.
    const double normal = (90.0 - kPadMiddleAngle) * kDeg;
    const double half_sweep = kPadLength / 2.0 / kPadRadius;
    const Point3 centre = {kPadMiddleX - kPadRadius * std::cos(normal), kHeelW,
                           kPadMiddleZ - kPadRadius * std::sin(normal)};
    box.pad = named(host_testing::make_arc(centre, kPadRadius, normal - half_sweep, normal + half_sweep, {1, 0, 0},
                                           {0, 0, 1}),
                    "ACCELERATOR_PAD");
    return box;
}

struct Shoe {
    Point3 heel{};   // accelerator heel point (AHP)
    Point3 ball{};   // ball of foot on the pad (the pedal reference point)
    double angle = 0.0;   // A47, the sole's angle to the floor
};

// The contact solver: the sole along the pad where it touches it, the heel
// on the floor. The solver's temporary copies go at the model update.
bool place_shoe(const PedalBox& box, Shoe* shoe) {
    double heel[3] = {kPadMiddleX, kHeelW, 0.0}, angle = 0.0, centre[3] = {0.0, 0.0, 0.0};
    const int code = HM_VD_HPD_ask_occ_target(true, box.pad, &angle, 0, box.floor, heel, 0.0, centre, 0.0);
    HM_MODL_update();
    if (code != 0) {
        std::fprintf(stderr, "the shoe could not be placed on the pedal (code %d)\n", code);
        return false;
    }
    double ball[3];
    HM_VD_HPD_ask_prp_by_ahp_no_offset(heel, angle, 0.0, ball);
    shoe->heel = {heel[0], heel[1], heel[2]};
    shoe->ball = {ball[0], ball[1], ball[2]};
    shoe->angle = angle;
    return true;
}

// The SgRP on the class A seat curve for the shoe and the seat height, and
// the seat curve itself (SgRP heights 127 to 405 mm) through it.
tag_t place_seat(const Shoe& shoe, Point3* sgrp) {
    double heel[3] = {shoe.heel[0], shoe.heel[1], shoe.heel[2]}, point[3];
    HM_VD_HPD_ask_sgrp_on_curve(heel, shoe.angle, kSeatHeight, 0.0, point, 0.0, kClassA, 0);
    *sgrp = {point[0], point[1], point[2]};
    double origin[3] = {0, 0, 0}, axes[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1}, centre[3] = {0, 0, 0};
    tag_t curve = 0;
    VD_HPD_update_sgrp_curve_A(shoe.ball[0], point[1], shoe.heel[2], 0.0, &curve, origin, axes, centre);
    return named(curve, "SGRP_CURVE_CLASS_A");
}

// The design instance as the tool's dialog leaves it in the part, with its
// feature and its seat curve.
bool record_design(const Shoe& shoe, const Point3& sgrp, tag_t seat_curve) {
    const std::string heel = text_of(shoe.heel);
    const host_testing::RuleTexts rules = {
        {"rcode", "0"},
        {"Algorithm_version", "2"},
        {"pv_angle_internal", "0.0"},
        {"rt_lateral_offset_internal", "0.0"},
        {"seating_position", "0"},
        {"vehicle_class", std::to_string(kClassA)},
        {"Male_Female_Ratio", "0"},
        {"UI_leg_length_type", "0"},
        {"upper_leg_length_internal", text_of(kThigh)},
        {"lower_leg_length_internal", text_of(kLowerLeg)},
        {"target_back_angle_internal", text_of(kBackAngle)},
        {"target_cushion_angle_internal", "14.5"},
        {"target_lumbar_support_internal", "10.0"},
        {"position_left_shoe?", "FALSE"},
        {"UpdateSgrpPt", text_of(sgrp)},
        {"occ_position_method", "0"},
        {"Result_AHPs", "{ " + heel + " }"},
        {"AHPs", "{ " + heel + " }"},
        {"A47s", "{ " + text_of(shoe.angle) + " }"},
        {"add_2nd_right_leg?", "FALSE"},
        {"ExportAssociatedSheetName", "\"DRIVER.csv\""},
        {"ImportAssociatedSheetName", "\"\""},
    };
    const std::string design = std::string("root:") + kDesign + ":";
    const std::string geometry = design + "Hpd_geometry:";
    return host_testing::make_rule_instance("root:", kDesign, "%kw_vd_H_point_design_tool", rules) &&
           host_testing::make_instance_feature(kDesign, "H-Point Design(1)") &&
           host_testing::make_rule_instance(design.c_str(), "Hpd_geometry", "%kw_vd_hpd_geometry") &&
           host_testing::make_rule_instance(geometry.c_str(), "Sgrp_Curve", "%kw_conic") &&
           host_testing::add_instance_object((geometry + "Sgrp_Curve:").c_str(), seat_curve) == 0;
}

void print_posture(const HPD_apf_values_t& d) {
    const HPD_apf_shoe_values_t& r = d.right_shoe;
    std::printf("Driver posture, class A, standard driver (thigh %.0f mm, lower leg %.0f mm):\n",
                d.upper_leg_length, d.lower_leg_length);
    std::printf("  SgRP             (%7.1f, %6.1f, %5.1f)   %.3f mm from the class A seat curve\n", d.sgrp[0],
                d.sgrp[1], d.sgrp[2], d.sgrp_curve_distance);
    std::printf("  AHP (heel)       (%7.1f, %6.1f, %5.1f)\n", r.heel_point[0], r.heel_point[1], r.heel_point[2]);
    std::printf("  ball of foot     (%7.1f, %6.1f, %5.1f)   on the accelerator pad\n", d.prp[0], d.prp[1],
                d.prp[2]);
    std::printf("  H30 seat height  %6.1f mm     A40 back angle  %5.1f deg\n", d.seat_height, d.back_angle);
    std::printf("  A47 pedal angle  %6.2f deg    A46 ankle       %6.2f deg\n", r.pedal_angle, r.ankle_angle);
    std::printf("  A44 knee         %6.2f deg    A42 hip         %6.2f deg\n", r.knee_angle, r.hip_angle);
    std::printf("  A57 thigh        %6.2f deg    leg room        %6.1f mm\n", r.thigh_angle, r.leg_room);
}

void print_sae_comparison(const HPD_apf_values_t& d) {
    const double tool = d.sgrp[0] - d.prp[0];
    const double sae = sae_class_a_x(d.seat_height);
    // Below the printed precision the difference is shown as nought, unsigned.
    const double difference = std::fabs(tool - sae) < 5e-4 ? 0.0 : tool - sae;
    std::printf("SgRP rearward of the ball of foot at H30 = %.1f mm:\n", d.seat_height);
    std::printf("  H-point design tool           %8.3f mm\n", tool);
    std::printf("  SAE J1517/J4004, class A      %8.3f mm   (913.7 + 0.672316 z - 0.0019553 z^2)\n", sae);
    std::printf("  difference (tool - SAE)       %8.3f mm\n", difference);
}

bool write_spreadsheet(HPD_apf_values_t* design, const std::string& folder) {
    const std::string csv = folder + "/DRIVER.csv";
    char* error_text = nullptr;
    char* full_name = nullptr;
    if (!HM_VD_HPD_validate_file_name(csv.c_str(), &error_text, 0, &full_name)) {
        std::fprintf(stderr, "spreadsheet name refused: %s\n", error_text ? error_text : "");
        SM_free(error_text);
        return false;
    }
    const int code = HM_VD_HPD_write_spreadsheet_value(design, full_name);
    SM_free(full_name);
    if (code != 0) {
        std::fprintf(stderr, "writing %s failed with code %d\n", csv.c_str(), code);
        return false;
    }
    std::printf("Spreadsheet written: %s\n", csv.c_str());
    return true;
}

bool write_report(const std::string& folder) {
    const std::string html = folder + "/DRIVER_report.html";
    FILE* file = std::fopen(html.c_str(), "w");
    if (!file) {
        std::fprintf(stderr, "cannot write %s\n", html.c_str());
        return false;
    }
    HM_VD_HPD_OutputReport(kDesign, file);
    std::fclose(file);
    std::printf("HTML report written: %s\n", html.c_str());
    return true;
}

void show_listing_window() {
    std::printf("\nListing window:\n");
    HM_VD_HPD_DisplayResultInWindow(kDesign);
    std::fputs(host_testing::listing_window().c_str(), stdout);
}

// The result geometry beside the pedal box and the seat curve: the shoe's
// sole and its contact line across the pad, and the leg's links. The tool
// solves the leg in the side view, so the links are drawn in the right
// heel's plane, from the hip (the SgRP carried across along the hip axis)
// through knee and ankle to the heel.
void draw_result_geometry(const HPD_apf_values_t& d) {
    const Point3 sgrp = {d.sgrp[0], d.sgrp[1], d.sgrp[2]};
    const Point3 heel = {d.right_shoe.heel_point[0], d.right_shoe.heel_point[1], d.right_shoe.heel_point[2]};
    const Point3 ball = {d.prp[0], d.prp[1], d.prp[2]};
    const Point3 hip = {sgrp[0], heel[1], sgrp[2]};
    // The ankle of the tool's shoe: 81 mm ahead of and 107 mm above the heel
    // of a level shoe, turned with the sole.
    const double s = d.right_shoe.pedal_angle * kDeg;
    const Point3 ankle = {heel[0] - 81.0 * std::cos(s) + 107.0 * std::sin(s), heel[1],
                          heel[2] + 81.0 * std::sin(s) + 107.0 * std::cos(s)};
    // The knee where thigh and lower leg meet, the higher of the two points.
    double hip_side[2] = {hip[0], hip[2]}, ankle_side[2] = {ankle[0], ankle[2]}, knees[2][2];
    int count = 0;
    Point3 knee = ankle;
    if (HM_VD_ask_circle_intersect_point(hip_side, d.upper_leg_length, ankle_side, d.lower_leg_length, &count,
                                         knees) == 0) {
        const int upper = count > 1 && knees[1][1] > knees[0][1] ? 1 : 0;
        knee = {knees[upper][0], heel[1], knees[upper][1]};
    }

    named(host_testing::make_line(heel, ball), "SHOE_SOLE");
    named(host_testing::make_line({ball[0], ball[1] - kPadWidth / 2, ball[2]},
                                  {ball[0], ball[1] + kPadWidth / 2, ball[2]}),
          "PEDAL_CONTACT");
    named(host_testing::make_line(sgrp, hip), "HIP_AXIS");
    named(host_testing::make_line(hip, knee), "THIGH");
    named(host_testing::make_line(knee, ankle), "LOWER_LEG");
    named(host_testing::make_line(ankle, heel), "FOOT");
    named(host_testing::make_point(sgrp), "SGRP");
    named(host_testing::make_point(knee), "KNEE");
    named(host_testing::make_point(ankle), "ANKLE");
    named(host_testing::make_point(heel), "AHP");
    named(host_testing::make_point(ball), "BALL_OF_FOOT");
}

bool write_geometry(const std::string& folder) {
    const std::string step = folder + "/hpoint_design.step";
    const int count = host_testing::write_step(step.c_str());
    if (count <= 0) {
        std::fprintf(stderr, "writing %s failed\n", step.c_str());
        return false;
    }
    std::printf("Result geometry written: %s (%d objects; open it in any CAD viewer)\n", step.c_str(), count);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string folder = argc > 1 ? argv[1] : "hpoint-output";
    ::mkdir(folder.c_str(), 0755);
    host_testing::reset();
    host_testing::make_part("driver_seating", false);

    const PedalBox box = build_pedal_box();
    Shoe shoe;
    if (!box.floor || !box.pad || !place_shoe(box, &shoe)) return 1;
    Point3 sgrp;
    const tag_t seat_curve = place_seat(shoe, &sgrp);
    if (!seat_curve || !record_design(shoe, sgrp, seat_curve)) {
        std::fprintf(stderr, "could not make the design instance\n");
        return 1;
    }
    HPD_apf_values_t design{};
    if (const int code = HM_VD_HPD_ask_result(kDesign, &design)) {
        std::fprintf(stderr, "reading the design failed with code %d\n", code);
        return 1;
    }

    print_posture(design);
    print_sae_comparison(design);
    std::printf("\n");
    if (!write_spreadsheet(&design, folder) || !write_report(folder)) return 1;
    draw_result_geometry(design);
    if (!write_geometry(folder)) return 1;
    show_listing_window();

    host_testing::reset();
    return 0;
}
