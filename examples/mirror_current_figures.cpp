// The current engine's figures for the mirror sedan's runs, one line each,
// for the 2003 example to print beside its own (the two releases export the
// same names, so the 2003 example runs this program as a child process):
//  - inside:  FMVSS 111 inside mirror through the backlite (row 0, eyellipse);
//  - outside: ECE R46.01 driver's convex mirror (kind 1, row 1, ocular
//    points from the SgRP), 4000 mm from the car's side at 20000 mm;
//  - loaded:  the same with the vehicle loaded (G1 and G2 at the axles,
//    2800 mm apart, 10 and 40 mm below G0).
//
// Usage: mirror_current_figures
#include "hm_vd_mc.h"
#include "host_testing.h"
#include "mirror_current_runs.h"

#include <cstdio>

namespace {

using namespace mirror_current_runs;

void inside() {
    RunGeometry geometry;
    mc_input_data_t in = inside_input(&geometry);
    mc_data_s d{};
    HM_VD_MC_init_data(&in, &d);
    const int status = HM_VD_MC_process(&d);
    const mc_inside_target_s& u = *d.inside->upper;
    const mc_inside_target_s& l = *d.inside->lower;
    std::printf("inside  code %d | ambinocular %.2f deg | turned %.2f PV %.2f LS | up %.2f down %.2f deg | "
                "ground %.0f mm | messages %d\n",
                status, u.ambinocular_angle_checked, u.plan_view_angle, u.side_view_angle, u.up_angle, l.down_angle,
                u.ground_distance, d.message_count);
    std::fflush(stdout);
    HM_VD_MC_release_data(&d);
}

void outside(const char* label, bool loaded) {
    RunGeometry geometry;
    mc_input_data_t in = driver_input(1, &geometry);
    if (loaded) {
        in.loading = true;
        const double points[3][3] = {{0.0, 0.0, 0.0}, {0.0, 0.0, -10.0}, {2800.0, 0.0, -40.0}};
        for (int i = 0; i < 3; ++i)
            for (int k = 0; k < 3; ++k) in.loading_points[i][k] = points[i][k];
    }
    mc_data_s d{};
    HM_VD_MC_init_data(&in, &d);
    const int status = HM_VD_MC_process(&d);
    const mc_outside_result_s& o = *d.outside;
    std::printf("%s code %d | turned %.2f PV %.2f LS | ambinocular @ ground %.2f, max %.2f deg | "
                "deviation in %.1f out %.1f mm | messages %d\n",
                label, status, o.mirror_rotation_angle_pv, o.mirror_rotation_angle_ls,
                o.ambinocular_angle_at_ground_pv, o.max_ambinocular_angle_pv, o.first->inboard_deviation,
                o.first->outboard_deviation, d.message_count);
    std::fflush(stdout);
    HM_VD_MC_release_data(&d);
}

}  // namespace

int main() {
    host_testing::reset();
    host_testing::make_part("/parts/sedan_current_figures.prt", false);
    make_eyellipse();
    inside();
    outside("outside", false);
    outside("loaded ", true);
    return 0;
}
