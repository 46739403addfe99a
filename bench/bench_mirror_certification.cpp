// A whole driver outside-mirror certification against the geometry kernel's
// common region of the same two faces, as often as the run's positioning
// iterates.
//
// The mirror is the sedan's convex glass (R 1400, 190 x 120 about
// (650, -1000, 1000)) under ECE R46 Class III far (kind 1, row 6, back angle
// 25 degrees, 20 m and 4 m from the car's side at y = -900); its bezel is a
// polygon of 4, 16 or 64 straight pieces around an opening 180 x 110 held
// 15 mm proud of the glass. Each positioning iteration reflects every bezel
// sample onto the turned glass and intersects two bounded sheets.
//   mirror/library/<n>  init, HM_VD_MC_process and release, the part undone
//                       to a mark after each;
//   mirror/kernel/<n>   BRepAlgoAPI_Common of the glass face and the usable
//                       face (the baseline), once per positioning iteration
//                       the run made (counted before anything is timed).
// Baseline: BRepAlgoAPI_Common of the glass and usable faces, once per positioning iteration.
#include "farquil.h"
#include "hm_vd_mc.h"
#include "host_testing.h"
#include "omvra.h"
#include "ratio_report.h"

#include <BRepAlgoAPI_Common.hxx>
#include <BRepBuilderAPI_MakeFace.hxx>
#include <Geom_SphericalSurface.hxx>
#include <TopoDS_Face.hxx>
#include <gp_Ax3.hxx>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

