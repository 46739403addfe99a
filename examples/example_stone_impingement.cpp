// Stone impingement behind the front wheel of a mid-size car on 225/45 R17
// tires (diameter D = 634.3 mm, tread width W = 190 mm) on a 1,580 mm track
// (lateral base A = 1,390 mm: the wheel centre lies at y = (A + W)/2 =
// 790 mm, z = D/2). Stones leave the tread 30 degrees past the tire's
// bottom and fly at the faces behind the wheel: the underbody floor
// (horizontal, 200 mm above the ground, 0.4 to 2.5 m behind the wheel
// centre) and the rocker's rounded lower face (radius 150 mm, along x). A
// mud flap behind the tire, down to 120 mm above the ground, blocks the
// steeper stones. Contours of equal impact angle run from 10 to 80 degrees
// by 10.
//
// A first run in area mode (colour table with areas) is followed by a band
// run (mode 1, band grids) on the same faces. The example prints each run's
// error log, per face whether stones landed, the stone path curves, the
// contours by name with their labels, the areas with their mid-angles, the
// bands with their colours, grid counts and areas, and the floor's landing
// points beside the straight throw from each launch point; it writes the
// result geometry as a STEP file.
//
// Vehicle frame: x rearward, y to the right, z up; millimetres, degrees.
//
// Usage: example_stone_impingement [output-folder]   (default: stone-output)
#include "hm_vd_si.h"
#include "host_testing.h"
#include "stone_tire.h"
#include "omvra.h"
#include "quillon.h"

#include <sys/stat.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace stone_tire;

constexpr double kFlapBottom = 120.0;

tag_t mud_flap() {
    const double corner[3] = {380, 560, kFlapBottom}, u[3] = {0, 260, 0}, v[3] = {0, 0, 300};
    return host_testing::make_planar_sheet(corner, u, v);
}

void print_log(const si_data_s& rec) {
    std::printf("error log: %d entr%s", rec.error_count, rec.error_count == 1 ? "y" : "ies");
    for (int i = 0; i < rec.error_count; ++i) std::printf(" %d", rec.error_log[i]);
    std::printf("\n");
}

void print_contours(const si_face_result_s& r) {
    hm_list_p_t list = r.contour_list;
    int n = 0;
    HM_MODL_ask_list_count(list, &n);
    std::printf("  contours (%d):", n);
    for (int i = 0; i < n; ++i) {
        tag_t t = 0;
        HM_MODL_ask_list_item(list, i, &t);
        char name[32] = {0};
        HM_OBJ_ask_name(t, name, sizeof name);
        std::printf(" %s", name);
    }
    int labels = 0;
    HM_MODL_ask_list_count(r.label_list, &labels);
    std::printf("\n  labels: %d, single-line contours: %d\n", labels, r.single_line);
}

// Areas: how many curves bound each, and the mid-angle of its interval.
void print_areas(const si_face_result_s& r) {
    std::printf("  areas (%d):", r.area_count);
    for (int i = 0; i < r.area_count; ++i) std::printf(" [%g deg, %d curves]", r.area_angles[i], r.area_sizes[i]);
    std::printf("\n");
}

// Bands: colour, grid counts of the band's face, area in square centimetres.
void print_bands(const si_face_result_s& r) {
    int n = 0;
    HM_MODL_ask_list_count(r.band_list, &n);
    std::printf("  bands (%d):\n", n);
    for (int i = 0; i < n; ++i) {
        tag_t band = 0, face = 0;
        HM_MODL_ask_list_item(r.band_list, i, &band);
        hm_list_p_t faces = nullptr;
        HM_MODL_ask_body_faces(band, &faces);
        HM_MODL_ask_list_item(faces, 0, &face);
        HM_MODL_delete_list(&faces);
        int colour = 0;
        HM_OBJ_ask_color(band, &colour);
        const std::array<int, 2> grid = host_testing::grid_counts(face);
        std::printf("    band %d: colour %d, grid %d x %d, area %.1f cm2\n", i + 1, colour, grid[0], grid[1],
                    host_testing::surface_area(band) / 100.0);
    }
}

void print_run(const si_data_s& rec, int status, bool bands) {
    std::printf("HM_VD_SI_main: %d, side %s\n", status, rec.options[SI_OPT_LEFT_SIDE] ? "left" : "right");
    print_log(rec);
    const char* names[2] = {"floor", "rocker"};
    for (int f = 0; f < 2; ++f) {
        const si_face_result_s* r = rec.face_results[f];
        std::printf("%s: %s\n", names[f], !r ? "outside the tread" : (r->face_hit ? "hit" : "not hit"));
        if (!r) continue;
        int paths = 0;
        HM_MODL_ask_list_count(r->stone_path_list, &paths);
        std::printf("  stone path curves (one per radial section that landed): %d\n", paths);
        print_contours(*r);
        if (bands) print_bands(*r);
        else print_areas(*r);
    }
}

}  // namespace

