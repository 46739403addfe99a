// The 2006 release's stone thrower: each stone of a radial section projected
// one by one onto the face (a temporary point, an undo mark and the host's
// point projection per stone, with the face's edge bisected where stones
// stop landing), beside the kernel's shape intersector shooting the same
// rays at the same floor.
//
//   thrower_2006/<sections>  HM_VD_SI_gen_stone_paths of the 2006 release
//                            for the first 10, 40 or 85 radial sections of
//                            the tire model onto the floor, 50 stones each;
//   shape_rays/<sections>    IntCurvesFace_ShapeIntersector: the same
//                            stones' rays at the same floor (the baseline).
//
// Linked with the 2006 release and its host.
#include "hm_vd_si.h"
#include "host_testing.h"
#include "omvra.h"
#include "ratio_report.h"

#include <BRepBuilderAPI_MakeFace.hxx>
#include <IntCurvesFace_ShapeIntersector.hxx>
#include <gp_Lin.hxx>
#include <gp_Pln.hxx>

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <vector>

namespace {

constexpr double kD = 634.3, kR = kD / 2.0, kW = 190.0, kA = 1390.0;
constexpr double kDeg = 3.14159265358979323846 / 180.0;
// The floor 200 mm up, 0.4 to 2.5 m behind the wheel, to y = 650 mm: the
// tread (y 600 to 790) is on it in part, so stones stop landing at its edge.
constexpr double kFloorZ = 200.0, kFloorX0 = 400.0, kFloorX1 = 2500.0, kFloorY0 = 0.0, kFloorY1 = 650.0;

// The tire model of the stone example's 225/45 R17 tire.
struct Tire {
    std::unique_ptr<si_data_s> rec = std::make_unique<si_data_s>();
    double centre[3] = {0, 0, 0};
    double step = 0.0;
    std::unique_ptr<double[][3]> dirs = std::make_unique<double[][3]>(SI_SECTION_COUNT);
    std::unique_ptr<double[][SI_STONE_COUNT][3]> pts = std::make_unique<double[][SI_STONE_COUNT][3]>(SI_SECTION_COUNT);
    Tire() {
        host_testing::reset();
        host_testing::make_part("bench", false);
        HM_VD_SI_initialize_data(rec.get(), 1, 0);
        rec->tire_diameter = kD;
        rec->tread_width = kW;
        rec->lateral_base = kA;
        rec->launch_offset = kR * std::cos(30 * kDeg);
        rec->launch_height = kR - kR * std::cos(30 * kDeg);
        rec->wheel_centre[2] = kR;
        tag_t plane = 0;
        HM_VD_SI_gen_tire_data(rec.get(), centre, dirs.get(), &step, pts.get(), &plane);
        HM_OBJ_delete_object(plane);
    }
    ~Tire() { HM_VD_SI_free_data(rec.get()); }
};

tag_t floor_face() {
    const double corner[3] = {kFloorX0, kFloorY0, kFloorZ}, u[3] = {kFloorX1 - kFloorX0, 0, 0},
                 v[3] = {0, kFloorY1 - kFloorY0, 0};
    hm_list_p_t faces = nullptr;
    HM_MODL_ask_body_faces(host_testing::make_planar_sheet(corner, u, v), &faces);
    tag_t face = 0;
    HM_MODL_ask_list_item(faces, 0, &face);
    HM_MODL_delete_list(&faces);
    return face;
}

void thrower(benchmark::State& state) {
    const int sections = static_cast<int>(state.range(0));
    Tire tire;
    const tag_t floor = floor_face();
    auto out = std::make_unique<double[][3]>(SI_STONE_COUNT);
    double angles[SI_STONE_COUNT];
    auto blocking = std::make_unique<double[][SI_SECTION_COUNT][3]>(1);
    int blocking_counts[1] = {0};
    long landed = 0;
    for (auto _ : state) {
        for (int s = 0; s < sections; ++s) {
            int count = 0, mark = 0;
            HM_VD_SI_gen_stone_paths(tire.rec.get(), tire.centre[1], tire.step, 0, SI_STONE_COUNT - 1, tire.pts[s],
                                     tire.dirs[s], floor, -1, &count, out.get(), angles, &mark, blocking_counts,
                                     blocking.get());
            landed += count;
        }
    }
    state.counters["stones landed"] = static_cast<double>(landed) / static_cast<double>(state.iterations());
}

void shape_rays(benchmark::State& state) {
    const int sections = static_cast<int>(state.range(0));
    Tire tire;
    const gp_Pln plane(gp_Pnt(0, 0, kFloorZ), gp_Dir(0, 0, 1));
    const TopoDS_Face floor = BRepBuilderAPI_MakeFace(plane, kFloorX0, kFloorX1, kFloorY0, kFloorY1).Face();
    IntCurvesFace_ShapeIntersector intersector;
    intersector.Load(floor, 1e-7);
    long hits = 0;
    for (auto _ : state) {
        for (int s = 0; s < sections; ++s)
            for (int j = 0; j < SI_STONE_COUNT; ++j) {
                const double* p = tire.pts[s][j];
                const gp_Lin ray(gp_Pnt(p[0], p[1], p[2]), gp_Dir(tire.dirs[s][0], tire.dirs[s][1], tire.dirs[s][2]));
                intersector.Perform(ray, 0.0, 1e10);
                hits += intersector.NbPnt();
            }
    }
    state.counters["stones landed"] = static_cast<double>(hits) / static_cast<double>(state.iterations());
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::RegisterBenchmark("thrower_2006", thrower)
        ->Arg(10)
        ->Arg(40)
        ->Arg(85)
        ->Iterations(1)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("shape_rays", shape_rays)->Arg(10)->Arg(40)->Arg(85)->Unit(benchmark::kMillisecond);
    return carvell_bench::run_with_ratios(
        argc, argv,
        {{"2006 thrower/rays, 10 sections", "thrower_2006/10/iterations:1", "shape_rays/10"},
         {"2006 thrower/rays, 40 sections", "thrower_2006/40/iterations:1", "shape_rays/40"},
         {"2006 thrower/rays, 85 sections", "thrower_2006/85/iterations:1", "shape_rays/85"}});
}
