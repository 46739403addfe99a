// A rear solid axle on five links (a pickup's or a large sedan's: 265/70
// R17 tires, loaded radius 380 mm, track 1600 mm), built with the
// five-link-axle template from the left hard points (mm, x rearward, y to
// the left, z up) mirrored through y = 0:
//
//   wheel centre            (3000, 800, 380)
//   lower arm front / rear  (2420, 500, 330) / (3000, 560, 240)
//   upper arm front / rear  (2500, 380, 520) / (3050, 180, 560)
//   shock lower / upper     (3080, 640, 280) / (3130, 590, 700)
//   bump stop lower / upper (2960, 680, 440) / (2960, 680, 540)
//   track bar inner         (3100, 560, 400)
//
// The example prints what the template built (20 points, 16 lines, 15
// links, 23 joints, the two shocks as articulation drivers) and whether the
// mechanism is recognised as the template's; then it strokes both shocks
// from -85 mm (rebound) to +85 mm (jounce), about +-80 mm of wheel travel,
// back to the design, and opposite by +-40 mm (roll). Per step it prints,
// and writes to five_link_sweep.csv, both wheel centres, their travel, toe
// asin(-a_x) and camber asin(-a_z) (a: the wheel's outboard spin axis,
// degrees). A rigid axle keeps the two wheels parallel: in heave camber
// stays near 0 and the track bar (a Panhard rod) shifts the axle sideways
// on its arc; in roll the axle tilts, so one wheel gains the camber the
// other loses. The structure is written as STEP and then deleted.
//
// Usage: example_five_link_axle [output-folder]   (default: five-link-output)
#include "five_link_axle_points.h"
#include "hm_vd_fla_susp.h"
#include "hm_vd_motion.h"
#include "host_testing.h"
#include "omvra.h"
#include "quillon.h"

#include <sys/stat.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using P3 = std::array<double, 3>;
constexpr double kDeg = 180.0 / 3.14159265358979323846;

