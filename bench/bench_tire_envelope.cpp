// The tire envelope engine's heavy work, at three sizes of spindle file, and
// its sheet beside the kernel's loft of the same curves.
//
//   tire_envelope/curves/<records>  create_tire_envelope_curves of a 235/55
//                                   R18 front wheel from 0 to 180 degrees
//                                   (19 sections) with about 9, 35 and 140
//                                   spindle records; the boundary walk is
//                                   quadratic in the section points, which
//                                   grow with the records;
//   tire_envelope/sheet/library     gen_tire_envelope through 19 section
//                                   splines made in the host part;
//   tire_envelope/sheet/kernel      BRepOffsetAPI_ThruSections through the
//                                   kernel's own cubics interpolated through
//                                   the same points (the baseline).
// Baseline: BRepOffsetAPI_ThruSections through the kernel's cubics of the same section points.
#include "host_testing.h"
#include "omvra.h"
#include "ratio_report.h"
#include "tire_envelope.h"

#include <BRepBuilderAPI_MakeEdge.hxx>
#include <BRepBuilderAPI_MakeWire.hxx>
#include <BRepOffsetAPI_ThruSections.hxx>
#include <GeomAPI_Interpolate.hxx>
#include <Geom_BSplineCurve.hxx>
#include <TColgp_HArray1OfPnt.hxx>

#include <sys/stat.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using namespace carvell_bench;

constexpr double kPi = 3.14159265358979323846;
constexpr const char* kInstance = "FR_TIRE_ENVELOPE";
const std::string kTmp = "/tmp/bench_tire_envelope";

std::string record(double dz, double steer) {
    double d[3] = {-std::tan(0.2 * kPi / 180), 1.0, std::tan(0.5 * kPi / 180)};
    const double n = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
    for (double& v : d) v /= n;
    const double s = steer * kPi / 180;
    const double r[3] = {d[0] * std::cos(s) - d[1] * std::sin(s), d[0] * std::sin(s) + d[1] * std::cos(s), d[2]};
    char line[160];
    std::snprintf(line, sizeof line, "%.3f, %.3f, %.3f, %.3f, %.3f, %.3f", 0.0, 790.0, 360.0 + dz, -100 * r[0],
                  790.0 - 100 * r[1], 360.0 + dz - 100 * r[2]);
    return line;
}

// About `records` positions: a grid of travel and steering.
std::string spindle_list(int records) {
    const int steps = std::max(1, static_cast<int>(std::lround(std::sqrt(records))) - 1);
    std::string list = "{ \"" + record(0, 0) + "\"";
    for (int i = 0; i <= steps; ++i)
        for (int k = 0; k <= steps; ++k) {
            if (i == 0 && k == 0) continue;
            const double dz = -90.0 + 170.0 * i / steps, steer = -35.0 + 70.0 * k / steps;
            list += ", \"" + record(dz, steer) + "\"";
        }
    return list + " }";
}

void fill(tire_envelope_params_s& p) {
    p = tire_envelope_params_s{};
    std::snprintf(p.instance_name, sizeof p.instance_name, "%s", kInstance);
    p.csys_matrix[0] = p.csys_matrix[4] = p.csys_matrix[8] = 1.0;
    p.rim_diameter = 457.2;
    const double half[][2] = {{0.0, 129.25}, {20.0, 129.0}, {40.0, 128.3},  {60.0, 127.0},
                              {80.0, 124.5}, {95.0, 120.0}, {105.0, 112.0}, {112.0, 100.0},
                              {116.5, 80.0}, {117.5, 55.0}, {115.0, 30.0},  {108.0, 10.0}};
    p.num_profile_pts = 12;
    for (int i = 0; i < 12; ++i) p.profile_pts[i][0] = half[i][0], p.profile_pts[i][1] = half[i][1];
    p.half_profile = 1;
    p.trim_dist = 250.0;
    p.concavity = 0.5;
    p.sec1_layer = 101;
    p.surface_layer = 150;
    p.profile_layer = 151;
    p.spindle_line_layer = 152;
    p.radial_end = 180.0;
    p.create_sheet = 1;
    p.cur_offset_section = -1;
}

void fresh_part(int records) {
    host_testing::reset();
    host_testing::make_part("bench", false);
    host_testing::set_env("KWII_TMP_DIR", kTmp.c_str());
    host_testing::make_rule_instance("root:", kInstance, "%kw_vd_evt_envelope",
                                     {{"spindle_file_data", spindle_list(records)}});
}

