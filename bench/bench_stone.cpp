// Stone impingement: the whole run against the kernel's ray-face
// intersection of the same stones, and the contour lines on a synthetic grid.
//
//   stone_main/<faces>/<blocking>  HM_VD_SI_main over 1, 4 or 16 floor strips
//                                  with 0, 4 or 16 blocking planes (behind
//                                  the floor, so they block nothing but are
//                                  asked for every stone);
//   stone_rays/<faces>             IntCurvesFace_Intersector: the 85 x 50
//                                  stones of the tire model shot at the same
//                                  faces (the baseline);
//   stone_contours/<angles>        HM_VD_SI_gen_contours with no face on an
//                                  85 x 50 grid whose angles rise along the
//                                  stones, at 10, 30 and 90 contour angles.
// Baseline: IntCurvesFace_Intersector shooting the same stones at the same faces.
#include "hm_vd_si.h"
#include "host_testing.h"
#include "omvra.h"
#include "quillon.h"
#include "ratio_report.h"

#include <BRepBuilderAPI_MakeFace.hxx>
#include <gp_Pln.hxx>
#include <IntCurvesFace_Intersector.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Face.hxx>
#include <gp_Lin.hxx>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr double kD = 634.3, kR = kD / 2.0, kW = 190.0, kA = 1390.0;
constexpr double kDeg = 3.14159265358979323846 / 180.0;

void fill_tire(si_data_s& rec) {
    rec.tire_diameter = kD;
    rec.tread_width = kW;
    rec.lateral_base = kA;
    rec.launch_offset = kR * std::cos(30 * kDeg);
    rec.launch_height = kR - kR * std::cos(30 * kDeg);
    rec.wheel_centre[2] = kR;
    rec.contour_angle_input[0] = 10;
    rec.contour_angle_input[1] = 80;
    rec.contour_angle_input[2] = 10;
}

tag_t strip(int i, int n) {
    // Strips of the floor 200 mm up, side by side along x, 0.4 to 2.5 m.
    const double len = 2100.0 / n;
    const double corner[3] = {400 + i * len, 500, 200}, u[3] = {len, 0, 0}, v[3] = {0, 400, 0};
    hm_list_p_t faces = nullptr;
    HM_MODL_ask_body_faces(host_testing::make_planar_sheet(corner, u, v), &faces);
    tag_t f = 0;
    HM_MODL_ask_list_item(faces, 0, &f);
    HM_MODL_delete_list(&faces);
    return f;
}

void run_main(benchmark::State& state) {
    const int nf = static_cast<int>(state.range(0)), nb = static_cast<int>(state.range(1));
    host_testing::reset();
    host_testing::make_part("bench", false);
    auto rec = std::make_unique<si_data_s>();
    HM_VD_SI_initialize_data(rec.get(), nf, nb);
    fill_tire(*rec);
    for (int i = 0; i < nf; ++i) rec->face_tags[i] = strip(i, nf);
    for (int b = 0; b < nb; ++b) {
        const double o[3] = {5000.0 + b, 0, 0}, n[3] = {1, 0, 0};
        HM_MODL_create_plane(o, n, &rec->blocking_tags[b]);
    }
    rec->options[SI_OPT_BLOCKING_SHADOWS] = nb > 0;
    for (auto _ : state) {
        const int status = HM_VD_SI_main(rec.get());
        if (status != 0) state.SkipWithError("the run failed");
        HM_VD_SI_delete_geometry(rec.get());
    }
    HM_VD_SI_free_data(rec.get());
}

