// Stone impingement: the stone-path step against the kernel's ray-face
// intersection of the same stones, the whole run for the record, and the
// contour lines on a synthetic grid.
//
//   stone_paths/library/<faces>  HM_VD_SI_gen_stone_paths for the 85 radial
//                                sections of the tire model on each of 1, 4
//                                or 16 floor strips: the 50 stones of each
//                                section landed on the strip (the launch
//                                line thrown point by point) with their
//                                impact angles;
//   stone_paths/kernel/<faces>   the same 85 x 50 stones shot at the same
//                                strips with IntCurvesFace_Intersector (one
//                                per strip, set up once as the host keeps
//                                its own), each hit's normal from its
//                                surface parameters and the impact angle from
//                                it (the baseline; set-up checks that both
//                                give the same points and angles);
//   stone_main/<faces>/<blocking> HM_VD_SI_main over 1, 4 or 16 floor strips
//                                with 0, 4 or 16 blocking planes (behind the
//                                floor, so they block nothing but are asked
//                                for every stone): the whole run (paths,
//                                contours, areas), for the record;
//   stone_contours/<angles>      HM_VD_SI_gen_contours with no face on an
//                                85 x 50 grid whose angles rise along the
//                                stones, at 10, 30 and 90 contour angles.
// Baseline: IntCurvesFace_Intersector shooting the same stones at the same faces, impact angles from the hit normals.
#include "hm_vd_si.h"
#include "host_testing.h"
#include "omvra.h"
#include "quillon.h"
#include "ratio_report.h"

#include <BRepAdaptor_Surface.hxx>
#include <BRepBuilderAPI_MakeFace.hxx>
#include <BRepLProp_SLProps.hxx>
#include <IntCurvesFace_Intersector.hxx>
#include <TopoDS_Face.hxx>
#include <gp_Ax3.hxx>
#include <gp_Lin.hxx>
#include <gp_Pln.hxx>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
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

// Strips of the floor 200 mm up, side by side along x, 0.4 to 2.5 m; y 500
// to 900, normal +z (the stones meet it from below: face sign -1).
constexpr double kFloorZ = 200.0, kFloorX0 = 400.0, kFloorX1 = 2500.0, kFloorY0 = 500.0, kFloorY1 = 900.0;
constexpr int kFaceSign = -1;

tag_t strip(int i, int n) {
    const double len = (kFloorX1 - kFloorX0) / n;
    const double corner[3] = {kFloorX0 + i * len, kFloorY0, kFloorZ}, u[3] = {len, 0, 0},
                 v[3] = {0, kFloorY1 - kFloorY0, 0};
    hm_list_p_t faces = nullptr;
    HM_MODL_ask_body_faces(host_testing::make_planar_sheet(corner, u, v), &faces);
    tag_t f = 0;
    HM_MODL_ask_list_item(faces, 0, &f);
    HM_MODL_delete_list(&faces);
    return f;
}

// The same strip built with the kernel directly (u along x, v along y).
TopoDS_Face kernel_strip(int i, int n) {
    const double len = (kFloorX1 - kFloorX0) / n;
    const gp_Pln plane(gp_Ax3(gp_Pnt(0, 0, kFloorZ), gp_Dir(0, 0, 1), gp_Dir(1, 0, 0)));
    return BRepBuilderAPI_MakeFace(plane, kFloorX0 + i * len, kFloorX0 + (i + 1) * len, kFloorY0, kFloorY1).Face();
}

// The tire model's radial sections: throw directions and launch points.
struct Tire {
    double centre[3] = {0, 0, 0};
    double step = 0.0;
    std::unique_ptr<double[][3]> directions = std::make_unique<double[][3]>(SI_SECTION_COUNT);
    std::unique_ptr<double[][SI_STONE_COUNT][3]> points = std::make_unique<double[][SI_STONE_COUNT][3]>(SI_SECTION_COUNT);
};

void make_tire(si_data_s* rec, Tire& tire) {
    tag_t plane = 0;
    HM_VD_SI_gen_tire_data(rec, tire.centre, tire.directions.get(), &tire.step, tire.points.get(), &plane);
    HM_OBJ_delete_object(plane);
}

// A landed stone: its face, section, point and impact angle.
struct Landing {
    int face, section;
    double point[3];
    double angle;
};

// The library's stone-path step on every strip and section.
std::vector<Landing> library_paths(si_data_s* rec, const Tire& tire, const std::vector<tag_t>& faces) {
    static double points[SI_STONE_COUNT][3], angles[SI_STONE_COUNT], blocking[1][SI_SECTION_COUNT][3];
    int blocking_counts[1] = {0};
    std::vector<Landing> out;
    for (size_t f = 0; f < faces.size(); ++f)
        for (int s = 0; s < SI_SECTION_COUNT; ++s) {
            int count = 0, state = 0;
            HM_VD_SI_gen_stone_paths(rec, tire.centre[1], tire.step, 0, SI_STONE_COUNT - 1, tire.points[s],
                                     tire.directions[s], faces[f], kFaceSign, &count, points, angles, &state,
                                     blocking_counts, blocking);
            for (int j = 0; j < count; ++j)
                out.push_back({static_cast<int>(f), s, {points[j][0], points[j][1], points[j][2]}, angles[j]});
        }
    return out;
}