void BM_Curves(benchmark::State& state) {
    const int records = static_cast<int>(state.range(0));
    int made = 0;
    for (auto _ : state) {
        state.PauseTiming();
        fresh_part(records);
        tire_envelope_params_s p;
        fill(p);
        int count = 0;
        tag_t splines[64], profile, wheel, tire, spindle;
        state.ResumeTiming();
        if (create_tire_envelope_curves(&p, &count, splines, &profile, &wheel, &tire, &spindle) != 0)
            state.SkipWithError("create_tire_envelope_curves failed");
        made = count;
    }
    state.counters["splines"] = made;
}
BENCHMARK(BM_Curves)->Name("tire_envelope/curves")->Arg(9)->Arg(35)->Arg(140)->Unit(benchmark::kMillisecond)
    ->Iterations(2);

// The 19 section outlines: points of a tire-like envelope section at each
// radial angle, the same points for the host splines and the kernel's cubics.
std::vector<std::vector<gp_Pnt>> section_points() {
    std::vector<std::vector<gp_Pnt>> out;
    const double angles[] = {0, 15, 30, 45, 60, 67.5, 75, 80, 85, 90, 95, 100, 105, 112.5, 120, 135, 150, 165, 180};
    for (double a : angles) {
        const double r = a * kPi / 180;
        std::vector<gp_Pnt> pts;
        for (int i = 0; i <= 20; ++i) {
            const double t = -1.0 + 2.0 * i / 20;   // across the tread
            const double radius = 440.0 - 40.0 * std::pow(std::fabs(t), 4);
            pts.emplace_back(-std::cos(r) * radius, 790.0 + 160.0 * t, 360.0 + std::sin(r) * radius);
        }
        out.push_back(pts);
    }
    return out;
}

void BM_SheetLibrary(benchmark::State& state) {
    const auto sections = section_points();
    for (auto _ : state) {
        state.PauseTiming();
        host_testing::reset();
        host_testing::make_part("bench", false);
        std::vector<tag_t> curves;
        for (const auto& s : sections) {
            std::vector<host_testing::Point3> pts;
            for (const gp_Pnt& q : s) pts.push_back({q.X(), q.Y(), q.Z()});
            curves.push_back(host_testing::make_spline(pts));
        }
        tire_envelope_params_s p;
        fill(p);
        state.ResumeTiming();
        gen_tire_envelope(&p, static_cast<int>(curves.size()), curves.data());
        if (!p.sheet_body) state.SkipWithError("no sheet");
    }
}
BENCHMARK(BM_SheetLibrary)->Name("tire_envelope/sheet/library")->Unit(benchmark::kMillisecond);

void BM_SheetKernel(benchmark::State& state) {
    std::vector<Handle(Geom_BSplineCurve)> curves;
    for (const auto& s : section_points()) {
        Handle(TColgp_HArray1OfPnt) pts = new TColgp_HArray1OfPnt(1, static_cast<int>(s.size()));
        for (size_t i = 0; i < s.size(); ++i) pts->SetValue(static_cast<int>(i) + 1, s[i]);
        GeomAPI_Interpolate interpolate(pts, false, 1e-9);
        interpolate.Perform();
        curves.push_back(interpolate.Curve());
    }
    for (auto _ : state) {
        BRepOffsetAPI_ThruSections loft(false, false, 0.01);
        loft.CheckCompatibility(false);
        loft.SetMaxDegree(3);
        for (const auto& c : curves) loft.AddWire(BRepBuilderAPI_MakeWire(BRepBuilderAPI_MakeEdge(c).Edge()).Wire());
        loft.Build();
        if (!loft.IsDone()) state.SkipWithError("loft failed");
        benchmark::DoNotOptimize(loft.Shape());
    }
}
BENCHMARK(BM_SheetKernel)->Name("tire_envelope/sheet/kernel")->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    ::mkdir(kTmp.c_str(), 0755);
    return run_with_ratios(argc, argv,
                           {{"sheet library/kernel", "tire_envelope/sheet/library", "tire_envelope/sheet/kernel"},
                            {"curves 35/9 records", "tire_envelope/curves/35/iterations:2",
                             "tire_envelope/curves/9/iterations:2"},
                            {"curves 140/35 records", "tire_envelope/curves/140/iterations:2",
                             "tire_envelope/curves/35/iterations:2"}});
}
