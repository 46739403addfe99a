// The 2006 release on its own host (the curve and spline functions built
// into the library, not taken from the host).
//
// First the H-point tool's reverse engineering of a mid-size SUV's driver
// seat, as that release solves it: class A, the standard driver's legs
// (thigh 456 mm, lower leg 459 mm), lock option 2 (ankle angle A46 90 and
// pedal angle A47 50 degrees locked), no deviate variable, design seat
// height H30 350 mm given on entry. With the debug key "VD_HPD" on, the
// release's Newton iteration on the pedal angle traces its steps. The
// example prints the code, the solved A47 and H30 and the accelerator heel
// point (AHP) beside SAE J1516 (A47 = 77 - 0.08 H30) and the J1517 class A
// seat position (SgRP 913.7 + 0.672316 H30 - 0.0019553 H30^2 behind the
// ball of foot).
//
// Then the stone-impingement set-up of the current example (225/45 R17
// tire, D = 634.3 mm, W = 190 mm, lateral base 1,390 mm; the floor 200 mm
// above the ground, 0.4 to 2.5 m behind the wheel centre, to y = 650 mm,
// and the rocker's rounded face beside it; no mud flap) through the 2006
// run, with band mode asked for: that release throws the stones of the
// tread over a face one by one, adds a stone at the face's edge found by
// bisection where a stone that lands is followed by one that misses, and
// builds areas whatever the mode, with unprojected, unlabelled result
// curves. It prints the stones per section with the edge stones, the
// contours and the areas, and writes the result geometry as a STEP file.
//
// Vehicle frame: x rearward, y to the right, z up; millimetres, degrees.
//
// Usage: example_release2006 [output-folder]   (default: release2006-output)
#include "hm_vd_si.h"
#include "host_testing.h"
#include "hpd.h"
#include "stone_tire.h"
#include "omvra.h"
#include "quillon.h"

#include <sys/stat.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <string>

