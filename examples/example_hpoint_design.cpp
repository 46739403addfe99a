// The H-point design tool as its host uses it: a part holds a driver's
// design instance; the tool reads the design back, writes its CSV
// spreadsheet and its HTML report into an output folder, and shows the
// report in the listing window.
//
// Usage: example_hpoint_design [output-folder]   (default: hpoint-output)
#include "host_testing.h"
#include "hpd.h"
#include "omvra.h"
#include "quillon.h"

#include <sys/stat.h>

#include <cstdio>
#include <string>

namespace {

std::string point(double x, double y, double z) {
    char text[128];
    std::snprintf(text, sizeof text, "Point(%.10g,%.10g,%.10g)", x, y, z);
    return text;
}

// A driver in a millimetre part: seating reference point 1000 mm behind the
// origin, 370 mm left of the centre plane and 600 mm up; 500 mm thigh and
// lower leg; the accelerator heel point 399 mm forward and 467 mm below it;
// the left shoe on the floor further forward.
host_testing::RuleTexts typical_driver() {
    return {
        {"rcode", "0"},
        {"Algorithm_version", "2"},
        {"pv_angle_internal", "0.0"},
        {"rt_lateral_offset_internal", "25.0"},
        {"seating_position", "0"},
        {"vehicle_class", "0"},
        {"Male_Female_Ratio", "2"},
        {"UI_leg_length_type", "0"},
        {"upper_leg_length_internal", "500.0"},
        {"lower_leg_length_internal", "500.0"},
        {"target_back_angle_internal", "22.0"},
        {"target_cushion_angle_internal", "14.5"},
        {"target_lumbar_support_internal", "10.0"},
        {"position_left_shoe?", "TRUE"},
        {"UpdateSgrpPt", point(1000, -370, 600)},
        {"occ_position_method", "0"},
        {"Result_AHPs", "{ " + point(601, -370, 133) + ", " + point(481, -570, 493) + " }"},
        {"AHPs", "{ " + point(601, -370, 133) + " }"},
        {"A47s", "{ 0.0, 0.0 }"},
        {"add_2nd_right_leg?", "FALSE"},
        {"ExportAssociatedSheetName", "\"DRIVER.csv\""},
        {"ImportAssociatedSheetName", "\"\""},
    };
}

void print_shoe(const char* leg, const HPD_apf_shoe_values_t& s) {
    std::printf("  %-11s heel (%.1f, %.1f, %.1f)  ankle %.2f  knee %.2f  hip %.2f  thigh %.2f  leg room %.1f\n",
                leg, s.heel_point[0], s.heel_point[1], s.heel_point[2], s.ankle_angle, s.knee_angle, s.hip_angle,
                s.thigh_angle, s.leg_room);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string folder = argc > 1 ? argv[1] : "hpoint-output";
    ::mkdir(folder.c_str(), 0755);

    host_testing::reset();
    host_testing::make_part("driver_seating", false);
    if (!host_testing::make_rule_instance("root:", "DRIVER", "%kw_vd_H_point_design_tool", typical_driver()) ||
        !host_testing::make_instance_feature("DRIVER", "H-Point Design(1)")) {
        std::fprintf(stderr, "could not make the design instance\n");
        return 1;
    }

    HPD_apf_values_t design{};
    int code = HM_VD_HPD_ask_result("DRIVER", &design);
    if (code != 0) {
        std::fprintf(stderr, "reading the design failed with code %d\n", code);
        return 1;
    }
    std::printf("Design DRIVER read back (%s part):\n", design.part_unit ? "inch" : "millimetre");
    std::printf("  SgRP (%.1f, %.1f, %.1f)  PRP (%.1f, %.1f, %.1f)  seat height H30 %.1f\n", design.sgrp[0],
                design.sgrp[1], design.sgrp[2], design.prp[0], design.prp[1], design.prp[2], design.seat_height);
    print_shoe("right leg", design.right_shoe);
    print_shoe("left leg", design.left_shoe);

    const std::string csv = folder + "/DRIVER.csv";
    char* error_text = nullptr;
    char* full_name = nullptr;
    if (!HM_VD_HPD_validate_file_name(csv.c_str(), &error_text, 0, &full_name)) {
        std::fprintf(stderr, "spreadsheet name refused: %s\n", error_text ? error_text : "");
        SM_free(error_text);
        return 1;
    }
    code = HM_VD_HPD_write_spreadsheet_value(&design, full_name);
    SM_free(full_name);
    if (code != 0) {
        std::fprintf(stderr, "writing %s failed with code %d\n", csv.c_str(), code);
        return 1;
    }
    std::printf("Spreadsheet written: %s\n", csv.c_str());

    const std::string html = folder + "/DRIVER_report.html";
    FILE* file = std::fopen(html.c_str(), "w");
    if (!file) {
        std::fprintf(stderr, "cannot write %s\n", html.c_str());
        return 1;
    }
    HM_VD_HPD_OutputReport("DRIVER", file);
    std::fclose(file);
    std::printf("HTML report written: %s\n\nListing window:\n", html.c_str());

    HM_VD_HPD_DisplayResultInWindow("DRIVER");
    std::fputs(host_testing::listing_window().c_str(), stdout);

    host_testing::reset();
    return 0;
}
