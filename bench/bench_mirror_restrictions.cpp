// Vision restrictions of a mirror: the library's subtraction of the
// restrictions' shadows beside the geometry kernel's Boolean of the same
// shadow faces.
//
// A flat driver mirror in the plane x = 0 (glass 200 x 200), the outer eyes
// at (1000, -/+32.5, 0), the target plane x = 3000: a sight ray to the glass
// point (0, y, z) reaches (3000, 4y - 3ye, 4z). The vision sheet is 600 x 400
// on the target plane. The restrictions are stickers on the glass, 80 x 16,
// in two columns (y = -/+50) and up to four rows; each one's shadow that
// neither eye sees past is a 125 x 64 hole in the vision sheet. Set-up checks
// the lost share of a whole run and the area left by both subtractions
// against those holes before anything is timed.
//
// With 0, 2 and 8 stickers:
//   restrictions/run/<n>              mc_restrict_vision_sheet (through the
//                                     static archive: it is the family's
//                                     internal), its sheets deleted within
//                                     each timed run: the whole restriction;
//   restrictions/subtract/library/<n> mc_subtract_shadow of each sticker's
//                                     shadow (the 125 x 64 holes as sheets)
//                                     from a copy of the vision sheet;
//   restrictions/subtract/kernel/<n>  one BRepAlgoAPI_Cut per sticker of the
//                                     same hole faces from the same vision
//                                     face (the baseline).
// Baseline: one BRepAlgoAPI_Cut per restriction of the same shadow faces from the same vision face.
#include "hm_vd/objects.h"
#include "hm_vd_mc.h"
#include "host_testing.h"
#include "kernel_booleans.h"
#include "mirror_record.h"
#include "mirror_restrictions.h"
#include "omvra.h"
#include "quillon.h"
#include "ratio_report.h"

#include <BRepAlgoAPI_Cut.hxx>
#include <BRepGProp.hxx>
#include <BRepBuilderAPI_MakeFace.hxx>
#include <BRepBuilderAPI_MakePolygon.hxx>
#include <GProp_GProps.hxx>
#include <TopoDS_Face.hxx>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

using namespace carvell::mirror;

const int kCounts[] = {0, 2, 8};
const double kEyes[3][3] = {{1000, -32.5, 0}, {1000, 0, 0}, {1000, 32.5, 0}};
const double kTarget[3] = {3000, 0, 0};
constexpr double kStickerHalfY = 40.0, kStickerHalfZ = 8.0;
const double kColumns[2] = {-50.0, 50.0};
const double kRows[4] = {-36.0, -12.0, 12.0, 36.0};

struct Rect {
    double x, y0, y1, z0, z1;
};

tag_t host_sheet(const Rect& r) {
    const double corner[3] = {r.x, r.y0, r.z0}, u[3] = {0, r.y1 - r.y0, 0}, v[3] = {0, 0, r.z1 - r.z0};
    return host_testing::make_planar_sheet(corner, u, v);
}

TopoDS_Face kernel_face(const Rect& r) {
    BRepBuilderAPI_MakePolygon outline(gp_Pnt(r.x, r.y0, r.z0), gp_Pnt(r.x, r.y1, r.z0), gp_Pnt(r.x, r.y1, r.z1),
                                       gp_Pnt(r.x, r.y0, r.z1), Standard_True);
    return BRepBuilderAPI_MakeFace(outline.Wire(), Standard_True).Face();
}

const Rect kVision{3000, -300, 300, -200, 200};
const Rect kEye0Field{3000, -302.5, 497.5, -400, 400};
const Rect kEye2Field{3000, -497.5, 302.5, -400, 400};
constexpr double kDistanceTolerance = 0.01;

std::vector<Rect> stickers(int n) {
    std::vector<Rect> out;
    for (int i = 0; i < n; ++i) {
        const double cy = kColumns[i % 2], cz = kRows[i / 2];
        out.push_back({0.0, cy - kStickerHalfY, cy + kStickerHalfY, cz - kStickerHalfZ, cz + kStickerHalfZ});
    }
    return out;
}

struct Scene {
    mc_data_s data{};
    mc_mirror_surface_record mirror{};
    tag_t vision = 0, eye0 = 0, eye2 = 0;
};

Scene make_scene(int n) {
    Scene scene;
    std::memset(static_cast<void*>(&scene.data), 0, sizeof scene.data);
    zero_fill(&scene.data);
    scene.data.warnings = build_warning_table();
    scene.data.messages = static_cast<char**>(SM_alloc(MC_MAX_MESSAGES * sizeof(char*)));
    scene.data.distance_tolerance = 0.01;
    scene.data.angle_tolerance = 0.05;
    scene.mirror.normal[0] = 1.0;
    scene.vision = host_sheet(kVision);
    scene.eye0 = host_sheet(kEye0Field);
    scene.eye2 = host_sheet(kEye2Field);
    if (n > 0) {
        HM_MODL_create_list(&scene.data.eye_mirror_restrictions);
        for (const Rect& s : stickers(n)) HM_MODL_put_list_item(scene.data.eye_mirror_restrictions, host_sheet(s));
    }
    return scene;
}

