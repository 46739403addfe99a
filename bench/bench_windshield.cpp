// The windshield's heavy work against the geometry kernel's calls it stands
// on: the wiped-area sweep, and the sheet trim by a zone's loop of curves.
//
// The windshield is an upright glass 2000 mm wide and 1000 mm high in the
// plane x = 0, facing forward; one wiper pivots 100 mm above its base with a
// 500 mm arm and a 300 mm radial blade and sweeps 90 degrees. Set-up checks
// that the library sweeps and trims before anything is timed.
//
// At angle steps of 2, 1 and 0.5 degrees (46, 91 and 181 steps):
//   wiped/library/<step>  HM_VD_WS_create_windshield_data with the wiped area
//                         (one wiper; the record released and the part
//                         undone after each run, outside the timing);
//   wiped/kernel/<step>   BRepAlgoAPI_Section of a kernel face with the same
//                         geometry by a plane through the pivot, once per step
//                         (the baseline: every step of the sweep cuts the
//                         glass by the blade's plane).
// And for the trim by a rectangle of four lines (a test area's loop):
//   trim/library          HM_MODL_trim_sheet keeping the inside;
//   trim/kernel           BRepAlgoAPI_Splitter of the kernel face by the same edges.
// And for the flat pattern of a doubly curved glass (a patch of a sphere of
// radius 2000 mm, 1000 mm up the slope, 10, 20 and 40 degrees across):
//   flat/library/<deg>    SMDFLAT_create_flat_pattern (meshed, laid flat as
//                         rigidly as possible, its outline carried; the part
//                         undone after each run, outside the timing);
//   flat/kernel/<deg>     BRepMesh_IncrementalMesh of a kernel face with the
//                         same geometry and chord height (the mesh it stands on).
// Baselines: BRepAlgoAPI_Section of the glass by the blade's plane once per step; BRepAlgoAPI_Splitter by the same edges; BRepMesh of the same face.
#include "farquil.h"
#include "hm_vd_ws.h"
#include "host_testing.h"
#include "omvra.h"
#include "quillon.h"
#include "ratio_report.h"
#include "zelvadt.h"

#include <BRepAlgoAPI_Section.hxx>
#include <BRepAlgoAPI_Splitter.hxx>
#include <BRepBuilderAPI_MakeEdge.hxx>
#include <BRepBuilderAPI_MakeFace.hxx>
#include <BRepBuilderAPI_MakePolygon.hxx>
#include <BRepMesh_IncrementalMesh.hxx>
#include <BRepTools.hxx>
#include <Geom_SphericalSurface.hxx>
#include <gp_Ax3.hxx>
#include <TopTools_ListOfShape.hxx>
#include <TopoDS_Face.hxx>
#include <gp_Pln.hxx>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr double kPi = 3.14159265358979323846;
const double kSteps[] = {2.0, 1.0, 0.5};
const double kCorner[3] = {0.0, -1000.0, 0.0};
const double kAcross[3] = {0.0, 2000.0, 0.0};
const double kUp[3] = {0.0, 0.0, 1000.0};
const double kPivot[3] = {0.0, -300.0, 100.0};
// The zone's rectangle on the glass: y -200..200, z 300..700.
const double kZone[4][3] = {{0, -200, 300}, {0, 200, 300}, {0, 200, 700}, {0, -200, 700}};

// The doubly curved glass of the flat pattern: radius, height, spans across.
constexpr double kGlassRadius = 2000.0;
constexpr double kGlassHeight = 1000.0;
const double kSpans[] = {10.0, 20.0, 40.0};

tag_t g_sheet = 0;
tag_t g_face = 0;
std::vector<tag_t> g_zone;
MTX4_t g_frame{};

TopoDS_Face kernel_face() {
    const gp_Pnt a(kCorner[0], kCorner[1], kCorner[2]);
    const gp_Pnt b(a.X(), a.Y() + kAcross[1], a.Z());
    const gp_Pnt c(b.X(), b.Y(), b.Z() + kUp[2]);
    const gp_Pnt d(a.X(), a.Y(), a.Z() + kUp[2]);
    return BRepBuilderAPI_MakeFace(BRepBuilderAPI_MakePolygon(a, b, c, d, Standard_True).Wire(), Standard_True)
        .Face();
}

void fill(ws_data_t& data, double step) {
    HM_VD_WS_init_windshield_data(&data);
    data.vehicle_frame = &g_frame;
    data.face_count = 1;
    data.faces = static_cast<tag_t*>(SM_alloc(sizeof(tag_t)));
    data.faces[0] = g_face;
    const double eye[3] = {600.0, -300.0, 500.0};
    std::memcpy(data.eye_point, eye, sizeof eye);
    data.want_wiped_area = true;
    data.wiper_mode = 2;
    std::memcpy(data.pivot[0], kPivot, sizeof kPivot);
    data.arm_length[0] = 500.0;
    data.blade_length[0] = 300.0;
    data.arm_angle[0] = 90.0;
    data.sweep_angle[0] = 90.0;
    data.angle_step = step;
}

