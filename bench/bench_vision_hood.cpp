// Hood visibility limit points against the geometry kernel's sections of the
// same hood by the same planes.
//
// The hood is the mid-size car's of the A-pillar example: a sheet from the
// windshield base (x 1250, z 1000) forward to x 200 (z 900), 1500 mm wide;
// the eye is the SAE J941 cyclops centroid (2743, -370, 1188). Set-up checks
// that the library finds limit points before anything is timed.
//
// At pitch steps of 10, 5 and 2.5 degrees (20, 38 and 74 planes):
//   hood/library/<step>  HM_VD_HV_GetVisiLimitPoints, its points freed as its
//                        caller does;
//   hood/kernel/<step>   BRepAlgoAPI_Section of a kernel face with the same
//                        geometry by each plane of the fan (the baseline).
// The cost of both grows linearly with the number of planes.
// Baseline: BRepAlgoAPI_Section of the same hood face by each plane of the same fan.
#include "hm_vd_vision.h"
#include "host_testing.h"
#include "omvra.h"
#include "quillon.h"
#include "ratio_report.h"

#include <BRepAlgoAPI_Section.hxx>
#include <BRepBuilderAPI_MakeFace.hxx>
#include <BRepBuilderAPI_MakePolygon.hxx>
#include <TopoDS_Face.hxx>
#include <gp_Pln.hxx>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr double kPi = 3.14159265358979323846;
const double kEye[3] = {2743.0, -370.0, 1188.0};
const double kSteps[] = {10.0, 5.0, 2.5};
const double kHoodCorner[3] = {200.0, -750.0, 900.0};
const double kHoodLength[3] = {1050.0, 0.0, 100.0};
const double kHoodWidth[3] = {0.0, 1500.0, 0.0};

tag_t host_hood_face() {
    const tag_t sheet = host_testing::make_planar_sheet(kHoodCorner, kHoodLength, kHoodWidth);
    hm_list_p_t faces = nullptr;
    tag_t face = 0;
    HM_MODL_ask_body_faces(sheet, &faces);
    HM_MODL_ask_list_item(faces, 0, &face);
    HM_MODL_delete_list(&faces);
    return face;
}

TopoDS_Face kernel_hood_face() {
    const gp_Pnt a(kHoodCorner[0], kHoodCorner[1], kHoodCorner[2]);
    const gp_Pnt b(a.X() + kHoodLength[0], a.Y(), a.Z() + kHoodLength[2]);
    const gp_Pnt c(b.X(), b.Y() + kHoodWidth[1], b.Z());
    const gp_Pnt d(a.X(), a.Y() + kHoodWidth[1], a.Z());
    BRepBuilderAPI_MakePolygon outline(a, b, c, d, Standard_True);
    return BRepBuilderAPI_MakeFace(outline.Wire(), Standard_True).Face();
}

// The fan's normals on both sides, as the sweep makes them.
std::vector<gp_Dir> fan(double step) {
    std::vector<gp_Dir> normals;
    const int n = static_cast<int>(std::ceil(90.0 / step - 1e-10));
    for (int side = 1; side >= 0; --side)
        for (int i = 0; i <= n; ++i) {
            const double a = std::min(i * step, 90.0) * kPi / 180.0;
            normals.emplace_back(std::sin(a), side == 0 ? -std::cos(a) : std::cos(a), 0.0);
        }
    return normals;
}

int library_points(tag_t* face, double step) {
    hv_input_t in{};
    for (int i = 0; i < 3; ++i) in.eye_point[i] = kEye[i];
    in.face_count = 1;
    in.faces = face;
    in.pitch_step = step;
    in.csys_matrix[0] = in.csys_matrix[4] = in.csys_matrix[8] = 1.0;
    int count = 0;
    double** points = nullptr;
    if (HM_VD_HV_GetVisiLimitPoints(&in, &count, &points)) return 0;
    for (int i = 0; i < count; ++i) SM_free(points[i]);
    SM_free(points);
    return count;
}

}  // namespace

int main(int argc, char** argv) {
    host_testing::reset();
    host_testing::make_part("bench_vision_hood");
    static tag_t face = host_hood_face();
    static const TopoDS_Face kernel_face = kernel_hood_face();
    for (double step : kSteps) {
        const int count = library_points(&face, step);
        if (count < 1) {
            std::fprintf(stderr, "no hood limit points at step %g\n", step);
            return 1;
        }
        std::printf("step %g deg: %zu planes, %d limit points\n", step, fan(step).size(), count);
    }
    std::vector<carvell_bench::Ratio> ratios;
    for (double step : kSteps) {
        char size[16];
        std::snprintf(size, sizeof size, "%g", step);
        const std::string library = std::string("hood/library/") + size, kernel = std::string("hood/kernel/") + size;
        benchmark::RegisterBenchmark(library.c_str(), [step](benchmark::State& state) {
            for (auto _ : state) benchmark::DoNotOptimize(library_points(&face, step));
        })->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(kernel.c_str(), [step](benchmark::State& state) {
            const std::vector<gp_Dir> normals = fan(step);
            const gp_Pnt eye(kEye[0], kEye[1], kEye[2]);
            for (auto _ : state)
                for (const gp_Dir& n : normals) {
                    BRepAlgoAPI_Section section(kernel_face, gp_Pln(eye, n));
                    benchmark::DoNotOptimize(section.Shape());
                }
        })->Unit(benchmark::kMillisecond);
        ratios.push_back({std::string("library/kernel step ") + size, library, kernel});
    }
    const int code = carvell_bench::run_with_ratios(argc, argv, ratios);
    host_testing::reset();
    return code;
}