void run_rays(benchmark::State& state) {
    const int nf = static_cast<int>(state.range(0));
    host_testing::reset();
    host_testing::make_part("bench", false);
    auto rec = std::make_unique<si_data_s>();
    HM_VD_SI_initialize_data(rec.get(), 1, 0);
    fill_tire(*rec);
    double centre[3], step;
    auto dirs = std::make_unique<double[][3]>(SI_SECTION_COUNT);
    auto pts = std::make_unique<double[][SI_STONE_COUNT][3]>(SI_SECTION_COUNT);
    tag_t plane = 0;
    HM_VD_SI_gen_tire_data(rec.get(), centre, dirs.get(), &step, pts.get(), &plane);
    std::vector<TopoDS_Face> faces;
    // The same strips built with the kernel directly.
    for (int i = 0; i < nf; ++i) {
        const double len = 2100.0 / nf;
        const gp_Pln pln(gp_Pnt(0, 0, 200), gp_Dir(0, 0, 1));
        faces.push_back(BRepBuilderAPI_MakeFace(pln, 400 + i * len, 400 + (i + 1) * len, 500, 900).Face());
    }
    HM_OBJ_delete_object(plane);
    for (auto _ : state) {
        int hits = 0;
        for (const TopoDS_Face& f : faces) {
            IntCurvesFace_Intersector x(f, 1e-7);
            for (int s = 0; s < SI_SECTION_COUNT; ++s)
                for (int j = 0; j < SI_STONE_COUNT; ++j) {
                    const gp_Lin line(gp_Pnt(pts[s][j][0], pts[s][j][1], pts[s][j][2]),
                                      gp_Dir(dirs[s][0], dirs[s][1], dirs[s][2]));
                    x.Perform(line, 0.0, 1e10);
                    hits += x.NbPnt();
                }
        }
        benchmark::DoNotOptimize(hits);
    }
    HM_VD_SI_free_data(rec.get());
}

void run_contours(benchmark::State& state) {
    const int na = static_cast<int>(state.range(0));
    host_testing::reset();
    host_testing::make_part("bench", false);
    static int counts[SI_SECTION_COUNT];
    static double points[SI_SECTION_COUNT][SI_STONE_COUNT][3];
    static double angles[SI_SECTION_COUNT][SI_STONE_COUNT];
    for (int r = 0; r < SI_SECTION_COUNT; ++r) {
        counts[r] = SI_STONE_COUNT;
        for (int j = 0; j < SI_STONE_COUNT; ++j) {
            points[r][j][0] = 1000 + 10.0 * r;
            points[r][j][1] = 600 + 4.0 * j;
            points[r][j][2] = 200;
            angles[r][j] = 2.0 + 1.75 * j + 0.01 * r;
        }
    }
    std::vector<double> c;
    for (int k = 0; k < na; ++k) c.push_back(2.5 + 85.0 * k / na);
    for (auto _ : state) {
        hm_list_p_t contours = nullptr, labels = nullptr;
        HM_MODL_create_list(&labels);
        bool single = false;
        si_contour_record* records = nullptr;
        int n = 0;
        HM_VD_SI_gen_contours(0, false, 0, nullptr, counts, points, angles, c.data(), na, 1, &contours, &labels,
                              &single, &records, &n);
        int m = 0;
        HM_MODL_ask_list_count(contours, &m);
        for (int i = 0; i < m; ++i) {
            tag_t t = 0;
            HM_MODL_ask_list_item(contours, i, &t);
            HM_OBJ_delete_object(t);
        }
        for (int i = 0; i < n; ++i) HM_OBJ_delete_object(records[i].curve);
        SM_free(records);
        HM_MODL_delete_list(&contours);
        HM_MODL_delete_list(&labels);
    }
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::RegisterBenchmark("stone_main", run_main)
        ->ArgsProduct({{1, 4, 16}, {0}})
        ->Args({1, 4})
        ->Args({1, 16})
        ->Iterations(1)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("stone_rays", run_rays)->Arg(1)->Arg(4)->Arg(16)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("stone_contours", run_contours)->Arg(10)->Arg(30)->Arg(90)->Unit(benchmark::kMillisecond);
    return carvell_bench::run_with_ratios(argc, argv,
                                          {{"run/rays, 1 face", "stone_main/1/0/iterations:1", "stone_rays/1"},
                                           {"run/rays, 4 faces", "stone_main/4/0/iterations:1", "stone_rays/4"},
                                           {"run/rays, 16 faces", "stone_main/16/0/iterations:1", "stone_rays/16"}});
}