// One run of the tool with the wiped area; the outline's curve count, or -1.
int library_sweep(double step) {
    ws_data_t data;
    fill(data, step);
    HM_VD_WS_create_windshield_data(&data);
    const int count = data.wiped_result.status == 0 ? data.wiped_result.count : -1;
    HM_VD_WS_release_windshield_data(&data);
    return count;
}

int library_trim() {
    std::vector<HM_MODL_trim_object_t> bounds;
    for (tag_t c : g_zone) bounds.push_back({c, 1});
    HM_MODL_proj_method_t projection{};
    const double keep[3] = {0.0, 0.0, 500.0};
    int gaps = 0;
    double* gap_points = nullptr;
    const int code = HM_MODL_trim_sheet(g_sheet, int(bounds.size()), bounds.data(), &projection, 1, 1, keep, 0.01,
                                        &gaps, &gap_points);
    SM_free(gap_points);
    return code;
}

// The glass patch `span` degrees across, facing +x, in the part.
tag_t curved_glass(double span) {
    const double centre[3] = {0, 0, 0}, direction[3] = {1, 0, 0}, up[3] = {0, 0, 1};
    return host_testing::make_spherical_patch(centre, kGlassRadius, direction, up, kGlassRadius * span * kPi / 180.0,
                                              kGlassHeight);
}

// The same patch as a kernel face.
TopoDS_Face kernel_glass(double span) {
    const gp_Ax3 frame(gp_Pnt(0, 0, 0), gp_Dir(0, 0, 1), gp_Dir(1, 0, 0));
    Handle(Geom_SphericalSurface) sphere = new Geom_SphericalSurface(frame, kGlassRadius);
    const double du = 0.5 * span * kPi / 180.0, dv = 0.5 * kGlassHeight / kGlassRadius;
    return BRepBuilderAPI_MakeFace(sphere, -du, du, -dv, dv, 1e-7).Face();
}

// One flat pattern of the glass about its middle; its stretch, or -1.
double library_flat(tag_t glass) {
    hm_list_p_t faces = nullptr;
    tag_t face = 0;
    HM_MODL_ask_body_faces(glass, &faces);
    HM_MODL_ask_list_item(faces, 0, &face);
    HM_MODL_delete_list(&faces);
    SMDFLAT_layout_t layout;
    SMDFLAT__initialize_layout(&layout);
    const double middle[2] = {0.5, 0.5};
    tag_t group = 0;
    SMDFLAT_init_module();
    const int code = SMDFLAT_fill_structure(&layout, face, middle) == 0
                         ? SMDFLAT_create_flat_pattern(glass, "FLAT", 1, &layout, &group)
                         : -1;
    SMDFLAT_exit_module();
    const double stretch = code == 0 ? layout.max_stretch : -1.0;
    SMDFLAT__free_layout(&layout);
    return stretch;
}

}  // namespace