namespace {

using namespace stone_tire;

/* ---- the driver's seat ---- */

int reverse_engineering() {
    double sgrp[3] = {2650.0, -370.0, 720.0};
    double legs[2] = {456.0, 459.0};
    double locked[2] = {90.0, 50.0};   // A46, A47
    double heel[3] = {0, 0, 0};
    double a47 = 0.0, h30 = 350.0;     // the design seat height starts the iteration
    std::printf("SgRP (%.1f, %.1f, %.1f) mm, legs %.0f / %.0f mm, option 2: A46 %.0f, A47 %.0f deg locked, "
                "class A, no deviate, H30 %.0f mm given\n",
                sgrp[0], sgrp[1], sgrp[2], legs[0], legs[1], locked[0], locked[1], h30);
    std::printf("Newton iteration (debug key VD_HPD):");
    std::fflush(stdout);
    const int rc = HM_VD_HPD_reverse_engineering(2, sgrp, 0.0, legs, locked, heel, 0, 0, 0.0, &a47, 24.0, 0, &h30, 0);
    std::printf("\n\nHM_VD_HPD_reverse_engineering: %d\n", rc);
    if (rc != 0) return rc;
    const double bof = heel[0] - 200.0 * std::cos(a47 * kDeg);
    std::printf("A47 %.4f deg   (SAE J1516: 77 - 0.08 H30 = %.4f deg)\n", a47, 77.0 - 0.08 * h30);
    std::printf("H30 %.4f mm\n", h30);
    std::printf("AHP (%.3f, %.3f, %.3f) mm, ball of foot at x = %.3f mm\n", heel[0], heel[1], heel[2], bof);
    std::printf("SgRP behind the ball of foot %.4f mm   (SAE J1517 class A: %.4f mm)\n", sgrp[0] - bof,
                913.7 + 0.672316 * h30 - 0.0019553 * h30 * h30);
    return 0;
}

/* ---- stone impingement ---- */

int count_of(hm_list_p_t list) {
    int n = 0;
    HM_MODL_ask_list_count(list, &n);
    return n;
}

// Stones per section on each face, all 50 of the tread thrown: those whose
// own throw lands, and the edge stones the bisection adds where a stone that
// lands is followed by one that misses.
void stones_per_section(si_data_s* rec, const tag_t faces[2], const char* const names[2]) {
    double centre[3], step = 0.0;
    auto dirs = std::make_unique<double[][3]>(SI_SECTION_COUNT);
    auto pts = std::make_unique<double[][SI_STONE_COUNT][3]>(SI_SECTION_COUNT);
    tag_t plane = 0;
    HM_VD_SI_gen_tire_data(rec, centre, dirs.get(), &step, pts.get(), &plane);
    HM_OBJ_delete_object(plane);
    auto out = std::make_unique<double[][3]>(SI_STONE_COUNT);
    double angles[SI_STONE_COUNT];
    auto blocking = std::make_unique<double[][SI_SECTION_COUNT][3]>(1);
    int blocking_counts[1] = {0};
    std::printf("stones per section (all 50 of the tread thrown):\n");
    std::printf("  face     section  elevation  stones  edge stones\n");
    for (int f = 0; f < 2; ++f)
        for (int s = 5; s < SI_SECTION_COUNT; s += 10) {
            int count = 0, state = 0, direct = 0;
            HM_VD_SI_gen_stone_paths(rec, centre[1], step, 0, SI_STONE_COUNT - 1, pts[s], dirs[s], faces[f], -1,
                                     &count, out.get(), angles, &state, blocking_counts, blocking.get());
            for (int i = 0; i < SI_STONE_COUNT; ++i) {
                double q[3];
                direct += HM_VD_SI_project_point_along_vector(pts[s][i], dirs[s], faces[f], q) == 0;
            }
            std::printf("  %-7s  %7d  %9.2f  %6d  %11d\n", names[f], s, std::atan2(dirs[s][2], dirs[s][0]) / kDeg,
                        count, count > direct ? count - direct : 0);
        }
}

void print_face(const char* name, const si_face_result_s* r) {
    std::printf("%s: %s\n", name, !r ? "outside the tread" : (r->face_hit ? "hit" : "not hit"));
    if (!r) return;
    std::printf("  stone path curves: %d\n", count_of(r->stone_path_list));
    std::printf("  contours (%d):", count_of(r->contour_list));
    for (int i = 0; i < count_of(r->contour_list); ++i) {
        tag_t t = 0;
        HM_MODL_ask_list_item(r->contour_list, i, &t);
        char text[32] = {0};
        HM_OBJ_ask_name(t, text, sizeof text);
        std::printf(" %s", text);
    }
    std::printf("\n  labels: %d (the older result curves have none)\n", count_of(r->label_list));
    std::printf("  bands: %d; areas (%d):", count_of(r->band_list), r->area_count);
    for (int i = 0; i < r->area_count; ++i) std::printf(" [%g deg, %d curves]", r->area_angles[i], r->area_sizes[i]);
    std::printf("\n");
}

int stone_run(const std::string& folder) {
    const tag_t faces[2] = {floor_face(), rocker_face()};
    const char* const names[2] = {"floor", "rocker"};
    auto rec = std::make_unique<si_data_s>();
    if (HM_VD_SI_initialize_data(rec.get(), 2, 0) != 0) return 1;
    rec->face_tags[0] = faces[0];
    rec->face_tags[1] = faces[1];
    fill_tire(*rec);
    rec->contour_angle_input[0] = 10;
    rec->contour_angle_input[1] = 30;
    rec->contour_angle_input[2] = 10;
    rec->options[SI_OPT_STONE_PATHS] = 1;
    rec->options[SI_OPT_COLOUR_TABLE] = 1;
    rec->colour_count = 3;
    rec->colour_table = static_cast<int*>(SM_alloc(3 * sizeof(int)));
    for (int i = 0; i < 3; ++i) rec->colour_table[i] = 11 + 10 * i;
    rec->mode = 1;   // band mode asked for
    rec->options[SI_OPT_BAND_GRIDS] = 1;

    std::printf("\ntire 225/45 R17: D = %.1f mm, W = %.0f mm, wheel centre y = %.0f mm; floor to y = %.0f mm, "
                "rocker from there to y = %.0f mm\n",
                kDiameter, kTread, (kLateralBase + kTread) / 2.0, kRockerInner, kRockerInner + kRockerRadius);
    stones_per_section(rec.get(), faces, names);
    std::printf("\n-- 2006 run, band mode asked (contour angles 10 to 30 by 10 degrees) --\n");
    const int status = HM_VD_SI_main(rec.get());
    std::printf("HM_VD_SI_main: %d, error log entries: %d\n", status, rec->error_count);
    for (int f = 0; f < 2; ++f) print_face(names[f], rec->face_results[f]);
    const std::string step_file = folder + "/release2006_stone.step";
    const int written = host_testing::write_step(step_file.c_str());
    std::printf("result geometry: %d objects in %s\n", written, step_file.c_str());
    HM_VD_SI_free_data(rec.get());
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string folder = argc > 1 ? argv[1] : "release2006-output";
    ::mkdir(folder.c_str(), 0755);
    host_testing::make_part("release2006_suv", false);
    host_testing::set_checking_level(1);
    host_testing::set_debug_key("VD_HPD", true);
    int status = reverse_engineering();
    host_testing::set_debug_key("VD_HPD", false);
    const int stones = stone_run(folder);
    if (status == 0) status = stones;
    return status == 0 ? 0 : 1;
}
