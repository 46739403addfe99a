// A whole mirror certification of a left-hand-drive sedan, as a body
// engineer runs it before the mirror release:
//  - the inside mirror through the two-face backlite against FMVSS 111
//    (eyes from the SAE J941 95th-percentile eyellipse; the road seen
//    through mirror and backlite over at least 20 degrees at 61 m (200 ft)
//    behind the eyes), the mirror aimed about its pivot for an upper and a
//    lower target, the two rear head restraints as mirror-target
//    restrictions;
//  - the driver's convex outside mirror (R 1400 with its bezel) against
//    ECE R46 Class III far (ocular points at a 25 degree back angle; the
//    ground seen 4 m wide from the car's side at 20 m behind the eyes).
// For each run it prints the return code, the listing-window report, the
// certifies flag, the standard's figure beside the tool's and the result
// objects; it saves the part and writes the result geometry as STEP into
// the output folder.
//
// Usage: example_mirror_certification [output-folder]   (default: mirror-output)
#include "hm_vd_mc.h"
#include "host_testing.h"
#include "mirror_current_runs.h"
#include "mirror_sedan.h"
#include "omvra.h"

#include <sys/stat.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

using namespace mirror_current_runs;

void print_results(const char* title, int status, const mc_data_s& d, hm_list_p_t results) {
    std::printf("\n=== %s\n  HM_VD_MC_process: %d%s%s\n", title, status, status ? " - " : "", d.error_text);
    std::printf("  certifies: %s\n", d.certifies ? "yes" : "*DOES NOT CERTIFY*");
    print_result_objects(results, d.result_layer, "(point)");
}

int inside_run(std::string* seen) {
    RunGeometry geometry;
    mc_input_data_t in = inside_input(&geometry);
    mc_data_s d{};
    HM_VD_MC_init_data(&in, &d);
    const int status = HM_VD_MC_process(&d);
    print_results("Inside mirror, FMVSS 111 (kind 0, row 0, eyellipse), positioning on", status, d,
                  d.inside->result_objects);
    if (status == 0) {
        const mc_inside_target_s& u = *d.inside->upper;
        std::printf("  FMVSS 111: field angle at least 20.0 deg at 61000 mm  -> tool %.2f deg (%s)\n",
                    u.ambinocular_angle_checked, u.ambinocular_angle_checked >= 20.0 ? "meets" : "short");
        std::printf("  closest visible ground %.0f mm behind the eyes, mirror turned %.2f deg PV, %.2f deg LS\n",
                    u.ground_distance, u.plan_view_angle, u.side_view_angle);
        print_new_listing(seen);
    }
    HM_VD_MC_release_data(&d);
    return status;
}

int driver_run(std::string* seen) {
    RunGeometry geometry;
    mc_input_data_t in = driver_input(6, &geometry);
    mc_data_s d{};
    HM_VD_MC_init_data(&in, &d);
    const int status = HM_VD_MC_process(&d);
    print_results("Driver outside mirror, ECE R46 Class III far (kind 1, row 6, back angle 25 deg)", status, d,
                  d.outside->result_objects);
    if (status == 0) {
        const mc_outside_result_s& o = *d.outside;
        std::printf("  ECE R46 Class III: 4000 mm of ground from the car's side at 20000 mm\n");
        std::printf("    field seen from y = %.0f to %.0f: visible width margin %.1f mm, deviations in %.1f / "
                    "out %.1f mm\n",
                    o.first->point_a[1], o.first->point_b[1], o.first->visible_width_margin,
                    o.first->inboard_deviation, o.first->outboard_deviation);
        std::printf("    mirror aimed %.2f deg PV, %.2f deg LS; radius %.1f (legal from 1200)\n",
                    o.mirror_rotation_angle_pv, o.mirror_rotation_angle_ls, o.surface->radius);
        print_new_listing(seen);
    }
    HM_VD_MC_release_data(&d);
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string folder = argc > 1 ? argv[1] : "mirror-output";
    ::mkdir(folder.c_str(), 0755);
    host_testing::reset();
    const std::string part_file = folder + "/sedan_mirror_certification.prt";
    const tag_t part = host_testing::make_part(part_file.c_str(), false);
    make_eyellipse();

    std::string seen;
    const int inside = inside_run(&seen);
    const int driver = driver_run(&seen);

    if (HM_PART_save(part) == 0) std::printf("\nPart saved: %s\n", part_file.c_str());
    const std::string step = folder + "/mirror_certification.step";
    const int count = host_testing::write_step(step.c_str());
    if (count <= 0) {
        std::fprintf(stderr, "writing %s failed\n", step.c_str());
        return 1;
    }
    std::printf("Result geometry written: %s (%d objects; open it in any CAD viewer)\n", step.c_str(), count);
    std::printf("Live memory-manager blocks after release: %zu\n", host_testing::live_allocations());
    return inside == 0 && driver == 0 ? 0 : 2;
}
