// The tire envelope of a front right wheel as a chassis engineer builds it
// for wheelhouse clearance: a 235/55 R18 tire (section width 235 mm, section
// height 129.25 mm, rim diameter 457.2 mm, overall diameter 715.7 mm) on a
// 1,580 mm front track with 0.2 degrees toe-in and -0.5 degrees camber,
// moving 80 mm in jounce and 90 mm in rebound and steering 35 degrees to
// both locks. The suspension's spindle positions are stored in the
// tire-envelope tool's instance as the tool stores its spindle file; the
// engine writes them back, builds the 19 radial section splines from 0 to
// 180 degrees (trimmed 250 mm from the spindle), the profile spline and the
// reference lines, records the run in the part, and then lofts the envelope
// sheet through the section splines. The example prints what the engineer
// checks beside the figures the set-up gives, and writes the geometry as a
// STEP file.
//
// Vehicle frame: x rearward, y lateral (+y to the right, y = 0 the car's
// centre plane), z up; millimetres and degrees.
//
// Usage: example_tire_envelope [output-folder]   (default: tire-envelope-output)
#include "front_wheel_spindle.h"
#include "host_testing.h"
#include "omvra.h"
#include "quillon.h"
#include "tire_envelope.h"

#include <sys/stat.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using front_wheel::kJounce;
using front_wheel::kTrack;
using front_wheel::spindle_file;

constexpr double kRimDiameter = 457.2;    // 18 inches
constexpr double kSectionHeight = 129.25;  // 55 % of 235
constexpr double kTireRadius = kRimDiameter / 2 + kSectionHeight;   // 357.85
constexpr const char* kInstance = "FR_TIRE_ENVELOPE";

void store_instance() {
    std::string list = "{ ";
    const auto lines = spindle_file();
    for (size_t i = 0; i < lines.size(); ++i) list += (i ? ", \"" : "\"") + lines[i] + "\n\"";
    list += " }";
    host_testing::make_rule_instance("root:", kInstance, "%kw_vd_evt_envelope",
                                     {{"spindle_file_data", list}, {"spindle_line_count", "1"}});
    std::printf("Spindle file stored in the tool instance: %zu lines, %zu records\n", lines.size(),
                lines.size() - 4);
}

void fill(tire_envelope_params_s& p, const std::string& folder) {
    p = tire_envelope_params_s{};
    std::snprintf(p.instance_name, sizeof p.instance_name, "%s", kInstance);
    p.csys_matrix[0] = p.csys_matrix[4] = p.csys_matrix[8] = 1.0;
    std::snprintf(p.profile_file, sizeof p.profile_file, "235_55_R18.prf");
    p.rim_diameter = kRimDiameter;
    std::snprintf(p.rim_size, sizeof p.rim_size, "18x7.5J");
    // Half profile: lateral offset from the centerline, height above the rim seat.
    const double half[][2] = {{0.0, 129.25},  {20.0, 129.0},  {40.0, 128.3}, {60.0, 127.0},
                              {80.0, 124.5},  {95.0, 120.0},  {105.0, 112.0}, {112.0, 100.0},
                              {116.5, 80.0},  {117.5, 55.0},  {115.0, 30.0}, {108.0, 10.0}};
    p.num_profile_pts = 12;
    for (int i = 0; i < 12; ++i) {
        p.profile_pts[i][0] = half[i][0];
        p.profile_pts[i][1] = half[i][1];
    }
    p.half_profile = 1;
    std::snprintf(p.spindle_file, sizeof p.spindle_file, "fr_spindle.pts");
    std::snprintf(p.vehicle_program, sizeof p.vehicle_program, "C-SEGMENT SUV");
    std::snprintf(p.suspension, sizeof p.suspension, "SLA FRONT");
    std::snprintf(p.notes, sizeof p.notes, "Wheelhouse clearance study");
    std::snprintf(p.offset_file, sizeof p.offset_file, "%s/none.off", folder.c_str());
    p.update_part = 1;
    p.create_sheet = 1;
    p.trim_dist = 250.0;
    p.concavity = 0.5;
    p.sec1_layer = 101;
    p.surface_layer = 150;
    p.profile_layer = 151;
    p.spindle_line_layer = 152;
    p.radial_start = 0.0;
    p.radial_end = 180.0;
    p.cur_offset_section = -1;
}

void print_syslog() {
    std::printf("\nSystem log of the run:\n");
    std::string all;
    for (const auto& line : host_testing::syslog()) all += line;
    std::printf("%s\n", all.c_str());
}

