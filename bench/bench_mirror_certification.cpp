// A whole driver outside-mirror certification, and its usable-glass face
// beside the geometry kernel's own sphere patch of the same bezel.
//
// The mirror is the sedan's convex glass (R 1400, 190 x 120 about
// (650, -1000, 1000)) under ECE R46 Class III far (kind 1, row 6, back angle
// 25 degrees, 20 m and 4 m from the car's side at y = -900); its bezel is a
// polygon of 4, 16 or 64 straight pieces around an opening 180 x 110 held
// 15 mm proud of the glass.
//   mirror/run/<n>           init, HM_VD_MC_process and release, the part
//                            undone to a mark after each: the whole run, to
//                            show how it grows with the bezel's pieces;
//   mirror/patch/library/<n> the usable-glass face a spherical glass takes
//                            (mc_spherical_patch_through the bezel's corners,
//                            in the sphere's parameters: no prism, no
//                            Boolean);
//   mirror/patch/kernel/<n>  the kernel's direct sphere patch bounded by the
//                            same corners' parameter polygon (the baseline);
//                            both sides measure the face's area.
// Set-up checks that the two faces have the same area.
// Baseline: Geom_SphericalSurface and BRepBuilderAPI_MakeFace bounded by the bezel corners' parameter polygon (same area as the library's face).
#include "farquil.h"
#include "hm_vd_mc.h"
#include "host_testing.h"
#include "mirror_helpers.h"
#include "omvra.h"
#include "ratio_report.h"

#include <BRepBuilderAPI_MakeEdge.hxx>
#include <BRepBuilderAPI_MakeFace.hxx>
#include <BRepBuilderAPI_MakeWire.hxx>
#include <BRepGProp.hxx>
#include <BRepLib.hxx>
#include <ElSLib.hxx>
#include <GCE2d_MakeSegment.hxx>
#include <GProp_GProps.hxx>
#include <Geom_SphericalSurface.hxx>
#include <TopoDS_Face.hxx>
#include <TopoDS_Wire.hxx>
#include <gp_Ax3.hxx>

#include <algorithm>
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

// The kernel's sphere patch inside the corners (packed, the first repeated
// last), the sphere turned as the library turns it (seam and poles a quarter
// turn from the corners' mean direction): each side a segment of the
// corners' parameters.
TopoDS_Face kernel_patch(const std::vector<double>& corners) {
    const V c = sphere_centre();
    V mean = {0, 0, 0};
    const double n = static_cast<double>(corners.size() / 3);
    for (size_t i = 0; i + 2 < corners.size(); i += 3)
        mean = add(mean, scale(1.0 / n, sub({corners[i], corners[i + 1], corners[i + 2]}, c)));
    const V axis = unit(mean);
    const V pole = {axis[1], -axis[0], 0.0};   // axis x (0, 0, 1)
    const gp_Ax3 frame(gp_Pnt(c[0], c[1], c[2]), gp_Dir(pole[0], pole[1], pole[2]),
                       gp_Dir(-axis[0], -axis[1], -axis[2]));
    Handle(Geom_SphericalSurface) sphere = new Geom_SphericalSurface(frame, kRadius);
    std::vector<gp_Pnt2d> uv;
    for (size_t i = 0; i + 2 < corners.size(); i += 3) {
        double pu = 0.0, pv = 0.0;
        ElSLib::Parameters(sphere->Sphere(), gp_Pnt(corners[i], corners[i + 1], corners[i + 2]), pu, pv);
        uv.emplace_back(pu, pv);
    }
    double twice_area = 0.0;
    for (size_t i = 0; i + 1 < uv.size(); ++i) twice_area += uv[i].X() * uv[i + 1].Y() - uv[i + 1].X() * uv[i].Y();
    if (twice_area < 0.0) std::reverse(uv.begin(), uv.end());
    BRepBuilderAPI_MakeWire wire;
    for (size_t i = 0; i + 1 < uv.size(); ++i)
        wire.Add(BRepBuilderAPI_MakeEdge(GCE2d_MakeSegment(uv[i], uv[i + 1]).Value(), sphere).Edge());
    TopoDS_Wire w = wire.Wire();
    BRepLib::BuildCurves3d(w);
    return BRepBuilderAPI_MakeFace(sphere, w, true).Face();
}

double kernel_area(const TopoDS_Face& face) {
    GProp_GProps props;
    BRepGProp::SurfaceProperties(face, props);
    return props.Mass();
}

