// A curve's point at a normalised parameter, as the families ask it, against
// the geometry kernel's own evaluation of the same curve.
//
// Three curves of a body side, built twice: once in a host part (host
// fixtures, as a user draws them) and once directly with the kernel from the
// same data, the way the host builds them (a trimmed line, a trimmed circle,
// a cubic interpolated at chord-length parameters). Set-up checks that both
// give the same points before anything is timed.
//
// For each curve:
//   point_on_curve/library/<curve>  HM_VD_CURVE_ask_point_on_curve, which
//                                   asks the host for the full curve
//                                   properties to answer a point;
//   point_on_curve/evaluator/<curve> the host's cheaper evaluator
//                                   (HM_EVAL_evaluate, no derivatives), set up
//                                   once outside the loop;
//   point_on_curve/kernel/<curve>   Geom_Curve::D0 at the kernel parameter
//                                   mapped from [0, 1] (the baseline).
// Each iteration evaluates the same 64 parameters spread over [0, 1].
// Baseline: Geom_Curve::D0 of the same kernel curves at the same parameters.
#include "host_testing.h"
#include "hm_vd_curve.h"
#include "omvra.h"
#include "kernel_curves.h"
#include "ratio_report.h"

#include <Geom_Curve.hxx>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace carvell_bench;

constexpr int kParameterCount = 64;
// Host and kernel must agree to this distance (mm) at every checked parameter.
constexpr double kSamePointMm = 1e-9;

// The normalised parameters evaluated in each iteration: both ends and 62
// points between, unevenly spaced so that no two share a knot span pattern.
std::vector<double> normalised_parameters() {
    std::vector<double> t(kParameterCount);
    for (int i = 0; i < kParameterCount; ++i) {
        const double s = static_cast<double>(i) / (kParameterCount - 1);
        t[i] = s * s * (3.0 - 2.0 * s);   // smoothstep: denser near the ends
    }
    return t;
}

/* ---- the three curves, in millimetres in the vehicle frame ---- */

// The lower edge of the side glass: 1200 mm, falling 50 mm towards the front.
const Point3 kLineStart = {1500.0, -720.0, 1000.0};
const Point3 kLineEnd = {2700.0, -700.0, 1050.0};

// A 250 mm corner blend of the rear door in the side view (plane y = -760):
// a quarter circle from rearward (angle 0 on +x) up to the top (+z).
const Point3 kArcCentre = {3100.0, -760.0, 800.0};
const double kArcRadius = 250.0;
const double kArcStart = 0.0, kArcEnd = kPi / 2.0;
const Point3 kArcX = {1, 0, 0}, kArcY = {0, 0, 1};

// The roof line from the windshield header to the top of the backlight,
// 20 points: crowned 110 mm in the side view, rail moving out 40 mm.
std::vector<Point3> roof_line_points() {
    std::vector<Point3> points;
    for (int i = 0; i < 20; ++i) {
        const double x = 1350.0 + 2100.0 * i / 19.0, d = x - 2300.0;
        points.push_back({x, -480.0 - 0.00003 * d * d, 1450.0 - 0.00012 * d * d});
    }
    return points;
}

struct CurvePair {
    std::string name;
    tag_t host = 0;
    Handle(Geom_Curve) kernel;
};

// Both curves answer the same point at every parameter, or the program stops.
void check_same_curve(const CurvePair& c, const std::vector<double>& t) {
    if (!c.host || c.kernel.IsNull()) {
        std::fprintf(stderr, "%s: curve not made\n", c.name.c_str());
        std::exit(1);
    }
    const double u0 = c.kernel->FirstParameter(), u1 = c.kernel->LastParameter();
    for (double ti : t) {
        double p[3];
        if (HM_VD_CURVE_ask_point_on_curve(c.host, ti, p) != 0) {
            std::fprintf(stderr, "%s: host evaluation failed at %g\n", c.name.c_str(), ti);
            std::exit(1);
        }
        const gp_Pnt q = c.kernel->Value(u0 + ti * (u1 - u0));
        if (q.Distance(gp_Pnt(p[0], p[1], p[2])) > kSamePointMm) {
            std::fprintf(stderr, "%s: host and kernel curves differ at t = %g\n", c.name.c_str(), ti);
            std::exit(1);
        }
    }
}

void register_curve(const CurvePair& c, const std::vector<double>& t) {
    const std::string suffix = "/" + c.name;
    benchmark::RegisterBenchmark(("point_on_curve/library" + suffix).c_str(), [c, t](benchmark::State& state) {
        double p[3];
        for (auto _ : state)
            for (double ti : t) {
                HM_VD_CURVE_ask_point_on_curve(c.host, ti, p);
                benchmark::DoNotOptimize(p);
            }
        state.SetItemsProcessed(state.iterations() * kParameterCount);
    });
    benchmark::RegisterBenchmark(("point_on_curve/evaluator" + suffix).c_str(), [c, t](benchmark::State& state) {
        HM_EVAL_p_t evaluator = nullptr;
        if (HM_EVAL_initialize(c.host, &evaluator) != 0) {
            state.SkipWithError("no evaluator");
            return;
        }
        double p[3];
        for (auto _ : state)
            for (double ti : t) {
                HM_EVAL_evaluate(evaluator, 0, ti, p, nullptr);
                benchmark::DoNotOptimize(p);
            }
        HM_EVAL_free(evaluator);
        state.SetItemsProcessed(state.iterations() * kParameterCount);
    });
    benchmark::RegisterBenchmark(("point_on_curve/kernel" + suffix).c_str(), [c, t](benchmark::State& state) {
        const double u0 = c.kernel->FirstParameter(), span = c.kernel->LastParameter() - u0;
        gp_Pnt p;
        for (auto _ : state)
            for (double ti : t) {
                c.kernel->D0(u0 + ti * span, p);
                benchmark::DoNotOptimize(p);
            }
        state.SetItemsProcessed(state.iterations() * kParameterCount);
    });
}

}  // namespace

int main(int argc, char** argv) {
    host_testing::reset();
    host_testing::make_part("bench_curve_point");
    const std::vector<Point3> roof = roof_line_points();
    const std::vector<CurvePair> curves = {
        {"line", host_testing::make_line(kLineStart, kLineEnd), kernel_line(kLineStart, kLineEnd)},
        {"arc", host_testing::make_arc(kArcCentre, kArcRadius, kArcStart, kArcEnd, kArcX, kArcY), kernel_arc(kArcCentre, kArcX, kArcY, kArcRadius, kArcStart, kArcEnd)},
        {"spline", host_testing::make_spline(roof, 3), kernel_spline(roof)},
    };
    const std::vector<double> t = normalised_parameters();

    std::vector<carvell_bench::Ratio> ratios;
    for (const CurvePair& c : curves) {
        check_same_curve(c, t);
        register_curve(c, t);
        ratios.push_back({"library/kernel " + c.name, "point_on_curve/library/" + c.name,
                          "point_on_curve/kernel/" + c.name});
        ratios.push_back({"evaluator/kernel " + c.name, "point_on_curve/evaluator/" + c.name,
                          "point_on_curve/kernel/" + c.name});
    }
    const int code = carvell_bench::run_with_ratios(argc, argv, ratios);
    host_testing::reset();
    return code;
}
