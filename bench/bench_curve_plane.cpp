// Points where curves cross a plane, as the families ask for them, against
// the geometry kernel's curve-surface intersection of the same curves.
//
// The curves are the fore-aft lines of a body side (straight beltline-like
// lines, 2 m radius crowned bows in the side view, and cubics through eight
// points of a waved character line) at heights from 300 to 1400 mm; the plane
// is the transverse section at the B-pillar station x = 2300 mm. Each curve
// is made twice: in a host part (host fixtures) and directly with the kernel
// from the same data, the way the host builds it. Set-up checks that both
// find the same points before anything is timed.
//
// At 10, 100 and 1000 curves:
//   curve_plane/library/<n>  HM_VD_ask_intersect_point_curve_plane over the
//                            first n curves, its points freed as its caller
//                            does, then the host update that deletes the
//                            construction plane the call logged (so every
//                            iteration starts from the same part);
//   curve_plane/kernel/<n>   GeomAPI_IntCS of each curve with the plane,
//                            keeping the points within the curve's range
//                            (the baseline).
// Baseline: GeomAPI_IntCS of the same kernel curves with the same plane.
#include "host_testing.h"
#include "hm_vd_curve.h"
#include "morvish.h"
#include "quillon.h"
#include "kernel_curves.h"
#include "ratio_report.h"

#include <GeomAPI_IntCS.hxx>
#include <Geom_Curve.hxx>
#include <Geom_Plane.hxx>
#include <gp_Pln.hxx>
#include <gp_Pnt.hxx>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace carvell_bench;

constexpr int kMostCurves = 1000;
const int kCurveCounts[] = {10, 100, kMostCurves};
// Host and kernel crossings must agree to this distance (mm).
constexpr double kSamePointMm = 1e-6;

// The section plane: the B-pillar station.
const double kPlanePoint[3] = {2300.0, 0.0, 0.0};
const double kPlaneNormal[3] = {1.0, 0.0, 0.0};

struct BodySide {
    std::vector<tag_t> host;
    std::vector<Handle(Geom_Curve)> kernel;
};

// Curve i of the body side, in the host part and for the kernel.
void add_body_side_curve(int i, BodySide& side) {
    const double h = 300.0 + 1100.0 * i / (kMostCurves - 1);
    const double y = -700.0 - 100.0 * std::sin(i * 0.37);
    switch (i % 3) {
    case 0: {   // a straight line rising 40 mm towards the rear
        const Point3 a = {1000.0, y, h}, b = {3600.0, y - 20.0, h + 40.0};
        side.host.push_back(host_testing::make_line(a, b));
        side.kernel.push_back(kernel_line(a, b));
        break;
    }
    case 1: {   // a 2 m radius bow crowned at x = 2400, from x = 3530 to 1270
        const Point3 centre = {2400.0, y, h - 2000.0};
        const double start = kPi / 2.0 - 0.6, end = kPi / 2.0 + 0.6;
        side.host.push_back(host_testing::make_arc(centre, 2000.0, start, end, {1, 0, 0}, {0, 0, 1}));
        side.kernel.push_back(kernel_arc(centre, {1, 0, 0}, {0, 0, 1}, 2000.0, start, end));
        break;
    }
    default: {   // a character line through eight points, waved 30 mm
        std::vector<Point3> points;
        for (int k = 0; k < 8; ++k) {
            const double x = 1000.0 + 2600.0 * k / 7.0, d = x - 2300.0;
            points.push_back({x, y + 0.00002 * d * d, h + 30.0 * std::sin(i * 0.11 + x / 400.0)});
        }
        side.host.push_back(host_testing::make_spline(points, 3));
        side.kernel.push_back(kernel_spline(points));
        break;
    }
    }
}