using V = std::array<double, 3>;
V add(V a, V b) { return {a[0] + b[0], a[1] + b[1], a[2] + b[2]}; }
V sub(V a, V b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
V scale(double k, V a) { return {k * a[0], k * a[1], k * a[2]}; }
double dot(V a, V b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
V unit(V a) { return scale(1.0 / std::sqrt(dot(a, a)), a); }

const V kSgrp = {1250.0, -370.0, 520.0};
const V kLeftEye = add(kSgrp, {0.0, -32.5, 635.0});
const V kGlassCentre = {650.0, -1000.0, 1000.0};
constexpr double kRadius = 1400.0;
constexpr double kCarSide = -900.0;
const int kSegments[] = {4, 16, 64};

V normal() {
    const V field = {kLeftEye[0] + 20000.0, kCarSide - 2000.0, 0.0};
    return unit(add(unit(sub(kLeftEye, kGlassCentre)), unit(sub(field, kGlassCentre))));
}
V sphere_centre() { return sub(kGlassCentre, scale(kRadius, normal())); }
V up() { return unit(sub(V{0, 0, 1}, scale(normal()[2], normal()))); }
V across() {
    const V n = normal(), u = up();
    return {u[1] * n[2] - u[2] * n[1], u[2] * n[0] - u[0] * n[2], u[0] * n[1] - u[1] * n[0]};
}

TopoDS_Face kernel_patch(double width, double height, double radius) {
    const V c = sphere_centre(), n = normal(), u = up();
    const gp_Ax3 frame(gp_Pnt(c[0], c[1], c[2]), gp_Dir(u[0], u[1], u[2]), gp_Dir(n[0], n[1], n[2]));
    Handle(Geom_SphericalSurface) sphere = new Geom_SphericalSurface(frame, radius);
    return BRepBuilderAPI_MakeFace(sphere, -0.5 * width / radius, 0.5 * width / radius, -0.5 * height / radius,
                                   0.5 * height / radius, 1e-7)
        .Face();
}

// The bezel: n lines between points of the opening's rim (on the sphere of
// radius R + 15), its corners among them.
std::vector<tag_t> bezel(int n) {
    const V c = sphere_centre();
    const double r = kRadius + 15.0;
    std::vector<V> rim;
    const double w = 90.0, h = 55.0;
    const int per_side = n / 4;
    const V corners[4] = {{-w, -h, 0}, {w, -h, 0}, {w, h, 0}, {-w, h, 0}};
    for (int side = 0; side < 4; ++side)
        for (int k = 0; k < per_side; ++k) {
            const V a = corners[side], b = corners[(side + 1) % 4];
            const double t = static_cast<double>(k) / per_side;
            const double s = a[0] + t * (b[0] - a[0]), v = a[1] + t * (b[1] - a[1]);
            const V dir = unit(add(add(scale(r, normal()), scale(s, across())), scale(v, up())));
            rim.push_back(add(c, scale(r, dir)));
        }
    std::vector<tag_t> lines;
    for (size_t i = 0; i < rim.size(); ++i) {
        const V& a = rim[i];
        const V& b = rim[(i + 1) % rim.size()];
        lines.push_back(host_testing::make_line({a[0], a[1], a[2]}, {b[0], b[1], b[2]}));
    }
    return lines;
}

struct Setup {
    tag_t glass = 0;
    std::vector<tag_t> bezel;
};

mc_input_data_t input(const Setup& s) {
    mc_input_data_t in{};
    in.vehicle_orientation[0] = in.vehicle_orientation[4] = in.vehicle_orientation[8] = 1.0;
    in.mirror_kind = 1;
    in.standard_row = 6;
    for (int i = 0; i < 3; ++i) {
        in.eye_reference_point[i] = kSgrp[i];
        in.mirror_reference_point[i] = in.prime_point[i] = kGlassCentre[i];
    }
    in.ocular_back_angle_index = 25;
    in.positioning = true;
    in.mirror = s.glass;
    in.mirror_shape = 1;
    in.user_radius = kRadius;
    in.lower_legal_radius = 1200.0;
    in.upper_legal_radius = 99999.0;
    in.standard_distance = 20000.0;
    in.standard_value = 4000.0;
    in.first_target_point[1] = kCarSide;
    in.bezel_count = static_cast<int>(s.bezel.size());
    in.bezels = s.bezel.data();
    for (int& c : in.colours) c = 2;
    in.result_layer = 200;
    return in;
}

// One run, the part undone to how it was; the run's status.
int run(const Setup& s) {
    const UNDO_mark_t mark = UNDO_KW_set_mark(UNDO_invisible, "bench");
    mc_input_data_t in = input(s);
    mc_data_s d{};
    HM_VD_MC_init_data(&in, &d);
    const int status = HM_VD_MC_process(&d);
    HM_VD_MC_release_data(&d);
    UNDO_KW_undo_to_mark(mark);
    UNDO_KW_delete_mark(mark);
    return status;
}

// Positioning iterations of one run, from its progress lines.
int iterations(const Setup& s) {
    host_testing::clear_sinks();
    host_testing::set_checking_level(1);
    run(s);
    host_testing::set_checking_level(0);
    int n = 0;
    for (const std::string& line : host_testing::error_lines())
        if (line.find("+++ Start of Iteration") != std::string::npos) ++n;
    host_testing::clear_sinks();
    return n;
}

}  // namespace

int main(int argc, char** argv) {
    host_testing::reset();
    host_testing::make_part("bench_mirror_certification");
    static std::vector<Setup> setups;
    static std::vector<int> counts;
    const V n = normal(), u = up(), c = sphere_centre();
    for (int segments : kSegments) {
        Setup s;
        s.glass = host_testing::make_spherical_patch(c.data(), kRadius, n.data(), u.data(), 190.0, 120.0);
        s.bezel = bezel(segments);
        const int status = run(s);
        if (status != 0) {
            std::fprintf(stderr, "the run with %d bezel pieces failed: %d\n", segments, status);
            return 1;
        }
        counts.push_back(iterations(s));
        std::printf("bezel of %d pieces: %d positioning iterations\n", segments, counts.back());
        setups.push_back(s);
    }
    static const TopoDS_Face glass = kernel_patch(190.0, 120.0, kRadius);
    static const TopoDS_Face usable = kernel_patch(180.0, 110.0, kRadius);
    std::vector<carvell_bench::Ratio> ratios;
    for (size_t i = 0; i < setups.size(); ++i) {
        const std::string size = std::to_string(kSegments[i]);
        const std::string library = "mirror/library/" + size, kernel = "mirror/kernel/" + size;
        benchmark::RegisterBenchmark(library.c_str(), [i](benchmark::State& state) {
            for (auto _ : state) benchmark::DoNotOptimize(run(setups[i]));
        })->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(kernel.c_str(), [i](benchmark::State& state) {
            for (auto _ : state)
                for (int k = 0; k < counts[i]; ++k) {
                    BRepAlgoAPI_Common common(glass, usable);
                    benchmark::DoNotOptimize(common.Shape());
                }
        })->Unit(benchmark::kMillisecond);
        ratios.push_back({"library/kernel bezel " + size, library, kernel});
    }
    const int code = carvell_bench::run_with_ratios(argc, argv, ratios);
    host_testing::reset();
    return code;
}