int main(int argc, char** argv) {
    const std::string folder = argc > 1 ? argv[1] : "stone-output";
    ::mkdir(folder.c_str(), 0755);
    host_testing::make_part("stone_impingement", false);

    const tag_t faces[2] = {floor_face(), rocker_face()};
    const tag_t flap = mud_flap();
    auto rec = std::make_unique<si_data_s>();
    if (HM_VD_SI_initialize_data(rec.get(), 2, 1) != 0) return 1;
    rec->face_tags[0] = faces[0];
    rec->face_tags[1] = faces[1];
    rec->blocking_tags[0] = flap;
    fill_tire(*rec);
    rec->contour_angle_input[0] = 10;
    rec->contour_angle_input[1] = 80;
    rec->contour_angle_input[2] = 10;
    rec->options[SI_OPT_STONE_PATHS] = 1;
    rec->options[SI_OPT_BLOCKING_SHADOWS] = 1;
    rec->options[SI_OPT_COLOUR_TABLE] = 1;
    rec->colour_count = 8;
    rec->colour_table = static_cast<int*>(SM_alloc(8 * sizeof(int)));
    for (int i = 0; i < 8; ++i) rec->colour_table[i] = 11 + 10 * i;

    std::printf("tire 225/45 R17: D = %.1f mm, W = %.0f mm, wheel centre y = %.0f mm, z = %.2f mm\n", kDiameter,
                kTread, (kLateralBase + kTread) / 2.0, kRadius);
    std::printf("launch point %.0f degrees past the bottom: x = %.2f mm, z = %.2f mm\n", kLaunchPastBottom,
                kRadius * std::sin(kLaunchPastBottom * kDeg), rec->launch_height);
    std::printf("flap edge at x = 380 mm, z = 120 mm: stones steeper than %.1f degrees are blocked\n",
                std::atan((kFlapBottom - rec->launch_height) / (380.0 - kRadius * std::sin(kLaunchPastBottom * kDeg))) /
                    kDeg);
    std::printf("\n-- area run (mode 0, colour table with areas, contour angles 10 to 80 by 10 degrees) --\n");
    int status = HM_VD_SI_main(rec.get());
    print_run(*rec, status, false);

    // The band run: the first run's paths, contours and outlines go (its
    // areas stay, on layer 99), then the faces are cut into coloured bands.
    // The flap stops the stones above about 19.4 degrees (it spans z = 120
    // to 420 mm at x = 380 mm), so the faces see about 4 to 19 degrees: the
    // band run looks at that range, 4 to 20 degrees by 4.
    HM_VD_SI_delete_geometry(rec.get());
    rec->mode = 1;
    rec->options[SI_OPT_BAND_GRIDS] = 1;
    rec->contour_angle_input[0] = 4;
    rec->contour_angle_input[1] = 20;
    rec->contour_angle_input[2] = 4;
    std::printf("\n-- band run (mode 1, band grids, contour angles 4 to 20 by 4 degrees) --\n");
    const int band_status = HM_VD_SI_main(rec.get());
    print_run(*rec, band_status, true);
    if (band_status != 0 && band_status != -4) status = band_status;
    // On the floor a stone thrown at elevation e from the launch point lands
    // at x = x_T + (200 - z_T) / tan e, and the floor covers the tread from
    // y = 600 to its edge at 650 mm: each band is that strip between two angles.
    const double x_t = kRadius * std::sin(kLaunchPastBottom * kDeg), z_t = rec->launch_height;
    const double strip = kRockerInner - ((kLateralBase + kTread) / 2.0 - kTread);
    std::printf("floor bands by the straight throw (%.0f mm of tread on the floor):\n", strip);
    for (double a = 4; a + 4 < 19.3; a += 4) {
        const double x0 = x_t + (kFloorZ - z_t) / std::tan(a * kDeg), x1 = x_t + (kFloorZ - z_t) / std::tan((a + 4) * kDeg);
        std::printf("  %2.0f to %2.0f deg: x %.1f to %.1f mm, area %.1f cm2\n", a, a + 4, x1, x0, (x0 - x1) * strip / 100.0);
    }
    std::printf("\n");

    // The floor's landings beside the straight throw: a section's tire point
    // x0, z0 and elevation e land at x0 + (200 - z0) / tan e.
    double centre[3], step = 0.0;
    auto dirs = std::make_unique<double[][3]>(SI_SECTION_COUNT);
    auto pts = std::make_unique<double[][SI_STONE_COUNT][3]>(SI_SECTION_COUNT);
    tag_t plane = 0;
    HM_VD_SI_gen_tire_data(rec.get(), centre, dirs.get(), &step, pts.get(), &plane);
    HM_OBJ_delete_object(plane);
    std::printf("floor landings (last stone of each 10th section, y = 600 mm), tool beside straight throw:\n");
    std::printf("  section  elevation   tool x      throw x\n");
    for (int s = 0; s < SI_SECTION_COUNT; s += 10) {
        const double e = std::atan2(dirs[s][2], dirs[s][0]);
        if (e <= 0 || e >= kPi / 2) continue;
        double land[3] = {0, 0, 0};
        const double d[3] = {dirs[s][0], dirs[s][1], dirs[s][2]};
        if (HM_VD_SI_project_point_along_vector(pts[s][SI_STONE_COUNT - 1], d, faces[0], land) != 0) {
            std::printf("  %7d  %8.2f   (beyond the floor)\n", s, e / kDeg);
            continue;
        }
        const double throw_x = pts[s][SI_STONE_COUNT - 1][0] + (kFloorZ - pts[s][SI_STONE_COUNT - 1][2]) / std::tan(e);
        std::printf("  %7d  %8.2f   %9.2f   %9.2f\n", s, e / kDeg, land[0], throw_x);
    }

    const std::string step_file = folder + "/stone_impingement.step";
    const int written = host_testing::write_step(step_file.c_str());
    std::printf("result geometry: %d objects in %s\n", written, step_file.c_str());
    HM_VD_SI_free_data(rec.get());
    return status == 0 || status == -4 ? 0 : 1;
}