// One restriction run; its sheets and messages are removed afterwards.
double restrict_once(Scene& scene, bool* ok) {
    hm_list_p_t results = nullptr;
    HM_MODL_create_list(&results);
    double lost = 0.0;
    tag_t result = 0;
    const int status = mc_restrict_vision_sheet(scene.vision, scene.eye0, scene.eye2, 0, 0, 1, 2, &scene.mirror,
                                                &scene.data, kEyes, kTarget, 0, results, &lost, &result);
    *ok = status == 0 && result != 0;
    hm_list_p_t node = results ? results->next : nullptr;
    for (; node; node = node->next) HM_OBJ_delete_object(node->eid);
    HM_MODL_delete_list(&results);
    if (result) HM_OBJ_delete_object(result);
    for (int i = 0; i < scene.data.message_count; ++i) SM_free(scene.data.messages[i]);
    scene.data.message_count = 0;
    return lost;
}

// The library's subtraction of the holes from a copy of the vision sheet;
// the area left (-1 when a subtraction failed).
double library_subtract(tag_t vision, const std::vector<tag_t>& holes) {
    tag_t v = 0;
    if (HM_VD_copy_object(HM_VD_KEEP_LAYER, 1, &vision, &v) != 0) return -1.0;
    for (tag_t hole : holes) {
        ShadowCut outcome = ShadowCut::kApart;
        if (mc_subtract_shadow(&v, hole, kDistanceTolerance, "bench", &outcome) != 0 || v == 0) return -1.0;
    }
    const double area = host_testing::surface_area(v);
    HM_OBJ_delete_object(v);
    return area;
}

// The kernel's: one Cut per hole; the area left.
double kernel_subtract(const TopoDS_Face& vision, const std::vector<TopoDS_Face>& holes) {
    TopoDS_Shape v = vision;
    for (const TopoDS_Face& hole : holes) v = bench_kernel::boolean<BRepAlgoAPI_Cut>(v, hole);
    GProp_GProps props;
    BRepGProp::SurfaceProperties(v, props);
    return props.Mass();
}

}  // namespace

int main(int argc, char** argv) {
    host_testing::reset();
    host_testing::make_part("bench_mirror_restrictions");
    static std::vector<Scene> scenes;
    static std::vector<std::vector<tag_t>> host_holes;
    static std::vector<std::vector<TopoDS_Face>> kernel_holes;
    static const tag_t vision = host_sheet(kVision);
    static const TopoDS_Face kernel_vision = kernel_face(kVision);
    for (int n : kCounts) {
        scenes.push_back(make_scene(n));
        // Eye 0's shadow spans y in [4 y0, 4 y1] + 97.5, eye 2's the same - 97.5;
        // in common [4 y0 + 97.5, 4 y1 - 97.5], and z in [4 z0, 4 z1].
        host_holes.emplace_back();
        kernel_holes.emplace_back();
        for (const Rect& s : stickers(n)) {
            const Rect hole{3000, 4 * s.y0 + 97.5, 4 * s.y1 - 97.5, 4 * s.z0, 4 * s.z1};
            host_holes.back().push_back(host_sheet(hole));
            kernel_holes.back().push_back(kernel_face(hole));
        }
        bool ok = false;
        const double lost = restrict_once(scenes.back(), &ok);
        const double expected = n * 125.0 * 64.0 / (600.0 * 400.0) * 100.0;
        const double left = 600.0 * 400.0 - n * 125.0 * 64.0;
        const double library = library_subtract(vision, host_holes.back());
        const double kernel = kernel_subtract(kernel_vision, kernel_holes.back());
        std::printf("%d stickers: lost %.4f %% (holes by hand %.4f %%); left after subtraction %.3f (library), "
                    "%.3f (kernel), %.3f (by hand)\n",
                    n, lost, expected, library, kernel, left);
        if (!ok || std::fabs(lost - expected) > 1e-3 || std::fabs(library - left) > 1e-6 * left ||
            std::fabs(kernel - left) > 1e-6 * left) {
            std::fprintf(stderr, "the restriction of %d stickers is wrong\n", n);
            return 1;
        }
    }
    std::vector<carvell_bench::Ratio> ratios;
    for (size_t i = 0; i < scenes.size(); ++i) {
        const std::string n = std::to_string(kCounts[i]);
        const std::string run_name = "restrictions/run/" + n, library = "restrictions/subtract/library/" + n,
                          kernel = "restrictions/subtract/kernel/" + n;
        benchmark::RegisterBenchmark(run_name.c_str(), [i](benchmark::State& state) {
            for (auto _ : state) {
                bool ok = false;
                benchmark::DoNotOptimize(restrict_once(scenes[i], &ok));
            }
        })->Unit(benchmark::kMillisecond);
        if (kCounts[i] == 0) continue;   // nothing to subtract
        benchmark::RegisterBenchmark(library.c_str(), [i](benchmark::State& state) {
            for (auto _ : state) benchmark::DoNotOptimize(library_subtract(vision, host_holes[i]));
        })->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(kernel.c_str(), [i](benchmark::State& state) {
            for (auto _ : state) benchmark::DoNotOptimize(kernel_subtract(kernel_vision, kernel_holes[i]));
        })->Unit(benchmark::kMillisecond);
        ratios.push_back({"subtract library/kernel " + n + " stickers", library, kernel});
    }
    const int code = carvell_bench::run_with_ratios(argc, argv, ratios);
    for (Scene& scene : scenes) {
        HM_MODL_delete_list(&scene.data.eye_mirror_restrictions);
        SM_free(scene.data.messages);
        free_warning_table(&scene.data.warnings);
    }
    host_testing::reset();
    return code;
}