// The shock strokes of the sweep: heave, back to the design, then roll.
std::vector<std::vector<double>> sweep_values() {
    std::vector<std::vector<double>> v;
    for (int i = 0; i <= 34; ++i) v.push_back({-85.0 + 5 * i, -85.0 + 5 * i});
    for (int i = 1; i <= 17; ++i) v.push_back({85.0 - 5 * i, 85.0 - 5 * i});
    for (int i = 1; i <= 8; ++i) v.push_back({5.0 * i, -5.0 * i});
    for (int i = 1; i <= 16; ++i) v.push_back({40.0 - 5 * i, -40.0 + 5 * i});
    for (int i = 1; i <= 8; ++i) v.push_back({-40.0 + 5 * i, 40.0 - 5 * i});
    return v;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string folder = argc > 1 ? argv[1] : "five-link-output";
    ::mkdir(folder.c_str(), 0755);
    host_testing::make_part("rear_five_link_axle", false);
    HM_initialize();

    sFiveLinkAxle_Suspension s;
    HM_VD_FLA_SUSP_initial(&s);
    five_link_axle::fill_points(s);
    const int built = HM_VD_FLA_SUSP_build_structure(&s);
    const int moved = HM_VD_FLA_SUSP_build_motion(&s);
    std::printf("Five-link rear axle: build structure %d, build motion %d\n", built, moved);
    std::printf("  points %d (expected 20), lines %d (16), links %d (15), joints %d (23)\n",
                host_testing::count_objects(0, HM_point_type), host_testing::count_objects(0, HM_line_type),
                host_testing::count_objects(0, HM_motion_link_type), host_testing::count_objects(0, HM_motion_joint_type));
    int count = 0;
    tag_t* drivers = nullptr;
    HM_VD_MOTION_ask_articulation_drive_joints(&count, &drivers);
    std::printf("  articulation drivers:");
    for (int i = 0; i < count; ++i) {
        char name[HM_MOTION_NAME_SIZE];
        HM_OBJ_ask_name(drivers[i], name, sizeof name);
        std::printf(" %s", name);
    }
    std::printf(" (expected L_SHOCK R_SHOCK)\n");
    SM_free(drivers);
    bool recognised = false;
    HM_VD_is_fla_template(&recognised);
    std::printf("  recognised as the five-link-axle template: %s\n\n", recognised ? "yes" : "no");

    const auto values = sweep_values();
    host_testing::Articulation a;
    const int status = host_testing::articulate({s.joints[FLA_L_SHOCK], s.joints[FLA_R_SHOCK]}, values, &a);
    if (status != 0) {
        std::printf("the sweep stopped at step %d (code %d)\n", a.failed_step, status);
        return 1;
    }
    size_t axle = 0;
    while (a.links[axle] != s.links[FLA_LINK_AXLE]) ++axle;
    const P3 wl{s.points[FLA_WHEEL_CENTER][0], s.points[FLA_WHEEL_CENTER][1], s.points[FLA_WHEEL_CENTER][2]};
    const P3 wr{s.points[FLA_WHEEL_CENTER_MIRROR][0], s.points[FLA_WHEEL_CENTER_MIRROR][1],
                s.points[FLA_WHEEL_CENTER_MIRROR][2]};
    const std::string csv_path = folder + "/five_link_sweep.csv";
    FILE* csv = std::fopen(csv_path.c_str(), "w");
    if (csv)
        std::fprintf(csv, "step,left_shock,right_shock,left_x,left_y,left_z,right_x,right_y,right_z,left_travel,"
                          "right_travel,left_toe,right_toe,left_camber,right_camber\n");
    std::printf("%4s %7s %7s | %8s %8s %7s %7s | %8s %8s %7s %7s\n", "step", "L shk", "R shk", "L y", "L trav",
                "L toe", "L camb", "R y", "R trav", "R toe", "R camb");
    for (size_t i = 0; i < a.steps.size(); ++i) {
        const auto& t = a.steps[i][axle];
        const P3 l = host_testing::transform_point(t, wl), r = host_testing::transform_point(t, wr);
        const P3 al = host_testing::transform_vector(t, {0, 1, 0}), ar = host_testing::transform_vector(t, {0, -1, 0});
        const double toe_l = std::asin(-al[0]) * kDeg, toe_r = std::asin(-ar[0]) * kDeg;
        const double camber_l = std::asin(-al[2]) * kDeg, camber_r = std::asin(-ar[2]) * kDeg;
        std::printf("%4zu %7.1f %7.1f | %8.2f %8.2f %7.3f %7.3f | %8.2f %8.2f %7.3f %7.3f\n", i, values[i][0],
                    values[i][1], l[1], l[2] - wl[2], toe_l, camber_l, r[1], r[2] - wr[2], toe_r, camber_r);
        if (csv)
            std::fprintf(csv, "%zu,%.1f,%.1f,%.4f,%.4f,%.4f,%.4f,%.4f,%.4f,%.4f,%.4f,%.5f,%.5f,%.5f,%.5f\n", i,
                         values[i][0], values[i][1], l[0], l[1], l[2], r[0], r[1], r[2], l[2] - wl[2], r[2] - wr[2],
                         toe_l, toe_r, camber_l, camber_r);
    }
    if (csv) std::fclose(csv);
    std::printf("\nlargest joint residual over the sweep: %.1e mm; per-step values in %s\n", a.max_residual,
                csv_path.c_str());

    HM_terminate();
    const std::string step = folder + "/five_link_axle.stp";
    std::printf("%d objects written to %s\n", host_testing::write_step(step.c_str()), step.c_str());
    HM_initialize();
    HM_VD_FLA_SUSP_delete_structure(&s);
    HM_terminate();
    std::printf("after delete structure: points %d, lines %d, links %d, joints %d\n",
                host_testing::count_objects(0, HM_point_type), host_testing::count_objects(0, HM_line_type),
                host_testing::count_objects(0, HM_motion_link_type), host_testing::count_objects(0, HM_motion_joint_type));
    return 0;
}