// The bezel's corners: n points of the opening's rim (on the sphere of
// radius R + 15), packed, the first repeated last.
std::vector<double> rim(int n) {
    const V c = sphere_centre();
    const double r = kRadius + 15.0;
    std::vector<double> points;
    const double w = 90.0, h = 55.0;
    const int per_side = n / 4;
    const V corners[4] = {{-w, -h, 0}, {w, -h, 0}, {w, h, 0}, {-w, h, 0}};
    for (int side = 0; side < 4; ++side)
        for (int k = 0; k < per_side; ++k) {
            const V a = corners[side], b = corners[(side + 1) % 4];
            const double t = static_cast<double>(k) / per_side;
            const double s = a[0] + t * (b[0] - a[0]), v = a[1] + t * (b[1] - a[1]);
            const V dir = unit(add(add(scale(r, normal()), scale(s, across())), scale(v, up())));
            const V p = add(c, scale(r, dir));
            points.insert(points.end(), p.begin(), p.end());
        }
    points.insert(points.end(), points.begin(), points.begin() + 3);
    return points;
}

// The bezel: n lines between its corners.
std::vector<tag_t> bezel(const std::vector<double>& corners) {
    std::vector<tag_t> lines;
    for (size_t i = 0; i + 5 < corners.size(); i += 3)
        lines.push_back(host_testing::make_line({corners[i], corners[i + 1], corners[i + 2]},
                                                {corners[i + 3], corners[i + 4], corners[i + 5]}));
    return lines;
}

struct Setup {
    tag_t glass = 0;
    std::vector<double> corners;
    std::vector<tag_t> bezel;
};

// The glass's sphere as the mirror record holds it.
mc_mirror_surface_record glass_sphere() {
    mc_mirror_surface_record s{};
    const V c = sphere_centre(), n = normal();
    for (int k = 0; k < 3; ++k) {
        s.centre[k] = c[k];
        s.normal[k] = n[k];
        s.vertex[k] = c[k] + kRadius * n[k];
    }
    s.radius = kRadius;
    s.curvature = 1.0 / kRadius;
    return s;
}

// The library's face of a spherical glass inside the bezel's corners, its area (0 when none).
double library_patch(const Setup& s) {
    std::vector<int> breaks;
    const int n = static_cast<int>(s.corners.size() / 3);
    for (int i = 0; i < n; ++i) breaks.push_back(i);
    tag_t patch = 0;
    if (carvell::mirror::mc_spherical_patch_through(n, s.corners.data(), n, breaks.data(), glass_sphere(), &patch) !=
        0)
        return 0.0;
    const double area = host_testing::surface_area(patch);
    HM_OBJ_delete_object(patch);
    return area;
}

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

}  // namespace

int main(int argc, char** argv) {
    host_testing::reset();
    host_testing::make_part("bench_mirror_certification");
    static std::vector<Setup> setups;
    const V n = normal(), u = up(), c = sphere_centre();
    for (int segments : kSegments) {
        Setup s;
        s.glass = host_testing::make_spherical_patch(c.data(), kRadius, n.data(), u.data(), 190.0, 120.0);
        s.corners = rim(segments);
        s.bezel = bezel(s.corners);
        const int status = run(s);
        if (status != 0) {
            std::fprintf(stderr, "the run with %d bezel pieces failed: %d\n", segments, status);
            return 1;
        }
        const double patch = library_patch(s), kernel = kernel_area(kernel_patch(s.corners));
        std::printf("bezel of %d pieces: usable glass %.3f (library), %.3f (kernel) mm2\n", segments, patch, kernel);
        if (!(std::fabs(patch - kernel) <= 1e-6 * kernel)) {
            std::fprintf(stderr, "the faces of the bezel of %d pieces differ\n", segments);
            return 1;
        }
        setups.push_back(s);
    }
    std::vector<carvell_bench::Ratio> ratios;
    for (size_t i = 0; i < setups.size(); ++i) {
        const std::string size = std::to_string(kSegments[i]);
        const std::string run_name = "mirror/run/" + size, patch = "mirror/patch/library/" + size,
                          kernel = "mirror/patch/kernel/" + size;
        benchmark::RegisterBenchmark(run_name.c_str(), [i](benchmark::State& state) {
            for (auto _ : state) benchmark::DoNotOptimize(run(setups[i]));
        })->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(patch.c_str(), [i](benchmark::State& state) {
            for (auto _ : state) benchmark::DoNotOptimize(library_patch(setups[i]));
        })->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(kernel.c_str(), [i](benchmark::State& state) {
            for (auto _ : state) benchmark::DoNotOptimize(kernel_area(kernel_patch(setups[i].corners)));
        })->Unit(benchmark::kMillisecond);
        ratios.push_back({"patch library/kernel bezel " + size, patch, kernel});
        if (i > 0) ratios.push_back({"run bezel " + size + "/run bezel 4", run_name, "mirror/run/4"});
    }
    const int code = carvell_bench::run_with_ratios(argc, argv, ratios);
    host_testing::reset();
    return code;
}