// The kernel's: each stone's nearest forward hit on each strip, the face
// normal there and the impact angle; stones at 1 degree or less dropped as
// the library drops them.
std::vector<Landing> kernel_paths(const Tire& tire, std::vector<IntCurvesFace_Intersector>& intersectors,
                                  const std::vector<BRepAdaptor_Surface>& surfaces,
                                  const std::vector<TopoDS_Face>& faces) {
    std::vector<Landing> out;
    for (size_t f = 0; f < intersectors.size(); ++f)
        for (int s = 0; s < SI_SECTION_COUNT; ++s) {
            const gp_Dir d(tire.directions[s][0], tire.directions[s][1], tire.directions[s][2]);
            for (int j = 0; j < SI_STONE_COUNT; ++j) {
                const double* p = tire.points[s][j];
                IntCurvesFace_Intersector& x = intersectors[f];
                x.Perform(gp_Lin(gp_Pnt(p[0], p[1], p[2]), d), 0.0, 1e10);
                int nearest = 0;
                for (int i = 1; i <= x.NbPnt(); ++i)
                    if ((x.State(i) == TopAbs_IN || x.State(i) == TopAbs_ON) &&
                        (nearest == 0 || x.WParameter(i) < x.WParameter(nearest)))
                        nearest = i;
                if (nearest == 0) continue;
                BRepLProp_SLProps props(surfaces[f], x.UParameter(nearest), x.VParameter(nearest), 1, 1e-9);
                gp_Dir n = props.Normal();
                if (faces[f].Orientation() == TopAbs_REVERSED) n.Reverse();
                const double c = std::clamp(kFaceSign * n.Dot(d), -1.0, 1.0);
                const double angle = std::acos(c) * 180.0 / 3.14159265358979323846 - 90.0;
                if (angle <= 1.0) continue;
                const gp_Pnt q = x.Pnt(nearest);
                out.push_back({static_cast<int>(f), s, {q.X(), q.Y(), q.Z()}, angle});
            }
        }
    return out;
}

// One floor of n strips with the tire model, for both sides of the pair.
struct Floor {
    std::unique_ptr<si_data_s> rec = std::make_unique<si_data_s>();
    Tire tire;
    std::vector<tag_t> faces;
    std::vector<TopoDS_Face> kernel_faces;
    std::vector<BRepAdaptor_Surface> surfaces;
    std::vector<IntCurvesFace_Intersector> intersectors;
};

void make_floor(int n, Floor& floor) {
    host_testing::reset();
    host_testing::make_part("bench", false);
    HM_VD_SI_initialize_data(floor.rec.get(), n, 0);
    fill_tire(*floor.rec);
    make_tire(floor.rec.get(), floor.tire);
    for (int i = 0; i < n; ++i) {
        floor.faces.push_back(strip(i, n));
        floor.rec->face_tags[i] = floor.faces.back();
        floor.kernel_faces.push_back(kernel_strip(i, n));
        floor.surfaces.emplace_back(floor.kernel_faces.back());
    }
    floor.intersectors.reserve(n);
    for (const TopoDS_Face& f : floor.kernel_faces) floor.intersectors.emplace_back(f, 1e-7);
}

// The set-up check of the pair: both land the same stones at the same
// points and angles.
bool same_landings(int n) {
    Floor floor;
    make_floor(n, floor);
    const std::vector<Landing> library = library_paths(floor.rec.get(), floor.tire, floor.faces);
    const std::vector<Landing> kernel = kernel_paths(floor.tire, floor.intersectors, floor.surfaces, floor.kernel_faces);
    int matched = 0;
    double worst_point = 0.0, worst_angle = 0.0;
    for (const Landing& l : library)
        for (const Landing& k : kernel) {
            if (k.face != l.face || k.section != l.section) continue;
            const double d = std::hypot(std::hypot(k.point[0] - l.point[0], k.point[1] - l.point[1]),
                                        k.point[2] - l.point[2]);
            if (d > 1e-6) continue;
            ++matched;
            worst_point = std::max(worst_point, d);
            worst_angle = std::max(worst_angle, std::fabs(k.angle - l.angle));
            break;
        }
    std::printf("%d strip%s: the library lands %zu stones, the kernel %zu; %d at the same point (largest "
                "difference %.1e mm, %.1e degrees)\n",
                n, n == 1 ? "" : "s", library.size(), kernel.size(), matched, worst_point, worst_angle);
    HM_VD_SI_free_data(floor.rec.get());
    return !library.empty();
}

void run_paths_library(benchmark::State& state) {
    Floor floor;
    make_floor(static_cast<int>(state.range(0)), floor);
    for (auto _ : state) benchmark::DoNotOptimize(library_paths(floor.rec.get(), floor.tire, floor.faces).size());
    HM_VD_SI_free_data(floor.rec.get());
}

void run_paths_kernel(benchmark::State& state) {
    Floor floor;
    make_floor(static_cast<int>(state.range(0)), floor);
    for (auto _ : state)
        benchmark::DoNotOptimize(kernel_paths(floor.tire, floor.intersectors, floor.surfaces, floor.kernel_faces).size());
    HM_VD_SI_free_data(floor.rec.get());
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
    for (int n : {1, 4, 16})
        if (!same_landings(n)) {
            std::fprintf(stderr, "no stones landed on %d strips\n", n);
            return 1;
        }
    benchmark::RegisterBenchmark("stone_paths/library", run_paths_library)
        ->Arg(1)->Arg(4)->Arg(16)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("stone_paths/kernel", run_paths_kernel)
        ->Arg(1)->Arg(4)->Arg(16)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("stone_main", run_main)
        ->ArgsProduct({{1, 4, 16}, {0}})
        ->Args({1, 4})
        ->Args({1, 16})
        ->Iterations(1)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("stone_contours", run_contours)->Arg(10)->Arg(30)->Arg(90)->Unit(benchmark::kMillisecond);
    std::vector<carvell_bench::Ratio> ratios;
    for (const char* n : {"1", "4", "16"})
        ratios.push_back({std::string("library/kernel stone paths, faces ") + n, std::string("stone_paths/library/") + n,
                          std::string("stone_paths/kernel/") + n});
    return carvell_bench::run_with_ratios(argc, argv, ratios);
}