// The kernel's crossings of the first n curves, in curve order.
void kernel_crossings(const BodySide& side, int n, const Handle(Geom_Plane)& plane, std::vector<gp_Pnt>& out) {
    out.clear();
    for (int c = 0; c < n; ++c) {
        const Handle(Geom_Curve)& curve = side.kernel[c];
        const double u0 = curve->FirstParameter(), u1 = curve->LastParameter();
        GeomAPI_IntCS inter(curve, plane);
        if (!inter.IsDone()) continue;
        for (int i = 1; i <= inter.NbPoints(); ++i) {
            double u = 0.0, v = 0.0, w = 0.0;
            inter.Parameters(i, u, v, w);
            if (w >= u0 - Precision::PConfusion() && w <= u1 + Precision::PConfusion()) out.push_back(inter.Point(i));
        }
    }
}

// The library's crossings of the first n curves; the caller frees them.
int library_crossings(const BodySide& side, int n, double*** points) {
    int count = 0;
    *points = nullptr;
    HM_VD_ask_intersect_point_curve_plane(side.host.data(), n, kPlanePoint, kPlaneNormal, &count, points);
    return count;
}

void free_crossings(int count, double** points) {
    for (int i = 0; i < count; ++i) SM_free(points[i]);
    SM_free(points);
}

// The library and the kernel find the same points on all the curves, or the
// program stops.
void check_same_crossings(const BodySide& side, const Handle(Geom_Plane)& plane) {
    for (size_t c = 0; c < side.host.size(); ++c)
        if (!side.host[c] || side.kernel[c].IsNull()) {
            std::fprintf(stderr, "body-side curve %zu not made\n", c);
            std::exit(1);
        }
    std::vector<gp_Pnt> expected;
    kernel_crossings(side, kMostCurves, plane, expected);
    double** points = nullptr;
    const int count = library_crossings(side, kMostCurves, &points);
    bool same = count == static_cast<int>(expected.size());
    for (int i = 0; same && i < count; ++i)
        same = expected[i].Distance(gp_Pnt(points[i][0], points[i][1], points[i][2])) <= kSamePointMm;
    free_crossings(count, points);
    UPDATE_do_update();
    if (!same) {
        std::fprintf(stderr, "library and kernel crossings differ (%d and %zu points)\n", count, expected.size());
        std::exit(1);
    }
    std::printf("%d curves cross the section plane in %d points\n", kMostCurves, count);
}

void register_sizes(const BodySide& side, const Handle(Geom_Plane)& plane) {
    for (int n : kCurveCounts) {
        const std::string size = std::to_string(n);
        benchmark::RegisterBenchmark(("curve_plane/library/" + size).c_str(), [&side, n](benchmark::State& state) {
            for (auto _ : state) {
                double** points = nullptr;
                const int count = library_crossings(side, n, &points);
                benchmark::DoNotOptimize(points);
                free_crossings(count, points);
                UPDATE_do_update();
            }
            state.SetItemsProcessed(state.iterations() * n);
        })->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("curve_plane/kernel/" + size).c_str(),
                                     [&side, plane, n](benchmark::State& state) {
                                         std::vector<gp_Pnt> points;
                                         for (auto _ : state) {
                                             kernel_crossings(side, n, plane, points);
                                             benchmark::DoNotOptimize(points.data());
                                         }
                                         state.SetItemsProcessed(state.iterations() * n);
                                     })
            ->Unit(benchmark::kMicrosecond);
    }
}

}  // namespace

int main(int argc, char** argv) {
    host_testing::reset();
    host_testing::make_part("bench_curve_plane");
    BodySide side;
    for (int i = 0; i < kMostCurves; ++i) add_body_side_curve(i, side);
    const gp_Pln section(gp_Pnt(kPlanePoint[0], kPlanePoint[1], kPlanePoint[2]),
                         gp_Dir(kPlaneNormal[0], kPlaneNormal[1], kPlaneNormal[2]));
    const Handle(Geom_Plane) plane = new Geom_Plane(section);
    check_same_crossings(side, plane);

    register_sizes(side, plane);
    std::vector<carvell_bench::Ratio> ratios;
    for (int n : kCurveCounts) {
        const std::string size = std::to_string(n);
        ratios.push_back({"library/kernel " + size + " curves", "curve_plane/library/" + size,
                          "curve_plane/kernel/" + size});
    }
    const int code = carvell_bench::run_with_ratios(argc, argv, ratios);
    host_testing::reset();
    return code;
}