int main(int argc, char** argv) {
    host_testing::reset();
    host_testing::make_part("bench_windshield");
    g_frame.m[0] = g_frame.m[5] = g_frame.m[10] = g_frame.m[15] = 1.0;
    g_sheet = host_testing::make_planar_sheet(kCorner, kAcross, kUp);
    hm_list_p_t faces = nullptr;
    HM_MODL_ask_body_faces(g_sheet, &faces);
    HM_MODL_ask_list_item(faces, 0, &g_face);
    HM_MODL_delete_list(&faces);
    for (int i = 0; i < 4; ++i) {
        const double* a = kZone[i];
        const double* b = kZone[(i + 1) % 4];
        g_zone.push_back(host_testing::make_line({a[0], a[1], a[2]}, {b[0], b[1], b[2]}));
    }
    static const TopoDS_Face face = kernel_face();

    for (double step : kSteps) {
        const UNDO_mark_t mark = UNDO_KW_set_mark(UNDO_invisible, "bench");
        const int count = library_sweep(step);
        UNDO_KW_undo_to_mark(mark);
        if (count < 4) {
            std::fprintf(stderr, "no wiped area at step %g\n", step);
            return 1;
        }
        std::printf("step %g deg: %d steps, %d outline curves\n", step, int(std::floor(90.0 / step)) + 1, count);
    }
    {
        const UNDO_mark_t mark = UNDO_KW_set_mark(UNDO_invisible, "bench");
        const int code = library_trim();
        UNDO_KW_undo_to_mark(mark);
        if (code != 0) {
            std::fprintf(stderr, "the zone trim failed: %d\n", code);
            return 1;
        }
    }

    std::vector<tag_t> glasses;
    for (double span : kSpans) {
        glasses.push_back(curved_glass(span));
        const UNDO_mark_t mark = UNDO_KW_set_mark(UNDO_invisible, "bench");
        const double stretch = library_flat(glasses.back());
        UNDO_KW_undo_to_mark(mark);
        if (stretch < 0.0) {
            std::fprintf(stderr, "no flat pattern of the glass %g deg across\n", span);
            return 1;
        }
        std::printf("glass %g deg across: flat with a largest stretch of %.3f %%\n", span, 100.0 * stretch);
    }

    std::vector<carvell_bench::Ratio> ratios;
    for (double step : kSteps) {
        char size[16];
        std::snprintf(size, sizeof size, "%g", step);
        const std::string library = std::string("wiped/library/") + size;
        const std::string kernel = std::string("wiped/kernel/") + size;
        benchmark::RegisterBenchmark(library.c_str(), [step](benchmark::State& state) {
            for (auto _ : state) {
                const UNDO_mark_t mark = UNDO_KW_set_mark(UNDO_invisible, "bench");
                benchmark::DoNotOptimize(library_sweep(step));
                state.PauseTiming();
                UNDO_KW_undo_to_mark(mark);
                state.ResumeTiming();
            }
        })->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(kernel.c_str(), [step](benchmark::State& state) {
            const int steps = int(std::floor(90.0 / step)) + 1;
            const gp_Pnt pivot(kPivot[0], kPivot[1], kPivot[2]);
            for (auto _ : state)
                for (int i = 0; i < steps; ++i) {
                    const double a = (180.0 - i * 90.0 / (steps - 1)) * kPi / 180.0;
                    // The blade's plane: through the pivot, holding the glass normal and the arm.
                    BRepAlgoAPI_Section section(face, gp_Pln(pivot, gp_Dir(0.0, -std::sin(a), -std::cos(a))));
                    benchmark::DoNotOptimize(section.Shape());
                }
        })->Unit(benchmark::kMillisecond);
        ratios.push_back({std::string("wiped library/kernel step ") + size, library, kernel});
    }
    benchmark::RegisterBenchmark("trim/library", [](benchmark::State& state) {
        for (auto _ : state) {
            const UNDO_mark_t mark = UNDO_KW_set_mark(UNDO_invisible, "bench");
            benchmark::DoNotOptimize(library_trim());
            state.PauseTiming();
            UNDO_KW_undo_to_mark(mark);
            state.ResumeTiming();
        }
    })->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("trim/kernel", [](benchmark::State& state) {
        TopTools_ListOfShape tools;
        for (int i = 0; i < 4; ++i) {
            const double* a = kZone[i];
            const double* b = kZone[(i + 1) % 4];
            tools.Append(BRepBuilderAPI_MakeEdge(gp_Pnt(a[0], a[1], a[2]), gp_Pnt(b[0], b[1], b[2])).Edge());
        }
        for (auto _ : state) {
            TopTools_ListOfShape args;
            args.Append(face);
            BRepAlgoAPI_Splitter splitter;
            splitter.SetArguments(args);
            splitter.SetTools(tools);
            splitter.SetFuzzyValue(0.01);
            splitter.Build();
            benchmark::DoNotOptimize(splitter.Shape());
        }
    })->Unit(benchmark::kMillisecond);
    ratios.push_back({"trim library/kernel", "trim/library", "trim/kernel"});
    for (size_t k = 0; k < glasses.size(); ++k) {
        char size[16];
        std::snprintf(size, sizeof size, "%g", kSpans[k]);
        const std::string library = std::string("flat/library/") + size;
        const std::string kernel = std::string("flat/kernel/") + size;
        const tag_t glass = glasses[k];
        benchmark::RegisterBenchmark(library.c_str(), [glass](benchmark::State& state) {
            for (auto _ : state) {
                const UNDO_mark_t mark = UNDO_KW_set_mark(UNDO_invisible, "bench");
                benchmark::DoNotOptimize(library_flat(glass));
                state.PauseTiming();
                UNDO_KW_undo_to_mark(mark);
                state.ResumeTiming();
            }
        })->Unit(benchmark::kMillisecond);
        const double span = kSpans[k];
        benchmark::RegisterBenchmark(kernel.c_str(), [span](benchmark::State& state) {
            const TopoDS_Face glass_face = kernel_glass(span);
            // The chord height the flat pattern meshes with: a thousandth of the glass's size.
            const double chord = 1e-3 * std::hypot(2.0 * kGlassRadius * std::sin(0.5 * span * kPi / 180.0), kGlassHeight);
            for (auto _ : state) {
                BRepTools::Clean(glass_face);
                BRepMesh_IncrementalMesh mesh(glass_face, chord, false, 0.2, false);
                benchmark::DoNotOptimize(mesh.IsDone());
            }
        })->Unit(benchmark::kMillisecond);
        ratios.push_back({std::string("flat library/kernel ") + size + " deg", library, kernel});
    }
    const int code = carvell_bench::run_with_ratios(argc, argv, ratios);
    host_testing::reset();
    return code;
}