void print_part_records(const tire_envelope_params_s& p, tag_t part) {
    std::printf("Categories:");
    for (tag_t c = HM_OBJ_cycle_objs_in_part(part, HM_category_type, 0); c;
         c = HM_OBJ_cycle_objs_in_part(part, HM_category_type, c)) {
        char name[64];
        HM_OBJ_ask_name(c, name, sizeof name);
        std::printf(" %s", name);
    }
    std::printf("\n");
    for (tag_t s = HM_OBJ_cycle_objs_in_part(part, HM_reference_set_type, 0); s;
         s = HM_OBJ_cycle_objs_in_part(part, HM_reference_set_type, s)) {
        int n = 0;
        tag_t* members = nullptr;
        HM_ASSEM_ask_ref_set_members(s, &n, &members);
        std::printf("Reference set \"PART\": %d members (wheel, tire and spindle lines)\n", n);
        SM_free(members);
    }
    std::printf("DESLOG attributes:\n");
    for (int k = 1;; ++k) {
        char title[32], *value = nullptr;
        std::snprintf(title, sizeof title, "DESLOG%d", k);
        if (HM_ATTR_ask_string(part, title, &value) != 0) break;
        std::printf("  %s: \"%.60s...\"\n", title, value);
        SM_free(value);
    }
    (void)p;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string folder = argc > 1 ? argv[1] : "tire-envelope-output";
    ::mkdir(folder.c_str(), 0755);
    host_testing::reset();
    const tag_t part = host_testing::make_part("front_wheelhouse", false);
    host_testing::set_env("KWII_TMP_DIR", folder.c_str());
    store_instance();

    tire_envelope_params_s p;
    fill(p, folder);
    int count = 0;
    tag_t splines[64] = {};
    tag_t profile = 0, wheel = 0, tire = 0, spindle = 0;
    const int result = create_tire_envelope_curves(&p, &count, splines, &profile, &wheel, &tire, &spindle);
    print_syslog();
    std::printf("create_tire_envelope_curves: %d, status \"%s\"\n", result,
                host_testing::status_texts().back().c_str());
    std::printf("Side %+.0f, design spindle (%.1f, %.1f, %.1f); expected y = +%.1f (half the track)\n", p.side,
                p.design_point[0], p.design_point[1], p.design_point[2], kTrack / 2);
    std::printf("Prepared profile: %d points; %d radial sections, %d section splines (expected 19):\n",
                p.num_profile_pts, p.num_sections, count);
    for (int i = 0; i < count; ++i) {
        int layer = 0;
        HM_OBJ_ask_layer(splines[i], &layer);
        // Section i goes on layer sec1_layer + i: the layer names the section.
        std::printf("  %6.1f deg  spline %u on layer %d\n", p.section_angles[layer - p.sec1_layer], splines[i],
                    layer);
    }
    for (const auto& d : host_testing::dialogs())
        std::printf("Dialog \"%s\": %s%s\n", d.title.c_str(), d.lines.empty() ? "" : d.lines[0].c_str(),
                    d.lines.size() > 1 ? " ..." : "");
    print_part_records(p, part);

    gen_tire_envelope(&p, count, splines);
    hm_list_p_t faces = nullptr;
    int n_faces = 0;
    double box[6] = {};
    if (p.sheet_body) {
        HM_MODL_ask_body_faces(p.sheet_body, &faces);
        HM_MODL_ask_list_count(faces, &n_faces);
        HM_MODL_delete_list(&faces);
        HM_MODL_ask_bounding_box(p.sheet_body, box);
    }
    std::printf("\nEnvelope sheet: %d faces, box x %.1f..%.1f  y %.1f..%.1f  z %.1f..%.1f\n", n_faces, box[0],
                box[3], box[1], box[4], box[2], box[5]);
    const double need = p.design_point[2] + kTireRadius + kJounce;
    std::printf("Top of the envelope %.1f mm; tire radius %.2f + jounce %.0f above the design spindle gives %.1f: %s\n",
                box[5], kTireRadius, kJounce, need, box[5] >= need - 1.0 ? "covered" : "NOT covered");
    std::printf("gen_tire_envelope status: \"%s\"\n", host_testing::status_texts().back().c_str());
    const std::string copy = folder + "/spindle_file.pts";
    std::printf("Spindle file copy kept: %s\n", copy.c_str());
    const std::string step = folder + "/tire_envelope.step";
    const int written = host_testing::write_step(step.c_str());
    std::printf("Result geometry written: %s (%d objects; open it in any CAD viewer)\n", step.c_str(), written);
    return result == 0 && p.sheet_body && written > 0 ? 0 : 1;
}
